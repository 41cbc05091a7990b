#!/usr/bin/env bash
# Builds the .deb from a finished build, checks what it holds and what it depends on, unpacks it
# into a staging folder and starts the installed programs from there.
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/solardesk_*.deb)

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/bin/solardesk ./usr/bin/solardesk-cli \
            ./usr/lib/udev/rules.d/70-solardesk-meter.rules \
            ./usr/share/applications/solardesk.desktop \
            ./usr/share/icons/hicolor/scalable/apps/solardesk.svg \
            ./usr/share/man/man1/solardesk.1 ./usr/share/man/man1/solardesk-cli.1 \
            ./usr/lib/systemd/system/solardesk-monitor.service ./etc/default/solardesk-monitor \
            ./usr/share/solardesk/web/index.html ./usr/share/solardesk/web/app.js \
            ./usr/share/solardesk/web/style.css; do
  grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libhidapi-hidraw0 libqcustomplot2.1-qt6 libmosquitto1 udev \
               libcivetweb1 libjs-dygraphs; do
  grep -q "$package" <<<"$depends" || { echo "Depends lacks $package: $depends"; exit 1; }
done

dpkg-deb -e "$deb" "$work/control"
grep -q "useradd --system" "$work/control/postinst" || { echo "postinst makes no system user"; exit 1; }
grep -qxF /etc/default/solardesk-monitor "$work/control/conffiles" || { echo "settings not a conffile"; exit 1; }

dpkg-deb -x "$deb" "$work/stage"
bin="$work/stage/usr/bin"

# The station's service names the packaged program and passes systemd's checks.
unit="$work/stage/usr/lib/systemd/system/solardesk-monitor.service"
grep -q '^ExecStart=/usr/bin/solardesk-cli monitor ' "$unit" ||
  { echo "the packaged unit does not start /usr/bin/solardesk-cli: $(grep ^ExecStart= "$unit")"; exit 1; }
if command -v systemd-analyze >/dev/null; then
  bash "$(dirname "$0")/verify_unit.sh" "$unit" /usr "$work/stage/usr"
fi
# An upgrade restarts a running station, a first install starts nothing: postinst run with
# stand-ins for the system's commands, where systemd runs (a private /run).
mkdir "$work/fake"
for c in getent chmod useradd udevadm systemctl deb-systemd-invoke; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$c" "$work/calls" >"$work/fake/$c"
  chmod +x "$work/fake/$c"
done
if unshare -m true 2>/dev/null; then
  for previous in "" 1.0.0; do
    : >"$work/calls"
    unshare -m sh -c 'mount -t tmpfs none /run && mkdir -p /run/systemd/system &&
                      PATH="$1:$PATH" sh "$2" configure $3' - "$work/fake" "$work/control/postinst" "$previous"
    restarts=$(grep -c "^deb-systemd-invoke try-restart solardesk-monitor.service" "$work/calls" || true)
    grep -q "^systemctl --system daemon-reload" "$work/calls" || { echo "postinst: no daemon-reload"; exit 1; }
    [ "$restarts" = "$([ -n "$previous" ] && echo 1 || echo 0)" ] ||
      { echo "postinst configure $previous: $restarts restarts"; cat "$work/calls"; exit 1; }
  done
elif [ -n "${CI:-}" ]; then
  echo "cannot make a private /run (unshare) to run postinst"; exit 1
fi
rules="$work/stage/usr/lib/udev/rules.d/70-solardesk-meter.rules"
grep -q 'ATTRS{idVendor}=="0483"' "$rules" && grep -q 'ATTRS{idProduct}=="5750"' "$rules" \
  && grep -q 'TAG+="uaccess"' "$rules" && grep -q 'GROUP="solardesk"' "$rules" \
  || { echo "udev rule incomplete"; exit 1; }

# The station's page is offered in the settings, commented out.
grep -q '^#SOLARDESK_HTTP_OPTIONS=' "$work/stage/etc/default/solardesk-monitor" ||
  { echo "the settings lack the commented web page option"; exit 1; }

"$bin/solardesk-cli" --help | grep -q "Usage: solardesk-cli"
"$bin/solardesk-cli" --version | grep -q "solardesk-cli 1\."
reading=$("$bin/solardesk-cli" --simulate read)
[[ "$reading" =~ ^[\ 0-9.]{4,5}$'\t'(W/\(M\)2|Btu/\(ft\)2\.h)$ ]] || { echo "unexpected reading: $reading"; exit 1; }
# The page of the staged program, its files from the package and its chart library from the
# system's dygraphs: nothing fetched from elsewhere.
if command -v curl >/dev/null; then
  port=$((20000 + RANDOM % 20000))
  echo "<!-- as staged -->" >>"$work/stage/usr/share/solardesk/web/index.html"
  "$bin/solardesk-cli" --simulate monitor "$work/data" --http "127.0.0.1:$port" 2>"$work/events" &
  monitor=$!
  for _ in $(seq 50); do curl -sf "http://127.0.0.1:$port/api/state" -o /dev/null && break; sleep 0.2; done
  curl -sf "http://127.0.0.1:$port/" | cmp -s - "$work/stage/usr/share/solardesk/web/index.html" &&
    curl -sf "http://127.0.0.1:$port/lib/dygraph.min.js" | cmp -s - /usr/share/javascript/dygraphs/dygraph.min.js ||
    { kill "$monitor"; echo "the staged program does not serve its page"; cat "$work/events"; exit 1; }
  kill "$monitor"
  wait "$monitor" || true
elif [ -n "${CI:-}" ]; then
  echo "curl missing: the staged page is not checked"; exit 1
fi
export QT_QPA_PLATFORM=offscreen
"$bin/solardesk" --help | grep -q -- "--simulate"
"$bin/solardesk" --version | grep -q "solardesk 1\."
echo "package checked: $(basename "$deb")"
