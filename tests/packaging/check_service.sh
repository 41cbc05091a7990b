#!/usr/bin/env bash
# The measuring station's service: systemd accepts the unit, and it keeps the promises of the
# README (restart on failure, the unprivileged user, the hardening). Exit 77: skipped.
set -euo pipefail
service="$1"
cli="$2"
command -v systemd-analyze >/dev/null || { echo "systemd-analyze not found"; [ -n "${CI:-}" ] && exit 1; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# systemd checks that the program exists: point the unit at the one just built.
sed "s#/usr/bin/solardesk-cli#$cli#" "$service" >"$work/solardesk-monitor.service"
systemd-analyze verify --man=no "$work/solardesk-monitor.service"
for line in "User=solardesk" "Restart=on-failure" "NoNewPrivileges=yes" "ProtectSystem=strict" \
            "ProtectHome=yes" "PrivateTmp=yes" "StateDirectory=solardesk" \
            "EnvironmentFile=-/etc/default/solardesk-monitor"; do
  grep -qxF "$line" "$service" || { echo "the service lacks $line"; exit 1; }
done
echo "service checked"
