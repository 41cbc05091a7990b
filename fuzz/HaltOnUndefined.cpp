// Undefined behaviour stops the fuzz run like a crash does, with the input that caused it,
// instead of being printed and passed over.
extern "C" const char* __ubsan_default_options() {
  return "halt_on_error=1:print_stacktrace=1";
}
