#!/usr/bin/env bash
# The system calls a service's SystemCallFilter= lines allow: the words of every line given, in
# order; a group (@system-service) with its nested groups expanded, "~" before a line denying
# what follows. One call a line, sorted.
set -euo pipefail
declare -A seen
expand() {
  local g item
  for g in "$@"; do
    [[ -n "${seen[$g]:-}" ]] && continue
    seen[$g]=1
    if [[ "$g" != @* ]]; then echo "$g"; continue; fi
    while read -r item; do
      case "$item" in
        ''|'#'*) ;;
        @*) expand "$item" ;;
        *) echo "$item" ;;
      esac
    done < <(systemd-analyze syscall-filter "$g" | tail -n +2)
  done
}
allowed=$(mktemp)
trap 'rm -f "$allowed"' EXIT
deny=0
for word in "$@"; do
  if [[ "$word" == ~* ]]; then deny=1; word="${word#\~}"; [ -z "$word" ] && continue; fi
  seen=()
  calls=$(expand "$word")
  if [ "$deny" = 1 ]; then
    grep -vxF -f <(printf '%s\n' "$calls") "$allowed" >"$allowed.new" || true
    mv "$allowed.new" "$allowed"
  else
    printf '%s\n' "$calls" >>"$allowed"
  fi
done
sort -u "$allowed"
