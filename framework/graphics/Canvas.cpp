#include "framework/graphics/Canvas.h"

#include "framework/graphics/Graphic.h"

#include <vector>

KIV_PUBLISHED(TCanvas) {}

void TCanvas::Construct()
{
    inherited::Construct();
    FFont = TFont::Create();
    FPen = TPen::Create();
    FBrush = TBrush::Create();
    auto Notify = [this](TObject *Sender) { ObjectChanged(Sender); };
    FFont->OnChange = Notify;
    FPen->OnChange = Notify;
    FBrush->OnChange = Notify;
}

TCanvas::~TCanvas()
{
    SetHandleValue(nullptr);
    FreeAndNil(FFont);
    FreeAndNil(FPen);
    FreeAndNil(FBrush);
}

HDC TCanvas::Handle()
{
    RequireFont();
    RequirePen();
    RequireBrush();
    return FHandle;
}

void TCanvas::RequireHandle()
{
    if (!FHandle)
        CreateHandle();
}

void TCanvas::SetHandle(HDC Value)
{
    SetHandleValue(Value);
}

void TCanvas::SetHandleValue(HDC Value)
{
    if (Value == FHandle)
        return;
    if (FHandle) {
        // Leave the DC with stock objects, as it was before this canvas drew on it.
        SelectObject(FHandle, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        SelectObject(FHandle, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SelectObject(FHandle, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    FHandle = Value;
    FFontValid = FPenValid = FBrushValid = false;
    if (FHandle)
        MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
}

void TCanvas::ObjectChanged(TObject *Sender)
{
    if (Sender == FFont)
        FFontValid = false;
    else if (Sender == FPen)
        FPenValid = false;
    else if (Sender == FBrush)
        FBrushValid = false;
}

void TCanvas::RequireFont()
{
    RequireHandle();
    if (FFontValid || !FHandle)
        return;
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    FFontValid = true;
}

void TCanvas::RequirePen()
{
    RequireHandle();
    if (FPenValid || !FHandle)
        return;
    SelectObject(FHandle, FPen->Handle());
    FPenValid = true;
}

// The brush also decides how text and pen gaps are backed: opaque in the brush colour, or not at all.
void TCanvas::RequireBrush()
{
    RequireHandle();
    if (FBrushValid || !FHandle)
        return;
    SelectObject(FHandle, FBrush->Handle());
    if (FBrush->Style() == bsClear)
        SetBkMode(FHandle, TRANSPARENT);
    else {
        SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
        SetBkMode(FHandle, OPAQUE);
    }
    FBrushValid = true;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TRect TCanvas::ClipRect()
{
    TRect R;
    GetClipBox(Handle(), &R);
    return R;
}

void TCanvas::FillRect(const TRect &R)
{
    Changing();
    RequireBrush();
    ::FillRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect &R)
{
    Changing();
    RequireBrush();
    ::FrameRect(FHandle, &R, FBrush->Handle());
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequirePen();
    RequireBrush();
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = Point(X, Y);
    RequireHandle();
    if (FHandle)
        MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequirePen();
    RequireBrush();
    MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
    ::LineTo(FHandle, X, Y);
    FPenPos = Point(X, Y);
    Changed();
}

void TCanvas::Polygon(const QList<TPoint> &Points)
{
    Changing();
    RequirePen();
    RequireBrush();
    ::Polygon(FHandle, Points.constData(), int(Points.size()));
    Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequirePen();
    RequireBrush();
    ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect &R)
{
    Changing();
    RequireHandle();
    if (FHandle)
        ::DrawFocusRect(FHandle, &R);
    Changed();
}

void TCanvas::TextOut(int X, int Y, const QString &Text)
{
    Changing();
    RequireFont();
    RequireBrush();
    ::TextOut(FHandle, X, Y, Text);
    MoveTo(X + TextWidth(Text), Y);
    Changed();
}

void TCanvas::TextRect(const TRect &R, int X, int Y, const QString &Text)
{
    Changing();
    RequireFont();
    RequireBrush();
    const int Saved = SaveDC(FHandle);
    IntersectClipRect(FHandle, R.Left, R.Top, R.Right, R.Bottom);
    if (FBrush->Style() != bsClear)
        ::FillRect(FHandle, &R, FBrush->Handle());
    const int Mode = SetBkMode(FHandle, TRANSPARENT);
    ::TextOut(FHandle, X, Y, Text);
    SetBkMode(FHandle, Mode);
    RestoreDC(FHandle, Saved);
    Changed();
}

TSize TCanvas::TextExtent(const QString &Text)
{
    TSize S;
    RequireFont();
    GetTextExtentPoint32(Handle(), Text, &S);
    return S;
}

void TCanvas::Draw(int X, int Y, TGraphic *Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Changing();
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect &R, TGraphic *Graphic)
{
    if (!Graphic || Graphic->Empty())
        return;
    Changing();
    Graphic->Draw(this, R);
    Changed();
}

void TCanvas::CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source)
{
    if (!Canvas)
        return;
    Changing();
    RequireBrush();
    StretchBlt(Handle(), Dest.Left, Dest.Top, Dest.Right - Dest.Left, Dest.Bottom - Dest.Top, Canvas->Handle(),
               Source.Left, Source.Top, Source.Right - Source.Left, Source.Bottom - Source.Top, FCopyMode);
    Changed();
}

TColor TCanvas::Pixels(int X, int Y)
{
    return TColor(GetPixel(Handle(), X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    Changing();
    SetPixel(Handle(), X, Y, ColorToRGB(Value));
    Changed();
}
