// The popup menu loop, driven by Qt input injected into the popup's widget from the owner's WM_ENTERIDLE (or
// from a timer) while TrackPopupMenu runs: the owner-draw records, the drawn pixels, the keyboard and mouse
// paths, every way out of the loop, and the placement at the work area's edges.
#include "platform/Menu.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace {

struct TSeen
{
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

class PopupMenuTest : public ::testing::Test
{
public:
    static inline std::vector<TSeen> Log;
    static inline std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> Hook;
    // One step per WM_ENTERIDLE, in order; the popup window is the step's argument.
    static inline std::deque<std::function<void(HWND)>> Steps;
    static inline HWND Popup = nullptr;

    static LRESULT OwnerProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        Log.push_back({Msg, WParam, LParam});
        if (Msg == WM_ENTERIDLE && WParam == MSGF_MENU) {
            Popup = reinterpret_cast<HWND>(LParam);
            if (!Steps.empty()) {
                auto Step = std::move(Steps.front());
                Steps.pop_front();
                Step(Popup);
                // A step that leaves the menu open and the queue empty still gets the next step its turn.
                if (!Steps.empty())
                    PostMessage(W, WM_NULL, 0, 0);
            }
            return 0;
        }
        if (Hook)
            if (std::optional<LRESULT> R = Hook(Msg, WParam, LParam))
                return *R;
        return DefWindowProc(W, Msg, WParam, LParam);
    }

protected:
    void SetUp() override
    {
        Log.clear();
        Steps.clear();
        Hook = nullptr;
        Popup = nullptr;
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("PopupOwner");
        C.lpfnWndProc = MakeWndProc(OwnerProc);
        RegisterClass(&C);
        Owner = CreateWindowEx(0, C.lpszClassName, QString(), WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, 0,
                               nullptr, nullptr);
        ASSERT_TRUE(Owner);
        SetActiveWindow(Owner);
        Menu = CreatePopupMenu();
        AppendMenu(Menu, MF_STRING, 1, QStringLiteral("&Alpha\tCtrl+A"));
        AppendMenu(Menu, MF_SEPARATOR, 0, QString());
        AppendMenu(Menu, MF_STRING | MF_GRAYED, 2, QStringLiteral("&Beta"));
        AppendMenu(Menu, MF_STRING | MF_CHECKED, 3, QStringLiteral("&Gamma"));
        ProcessPendingMessages();
    }

    void TearDown() override
    {
        Hook = nullptr;
        Steps.clear();
        DestroyMenu(Menu);
        DestroyWindow(Owner);
        ProcessPendingMessages();
    }

    LRESULT Track(UINT Flags, int X = 150, int Y = 150)
    {
        return TrackPopupMenu(Menu, Flags, X, Y, 0, Owner, nullptr);
    }

    static QWidget *PopupWidget() { return WindowWidget(Popup); }

    static void Key(Qt::Key K) { QTest::keyClick(PopupWidget(), K); }
    static void Char(char C) { QTest::keyClick(PopupWidget(), C); }

    // A point of the popup's item Index in its widget's coordinates (the item rectangles are client ones).
    static QPoint ItemPoint(HWND P, int Top)
    {
        const POINT O = ClientOrigin(P);
        return QPoint(O.X + 20, O.Y + Top + 3);
    }

    static void MoveTo(QWidget *W, QPoint At)
    {
        QMouseEvent E(QEvent::MouseMove, At, W->mapToGlobal(At), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(W, &E);
    }

    std::vector<TSeen> Seen(UINT Msg) const
    {
        std::vector<TSeen> R;
        for (const TSeen &S : Log)
            if (S.Msg == Msg)
                R.push_back(S);
        return R;
    }

    // The commands WM_MENUSELECT named, in order (selection changes only).
    std::vector<int> Selections() const
    {
        std::vector<int> R;
        for (const TSeen &S : Seen(WM_MENUSELECT))
            if (HIWORD(S.WParam) != 0xFFFF)
                R.push_back(LOWORD(S.WParam));
        return R;
    }

    HWND Owner = nullptr;
    HMENU Menu = nullptr;
};

TEST_F(PopupMenuTest, TheLoopAnnouncesItselfAndShowsAPopupWindowOfItsClass)
{
    Steps.push_back([](HWND P) {
        EXPECT_EQ(GetClassName(P), QStringLiteral("#32768"));
        EXPECT_TRUE(IsWindowVisible(P));
        ASSERT_TRUE(PopupWidget());
        EXPECT_TRUE(PopupWidget()->windowFlags() & Qt::Popup);
        RECT W, C;
        GetWindowRect(P, &W);
        GetClientRect(P, &C);
        EXPECT_EQ(W.Width() - C.Width(), 4) << "a two-pixel frame of ours on every side";
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_FALSE(IsWindow(Popup)) << "the popup goes with the loop";

    std::vector<UINT> Order;
    for (const TSeen &S : Log)
        if (S.Msg == WM_ENTERMENULOOP || S.Msg == WM_INITMENUPOPUP || S.Msg == WM_UNINITMENUPOPUP ||
            S.Msg == WM_EXITMENULOOP)
            Order.push_back(S.Msg);
    EXPECT_EQ(Order, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}));
    EXPECT_EQ(Seen(WM_ENTERMENULOOP).front().WParam, WPARAM(TRUE));
    EXPECT_EQ(Seen(WM_INITMENUPOPUP).front().WParam, reinterpret_cast<WPARAM>(Menu));
    EXPECT_EQ(Seen(WM_INITMENUPOPUP).front().LParam, MAKELPARAM(0, FALSE));
}

TEST_F(PopupMenuTest, NoNotifyKeepsTheOwnerOutOfIt)
{
    SetTimer(Owner, 7, 1, nullptr);
    Hook = [](UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_TIMER)
            EndMenu();
        return std::nullopt;
    };
    EXPECT_EQ(Track(TPM_RETURNCMD | TPM_NONOTIFY), 0);
    KillTimer(Owner, 7);
    for (UINT M : {WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT, WM_ENTERIDLE, WM_EXITMENULOOP})
        EXPECT_TRUE(Seen(M).empty()) << M;
}

TEST_F(PopupMenuTest, KeyboardSelectionWrapsSkipsSeparatorsAndStopsAtDisabledItems)
{
    Steps.push_back([](HWND) {
        for (Qt::Key K : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Home,
                          Qt::Key_End, Qt::Key_Up})
            Key(K);
        // Beta is selected and disabled: Enter chooses nothing, Esc closes.
        Key(Qt::Key_Return);
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_EQ(Selections(), (std::vector<int>{1, 2, 3, 1, 3, 1, 3, 2}));
    const TSeen Last = Seen(WM_MENUSELECT).back();
    EXPECT_EQ(HIWORD(Last.WParam), 0xFFFF) << "the closing WM_MENUSELECT";
    EXPECT_EQ(Last.LParam, 0);
    EXPECT_TRUE(HIWORD(Seen(WM_MENUSELECT).front().WParam) & MF_HILITE);
}

TEST_F(PopupMenuTest, EnterReturnsTheCommandOrPostsIt)
{
    for (UINT Flags : {UINT(TPM_RETURNCMD), UINT(0)}) {
        SCOPED_TRACE(Flags);
        Log.clear();
        Steps.push_back([](HWND) {
            Key(Qt::Key_End);
            Key(Qt::Key_Return);
        });
        const LRESULT R = Track(Flags);
        ProcessPendingMessages();
        const std::vector<TSeen> Commands = Seen(WM_COMMAND);
        if (Flags & TPM_RETURNCMD) {
            EXPECT_EQ(R, 3);
            EXPECT_TRUE(Commands.empty());
        } else {
            EXPECT_EQ(R, TRUE);
            ASSERT_EQ(Commands.size(), 1u);
            EXPECT_EQ(LOWORD(Commands.front().WParam), 3);
            EXPECT_EQ(HIWORD(Commands.front().WParam), 0);
        }
    }
}

TEST_F(PopupMenuTest, AnUnderlinedLetterChoosesItsItem)
{
    struct TCase
    {
        char Letter;
        LRESULT Expected;
    };
    // Beta is disabled: its letter selects it and the loop goes on to Esc.
    for (TCase C : {TCase{'g', 3}, TCase{'A', 1}, TCase{'b', 0}}) {
        SCOPED_TRACE(C.Letter);
        Steps.push_back([C](HWND) { Char(C.Letter); });
        Steps.push_back([](HWND) { Key(Qt::Key_Escape); });
        EXPECT_EQ(Track(TPM_RETURNCMD), C.Expected);
        Steps.clear();
    }
}

TEST_F(PopupMenuTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwnerIntoThePopup)
{
    HMENU Od = CreatePopupMenu();
    AppendMenu(Od, MF_OWNERDRAW, 11, QStringLiteral("one"));
    AppendMenu(Od, MF_OWNERDRAW | MF_CHECKED | MF_DEFAULT, 12, QStringLiteral("two"));
    MENUITEMINFO Data;
    Data.fMask = MIIM_DATA;
    Data.dwItemData = 0xBEEF;
    SetMenuItemInfo(Od, 12, FALSE, &Data);

    std::vector<MEASUREITEMSTRUCT> Measured;
    std::vector<DRAWITEMSTRUCT> Drawn;
    HWND DrawnOn = nullptr;
    Hook = [&](UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (Msg == WM_MEASUREITEM) {
            auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(L);
            M->itemWidth = 120;
            M->itemHeight = M->itemID == 11 ? 20 : 30;
            Measured.push_back(*M);
            return TRUE;
        }
        if (Msg == WM_DRAWITEM) {
            auto *D = reinterpret_cast<DRAWITEMSTRUCT *>(L);
            Drawn.push_back(*D);
            DrawnOn = WindowFromDC(D->hDC);
            HBRUSH B = CreateSolidBrush((D->itemState & ODS_SELECTED) ? RGB(0, 0, 255) : RGB(255, 0, 0));
            FillRect(D->hDC, &D->rcItem, B);
            DeleteObject(B);
            return TRUE;
        }
        return std::nullopt;
    };
    const auto PixelAt = [](HWND P, const RECT &R) {
        const POINT O = ClientOrigin(P);
        return WindowSurface(P)->pixel(O.X + R.Left + R.Width() / 2, O.Y + R.Top + R.Height() / 2) & 0xFFFFFF;
    };
    Steps.push_back([&](HWND P) {
        ASSERT_EQ(Drawn.size(), 2u);
        EXPECT_EQ(DrawnOn, P);
        EXPECT_EQ(PixelAt(P, Drawn[1].rcItem), 0xFF0000u);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        ASSERT_EQ(Drawn.size(), 5u) << "the selection moves: item one on, then one off and two on";
        EXPECT_EQ(PixelAt(P, Drawn[4].rcItem), 0x0000FFu);
        EXPECT_EQ(PixelAt(P, Drawn[0].rcItem), 0xFF0000u);
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(TrackPopupMenu(Od, TPM_RETURNCMD, 150, 150, 0, Owner, nullptr), 0);

    ASSERT_EQ(Measured.size(), 2u);
    EXPECT_EQ(Measured[0].CtlType, ODT_MENU);
    EXPECT_EQ(Measured[1].itemID, 12u);
    EXPECT_EQ(Measured[1].itemData, 0xBEEFu);

    const DRAWITEMSTRUCT &Two = Drawn[1];
    EXPECT_EQ(Two.CtlType, ODT_MENU);
    EXPECT_EQ(Two.itemID, 12u);
    EXPECT_EQ(Two.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(Two.itemState, ODS_CHECKED | ODS_DEFAULT);
    EXPECT_EQ(Two.hwndItem, reinterpret_cast<HWND>(Od));
    EXPECT_EQ(Two.itemData, 0xBEEFu);
    EXPECT_EQ(Two.rcItem, (RECT{0, 20, 120, 50}));
    EXPECT_EQ(Drawn[0].rcItem, (RECT{0, 0, 120, 20}));
    EXPECT_EQ(Drawn[4].itemAction, ODA_SELECT);
    EXPECT_EQ(Drawn[4].itemState, ODS_SELECTED | ODS_CHECKED | ODS_DEFAULT);
    DestroyMenu(Od);
}

TEST_F(PopupMenuTest, AnOwnerDrawnItemOpeningASubMenuGetsTheArrowInTheOwnersTextColour)
{
    HMENU Od = CreatePopupMenu();
    HMENU Sub = CreatePopupMenu();
    AppendMenu(Sub, MF_STRING, 21, QStringLiteral("inner"));
    AppendMenu(Od, MF_OWNERDRAW, 11, QStringLiteral("plain"));
    AppendMenu(Od, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), QStringLiteral("opens"));
    std::vector<RECT> Rows;
    Hook = [&](UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (Msg == WM_MEASUREITEM) {
            auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(L);
            M->itemWidth = 120;
            M->itemHeight = 20;
            return TRUE;
        }
        if (Msg == WM_DRAWITEM) {
            auto *D = reinterpret_cast<DRAWITEMSTRUCT *>(L);
            HBRUSH B = CreateSolidBrush(RGB(255, 255, 255));
            FillRect(D->hDC, &D->rcItem, B);
            DeleteObject(B);
            SetTextColor(D->hDC, RGB(0, 128, 0));
            Rows.push_back(D->rcItem);
            return TRUE;
        }
        return std::nullopt;
    };
    Steps.push_back([&](HWND P) {
        ASSERT_EQ(Rows.size(), 2u);
        const POINT O = ClientOrigin(P);
        const auto Pixel = [&](const RECT &R) {
            return WindowSurface(P)->pixel(O.X + R.Right - 8, O.Y + (R.Top + R.Bottom) / 2) & 0xFFFFFF;
        };
        EXPECT_EQ(Pixel(Rows[0]), 0xFFFFFFu) << "no arrow on an item without a sub-menu";
        EXPECT_EQ(Pixel(Rows[1]), 0x008000u);
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(TrackPopupMenu(Od, TPM_RETURNCMD, 150, 150, 0, Owner, nullptr), 0);
    DestroyMenu(Od);
}

TEST_F(PopupMenuTest, BreaksStartColumnsAsWideAsTheirWidestItemAndABarBreakDrawsALineBetween)
{
    for (UINT Break : {MF_MENUBREAK, MF_MENUBARBREAK}) {
        SCOPED_TRACE(Break == MF_MENUBREAK ? "MF_MENUBREAK" : "MF_MENUBARBREAK");
        HMENU Cols = CreatePopupMenu();
        AppendMenu(Cols, MF_OWNERDRAW, 1, QString());
        AppendMenu(Cols, MF_OWNERDRAW, 2, QString());
        AppendMenu(Cols, MF_OWNERDRAW | Break, 3, QString());
        std::map<UINT, RECT> Drawn;
        Hook = [&](UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
            if (Msg == WM_MEASUREITEM) {
                auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(L);
                M->itemWidth = M->itemID == 1 ? 100 : M->itemID == 2 ? 60 : 80;
                M->itemHeight = 20;
                return TRUE;
            }
            if (Msg == WM_DRAWITEM) {
                auto *D = reinterpret_cast<DRAWITEMSTRUCT *>(L);
                Drawn[D->itemID] = D->rcItem;
                return TRUE;
            }
            return std::nullopt;
        };
        RECT Client{};
        QRgb Line = 0;
        Steps.push_back([&](HWND P) {
            GetClientRect(P, &Client);
            const POINT O = ClientOrigin(P);
            Line = WindowSurface(P)->pixel(O.X + 101, O.Y + 30) & 0xFFFFFF;
            Key(Qt::Key_Escape);
        });
        TrackPopupMenu(Cols, TPM_RETURNCMD, 150, 150, 0, Owner, nullptr);
        const int Second = Break == MF_MENUBREAK ? 100 : 104;
        EXPECT_EQ(Drawn[1], (RECT{0, 0, 100, 20}));
        EXPECT_EQ(Drawn[2], (RECT{0, 20, 100, 40}));
        EXPECT_EQ(Drawn[3], (RECT{Second, 0, Second + 80, 20}));
        EXPECT_EQ(Client.Width(), Second + 80);
        EXPECT_EQ(Client.Height(), 40);
        const COLORREF Shadow = GetSysColor(COLOR_BTNSHADOW);
        const QRgb ShadowRgb = qRgb(GetRValue(Shadow), GetGValue(Shadow), GetBValue(Shadow)) & 0xFFFFFF;
        EXPECT_EQ(Line == ShadowRgb, Break == MF_MENUBARBREAK);
        DestroyMenu(Cols);
    }
}

TEST_F(PopupMenuTest, MenuCharAnswersDecideForOwnerDrawnItems)
{
    HMENU Od = CreatePopupMenu();
    AppendMenu(Od, MF_OWNERDRAW, 21, QStringLiteral("&one"));
    AppendMenu(Od, MF_OWNERDRAW, 22, QStringLiteral("&two"));
    struct TCase
    {
        WORD Answer;
        LRESULT Expected;
    };
    for (TCase C : {TCase{MNC_EXECUTE, 22}, TCase{MNC_SELECT, 22}, TCase{MNC_CLOSE, 0}, TCase{MNC_IGNORE, 0}}) {
        SCOPED_TRACE(C.Answer);
        std::vector<WPARAM> Asked;
        Hook = [&](UINT Msg, WPARAM W, LPARAM L) -> std::optional<LRESULT> {
            if (Msg == WM_MEASUREITEM) {
                reinterpret_cast<MEASUREITEMSTRUCT *>(L)->itemHeight = 18;
                return TRUE;
            }
            if (Msg == WM_MENUCHAR) {
                EXPECT_EQ(L, reinterpret_cast<LPARAM>(Od));
                Asked.push_back(W);
                return MAKELRESULT(1, C.Answer);
            }
            return std::nullopt;
        };
        // A selected item waits for Enter; an ignored letter leaves the menu open for Esc.
        Steps.push_back([](HWND) { Char('t'); });
        Steps.push_back([](HWND) { Key(Qt::Key_Return); });
        Steps.push_back([](HWND) { Key(Qt::Key_Escape); });
        EXPECT_EQ(TrackPopupMenu(Od, TPM_RETURNCMD, 150, 150, 0, Owner, nullptr), C.Expected);
        ASSERT_EQ(Asked.size(), 1u) << "the owner answers for letters of owner-drawn items";
        EXPECT_EQ(LOWORD(Asked.front()), 't');
        EXPECT_EQ(HIWORD(Asked.front()), MF_POPUP);
        Steps.clear();
    }
    DestroyMenu(Od);
}

TEST_F(PopupMenuTest, HoverSelectsAndAReleaseOnAnItemChoosesIt)
{
    Steps.push_back([](HWND P) {
        // Items: Alpha 0.., separator, Beta, Gamma; item height from the first WM_MENUSELECT-free layout.
        MoveTo(PopupWidget(), ItemPoint(P, 0));
    });
    Steps.push_back([](HWND P) {
        RECT C;
        GetClientRect(P, &C);
        MoveTo(PopupWidget(), ItemPoint(P, C.Height() - 8));
    });
    Steps.push_back([](HWND P) {
        RECT C;
        GetClientRect(P, &C);
        QTest::mouseRelease(PopupWidget(), Qt::LeftButton, {}, ItemPoint(P, C.Height() - 8));
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 3);
    ASSERT_EQ(Selections(), (std::vector<int>{1, 3}));
    EXPECT_TRUE(HIWORD(Seen(WM_MENUSELECT).front().WParam) & MF_MOUSESELECT);
}

TEST_F(PopupMenuTest, EveryWayOutEndsTheLoopWithNoCommand)
{
    HWND Other = nullptr;
    struct TCase
    {
        const char *Name;
        std::function<void(HWND)> Step;
    };
    const std::vector<TCase> Cases = {
        {"Esc", [](HWND) { Key(Qt::Key_Escape); }},
        {"press outside", [&](HWND) {
             QTest::mousePress(WindowWidget(Owner), Qt::LeftButton, {}, QPoint(290, 190));
         }},
        {"press outside, given to the popup", [](HWND) {
             QTest::mousePress(PopupWidget(), Qt::LeftButton, {}, QPoint(-20, -20));
         }},
        {"EndMenu from a timer", [&](HWND) {
             SetTimer(Owner, 9, 1, nullptr);
             Hook = [&](UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                 if (Msg == WM_TIMER) {
                     KillTimer(Owner, 9);
                     EndMenu();
                 }
                 return std::nullopt;
             };
         }},
        {"the popup closed", [](HWND P) { PostMessage(P, WM_CLOSE, 0, 0); }},
        {"another window activated", [&](HWND) {
             Other = CreateWindowEx(0, QStringLiteral("PopupOwner"), QString(), WS_POPUP | WS_VISIBLE, 500, 400, 50,
                                    50, nullptr, 0, nullptr, nullptr);
             SetActiveWindow(Other);
         }},
        {"the owner destroyed", [&](HWND) { DestroyWindow(Owner); }},
    };
    for (const TCase &C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        Hook = nullptr;
        Steps.push_back([](HWND) { Key(Qt::Key_Down); });
        Steps.push_back(C.Step);
        EXPECT_EQ(Track(TPM_RETURNCMD), 0);
        EXPECT_FALSE(IsWindow(Popup));
        EXPECT_EQ(GetCapture(), nullptr);
        ProcessPendingMessages();
        EXPECT_TRUE(Seen(WM_COMMAND).empty());
        Steps.clear();
    }
    Hook = nullptr;
    DestroyWindow(Other);
    EXPECT_EQ(EndMenu(), TRUE) << "with no menu running";
}

TEST_F(PopupMenuTest, ThePopupOpensLeftOrAboveItsPointAtTheWorkAreasEdges)
{
    RECT Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    struct TCase
    {
        int X, Y;
        UINT Flags;
        bool RightAtX, BottomAtY;
    };
    const TCase Cases[] = {
        {Work.Left + 10, Work.Top + 10, 0, false, false},
        {Work.Right - 5, Work.Top + 10, 0, true, false},
        {Work.Left + 10, Work.Bottom - 5, 0, false, true},
        {Work.Right - 5, Work.Bottom - 5, 0, true, true},
        {Work.Left + 200, Work.Top + 200, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, true, true},
    };
    for (const TCase &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
        RECT Got{};
        Steps.push_back([&](HWND P) {
            GetWindowRect(P, &Got);
            Key(Qt::Key_Escape);
        });
        Track(TPM_RETURNCMD | C.Flags, C.X, C.Y);
        EXPECT_EQ(C.RightAtX ? Got.Right : Got.Left, C.X);
        EXPECT_EQ(C.BottomAtY ? Got.Bottom : Got.Top, C.Y);
        EXPECT_GE(Got.Left, Work.Left);
        EXPECT_LE(Got.Right, Work.Right);
        EXPECT_LE(Got.Bottom, Work.Bottom);
    }
    // A rectangle to keep clear pushes the menu beside it, or below it with TPM_VERTICAL.
    for (UINT Way : {UINT(TPM_HORIZONTAL), UINT(TPM_VERTICAL)}) {
        SCOPED_TRACE(Way);
        const int X = Work.Left + 100, Y = Work.Top + 100;
        TPMPARAMS Keep;
        Keep.rcExclude = RECT{X - 10, Y - 10, X + 30, Y + 20};
        RECT Got{};
        Steps.push_back([&](HWND P) {
            GetWindowRect(P, &Got);
            Key(Qt::Key_Escape);
        });
        TrackPopupMenuEx(Menu, TPM_RETURNCMD | Way, X, Y, Owner, &Keep);
        EXPECT_EQ(Way == TPM_VERTICAL ? Got.Top : Got.Left, Way == TPM_VERTICAL ? Y + 20 : X + 30);
        EXPECT_EQ(Way == TPM_VERTICAL ? Got.Left : Got.Top, Way == TPM_VERTICAL ? X : Y);
    }
}

TEST_F(PopupMenuTest, TimersAndPaintingGoOnWhileTheMenuWaits)
{
    int Ticks = 0;
    SetTimer(Owner, 5, 1, nullptr);
    Hook = [&](UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_TIMER && ++Ticks == 3) {
            KillTimer(Owner, 5);
            EndMenu();
        }
        if (Msg == WM_PAINT) {
            PAINTSTRUCT Ps;
            BeginPaint(Owner, &Ps);
            EndPaint(Owner, &Ps);
            return 0;
        }
        return std::nullopt;
    };
    Steps.push_back([this](HWND) { InvalidateRect(Owner, nullptr, FALSE); });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_EQ(Ticks, 3);
    EXPECT_FALSE(Seen(WM_PAINT).empty());
}

TEST_F(PopupMenuTest, BadArgumentsAndANestedMenuAreRefused)
{
    EXPECT_FALSE(TrackPopupMenu(nullptr, 0, 0, 0, 0, Owner, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(Menu, 0, 0, 0, nullptr, nullptr));
    LRESULT Inner = -1;
    Steps.push_back([&](HWND) {
        Inner = TrackPopupMenu(Menu, TPM_RETURNCMD, 0, 0, 0, Owner, nullptr);
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_EQ(Inner, 0);
}

TEST_F(PopupMenuTest, ThePlatformDrawsFrameHighlightSeparatorAndCheckMark)
{
    Steps.push_back([](HWND P) {
        RECT C;
        GetClientRect(P, &C);
        const int H = (C.Height() - 8) / 3;   // three text items and a separator
        const POINT O = ClientOrigin(P);
        HDC DC = GetWindowDC(P);
        const auto At = [&](int X, int Y) { return GetPixel(DC, O.X + X, O.Y + Y); };
        EXPECT_EQ(GetPixel(DC, 0, 0), GetSysColor(COLOR_3DLIGHT));
        EXPECT_EQ(GetPixel(DC, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(GetPixel(DC, O.X + C.Width(), O.Y + C.Height()), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(GetPixel(DC, O.X + C.Width() + 1, O.Y + C.Height() + 1), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(At(C.Width() - 2, H / 2), GetSysColor(COLOR_MENU));
        EXPECT_EQ(At(C.Width() / 2, H + 3), GetSysColor(COLOR_BTNSHADOW)) << "the separator's line";
        bool Tick = false;
        for (int Y = 2 * H + 8; Y < C.Height(); ++Y)
            for (int X = 0; X < 18; ++X)
                Tick = Tick || At(X, Y) == GetSysColor(COLOR_MENUTEXT);
        EXPECT_TRUE(Tick) << "Gamma is checked";
        ReleaseDC(P, DC);
        Key(Qt::Key_Down);
        DC = GetWindowDC(P);
        EXPECT_EQ(At(C.Width() - 2, H / 2), GetSysColor(COLOR_HIGHLIGHT));
        ReleaseDC(P, DC);
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
}

TEST_F(PopupMenuTest, AMenuTallerThanTheWorkAreaScrollsBetweenArrowBands)
{
    RECT Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    const int N = 2 * Work.Height() / 20 + 5;
    HMENU Tall = CreatePopupMenu();
    for (int I = 0; I < N; ++I)
        AppendMenu(Tall, MF_OWNERDRAW, UINT_PTR(1000 + I), QString());
    std::vector<DRAWITEMSTRUCT> Drawn;
    UINT ShownBeforeHover = UINT(-1);
    Hook = [&](UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
        if (Msg == WM_MEASUREITEM) {
            auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(L);
            M->itemWidth = 80;
            M->itemHeight = 20;
            return TRUE;
        }
        if (Msg == WM_DRAWITEM) {
            Drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT *>(L));
            if (Drawn.back().itemID > ShownBeforeHover)
                EndMenu();
            return TRUE;
        }
        return std::nullopt;
    };
    RECT Shown{}, Client{};
    const auto LastDrawnOf = [&](UINT Id) {
        for (auto It = Drawn.rbegin(); It != Drawn.rend(); ++It)
            if (It->itemID == Id)
                return *It;
        return DRAWITEMSTRUCT{};
    };
    Steps.push_back([&](HWND P) {
        GetWindowRect(P, &Shown);
        GetClientRect(P, &Client);
        EXPECT_LT(Drawn.size(), size_t(N)) << "only the items in view are drawn";
        Key(Qt::Key_End);
        const DRAWITEMSTRUCT Last = LastDrawnOf(UINT(1000 + N - 1));
        EXPECT_EQ(Last.itemState & ODS_SELECTED, ODS_SELECTED);
        EXPECT_LE(Last.rcItem.Bottom, Client.Height() - 16) << "the last item scrolled above the lower band";
        EXPECT_GE(Last.rcItem.Top, 16);
        // Presses and releases on a band are the menu's own: they neither close it nor choose.
        const POINT O = ClientOrigin(P);
        QTest::mousePress(PopupWidget(), Qt::LeftButton, {}, QPoint(O.X + 10, O.Y + 4));
        QTest::mouseRelease(PopupWidget(), Qt::LeftButton, {}, QPoint(O.X + 10, O.Y + 4));
        Key(Qt::Key_Home);
        EXPECT_EQ(LastDrawnOf(1000).rcItem.Top, 16);
        // A notch of the wheel scrolls three rows, either way; past the top it stays at the top.
        const auto Wheel = [&](int Notches) {
            const QPointF At(O.X + 40, O.Y + 100);
            QWheelEvent E(At, PopupWidget()->mapToGlobal(At), QPoint(), QPoint(0, 120 * Notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(PopupWidget(), &E);
            ProcessPendingMessages();
        };
        Wheel(-1);
        EXPECT_EQ(LastDrawnOf(1003).rcItem.Top, 16);
        Wheel(+2);
        EXPECT_EQ(LastDrawnOf(1000).rcItem.Top, 16);
        Drawn.clear();
    });
    // Resting on the lower band scrolls on: an item below the view gets drawn, and that ends the menu here.
    Steps.push_back([&](HWND P) {
        ShownBeforeHover = 0;
        for (const DRAWITEMSTRUCT &D : Drawn)
            ShownBeforeHover = std::max(ShownBeforeHover, D.itemID);
        const POINT O = ClientOrigin(P);
        MoveTo(PopupWidget(), QPoint(O.X + 10, O.Y + Client.Height() - 4));
    });
    EXPECT_EQ(TrackPopupMenu(Tall, TPM_RETURNCMD, Work.Left + 10, Work.Top + 10, 0, Owner, nullptr), 0);
    EXPECT_EQ(Shown.Top, Work.Top);
    EXPECT_LE(Shown.Bottom, Work.Bottom);
    DestroyMenu(Tall);
}

TEST_F(PopupMenuTest, TheOwnerMayFillTheMenuWhenItOpens)
{
    Hook = [this](UINT Msg, WPARAM W, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_INITMENUPOPUP && W == reinterpret_cast<WPARAM>(Menu))
            AppendMenu(Menu, MF_STRING, 9, QStringLiteral("&Zeta"));
        return std::nullopt;
    };
    Steps.push_back([](HWND) { Char('z'); });
    EXPECT_EQ(Track(TPM_RETURNCMD), 9);
}

TEST_F(PopupMenuTest, AMenuDestroyedWhileMeasuredEndsTheLoop)
{
    HMENU Od = CreatePopupMenu();
    AppendMenu(Od, MF_OWNERDRAW, 11, QString());
    AppendMenu(Od, MF_OWNERDRAW, 12, QString());
    Hook = [&](UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_MEASUREITEM)
            DestroyMenu(Od);
        return std::nullopt;
    };
    EXPECT_EQ(TrackPopupMenu(Od, TPM_RETURNCMD, 150, 150, 0, Owner, nullptr), 0);
}

TEST_F(PopupMenuTest, AMenuDestroyedWhileShownEndsTheLoop)
{
    Steps.push_back([this](HWND) {
        Key(Qt::Key_Down);
        DestroyMenu(Menu);
        Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_FALSE(IsWindow(Popup));
}

class SubMenuTest : public PopupMenuTest
{
protected:
    void SetUp() override
    {
        PopupMenuTest::SetUp();
        Sub = CreatePopupMenu();
        AppendMenu(Sub, MF_STRING, 31, QStringLiteral("&Deep"));
        AppendMenu(Sub, MF_STRING, 32, QStringLiteral("&Far"));
        AppendMenu(Menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Sub), QStringLiteral("&More"));
        SystemParametersInfo(SPI_SETMENUSHOWDELAY, 1, nullptr, 0);
    }
    void TearDown() override
    {
        SystemParametersInfo(SPI_SETMENUSHOWDELAY, 400, nullptr, 0);
        PopupMenuTest::TearDown();
    }
    size_t SubOpened() const
    {
        const std::vector<TSeen> Inits = Seen(WM_INITMENUPOPUP);
        return size_t(std::count_if(Inits.begin(), Inits.end(),
                                    [&](const TSeen &S) { return S.WParam == reinterpret_cast<WPARAM>(Sub); }));
    }
    HMENU Sub = nullptr;
    static inline HWND Root = nullptr;
};

TEST_F(SubMenuTest, RightOpensTheSubMenuBesideItsItemAndEnterChoosesInIt)
{
    Steps.push_back([](HWND P) {
        Root = P;
        Key(Qt::Key_End);
        Key(Qt::Key_Right);
    });
    RECT RootRect{}, SubRect{};
    Steps.push_back([&](HWND P) {
        EXPECT_NE(P, Root) << "the idle message names the deepest popup";
        GetWindowRect(Root, &RootRect);
        GetWindowRect(P, &SubRect);
        Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 32);
    const std::vector<TSeen> Inits = Seen(WM_INITMENUPOPUP);
    ASSERT_EQ(Inits.size(), 2u);
    EXPECT_EQ(Inits[1].WParam, reinterpret_cast<WPARAM>(Sub));
    EXPECT_EQ(Inits[1].LParam, MAKELPARAM(4, FALSE));
    EXPECT_EQ(Seen(WM_UNINITMENUPOPUP).size(), 2u);
    EXPECT_EQ(Selections(), (std::vector<int>{4, 31, 32})) << "an opener names its position";
    EXPECT_GE(SubRect.Left, RootRect.Right - 4);
    EXPECT_FALSE(IsWindow(Root));
}

TEST_F(SubMenuTest, LeftAndEscCloseOneLevel)
{
    for (Qt::Key Back : {Qt::Key_Left, Qt::Key_Escape}) {
        SCOPED_TRACE(Back);
        Log.clear();
        HWND Opened = nullptr;
        Steps.push_back([](HWND P) {
            Root = P;
            Char('m');
        });
        Steps.push_back([&, Back](HWND P) {
            Opened = P;
            Key(Back);
            EXPECT_FALSE(IsWindow(Opened));
            EXPECT_TRUE(IsWindow(Root));
        });
        Steps.push_back([](HWND P) {
            EXPECT_EQ(P, Root);
            Key(Qt::Key_Escape);
        });
        EXPECT_EQ(Track(TPM_RETURNCMD), 0);
        EXPECT_EQ(SubOpened(), 1u);
        Steps.clear();
    }
}

TEST_F(SubMenuTest, QtClosingTheSubMenuForAPressOnTheMenuBelowKeepsTheMenuOpen)
{
    Steps.push_back([](HWND P) {
        Root = P;
        Key(Qt::Key_End);
        Key(Qt::Key_Right);
    });
    HWND Opened = nullptr;
    Steps.push_back([&](HWND P) {
        Opened = P;
        RECT R;
        GetWindowRect(Root, &R);
        SetCursorPos(R.Left + 5, R.Top + 5);
        PostMessage(P, WM_CLOSE, 0, 0);
    });
    Steps.push_back([&](HWND P) {
        EXPECT_EQ(P, Opened);
        Key(Qt::Key_Down);
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Track(TPM_RETURNCMD), 32);
}

TEST_F(SubMenuTest, PointingOpensTheSubMenuAfterTheDelayAtTheWorkAreasRightEdgeToTheLeft)
{
    RECT Work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
    RECT RootRect{}, SubRect{};
    Hook = [&](UINT Msg, WPARAM W, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_INITMENUPOPUP && W == reinterpret_cast<WPARAM>(Sub))
            Steps.push_back([&](HWND P) {
                GetWindowRect(Root, &RootRect);
                GetWindowRect(P, &SubRect);
                QTest::mouseRelease(PopupWidget(), Qt::LeftButton, {}, ItemPoint(P, 0));
            });
        return std::nullopt;
    };
    Steps.push_back([](HWND P) {
        Root = P;
        RECT C;
        GetClientRect(P, &C);
        MoveTo(PopupWidget(), ItemPoint(P, C.Height() - 8));
    });
    EXPECT_EQ(Track(TPM_RETURNCMD, Work.Right - 5, Work.Top + 10), 31);
    EXPECT_EQ(RootRect.Right, Work.Right - 5);
    EXPECT_LE(SubRect.Right, RootRect.Left + 4);
    EXPECT_GE(SubRect.Left, Work.Left);
}

} // namespace
