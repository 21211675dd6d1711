#include "tools/kivtheme/ThemeFolder.h"

#include "framework/core/StringList.h"
#include "framework/core/SysUtils.h"
#include "skin/theme/Kivthemefile.h"

#include <QDir>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <limits>

namespace {

const QString IniName = QStringLiteral("theme.ini");

// The value sections in the order the writer lays their entries out.
enum TSection { secFiles, secStrings, secIntegers, secFlags, secLayout, secNone };
constexpr int ValueSections = 4;
const char *const SectionNames[] = {"files", "strings", "integers", "flags", "layout"};
const quint8 SectionTypes[ValueSections] = {KIV_ENTRY_FILE, KIV_ENTRY_STRING, KIV_ENTRY_INTEGER, KIV_ENTRY_FLAG};

[[noreturn]] void LineError(int Line, const QString &What)
{
    throw Exception(QStringLiteral("%1 line %2: %3").arg(IniName).arg(Line).arg(What));
}

TSection SectionNamed(const QString &Name)
{
    for (int S = 0; S <= secLayout; ++S)
        if (SameText(Name, QLatin1String(SectionNames[S])))
            return TSection(S);
    return secNone;
}

TSection SectionOfType(quint8 Type)
{
    for (int S = 0; S < ValueSections; ++S)
        if (SectionTypes[S] == Type)
            return TSection(S);
    return secNone;
}

bool IsControl(QChar C) { return C.unicode() < 0x20 || C.unicode() == 0x7F; }

// Text in theme.ini as it was written: characters, and bytes given as \xNN.
struct TPiece
{
    QString Text;
    int Byte = -1;
};
using TPieces = QList<TPiece>;

// The code page both ways. A stored byte sequence is split into characters that encode back to the
// same bytes and single bytes that do not (half a double-byte character, a code the page lacks).
class TCodePage
{
public:
    TPieces Split(const QByteArray &Bytes)
    {
        TPieces Pieces;
        for (qsizetype I = 0; I < Bytes.size();) {
            const uchar B = uchar(Bytes[I]);
            if (B < 0x80) {
                Pieces.append({QString(QChar(B))});
                ++I;
                continue;
            }
            const QString Char = I + 1 < Bytes.size() ? Decode(Bytes.mid(I, 2)) : QString();
            if (IsOneCharacter(Char) && Encode(Char) == Bytes.mid(I, 2)) {
                Pieces.append({Char});
                I += 2;
            } else {
                Pieces.append({QString(), B});
                ++I;
            }
        }
        return Pieces;
    }

    // Raises for a character the code page cannot hold.
    QByteArray Bytes(const TPieces &Pieces, int Line)
    {
        QByteArray Out;
        for (const TPiece &P : Pieces) {
            if (P.Byte >= 0) {
                Out.append(char(P.Byte));
                continue;
            }
            const QByteArray Encoded = Encode(P.Text);
            if (FEncoder.hasError())
                LineError(Line, QStringLiteral("\"%1\" has a character the code page Big5 lacks").arg(EscapeThemeText(P.Text)));
            Out.append(Encoded);
        }
        return Out;
    }

private:
    static bool IsOneCharacter(const QString &S)
    {
        return (S.size() == 1 && S[0] != QChar::ReplacementCharacter && !S[0].isSurrogate())
            || (S.size() == 2 && S[0].isHighSurrogate() && S[1].isLowSurrogate());
    }
    QString Decode(const QByteArray &Bytes)
    {
        FDecoder.resetState();
        return FDecoder.decode(Bytes);
    }
    QByteArray Encode(const QString &Text)
    {
        FEncoder.resetState();
        if (std::all_of(Text.cbegin(), Text.cend(), [](QChar C) { return C.unicode() < 0x80; }))
            return Text.toLatin1();
        return FEncoder.encode(Text);
    }

    QStringEncoder FEncoder{"Big5", QStringConverter::Flag::Stateless};
    QStringDecoder FDecoder{"Big5", QStringConverter::Flag::Stateless};
};

QString PiecesText(const TPieces &Pieces)
{
    QString Text;
    for (const TPiece &P : Pieces)
        Text += P.Byte >= 0 ? QString(QChar(P.Byte)) : P.Text;
    return Text;
}

QString HexByte(int Byte) { return QStringLiteral("\\x") + QStringLiteral("%1").arg(Byte, 2, 16, QChar(u'0')).toUpper(); }

QString Quoted(const TPieces &Pieces)
{
    QString Out = QStringLiteral("\"");
    for (const TPiece &P : Pieces) {
        if (P.Byte >= 0) {
            Out += HexByte(P.Byte);
            continue;
        }
        for (QChar C : P.Text) {
            if (IsControl(C) && C != u'\n' && C != u'\r' && C != u'\t')
                Out += HexByte(C.unicode());
            else
                Out += EscapeThemeText(QString(C), true);
        }
    }
    return Out + u'"';
}

// A name as theme.ini holds it: as it stands where a key can hold it unchanged, else in quotes.
QString NameInIni(const TPieces &Pieces)
{
    const QString Text = PiecesText(Pieces);
    bool Plain = !Text.isEmpty() && Text == Trim(Text) && !Text.contains(u'=');
    for (const QChar Start : {u'[', u';', u'#', u'"'})
        Plain = Plain && !Text.startsWith(Start);
    for (const TPiece &P : Pieces)
        Plain = Plain && P.Byte < 0 && !IsControl(P.Text[0]);
    return Plain ? Text : Quoted(Pieces);
}

int HexDigit(QChar C)
{
    const int D = QStringLiteral("0123456789abcdef").indexOf(C.toLower());
    return C.unicode() < 0x80 ? D : -1;
}

// Text from the opening quote at Text[I]; I ends past the closing quote.
TPieces Unquote(const QString &Text, qsizetype &I, int Line)
{
    TPieces Pieces;
    auto AddChar = [&Pieces](QChar C) {
        if (Pieces.isEmpty() || Pieces.back().Byte >= 0)
            Pieces.append(TPiece());
        Pieces.back().Text += C;
    };
    for (++I; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C == u'"') {
            ++I;
            return Pieces;
        }
        if (C != u'\\') {
            AddChar(C);
            continue;
        }
        if (++I == Text.size())
            break;
        switch (Text[I].unicode()) {
        case '\\': AddChar(u'\\'); break;
        case '"': AddChar(u'"'); break;
        case 'n': AddChar(u'\n'); break;
        case 'r': AddChar(u'\r'); break;
        case 't': AddChar(u'\t'); break;
        case 'x': {
            const int High = I + 2 < Text.size() ? HexDigit(Text[I + 1]) : -1;
            const int Low = High >= 0 ? HexDigit(Text[I + 2]) : -1;
            if (Low < 0)
                LineError(Line, QStringLiteral("\\x takes two hexadecimal digits"));
            Pieces.append({QString(), High * 16 + Low});
            I += 2;
            break;
        }
        default: LineError(Line, QStringLiteral("unknown escape \\%1").arg(Text[I]));
        }
    }
    LineError(Line, QStringLiteral("missing closing quote"));
}

TPieces ValuePieces(const QString &Value, int Line)
{
    if (!Value.startsWith(u'"'))
        return {{Value}};
    qsizetype I = 0;
    TPieces Pieces = Unquote(Value, I, Line);
    if (I != Value.size())
        LineError(Line, QStringLiteral("text after the closing quote"));
    return Pieces;
}

qint64 NumberValue(const QString &Value, qint64 Min, qint64 Max, const QString &What, int Line)
{
    qint64 Number = 0;
    if (!TryStrToInt(Value, Number) || Number < Min || Number > Max)
        LineError(Line, QStringLiteral("\"%1\" is not %2").arg(Value, What));
    return Number;
}

QByteArray Int32Bytes(qint32 Value)
{
    QByteArray Bytes(4, '\0');
    qToLittleEndian(Value, Bytes.data());
    return Bytes;
}

QByteArray HexBytes(const QString &Hex, int Line)
{
    QByteArray Bytes;
    for (qsizetype I = 0; I + 1 < Hex.size(); I += 2) {
        const int High = HexDigit(Hex[I]), Low = HexDigit(Hex[I + 1]);
        if (High < 0 || Low < 0)
            break;
        Bytes.append(char(High * 16 + Low));
    }
    if (Bytes.size() * 2 != Hex.size())
        LineError(Line, QStringLiteral("\"%1\" is not hexadecimal bytes").arg(Hex));
    return Bytes;
}

QString Hex(const QByteArray &Bytes) { return QString::fromLatin1(Bytes.toHex().toUpper()); }

struct TIniValue
{
    QByteArray Name;
    QByteArray Data;
    int Line = 0;
    bool Placed = false;
};

struct TIniLayoutLine
{
    QString Key;
    QStringList Fields;
    int Line = 0;
};

struct TIni
{
    QList<TIniValue> Values[ValueSections];
    QList<TIniLayoutLine> Layout;
};

using TFileSource = std::function<std::optional<QByteArray>(const QString &FileName)>;

TIni ReadIni(const QString &Text, const TFileSource &File)
{
    TAutoFree<TStringList> Lines(TStringList::Create());
    Lines->SetText(Text);
    TIni Ini;
    TCodePage CodePage;
    TSection Section = secNone;
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

        TPieces Name;
        QString Value;
        if (Text.startsWith(u'"')) {
            qsizetype End = 0;
            Name = Unquote(Text, End, Line);
            const QString Rest = Trim(Text.mid(End));
            if (!Rest.startsWith(u'='))
                LineError(Line, QStringLiteral("expected = after the quoted name"));
            Value = Trim(Rest.mid(1));
        } else {
            const int Equals = Text.indexOf(u'=');
            if (Equals < 0)
                LineError(Line, QStringLiteral("expected name=value"));
            if (Trim(Text.left(Equals)).isEmpty())
                LineError(Line, QStringLiteral("entry without a name"));
            Name = {{Trim(Text.left(Equals))}};
            Value = Trim(Text.mid(Equals + 1));
        }
        if (Section == secNone)
            LineError(Line, QStringLiteral("entry before the first section"));
        if (Section == secLayout) {
            Ini.Layout.append({PiecesText(Name), Value.split(u' ', Qt::SkipEmptyParts), Line});
            continue;
        }

        TIniValue Entry{CodePage.Bytes(Name, Line), {}, Line};
        if (Entry.Name.size() > KIV_THEME_NAME_SIZE)
            LineError(Line, QStringLiteral("name \"%1\" is longer than %2 bytes").arg(EscapeThemeText(PiecesText(Name))).arg(KIV_THEME_NAME_SIZE));
        const TPieces Pieces = ValuePieces(Value, Line);
        switch (Section) {
        case secFiles: {
            const std::optional<QByteArray> Bytes = File(PiecesText(Pieces));
            if (!Bytes)
                LineError(Line, QStringLiteral("no file \"%1\"").arg(PiecesText(Pieces)));
            Entry.Data = *Bytes;
            break;
        }
        case secStrings:
            Entry.Data = CodePage.Bytes(Pieces, Line);
            break;
        case secIntegers:
            // Hexadecimal colours such as 0xFF000014 are written unsigned; they are the same 32 bits.
            Entry.Data = Int32Bytes(qint32(quint32(NumberValue(PiecesText(Pieces), std::numeric_limits<qint32>::min(),
                                                               std::numeric_limits<quint32>::max(), QStringLiteral("a 32-bit integer"), Line))));
            break;
        case secFlags:
            // Any non-zero byte reads as True, and the byte itself is what the theme holds.
            Entry.Data = QByteArray(1, char(NumberValue(PiecesText(Pieces), 0, 255, QStringLiteral("a flag byte (0 to 255)"), Line)));
            break;
        default:
            break;
        }
        Ini.Values[Section].append(Entry);
    }
    return Ini;
}

QList<TkivThemeValue> WriterOrder(const QList<TIniValue> (&Values)[ValueSections])
{
    QList<TkivThemeValue> Entries;
    for (int S = 0; S < ValueSections; ++S)
        for (const TIniValue &V : Values[S])
            Entries.append({V.Name, SectionTypes[S], V.Data});
    return Entries;
}

// The theme's bytes with each part where [layout] puts it. Parts may overlap where the bytes agree,
// as entries sharing their data do; bytes no line gives stay zero.
class TPlacedTheme
{
public:
    void Place(qint64 Position, const QByteArray &Bytes, int Line)
    {
        if (Position < 0 || Position + Bytes.size() > std::numeric_limits<qint32>::max())
            LineError(Line, QStringLiteral("position %1 lies outside a theme file").arg(Position));
        if (FBytes.size() < Position + Bytes.size()) {
            FBytes.resize(Position + Bytes.size(), '\0');
            FPlaced.resize(FBytes.size(), false);
        }
        for (qsizetype I = 0; I < Bytes.size(); ++I) {
            const qsizetype At = Position + I;
            if (FPlaced[At] && FBytes[At] != Bytes[I])
                LineError(Line, QStringLiteral("the byte at %1 differs from what an earlier line put there").arg(At));
            FBytes[At] = Bytes[I];
            FPlaced[At] = true;
        }
    }
    const QByteArray &Bytes() const { return FBytes; }

private:
    QByteArray FBytes;
    QList<bool> FPlaced;
};

qint32 PositionField(const TIniLayoutLine &L, int Field)
{
    if (L.Fields.size() <= Field)
        LineError(L.Line, QStringLiteral("%1 needs a position").arg(L.Key));
    return qint32(NumberValue(L.Fields[Field], 0, std::numeric_limits<qint32>::max(), QStringLiteral("a file position"), L.Line));
}

QByteArray RawHeader(const TIniLayoutLine &L)
{
    const QByteArray Raw = HexBytes(L.Fields.value(1), L.Line);
    if (Raw.size() != KIV_THEME_ENTRY_SIZE)
        LineError(L.Line, QStringLiteral("an entry header is %1 bytes").arg(KIV_THEME_ENTRY_SIZE));
    return Raw;
}

qint32 NextField(const QByteArray &RawHeader) { return qFromLittleEndian<qint32>(RawHeader.constData() + 73); }

QByteArray PackLayout(TIni &Ini)
{
    TPlacedTheme Theme;
    // The chain's lines: "files N" and the like, "other" (an entry of a type no section holds) and "end".
    QList<int> Chain;
    bool HasHeader = false;
    for (int I = 0; I < Ini.Layout.size(); ++I) {
        const QString Key = Ini.Layout[I].Key.section(u' ', 0, 0);
        if (SectionNamed(Key) < ValueSections || SameText(Key, QStringLiteral("other")) || SameText(Key, QStringLiteral("end")))
            Chain.append(I);
    }
    if (Chain.isEmpty() || !SameText(Ini.Layout[Chain.back()].Key, QStringLiteral("end")))
        LineError(Ini.Layout.isEmpty() ? 0 : Ini.Layout.back().Line, QStringLiteral("[layout] ends its chain with an end line"));

    for (int I = 0; I < Ini.Layout.size(); ++I) {
        const TIniLayoutLine &L = Ini.Layout[I];
        const QString Key = L.Key.section(u' ', 0, 0);
        const int ChainIndex = Chain.indexOf(I);
        const qint32 Next = ChainIndex >= 0 && ChainIndex + 1 < Chain.size() ? PositionField(Ini.Layout[Chain[ChainIndex + 1]], 0) : 0;
        const TSection Section = SectionNamed(Key);
        if (SameText(L.Key, QStringLiteral("header"))) {
            const QByteArray Header = HexBytes(L.Fields.value(0), L.Line);
            if (Header.size() != KIV_THEME_HEADER_SIZE)
                LineError(L.Line, QStringLiteral("the header is %1 bytes").arg(KIV_THEME_HEADER_SIZE));
            Theme.Place(0, Header, L.Line);
            HasHeader = true;
        } else if (Section < ValueSections) {
            bool Ok = false;
            const int N = L.Key.section(u' ', 1).toInt(&Ok);
            if (!Ok || N < 1 || N > Ini.Values[Section].size())
                LineError(L.Line, QStringLiteral("[%1] has no entry %2").arg(Key, L.Key.section(u' ', 1)));
            TIniValue &V = Ini.Values[Section][N - 1];
            if (V.Placed)
                LineError(L.Line, QStringLiteral("%1 is placed twice").arg(L.Key));
            V.Placed = true;
            const qint32 Data = PositionField(L, 1);
            QByteArray NameField = V.Name;
            if (L.Fields.size() > 2)
                NameField += '\0' + HexBytes(L.Fields[2], L.Line);
            if (NameField.size() > KIV_THEME_NAME_SIZE)
                LineError(L.Line, QStringLiteral("the name and the rest of its field take more than %1 bytes").arg(KIV_THEME_NAME_SIZE));
            Theme.Place(PositionField(L, 0), KivThemeEntryHeader(NameField, SectionTypes[Section], Data, qint32(V.Data.size()), Next), L.Line);
            Theme.Place(Data, V.Data, L.Line);
        } else if (SameText(Key, QStringLiteral("other")) || SameText(Key, QStringLiteral("end"))) {
            const QByteArray Header = L.Fields.size() > 1 ? RawHeader(L) : KivThemeEntryHeader({}, KIV_ENTRY_FLAG, 0, 0, 0);
            if (NextField(Header) != Next)
                LineError(L.Line, Next ? QStringLiteral("its next entry is not at the position of the chain's next line")
                                       : QStringLiteral("the end of the chain names a next entry"));
            Theme.Place(PositionField(L, 0), Header, L.Line);
        } else if (SameText(Key, QStringLiteral("fill"))) {
            Theme.Place(PositionField(L, 0), HexBytes(L.Fields.value(1), L.Line), L.Line);
        } else {
            LineError(L.Line, QStringLiteral("unknown layout line \"%1\"").arg(L.Key));
        }
    }
    if (!HasHeader)
        LineError(Ini.Layout.front().Line, QStringLiteral("[layout] gives no header"));
    for (int S = 0; S < ValueSections; ++S)
        for (const TIniValue &V : Ini.Values[S])
            if (!V.Placed)
                LineError(V.Line, QStringLiteral("the entry has no place in [layout]; without [layout] pack lays the theme out anew"));

    // The header's first entry and every next field must lead through the chain as listed.
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(Theme.Bytes());
    try {
        TAutoFree<TkivThemeFileReader> Reader(TkivThemeFileReader::Create(static_cast<TStream *>(Stream.get())));
        bool Same = Reader->Chain().size() == Chain.size();
        for (int I = 0; Same && I < Chain.size(); ++I)
            Same = Reader->Chain()[I].Position == PositionField(Ini.Layout[Chain[I]], 0);
        if (!Same)
            throw EReadError(QStringLiteral("the header does not lead to the chain's first line"));
    } catch (const EReadError &E) {
        throw Exception(QStringLiteral("%1 [layout] gives a damaged theme: %2").arg(IniName, E.Message()));
    }
    return Theme.Bytes();
}

// Entry names come from the file: only letters, digits, '-' and '_' reach the file system, so a name
// can never lead out of the folder.
QString PictureFileName(const TPieces &Name, const QByteArray &Data, QSet<QString> &Taken)
{
    QString Base;
    for (const TPiece &P : Name) {
        const QChar C = P.Byte < 0 ? P.Text[0] : QChar(u'_');
        Base += (C.unicode() < 0x80 && (C.isLetterOrNumber() || C == u'-' || C == u'_')) ? C : QChar(u'_');
    }
    if (Base.isEmpty())
        Base = QStringLiteral("_");
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

QByteArray PackTheme(const QString &IniText, const TFileSource &File)
{
    TIni Ini = ReadIni(IniText, File);
    if (!Ini.Layout.isEmpty())
        return PackLayout(Ini);
    return KivThemeFileBytes(WriterOrder(Ini.Values), IniName);
}

TkivThemeFolder UnpackTheme(const QByteArray &Theme)
{
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(Theme);
    TAutoFree<TkivThemeFileReader> Reader(TkivThemeFileReader::Create(static_cast<TStream *>(Stream.get())));

    TkivThemeFolder Folder;
    TCodePage CodePage;
    QSet<QString> Taken;
    QString Sections[ValueSections];
    QList<TIniValue> Values[ValueSections];
    QString Layout = QStringLiteral("header=") + Hex(Theme.left(KIV_THEME_HEADER_SIZE)) + u'\n';
    QList<bool> Covered(Theme.size(), false);
    auto Cover = [&Covered](qint64 Position, qint64 Length) {
        for (qint64 I = Position; I < Position + Length; ++I)
            Covered[I] = true;
    };
    Cover(0, KIV_THEME_HEADER_SIZE);

    const QList<TkivThemeEntry> &Chain = Reader->Chain();
    for (const TkivThemeEntry &E : Chain) {
        Cover(E.Position, KIV_THEME_ENTRY_SIZE);
        const QByteArray Header = Theme.mid(E.Position, KIV_THEME_ENTRY_SIZE);
        const TSection Section = SectionOfType(E.Type);
        if (E.Next == 0) {
            Layout += QStringLiteral("end=%1").arg(E.Position)
                + (Header == KivThemeEntryHeader({}, KIV_ENTRY_FLAG, 0, 0, 0) ? QString() : u' ' + Hex(Header)) + u'\n';
            continue;
        }
        if (Section == secNone) {
            Layout += QStringLiteral("other=%1 %2\n").arg(E.Position).arg(Hex(Header));
            continue;
        }
        const QByteArray Name = E.NameField.left(qstrnlen(E.NameField.constData(), KIV_THEME_NAME_SIZE));
        // What the name field holds after the name's end, up to its last non-zero byte.
        QByteArray Rest = E.NameField.mid(Name.size() + 1);
        while (Rest.endsWith('\0'))
            Rest.chop(1);
        const QByteArray Data = Theme.mid(E.DataOffset, E.Length);
        Cover(E.DataOffset, E.Length);
        Values[Section].append({Name, Data});
        Layout += QStringLiteral("%1 %2=%3 %4").arg(QLatin1String(SectionNames[Section])).arg(Values[Section].size()).arg(E.Position).arg(E.DataOffset)
            + (Rest.isEmpty() ? QString() : u' ' + Hex(Rest)) + u'\n';

        const TPieces NamePieces = CodePage.Split(Name);
        QString Value;
        switch (Section) {
        case secFiles:
            Value = PictureFileName(NamePieces, Data, Taken);
            Folder.Files.insert(Value, Data);
            break;
        case secStrings: Value = Quoted(CodePage.Split(Data)); break;
        case secIntegers: Value = IntToStr(qFromLittleEndian<qint32>(Data.constData())); break;
        case secFlags: Value = IntToStr(int(quint8(Data[0]))); break;
        default: break;
        }
        Sections[Section] += NameInIni(NamePieces) + u'=' + Value + u'\n';
    }
    for (qsizetype Start = 0; Start < Theme.size(); ++Start) {
        if (Covered[Start])
            continue;
        qsizetype End = Start;
        while (End < Theme.size() && !Covered[End])
            ++End;
        Layout += QStringLiteral("fill=%1 %2\n").arg(Start).arg(Hex(Theme.mid(Start, End - Start)));
        Start = End;
    }

    for (int S = 0; S < ValueSections; ++S)
        Folder.Ini += (S ? QStringLiteral("\n[") : QStringLiteral("[")) + QLatin1String(SectionNames[S]) + QStringLiteral("]\n") + Sections[S];
    if (KivThemeFileBytes(WriterOrder(Values), IniName) != Theme)
        Folder.Ini += QStringLiteral("\n[layout]\n"
                                     "; Where each part lies in the file, as read. Pack keeps these places; without this\n"
                                     "; section it lays the entries out anew, as the library's writer does.\n")
            + Layout;
    return Folder;
}

void PackThemeFolder(const QString &Dir, const QString &OutFile)
{
    TAutoFree<TStringList> Lines(TStringList::Create());
    Lines->LoadFromFile(QDir(Dir).filePath(IniName));
    const QByteArray Theme = PackTheme(Lines->Text(), [&Dir](const QString &FileName) -> std::optional<QByteArray> {
        const QString Path = QDir(Dir).filePath(FileName);
        if (!FileExists(Path))
            return std::nullopt;
        QFile File(Path);
        if (!File.open(QIODevice::ReadOnly))
            throw EFOpenError(QStringLiteral("Cannot open \"%1\": %2").arg(Path, File.errorString()));
        return File.readAll();
    });
    TAutoFree<TFileStream> File(TFileStream::Create(OutFile, fmCreate));
    File->WriteBuffer(Theme);
}

void UnpackThemeFolder(const QByteArray &Theme, const QString &Dir)
{
    const TkivThemeFolder Folder = UnpackTheme(Theme);
    if (!QDir().mkpath(Dir))
        throw EFCreateError(QStringLiteral("Cannot make the folder \"%1\"").arg(Dir));
    for (auto I = Folder.Files.cbegin(); I != Folder.Files.cend(); ++I)
        WriteFile(QDir(Dir).filePath(I.key()), I.value());
    WriteFile(QDir(Dir).filePath(IniName), Folder.Ini.toUtf8());
}
