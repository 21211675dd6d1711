#pragma once
// Netvane's main window: the network report, the two address profiles and the commands that apply
// an address or automatic configuration to the connection "Broadcom".

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "skin/theme/Kivmgr.h"

#include <QString>

#include <array>

class TForm1 : public TForm
{
    KIV_OBJECT(TForm1, TForm)
public:
    void Construct(TComponent *AOwner) override;

    TRadioGroup *kivRadioGroup1 = nullptr;
    TPanel *kivImagePanel1 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label3 = nullptr;
    TLabel *Label4 = nullptr;
    TPanel *kivForm1 = nullptr;
    TButton *Button1 = nullptr;
    TMemo *Memo1 = nullptr;
    TButton *Button2 = nullptr;
    TkivBuiltInFileTheme *kivBuiltInFileTheme1 = nullptr;
    TLabel *Label5 = nullptr;
    TButton *kivButton1 = nullptr;

    void kivtempButton1Click(TObject *Sender);
    void kivRadioGroup1Click(TObject *Sender);
    void FormActivate(TObject *Sender);
    void Button2Click(TObject *Sender);
    void kivButton1Click(TObject *Sender);
};

// Index 0 IP address, 1 subnet mask, 2 default gateway, 3 preferred DNS server; null when not made.
extern std::array<HWND, 4> AddressField;
// What a profile last wrote into the fields, first octet in the high byte.
extern std::array<DWORD, 4> ProfileAddress;
// What "Change IP" last read from the fields.
extern QString AddressText, MaskText, GatewayText, DnsText;
