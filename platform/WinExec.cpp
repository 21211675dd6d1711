#include "platform/Kernel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

TWinExecHook &WinExecHook()
{
    static TWinExecHook Hook;
    return Hook;
}

bool IsBlank(QChar C) { return C == u' ' || C == u'\t'; }

qsizetype SkipBlanks(const QString &Line, qsizetype I)
{
    while (I < Line.size() && IsBlank(Line[I]))
        ++I;
    return I;
}

// The program name knows no escapes: quotes only switch blanks between separating and belonging.
QString TakeProgramName(const QString &Line, qsizetype &I)
{
    QString Name;
    bool Quoted = false;
    for (; I < Line.size(); ++I) {
        QChar C = Line[I];
        if (C == u'"')
            Quoted = !Quoted;
        else if (IsBlank(C) && !Quoted)
            break;
        else
            Name += C;
    }
    return Name;
}

QString TakeArgument(const QString &Line, qsizetype &I)
{
    QString Arg;
    bool Quoted = false;
    while (I < Line.size()) {
        qsizetype Backslashes = 0;
        while (I < Line.size() && Line[I] == u'\\') {
            ++Backslashes;
            ++I;
        }
        if (I < Line.size() && Line[I] == u'"') {
            Arg += QString(Backslashes / 2, u'\\');
            if (Backslashes % 2 == 1) {
                Arg += u'"';
            } else if (Quoted && I + 1 < Line.size() && Line[I + 1] == u'"') {
                Arg += u'"';
                ++I;
            } else {
                Quoted = !Quoted;
            }
            ++I;
            continue;
        }
        Arg += QString(Backslashes, u'\\');
        if (I >= Line.size() || (IsBlank(Line[I]) && !Quoted))
            break;
        Arg += Line[I++];
    }
    return Arg;
}

QString ExecutableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

bool IsExecutableFile(const QString &Path)
{
    QFileInfo Info(Path);
    return Info.isFile() && Info.isExecutable();
}

UINT NotFound(const QString &Program)
{
    if (Program.contains(u'/') && !QFileInfo(Program).absoluteDir().exists())
        return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

UINT Start(const QString &Line)
{
    QStringList Args = CommandLineToArgs(Line);
    if (Args.isEmpty())
        return 0;
    QString Program = Args.takeFirst();
    QString Path = FindExecProgram(Program);
    if (Path.isEmpty())
        return NotFound(Program);

    QProcess Process;
    Process.setProgram(Path);
    Process.setArguments(Args);
    Process.setStandardInputFile(QProcess::nullDevice());
    Process.setStandardOutputFile(QProcess::nullDevice());
    Process.setStandardErrorFile(QProcess::nullDevice());
    // Detached: the intermediate child exits at once, so nothing is left for us to reap.
    return Process.startDetached() ? 33 : ERROR_BAD_FORMAT;
}

} // namespace

QStringList CommandLineToArgs(const QString &CmdLine)
{
    QStringList Args;
    qsizetype I = SkipBlanks(CmdLine, 0);
    if (I >= CmdLine.size())
        return Args;
    Args << TakeProgramName(CmdLine, I);
    for (I = SkipBlanks(CmdLine, I); I < CmdLine.size(); I = SkipBlanks(CmdLine, I))
        Args << TakeArgument(CmdLine, I);
    return Args;
}

QString FindExecProgram(const QString &Program)
{
    if (Program.isEmpty())
        return QString();
    if (Program.contains(u'/'))
        return QFileInfo(Program).isFile() ? QFileInfo(Program).absoluteFilePath() : QString();
    QString Beside = QDir(ExecutableDir()).filePath(Program);
    if (IsExecutableFile(Beside))
        return Beside;
    return QStandardPaths::findExecutable(Program);
}

TWinExecHook SetWinExecHook(TWinExecHook Hook)
{
    TWinExecHook Previous = std::move(WinExecHook());
    WinExecHook() = std::move(Hook);
    return Previous;
}

UINT WinExec(const char *CmdLine, UINT CmdShow)
{
    if (WinExecHook())
        return WinExecHook()(CmdLine, CmdShow);
    if (!CmdLine || !*CmdLine)
        return 0;
    try {
        return Start(QString::fromLocal8Bit(CmdLine));
    } catch (...) {
        // The classic call answers 0 when the system is out of resources; it never throws.
        return 0;
    }
}
