// The Linux network source on fixture roots and on the live machine: the records, their chains and the
// sizing protocol, and which query a malformed file fails.
#include "app/network/LinuxNetworkSource.h"
#include "app/network/RecordPacker.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace {

const QString Roots = QStringLiteral(KIV_FIXTURES "/netroots/");

// One query's buffer, allocated at exactly the size the sizing call asked for; Status is the sizing call's
// when that one failed.
template <typename TRecord>
struct TAnswer
{
    DWORD SizingStatus = 0;
    DWORD Status = 0;
    DWORD Size = 0;
    std::vector<std::uint64_t> Storage;

    const TRecord *Record() const { return reinterpret_cast<const TRecord *>(Storage.data()); }
    bool Inside(const void *P) const
    {
        const auto *Byte = static_cast<const char *>(P);
        const auto *Begin = reinterpret_cast<const char *>(Storage.data());
        return Byte >= Begin && Byte < Begin + Size;
    }
};

template <typename TRecord, typename TQuery>
TAnswer<TRecord> Ask(TQuery Query)
{
    TAnswer<TRecord> A;
    A.SizingStatus = Query(nullptr, &A.Size);
    A.Status = A.SizingStatus;
    if (A.SizingStatus != ERROR_BUFFER_OVERFLOW)
        return A;
    A.Storage.assign((A.Size + 7) / 8, 0);
    A.Status = Query(reinterpret_cast<TRecord *>(A.Storage.data()), &A.Size);
    return A;
}

TAnswer<FIXED_INFO> AskParams(LinuxNetworkSource &Source)
{
    return Ask<FIXED_INFO>([&](FIXED_INFO *B, DWORD *S) { return Source.GetNetworkParams(B, S); });
}

TAnswer<IP_ADAPTER_INFO> AskAdapters(LinuxNetworkSource &Source)
{
    return Ask<IP_ADAPTER_INFO>([&](IP_ADAPTER_INFO *B, DWORD *S) { return Source.GetAdaptersInfo(B, S); });
}

// "address/mask" of every entry; every further entry must lie inside the answer's buffer.
template <typename TRecord>
QStringList Chain(const TAnswer<TRecord> &A, const IP_ADDR_STRING &Head)
{
    QStringList Entries;
    for (const IP_ADDR_STRING *E = &Head; E; E = E->Next) {
        EXPECT_TRUE(A.Inside(E));
        Entries << QStringLiteral("%1/%2").arg(QString::fromUtf8(E->IpAddress.String), QString::fromUtf8(E->IpMask.String));
    }
    return Entries;
}

template <typename TRecord>
QStringList Addresses(const TAnswer<TRecord> &A, const IP_ADDR_STRING &Head)
{
    QStringList Entries = Chain(A, Head);
    for (QString &E : Entries)
        E = E.section(u'/', 0, 0);
    return Entries;
}

QList<const IP_ADAPTER_INFO *> AdapterList(const TAnswer<IP_ADAPTER_INFO> &A)
{
    QList<const IP_ADAPTER_INFO *> List;
    for (const IP_ADAPTER_INFO *R = A.Record(); R; R = R->Next) {
        EXPECT_TRUE(A.Inside(R));
        List << R;
    }
    return List;
}

TEST(FixtureRoot, TwoAdaptersHostFacts)
{
    LinuxNetworkSource Source(Roots + "two-adapters");
    const auto A = AskParams(Source);
    ASSERT_EQ(A.SizingStatus, ERROR_BUFFER_OVERFLOW);
    ASSERT_EQ(A.Status, NO_ERROR) << Source.LastFailure().toStdString();
    EXPECT_EQ(A.Size, sizeof(FIXED_INFO) + 2 * sizeof(IP_ADDR_STRING));
    const FIXED_INFO &Info = *A.Record();
    EXPECT_STREQ(Info.HostName, "netbox");
    EXPECT_STREQ(Info.DomainName, "home.lan");
    // Behind the local stub resolver: its upstream servers, IPv6 passed over.
    EXPECT_EQ(Addresses(A, Info.DnsServerList), QStringList({"192.168.1.1", "10.0.0.1", "8.8.8.8"}));
    EXPECT_EQ(Info.CurrentDnsServer, &Info.DnsServerList);
    EXPECT_EQ(Info.NodeType, HYBRID_NODETYPE);
    EXPECT_EQ(Info.EnableDns, 1u);
    EXPECT_TRUE(Source.LastFailure().isEmpty());
}

TEST(FixtureRoot, TwoAdaptersRecords)
{
    LinuxNetworkSource Source(Roots + "two-adapters");
    const auto A = AskAdapters(Source);
    ASSERT_EQ(A.Status, NO_ERROR) << Source.LastFailure().toStdString();
    // Three records, one further address of the first adapter and one further gateway of it.
    EXPECT_EQ(A.Size, 3 * sizeof(IP_ADAPTER_INFO) + 2 * sizeof(IP_ADDR_STRING));
    const auto List = AdapterList(A);
    ASSERT_EQ(List.size(), 3);

    // In ifindex order, the loopback left out.
    const IP_ADAPTER_INFO &Wired = *List[0];
    EXPECT_STREQ(Wired.AdapterName, "enp0s31f6");
    EXPECT_STREQ(Wired.Description, "Intel Corporation Ethernet Connection (7) I219-V (enp0s31f6)");
    EXPECT_EQ(Wired.Index, 2u);
    EXPECT_EQ(Wired.Type, MIB_IF_TYPE_ETHERNET);
    ASSERT_EQ(Wired.AddressLength, 6u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(Wired.Address), 6), QByteArray::fromHex("e86a641b2c3d"));
    // Static addresses, yet a lease was found for it.
    EXPECT_EQ(Wired.DhcpEnabled, 1u);
    EXPECT_EQ(Chain(A, Wired.IpAddressList), QStringList({"10.0.0.5/255.255.255.0", "10.0.1.5/255.255.0.0"}));
    EXPECT_EQ(Wired.CurrentIpAddress, &Wired.IpAddressList);
    EXPECT_EQ(Addresses(A, Wired.GatewayList), QStringList({"10.0.0.1", "10.0.0.254"}));
    // The dhclient lease that expires last, not the last one in the file.
    EXPECT_STREQ(Wired.DhcpServer.IpAddress.String, "10.0.0.1");
    EXPECT_EQ(Wired.LeaseExpires, 1765354200u);
    EXPECT_EQ(Wired.LeaseObtained, 1765354200u - 7200u);

    // The network manager's lease wins over the DHCP client's older file.
    const IP_ADAPTER_INFO &Wireless = *List[1];
    EXPECT_STREQ(Wireless.AdapterName, "wlp2s0");
    EXPECT_STREQ(Wireless.Description, "wlp2s0");
    EXPECT_EQ(Wireless.Type, IF_TYPE_IEEE80211);
    EXPECT_EQ(Wireless.DhcpEnabled, 1u);
    EXPECT_EQ(Chain(A, Wireless.IpAddressList), QStringList({"192.168.1.23/255.255.255.0"}));
    EXPECT_EQ(Addresses(A, Wireless.GatewayList), QStringList({"192.168.1.1"}));
    EXPECT_STREQ(Wireless.DhcpServer.IpAddress.String, "192.168.1.1");
    EXPECT_EQ(Wireless.LeaseExpires, 1765432100u);
    EXPECT_EQ(Wireless.LeaseObtained, 1765432100u - 86400u);

    const IP_ADAPTER_INFO &Down = *List[2];
    EXPECT_STREQ(Down.AdapterName, "enp5s0");
    EXPECT_EQ(Down.DhcpEnabled, 0u);
    EXPECT_EQ(Chain(A, Down.IpAddressList), QStringList({"0.0.0.0/0.0.0.0"}));
    EXPECT_EQ(Chain(A, Down.GatewayList), QStringList({"/"}));
    EXPECT_STREQ(Down.DhcpServer.IpAddress.String, "");
    EXPECT_EQ(Down.LeaseObtained, 0u);
    EXPECT_EQ(Down.LeaseExpires, 0u);
}

QStringList AdapterNames(const TAnswer<IP_ADAPTER_INFO> &A)
{
    QStringList Names;
    for (const IP_ADAPTER_INFO *R : AdapterList(A))
        Names << QString::fromUtf8(R->AdapterName);
    return Names;
}

// This machine as `ip -details` shows it: two traffic-shaping devices, down and without addresses, ahead of
// the one that carries its address.
TEST(FixtureRoot, PseudoDevicesWithoutAddressesAreNoAdapters)
{
    LinuxNetworkSource Source(Roots + "pseudo-devices");
    const auto A = AskAdapters(Source);
    ASSERT_EQ(A.Status, NO_ERROR) << Source.LastFailure().toStdString();
    EXPECT_EQ(A.Size, sizeof(IP_ADAPTER_INFO));
    ASSERT_EQ(AdapterNames(A), QStringList({"eth0"}));
    EXPECT_EQ(A.Record()->Index, 4u);
    EXPECT_EQ(Chain(A, A.Record()->IpAddressList), QStringList({"192.0.2.2/255.255.255.0"}));
    EXPECT_EQ(Addresses(A, A.Record()->GatewayList), QStringList({"192.0.2.1"}));
}

// By the kind `ip -details` prints and the addresses bound: what stays an adapter.
TEST(FixtureRoot, WhichInterfacesAreAdapters)
{
    struct
    {
        const char *Name;
        const char *Kind;
        const char *Address;
        bool Listed;
    } Cases[] = {
        // Physical ports, plugged or not, and the devices that carry the connection of their ports.
        {"enp3s0", "", "", true},
        {"wlan0", "", "192.168.1.5", true},
        {"br0", "bridge", "", true},
        {"bond0", "bond", "", true},
        {"team0", "team", "", true},
        {"enp3s0.7", "vlan", "", true},
        {"mv0", "macvlan", "", true},
        {"vrf-blue", "vrf", "", true},
        // Any other kind stays, as every interface did before kinds were read.
        {"hsr0", "hsr", "", true},
        // Pseudo-devices without an IPv4 address.
        {"ifb0", "ifb", "", false},
        {"dummy0", "dummy", "", false},
        {"veth3f2a1b", "veth", "", false},
        {"nlmon0", "nlmon", "", false},
        {"sit0", "sit", "", false},
        {"ip6tnl0", "ip6tnl", "", false},
        {"tunl0", "ipip", "", false},
        {"gre0", "gre", "", false},
        {"gretap0", "gretap", "", false},
        {"ip6gre0", "ip6gre", "", false},
        {"erspan0", "erspan", "", false},
        {"ip_vti0", "vti", "", false},
        {"ip6_vti0", "vti6", "", false},
        {"vxlan.calico", "vxlan", "", false},
        {"tap0", "tun", "", false},
        {"wg0", "wireguard", "", false},
        {"can0", "can", "", false},
        {"vcan0", "vcan", "", false},
        {"vxcan0", "vxcan", "", false},
        // An IPv6 address does not make one an IPv4 adapter.
        {"sit1", "sit", "2001:db8::1", false},
        // An IPv4 address does.
        {"ifb1", "ifb", "10.9.0.1", true},
        {"dummy1", "dummy", "10.8.0.1", true},
        {"eth0", "veth", "172.17.0.2", true},
        {"tun0", "tun", "10.8.0.6", true},
        {"wg1", "wireguard", "10.66.0.2", true},
        {"gre1", "gre", "10.7.0.1", true},
    };
    QJsonArray Interfaces{QJsonObject{{"ifindex", 1},
                                      {"ifname", "lo"},
                                      {"link_type", "loopback"},
                                      {"addr_info", QJsonArray{QJsonObject{{"family", "inet"}, {"local", "127.0.0.1"}, {"prefixlen", 8}}}}}};
    QStringList Expected;
    for (const auto &C : Cases) {
        QJsonObject Link{{"ifindex", Interfaces.size() + 1}, {"ifname", C.Name}, {"link_type", "ether"}};
        if (*C.Kind)
            Link.insert("linkinfo", QJsonObject{{"info_kind", C.Kind}});
        QJsonArray Bound;
        if (*C.Address)
            Bound.append(QJsonObject{{"family", QString(C.Address).contains(u':') ? "inet6" : "inet"},
                                     {"local", C.Address},
                                     {"prefixlen", 24}});
        Link.insert("addr_info", Bound);
        Interfaces.append(Link);
        if (C.Listed)
            Expected << C.Name;
    }
    QTemporaryDir Root;
    ASSERT_TRUE(Root.isValid());
    QFile File(Root.filePath("ip-addr.json"));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(QJsonDocument(Interfaces).toJson());
    File.close();

    LinuxNetworkSource Source(Root.path());
    const auto A = AskAdapters(Source);
    ASSERT_EQ(A.Status, NO_ERROR) << Source.LastFailure().toStdString();
    EXPECT_EQ(AdapterNames(A), Expected);
}

TEST(FixtureRoot, SizingProtocol)
{
    LinuxNetworkSource Source(Roots + "two-adapters");
    DWORD Needed = 0;
    ASSERT_EQ(Source.GetAdaptersInfo(nullptr, &Needed), ERROR_BUFFER_OVERFLOW);
    std::vector<std::uint64_t> Storage(Needed / 8 + 1, 0);
    auto *Buffer = reinterpret_cast<IP_ADAPTER_INFO *>(Storage.data());

    DWORD Size = Needed - 1;
    EXPECT_EQ(Source.GetAdaptersInfo(Buffer, &Size), ERROR_BUFFER_OVERFLOW);
    EXPECT_EQ(Size, Needed);
    EXPECT_EQ(Buffer->Next, nullptr) << "a too small buffer is left alone";

    // Nothing is written past the size asked for.
    std::memset(reinterpret_cast<char *>(Storage.data()) + Needed, 0x5A, Storage.size() * 8 - Needed);
    Size = Needed;
    EXPECT_EQ(Source.GetAdaptersInfo(Buffer, &Size), NO_ERROR);
    EXPECT_EQ(reinterpret_cast<const unsigned char *>(Storage.data())[Needed], 0x5A);

    EXPECT_EQ(Source.GetAdaptersInfo(Buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Source.GetNetworkParams(nullptr, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(FixtureRoot, MachineWithOnlyLoopback)
{
    LinuxNetworkSource Source(Roots + "empty");
    const auto A = AskParams(Source);
    ASSERT_EQ(A.Status, NO_ERROR) << Source.LastFailure().toStdString();
    EXPECT_EQ(A.Size, sizeof(FIXED_INFO));
    EXPECT_STREQ(A.Record()->HostName, "lonely");
    EXPECT_STREQ(A.Record()->DnsServerList.IpAddress.String, "");
    EXPECT_EQ(A.Record()->DnsServerList.Next, nullptr);
    EXPECT_EQ(A.Record()->NodeType, 0u);

    DWORD Size = 0;
    EXPECT_EQ(Source.GetAdaptersInfo(nullptr, &Size), ERROR_NO_DATA);
    IP_ADAPTER_INFO Record{};
    Size = sizeof(Record);
    EXPECT_EQ(Source.GetAdaptersInfo(&Record, &Size), ERROR_NO_DATA);
    EXPECT_TRUE(Source.LastFailure().isEmpty());
}

TEST(FixtureRoot, MalformedFilesFailTheirQueryWithTheCause)
{
    LinuxNetworkSource Source(Roots + "malformed");
    DWORD Size = 0;
    EXPECT_EQ(Source.GetNetworkParams(nullptr, &Size), ERROR_INVALID_DATA);
    EXPECT_EQ(Source.LastFailure(), "etc/samba/smb.conf: line 3: wins support = \"perhaps\" is neither yes nor no");
    EXPECT_EQ(Source.GetAdaptersInfo(nullptr, &Size), ERROR_INVALID_DATA);
    EXPECT_TRUE(Source.LastFailure().startsWith("ip-addr.json: line 5: ")) << Source.LastFailure().toStdString();
}

void CopyTree(const QString &From, const QString &To)
{
    QDirIterator It(From, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (It.hasNext()) {
        const QString File = It.next();
        const QString Target = To + File.mid(From.size());
        QDir().mkpath(QFileInfo(Target).path());
        ASSERT_TRUE(QFile::copy(File, Target)) << Target.toStdString();
    }
}

// Each file spoilt in turn fails the query that reads it and nothing else.
TEST(FixtureRoot, EachMalformedFileFailsOnlyItsQuery)
{
    enum TQuery { Params, Adapters };
    struct
    {
        const char *File;
        QByteArray Text;
        TQuery Fails;
        const char *Cause;
    } Cases[] = {
        {"etc/hostname", "net box\n", Params, "etc/hostname: line 1: not a host name"},
        {"etc/resolv.conf", "nameserver\n", Params, "etc/resolv.conf: line 1: "},
        {"run/systemd/resolve/resolv.conf", "nameserver ns1\n", Params, "run/systemd/resolve/resolv.conf: line 1: "},
        {"etc/samba/smb.conf", "[global\n", Params, "etc/samba/smb.conf: line 1: "},
        {"ip-addr.json", "[{\"ifindex\":2}]", Adapters, "ip-addr.json: entry 1: "},
        {"proc/net/route", "garbage\n", Adapters, "proc/net/route: line 1: "},
        {"nm-dhcp4/wlp2s0", "DHCP4.OPTION[1]:expiry = later\n", Adapters, "nm-dhcp4/wlp2s0: expiry "},
        {"var/lib/dhcp/dhclient.enp0s31f6.leases", "lease {\n", Adapters, "var/lib/dhcp/dhclient.enp0s31f6.leases: line 1: "},
        {"run/udev/data/n2", "junk\n", Adapters, "run/udev/data/n2: line 1: "},
    };
    for (const auto &C : Cases) {
        QTemporaryDir Root;
        ASSERT_TRUE(Root.isValid());
        CopyTree(Roots + "two-adapters", Root.path());
        QFile File(Root.filePath(C.File));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        File.write(C.Text);
        File.close();

        LinuxNetworkSource Source(Root.path());
        const DWORD ParamsStatus = AskParams(Source).Status;
        const QString ParamsCause = Source.LastFailure();
        const DWORD AdaptersStatus = AskAdapters(Source).Status;
        const QString AdaptersCause = Source.LastFailure();
        EXPECT_EQ(ParamsStatus, C.Fails == Params ? ERROR_INVALID_DATA : NO_ERROR) << C.File;
        EXPECT_EQ(AdaptersStatus, C.Fails == Adapters ? ERROR_INVALID_DATA : NO_ERROR) << C.File;
        const QString &Cause = C.Fails == Params ? ParamsCause : AdaptersCause;
        EXPECT_TRUE(Cause.startsWith(QString::fromUtf8(C.Cause))) << Cause.toStdString();
    }
}

TEST(FixtureRoot, AnEmptyRootIsTheCurrentFolder)
{
    QTemporaryDir Root;
    ASSERT_TRUE(QDir(Root.path()).mkpath("etc"));
    QFile Name(Root.filePath("etc/hostname"));
    ASSERT_TRUE(Name.open(QIODevice::WriteOnly));
    Name.write("here\n");
    Name.close();
    const QString Before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Root.path()));
    LinuxNetworkSource Source{QString()};
    const auto A = AskParams(Source);
    QDir::setCurrent(Before);
    ASSERT_EQ(A.Status, NO_ERROR);
    EXPECT_STREQ(A.Record()->HostName, "here");
}

TEST(FixtureRoot, AFileThatCannotBeReadIsAGeneralFailure)
{
    QTemporaryDir Root;
    ASSERT_TRUE(QDir(Root.path()).mkpath("etc/resolv.conf"));
    LinuxNetworkSource Source(Root.path());
    DWORD Size = 0;
    EXPECT_EQ(Source.GetNetworkParams(nullptr, &Size), ERROR_GEN_FAILURE);
    EXPECT_TRUE(Source.LastFailure().startsWith("etc/resolv.conf: ")) << Source.LastFailure().toStdString();
}

TEST(RecordPacker, DescriptionFromWhicheverNamesExist)
{
    const QString Long = QString(60, u'é');
    struct
    {
        QString Vendor, Model, Expected;
    } Cases[] = {
        {"Intel Corporation", "I211 Gigabit Network Connection", "Intel Corporation I211 Gigabit Network Connection (eno1)"},
        {"Realtek Semiconductor Co., Ltd.", "", "Realtek Semiconductor Co., Ltd. (eno1)"},
        {"", "RTL8153 Gigabit Ethernet Adapter", "RTL8153 Gigabit Ethernet Adapter (eno1)"},
        {"", "", "eno1"},
        // 120 bytes of names and 7 of suffix fit; one more two-byte letter would not.
        {Long, Long, Long + " " + QString(62, u'é') + " (eno1)"},
    };
    for (const auto &C : Cases) {
        TAdapterFacts Adapter;
        Adapter.Name = "eno1";
        Adapter.Vendor = C.Vendor;
        Adapter.Model = C.Model;
        const QString Description = AdapterDescription(Adapter);
        EXPECT_LE(Description.toUtf8().size(), MAX_ADAPTER_DESCRIPTION_LENGTH + 3);
        if (C.Vendor != Long)
            EXPECT_EQ(Description, C.Expected);
        else
            EXPECT_TRUE(Description.endsWith(u"é (eno1)")) << Description.toStdString();
    }
}

TEST(RecordPacker, LeaseTimesStayInsideTheRecordsRange)
{
    struct
    {
        qint64 Expires, LeaseTime;
        DWORD Obtained, ExpiresField;
    } Cases[] = {
        {1700086400, 86400, 1700000000, 1700086400},
        // A lease time longer than the time since 1970 would wrap below zero.
        {3600, 86400, 0, 3600},
        // Past 2106 the unsigned 32-bit field holds its largest value rather than a wrapped one.
        {0x1'0000'0010LL, 0x20, 0xFFFFFFF0u, 0xFFFFFFFFu},
    };
    for (const auto &C : Cases) {
        TAdapterFacts Adapter;
        Adapter.Name = "eth0";
        Adapter.Index = 2;
        Adapter.Lease = {true, "10.0.0.1", C.Expires, C.LeaseTime};
        DWORD Size = 0;
        ASSERT_EQ(PackAdaptersInfo({Adapter}, nullptr, &Size), ERROR_BUFFER_OVERFLOW);
        std::vector<std::uint64_t> Storage(Size / 8 + 1);
        auto *Record = reinterpret_cast<IP_ADAPTER_INFO *>(Storage.data());
        ASSERT_EQ(PackAdaptersInfo({Adapter}, Record, &Size), NO_ERROR);
        EXPECT_EQ(Record->LeaseObtained, C.Obtained) << C.Expires;
        EXPECT_EQ(Record->LeaseExpires, C.ExpiresField) << C.Expires;
        EXPECT_EQ(Record->DhcpEnabled, 1u);
    }
}

// The live machine: no assumption about its adapters, only that the answers keep the protocol.
TEST(LiveSource, AnswersKeepTheProtocol)
{
    LinuxNetworkSource Source;
    const auto Params = AskParams(Source);
    ASSERT_EQ(Params.SizingStatus, ERROR_BUFFER_OVERFLOW) << Source.LastFailure().toStdString();
    if (Params.Status == NO_ERROR) {
        char Name[256] = {};
        ASSERT_EQ(gethostname(Name, sizeof(Name) - 1), 0);
        EXPECT_EQ(QByteArray(Params.Record()->HostName), QByteArray(Name).left(MAX_HOSTNAME_LEN + 3));
        Chain(Params, Params.Record()->DnsServerList);
    } else {
        EXPECT_FALSE(Source.LastFailure().isEmpty());
    }

    const auto Adapters = AskAdapters(Source);
    if (Adapters.Status == NO_ERROR) {
        for (const IP_ADAPTER_INFO *R : AdapterList(Adapters)) {
            EXPECT_NE(R->Type, MIB_IF_TYPE_LOOPBACK);
            EXPECT_FALSE(Chain(Adapters, R->IpAddressList).isEmpty());
            EXPECT_FALSE(Chain(Adapters, R->GatewayList).isEmpty());
        }
    } else {
        const DWORD Status = Adapters.Status;
        EXPECT_TRUE(Status == ERROR_NO_DATA || Status == ERROR_INVALID_DATA || Status == ERROR_GEN_FAILURE) << Status;
        EXPECT_EQ(Source.LastFailure().isEmpty(), Status == ERROR_NO_DATA);
    }
}

} // namespace
