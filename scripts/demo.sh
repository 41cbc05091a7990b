#!/usr/bin/env bash
# Installs what is missing, builds, and starts the main window on the virtual meter.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/src/app/solardesk --simulate "$@"
fi
exec build/src/app/solardesk --simulate "$@"
