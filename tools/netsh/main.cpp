// netsh for Linux: the "interface ip set address|dns" commands, carried out by NetworkManager's nmcli.

#include "tools/netsh/NetshCommand.h"
#include "tools/netsh/NmcliCalls.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

namespace {

void Print(std::FILE *Stream, const QString &Text) { std::fputs(Text.toLocal8Bit().constData(), Stream); }

QString NmcliProgram()
{
    QString Program = qEnvironmentVariable("NETSH_NMCLI");
    return Program.isEmpty() ? QStringLiteral("nmcli") : Program;
}

bool DryRun()
{
    QString Value = qEnvironmentVariable("NETSH_DRY_RUN");
    return !Value.isEmpty() && Value != u"0";
}

// Runs nmcli with our own streams, so its messages reach the user as they are. Answers its exit status.
int Run(const QString &Nmcli, const QStringList &Args)
{
    QProcess Process;
    Process.setProcessChannelMode(QProcess::ForwardedChannels);
    // Nothing is ever typed to it; a question must not leave it waiting.
    Process.setStandardInputFile(QProcess::nullDevice());
    Process.start(Nmcli, Args);
    if (!Process.waitForStarted(-1)) {
        Print(stderr, "netsh: cannot run " + Nmcli + " (is NetworkManager installed?): " + Process.errorString() + u'\n');
        return 127;
    }
    Process.waitForFinished(-1);
    if (Process.exitStatus() == QProcess::CrashExit) {
        Print(stderr, "netsh: " + Nmcli + " ended abnormally\n");
        return 1;
    }
    return Process.exitCode();
}

} // namespace

int main(int argc, char **argv)
{
    QStringList Args;
    for (int I = 1; I < argc; ++I)
        Args << QString::fromLocal8Bit(argv[I]);
    if (Args.isEmpty()) {
        Print(stderr, NetshUsage());
        return 1;
    }
    if (IsNetshHelpRequest(Args)) {
        Print(stdout, NetshUsage());
        return 0;
    }
    TNetshParse Parse = ParseNetshCommand(Args);
    if (!Parse.Command) {
        Print(stderr, "netsh: " + Parse.Error + u'\n');
        return 1;
    }

    QString Nmcli = NmcliProgram();
    QList<QStringList> Calls = NmcliCalls(*Parse.Command);
    if (DryRun()) {
        for (const QStringList &Call : Calls)
            Print(stdout, ShellCommandLine(Nmcli, Call) + u'\n');
        return 0;
    }
    // QProcess watches its child through the application's notifiers.
    QCoreApplication App(argc, argv);
    for (const QStringList &Call : Calls)
        if (int Status = Run(Nmcli, Call); Status != 0)
            return Status;
    return 0;
}
