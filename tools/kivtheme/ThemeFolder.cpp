#include "tools/kivtheme/ThemeFolder.h"

#include "framework/core/StringList.h"
#include "framework/core/SysUtils.h"
#include "skin/theme/Kivthemefile.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>
#include <QStringEncoder>

#include <limits>

namespace {

const QString IniName = QStringLiteral("theme.ini");

enum TSection { secNone, secFiles, secStrings, secIntegers, secFlags };

struct TIniEntry
{
    TSection Section;
    QString Name;
    QString Value;
};

[[noreturn]] void LineError(int Line, const QString &What)
{
    throw Exception(QStringLiteral("%1 line %2: %3").arg(IniName).arg(Line).arg(What));
}

TSection SectionNamed(const QString &Name)
{
    static const struct { const char *Name; TSection Section; } Sections[] = {
        {"files", secFiles}, {"strings", secStrings}, {"integers", secIntegers}, {"flags", secFlags}};
    for (const auto &S : Sections)
        if (SameText(Name, QLatin1String(S.Name)))
            return S.Section;
    return secNone;
}

QString Unquote(const QString &Value, int Line)
{
    if (!Value.startsWith(u'"'))
        return Value;
    QString Text;
    for (int I = 1; I < Value.size(); ++I) {
        const QChar C = Value[I];
        if (C == u'"') {
            if (I != Value.size() - 1)
                LineError(Line, QStringLiteral("text after the closing quote"));
            return Text;
        }
        if (C != u'\\') {
            Text += C;
            continue;
        }
        if (++I == Value.size())
            break;
        switch (Value[I].unicode()) {
        case '\\': Text += u'\\'; break;
        case '"': Text += u'"'; break;
        case 'n': Text += u'\n'; break;
        case 'r': Text += u'\r'; break;
        case 't': Text += u'\t'; break;
        default: LineError(Line, QStringLiteral("unknown escape \\%1").arg(Value[I]));
        }
    }
    LineError(Line, QStringLiteral("missing closing quote"));
}

qint32 IntegerValue(const QString &Value, int Line)
{
    qint64 Number = 0;
    // Hexadecimal colours such as 0xFF000014 are written unsigned; they are the same 32 bits.
    if (!TryStrToInt(Value, Number) || Number < std::numeric_limits<qint32>::min()
        || Number > std::numeric_limits<quint32>::max())
        LineError(Line, QStringLiteral("\"%1\" is not a 32-bit integer").arg(Value));
    return qint32(quint32(Number));
}

QList<TIniEntry> ReadIni(const QString &Dir)
{
    TAutoFree<TStringList> Lines(TStringList::Create());
    Lines->LoadFromFile(QDir(Dir).filePath(IniName));
    QList<TIniEntry> Entries;
    TSection Section = secNone;
    QStringEncoder Ansi("Big5");
    for (int I = 0; I < Lines->Count(); ++I) {
        const int Line = I + 1;
        const QString Text = Trim(Lines->Strings(I));
        if (Text.isEmpty() || Text.startsWith(u';') || Text.startsWith(u'#'))
            continue;
        if (Text.startsWith(u'[')) {
            if (!Text.endsWith(u']') || (Section = SectionNamed(Text.mid(1, Text.size() - 2))) == secNone)
                LineError(Line, QStringLiteral("unknown section %1").arg(Text));
            continue;
        }
        const int Equals = Text.indexOf(u'=');
        if (Equals < 0)
            LineError(Line, QStringLiteral("expected name=value"));
        if (Section == secNone)
            LineError(Line, QStringLiteral("entry before the first section"));
        TIniEntry Entry{Section, Trim(Text.left(Equals)), Unquote(Trim(Text.mid(Equals + 1)), Line)};
        if (Entry.Name.isEmpty())
            LineError(Line, QStringLiteral("entry without a name"));
        if (QByteArray(Ansi.encode(Entry.Name)).size() > KIV_THEME_NAME_SIZE)
            LineError(Line, QStringLiteral("name \"%1\" is longer than %2 bytes").arg(Entry.Name).arg(KIV_THEME_NAME_SIZE));
        if (Section == secFiles) {
            Entry.Value = QDir(Dir).filePath(Entry.Value);
            if (!FileExists(Entry.Value))
                LineError(Line, QStringLiteral("no file \"%1\"").arg(Entry.Value));
        } else if (Section == secIntegers) {
            Entry.Value = IntToStr(IntegerValue(Entry.Value, Line));
        } else if (Section == secFlags && Entry.Value != u"0" && Entry.Value != u"1") {
            LineError(Line, QStringLiteral("flag \"%1\" is neither 0 nor 1").arg(Entry.Value));
        }
        Entries.append(Entry);
    }
    return Entries;
}

// A name theme.ini can hold as a key and give back unchanged.
void CheckIniName(const QString &Name)
{
    bool Fits = !Name.isEmpty() && Name == Trim(Name) && !Name.contains(u'=') && !Name.startsWith(u'[')
        && !Name.startsWith(u';') && !Name.startsWith(u'#');
    for (QChar C : Name)
        Fits = Fits && C.unicode() >= 0x20;
    if (!Fits)
        throw Exception(QStringLiteral("entry name \"%1\" cannot be written to %2").arg(EscapeThemeText(Name), IniName));
}

// Entry names come from the file: only letters, digits, '-' and '_' reach the file system, so a name
// can never lead out of the folder.
QString PictureFileName(const QString &Name, const QByteArray &Data, QSet<QString> &Taken)
{
    QString Base;
    for (QChar C : Name)
        Base += (C.unicode() < 0x80 && (C.isLetterOrNumber() || C == u'-' || C == u'_')) ? C : QChar(u'_');
    const QString Ext = Data.startsWith("BM") ? QStringLiteral(".bmp") : QStringLiteral(".bin");
    QString FileName = Base + Ext;
    for (int N = 2; Taken.contains(FileName.toLower()) || FileName.compare(IniName, Qt::CaseInsensitive) == 0; ++N)
        FileName = Base + u'-' + IntToStr(N) + Ext;
    Taken.insert(FileName.toLower());
    return FileName;
}

// Saved through a new file renamed into place, so a link planted at the name is replaced, never followed.
void WriteFile(const QString &Path, const QByteArray &Bytes)
{
    QSaveFile File(Path);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate) || File.write(Bytes) != Bytes.size() || !File.commit())
        throw EFCreateError(QStringLiteral("Cannot write \"%1\": %2").arg(Path, File.errorString()));
}

} // namespace

QString EscapeThemeText(const QString &Text, bool InQuotes)
{
    QString Out;
    for (QChar C : Text) {
        switch (C.unicode()) {
        case '\\': Out += QStringLiteral("\\\\"); break;
        case '"': Out += InQuotes ? QStringLiteral("\\\"") : QStringLiteral("\""); break;
        case '\n': Out += QStringLiteral("\\n"); break;
        case '\r': Out += QStringLiteral("\\r"); break;
        case '\t': Out += QStringLiteral("\\t"); break;
        default: Out += C;
        }
    }
    return Out;
}

void PackThemeFolder(const QString &Dir, const QString &OutFile)
{
    const QList<TIniEntry> Entries = ReadIni(Dir);
    TkivThemeFileWriter *Writer = TkivThemeFileWriter::Create(OutFile);
    try {
        for (const TIniEntry &E : Entries) {
            switch (E.Section) {
            case secFiles: Writer->AddFile(E.Name, E.Value); break;
            case secStrings: Writer->AddStr(E.Name, E.Value); break;
            case secIntegers: Writer->AddInteger(E.Name, qint32(StrToInt(E.Value))); break;
            case secFlags: Writer->AddBool(E.Name, E.Value == u"1"); break;
            case secNone: break;
            }
        }
        Writer->Save();
    } catch (...) {
        Writer->Free();
        throw;
    }
    Writer->Free();
}

void UnpackThemeFolder(const TkivThemeFileReader *Reader, const QString &Dir)
{
    auto CheckNames = [](TStrings *List, bool NameValue) {
        for (int I = 0; I < List->Count(); ++I)
            CheckIniName(NameValue ? List->Names(I) : List->Strings(I));
    };
    CheckNames(Reader->Files(), false);
    CheckNames(Reader->Strings(), true);
    CheckNames(Reader->Integers(), true);
    CheckNames(Reader->Flags(), true);
    if (!QDir().mkpath(Dir))
        throw EFCreateError(QStringLiteral("Cannot make the folder \"%1\"").arg(Dir));

    QString Ini = QStringLiteral("[files]\n");
    QSet<QString> Taken;
    for (int I = 0; I < Reader->Files()->Count(); ++I) {
        const QString Name = Reader->Files()->Strings(I);
        const QByteArray Data = static_cast<TMemoryStream *>(Reader->Files()->Objects(I))->Bytes();
        const QString FileName = PictureFileName(Name, Data, Taken);
        WriteFile(QDir(Dir).filePath(FileName), Data);
        Ini += Name + u'=' + FileName + u'\n';
    }
    Ini += QStringLiteral("\n[strings]\n");
    for (int I = 0; I < Reader->Strings()->Count(); ++I)
        Ini += Reader->Strings()->Names(I) + QStringLiteral("=\"") + EscapeThemeText(Reader->Strings()->ValueFromIndex(I), true) + QStringLiteral("\"\n");
    Ini += QStringLiteral("\n[integers]\n");
    for (int I = 0; I < Reader->Integers()->Count(); ++I)
        Ini += Reader->Integers()->Strings(I) + u'\n';
    Ini += QStringLiteral("\n[flags]\n");
    for (int I = 0; I < Reader->Flags()->Count(); ++I)
        Ini += Reader->Flags()->Names(I) + (StrToIntDef(Reader->Flags()->ValueFromIndex(I), 0) ? QStringLiteral("=1\n") : QStringLiteral("=0\n"));
    WriteFile(QDir(Dir).filePath(IniName), Ini.toUtf8());
}
