// Window shapes from bitmaps, the parent's look under a control, control borders, and the small queries.
#include "skin/theme/Kivpublic.h"
#include "tests/unit/kivpublic/Pictures.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/forms/Forms.h"
#include "platform/Region.h"

#include <gtest/gtest.h>

// Windowless: a blue square.
class TKpBlueSquare : public TGraphicControl
{
    KIV_OBJECT(TKpBlueSquare, TGraphicControl)
protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(ClientRect());
    }
};

KIV_PUBLISHED(TKpBlueSquare) {}

namespace {

using Rows = std::vector<std::string>;

Rows RegionRows(HRGN R, int W, int H)
{
    Rows S;
    for (int Y = 0; Y < H; ++Y) {
        std::string Row;
        for (int X = 0; X < W; ++X)
            Row += PtInRegion(R, X, Y) ? '#' : '.';
        S.push_back(Row);
    }
    return S;
}

class ShapedWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("KivpublicShaped");
        C.lpfnWndProc = MakeWndProc(DefWindowProc);
        RegisterClass(&C);
        Wnd = CreateWindowEx(0, C.lpszClassName, QString(), WS_POPUP, 0, 0, 5, 3, nullptr, 0, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(Wnd); }

    Rows Shape()
    {
        HRGN R = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(Wnd, R), RGN_ERROR);
        Rows S = RegionRows(R, 5, 3);
        DeleteObject(R);
        return S;
    }

    HWND Wnd = nullptr;
};

TEST_F(ShapedWindow, RegionHoldsTheRunsOfNonTransparentPixels)
{
    TAutoFree<TBitmap> B = BitmapOf({"mmaam",
                                     "abcde",
                                     "amama"});
    SetBitmapWindow(Wnd, B.get(), clKivTransparent);
    // Runs closed by a key pixel and runs that reach the row's end alike.
    EXPECT_EQ(Shape(), (Rows{"..##.",
                             "#####",
                             "#.#.#"}));
    // Without a key pixel the whole bitmap; the window's earlier region is replaced.
    TAutoFree<TBitmap> Solid = FilledBitmap(4, 2, 'a');
    SetBitmapWindow(Wnd, Solid.get(), clKivTransparent);
    EXPECT_EQ(Shape(), (Rows{"####.",
                             "####.",
                             "....."}));
}

// A form with a windowless blue square, and a windowed panel partly over it.
class OnAForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = TForm::CreateNew(nullptr);
        Form->SetBounds(100, 100, 200, 150);
        Form->SetColor(clYellow);
        TKpBlueSquare *Square = TKpBlueSquare::Create(Form);
        Square->SetBounds(20, 10, 30, 20);
        Square->SetParent(Form);
        Panel = TPanel::Create(Form);
        Panel->SetBounds(15, 5, 40, 30);
        Panel->SetParent(Form);
    }
    void TearDown() override
    {
        FreeAndNil(Form);
        ProcessPendingMessages();
    }

    TForm *Form = nullptr;
    TPanel *Panel = nullptr;
};

TEST_F(OnAForm, DoTransPaintsTheParentUnderTheControl)
{
    TAutoFree<TBitmap> Buffer = FilledBitmap(40, 30, 'z');
    DoTrans(Buffer->Canvas(), Panel);
    // The square (20, 10)-(50, 30) on the form is (5, 5)-(35, 25) in the panel.
    int Wrong = 0;
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 40; ++X) {
            const bool InSquare = X >= 5 && X < 35 && Y >= 5 && Y < 25;
            Wrong += PixelOf(Buffer->Image(), X, Y) != ColorToRGB(InSquare ? clBlue : clYellow);
        }
    EXPECT_EQ(Wrong, 0);
    // The canvas's origin and clip are back: a fill covers the whole buffer from (0, 0).
    Buffer->Canvas()->Brush()->SetColor(clRed);
    Buffer->Canvas()->FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(RowsOf(Buffer.get()), Rows(30, std::string(40, '?')));
    EXPECT_EQ(PixelOf(Buffer->Image(), 39, 29), ColorToRGB(clRed));
}

TEST_F(OnAForm, DoTransWithoutParentLeavesTheCanvas)
{
    Panel->SetParent(nullptr);
    TAutoFree<TBitmap> Buffer = FilledBitmap(4, 4, 'z');
    DoTrans(Buffer->Canvas(), Panel);
    EXPECT_EQ(RowsOf(Buffer.get()), Rows(4, "zzzz"));
}

TEST_F(OnAForm, DrawControlBorderFramesTheWholeWindow)
{
    // Both rings lie in a two-pixel non-client band, as on the skinned memo.
    Panel->SetBorderWidth(2);
    ASSERT_EQ(ClientOrigin(Panel->Handle()), (POINT{2, 2}));
    const QImage *Surface = WindowSurface(Panel->Handle());
    ASSERT_TRUE(Surface);
    const COLORREF Middle = PixelOf(*Surface, 20, 15);
    struct Case
    {
        TColor Border, Inner;
        bool DrawInner;
    };
    for (const Case &C : {Case{clNavy, clLime, true}, Case{clBtnShadow, clRed, false}}) {
        SCOPED_TRACE(C.DrawInner ? "with inner ring" : "without");
        const COLORREF Before = PixelOf(*Surface, 1, 1);
        DrawControlBorder(Panel, C.Border, C.Inner, C.DrawInner);
        for (POINT P : {POINT{0, 0}, POINT{39, 0}, POINT{0, 29}, POINT{39, 29}, POINT{20, 0}, POINT{0, 15}})
            EXPECT_EQ(PixelOf(*Surface, P.X, P.Y), ColorToRGB(C.Border)) << P.X << ", " << P.Y;
        for (POINT P : {POINT{1, 1}, POINT{38, 28}, POINT{20, 28}, POINT{38, 15}})
            EXPECT_EQ(PixelOf(*Surface, P.X, P.Y), C.DrawInner ? ColorToRGB(C.Inner) : Before) << P.X << ", " << P.Y;
        EXPECT_EQ(PixelOf(*Surface, 20, 15), Middle);
    }
}

TEST_F(OnAForm, SetWinControlTransparentDropsOpaqueAndMarksTheWindow)
{
    Panel->SetControlStyle(Panel->ControlStyle() + TControlStyle{csOpaque});
    SetWinControlTransparent(Panel);
    EXPECT_FALSE(Panel->ControlStyle().Contains(csOpaque));
    EXPECT_TRUE(GetWindowLong(Panel->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST(InRect, EdgesIncluded)
{
    struct Case
    {
        int X, Y;
        TRect R;
        bool In;
    };
    const Case Cases[] = {
        {10, 10, Rect(0, 0, 10, 10), true},
        {0, 0, Rect(0, 0, 10, 10), true},
        {5, 11, Rect(0, 0, 10, 10), false},
        {-1, 5, Rect(0, 0, 10, 10), false},
        {11, 5, Rect(0, 0, 10, 10), false},
        {3, 3, Rect(3, 3, 3, 3), true},
        {4, 4, Rect(5, 5, 3, 3), false},
    };
    for (const Case &C : Cases) {
        EXPECT_EQ(InRect(C.X, C.Y, C.R), C.In) << C.X << ", " << C.Y;
        EXPECT_EQ(InRect(Point(C.X, C.Y), C.R), C.In) << C.X << ", " << C.Y;
    }
}

TEST(Queries, PropertiesTextAndSystem)
{
    TAutoFree<TPanel> Panel(TPanel::Create(nullptr));
    EXPECT_TRUE(IsHasProperty(Panel.get(), QStringLiteral("Caption")));
    EXPECT_TRUE(IsHasProperty(Panel.get(), QStringLiteral("bevelOUTER")));
    EXPECT_FALSE(IsHasProperty(Panel.get(), QStringLiteral("UIStyle")));
    EXPECT_FALSE(IsHasProperty(nullptr, QStringLiteral("Caption")));

    EXPECT_EQ(PCharToStr(nullptr), QString());
    EXPECT_EQ(PCharToStr(""), QString());
    EXPECT_EQ(PCharToStr("Netvane\0tail"), QStringLiteral("Netvane"));
    EXPECT_EQ(PCharToStr("\xE7\xB6\xB2\xE8\xB7\xAF"), QString::fromUtf8("網路"));

    EXPECT_FALSE(IsWinXP());
}

// Last in this program: it makes the application's main form, which stays.
TEST(MainForm, FocusAndWorkAreaFollowIt)
{
    Application->Initialize();
    RECT Primary;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Primary, 0);
    EXPECT_EQ(GetWorkAreaRect(), Primary);

    // Without a main form a form has the focus while it is active.
    TAutoFree<TForm> Loose(TForm::CreateNew(nullptr));
    EXPECT_FALSE(FormHasFocus(Loose.get()));
    EXPECT_FALSE(FormHasFocus(nullptr));
    Loose->Show();
    ProcessPendingMessages();
    EXPECT_EQ(FormHasFocus(Loose.get()), Loose->Active());
    Loose->Hide();

    TForm *Main = nullptr;
    TForm *Other = nullptr;
    Application->CreateForm(Main);
    Application->CreateForm(Other);
    ASSERT_EQ(Application->MainForm(), Main);
    Main->Show();
    ProcessPendingMessages();
    ASSERT_TRUE(Application->Active());
    EXPECT_TRUE(FormHasFocus(Main));
    EXPECT_TRUE(FormHasFocus(nullptr));
    EXPECT_FALSE(FormHasFocus(Other));
    Other->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(FormHasFocus(Other));
    // A window outside the framework taking the activation leaves the application inactive.
    HWND Foreign = CreateWindowExA(0, "BUTTON", "elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 80, 30,
                                   nullptr, nullptr, HInstance, nullptr);
    SetActiveWindow(Foreign);
    ProcessPendingMessages();
    ASSERT_FALSE(Application->Active());
    EXPECT_FALSE(FormHasFocus(Main)) << "an inactive application has no focused form";
    EXPECT_FALSE(FormHasFocus(nullptr));
    DestroyWindow(Foreign);
    Main->Hide();
    Other->Hide();
    ProcessPendingMessages();

    MONITORINFO Info;
    GetMonitorInfo(MonitorFromWindow(Main->Handle(), MONITOR_DEFAULTTONEAREST), &Info);
    EXPECT_EQ(GetWorkAreaRect(), Info.rcWork);
}

} // namespace
