// Input through injected Qt events: the click rule, double clicks, mouse enter and leave, keyboard focus
// moving by Tab and arrows, dialog keys, and the application's look at every queued message.
#include "tests/unit/controls/ControlFixture.h"

#include "framework/forms/AppEvnts.h"
#include "platform/StdClasses.h"

#include <QTest>
#include <QWidget>

namespace {

class InputTest : public FormTest
{
protected:
    static void Press(HWND Wnd, QPoint P) { QTest::mousePress(WindowWidget(Wnd), Qt::LeftButton, {}, P); }
    static void Release(HWND Wnd, QPoint P) { QTest::mouseRelease(WindowWidget(Wnd), Qt::LeftButton, {}, P); }
    static void Key(Qt::Key K, Qt::KeyboardModifiers M = {})
    {
        QWidget *W = QApplication::focusWidget();
        ASSERT_TRUE(W);
        QTest::keyClick(W, K, M);
    }
};

TEST_F(InputTest, ClickComesOnlyFromAReleaseOverTheControlItWasPressedOn)
{
    TCtBox *A = Box(10, 10, 60, 40);
    TCtBox *B = Box(100, 10, 60, 40);
    TCtShape *S = Shape(10, 100, 30, 30);
    ShowForm();
    HWND HA = A->Handle();

    Press(HA, {5, 5});
    EXPECT_EQ(A->Clicks, 0);
    Release(HA, {6, 6});
    EXPECT_EQ(A->Clicks, 1);

    // Pressed on A, released outside it: the capture brings the release to A, which does not click.
    Press(HA, {5, 5});
    EXPECT_EQ(GetCapture(), HA);
    Release(HA, {200, 5});
    EXPECT_EQ(A->Clicks, 1);
    EXPECT_EQ(B->Clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // A windowless control gets its press and release through its parent, in its own coordinates.
    HWND HF = Form->Handle();
    const QPoint Inside(ClientOrigin(HF).X + 15, ClientOrigin(HF).Y + 110);
    Press(HF, Inside);
    Release(HF, Inside);
    EXPECT_EQ(S->Clicks, 1);
    Press(HF, Inside);
    Release(HF, Inside + QPoint(40, 0));
    EXPECT_EQ(S->Clicks, 1);
}

TEST_F(InputTest, ASecondClickIsADoubleClickOnlyForControlsThatWantOne)
{
    TCtBox *Wants = Box(10, 10, 60, 40);
    TCtBox *Plain = Box(100, 10, 60, 40);
    Plain->SetControlStyle(Plain->ControlStyle() - csDoubleClicks);
    ShowForm();
    for (TCtBox *B : {Wants, Plain}) {
        Press(B->Handle(), {5, 5});
        Release(B->Handle(), {5, 5});
        QTest::mouseDClick(WindowWidget(B->Handle()), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(WindowWidget(B->Handle()), Qt::LeftButton, {}, QPoint(5, 5));
    }
    EXPECT_EQ(Wants->DblClicks, 1);
    EXPECT_EQ(Wants->Clicks, 1);
    EXPECT_EQ(Plain->DblClicks, 0);
    EXPECT_EQ(Plain->Downs, 2);
    EXPECT_EQ(Plain->Clicks, 2);
}

TEST_F(InputTest, MouseEnterAndLeaveFollowThePointerBetweenControls)
{
    TCtBox *A = Box(10, 10, 60, 40);
    TCtBox *B = Box(100, 10, 60, 40);
    TCtShape *S = Shape(10, 100, 30, 30);
    ShowForm();
    QTest::mouseMove(WindowWidget(A->Handle()), QPoint(5, 5));
    EXPECT_EQ(A->Enters, 1);
    EXPECT_EQ(Application->MouseControl(), A);
    QTest::mouseMove(WindowWidget(A->Handle()), QPoint(8, 8));
    EXPECT_EQ(A->Enters, 1);
    QTest::mouseMove(WindowWidget(B->Handle()), QPoint(5, 5));
    EXPECT_EQ(A->Leaves, 1);
    EXPECT_EQ(B->Enters, 1);

    // Onto a windowless control of the form.
    const POINT O = ClientOrigin(Form->Handle());
    QTest::mouseMove(WindowWidget(Form->Handle()), QPoint(O.X + 15, O.Y + 110));
    EXPECT_EQ(B->Leaves, 1);
    EXPECT_EQ(S->Count(CM_MOUSEENTER), 1);
    EXPECT_EQ(Application->MouseControl(), S);
    S->SetCursor(crHandPoint);
    EXPECT_EQ(WindowWidget(Form->Handle())->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(WindowWidget(Form->Handle()), QPoint(O.X + 150, O.Y + 150));
    EXPECT_EQ(WindowWidget(Form->Handle())->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(S->Count(CM_MOUSELEAVE), 1);
    EXPECT_EQ(Application->MouseControl(), Form);
}

class FocusTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        A = Box(10, 10, 40, 20);
        Group = Box(10, 50, 200, 100);
        G1 = Box(5, 5, 40, 20, Group);
        G2 = Box(50, 5, 40, 20, Group);
        G3 = Box(100, 5, 40, 20, Group);
        B = Box(10, 160, 40, 20);
        for (TCtBox *C : {A, G1, G2, G3, B})
            C->SetTabStop(true);
        G2->SetTabStop(false);
        ShowForm();
        A->SetFocus();
    }
    TCtBox *A = nullptr;
    TCtBox *Group = nullptr;
    TCtBox *G1 = nullptr;
    TCtBox *G2 = nullptr;
    TCtBox *G3 = nullptr;
    TCtBox *B = nullptr;
};

TEST_F(FocusTest, TabAndShiftTabMoveThroughTheTabStopsOfTheForm)
{
    ASSERT_TRUE(A->Focused());
    EXPECT_EQ(Form->ActiveControl(), A);
    Key(Qt::Key_Tab);
    EXPECT_TRUE(G1->Focused());
    Key(Qt::Key_Tab);
    EXPECT_TRUE(G3->Focused()) << "G2 is no tab stop";
    Key(Qt::Key_Tab);
    EXPECT_TRUE(B->Focused());
    Key(Qt::Key_Tab);
    EXPECT_TRUE(A->Focused()) << "wraps around";
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(B->Focused());
    EXPECT_EQ(Form->ActiveControl(), B);

    // The tab order, not the creation order, decides.
    B->SetTabOrder(0);
    A->SetFocus();
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(B->Focused());
}

TEST_F(FocusTest, ArrowsMoveAmongTheSiblingsOfTheFocusedControl)
{
    G1->SetFocus();
    Key(Qt::Key_Right);
    EXPECT_TRUE(G2->Focused()) << "arrows skip no control for its tab stop";
    Key(Qt::Key_Down);
    EXPECT_TRUE(G3->Focused());
    Key(Qt::Key_Right);
    EXPECT_TRUE(G1->Focused()) << "stays within the group";
    Key(Qt::Key_Left);
    EXPECT_TRUE(G3->Focused());

    // A control that asks for arrows keeps them.
    G3->DlgCode = DLGC_WANTARROWS;
    Key(Qt::Key_Left);
    EXPECT_TRUE(G3->Focused());
    EXPECT_GE(G3->Count(WM_KEYDOWN), 1);
}

TEST_F(FocusTest, EnterAndEscapeReachEveryControlAsDialogKeysUntilOneTakesIt)
{
    Key(Qt::Key_Return);
    Key(Qt::Key_Escape);
    for (TCtBox *C : {A, Group, G1, G3, B})
        EXPECT_EQ(C->DialogKeys, 2);
    EXPECT_EQ(A->Count(WM_KEYDOWN), 2) << "not taken: the key still reaches the focused control";
}

TEST_F(FocusTest, ANativeWindowOnAPanelKeepsItsKeysButTabStillMovesOn)
{
    INITCOMMONCONTROLSEX Init;
    Init.dwICC = ICC_INTERNET_CLASSES;
    ASSERT_TRUE(InitCommonControlsEx(&Init));
    HWND Ip = CreateWindowExA(0, "SysIPAddress32", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 30, 150, 22,
                              Group->Handle(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(Ip);
    SetFocus(Ip);
    for (Qt::Key K : {Qt::Key_1, Qt::Key_9, Qt::Key_2})
        Key(K);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(GetFocus(), Ip) << "arrows are the field's own";
    DWORD Address = 0;
    SendMessage(Ip, IPM_GETADDRESS, 0, LPARAM(&Address));
    EXPECT_EQ(FIRST_IPADDRESS(Address), 192);
    EXPECT_EQ(G1->Count(CM_DIALOGKEY) + A->Count(CM_DIALOGKEY), 0);
    Key(Qt::Key_Tab);
    EXPECT_NE(GetFocus(), Ip);
}

TEST_F(FocusTest, AFormWithKeyPreviewSeesKeysFirstAndMayEatThem)
{
    QList<quint16> FormKeys;
    Form->OnKeyDown = [&](TObject *, quint16 &Key, TShiftState) {
        FormKeys.append(Key);
        if (Key == 'X')
            Key = 0;
    };
    int ControlKeys = 0;
    A->OnKeyDown = [&](TObject *, quint16 &, TShiftState) { ++ControlKeys; };
    Key(Qt::Key_Q);
    EXPECT_TRUE(FormKeys.isEmpty());
    EXPECT_EQ(ControlKeys, 1);
    Form->SetKeyPreview(true);
    Key(Qt::Key_Q);
    Key(Qt::Key_X);
    EXPECT_EQ(FormKeys, (QList<quint16>{'Q', 'X'}));
    EXPECT_EQ(ControlKeys, 2);
}

TEST_F(FocusTest, AcceleratorCharactersReachTheControlsAsDialogChars)
{
    G3->SetCaption(QStringLiteral("&Keep"));
    Key(Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(G3->Accels, 1);
    // Without Alt too, while the focused control does not take characters.
    Key(Qt::Key_K);
    EXPECT_EQ(G3->Accels, 2);
    A->DlgCode = DLGC_WANTCHARS;
    Key(Qt::Key_K);
    EXPECT_EQ(G3->Accels, 2);
    EXPECT_EQ(A->Count(WM_CHAR), 1);
    EXPECT_FALSE(IsAccel('K', QStringLiteral("Kee&&p")));
    EXPECT_TRUE(IsAccel('p', QStringLiteral("Kee&&&p")));
}

TEST_F(FocusTest, FocusChangesAreBroadcastWithTheNewControlAndEnterExitAlongThePath)
{
    int Exits = 0, Enters = 0;
    A->OnExit = [&](TObject *) { ++Exits; };
    Group->OnEnter = [&](TObject *) { ++Enters; };
    G1->SetFocus();
    EXPECT_TRUE(G1->Focused());
    EXPECT_EQ(Exits, 1);
    EXPECT_EQ(Enters, 1);
    for (TCtBox *C : {A, G2, B})
        ASSERT_FALSE(C->FocusChangedTo.isEmpty());
    EXPECT_EQ(B->FocusChangedTo.last(), LPARAM(G1));
    EXPECT_EQ(G2->FocusChangedTo.last(), LPARAM(G1));
    EXPECT_EQ(Screen->ActiveControl(), G1);
    // Within the group: the group is not left.
    G3->SetFocus();
    EXPECT_EQ(Enters, 1);
}

TEST_F(FocusTest, ApplicationEventsSeeAKeyBeforeTheFocusedControlAndCanStopIt)
{
    TApplicationEvents *First = TApplicationEvents::Create(nullptr);
    TApplicationEvents *Second = TApplicationEvents::Create(nullptr);
    QList<QString> Order;
    First->OnMessage = [&](MSG &Msg, bool &) {
        if (Msg.message == WM_KEYDOWN)
            Order.append(QStringLiteral("first %1").arg(A->Count(WM_KEYDOWN)));
    };
    bool Stop = false;
    Second->OnMessage = [&](MSG &Msg, bool &Handled) {
        if (Msg.message == WM_KEYDOWN) {
            Order.append(QStringLiteral("second %1").arg(A->Count(WM_KEYDOWN)));
            Handled = Stop;
        }
    };
    Key(Qt::Key_A);
    EXPECT_EQ(A->Count(WM_KEYDOWN), 1);
    EXPECT_EQ(Order.size(), 2);
    EXPECT_TRUE(Order.contains(QStringLiteral("first 0")));
    EXPECT_TRUE(Order.contains(QStringLiteral("second 0")));

    Stop = true;
    Key(Qt::Key_Tab);
    EXPECT_TRUE(A->Focused()) << "a handled Tab moves nothing";
    EXPECT_EQ(A->Count(WM_KEYDOWN), 1);
    First->Free();
    Second->Free();
}

TEST_F(InputTest, AnExceptionInAnEventIsShownAndTheLoopGoesOn)
{
    TCtBox *A = Box(10, 10, 60, 40);
    ShowForm();
    QStringList Shown;
    ShowExceptionHook = [&](const QString &Message) { Shown.append(Message); };
    int Calls = 0;
    A->OnClick = [&](TObject *) {
        ++Calls;
        throw EInvalidOperation(QStringLiteral("No way"));
    };
    for (int I = 0; I < 2; ++I) {
        Press(A->Handle(), {5, 5});
        Release(A->Handle(), {5, 5});
    }
    EXPECT_EQ(Calls, 2);
    EXPECT_EQ(Shown, (QStringList{QStringLiteral("No way."), QStringLiteral("No way.")}));

    // The application events may take it instead.
    TApplicationEvents *Events = TApplicationEvents::Create(nullptr);
    QString Seen;
    Events->OnException = [&](TObject *Sender, const Exception &E) {
        Seen = E.Message();
        EXPECT_EQ(Sender, A);
    };
    Press(A->Handle(), {5, 5});
    Release(A->Handle(), {5, 5});
    EXPECT_EQ(Seen, QStringLiteral("No way"));
    EXPECT_EQ(Shown.size(), 2);
    Events->Free();
}

} // namespace
