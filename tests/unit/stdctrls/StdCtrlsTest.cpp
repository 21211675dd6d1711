// The standard controls on a form read from a layout: labels, panels, memo, buttons, check box, radio
// group, an address field made with CreateWindowExA on a panel, timers and message boxes.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Dialogs.h"
#include "framework/forms/Forms.h"
#include "platform/StdClasses.h"

#include <QImage>
#include <gtest/gtest.h>

// The form of DemoForm.txt, stored as the resource TDEMOFORM.
class TDemoForm : public TForm
{
    KIV_OBJECT(TDemoForm, TForm)
public:
    TPanel *Panel1 = nullptr;
    TPanel *Panel2 = nullptr;
    TMemo *Memo1 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label5 = nullptr;
    TButton *Button1 = nullptr;
    TButton *Button2 = nullptr;
    TRadioGroup *RadioGroup1 = nullptr;
    TCheckBox *CheckBox1 = nullptr;
    QStringList Log;

    void FormActivate(TObject *) { Log << QStringLiteral("activate"); }
    void Button1Click(TObject *) { Log << QStringLiteral("Button1"); }
    void Button2Click(TObject *) { Log << QStringLiteral("Button2"); }
    void RadioGroup1Click(TObject *) { Log << QStringLiteral("group %1").arg(RadioGroup1->ItemIndex()); }
};
KIV_PUBLISHED(TDemoForm)
{
    Field("Panel1", &TDemoForm::Panel1);
    Field("Panel2", &TDemoForm::Panel2);
    Field("Memo1", &TDemoForm::Memo1);
    Field("Label1", &TDemoForm::Label1);
    Field("Label2", &TDemoForm::Label2);
    Field("Label5", &TDemoForm::Label5);
    Field("Button1", &TDemoForm::Button1);
    Field("Button2", &TDemoForm::Button2);
    Field("RadioGroup1", &TDemoForm::RadioGroup1);
    Field("CheckBox1", &TDemoForm::CheckBox1);
    Method("FormActivate", &TDemoForm::FormActivate);
    Method("Button1Click", &TDemoForm::Button1Click);
    Method("Button2Click", &TDemoForm::Button2Click);
    Method("RadioGroup1Click", &TDemoForm::RadioGroup1Click);
}

namespace {

class StdCtrlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
        Form = TDemoForm::Create(nullptr);
    }
    void TearDown() override
    {
        Form->Free();
        ProcessPendingMessages();
        ShowExceptionHook = nullptr;
        SetMessageDlgHook(nullptr);
    }
    void ShowForm()
    {
        Form->Show();
        ProcessPendingMessages();
    }
    // The form's client area as painted.
    QImage Client()
    {
        UpdateWindow(Form->Handle());
        const POINT O = ClientOrigin(Form->Handle());
        return WindowSurface(Form->Handle())->copy(O.X, O.Y, Form->ClientWidth(), Form->ClientHeight());
    }
    static bool HasInk(const QImage &Image, const QRect &R, QRgb Background)
    {
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                if ((Image.pixel(X, Y) & 0xFFFFFF) != (Background & 0xFFFFFF))
                    return true;
        return false;
    }

    TDemoForm *Form = nullptr;
};

QRgb Rgb(TColor C)
{
    const COLORREF R = ColorToRGB(C);
    return qRgb(GetRValue(R), GetGValue(R), GetBValue(R));
}

TEST_F(StdCtrlsTest, TheLayoutBuildsEveryControlWithItsClassicDefaultsAndPlaces)
{
    ASSERT_TRUE(Form->Panel1 && Form->Memo1 && Form->Label5 && Form->Button1 && Form->RadioGroup1 && Form->Label2);
    EXPECT_EQ(Form->Panel1->BoundsRect(), Rect(0, 0, 520, 41));
    // Right-aligned below the top panel, over the rest of the height.
    EXPECT_EQ(Form->Memo1->BoundsRect(), Rect(352, 41, 520, 330));
    EXPECT_EQ(Form->Label2->Parent(), Form->Panel2);
    EXPECT_EQ(Form->Label2->Caption(), QString::fromUtf8("子網路遮罩："));
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), -1);
    ASSERT_EQ(Form->RadioGroup1->ButtonCount(), 2);
    EXPECT_EQ(Form->RadioGroup1->Buttons(1)->Caption(), QStringLiteral("Home2"));
    EXPECT_FALSE(Form->RadioGroup1->Buttons(0)->Checked());

    TPanel *Fresh = TPanel::Create(Form);
    EXPECT_EQ(Fresh->Width(), 185);
    EXPECT_EQ(Fresh->Height(), 41);
    EXPECT_EQ(Fresh->Color(), clBtnFace);
    EXPECT_TRUE(Fresh->ControlStyle().Contains(csAcceptsControls));
    EXPECT_EQ(GetClassName(Form->Memo1->Handle()), QStringLiteral("TMemo"));
    EXPECT_EQ(GetClassName(Form->Button1->Handle()), QStringLiteral("TButton"));
    // Built-in windows show the control's font, not the toolkit's.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessage(Form->Button1->Handle(), WM_GETFONT, 0, 0)),
              Form->Button1->Font()->Handle());
}

TEST_F(StdCtrlsTest, ThePanelPaintsItsBevelFaceAndCaption)
{
    ShowForm();
    const HWND Wnd = Form->Panel1->Handle();
    UpdateWindow(Wnd);
    const QImage C = *WindowSurface(Wnd);
    EXPECT_EQ(C.pixel(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(C.pixel(519, 40), Rgb(clBtnShadow));
    EXPECT_EQ(C.pixel(5, 20), Rgb(clBtnFace));
    // The caption is centred on the one line.
    EXPECT_TRUE(HasInk(C, QRect(200, 12, 120, 18), Rgb(clBtnFace)));
    EXPECT_FALSE(HasInk(C, QRect(4, 4, 60, 33), Rgb(clBtnFace)));
}

TEST_F(StdCtrlsTest, TheLabelBreaksLinesAtLineFeedsExpandsTabsAndClipsToItsBounds)
{
    Form->Label5->SetColor(clWhite);
    ShowForm();
    const QImage C = Client();
    const QRect L(16, 224, 320, 97);
    const int Line = FontLineHeight(Form->Label5->Font());
    // Two lines; the text after the tab starts well right of the labels.
    EXPECT_TRUE(HasInk(C, QRect(L.left(), L.top(), 60, Line), Rgb(clWhite)));
    EXPECT_TRUE(HasInk(C, QRect(L.left(), L.top() + Line, 60, Line), Rgb(clWhite)));
    EXPECT_FALSE(HasInk(C, QRect(L.left(), L.top() + 2 * Line + 2, 300, 20), Rgb(clWhite)));

    // Word wrap only when asked; without it a long line is cut at the label's edge.
    Form->Label5->SetCaption(QString(60, u'W'));
    Form->Label5->Repaint();
    QImage Cut = Client();
    EXPECT_FALSE(HasInk(Cut, QRect(L.left(), L.top() + Line, 300, Line), Rgb(clWhite)));
    EXPECT_EQ(Cut.pixel(L.right() + 1, L.top() + 3), Rgb(clBtnFace)) << "nothing drawn beyond the bounds";
    Form->Label5->SetWordWrap(true);
    Form->Label5->Repaint();
    Form->Label5->SetCaption(QStringLiteral("a few words that do not fit on one line of this label at all, so they "
                                            "go on to the next line"));
    Form->Label5->Repaint();
    EXPECT_TRUE(HasInk(Client(), QRect(L.left(), L.top() + Line, 300, Line), Rgb(clWhite)));
}

TEST_F(StdCtrlsTest, MemoLinesLiveInTheWindowAndSurviveARecreate)
{
    TMemo *M = Form->Memo1;
    M->Lines()->Add(QStringLiteral("first"));
    M->Lines()->Add(QStringLiteral("second"));
    EXPECT_EQ(M->Text(), QStringLiteral("first\r\nsecond\r\n"));
    ShowForm();
    M->Lines()->Add(QStringLiteral("third"));
    EXPECT_EQ(M->Lines()->Count(), 3);
    EXPECT_EQ(SendMessage(M->Handle(), EM_GETLINECOUNT, 0, 0) >= 3, true);
    M->SetScrollBars(ssBoth);
    EXPECT_TRUE(GetWindowLong(M->Handle(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(M->Lines()->Strings(2), QStringLiteral("third"));
    M->Lines()->Delete(0);
    EXPECT_EQ(M->Lines()->Strings(0), QStringLiteral("second"));
    EXPECT_THROW(M->Lines()->Strings(5), EListError);
}

TEST_F(StdCtrlsTest, ButtonsCheckBoxesAndTheRadioGroupRaiseTheirEvents)
{
    ShowForm();
    Form->Log.clear();
    SendMessage(Form->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form->Log, QStringList{QStringLiteral("Button2")});

    int Clicks = 0;
    Form->CheckBox1->OnClick = [&](TObject *) { ++Clicks; };
    SendMessage(Form->CheckBox1->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Form->CheckBox1->Checked());
    EXPECT_EQ(SendMessage(Form->CheckBox1->Handle(), BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
    Form->CheckBox1->SetChecked(false);
    EXPECT_EQ(Clicks, 2);

    Form->Log.clear();
    SendMessage(Form->RadioGroup1->Buttons(1)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(Form->Log, QStringList{QStringLiteral("group 1")});
    SendMessage(Form->RadioGroup1->Buttons(0)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 0);
    EXPECT_FALSE(Form->RadioGroup1->Buttons(1)->Checked());
}

TEST_F(StdCtrlsTest, EnterPressesTheDefaultButtonAndTheButtonHandsItsModalResultToTheForm)
{
    ShowForm();
    Form->Button2->SetModalResult(mrOk);
    Form->Log.clear();
    Form->CheckBox1->SetFocus();
    TMessage Key{CM_DIALOGKEY, VK_RETURN, 0, 0};
    Form->Broadcast(Key);
    EXPECT_EQ(Key.Result, 1);
    EXPECT_EQ(Form->Log, QStringList{QStringLiteral("Button1")});
    Form->Button2->Click();
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(StdCtrlsTest, AnAddressFieldMadeOnAPanelsWindowSetsAndReadsThePackedAddress)
{
    INITCOMMONCONTROLSEX Init{8, ICC_INTERNET_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&Init));
    HWND Field = CreateWindowExA(0, "SysIPAddress32", nullptr, WS_CHILD | WS_VISIBLE, 120, 25, 140, 20,
                                 Form->Panel2->Handle(), nullptr, HInstance, nullptr);
    ASSERT_TRUE(Field);
    EXPECT_EQ(GetParent(Field), Form->Panel2->Handle());
    DWORD Address = 0;
    SendMessageA(Field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&Address));
    EXPECT_EQ(Address, 0u) << "a blank field reads 0";
    SendMessageA(Field, IPM_SETADDRESS, 0, LPARAM(0xC0A801FB));
    SendMessageA(Field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&Address));
    EXPECT_EQ(Address, 0xC0A801FBu);
    DWORD Untouched = 7;
    EXPECT_EQ(SendMessageA(nullptr, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&Untouched)), 0);
    EXPECT_EQ(Untouched, 7u);
    // The field goes with its parent's window.
    Form->Panel2->Free();
    EXPECT_FALSE(IsWindow(Field));
}

TEST_F(StdCtrlsTest, ATimerTicksUntilDisabledAndMayFreeItselfInItsTick)
{
    TTimer *Timer = TTimer::Create(nullptr);
    Timer->SetInterval(5);
    int Ticks = 0;
    Timer->OnTimer = [&](TObject *Sender) {
        ++Ticks;
        static_cast<TTimer *>(Sender)->Free();
    };
    EXPECT_TRUE(ProcessPendingMessagesUntil([&] { return Ticks > 0; }, 5000));
    EXPECT_EQ(Ticks, 1);

    TTimer *Idle = TTimer::Create(nullptr);
    Idle->SetInterval(0);
    Idle->OnTimer = [&](TObject *) { ++Ticks; };
    // Neither the freed timer nor the one of interval 0 ticks while a timer of the same period ticks four times.
    TTimer *Witness = TTimer::Create(nullptr);
    Witness->SetInterval(5);
    int Witnessed = 0;
    Witness->OnTimer = [&](TObject *) { ++Witnessed; };
    EXPECT_TRUE(ProcessPendingMessagesUntil([&] { return Witnessed >= 4; }, 5000));
    EXPECT_EQ(Ticks, 1);
    Witness->Free();
    Idle->Free();
}

TEST_F(StdCtrlsTest, MessageDlgGoesThroughTheHookWithItsTypeAndButtons)
{
    QString Seen;
    SetMessageDlgHook([&](const QString &Msg, TMsgDlgType Type, TMsgDlgButtons Buttons) {
        Seen = Msg;
        EXPECT_EQ(Type, mtError);
        EXPECT_TRUE(Buttons.Contains(mbOK));
        return int(mrOk);
    });
    EXPECT_EQ(MessageDlg(QStringLiteral("Invalid skin file"), mtError, TMsgDlgButtons{mbOK}, 0), mrOk);
    EXPECT_EQ(Seen, QStringLiteral("Invalid skin file"));
}

} // namespace
