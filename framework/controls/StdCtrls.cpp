// The standard controls.
#include "framework/controls/StdCtrls.h"

#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"
#include "platform/StdClasses.h"

#include <QFontMetrics>

int FontLineHeight(TFont *Font)
{
    const HFONT F = Font->Handle();
    return F ? QFontMetrics(F->QtFont()).height() : 13;
}

// ---- TCustomLabel ---------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomLabel) {}

KIV_PUBLISHED(TLabel)
{
    Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
    Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
    Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
    Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
}

void TCustomLabel::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 17);
    FAutoSize = true;
    FColor = clBtnFace;
}

void TCustomLabel::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_FONTCHANGED: inherited::Dispatch(Message); CMFontChanged(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

UINT TCustomLabel::DrawTextFlags() const
{
    static const UINT AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT Flags = DT_EXPANDTABS | AlignFlags[FAlignment];
    if (FWordWrap)
        Flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    return Flags;
}

void TCustomLabel::DoDrawText(TRect &R, UINT Flags)
{
    QString Text = GetText();
    if ((Flags & DT_CALCRECT) && (Text.isEmpty() || (FShowAccelChar && Text == QStringLiteral("&"))))
        Text += u' ';
    Canvas()->SetFont(Font());
    const HDC DC = Canvas()->Handle();
    SetBkMode(DC, TRANSPARENT);
    if (!Enabled() && !(Flags & DT_CALCRECT)) {
        TRect Shifted = R;
        OffsetRect(&Shifted, 1, 1);
        SetTextColor(DC, ColorToRGB(clBtnHighlight));
        DrawText(DC, Text, -1, &Shifted, Flags);
        SetTextColor(DC, ColorToRGB(clBtnShadow));
    }
    DrawText(DC, Text, -1, &R, Flags);
}

void TCustomLabel::Paint()
{
    TRect R = ClientRect();
    if (!FTransparent) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->FillRect(R);
    }
    Canvas()->Brush()->SetStyle(bsClear);
    const UINT Flags = DrawTextFlags();
    if (FLayout != tlTop) {
        TRect Measured = R;
        DoDrawText(Measured, Flags | DT_CALCRECT);
        const int Gap = R.Height() - Measured.Height();
        OffsetRect(&R, 0, FLayout == tlBottom ? Gap : Gap / 2);
    }
    DoDrawText(R, Flags);
}

void TCustomLabel::AdjustBounds()
{
    if (ComponentState().Contains(csLoading) || !FAutoSize || !Parent())
        return;
    TRect R = ClientRect();
    DoDrawText(R, DrawTextFlags() | DT_CALCRECT);
    Canvas()->SetHandle(nullptr);
    int X = Left();
    if (FAlignment == taRightJustify)
        X += Width() - R.Width();
    else if (FAlignment == taCenter)
        X += (Width() - R.Width()) / 2;
    SetBounds(X, Top(), R.Width(), R.Height());
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (FLayout != Value) {
        FLayout = Value;
        Invalidate();
    }
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (FShowAccelChar != Value) {
        FShowAccelChar = Value;
        Invalidate();
    }
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (FTransparent != Value) {
        FTransparent = Value;
        Invalidate();
    }
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (FWordWrap != Value) {
        FWordWrap = Value;
        AdjustBounds();
        Invalidate();
    }
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (FAutoSize != Value) {
        FAutoSize = Value;
        AdjustBounds();
    }
}

void TCustomLabel::SetFocusControl(TWinControl *Value)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage &)
{
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage &)
{
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage &Message)
{
    TWMKey Key{Message};
    if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(Key.CharCode(), GetText()) &&
        FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
    }
}

// ---- TCustomEdit ----------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomEdit) {}

KIV_PUBLISHED(TEdit)
{
    Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
    Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(true);
    Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
    Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
    Property("TabStop", &TEdit::TabStop, &TEdit::SetTabStop).Default(true);
    Property("Text", &TEdit::Text, &TEdit::SetText);
    Property("OnChange", &TEdit::OnChange, &TEdit::OnChange);
}

void TCustomEdit::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 121, 21);
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
    Brush()->SetColor(clWindow);
}

void TCustomEdit::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomEdit::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    CreateSubClass(Params, QStringLiteral("EDIT"));
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    if (!FHideSelection)
        Params.Style |= ES_NOHIDESEL;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    inherited::CreateWnd();
    SendMessage(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
    SendMessage(FHandle, EM_SETMODIFY, FModified ? 1 : 0, 0);
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::CNCommand(TMessage &Message)
{
    if (HIWORD(Message.WParam) == EN_CHANGE)
        Change();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle != Value) {
        FBorderStyle = Value;
        RecreateWnd();
    }
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated())
        SendMessage(FHandle, EM_SETREADONLY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetMaxLength(int Value)
{
    FMaxLength = Value < 0 ? 0 : Value;
    if (HandleAllocated())
        SendMessage(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SetHideSelection(bool Value)
{
    if (FHideSelection != Value) {
        FHideSelection = Value;
        RecreateWnd();
    }
}

bool TCustomEdit::Modified()
{
    if (HandleAllocated())
        FModified = SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
    return FModified;
}

void TCustomEdit::SetModified(bool Value)
{
    FModified = Value;
    if (HandleAllocated())
        SendMessage(FHandle, EM_SETMODIFY, Value ? 1 : 0, 0);
}

void TCustomEdit::SelectAll()
{
    if (HandleAllocated())
        SendMessage(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::Clear()
{
    SetText(QString());
}

// ---- TCustomMemo ----------------------------------------------------------------------------------------

// Lines live in the memo's window when it has one (the user edits them there), else here.
class TMemoStrings : public TStrings
{
    KIV_OBJECT(TMemoStrings, TStrings)
public:
    TCustomMemo *Memo = nullptr;

    int Count() const override { return Lines().size(); }
    QString Strings(int Index) const override
    {
        const QStringList L = Lines();
        if (Index < 0 || Index >= L.size())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        return L[Index];
    }
    void SetStrings(int Index, const QString &S) override
    {
        QStringList L = Lines();
        if (Index < 0 || Index >= L.size())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        L[Index] = S;
        SetLines(L);
    }
    void Insert(int Index, const QString &S) override
    {
        QStringList L = Lines();
        if (Index < 0 || Index > L.size())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        L.insert(Index, S);
        SetLines(L);
    }
    void Delete(int Index) override
    {
        QStringList L = Lines();
        if (Index < 0 || Index >= L.size())
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
        L.removeAt(Index);
        SetLines(L);
    }
    void Clear() override { SetLines(QStringList()); }

private:
    // The text of a memo ends every line with CR LF; a last line without one is a line too.
    QStringList Lines() const
    {
        QString T = Memo->Text();
        T.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (T.isEmpty())
            return {};
        if (T.endsWith(u'\n'))
            T.chop(1);
        return T.split(u'\n');
    }
    void SetLines(const QStringList &L)
    {
        Memo->SetText(L.isEmpty() ? QString() : L.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }
};

KIV_PUBLISHED(TMemoStrings) {}

KIV_PUBLISHED(TCustomMemo) {}

KIV_PUBLISHED(TMemo)
{
    Property("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
    Property("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
    Property("BorderWidth", &TMemo::BorderWidth, &TMemo::SetBorderWidth).Default(0);
    Property("HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection).Default(true);
    Property("Lines", &TMemo::Lines, &TMemo::SetLines);
    Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
    Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
    Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
    Property("TabOrder", &TMemo::TabOrder, &TMemo::SetTabOrder);
    Property("TabStop", &TMemo::TabStop, &TMemo::SetTabStop).Default(true);
    Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
    Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
    Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
    Property("OnChange", &TMemo::OnChange, &TMemo::OnChange);
}

void TCustomMemo::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    SetBounds(0, 0, 185, 89);
    FControlStyle.Exclude(csFixedHeight);
    FLines = TMemoStrings::Create();
    FLines->Memo = this;
}

TCustomMemo::~TCustomMemo()
{
    FreeAndNil(FLines);
}

TStrings *TCustomMemo::Lines() const
{
    return FLines;
}

void TCustomMemo::SetLines(TStrings *Value)
{
    FLines->Assign(Value);
}

void TCustomMemo::CreateParams(TCreateParams &Params)
{
    static const DWORD ScrollBarStyles[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
    static const DWORD AlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    inherited::CreateParams(Params);
    Params.Style |= ES_MULTILINE | ScrollBarStyles[FScrollBars] | AlignStyles[FAlignment];
    if (FWantReturns)
        Params.Style |= ES_WANTRETURN;
    if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth)
        Params.Style &= ~ES_AUTOHSCROLL;
}

void TCustomMemo::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE: WMGetDlgCode(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomMemo::WMGetDlgCode(TMessage &Message)
{
    DefaultHandler(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FWantTabs)
        Message.Result |= DLGC_WANTTAB;
    else
        Message.Result &= ~DLGC_WANTTAB;
    if (!FWantReturns)
        Message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomMemo::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        RecreateWnd();
    }
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    if (FScrollBars != Value) {
        FScrollBars = Value;
        RecreateWnd();
    }
}

void TCustomMemo::SetWordWrap(bool Value)
{
    if (FWordWrap != Value) {
        FWordWrap = Value;
        RecreateWnd();
    }
}

// ---- TButtonControl, TButton ----------------------------------------------------------------------------

KIV_PUBLISHED(TButtonControl) {}

void TButtonControl::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FTabStop = true;
}

void TButtonControl::SetWordWrap(bool Value)
{
    if (FWordWrap != Value) {
        FWordWrap = Value;
        RecreateWnd();
    }
}

KIV_PUBLISHED(TButton)
{
    Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
    Property("TabOrder", &TButton::TabOrder, &TButton::SetTabOrder);
    Property("TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(true);
    Property("WordWrap", &TButton::WordWrap, &TButton::SetWordWrap).Default(false);
}

void TButton::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 75, 25);
}

void TButton::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TButton::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    CreateSubClass(Params, QStringLiteral("BUTTON"));
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (WordWrap())
        Params.Style |= BS_MULTILINE;
}

void TButton::Click()
{
    if (TCustomForm *Form = GetParentForm(this))
        Form->SetModalResult(FModalResult);
    inherited::Click();
}

void TButton::SetDefault(bool Value)
{
    if (FDefault != Value) {
        FDefault = Value;
        if (HandleAllocated())
            SendMessage(FHandle, BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
    }
}

void TButton::CNCommand(TMessage &Message)
{
    if (HIWORD(Message.WParam) == BN_CLICKED)
        Click();
}

// Enter presses the default button (or the focused one), Esc the cancel button.
void TButton::CMDialogKey(TMessage &Message)
{
    TWMKey Key{Message};
    const WORD Code = Key.CharCode();
    const bool Plain = (KeyDataToShiftState(Key.KeyData()) * TShiftState{ssShift, ssCtrl, ssAlt}).IsEmpty();
    const bool Hit = (Code == VK_RETURN && (FDefault || Focused())) || (Code == VK_ESCAPE && FCancel);
    if (Hit && Plain && CanFocus()) {
        Click();
        Message.Result = 1;
    } else {
        inherited::Dispatch(Message);
    }
}

void TButton::CMDialogChar(TMessage &Message)
{
    TWMKey Key{Message};
    if (IsAccel(Key.CharCode(), GetText()) && CanFocus()) {
        Click();
        Message.Result = 1;
    } else {
        inherited::Dispatch(Message);
    }
}

// ---- TCustomCheckBox ------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomCheckBox) {}

KIV_PUBLISHED(TCheckBox)
{
    Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
    Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
    Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
    Property("TabOrder", &TCheckBox::TabOrder, &TCheckBox::SetTabOrder);
    Property("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop).Default(true);
    Property("WordWrap", &TCheckBox::WordWrap, &TCheckBox::SetWordWrap).Default(false);
}

void TCustomCheckBox::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    CreateSubClass(Params, QStringLiteral("BUTTON"));
    // Not an automatic kind: the control decides the state and the window only shows it.
    Params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
    if (WordWrap())
        Params.Style |= BS_MULTILINE;
}

void TCustomCheckBox::CreateWnd()
{
    inherited::CreateWnd();
    SendMessage(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        RecreateWnd();
    }
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    if (HandleAllocated())
        SendMessage(FHandle, BM_SETCHECK, WPARAM(FState), 0);
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::CNCommand(TMessage &Message)
{
    if (HIWORD(Message.WParam) == BN_CLICKED)
        Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage &Message)
{
    TWMKey Key{Message};
    if (IsAccel(Key.CharCode(), GetText()) && CanFocus()) {
        SetFocus();
        if (Focused())
            Toggle();
        Message.Result = 1;
    } else {
        inherited::Dispatch(Message);
    }
}

// ---- TRadioButton ---------------------------------------------------------------------------------------

KIV_PUBLISHED(TRadioButton)
{
    Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    Property("TabOrder", &TRadioButton::TabOrder, &TRadioButton::SetTabOrder);
    Property("TabStop", &TRadioButton::TabStop, &TRadioButton::SetTabStop).Default(false);
    Property("WordWrap", &TRadioButton::WordWrap, &TRadioButton::SetWordWrap).Default(false);
}

void TRadioButton::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 113, 17);
    FTabStop = false;
}

void TRadioButton::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CM_DIALOGCHAR: CMDialogChar(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TRadioButton::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    CreateSubClass(Params, QStringLiteral("BUTTON"));
    Params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
    if (WordWrap())
        Params.Style |= BS_MULTILINE;
}

void TRadioButton::CreateWnd()
{
    inherited::CreateWnd();
    SendMessage(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        RecreateWnd();
    }
}

void TRadioButton::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    SetTabStop(Value);
    if (HandleAllocated())
        SendMessage(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value)
        return;
    if (TWinControl *P = Parent()) {
        for (int I = 0; I < P->ControlCount(); ++I) {
            TControl *Sibling = P->Controls(I);
            if (Sibling != this && Sibling->Is<TRadioButton>())
                static_cast<TRadioButton *>(Sibling)->SetChecked(false);
        }
    }
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading))
        Click();
}

void TRadioButton::CNCommand(TMessage &Message)
{
    switch (HIWORD(Message.WParam)) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
    }
}

void TRadioButton::CMDialogChar(TMessage &Message)
{
    TWMKey Key{Message};
    if (IsAccel(Key.CharCode(), GetText()) && CanFocus()) {
        SetFocus();
        Message.Result = 1;
    } else {
        inherited::Dispatch(Message);
    }
}

// ---- TCustomGroupBox ------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomGroupBox) {}

KIV_PUBLISHED(TGroupBox)
{
    Property("TabOrder", &TGroupBox::TabOrder, &TGroupBox::SetTabOrder);
    Property("TabStop", &TGroupBox::TabStop, &TGroupBox::SetTabStop).Default(false);
}

void TCustomGroupBox::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                  csReplicatable};
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    CreateSubClass(Params, QStringLiteral("BUTTON"));
    Params.Style |= BS_GROUPBOX;
}

void TCustomGroupBox::AdjustClientRect(TRect &Rect)
{
    inherited::AdjustClientRect(Rect);
    Rect.Top += FontLineHeight(Font());
    InflateRect(&Rect, -2, -2);
}
