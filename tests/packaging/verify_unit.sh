#!/usr/bin/env bash
# Checks an installed solardesk-monitor.service: systemd accepts it (its program looked for where
# it was staged: PREFIX mapped to STAGED), it has the lines the README promises, and
# `systemd-analyze security` rates its exposure no worse than the README says.
# Usage: verify_unit.sh UNIT PREFIX STAGED
set -euo pipefail
unit="$1"
prefix="$2"
staged="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed "s#^ExecStart=$prefix/#ExecStart=$staged/#" "$unit" >"$work/solardesk-monitor.service"
systemd-analyze verify --man=no "$work/solardesk-monitor.service"
for line in "User=solardesk" "Restart=on-failure" "NoNewPrivileges=yes" "ProtectSystem=strict" \
            "ProtectHome=yes" "PrivateTmp=yes" "StateDirectory=solardesk" \
            "EnvironmentFile=-/etc/default/solardesk-monitor" "DeviceAllow=char-hidraw rw" \
            "SystemCallFilter=@system-service" "ProtectProc=invisible" "ProcSubset=pid" \
            "RemoveIPC=yes"; do
  grep -qxF "$line" "$unit" || { echo "the service lacks $line"; exit 1; }
done
# The figure the README gives.
promised=1.5
exposure=$(systemd-analyze security --offline=true "$work/solardesk-monitor.service" 2>&1 |
           sed -n 's/.*Overall exposure level for solardesk-monitor.service: \([0-9.]*\).*/\1/p')
[ -n "$exposure" ] || { echo "systemd-analyze security gave no exposure level"; exit 1; }
awk -v e="$exposure" -v p="$promised" 'BEGIN { exit !(e <= p) }' ||
  { echo "exposure $exposure, worse than the $promised the README gives"; exit 1; }
echo "unit verified, exposure $exposure"
