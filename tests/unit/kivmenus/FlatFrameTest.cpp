// The flat frame of a drop-down: painted through the screen's DC onto the window the item canvas draws on,
// and into whichever of our windows shows each screen pixel.
#include "tests/unit/kivmenus/KivMenuFixture.h"

#include "platform/Window.h"

#include <QImage>

using namespace KivMenuTest;

namespace {

class FlatFrame : public SkinnedMenuTest
{
protected:
    void SetUp() override
    {
        SkinnedMenuTest::SetUp();
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("KivmenusDropDown");
        C.lpfnWndProc = MakeWndProc(DefWindowProc);
        RegisterClass(&C);
        DropDown = CreateWindowEx(0, C.lpszClassName, QString(), WS_POPUP | WS_VISIBLE, 40, 40, 120, 80, nullptr, 0,
                                  nullptr, nullptr);
        // Made later, so above the drop-down, over its top right corner.
        Above = CreateWindowEx(0, C.lpszClassName, QString(), WS_POPUP | WS_VISIBLE, 120, 30, 100, 40, nullptr, 0,
                               nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(Above);
        DestroyWindow(DropDown);
        SkinnedMenuTest::TearDown();
    }

    static COLORREF At(HWND Wnd, int X, int Y)
    {
        const QRgb P = WindowSurface(Wnd)->pixel(X, Y);
        return RGB(qRed(P), qGreen(P), qBlue(P));
    }

    HWND DropDown = nullptr;
    HWND Above = nullptr;
};

TEST_F(FlatFrame, EveryItemPaintedRepaintsTheWindowFrameOnTheScreen)
{
    Popup->SetFlatMenu(true);
    TMenuItem *Item = AddItem(Popup.get(), QStringLiteral("Open"));
    const COLORREF Before = At(DropDown, 0, 0);
    const COLORREF BeforeAbove = At(Above, 39, 20);
    HDC DC = GetDC(DropDown);
    TAutoFree<TCanvas> Canvas(TCanvas::Create());
    Canvas->SetHandle(DC);
    Popup->DrawItem(Item, Canvas.get(), Rect(4, 10, 100, 31), false);
    Canvas->SetHandle(nullptr);
    ReleaseDC(DropDown, DC);

    const COLORREF Edge = ColorToRGB(GetInsideThemeColor(DeepBlue, 15));
    const COLORREF Black = 0, White = 0xFFFFFF;
    struct Expect { int X, Y; COLORREF Colour; };
    const Expect Frame[] = {
        // the outer rectangle, one pixel in from the top, right and bottom
        {0, 1, Black}, {0, 40, Black}, {5, 1, Black}, {118, 40, Black}, {40, 78, Black},
        // the white one inside it
        {1, 2, White}, {1, 40, White}, {117, 40, White}, {40, 77, White},
        // the edge colour on the outermost bottom row, right column and top row
        {0, 79, Edge}, {40, 79, Edge}, {119, 79, Edge}, {119, 40, Edge}, {5, 0, Edge}, {60, 0, Edge},
    };
    for (const Expect &E : Frame)
        EXPECT_EQ(At(DropDown, E.X, E.Y), E.Colour) << E.X << "," << E.Y;
    EXPECT_EQ(At(DropDown, 0, 0), Before);   // the top row's lines stop short of the corner

    // Where the window above covers the drop-down's right column, the screen is that window.
    EXPECT_EQ(At(DropDown, 119, 10), Before);
    EXPECT_EQ(At(Above, 39, 20), Edge);
    EXPECT_NE(BeforeAbove, Edge);
}

TEST_F(FlatFrame, NotFlatOrOnABitmapLeavesTheScreenAlone)
{
    TMenuItem *Item = AddItem(Popup.get(), QStringLiteral("Open"));
    const COLORREF Before = At(DropDown, 119, 40);
    HDC DC = GetDC(DropDown);
    TAutoFree<TCanvas> Canvas(TCanvas::Create());
    Canvas->SetHandle(DC);
    Popup->DrawItem(Item, Canvas.get(), Rect(4, 10, 100, 31), false);
    Canvas->SetHandle(nullptr);
    ReleaseDC(DropDown, DC);
    Popup->SetFlatMenu(true);
    Paint(Popup.get(), Item, false);
    EXPECT_EQ(At(DropDown, 119, 40), Before);
}

} // namespace
