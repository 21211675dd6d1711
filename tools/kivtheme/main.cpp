// kivtheme: packs a folder into a ".kiv" theme, unpacks, lists and checks themes, on the skin
// library's own reader and writer. Exit status 0 on success, 1 for a file that is not a valid theme
// (or any other failure, with the reason), 2 for a usage error.

#include "framework/core/SysUtils.h"
#include "skin/theme/Kivthemefile.h"
#include "tools/kivtheme/StyleExport.h"
#include "tools/kivtheme/ThemeFolder.h"

#include <QStringList>

#include <cstdio>

namespace {

const char *const Usage =
    "Usage: kivtheme COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  pack DIR OUT.kiv     write the theme described by DIR/theme.ini to OUT.kiv\n"
    "  unpack FILE DIR      write FILE's entries to DIR as theme.ini and pictures\n"
    "  dump FILE            list FILE's entries: TYPE<TAB>NAME<TAB>VALUE, one a line\n"
    "  check FILE           check that FILE is a whole, readable theme\n"
    "  export STYLE OUT.kiv write a built-in style (MacOS, WinXP, DeepBlue, Protein, BlueGlass)\n"
    "                       as a theme to start a new one from\n"
    "  help                 show this text\n"
    "\n"
    "theme.ini holds the sections [files] (name=picture file relative to DIR), [strings],\n"
    "[integers] (decimal or 0x hexadecimal) and [flags] (the stored byte, 0 to 255), each entry\n"
    "on its own line; unpack adds a [layout] section for a file not laid out as pack lays it out,\n"
    "so that pack gives back the same bytes.\n"
    "\n"
    "Exit status: 0 done, 1 not a valid theme or the work failed, 2 wrong use.\n";

constexpr int ExitOk = 0;
constexpr int ExitInvalid = 1;
constexpr int ExitUsage = 2;

void Print(std::FILE *Stream, const QString &Text) { std::fputs(Text.toLocal8Bit().constData(), Stream); }

int UsageError(const QString &Why)
{
    Print(stderr, QStringLiteral("kivtheme: %1\n\n").arg(Why) + QLatin1String(Usage));
    return ExitUsage;
}

struct TCommand
{
    const char *Name;
    int ArgCount;
    int (*Run)(const QStringList &Args);
};

void CheckMagic(const QString &FileName)
{
    if (!FileExists(FileName))
        throw Exception(QStringLiteral("%1: no such file").arg(FileName));
    if (!IsKIVThemeFile(FileName))
        throw Exception(QStringLiteral("%1: Invalid skin file for Kivrona!").arg(FileName));
}

// A theme file the library would take: the magic first, then a load that checks the whole chain.
TkivThemeFileReader *OpenTheme(const QString &FileName)
{
    CheckMagic(FileName);
    return TkivThemeFileReader::Create(FileName);
}

int Pack(const QStringList &Args)
{
    PackThemeFolder(Args[0], Args[1]);
    return ExitOk;
}

int Unpack(const QStringList &Args)
{
    CheckMagic(Args[0]);
    TAutoFree<TFileStream> File(TFileStream::Create(Args[0], fmOpenRead | fmShareDenyNone));
    QByteArray Theme(File->Size(), Qt::Uninitialized);
    File->ReadBuffer(Theme.data(), Theme.size());
    UnpackThemeFolder(Theme, Args[1]);
    return ExitOk;
}

int Dump(const QStringList &Args)
{
    TAutoFree<TkivThemeFileReader> Reader(OpenTheme(Args[0]));
    QString Out;
    auto Line = [&Out](const char *Type, const QString &Name, const QString &Value) {
        Out += QLatin1String(Type) + u'\t' + EscapeThemeText(Name) + u'\t' + EscapeThemeText(Value) + u'\n';
    };
    TStrings *Files = Reader->Files();
    for (int I = 0; I < Files->Count(); ++I)
        Line("file", Files->Strings(I), IntToStr(static_cast<TMemoryStream *>(Files->Objects(I))->Size()));
    const struct { const char *Type; TStrings *List; } Lists[] = {
        {"string", Reader->Strings()}, {"integer", Reader->Integers()}, {"flag", Reader->Flags()}};
    for (const auto &L : Lists)
        for (int I = 0; I < L.List->Count(); ++I)
            Line(L.Type, L.List->Names(I), L.List->ValueFromIndex(I));
    Print(stdout, Out);
    return ExitOk;
}

int Check(const QStringList &Args)
{
    TAutoFree<TkivThemeFileReader> Reader(OpenTheme(Args[0]));
    Print(stdout, QStringLiteral("ok, %1 entries\n").arg(Reader->EntryCount()));
    return ExitOk;
}

int Export(const QStringList &Args)
{
    if (!ExportableStyles().contains(Args[0], Qt::CaseInsensitive))
        return UsageError(QStringLiteral("no built-in style \"%1\" (one of %2)").arg(Args[0], ExportableStyles().join(u", ")));
    ExportStyle(Args[0], Args[1]);
    return ExitOk;
}

const TCommand Commands[] = {
    {"pack", 2, Pack}, {"unpack", 2, Unpack}, {"dump", 1, Dump}, {"check", 1, Check}, {"export", 2, Export},
};

} // namespace

int main(int argc, char **argv)
{
    QStringList Args;
    for (int I = 1; I < argc; ++I)
        Args << QString::fromLocal8Bit(argv[I]);
    if (Args.isEmpty())
        return UsageError(QStringLiteral("no command given"));
    const QString Name = Args.takeFirst();
    if (Name == u"help" || Name == u"--help" || Name == u"-h") {
        Print(stdout, QLatin1String(Usage));
        return ExitOk;
    }
    for (const TCommand &C : Commands) {
        if (Name != QLatin1String(C.Name))
            continue;
        if (Args.size() != C.ArgCount)
            return UsageError(QStringLiteral("%1 takes %2 argument%3").arg(Name).arg(C.ArgCount).arg(C.ArgCount == 1 ? "" : "s"));
        try {
            return C.Run(Args);
        } catch (const Exception &E) {
            Print(stderr, QStringLiteral("kivtheme: %1\n").arg(E.Message()));
            return ExitInvalid;
        }
    }
    return UsageError(QStringLiteral("unknown command \"%1\"").arg(Name));
}
