#include "app/Unit1.h"

#include "app/network/NetworkReport.h"
#include "app/network/NetworkSource.h"
#include "platform/Kernel.h"
#include "platform/StdClasses.h"

#include <arpa/inet.h>

std::array<HWND, 4> AddressField{};
std::array<DWORD, 4> ProfileAddress{};
QString AddressText, MaskText, GatewayText, DnsText;

KIV_PUBLISHED(TForm1)
{
    Field("kivRadioGroup1", &TForm1::kivRadioGroup1);
    Field("kivImagePanel1", &TForm1::kivImagePanel1);
    Field("Label1", &TForm1::Label1);
    Field("Label2", &TForm1::Label2);
    Field("Label3", &TForm1::Label3);
    Field("Label4", &TForm1::Label4);
    Field("kivForm1", &TForm1::kivForm1);
    Field("Button1", &TForm1::Button1);
    Field("Memo1", &TForm1::Memo1);
    Field("Button2", &TForm1::Button2);
    Field("kivBuiltInFileTheme1", &TForm1::kivBuiltInFileTheme1);
    Field("Label5", &TForm1::Label5);
    Field("kivButton1", &TForm1::kivButton1);
    Method("kivtempButton1Click", &TForm1::kivtempButton1Click);
    Method("kivRadioGroup1Click", &TForm1::kivRadioGroup1Click);
    Method("FormActivate", &TForm1::FormActivate);
    Method("Button2Click", &TForm1::Button2Click);
    Method("kivButton1Click", &TForm1::kivButton1Click);
}

namespace {

// Both profiles use the same public name server.
const char *const PublicDnsServer = "8.8.8.8";
const char *const Home1[4] = {"192.168.1.251", "255.255.255.0", "192.168.1.254", PublicDnsServer};
const char *const Home2[4] = {"192.168.1.250", "255.255.255.0", "192.168.1.254", PublicDnsServer};

const char *const StaticAddressStart = "netsh interface ip set address name =\"Broadcom\" source = static addr = ";
const char *const StaticAddressMask = " mask = ";
const char *const StaticAddressGateway = " gateway =";
const char *const StaticAddressEnd = "  gwmetric = 1";
const char *const StaticDnsStart = "netsh  interface ip set dns name=\"Broadcom\" source=static addr=";
const char *const AutomaticAddress = "netsh interface ip set address \"Broadcom\" dhcp";
const char *const AutomaticDns = "netsh interface ip set dns \"Broadcom\" dhcp";

constexpr DWORD PauseBetweenCommands = 10000;

// The report writes into the label's caption and adds its failures to the memo.
class TFormReportView : public TReportView
{
public:
    TFormReportView(TLabel *Label, TMemo *Memo) : FLabel(Label), FMemo(Memo) {}
    QString Text() const override { return FLabel->Caption(); }
    void SetText(const QString &Text) override { FLabel->SetCaption(Text); }
    void AddLine(const QString &Line) override { FMemo->Lines()->Add(Line); }

private:
    TLabel *FLabel;
    TMemo *FMemo;
};

QString DottedText(DWORD V)
{
    return QStringLiteral("%1.%2.%3.%4").arg((V >> 24) & 255).arg((V >> 16) & 255).arg((V >> 8) & 255).arg(V & 255);
}

DWORD ReadAddress(HWND Field)
{
    DWORD Address = 0;
    SendMessageA(Field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&Address));
    return Address;
}

void Run(const QString &Command) { WinExec(Command.toUtf8().constData(), SW_HIDE); }

} // namespace

void TForm1::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    INITCOMMONCONTROLSEX Init;
    Init.dwSize = 8;
    Init.dwICC = ICC_INTERNET_CLASSES;
    if (!InitCommonControlsEx(&Init))
        return;
    for (int I = 0; I < 4; ++I)
        AddressField[I] = CreateWindowExA(0, "SysIPAddress32", nullptr, WS_CHILD | WS_VISIBLE, 120, 25 + 35 * I, 140,
                                          20, kivImagePanel1->Handle(), nullptr, HInstance, nullptr);
}

void TForm1::FormActivate(TObject *Sender)
{
    if (Button1->OnClick)
        Button1->OnClick(Sender);
}

void TForm1::kivtempButton1Click(TObject *)
{
    TFormReportView View(Label5, Memo1);
    RunNetworkReport(NetworkSource(), View);
}

void TForm1::kivRadioGroup1Click(TObject *)
{
    const char *const *Profile = nullptr;
    switch (kivRadioGroup1->ItemIndex()) {
    case 0: Profile = Home1; break;
    case 1: Profile = Home2; break;
    default: return;
    }
    for (int K = 0; K < 4; ++K)
        ProfileAddress[K] = ntohl(inet_addr(Profile[K]));
    for (int K = 0; K < 4; ++K)
        SendMessageA(AddressField[K], IPM_SETADDRESS, 0, LPARAM(ProfileAddress[K]));
}

void TForm1::Button2Click(TObject *)
{
    AddressText = DottedText(ReadAddress(AddressField[0]));
    MaskText = DottedText(ReadAddress(AddressField[1]));
    GatewayText = DottedText(ReadAddress(AddressField[2]));
    DnsText = DottedText(ReadAddress(AddressField[3]));
    Run(QLatin1String(StaticAddressStart) + AddressText + QLatin1String(StaticAddressMask) + MaskText +
        QLatin1String(StaticAddressGateway) + GatewayText + QLatin1String(StaticAddressEnd));
    Sleep(PauseBetweenCommands);
    Run(QLatin1String(StaticDnsStart) + DnsText);
}

void TForm1::kivButton1Click(TObject *)
{
    Run(QLatin1String(AutomaticAddress));
    Sleep(PauseBetweenCommands);
    Run(QLatin1String(AutomaticDns));
}
