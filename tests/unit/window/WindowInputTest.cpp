// Qt input becomes messages: mouse with client coordinates and key flags, the non-client band, double
// clicks, capture, leave, keys with virtual-key codes and key data, focus, and the message filter.
#include "tests/unit/window/WindowFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

constexpr DWORD Child = WS_CHILD | WS_VISIBLE;

class InputTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Top = Make(WS_POPUP | WS_VISIBLE, 100, 50, 200, 150);
        A = Make(Child | WS_BORDER, 10, 20, 60, 40, Top);
        B = Make(Child | WS_TABSTOP, 100, 20, 60, 40, Top);
        Log.clear();
    }
    std::vector<TLogged> Mouse(HWND W)
    {
        std::vector<TLogged> R;
        for (const TLogged &L : Log)
            if (L.Wnd == W && ((L.Msg >= WM_MOUSEFIRST && L.Msg <= WM_MOUSELAST) ||
                               (L.Msg >= WM_NCMOUSEMOVE && L.Msg <= WM_NCRBUTTONDBLCLK)))
                R.push_back(L);
        return R;
    }
    HWND Top = nullptr;
    HWND A = nullptr;
    HWND B = nullptr;
};

TEST_F(InputTest, ClicksReachTheWindowUnderThePointerInClientCoordinates)
{
    QTest::mousePress(WindowWidget(A), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    QTest::mouseRelease(WindowWidget(A), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    auto M = Mouse(A);
    ASSERT_EQ(M.size(), 2u);
    EXPECT_EQ(M[0].Msg, WM_LBUTTONDOWN);
    EXPECT_EQ(M[0].WParam, MK_LBUTTON | MK_SHIFT);
    // One pixel of border: widget (5, 6) is client (4, 5).
    EXPECT_EQ(M[0].LParam, PointToLParam(4, 5));
    EXPECT_EQ(M[1].Msg, WM_LBUTTONUP);
    EXPECT_EQ(M[1].WParam, WPARAM(MK_SHIFT));
    EXPECT_TRUE(Mouse(Top).empty());
    POINT P;
    GetCursorPos(&P);
    EXPECT_EQ(P, (POINT{100 + 10 + 5, 50 + 20 + 6}));
}

TEST_F(InputTest, ThePointerOnTheBandGivesNonClientMessagesWithTheHitCode)
{
    QTest::mousePress(WindowWidget(A), Qt::RightButton, Qt::NoModifier, QPoint(0, 3));
    auto M = Mouse(A);
    ASSERT_EQ(M.size(), 1u);
    EXPECT_EQ(M[0].Msg, WM_NCRBUTTONDOWN);
    EXPECT_EQ(LRESULT(M[0].WParam), HTBORDER);
    EXPECT_EQ(M[0].LParam, PointToLParam(110, 73));    // screen coordinates
    EXPECT_EQ(MessagesOf(A, {WM_NCHITTEST}).size(), 1u);
}

TEST_F(InputTest, HitTestAnswersDecideWhereThePointerIs)
{
    // A transparent child hands its clicks to the parent; a client area claimed as caption gets NC messages.
    Hook = [&](HWND W, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_NCHITTEST && W == B)
            return HTTRANSPARENT;
        if (Msg == WM_NCHITTEST && W == A)
            return HTCAPTION;
        return std::nullopt;
    };
    QTest::mousePress(WindowWidget(B), Qt::LeftButton, Qt::NoModifier, QPoint(4, 5));
    EXPECT_TRUE(Mouse(B).empty());
    auto Parent = Mouse(Top);
    ASSERT_EQ(Parent.size(), 1u);
    EXPECT_EQ(Parent[0].Msg, WM_LBUTTONDOWN);
    EXPECT_EQ(Parent[0].LParam, PointToLParam(104, 25));
    QTest::mouseRelease(WindowWidget(B), Qt::LeftButton, Qt::NoModifier, QPoint(4, 5));

    QTest::mouseMove(WindowWidget(A), QPoint(20, 20));
    auto M = Mouse(A);
    ASSERT_EQ(M.size(), 1u);
    EXPECT_EQ(M[0].Msg, WM_NCMOUSEMOVE);
    EXPECT_EQ(LRESULT(M[0].WParam), HTCAPTION);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyle)
{
    HWND Plain = Make(Child, 0, 100, 20, 20, Top, 0, QStringLiteral("RecordingNoDbl"));
    for (HWND W : {A, Plain}) {
        QTest::mouseClick(WindowWidget(W), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
        QTest::mouseDClick(WindowWidget(W), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
        QTest::mouseRelease(WindowWidget(W), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
        std::vector<UINT> Got;
        for (const TLogged &L : Mouse(W))
            Got.push_back(L.Msg);
        UINT Second = W == A ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        EXPECT_EQ(Got, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, Second, WM_LBUTTONUP}));
    }
}

TEST_F(InputTest, CaptureTakesEveryMouseMessageAndLeaveWaitsForItsRelease)
{
    EXPECT_EQ(SetCapture(A), nullptr);
    EXPECT_EQ(GetCapture(), A);
    QTest::mousePress(WindowWidget(B), Qt::LeftButton, Qt::NoModifier, QPoint(2, 3));
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(WindowWidget(A), &Leave);
    auto M = Mouse(A);
    ASSERT_EQ(M.size(), 1u);
    // B's (2, 3) is screen (202, 73); A's client area starts at screen (111, 71).
    EXPECT_EQ(M[0].LParam, PointToLParam(91, 2));
    EXPECT_TRUE(Mouse(B).empty());
    EXPECT_TRUE(MessagesOf(A, {WM_MOUSELEAVE}).empty());

    SetCapture(B);
    auto Changed = EntriesOf(A, WM_CAPTURECHANGED);
    ASSERT_EQ(Changed.size(), 1u);
    EXPECT_EQ(Changed[0].LParam, reinterpret_cast<LPARAM>(B));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(EntriesOf(B, WM_CAPTURECHANGED).size(), 1u);
    QApplication::sendEvent(WindowWidget(A), &Leave);
    EXPECT_EQ(MessagesOf(A, {WM_MOUSELEAVE}).size(), 1u);
}

TEST_F(InputTest, KeysGoToTheFocusWindowWithKeyDataThenCharacters)
{
    SetFocus(A);
    Log.clear();
    QTest::keyClick(WindowWidget(Top), Qt::Key_A);
    auto Keys = MessagesOf(A, {WM_KEYDOWN, WM_CHAR, WM_KEYUP});
    EXPECT_EQ(Keys, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    auto Down = EntriesOf(A, WM_KEYDOWN);
    ASSERT_EQ(Down.size(), 1u);
    EXPECT_EQ(Down[0].WParam, WPARAM('A'));
    EXPECT_EQ(Down[0].LParam & 0xFFFF, 1);
    EXPECT_EQ(Down[0].LParam & (KF_REPEAT_BIT | KF_UP_BIT | KF_ALTDOWN_BIT), 0);
    EXPECT_EQ(EntriesOf(A, WM_CHAR)[0].WParam, WPARAM('a'));
    LPARAM Up = EntriesOf(A, WM_KEYUP)[0].LParam;
    EXPECT_EQ(Up & (KF_REPEAT_BIT | KF_UP_BIT), KF_REPEAT_BIT | KF_UP_BIT);
    EXPECT_TRUE(MessagesOf(Top, {WM_KEYDOWN}).empty());

    // A held key: repeated key-downs marked as such, no key-ups in between.
    Log.clear();
    for (QEvent::Type T : {QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress}) {
        QKeyEvent Repeat(T, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"), true);
        QApplication::sendEvent(WindowWidget(Top), &Repeat);
    }
    auto Repeats = EntriesOf(A, WM_KEYDOWN);
    ASSERT_EQ(Repeats.size(), 2u);
    EXPECT_NE(Repeats[1].LParam & KF_REPEAT_BIT, 0);
    EXPECT_TRUE(EntriesOf(A, WM_KEYUP).empty());
}

struct TKeyCase
{
    Qt::Key Key;
    Qt::KeyboardModifiers Mods;
    UINT DownMsg;
    WORD VK;
    int Char;     // -1: no character message
};

TEST_F(InputTest, QtKeysMapToVirtualKeysAndCharacters)
{
    const TKeyCase Cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, WM_KEYDOWN, VK_TAB, '\t'},
        {Qt::Key_Backtab, Qt::ShiftModifier, WM_KEYDOWN, VK_TAB, '\t'},
        {Qt::Key_Return, Qt::NoModifier, WM_KEYDOWN, VK_RETURN, '\r'},
        {Qt::Key_Escape, Qt::NoModifier, WM_KEYDOWN, VK_ESCAPE, 0x1B},
        {Qt::Key_Left, Qt::NoModifier, WM_KEYDOWN, VK_LEFT, -1},
        {Qt::Key_PageDown, Qt::NoModifier, WM_KEYDOWN, VK_NEXT, -1},
        {Qt::Key_F5, Qt::NoModifier, WM_KEYDOWN, WORD(VK_F1 + 4), -1},
        {Qt::Key_F10, Qt::NoModifier, WM_SYSKEYDOWN, WORD(VK_F1 + 9), -1},
        {Qt::Key_Space, Qt::AltModifier, WM_SYSKEYDOWN, VK_SPACE, ' '},
        {Qt::Key_C, Qt::ControlModifier, WM_KEYDOWN, 'C', 3},
        {Qt::Key_Delete, Qt::NoModifier, WM_KEYDOWN, VK_DELETE, -1},
        {Qt::Key_7, Qt::NoModifier, WM_KEYDOWN, '7', '7'},
        {Qt::Key_Period, Qt::NoModifier, WM_KEYDOWN, VK_OEM_PERIOD, '.'},
    };
    SetFocus(B);
    for (const TKeyCase &C : Cases) {
        Log.clear();
        QTest::keyPress(WindowWidget(B), C.Key, C.Mods);
        std::unique_ptr<char[]> KeyName(QTest::toString(C.Key));
        SCOPED_TRACE(KeyName.get());
        // QTest presses the modifier keys first.
        std::vector<TLogged> Down;
        for (const TLogged &L : EntriesOf(B, C.DownMsg))
            if (L.WParam == C.VK)
                Down.push_back(L);
        ASSERT_EQ(Down.size(), 1u);
        EXPECT_EQ(Down[0].WParam, WPARAM(C.VK));
        EXPECT_EQ((Down[0].LParam & KF_ALTDOWN_BIT) != 0, bool(C.Mods & Qt::AltModifier));
        UINT CharMsg = C.DownMsg == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
        auto Chars = EntriesOf(B, CharMsg);
        if (C.Char < 0) {
            EXPECT_TRUE(Chars.empty());
        } else {
            ASSERT_EQ(Chars.size(), 1u);
            EXPECT_EQ(Chars[0].WParam, WPARAM(C.Char));
        }
        EXPECT_NE(GetKeyState(C.VK) & 0x8000, 0);
        QTest::keyRelease(WindowWidget(B), C.Key, C.Mods);
        EXPECT_EQ(GetKeyState(C.VK) & 0x8000, 0);
    }
}

TEST_F(InputTest, FocusMessagesCarryTheOtherWindow)
{
    // Showing the top-level window activated it, and activation focused it.
    EXPECT_EQ(SetFocus(A), Top);
    EXPECT_EQ(GetFocus(), A);
    Log.clear();
    EXPECT_EQ(SetFocus(B), A);
    std::vector<std::pair<HWND, UINT>> Order;
    for (const TLogged &L : Log)
        if (L.Msg == WM_SETFOCUS || L.Msg == WM_KILLFOCUS)
            Order.push_back({L.Wnd, L.Msg});
    EXPECT_EQ(Order, (std::vector<std::pair<HWND, UINT>>{{A, WM_KILLFOCUS}, {B, WM_SETFOCUS}}));
    EXPECT_EQ(EntriesOf(A, WM_KILLFOCUS)[0].WParam, reinterpret_cast<WPARAM>(B));
    EXPECT_EQ(EntriesOf(B, WM_SETFOCUS)[0].WParam, reinterpret_cast<WPARAM>(A));
    EXPECT_TRUE(WindowWidget(B)->hasFocus() || QApplication::focusWidget() == nullptr);

    // The focus window's destruction takes the focus with it.
    DestroyWindow(B);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, AClickOnATabStopWindowFocusesItThroughTheSamePath)
{
    SetFocus(A);
    QApplication::setActiveWindow(WindowWidget(Top));
    Log.clear();
    QTest::mouseClick(WindowWidget(B), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(GetFocus(), B);
    auto Set = EntriesOf(B, WM_SETFOCUS);
    ASSERT_EQ(Set.size(), 1u);
    EXPECT_EQ(Set[0].WParam, reinterpret_cast<WPARAM>(A));
    // A window without WS_TABSTOP does not take the focus from a click.
    QTest::mouseClick(WindowWidget(A), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(GetFocus(), B);
}

TEST_F(InputTest, TheFilterSeesKeysBeforeTheWindowAndCanStopThem)
{
    SetFocus(A);
    std::vector<std::pair<UINT, bool>> Filtered;    // message, whether A had it already
    bool Stop = false;
    SetMessageFilter([&](MSG &M) {
        Filtered.push_back({M.message, !MessagesOf(A, {M.message}).empty()});
        EXPECT_EQ(CurrentMessage().message, M.message);
        return Stop && M.message == WM_KEYDOWN;
    });
    Log.clear();
    QTest::keyPress(WindowWidget(Top), Qt::Key_X);
    ASSERT_GE(Filtered.size(), 2u);
    EXPECT_EQ(Filtered[0], (std::pair<UINT, bool>{WM_KEYDOWN, false}));
    EXPECT_EQ(Filtered[1], (std::pair<UINT, bool>{WM_CHAR, false}));
    EXPECT_EQ(MessagesOf(A, {WM_KEYDOWN, WM_CHAR}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));

    Stop = true;
    Log.clear();
    QTest::keyPress(WindowWidget(Top), Qt::Key_Y);
    // A stopped key is neither dispatched nor translated into characters.
    EXPECT_TRUE(MessagesOf(A, {WM_KEYDOWN, WM_CHAR}).empty());
    EXPECT_EQ(CurrentMessage().message, 0u);
}

TEST_F(InputTest, WheelAndMovesCarryTheirCoordinates)
{
    QTest::mouseMove(WindowWidget(A), QPoint(10, 10));
    auto Moves = EntriesOf(A, WM_MOUSEMOVE);
    ASSERT_FALSE(Moves.empty());
    EXPECT_EQ(Moves.back().LParam, PointToLParam(9, 9));

    QWheelEvent Wheel(QPointF(4, 4), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(WindowWidget(B), &Wheel);
    auto W = EntriesOf(B, WM_MOUSEWHEEL);
    ASSERT_EQ(W.size(), 1u);
    EXPECT_EQ(short(HIWORD(W[0].WParam)), -120);
    EXPECT_EQ(LOWORD(W[0].WParam), MK_CONTROL);
    EXPECT_EQ(W[0].LParam, PointToLParam(204, 74));
    // Unanswered, the wheel goes up to the parent.
    EXPECT_EQ(EntriesOf(Top, WM_MOUSEWHEEL).size(), 1u);
}

TEST_F(InputTest, DisabledChildrenPassTheirClicksToTheParent)
{
    EnableWindow(A, FALSE);
    EXPECT_FALSE(IsWindowEnabled(A));
    EXPECT_EQ(EntriesOf(A, WM_ENABLE).size(), 1u);
    QTest::mousePress(WindowWidget(A), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(Mouse(A).empty());
    auto M = Mouse(Top);
    ASSERT_EQ(M.size(), 1u);
    EXPECT_EQ(M[0].LParam, PointToLParam(15, 25));
}

} // namespace

namespace {

TEST_F(WindowTest, ActivationTellsBothWindowsAndTheApplication)
{
    HWND A = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND B = Make(WS_POPUP | WS_VISIBLE, 60, 0, 50, 50);
    EXPECT_EQ(GetActiveWindow(), B);
    Log.clear();
    EXPECT_EQ(SetActiveWindow(A), B);
    std::vector<std::tuple<HWND, UINT, WPARAM, LPARAM>> Got;
    for (const TLogged &L : Log)
        if (L.Msg == WM_NCACTIVATE || L.Msg == WM_ACTIVATE)
            Got.push_back({L.Wnd, L.Msg, L.WParam, L.LParam});
    using T = std::tuple<HWND, UINT, WPARAM, LPARAM>;
    EXPECT_EQ(Got, (std::vector<T>{T{B, WM_NCACTIVATE, FALSE, 0},
                                   T{B, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(A)},
                                   T{A, WM_NCACTIVATE, TRUE, 0},
                                   T{A, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(B)}}));
    EXPECT_TRUE(EntriesOf(A, WM_ACTIVATEAPP).empty());
    // The default WM_ACTIVATE focused the activated window.
    EXPECT_EQ(GetFocus(), A);

    Log.clear();
    SetActiveWindow(nullptr);
    ASSERT_EQ(EntriesOf(B, WM_ACTIVATEAPP).size(), 1u);
    EXPECT_EQ(EntriesOf(B, WM_ACTIVATEAPP)[0].WParam, WPARAM(FALSE));

    // The desktop activating a window takes the same path.
    Log.clear();
    QEvent Activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(WindowWidget(B), &Activate);
    EXPECT_EQ(GetActiveWindow(), B);
    ASSERT_EQ(EntriesOf(A, WM_ACTIVATEAPP).size(), 1u);
    EXPECT_EQ(EntriesOf(A, WM_ACTIVATEAPP)[0].WParam, WPARAM(TRUE));
    EXPECT_EQ(EntriesOf(B, WM_ACTIVATE).size(), 1u);
}

TEST_F(WindowTest, OwnedWindowsStayAboveTheirOwnerAndGoWithIt)
{
    HWND Owner = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND Owned = CreateWindowEx(0, QStringLiteral("RecordingWindow"), QString(), WS_POPUP | WS_VISIBLE, 10, 10,
                                30, 30, Owner, 0, nullptr, nullptr);
    ASSERT_NE(Owned, nullptr);
    EXPECT_EQ(GetWindow(Owned, GW_OWNER), Owner);
    EXPECT_EQ(GetParent(Owned), Owner);    // a popup's parent is its owner
    EXPECT_EQ(WindowWidget(Owned)->parentWidget(), WindowWidget(Owner));
    EXPECT_TRUE(WindowWidget(Owned)->isWindow());

    // Handed to another owner, it no longer goes with the first.
    HWND Second = Make(WS_POPUP, 0, 0, 10, 10);
    SetWindowLong(Owned, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(Second));
    EXPECT_EQ(WindowWidget(Owned)->parentWidget(), WindowWidget(Second));
    EXPECT_TRUE(WindowWidget(Owned)->isVisible());
    DestroyWindow(Owner);
    EXPECT_TRUE(IsWindow(Owned));
    EXPECT_NE(WindowWidget(Owned), nullptr);
    DestroyWindow(Second);
    EXPECT_FALSE(IsWindow(Owned));
}

} // namespace
