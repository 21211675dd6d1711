// Window positions and states: SetWindowPos messages, maximise to the work area grown by the band,
// minimise and restore, system commands and close requests, caption moves, the desktop window, animation,
// and the system services.
#include "tests/unit/window/WindowFixture.h"

#include <QCloseEvent>
#include <array>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace {

RECT WindowRectOf(HWND W)
{
    RECT R;
    GetWindowRect(W, &R);
    return R;
}

RECT WorkArea()
{
    RECT R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

TEST_F(WindowTest, SetWindowPosLetsTheWindowAdjustAndReportsMoveAndSize)
{
    HWND W = Make(WS_POPUP, 10, 10, 100, 50);
    Hook = [](HWND, UINT Msg, WPARAM, LPARAM LParam) -> std::optional<LRESULT> {
        if (Msg == WM_WINDOWPOSCHANGING)
            reinterpret_cast<WINDOWPOS *>(LParam)->cx = 120;    // a minimum width
        return std::nullopt;
    };
    Log.clear();
    SetWindowPos(W, nullptr, 20, 30, 80, 60, SWP_NOZORDER);
    EXPECT_EQ(WindowRectOf(W), (RECT{20, 30, 140, 90}));
    EXPECT_EQ(MessagesOf(W, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    EXPECT_EQ(EntriesOf(W, WM_SIZE)[0].LParam, MAKELPARAM(120, 60));
    EXPECT_EQ(EntriesOf(W, WM_MOVE)[0].LParam, PointToLParam(20, 30));

    // Only a move: no size messages and no new client rectangle.
    Log.clear();
    SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(MessagesOf(W, {WM_NCCALCSIZE, WM_MOVE, WM_SIZE}), std::vector<UINT>{WM_MOVE});
    EXPECT_EQ(WindowWidget(W)->geometry(), QRect(0, 0, 120, 60));
}

TEST_F(WindowTest, MaximiseFillsTheWorkAreaGrownByTheBandAndRestoreGoesBack)
{
    HWND W = Make(WS_POPUP | WS_THICKFRAME | WS_VISIBLE, 30, 40, 200, 100);
    Log.clear();
    ShowWindow(W, SW_SHOWMAXIMIZED);
    RECT Work = WorkArea();
    EXPECT_TRUE(IsZoomed(W));
    EXPECT_EQ(WindowRectOf(W), (RECT{Work.Left - 4, Work.Top - 4, Work.Right + 4, Work.Bottom + 4}));
    auto Info = EntriesOf(W, WM_GETMINMAXINFO);
    ASSERT_EQ(Info.size(), 1u);
    auto Size = EntriesOf(W, WM_SIZE);
    ASSERT_FALSE(Size.empty());
    EXPECT_EQ(Size.back().WParam, SIZE_MAXIMIZED);
    EXPECT_TRUE(GetWindowLong(W, GWL_STYLE) & WS_MAXIMIZE);

    Log.clear();
    ShowWindow(W, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(W));
    EXPECT_EQ(WindowRectOf(W), (RECT{30, 40, 230, 140}));
    EXPECT_EQ(EntriesOf(W, WM_SIZE).back().WParam, SIZE_RESTORED);
}

TEST_F(WindowTest, MaximiseTakesTheSizeTheWindowAsksFor)
{
    HWND W = Make(WS_POPUP | WS_VISIBLE, 30, 40, 200, 100);
    Hook = [](HWND, UINT Msg, WPARAM, LPARAM LParam) -> std::optional<LRESULT> {
        if (Msg == WM_GETMINMAXINFO) {
            auto *I = reinterpret_cast<MINMAXINFO *>(LParam);
            I->ptMaxPosition = POINT{5, 6};
            I->ptMaxSize = POINT{300, 200};
            return 0;
        }
        return std::nullopt;
    };
    SendMessage(W, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(WindowRectOf(W), (RECT{5, 6, 305, 206}));
    EXPECT_EQ(WindowWidget(W)->geometry(), QRect(5, 6, 300, 200));
}

TEST_F(WindowTest, MinimiseAndRestoreThroughSystemCommands)
{
    HWND W = Make(WS_POPUP | WS_VISIBLE, 30, 40, 200, 100);
    Log.clear();
    SendMessage(W, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(W));
    EXPECT_EQ(EntriesOf(W, WM_SIZE).back().WParam, SIZE_MINIMIZED);
    EXPECT_TRUE(WindowWidget(W)->isMinimized());
    SendMessage(W, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(W));
    EXPECT_EQ(EntriesOf(W, WM_SIZE).back().WParam, SIZE_RESTORED);
    EXPECT_EQ(WindowRectOf(W), (RECT{30, 40, 230, 140}));

    // A window minimised from maximised comes back maximised.
    ShowWindow(W, SW_MAXIMIZE);
    ShowWindow(W, SW_MINIMIZE);
    ShowWindow(W, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(W));
}

TEST_F(WindowTest, CloseRequestsBecomeWmCloseWhoseDefaultDestroys)
{
    HWND Kept = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    Hook = [&](HWND H, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (H == Kept && Msg == WM_CLOSE)
            return 0;
        return std::nullopt;
    };
    QCloseEvent Close;
    QCoreApplication::sendEvent(WindowWidget(Kept), &Close);
    EXPECT_FALSE(Close.isAccepted());
    EXPECT_EQ(EntriesOf(Kept, WM_CLOSE).size(), 1u);
    EXPECT_TRUE(IsWindow(Kept));
    EXPECT_TRUE(WindowWidget(Kept)->isVisible());

    HWND Closed = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    SendMessage(Closed, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(Closed));
}

TEST_F(WindowTest, ACaptionPressMovesAFramelessWindowWithThePointer)
{
    HWND W = Make(WS_POPUP | WS_VISIBLE, 100, 100, 120, 80);
    QWidget *Widget = WindowWidget(W);
    QTest::mousePress(Widget, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    // Code that moves its window by a title bar of its own, after releasing the capture.
    ReleaseCapture();
    SendMessage(W, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), 0);
    QMouseEvent Move(QEvent::MouseMove, QPointF(40, 30), QPointF(140, 130), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(Widget, &Move);
    QMouseEvent Up(QEvent::MouseButtonRelease, QPointF(40, 30), QPointF(140, 130), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(Widget, &Up);
    EXPECT_EQ(WindowRectOf(W), (RECT{130, 120, 250, 200}));
    EXPECT_TRUE(EntriesOf(W, WM_LBUTTONUP).empty());    // the move took the pointer
}

TEST_F(WindowTest, TheDesktopIsTheScreenAndItsPopupsAreTopLevel)
{
    HWND Desktop = GetDesktopWindow();
    ASSERT_TRUE(IsWindow(Desktop));
    QRect Screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(WindowRectOf(Desktop), (RECT{Screen.x(), Screen.y(), Screen.right() + 1, Screen.bottom() + 1}));
    EXPECT_FALSE(DestroyWindow(Desktop));

    HWND Popup = Make(WS_POPUP, 5, 5, 50, 20, Desktop, WS_EX_TOPMOST);
    ASSERT_NE(Popup, nullptr);
    Created.push_back(Popup);
    EXPECT_EQ(GetParent(Popup), nullptr);
    EXPECT_TRUE(WindowWidget(Popup)->isWindow());
    EXPECT_TRUE(WindowWidget(Popup)->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(WindowRectOf(Popup), (RECT{5, 5, 55, 25}));

    HDC DC = GetWindowDC(Desktop);
    EXPECT_EQ(WindowFromDC(DC), Desktop);
    EXPECT_EQ(WindowSurface(Desktop)->size(), Screen.size());
    ReleaseDC(Desktop, DC);
}

TEST_F(WindowTest, AnimateWindowShowsThePrintedPictureAndHidesAgain)
{
    HWND W = Make(WS_POPUP | WS_BORDER, 10, 10, 60, 40);
    Hook = [&](HWND, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_PRINTCLIENT) {
            HDC DC = reinterpret_cast<HDC>(WParam);
            EXPECT_EQ(WindowFromDC(DC), nullptr);    // a bitmap DC of the client size
            HBRUSH Blue = CreateSolidBrush(RGB(0, 0, 255));
            RECT R{0, 0, 58, 38};
            FillRect(DC, &R, Blue);
            DeleteObject(Blue);
            return 0;
        }
        return std::nullopt;
    };
    EXPECT_FALSE(AnimateWindow(W, 30, AW_HIDE | AW_SLIDE | AW_VER_POSITIVE));    // not shown yet
    EXPECT_TRUE(AnimateWindow(W, 30, AW_SLIDE | AW_VER_NEGATIVE));
    EXPECT_EQ(EntriesOf(W, WM_PRINTCLIENT).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(W));
    EXPECT_TRUE(WindowWidget(W)->mask().isEmpty());
    EXPECT_EQ(WindowSurface(W)->pixel(30, 20) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(WindowSurface(W)->pixel(0, 0) & 0xFFFFFF, GetSysColor(COLOR_WINDOWFRAME) & 0xFFFFFF);
    EXPECT_FALSE(AnimateWindow(W, 30, AW_SLIDE | AW_VER_NEGATIVE));    // already shown

    EXPECT_TRUE(AnimateWindow(W, 30, AW_HIDE | AW_SLIDE | AW_VER_POSITIVE));
    EXPECT_FALSE(IsWindowVisible(W));
    EXPECT_FALSE(WindowWidget(W)->isVisible());
    EXPECT_EQ(EntriesOf(W, WM_PRINTCLIENT).size(), 2u);
}

TEST(WindowServices, MetricsParametersMonitorsAndTime)
{
    QScreen *Primary = QGuiApplication::primaryScreen();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Primary->geometry().width());
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 18);
    EXPECT_EQ(GetSystemMetrics(SM_MIDEASTENABLED), 0);    // the test locale writes left to right

    RECT Work = WorkArea();
    QRect Available = Primary->availableGeometry();
    EXPECT_EQ(Work, (RECT{Available.x(), Available.y(), Available.right() + 1, Available.bottom() + 1}));
    NONCLIENTMETRICS M;
    EXPECT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof M, &M, 0));
    EXPECT_EQ(M.lfMenuFont.lfFaceName, QStringLiteral("Tahoma"));
    EXPECT_EQ(M.lfMenuFont.lfHeight, -11);
    EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));

    ASSERT_GE(MonitorCount(), 1);
    MONITORINFO Info;
    EXPECT_TRUE(GetMonitorInfo(MonitorFromPoint(POINT{-100000, 5}, MONITOR_DEFAULTTONEAREST), &Info));
    EXPECT_EQ(Info.rcWork, Work);
    EXPECT_EQ(MonitorFromPoint(POINT{-100000, 5}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), MonitorByIndex(0));

    DWORD Before = GetTickCount();
    Sleep(20);
    DWORD After = GetTickCount();
    EXPECT_GE(LONG(After - Before), 19);    // signed difference survives the wrap
}

} // namespace

namespace {

TEST_F(WindowTest, TheDesktopResizingAWindowIsReportedLikeSetWindowPos)
{
    HWND W = Make(WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 100, 50);
    Log.clear();
    WindowWidget(W)->setGeometry(20, 25, 140, 70);
    EXPECT_EQ(WindowRectOf(W), (RECT{20, 25, 160, 95}));
    EXPECT_EQ(Client(W), (RECT{0, 0, 138, 68}));
    EXPECT_EQ(MessagesOf(W, {WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              (std::vector<UINT>{WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    EXPECT_EQ(EntriesOf(W, WM_SIZE)[0].LParam, MAKELPARAM(138, 68));
    EXPECT_EQ(WindowSurface(W)->size(), QSize(140, 70));
}

TEST_F(WindowTest, StyleBitsShowHideAndTopmostFollowTheirCalls)
{
    HWND W = Make(WS_POPUP, 0, 0, 40, 40);
    SetWindowLong(W, GWL_STYLE, GetWindowLong(W, GWL_STYLE) | WS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(W));
    EXPECT_TRUE(WindowWidget(W)->isVisible());
    EXPECT_EQ(EntriesOf(W, WM_SHOWWINDOW).size(), 1u);
    SetWindowLong(W, GWL_STYLE, GetWindowLong(W, GWL_STYLE) | WS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(W));

    // A frame change reports the window's own rectangle in the NCCALCSIZE_PARAMS it sends.
    WINDOWPOS Seen;
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM LParam) -> std::optional<LRESULT> {
        if (Msg == WM_NCCALCSIZE)
            Seen = *reinterpret_cast<NCCALCSIZE_PARAMS *>(LParam)->lppos;
        return std::nullopt;
    };
    SetWindowPos(W, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    EXPECT_EQ((std::array<int, 4>{Seen.x, Seen.y, Seen.cx, Seen.cy}), (std::array<int, 4>{0, 0, 40, 40}));
    EXPECT_TRUE(GetWindowLong(W, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(WindowWidget(W)->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(WindowWidget(W)->isVisible());
    SetWindowPos(W, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(WindowWidget(W)->windowFlags() & Qt::WindowStaysOnTopHint);
}

} // namespace
