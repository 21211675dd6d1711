// The report text built from the records, its failures, and the lease time formatter.
#include "app/network/NetworkReport.h"
#include "tests/unit/report/ScriptedSource.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

class TRecordingView : public TReportView
{
public:
    QString Text() const override { return FText; }
    void SetText(const QString &Text) override
    {
        FText = Text;
        ++Writes;
    }
    void AddLine(const QString &Line) override { Lines << Line; }

    QStringList Lines;
    int Writes = 0;

private:
    QString FText;
};

TScriptedNetwork OneAdapterMachine()
{
    TScriptedNetwork N;
    N.HostName = "vane";
    N.DnsServers = {"192.168.1.254", "8.8.8.8"};
    N.NodeType = HYBRID_NODETYPE;
    TScriptedAdapter A;
    A.Description = "Intel Corporation Ethernet Connection (eno1)";
    A.Dhcp = true;
    A.Addresses = {{"192.168.1.20", "255.255.255.0"}};
    A.Gateways = {"192.168.1.254"};
    A.DhcpServer = "192.168.1.254";
    A.LeaseObtained = 1700000000;
    A.LeaseExpires = 1700086400;
    N.Adapters = {A};
    return N;
}

QString ReportText(TScriptedSource &Source, TRecordingView &View)
{
    RunNetworkReport(Source, View);
    return View.Text();
}

TEST(NetworkReport, OneAdapterReadsLineByLine)
{
    TScriptedSource Source(OneAdapterMachine());
    TRecordingView View;
    EXPECT_EQ(ReportText(Source, View), QString::fromUtf8("Host Name：\t\tvane\n"
                                                   "DNS Servers：\t\t192.168.1.254\n"
                                                   "\t\t\t8.8.8.8\n"
                                                   "Node Type：\t\tHybrid\n"
                                                   "Description：\t\tIntel Corporation Ethernet Connection (eno1)\n"
                                                   "DHCP Enabled：\tyes\n"
                                                   "IP Address：\t\t192.168.1.20\n"
                                                   "Subnet Mask：\t\t255.255.255.0\n"
                                                   "Default Gateway：\t192.168.1.254\n"
                                                   "DHCP Server：\t\t192.168.1.254\n"
                                                   "Lease Obtained：\tTue Nov 14 22:13:20 2023\n"
                                                   "Lease Expires：\tWed Nov 15 22:13:20 2023\n"
                                                   "\n"));
    EXPECT_TRUE(View.Lines.isEmpty());
    // Every piece is its own append of the label's caption, after the clearing write.
    EXPECT_GT(View.Writes, 30);
    // Both buffers were exactly the size asked for, and both were given back.
    ASSERT_EQ(Source.AllocatedSizes.size(), 2u);
    EXPECT_EQ(Source.AllocatedSizes[0], sizeof(FIXED_INFO) + sizeof(IP_ADDR_STRING));
    EXPECT_EQ(Source.AllocatedSizes[1], sizeof(IP_ADAPTER_INFO));
    EXPECT_EQ(Source.Outstanding(), 0);
}

TEST(NetworkReport, RunningTwiceStartsFromAnEmptyLabel)
{
    TScriptedSource Source(OneAdapterMachine());
    TRecordingView View;
    const QString First = ReportText(Source, View);
    EXPECT_EQ(ReportText(Source, View), First);
}

// Pieces of the text for the cases the records can hold.
struct TReportCase
{
    const char *Name;
    void (*Change)(TScriptedNetwork &);
    const char *Expected;    // a part the text must contain, exactly
};

const TReportCase ReportCases[] = {
    {"no DNS server", [](TScriptedNetwork &N) { N.DnsServers.clear(); },
     "DNS Servers：\t\t\nNode Type："},
    {"third DNS server", [](TScriptedNetwork &N) { N.DnsServers << "1.1.1.1"; },
     "\t\t\t8.8.8.8\n\t\t\t1.1.1.1\nNode Type："},
    {"node type 0", [](TScriptedNetwork &N) { N.NodeType = 0; }, "Node Type：\t\tUnknown\n"},
    {"node type 1", [](TScriptedNetwork &N) { N.NodeType = 1; }, "Node Type：\t\tBroadcast\n"},
    {"node type 2", [](TScriptedNetwork &N) { N.NodeType = 2; }, "Node Type：\t\tPeer to peer\n"},
    {"node type 3", [](TScriptedNetwork &N) { N.NodeType = 3; }, "Node Type：\t\tUnknown\n"},
    {"node type 4", [](TScriptedNetwork &N) { N.NodeType = 4; }, "Node Type：\t\tMixed\n"},
    {"DHCP off", [](TScriptedNetwork &N) { N.Adapters[0].Dhcp = false; }, "DHCP Enabled：\tno\n"},
    {"no gateway", [](TScriptedNetwork &N) { N.Adapters[0].Gateways = {""}; },
     "Default Gateway：\t\nDHCP Server："},
    {"further gateways have no label", [](TScriptedNetwork &N) { N.Adapters[0].Gateways << "10.0.0.1" << "10.0.0.2"; },
     "Default Gateway：\t192.168.1.254\n10.0.0.1\n10.0.0.2\nDHCP Server："},
    {"second address with its mask",
     [](TScriptedNetwork &N) { N.Adapters[0].Addresses << TScriptedAddress{"10.1.2.3", "255.0.0.0"}; },
     "Subnet Mask：\t\t255.255.255.0\nIP Address：\t\t10.1.2.3\nSubnet Mask：\t\t255.0.0.0\nDefault Gateway："},
    {"static adapter: no DHCP server, lease times 0",
     [](TScriptedNetwork &N) {
         N.Adapters[0].DhcpServer.clear();
         N.Adapters[0].LeaseObtained = N.Adapters[0].LeaseExpires = 0;
     },
     "DHCP Server：\t\t\nLease Obtained：\tThu Jan 01 00:00:00 1970\nLease Expires：\tThu Jan 01 00:00:00 1970\n\n"},
    {"two adapters, an empty line after each",
     [](TScriptedNetwork &N) {
         TScriptedAdapter B;
         B.Description = "wlan0";
         N.Adapters << B;
     },
     "2023\n\nDescription：\t\twlan0\nDHCP Enabled：\tno\nIP Address：\t\t0.0.0.0\nSubnet Mask：\t\t0.0.0.0\n"
     "Default Gateway：\t\nDHCP Server：\t\t\nLease Obtained：\tThu Jan 01 00:00:00 1970\n"
     "Lease Expires：\tThu Jan 01 00:00:00 1970\n\n"},
};

TEST(NetworkReport, CasesOfTheRecords)
{
    for (const TReportCase &C : ReportCases) {
        TScriptedNetwork N = OneAdapterMachine();
        C.Change(N);
        TScriptedSource Source(N);
        TRecordingView View;
        const QString Text = ReportText(Source, View);
        EXPECT_TRUE(Text.contains(QString::fromUtf8(C.Expected))) << C.Name << "\n" << Text.toStdString();
        EXPECT_TRUE(View.Lines.isEmpty()) << C.Name;
        EXPECT_EQ(Source.Outstanding(), 0) << C.Name;
    }
}

struct TFailureCase
{
    TScriptedStep Step;
    DWORD Status;
    const char *Line;
    bool KeepsParams;    // host, DNS and node type stay in the label
};

const TFailureCase FailureCases[] = {
    {TScriptedStep::SizeParams, 87, "GetNetworkParams sizing failed with error 87", false},
    {TScriptedStep::SizeParams, 0xFFFFFFFF, "GetNetworkParams sizing failed with error 4294967295", false},
    {TScriptedStep::AllocParams, 0, "Memory allocation error\n", false},
    {TScriptedStep::FillParams, 111, "GetNetworkParams failed with error 111", false},
    {TScriptedStep::FillParams, 13, "GetNetworkParams failed with error 13", false},
    {TScriptedStep::SizeAdapters, 232, "GetAdaptersInfo sizing failed with error 232", true},
    {TScriptedStep::AllocAdapters, 0, "Memory allocation error\n", true},
    {TScriptedStep::FillAdapters, 31, "GetAdaptersInfo failed with error 31", true},
};

TEST(NetworkReport, EachFailureAddsOneLineAndLeavesThePartialReport)
{
    const QString Params = QString::fromUtf8("Host Name：\t\tvane\nDNS Servers：\t\t192.168.1.254\n\t\t\t8.8.8.8\n"
                                             "Node Type：\t\tHybrid\n");
    for (const TFailureCase &C : FailureCases) {
        TScriptedSource Source(OneAdapterMachine());
        Source.FailAt(C.Step, C.Status);
        TRecordingView View;
        View.Lines << QStringLiteral("an earlier line");
        const QString Text = ReportText(Source, View);
        EXPECT_EQ(View.Lines, QStringList({QStringLiteral("an earlier line"), QString::fromUtf8(C.Line)})) << C.Line;
        EXPECT_EQ(Text, C.KeepsParams ? Params : QString()) << C.Line;
        EXPECT_EQ(Source.Outstanding(), 0) << C.Line;
    }
}

TEST(NetworkReport, AMachineWithoutAdaptersReportsNoData)
{
    TScriptedNetwork N = OneAdapterMachine();
    N.Adapters.clear();
    TScriptedSource Source(N);
    TRecordingView View;
    EXPECT_TRUE(ReportText(Source, View).endsWith(QString::fromUtf8("Node Type：\t\tHybrid\n")));
    EXPECT_EQ(View.Lines, QStringList{QStringLiteral("GetAdaptersInfo sizing failed with error 232")});
}

TEST(LeaseTime, FormatsUtcCalendarText)
{
    const struct
    {
        DWORD Seconds;
        const char *Text;
    } Cases[] = {
        {0, "Thu Jan 01 00:00:00 1970\n"},
        {951782400, "Tue Feb 29 00:00:00 2000\n"},     // a leap day of a year divisible by 400
        {1709210096, "Thu Feb 29 12:34:56 2024\n"},
        {4107542399, "Sun Feb 28 23:59:59 2100\n"},    // 2100 is not a leap year
        {4107542400, "Mon Mar 01 00:00:00 2100\n"},
        {2147483647, "Tue Jan 19 03:14:07 2038\n"},
        {2147483648, "Tue Jan 19 03:14:08 2038\n"},    // unsigned: no wrap to 1901
        {4294967295, "Sun Feb 07 06:28:15 2106\n"},
    };
    for (const auto &C : Cases)
        EXPECT_EQ(FormatLeaseTime(C.Seconds), QString::fromLatin1(C.Text)) << C.Seconds;
}

} // namespace
