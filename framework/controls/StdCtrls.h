#pragma once
// The standard controls: the label (windowless, DrawText), the edit and memo on the built-in "EDIT"
// class, and the push button, check box, radio button and group box on the built-in "BUTTON" class.

#include "framework/controls/Controls.h"
#include "framework/core/StringList.h"

KIV_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
KIV_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
KIV_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
KIV_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

// ---- TLabel ---------------------------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl
{
    KIV_OBJECT(TCustomLabel, TGraphicControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    void SetAutoSize(bool Value) override;
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *Value);

protected:
    void Paint() override;
    // Draws the caption in R; with DT_CALCRECT only measures it into R.
    virtual void DoDrawText(TRect &R, UINT Flags);
    // DrawText flags of the label's settings.
    UINT DrawTextFlags() const;
    void AdjustBounds();
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void CMTextChanged(TMessage &Message);
    void CMFontChanged(TMessage &Message);
    void CMDialogChar(TMessage &Message);

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TWinControl *FFocusControl = nullptr;
};

class TLabel : public TCustomLabel
{
    KIV_OBJECT(TLabel, TCustomLabel)
};

// ---- TEdit, TMemo ---------------------------------------------------------------------------------------

class TCustomEdit : public TWinControl
{
    KIV_OBJECT(TCustomEdit, TWinControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool Modified();
    void SetModified(bool Value);
    void SelectAll();
    void Clear();
    void CutToClipboard() { Perform(WM_CUT); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void PasteFromClipboard() { Perform(WM_PASTE); }

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    virtual void Change();
    void CNCommand(TMessage &Message);

    TBorderStyle FBorderStyle = bsSingle;
    bool FReadOnly = false;
    int FMaxLength = 0;
    bool FHideSelection = true;
    bool FModified = false;
};

class TEdit : public TCustomEdit
{
    KIV_OBJECT(TEdit, TCustomEdit)
};

// The lines of a memo: kept by the memo, shown by its window.
class TMemoStrings;

class TCustomMemo : public TCustomEdit
{
    KIV_OBJECT(TCustomMemo, TCustomEdit)
public:
    void Construct(TComponent *AOwner) override;
    ~TCustomMemo() override;

    TStrings *Lines() const;
    void SetLines(TStrings *Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

protected:
    void CreateParams(TCreateParams &Params) override;
    void Dispatch(TMessage &Message) override;
    void WMGetDlgCode(TMessage &Message);

private:
    friend class TMemoStrings;
    TMemoStrings *FLines = nullptr;
    TAlignment FAlignment = taLeftJustify;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
    bool FWordWrap = true;
};

class TMemo : public TCustomMemo
{
    KIV_OBJECT(TMemo, TCustomMemo)
};

// ---- buttons ---------------------------------------------------------------------------------------------

class TButtonControl : public TWinControl
{
    KIV_OBJECT(TButtonControl, TWinControl)
public:
    void Construct(TComponent *AOwner) override;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

protected:
    // Set while the state is changed by code that must not raise OnClick.
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool Value) { FClicksDisabled = Value; }

private:
    bool FClicksDisabled = false;
    bool FWordWrap = false;
};

class TButton : public TButtonControl
{
    KIV_OBJECT(TButton, TButtonControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;
    // Hands ModalResult to the form, then OnClick.
    void Click() override;

    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }

protected:
    void CreateParams(TCreateParams &Params) override;
    void CNCommand(TMessage &Message);
    void CMDialogKey(TMessage &Message);
    void CMDialogChar(TMessage &Message);

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

class TCustomCheckBox : public TButtonControl
{
    KIV_OBJECT(TCustomCheckBox, TButtonControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TCheckBoxState State() const { return FState; }
    // Shows the state and raises OnClick, as a click would.
    void SetState(TCheckBoxState Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    // Unchecked, checked, then grayed when allowed.
    virtual void Toggle();
    void CNCommand(TMessage &Message);
    void CMDialogChar(TMessage &Message);

private:
    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox
{
    KIV_OBJECT(TCheckBox, TCustomCheckBox)
};

class TRadioButton : public TButtonControl
{
    KIV_OBJECT(TRadioButton, TButtonControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool Checked() const { return FChecked; }
    // Checking one unchecks the radio buttons beside it and raises OnClick.
    void SetChecked(bool Value);

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    void CNCommand(TMessage &Message);
    void CMDialogChar(TMessage &Message);

private:
    TAlignment FAlignment = taRightJustify;
    bool FChecked = false;
};

class TCustomGroupBox : public TWinControl
{
    KIV_OBJECT(TCustomGroupBox, TWinControl)
public:
    void Construct(TComponent *AOwner) override;

protected:
    void CreateParams(TCreateParams &Params) override;
    // Below the caption and inside the frame.
    void AdjustClientRect(TRect &Rect) override;
};

class TGroupBox : public TCustomGroupBox
{
    KIV_OBJECT(TGroupBox, TCustomGroupBox)
};

// The pixel height of a line of text in Font.
int FontLineHeight(TFont *Font);
