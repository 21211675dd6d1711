#include "framework/core/Reader.h"
#include "framework/core/LayoutParser.h"
#include "framework/core/Streams.h"
#include "framework/core/TypInfo.h"

namespace {

TObject *ObjectValue(const TObject *Obj, const TPropInfo *Prop)
{
    return GetPropValue(Obj, Prop).value<TObject *>();
}

bool IsComponentClass(TClass C)
{
    return C && C->InheritsFrom(TComponent::StaticClass());
}

} // namespace

void TReader::Construct(TStream *AStream)
{
    inherited::Construct(AStream);
    QByteArray Text(qMax<qint64>(0, AStream->Size() - AStream->Position()), Qt::Uninitialized);
    AStream->ReadBuffer(Text.data(), Text.size());
    FParser = std::make_unique<TParser>(Text);
}

TReader::~TReader() = default;

int TReader::SourceLine() const
{
    return FParser->SourceLine();
}

void TReader::Nest()
{
    if (++FDepth > MaxNesting)
        FParser->Error(QStringLiteral("nesting deeper than %1 levels").arg(MaxNesting));
}

// ---------------------------------------------------------------------------------------------
// Objects

TComponent *TReader::ReadRootComponent(TComponent *Root)
{
    SetRoot(Root);
    FOwner = Root;
    FParent = nullptr;
    TParser &P = *FParser;
    if (P.TokenSymbolIs("inherited") || P.TokenSymbolIs("inline"))
        P.Error(QStringLiteral("'%1' layouts are not supported").arg(P.TokenString()));
    QString Name, ClassName;
    const int Line = ReadObjectHeader(Name, ClassName);
    bool ClassFits = false;
    for (TClass C = Root->ClassType(); C && !ClassFits; C = C->Parent())
        ClassFits = SameText(C->Name(), ClassName);
    if (!ClassFits)
        throw EReadError(QStringLiteral("Line %1: a layout of %2 cannot be read into a %3")
                             .arg(Line)
                             .arg(ClassName, Root->ClassName()));

    Root->SetComponentState(Root->ComponentState() + csLoading + csReading);
    FLoaded.clear();
    FFixups.clear();
    FLoaded.append(Root);
    try {
        // Another root of the same owner may already have the name: make it unique.
        QString Unique = Name;
        for (int I = 1; Root->Owner() && Root->Owner()->FindComponent(Unique) &&
                        Root->Owner()->FindComponent(Unique) != Root;
             ++I)
            Unique = QStringLiteral("%1_%2").arg(Name).arg(I);
        Root->SetName(Unique);
        Root->ReadState(this);
        P.CheckToken(TParser::toEOF);
        Root->SetComponentState(Root->ComponentState() - csReading);
        FixupReferences();
    } catch (...) {
        // A failed read runs no Loaded; the components read so far stay owned by the root.
        for (TComponent *C : std::as_const(FLoaded))
            C->SetComponentState(C->ComponentState() - csLoading - csReading);
        FLoaded.clear();
        FFixups.clear();
        throw;
    }
    const QList<TComponent *> Loaded = std::exchange(FLoaded, {});
    for (TComponent *C : Loaded)
        C->Loaded();
    return Root;
}

void TReader::ReadData(TComponent *Instance)
{
    TParser &P = *FParser;
    auto Unsupported = [&P]() {
        if (P.TokenSymbolIs("inherited") || P.TokenSymbolIs("inline"))
            P.Error(QStringLiteral("'%1' objects are not supported").arg(P.TokenString()));
    };
    while (!P.TokenSymbolIs("end") && !P.TokenSymbolIs("object")) {
        Unsupported();
        if (P.Token() != TParser::toSymbol)
            P.ErrorExpected(QStringLiteral("property name or 'end'"));
        ReadProperty(Instance);
    }
    TComponent *const OldParent = FParent;
    TComponent *const OldOwner = FOwner;
    FParent = Instance->GetChildParent();
    FOwner = Instance->GetChildOwner() ? Instance->GetChildOwner() : Root();
    while (!P.TokenSymbolIs("end")) {
        Unsupported();
        if (!P.TokenSymbolIs("object"))
            P.ErrorExpected(QStringLiteral("'object' or 'end'"));
        ReadChildComponent();
    }
    FParent = OldParent;
    FOwner = OldOwner;
    P.NextToken();
}

// "object Name: TClass", or "object TClass" for a component without a name. Returns the line of
// the class name and leaves the token after it.
int TReader::ReadObjectHeader(QString &Name, QString &ClassName)
{
    TParser &P = *FParser;
    P.CheckSymbol("object");
    P.NextToken();
    P.CheckToken(TParser::toSymbol);
    ClassName = P.TokenString();
    int Line = P.SourceLine();
    P.NextToken();
    Name.clear();
    // A second name on the same line means a header that lacks its ':'.
    if (P.TokenCharIs(':') || (P.Token() == TParser::toSymbol && P.SourceLine() == Line)) {
        Name = ClassName;
        P.CheckChar(':');
        P.NextToken();
        P.CheckToken(TParser::toSymbol);
        ClassName = P.TokenString();
        Line = P.SourceLine();
        P.NextToken();
    }
    return Line;
}

TComponent *TReader::ReadChildComponent()
{
    QString Name, ClassName;
    const int Line = ReadObjectHeader(Name, ClassName);
    const TClass C = GetClass(ClassName);
    if (!C)
        throw EClassNotFound(QStringLiteral("Line %1: class %2 not found").arg(Line).arg(ClassName));
    if (!IsComponentClass(C) || C->IsAbstract())
        throw EReadError(QStringLiteral("Line %1: %2 is not a class of components that can be created")
                             .arg(Line)
                             .arg(C->Name()));
    if (!Name.isEmpty() && FOwner->FindComponent(Name))
        throw EReadError(QStringLiteral("Line %1: a component named %2 already exists").arg(Line).arg(Name));
    Nest();

    TComponent *Result = CreateComponent(C, FOwner);
    Result->SetComponentState(Result->ComponentState() + csLoading + csReading);
    FLoaded.append(Result);
    Result->SetName(Name);
    if (Result->HasParent())
        Result->SetParentComponent(FParent);
    Result->ReadState(this);
    Result->SetComponentState(Result->ComponentState() - csReading);
    Unnest();
    return Result;
}

// ---------------------------------------------------------------------------------------------
// Properties

void TReader::ReadProperty(TPersistent *Instance)
{
    TParser &P = *FParser;
    if (auto *Component = dynamic_cast<TComponent *>(Instance)) {
        FPropComponent = Component;
        FPropPath.clear();
    }
    const int Line = P.SourceLine();
    QStringList Parts;
    P.CheckToken(TParser::toSymbol);
    Parts.append(P.TokenString());
    P.NextToken();
    while (P.TokenCharIs('.')) {
        if (Parts.size() == MaxPathParts)
            P.Error(QStringLiteral("property path longer than %1 parts").arg(MaxPathParts));
        P.NextToken();
        P.CheckToken(TParser::toSymbol);
        Parts.append(P.TokenString());
        P.NextToken();
    }
    P.CheckChar('=');
    P.NextToken();

    auto Unknown = [&](TObject *Obj, const QString &Name) {
        throw EReadError(QStringLiteral("Line %1: %2 has no property '%3'").arg(Line).arg(Obj->ClassName(), Name));
    };
    TPersistent *Obj = Instance;
    const QStringList OuterPath = FPropPath;
    for (int I = 0; I + 1 < Parts.size(); ++I) {
        const TPropInfo *Prop = GetPropInfo(Obj, Parts[I]);
        if (!Prop || Prop->Kind != tkClass)
            Unknown(Obj, Parts[I]);
        auto *Sub = dynamic_cast<TPersistent *>(ObjectValue(Obj, Prop));
        if (!Sub)
            throw EReadError(QStringLiteral("Line %1: %2.%3 holds no object").arg(Line).arg(Obj->ClassName(), Parts[I]));
        FPropPath.append(Prop->Name);
        Obj = Sub;
    }
    const QString Name = Parts.last();
    if (const TPropInfo *Prop = GetPropInfo(Obj, Name)) {
        ReadPropValue(Obj, Prop);
    } else {
        FPropName = Name;
        Obj->DefineProperties(this);
        if (!FPropName.isEmpty()) {
            FPropName.clear();
            Unknown(Obj, Name);
        }
    }
    FPropPath = OuterPath;
}

void TReader::ReadPropValue(TPersistent *Instance, const TPropInfo *Prop)
{
    TParser &P = *FParser;
    auto Invalid = [&]() {
        P.Error(QStringLiteral("invalid value %1 for %2").arg(P.DescribeToken(), Prop->Name));
    };
    if (Prop->Kind == tkClass) {
        if (P.TokenCharIs('<')) {
            auto *Collection = dynamic_cast<TCollection *>(ObjectValue(Instance, Prop));
            if (!Collection)
                Invalid();
            FPropPath.append(Prop->Name);
            ReadCollection(Collection);
            FPropPath.removeLast();
        } else if (P.Token() == TParser::toSymbol && IsComponentClass(Prop->PropClass())) {
            ReadReference(Instance, Prop);
        } else {
            Invalid();
        }
        return;
    }
    if (Prop->Kind == tkMethod) {
        ReadMethod(Instance, Prop);
        return;
    }
    if (!Prop->IsWritable())
        P.Error(QStringLiteral("property %1 of %2 is read-only").arg(Prop->Name, Instance->ClassName()));

    QVariant Value;
    switch (Prop->Kind) {
    case tkInteger: {
        qint64 Int = 0;
        if (P.Token() == TParser::toInteger)
            Int = P.TokenInt();
        else if (!(P.Token() == TParser::toSymbol && Prop->Idents && IdentToInt(P.TokenString(), Int, *Prop->Idents)))
            Invalid();
        Value = Int;
        P.NextToken();
        break;
    }
    case tkEnumeration: {
        const int Ordinal = P.Token() == TParser::toSymbol ? GetEnumValue(Prop->EnumType, P.TokenString()) : -1;
        if (Ordinal < 0)
            Invalid();
        Value = qint64(Ordinal);
        P.NextToken();
        break;
    }
    case tkSet:
        Value = ReadSetValue(Prop);
        break;
    case tkFloat:
        if (P.Token() != TParser::toFloat && P.Token() != TParser::toInteger)
            Invalid();
        Value = ReadFloat();
        break;
    case tkString:
        if (P.Token() != TParser::toString)
            Invalid();
        Value = ReadString();
        break;
    default:
        Invalid();
    }
    SetPropValue(Instance, Prop, Value);
}

qint64 TReader::ReadSetValue(const TPropInfo *Prop)
{
    TParser &P = *FParser;
    P.CheckChar('[');
    P.NextToken();
    quint64 Bits = 0;
    if (!P.TokenCharIs(']')) {
        for (;;) {
            const int Ordinal = P.Token() == TParser::toSymbol ? GetEnumValue(Prop->EnumType, P.TokenString()) : -1;
            if (Ordinal < 0 || Ordinal >= 64)
                P.Error(QStringLiteral("invalid set element %1 for %2").arg(P.DescribeToken(), Prop->Name));
            Bits |= quint64(1) << Ordinal;
            P.NextToken();
            if (P.TokenCharIs(']'))
                break;
            P.CheckChar(',');
            P.NextToken();
        }
    }
    P.NextToken();
    return qint64(Bits);
}

void TReader::ReadReference(TPersistent *Instance, const TPropInfo *Prop)
{
    TParser &P = *FParser;
    if (!Prop->IsWritable())
        P.Error(QStringLiteral("property %1 of %2 is read-only").arg(Prop->Name, Instance->ClassName()));
    const int Line = P.SourceLine();
    QString Reference = P.TokenString();
    P.NextToken();
    while (P.TokenCharIs('.')) {
        P.NextToken();
        P.CheckToken(TParser::toSymbol);
        Reference += QLatin1Char('.') + P.TokenString();
        P.NextToken();
        if (Reference.size() > 1024)
            P.Error(QStringLiteral("component reference too long"));
    }
    if (SameText(Reference, QStringLiteral("nil"))) {
        SetPropValue(Instance, Prop, QVariant::fromValue<TObject *>(nullptr));
        return;
    }
    FFixups.append(TFixup{FPropComponent, FPropPath, Prop->Name, Reference, Line});
}

void TReader::ReadMethod(TPersistent *Instance, const TPropInfo *Prop)
{
    TParser &P = *FParser;
    if (P.Token() != TParser::toSymbol)
        P.Error(QStringLiteral("invalid value %1 for %2").arg(P.DescribeToken(), Prop->Name));
    if (!Prop->IsWritable())
        P.Error(QStringLiteral("property %1 of %2 is read-only").arg(Prop->Name, Instance->ClassName()));
    const QString Name = P.TokenString();
    TMethod Method;
    if (!SameText(Name, QStringLiteral("nil"))) {
        const TMethodInfo *Info = GetMethodInfo(Root()->ClassType(), Name);
        if (!Info)
            P.Error(QStringLiteral("%1 has no method '%2'").arg(Root()->ClassName(), Name));
        Method = TMethod{Root(), Info->Name};
    }
    try {
        SetPropValue(Instance, Prop, QVariant::fromValue(Method));
    } catch (const EPropertyError &E) {
        P.Error(QStringLiteral("%1 cannot be bound to %2: %3").arg(Name, Prop->Name, E.Message()));
    }
    P.NextToken();
}

void TReader::ReadCollection(TCollection *Collection)
{
    TParser &P = *FParser;
    P.CheckChar('<');
    P.NextToken();
    Nest();
    Collection->BeginUpdate();
    try {
        ReadCollectionItems(Collection);
    } catch (...) {
        // The first error is the one to report; the update count must still come down.
        try {
            Collection->EndUpdate();
        } catch (...) {
        }
        throw;
    }
    Collection->EndUpdate();
    Unnest();
}

void TReader::ReadCollectionItems(TCollection *Collection)
{
    TParser &P = *FParser;
    const QStringList CollectionPath = FPropPath;
    TComponent *const Component = FPropComponent;
    // Always cleared, also by "<>", so a written empty collection reads back empty.
    Collection->Clear();
    while (!P.TokenCharIs('>')) {
        if (!P.TokenSymbolIs("item"))
            P.ErrorExpected(QStringLiteral("'item' or '>'"));
        P.NextToken();
        TCollectionItem *Item = Collection->Add();
        const QStringList ItemPath = CollectionPath + QStringList{QStringLiteral("#%1").arg(Item->Index())};
        while (!P.TokenSymbolIs("end")) {
            if (P.Token() != TParser::toSymbol)
                P.ErrorExpected(QStringLiteral("property name or 'end'"));
            FPropComponent = Component;
            FPropPath = ItemPath;
            ReadProperty(Item);
        }
        P.NextToken();
    }
    P.NextToken();
    FPropComponent = Component;
    FPropPath = CollectionPath;
}

void TReader::DefineProperty(const QString &Name, TReaderProc ReadData, TWriterProc, bool)
{
    if (ReadData && !FPropName.isEmpty() && SameText(Name, FPropName)) {
        FPropName.clear();
        ReadData(this);
    }
}

void TReader::DefineBinaryProperty(const QString &Name, TStreamProc ReadData, TStreamProc, bool)
{
    if (ReadData && !FPropName.isEmpty() && SameText(Name, FPropName)) {
        FPropName.clear();
        TAutoFree<TMemoryStream> Data(TMemoryStream::Create());
        Data->WriteBuffer(FParser->HexToBinary());
        Data->SetPosition(0);
        ReadData(Data.get());
    }
}

// ---------------------------------------------------------------------------------------------
// Values

bool TReader::EndOfList()
{
    return FParser->TokenCharIs(')');
}

void TReader::ReadListBegin()
{
    FParser->CheckChar('(');
    FParser->NextToken();
    Nest();
}

void TReader::ReadListEnd()
{
    FParser->CheckChar(')');
    FParser->NextToken();
    Unnest();
}

QString TReader::ReadString()
{
    TParser &P = *FParser;
    P.CheckToken(TParser::toString);
    QString Result = P.TokenString();
    P.NextToken();
    while (P.TokenCharIs('+')) {
        P.NextToken();
        P.CheckToken(TParser::toString);
        Result += P.TokenString();
        P.NextToken();
    }
    return Result;
}

qint64 TReader::ReadInteger()
{
    FParser->CheckToken(TParser::toInteger);
    const qint64 Result = FParser->TokenInt();
    FParser->NextToken();
    return Result;
}

bool TReader::ReadBoolean()
{
    TParser &P = *FParser;
    const bool Result = P.TokenSymbolIs("True");
    if (!Result && !P.TokenSymbolIs("False"))
        P.ErrorExpected(QStringLiteral("True or False"));
    P.NextToken();
    return Result;
}

double TReader::ReadFloat()
{
    TParser &P = *FParser;
    double Result = 0;
    if (P.Token() == TParser::toFloat)
        Result = P.TokenFloat();
    else if (P.Token() == TParser::toInteger)
        Result = double(P.TokenInt());
    else
        P.ErrorExpected(QStringLiteral("number"));
    P.NextToken();
    return Result;
}

QString TReader::ReadIdent()
{
    FParser->CheckToken(TParser::toSymbol);
    const QString Result = FParser->TokenString();
    FParser->NextToken();
    return Result;
}

// ---------------------------------------------------------------------------------------------
// Fix-ups

TComponent *TReader::FindReference(const QString &Reference) const
{
    const QStringList Parts = Reference.split(QLatin1Char('.'));
    TComponent *Result = SameText(Parts.first(), Root()->Name()) ? Root() : Root()->FindComponent(Parts.first());
    for (int I = 1; Result && I < Parts.size(); ++I)
        Result = Result->FindComponent(Parts[I]);
    return Result;
}

void TReader::FixupReferences()
{
    // Setters run here may read more references; take the list as it stands.
    const QList<TFixup> Fixups = std::exchange(FFixups, {});
    for (const TFixup &F : Fixups) {
        TObject *Obj = F.Component;
        for (const QString &Step : F.Path) {
            if (!Obj)
                break;
            if (Step.startsWith(QLatin1Char('#'))) {
                auto *Collection = dynamic_cast<TCollection *>(Obj);
                const int Index = Step.mid(1).toInt();
                Obj = Collection && Index < Collection->Count() ? Collection->Items(Index) : nullptr;
            } else {
                const TPropInfo *Prop = GetPropInfo(Obj, Step);
                Obj = Prop && Prop->Kind == tkClass ? ObjectValue(Obj, Prop) : nullptr;
            }
        }
        // The object was replaced after the reference was read (a collection refilled): nothing
        // is left to point.
        const TPropInfo *Prop = Obj ? GetPropInfo(Obj, F.PropName) : nullptr;
        if (!Prop)
            continue;
        TComponent *Target = FindReference(F.Reference);
        if (!Target)
            throw EReadError(QStringLiteral("Line %1: component %2 not found (%3)").arg(F.Line).arg(F.Reference, F.PropName));
        if (!Target->InheritsFrom(Prop->PropClass()))
            throw EReadError(QStringLiteral("Line %1: %2 is a %3, which %4 cannot hold")
                                 .arg(F.Line)
                                 .arg(F.Reference, Target->ClassName(), F.PropName));
        SetPropValue(Obj, Prop, QVariant::fromValue<TObject *>(Target));
    }
}

// ---------------------------------------------------------------------------------------------

TComponent *ReadComponentFromText(const QByteArray &Text, TComponent *Instance)
{
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(Text);
    Stream->SetPosition(0);
    TAutoFree<TReader> Reader(TReader::Create(Stream.get()));
    return Reader->ReadRootComponent(Instance);
}

TComponent *ReadComponentRes(const QString &ResName, TComponent *Instance)
{
    TAutoFree<TResourceStream> Stream(TResourceStream::Create(ResName, RT_RCDATA));
    TAutoFree<TReader> Reader(TReader::Create(Stream.get()));
    return Reader->ReadRootComponent(Instance);
}

KIV_PUBLISHED(TReader) {}
