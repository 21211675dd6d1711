// A top-level window's menu bar: the band it takes off the client area, its layout, its pixels, and its menu
// loop driven by Qt input injected from the window's WM_ENTERIDLE while the loop runs (lParam: the open
// drop-down, nullptr while only the bar is selected).
#include "MenuFixture.h"

#include "platform/Window.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>

namespace {

struct TSeen
{
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

QRgb Rgb(COLORREF C) { return qRgb(GetRValue(C), GetGValue(C), GetBValue(C)); }

class MenuBarTest : public MenuTest
{
public:
    static inline std::vector<TSeen> Log;
    static inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> Hook;
    static inline std::deque<std::function<void(HWND)>> Steps;

    static LRESULT Proc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        Log.push_back({Msg, WParam, LParam});
        if (Msg == WM_ENTERIDLE && WParam == MSGF_MENU) {
            if (!Steps.empty()) {
                auto Step = std::move(Steps.front());
                Steps.pop_front();
                Step(reinterpret_cast<HWND>(LParam));
                if (!Steps.empty() && IsWindow(W))
                    PostMessage(W, WM_NULL, 0, 0);
            }
            return 0;
        }
        if (Hook)
            if (std::optional<LRESULT> R = Hook(W, Msg, WParam, LParam))
                return *R;
        return DefWindowProc(W, Msg, WParam, LParam);
    }

protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        Log.clear();
        Steps.clear();
        Hook = nullptr;
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("BarOwner");
        C.lpfnWndProc = MakeWndProc(Proc);
        RegisterClass(&C);
        Wnd = Make(WS_POPUP | WS_THICKFRAME, Bar);
        ASSERT_EQ(GetMenu(Wnd), Bar);
        SetActiveWindow(Wnd);
        SetFocus(Wnd);
        ProcessPendingMessages();
        Log.clear();
    }

    void TearDown() override
    {
        Hook = nullptr;
        Steps.clear();
        DestroyWindow(Wnd);
        ProcessPendingMessages();
        MenuTest::TearDown();
    }

    static HWND Make(DWORD Style, HMENU Menu)
    {
        return CreateWindowEx(0, QStringLiteral("BarOwner"), QStringLiteral("bar"), Style | WS_VISIBLE, 100, 100,
                              400, 250, nullptr, reinterpret_cast<LONG_PTR>(Menu), nullptr, nullptr);
    }

    RECT ItemRect(int I) const
    {
        RECT R{};
        EXPECT_TRUE(GetMenuItemRect(Wnd, Bar, UINT(I), &R)) << I;
        return R;
    }

    // The middle of bar item I in the window widget's coordinates.
    QPoint ItemPoint(int I) const
    {
        const RECT R = ItemRect(I), W = WindowRect();
        return QPoint((R.Left + R.Right) / 2 - W.Left, (R.Top + R.Bottom) / 2 - W.Top);
    }

    RECT WindowRect() const
    {
        RECT W;
        GetWindowRect(Wnd, &W);
        return W;
    }

    QWidget *Widget() const { return WindowWidget(Wnd); }
    void Key(Qt::Key K, Qt::KeyboardModifiers M = {}) const { QTest::keyClick(Widget(), K, M); }
    static void KeyIn(HWND Popup, Qt::Key K) { QTest::keyClick(WindowWidget(Popup), K); }
    void PressOn(int I) const { QTest::mousePress(Widget(), Qt::LeftButton, {}, ItemPoint(I)); }

    void MoveOver(int I) const
    {
        const QPoint At = ItemPoint(I);
        QMouseEvent E(QEvent::MouseMove, At, Widget()->mapToGlobal(At), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Widget(), &E);
    }

    // A release on the popup's item whose client rectangle starts at Top.
    static void ReleaseOnItem(HWND Popup, int Top)
    {
        const POINT O = ClientOrigin(Popup);
        QTest::mouseRelease(WindowWidget(Popup), Qt::LeftButton, {}, QPoint(O.X + 20, O.Y + Top + 3));
    }

    static std::vector<TSeen> Seen(UINT Msg)
    {
        std::vector<TSeen> R;
        for (const TSeen &S : Log)
            if (S.Msg == Msg)
                R.push_back(S);
        return R;
    }

    static std::vector<HMENU> Opened()
    {
        std::vector<HMENU> R;
        for (const TSeen &S : Seen(WM_INITMENUPOPUP))
            R.push_back(reinterpret_cast<HMENU>(S.WParam));
        return R;
    }

    // The bar items WM_MENUSELECT named (positions for items opening drop-downs, commands for the others).
    std::vector<int> BarSelections() const
    {
        std::vector<int> R;
        for (const TSeen &S : Seen(WM_MENUSELECT))
            if (reinterpret_cast<HMENU>(S.LParam) == Bar)
                R.push_back(LOWORD(S.WParam));
        return R;
    }

    static std::vector<int> Commands()
    {
        ProcessPendingMessages();
        std::vector<int> R;
        for (const TSeen &S : Seen(WM_COMMAND))
            R.push_back(LOWORD(S.WParam));
        return R;
    }

    static bool LoopRan() { return !Seen(WM_ENTERMENULOOP).empty(); }

    HWND Wnd = nullptr;
};

TEST_F(MenuBarTest, TheBandTakesTheMenuHeightOffTheClientAreaOnlyWhileThereIsAMenu)
{
    const int H = GetSystemMetrics(SM_CYMENU);
    EXPECT_GE(H, 16);
    for (DWORD Style : {DWORD(WS_POPUP), DWORD(WS_POPUP | WS_THICKFRAME), DWORD(WS_OVERLAPPEDWINDOW)}) {
        SCOPED_TRACE(Style);
        HMENU M = Keep(CreateMenu());
        AppendMenu(M, MF_STRING, 7, QStringLiteral("&Go"));
        HWND W = Make(Style, nullptr);
        RECT Plain, WithBar, Again;
        GetClientRect(W, &Plain);
        const POINT PlainOrigin = ClientOrigin(W);
        ASSERT_TRUE(SetMenu(W, M));
        GetClientRect(W, &WithBar);
        EXPECT_EQ(WithBar.Height(), Plain.Height() - H);
        EXPECT_EQ(WithBar.Width(), Plain.Width());
        EXPECT_EQ(ClientOrigin(W).Y, PlainOrigin.Y + H);

        RECT R;
        GetWindowRect(W, &R);
        const POINT Origin = ClientOrigin(W);
        EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(R.Left + Origin.X + 30, R.Top + Origin.Y - H / 2)),
                  HTMENU);
        EXPECT_EQ(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(R.Left + Origin.X + 30, R.Top + Origin.Y + 2)),
                  HTCLIENT);

        ASSERT_TRUE(SetMenu(W, nullptr));
        GetClientRect(W, &Again);
        EXPECT_EQ(Again, Plain);
        EXPECT_NE(SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(R.Left + Origin.X + 30, R.Top + Origin.Y - H / 2)),
                  HTMENU);
        SetMenu(W, M);
        DestroyMenu(M);
        GetClientRect(W, &Again);
        EXPECT_EQ(Again, Plain) << "the band goes with a destroyed bar";
        DestroyWindow(W);
    }
}

TEST_F(MenuBarTest, CreateWindowTakesATopLevelWindowsMenuButNotAChildsId)
{
    RECT C;
    GetClientRect(Wnd, &C);
    EXPECT_EQ(C.Height(), 250 - 2 * 4 - GetSystemMetrics(SM_CYMENU));
    HMENU Other = Keep(CreateMenu());
    AppendMenu(Other, MF_STRING, 1, QStringLiteral("x"));
    HWND Child = CreateWindowEx(0, QStringLiteral("BarOwner"), QString(), WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, Wnd,
                                reinterpret_cast<LONG_PTR>(Other), nullptr, nullptr);
    ASSERT_TRUE(Child);
    EXPECT_EQ(GetMenu(Child), nullptr);
    RECT Cc;
    GetClientRect(Child, &Cc);
    EXPECT_EQ(Cc.Height(), 50);
    HWND Second = Make(WS_POPUP, Bar);
    EXPECT_EQ(GetMenu(Second), nullptr) << "the bar is another window's already";
    DestroyWindow(Second);
}

TEST_F(MenuBarTest, ItemsLieLeftToRightAndARightJustifiedOneFlushRight)
{
    ModifyMenu(Bar, 2, MF_BYPOSITION | MF_STRING | MF_RIGHTJUSTIFY, 401, QStringLiteral("&Help"));
    DrawMenuBar(Wnd);
    const RECT W = WindowRect();
    const RECT F = ItemRect(0), E = ItemRect(1), H = ItemRect(2);
    EXPECT_EQ(F.Left, W.Left + 4);
    EXPECT_EQ(F.Top, W.Top + 4);
    EXPECT_EQ(F.Height(), GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(E.Left, F.Right);
    EXPECT_GT(F.Width(), 20);
    EXPECT_EQ(H.Right, W.Right - 4);
    EXPECT_GT(H.Left, E.Right);
    for (int I : {0, 1, 2}) {
        const RECT R = ItemRect(I);
        EXPECT_EQ(MenuItemFromPoint(Wnd, Bar, POINT{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}), I);
    }
    EXPECT_EQ(MenuItemFromPoint(Wnd, Bar, POINT{(E.Right + H.Left) / 2, E.Top + 3}), -1);
    EXPECT_EQ(MenuItemFromPoint(Wnd, Bar, POINT{F.Left + 3, F.Bottom + 3}), -1) << "the client area";
    RECT R;
    EXPECT_FALSE(GetMenuItemRect(Wnd, Bar, 3, &R));
    EXPECT_FALSE(GetMenuItemRect(Wnd, File, 0, &R)) << "not the window's bar";
    EXPECT_EQ(MenuItemFromPoint(Wnd, File, POINT{F.Left + 3, F.Top + 3}), -1);
}

TEST_F(MenuBarTest, ThePlatformPaintsTheBandAndHighlightsTheSelectedItem)
{
    EnableMenuItem(Bar, 2, MF_BYPOSITION | MF_GRAYED);
    DrawMenuBar(Wnd);
    UpdateWindow(Wnd);
    const RECT W = WindowRect();
    const auto Colours = [&](int I) {
        const RECT R = ItemRect(I);
        QSet<QRgb> Seen;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Seen.insert(WindowSurface(Wnd)->pixel(X - W.Left, Y - W.Top) | 0xFF000000);
        return Seen;
    };
    const QRgb Menu = Rgb(GetSysColor(COLOR_MENUBAR)), Hi = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(WindowSurface(Wnd)->pixel(W.Right - W.Left - 10, 4 + 2) | 0xFF000000, Menu) << "the empty band";
    EXPECT_TRUE(Colours(0).contains(Rgb(GetSysColor(COLOR_MENUTEXT))));
    EXPECT_FALSE(Colours(0).contains(Hi));
    EXPECT_TRUE(Colours(2).contains(Rgb(GetSysColor(COLOR_GRAYTEXT)))) << "a grayed item";

    std::vector<QSet<QRgb>> During;
    Steps.push_back([&](HWND) {
        During = {Colours(0), Colours(1)};
        Key(Qt::Key_Escape);
    });
    Key(Qt::Key_F10);
    ASSERT_EQ(During.size(), 2u);
    EXPECT_TRUE(During[0].contains(Hi));
    EXPECT_TRUE(During[0].contains(Rgb(GetSysColor(COLOR_HIGHLIGHTTEXT))));
    EXPECT_FALSE(During[1].contains(Hi));
    EXPECT_FALSE(Colours(0).contains(Hi)) << "the highlight goes with the loop";
}

TEST_F(MenuBarTest, APressOpensTheDropDownBelowItsItemAndAReleaseOnAnItemPostsItsCommand)
{
    RECT Popup{};
    Steps.push_back([&](HWND P) {
        ASSERT_TRUE(P);
        GetWindowRect(P, &Popup);
        ReleaseOnItem(P, 0);
    });
    PressOn(0);
    const RECT Below = ItemRect(0);
    EXPECT_EQ(Popup.Left, Below.Left);
    EXPECT_EQ(Popup.Top, Below.Bottom);
    EXPECT_EQ(Commands(), (std::vector<int>{101}));
    EXPECT_EQ(Opened(), (std::vector<HMENU>{File}));
    EXPECT_EQ(Seen(WM_INITMENUPOPUP).front().LParam, MAKELPARAM(0, FALSE));

    std::vector<UINT> Order;
    for (const TSeen &S : Log)
        if (S.Msg == WM_ENTERMENULOOP || S.Msg == WM_INITMENU || S.Msg == WM_INITMENUPOPUP ||
            S.Msg == WM_EXITMENULOOP)
            Order.push_back(S.Msg);
    EXPECT_EQ(Order, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP}));
    EXPECT_EQ(Seen(WM_ENTERMENULOOP).front().WParam, WPARAM(FALSE));
    EXPECT_EQ(Seen(WM_EXITMENULOOP).front().WParam, WPARAM(FALSE));
    EXPECT_EQ(Seen(WM_INITMENU).front().WParam, reinterpret_cast<WPARAM>(Bar));
    const TSeen First = Seen(WM_MENUSELECT).front();
    EXPECT_EQ(LOWORD(First.WParam), 0);
    EXPECT_EQ(HIWORD(First.WParam) & (MF_POPUP | MF_HILITE | MF_MOUSESELECT), MF_POPUP | MF_HILITE | MF_MOUSESELECT);
    EXPECT_EQ(HIWORD(Seen(WM_MENUSELECT).back().WParam), 0xFFFF);
}

TEST_F(MenuBarTest, PointingAtAnotherItemOpensItsDropDownAndAPressOnTheOpenOneCloses)
{
    Steps.push_back([&](HWND) { MoveOver(1); });
    Steps.push_back([&](HWND P) {
        EXPECT_TRUE(P);
        MoveOver(1);
        MoveOver(2);
    });
    Steps.push_back([&](HWND P) {
        EXPECT_EQ(P, nullptr) << "Help is a command";
        MoveOver(0);
    });
    Steps.push_back([&](HWND P) {
        EXPECT_TRUE(P);
        PressOn(0);
    });
    PressOn(0);
    EXPECT_EQ(Opened(), (std::vector<HMENU>{File, Edit, File}));
    EXPECT_EQ(BarSelections(), (std::vector<int>{0, 1, 401, 0}));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Seen(WM_EXITMENULOOP).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuBarTest, ACommandOnTheBarIsChosenByAClick)
{
    Steps.push_back([&](HWND P) {
        EXPECT_EQ(P, nullptr) << "no drop-down";
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, ItemPoint(2));
    });
    PressOn(2);
    EXPECT_EQ(Commands(), (std::vector<int>{401}));
    EXPECT_TRUE(Opened().empty());
}

TEST_F(MenuBarTest, AltAloneOrF10SelectsTheBarAndTheArrowsMoveAroundIt)
{
    HWND Child = CreateWindowEx(0, QStringLiteral("BarOwner"), QString(), WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, Wnd, 0,
                                nullptr, nullptr);
    SetFocus(Child);
    for (Qt::Key Start : {Qt::Key_Alt, Qt::Key_F10}) {
        SCOPED_TRACE(Start);
        Log.clear();
        Steps.push_back([&](HWND P) {
            EXPECT_EQ(P, nullptr);
            EXPECT_EQ(GetFocus(), Child) << "the focus stays";
            for (Qt::Key K : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
                QTest::keyClick(WindowWidget(Child), K);
            Key(Qt::Key_Escape);
        });
        Key(Start);
        EXPECT_EQ(BarSelections(), (std::vector<int>{0, 1, 401, 0, 401}));
        EXPECT_TRUE(Opened().empty());
        EXPECT_EQ(Seen(WM_EXITMENULOOP).size(), 1u);
    }
    Log.clear();
    QTest::keyClick(Widget(), Qt::Key_Shift, Qt::AltModifier);
    EXPECT_FALSE(LoopRan()) << "Alt with another key is no menu key";
    DestroyWindow(Child);
}

TEST_F(MenuBarTest, DownOpensTheDropDownEscClosesItAndASecondEscLeaves)
{
    std::vector<HWND> Idle;
    Steps.push_back([&](HWND P) {
        Idle.push_back(P);
        Key(Qt::Key_Right);
        Key(Qt::Key_Down);
    });
    Steps.push_back([&](HWND P) {
        Idle.push_back(P);
        KeyIn(P, Qt::Key_Escape);
    });
    Steps.push_back([&](HWND P) {
        Idle.push_back(P);
        Key(Qt::Key_Escape);
    });
    Key(Qt::Key_F10);
    ASSERT_EQ(Idle.size(), 3u);
    EXPECT_EQ(Idle[0], nullptr);
    EXPECT_TRUE(Idle[1]);
    EXPECT_EQ(Idle[2], nullptr) << "the bar stays selected";
    EXPECT_EQ(Opened(), (std::vector<HMENU>{Edit}));
    EXPECT_EQ(BarSelections(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuBarTest, APlainLetterOnTheSelectedBarOpensItsItem)
{
    Steps.push_back([&](HWND) { QTest::keyClick(Widget(), 'e'); });
    Steps.push_back([&](HWND P) {
        ASSERT_TRUE(P);
        KeyIn(P, Qt::Key_Return);
    });
    Key(Qt::Key_F10);
    EXPECT_EQ(Opened(), (std::vector<HMENU>{Edit}));
    EXPECT_EQ(Commands(), (std::vector<int>{201})) << "Copy, selected first";
}

TEST_F(MenuBarTest, LeftAndRightInADropDownGoOnToTheNeighboursDropDown)
{
    Steps.push_back([&](HWND P) { KeyIn(P, Qt::Key_Left); });      // Edit to File
    Steps.push_back([&](HWND P) { KeyIn(P, Qt::Key_Right); });     // Open has no sub-menu: on to Edit
    Steps.push_back([&](HWND P) {
        KeyIn(P, Qt::Key_Down);
        KeyIn(P, Qt::Key_Right);                                     // Format opens beside
    });
    Steps.push_back([&](HWND P) { KeyIn(P, Qt::Key_Return); });    // Bold
    Key(Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(Opened(), (std::vector<HMENU>{Edit, File, Edit, Format}));
    EXPECT_EQ(Commands(), (std::vector<int>{301}));
}

TEST_F(MenuBarTest, AnUnmatchedLetterAsksTheWindowWithWmMenuChar)
{
    struct TCase
    {
        WORD Answer;
        std::vector<int> Commands;
    };
    for (const TCase &C : {TCase{MNC_IGNORE, {}}, TCase{MNC_EXECUTE, {401}}}) {
        SCOPED_TRACE(C.Answer);
        Log.clear();
        Hook = [&](HWND, UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
            if (Msg != WM_MENUCHAR)
                return std::nullopt;
            EXPECT_EQ(L, reinterpret_cast<LPARAM>(Bar));
            return MAKELRESULT(2, C.Answer);
        };
        Key(Qt::Key_Q, Qt::AltModifier);
        std::vector<UINT> Order;
        for (const TSeen &S : Log)
            if (S.Msg == WM_INITMENU || S.Msg == WM_MENUCHAR || S.Msg == WM_EXITMENULOOP)
                Order.push_back(S.Msg);
        EXPECT_EQ(Order, (std::vector<UINT>{WM_INITMENU, WM_MENUCHAR, WM_EXITMENULOOP}));
        EXPECT_EQ(Seen(WM_MENUCHAR).front().WParam, MAKEWPARAM('q', 0));
        EXPECT_TRUE(Seen(WM_ENTERIDLE).empty()) << "the loop does not wait";
        EXPECT_EQ(Commands(), C.Commands);
    }
}

TEST_F(MenuBarTest, AWindowHandlingItsSysCommandKeepsTheBarToItself)
{
    Hook = [](HWND, UINT Msg, WPARAM W, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_SYSCOMMAND && (W & 0xFFF0) == SC_KEYMENU)
            return 0;
        return std::nullopt;
    };
    Key(Qt::Key_F10);
    Key(Qt::Key_F, Qt::AltModifier);
    EXPECT_FALSE(LoopRan());
    EXPECT_EQ(Seen(WM_SYSCOMMAND).size(), 2u);
}

TEST_F(MenuBarTest, AnOwnerDrawnBarItemIsMeasuredAndDrawnByTheWindowOnItsOwnDC)
{
    AppendMenu(Bar, MF_OWNERDRAW, 501, QStringLiteral("od"));
    std::vector<DRAWITEMSTRUCT> Drawn;
    HWND DrawnOn = nullptr;
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (Msg == WM_MEASUREITEM) {
            auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(L);
            EXPECT_EQ(M->itemID, 501u);
            M->itemWidth = 44;
            M->itemHeight = 10;
            return TRUE;
        }
        if (Msg == WM_DRAWITEM) {
            auto *D = reinterpret_cast<DRAWITEMSTRUCT *>(L);
            Drawn.push_back(*D);
            DrawnOn = WindowFromDC(D->hDC);
            HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(D->hDC, &D->rcItem, B);
            DeleteObject(B);
            return TRUE;
        }
        return std::nullopt;
    };
    DrawMenuBar(Wnd);
    UpdateWindow(Wnd);
    ASSERT_EQ(Seen(WM_MEASUREITEM).size(), 1u);
    ASSERT_FALSE(Drawn.empty());
    EXPECT_EQ(DrawnOn, Wnd);
    const RECT R = ItemRect(3), W = WindowRect();
    EXPECT_EQ(R.Width(), 44);
    EXPECT_EQ(R.Height(), GetSystemMetrics(SM_CYMENU)) << "the band's height, whatever the item asks";
    EXPECT_EQ(Drawn.back().rcItem, (RECT{R.Left - W.Left, R.Top - W.Top, R.Right - W.Left, R.Bottom - W.Top}));
    EXPECT_EQ(Drawn.back().hwndItem, reinterpret_cast<HWND>(Bar));
    EXPECT_EQ(Drawn.back().itemState & ODS_SELECTED, 0u);
    EXPECT_EQ(WindowSurface(Wnd)->pixel(ItemPoint(3)) & 0xFFFFFF, 0xFF0000u);

    Drawn.clear();
    Steps.push_back([&](HWND) {
        Key(Qt::Key_Left);
        Key(Qt::Key_Escape);
    });
    Key(Qt::Key_F10);
    ASSERT_FALSE(Drawn.empty());
    EXPECT_TRUE(std::any_of(Drawn.begin(), Drawn.end(), [](const DRAWITEMSTRUCT &D) {
        return (D.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) == (ODS_SELECTED | ODS_HOTLIGHT);
    }));
    EXPECT_EQ(Seen(WM_MEASUREITEM).size(), 1u) << "measured once until the bar changes";
}

TEST_F(MenuBarTest, EveryWayOutEndsTheLoop)
{
    HWND Other = nullptr;
    struct TCase
    {
        const char *Name;
        bool DropDown;
        std::function<void(HWND)> Step;
    };
    const std::vector<TCase> Cases = {
        {"Alt again", false, [&](HWND) { Key(Qt::Key_Alt); }},
        {"Alt in the drop-down", true, [&](HWND P) { KeyIn(P, Qt::Key_Alt); }},
        {"a press in the client area", false,
         [&](HWND) { QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(200, 150)); }},
        {"a press outside the drop-down", true,
         [&](HWND) { QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(200, 200)); }},
        {"EndMenu", true, [&](HWND) { EndMenu(); }},
        {"another window activated", false, [&](HWND) {
             Other = Make(WS_POPUP, nullptr);
             SetActiveWindow(Other);
         }},
        {"the bar replaced", true, [&](HWND) { SetMenu(Wnd, nullptr); }},
        {"the window destroyed", true, [&](HWND) { DestroyWindow(Wnd); }},
    };
    for (const TCase &C : Cases) {
        SCOPED_TRACE(C.Name);
        if (!IsWindow(Wnd)) {
            Wnd = Make(WS_POPUP | WS_THICKFRAME, nullptr);
        }
        SetMenu(Wnd, Bar);
        SetActiveWindow(Wnd);
        SetFocus(Wnd);
        Log.clear();
        HWND DropDown = nullptr;
        Steps.push_back([&](HWND) { Key(C.DropDown ? Qt::Key_Down : Qt::Key_Right); });
        Steps.push_back([&](HWND P) {
            DropDown = P;
            C.Step(P);
        });
        Key(Qt::Key_F10);
        EXPECT_EQ(Steps.size(), 0u);
        EXPECT_EQ(DropDown != nullptr, C.DropDown);
        EXPECT_FALSE(IsWindow(DropDown));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_TRUE(Commands().empty());
        if (IsWindow(Wnd)) {
            EXPECT_EQ(Seen(WM_EXITMENULOOP).size(), 1u);
        }
        for (int I = 0; IsMenu(Bar) && I < GetMenuItemCount(Bar); ++I)
            EXPECT_FALSE(GetMenuState(Bar, UINT(I), MF_BYPOSITION) & MF_HILITE);
        Steps.clear();
        DestroyWindow(Other);
        Other = nullptr;
    }
    if (!IsWindow(Wnd))
        Wnd = nullptr;
}

} // namespace
