// The owner-draw arithmetic of a skinned item: its measured height, the gutter, background, highlight and
// separator pixels, where caption and shortcut ink lies, the check mark and item images, mirrored for a
// right-to-left layout, and the MacOS strips.
#include "tests/unit/kivmenus/KivMenuFixture.h"

#include "framework/graphics/ImgList.h"
#include "tests/unit/QtPrinters.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <optional>
#include <vector>

using namespace KivMenuTest;

namespace {

// The colour a probe expects, read from the menu at the time of the check.
enum class Want { Bar, Back, SelFill, SelBorder, Sep, Black, Image, Unpainted };
struct Probe
{
    int X, Y;
    Want Colour;
};
enum class Text { None, Font, SelFont, Grey };

constexpr int BW = 26;   // the gutter every style sets
constexpr TShortCut CtrlS = scCtrl | 'S';

struct PaintCase
{
    const char *Name;
    TkivUIStyle Style = DeepBlue;
    bool RightToLeft = false;
    QString Caption = QStringLiteral("Hello");
    TShortCut ShortCut = scNone;
    bool Enabled = true, Checked = false, Selected = false;
    int ImageIndex = -1;
    int Height = 21;
    std::vector<Probe> Probes = {};
    // Ink of the text: where its first column must start (up to 2 pixels in for the glyph's bearing) or its
    // last one end (exclusive, up to 3 pixels in); -1 unchecked. Its colour must occur among the ink.
    int InkLeft = -1, InkRight = -1;
    Text TextColour = Text::None;
    int CheckMarkX = -1;          // the check-mark picture at (CheckMarkX, T + 3)
    const char *Strip = nullptr;  // the rows are this picture's rows, one to one
};

const std::vector<PaintCase> &Cases()
{
    static const std::vector<PaintCase> List = [] {
        std::vector<PaintCase> C;
        auto Add = [&C](PaintCase P) { C.push_back(std::move(P)); };
        const int B = T + 21;
        Add({.Name = "PlainItemHasGutterBackgroundAndTextFromBarWidthPlus4",
             .Probes = {{L, T, Want::Bar}, {L + BW - 1, B - 1, Want::Bar}, {L + BW, T, Want::Back},
                        {R - 1, B - 1, Want::Back}, {L - 1, T, Want::Unpainted}, {R, B - 1, Want::Unpainted},
                        {L, B, Want::Unpainted}},
             .InkLeft = L + BW + 4, .TextColour = Text::Font});
        Add({.Name = "SelectedItemIsFilledAndFramedWithoutGutter", .Selected = true,
             .Probes = {{L, T, Want::SelBorder}, {R - 1, B - 1, Want::SelBorder}, {L + 1, T + 1, Want::SelFill},
                        {L + BW - 1, T + 10, Want::SelFill}, {R - 2, B - 2, Want::SelFill}},
             .InkLeft = L + BW + 4, .TextColour = Text::SelFont});
        Add({.Name = "SelectedDisabledItemLooksUnselectedWithGreyText", .Enabled = false, .Selected = true,
             .Probes = {{L, T, Want::Bar}, {L + BW, T, Want::Back}, {R - 1, B - 1, Want::Back}},
             .InkLeft = L + BW + 4, .TextColour = Text::Grey});
        Add({.Name = "SeparatorIsFivePixelsWithItsLineOnTheThirdRow", .Caption = QStringLiteral("-"),
             .ShortCut = CtrlS, .Height = 5,
             .Probes = {{L + BW - 1, T + 2, Want::Bar}, {L + BW + 3, T + 2, Want::Back}, {L + BW + 4, T + 2, Want::Sep},
                        {R - 3, T + 2, Want::Sep}, {R - 2, T + 2, Want::Back}, {L + 60, T + 1, Want::Back},
                        {L + 60, T + 3, Want::Back}, {R - 1, T + 4, Want::Back}, {L, T + 5, Want::Unpainted}}});
        Add({.Name = "ShortCutEndsSixteenPixelsBeforeTheRowsEnd", .Caption = QString(), .ShortCut = CtrlS,
             .InkRight = R - 16, .TextColour = Text::Font});
        Add({.Name = "CheckedItemWithoutImageShowsTheCheckMarkInTheGutter", .Checked = true,
             .CheckMarkX = L + 4});
        Add({.Name = "CheckedItemWithImageShowsItOnAFramedSelectedColourBox", .Checked = true, .ImageIndex = 0,
             .Probes = {{L + 2, T + 1, Want::Black}, {L + 20, T + 19, Want::Black}, {L + 3, T + 2, Want::SelFill},
                        {L + 3, T + 18, Want::SelFill}, {L + 12, T + 11, Want::Image}, {L + 1, T, Want::Bar}}});
        Add({.Name = "ImageOfUncheckedItemIsDrawnWithoutBox", .ImageIndex = 0,
             .Probes = {{L + 4, T + 3, Want::Image}, {L + 19, T + 18, Want::Image}, {L + 2, T + 1, Want::Bar},
                        {L + 3, T + 2, Want::Bar}}});
        Add({.Name = "ImageIndexOutOfRangeCountsAsNoImage", .Checked = true, .ImageIndex = 5,
             .CheckMarkX = L + 4});
        Add({.Name = "RightToLeftPutsGutterRightAndAlignsCaptionToIt", .RightToLeft = true,
             .Probes = {{R - 1, T, Want::Bar}, {R - BW, B - 1, Want::Bar}, {R - BW - 1, T, Want::Back}, {L, T, Want::Back}},
             .InkRight = R - BW - 4, .TextColour = Text::Font});
        Add({.Name = "RightToLeftShortCutStartsSixteenPixelsFromTheLeft", .RightToLeft = true, .Caption = QString(),
             .ShortCut = CtrlS, .InkLeft = L + 16, .TextColour = Text::Font});
        Add({.Name = "RightToLeftSeparatorLineStopsBeforeTheGutter", .RightToLeft = true,
             .Caption = QStringLiteral("-"), .Height = 5,
             .Probes = {{L + 1, T + 2, Want::Back}, {L + 2, T + 2, Want::Sep}, {R - BW - 5, T + 2, Want::Sep},
                        {R - BW - 4, T + 2, Want::Back}, {R - BW, T + 2, Want::Bar}}});
        Add({.Name = "RightToLeftCheckMarkIsTwentyPixelsFromTheRight", .RightToLeft = true, .Checked = true,
             .CheckMarkX = R - 20});
        Add({.Name = "MacOSItemIsTheBarStripsTopTwentyRows", .Style = MacOS, .Height = 20,
             .Strip = "MACOS_MENU_BAR"});
        Add({.Name = "MacOSSelectedItemIsTheSelectStripWithSelectedFontColour", .Style = MacOS, .Selected = true,
             .Height = 20, .TextColour = Text::SelFont, .Strip = "MACOS_MENU_SELECT"});
        Add({.Name = "MacOSSeparatorIsTheBarStripsTopTwelveRows", .Style = MacOS, .Caption = QStringLiteral("-"),
             .Height = 12, .Strip = "MACOS_MENU_BAR"});
        return C;
    }();
    return List;
}

int ChannelDistance(TColor A, TColor B)
{
    const COLORREF X = ColorToRGB(A), Y = ColorToRGB(B);
    return std::max({std::abs(int(GetRValue(X)) - int(GetRValue(Y))), std::abs(int(GetGValue(X)) - int(GetGValue(Y))),
                     std::abs(int(GetBValue(X)) - int(GetBValue(Y)))});
}

void PrintTo(const PaintCase &C, std::ostream *Os) { *Os << C.Name; }

class ItemPaint : public SkinnedMenuTest, public ::testing::WithParamInterface<PaintCase>
{
protected:
    TColor Resolve(Want W) const
    {
        switch (W) {
        case Want::Bar: return Popup->BarColor();
        case Want::Back: return Popup->Color();
        case Want::SelFill: return Popup->SelectedColor();
        case Want::SelBorder: return Popup->SelectedBorderColor();
        case Want::Sep: return Popup->SeparatorColor();
        case Want::Black: return clBlack;
        case Want::Image: return clLime;
        case Want::Unpainted: return Unpainted;
        }
        return clNone;
    }
    TColor Resolve(Text W) const
    {
        return W == Text::Grey ? clGray : W == Text::SelFont ? Popup->SelectedFontColor() : Popup->FontColor();
    }
};

TEST_P(ItemPaint, Pixels)
{
    const PaintCase &C = GetParam();
    SysLocale.MiddleEast = C.RightToLeft;
    Popup->SetBiDiMode(C.RightToLeft ? bdRightToLeft : bdLeftToRight);
    Popup->SetUIStyle(C.Style);
    Popup->SetSelectedBorderColor(clRed);   // the styles frame in the fill's own colour
    TAutoFree<TCustomImageList> Images(TCustomImageList::Create(16, 16));
    TAutoFree<TBitmap> Lime(TBitmap::Create());
    Lime->SetSize(16, 16);
    Lime->Canvas()->Brush()->SetColor(clLime);
    Lime->Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images->Add(Lime.get());
    Popup->SetImages(Images.get());

    TMenuItem *Item = AddItem(Popup.get(), C.Caption);
    Item->SetShortCut(C.ShortCut);
    Item->SetEnabled(C.Enabled);
    Item->SetChecked(C.Checked);
    Item->SetImageIndex(C.ImageIndex);
    const TRect Row = Paint(Popup.get(), Item, C.Selected);
    ASSERT_EQ(Row.Bottom - Row.Top, C.Height);

    for (const Probe &P : C.Probes)
        EXPECT_EQ(PixelAt(Bmp.get(), P.X, P.Y), TColor(ColorToRGB(Resolve(P.Colour)))) << "at " << P.X << "," << P.Y;

    TAutoFree<TBitmap> Strip(TBitmap::Create());
    if (C.Strip) {
        Strip->LoadFromResourceName(HInstance, QString::fromLatin1(C.Strip));
        for (int Y = 0; Y < C.Height; ++Y)
            for (int X : {L, L + 3, R - 1})
                EXPECT_EQ(PixelAt(Bmp.get(), X, T + Y), PixelAt(Strip.get(), 0, Y)) << "at " << X << "," << T + Y;
    }

    // Ink: what differs from the row's own background (the strip's row, or the fill colours).
    const bool Highlighted = C.Selected && C.Enabled;
    std::vector<TColor> Backgrounds = Highlighted ? std::vector<TColor>{Popup->SelectedColor(), clRed}
                                                  : std::vector<TColor>{Popup->BarColor(), Popup->Color()};
    QRect Ink;
    // Text is smoothed: its colour is that of the ink pixel standing out most from the background.
    TColor Strongest = clNone;
    int StrongestDistance = -1;
    for (int Y = Row.Top + 1; Y < Row.Bottom - 1; ++Y)
        for (int X = Row.Left + 1; X < Row.Right - 1; ++X) {
            const TColor P = PixelAt(Bmp.get(), X, Y);
            bool Background = C.Strip && P == PixelAt(Strip.get(), 0, Y - T);
            for (TColor Bg : Backgrounds)
                Background = Background || (!C.Strip && P == TColor(ColorToRGB(Bg)));
            if (Background)
                continue;
            Ink |= QRect(X, Y, 1, 1);
            const TColor Under = C.Strip ? PixelAt(Strip.get(), 0, Y - T) : Backgrounds.front() == Popup->BarColor() ? Popup->Color() : Backgrounds.front();
            if (const int D = ChannelDistance(P, Under); D > StrongestDistance) {
                StrongestDistance = D;
                Strongest = P;
            }
        }
    if (C.TextColour != Text::None) {
        ASSERT_FALSE(Ink.isEmpty());
        EXPECT_LE(ChannelDistance(Strongest, Resolve(C.TextColour)), 48) << std::hex << Strongest;
        EXPECT_GE(Ink.top(), Row.Top + 4);
        EXPECT_LE(Ink.top(), Row.Top + 9);
    }
    if (C.InkLeft >= 0) {
        EXPECT_GE(Ink.left(), C.InkLeft);
        EXPECT_LE(Ink.left(), C.InkLeft + 2);
    }
    if (C.InkRight >= 0) {
        EXPECT_LE(Ink.right() + 1, C.InkRight);
        EXPECT_GE(Ink.right() + 1, C.InkRight - 3);
    }
    if (C.CheckMarkX >= 0) {
        EXPECT_TRUE(CheckMarkAt(Bmp.get(), C.CheckMarkX, T + 3));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemPaint, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<PaintCase> &I) { return std::string(I.param.Name); });

} // namespace
