// Surfaces and painting: the order of the paint messages, paint DCs clipped to the invalid area, scheduling,
// background erasing and window regions.
#include "tests/unit/window/WindowFixture.h"

#include <QWidget>

namespace {

QRgb Rgb(COLORREF C) { return qRgb(GetRValue(C), GetGValue(C), GetBValue(C)); }

QRgb At(HWND W, int X, int Y) { return WindowSurface(W)->pixel(X, Y) | 0xFF000000; }

class PaintTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Background = CreateSolidBrush(RGB(0, 128, 0));
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("PaintedWindow");
        C.lpfnWndProc = MakeWndProc(RecordingProc);
        C.hbrBackground = Background;
        RegisterClass(&C);
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        UnregisterClass(QStringLiteral("PaintedWindow"), nullptr);
        DeleteObject(Background);
    }
    HWND MakePainted(DWORD Style, int W, int H, DWORD ExStyle = 0)
    {
        return Make(Style, 0, 0, W, H, nullptr, ExStyle, QStringLiteral("PaintedWindow"));
    }
    HBRUSH Background = nullptr;
};

TEST_F(PaintTest, UpdateWindowPaintsFrameThenClientWithTheEraseInsideBeginPaint)
{
    HWND W = MakePainted(WS_POPUP | WS_BORDER, 40, 30);
    std::vector<UINT> Seen;
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_PAINT) {
            PAINTSTRUCT PS;
            HDC DC = BeginPaint(W, &PS);
            Seen.push_back(WM_ERASEBKGND == MessagesOf(W).back() ? 1 : 0);
            SetPixel(DC, 0, 0, RGB(255, 0, 0));
            EndPaint(W, &PS);
            return 0;
        }
        return std::nullopt;
    };
    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W, {WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}),
              (std::vector<UINT>{WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(Seen, std::vector<UINT>{1});
    EXPECT_EQ(EntriesOf(W, WM_NCPAINT)[0].WParam, WPARAM(1));
    // The band is the default one-pixel frame, the client area the class background with the paint on top.
    EXPECT_EQ(At(W, 0, 0), Rgb(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(At(W, 1, 1), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(At(W, 2, 2), Rgb(RGB(0, 128, 0)));

    // Nothing invalid: nothing sent.
    Log.clear();
    UpdateWindow(W);
    EXPECT_TRUE(MessagesOf(W).empty());
    InvalidateRect(W, nullptr, FALSE);
    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W), std::vector<UINT>{WM_PAINT});
}

TEST_F(PaintTest, ThePaintDCIsClippedToTheInvalidArea)
{
    HWND W = MakePainted(WS_POPUP, 50, 40);
    UpdateWindow(W);
    RECT Painted{};
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_PAINT) {
            PAINTSTRUCT PS;
            HDC DC = BeginPaint(W, &PS);
            Painted = PS.rcPaint;
            HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
            RECT All{0, 0, 50, 40};
            FillRect(DC, &All, Red);
            DeleteObject(Red);
            EndPaint(W, &PS);
            return 0;
        }
        return std::nullopt;
    };
    RECT A{10, 10, 20, 15};
    RECT B{30, 30, 35, 35};
    InvalidateRect(W, &A, FALSE);
    InvalidateRect(W, &B, FALSE);
    RECT Box;
    EXPECT_TRUE(GetUpdateRect(W, &Box, FALSE));
    EXPECT_EQ(Box, (RECT{10, 10, 35, 35}));
    UpdateWindow(W);
    EXPECT_EQ(Painted, (RECT{10, 10, 35, 35}));
    EXPECT_FALSE(GetUpdateRect(W, &Box, FALSE));
    const QRgb Red = Rgb(RGB(255, 0, 0));
    const QRgb Green = Rgb(RGB(0, 128, 0));
    EXPECT_EQ(At(W, 10, 10), Red);
    EXPECT_EQ(At(W, 19, 14), Red);
    EXPECT_EQ(At(W, 20, 14), Green);
    EXPECT_EQ(At(W, 25, 25), Green);    // inside the box, outside both rectangles
    EXPECT_EQ(At(W, 34, 34), Red);
}

TEST_F(PaintTest, ValidatedAreasAreNotPaintedAndChildClientDCsStartAtTheBand)
{
    HWND Top = MakePainted(WS_POPUP, 60, 60);
    HWND C = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 20, 20, Top);
    HDC DC = GetDC(C);
    SetPixel(DC, 0, 0, RGB(1, 2, 3));
    POINT Org;
    GetViewportOrgEx(DC, &Org);
    EXPECT_EQ(Org, (POINT{0, 0}));
    SetPixel(DC, 50, 50, RGB(1, 2, 3));    // outside the client area: clipped
    ReleaseDC(C, DC);
    EXPECT_EQ(At(C, 1, 1), Rgb(RGB(1, 2, 3)));
    EXPECT_EQ(WindowFromDC(DC), nullptr);    // released

    InvalidateRect(Top, nullptr, TRUE);
    RECT Half{0, 0, 30, 60};
    ValidateRect(Top, &Half);
    RECT Box;
    GetUpdateRect(Top, &Box, FALSE);
    EXPECT_EQ(Box, (RECT{30, 0, 60, 60}));
}

TEST_F(PaintTest, InvalidatedVisibleWindowsArePaintedWhenTheQueueIsIdle)
{
    HWND Shown = MakePainted(WS_POPUP | WS_VISIBLE, 20, 20);
    HWND Hidden = MakePainted(WS_POPUP, 20, 20);
    ProcessPendingMessages();
    Log.clear();
    InvalidateRect(Shown, nullptr, TRUE);
    InvalidateRect(Hidden, nullptr, TRUE);
    PostMessage(Shown, WM_USER, 0, 0);
    EXPECT_TRUE(MessagesOf(Shown).empty());
    ProcessPendingMessages();
    // The posted message first, the paint when nothing else waits; hidden windows keep their update region.
    EXPECT_EQ(MessagesOf(Shown, {WM_USER, WM_PAINT}), (std::vector<UINT>{WM_USER, WM_PAINT}));
    EXPECT_TRUE(MessagesOf(Hidden, {WM_PAINT}).empty());
    EXPECT_TRUE(GetUpdateRect(Hidden, nullptr, FALSE));
}

TEST_F(PaintTest, TheWindowRegionIsKeptOwnedAndAppliedAsAMask)
{
    HWND W = MakePainted(WS_POPUP | WS_VISIBLE, 30, 20);
    auto *Probe = new GdiRegion;
    EXPECT_EQ(GetWindowRgn(W, Probe), RGN_ERROR);

    QRegion Shape = QRegion(0, 0, 30, 10) + QRegion(5, 10, 20, 10);
    EXPECT_EQ(SetWindowRgn(W, new GdiRegion(Shape), TRUE), 1);
    EXPECT_EQ(GetWindowRgn(W, Probe), COMPLEXREGION);
    EXPECT_EQ(Probe->Region, Shape);
    EXPECT_EQ(WindowWidget(W)->mask(), Shape);

    // A region hides the window where it is empty; none removes the shape.
    SetWindowRgn(W, new GdiRegion(QRegion()), FALSE);
    EXPECT_EQ(GetWindowRgn(W, Probe), NULLREGION);
    EXPECT_FALSE(WindowWidget(W)->mask().contains(QPoint(0, 0)));
    SetWindowRgn(W, nullptr, FALSE);
    EXPECT_EQ(GetWindowRgn(W, Probe), RGN_ERROR);
    EXPECT_TRUE(WindowWidget(W)->mask().isEmpty());
    DeleteObject(Probe);
}

TEST_F(PaintTest, RedrawWindowReachesChildrenAndPaintsNow)
{
    HWND Top = MakePainted(WS_POPUP | WS_VISIBLE, 40, 40);
    HWND C = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Top);
    ProcessPendingMessages();
    Log.clear();
    RedrawWindow(Top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(MessagesOf(Top, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(MessagesOf(C, {WM_PAINT}).size(), 1u);
}

} // namespace
