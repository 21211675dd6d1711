#!/usr/bin/env bash
# End to end against the real NetworkManager: Netvane's four netsh command lines, carried out by our netsh
# through the real nmcli, must give the connection "Broadcom" the static address, mask, gateway and DNS
# server, then a lease from a DHCP server; nmcli, ip and netvane --report must each show them.
#
# Nothing here can reach the machine's own network. Two network namespaces are joined by a veth pair. In
# the first, NetworkManager and a D-Bus system bus of their own run in a private mount and host-name
# namespace: an empty /run (so no program there finds the machine's bus), /etc copy-on-write (so the
# manager writes resolv.conf as on a desktop, into scratch), scratch folders over NetworkManager's
# configuration and state, and /sys read-only, which makes the manager take the veth without waiting for
# udev. In the second, dnsmasq serves DHCP. Only 10.77.0.0/24 is used, and only on the pair. All that
# the test makes is removed when it ends, also when interrupted.
#
# usage: real-networkmanager.sh NETSH NETVANE
# Exits 77 with one line saying why where it cannot run: not root, or network-manager or dnsmasq-base
# missing.
set -euo pipefail
# NetworkManager, ip and dnsmasq live in sbin, which a root shell's PATH may lack.
PATH=$PATH:/usr/sbin:/sbin

here=$(cd "$(dirname "$0")" && pwd)/real-networkmanager

# Inside the manager's namespaces: make the private mounts, start the bus, say so, become NetworkManager.
if [ "${1:-}" = --manager-namespace ]; then
    work=$2
    mount -t tmpfs -o mode=0755 netvane-e2e /run
    mkdir -p /run/dbus /run/NetworkManager /run/netvane-e2e/etc /run/netvane-e2e/etc-work
    # /etc becomes copy-on-write, so that the manager can replace resolv.conf as it does on a desktop.
    mount -t overlay netvane-e2e-etc \
        -o lowerdir=/etc,upperdir=/run/netvane-e2e/etc,workdir=/run/netvane-e2e/etc-work /etc
    mkdir -p "$work/etc/conf.d" "$work/etc/system-connections" "$work/system-conf.d" "$work/lib"
    cp "$here/NetworkManager.conf" "$work/etc/"
    mount --bind "$work/etc" /etc/NetworkManager
    mount --bind "$work/lib" /var/lib/NetworkManager
    # The manager follows a symbolic link to write the servers; the file it lands on starts empty.
    resolv_conf=$(realpath -m /etc/resolv.conf)
    case $resolv_conf in
        /etc/* | /run/*) mkdir -p "$(dirname "$resolv_conf")" && : >"$resolv_conf" ;;
        *) echo "resolv.conf leads to $resolv_conf, outside /etc and /run" >&2 && exit 1 ;;
    esac
    # The NetBIOS node type of the report comes from Samba's configuration; without one it is always the same.
    rm -f /etc/samba/smb.conf
    mount -o remount,bind,ro /sys
    hostname netvane-e2e
    dbus-daemon --config-file="$here/system-bus.conf" --fork --nosyslog --print-pid=3 3>"$work/bus.pid"
    echo ready
    exec NetworkManager --debug --system-config-dir="$work/system-conf.d" >"$work/NetworkManager.log" 2>&1
fi

skip() {
    echo "skipped: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root for its network namespaces"
for program in NetworkManager nmcli nm-online; do
    command -v "$program" >/dev/null || skip "needs the package network-manager ($program not found)"
done
command -v dnsmasq >/dev/null || skip "needs the package dnsmasq-base (dnsmasq not found)"
for program in ip unshare nsenter dbus-daemon; do
    command -v "$program" >/dev/null || skip "needs $program"
done

netsh=$(realpath "$1")
netvane=$(realpath "$2")
started=$SECONDS
begun=$(date +%s)

ns_manager=netvane-e2e-$$-nm
ns_dhcp=netvane-e2e-$$-dhcp
device=nvtest0    # the manager's end of the pair; its name is also in NetworkManager.conf
peer=nvtest1
server=10.77.0.1  # dnsmasq's end, and the gateway it hands out
dhcp_dns=10.77.0.2
lease_time=3600
static_address=10.77.0.10
static_mask=255.255.255.128
static_prefix=25
static_gateway=10.77.0.1
static_dns=10.77.0.53

work=$(mktemp -d /tmp/netvane-e2e-nm.XXXXXX)
manager_pid=
cleanup() {
    set +e
    if [ -n "$manager_pid" ]; then
        kill "$manager_pid" 2>/dev/null
        wait "$manager_pid" 2>/dev/null
    fi
    for pidfile in "$work/bus.pid" "$work/dnsmasq.pid"; do
        [ -s "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    done
    ip netns delete "$ns_manager" 2>/dev/null
    ip netns delete "$ns_dhcp" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/NetworkManager.log" ]; then
        echo "--- NetworkManager's last lines:" >&2
        tail -n 30 "$work/NetworkManager.log" >&2
    fi
    exit 1
}

ip netns add "$ns_manager" 2>"$work/netns.err" || skip "cannot make network namespaces here: $(head -1 "$work/netns.err")"
ip netns add "$ns_dhcp"
ip link add "$device" netns "$ns_manager" type veth peer name "$peer" netns "$ns_dhcp"
ip -n "$ns_manager" link set lo up
ip -n "$ns_dhcp" link set lo up
ip -n "$ns_dhcp" address add "$server/24" dev "$peer"
ip -n "$ns_dhcp" link set "$peer" up

# Without --keep-in-foreground dnsmasq returns once it serves. It stays root to write its leases into the
# scratch folder.
ip netns exec "$ns_dhcp" dnsmasq --conf-file=/dev/null --port=0 --no-resolv --no-hosts --no-ping \
    --interface="$peer" --bind-interfaces --except-interface=lo \
    --dhcp-range=10.77.0.100,10.77.0.199,255.255.255.0,$lease_time \
    --dhcp-option=option:router,$server --dhcp-option=option:dns-server,$dhcp_dns \
    --dhcp-leasefile="$work/dnsmasq.leases" --pid-file="$work/dnsmasq.pid" --user=root --group=root \
    || fail "dnsmasq did not start"

coproc manager { exec ip netns exec "$ns_manager" unshare --mount --uts --propagation private "$0" --manager-namespace "$work"; }
# shellcheck disable=SC2154 # coproc sets it
manager_pid=$manager_PID
read -r -u "${manager[0]}" answer || true
[ "${answer:-}" = ready ] || fail "the manager's namespace could not be set up"

bus=unix:path=/run/dbus/system_bus_socket
# Runs a program where the manager is: its network, its files, its bus.
in_manager() {
    nsenter --target "$manager_pid" --mount --uts --net -- \
        env DBUS_SYSTEM_BUS_ADDRESS="$bus" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"
}

in_manager nm-online --wait-for-startup --quiet --timeout 30 || fail "NetworkManager did not start"
# A connection of the kind a desktop keeps for its port, down until netsh brings it up. IPv4 alone decides
# when it is up, so "connection up" returns once the address is there.
in_manager nmcli connection add type ethernet ifname "$device" con-name Broadcom autoconnect no \
    ipv4.method auto ipv4.dad-timeout 0 ipv6.method disabled >/dev/null || fail "cannot make the connection"

# Runs one of Netvane's command lines with our netsh in place of the word netsh. The lines hold only plain
# words and double-quoted names, which the shell splits as the program's command-line rules do.
run_line() {
    local -a words
    eval "words=($1)"
    [ "${words[0]}" = netsh ] || fail "not a netsh line: $1"
    in_manager "$netsh" "${words[@]:1}" >>"$work/netsh.out" 2>&1 || { cat "$work/netsh.out" >&2; fail "netsh failed: $1"; }
}

# The one value of a field of nmcli's device view.
device_field() { in_manager nmcli --get-values "$1" device show "$device"; }

# Whether $1 is a whole number from $2 to $3.
within() { [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }

expect_equal() {
    [ "$2" = "$3" ] || fail "$1: expected '$3', found '$2'"
}

# netvane's report in the manager's namespaces must read $1.
expect_report() {
    local report
    report=$(in_manager "$netvane" --report 2>"$work/report.err") \
        || fail "netvane --report failed: $(cat "$work/report.err")"
    [ "$report" = "$1" ] || { diff <(echo "$1") <(echo "$report") >&2 || true; fail "the report differs"; }
}

lease_text() { LC_ALL=C date -u -d "@$1" '+%a %b %d %H:%M:%S %Y'; }
t=$'\t'

# "Change IP" with the address fields set to the static profile.
run_line "netsh interface ip set address name =\"Broadcom\" source = static addr = $static_address mask = $static_mask gateway =$static_gateway  gwmetric = 1"
run_line "netsh  interface ip set dns name=\"Broadcom\" source=static addr=$static_dns"

expect_equal "nmcli address" "$(device_field IP4.ADDRESS)" "$static_address/$static_prefix"
expect_equal "nmcli gateway" "$(device_field IP4.GATEWAY)" "$static_gateway"
expect_equal "nmcli DNS" "$(device_field IP4.DNS)" "$static_dns"
line=$(in_manager ip -4 -o address show dev "$device")
[[ $line =~ " inet $static_address/$static_prefix ".*" valid_lft forever " ]] \
    || fail "ip shows no lasting address $static_address/$static_prefix: $line"
expect_equal "ip default route" "$(in_manager ip -4 route show default | awk '{print $3, $5, $NF}')" "$static_gateway $device 1"
expect_equal "resolv.conf" "$(in_manager grep '^nameserver' /etc/resolv.conf)" "nameserver $static_dns"
expect_report "$(printf '%s\n' \
    "Host Name：${t}${t}netvane-e2e" \
    "DNS Servers：${t}${t}$static_dns" \
    "Node Type：${t}${t}Unknown" \
    "Description：${t}${t}$device" \
    "DHCP Enabled：${t}no" \
    "IP Address：${t}${t}$static_address" \
    "Subnet Mask：${t}${t}$static_mask" \
    "Default Gateway：${t}$static_gateway" \
    "DHCP Server：${t}${t}" \
    "Lease Obtained：${t}$(lease_text 0)" \
    "Lease Expires：${t}$(lease_text 0)")"

# "DHCP".
run_line 'netsh interface ip set address "Broadcom" dhcp'
run_line 'netsh interface ip set dns "Broadcom" dhcp'

# The lease as the manager holds it.
declare -A lease
while IFS= read -r option; do
    option=${option#*:}
    lease[${option%% = *}]=${option#* = }
done < <(in_manager nmcli --terse --fields DHCP4 device show "$device")
address=${lease[ip_address]:-}
expires=${lease[expiry]:-}
[[ $address =~ ^10\.77\.0\.1[0-9][0-9]$ ]] || fail "no address from dnsmasq's range in the lease: '$address'"
expect_equal "lease server" "${lease[dhcp_server_identifier]:-}" "$server"
expect_equal "lease time" "${lease[dhcp_lease_time]:-}" "$lease_time"
# Clocks are read to the second, hence the margins.
now=$(date +%s)
within "$expires" $((begun + lease_time - 2)) $((now + lease_time + 2)) \
    || fail "lease expiry $expires is not $lease_time s after the lease was given, between $begun and $now"
# The same lease as dnsmasq gave it: "expiry MAC address host client-id" per line.
read -r server_expires _ < <(grep -F " $address " "$work/dnsmasq.leases") \
    || fail "dnsmasq has no lease of $address"
within "$server_expires" $((expires - 2)) $((expires + 2)) \
    || fail "dnsmasq's lease ends at $server_expires, the manager's at $expires"

expect_equal "nmcli address" "$(device_field IP4.ADDRESS)" "$address/24"
expect_equal "nmcli gateway" "$(device_field IP4.GATEWAY)" "$server"
expect_equal "nmcli DNS" "$(device_field IP4.DNS)" "$dhcp_dns"
line=$(in_manager ip -4 -o address show dev "$device")
if ! [[ $line =~ " inet $address/24 ".*" dynamic ".*" valid_lft "([0-9]+)sec ]] \
    || ! within "${BASH_REMATCH[1]}" $((lease_time - (now - begun) - 2)) $lease_time; then
    fail "ip shows no address $address/24 with the lease's lifetime: $line"
fi
expect_equal "ip default route" "$(in_manager ip -4 route show default | awk '{print $3, $5}')" "$server $device"
expect_equal "resolv.conf" "$(in_manager grep '^nameserver' /etc/resolv.conf)" "nameserver $dhcp_dns"
expect_report "$(printf '%s\n' \
    "Host Name：${t}${t}netvane-e2e" \
    "DNS Servers：${t}${t}$dhcp_dns" \
    "Node Type：${t}${t}Unknown" \
    "Description：${t}${t}$device" \
    "DHCP Enabled：${t}yes" \
    "IP Address：${t}${t}$address" \
    "Subnet Mask：${t}${t}255.255.255.0" \
    "Default Gateway：${t}$server" \
    "DHCP Server：${t}${t}$server" \
    "Lease Obtained：${t}$(lease_text $((expires - lease_time)))" \
    "Lease Expires：${t}$(lease_text "$expires")")"

echo "real NetworkManager end to end: static address and DNS, then a DHCP lease, in $((SECONDS - started)) s"
