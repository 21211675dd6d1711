#include "tools/formdemo/DemoForm.h"

#include "platform/StdClasses.h"

#include <QDateTime>
#include <QSysInfo>

KIV_PUBLISHED(TDemoForm)
{
    Field("Panel1", &TDemoForm::Panel1);
    Field("Panel2", &TDemoForm::Panel2);
    Field("Memo1", &TDemoForm::Memo1);
    Field("Label1", &TDemoForm::Label1);
    Field("Label2", &TDemoForm::Label2);
    Field("Label3", &TDemoForm::Label3);
    Field("Label4", &TDemoForm::Label4);
    Field("Label5", &TDemoForm::Label5);
    Field("Label6", &TDemoForm::Label6);
    Field("Button1", &TDemoForm::Button1);
    Field("Button2", &TDemoForm::Button2);
    Field("CheckBox1", &TDemoForm::CheckBox1);
    Field("RadioGroup1", &TDemoForm::RadioGroup1);
    Field("GroupBox1", &TDemoForm::GroupBox1);
    Field("RadioButton1", &TDemoForm::RadioButton1);
    Field("RadioButton2", &TDemoForm::RadioButton2);
    Field("Edit1", &TDemoForm::Edit1);
    Method("FormActivate", &TDemoForm::FormActivate);
    Method("Button1Click", &TDemoForm::Button1Click);
    Method("Button2Click", &TDemoForm::Button2Click);
    Method("RadioGroup1Click", &TDemoForm::RadioGroup1Click);
    Method("AddressingClick", &TDemoForm::AddressingClick);
}

namespace {

struct TProfile
{
    DWORD Address, Mask, Gateway, NameServer;
};

const TProfile Profiles[] = {
    {MAKEIPADDRESS(192, 168, 1, 251), MAKEIPADDRESS(255, 255, 255, 0), MAKEIPADDRESS(192, 168, 1, 1),
     MAKEIPADDRESS(168, 95, 1, 1)},
    {MAKEIPADDRESS(10, 0, 0, 23), MAKEIPADDRESS(255, 0, 0, 0), MAKEIPADDRESS(10, 0, 0, 138),
     MAKEIPADDRESS(8, 8, 4, 4)},
};

QString Dotted(DWORD A)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(FIRST_IPADDRESS(A))
        .arg(SECOND_IPADDRESS(A))
        .arg(THIRD_IPADDRESS(A))
        .arg(FOURTH_IPADDRESS(A));
}

} // namespace

void TDemoForm::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    INITCOMMONCONTROLSEX Init{sizeof(INITCOMMONCONTROLSEX), ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&Init);
    // One field beside each of the panel's labels.
    const TLabel *Labels[] = {Label1, Label2, Label3, Label4};
    for (int I = 0; I < 4; ++I) {
        FAddressFields[I] = CreateWindowExA(0, "SysIPAddress32", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 120,
                                            Labels[I]->Top() - 4, 150, 21, Panel2->Handle(),
                                            reinterpret_cast<void *>(quintptr(100 + I)), HInstance, nullptr);
        // A window made outside the framework starts in the system font.
        SendMessageA(FAddressFields[I], WM_SETFONT, WPARAM(Font()->Handle()), TRUE);
    }
}

void TDemoForm::FormActivate(TObject *)
{
    if (!ActiveControl())
        SetActiveControl(Button1);
}

void TDemoForm::Button1Click(TObject *)
{
    const QString Now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    Label5->SetCaption(QStringLiteral("Host Name:\t%1\nNode Type:\tHybrid\nConnection:\t%2\nRead Time:\t%3")
                           .arg(QSysInfo::machineHostName(), Edit1->Text(), Now));
    Memo1->Lines()->Add(QStringLiteral("Device read at %1").arg(Now.mid(11)));
}

void TDemoForm::RadioGroup1Click(TObject *)
{
    const int Index = RadioGroup1->ItemIndex();
    if (Index < 0 || Index >= int(std::size(Profiles)))
        return;
    const TProfile &P = Profiles[Index];
    const DWORD Values[] = {P.Address, P.Mask, P.Gateway, P.NameServer};
    for (int I = 0; I < 4; ++I)
        SendMessageA(FAddressFields[I], IPM_SETADDRESS, 0, LPARAM(Values[I]));
}

void TDemoForm::Button2Click(TObject *)
{
    for (HWND Field : FAddressFields) {
        DWORD Address = 0;
        SendMessageA(Field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&Address));
        Memo1->Lines()->Add(Dotted(Address));
    }
}

// Automatic addressing has no use for the typed addresses.
void TDemoForm::AddressingClick(TObject *)
{
    const bool Static = RadioButton1->Checked();
    for (HWND Field : FAddressFields)
        EnableWindow(Field, Static);
}
