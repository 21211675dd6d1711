#include "platform/Kernel.h"
#include "tools/netsh/NetshCommand.h"
#include "tools/netsh/NmcliCalls.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The arguments netsh receives for a command line that WinExec starts.
QStringList Started(const char *CmdLine) { return CommandLineToArgs(QString::fromUtf8(CmdLine)).mid(1); }

QString Described(const QList<QStringList> &Calls)
{
    QStringList Lines;
    for (const QStringList &Call : Calls)
        Lines << ShellCommandLine("nmcli", Call);
    return Lines.join(u'\n');
}

struct TAccepted
{
    const char *CmdLine;
    const char *Nmcli;
};

TEST(NetshCommand, TranslatesEveryAcceptedFormToNmcli)
{
    const TAccepted Cases[] = {
        // Netvane's own command texts for the Home1 profile and for DHCP.
        {R"(netsh interface ip set address name ="Broadcom" source = static addr = 192.168.1.251 mask = 255.255.255.0 gateway =192.168.1.254  gwmetric = 1)",
         "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 192.168.1.251/24 ipv4.gateway 192.168.1.254 ipv4.route-metric 1\n"
         "nmcli connection up Broadcom"},
        {R"(netsh  interface ip set dns name="Broadcom" source=static addr=8.8.8.8)",
         "nmcli connection modify Broadcom ipv4.dns 8.8.8.8 ipv4.ignore-auto-dns yes\n"
         "nmcli connection up Broadcom"},
        {R"(netsh interface ip set address "Broadcom" dhcp)",
         "nmcli connection modify Broadcom ipv4.method auto ipv4.addresses '' ipv4.gateway ''\n"
         "nmcli connection up Broadcom"},
        {R"(netsh interface ip set dns "Broadcom" dhcp)",
         "nmcli connection modify Broadcom ipv4.dns '' ipv4.ignore-auto-dns no\n"
         "nmcli connection up Broadcom"},
        // A blank gateway field, and "none".
        {R"(netsh interface ip set address name ="Broadcom" source = static addr = 10.0.0.138 mask = 255.255.240.0 gateway =0.0.0.0  gwmetric = 1)",
         "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.138/20 ipv4.gateway '' ipv4.route-metric 1\n"
         "nmcli connection up Broadcom"},
        {R"(netsh int ipv4 set address name= "Office LAN" source= STATIC address=172.16.5.9 mask=255.255.255.255 GATEWAY = None)",
         "nmcli connection modify 'Office LAN' ipv4.method manual ipv4.addresses 172.16.5.9/32 ipv4.gateway ''\n"
         "nmcli connection up 'Office LAN'"},
        // Keywords in any case; values without tags fill the tags in order, also after tagged ones.
        {R"(netsh INTERFACE IP SET ADDRESS NAME=Broadcom SOURCE=DHCP)",
         "nmcli connection modify Broadcom ipv4.method auto ipv4.addresses '' ipv4.gateway ''\n"
         "nmcli connection up Broadcom"},
        {R"(netsh interface ip set address "Wired 1" static 10.1.2.3 255.255.255.128 10.1.2.1 5)",
         "nmcli connection modify 'Wired 1' ipv4.method manual ipv4.addresses 10.1.2.3/25 ipv4.gateway 10.1.2.1 ipv4.route-metric 5\n"
         "nmcli connection up 'Wired 1'"},
        {R"(netsh interface ip set dns source=static "it's mine" 1.1.1.1)",
         R"(nmcli connection modify 'it'\''s mine' ipv4.dns 1.1.1.1 ipv4.ignore-auto-dns yes)" "\n"
         R"(nmcli connection up 'it'\''s mine')"},
        {R"(netsh interface ip set dns name=a=b source=dhcp)",
         "nmcli connection modify a=b ipv4.dns '' ipv4.ignore-auto-dns no\n"
         "nmcli connection up a=b"},
    };
    for (const TAccepted &Case : Cases) {
        SCOPED_TRACE(Case.CmdLine);
        TNetshParse Parse = ParseNetshCommand(Started(Case.CmdLine));
        ASSERT_TRUE(Parse.Command) << Parse.Error.toStdString();
        EXPECT_EQ(Described(NmcliCalls(*Parse.Command)), QString::fromUtf8(Case.Nmcli));
    }
}

struct TRefused
{
    const char *CmdLine;
    const char *Message;
};

TEST(NetshCommand, RefusesBadInputNamingTheToken)
{
    const TRefused Cases[] = {
        // What Netvane sends from blank address fields.
        {R"(netsh interface ip set address name ="Broadcom" source = static addr = 0.0.0.0 mask = 0.0.0.0 gateway =0.0.0.0  gwmetric = 1)",
         "'0.0.0.0' cannot be used as addr"},
        {R"(netsh  interface ip set dns name="Broadcom" source=static addr=0.0.0.0)", "'0.0.0.0' cannot be used as addr"},
        // Addresses and masks.
        {"netsh interface ip set dns Broadcom static 256.1.1.1", "'256.1.1.1' is not an IPv4 address (addr)"},
        {"netsh interface ip set dns Broadcom static 8.8.8", "'8.8.8' is not an IPv4 address"},
        {"netsh interface ip set dns Broadcom static 8.8.8.8.8", "'8.8.8.8.8' is not an IPv4 address"},
        {"netsh interface ip set dns Broadcom static 8.8..8", "'8.8..8' is not an IPv4 address"},
        {"netsh interface ip set dns Broadcom static 010.1.1.1", "'010.1.1.1' is not an IPv4 address"},
        {"netsh interface ip set dns Broadcom static 8.8.8.+8", "'8.8.8.+8' is not an IPv4 address"},
        {"netsh interface ip set dns Broadcom static ８.8.8.8", "'８.8.8.8' is not an IPv4 address"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 255.0.255.0", "'255.0.255.0' is not a contiguous subnet mask"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 255.255.255.1", "'255.255.255.1' is not a contiguous"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 0.0.0.0", "'0.0.0.0' cannot be used as mask"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 gateway=10.0.0.", "'10.0.0.' is not an IPv4 address (gateway)"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 10.0.0.1 10000", "'10000' is not a gateway metric"},
        {"netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 10.0.0.1 -1", "'-1' is not a gateway metric"},
        // Commands and keywords.
        {"netsh interface ipx set address Broadcom dhcp", "unknown command 'ipx'"},
        {"netsh interface ip show address", "unknown command 'show'"},
        {"netsh interface ip set route Broadcom dhcp", "unknown command 'route'"},
        {"netsh interface ip", "incomplete command"},
        {"netsh interface ip set", "incomplete command"},
        {"netsh interface ip set dns name=Broadcom source=static addr=8.8.8.8 mask=255.0.0.0", "unknown keyword 'mask'"},
        {"netsh interface ip set address name=Broadcom colour=blue", "unknown keyword 'colour'"},
        {"netsh interface ip set address name=Broadcom colour =", "unknown keyword 'colour'"},
        {"netsh interface ip set address name=Broadcom source=bootp", "unknown source 'bootp'"},
        {"netsh interface ip set dns Broadcom static 8.8.8.8 8.8.4.4", "unexpected '8.8.4.4'"},
        {"netsh interface ip set dns name=Broadcom Name=Other source=dhcp", "'Name' is given twice"},
        {"netsh interface ip set address Broadcom dhcp gateway=10.0.0.1", "'gateway' is not used with source=dhcp"},
        // Missing values and tags.
        {"netsh interface ip set dns name=", "'name' needs a value"},
        {"netsh interface ip set dns name =", "'name' needs a value"},
        {"netsh interface ip set dns name= source=dhcp", "'name' needs a value"},
        {"netsh interface ip set dns name = =dhcp", "'name' needs a value"},
        {R"(netsh interface ip set dns "" dhcp)", "'name' needs a value"},
        {"netsh interface ip set dns =Broadcom dhcp", "'=Broadcom' has no keyword before '='"},
        {"netsh interface ip set dns source=dhcp", "missing 'name'"},
        {"netsh interface ip set address Broadcom", "missing 'source'"},
        {"netsh interface ip set address Broadcom static", "missing 'addr'"},
        {"netsh interface ip set address Broadcom static 10.0.0.2", "missing 'mask'"},
    };
    for (const TRefused &Case : Cases) {
        SCOPED_TRACE(Case.CmdLine);
        TNetshParse Parse = ParseNetshCommand(Started(Case.CmdLine));
        EXPECT_FALSE(Parse.Command);
        EXPECT_TRUE(Parse.Error.contains(QString::fromUtf8(Case.Message))) << Parse.Error.toStdString();
        EXPECT_FALSE(Parse.Error.contains(u'\n'));
    }
}

TEST(NetshCommand, HelpIsAskedByAnyHelpSwitch)
{
    for (const char *Arg : {"-h", "--help", "/?", "-?"})
        EXPECT_TRUE(IsNetshHelpRequest({"interface", "ip", Arg})) << Arg;
    EXPECT_FALSE(IsNetshHelpRequest({"interface", "ip", "set", "dns", "Broadcom", "dhcp"}));
}

} // namespace
