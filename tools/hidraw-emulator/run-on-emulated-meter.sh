#!/usr/bin/env bash
# Runs a SolarDesk program on the virtual meter plugged in as an emulated USB HID device, so that
# the real back end (hidapi, libudev, /dev/hidraw0) is used without a meter. Needs root (the
# device lives in a private mount namespace) and /dev/fuse; build first with scripts/build.sh.
#
#   sudo tools/hidraw-emulator/run-on-emulated-meter.sh [--scenario FILE.json] [PROGRAM [ARGS...]]
#
# PROGRAM is solardesk (the default) or solardesk-cli, looked up in the build folder (BUILD,
# default build/), or any other command. The scenario's timeline is played as with --simulate;
# ending this script (Ctrl+C, SIGTERM) ends PROGRAM too. Examples:
#   sudo tools/hidraw-emulator/run-on-emulated-meter.sh solardesk-cli read
#   sudo tools/hidraw-emulator/run-on-emulated-meter.sh --scenario my-meter.json solardesk
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD:-$root/build}"
emulator="$build/tools/hidraw-emulator/solardesk-hidraw-emulator"
[ -x "$emulator" ] || { echo "build first: scripts/build.sh ($emulator is missing)" >&2; exit 1; }
options=()
if [ "${1:-}" = "--scenario" ]; then
  options=(--scenario "$2")
  shift 2
fi
[ $# -gt 0 ] || set -- solardesk
case "$1" in
  solardesk) set -- "$build/src/app/solardesk" "${@:2}" ;;
  solardesk-cli) set -- "$build/src/app/cli/solardesk-cli" "${@:2}" ;;
esac
exec "$emulator" "${options[@]}" -- "$@"
