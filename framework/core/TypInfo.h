#pragma once
// Run-time type information: each class's metaclass (TClassInfo) with its published properties,
// methods and fields, registered next to the class in its .cpp:
//
//   KIV_PUBLISHED(TFoo)
//   {
//       Property("Left", &TFoo::Left, &TFoo::SetLeft).Default(0);
//       Property("Color", &TFoo::Color, &TFoo::SetColor).Idents(&ColorIdents);
//       Property("OnClick", &TFoo::OnClick);          // an event member
//       Method("Button1Click", &TFoo::Button1Click);  // for events bound by name
//       Field("Button1", &TFoo::Button1);             // bound to the streamed component Button1
//   }
//
// A table inherits its ancestor's; lookup ignores case and the most-derived declaration wins.
// The kind follows the value type: integers tkInteger, bool and KIV_ENUM types tkEnumeration,
// TSet<E> tkSet, floating point tkFloat, QString tkString, pointers to framework classes tkClass,
// TEvent<Sig> tkMethod. Values travel as QVariant: ordinals (sets as bits) as qint64, floats as
// double, strings as QString, objects as TObject*, events as TMethod.

#include "framework/core/Object.h"
#include "framework/core/SysUtils.h"

#include <QHash>
#include <QList>
#include <QVariant>
#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <typeindex>
#include <vector>

Q_DECLARE_METATYPE(TObject *)
Q_DECLARE_METATYPE(TMethod)

enum TTypeKind { tkUnknown, tkInteger, tkEnumeration, tkSet, tkFloat, tkString, tkClass, tkMethod };

// Identifier names of integer values (colours, charsets, cursors).
struct TIdentMapEntry
{
    qint64 Value;
    QString Name;
};
using TIdentMap = QList<TIdentMapEntry>;

struct TPropInfo
{
    QString Name;
    TTypeKind Kind = tkUnknown;
    const TEnumInfo *EnumType = nullptr;      // tkEnumeration, and the element type of tkSet
    TClass (*ClassFn)() = nullptr;            // tkClass (resolved late: a class may name itself)
    const TIdentMap *Idents = nullptr;        // tkInteger with identifier names
    std::optional<qint64> Default;            // ordinal default for the writer
    std::function<QVariant(const TObject *)> Get;
    std::function<void(TObject *, const QVariant &)> Set;      // empty: read-only
    std::function<bool(const TObject *)> StoredFn;              // empty: always stored

    TClass PropClass() const { return ClassFn ? ClassFn() : nullptr; }
    bool IsWritable() const { return bool(Set); }
    bool IsStored(const TObject *Obj) const { return !StoredFn || StoredFn(Obj); }
};

struct TMethodInfo
{
    QString Name;
    std::type_index Signature = typeid(void);
    std::function<std::any(TObject *Data)> Bind;   // a std::function<Signature> calling Data's method
};

struct TFieldInfo
{
    QString Name;
    TClass (*ClassFn)() = nullptr;
    std::function<TObject *(const TObject *)> Get;
    std::function<bool(TObject *, TObject *)> Set;   // false when the value is not of the field's class

    TClass FieldClass() const { return ClassFn ? ClassFn() : nullptr; }
};

class TClassInfo
{
public:
    TClassInfo(const char *Name, TClass Parent, TObject *(*NewInstance)());
    TClassInfo(const TClassInfo &) = delete;

    QString Name() const { return FName; }
    TClass Parent() const { return FParent; }
    bool InheritsFrom(TClass C) const;
    bool IsAbstract() const { return FNewInstance == nullptr; }

    const TPropInfo *FindProperty(const QString &Name) const;
    const QList<const TPropInfo *> &Properties() const { return FProperties; }   // ancestors' first
    const TMethodInfo *FindMethod(const QString &Name) const;
    const TFieldInfo *FindField(const QString &Name) const;
    QList<const TFieldInfo *> Fields() const;

    // Registration (KIV_PUBLISHED): own entries, then Seal() merges them over the ancestor's.
    TPropInfo *AddProperty(std::unique_ptr<TPropInfo> Info);
    void AddMethod(std::unique_ptr<TMethodInfo> Info);
    void AddField(std::unique_ptr<TFieldInfo> Info);
    void Seal();

private:
    friend TObject *KivDetail::NewInstance(TClass, TClass);
    QString FName;
    TClass FParent;
    TObject *(*FNewInstance)();
    std::vector<std::unique_ptr<TPropInfo>> FOwnProperties;
    std::vector<std::unique_ptr<TMethodInfo>> FMethods;
    std::vector<std::unique_ptr<TFieldInfo>> FFields;
    QList<const TPropInfo *> FProperties;
    QHash<QString, const TPropInfo *> FPropertyIndex;   // by lower-case name
};

// ---- value conversion per C++ type -----------------------------------------------------------

template <class Sig>
TEvent<Sig> BindEvent(const TMethod &Method);

template <class V>
struct TPropTraits
{
    static constexpr bool Supported = false;
};

template <class V>
    requires(std::is_integral_v<V> && !std::is_same_v<V, bool>)
struct TPropTraits<V>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkInteger;
    static QVariant ToVariant(V Value) { return QVariant(qint64(Value)); }
    static V FromVariant(const QVariant &Value) { return V(Value.toLongLong()); }
    static qint64 ToOrdinal(V Value) { return qint64(Value); }
};

template <class V>
    requires(std::is_same_v<V, bool> || TNamedEnum<V>)
struct TPropTraits<V>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkEnumeration;
    static const TEnumInfo *Enum() { return EnumTypeInfo<V>(); }
    static QVariant ToVariant(V Value) { return QVariant(qint64(Value)); }
    static V FromVariant(const QVariant &Value) { return V(Value.toLongLong()); }
    static qint64 ToOrdinal(V Value) { return qint64(Value); }
};

template <class E>
struct TPropTraits<TSet<E>>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkSet;
    static const TEnumInfo *Enum() { return EnumTypeInfo<E>(); }
    static QVariant ToVariant(TSet<E> Value) { return QVariant(qint64(Value.Bits())); }
    static TSet<E> FromVariant(const QVariant &Value) { return TSet<E>::FromBits(quint64(Value.toLongLong())); }
    static qint64 ToOrdinal(TSet<E> Value) { return qint64(Value.Bits()); }
};

template <class V>
    requires std::is_floating_point_v<V>
struct TPropTraits<V>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkFloat;
    static QVariant ToVariant(V Value) { return QVariant(double(Value)); }
    static V FromVariant(const QVariant &Value) { return V(Value.toDouble()); }
};

template <>
struct TPropTraits<QString>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkString;
    static QVariant ToVariant(const QString &Value) { return QVariant(Value); }
    static QString FromVariant(const QVariant &Value) { return Value.toString(); }
};

template <class X>
    requires std::is_base_of_v<TObject, X>
struct TPropTraits<X *>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkClass;
    static TClass Class() { return X::StaticClass(); }
    static QVariant ToVariant(X *Value) { return QVariant::fromValue(static_cast<TObject *>(Value)); }
    static X *FromVariant(const QVariant &Value)
    {
        TObject *Obj = Value.value<TObject *>();
        X *Result = dynamic_cast<X *>(Obj);
        if (Obj && !Result)
            throw EPropertyError(QStringLiteral("Invalid property value: a %1 is not a %2")
                                     .arg(Obj->ClassName(), X::StaticClass()->Name()));
        return Result;
    }
};

template <class Sig>
struct TPropTraits<TEvent<Sig>>
{
    static constexpr bool Supported = true;
    static constexpr TTypeKind Kind = tkMethod;
    static QVariant ToVariant(const TEvent<Sig> &Value) { return QVariant::fromValue(Value.Method()); }
    static TEvent<Sig> FromVariant(const QVariant &Value) { return BindEvent<Sig>(Value.value<TMethod>()); }
};

namespace KivDetail {
template <class M>
struct TMemberFn;
template <class C, class R, class... A>
struct TMemberFn<R (C::*)(A...)>
{
    using Class = C;
    using Signature = R(A...);
    static constexpr bool IsConst = false;
};
template <class C, class R, class... A>
struct TMemberFn<R (C::*)(A...) const> : TMemberFn<R (C::*)(A...)>
{
    static constexpr bool IsConst = true;
};

template <class C, class R>
auto Getter(R (C::*Get)() const)
{
    return std::pair{[Get](const TObject *Obj) { return (static_cast<const C *>(Obj)->*Get)(); },
                     static_cast<std::remove_cvref_t<R> *>(nullptr)};
}
template <class C, class R>
auto Getter(R (C::*Get)())
{
    return std::pair{[Get](const TObject *Obj) { return (const_cast<C *>(static_cast<const C *>(Obj))->*Get)(); },
                     static_cast<std::remove_cvref_t<R> *>(nullptr)};
}
template <class C, class V>
    requires(!std::is_function_v<V>)
auto Getter(V C::*Field)
{
    return std::pair{[Field](const TObject *Obj) -> const V & { return static_cast<const C *>(Obj)->*Field; },
                     static_cast<V *>(nullptr)};
}

template <class V, class C, class P>
std::function<void(TObject *, const QVariant &)> Setter(void (C::*Set)(P))
{
    return [Set](TObject *Obj, const QVariant &Value) {
        (static_cast<C *>(Obj)->*Set)(TPropTraits<V>::FromVariant(Value));
    };
}
template <class V, class C, class F>
    requires(!std::is_function_v<F>)
std::function<void(TObject *, const QVariant &)> Setter(F C::*Field)
{
    return [Field](TObject *Obj, const QVariant &Value) {
        static_cast<C *>(Obj)->*Field = TPropTraits<V>::FromVariant(Value);
    };
}
template <class V>
std::function<void(TObject *, const QVariant &)> Setter(std::nullptr_t)
{
    return {};
}
} // namespace KivDetail

// Fluent settings of one registered property.
class TPropBuilder
{
public:
    explicit TPropBuilder(TPropInfo *Info) : FInfo(Info) {}
    template <class V>
    TPropBuilder &Default(V Value)
    {
        FInfo->Default = TPropTraits<V>::ToOrdinal(Value);
        return *this;
    }
    TPropBuilder &Idents(const TIdentMap *Map)
    {
        FInfo->Idents = Map;
        return *this;
    }
    // A const member function saying whether the value is worth storing.
    template <class C>
    TPropBuilder &Stored(bool (C::*Fn)() const)
    {
        FInfo->StoredFn = [Fn](const TObject *Obj) { return (static_cast<const C *>(Obj)->*Fn)(); };
        return *this;
    }

private:
    TPropInfo *FInfo;
};

template <class T>
class TClassBuilder
{
public:
    template <class TPublished>
    static const TClassInfo *Build(const char *Name)
    {
        TObject *(*NewInstance)() = nullptr;
        if constexpr (!std::is_abstract_v<T>)
            NewInstance = &TPublished::template NewInstance<T>;
        auto *Info = new TClassInfo(Name, T::inherited::StaticClass(), NewInstance);
        TPublished Published;
        Published.FInfo = Info;
        Published.Describe();
        Info->Seal();
        return Info;
    }

protected:
    // Getter: a const (or plain) member function or a data member; Setter: a member function
    // taking the value, a data member, or nullptr for a read-only property.
    template <class G, class S = std::nullptr_t>
    TPropBuilder Property(const char *Name, G Get, S Set = nullptr)
    {
        auto GetterAndType = KivDetail::Getter(Get);
        auto GetFn = GetterAndType.first;
        using V = std::remove_pointer_t<decltype(GetterAndType.second)>;
        using Traits = TPropTraits<V>;
        static_assert(Traits::Supported,
                      "unsupported published property type (enums need KIV_ENUM, objects a KIV_OBJECT class)");
        auto Info = std::make_unique<TPropInfo>();
        Info->Name = QString::fromLatin1(Name);
        Info->Kind = Traits::Kind;
        if constexpr (Traits::Kind == tkEnumeration || Traits::Kind == tkSet)
            Info->EnumType = Traits::Enum();
        if constexpr (Traits::Kind == tkClass)
            Info->ClassFn = &Traits::Class;
        Info->Get = [GetFn](const TObject *Obj) { return Traits::ToVariant(GetFn(Obj)); };
        Info->Set = KivDetail::Setter<V>(Set);
        return TPropBuilder(FInfo->AddProperty(std::move(Info)));
    }

    // A published method, e.g. an event handler of a form, bindable by name to events of its type.
    template <class M>
    void Method(const char *Name, M Fn)
    {
        using Traits = KivDetail::TMemberFn<M>;
        using C = typename Traits::Class;
        using Sig = typename Traits::Signature;
        auto Info = std::make_unique<TMethodInfo>();
        Info->Name = QString::fromLatin1(Name);
        Info->Signature = typeid(Sig);
        Info->Bind = [Fn](TObject *Data) -> std::any {
            C *Obj = static_cast<C *>(Data);
            return std::function<Sig>([Obj, Fn](auto &&...Args) -> decltype(auto) {
                return (Obj->*Fn)(std::forward<decltype(Args)>(Args)...);
            });
        };
        FInfo->AddMethod(std::move(Info));
    }

    // A published field: a pointer member set to the owned component of the same name.
    template <class C, class X>
    void Field(const char *Name, X *C::*Member)
    {
        static_assert(std::is_base_of_v<TObject, X>, "published fields point to framework classes");
        auto Info = std::make_unique<TFieldInfo>();
        Info->Name = QString::fromLatin1(Name);
        Info->ClassFn = &X::StaticClass;
        Info->Get = [Member](const TObject *Obj) -> TObject * { return static_cast<const C *>(Obj)->*Member; };
        Info->Set = [Member](TObject *Obj, TObject *Value) {
            X *Typed = dynamic_cast<X *>(Value);
            if (Value && !Typed)
                return false;
            static_cast<C *>(Obj)->*Member = Typed;
            return true;
        };
        FInfo->AddField(std::move(Info));
    }

    TClassInfo *FInfo = nullptr;
};

// Defines TSelf::StaticClass, registers the class by name, and opens the body that lists its
// published properties, methods and fields (may be empty).
#define KIV_PUBLISHED(TSelf)                                                                \
    struct TSelf##_Published : TClassBuilder<TSelf>                                         \
    {                                                                                       \
        void Describe();                                                                    \
        template <class TMe = TSelf>                                                        \
        static TObject *NewInstance()                                                       \
        {                                                                                   \
            return new TMe();                                                               \
        }                                                                                   \
    };                                                                                      \
    TClass TSelf::StaticClass()                                                             \
    {                                                                                       \
        static const TClassInfo *const Info = TSelf##_Published::Build<TSelf##_Published>(#TSelf); \
        return Info;                                                                        \
    }                                                                                       \
    [[maybe_unused]] static const bool TSelf##_Registered =                                 \
        KivDetail::AutoRegister(#TSelf, &TSelf::StaticClass);                               \
    void TSelf##_Published::Describe()

// ---- the classic access functions ------------------------------------------------------------

const TPropInfo *GetPropInfo(TClass C, const QString &PropName);          // nullptr when absent
const TPropInfo *GetPropInfo(const TObject *Obj, const QString &PropName);
bool IsPublishedProp(TClass C, const QString &PropName);
bool IsPublishedProp(const TObject *Obj, const QString &PropName);
QList<const TPropInfo *> GetPropList(TClass C);
QList<const TPropInfo *> GetPropList(const TObject *Obj);

// By name: raise EPropertyError when the property does not exist or (Set) is read-only. Setting
// accepts the canonical value or text: identifiers for enumerations and mapped integers, "[a,b]"
// for sets.
QVariant GetPropValue(const TObject *Obj, const QString &PropName);
QVariant GetPropValue(const TObject *Obj, const TPropInfo *PropInfo);
void SetPropValue(TObject *Obj, const QString &PropName, const QVariant &Value);
void SetPropValue(TObject *Obj, const TPropInfo *PropInfo, const QVariant &Value);

qint64 GetOrdProp(const TObject *Obj, const QString &PropName);
void SetOrdProp(TObject *Obj, const QString &PropName, qint64 Value);
QString GetEnumProp(const TObject *Obj, const QString &PropName);
void SetEnumProp(TObject *Obj, const QString &PropName, const QString &Value);
QString GetSetProp(const TObject *Obj, const QString &PropName, bool Brackets = true);
void SetSetProp(TObject *Obj, const QString &PropName, const QString &Value);
QString GetStrProp(const TObject *Obj, const QString &PropName);
void SetStrProp(TObject *Obj, const QString &PropName, const QString &Value);
double GetFloatProp(const TObject *Obj, const QString &PropName);
void SetFloatProp(TObject *Obj, const QString &PropName, double Value);
TObject *GetObjectProp(const TObject *Obj, const QString &PropName);
void SetObjectProp(TObject *Obj, const QString &PropName, TObject *Value);
TMethod GetMethodProp(const TObject *Obj, const QString &PropName);
void SetMethodProp(TObject *Obj, const QString &PropName, const TMethod &Value);

// Whether the writer may leave the property out: its declared default (ordinals), 0.0, empty
// text, nil object or unbound event.
bool IsDefaultPropValue(const TObject *Obj, const TPropInfo *PropInfo);

QString GetEnumName(const TEnumInfo *Info, int Value);        // empty when out of range
int GetEnumValue(const TEnumInfo *Info, const QString &Name); // ignores case; -1 when unknown
QString SetToString(const TEnumInfo *ElementInfo, qint64 Value, bool Brackets = true);
qint64 StringToSet(const TEnumInfo *ElementInfo, const QString &Value);   // raises EPropertyError
QString SetToString(const TPropInfo *PropInfo, qint64 Value, bool Brackets = true);
qint64 StringToSet(const TPropInfo *PropInfo, const QString &Value);

bool IdentToInt(const QString &Ident, qint64 &Int, const TIdentMap &Map);   // ignores case
bool IntToIdent(qint64 Int, QString &Ident, const TIdentMap &Map);

// Published methods and fields, searched from C up through its ancestors.
const TMethodInfo *GetMethodInfo(TClass C, const QString &Name);
const TFieldInfo *GetFieldInfo(TClass C, const QString &Name);
// The published method Method.Name of Method.Data as a closure (a std::function of Signature);
// raises EPropertyError when there is no such method or its signature differs. Method.Name takes
// the registered spelling.
std::any BindMethod(TMethod &Method, std::type_index Signature);

template <class Sig>
TEvent<Sig> BindEvent(const TMethod &Method)
{
    TEvent<Sig> Event;
    if (!Method.IsNull()) {
        TMethod Bound = Method;
        std::any Fn = BindMethod(Bound, typeid(Sig));
        Event.Bind(Bound, std::any_cast<std::function<Sig>>(std::move(Fn)));
    }
    return Event;
}
