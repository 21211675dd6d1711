// Published properties, methods and fields: lookup, every kind, text forms, events by name.

#include "framework/core/Classes.h"
#include "framework/core/TypInfo.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

KIV_ENUM(TTestAlign, taNone, taLeft, taRight)
KIV_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline)
using TTestStyles = TSet<TTestStyle>;

namespace {
const TIdentMap TestColors = {{0x0000FF, QStringLiteral("clRed")}, {0x8000000F, QStringLiteral("clBtnFace")}};
}

class TPropHost : public TComponent
{
    KIV_OBJECT(TPropHost, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FLines = TStringList::Create();
    }
    ~TPropHost() override { FLines->Free(); }

    int Width() const { return FWidth; }
    void SetWidth(int Value)
    {
        ++SetWidthCalls;
        FWidth = Value;
    }
    qint64 Big() const { return FBig; }
    void SetBig(qint64 Value) { FBig = Value; }
    TTestAlign Align() const { return FAlign; }
    void SetAlign(TTestAlign Value) { FAlign = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value) { FVisible = Value; }
    TTestStyles Style() const { return FStyle; }
    void SetStyle(TTestStyles Value) { FStyle = Value; }
    double Ratio() const { return FRatio; }
    void SetRatio(double Value) { FRatio = Value; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value) { FCaption = Value; }
    TStringList *Lines() const { return FLines; }
    TComponent *Buddy() const { return FBuddy; }
    void SetBuddy(TComponent *Value) { FBuddy = Value; }
    QString Version() const { return QStringLiteral("5.8"); }

    TNotifyEvent OnClick;
    quint32 Color = 0;
    int SetWidthCalls = 0;

private:
    int FWidth = 10;
    qint64 FBig = 0;
    TTestAlign FAlign = taNone;
    bool FVisible = true;
    TTestStyles FStyle;
    double FRatio = 0;
    QString FCaption;
    TStringList *FLines = nullptr;
    TComponent *FBuddy = nullptr;
};

// Redeclares Caption with storage of its own.
class TPropHostEx : public TPropHost
{
    KIV_OBJECT(TPropHostEx, TPropHost)
public:
    QString TitleCaption() const { return FTitle; }
    void SetTitleCaption(const QString &Value) { FTitle = Value; }

private:
    QString FTitle;
};

class TPropRoot : public TComponent
{
    KIV_OBJECT(TPropRoot, TComponent)
public:
    void Button1Click(TObject *Sender) { Clicks << Sender; }
    void KeyDown(TObject *, int &Key) { Key = 0; }
    QList<TObject *> Clicks;
    TPropHost *Host1 = nullptr;
};

KIV_PUBLISHED(TPropHost)
{
    Property("Width", &TPropHost::Width, &TPropHost::SetWidth).Default(10);
    Property("Big", &TPropHost::Big, &TPropHost::SetBig);
    Property("Align", &TPropHost::Align, &TPropHost::SetAlign).Default(taNone);
    Property("Visible", &TPropHost::Visible, &TPropHost::SetVisible).Default(true);
    Property("Style", &TPropHost::Style, &TPropHost::SetStyle).Default(TTestStyles());
    Property("Ratio", &TPropHost::Ratio, &TPropHost::SetRatio);
    Property("Caption", &TPropHost::Caption, &TPropHost::SetCaption);
    Property("Lines", &TPropHost::Lines);
    Property("Buddy", &TPropHost::Buddy, &TPropHost::SetBuddy);
    Property("Version", &TPropHost::Version);
    Property("Color", &TPropHost::Color, &TPropHost::Color).Idents(&TestColors);
    Property("OnClick", &TPropHost::OnClick, &TPropHost::OnClick);
}

KIV_PUBLISHED(TPropHostEx)
{
    Property("Caption", &TPropHostEx::TitleCaption, &TPropHostEx::SetTitleCaption);
}

KIV_PUBLISHED(TPropRoot)
{
    Method("Button1Click", &TPropRoot::Button1Click);
    Method("KeyDown", &TPropRoot::KeyDown);
    Field("Host1", &TPropRoot::Host1);
}

class TypInfo : public ::testing::Test
{
protected:
    TAutoFree<TPropHost> Host{TPropHost::Create(nullptr)};
};

TEST_F(TypInfo, LookupIgnoresCaseAndGivesEveryKind)
{
    struct Case
    {
        const char *Name;
        TTypeKind Kind;
        bool Writable;
    };
    const Case Cases[] = {
        {"width", tkInteger, true},       {"BIG", tkInteger, true},        {"Align", tkEnumeration, true},
        {"visible", tkEnumeration, true}, {"Style", tkSet, true},          {"ratio", tkFloat, true},
        {"Caption", tkString, true},      {"lines", tkClass, false},       {"Buddy", tkClass, true},
        {"VERSION", tkString, false},     {"Color", tkInteger, true},      {"onclick", tkMethod, true},
        {"Name", tkString, true},         {"Tag", tkInteger, true},
    };
    for (const Case &C : Cases) {
        const TPropInfo *P = GetPropInfo(Host.get(), QString::fromLatin1(C.Name));
        ASSERT_NE(P, nullptr) << C.Name;
        EXPECT_EQ(P->Kind, C.Kind) << C.Name;
        EXPECT_EQ(P->IsWritable(), C.Writable) << C.Name;
    }
    EXPECT_EQ(GetPropInfo(Host.get(), QStringLiteral("Visible"))->EnumType->Name(), "Boolean");
    EXPECT_EQ(GetPropInfo(Host.get(), QStringLiteral("Lines"))->PropClass(), TStringList::StaticClass());
    EXPECT_EQ(GetPropInfo(Host.get(), QStringLiteral("Nope")), nullptr);
    EXPECT_FALSE(IsPublishedProp(Host.get(), QStringLiteral("Nope")));
    EXPECT_TRUE(IsPublishedProp(TPropHost::StaticClass(), QStringLiteral("CAPTION")));
    EXPECT_FALSE(IsPublishedProp(TComponent::StaticClass(), QStringLiteral("Caption")));
}

TEST_F(TypInfo, ValuesGoThroughSettersFromCanonicalValuesOrText)
{
    struct Case
    {
        const char *Name;
        QVariant Value;
        QVariant Expected;
    };
    const Case Cases[] = {
        {"Width", 42, qint64(42)},
        {"Width", QStringLiteral(" -7 "), qint64(-7)},
        {"Big", qint64(1) << 40, qint64(1) << 40},
        {"Align", QStringLiteral("TARIGHT"), qint64(taRight)},
        {"Align", qint64(taLeft), qint64(taLeft)},
        {"Visible", false, qint64(0)},
        {"Visible", QStringLiteral("True"), qint64(1)},
        {"Style", QStringLiteral("[]"), qint64(0)},
        {"Style", QStringLiteral("[tsBold, tsUnderline]"), qint64(5)},
        {"Ratio", 1.5, 1.5},
        {"Caption", QStringLiteral("Netvane"), QStringLiteral("Netvane")},
        {"Color", QStringLiteral("clBtnFace"), qint64(0x8000000F)},
        {"Color", QStringLiteral("$FF00"), qint64(0xFF00)},
        {"Tag", -1381, qint64(-1381)},
    };
    for (const Case &C : Cases) {
        SetPropValue(Host.get(), QString::fromLatin1(C.Name), C.Value);
        EXPECT_EQ(GetPropValue(Host.get(), QString::fromLatin1(C.Name)), C.Expected) << C.Name;
    }
    EXPECT_EQ(Host->SetWidthCalls, 2);
    EXPECT_EQ(Host->Align(), taLeft);
    EXPECT_EQ(GetEnumProp(Host.get(), QStringLiteral("Align")), "taLeft");
    EXPECT_EQ(Host->Style(), TTestStyles({tsBold, tsUnderline}));
    EXPECT_EQ(GetSetProp(Host.get(), QStringLiteral("Style")), "[tsBold,tsUnderline]");
    EXPECT_EQ(GetStrProp(Host.get(), QStringLiteral("Version")), "5.8");
}

TEST_F(TypInfo, BadValuesAndMissingOrReadOnlyPropertiesRaise)
{
    struct Case
    {
        const char *Name;
        QVariant Value;
        const char *Message;
    };
    const Case Cases[] = {
        {"Version", QStringLiteral("6"), "Property Version is read-only"},
        {"Lines", QVariant::fromValue<TObject *>(nullptr), "Property Lines is read-only"},
        {"Missing", 1, "Property Missing does not exist in TPropHost"},
        {"Align", QStringLiteral("alTop"), "Invalid property value alTop for Align"},
        {"Style", QStringLiteral("[tsBold, bogus]"), "Invalid property element: bogus"},
        {"Style", QStringLiteral("[tsBold"), "Invalid set value [tsBold"},
        {"Color", QStringLiteral("clNoSuch"), "Invalid property value clNoSuch for Color"},
    };
    for (const Case &C : Cases) {
        try {
            SetPropValue(Host.get(), QString::fromLatin1(C.Name), C.Value);
            ADD_FAILURE() << C.Name;
        } catch (const EPropertyError &E) {
            EXPECT_EQ(E.Message(), QString::fromLatin1(C.Message));
        }
    }
    EXPECT_THROW(GetPropValue(Host.get(), QStringLiteral("Missing")), EPropertyError);
}

TEST_F(TypInfo, EnumerationAndSetTextBothWays)
{
    const TEnumInfo *Align = KivEnumInfo(taNone);
    EXPECT_EQ(GetEnumName(Align, 2), "taRight");
    EXPECT_EQ(GetEnumName(Align, 3), "");
    EXPECT_EQ(GetEnumValue(Align, QStringLiteral("taleft")), 1);
    EXPECT_EQ(GetEnumValue(Align, QStringLiteral("x")), -1);
    EXPECT_EQ(GetEnumName(BooleanEnumInfo(), 1), "True");

    const TEnumInfo *Style = EnumTypeInfo<TTestStyle>();
    EXPECT_EQ(SetToString(Style, TTestStyles({tsBold, tsUnderline}).Bits()), "[tsBold,tsUnderline]");
    EXPECT_EQ(SetToString(Style, 2, false), "tsItalic");
    EXPECT_EQ(SetToString(Style, 0), "[]");
    EXPECT_EQ(StringToSet(Style, QStringLiteral(" [ tsunderline ,tsBold ] ")), 5);
    EXPECT_EQ(StringToSet(Style, QStringLiteral("tsItalic")), 2);
    EXPECT_EQ(StringToSet(Style, SetToString(Style, 7)), 7);
}

TEST_F(TypInfo, IdentMapsBothWays)
{
    qint64 Value = 0;
    EXPECT_TRUE(IdentToInt(QStringLiteral("CLRED"), Value, TestColors));
    EXPECT_EQ(Value, 0xFF);
    EXPECT_FALSE(IdentToInt(QStringLiteral("clBlue"), Value, TestColors));
    QString Name;
    EXPECT_TRUE(IntToIdent(0x8000000F, Name, TestColors));
    EXPECT_EQ(Name, "clBtnFace");
    EXPECT_FALSE(IntToIdent(1, Name, TestColors));
}

TEST_F(TypInfo, ObjectPropertiesAndDefaults)
{
    EXPECT_EQ(GetObjectProp(Host.get(), QStringLiteral("Lines")), Host->Lines());
    TAutoFree<TPropHost> Other(TPropHost::Create(nullptr));
    SetObjectProp(Host.get(), QStringLiteral("Buddy"), Other.get());
    EXPECT_EQ(Host->Buddy(), Other.get());
    TAutoFree<TStringList> NotAComponent(TStringList::Create());
    EXPECT_THROW(SetObjectProp(Host.get(), QStringLiteral("Buddy"), NotAComponent.get()), EPropertyError);
    SetPropValue(Host.get(), QStringLiteral("Buddy"), QVariant());
    EXPECT_EQ(Host->Buddy(), nullptr);

    auto IsDefault = [&](const char *Name) {
        return IsDefaultPropValue(Host.get(), GetPropInfo(Host.get(), QString::fromLatin1(Name)));
    };
    EXPECT_TRUE(IsDefault("Width") && IsDefault("Visible") && IsDefault("Style") && IsDefault("Caption") &&
                IsDefault("Ratio") && IsDefault("Buddy") && IsDefault("OnClick") && IsDefault("Align"));
    EXPECT_FALSE(IsDefault("Big"));   // no declared default: always stored
    Host->SetWidth(11);
    Host->SetVisible(false);
    Host->SetCaption(QStringLiteral("x"));
    EXPECT_FALSE(IsDefault("Width") || IsDefault("Visible") || IsDefault("Caption"));
}

TEST_F(TypInfo, MostDerivedRedeclarationWinsAndKeepsItsPlace)
{
    TAutoFree<TPropHostEx> Ex(TPropHostEx::Create(nullptr));
    SetStrProp(Ex.get(), QStringLiteral("caption"), QStringLiteral("Title"));
    EXPECT_EQ(Ex->TitleCaption(), "Title");
    EXPECT_EQ(Ex->Caption(), "");   // the ancestor's storage is not touched

    QStringList Base, Derived;
    for (const TPropInfo *P : GetPropList(TPropHost::StaticClass()))
        Base << P->Name;
    for (const TPropInfo *P : GetPropList(Ex.get()))
        Derived << P->Name;
    EXPECT_EQ(Derived, Base);
    EXPECT_EQ(Base.mid(0, 3), QStringList({"Name", "Tag", "Width"}));
    EXPECT_NE(GetPropInfo(Ex.get(), QStringLiteral("Caption")), GetPropInfo(Host.get(), QStringLiteral("Caption")));
}

TEST_F(TypInfo, EventsBindToPublishedMethodsByName)
{
    TAutoFree<TPropRoot> Root(TPropRoot::Create(nullptr));
    SetMethodProp(Host.get(), QStringLiteral("OnClick"), TMethod{Root.get(), QStringLiteral("button1click")});
    ASSERT_TRUE(bool(Host->OnClick));
    Host->OnClick(Host.get());
    EXPECT_EQ(Root->Clicks, QList<TObject *>({Host.get()}));
    EXPECT_EQ(GetMethodProp(Host.get(), QStringLiteral("OnClick")),
              (TMethod{Root.get(), QStringLiteral("Button1Click")}));   // the registered spelling

    TNotifyEvent Copy = Host->OnClick;   // a copy keeps the name
    EXPECT_EQ(Copy.Method().Name, "Button1Click");
    Host->OnClick = [](TObject *) {};    // a plain closure has none
    EXPECT_TRUE(GetMethodProp(Host.get(), QStringLiteral("OnClick")).IsNull());
    SetMethodProp(Host.get(), QStringLiteral("OnClick"), TMethod());
    EXPECT_FALSE(bool(Host->OnClick));

    try {
        SetMethodProp(Host.get(), QStringLiteral("OnClick"), TMethod{Root.get(), QStringLiteral("NoSuchClick")});
        ADD_FAILURE();
    } catch (const EPropertyError &E) {
        EXPECT_EQ(E.Message(), "Method NoSuchClick not found in TPropRoot");
    }
    EXPECT_THROW(SetMethodProp(Host.get(), QStringLiteral("OnClick"), TMethod{Root.get(), QStringLiteral("KeyDown")}),
                 EPropertyError);

    // A var parameter reaches the handler by reference.
    auto KeyEvent = BindEvent<void(TObject *, int &)>(TMethod{Root.get(), QStringLiteral("KeyDown")});
    int Key = 13;
    KeyEvent(nullptr, Key);
    EXPECT_EQ(Key, 0);
}

TEST_F(TypInfo, PublishedFieldsAreFoundByNameAndTyped)
{
    const TFieldInfo *Field = GetFieldInfo(TPropRoot::StaticClass(), QStringLiteral("HOST1"));
    ASSERT_NE(Field, nullptr);
    EXPECT_EQ(Field->FieldClass(), TPropHost::StaticClass());
    EXPECT_EQ(GetFieldInfo(TPropRoot::StaticClass(), QStringLiteral("Host2")), nullptr);
    EXPECT_EQ(GetMethodInfo(TPropRoot::StaticClass(), QStringLiteral("button1CLICK"))->Name, "Button1Click");

    TAutoFree<TPropRoot> Root(TPropRoot::Create(nullptr));
    TAutoFree<TStringList> Wrong(TStringList::Create());
    EXPECT_FALSE(Field->Set(Root.get(), Wrong.get()));
    EXPECT_TRUE(Field->Set(Root.get(), Host.get()));
    EXPECT_EQ(Root->Host1, Host.get());
    EXPECT_EQ(Field->Get(Root.get()), Host.get());
}
