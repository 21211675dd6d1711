#include "skin/theme/Kivthemefile.h"

#include "framework/core/TypInfo.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <limits>

KIV_PUBLISHED(TkivThemeFileWriter) {}
KIV_PUBLISHED(TkivThemeFileReader) {}

namespace {

const char *const AnsiCodePage = "Big5";

// The code page keeps ASCII as it is; only other text pays for a converter, which is costly to open.
QByteArray ToAnsi(const QString &Text)
{
    if (std::all_of(Text.cbegin(), Text.cend(), [](QChar C) { return C.unicode() < 0x80; }))
        return Text.toLatin1();
    QStringEncoder Encoder(AnsiCodePage, QStringConverter::Flag::Stateless);
    return Encoder.encode(Text);
}

QString FromAnsi(QByteArrayView Bytes)
{
    if (std::all_of(Bytes.cbegin(), Bytes.cend(), [](char C) { return uchar(C) < 0x80; }))
        return QString::fromLatin1(Bytes);
    QStringDecoder Decoder(AnsiCodePage, QStringConverter::Flag::Stateless);
    return Decoder.decode(Bytes);
}

// The stored name: at most 64 bytes, never cutting a double-byte character in two.
QByteArray EntryName(const QString &Name)
{
    QString Text = Name;
    QByteArray Bytes = ToAnsi(Text);
    while (Bytes.size() > KIV_THEME_NAME_SIZE) {
        Text.chop(Text.size() > 1 && Text.back().isLowSurrogate() ? 2 : 1);
        Bytes = ToAnsi(Text);
    }
    return Bytes;
}

void PutInt32(QByteArray &Out, qint32 Value)
{
    char Bytes[4];
    qToLittleEndian(Value, Bytes);
    Out.append(Bytes, 4);
}

qint32 GetInt32(const QByteArray &Data, qint64 Pos)
{
    return qFromLittleEndian<qint32>(Data.constData() + Pos);
}

// Offsets in the file are signed 32-bit.
void CheckFits(qint64 Position, const QString &FileName)
{
    if (Position > std::numeric_limits<qint32>::max())
        throw EWriteError(QStringLiteral("Theme file \"%1\" would be larger than 2 GB").arg(FileName));
}

QByteArray ReadAll(TStream *Stream)
{
    Stream->SetPosition(0);
    const qint64 Size = Stream->Size();
    if (Size > std::numeric_limits<qint32>::max())
        throw EReadError(QStringLiteral("Theme file is larger than 2 GB"));
    QByteArray Data(Size, Qt::Uninitialized);
    Stream->ReadBuffer(Data.data(), Size);
    return Data;
}

TMemoryStream *StreamOf(const QByteArray &Bytes)
{
    TMemoryStream *Stream = TMemoryStream::Create();
    Stream->WriteBuffer(Bytes);
    Stream->SetPosition(0);
    return Stream;
}

TStringList *NewList(bool OwnsObjects = false)
{
    TStringList *List = TStringList::Create();
    List->SetOwnsObjects(OwnsObjects);
    return List;
}

} // namespace

// ---- layout ----

QByteArray KivThemeEntryHeader(const QByteArray &NameField, quint8 Type, qint32 DataOffset, qint32 Length, qint32 Next)
{
    Q_ASSERT(NameField.size() <= KIV_THEME_NAME_SIZE);
    QByteArray Header = NameField.left(KIV_THEME_NAME_SIZE);
    Header.resize(KIV_THEME_NAME_SIZE, '\0');
    Header.append(char(Type));
    PutInt32(Header, DataOffset);
    PutInt32(Header, Length);
    PutInt32(Header, Next);
    return Header;
}

QByteArray KivThemeFileBytes(const QList<TkivThemeValue> &Values, const QString &FileName)
{
    QByteArray Out(KIV_THEME_MAGIC);
    Out.resize(12, '\0');
    PutInt32(Out, KIV_THEME_HEADER_SIZE);
    PutInt32(Out, 1);
    PutInt32(Out, KIV_THEME_HEADER_SIZE);
    for (const TkivThemeValue &V : Values) {
        const qint64 DataOffset = Out.size() + KIV_THEME_ENTRY_SIZE;
        const qint64 Next = DataOffset + V.Data.size();
        CheckFits(Next, FileName);
        Out.append(KivThemeEntryHeader(V.Name, V.Type, qint32(DataOffset), qint32(V.Data.size()), qint32(Next)));
        Out.append(V.Data);
    }
    Out.append(KivThemeEntryHeader({}, KIV_ENTRY_FLAG, 0, 0, 0));
    return Out;
}

// ---- writer ----

void TkivThemeFileWriter::Construct(const QString &FileName)
{
    inherited::Construct();
    FFileName = FileName;
    FFiles.reset(NewList());
    FIntegers.reset(NewList());
    FFlags.reset(NewList());
    FStrings.reset(NewList());
}

void TkivThemeFileWriter::BeforeDestruction()
{
    if (FPending)
        Save();
    inherited::BeforeDestruction();
}

void TkivThemeFileWriter::AddFile(const QString &Name, const QString &FilePath)
{
    FFiles->Add(Name + u'=' + FilePath);
    FPending = true;
}

void TkivThemeFileWriter::AddStr(const QString &Name, const QString &Value)
{
    FStrings->Add(Name + u'=' + Value);
    FPending = true;
}

void TkivThemeFileWriter::AddInteger(const QString &Name, qint32 Value)
{
    FIntegers->Add(Name + u'=' + IntToStr(Value));
    FPending = true;
}

void TkivThemeFileWriter::AddBool(const QString &Name, bool Value)
{
    FFlags->Add(Name + (Value ? QStringLiteral("=1") : QStringLiteral("=0")));
    FPending = true;
}

void TkivThemeFileWriter::Save()
{
    // A failed save reports itself; Free() does not try it again.
    FPending = false;

    // Each value is fetched again by name, so of two lines with the same name both get the first's value.
    QList<TkivThemeValue> Values;
    qint64 Size = KIV_THEME_HEADER_SIZE;
    for (int I = 0; I < FFiles->Count(); ++I) {
        const QString Name = FFiles->Names(I);
        TAutoFree<TFileStream> Source(TFileStream::Create(FFiles->Values(Name), fmOpenRead | fmShareDenyWrite));
        Size += KIV_THEME_ENTRY_SIZE + Source->Size();
        CheckFits(Size, FFileName);
        Values.append({EntryName(Name), KIV_ENTRY_FILE, ReadAll(Source.get())});
    }
    for (int I = 0; I < FStrings->Count(); ++I) {
        const QString Name = FStrings->Names(I);
        Values.append({EntryName(Name), KIV_ENTRY_STRING, ToAnsi(FStrings->Values(Name))});
    }
    for (int I = 0; I < FIntegers->Count(); ++I) {
        const QString Name = FIntegers->Names(I);
        QByteArray Data;
        PutInt32(Data, qint32(StrToInt(FIntegers->Values(Name))));
        Values.append({EntryName(Name), KIV_ENTRY_INTEGER, Data});
    }
    for (int I = 0; I < FFlags->Count(); ++I) {
        const QString Name = FFlags->Names(I);
        Values.append({EntryName(Name), KIV_ENTRY_FLAG, QByteArray(1, char(StrToInt(FFlags->Values(Name)) & 0xFF))});
    }
    const QByteArray Out = KivThemeFileBytes(Values, FFileName);

    TAutoFree<TFileStream> File(TFileStream::Create(FFileName, fmCreate));
    File->WriteBuffer(Out);
}

// ---- reader ----

void TkivThemeFileReader::Construct(const QString &FileName)
{
    inherited::Construct();
    Clear();
    Load(FileName);
}

void TkivThemeFileReader::Construct(TStream *Stream)
{
    inherited::Construct();
    Clear();
    LoadFromStream(Stream);
}

void TkivThemeFileReader::Clear()
{
    FFiles.reset(NewList(true));
    FIntegers.reset(NewList());
    FFlags.reset(NewList());
    FStrings.reset(NewList());
    FChain.clear();
}

void TkivThemeFileReader::Load(const QString &FileName)
{
    QByteArray Data;
    {
        TAutoFree<TFileStream> File(TFileStream::Create(FileName, fmOpenRead | fmShareDenyNone));
        Data = ReadAll(File.get());
    }
    LoadFromBytes(Data, QStringLiteral("Damaged theme file \"%1\"").arg(FileName));
}

void TkivThemeFileReader::LoadFromStream(TStream *Stream)
{
    LoadFromBytes(ReadAll(Stream), QStringLiteral("Damaged theme file"));
}

// The whole chain is checked before anything is kept, so a damaged file leaves the reader empty.
void TkivThemeFileReader::LoadFromBytes(const QByteArray &Data, const QString &Source)
{
    Clear();
    const qint64 Size = Data.size();
    auto Fail = [&Source](const QString &What) { throw EReadError(Source + QStringLiteral(": ") + What); };

    if (Size < 16)
        Fail(QStringLiteral("%1 bytes is too short for the header").arg(Size));
    const qint32 HeaderSize = GetInt32(Data, 12);
    if (HeaderSize != KIV_THEME_HEADER_SIZE)
        Fail(QStringLiteral("header size %1 (24 expected)").arg(HeaderSize));
    if (Size < KIV_THEME_HEADER_SIZE)
        Fail(QStringLiteral("%1 bytes is too short for the header").arg(Size));

    TAutoFree<TStringList> Files(NewList(true)), Integers(NewList()), Flags(NewList()), Strings(NewList());
    QList<TkivThemeEntry> Chain;
    // Entries may point at shared data, but copies of it could then grow far beyond the file.
    qint64 Copied = 0;
    auto Copy = [&](qint64 Offset, qint64 Length, const QString &Name) {
        Copied += Length;
        if (Copied > Size)
            Fail(QStringLiteral("entry \"%1\" takes the entries' data past the %2 bytes of the file").arg(Name).arg(Size));
        return QByteArrayView(Data.constData() + Offset, Length);
    };
    qint64 Pos = GetInt32(Data, 20);
    for (;;) {
        if (Pos < KIV_THEME_HEADER_SIZE || Pos + KIV_THEME_ENTRY_SIZE > Size)
            Fail(QStringLiteral("entry header at %1 lies outside the file of %2 bytes").arg(Pos).arg(Size));
        const char *Entry = Data.constData() + Pos;
        const qint64 Next = GetInt32(Data, Pos + 73);
        Chain.append({Pos, QByteArray(Entry, KIV_THEME_NAME_SIZE), quint8(Entry[KIV_THEME_NAME_SIZE]),
                      GetInt32(Data, Pos + 65), GetInt32(Data, Pos + 69), Next});
        if (Next == 0)
            break;
        if (Next <= Pos)
            Fail(QStringLiteral("entry at %1 names %2 as the next entry, which does not move forward").arg(Pos).arg(Next));

        const QString Name = FromAnsi(QByteArrayView(Entry, qstrnlen(Entry, KIV_THEME_NAME_SIZE)));
        const quint8 Type = quint8(Entry[KIV_THEME_NAME_SIZE]);
        const qint64 Offset = GetInt32(Data, Pos + 65);
        const qint64 Length = GetInt32(Data, Pos + 69);
        auto CheckData = [&](qint64 Expected) {
            if (Expected >= 0 && Length != Expected)
                Fail(QStringLiteral("entry \"%1\" at %2 has %3 bytes of data (%4 expected)").arg(Name).arg(Pos).arg(Length).arg(Expected));
            if (Offset < 0 || Length < 0 || Offset + Length > Size)
                Fail(QStringLiteral("data of entry \"%1\" (%2 bytes at %3) lies outside the file of %4 bytes")
                         .arg(Name).arg(Length).arg(Offset).arg(Size));
        };
        switch (Type) {
        case KIV_ENTRY_FILE:
            CheckData(-1);
            Files->AddObject(Name, StreamOf(Copy(Offset, Length, Name).toByteArray()));
            break;
        case KIV_ENTRY_INTEGER:
            CheckData(4);
            Integers->Add(Name + u'=' + IntToStr(GetInt32(Data, Offset)));
            break;
        case KIV_ENTRY_FLAG:
            CheckData(1);
            Flags->Add(Name + u'=' + IntToStr(quint8(Data[Offset])));
            break;
        case KIV_ENTRY_STRING:
            CheckData(-1);
            Strings->Add(Name + u'=' + FromAnsi(Copy(Offset, Length, Name)));
            break;
        default:
            break;
        }
        Pos = Next;
    }
    FFiles = std::move(Files);
    FIntegers = std::move(Integers);
    FFlags = std::move(Flags);
    FStrings = std::move(Strings);
    FChain = std::move(Chain);
}

TMemoryStream *TkivThemeFileReader::GetFile(const QString &Name) const
{
    const int Index = FFiles->IndexOf(Name);
    if (Index < 0)
        return nullptr;
    auto *Stream = static_cast<TMemoryStream *>(FFiles->Objects(Index));
    Stream->SetPosition(0);
    return Stream;
}

qint32 TkivThemeFileReader::GetInteger(const QString &Name) const
{
    return qint32(StrToIntDef(FIntegers->Values(Name), -1));
}

bool TkivThemeFileReader::GetBool(const QString &Name) const
{
    return StrToIntDef(FFlags->Values(Name), 0) != 0;
}

QString TkivThemeFileReader::GetStr(const QString &Name) const
{
    return FStrings->Values(Name);
}

int TkivThemeFileReader::EntryCount() const
{
    return FFiles->Count() + FIntegers->Count() + FFlags->Count() + FStrings->Count();
}

// ---- recognition ----

bool IsKIVThemeFile(const QString &FileName)
{
    try {
        TAutoFree<TFileStream> File(TFileStream::Create(FileName, fmOpenRead | fmShareDenyNone));
        char Magic[12];
        File->ReadBuffer(Magic, sizeof(Magic));
        return QByteArray(Magic, qstrnlen(Magic, sizeof(Magic))) == KIV_THEME_MAGIC;
    } catch (const Exception &) {
        return false;
    }
}
