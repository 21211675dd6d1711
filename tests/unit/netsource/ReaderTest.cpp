// Each reader of the Linux network source on real-looking samples and on malformed ones.
#include "app/network/DhclientLeases.h"
#include "app/network/IpAddrJson.h"
#include "app/network/Ipv4Text.h"
#include "app/network/NmcliDhcp4.h"
#include "app/network/ProcNetRoute.h"
#include "app/network/ResolvConf.h"
#include "app/network/SmbConf.h"
#include "app/network/UdevDatabase.h"
#include "platform/IpHelper.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDateTime>


namespace {

qint64 Utc(int Y, int M, int D, int H, int Mi, int S)
{
    return QDateTime(QDate(Y, M, D), QTime(H, Mi, S), Qt::UTC).toSecsSinceEpoch();
}

TEST(Ipv4Text, DottedQuadsAndMasks)
{
    EXPECT_EQ(ParseDottedQuad(u"192.168.001.1"), 0xC0A80101u);
    for (const char *Bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.-4", "1..3.4", "a.b.c.d", "1.2.3.4 ", "1234.1.1.1"})
        EXPECT_FALSE(ParseDottedQuad(QString::fromLatin1(Bad))) << Bad;
    EXPECT_EQ(PrefixMask(0), "0.0.0.0");
    EXPECT_EQ(PrefixMask(20), "255.255.240.0");
    EXPECT_EQ(PrefixMask(32), "255.255.255.255");
    EXPECT_EQ(PrefixMask(33), "");
}

TEST(ResolvConf, ServersInOrderIpv6PassedOverDomainFromTheLastLine)
{
    TResolvConf Conf;
    QString Error;
    ASSERT_TRUE(ReadResolvConf("# generated\n; old style comment\ndomain corp.example\nnameserver 10.0.0.1\n"
                               "nameserver\tfe80::1%eth0\nnameserver 2001:db8::53\n  nameserver 8.8.8.8  \n"
                               "options edns0\nsearch home.lan other.lan\n",
                               Conf, &Error))
        << Error.toStdString();
    EXPECT_EQ(Conf.NameServers, QStringList({"10.0.0.1", "8.8.8.8"}));
    EXPECT_EQ(Conf.Domain, "home.lan");
}

TEST(ResolvConf, NameserverWithoutAUsableAddressIsMalformed)
{
    struct
    {
        const char *Text;
        const char *Error;
    } Cases[] = {
        {"search x\nnameserver\n", "line 2: nameserver without an address"},
        {"nameserver 1.2.3.4\n\nnameserver dns.example\n", "line 3: \"dns.example\" is not an address"},
        {"nameserver 300.1.1.1\n", "line 1: \"300.1.1.1\" is not an address"},
    };
    for (const auto &C : Cases) {
        TResolvConf Conf;
        QString Error;
        EXPECT_FALSE(ReadResolvConf(C.Text, Conf, &Error)) << C.Text;
        EXPECT_EQ(Error, C.Error);
    }
}

TEST(SmbConf, NodeTypeFromTheGlobalSection)
{
    struct
    {
        const char *Text;
        UINT NodeType;
    } Cases[] = {
        {"[global]\n   workgroup = WORKGROUP\n", BROADCAST_NODETYPE},
        {"", BROADCAST_NODETYPE},
        {"[global]\nwins server = 10.0.0.2\n", HYBRID_NODETYPE},
        {"[ Global ]\n  WINS Support = Yes\n", HYBRID_NODETYPE},
        {"wins support = true\n[homes]\n", HYBRID_NODETYPE},
        {"[global]\nwins server =\n", BROADCAST_NODETYPE},
        {"[homes]\nwins server = 10.0.0.2\n", BROADCAST_NODETYPE},
        {"[global]\nwins support = yes\nwins support = no\n", BROADCAST_NODETYPE},
        {"[global]\n# wins support = yes\n; wins server = 1.2.3.4\n", BROADCAST_NODETYPE},
        {"[global]\nwins \\\n  server = 10.0.0.2\n", HYBRID_NODETYPE},
    };
    for (const auto &C : Cases) {
        TSmbConf Conf;
        QString Error;
        ASSERT_TRUE(ReadSmbConf(C.Text, Conf, &Error)) << C.Text << Error.toStdString();
        EXPECT_EQ(Conf.NodeType, C.NodeType) << C.Text;
    }
    TSmbConf Conf;
    QString Error;
    ASSERT_TRUE(ReadSmbConf("[global]\nnetbios scope = corp\n", Conf, &Error));
    EXPECT_EQ(Conf.ScopeId, "corp");
}

TEST(SmbConf, MalformedLinesAreReportedWithTheirNumber)
{
    struct
    {
        const char *Text;
        const char *Error;
    } Cases[] = {
        {"[global\nwins support = yes\n", "line 1: section name without \"]\""},
        {"[global]\n\nload printers\n", "line 3: \"load printers\" is not a parameter"},
        {"[global]\nwins support = perhaps\n", "line 2: wins support = \"perhaps\" is neither yes nor no"},
    };
    for (const auto &C : Cases) {
        TSmbConf Conf;
        QString Error;
        EXPECT_FALSE(ReadSmbConf(C.Text, Conf, &Error)) << C.Text;
        EXPECT_EQ(Error, C.Error);
    }
}

// What `ip -json address show` printed on a test machine, plus a tunnel whose link address is IPv4 and a
// family-filtered entry that leaves empty objects.
const char *IpJsonSample =
    R"([{"ifindex":1,"ifname":"lo","flags":["LOOPBACK","UP","LOWER_UP"],"mtu":65536,"qdisc":"noqueue","operstate":"UNKNOWN","group":"default","txqlen":1000,"link_type":"loopback","address":"00:00:00:00:00:00","broadcast":"00:00:00:00:00:00","addr_info":[{"family":"inet","local":"127.0.0.1","prefixlen":8,"scope":"host","label":"lo","valid_life_time":4294967295,"preferred_life_time":4294967295}]},)"
    R"({"ifindex":4,"ifname":"eth0","flags":["BROADCAST","MULTICAST","UP","LOWER_UP"],"mtu":1400,"qdisc":"pfifo_fast","operstate":"UP","group":"default","txqlen":1000,"link_type":"ether","address":"02:fc:00:00:00:01","broadcast":"ff:ff:ff:ff:ff:ff","addr_info":[{"family":"inet","local":"192.0.2.2","prefixlen":24,"broadcast":"192.0.2.255","scope":"global","label":"eth0","valid_life_time":4294967295,"preferred_life_time":4294967295},{"family":"inet6","local":"fd00::2","prefixlen":64,"scope":"global","nodad":true,"valid_life_time":4294967295,"preferred_life_time":4294967295},{"family":"inet","local":"100.10.0.1","prefixlen":22,"broadcast":"100.10.3.255","scope":"global","dynamic":true,"noprefixroute":true,"label":"eth0","valid_life_time":86313548,"preferred_life_time":86313548}]},)"
    R"({"ifindex":7,"ifname":"tunl0","flags":["NOARP"],"mtu":1480,"link_type":"ipip","address":"0.0.0.0","addr_info":[{},{}]}])";

TEST(IpAddrJson, InterfacesAddressesAndFlags)
{
    QList<TAdapterFacts> Adapters;
    QString Error;
    ASSERT_TRUE(ReadIpAddrJson(IpJsonSample, Adapters, &Error)) << Error.toStdString();
    ASSERT_EQ(Adapters.size(), 3);
    EXPECT_TRUE(Adapters[0].Loopback);
    EXPECT_EQ(Adapters[0].Type, MIB_IF_TYPE_LOOPBACK);

    const TAdapterFacts &Eth = Adapters[1];
    EXPECT_EQ(Eth.Name, "eth0");
    EXPECT_EQ(Eth.Index, 4);
    EXPECT_FALSE(Eth.Loopback);
    EXPECT_EQ(Eth.Type, MIB_IF_TYPE_ETHERNET);
    EXPECT_EQ(Eth.HardwareAddress, QByteArray::fromHex("02fc00000001"));
    ASSERT_EQ(Eth.Addresses.size(), 2);
    EXPECT_EQ(Eth.Addresses[0].Address, "192.0.2.2");
    EXPECT_EQ(Eth.Addresses[0].PrefixLength, 24);
    EXPECT_FALSE(Eth.Addresses[0].Dynamic);
    EXPECT_EQ(Eth.Addresses[1].Address, "100.10.0.1");
    EXPECT_EQ(Eth.Addresses[1].PrefixLength, 22);
    EXPECT_TRUE(Eth.Addresses[1].Dynamic);

    EXPECT_EQ(Adapters[2].Type, MIB_IF_TYPE_OTHER);
    EXPECT_TRUE(Adapters[2].HardwareAddress.isEmpty());
    EXPECT_TRUE(Adapters[2].Addresses.isEmpty());
}

// `ip -details` prints the driver's kind, and for a port of a bridge or bond the master's kind beside it.
TEST(IpAddrJson, KindFromTheLinkInfo)
{
    struct
    {
        const char *LinkInfo;
        const char *Kind;
    } Cases[] = {
        {"", ""},
        {R"(,"linkinfo":{"info_kind":"ifb"})", "ifb"},
        {R"(,"linkinfo":{"info_kind":"veth","info_slave_kind":"bridge","info_slave_data":{"state":"forwarding"}})", "veth"},
        {R"(,"linkinfo":{"info_slave_kind":"bond","info_slave_data":{"state":"ACTIVE"}})", ""},
    };
    for (const auto &C : Cases) {
        const QByteArray Text = QByteArray(R"([{"ifindex":2,"ifname":"eth0")") + C.LinkInfo + "}]";
        QList<TAdapterFacts> Adapters;
        QString Error;
        ASSERT_TRUE(ReadIpAddrJson(Text, Adapters, &Error)) << Error.toStdString();
        ASSERT_EQ(Adapters.size(), 1);
        EXPECT_EQ(Adapters[0].Kind, C.Kind) << Text.constData();
    }
}

TEST(IpAddrJson, EmptyTextIsAMachineWithoutInterfaces)
{
    QList<TAdapterFacts> Adapters{TAdapterFacts()};
    QString Error;
    EXPECT_TRUE(ReadIpAddrJson(" \n", Adapters, &Error));
    EXPECT_TRUE(Adapters.isEmpty());
    EXPECT_TRUE(ReadIpAddrJson("[]", Adapters, &Error));
    EXPECT_TRUE(Adapters.isEmpty());
}

TEST(IpAddrJson, MalformedDocumentsNameThePlace)
{
    struct
    {
        const char *Text;
        const char *Error;
    } Cases[] = {
        {"[{\"ifindex\":1,\n\"ifname\":\"lo\",\n\"addr_info\":[{]}]", "line 3: "},
        {"{\"ifindex\":1}", "not a list of interfaces"},
        {"[{\"ifindex\":1,\"ifname\":\"lo\"},7]", "entry 2: not an object"},
        {"[{\"ifname\":\"eth0\"}]", "entry 1: \"ifindex\" is not a positive number"},
        {"[{\"ifindex\":2.5,\"ifname\":\"eth0\"}]", "entry 1: \"ifindex\" is not a positive number"},
        {"[{\"ifindex\":2}]", "entry 1: \"ifname\" is not an interface name"},
        {"[{\"ifindex\":2,\"ifname\":\"../../etc\"}]", "entry 1: \"ifname\" is not an interface name"},
        {"[{\"ifindex\":2,\"ifname\":\"averyveryverylongname\"}]", "entry 1: \"ifname\" is not an interface name"},
        {"[{\"ifindex\":2,\"ifname\":\"eth0\",\"addr_info\":{}}]", "entry 1: \"addr_info\" is not a list"},
        {"[{\"ifindex\":2,\"ifname\":\"eth0\",\"addr_info\":[{\"family\":\"inet\",\"local\":\"10.0.0\",\"prefixlen\":8}]}]",
         "entry 1: address 1: \"local\" is not an IPv4 address"},
        {"[{\"ifindex\":2,\"ifname\":\"eth0\",\"addr_info\":[{\"family\":\"inet\",\"local\":\"10.0.0.1\",\"prefixlen\":33}]}]",
         "entry 1: address 1: \"prefixlen\" is not a number from 0 to 32"},
    };
    for (const auto &C : Cases) {
        QList<TAdapterFacts> Adapters;
        QString Error;
        EXPECT_FALSE(ReadIpAddrJson(C.Text, Adapters, &Error)) << C.Text;
        EXPECT_TRUE(Error.startsWith(QString::fromUtf8(C.Error))) << Error.toStdString();
        EXPECT_TRUE(Adapters.isEmpty());
    }
}

TEST(ProcNetRoute, DefaultGatewaysInTableOrderOncePerInterface)
{
    const QByteArray Table =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT                \n"
        "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0                \n"
        "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0                \n"
        "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
        "ppp0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"
        "eth0\t00000000\tFE0200C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
        "eth0\t00000000\t010200C0\t0003\t0\t0\t200\t00000000\t0\t0\t0\n"
        "eth0\t0000000A\t010200C0\t0003\t0\t0\t0\t000000FF\t0\t0\t0\n";
    QList<TDefaultGateway> Gateways;
    QString Error;
    ASSERT_TRUE(ReadProcNetRoute(Table, Gateways, &Error)) << Error.toStdString();
    ASSERT_EQ(Gateways.size(), 3);
    EXPECT_EQ(Gateways[0].Interface, "eth0");
    EXPECT_EQ(Gateways[0].Gateway, "192.0.2.1");
    EXPECT_EQ(Gateways[1].Interface, "wlan0");
    EXPECT_EQ(Gateways[1].Gateway, "192.168.1.1");
    EXPECT_EQ(Gateways[2].Gateway, "192.0.2.254");

    EXPECT_TRUE(ReadProcNetRoute("", Gateways, &Error));
    EXPECT_TRUE(Gateways.isEmpty());
}

TEST(ProcNetRoute, ATableThatIsNotOneIsMalformed)
{
    const QByteArray Heading = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    struct
    {
        QByteArray Text;
        const char *Error;
    } Cases[] = {
        {"eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n", "line 1: no \"Iface\" heading"},
        {Heading + "eth0\t00000000\t010200C0\n", "line 2: 3 columns, 8 needed"},
        {Heading + "\neth0\t00000000\t0102XXC0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n", "line 3: a field is not hexadecimal"},
        {Heading + "eth0\t00000000\t1010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n", "line 2: a field is not hexadecimal"},
    };
    for (const auto &C : Cases) {
        QList<TDefaultGateway> Gateways;
        QString Error;
        EXPECT_FALSE(ReadProcNetRoute(C.Text, Gateways, &Error)) << C.Text.constData();
        EXPECT_EQ(Error, C.Error);
    }
}

TEST(NmcliDhcp4, TerseAndPaddedOutputGiveTheLease)
{
    const QByteArray Terse = "DHCP4.OPTION[1]:dhcp_client_identifier = 01\\:5c\\:cd\\:5b\n"
                             "DHCP4.OPTION[2]:dhcp_lease_time = 7200\n"
                             "DHCP4.OPTION[3]:dhcp_server_identifier = 192.168.1.1\n"
                             "DHCP4.OPTION[4]:expiry = 1618027916\n"
                             "DHCP4.OPTION[5]:requested_routers = 1\n";
    const QByteArray Padded = "GENERAL.DEVICE:                         wlp2s0\n"
                              "DHCP4.OPTION[1]:                        dhcp_lease_time = 7200\n"
                              "DHCP4.OPTION[2]:                        dhcp_server_identifier = 192.168.1.1\n"
                              "DHCP4.OPTION[3]:                        expiry = 1618027916\n";
    for (const QByteArray &Text : {Terse, Padded}) {
        TDhcp4Options Options;
        TDhcpLease Lease;
        QString Error;
        ASSERT_TRUE(ReadNmcliDhcp4(Text, Options, &Error)) << Error.toStdString();
        ASSERT_TRUE(LeaseFromDhcp4Options(Options, Lease, &Error)) << Error.toStdString();
        EXPECT_TRUE(Lease.Found);
        EXPECT_EQ(Lease.Server, "192.168.1.1");
        EXPECT_EQ(Lease.Expires, 1618027916);
        EXPECT_EQ(Lease.LeaseTime, 7200);
    }
    TDhcp4Options Options;
    QString Error;
    ASSERT_TRUE(ReadNmcliDhcp4(Terse, Options, &Error));
    EXPECT_EQ(Options.value("dhcp_client_identifier"), "01:5c:cd:5b");
}

TEST(NmcliDhcp4, NoLeaseOptionsMeansNoLease)
{
    TDhcp4Options Options;
    TDhcpLease Lease;
    QString Error;
    ASSERT_TRUE(ReadNmcliDhcp4("", Options, &Error));
    ASSERT_TRUE(LeaseFromDhcp4Options(Options, Lease, &Error));
    EXPECT_FALSE(Lease.Found);
    ASSERT_TRUE(ReadNmcliDhcp4("DHCP4.OPTION[1]:requested_routers = 1\n", Options, &Error));
    ASSERT_TRUE(LeaseFromDhcp4Options(Options, Lease, &Error));
    EXPECT_FALSE(Lease.Found);
}

TEST(NmcliDhcp4, MalformedLinesAndOptions)
{
    struct
    {
        const char *Text;
        const char *Error;
    } Lines[] = {
        {"DHCP4.OPTION[1]:expiry = 1\nexpiry 12\n", "line 2: not a \"FIELD:value\" line"},
        {"DHCP4.OPTION[1]:expiry=12\n", "line 1: option without \"name = value\""},
        {"DHCP4.OPTION[1]:expiry = soon\n", "expiry is not a number of seconds"},
        {"DHCP4.OPTION[1]:dhcp_lease_time = -5\n", "dhcp_lease_time is not a number of seconds"},
        {"DHCP4.OPTION[1]:dhcp_server_identifier = 192.168.1\n", "dhcp_server_identifier is not an IPv4 address"},
    };
    for (const auto &C : Lines) {
        TDhcp4Options Options;
        TDhcpLease Lease;
        QString Error;
        EXPECT_FALSE(ReadNmcliDhcp4(C.Text, Options, &Error) && LeaseFromDhcp4Options(Options, Lease, &Error)) << C.Text;
        EXPECT_EQ(Error, C.Error);
    }
}

TEST(DhclientLeases, BothDateFormsAndTheNewestLeasePerInterface)
{
    const QByteArray Text = "default-duid \"\\000\\001\\000\\001;{}\";\n"
                            "lease {\n"
                            "  interface \"eth0\";\n"
                            "  fixed-address 192.168.1.50;\n"
                            "  option dhcp-lease-time 86400;\n"
                            "  option dhcp-server-identifier 192.168.1.1;\n"
                            "  option domain-name \"home; lan {x}\";\n"
                            "  renew 2 2024/2/27 10:20:30;\n"
                            "  expire 4 2024/02/29 23:59:59;\n"
                            "}\n"
                            "lease6 {\n"
                            "  interface \"eth0\";\n"
                            "  ia-na 1b:2c:3d:4e { starts 1; iaaddr 2001:db8::5 { max-life 3600; } }\n"
                            "}\n"
                            "lease {\n"
                            "  interface \"eth0\";\n"
                            "  option dhcp-lease-time 600;\n"
                            "  option dhcp-server-identifier 192.168.1.2;\n"
                            "  expire epoch 1700000000; # Tue Nov 14 22:13:20 2023\n"
                            "}\n"
                            "lease { interface \"wlan0\"; option dhcp-lease-time 60; expire never; }\n"
                            "lease { fixed-address 10.0.0.1; expire 1 2030/01/01 00:00:00 UTC; }\n";
    QList<TDhclientLease> Leases;
    QString Error;
    ASSERT_TRUE(ReadDhclientLeases(Text, Leases, &Error)) << Error.toStdString();
    ASSERT_EQ(Leases.size(), 3);
    EXPECT_EQ(Leases[0].Lease.Expires, Utc(2024, 2, 29, 23, 59, 59));
    EXPECT_EQ(Leases[1].Lease.Expires, 1700000000);
    EXPECT_EQ(Leases[2].Lease.Expires, 0xFFFFFFFFLL);

    // The newest is the one that expires last, not the last one written.
    const TDhcpLease Eth = NewestLease(Leases, "eth0");
    EXPECT_TRUE(Eth.Found);
    EXPECT_EQ(Eth.Server, "192.168.1.1");
    EXPECT_EQ(Eth.LeaseTime, 86400);
    EXPECT_FALSE(NewestLease(Leases, "eth1").Found);
}

TEST(DhclientLeases, MalformedDatabasesNameTheLine)
{
    struct
    {
        const char *Text;
        const char *Error;
    } Cases[] = {
        {"lease {\n  interface \"eth0\";\n", "line 1: block without its \"}\""},
        {"lease {\n  interface \"eth0\"\n}\n", "line 2: statement without its \";\""},
        {"lease {\n  interface \"eth0;\n}\n", "line 2: text without its closing quote"},
        {"lease { interface \"eth0\"; }\n}\n", "line 2: \"}\" without its block"},
        {"default-duid \"x\"", "line 1: statement without its \";\""},
        {"lease {\n interface \"eth0\";\n expire 3 2025/13/01 00:00:00;\n}", "line 3: expire is not a date"},
        {"lease {\n expire 3 2025/12/01;\n}", "line 2: expire is not a date"},
        {"lease {\n option dhcp-lease-time forever;\n}", "line 2: dhcp-lease-time is not a number of seconds"},
        {"lease {\n option dhcp-server-identifier router;\n}", "line 2: dhcp-server-identifier is not an IPv4 address"},
    };
    for (const auto &C : Cases) {
        QList<TDhclientLease> Leases;
        QString Error;
        EXPECT_FALSE(ReadDhclientLeases(C.Text, Leases, &Error)) << C.Text;
        EXPECT_EQ(Error, C.Error) << C.Text;
        EXPECT_TRUE(Leases.isEmpty());
    }
}

TEST(UdevDatabase, VendorAndModelFromTheHardwareDatabase)
{
    TUdevDevice Device;
    QString Error;
    ASSERT_TRUE(ReadUdevDatabase("I:3194561\nE:ID_NET_NAMING_SCHEME=v252\nE:ID_VENDOR_ID=0x8086\n"
                                 "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n"
                                 "E:ID_MODEL_FROM_DATABASE=Ethernet Connection (7) I219-V\n"
                                 "E:ID_PATH=pci-0000:00:1f.6\nE:TAGS=:systemd:\nG:systemd\nQ:systemd\nV:1\n",
                                 Device, &Error));
    EXPECT_EQ(Device.Vendor, "Intel Corporation");
    EXPECT_EQ(Device.Model, "Ethernet Connection (7) I219-V");

    ASSERT_TRUE(ReadUdevDatabase("I:1\nE:ID_MODEL_FROM_DATABASE=RTL8153 Gigabit Ethernet Adapter\n", Device, &Error));
    EXPECT_EQ(Device.Vendor, "");
    EXPECT_EQ(Device.Model, "RTL8153 Gigabit Ethernet Adapter");

    EXPECT_FALSE(ReadUdevDatabase("I:1\nID_VENDOR_FROM_DATABASE=Intel\n", Device, &Error));
    EXPECT_EQ(Error, "line 2: not a \"K:value\" line");
    EXPECT_FALSE(ReadUdevDatabase("E:ID_VENDOR_FROM_DATABASE\n", Device, &Error));
    EXPECT_EQ(Error, "line 1: property without \"=\"");
}

} // namespace
