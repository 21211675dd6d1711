#pragma once
// Exceptions and the small string, number and path helpers of the framework.

#include <QString>
#include <QByteArray>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &Msg = QString());
    ~Exception() override = default;

    QString Message() const { return FMessage; }
    void SetMessage(const QString &Value);
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char *what() const noexcept override { return FWhat.constData(); }

private:
    QString FMessage;
    QByteArray FWhat;
};

#define KIV_EXCEPTION(Name, Base)                                   \
    class Name : public Base                                        \
    {                                                               \
    public:                                                         \
        using Base::Base;                                           \
        QString ClassName() const override { return QStringLiteral(#Name); } \
    }

KIV_EXCEPTION(EConvertError, Exception);
KIV_EXCEPTION(EListError, Exception);
KIV_EXCEPTION(EResNotFound, Exception);
KIV_EXCEPTION(EInvalidOperation, Exception);
KIV_EXCEPTION(EInvalidGraphic, Exception);
KIV_EXCEPTION(EOutOfMemory, Exception);
KIV_EXCEPTION(EStreamError, Exception);
KIV_EXCEPTION(EFileStreamError, EStreamError);
KIV_EXCEPTION(EFOpenError, EFileStreamError);
KIV_EXCEPTION(EFCreateError, EFileStreamError);
KIV_EXCEPTION(EFilerError, EStreamError);
KIV_EXCEPTION(EReadError, EFilerError);
KIV_EXCEPTION(EWriteError, EFilerError);
KIV_EXCEPTION(EClassNotFound, EFilerError);
KIV_EXCEPTION(EPropertyError, Exception);

KIV_EXCEPTION(EComponentError, Exception);

// ---- numbers and text ----
QString IntToStr(qint64 Value);
// Decimal, or hexadecimal with "$" or "0x"; surrounding blanks allowed.
qint64 StrToInt(const QString &S);                  // raises EConvertError
qint64 StrToIntDef(const QString &S, qint64 Default);
bool TryStrToInt(const QString &S, qint64 &Value);
QString Trim(const QString &S);                      // strips characters <= ' ' at both ends
bool SameText(const QString &S1, const QString &S2); // ignores case
int CompareText(const QString &S1, const QString &S2);
template <class T>
constexpr T Min(T A, T B) { return B < A ? B : A; }
template <class T>
constexpr T Max(T A, T B) { return A < B ? B : A; }

// ---- files and directories ----
// Both '/' and '\' count as path delimiters when splitting; "/" is the delimiter we add.
QString ExtractFileName(const QString &FileName);
QString ExtractFilePath(const QString &FileName);    // with its trailing delimiter
QString IncludeTrailingPathDelimiter(const QString &Path);
bool FileExists(const QString &FileName);            // a file, not a directory
bool DeleteFile(const QString &FileName);
// Directories, each with a trailing "/". On Linux the classic Windows directory is the user's
// data directory for the library ($XDG_DATA_HOME/kivrona, default ~/.local/share/kivrona) and the
// system directory the shared one (/usr/share/kivrona): the places a theme file may be installed.
QString ProgramDir();    // the directory of the running executable
QString TempDir();       // $TMPDIR, else /tmp
QString WindowsDir();
QString SystemDir();

// What the system locale says about writing: MiddleEast when it writes right to left (the skin mirrors
// its layouts only then). Taken from the window layer at start; tests may set it.
struct TSysLocale
{
    bool MiddleEast = false;
};
extern TSysLocale SysLocale;
