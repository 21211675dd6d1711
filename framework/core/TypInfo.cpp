#include "framework/core/TypInfo.h"

// ---- TClassInfo --------------------------------------------------------------------------------

TClassInfo::TClassInfo(const char *Name, TClass Parent, TObject *(*NewInstance)())
    : FName(QString::fromLatin1(Name)), FParent(Parent), FNewInstance(NewInstance)
{
    Seal();
}

bool TClassInfo::InheritsFrom(TClass C) const
{
    for (TClass P = this; P; P = P->FParent)
        if (P == C)
            return true;
    return false;
}

const TPropInfo *TClassInfo::FindProperty(const QString &Name) const
{
    return FPropertyIndex.value(Name.toLower());
}

const TMethodInfo *TClassInfo::FindMethod(const QString &Name) const
{
    for (TClass C = this; C; C = C->FParent)
        for (const auto &M : C->FMethods)
            if (M->Name.compare(Name, Qt::CaseInsensitive) == 0)
                return M.get();
    return nullptr;
}

const TFieldInfo *TClassInfo::FindField(const QString &Name) const
{
    for (TClass C = this; C; C = C->FParent)
        for (const auto &F : C->FFields)
            if (F->Name.compare(Name, Qt::CaseInsensitive) == 0)
                return F.get();
    return nullptr;
}

QList<const TFieldInfo *> TClassInfo::Fields() const
{
    QList<const TFieldInfo *> Result = FParent ? FParent->Fields() : QList<const TFieldInfo *>();
    for (const auto &F : FFields)
        Result.append(F.get());
    return Result;
}

TPropInfo *TClassInfo::AddProperty(std::unique_ptr<TPropInfo> Info)
{
    FOwnProperties.push_back(std::move(Info));
    return FOwnProperties.back().get();
}

void TClassInfo::AddMethod(std::unique_ptr<TMethodInfo> Info)
{
    FMethods.push_back(std::move(Info));
}

void TClassInfo::AddField(std::unique_ptr<TFieldInfo> Info)
{
    FFields.push_back(std::move(Info));
}

// A redeclared property takes its ancestor's place in the list, so writers keep a stable order.
void TClassInfo::Seal()
{
    FProperties = FParent ? FParent->FProperties : QList<const TPropInfo *>();
    for (const auto &Own : FOwnProperties) {
        qsizetype At = -1;
        for (qsizetype I = 0; I < FProperties.size() && At < 0; ++I)
            if (FProperties[I]->Name.compare(Own->Name, Qt::CaseInsensitive) == 0)
                At = I;
        if (At >= 0)
            FProperties[At] = Own.get();
        else
            FProperties.append(Own.get());
    }
    FPropertyIndex.clear();
    for (const TPropInfo *P : FProperties)
        FPropertyIndex.insert(P->Name.toLower(), P);
}

// ---- lookup ------------------------------------------------------------------------------------

const TPropInfo *GetPropInfo(TClass C, const QString &PropName)
{
    return C ? C->FindProperty(PropName) : nullptr;
}

const TPropInfo *GetPropInfo(const TObject *Obj, const QString &PropName)
{
    return Obj ? GetPropInfo(Obj->ClassType(), PropName) : nullptr;
}

bool IsPublishedProp(TClass C, const QString &PropName)
{
    return GetPropInfo(C, PropName) != nullptr;
}

bool IsPublishedProp(const TObject *Obj, const QString &PropName)
{
    return GetPropInfo(Obj, PropName) != nullptr;
}

QList<const TPropInfo *> GetPropList(TClass C)
{
    return C ? C->Properties() : QList<const TPropInfo *>();
}

QList<const TPropInfo *> GetPropList(const TObject *Obj)
{
    return Obj ? GetPropList(Obj->ClassType()) : QList<const TPropInfo *>();
}

namespace {
const TPropInfo *FindPropInfo(const TObject *Obj, const QString &PropName)
{
    const TPropInfo *Info = GetPropInfo(Obj, PropName);
    if (!Info)
        throw EPropertyError(QStringLiteral("Property %1 does not exist in %2")
                                 .arg(PropName, Obj ? Obj->ClassName() : QStringLiteral("nil")));
    return Info;
}

qint64 OrdinalFromText(const TPropInfo *Info, const QString &Text)
{
    QString Ident = Text.trimmed();
    if (Info->Kind == tkEnumeration) {
        int Value = GetEnumValue(Info->EnumType, Ident);
        if (Value < 0)
            throw EPropertyError(QStringLiteral("Invalid property value %1 for %2").arg(Ident, Info->Name));
        return Value;
    }
    if (Info->Kind == tkSet)
        return StringToSet(Info, Ident);
    qint64 Value = 0;
    if (Info->Idents && IdentToInt(Ident, Value, *Info->Idents))
        return Value;
    if (!TryStrToInt(Ident, Value))
        throw EPropertyError(QStringLiteral("Invalid property value %1 for %2").arg(Ident, Info->Name));
    return Value;
}

// Brings a value given as text (or as a bool, int ...) to the property's canonical variant.
QVariant Canonical(const TPropInfo *Info, const QVariant &Value)
{
    const bool IsText = Value.typeId() == QMetaType::QString;
    switch (Info->Kind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        return QVariant(IsText ? OrdinalFromText(Info, Value.toString()) : Value.toLongLong());
    case tkFloat:
        return QVariant(Value.toDouble());
    case tkString:
        return QVariant(Value.toString());
    case tkClass:
        if (!Value.isValid() || Value.isNull())
            return QVariant::fromValue<TObject *>(nullptr);
        return Value;
    case tkMethod:
        if (!Value.isValid() || Value.isNull())
            return QVariant::fromValue(TMethod());
        return Value;
    case tkUnknown:
        break;
    }
    return Value;
}
} // namespace

QVariant GetPropValue(const TObject *Obj, const TPropInfo *PropInfo)
{
    return PropInfo->Get(Obj);
}

QVariant GetPropValue(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, FindPropInfo(Obj, PropName));
}

void SetPropValue(TObject *Obj, const TPropInfo *PropInfo, const QVariant &Value)
{
    if (!PropInfo->IsWritable())
        throw EPropertyError(QStringLiteral("Property %1 is read-only").arg(PropInfo->Name));
    PropInfo->Set(Obj, Canonical(PropInfo, Value));
}

void SetPropValue(TObject *Obj, const QString &PropName, const QVariant &Value)
{
    SetPropValue(Obj, FindPropInfo(Obj, PropName), Value);
}

qint64 GetOrdProp(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, PropName).toLongLong();
}

void SetOrdProp(TObject *Obj, const QString &PropName, qint64 Value)
{
    SetPropValue(Obj, PropName, QVariant(Value));
}

QString GetEnumProp(const TObject *Obj, const QString &PropName)
{
    const TPropInfo *Info = FindPropInfo(Obj, PropName);
    return GetEnumName(Info->EnumType, int(GetPropValue(Obj, Info).toLongLong()));
}

void SetEnumProp(TObject *Obj, const QString &PropName, const QString &Value)
{
    SetPropValue(Obj, PropName, QVariant(Value));
}

QString GetSetProp(const TObject *Obj, const QString &PropName, bool Brackets)
{
    const TPropInfo *Info = FindPropInfo(Obj, PropName);
    return SetToString(Info, GetPropValue(Obj, Info).toLongLong(), Brackets);
}

void SetSetProp(TObject *Obj, const QString &PropName, const QString &Value)
{
    SetPropValue(Obj, PropName, QVariant(Value));
}

QString GetStrProp(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, PropName).toString();
}

void SetStrProp(TObject *Obj, const QString &PropName, const QString &Value)
{
    SetPropValue(Obj, PropName, QVariant(Value));
}

double GetFloatProp(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, PropName).toDouble();
}

void SetFloatProp(TObject *Obj, const QString &PropName, double Value)
{
    SetPropValue(Obj, PropName, QVariant(Value));
}

TObject *GetObjectProp(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, PropName).value<TObject *>();
}

void SetObjectProp(TObject *Obj, const QString &PropName, TObject *Value)
{
    SetPropValue(Obj, PropName, QVariant::fromValue(Value));
}

TMethod GetMethodProp(const TObject *Obj, const QString &PropName)
{
    return GetPropValue(Obj, PropName).value<TMethod>();
}

void SetMethodProp(TObject *Obj, const QString &PropName, const TMethod &Value)
{
    SetPropValue(Obj, PropName, QVariant::fromValue(Value));
}

bool IsDefaultPropValue(const TObject *Obj, const TPropInfo *PropInfo)
{
    QVariant Value = GetPropValue(Obj, PropInfo);
    switch (PropInfo->Kind) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
        return PropInfo->Default && *PropInfo->Default == Value.toLongLong();
    case tkFloat:
        return Value.toDouble() == 0.0;
    case tkString:
        return Value.toString().isEmpty();
    case tkClass:
        return Value.value<TObject *>() == nullptr;
    case tkMethod:
        return Value.value<TMethod>().IsNull();
    case tkUnknown:
        break;
    }
    return false;
}

// ---- enumerations, sets, identifiers -----------------------------------------------------------

QString GetEnumName(const TEnumInfo *Info, int Value)
{
    return Info ? Info->NameOf(Value) : QString();
}

int GetEnumValue(const TEnumInfo *Info, const QString &Name)
{
    return Info ? Info->ValueOf(Name.trimmed()) : -1;
}

QString SetToString(const TEnumInfo *ElementInfo, qint64 Value, bool Brackets)
{
    QStringList Names;
    for (int I = 0; I < ElementInfo->Count(); ++I)
        if (quint64(Value) & (quint64(1) << I))
            Names.append(ElementInfo->NameOf(I));
    QString Text = Names.join(QLatin1Char(','));
    return Brackets ? QLatin1Char('[') + Text + QLatin1Char(']') : Text;
}

qint64 StringToSet(const TEnumInfo *ElementInfo, const QString &Value)
{
    QString Text = Value.trimmed();
    if (Text.startsWith(QLatin1Char('[')) != Text.endsWith(QLatin1Char(']')) || Text == QLatin1String("["))
        throw EPropertyError(QStringLiteral("Invalid set value %1").arg(Value));
    if (Text.startsWith(QLatin1Char('[')))
        Text = Text.mid(1, Text.size() - 2);
    qint64 Result = 0;
    if (Text.trimmed().isEmpty())
        return Result;
    for (const QString &Item : Text.split(QLatin1Char(','))) {
        int Ordinal = ElementInfo->ValueOf(Item.trimmed());
        if (Ordinal < 0)
            throw EPropertyError(QStringLiteral("Invalid property element: %1").arg(Item.trimmed()));
        Result |= qint64(1) << Ordinal;
    }
    return Result;
}

QString SetToString(const TPropInfo *PropInfo, qint64 Value, bool Brackets)
{
    return SetToString(PropInfo->EnumType, Value, Brackets);
}

qint64 StringToSet(const TPropInfo *PropInfo, const QString &Value)
{
    return StringToSet(PropInfo->EnumType, Value);
}

bool IdentToInt(const QString &Ident, qint64 &Int, const TIdentMap &Map)
{
    for (const TIdentMapEntry &Entry : Map)
        if (Entry.Name.compare(Ident, Qt::CaseInsensitive) == 0) {
            Int = Entry.Value;
            return true;
        }
    return false;
}

bool IntToIdent(qint64 Int, QString &Ident, const TIdentMap &Map)
{
    for (const TIdentMapEntry &Entry : Map)
        if (Entry.Value == Int) {
            Ident = Entry.Name;
            return true;
        }
    return false;
}

// ---- published methods and fields --------------------------------------------------------------

const TMethodInfo *GetMethodInfo(TClass C, const QString &Name)
{
    return C ? C->FindMethod(Name) : nullptr;
}

const TFieldInfo *GetFieldInfo(TClass C, const QString &Name)
{
    return C ? C->FindField(Name) : nullptr;
}

std::any BindMethod(TMethod &Method, std::type_index Signature)
{
    const TMethodInfo *Info = GetMethodInfo(Method.Data->ClassType(), Method.Name);
    if (!Info)
        throw EPropertyError(QStringLiteral("Method %1 not found in %2").arg(Method.Name, Method.Data->ClassName()));
    if (Info->Signature != Signature)
        throw EPropertyError(QStringLiteral("Method %1 of %2 does not match the event's parameters")
                                 .arg(Method.Name, Method.Data->ClassName()));
    Method.Name = Info->Name;
    return Info->Bind(Method.Data);
}
