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
pid=
trap '[ -z "$pid" ] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true; rm -rf "$work"' EXIT
record=$work/nmcli.log
calls=$work/nmcli.fifo
: >"$record"
count=0

fail() {
  echo "FAIL: $*" >&2
  echo "--- recorded nmcli calls:" >&2
  cat "$record" >&2
  exit 1
}

# The stand-in nmcli writes each call as a line into a FIFO. Its write end (fd 4) is inherited by netvane and
# from it by every netsh and nmcli it starts, so reading the FIFO meets end of file only once all have ended.
mkfifo "$calls"
exec 3<>"$calls"               # a reader and a writer at once, so that the two opens below need not wait
exec 4>"$calls" 5<"$calls" 3>&-

# Moves the calls recorded within $1 seconds into the record until it holds $2 of them.
wait_for_calls() {
  local deadline=$((SECONDS + $1)) left line status
  while [ "$count" -lt "$2" ]; do
    left=$((deadline - SECONDS))
    [ "$left" -gt 0 ] || fail "expected $2 nmcli calls within $1 s"
    status=0
    IFS= read -r -t "$left" -u 5 line || status=$?
    [ "$status" -le 128 ] || fail "expected $2 nmcli calls within $1 s"
    [ "$status" -eq 0 ] || fail "netvane and what it started ended after $count nmcli calls, expected $2"
    printf '%s\n' "$line" >>"$record"
    count=$((count + 1))
  done
}

# Clicks at a point of the window's client area (the window has no frame of the desktop's under Xvfb).
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
}

export QT_QPA_PLATFORM=xcb
export NETSH_NMCLI=$recorder
export NMCLI_RECORD=$calls
unset NETSH_DRY_RUN
"$netvane" --root "$root" 5<&- &
pid=$!
exec 4>&-

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Netvane$' | head -1) || fail "no Netvane window"
# The pointer's events queue up behind what the window does on showing (the activation report, the first
# paint), so the clicks can follow as soon as it is viewable.

click 119 106    # "Home1" in the profile group
click 53 132     # "Change IP"
# The second command comes ten seconds after the first; each netsh call is a modify and an up.
wait_for_calls 40 4
click 53 172     # "DHCP"
wait_for_calls 40 8

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

# No call may follow: stop netvane, then read on until every netsh it started has ended.
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
status=0
while IFS= read -r -t 20 -u 5 line || { status=$?; false; }; do
  printf '%s\n' "$line" >>"$record"
done
[ "$status" -le 128 ] || fail "the netsh runs did not end within 20 s of netvane"
[ "$(wc -l <"$record")" -eq 8 ] || fail "more nmcli calls than expected"
echo "netvane end to end: 8 nmcli calls as expected"
