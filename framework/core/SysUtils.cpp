#include "framework/core/SysUtils.h"

#include "platform/Window.h"

Exception::Exception(const QString &Msg)
{
    SetMessage(Msg);
}

void Exception::SetMessage(const QString &Value)
{
    FMessage = Value;
    FWhat = Value.toUtf8();
}

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString IntToStr(qint64 Value)
{
    return QString::number(Value);
}

bool TryStrToInt(const QString &S, qint64 &Value)
{
    QString T = Trim(S);
    bool Negative = false;
    if (T.startsWith(QLatin1Char('-')) || T.startsWith(QLatin1Char('+'))) {
        Negative = T[0] == u'-';
        T = T.mid(1);
    }
    int Base = 10;
    if (T.startsWith(QLatin1Char('$'))) {
        Base = 16;
        T = T.mid(1);
    } else if (T.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        Base = 16;
        T = T.mid(2);
    }
    if (T.isEmpty() || T[0] == u'-' || T[0] == u'+')
        return false;
    bool Ok = false;
    qint64 Result = T.toLongLong(&Ok, Base);
    if (!Ok)
        return false;
    Value = Negative ? -Result : Result;
    return true;
}

qint64 StrToInt(const QString &S)
{
    qint64 Value = 0;
    if (!TryStrToInt(S, Value))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return Value;
}

qint64 StrToIntDef(const QString &S, qint64 Default)
{
    qint64 Value = 0;
    return TryStrToInt(S, Value) ? Value : Default;
}

QString Trim(const QString &S)
{
    qsizetype L = 0;
    qsizetype R = S.size();
    while (L < R && S[L] <= u' ')
        ++L;
    while (R > L && S[R - 1] <= u' ')
        --R;
    return S.mid(L, R - L);
}

bool SameText(const QString &S1, const QString &S2)
{
    return S1.compare(S2, Qt::CaseInsensitive) == 0;
}

int CompareText(const QString &S1, const QString &S2)
{
    return S1.compare(S2, Qt::CaseInsensitive);
}

namespace {
qsizetype LastDelimiter(const QString &FileName)
{
    return qMax(FileName.lastIndexOf(QLatin1Char('/')), FileName.lastIndexOf(QLatin1Char('\\')));
}

QString WithDelimiter(const QString &Path)
{
    return IncludeTrailingPathDelimiter(Path);
}
} // namespace

QString ExtractFileName(const QString &FileName)
{
    return FileName.mid(LastDelimiter(FileName) + 1);
}

QString ExtractFilePath(const QString &FileName)
{
    return FileName.left(LastDelimiter(FileName) + 1);
}

QString IncludeTrailingPathDelimiter(const QString &Path)
{
    if (Path.endsWith(QLatin1Char('/')) || Path.endsWith(QLatin1Char('\\')))
        return Path;
    return Path + QLatin1Char('/');
}

bool FileExists(const QString &FileName)
{
    QFileInfo Info(FileName);
    return !FileName.isEmpty() && Info.exists() && !Info.isDir();
}

bool DeleteFile(const QString &FileName)
{
    return FileExists(FileName) && QFile::remove(FileName);
}

QString ProgramDir()
{
    if (QCoreApplication::instance())
        return WithDelimiter(QCoreApplication::applicationDirPath());
    return WithDelimiter(QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath());
}

QString TempDir()
{
    QString Dir = qEnvironmentVariable("TMPDIR");
    return WithDelimiter(Dir.isEmpty() ? QStringLiteral("/tmp") : Dir);
}

QString WindowsDir()
{
    QString Data = qEnvironmentVariable("XDG_DATA_HOME");
    if (Data.isEmpty())
        Data = QDir::homePath() + QStringLiteral("/.local/share");
    return WithDelimiter(Data) + QStringLiteral("kivrona/");
}

QString SystemDir()
{
    return QStringLiteral("/usr/share/kivrona/");
}

TSysLocale SysLocale{GetSystemMetrics(SM_MIDEASTENABLED) != 0};
