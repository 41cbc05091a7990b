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
            ./usr/lib/systemd/system/solardesk-monitor.service ./etc/default/solardesk-monitor; do
  grep -qxF "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done

depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libhidapi-hidraw0 libqcustomplot2.1-qt6 libmosquitto1 udev; do
  grep -q "$package" <<<"$depends" || { echo "Depends lacks $package: $depends"; exit 1; }
done

dpkg-deb -e "$deb" "$work/control"
grep -q "useradd --system" "$work/control/postinst" || { echo "postinst makes no system user"; exit 1; }
grep -qxF /etc/default/solardesk-monitor "$work/control/conffiles" || { echo "settings not a conffile"; exit 1; }

dpkg-deb -x "$deb" "$work/stage"
bin="$work/stage/usr/bin"
rules="$work/stage/usr/lib/udev/rules.d/70-solardesk-meter.rules"
grep -q 'ATTRS{idVendor}=="0483"' "$rules" && grep -q 'ATTRS{idProduct}=="5750"' "$rules" \
  && grep -q 'TAG+="uaccess"' "$rules" && grep -q 'GROUP="solardesk"' "$rules" \
  || { echo "udev rule incomplete"; exit 1; }

"$bin/solardesk-cli" --help | grep -q "Usage: solardesk-cli"
"$bin/solardesk-cli" --version | grep -q "solardesk-cli 1\."
reading=$("$bin/solardesk-cli" --simulate read)
[[ "$reading" =~ ^[\ 0-9.]{4,5}$'\t'(W/\(M\)2|Btu/\(ft\)2\.h)$ ]] || { echo "unexpected reading: $reading"; exit 1; }
export QT_QPA_PLATFORM=offscreen
"$bin/solardesk" --help | grep -q -- "--simulate"
"$bin/solardesk" --version | grep -q "solardesk 1\."
echo "package checked: $(basename "$deb")"
