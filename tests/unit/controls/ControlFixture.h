#pragma once
// Small controls for the tests: a window that paints itself in one colour and records what reaches it, and
// a windowless shape; a shown form to put them on.

#include "framework/controls/Controls.h"
#include "framework/forms/Forms.h"

#include <QImage>
#include <gtest/gtest.h>

// A window painting its client area in PaintColor; records messages, clicks and mouse presses.
class TCtBox : public TCustomControl
{
    KIV_OBJECT(TCtBox, TCustomControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TColor PaintColor = clRed;
    LRESULT DlgCode = 0;
    QList<UINT> Seen;
    QList<LPARAM> FocusChangedTo;
    int Clicks = 0;
    int DblClicks = 0;
    int Downs = 0;
    int Paints = 0;
    int DialogKeys = 0;
    int Enters = 0;
    int Leaves = 0;
    int Accels = 0;
    int Count(UINT Msg) const { return int(Seen.count(Msg)); }

protected:
    void Paint() override;
    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// Windowless: fills its rectangle in PaintColor.
class TCtShape : public TGraphicControl
{
    KIV_OBJECT(TCtShape, TGraphicControl)
public:
    void Construct(TComponent *AOwner) override;
    void Dispatch(TMessage &Message) override;

    TColor PaintColor = clBlue;
    QList<UINT> Seen;
    int Clicks = 0;
    int Count(UINT Msg) const { return int(Seen.count(Msg)); }

protected:
    void Paint() override;
    void Click() override;
};

class FormTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // A box on Parent (the form when nullptr) at the given bounds.
    TCtBox *Box(int Left, int Top, int Width, int Height, TWinControl *Parent = nullptr);
    TCtShape *Shape(int Left, int Top, int Width, int Height, TWinControl *Parent = nullptr);
    void ShowForm();
    // The colour of a pixel of a window's client area, as 0x00BBGGRR.
    static COLORREF ClientPixel(HWND Wnd, int X, int Y);

    TForm *Form = nullptr;
};
