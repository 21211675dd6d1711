#pragma once
// TCanvas: drawing with a font, a pen and a brush on a device context. The handle may be a foreign DC
// (a window's, a paint's); a bitmap's canvas makes a DC over the bitmap's pixels.

#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/Types.h"

#include <QList>

class TGraphic;

class TCanvas : public TPersistent
{
    KIV_OBJECT(TCanvas, TPersistent)
public:
    void Construct();
    ~TCanvas() override;

    // The DC with this canvas's font, pen and brush selected, ready for direct GDI calls such as DrawText.
    HDC Handle();
    // A foreign DC: the canvas draws on it but never deletes it; nullptr detaches.
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont *Font() const { return FFont; }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TPen *Pen() const { return FPen; }
    void SetPen(TPen *Value) { FPen->Assign(Value); }
    TBrush *Brush() const { return FBrush; }
    void SetBrush(TBrush *Value) { FBrush->Assign(Value); }
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD Value) { FCopyMode = Value; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
    TRect ClipRect();

    void FillRect(const TRect &R);
    void FrameRect(const TRect &R);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect &R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polygon(const QList<TPoint> &Points);
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void DrawFocusRect(const TRect &R);

    void TextOut(int X, int Y, const QString &Text);
    // Text at (X, Y) clipped to R, over R filled with the brush unless it is clear.
    void TextRect(const TRect &R, int X, int Y, const QString &Text);
    TSize TextExtent(const QString &Text);
    int TextWidth(const QString &Text) { return TextExtent(Text).cx; }
    int TextHeight(const QString &Text) { return TextExtent(Text).cy; }

    // The graphic at its own size; transparent bitmaps leave out their transparent colour.
    void Draw(int X, int Y, TGraphic *Graphic);
    // The graphic stretched over R; a rectangle given right-to-left or bottom-up mirrors it.
    void StretchDraw(const TRect &R, TGraphic *Graphic);
    // Source's rectangle into Dest with CopyMode, stretching when the sizes differ.
    void CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source);

    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() {}
    // Called with the new handle (nullptr when it goes away).
    void SetHandleValue(HDC Value);
    HDC HandleValue() const { return FHandle; }
    void Changing();
    void Changed();

private:
    void RequireHandle();
    void RequireFont();
    void RequirePen();
    void RequireBrush();
    void ObjectChanged(TObject *Sender);

    HDC FHandle = nullptr;
    TFont *FFont = nullptr;
    TPen *FPen = nullptr;
    TBrush *FBrush = nullptr;
    TPoint FPenPos;
    DWORD FCopyMode = SRCCOPY;
    bool FFontValid = false;
    bool FPenValid = false;
    bool FBrushValid = false;
};
