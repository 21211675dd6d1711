// Panels, the radio group and the timer.
#include "framework/controls/ExtCtrls.h"

#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"

void Frame3D(TCanvas *Canvas, TRect &Rect, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->Pen()->SetWidth(1);
    --Rect.Bottom;
    --Rect.Right;
    for (int I = 0; I < Width; ++I) {
        Canvas->Pen()->SetColor(TopColor);
        Canvas->MoveTo(Rect.Left, Rect.Bottom);
        Canvas->LineTo(Rect.Left, Rect.Top);
        Canvas->LineTo(Rect.Right, Rect.Top);
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->LineTo(Rect.Right, Rect.Bottom);
        Canvas->LineTo(Rect.Left - 1, Rect.Bottom);
        InflateRect(&Rect, -1, -1);
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

// ---- TCustomPanel ---------------------------------------------------------------------------------------

KIV_PUBLISHED(TCustomPanel) {}

KIV_PUBLISHED(TPanel)
{
    Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    Property("AutoSize", &TPanel::AutoSize, &TPanel::SetAutoSize).Default(false);
    Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
    Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    Property("FullRepaint", &TPanel::FullRepaint, &TPanel::SetFullRepaint).Default(true);
    Property("TabOrder", &TPanel::TabOrder, &TPanel::SetTabOrder);
    Property("TabStop", &TPanel::TabStop, &TPanel::SetTabStop).Default(false);
}

void TCustomPanel::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 41);
    FColor = clBtnFace;
    FParentColor = false;
    Brush()->SetColor(clBtnFace);
}

void TCustomPanel::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomPanel::CreateParams(TCreateParams &Params)
{
    inherited::CreateParams(Params);
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::Paint()
{
    static const UINT AlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TRect Rect = ClientRect();
    auto BevelColors = [](TBevelCut Cut, TColor &Top, TColor &Bottom) {
        Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
        Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TColor Top = clBtnHighlight;
    TColor Bottom = clBtnShadow;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, Top, Bottom);
        Frame3D(Canvas(), Rect, Top, Bottom, FBevelWidth);
    }
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, Top, Bottom);
        Frame3D(Canvas(), Rect, Top, Bottom, FBevelWidth);
    }
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->FillRect(Rect);
    const QString Text = Caption();
    if (Text.isEmpty())
        return;
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->SetFont(Font());
    const HDC DC = Canvas()->Handle();
    SetBkMode(DC, TRANSPARENT);
    DrawText(DC, Text, -1, &Rect, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | AlignFlags[FAlignment]);
}

void TCustomPanel::AdjustClientRect(TRect &Rect)
{
    inherited::AdjustClientRect(Rect);
    int Bevel = 0;
    if (FBevelOuter != bvNone)
        Bevel += FBevelWidth;
    if (FBevelInner != bvNone)
        Bevel += FBevelWidth;
    InflateRect(&Rect, -Bevel, -Bevel);
}

void TCustomPanel::CMTextChanged(TMessage &)
{
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    if (FBevelInner != Value) {
        FBevelInner = Value;
        Realign();
        Invalidate();
    }
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    if (FBevelOuter != Value) {
        FBevelOuter = Value;
        Realign();
        Invalidate();
    }
}

void TCustomPanel::SetBevelWidth(int Value)
{
    if (Value < 1)
        Value = 1;
    if (FBevelWidth != Value) {
        FBevelWidth = Value;
        Realign();
        Invalidate();
    }
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle != Value) {
        FBorderStyle = Value;
        RecreateWnd();
    }
}

// ---- TCustomRadioGroup ----------------------------------------------------------------------------------

// A radio button of a group: its clicks go to the group, and the arrows and accelerators it does not
// take are the group's.
class TGroupButton : public TRadioButton
{
    KIV_OBJECT(TGroupButton, TRadioButton)
public:
    TCustomRadioGroup *Group = nullptr;

    void Click() override
    {
        if (FInClick)
            return;
        FInClick = true;
        try {
            if (Group->CanModify())
                inherited::Click();
        } catch (...) {
            FInClick = false;
            throw;
        }
        FInClick = false;
    }

private:
    bool FInClick = false;
};

KIV_PUBLISHED(TGroupButton) {}

KIV_PUBLISHED(TCustomRadioGroup) {}

KIV_PUBLISHED(TRadioGroup)
{
    Property("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
    Property("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
    Property("Items", &TRadioGroup::Items, &TRadioGroup::SetItems);
    Property("TabOrder", &TRadioGroup::TabOrder, &TRadioGroup::SetTabOrder);
    Property("TabStop", &TRadioGroup::TabStop, &TRadioGroup::SetTabStop).Default(false);
}

void TCustomRadioGroup::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csClickEvents};
    FItems = TStringList::Create();
    FItems->OnChange = [this](TObject *Sender) { ItemsChanged(Sender); };
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    FreeAndNil(FItems);
}

void TCustomRadioGroup::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_SIZE: inherited::Dispatch(Message); WMSize(Message); break;
    case CM_FONTCHANGED: inherited::Dispatch(Message); CMFontChanged(Message); break;
    case CM_ENABLEDCHANGED: inherited::Dispatch(Message); CMEnabledChanged(Message); break;
    default: inherited::Dispatch(Message); break;
    }
}

void TCustomRadioGroup::GetChildren(TGetChildProc, TComponent *) {}

TRadioButton *TCustomRadioGroup::Buttons(int Index) const
{
    return Index >= 0 && Index < FButtons.size() ? FButtons[Index] : nullptr;
}

void TCustomRadioGroup::Loaded()
{
    inherited::Loaded();
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.isEmpty() || ComponentState().Contains(csLoading))
        return;
    const int TextHeight = FontLineHeight(Font());
    const int ButtonsPerCol = (int(FButtons.size()) + FColumns - 1) / FColumns;
    const int ButtonWidth = (Width() - 10) / FColumns;
    const int Room = Height() - TextHeight - 5;
    const int ButtonHeight = Room / ButtonsPerCol;
    const int TopMargin = TextHeight + 1 + (Room % ButtonsPerCol) / 2;
    for (int I = 0; I < FButtons.size(); ++I) {
        TGroupButton *Button = FButtons[I];
        Button->SetBounds((I / ButtonsPerCol) * ButtonWidth + 8, (I % ButtonsPerCol) * ButtonHeight + TopMargin,
                          ButtonWidth, ButtonHeight);
        Button->SetVisible(true);
    }
}

void TCustomRadioGroup::ButtonClick(TObject *Sender)
{
    if (FUpdating)
        return;
    FItemIndex = int(FButtons.indexOf(static_cast<TGroupButton *>(Sender)));
    Click();
}

void TCustomRadioGroup::ItemsChanged(TObject *)
{
    if (FReading)
        return;
    if (FItemIndex >= FItems->Count())
        FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::SetButtonCount(int Value)
{
    while (FButtons.size() < Value) {
        TGroupButton *Button = TGroupButton::Create(this);
        Button->Group = this;
        Button->SetParent(this);
        Button->OnClick = [this](TObject *Sender) { ButtonClick(Sender); };
        FButtons.append(Button);
    }
    while (FButtons.size() > Value)
        FButtons.takeLast()->Free();
}

void TCustomRadioGroup::UpdateButtons()
{
    SetButtonCount(FItems->Count());
    FUpdating = true;
    for (int I = 0; I < FButtons.size(); ++I) {
        FButtons[I]->SetCaption(FItems->Strings(I));
        FButtons[I]->SetEnabled(Enabled());
        FButtons[I]->SetChecked(I == FItemIndex);
    }
    FUpdating = false;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::SetItemIndex(int Value)
{
    if (ComponentState().Contains(csLoading)) {
        FItemIndex = Value;
        return;
    }
    if (Value < -1)
        Value = -1;
    if (Value >= FButtons.size())
        Value = int(FButtons.size()) - 1;
    if (FItemIndex == Value)
        return;
    if (FItemIndex >= 0 && FItemIndex < FButtons.size())
        FButtons[FItemIndex]->SetChecked(false);
    FItemIndex = Value;
    if (FItemIndex >= 0)
        FButtons[FItemIndex]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int Value)
{
    Value = Value < 1 ? 1 : (Value > 16 ? 16 : Value);
    if (FColumns != Value) {
        FColumns = Value;
        ArrangeButtons();
        Invalidate();
    }
}

void TCustomRadioGroup::WMSize(TMessage &)
{
    ArrangeButtons();
}

void TCustomRadioGroup::CMFontChanged(TMessage &)
{
    ArrangeButtons();
}

void TCustomRadioGroup::CMEnabledChanged(TMessage &)
{
    for (TGroupButton *Button : FButtons)
        Button->SetEnabled(Enabled());
}

// ---- TTimer ---------------------------------------------------------------------------------------------

KIV_PUBLISHED(TTimer)
{
    Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000u);
    Property("OnTimer", &TTimer::OnTimer, &TTimer::OnTimer);
}

void TTimer::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FWindowHandle = AllocateHWnd([this](TMessage &Message) { WndProc(Message); });
    UpdateTimer();
}

TTimer::~TTimer()
{
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
}

// Nothing of the timer is touched after OnTimer: the handler may free it.
void TTimer::WndProc(TMessage &Message)
{
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
}

void TTimer::UpdateTimer()
{
    KillTimer(FWindowHandle, 1);
    if (FEnabled && FInterval != 0 && !ComponentState().Contains(csLoading))
        SetTimer(FWindowHandle, 1, FInterval, nullptr);
}

void TTimer::Loaded()
{
    inherited::Loaded();
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled != Value) {
        FEnabled = Value;
        UpdateTimer();
    }
}

void TTimer::SetInterval(unsigned Value)
{
    if (FInterval != Value) {
        FInterval = Value;
        UpdateTimer();
    }
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}
