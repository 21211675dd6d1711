#include "app/network/NetworkFacts.h"

#include <algorithm>
#include <iterator>

namespace {

// Kinds of virtual link that stand for no network connection of their own until an address is given to
// them. Bridges, bonds, teams, VLANs, macvlans and VRFs are absent on purpose: they carry the connection
// of the ports under them, as a disconnected physical port carries one that is not there yet.
constexpr QLatin1String PseudoDeviceKinds[] = {
    // Plumbing inside the machine: container pairs, traffic shaping, monitoring, test devices.
    QLatin1String("dummy"), QLatin1String("ifb"), QLatin1String("netdevsim"), QLatin1String("nlmon"),
    QLatin1String("veth"),
    // Tunnel ends and overlays; the kernel makes sit0, tunl0, gre0, ip6tnl0 ... in every namespace as soon
    // as their module is loaded. A VPN gives its tun, tap or wireguard device an address when it connects.
    QLatin1String("amt"), QLatin1String("bareudp"), QLatin1String("erspan"), QLatin1String("geneve"),
    QLatin1String("gre"), QLatin1String("gretap"), QLatin1String("gtp"), QLatin1String("ip6erspan"),
    QLatin1String("ip6gre"), QLatin1String("ip6gretap"), QLatin1String("ip6tnl"), QLatin1String("ipip"),
    QLatin1String("sit"), QLatin1String("tun"), QLatin1String("vti"), QLatin1String("vti6"),
    QLatin1String("vxlan"), QLatin1String("wireguard"), QLatin1String("xfrm"),
    // Links that never carry IPv4: CAN buses and IPv6 over low-power radio.
    QLatin1String("can"), QLatin1String("vcan"), QLatin1String("vxcan"), QLatin1String("lowpan"),
};

bool IsPseudoDevice(const QString &Kind)
{
    return std::find(std::begin(PseudoDeviceKinds), std::end(PseudoDeviceKinds), Kind) != std::end(PseudoDeviceKinds);
}

} // namespace

bool IsAdapter(const TAdapterFacts &Adapter)
{
    if (Adapter.Loopback)
        return false;
    return !Adapter.Addresses.isEmpty() || !IsPseudoDevice(Adapter.Kind);
}

bool IsInterfaceName(const QString &Name)
{
    const QByteArray Bytes = Name.toUtf8();
    if (Bytes.isEmpty() || Bytes.size() > 15 || Name == QLatin1String(".") || Name == QLatin1String(".."))
        return false;
    for (char C : Bytes)
        if (C == '/' || C == ':' || static_cast<unsigned char>(C) <= ' ' || C == 0x7F)
            return false;
    return true;
}
