// The "EDIT" window class: text with CR LF line ends, positions and lines, scrolling by lines with the scroll
// state read back, notifications, and keys typed by the user or sent by code.
#include "tests/unit/winclasses/ClassFixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

constexpr DWORD Memo = ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;

QString Numbered(int Lines)
{
    QStringList L;
    for (int I = 0; I < Lines; ++I)
        L << QStringLiteral("line %1").arg(I);
    return L.join(QStringLiteral("\r\n"));
}

using EditClass = ClassTest;

TEST_F(EditClass, MultiLineTextPositionsAndLines)
{
    HWND E = Make(QStringLiteral("EDIT"), Memo, 10, 10, 300, 200);
    auto *W = qobject_cast<QPlainTextEdit *>(HostedWidget(E));
    ASSERT_TRUE(W);
    const QString Text = QStringLiteral("one\r\ntwo\r\n\r\nfour");
    SetWindowText(E, Text);
    EXPECT_EQ(W->toPlainText(), "one\ntwo\n\nfour");
    EXPECT_EQ(GetWindowText(E), Text);
    EXPECT_EQ(SendMessage(E, WM_GETTEXTLENGTH, 0, 0), Text.size());
    // A lone CR or LF is a line end too, read back as CR LF.
    SetWindowText(E, QStringLiteral("a\rb\nc"));
    EXPECT_EQ(GetWindowText(E), "a\r\nb\r\nc");

    SetWindowText(E, Text);
    EXPECT_EQ(SendMessage(E, EM_GETLINECOUNT, 0, 0), 4);
    const struct { int Line, Index, Length; } Lines[] = {{0, 0, 3}, {1, 5, 3}, {2, 10, 0}, {3, 12, 4}, {4, -1, 0}};
    for (const auto &L : Lines) {
        EXPECT_EQ(SendMessage(E, EM_LINEINDEX, L.Line, 0), L.Index) << L.Line;
        if (L.Index >= 0) {
            EXPECT_EQ(SendMessage(E, EM_LINELENGTH, L.Index, 0), L.Length) << L.Line;
            EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, L.Index, 0), L.Line) << L.Line;
        }
    }
    QString Line;
    EXPECT_EQ(SendMessage(E, EM_GETLINE, 3, reinterpret_cast<LPARAM>(&Line)), 4);
    EXPECT_EQ(Line, "four");

    // Selection in message positions; a position inside a CR LF stays at the end of its line.
    SendMessage(E, EM_SETSEL, 5, 8);
    EXPECT_EQ(W->textCursor().selectedText(), "two");
    DWORD Start = 0, End = 0;
    EXPECT_EQ(SendMessage(E, EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End)),
              LRESULT(MAKELONG(5, 8)));
    EXPECT_EQ(Start, 5u);
    EXPECT_EQ(End, 8u);
    const QString Replacement = QStringLiteral("2\r\n2b");
    SendMessage(E, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(&Replacement));
    EXPECT_EQ(GetWindowText(E), "one\r\n2\r\n2b\r\n\r\nfour");
    SendMessage(E, EM_SETSEL, 4, -1);
    EXPECT_EQ(W->textCursor().selectionStart(), 3);
    EXPECT_EQ(W->textCursor().selectedText().size(), W->toPlainText().size() - 3);
}

TEST_F(EditClass, SingleLineText)
{
    HWND E = Make(QStringLiteral("EDIT"), ES_AUTOHSCROLL, 10, 10, 120, 20, 7, QStringLiteral("hello"));
    auto *W = qobject_cast<QLineEdit *>(HostedWidget(E));
    ASSERT_TRUE(W);
    EXPECT_EQ(W->text(), "hello");
    EXPECT_EQ(Count(E, EN_CHANGE), 0);      // the creation text is no change
    SetWindowText(E, QStringLiteral("world"));
    EXPECT_EQ(GetWindowText(E), "world");
    EXPECT_EQ(Notes.back(), (TNotification{7, EN_CHANGE, E}));
    SendMessage(E, EM_SETSEL, 1, 3);
    EXPECT_EQ(W->selectedText(), "or");
    const QString X = QStringLiteral("X");
    SendMessage(E, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(&X));
    EXPECT_EQ(GetWindowText(E), "wXld");
    SendMessage(E, EM_SETSEL, WPARAM(-1), 0);
    EXPECT_FALSE(W->hasSelectedText());
}

TEST_F(EditClass, StylesChooseTheWidget)
{
    const struct
    {
        DWORD Style;
        bool Wraps;
        Qt::ScrollBarPolicy Vertical, Horizontal;
    } Cases[] = {
        {ES_MULTILINE, true, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
        {ES_MULTILINE | WS_VSCROLL, true, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOff},
        {ES_MULTILINE | ES_AUTOHSCROLL, false, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
        {ES_MULTILINE | WS_HSCROLL | WS_VSCROLL, false, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn},
    };
    for (const auto &C : Cases) {
        HWND E = Make(QStringLiteral("EDIT"), C.Style, 0, 0, 100, 100);
        auto *W = qobject_cast<QPlainTextEdit *>(HostedWidget(E));
        ASSERT_TRUE(W);
        EXPECT_EQ(W->lineWrapMode() == QPlainTextEdit::WidgetWidth, C.Wraps) << std::hex << C.Style;
        EXPECT_EQ(W->verticalScrollBarPolicy(), C.Vertical) << std::hex << C.Style;
        EXPECT_EQ(W->horizontalScrollBarPolicy(), C.Horizontal) << std::hex << C.Style;
        DestroyWindow(E);
    }
    HWND P = Make(QStringLiteral("EDIT"), ES_PASSWORD | ES_READONLY | ES_RIGHT, 0, 0, 100, 20);
    auto *L = qobject_cast<QLineEdit *>(HostedWidget(P));
    ASSERT_TRUE(L);
    EXPECT_EQ(L->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(L->isReadOnly());
    EXPECT_TRUE(L->alignment() & Qt::AlignRight);
    SendMessage(P, EM_SETREADONLY, FALSE, 0);
    EXPECT_FALSE(L->isReadOnly());
    EXPECT_FALSE(GetWindowLong(P, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditClass, ScrollingByLinesIsReadBack)
{
    HWND E = Make(QStringLiteral("EDIT"), Memo, 10, 10, 200, 120);
    SetWindowText(E, Numbered(40));
    ProcessPendingMessages();

    SCROLLINFO Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(E, SB_VERT, &Info));
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 39);
    EXPECT_GT(Info.nPage, 2u);
    EXPECT_LT(Info.nPage, 40u);
    EXPECT_EQ(Info.nPos, 0);

    // The line in the high word becomes the first visible line.
    SendMessage(E, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    EXPECT_EQ(GetScrollPos(E, SB_VERT), 10);
    EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 10);
    EXPECT_EQ(Count(E, EN_VSCROLL), 1);

    // Each step against the state before it; a page is what the bar reports as one.
    auto State = [&] {
        SCROLLINFO I;
        I.fMask = SIF_ALL;
        GetScrollInfo(E, SB_VERT, &I);
        return I;
    };
    const struct { WORD Code; int (*Expected)(const SCROLLINFO &); } Steps[] = {
        {SB_LINEDOWN, [](const SCROLLINFO &I) { return I.nPos + 1; }},
        {SB_LINEUP, [](const SCROLLINFO &I) { return I.nPos - 1; }},
        {SB_PAGEDOWN, [](const SCROLLINFO &I) { return I.nPos + int(I.nPage); }},
        {SB_BOTTOM, [](const SCROLLINFO &I) { return I.nMax - int(I.nPage) + 1; }},
        {SB_PAGEUP, [](const SCROLLINFO &I) { return I.nPos - int(I.nPage); }},
        {SB_TOP, [](const SCROLLINFO &) { return 0; }},
    };
    for (const auto &S : Steps) {
        const int Expected = S.Expected(State());
        SendMessage(E, WM_VSCROLL, MAKEWPARAM(S.Code, 0), 0);
        EXPECT_EQ(State().nPos, Expected) << S.Code;
        EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), Expected) << S.Code;
        EXPECT_EQ(State().nMax, 39) << S.Code;
    }
    EXPECT_EQ(SendMessage(E, EM_LINESCROLL, 0, 3), TRUE);
    EXPECT_EQ(GetScrollPos(E, SB_VERT), 3);

    Info.fMask = SIF_POS;
    Info.nPos = 5;
    EXPECT_EQ(SetScrollInfo(E, SB_VERT, &Info, TRUE), 5);
    EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
}

TEST_F(EditClass, WheelScrollsTheMemoAndPassesOverALine)
{
    HWND M = Make(QStringLiteral("EDIT"), Memo, 10, 10, 200, 120);
    HWND L = Make(QStringLiteral("EDIT"), 0, 10, 150, 100, 20);
    SetWindowText(M, Numbered(40));
    SendMessage(M, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    EXPECT_EQ(GetScrollPos(M, SB_VERT), 3);
    EXPECT_EQ(ParentWheels, 0);
    SendMessage(L, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    EXPECT_EQ(ParentWheels, 1);
}

TEST_F(EditClass, ScrollBarStates)
{
    HWND Long = Make(QStringLiteral("EDIT"), Memo, 10, 10, 200, 120);
    HWND Short = Make(QStringLiteral("EDIT"), Memo, 220, 10, 150, 120);
    SetWindowText(Long, Numbered(40));
    SetWindowText(Short, Numbered(3));
    ProcessPendingMessages();

    SCROLLBARINFO Bar;
    ASSERT_TRUE(GetScrollBarInfo(Long, OBJID_VSCROLL, &Bar));
    EXPECT_EQ(Bar.rgstate[0], 0u);
    RECT Window;
    GetWindowRect(Long, &Window);
    EXPECT_EQ(Bar.rcScrollBar.Right, Window.Right);
    EXPECT_EQ(Bar.rcScrollBar.Top, Window.Top);
    EXPECT_GT(Bar.rcScrollBar.Width(), 0);
    EXPECT_LT(Bar.xyThumbTop, Bar.xyThumbBottom);
    EXPECT_LE(Bar.xyThumbBottom, Bar.rcScrollBar.Height());
    // The thumb follows the position.
    const int Top = Bar.xyThumbTop;
    SendMessage(Long, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    GetScrollBarInfo(Long, OBJID_VSCROLL, &Bar);
    EXPECT_GT(Bar.xyThumbTop, Top);
    EXPECT_EQ(Bar.xyThumbBottom, Bar.rcScrollBar.Height() - Bar.dxyLineButton);

    ASSERT_TRUE(GetScrollBarInfo(Long, OBJID_HSCROLL, &Bar));
    EXPECT_TRUE(Bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);

    // A text that fits: the bar is shown but cannot scroll, and the range is the text's own lines.
    ASSERT_TRUE(GetScrollBarInfo(Short, OBJID_VSCROLL, &Bar));
    EXPECT_EQ(Bar.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE;
    GetScrollInfo(Short, SB_VERT, &Info);
    EXPECT_EQ(Info.nMax, 2);

    // Windows without scroll bars, and records of the wrong size.
    HWND Button = Make(QStringLiteral("BUTTON"), BS_PUSHBUTTON, 0, 150, 80, 24);
    EXPECT_FALSE(GetScrollBarInfo(Button, OBJID_VSCROLL, &Bar));
    EXPECT_FALSE(GetScrollInfo(Button, SB_VERT, &Info));
    EXPECT_EQ(GetScrollPos(Button, SB_VERT), 0);
    EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &Info));
    Bar.cbSize = 40;
    EXPECT_FALSE(GetScrollBarInfo(Long, OBJID_VSCROLL, &Bar));
}

TEST_F(EditClass, TypingNotifiesAndEditsUndo)
{
    HWND E = Make(QStringLiteral("EDIT"), Memo, 10, 10, 200, 120, 3);
    SetFocus(E);
    EXPECT_EQ(Count(E, EN_SETFOCUS), 1);
    QTest::keyClicks(HostedWidget(E), "ab");
    QTest::keyClick(HostedWidget(E), Qt::Key_Return);
    QTest::keyClicks(HostedWidget(E), "c");
    EXPECT_EQ(GetWindowText(E), "ab\r\nc");
    EXPECT_EQ(Count(E, EN_CHANGE), 4);
    EXPECT_TRUE(SendMessage(E, EM_GETMODIFY, 0, 0));
    EXPECT_TRUE(SendMessage(E, EM_CANUNDO, 0, 0));

    // Characters and keys sent by code act like typed ones.
    SendMessage(E, WM_CHAR, 'd', 0);
    SendMessage(E, WM_KEYDOWN, VK_HOME, 0);
    SendMessage(E, WM_CHAR, '>', 0);
    SendMessage(E, WM_CHAR, VK_BACK, 0);
    SendMessage(E, WM_CHAR, VK_BACK, 0);
    EXPECT_EQ(GetWindowText(E), "abcd");

    SendMessage(E, WM_UNDO, 0, 0);
    EXPECT_NE(GetWindowText(E), "abcd");
    SetWindowText(E, QStringLiteral("fresh"));
    EXPECT_FALSE(SendMessage(E, EM_GETMODIFY, 0, 0));

    // Clipboard messages.
    SendMessage(E, EM_SETSEL, 0, 2);
    SendMessage(E, WM_CUT, 0, 0);
    EXPECT_EQ(GetWindowText(E), "esh");
    SendMessage(E, EM_SETSEL, 3, 3);
    SendMessage(E, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowText(E), "eshfr");
    SendMessage(E, EM_SETSEL, 0, 1);
    SendMessage(E, WM_CLEAR, 0, 0);
    EXPECT_EQ(GetWindowText(E), "shfr");

    // A read-only edit takes nothing typed.
    SendMessage(E, EM_SETREADONLY, TRUE, 0);
    SendMessage(E, WM_CHAR, 'x', 0);
    QTest::keyClicks(HostedWidget(E), "y");
    EXPECT_EQ(GetWindowText(E), "shfr");
}

TEST_F(EditClass, EnterBreaksLinesOnlyWhenWanted)
{
    HWND Wants = Make(QStringLiteral("EDIT"), ES_MULTILINE | ES_WANTRETURN, 10, 10, 100, 60);
    HWND Plain = Make(QStringLiteral("EDIT"), ES_MULTILINE, 120, 10, 100, 60);
    for (HWND E : {Wants, Plain}) {
        SetFocus(E);
        QTest::keyClicks(HostedWidget(E), "a");
        QTest::keyClick(HostedWidget(E), Qt::Key_Return);
        QTest::keyClicks(HostedWidget(E), "b");
    }
    EXPECT_EQ(GetWindowText(Wants), "a\r\nb");
    EXPECT_EQ(GetWindowText(Plain), "ab");
}

TEST_F(EditClass, TextLimit)
{
    HWND E = Make(QStringLiteral("EDIT"), Memo, 10, 10, 200, 120);
    SendMessage(E, EM_LIMITTEXT, 6, 0);
    const QString Text = QStringLiteral("ab\r\ncdef");
    SendMessage(E, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(&Text));
    EXPECT_EQ(GetWindowText(E), "ab\r\ncd");       // the line end counts two
    EXPECT_EQ(Count(E, EN_MAXTEXT), 1);

    HWND L = Make(QStringLiteral("EDIT"), 0, 10, 150, 100, 20);
    SendMessage(L, EM_LIMITTEXT, 3, 0);
    SetFocus(L);
    QTest::keyClicks(HostedWidget(L), "12345");
    EXPECT_EQ(GetWindowText(L), "123");
}

} // namespace
