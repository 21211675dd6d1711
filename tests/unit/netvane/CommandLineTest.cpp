// The netvane program from the outside: the report on the terminal, a picture of the window, help.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRun
{
    int Exit = -1;
    QString Out, Err;
};

// Without a display: the report and help must not need one.
TRun Netvane(const QStringList &Arguments, bool Display = false)
{
    QProcess P;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.remove(QStringLiteral("DISPLAY"));
    Env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (Display)
        Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        Env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    P.setProcessEnvironment(Env);
    P.start(QStringLiteral(KIV_BIN_DIR "/netvane"), Arguments);
    if (!P.waitForFinished(30000))
        return {};
    return {P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1, QString::fromUtf8(P.readAllStandardOutput()),
            QString::fromUtf8(P.readAllStandardError())};
}

const QString Roots = QStringLiteral(KIV_FIXTURES "/netroots/");

TEST(NetvaneCommandLine, ReportPrintsTheLabelTextAndFailsWithTheMemoLines)
{
    const TRun Good = Netvane({QStringLiteral("--root"), Roots + QStringLiteral("two-adapters"), QStringLiteral("--report")});
    EXPECT_EQ(Good.Exit, 0) << Good.Err.toStdString();
    EXPECT_TRUE(Good.Out.startsWith(QString::fromUtf8("Host Name：\t\tnetbox\nDNS Servers：\t\t192.168.1.1\n")));
    EXPECT_TRUE(Good.Out.endsWith(QString::fromUtf8("Lease Expires：\tThu Jan 01 00:00:00 1970\n\n")));
    EXPECT_EQ(Good.Err, QString());

    // A machine without adapters: the first part on standard output, the memo's line on standard error.
    const TRun Empty = Netvane({QStringLiteral("--report"), QStringLiteral("--root"), Roots + QStringLiteral("empty")});
    EXPECT_EQ(Empty.Exit, 1);
    EXPECT_TRUE(Empty.Out.startsWith(QString::fromUtf8("Host Name：")));
    EXPECT_TRUE(Empty.Out.endsWith(QString::fromUtf8("Node Type：\t\tUnknown\n")));
    EXPECT_EQ(Empty.Err, QStringLiteral("GetAdaptersInfo sizing failed with error 232\n"));

    // A damaged file: the memo's line, then what was wrong with it.
    const TRun Bad = Netvane({QStringLiteral("--report"), QStringLiteral("--root"), Roots + QStringLiteral("malformed")});
    EXPECT_EQ(Bad.Exit, 1);
    EXPECT_TRUE(Bad.Err.startsWith(QStringLiteral("GetNetworkParams sizing failed with error 13\nnetvane: ")))
        << Bad.Err.toStdString();
}

// The label shows about two adapters: the address must come first, not the devices that hold none.
TEST(NetvaneCommandLine, ReportStartsWithTheAdapterThatHoldsTheAddress)
{
    const TRun Run = Netvane({QStringLiteral("--root"), Roots + QStringLiteral("pseudo-devices"), QStringLiteral("--report")});
    EXPECT_EQ(Run.Exit, 0) << Run.Err.toStdString();
    EXPECT_TRUE(Run.Out.contains(QString::fromUtf8("Node Type：\t\tUnknown\n"
                                                   "Description：\t\teth0\n"
                                                   "DHCP Enabled：\tno\n"
                                                   "IP Address：\t\t192.0.2.2\n")))
        << Run.Out.toStdString();
    EXPECT_FALSE(Run.Out.contains(QStringLiteral("ifb"))) << Run.Out.toStdString();
}

TEST(NetvaneCommandLine, ScreenshotSavesTheWholeWindowAfterTheReport)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("netvane.png"));
    const TRun Run = Netvane({QStringLiteral("--root"), Roots + QStringLiteral("two-adapters"),
                              QStringLiteral("--screenshot"), File},
                             true);
    ASSERT_EQ(Run.Exit, 0) << Run.Err.toStdString();
    const QImage Picture(File);
    EXPECT_EQ(Picture.size(), QSize(765, 501));
    // The report's text is in the label's area (16, 240)-(545, 481): not all one colour.
    const QRgb Background = Picture.pixel(300, 236);
    bool Ink = false;
    for (int Y = 240; Y < 300 && !Ink; ++Y)
        for (int X = 16; X < 200 && !Ink; ++X)
            Ink = Picture.pixel(X, Y) != Background;
    EXPECT_TRUE(Ink);
}

TEST(NetvaneCommandLine, HelpVersionAndMistakes)
{
    const TRun Help = Netvane({QStringLiteral("--help")});
    EXPECT_EQ(Help.Exit, 0);
    EXPECT_TRUE(Help.Out.startsWith(QStringLiteral("Usage: netvane [options]")));
    for (const char *Option : {"--report", "--root <dir>", "--screenshot <file>", "--version"})
        EXPECT_TRUE(Help.Out.contains(QLatin1String(Option))) << Option;
    EXPECT_EQ(Netvane({QStringLiteral("--version")}).Out, QStringLiteral("netvane " KIV_PROJECT_VERSION "\n"));

    const struct
    {
        QStringList Arguments;
        const char *Message;
    } Mistakes[] = {
        {{QStringLiteral("--bogus")}, "netvane: Unknown option 'bogus'."},
        {{QStringLiteral("--root")}, "netvane: Missing value after '--root'."},
        {{QStringLiteral("--root"), QStringLiteral("/nonexistent/root"), QStringLiteral("--report")},
         "netvane: --root: /nonexistent/root is not a directory"},
        {{QStringLiteral("extra")}, "netvane: unexpected argument 'extra'"},
    };
    for (const auto &M : Mistakes) {
        const TRun Run = Netvane(M.Arguments);
        EXPECT_EQ(Run.Exit, 2) << M.Message;
        EXPECT_TRUE(Run.Err.startsWith(QString::fromUtf8(M.Message))) << Run.Err.toStdString();
    }
}

} // namespace
