// The application object: the main form, the message loop that ends with it, minimising through the main
// form, activation events, and ProcessMessages called from inside a message.
#include "framework/forms/AppEvnts.h"
#include "framework/forms/Forms.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ApplicationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Application->Initialize();
        ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
        Application->CreateForm(Main);
        Application->CreateForm(Other);
    }
    static TForm *Main;
    static TForm *Other;
};
TForm *ApplicationTest::Main = nullptr;
TForm *ApplicationTest::Other = nullptr;

TEST_F(ApplicationTest, TheFirstFormCreatedIsTheMainForm)
{
    EXPECT_EQ(Application->MainForm(), Main);
    EXPECT_NE(Other, Main);
    EXPECT_EQ(Main->Owner(), static_cast<TApplication *>(Application));
}

TEST_F(ApplicationTest, ActivationRaisesOnActivateAndOnDeactivate)
{
    QStringList Log;
    Main->OnActivate = [&](TObject *) { Log << QStringLiteral("main on"); };
    Main->OnDeactivate = [&](TObject *) { Log << QStringLiteral("main off"); };
    Other->OnActivate = [&](TObject *) { Log << QStringLiteral("other on"); };
    Main->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(Main->Active());
    Other->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(Other->Active());
    EXPECT_FALSE(Main->Active());
    EXPECT_TRUE(Application->Active());
    EXPECT_EQ(Log, (QStringList{QStringLiteral("main on"), QStringLiteral("main off"), QStringLiteral("other on")}));
    Other->Hide();
    Main->OnActivate = nullptr;
    Main->OnDeactivate = nullptr;
    Other->OnActivate = nullptr;
}

TEST_F(ApplicationTest, MinimisingTheMainFormMinimisesTheApplication)
{
    Main->Show();
    int Minimised = 0;
    Application->OnMinimize = [&](TObject *) { ++Minimised; };
    SendMessage(Main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(Main->Handle()));
    EXPECT_EQ(Main->WindowState(), wsMinimized);
    EXPECT_EQ(Minimised, 1);
    Application->Restore();
    EXPECT_FALSE(IsIconic(Main->Handle()));
    Application->OnMinimize = nullptr;
}

TEST_F(ApplicationTest, ProcessMessagesInsideAMessageDeliversTheRest)
{
    TApplicationEvents *Events = TApplicationEvents::Create(nullptr);
    QList<UINT> Seen;
    const HWND H = Main->Handle();
    Events->OnMessage = [&](MSG &Msg, bool &Handled) {
        if (Msg.hwnd != H || Msg.message < WM_USER)
            return;
        Seen.append(Msg.message);
        Handled = true;
        if (Msg.message == WM_USER + 1) {
            PostMessage(H, WM_USER + 2, 0, 0);
            Application->ProcessMessages();
        }
    };
    PostMessage(H, WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Seen, (QList<UINT>{WM_USER + 1, WM_USER + 2}));
    Events->Free();
}

TEST_F(ApplicationTest, AUtilityWindowTakesItsMessagesAndMayGoInsideOne)
{
    int Ticks = 0;
    HWND Wnd = nullptr;
    Wnd = AllocateHWnd([&](TMessage &M) {
        if (M.Msg == WM_TIMER) {
            ++Ticks;
            KillTimer(Wnd, 1);
            DeallocateHWnd(Wnd);
            return;
        }
        M.Result = DefWindowProc(Wnd, M.Msg, M.WParam, M.LParam);
    });
    ASSERT_TRUE(Wnd);
    EXPECT_FALSE(IsWindowVisible(Wnd));
    SetTimer(Wnd, 1, 1, nullptr);
    EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return !IsWindow(Wnd); }, 5000));
    EXPECT_EQ(Ticks, 1);
    EXPECT_FALSE(IsWindow(Wnd));
}

TEST_F(ApplicationTest, WaitingForSomethingSleepsUntilAnEventOrTheDeadline)
{
    // A loop that polled would ask thousands of times in these milliseconds; one asleep asks once per wake-up.
    int Asked = 0;
    bool Fired = false;
    QTimer::singleShot(50, [&] { Fired = true; });
    EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return ++Asked, Fired; }, 5000));
    EXPECT_LT(Asked, 20);

    Asked = 0;
    EXPECT_FALSE(Application->ProcessMessagesUntil([&] { return ++Asked, false; }, 50));
    EXPECT_LT(Asked, 20);
}

// Last: the loop ends the application for good.
TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses)
{
    Main->Hide();
    bool ShownInRun = false;
    Main->OnShow = [&](TObject *) {
        ShownInRun = true;
        PostMessage(Main->Handle(), WM_CLOSE, 0, 0);
    };
    bool Destroyed = false;
    Other->OnDestroy = [&](TObject *) { Destroyed = true; };
    Application->Run();
    EXPECT_TRUE(ShownInRun);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(Destroyed) << "the application's forms go when the loop ends";
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

} // namespace
