#pragma once
// The network queries answered on Linux: from the live system, or, given a root directory, from files
// below it laid out like the live ones (tests and demonstrations never touch the machine then).

#include "platform/IpHelper.h"

#include <QString>

class LinuxNetworkSource : public NetworkInfoSource
{
public:
    LinuxNetworkSource();
    explicit LinuxNetworkSource(const QString &Root);

    DWORD GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size) override;
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size) override;

    // Why the last failing call failed, e.g. "ip-addr.json: line 3: ...", for the program to show.
    QString LastFailure() const;

private:
    QString FRoot;
    QString FLastFailure;
};
