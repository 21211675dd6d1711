#!/usr/bin/env bash
# End to end: netvane in a real X window (Xvfb), driven by real pointer events. "Home1" then "Change IP"
# must make netsh run the static-address and static-DNS changes through nmcli; "DHCP" the automatic ones.
# A stand-in nmcli records what it is asked to do.
#
# usage: netvane-commands.sh NETVANE FIXTURE_ROOT NMCLI_RECORDER
# Run it under xvfb-run (the test registration does).
set -euo pipefail

netvane=$1
root=$2
recorder=$3

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
record=$work/nmcli.log
: >"$record"

fail() {
  echo "FAIL: $*" >&2
  echo "--- recorded nmcli calls:" >&2
  cat "$record" >&2
  exit 1
}

# Waits up to $1 seconds for the record to hold $2 lines.
wait_for_calls() {
  local deadline=$((SECONDS + $1))
  while [ "$(wc -l <"$record")" -lt "$2" ]; do
    [ $SECONDS -lt $deadline ] || fail "expected $2 nmcli calls within $1 s"
    sleep 0.2
  done
}

# Clicks at a point of the window's client area (the window has no frame of the desktop's under Xvfb).
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
}

export QT_QPA_PLATFORM=xcb
export NETSH_NMCLI=$recorder
export NMCLI_RECORD=$record
unset NETSH_DRY_RUN
"$netvane" --root "$root" &
pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Netvane$' | head -1) || fail "no Netvane window"
# Let the activation report and the first paint finish before the pointer moves.
sleep 1

click 119 106    # "Home1" in the profile group
click 53 132     # "Change IP"
# The second command comes ten seconds after the first; each netsh call is a modify and an up.
wait_for_calls 40 4
click 53 172     # "DHCP"
wait_for_calls 40 8
sleep 0.5
[ "$(wc -l <"$record")" -eq 8 ] || fail "more nmcli calls than expected"

expected=$(cat <<'CALLS'
connection modify Broadcom ipv4.method manual ipv4.addresses 192.168.1.251/24 ipv4.gateway 192.168.1.254 ipv4.route-metric 1
connection up Broadcom
connection modify Broadcom ipv4.dns 8.8.8.8 ipv4.ignore-auto-dns yes
connection up Broadcom
connection modify Broadcom ipv4.method auto ipv4.addresses '' ipv4.gateway '' ipv4.route-metric -1
connection up Broadcom
connection modify Broadcom ipv4.dns '' ipv4.ignore-auto-dns no
connection up Broadcom
CALLS
)
[ "$(cat "$record")" = "$expected" ] || { diff <(echo "$expected") "$record" >&2 || true; fail "nmcli calls differ"; }
kill -0 "$pid" 2>/dev/null || fail "netvane ended early"
echo "netvane end to end: 8 nmcli calls as expected"
