#include "framework/core/Writer.h"
#include "framework/core/Streams.h"
#include "framework/core/TypInfo.h"

#include <QLocale>

#include <cmath>

namespace {

constexpr int MaxLineChars = 64;
constexpr int BinaryBytesPerLine = 32;
constexpr int MaxSubObjectDepth = 16;   // Font.Xxx.Yyy ...: guards against getters that loop

// The string as 'quoted' ASCII runs and #nnnn codes, cut into pieces of about MaxLineChars so a
// long string can be written as 'a' + 'b' lines.
QList<QByteArray> StringPieces(const QString &Value)
{
    QList<QByteArray> Pieces;
    QByteArray Piece;
    bool InQuote = false;
    auto Flush = [&]() {
        if (InQuote)
            Piece += '\'';
        InQuote = false;
        Pieces.append(Piece);
        Piece.clear();
    };
    for (const QChar Ch : Value) {
        const char16_t U = Ch.unicode();
        if (U >= 0x20 && U < 0x7F) {
            if (!InQuote) {
                Piece += '\'';
                InQuote = true;
            }
            Piece += char(U);
            if (U == '\'')
                Piece += '\'';
        } else {
            if (InQuote)
                Piece += '\'';
            InQuote = false;
            Piece += '#' + QByteArray::number(int(U));
        }
        if (Piece.size() >= MaxLineChars)
            Flush();
    }
    if (!Piece.isEmpty() || Pieces.isEmpty()) {
        if (Piece.isEmpty())
            Piece = "''";
        Flush();
    }
    return Pieces;
}

QByteArray FloatText(double Value)
{
    QByteArray Text = QByteArray::number(Value, 'g', QLocale::FloatingPointShortest);
    // Keep it a float when read back where no property says so (lists).
    if (!Text.contains('.') && !Text.contains('e'))
        Text += ".0";
    return Text;
}

} // namespace

void TWriter::Construct(TStream *AStream)
{
    inherited::Construct(AStream);
}

QByteArray TWriter::QuotedString(const QString &Value)
{
    return StringPieces(Value).join();
}

void TWriter::Emit(const QByteArray &Text)
{
    FStream->WriteBuffer(Text);
}

// ---------------------------------------------------------------------------------------------
// Objects

void TWriter::WriteRootComponent(TComponent *Root)
{
    SetRoot(Root);
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent *Component)
{
    const TComponentState OldState = Component->ComponentState();
    Component->SetComponentState(OldState + csWriting);
    struct TRestore
    {
        TComponent *C;
        ~TRestore() { C->SetComponentState(C->ComponentState() - csWriting); }
    } Restore{Component};
    const QByteArray Name = Component->Name().isEmpty() ? QByteArray() : Component->Name().toUtf8() + ": ";
    Emit(Indent() + "object " + Name + Component->ClassName().toUtf8() + "\n");
    ++FIndent;
    Component->WriteState(this);
    --FIndent;
    Emit(Indent() + "end\n");
}

void TWriter::WriteData(TComponent *Instance)
{
    WriteProperties(Instance);
    Instance->GetChildren([this](TComponent *Child) { WriteComponent(Child); }, Root());
}

void TWriter::WriteProperties(TPersistent *Instance)
{
    // A component's name is written in its object line.
    const bool IsComponent = dynamic_cast<TComponent *>(Instance) != nullptr;
    for (const TPropInfo *Prop : GetPropList(Instance))
        if (!(IsComponent && SameText(Prop->Name, QStringLiteral("Name"))))
            WriteProperty(Instance, Prop);
    Instance->DefineProperties(this);
}

// A property is written when it is stored and differs from its default; a class's Stored function
// that says yes writes it even at its default (e.g. an empty caption that would otherwise come
// back as the component's name).
void TWriter::WriteProperty(TPersistent *Instance, const TPropInfo *Prop)
{
    if (!Prop->IsStored(Instance))
        return;
    if (Prop->Kind == tkClass) {
        TObject *Value = GetPropValue(Instance, Prop).value<TObject *>();
        if (!Value)
            return;
        if (Prop->PropClass() && Prop->PropClass()->InheritsFrom(TComponent::StaticClass())) {
            const QString Name = ReferenceName(static_cast<TComponent *>(Value));
            if (Prop->IsWritable() && !Name.isEmpty()) {
                WritePropName(Prop->Name);
                WriteValue(Name.toUtf8());
            }
        } else if (auto *Collection = dynamic_cast<TCollection *>(Value)) {
            WritePropName(Prop->Name);
            WriteCollection(Collection);
        } else if (auto *Sub = dynamic_cast<TPersistent *>(Value)) {
            if (FPropPath.count(QLatin1Char('.')) >= MaxSubObjectDepth)
                return;
            const QString OldPath = FPropPath;
            FPropPath += Prop->Name + QLatin1Char('.');
            WriteProperties(Sub);
            FPropPath = OldPath;
        }
        return;
    }
    if (Prop->Kind == tkMethod) {
        const TMethod Method = GetPropValue(Instance, Prop).value<TMethod>();
        if (!Method.IsNull() && Method.Data == Root()) {
            WritePropName(Prop->Name);
            WriteIdent(Method.Name);
        }
        return;
    }
    if (!Prop->IsWritable() || (!Prop->StoredFn && IsDefaultPropValue(Instance, Prop)))
        return;
    const QVariant Value = GetPropValue(Instance, Prop);
    switch (Prop->Kind) {
    case tkInteger: {
        QString Ident;
        WritePropName(Prop->Name);
        if (Prop->Idents && IntToIdent(Value.toLongLong(), Ident, *Prop->Idents))
            WriteIdent(Ident);
        else
            WriteInteger(Value.toLongLong());
        break;
    }
    case tkEnumeration: {
        const QString Name = GetEnumName(Prop->EnumType, int(Value.toLongLong()));
        if (!Name.isEmpty()) {
            WritePropName(Prop->Name);
            WriteIdent(Name);
        }
        break;
    }
    case tkSet: {
        QStringList Names;
        const quint64 Bits = quint64(Value.toLongLong());
        for (int I = 0; I < 64; ++I)
            if (Bits & (quint64(1) << I)) {
                const QString Name = GetEnumName(Prop->EnumType, I);
                if (!Name.isEmpty())
                    Names.append(Name);
            }
        WritePropName(Prop->Name);
        WriteValue('[' + Names.join(QStringLiteral(", ")).toUtf8() + ']');
        break;
    }
    case tkFloat:
        if (std::isfinite(Value.toDouble())) {
            WritePropName(Prop->Name);
            WriteFloat(Value.toDouble());
        }
        break;
    case tkString:
        WritePropName(Prop->Name);
        WriteString(Value.toString());
        break;
    default:
        break;
    }
}

void TWriter::WriteCollection(TCollection *Collection)
{
    const QString OldPath = std::exchange(FPropPath, QString());
    Emit("<");
    ++FIndent;
    for (int I = 0; I < Collection->Count(); ++I) {
        Emit("\n" + Indent() + "item\n");
        ++FIndent;
        WriteProperties(Collection->Items(I));
        --FIndent;
        Emit(Indent() + "end");
    }
    --FIndent;
    Emit(">\n");
    FPropPath = OldPath;
}

void TWriter::DefineProperty(const QString &Name, TReaderProc, TWriterProc WriteData, bool HasData)
{
    if (HasData && WriteData) {
        WritePropName(Name);
        WriteData(this);
    }
}

void TWriter::DefineBinaryProperty(const QString &Name, TStreamProc, TStreamProc WriteData, bool HasData)
{
    if (HasData && WriteData) {
        TAutoFree<TMemoryStream> Data(TMemoryStream::Create());
        WriteData(Data.get());
        WritePropName(Name);
        WriteBinary(Data->Bytes());
    }
}

QString TWriter::ReferenceName(TComponent *Component) const
{
    if (Component == Root() || Component->Owner() == Root())
        return Component->Name();
    if (Component->Owner() && !Component->Owner()->Name().isEmpty() && !Component->Name().isEmpty())
        return Component->Owner()->Name() + QLatin1Char('.') + Component->Name();
    return QString();
}

// ---------------------------------------------------------------------------------------------
// Values

void TWriter::WritePropName(const QString &Name)
{
    Emit(Indent() + (FPropPath + Name).toUtf8() + " = ");
}

// Outside a list a value ends its property's line; inside, each value takes a line of its own.
void TWriter::WriteValue(const QByteArray &Text)
{
    if (FListDepth > 0)
        Emit("\n" + Indent() + Text);
    else
        Emit(Text + "\n");
}

void TWriter::WriteListBegin()
{
    Emit("(");
    ++FListDepth;
    ++FIndent;
}

void TWriter::WriteListEnd()
{
    --FIndent;
    --FListDepth;
    Emit(FListDepth > 0 ? ")" : ")\n");
}

void TWriter::WriteString(const QString &Value)
{
    const QList<QByteArray> Pieces = StringPieces(Value);
    if (Pieces.size() == 1) {
        WriteValue(Pieces.first());
        return;
    }
    // A long string starts on a line of its own and goes on with '+'.
    if (FListDepth == 0)
        ++FIndent;
    QByteArray Text;
    for (int I = 0; I < Pieces.size(); ++I)
        Text += (I == 0 ? QByteArray() : " +\n" + Indent()) + Pieces[I];
    if (FListDepth == 0) {
        Emit("\n" + Indent() + Text + "\n");
        --FIndent;
    } else {
        WriteValue(Text);
    }
}

void TWriter::WriteInteger(qint64 Value)
{
    WriteValue(QByteArray::number(Value));
}

void TWriter::WriteBoolean(bool Value)
{
    WriteValue(Value ? "True" : "False");
}

void TWriter::WriteFloat(double Value)
{
    WriteValue(FloatText(Value));
}

void TWriter::WriteIdent(const QString &Ident)
{
    WriteValue(Ident.toUtf8());
}

void TWriter::WriteBinary(const QByteArray &Data)
{
    QByteArray Text = "{";
    ++FIndent;
    for (qsizetype I = 0; I < Data.size(); I += BinaryBytesPerLine)
        Text += "\n" + Indent() + Data.mid(I, BinaryBytesPerLine).toHex().toUpper();
    --FIndent;
    Text += "}";
    WriteValue(Text);
}

// ---------------------------------------------------------------------------------------------

QByteArray WriteComponentToText(TComponent *Instance)
{
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    TAutoFree<TWriter> Writer(TWriter::Create(Stream.get()));
    Writer->WriteRootComponent(Instance);
    return Stream->Bytes();
}

KIV_PUBLISHED(TWriter) {}
