// The program that owns the test programs' shared precompiled header; it is built, never run.
int main() {
  return 0;
}
