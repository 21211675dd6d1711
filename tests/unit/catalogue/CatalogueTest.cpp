// The built-in style catalogue: values per style and item, the neutral values for a wrong type or
// an unknown style, pictures cut into frames, and the style a new control takes from its form.

#include "skin/theme/Kivthemes.h"

#include "framework/controls/Controls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

const TkivUIStyle BuiltInStyles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

// ---- values ----------------------------------------------------------------------------------------

struct TValueCase
{
    int Item;
    TkivType Type;
    qint32 Values[5];   // MacOS, WinXP, DeepBlue, Protein, BlueGlass
};

// A row of every kind and each style's odd ones out (WinXP's round corners and border, BlueGlass's
// minimum width, the negative offsets, the flags that differ between styles).
const TValueCase ValueCases[] = {
    {2, TkivType::Bool, {1, 0, 0, 0, 1}},
    {6, TkivType::Bool, {0, 0, 0, 1, 1}},
    {7, TkivType::Int, {3, 2, 0, 0, 4}},
    {8, TkivType::Int, {-2, -2, 0, 0, -3}},
    {9, TkivType::Int, {4, 5, 2, 2, 6}},
    {13, TkivType::Int, {130, 150, 130, 130, 270}},
    {14, TkivType::Int, {0, 13, 0, 0, 11}},
    {15, TkivType::Color, {15198183, 14609391, 15263976, 16514043, 15198183}},
    {16, TkivType::Color, {8355711, 13118464, 0, 0, 0}},
    {17, TkivType::Int, {1, 3, 1, 1, 1}},
    {18, TkivType::Color, {12874553, 13003057, 10504772, 12857389, 15490654}},
    {19, TkivType::Color, {12874553, 15717318, 10504772, 12857389, 15490654}},
    {20, TkivType::Color, {16777215, 0, 16777215, 16777215, 16777215}},
    {21, TkivType::Color, {0, 16777215, 16777215, 16777215, 15198183}},
    {22, TkivType::Color, {0, 0, 0, 0, 0}},
    {23, TkivType::Color, {0, 13554646, 13554646, 13554646, 13554646}},
    {25, TkivType::Color, {8355711, 6842472, 0, 0, 0}},
    {26, TkivType::Color, {15198183, 14609391, 15263976, 16514043, 15198183}},
    {27, TkivType::Color, {0, 13583874, 0, 0, 0}},
    {31, TkivType::Color, {13224393, 16382457, 16119285, 16119285, 16053492}},
    {35, TkivType::Color, {4671303, 13003057, 4671303, 4671303, 4671303}},
    {36, TkivType::Color, {15724527, 15717318, 15724527, 15724527, 15724527}},
    {37, TkivType::Color, {14211288, 14789779, 14211288, 14211288, 14211288}},
    {44, TkivType::Color, {0, 16777215, 16777215, 16777215, 16777215}},
    {47, TkivType::Int, {0, 0, 0, 0, 0}},
    {48, TkivType::Color, {15198183, 14609391, 15263976, 16514043, 15198183}},
};

TEST(CatalogueValues, EachStyleGivesItsValueThroughTheGetterOfItsType)
{
    for (const TValueCase &C : ValueCases) {
        for (int S = 0; S < 5; ++S) {
            const TkivUIStyle Style = BuiltInStyles[S];
            SCOPED_TRACE(testing::Message() << "item " << C.Item << ", style " << int(Style));
            EXPECT_EQ(GetInsideThemeColor(Style, C.Item), C.Type == TkivType::Color ? C.Values[S] : 0);
            EXPECT_EQ(GetInsideThemeInt(Style, C.Item), C.Type == TkivType::Int ? C.Values[S] : -1);
            EXPECT_EQ(GetInsideThemeBool(Style, C.Item), C.Type == TkivType::Bool && C.Values[S] != 0);
        }
    }
}

TEST(CatalogueValues, ItemTypesFollowTheItemNames)
{
    // Each name ends in its kind: Image, Bool, Int or Color.
    for (int I = 1; I <= KIV_FILETHEME_ITEMCOUNT; ++I) {
        const QString Name = QString::fromLatin1(KIV_FILETHEME_ITEMNAME[I - 1]);
        const TkivType Type = KIV_ITEM_TYPE[I - 1];
        SCOPED_TRACE(Name.toStdString());
        if (Name.endsWith(QLatin1String("Image")))
            EXPECT_EQ(Type, TkivType::Str);
        else if (Name.endsWith(QLatin1String("Bool")))
            EXPECT_EQ(Type, TkivType::Bool);
        else if (Name.endsWith(QLatin1String("Int")))
            EXPECT_EQ(Type, TkivType::Int);
        else
            EXPECT_EQ(Type, TkivType::Color);
    }
}

TEST(CatalogueValues, StylesWithoutAnEntryCountAsIntMinusOne)
{
    for (TkivUIStyle Style : {FromThemeFile, TkivUIStyle(6), TkivUIStyle(255)}) {
        SCOPED_TRACE(int(Style));
        EXPECT_EQ(GetInsideThemeInt(Style, 7), -1);
        EXPECT_EQ(GetInsideThemeInt(Style, 1), -1);
        EXPECT_EQ(GetInsideThemeColor(Style, 25), 0);
        EXPECT_FALSE(GetInsideThemeBool(Style, 2));
    }
}

TEST(CatalogueValues, ItemNumbersOutsideTheTableAreNeutralRatherThanReadPastIt)
{
    for (int Index : {0, -1, 49, 1000}) {
        SCOPED_TRACE(Index);
        EXPECT_EQ(GetInsideThemeInt(DeepBlue, Index), -1);
        EXPECT_EQ(GetInsideThemeColor(DeepBlue, Index), 0);
        EXPECT_FALSE(GetInsideThemeBool(DeepBlue, Index));
    }
}

// ---- picture names and the resource list -----------------------------------------------------------

TEST(CataloguePictures, NamesArePrefixAndSuffixWithTheSharedScrollButton)
{
    const char *Prefixes[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
    struct
    {
        int Item;
        const char *Suffix;
    } Items[] = {{1, "BUTTON"}, {5, "TITLEBTN"}, {11, "TITLE_CLIENT"}, {30, "TRACKBAR_SLIDER_V"},
                 {33, "SCROLLBAR_TRACK"}, {34, "CHECKLIST"}, {40, "TAB_LINE"}, {41, "SIDECHENNEL_HANDLE"}};
    for (int S = 0; S < 5; ++S) {
        for (const auto &It : Items) {
            const TkivItemValue V = GetInsideThemeItem(BuiltInStyles[S], It.Item);
            ASSERT_EQ(V.Type, TkivType::Str);
            EXPECT_STREQ(V.Entry.Name, (QByteArray(Prefixes[S]) + '_' + It.Suffix).constData());
        }
        const char *Scroll = GetInsideThemeItem(BuiltInStyles[S], 38).Entry.Name;
        EXPECT_STREQ(Scroll, S < 2 ? (QByteArray(Prefixes[S]) + "_SCROLLBUTTON").constData() : "MORE_SCROLLBUTTON");
        for (int Empty : {43, 45, 46})
            EXPECT_STREQ(GetInsideThemeItem(BuiltInStyles[S], Empty).Entry.Name, "");
    }
}

// The art is drawn from KIV_BITMAP_RESOURCES: every picture the catalogue names must be listed once,
// for its own item, and nothing listed for an item may be missing from the catalogue.
TEST(CataloguePictures, TheResourceListHoldsEveryNamedPictureOnce)
{
    QHash<QString, int> ListedItem;
    for (const TkivBitmapResource &R : KIV_BITMAP_RESOURCES) {
        EXPECT_FALSE(ListedItem.contains(QString::fromLatin1(R.Name))) << R.Name;
        ListedItem.insert(QString::fromLatin1(R.Name), R.Item);
    }
    QSet<QString> Named;
    for (TkivUIStyle Style : BuiltInStyles)
        for (int I = 1; I <= KIV_FILETHEME_ITEMCOUNT; ++I) {
            const TkivItemValue V = GetInsideThemeItem(Style, I);
            if (V.Type != TkivType::Str || !*V.Entry.Name)
                continue;
            const QString Name = QString::fromLatin1(V.Entry.Name);
            Named.insert(Name);
            EXPECT_EQ(ListedItem.value(Name, -1), I) << V.Entry.Name;
        }
    for (auto It = ListedItem.cbegin(); It != ListedItem.cend(); ++It) {
        if (It.value() != 0) {
            EXPECT_TRUE(Named.contains(It.key())) << It.key().toStdString();
        }
    }
    EXPECT_EQ(Named.size(), 93);
}

// ---- GetInsideThemeBitmap -------------------------------------------------------------------------

TAutoFree<TBitmap> NewBitmap(int W = 0, int H = 0)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(W, H);
    return B;
}

TAutoFree<TBitmap> Resource(const char *Name)
{
    TAutoFree<TBitmap> B = NewBitmap();
    B->LoadFromResourceName(HInstance, QString::fromLatin1(Name));
    return B;
}

TEST(CatalogueBitmap, WithoutSpitCountBufBecomesTheWholePicture)
{
    TAutoFree<TBitmap> Buf = NewBitmap(5, 5);
    GetInsideThemeBitmap(WinXP, 1, Buf.get(), 0, 0);
    EXPECT_EQ(Buf->Image(), Resource("WINXP_BUTTON")->Image());
    EXPECT_EQ(Buf->Width(), 54);
    EXPECT_EQ(Buf->Height(), 21);
}

TEST(CatalogueBitmap, SpitCountCutsTheFrameCountedFromOne)
{
    struct
    {
        TkivUIStyle Style;
        int Item;
        const char *Name;
        int Count, Index, FrameWidth, Height;
    } Cases[] = {
        {DeepBlue, 5, "DEEPBLUE_TITLEBTN", 18, 1, 19, 19},
        {DeepBlue, 5, "DEEPBLUE_TITLEBTN", 18, 18, 19, 19},
        {DeepBlue, 5, "DEEPBLUE_TITLEBTN", 18, 7, 19, 19},
        {WinXP, 1, "WINXP_BUTTON", 3, 2, 18, 21},
        {WinXP, 1, "WINXP_BUTTON", 1, 1, 54, 21},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Name << " frame " << C.Index << " of " << C.Count);
        TAutoFree<TBitmap> Buf = NewBitmap(3, 3);
        GetInsideThemeBitmap(C.Style, C.Item, Buf.get(), C.Count, C.Index);
        ASSERT_EQ(Buf->Width(), C.FrameWidth);
        ASSERT_EQ(Buf->Height(), C.Height);
        const QImage Frame = Resource(C.Name)->Image().copy(C.FrameWidth * (C.Index - 1), 0, C.FrameWidth, C.Height);
        EXPECT_EQ(Buf->Image(), Frame);
    }
}

TEST(CatalogueBitmap, AnItemThatIsNoPictureLeavesBufAloneOrEmptiesTheFrame)
{
    TAutoFree<TBitmap> Buf = NewBitmap(7, 4);
    Buf->Canvas()->SetPixels(2, 2, clRed);   // a mark that must survive

    GetInsideThemeBitmap(FromThemeFile, 1, Buf.get(), 0, 0);
    GetInsideThemeBitmap(DeepBlue, 15, Buf.get(), 0, 0);   // a colour item
    ASSERT_EQ(Buf->Width(), 7);
    EXPECT_EQ(Buf->Canvas()->Pixels(2, 2), clRed);

    GetInsideThemeBitmap(FromThemeFile, 1, Buf.get(), 3, 1);
    EXPECT_EQ(Buf->Width(), 0);
    EXPECT_EQ(Buf->Height(), 0);
}

TEST(CatalogueBitmap, AnEmptyPictureNameIsAMissingResourceAndANullBufNothing)
{
    for (int SpitCount : {0, 3}) {
        TAutoFree<TBitmap> Buf = NewBitmap(7, 4);
        EXPECT_THROW(GetInsideThemeBitmap(Protein, 43, Buf.get(), SpitCount, 1), EResNotFound) << SpitCount;
        EXPECT_EQ(Buf->Width(), 7) << SpitCount;
    }
    GetInsideThemeBitmap(DeepBlue, 5, nullptr, 18, 1);
}

// The pictures drawn at build time are the program's resources, each of the size the list gives.
TEST(CatalogueBitmap, EveryListedPictureIsAResourceOfItsSize)
{
    for (const TkivBitmapResource &R : KIV_BITMAP_RESOURCES) {
        SCOPED_TRACE(R.Name);
        TAutoFree<TBitmap> B = Resource(R.Name);
        if (R.Width == 0) {
            EXPECT_FALSE(B->Empty());
            continue;
        }
        EXPECT_EQ(B->Width(), R.Width);
        EXPECT_EQ(B->Height(), R.Height);
        if (R.Frames > 1) {
            EXPECT_EQ(B->Width() % R.Frames, 0);
        }
    }
}

// ---- GetKIVFormStyle ------------------------------------------------------------------------------

} // namespace

// Stand-ins for the skinned frame (by the class name the catalogue looks for), a descendant of it,
// and another skinned control that publishes UIStyle but is no frame.
namespace CatalogueStandIns {

class TkivForm : public TCustomControl
{
    KIV_OBJECT(TkivForm, TCustomControl)
public:
    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value) { FUIStyle = Value; }

private:
    TkivUIStyle FUIStyle = DeepBlue;
};

class TkivMDIFormStandIn : public TkivForm
{
    KIV_OBJECT(TkivMDIFormStandIn, TkivForm)
};

class TkivButton : public TCustomControl
{
    KIV_OBJECT(TkivButton, TCustomControl)
public:
    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value) { FUIStyle = Value; }

private:
    TkivUIStyle FUIStyle = DeepBlue;
};

KIV_PUBLISHED(TkivForm)
{
    Property("UIStyle", &TkivForm::UIStyle, &TkivForm::SetUIStyle);
}
KIV_PUBLISHED(TkivMDIFormStandIn) {}
KIV_PUBLISHED(TkivButton)
{
    Property("UIStyle", &TkivButton::UIStyle, &TkivButton::SetUIStyle);
}

} // namespace CatalogueStandIns

namespace {

using namespace CatalogueStandIns;

class FormStyleTest : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterClasses({TkivForm::StaticClass(), TkivMDIFormStandIn::StaticClass(), TkivButton::StaticClass()});
        Form = TForm::CreateNew(nullptr);
    }
    void TearDown() override { Form->Free(); }

    template <class T>
    T *Add(TkivUIStyle Style, TWinControl *Parent = nullptr)
    {
        T *C = T::Create(Form);
        C->SetParent(Parent ? Parent : Form);
        C->SetUIStyle(Style);
        return C;
    }

    TForm *Form = nullptr;
};

TEST_F(FormStyleTest, TheFirstFrameOnTheFormGivesItsStoredStyle)
{
    Add<TkivButton>(MacOS);   // skinned, but no frame
    Add<TkivForm>(FromThemeFile);
    Add<TkivForm>(WinXP);
    EXPECT_EQ(GetKIVFormStyle(Form), FromThemeFile);
}

// Layouts store the style by name.
TEST_F(FormStyleTest, TheStyleTravelsByNameThroughThePublishedProperty)
{
    TkivForm *Frame = Add<TkivForm>(DeepBlue);
    const char *Names[] = {"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
    for (int Ordinal = 0; Ordinal < 6; ++Ordinal) {
        SetEnumProp(Frame, QStringLiteral("UIStyle"), QString::fromLatin1(Names[Ordinal]).toLower());
        EXPECT_EQ(int(Frame->UIStyle()), Ordinal);
        EXPECT_EQ(GetEnumProp(Frame, QStringLiteral("UIStyle")), QString::fromLatin1(Names[Ordinal]));
    }
}

TEST_F(FormStyleTest, AFrameDescendantCounts)
{
    Add<TkivMDIFormStandIn>(BlueGlass);
    EXPECT_EQ(GetKIVFormStyle(Form), BlueGlass);
}

TEST_F(FormStyleTest, WithoutADirectFrameOrWithoutAFormItIsDeepBlue)
{
    EXPECT_EQ(GetKIVFormStyle(Form), DeepBlue);

    TPanel *Panel = TPanel::Create(Form);
    Panel->SetParent(Form);
    Add<TkivForm>(Protein, Panel);   // not a direct child of the form
    Add<TkivButton>(MacOS);
    EXPECT_EQ(GetKIVFormStyle(Form), DeepBlue);

    TAutoFree<TComponent> Module(TComponent::Create(nullptr));
    EXPECT_EQ(GetKIVFormStyle(Module.get()), DeepBlue);
    EXPECT_EQ(GetKIVFormStyle(Panel), DeepBlue);
    EXPECT_EQ(GetKIVFormStyle(nullptr), DeepBlue);
}

} // namespace
