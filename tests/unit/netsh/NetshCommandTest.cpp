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

// A line of the grammar and what becomes of it: the nmcli calls, or a part of the one-line refusal.
struct TGrammarCase
{
    const char *CmdLine;
    const char *Nmcli;
    const char *Refusal;
};

TGrammarCase Accepts(const char *CmdLine, const char *Nmcli) { return {CmdLine, Nmcli, nullptr}; }
TGrammarCase Refuses(const char *CmdLine, const char *Refusal) { return {CmdLine, nullptr, Refusal}; }

const char *const AddressDhcp = "nmcli connection modify Broadcom ipv4.method auto ipv4.addresses '' ipv4.gateway '' "
                                "ipv4.route-metric -1\n"
                                "nmcli connection up Broadcom";
const char *const DnsDhcp = "nmcli connection modify Broadcom ipv4.dns '' ipv4.ignore-auto-dns no\n"
                            "nmcli connection up Broadcom";
const char *const DnsStatic = "nmcli connection modify Broadcom ipv4.dns 10.77.0.1 ipv4.ignore-auto-dns yes\n"
                              "nmcli connection up Broadcom";
const char *const DnsNone = "nmcli connection modify Broadcom ipv4.dns '' ipv4.ignore-auto-dns yes\n"
                            "nmcli connection up Broadcom";

TEST(NetshCommand, CarriesOutTheGrammarAndRefusesTheRest)
{
    const TGrammarCase Cases[] = {
        // Netvane's own command texts for the Home1 profile and for DHCP.
        Accepts(R"(netsh interface ip set address name ="Broadcom" source = static addr = 192.168.1.251 mask = 255.255.255.0 gateway =192.168.1.254  gwmetric = 1)",
                "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 192.168.1.251/24 ipv4.gateway 192.168.1.254 ipv4.route-metric 1\n"
                "nmcli connection up Broadcom"),
        Accepts(R"(netsh  interface ip set dns name="Broadcom" source=static addr=8.8.8.8)",
                "nmcli connection modify Broadcom ipv4.dns 8.8.8.8 ipv4.ignore-auto-dns yes\n"
                "nmcli connection up Broadcom"),
        Accepts(R"(netsh interface ip set address "Broadcom" dhcp)", AddressDhcp),
        Accepts(R"(netsh interface ip set dns "Broadcom" dhcp)", DnsDhcp),
        // What Netvane sends from blank address fields.
        Refuses(R"(netsh interface ip set address name ="Broadcom" source = static addr = 0.0.0.0 mask = 0.0.0.0 gateway =0.0.0.0  gwmetric = 1)",
                "'0.0.0.0' cannot be used as addr"),
        Refuses(R"(netsh  interface ip set dns name="Broadcom" source=static addr=0.0.0.0)", "'0.0.0.0' cannot be used as addr"),
        // A blank gateway field, and "none".
        Accepts(R"(netsh interface ip set address name ="Broadcom" source = static addr = 10.0.0.138 mask = 255.255.240.0 gateway =0.0.0.0  gwmetric = 1)",
                "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.138/20 ipv4.gateway '' ipv4.route-metric 1\n"
                "nmcli connection up Broadcom"),
        Accepts(R"(netsh int ipv4 set address name= "Office LAN" source= STATIC address=172.16.5.9 mask=255.255.255.255 GATEWAY = None)",
                "nmcli connection modify 'Office LAN' ipv4.method manual ipv4.addresses 172.16.5.9/32 ipv4.gateway ''\n"
                "nmcli connection up 'Office LAN'"),

        // set address: keywords in any case, tags given or left out in any mix.
        Accepts("netsh INTERFACE IP SET ADDRESS NAME=Broadcom SOURCE=DHCP", AddressDhcp),
        Accepts("netsh interface ip set address name=Broadcom dhcp", AddressDhcp),
        Accepts("netsh interface ip set address Broadcom source=dhcp", AddressDhcp),
        Accepts(R"(netsh interface ip set address "Wired 1" static 10.1.2.3 255.255.255.128 10.1.2.1 5)",
                "nmcli connection modify 'Wired 1' ipv4.method manual ipv4.addresses 10.1.2.3/25 ipv4.gateway 10.1.2.1 ipv4.route-metric 5\n"
                "nmcli connection up 'Wired 1'"),
        Accepts("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 none 5",
                "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.2/8 ipv4.gateway '' ipv4.route-metric 5\n"
                "nmcli connection up Broadcom"),
        Accepts("netsh interface ip set address Broadcom static addr=10.0.0.2 255.0.0.0 gateway=10.0.0.1 7",
                "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.2/8 ipv4.gateway 10.0.0.1 ipv4.route-metric 7\n"
                "nmcli connection up Broadcom"),
        Accepts("netsh interface ip set address mask=255.255.0.0 name=Broadcom static 10.0.0.2",
                "nmcli connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.2/16 ipv4.gateway ''\n"
                "nmcli connection up Broadcom"),
        // set dns: register and validate are taken and change nothing; none clears the servers.
        Accepts(R"(netsh interface ip set dns "Broadcom" static 10.77.0.1 primary)", DnsStatic),
        Accepts("netsh interface ip set dns Broadcom static 10.77.0.1 both no", DnsStatic),
        Accepts("netsh interface ip set dns Broadcom static 10.77.0.1 validate = yes", DnsStatic),
        Accepts("netsh interface ip set dns source=static name=Broadcom 10.77.0.1", DnsStatic),
        Accepts("netsh interface ip set dns Broadcom dhcp both no", DnsDhcp),
        Accepts("netsh interface ip set dns Broadcom dhcp validate=no", DnsDhcp),
        Accepts("netsh INTERFACE IP SET DNS NAME=Broadcom SOURCE=DHCP REGISTER=PRIMARY VALIDATE=NO", DnsDhcp),
        Accepts("netsh interface ip set dns Broadcom static none", DnsNone),
        Accepts("netsh interface ip set dns name=Broadcom source=static address=NONE register= none", DnsNone),
        // Names that need quoting.
        Accepts(R"(netsh interface ip set dns "it's mine" source=static 1.1.1.1)",
                R"(nmcli connection modify 'it'\''s mine' ipv4.dns 1.1.1.1 ipv4.ignore-auto-dns yes)" "\n"
                R"(nmcli connection up 'it'\''s mine')"),
        Accepts("netsh interface ip set dns name=a=b source=dhcp",
                "nmcli connection modify a=b ipv4.dns '' ipv4.ignore-auto-dns no\n"
                "nmcli connection up a=b"),

        // A tag fixes the order: values without tags go on after it, never back.
        Refuses(R"(netsh interface ip set dns source=static "it's mine" 1.1.1.1)", "missing 'name'"),
        Refuses("netsh interface ip set address name=Broadcom addr=10.0.0.2 static 255.0.0.0", "missing 'source'"),
        Refuses("netsh interface ip set address gwmetric=3 gateway=10.0.0.1 Broadcom", "unexpected 'Broadcom'"),
        // Words and values the forms do not take.
        Refuses("netsh interface ip set dns Broadcom static 8.8.8.8 8.8.4.4",
                "unknown register '8.8.4.4', expected none, primary or both"),
        Refuses("netsh interface ip set dns Broadcom static 8.8.8.8 primary yes 8.8.4.4", "unexpected '8.8.4.4'"),
        Refuses("netsh interface ip set dns Broadcom dhcp 10.0.0.1", "unknown register '10.0.0.1'"),
        Refuses("netsh interface ip set dns Broadcom dhcp primary maybe", "unknown validate 'maybe', expected yes or no"),
        Refuses("netsh interface ip set dns Broadcom dhcp addr=10.0.0.1", "'addr' is not used with source=dhcp"),
        Refuses("netsh interface ip set address Broadcom dhcp primary", "unexpected 'primary'"),
        Refuses("netsh interface ip set address Broadcom dhcp gateway=10.0.0.1", "'gateway' is not used with source=dhcp"),
        Refuses("netsh interface ip set address Broadcom dhcp gwmetric=1", "'gwmetric' is not used with source=dhcp"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 register=primary", "unknown keyword 'register'"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 gwmetric=5", "missing 'gateway'"),
        Refuses("netsh interface ip set address Broadcom static none 255.0.0.0", "'none' is not an IPv4 address (addr)"),
        Refuses("netsh interface ip set dns name=Broadcom source=static addr=8.8.8.8 mask=255.0.0.0", "unknown keyword 'mask'"),
        Refuses("netsh interface ip set address name=Broadcom colour=blue", "unknown keyword 'colour'"),
        Refuses("netsh interface ip set address name=Broadcom colour =", "unknown keyword 'colour'"),
        Refuses("netsh interface ip set address name=Broadcom source=bootp", "unknown source 'bootp', expected static or dhcp"),
        Refuses("netsh interface ip set dns name=Broadcom Name=Other source=dhcp", "'Name' is given twice"),
        // Addresses and masks.
        Refuses("netsh interface ip set dns Broadcom static 256.1.1.1", "'256.1.1.1' is not an IPv4 address (addr)"),
        Refuses("netsh interface ip set dns Broadcom static 8.8.8", "'8.8.8' is not an IPv4 address"),
        Refuses("netsh interface ip set dns Broadcom static 8.8.8.8.8", "'8.8.8.8.8' is not an IPv4 address"),
        Refuses("netsh interface ip set dns Broadcom static 8.8..8", "'8.8..8' is not an IPv4 address"),
        Refuses("netsh interface ip set dns Broadcom static 010.1.1.1", "'010.1.1.1' is not an IPv4 address"),
        Refuses("netsh interface ip set dns Broadcom static 8.8.8.+8", "'8.8.8.+8' is not an IPv4 address"),
        Refuses("netsh interface ip set dns Broadcom static ８.8.8.8", "'８.8.8.8' is not an IPv4 address"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.255.0", "'255.0.255.0' is not a contiguous subnet mask"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.255.255.1", "'255.255.255.1' is not a contiguous"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 0.0.0.0", "'0.0.0.0' cannot be used as mask"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 gateway=10.0.0.", "'10.0.0.' is not an IPv4 address (gateway)"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 10.0.0.1 10000", "'10000' is not a gateway metric"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2 255.0.0.0 10.0.0.1 -1", "'-1' is not a gateway metric"),
        // Commands.
        Refuses("netsh interface ipx set address Broadcom dhcp", "unknown command 'ipx'"),
        Refuses("netsh interface ip show address", "unknown command 'show'"),
        Refuses("netsh interface ip set route Broadcom dhcp", "unknown command 'route'"),
        Refuses("netsh interface ip", "incomplete command"),
        Refuses("netsh interface ip set", "incomplete command"),
        // Missing values and tags.
        Refuses("netsh interface ip set dns name=", "'name' needs a value"),
        Refuses("netsh interface ip set dns name =", "'name' needs a value"),
        Refuses("netsh interface ip set dns name= source=dhcp", "'name' needs a value"),
        Refuses("netsh interface ip set dns name = =dhcp", "'name' needs a value"),
        Refuses(R"(netsh interface ip set dns "" dhcp)", "'name' needs a value"),
        Refuses("netsh interface ip set dns =Broadcom dhcp", "'=Broadcom' has no keyword before '='"),
        Refuses("netsh interface ip set dns source=dhcp", "missing 'name'"),
        Refuses("netsh interface ip set address Broadcom", "missing 'source'"),
        Refuses("netsh interface ip set address Broadcom static", "missing 'addr'"),
        Refuses("netsh interface ip set address Broadcom static 10.0.0.2", "missing 'mask'"),
        Refuses("netsh interface ip set dns Broadcom static", "missing 'addr'"),
    };
    for (const TGrammarCase &Case : Cases) {
        SCOPED_TRACE(Case.CmdLine);
        TNetshParse Parse = ParseNetshCommand(Started(Case.CmdLine));
        QString Outcome = Parse.Command ? Described(NmcliCalls(*Parse.Command)) : "refused: " + Parse.Error;
        if (Case.Nmcli) {
            EXPECT_EQ(Outcome, QString::fromUtf8(Case.Nmcli));
        } else {
            EXPECT_FALSE(Parse.Command) << Outcome.toStdString();
            EXPECT_TRUE(Parse.Error.contains(QString::fromUtf8(Case.Refusal))) << Parse.Error.toStdString();
            EXPECT_FALSE(Parse.Error.contains(u'\n'));
        }
    }
}

TEST(NetshCommand, HelpIsAskedByAnyHelpSwitch)
{
    for (const char *Arg : {"-h", "--help", "/?", "-?"})
        EXPECT_TRUE(IsNetshHelpRequest({"interface", "ip", Arg})) << Arg;
    EXPECT_FALSE(IsNetshHelpRequest({"interface", "ip", "set", "dns", "Broadcom", "dhcp"}));
}

} // namespace
