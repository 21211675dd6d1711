#include "app/network/LinuxNetworkSource.h"

LinuxNetworkSource::LinuxNetworkSource() = default;

LinuxNetworkSource::LinuxNetworkSource(const QString &Root) : FRoot(Root) {}

DWORD LinuxNetworkSource::GetNetworkParams(FIXED_INFO *, DWORD *)
{
    FLastFailure = QStringLiteral("not available yet");
    return ERROR_GEN_FAILURE;
}

DWORD LinuxNetworkSource::GetAdaptersInfo(IP_ADAPTER_INFO *, DWORD *)
{
    FLastFailure = QStringLiteral("not available yet");
    return ERROR_GEN_FAILURE;
}

QString LinuxNetworkSource::LastFailure() const { return FLastFailure; }
