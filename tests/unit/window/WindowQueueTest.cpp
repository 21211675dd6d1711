// The queue: posted messages in order through the filter, thread messages, exceptions that stop at the
// queue, timers; and hosted Qt widgets whose input passes only when the class lets it.
#include "tests/unit/window/WindowFixture.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>

#include <stdexcept>

namespace {

// Spins the event loop until Done or the time runs out.
bool WaitFor(const std::function<bool()> &Done, int Ms = 2000) { return ProcessPendingMessagesUntil(Done, Ms); }

TEST_F(WindowTest, PostedMessagesArriveInOrderThroughTheFilter)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    HWND Gone = Make(WS_POPUP, 0, 0, 10, 10);
    std::vector<std::pair<HWND, UINT>> Filtered;
    SetMessageFilter([&](MSG &M) {
        Filtered.push_back({M.hwnd, M.message});
        return M.message == WM_USER + 2;
    });
    std::vector<MSG> Current;
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg >= WM_USER)
            Current.push_back(CurrentMessage());
        return std::nullopt;
    };
    EXPECT_TRUE(PostMessage(W, WM_USER + 1, 11, 12));
    EXPECT_TRUE(PostMessage(W, WM_USER + 2, 0, 0));
    EXPECT_TRUE(PostMessage(nullptr, WM_USER + 3, 0, 0));
    EXPECT_TRUE(PostMessage(Gone, WM_USER + 4, 0, 0));
    EXPECT_TRUE(PostMessage(W, WM_USER + 5, 0, 0));
    DestroyWindow(Gone);
    EXPECT_TRUE(MessagesOf(W, {WM_USER + 1}).empty());
    ProcessPendingMessages();

    EXPECT_EQ(Filtered, (std::vector<std::pair<HWND, UINT>>{
                            {W, WM_USER + 1}, {W, WM_USER + 2}, {nullptr, WM_USER + 3}, {W, WM_USER + 5}}));
    EXPECT_EQ(MessagesOf(W, {WM_USER + 1, WM_USER + 2, WM_USER + 5}), (std::vector<UINT>{WM_USER + 1, WM_USER + 5}));
    ASSERT_EQ(Current.size(), 2u);
    EXPECT_EQ(Current[0].hwnd, W);
    EXPECT_EQ(Current[0].message, WM_USER + 1);
    EXPECT_EQ(Current[0].wParam, WPARAM(11));
    EXPECT_EQ(Current[0].lParam, LPARAM(12));
}

TEST_F(WindowTest, AQuitMessageEndsTheRunningLoopAfterTheMessagesBeforeIt)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    bool FilterSawQuit = false;
    SetMessageFilter([&](MSG &M) {
        FilterSawQuit |= M.message == WM_QUIT;
        return false;
    });
    PostMessage(W, WM_USER, 0, 0);
    PostQuitMessage(3);
    QEventLoop Loop;
    EXPECT_EQ(Loop.exec(), 3);
    EXPECT_TRUE(FilterSawQuit);
    EXPECT_EQ(MessagesOf(W, {WM_USER}).size(), 1u);
}

TEST_F(WindowTest, AnExceptionInAQueuedMessageStopsAtTheQueue)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    QString Caught;
    SetExceptionHandler([&] {
        try {
            throw;
        } catch (const std::exception &E) {
            Caught = QString::fromUtf8(E.what());
        }
    });
    Hook = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_USER)
            throw std::runtime_error("boom");
        return std::nullopt;
    };
    PostMessage(W, WM_USER, 0, 0);
    PostMessage(W, WM_USER + 1, 0, 0);
    ProcessPendingMessages();
    SetExceptionHandler(nullptr);
    EXPECT_EQ(Caught, QStringLiteral("boom"));
    EXPECT_EQ(MessagesOf(W, {WM_USER + 1}).size(), 1u);
}

TEST_F(WindowTest, TimersTickUntilKilledEvenFromTheirOwnTick)
{
    HWND W = Make(WS_POPUP, 0, 0, 10, 10);
    int Ticks = 0;
    Hook = [&](HWND H, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
        if (Msg == WM_TIMER && WParam == 7 && ++Ticks == 2) {
            EXPECT_TRUE(KillTimer(H, 7));
        }
        return std::nullopt;
    };
    std::vector<UINT_PTR> ThreadTicks;
    SetMessageFilter([&](MSG &M) {
        if (M.message == WM_TIMER && !M.hwnd)
            ThreadTicks.push_back(M.wParam);
        return false;
    });
    EXPECT_EQ(SetTimer(W, 7, 5, nullptr), UINT_PTR(7));
    EXPECT_EQ(SetTimer(W, 8, 0, nullptr), UINT_PTR(8));    // never ticks
    UINT_PTR Thread = SetTimer(nullptr, 0, 5, nullptr);
    EXPECT_NE(Thread, UINT_PTR(0));
    EXPECT_TRUE(WaitFor([&] { return Ticks >= 2 && !ThreadTicks.empty(); }));
    // Killed in its second tick: while the thread timer of the same period ticks four times more, it stays quiet.
    const size_t Seen = ThreadTicks.size();
    EXPECT_TRUE(WaitFor([&] { return ThreadTicks.size() >= Seen + 4; }));
    EXPECT_EQ(Ticks, 2);
    EXPECT_FALSE(KillTimer(W, 7));
    EXPECT_EQ(ThreadTicks.front(), Thread);
    for (const TLogged &L : EntriesOf(W, WM_TIMER)) {
        EXPECT_NE(L.WParam, WPARAM(8));
    }
    EXPECT_TRUE(KillTimer(nullptr, Thread));
    EXPECT_TRUE(KillTimer(W, 8));

    // A destroyed window's timers go with it.
    SetTimer(W, 9, 5, nullptr);
    DestroyWindow(W);
    EXPECT_FALSE(KillTimer(W, 9));
}

// ---- hosted widgets ------------------------------------------------------------------------------------

// A class hosting a line edit that lets typed keys through unless the test's hook eats them first.
LRESULT HostProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    WindowTest::Log.push_back({W, Msg, WParam, LParam});
    if (WindowTest::Hook)
        if (std::optional<LRESULT> R = WindowTest::Hook(W, Msg, WParam, LParam))
            return *R;
    switch (Msg) {
    case WM_CREATE:
        HostWidget(W, new QLineEdit);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        PassEventToHostedWidget(W);
        return 0;
    default:
        return DefWindowProc(W, Msg, WParam, LParam);
    }
}

class HostTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("HostedEdit");
        C.lpfnWndProc = MakeWndProc(HostProc);
        RegisterClass(&C);
        Top = Make(WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
        Edit = CreateWindowEx(WS_EX_CLIENTEDGE, QStringLiteral("HostedEdit"), QString(), WS_CHILD | WS_VISIBLE, 10,
                              10, 100, 24, Top, 0, nullptr, nullptr);
        Line = qobject_cast<QLineEdit *>(HostedWidget(Edit));
        Log.clear();
    }
    HWND Top = nullptr;
    HWND Edit = nullptr;
    QLineEdit *Line = nullptr;
};

TEST_F(HostTest, TheHostedWidgetCoversTheClientAreaAndFollowsIt)
{
    ASSERT_NE(Line, nullptr);
    EXPECT_EQ(Line->parentWidget(), WindowWidget(Edit));
    EXPECT_EQ(Line->geometry(), QRect(2, 2, 96, 20));
    EXPECT_EQ(WindowFromWidget(Line), Edit);
    MoveWindow(Edit, 10, 10, 150, 30, TRUE);
    EXPECT_EQ(Line->geometry(), QRect(2, 2, 146, 26));
}

TEST_F(HostTest, TypedKeysReachTheWidgetOnlyThroughTheClassProcedure)
{
    SetFocus(Edit);
    std::vector<UINT> Filtered;
    SetMessageFilter([&](MSG &M) {
        Filtered.push_back(M.message);
        return false;
    });
    QTest::keyClicks(Line, QStringLiteral("ab"));
    EXPECT_EQ(Line->text(), QStringLiteral("ab"));
    EXPECT_EQ(Filtered, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));

    // A hook that answers the key itself keeps it from the widget.
    Hook = [](HWND, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
        if ((Msg == WM_KEYDOWN || Msg == WM_CHAR) && (WParam == 'C' || WParam == 'c'))
            return 0;
        return std::nullopt;
    };
    QTest::keyClicks(Line, QStringLiteral("cd"));
    EXPECT_EQ(Line->text(), QStringLiteral("abd"));

    // A key the top-level window got goes to the focus window and, let through, to its widget.
    Hook = nullptr;
    QTest::keyClick(WindowWidget(Top), Qt::Key_E);
    EXPECT_EQ(Line->text(), QStringLiteral("abde"));

    // A sent key is not Qt input: nothing passes.
    SendMessage(Edit, WM_CHAR, 'z', 0);
    EXPECT_EQ(Line->text(), QStringLiteral("abde"));
}

TEST_F(HostTest, MouseOnTheHostedWidgetIsTheWindowsMouse)
{
    QApplication::setActiveWindow(WindowWidget(Top));
    QTest::mousePress(Line, Qt::LeftButton, Qt::NoModifier, QPoint(5, 4));
    auto Down = EntriesOf(Edit, WM_LBUTTONDOWN);
    ASSERT_EQ(Down.size(), 1u);
    EXPECT_EQ(Down[0].LParam, PointToLParam(5, 4));
    // The press reached the line edit, which took the focus: the platform focus followed.
    EXPECT_EQ(GetFocus(), Edit);
    QTest::mouseRelease(Line, Qt::LeftButton, Qt::NoModifier, QPoint(5, 4));
}

} // namespace

TEST_F(HostTest, AKeyTheWidgetIgnoresIsTranslatedOnceAndNotSentBackDown)
{
    SetFocus(Edit);
    std::vector<UINT> Filtered;
    SetMessageFilter([&](MSG &M) {
        Filtered.push_back(M.message);
        return false;
    });
    // The line edit ignores both, so Qt passes them up to the window's widget.
    QTest::keyClick(Line, Qt::Key_F5);
    QTest::keyPress(Line, Qt::Key_Control);
    QTest::keyRelease(Line, Qt::Key_Control);
    EXPECT_EQ(Filtered, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYUP}));
    SetMessageFilter(nullptr);
}
