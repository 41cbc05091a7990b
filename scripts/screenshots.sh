#!/usr/bin/env bash
# Renews the pictures of the user guide in docs/screenshots/.
# Builds the program if needed, runs it on the virtual meter described by
# docs/scenarios/screenshots.json under Xvfb, clicks through every window with xdotool and
# captures each window by its id. Needs xvfb-run, xdotool and ImageMagick's import/convert.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
out="$root/docs/screenshots"
scenario="$root/docs/scenarios/screenshots.json"
app="$root/build/src/app/solardesk"

if [ -z "${SCREENSHOTS_UNDER_XVFB:-}" ]; then
  for tool in xvfb-run xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
  done
  if [ ! -d build ]; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build build -j"$(nproc)" --target solardesk
  # No window manager: every window is placed by the program itself and captured by its id.
  SCREENSHOTS_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1400x1000x24" "$0" "$@"
fi

timeout_s=20
work="$(mktemp -d)"
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"
written=()

fail() {
  echo "screenshots: $*" >&2
  [ -n "${SCREENSHOTS_DEBUG:-}" ] && import -window root "$SCREENSHOTS_DEBUG"
  exit 1
}

# Prints the id of the newest visible window whose title matches the pattern, waiting for it.
wait_window() {
  local id
  id="$(timeout "$timeout_s" xdotool search --sync --onlyvisible --name "$1" | tail -n 1)" ||
    fail "no window \"$1\" within ${timeout_s} s"
  [ -n "$id" ] || fail "no window \"$1\""
  echo "$id"
}

# Waits until no visible window's title matches the pattern.
wait_gone() {
  local i
  for ((i = 0; i < timeout_s * 10; i++)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window \"$1\" did not close"
}

# Clicks at x y in the coordinates of the window.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.4
}

# Writes the window into docs/screenshots/NAME.png, stripped and with a small palette.
capture() {
  local id="$1" name="$2"
  xdotool windowraise "$id"
  sleep 0.3
  import -window "$id" "$work/$name.png"
  convert "$work/$name.png" -strip -dither None -colors 256 "PNG8:$out/$name.png"
  written+=("docs/screenshots/$name.png")
}

# Moves a captured window off the screen so that it hides none of the next ones.
park() {
  xdotool windowmove "$1" 1500 0
  sleep 0.2
}

# A small data file in the program's own layout: a clear morning, one reading a minute.
data_file="$work/sunny-morning.pvd"
{
  printf '      No.s\t            Date Time\t         W/(M)2\t\r\n'
  n=0
  for value in 412.6 436.9 458.1 481.7 503.2 527.8 549.3 570.4 588.9 606.5 \
    621.8 640.2 652.7 611.3 548.0 596.4 671.5 688.2 702.9 714.6 \
    726.1 733.8 742.5 748.9 751.2 739.6 744.0 752.8 758.3 761.0; do
    n=$((n + 1))
    printf '%7d\t2026/12/04 %02d:%02d:00\t%6s\t\r\n' "$n" $((10 + (n - 1) / 60)) $(((n - 1) % 60)) "$value"
  done
} >"$data_file"

"$app" --simulate="$scenario" >"$work/app.log" 2>&1 &
app_pid=$!

main="$(wait_window '^Panel')"
sleep 2 # the mirror shows the meter's reading after a few polls
capture "$main" main-window
# The picture (642 px) and the status line (20 px) lie below the menu bar.
main_height="$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p')"
bar=$((main_height - 662))

# Clicks at x y in the coordinates of the meter picture, below the menu bar.
click_main() {
  click_in "$main" "$1" $(($2 + bar))
}

# Toolbar of the main window, in its coordinates.
toolbar() {
  local x
  case "$1" in
    Save) x=20 ;; Open) x=53 ;; Interval) x=86 ;; List) x=118 ;; Graph) x=152 ;;
    RTC) x=185 ;; Set) x=218 ;; Logger) x=251 ;; Erase) x=284 ;;
    *) fail "no toolbar button $1" ;;
  esac
  click_main "$x" 15
}

# Set-up: the chooser, then each schedule panel (the chooser's options are 30 px apart).
toolbar Set
capture "$main" setup-chooser
click_main 110 360 # "Reservation"
sleep 1
capture "$main" setup-reservation
click_main 232 576 # the reservation panel's "Exit"
toolbar Set
click_main 110 390 # "Cycling"
sleep 1
capture "$main" setup-cycling
click_main 136 472 # the cycling panel's "OK" (writes it back, so that polling goes on)

# The meter clock (modal).
toolbar RTC
rtc="$(wait_window '^Setup$')"
click_in "$rtc" 142 45 # "Meter Time": show the meter's clock
click_in "$rtc" 142 81 # "PC System Time": show the PC's clock
sleep 2
capture "$rtc" clock
click_in "$rtc" 142 166 # "Exit"
wait_gone '^Setup$'

# The live list after a few samples.
toolbar List
live="$(wait_window '^Real Time List$')"
sleep 5
capture "$live" real-time-list
park "$live"

# The live graph after a few seconds of sweep.
toolbar Graph
graph="$(wait_window '^Real Time Graph$')"
sleep 6
capture "$graph" real-time-graph
park "$graph"

# The data logger, its directory read, then the first set downloaded into a DataList.
toolbar Logger
memory="$(wait_window '^Data Logger$')"
sleep 2
click_in "$memory" 40 46 # the first row of the set grid
datalist="$(wait_window '^DataList$')"
sleep 3
capture "$memory" data-logger
capture "$datalist" data-list
park "$datalist"
park "$memory"

# Open a data file through the file dialog, then plot it.
toolbar Open
dialog="$(wait_window '^Open$')"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 20 "$data_file"
sleep 0.5
# The first Return may only take the name from the completer's pop-up; a second one opens.
xdotool key Return
sleep 1
if ! xdotool search --onlyvisible --name 'sunny-morning' >/dev/null 2>&1; then xdotool key Return; fi
# The File List takes the file's name as its caption.
files="$(wait_window 'sunny-morning')"
sleep 1.5
capture "$files" file-list
click_in "$files" 16 16 # "Plot", the first button of the list's toolbar
plot="$(wait_window '^Plot$')"
sleep 1.5
capture "$plot" plot

echo "screenshots: wrote ${#written[@]} pictures:"
for f in "${written[@]}"; do
  echo "  $f ($(identify -format '%wx%h' "$root/$f"), $(du -h "$root/$f" | cut -f1))"
done
