#pragma once
// Enumerations that know their names, and sets of them as bit flags (bit i = ordinal i), so that
// layouts and the property table can turn both into text and back.

#include <QString>
#include <QStringList>
#include <initializer_list>

// The names of an enumeration whose ordinals run 0..Count-1.
class TEnumInfo
{
public:
    // Names is the enumerator list as written, e.g. "alNone, alTop, alBottom".
    TEnumInfo(const char *TypeName, const char *Names);

    QString Name() const { return FName; }
    int Count() const { return int(FNames.size()); }
    QString NameOf(int Ordinal) const;              // empty when out of range
    int ValueOf(const QString &Ident) const;        // ignores case; -1 when unknown

private:
    QString FName;
    QStringList FNames;
};

// Declares an enumeration together with its names: KIV_ENUM(TAlign, alNone, alTop, alBottom).
// Enumerators take the ordinals 0..n-1 (no "= value").
#define KIV_ENUM(TName, ...)                                               \
    enum TName { __VA_ARGS__ };                                            \
    inline const TEnumInfo *KivEnumInfo(TName)                             \
    {                                                                      \
        static const TEnumInfo Info(#TName, #__VA_ARGS__);                 \
        return &Info;                                                      \
    }

// Boolean is an enumeration False/True.
const TEnumInfo *BooleanEnumInfo();

template <class E>
concept TNamedEnum = std::is_enum_v<E> && requires(E e) {
    { KivEnumInfo(e) } -> std::same_as<const TEnumInfo *>;
};

template <class E>
const TEnumInfo *EnumTypeInfo()
{
    if constexpr (std::is_same_v<E, bool>)
        return BooleanEnumInfo();
    else
        return KivEnumInfo(E{});
}

// A set of an enumeration with at most 64 members: TFontStyles S{fsBold, fsItalic}.
template <class E>
class TSet
{
public:
    using TElement = E;
    constexpr TSet() = default;
    constexpr TSet(E Element) : FBits(Bit(Element)) {}
    constexpr TSet(std::initializer_list<E> Elements)
    {
        for (E Element : Elements)
            FBits |= Bit(Element);
    }
    static constexpr TSet FromBits(quint64 Bits)
    {
        TSet S;
        S.FBits = Bits;
        return S;
    }

    constexpr quint64 Bits() const { return FBits; }
    constexpr bool Contains(E Element) const { return (FBits & Bit(Element)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr TSet &Include(E Element) { FBits |= Bit(Element); return *this; }
    constexpr TSet &Exclude(E Element) { FBits &= ~Bit(Element); return *this; }

    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    constexpr TSet &operator+=(TSet Other) { FBits |= Other.FBits; return *this; }
    constexpr TSet &operator-=(TSet Other) { FBits &= ~Other.FBits; return *this; }
    constexpr bool operator==(const TSet &) const = default;

private:
    static constexpr quint64 Bit(E Element) { return quint64(1) << unsigned(Element); }
    quint64 FBits = 0;
};

template <class T>
struct TIsSet : std::false_type {};
template <class E>
struct TIsSet<TSet<E>> : std::true_type {};
