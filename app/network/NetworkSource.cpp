#include "app/network/NetworkSource.h"

#include "app/network/LinuxNetworkSource.h"

namespace {
std::unique_ptr<NetworkInfoSource> &Installed()
{
    static std::unique_ptr<NetworkInfoSource> Source;
    return Source;
}
} // namespace

NetworkInfoSource &NetworkSource()
{
    if (!Installed())
        Installed() = std::make_unique<LinuxNetworkSource>();
    return *Installed();
}

void SetNetworkSource(std::unique_ptr<NetworkInfoSource> Source) { Installed() = std::move(Source); }
