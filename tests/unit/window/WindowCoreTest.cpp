// Window objects: creation and destruction, handle validation, procedures and subclassing, the non-client
// band and frame changes.
#include "tests/unit/window/WindowFixture.h"

#include <QPointer>
#include <QWidget>

namespace {

constexpr DWORD Child = WS_CHILD | WS_VISIBLE;

TEST_F(WindowTest, CreationAndDestructionMessagesComeInOrder)
{
    HWND Top = Make(WS_POPUP, 10, 20, 200, 100);
    ASSERT_TRUE(IsWindow(Top));
    EXPECT_EQ(MessagesOf(Top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));

    HWND A = Make(Child, 0, 0, 50, 50, Top);
    HWND B = Make(Child, 0, 0, 20, 20, A);
    Log.clear();
    EXPECT_TRUE(DestroyWindow(Top));
    std::vector<std::pair<HWND, UINT>> Order;
    for (const TLogged &L : Log)
        if (L.Msg == WM_DESTROY || L.Msg == WM_NCDESTROY)
            Order.push_back({L.Wnd, L.Msg});
    EXPECT_EQ(Order, (std::vector<std::pair<HWND, UINT>>{{B, WM_DESTROY}, {B, WM_NCDESTROY}, {A, WM_DESTROY},
                                                           {A, WM_NCDESTROY}, {Top, WM_DESTROY},
                                                           {Top, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(Top));
    EXPECT_FALSE(IsWindow(A));
    EXPECT_FALSE(IsWindow(B));
}

TEST_F(WindowTest, CreateAnsweringMinusOneFailsAndLeavesNoWindow)
{
    HWND Seen = nullptr;
    Hook = [&](HWND W, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_CREATE) {
            Seen = W;
            return -1;
        }
        return std::nullopt;
    };
    EXPECT_EQ(Make(WS_POPUP, 0, 0, 10, 10), nullptr);
    ASSERT_NE(Seen, nullptr);
    EXPECT_FALSE(IsWindow(Seen));
    EXPECT_EQ(MessagesOf(Seen, {WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowTest, NullAndDestroyedHandlesAnswerNothing)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(W);
    for (HWND H : {HWND(nullptr), W}) {
        RECT R{1, 2, 3, 4};
        EXPECT_EQ(SendMessage(H, WM_USER, 1, 2), 0);
        EXPECT_FALSE(GetWindowRect(H, &R));
        EXPECT_FALSE(ShowWindow(H, SW_SHOW));
        EXPECT_EQ(GetWindowLong(H, GWL_STYLE), 0);
        EXPECT_EQ(SetWindowLong(H, GWL_USERDATA, 5), 0);
        EXPECT_FALSE(SetWindowPos(H, nullptr, 0, 0, 5, 5, 0));
        EXPECT_FALSE(InvalidateRect(H, nullptr, TRUE));
        HDC DC = GetWindowDC(H);
        EXPECT_EQ(DC == nullptr, H != nullptr);    // nullptr: the screen
        ReleaseDC(H, DC);
        EXPECT_EQ(GetParent(H), nullptr);
        EXPECT_EQ(GetClassName(H), QString());
        EXPECT_FALSE(DestroyWindow(H));
    }
    EXPECT_FALSE(PostMessage(W, WM_USER, 0, 0));
    EXPECT_EQ(CreateWindowEx(0, QStringLiteral("RecordingWindow"), QString(), Child, 0, 0, 5, 5, W, 0, nullptr,
                             nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowEx(0, QStringLiteral("NoSuchClass"), QString(), WS_POPUP, 0, 0, 5, 5, nullptr, 0,
                             nullptr, nullptr),
              nullptr);
}

TEST_F(WindowTest, DestroyingAWindowInsideItsOwnMessageIsSafe)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    Hook = [&](HWND H, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_USER) {
            DestroyWindow(H);
            // The object is still readable until the outermost dispatch returns.
            EXPECT_FALSE(IsWindow(H));
            EXPECT_EQ(SendMessage(H, WM_USER + 1, 0, 0), 0);
            return 7;
        }
        return std::nullopt;
    };
    QPointer<QWidget> Widget = WindowWidget(W);
    EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 7);
    EXPECT_FALSE(IsWindow(W));
    // The widget waits until no dispatch can be using it, even without a running event loop.
    EXPECT_FALSE(Widget.isNull());
    ProcessPendingMessages();
    EXPECT_TRUE(Widget.isNull());
}

TEST_F(WindowTest, ClassNamesIgnoreCaseAndTheAnsiCopyIsTruncated)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, QStringLiteral("recordingwindow"));
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(GetClassName(W), QStringLiteral("RecordingWindow"));
    char Buffer[6];
    EXPECT_EQ(GetClassNameA(W, Buffer, sizeof Buffer), 5);
    EXPECT_STREQ(Buffer, "Recor");
}

// ---- procedures ----------------------------------------------------------------------------------------

std::vector<QString> Trace;
WNDPROC SavedProc = nullptr;

LRESULT SubclassProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_USER)
        Trace.push_back(QStringLiteral("sub"));
    return CallWindowProc(SavedProc, W, Msg, WParam, LParam);
}

TEST_F(WindowTest, SubclassingChainsAndRestores)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    Trace.clear();
    WNDPROC Class = reinterpret_cast<WNDPROC>(GetWindowLong(W, GWL_WNDPROC));
    EXPECT_EQ(Class, MakeWndProc(RecordingProc));

    SavedProc = reinterpret_cast<WNDPROC>(
        SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(SubclassProc))));
    EXPECT_EQ(SavedProc, Class);

    // An object method on top, chaining to the plain subclass.
    WNDPROC Below = nullptr;
    int Calls = 0;
    WNDPROC Method = MakeObjectInstance([&](HWND H, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
        if (Msg == WM_USER) {
            ++Calls;
            Trace.push_back(QStringLiteral("method"));
        }
        return CallWindowProc(Below, H, Msg, WP, LP);
    });
    Below = reinterpret_cast<WNDPROC>(SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Method)));
    Log.clear();
    SendMessage(W, WM_USER, 0, 0);
    EXPECT_EQ(Trace, (std::vector<QString>{QStringLiteral("method"), QStringLiteral("sub")}));
    EXPECT_EQ(MessagesOf(W), std::vector<UINT>{WM_USER});

    // Unhooking in reverse order gives the class procedure back.
    SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Below));
    FreeObjectInstance(Method);
    SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SavedProc));
    Trace.clear();
    SendMessage(W, WM_USER, 0, 0);
    EXPECT_TRUE(Trace.empty());
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(CallWindowProc(nullptr, W, WM_NCCREATE, 0, 0), TRUE);    // nullptr: DefWindowProc
}

TEST_F(WindowTest, AnObjectInstanceMayBeFreedWhileItRuns)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    WNDPROC Old = nullptr;
    WNDPROC Self = nullptr;
    std::string Captured = "still here";
    Self = MakeObjectInstance([&, Captured](HWND H, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
        if (Msg == WM_USER) {
            SetWindowLong(H, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
            FreeObjectInstance(Self);
            return LRESULT(Captured.size());    // the closure is intact after freeing itself
        }
        return CallWindowProc(Old, H, Msg, WP, LP);
    });
    Old = reinterpret_cast<WNDPROC>(SetWindowLong(W, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Self)));
    EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), LRESULT(Captured.size()));
    EXPECT_EQ(GetWindowLong(W, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(Old));
}

// ---- non-client band ------------------------------------------------------------------------------------

struct TBandCase
{
    const char *Name;
    DWORD Style;
    DWORD ExStyle;
    bool TopLevel;
    int Band;
};

void PrintTo(const TBandCase &C, std::ostream *OS) { *OS << C.Name; }

class BandTest : public WindowTest, public ::testing::WithParamInterface<TBandCase>
{
};

TEST_P(BandTest, ClientRectIsTheWindowLessTheStylesBand)
{
    const TBandCase &C = GetParam();
    HWND Parent = C.TopLevel ? nullptr : Make(WS_POPUP, 0, 0, 300, 300);
    HWND W = Make(C.Style, 5, 7, 100, 60, Parent, C.ExStyle);
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(Client(W), (RECT{0, 0, 100 - 2 * C.Band, 60 - 2 * C.Band}));
    EXPECT_EQ(ClientOrigin(W), (POINT{C.Band, C.Band}));
    RECT WR;
    GetWindowRect(W, &WR);
    POINT P{0, 0};
    ClientToScreen(W, &P);
    EXPECT_EQ(P, (POINT{WR.Left + C.Band, WR.Top + C.Band}));
    ASSERT_NE(WindowSurface(W), nullptr);
    EXPECT_EQ(WindowSurface(W)->size(), QSize(100, 60));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BandTest,
    ::testing::Values(TBandCase{"ChildDialogFrame", WS_CHILD | WS_DLGFRAME, 0, false, 3},
                      TBandCase{"ModalFrame", WS_POPUP, WS_EX_DLGMODALFRAME, true, 3},
                      TBandCase{"Thick", WS_POPUP | WS_THICKFRAME, 0, true, 4},
                      TBandCase{"Captioned", WS_OVERLAPPEDWINDOW, 0, true, 0},
                      TBandCase{"ChildBorder", WS_CHILD | WS_BORDER, 0, false, 1},
                      TBandCase{"ChildClientEdge", WS_CHILD, WS_EX_CLIENTEDGE, false, 2},
                      TBandCase{"ChildBorderAndEdge", WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE, false, 3},
                      TBandCase{"PlainChild", WS_CHILD, 0, false, 0}),
    [](const ::testing::TestParamInfo<TBandCase> &I) { return std::string(I.param.Name); });

TEST_F(WindowTest, ClearingTheCaptionGivesAFramelessWindowWithAPaintedBand)
{
    HWND W = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 60, 200, 120, nullptr,
                  WS_EX_DLGMODALFRAME);
    ASSERT_NE(W, nullptr);
    QWidget *Widget = WindowWidget(W);
    ASSERT_NE(Widget, nullptr);
    EXPECT_FALSE(Widget->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(ClientOrigin(W), (POINT{0, 0}));

    // The hook paints its own frame, as a skinned frame does.
    const COLORREF Frame = RGB(200, 10, 30);
    Hook = [&](HWND H, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (H == W && Msg == WM_NCPAINT) {
            HDC DC = GetWindowDC(H);
            HBRUSH B = CreateSolidBrush(Frame);
            RECT R{0, 0, 200, 120};
            FillRect(DC, &R, B);
            DeleteObject(B);
            ReleaseDC(H, DC);
            return 0;
        }
        return std::nullopt;
    };
    SetWindowLong(W, GWL_STYLE, GetWindowLong(W, GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
    Log.clear();
    SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    auto Calc = EntriesOf(W, WM_NCCALCSIZE);
    ASSERT_EQ(Calc.size(), 1u);
    EXPECT_EQ(Calc[0].WParam, WPARAM(TRUE));
    EXPECT_TRUE(WindowWidget(W)->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(WindowWidget(W)->isVisible());
    EXPECT_EQ(WindowWidget(W)->geometry(), QRect(50, 60, 200, 120));
    EXPECT_EQ(ClientOrigin(W), (POINT{3, 3}));
    EXPECT_EQ(Client(W), (RECT{0, 0, 194, 114}));

    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W, {WM_NCPAINT}).size(), 1u);
    const QImage *S = WindowSurface(W);
    EXPECT_EQ(S->pixel(0, 0) & 0xFFFFFF, 0xC80A1Eu);
    EXPECT_EQ(S->pixel(199, 119) & 0xFFFFFF, 0xC80A1Eu);

    // Drawing through the window DC outside any paint shows at once.
    HDC DC = GetWindowDC(W);
    EXPECT_EQ(WindowFromDC(DC), W);
    SetPixel(DC, 1, 1, RGB(0, 0, 255));
    ReleaseDC(W, DC);
    EXPECT_EQ(WindowSurface(W)->pixel(1, 1) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(WindowTest, ChangingTheFrameMovesChildrenWithTheClientArea)
{
    HWND Top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND C = Make(Child, 10, 10, 20, 20, Top);
    EXPECT_EQ(WindowWidget(C)->pos(), QPoint(10, 10));
    SetWindowLong(Top, GWL_STYLE, GetWindowLong(Top, GWL_STYLE) | WS_THICKFRAME);
    SetWindowPos(Top, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(WindowWidget(C)->pos(), QPoint(14, 14));
    RECT R;
    GetWindowRect(C, &R);
    EXPECT_EQ(R, (RECT{14, 14, 34, 34}));
}

} // namespace

namespace {

TEST_F(WindowTest, ZOrderDecidesWhichChildIsAtAPoint)
{
    HWND Top = Make(WS_POPUP | WS_VISIBLE, 300, 200, 100, 100);
    HWND First = Make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, Top);
    HWND Second = Make(WS_CHILD | WS_VISIBLE, 20, 20, 50, 50, Top);
    HWND Inner = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 20, 20, Second);
    // Newer children lie on top.
    EXPECT_EQ(GetWindow(Top, GW_CHILD), Second);
    EXPECT_EQ(GetWindow(Second, GW_HWNDNEXT), First);
    EXPECT_EQ(GetWindow(First, GW_HWNDPREV), Second);
    EXPECT_EQ(ChildWindowFromPoint(Top, POINT{30, 30}), Inner);
    EXPECT_EQ(ChildWindowFromPoint(Top, POINT{10, 10}), First);
    EXPECT_EQ(ChildWindowFromPoint(Top, POINT{90, 90}), Top);
    EXPECT_EQ(WindowFromPoint(POINT{300 + 30, 200 + 30}), Inner);
    EXPECT_EQ(WindowFromPoint(POINT{300 + 20 + 5, 200 + 20 + 5}), Inner);    // Inner's border is Inner's

    SetWindowPos(Second, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(Top, GW_CHILD), First);
    EXPECT_EQ(ChildWindowFromPoint(Top, POINT{30, 30}), First);
    ShowWindow(First, SW_HIDE);
    EXPECT_EQ(ChildWindowFromPoint(Top, POINT{30, 30}), Inner);
    EXPECT_FALSE(IsWindowVisible(First));
    EXPECT_TRUE(IsChild(Top, Inner));
    EXPECT_FALSE(IsChild(Inner, Top));
}

TEST_F(WindowTest, SetParentMovesAWindowAndItsWidget)
{
    HWND P1 = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND P2 = Make(WS_POPUP | WS_VISIBLE | WS_BORDER, 200, 0, 100, 100);
    HWND C = Make(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, P1);
    EXPECT_EQ(SetParent(C, P2), P1);
    EXPECT_EQ(GetParent(C), P2);
    EXPECT_EQ(GetWindow(P1, GW_CHILD), nullptr);
    EXPECT_EQ(WindowWidget(C)->parentWidget(), WindowWidget(P2));
    EXPECT_EQ(WindowWidget(C)->pos(), QPoint(11, 11));
    EXPECT_TRUE(WindowWidget(C)->isVisible());
    RECT R;
    GetWindowRect(C, &R);
    EXPECT_EQ(R, (RECT{211, 11, 231, 31}));
    // A window cannot become its own descendant's child.
    EXPECT_EQ(SetParent(P2, C), nullptr);
    DestroyWindow(P2);
    EXPECT_FALSE(IsWindow(C));
}

} // namespace
