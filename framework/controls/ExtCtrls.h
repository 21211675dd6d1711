#pragma once
// Panels with bevels, the radio group, and the message timer.

#include "framework/controls/StdCtrls.h"

KIV_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

// Draws a frame of Width pixels inside Rect (top-left edges in TopColor, bottom-right in BottomColor) and
// shrinks Rect by it.
void Frame3D(TCanvas *Canvas, TRect &Rect, TColor TopColor, TColor BottomColor, int Width);

class TCustomPanel : public TCustomControl
{
    KIV_OBJECT(TCustomPanel, TCustomControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool Value) { FFullRepaint = Value; }

protected:
    void CreateParams(TCreateParams &Params) override;
    // Colour fill, the bevels, then the caption centred on one line.
    void Paint() override;
    // Inside the bevels.
    void AdjustClientRect(TRect &Rect) override;
    void CMTextChanged(TMessage &Message);

private:
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    TBorderStyle FBorderStyle = bsNone;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel
{
    KIV_OBJECT(TPanel, TCustomPanel)
};

class TGroupButton;

// A group box of radio buttons made from Items; ItemIndex is the checked one (-1: none).
class TCustomRadioGroup : public TCustomGroupBox
{
    KIV_OBJECT(TCustomRadioGroup, TCustomGroupBox)
public:
    void Construct(TComponent *AOwner) override;
    ~TCustomRadioGroup() override;
    void Dispatch(TMessage &Message) override;
    void Loaded() override;
    // The buttons are the group's own; they are not written to layouts.
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;

    TStrings *Items() const { return FItems; }
    void SetItems(TStrings *Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    int ButtonCount() const { return int(FButtons.size()); }
    TRadioButton *Buttons(int Index) const;

protected:
    virtual bool CanModify() { return true; }
    void ArrangeButtons();
    void ItemsChanged(TObject *Sender);
    void ButtonClick(TObject *Sender);
    void UpdateButtons();
    void SetButtonCount(int Value);
    void WMSize(TMessage &Message);
    void CMFontChanged(TMessage &Message);
    void CMEnabledChanged(TMessage &Message);

private:
    friend class TGroupButton;
    TStringList *FItems = nullptr;
    QList<TGroupButton *> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup
{
    KIV_OBJECT(TRadioGroup, TCustomRadioGroup)
};

// Raises OnTimer every Interval milliseconds while Enabled. The ticks are queued messages of a hidden
// window, so a long handler delays the next one and a handler may free its own timer.
class TTimer : public TComponent
{
    KIV_OBJECT(TTimer, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void UpdateTimer();
    void Loaded() override;

private:
    void WndProc(TMessage &Message);
    HWND FWindowHandle = nullptr;
    unsigned FInterval = 1000;
    bool FEnabled = true;
};
