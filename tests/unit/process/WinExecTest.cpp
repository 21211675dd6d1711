#include "platform/Kernel.h"
#include "tests/unit/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The started program is not ours to wait for, so wait for what it writes: the folder's change wakes the loop.
void WaitForFile(const QString &Path, int Ms)
{
    QFileSystemWatcher Watcher({QFileInfo(Path).absolutePath()});
    QEventLoop Loop;
    QObject::connect(&Watcher, &QFileSystemWatcher::directoryChanged, &Loop, [&] {
        if (QFile::exists(Path))
            Loop.quit();
    });
    QTimer::singleShot(Ms, &Loop, &QEventLoop::quit);
    if (!QFile::exists(Path))
        Loop.exec();
}

struct TSplitCase
{
    const char *Line;
    QStringList Args;
};

TEST(CommandLineToArgs, SplitsByTheRuntimeRules)
{
    const TSplitCase Cases[] = {
        // The program's own command texts, with their odd spacing.
        {R"(netsh interface ip set address name ="Broadcom" source = static addr = 192.168.1.251 mask = 255.255.255.0 gateway =192.168.1.254  gwmetric = 1)",
         {"netsh", "interface", "ip", "set", "address", "name", "=Broadcom", "source", "=", "static", "addr", "=",
          "192.168.1.251", "mask", "=", "255.255.255.0", "gateway", "=192.168.1.254", "gwmetric", "=", "1"}},
        {R"(netsh  interface ip set dns name="Broadcom" source=static addr=8.8.8.8)",
         {"netsh", "interface", "ip", "set", "dns", "name=Broadcom", "source=static", "addr=8.8.8.8"}},
        {R"(netsh interface ip set address "Broadcom" dhcp)",
         {"netsh", "interface", "ip", "set", "address", "Broadcom", "dhcp"}},
        {R"(netsh interface ip set dns "Broadcom" dhcp)", {"netsh", "interface", "ip", "set", "dns", "Broadcom", "dhcp"}},
        // Blanks and groups.
        {"", {}},
        {" \t ", {}},
        {"  p\ta  b\t", {"p", "a", "b"}},
        {R"(p "two words" x)", {"p", "two words", "x"}},
        {R"(p name="My Connection")", {"p", "name=My Connection"}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p "" x)", {"p", "", "x"}},
        {R"(p "open to the end)", {"p", "open to the end"}},
        {"p 設定檔", {"p", "設定檔"}},
        // Backslashes count only before a quote.
        {R"(p a\b\\c\)", {"p", R"(a\b\\c\)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "a\\\\" b)", {"p", R"(a\\)", "b"}},
        // "" inside a group is a quote and the group goes on.
        {R"(p "a""b c")", {"p", R"(a"b c)"}},
        {R"(p """")", {"p", R"(")"}},
        // The program name has no escapes.
        {R"("/opt/my tools/prog" x)", {"/opt/my tools/prog", "x"}},
        {R"("c:\dir\\" x)", {R"(c:\dir\\)", "x"}},
        {R"(c:\a\"b c" x)", {R"(c:\a\b c)", "x"}},
    };
    for (const TSplitCase &Case : Cases) {
        SCOPED_TRACE(Case.Line);
        EXPECT_EQ(CommandLineToArgs(QString::fromUtf8(Case.Line)), Case.Args);
    }
}

bool WriteScript(const QString &Path, const QByteArray &Body)
{
    QFile File(Path);
    if (!File.open(QIODevice::WriteOnly))
        return false;
    File.write("#!/bin/sh\n" + Body);
    File.close();
    return File.setPermissions(File.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

// Each test gets a fresh folder at the front of PATH and leaves PATH as it found it.
class WinExecTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        SavedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(Dir.path()) + ":" + SavedPath);
    }
    void TearDown() override
    {
        qputenv("PATH", SavedPath);
        for (const QString &Path : Leftovers)
            QFile::remove(Path);
    }
    QString InDir(const QString &Name) const { return Dir.filePath(Name); }
    QString BesideExecutable(const QString &Name)
    {
        QString Path = QDir(QCoreApplication::applicationDirPath())
                           .filePath(Name + QString::number(QCoreApplication::applicationPid()));
        Leftovers << Path;
        return Path;
    }

    QTemporaryDir Dir;
    QByteArray SavedPath;
    QStringList Leftovers;
};

TEST_F(WinExecTest, FindsTheProgramBesideTheExecutableBeforePath)
{
    QString Beside = BesideExecutable("kiv-probe-");
    QString Name = QFileInfo(Beside).fileName();
    ASSERT_TRUE(WriteScript(InDir(Name), "exit 0\n"));
    EXPECT_EQ(FindExecProgram(Name), InDir(Name));

    ASSERT_TRUE(WriteScript(Beside, "exit 0\n"));
    EXPECT_EQ(FindExecProgram(Name), Beside);

    // Only executable files count as found by name.
    QFile::remove(InDir(Name));
    ASSERT_TRUE(QFile::setPermissions(Beside, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(FindExecProgram(Name), QString());

    EXPECT_EQ(FindExecProgram("kiv-no-such-program"), QString());
    EXPECT_EQ(FindExecProgram(""), QString());
}

TEST_F(WinExecTest, TakesANameWithASlashAsItIs)
{
    ASSERT_TRUE(WriteScript(InDir("tool"), "exit 0\n"));
    EXPECT_EQ(FindExecProgram(InDir("tool")), InDir("tool"));
    // Not looked up on PATH, though a program "tool" is there.
    EXPECT_EQ(FindExecProgram("kiv-no-such-dir/tool"), QString());
}

TEST_F(WinExecTest, StartsTheProgramDetachedWithSplitArgumentsAndNullStreams)
{
    ASSERT_TRUE(WriteScript(InDir("kiv-argv-probe"),
                            "out=\"$1\"; shift\n"
                            "fds=\"$(readlink /proc/$$/fd/0) $(readlink /proc/$$/fd/1) $(readlink /proc/$$/fd/2)\"\n"
                            "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; printf '%s\\n' \"$fds\"; } > \"$out.tmp\"\n"
                            "mv \"$out.tmp\" \"$out\"\n"));
    QString Out = InDir("argv.txt");
    QByteArray Line = "kiv-argv-probe " + QFile::encodeName(Out) + R"( "two words" a\"b "" last)";

    EXPECT_GT(WinExec(Line.constData(), SW_HIDE), 31u);

    WaitForFile(Out, 20000);
    QFile File(Out);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly)) << "the program did not run";
    EXPECT_EQ(QString::fromUtf8(File.readAll()), "two words\na\"b\n\nlast\n/dev/null /dev/null /dev/null\n");

    // Nothing we started is left as a zombie for us to reap.
    for (const QString &Pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile Stat("/proc/" + Pid + "/stat");
        if (!Stat.open(QIODevice::ReadOnly))
            continue;
        QList<QByteArray> Fields = Stat.readAll().split(')').last().split(' ');
        if (Fields.size() > 2 && Fields[2].toLongLong() == getpid()) {
            EXPECT_NE(Fields[1], "Z") << "zombie child " << Pid.toStdString();
        }
    }
}

TEST_F(WinExecTest, AnswersWhyNothingWasStarted)
{
    QFile Plain(InDir("not-a-program"));
    ASSERT_TRUE(Plain.open(QIODevice::WriteOnly));
    Plain.write("just text\n");
    Plain.close();
    QByteArray NotExecutable = QFile::encodeName(Plain.fileName());
    QByteArray MissingDir = QFile::encodeName(InDir("no-dir/prog"));

    struct { const char *Line; UINT Result; } Cases[] = {
        {nullptr, 0},
        {"", 0},
        {"  \t", 0},
        {"kiv-no-such-program arg", ERROR_FILE_NOT_FOUND},
        {"\"kiv no such program\"", ERROR_FILE_NOT_FOUND},
        {MissingDir.constData(), ERROR_PATH_NOT_FOUND},
        {NotExecutable.constData(), ERROR_BAD_FORMAT},
    };
    for (const auto &Case : Cases) {
        SCOPED_TRACE(Case.Line ? Case.Line : "(null)");
        EXPECT_EQ(WinExec(Case.Line, SW_HIDE), Case.Result);
    }
}

TEST_F(WinExecTest, HookSeesTheLinesInsteadOfStartingThem)
{
    ASSERT_TRUE(WriteScript(InDir("kiv-touch"), "touch \"$1\"\n"));
    QString Touched = InDir("touched");
    QByteArray Line = "kiv-touch " + QFile::encodeName(Touched);

    QStringList Seen;
    TWinExecHook Previous = SetWinExecHook([&](const char *CmdLine, UINT CmdShow) {
        Seen << QString::fromUtf8(CmdLine) + " / " + QString::number(CmdShow);
        return 33u;
    });
    EXPECT_FALSE(Previous);
    EXPECT_EQ(WinExec(Line.constData(), SW_HIDE), 33u);
    EXPECT_EQ(Seen, QStringList{QString::fromUtf8(Line) + " / 0"});

    TWinExecHook Mine = SetWinExecHook(Previous);
    ASSERT_TRUE(Mine);
    EXPECT_EQ(Mine("x", 5), 33u);
    EXPECT_EQ(Seen.size(), 2);
    EXPECT_EQ(WinExec("kiv-no-such-program", SW_HIDE), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Seen.size(), 2);
    EXPECT_FALSE(QFile::exists(Touched));
}

} // namespace
