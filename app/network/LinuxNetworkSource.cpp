#include "app/network/LinuxNetworkSource.h"

#include "app/network/DhclientLeases.h"
#include "app/network/IpAddrJson.h"
#include "app/network/Netlink.h"
#include "app/network/NetworkManagerDhcp.h"
#include "app/network/NmcliDhcp4.h"
#include "app/network/ProcNetRoute.h"
#include "app/network/RecordPacker.h"
#include "app/network/ResolvConf.h"
#include "app/network/SmbConf.h"
#include "app/network/UdevDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {

// Configuration files are small; anything larger is not one of them.
constexpr qint64 LargestFile = 4 * 1024 * 1024;

// Gathers the facts of one query, remembering the first failure.
class TGatherer
{
public:
    TGatherer(const QString &Root, bool Live) : FRoot(Root), FLive(Live) {}

    DWORD Code() const { return FCode; }
    QString Cause() const { return FCause; }

    bool Host(THostFacts &Host)
    {
        return HostName(Host.HostName) && Dns(Host) && NetBios(Host) && Routing(Host.Routing);
    }

    bool Adapters(QList<TAdapterFacts> &Adapters)
    {
        if (!Interfaces(Adapters))
            return false;
        Adapters.erase(std::remove_if(Adapters.begin(), Adapters.end(), [](const TAdapterFacts &A) { return !IsAdapter(A); }),
                       Adapters.end());
        std::stable_sort(Adapters.begin(), Adapters.end(),
                         [](const TAdapterFacts &A, const TAdapterFacts &B) { return A.Index < B.Index; });
        if (!Gateways(Adapters))
            return false;
        for (TAdapterFacts &Adapter : Adapters)
            if (!Lease(Adapter) || !Hardware(Adapter))
                return false;
        return true;
    }

private:
    QString Path(const QString &Relative) const { return FRoot + QLatin1Char('/') + Relative; }
    QString Shown(const QString &Relative) const { return FLive ? Path(Relative) : Relative; }

    bool Fail(DWORD Code, const QString &Relative, const QString &Why)
    {
        FCode = Code;
        FCause = QStringLiteral("%1: %2").arg(Shown(Relative), Why);
        return false;
    }

    // An absent file reads as empty.
    bool Read(const QString &Relative, QByteArray &Text, bool *Present = nullptr)
    {
        Text.clear();
        QFile File(Path(Relative));
        if (Present)
            *Present = File.exists();
        if (!File.exists())
            return true;
        if (!File.open(QIODevice::ReadOnly))
            return Fail(ERROR_GEN_FAILURE, Relative, File.errorString());
        Text = File.read(LargestFile + 1);
        if (Text.size() > LargestFile)
            return Fail(ERROR_INVALID_DATA, Relative, QStringLiteral("too large"));
        return true;
    }

    template <typename TReader, typename TResult>
    bool Parse(const QString &Relative, const QByteArray &Text, TReader Reader, TResult &Result)
    {
        QString Why;
        return Reader(Text, Result, &Why) || Fail(ERROR_INVALID_DATA, Relative, Why);
    }

    bool HostName(QString &Name)
    {
        if (FLive) {
            char Buffer[256] = {};
            if (gethostname(Buffer, sizeof(Buffer) - 1) != 0)
                return Fail(ERROR_GEN_FAILURE, QStringLiteral("host name"), QString::fromLocal8Bit(strerror(errno)));
            Name = QString::fromUtf8(Buffer);
            return true;
        }
        const QString File = QStringLiteral("etc/hostname");
        QByteArray Text;
        if (!Read(File, Text))
            return false;
        const QList<QByteArray> Lines = Text.split('\n');
        for (int I = 0; I < Lines.size(); ++I) {
            const QByteArray Line = Lines[I].trimmed();
            if (Line.isEmpty() || Line.startsWith('#'))
                continue;
            const bool Plain = Line.size() <= 64 && std::none_of(Line.cbegin(), Line.cend(), [](char C) {
                return static_cast<unsigned char>(C) <= ' ' || C == 0x7F;
            });
            if (!Plain)
                return Fail(ERROR_INVALID_DATA, File, QStringLiteral("line %1: not a host name").arg(I + 1));
            Name = QString::fromUtf8(Line);
            break;
        }
        return true;
    }

    bool Dns(THostFacts &Host)
    {
        const QString StubFile = QStringLiteral("etc/resolv.conf");
        QByteArray Text;
        TResolvConf Conf;
        if (!Read(StubFile, Text) || !Parse(StubFile, Text, ReadResolvConf, Conf))
            return false;
        Host.DnsServers = Conf.NameServers;
        Host.DomainName = Conf.Domain;
        // The local stub resolver forwards to the servers it was given; those are the ones to show.
        if (Conf.NameServers == QStringList{QStringLiteral("127.0.0.53")}) {
            const QString UpstreamFile = QStringLiteral("run/systemd/resolve/resolv.conf");
            TResolvConf Upstream;
            if (!Read(UpstreamFile, Text) || !Parse(UpstreamFile, Text, ReadResolvConf, Upstream))
                return false;
            Host.DnsServers = Upstream.NameServers;
            if (Host.DomainName.isEmpty())
                Host.DomainName = Upstream.Domain;
        }
        return true;
    }

    bool NetBios(THostFacts &Host)
    {
        const QString File = QStringLiteral("etc/samba/smb.conf");
        QByteArray Text;
        bool Present = false;
        TSmbConf Conf;
        if (!Read(File, Text, &Present))
            return false;
        if (!Present)
            return true;
        if (!Parse(File, Text, ReadSmbConf, Conf))
            return false;
        Host.NodeType = Conf.NodeType;
        Host.ScopeId = Conf.ScopeId;
        return true;
    }

    bool Routing(bool &Routing)
    {
        QByteArray Text;
        if (!Read(QStringLiteral("proc/sys/net/ipv4/ip_forward"), Text))
            return false;
        Routing = Text.trimmed() == "1";
        return true;
    }

    bool Interfaces(QList<TAdapterFacts> &Adapters)
    {
        if (FLive) {
            QString Why;
            if (!ReadNetlinkAdapters(Adapters, &Why)) {
                FCode = ERROR_GEN_FAILURE;
                FCause = Why;
                return false;
            }
            return true;
        }
        const QString File = QStringLiteral("ip-addr.json");
        QByteArray Text;
        return Read(File, Text) && Parse(File, Text, ReadIpAddrJson, Adapters);
    }

    bool Gateways(QList<TAdapterFacts> &Adapters)
    {
        const QString File = QStringLiteral("proc/net/route");
        QByteArray Text;
        QList<TDefaultGateway> Routes;
        if (!Read(File, Text) || !Parse(File, Text, ReadProcNetRoute, Routes))
            return false;
        for (const TDefaultGateway &Route : Routes)
            for (TAdapterFacts &Adapter : Adapters)
                if (Adapter.Name == Route.Interface)
                    Adapter.Gateways.append(Route.Gateway);
        return true;
    }

    // The network manager's lease first; without one, the DHCP client's newest.
    bool Lease(TAdapterFacts &Adapter)
    {
        TDhcp4Options Options;
        const QString File = QStringLiteral("nm-dhcp4/") + Adapter.Name;
        if (FLive) {
            Options = FNetworkManager.Options(Adapter.Name);
        } else {
            QByteArray Text;
            if (!Read(File, Text) || !Parse(File, Text, ReadNmcliDhcp4, Options))
                return false;
        }
        QString Why;
        if (!LeaseFromDhcp4Options(Options, Adapter.Lease, &Why))
            return Fail(ERROR_INVALID_DATA, FLive ? QStringLiteral("network manager, ") + Adapter.Name : File, Why);
        if (Adapter.Lease.Found)
            return true;
        if (!FDhclientLeases && !ReadDhclientLeaseFiles())
            return false;
        Adapter.Lease = NewestLease(*FDhclientLeases, Adapter.Name);
        return true;
    }

    bool ReadDhclientLeaseFiles()
    {
        const QString Folder = QStringLiteral("var/lib/dhcp");
        QList<TDhclientLease> All;
        const QStringList Names = QDir(Path(Folder)).entryList({QStringLiteral("dhclient*.leases")}, QDir::Files, QDir::Name);
        for (const QString &Name : Names) {
            const QString File = Folder + QLatin1Char('/') + Name;
            QByteArray Text;
            QList<TDhclientLease> Leases;
            if (!Read(File, Text) || !Parse(File, Text, ReadDhclientLeases, Leases))
                return false;
            All += Leases;
        }
        FDhclientLeases = All;
        return true;
    }

    bool Hardware(TAdapterFacts &Adapter)
    {
        const QString File = QStringLiteral("run/udev/data/n%1").arg(Adapter.Index);
        QByteArray Text;
        TUdevDevice Device;
        if (!Read(File, Text) || !Parse(File, Text, ReadUdevDatabase, Device))
            return false;
        Adapter.Vendor = Device.Vendor;
        Adapter.Model = Device.Model;
        // Wireless interfaces show themselves as Ethernet to the kernel's link layer.
        const QString Class = QStringLiteral("sys/class/net/") + Adapter.Name;
        if (Adapter.Type == MIB_IF_TYPE_ETHERNET
            && (QFileInfo::exists(Path(Class + QStringLiteral("/wireless")))
                || QFileInfo::exists(Path(Class + QStringLiteral("/phy80211")))))
            Adapter.Type = IF_TYPE_IEEE80211;
        return true;
    }

    QString FRoot;
    bool FLive;
    DWORD FCode = NO_ERROR;
    QString FCause;
    TNetworkManagerDhcp FNetworkManager;
    std::optional<QList<TDhclientLease>> FDhclientLeases;
};

} // namespace

LinuxNetworkSource::LinuxNetworkSource() : FLive(true) {}

// An empty root is the current folder, never the machine's own files.
LinuxNetworkSource::LinuxNetworkSource(const QString &Root) : FRoot(QDir(Root).absolutePath()), FLive(false) {}

DWORD LinuxNetworkSource::GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size)
{
    FLastFailure.clear();
    TGatherer Gatherer(FRoot, FLive);
    THostFacts Host;
    if (!Gatherer.Host(Host)) {
        FLastFailure = Gatherer.Cause();
        return Gatherer.Code();
    }
    return PackNetworkParams(Host, Buffer, Size);
}

DWORD LinuxNetworkSource::GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size)
{
    FLastFailure.clear();
    TGatherer Gatherer(FRoot, FLive);
    QList<TAdapterFacts> Adapters;
    if (!Gatherer.Adapters(Adapters)) {
        FLastFailure = Gatherer.Cause();
        return Gatherer.Code();
    }
    return PackAdaptersInfo(Adapters, Buffer, Size);
}

QString LinuxNetworkSource::LastFailure() const { return FLastFailure; }
