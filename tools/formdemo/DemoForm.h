#pragma once
// The demo's main form: the standard controls read from the layout resource TDEMOFORM, and four address
// fields made on Panel2's window the way a network tool makes them.

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"

#include <array>

class TDemoForm : public TForm
{
    KIV_OBJECT(TDemoForm, TForm)
public:
    void Construct(TComponent *AOwner) override;

    TPanel *Panel1 = nullptr;
    TPanel *Panel2 = nullptr;
    TMemo *Memo1 = nullptr;
    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label3 = nullptr;
    TLabel *Label4 = nullptr;
    TLabel *Label5 = nullptr;
    TLabel *Label6 = nullptr;
    TButton *Button1 = nullptr;
    TButton *Button2 = nullptr;
    TCheckBox *CheckBox1 = nullptr;
    TRadioGroup *RadioGroup1 = nullptr;
    TGroupBox *GroupBox1 = nullptr;
    TRadioButton *RadioButton1 = nullptr;
    TRadioButton *RadioButton2 = nullptr;
    TEdit *Edit1 = nullptr;

    // Address, mask, gateway and name server, top to bottom.
    std::array<HWND, 4> AddressFields() const { return FAddressFields; }

    void FormActivate(TObject *Sender);
    void Button1Click(TObject *Sender);
    void Button2Click(TObject *Sender);
    void RadioGroup1Click(TObject *Sender);
    void AddressingClick(TObject *Sender);

private:
    std::array<HWND, 4> FAddressFields{};
};
