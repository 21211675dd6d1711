// Forms: built from the program's layout resources, shown and hidden with their events in order,
// closed with OnClose deciding, frame styles from BorderStyle and BorderIcons, window state, the
// BorderWidth band, the screen's view of forms and monitors.
#include "framework/controls/Controls.h"
#include "framework/core/Reader.h"
#include "framework/forms/Forms.h"

#include <QImage>
#include <gtest/gtest.h>

// A window with published bounds and a colour; paints nothing.
class TFmPanel : public TCustomControl
{
    KIV_OBJECT(TFmPanel, TCustomControl)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FControlStyle.Include(csAcceptsControls);
    }
};
KIV_PUBLISHED(TFmPanel) {}

class TFmShape : public TGraphicControl
{
    KIV_OBJECT(TFmShape, TGraphicControl)
};
KIV_PUBLISHED(TFmShape) {}

// The form of LayoutForm.txt, stored as the resource TFMLAYOUTFORM.
class TFmLayoutForm : public TForm
{
    KIV_OBJECT(TFmLayoutForm, TForm)
public:
    TFmPanel *TopBar = nullptr;
    TFmPanel *First = nullptr;
    TFmPanel *Second = nullptr;
    TFmPanel *Body = nullptr;
    TFmShape *Note = nullptr;
    TFmPanel *Corner = nullptr;
    bool SawChildrenOnCreate = false;
    int FirstClicks = 0;

    void FormCreate(TObject *) { SawChildrenOnCreate = First && Body && Body->ControlCount() == 2; }
    void FirstClick(TObject *) { ++FirstClicks; }
};
KIV_PUBLISHED(TFmLayoutForm)
{
    Field("TopBar", &TFmLayoutForm::TopBar);
    Field("First", &TFmLayoutForm::First);
    Field("Second", &TFmLayoutForm::Second);
    Field("Body", &TFmLayoutForm::Body);
    Field("Note", &TFmLayoutForm::Note);
    Field("Corner", &TFmLayoutForm::Corner);
    Method("FormCreate", &TFmLayoutForm::FormCreate);
    Method("FirstClick", &TFmLayoutForm::FirstClick);
}

// No layout resource exists for this one.
class TFmNoLayout : public TForm
{
    KIV_OBJECT(TFmNoLayout, TForm)
};
KIV_PUBLISHED(TFmNoLayout) {}

namespace {

class FormsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
    }
    void TearDown() override
    {
        ProcessPendingMessages();
        ShowExceptionHook = nullptr;
    }
};

TEST_F(FormsTest, AFormIsBuiltFromTheLayoutResourceNamedAfterItsClass)
{
    TFmLayoutForm *F = TFmLayoutForm::Create(nullptr);
    TAutoFree<TFmLayoutForm> Guard(F);
    EXPECT_TRUE(F->SawChildrenOnCreate) << "OnCreate runs after the layout is read";
    EXPECT_EQ(F->Caption(), QStringLiteral("Layout form"));
    EXPECT_EQ(F->BorderStyle(), bsSingle);
    EXPECT_EQ(F->ClientWidth(), 300);
    ASSERT_TRUE(F->First && F->Body && F->Note && F->Corner);
    EXPECT_EQ(F->First->Parent(), F->TopBar);
    EXPECT_EQ(F->Note->Parent(), F->Body);
    EXPECT_EQ(F->First->Owner(), F);
    EXPECT_EQ(F->First->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(F->Second->Color(), clYellow);
    EXPECT_EQ(F->First->Color(), clBtnFace);
    // The client panel takes what the top bar leaves, inside the form's client area.
    EXPECT_EQ(F->TopBar->BoundsRect(), Rect(0, 0, 300, 40));
    EXPECT_EQ(F->Body->BoundsRect(), Rect(0, 40, 300, 200));
    EXPECT_EQ(F->Body->ClientRect(), Rect(0, 0, 292, 152));
    // Tab positions from the layout, not from the reading order.
    EXPECT_EQ(F->Second->TabOrder(), 0);
    EXPECT_EQ(F->First->TabOrder(), 1);
    EXPECT_EQ(F->Body->TabOrder(), 0);
    F->First->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    F->First->Perform(WM_LBUTTONUP, 0, PointToLParam(2, 2));
    EXPECT_EQ(F->FirstClicks, 1);

    // Anchors hold from the loaded positions.
    F->SetClientWidth(400);
    EXPECT_EQ(F->Corner->Left(), 340);
    EXPECT_EQ(F->Body->Width(), 400);

    // The layout's ActiveControl has the focus once shown.
    F->Show();
    ProcessPendingMessages();
    EXPECT_EQ(F->ActiveControl(), F->Second);
    EXPECT_TRUE(F->Second->Focused());
}

TEST_F(FormsTest, AFormClassWithoutItsLayoutRaisesAndCreateNewNeedsNone)
{
    EXPECT_THROW(TFmNoLayout::Create(nullptr), EResNotFound);
    TFmNoLayout *F = TCustomForm::CreateNew<TFmNoLayout>(nullptr);
    EXPECT_EQ(F->ControlCount(), 0);
    EXPECT_FALSE(F->Visible());
    EXPECT_EQ(F->Color(), clBtnFace);
    F->Free();
}

TEST_F(FormsTest, ALayoutTextBuildsNestedControlsIntoAnEmptyForm)
{
    TForm *F = TForm::CreateNew(nullptr);
    ReadComponentFromText("object Form1: TForm\n"
                          "  ClientWidth = 200\n  ClientHeight = 100\n  Font.Name = 'Tahoma'\n"
                          "  object Outer: TFmPanel\n    Align = alLeft\n    Width = 80\n"
                          "    object Inner: TFmPanel\n      Align = alClient\n    end\n  end\nend\n",
                          F);
    auto *Outer = dynamic_cast<TFmPanel *>(F->FindComponent(QStringLiteral("Outer")));
    auto *Inner = dynamic_cast<TFmPanel *>(F->FindComponent(QStringLiteral("Inner")));
    ASSERT_TRUE(Outer && Inner);
    EXPECT_EQ(Outer->BoundsRect(), Rect(0, 0, 80, 100));
    EXPECT_EQ(Inner->BoundsRect(), Rect(0, 0, 80, 100));
    EXPECT_EQ(Inner->Font()->Name(), QStringLiteral("Tahoma"));
    F->Free();
}

TEST_F(FormsTest, ShowAndHideRunTheirEventsAroundTheWindowChange)
{
    TForm *F = TForm::CreateNew(nullptr);
    QStringList Log;
    F->OnShow = [&](TObject *) { Log << QStringLiteral("show visible=%1").arg(IsWindowVisible(F->Handle())); };
    F->OnHide = [&](TObject *) { Log << QStringLiteral("hide visible=%1").arg(IsWindowVisible(F->Handle())); };
    F->Show();
    EXPECT_TRUE(IsWindowVisible(F->Handle()));
    F->Hide();
    EXPECT_FALSE(IsWindowVisible(F->Handle()));
    EXPECT_EQ(Log, (QStringList{QStringLiteral("show visible=0"), QStringLiteral("hide visible=1")}));
    F->Free();
}

TEST_F(FormsTest, CloseAsksOnCloseQueryThenOnCloseDecides)
{
    TForm *F = TForm::CreateNew(nullptr);
    bool Freed = false;
    F->OnDestroy = [&](TObject *) { Freed = true; };
    bool CanClose = false;
    F->OnCloseQuery = [&](TObject *, bool &Value) { Value = CanClose; };
    TCloseAction Action = caNone;
    int Closes = 0;
    F->OnClose = [&](TObject *, TCloseAction &Value) {
        ++Closes;
        EXPECT_EQ(Value, caHide);
        Value = Action;
    };
    F->Show();
    F->Close();
    EXPECT_EQ(Closes, 0);
    CanClose = true;
    F->Close();
    EXPECT_TRUE(F->Visible()) << "caNone";
    Action = caHide;
    F->Close();
    EXPECT_FALSE(F->Visible());

    // The desktop's close button (WM_CLOSE) takes the same path; caFree frees the form later.
    F->Show();
    Action = caFree;
    SendMessage(F->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Freed);
    ProcessPendingMessages();
    EXPECT_TRUE(Freed);
    EXPECT_EQ(Closes, 3);
}

TEST_F(FormsTest, ModalResultOnAFormThatIsNotModalIsOnlyStored)
{
    TForm *F = TForm::CreateNew(nullptr);
    F->Show();
    F->SetModalResult(mrOk);
    ProcessPendingMessages();
    EXPECT_EQ(F->ModalResult(), mrOk);
    EXPECT_TRUE(F->Visible());
    F->Free();
}

TEST_F(FormsTest, ShowModalRunsUntilAModalResultIsSet)
{
    TForm *F = TForm::CreateNew(nullptr);
    F->OnShow = [F](TObject *) { PostMessage(F->Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(F->ShowModal(), mrCancel) << "closing a modal form cancels it";
    EXPECT_FALSE(F->Visible());
    F->OnShow = [F](TObject *) { F->SetModalResult(mrOk); };
    EXPECT_EQ(F->ShowModal(), mrOk);
    F->Show();
    EXPECT_THROW(F->ShowModal(), EInvalidOperation);
    F->Free();
}

struct TStyleCase
{
    TFormBorderStyle Style;
    TBorderIcons Icons;
    DWORD Expected;
    DWORD Absent;
    DWORD ExStyle;
};

TEST_F(FormsTest, BorderStyleAndIconsGiveTheClassicWindowStyles)
{
    const TBorderIcons All{biSystemMenu, biMinimize, biMaximize};
    const TStyleCase Cases[] = {
        {bsSizeable, All, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_POPUP, 0},
        {bsSingle, {biSystemMenu, biMinimize}, WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX,
         WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
        {bsDialog, All, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, WS_EX_DLGMODALFRAME},
        {bsNone, All, WS_POPUP, WS_CAPTION | WS_SYSMENU, 0},
        {bsToolWindow, All, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX, WS_EX_TOOLWINDOW},
    };
    TForm *F = TForm::CreateNew(nullptr);
    int Recreations = 0;
    TWndMethod Old = F->WindowProc;
    F->WindowProc = [&](TMessage &M) {
        if (M.Msg == CM_RECREATEWND)
            ++Recreations;
        Old(M);
    };
    F->Show();
    for (const TStyleCase &C : Cases) {
        F->SetBorderIcons(C.Icons);
        F->SetBorderStyle(C.Style);
        const DWORD Style = DWORD(GetWindowLong(F->Handle(), GWL_STYLE));
        EXPECT_EQ(Style & C.Expected, C.Expected) << "style " << C.Style;
        EXPECT_EQ(Style & C.Absent, 0u) << "style " << C.Style;
        EXPECT_EQ(DWORD(GetWindowLong(F->Handle(), GWL_EXSTYLE)) & C.ExStyle, C.ExStyle) << "style " << C.Style;
        EXPECT_TRUE(IsWindowVisible(F->Handle()));
    }
    EXPECT_GE(Recreations, 4) << "a style change at run time makes the window again";
    F->WindowProc = Old;
    F->Free();
}

TEST_F(FormsTest, WindowStateFollowsTheWindow)
{
    TForm *F = TForm::CreateNew(nullptr);
    F->SetWindowState(wsMaximized);
    EXPECT_EQ(F->WindowState(), wsMaximized);
    F->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(IsZoomed(F->Handle()));
    F->SetWindowState(wsNormal);
    EXPECT_FALSE(IsZoomed(F->Handle()));
    ShowWindow(F->Handle(), SW_MINIMIZE);
    EXPECT_EQ(F->WindowState(), wsMinimized);
    F->Free();
}

// The window asks the form for its limits: the Constraints, 0 meaning none. Maximising a window we frame
// ourselves stays inside them (one the desktop frames, the desktop maximises).
TEST_F(FormsTest, ConstraintsAnswerTheWindowsLimitsAndBoundTheMaximisedSize)
{
    TForm *F = TForm::CreateNew(nullptr);
    F->SetBorderStyle(bsNone);
    F->SetBounds(10, 10, 300, 200);
    F->Constraints()->SetMinWidth(250);
    F->Constraints()->SetMaxWidth(420);
    F->Constraints()->SetMaxHeight(330);
    MINMAXINFO Info;
    Info.ptMinTrackSize = POINT{1, 2};
    Info.ptMaxTrackSize = POINT{5000, 6000};
    SendMessage(F->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    EXPECT_EQ(Info.ptMinTrackSize, (POINT{250, 2}));
    EXPECT_EQ(Info.ptMaxTrackSize, (POINT{420, 330}));

    F->Show();
    F->SetWindowState(wsMaximized);
    ProcessPendingMessages();
    ASSERT_TRUE(IsZoomed(F->Handle()));
    RECT R;
    GetWindowRect(F->Handle(), &R);
    EXPECT_EQ(R.Width(), 420);
    EXPECT_EQ(R.Height(), 330);
    F->Free();
}

TEST_F(FormsTest, BorderWidthIsARealNonClientBandInTheFormColour)
{
    TForm *F = TForm::CreateNew(nullptr);
    F->SetBorderStyle(bsNone);
    F->SetBounds(10, 10, 100, 80);
    F->SetColor(clLime);
    F->SetBorderWidth(5);
    auto *Child = TFmPanel::Create(F);
    Child->SetParent(F);
    Child->SetAlign(alClient);
    F->Show();
    ProcessPendingMessages();
    RECT R;
    GetClientRect(F->Handle(), &R);
    EXPECT_EQ(R, Rect(0, 0, 90, 70));
    EXPECT_EQ(Child->BoundsRect(), Rect(0, 0, 90, 70));
    // The band is painted with the frame, although no style gives one.
    const QImage *Surface = WindowSurface(F->Handle());
    ASSERT_TRUE(Surface);
    EXPECT_EQ(Surface->pixel(2, 40), qRgb(0, 255, 0));
    EXPECT_EQ(ClientOrigin(F->Handle()), (POINT{5, 5}));
    F->Free();
}

TEST_F(FormsTest, TheScreenKnowsTheFormsAndTheMonitors)
{
    TForm *F = TForm::CreateNew(nullptr);
    const int Count = Screen->FormCount();
    EXPECT_GE(Count, 1);
    EXPECT_EQ(Screen->Forms(Count - 1), F);
    ASSERT_GE(Screen->MonitorCount(), 1);
    TMonitor *M = Screen->Monitors(0);
    EXPECT_FALSE(IsRectEmpty(&static_cast<const RECT &>(M->WorkareaRect())));
    EXPECT_EQ(F->Monitor(), Screen->MonitorFromWindow(F->Handle()));
    EXPECT_EQ(Screen->WorkAreaRect().Width() > 0, true);
    F->Free();
    EXPECT_EQ(Screen->FormCount(), Count - 1);
}

} // namespace
