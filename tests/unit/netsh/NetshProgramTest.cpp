#include "tests/unit/QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Netsh = QStringLiteral(KIV_BIN_DIR "/netsh");
const QString Recorder = QStringLiteral(KIV_FIXTURES "/bin/nmcli-record");

const QStringList Home1Address{"interface", "ip", "set", "address", "name", "=Broadcom", "source", "=", "static",
                               "addr", "=", "192.168.1.251", "mask", "=", "255.255.255.0",
                               "gateway", "=192.168.1.254", "gwmetric", "=", "1"};
const QString Home1Recorded = "connection modify Broadcom ipv4.method manual ipv4.addresses 192.168.1.251/24 "
                              "ipv4.gateway 192.168.1.254 ipv4.route-metric 1\n"
                              "connection up Broadcom\n";

struct TRun
{
    int Status = -1;
    QString Out;
    QString Err;
};

// Runs the built netsh against the recording nmcli; each test has its own record file.
class NetshProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Env = QProcessEnvironment::systemEnvironment();
        Env.remove("NETSH_DRY_RUN");
        Env.insert("NETSH_NMCLI", Recorder);
        Env.insert("NMCLI_RECORD", Record());
    }

    QString Record() const { return Dir.filePath("calls.txt"); }

    QString Recorded() const
    {
        QFile File(Record());
        return File.open(QIODevice::ReadOnly) ? QString::fromUtf8(File.readAll()) : QString();
    }

    TRun Run(const QStringList &Args)
    {
        QProcess Process;
        Process.setProcessEnvironment(Env);
        Process.start(Netsh, Args);
        EXPECT_TRUE(Process.waitForFinished(60000)) << "netsh did not finish";
        return {Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1,
                QString::fromUtf8(Process.readAllStandardOutput()), QString::fromUtf8(Process.readAllStandardError())};
    }

    QTemporaryDir Dir;
    QProcessEnvironment Env;
};

TEST_F(NetshProgram, RunsTheNmcliCallsInOrder)
{
    TRun Result = Run(Home1Address);
    EXPECT_EQ(Result.Status, 0) << Result.Err.toStdString();
    EXPECT_EQ(Recorded(), Home1Recorded);

    Result = Run({"interface", "ip", "set", "dns", "My Connection", "dhcp"});
    EXPECT_EQ(Result.Status, 0);
    EXPECT_EQ(Recorded(), Home1Recorded + "connection modify 'My Connection' ipv4.dns '' ipv4.ignore-auto-dns no\n"
                                          "connection up 'My Connection'\n");
}

TEST_F(NetshProgram, FindsNmcliOnPathByDefault)
{
    ASSERT_TRUE(QFile::link(Recorder, Dir.filePath("nmcli")));
    Env.remove("NETSH_NMCLI");
    Env.insert("PATH", Dir.path() + ":" + Env.value("PATH"));
    EXPECT_EQ(Run(Home1Address).Status, 0);
    EXPECT_EQ(Recorded(), Home1Recorded);
}

TEST_F(NetshProgram, DryRunPrintsTheCommandLinesInstead)
{
    Env.insert("NETSH_DRY_RUN", "1");
    Env.insert("NETSH_NMCLI", "/opt/nm tools/nmcli");
    TRun Result = Run({"interface", "ip", "set", "address", "name=it's", "source=dhcp"});
    EXPECT_EQ(Result.Status, 0);
    EXPECT_EQ(Result.Out, "'/opt/nm tools/nmcli' connection modify 'it'\\''s' ipv4.method auto ipv4.addresses '' "
                          "ipv4.gateway '' ipv4.route-metric -1\n"
                          "'/opt/nm tools/nmcli' connection up 'it'\\''s'\n");
    EXPECT_EQ(Recorded(), QString());
}

TEST_F(NetshProgram, PassesAFailingNmcliOnAndStops)
{
    Env.insert("NMCLI_EXIT", "10");
    Env.insert("NMCLI_STDERR", "Error: unknown connection 'Broadcom'.");
    TRun Result = Run(Home1Address);
    EXPECT_EQ(Result.Status, 10);
    EXPECT_EQ(Result.Err, "Error: unknown connection 'Broadcom'.\n");
    EXPECT_EQ(Recorded().count(u'\n'), 1) << "netsh went on after a failure";
}

TEST_F(NetshProgram, SaysSoWhenNmcliIsMissing)
{
    Env.insert("NETSH_NMCLI", Dir.filePath("no-such-nmcli"));
    TRun Result = Run(Home1Address);
    EXPECT_NE(Result.Status, 0);
    EXPECT_TRUE(Result.Err.startsWith("netsh: cannot run " + Dir.filePath("no-such-nmcli"))) << Result.Err.toStdString();
    EXPECT_EQ(Result.Err.count(u'\n'), 1);
}

TEST_F(NetshProgram, RefusesBadInputWithOneLineAndRunsNothing)
{
    QStringList Blank = Home1Address;
    Blank[11] = "0.0.0.0";
    TRun Result = Run(Blank);
    EXPECT_EQ(Result.Status, 1);
    EXPECT_EQ(Result.Err, "netsh: '0.0.0.0' cannot be used as addr\n");
    EXPECT_EQ(Recorded(), QString());
}

TEST_F(NetshProgram, ExitsWithTheOutcomeOfTheUsualForms)
{
    struct TCase
    {
        QStringList Args;
        int Status;
        const char *Recorded;
        const char *Err;
    };
    const TCase Cases[] = {
        {{"interface", "ip", "set", "dns", "Broadcom", "static", "10.77.0.1", "primary"}, 0,
         "connection modify Broadcom ipv4.dns 10.77.0.1 ipv4.ignore-auto-dns yes\nconnection up Broadcom\n", ""},
        {{"int", "ipv4", "set", "address", "Broadcom", "static", "10.0.0.2", "255.0.0.0", "gateway=none", "gwmetric=3"}, 0,
         "connection modify Broadcom ipv4.method manual ipv4.addresses 10.0.0.2/8 ipv4.gateway '' ipv4.route-metric 3\n"
         "connection up Broadcom\n",
         ""},
        {{"interface", "ip", "set", "dns", "Broadcom", "dhcp", "register=sometimes"}, 1, "",
         "netsh: unknown register 'sometimes', expected none, primary or both\n"},
        {{"interface", "ip", "set", "address", "Broadcom", "dhcp", "both"}, 1, "", "netsh: unexpected 'both'\n"},
    };
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(Case.Args.join(u' ').toStdString());
        QFile::remove(Record());
        TRun Result = Run(Case.Args);
        EXPECT_EQ(Result.Status, Case.Status);
        EXPECT_EQ(Recorded(), QString::fromUtf8(Case.Recorded));
        EXPECT_EQ(Result.Err, QString::fromUtf8(Case.Err));
    }
}

TEST_F(NetshProgram, ShowsTheAcceptedForms)
{
    TRun Help = Run({"/?"});
    EXPECT_EQ(Help.Status, 0);
    EXPECT_TRUE(Help.Out.contains("set address [name=]NAME [source=]static [addr=]ADDRESS")) << Help.Out.toStdString();
    EXPECT_TRUE(Help.Out.contains("set dns [name=]NAME [source=]dhcp"));
    EXPECT_TRUE(Help.Out.contains("[[register=]none|primary|both] [[validate=]yes|no]"));

    TRun Bare = Run({});
    EXPECT_EQ(Bare.Status, 1);
    EXPECT_EQ(Bare.Err, Help.Out);
    EXPECT_EQ(Recorded(), QString());
}

} // namespace
