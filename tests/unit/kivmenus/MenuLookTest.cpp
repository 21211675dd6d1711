// The look properties of the skinned menus: the style step for each style and for a file theme, the rules of
// the setters, the main menu's Images and both menus' OwnerDraw.
#include "tests/unit/kivmenus/KivMenuFixture.h"

#include "framework/core/TypInfo.h"
#include "skin/theme/Kivthemefile.h"

#include <QTemporaryDir>

using namespace KivMenuTest;

namespace {

constexpr int ColourItems[] = {23, 21, 22, 18, 19, 20};   // Bar, Color, Font, SelBorder, Sel, SelFont

template <class TMenuType>
std::vector<TColor> SixColours(TMenuType *M)
{
    return {M->BarColor(), M->Color(), M->FontColor(), M->SelectedBorderColor(), M->SelectedColor(),
            M->SelectedFontColor()};
}

QString MakeTheme(const QString &FileName, std::initializer_list<std::pair<int, qint32>> Ints)
{
    TAutoFree<TkivThemeFileWriter> Writer(TkivThemeFileWriter::Create(FileName));
    for (const auto &[Item, Value] : Ints)
        Writer->AddInteger(QString::fromLatin1(KIV_FILETHEME_ITEMNAME[Item - 1]), Value);
    Writer->Save();
    return FileName;
}

class MenuLook : public SkinnedMenuTest
{
protected:
    QTemporaryDir Dir;
};

TEST_F(MenuLook, ConstructorLeavesTheDeepBlueLookWithoutAForm)
{
    TAutoFree<TkivMainMenu> Main(TkivMainMenu::Create(nullptr));
    EXPECT_EQ(Main->UIStyle(), DeepBlue);
    EXPECT_EQ(Main->BorderColor(), 0);
    EXPECT_FALSE(Main->FlatMenu());
    EXPECT_EQ(Main->FontName(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(Main->FontSize(), 8);
    EXPECT_EQ(Main->FontCharset(), 1);
    EXPECT_TRUE(Main->UseSystemFont());
    EXPECT_EQ(Popup->UIStyle(), DeepBlue);
    EXPECT_EQ(Popup->MenuItemHeight(), 21);
    EXPECT_TRUE(Main->OwnerDraw());
    EXPECT_TRUE(Popup->OwnerDraw());
}

TEST_F(MenuLook, EachStyleSetsHeightsGutterSeparatorAndTheSixThemeColours)
{
    TAutoFree<TkivMainMenu> Main(TkivMainMenu::Create(nullptr));
    for (TkivUIStyle S : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(int(S));
        Popup->SetBarWidth(3);
        Popup->SetUIStyle(S);
        Main->SetUIStyle(S);
        std::vector<TColor> Want;
        for (int Item : ColourItems)
            Want.push_back(GetInsideThemeColor(S, Item));
        EXPECT_EQ(SixColours(Popup.get()), Want);
        EXPECT_EQ(SixColours(Main.get()), Want);
        EXPECT_EQ(Popup->BarWidth(), 26);
        EXPECT_EQ(Popup->MenuItemHeight(), S == MacOS ? 20 : 21);
        EXPECT_EQ(Popup->SeparatorHeight(), S == MacOS ? 12 : 5);
        EXPECT_EQ(Popup->SeparatorColor(), S == MacOS ? 0 : 0x00848284);
        EXPECT_EQ(Main->SeparatorHeight(), Popup->SeparatorHeight());
    }
}

TEST_F(MenuLook, AFileThemeGivesTheColoursOnlyUnderFromThemeFile)
{
    TAutoFree<TkivFileTheme> Theme(TkivFileTheme::Create(nullptr));
    Theme->SetThemeFile(MakeTheme(Dir.filePath(QStringLiteral("menus.kiv")),
                                  {{23, 0x010101}, {21, 0x020202}, {22, 0x030303}, {18, 0x040404}, {19, 0x050505},
                                   {20, 0x060606}}));
    ASSERT_TRUE(Theme->CanUse());
    Popup->SetUIStyle(WinXP);
    Popup->SetFileTheme(Theme.get());
    EXPECT_EQ(Popup->BarColor(), GetInsideThemeColor(WinXP, 23));
    Popup->SetUIStyle(FromThemeFile);
    EXPECT_EQ(SixColours(Popup.get()), (std::vector<TColor>{0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606}));
    EXPECT_EQ(Popup->MenuItemHeight(), 21);
}

TEST_F(MenuLook, FromThemeFileWithoutAThemeIsDeepBlue)
{
    Popup->SetUIStyle(FromThemeFile);
    std::vector<TColor> Want;
    for (int Item : ColourItems)
        Want.push_back(GetInsideThemeColor(DeepBlue, Item));
    EXPECT_EQ(SixColours(Popup.get()), Want);
}

// The theme answers -1 for an item it lacks; drawn, that is the system colour table's nothing: black.
TEST_F(MenuLook, AThemeWithoutMenuColoursTakesTheDefaultStylesSoItStaysLegible)
{
    TAutoFree<TkivFileTheme> Theme(TkivFileTheme::Create(nullptr));
    Theme->SetThemeFile(MakeTheme(Dir.filePath(QStringLiteral("bare.kiv")), {{13, 130}}));
    Popup->SetFileTheme(Theme.get());
    Popup->SetUIStyle(FromThemeFile);
    TAutoFree<TkivPopupMenu> Defaults(TkivPopupMenu::Create(nullptr));
    Defaults->SetUIStyle(DeepBlue);
    EXPECT_EQ(SixColours(Popup.get()), SixColours(Defaults.get()));
    Popup->SetFlatMenu(true);
    TMenuItem *Item = AddItem(Popup.get(), QStringLiteral("Open"));
    Item->SetChecked(true);
    for (bool Selected : {false, true}) {
        const TRect Row = Paint(Popup.get(), Item, Selected);
        EXPECT_NE(PixelAt(Bmp.get(), Row.Right - 1, Row.Top + 1), TColor(ColorToRGB(-1)));
    }
}

TEST_F(MenuLook, ItemHeightsSetByHandAreIgnoredUnderMacOSAndLastUntilTheNextStyle)
{
    Popup->SetUIStyle(MacOS);
    Popup->SetMenuItemHeight(30);
    Popup->SetSeparatorHeight(9);
    EXPECT_EQ(Popup->MenuItemHeight(), 20);
    EXPECT_EQ(Popup->SeparatorHeight(), 12);
    Popup->SetUIStyle(Protein);
    Popup->SetMenuItemHeight(30);
    Popup->SetSeparatorHeight(9);
    TMenuItem *Item = AddItem(Popup.get(), QStringLiteral("Open"));
    EXPECT_EQ(Paint(Popup.get(), Item, false).Bottom - T, 30);
    Popup->SetUIStyle(Protein);
    EXPECT_EQ(Popup->MenuItemHeight(), 21);
    EXPECT_EQ(Popup->SeparatorHeight(), 5);
}

TEST_F(MenuLook, FreeingTheFileThemeFallsBackToDeepBlue)
{
    // Owned elsewhere, so only the free notification can tell the menu.
    TkivFileTheme *Theme = TkivFileTheme::Create(nullptr);
    TAutoFree<TkivMainMenu> Main(TkivMainMenu::Create(nullptr));
    Main->SetFileTheme(Theme);
    Main->SetUIStyle(FromThemeFile);
    Theme->Free();
    EXPECT_EQ(Main->FileTheme(), nullptr);
    EXPECT_EQ(Main->UIStyle(), DeepBlue);
}

TEST_F(MenuLook, PublishedOwnerDrawReadsTrueAndIgnoresWrites)
{
    TAutoFree<TkivMainMenu> Main(TkivMainMenu::Create(nullptr));
    for (TObject *M : {static_cast<TObject *>(Main.get()), static_cast<TObject *>(Popup.get())}) {
        SetOrdProp(M, QStringLiteral("OwnerDraw"), 0);
        EXPECT_EQ(GetOrdProp(M, QStringLiteral("OwnerDraw")), 1);
        EXPECT_TRUE(static_cast<TMenu *>(M)->OwnerDraw());
    }
}

TEST_F(MenuLook, MainMenuImagesReadNoneWhileItsCheckMarkStandsInAndNoneBringsItBack)
{
    TAutoFree<TkivMainMenu> Main(TkivMainMenu::Create(nullptr));
    TAutoFree<TCustomImageList> Images(TCustomImageList::Create(16, 16));
    EXPECT_EQ(GetObjectProp(Main.get(), QStringLiteral("Images")), nullptr);
    SetObjectProp(Main.get(), QStringLiteral("Images"), Images.get());
    EXPECT_EQ(Main->UserImageList(), Images.get());
    EXPECT_EQ(Main->Images(), Images.get());
    SetObjectProp(Main.get(), QStringLiteral("Images"), nullptr);
    EXPECT_EQ(GetObjectProp(Main.get(), QStringLiteral("Images")), nullptr);
    ASSERT_NE(Main->Images(), nullptr);

    // The check mark is the menu's own again, and an image index counts as no image.
    TMenuItem *Item = AddItem(Main.get(), QStringLiteral("Open"));
    Item->SetChecked(true);
    Item->SetImageIndex(0);
    Paint(Main.get(), Item, false);
    EXPECT_TRUE(CheckMarkAt(Bmp.get(), L + 4, T + 3));
    EXPECT_NE(PixelAt(Bmp.get(), L + 2, T + 1), clBlack);
}

TEST_F(MenuLook, TwoPopupMenusInDifferentStylesShareOneCheckMark)
{
    TAutoFree<TkivPopupMenu> Other(TkivPopupMenu::Create(nullptr));
    Other->SetUIStyle(MacOS);
    for (TkivPopupMenu *M : {Popup.get(), Other.get()}) {
        TMenuItem *Item = AddItem(M, QStringLiteral("Open"));
        Item->SetChecked(true);
        Paint(M, Item, false);
        EXPECT_TRUE(CheckMarkAt(Bmp.get(), L + 4, T + 3));
    }
    EXPECT_EQ(g_CheckImages()->Count(), 1);
}

} // namespace
