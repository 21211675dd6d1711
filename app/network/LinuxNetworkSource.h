#pragma once
// The network queries answered on Linux: from the live system, or, given a root directory, from files
// below it laid out like the live ones (tests and demonstrations never touch the machine then).
//
// Under a root: etc/hostname, etc/resolv.conf (and run/systemd/resolve/resolv.conf behind the local stub
// resolver), etc/samba/smb.conf, ip-addr.json (as `ip -details -json address show` prints it),
// proc/net/route, nm-dhcp4/IFNAME (as `nmcli -t -f DHCP4 device show IFNAME` prints it),
// var/lib/dhcp/dhclient*.leases and run/udev/data/nIFINDEX. A file that is absent counts as empty; one that is present but malformed fails
// the query that needed it with ERROR_INVALID_DATA, one that cannot be read with ERROR_GEN_FAILURE.

#include "platform/IpHelper.h"

#include <QString>

class LinuxNetworkSource : public NetworkInfoSource
{
public:
    LinuxNetworkSource();
    explicit LinuxNetworkSource(const QString &Root);

    DWORD GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size) override;
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size) override;

    // Why the last call failed, e.g. "ip-addr.json: line 3: ...", for the program to show; empty after a
    // call that did not fail.
    QString LastFailure() const;

private:
    QString FRoot;
    bool FLive;
    QString FLastFailure;
};
