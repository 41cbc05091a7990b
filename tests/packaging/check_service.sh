#!/usr/bin/env bash
# The measuring station's service as `cmake --install` puts it on a machine: its ExecStart names
# the program under the install prefix, systemd accepts the unit, it keeps the promises of the
# README (restart on failure, the unprivileged user, the hardening, the exposure figure), and the
# monitor, with MQTT and the web page, makes no system call its filter refuses. Exit 77: skipped.
set -euo pipefail
build="$1"
cli="$2"
here="$(dirname "$0")"
command -v systemd-analyze >/dev/null || { echo "systemd-analyze not found"; [ -n "${CI:-}" ] && exit 1; exit 77; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

prefix=/opt/solardesk
DESTDIR="$work/stage" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; exit 1; }
unit="$work/stage$prefix/lib/systemd/system/solardesk-monitor.service"
[ -f "$unit" ] || { echo "cmake --install put no unit in $prefix/lib/systemd/system"; exit 1; }
grep -q "^ExecStart=$prefix/bin/solardesk-cli monitor " "$unit" ||
  { echo "ExecStart does not follow the prefix: $(grep ^ExecStart= "$unit")"; exit 1; }
bash "$here/verify_unit.sh" "$unit" "$prefix" "$work/stage$prefix"

# The system calls of a monitor that records, publishes to a broker and serves its page, traced.
if ! command -v strace >/dev/null || ! command -v mosquitto >/dev/null || ! command -v curl >/dev/null; then
  echo "strace, mosquitto or curl missing: the system calls are not checked"
  [ -n "${CI:-}" ] && exit 1
  echo "service checked"
  exit 0
fi
mqtt=$((20000 + RANDOM % 20000))
http=$((mqtt + 1))
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\nuser %s\n' "$mqtt" "$(id -un)" >"$work/mosquitto.conf"
mosquitto -c "$work/mosquitto.conf" >/dev/null 2>&1 &
sleep 1
strace -f -qq -o "$work/trace" "$cli" --simulate monitor "$work/data" --mqtt "mqtt://127.0.0.1:$mqtt" \
  --http "127.0.0.1:$http" 2>"$work/events" &
tracer=$!
sleep 0.5
monitor=$(pgrep -P "$tracer" | head -1)
for _ in $(seq 50); do grep -q "broker 127.0.0.1:$mqtt connected" "$work/events" && break; sleep 0.2; done
sleep 2
curl -sf "http://127.0.0.1:$http/" -o /dev/null && curl -sf "http://127.0.0.1:$http/api/day/$(date +%F)" -o /dev/null ||
  { echo "the page did not answer"; cat "$work/events"; exit 1; }
kill -HUP "$monitor"
sleep 1.5
kill -TERM "$monitor"
wait "$tracer" || { echo "the monitor failed"; cat "$work/events"; exit 1; }
grep -q "broker 127.0.0.1:$mqtt connected" "$work/events" || { echo "no broker met"; cat "$work/events"; exit 1; }
sed -nE 's/^[0-9]+ +([a-z0-9_]+)\(.*/\1/p' "$work/trace" | sort -u >"$work/used"
filter=$(sed -n 's/^SystemCallFilter=//p' "$unit" | tr '\n' ' ')
bash "$here/syscall_set.sh" $filter >"$work/allowed"
refused=$(comm -23 "$work/used" "$work/allowed" | tr '\n' ' ')
[ -z "$refused" ] || { echo "the service's SystemCallFilter refuses what the monitor calls: $refused"; exit 1; }
echo "service checked: $(wc -l <"$work/used") system calls of the monitor, all allowed"
