#include "framework/graphics/GraphicsObjects.h"

#include "framework/graphics/Bitmap.h"

#include <cmath>
#include <utility>

int MulDiv(int A, int B, int C)
{
    if (C == 0)
        return -1;
    return int(std::llround(double((long long)A * B) / C));
}

// ---- TGraphicsObject ----------------------------------------------------------------------------------

KIV_PUBLISHED(TGraphicsObject) {}

TGraphicsObject::~TGraphicsObject()
{
    FreeHandle();
}

void TGraphicsObject::Changed()
{
    FreeHandle();
    if (OnChange)
        OnChange(this);
}

void TGraphicsObject::FreeHandle()
{
    if (FHandle)
        DeleteObject(std::exchange(FHandle, nullptr));
}

// ---- TFont --------------------------------------------------------------------------------------------

KIV_PUBLISHED(TFont)
{
    Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(int(DEFAULT_CHARSET)).Idents(&CharsetIdents());
    Property("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText).Idents(&ColorIdents());
    Property("Height", &TFont::Height, &TFont::SetHeight);
    Property("Name", &TFont::Name, &TFont::SetName);
    Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    Property("Size", &TFont::Size, &TFont::SetSize).Stored(&TFont::IsSizeStored);
    Property("Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles());
}

void TFont::Assign(TPersistent *Source)
{
    if (auto *F = dynamic_cast<TFont *>(Source)) {
        FName = F->FName;
        FHeight = F->FHeight;
        FStyle = F->FStyle;
        FColor = F->FColor;
        FCharset = F->FCharset;
        FPitch = F->FPitch;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TFont::SetName(const QString &Value)
{
    if (Value.isEmpty() || Value == FName)
        return;
    FName = Value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, PixelsPerInch, 72));
}

void TFont::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (Value == FCharset)
        return;
    FCharset = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (Value == FPitch)
        return;
    FPitch = Value;
    Changed();
}

LOGFONT TFont::LogFont() const
{
    LOGFONT L;
    L.lfHeight = FHeight;
    L.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    L.lfItalic = FStyle.Contains(fsItalic);
    L.lfUnderline = FStyle.Contains(fsUnderline);
    L.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    L.lfCharSet = BYTE(FCharset);
    L.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    L.lfFaceName = FName;
    return L;
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        const LOGFONT L = LogFont();
        FHandle = CreateFontIndirect(&L);
    }
    return static_cast<HFONT>(FHandle);
}

void TFont::SetHandle(HFONT Font)
{
    LOGFONT L;
    if (!Font || GetObject(Font, sizeof(LOGFONT), &L) == 0)
        return;
    if (!L.lfFaceName.isEmpty())
        FName = L.lfFaceName;
    FHeight = L.lfHeight;
    FStyle = TFontStyles();
    if (L.lfWeight >= FW_BOLD)
        FStyle.Include(fsBold);
    if (L.lfItalic)
        FStyle.Include(fsItalic);
    if (L.lfUnderline)
        FStyle.Include(fsUnderline);
    if (L.lfStrikeOut)
        FStyle.Include(fsStrikeOut);
    FCharset = L.lfCharSet;
    const int Pitch = L.lfPitchAndFamily & 3;
    FPitch = Pitch == FIXED_PITCH ? fpFixed : Pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Changed();
    FHandle = Font;
}

// ---- TPen ---------------------------------------------------------------------------------------------

KIV_PUBLISHED(TPen)
{
    Property("Color", &TPen::Color, &TPen::SetColor).Default(clBlack).Idents(&ColorIdents());
    Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent *Source)
{
    if (auto *P = dynamic_cast<TPen *>(Source)) {
        FColor = P->FColor;
        FStyle = P->FStyle;
        FWidth = P->FWidth;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value < 1 || Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

HPEN TPen::Handle()
{
    if (!FHandle) {
        static const UINT Styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle = CreatePen(Styles[FStyle], FWidth, ColorToRGB(FColor));
    }
    return static_cast<HPEN>(FHandle);
}

// ---- TBrush -------------------------------------------------------------------------------------------

KIV_PUBLISHED(TBrush)
{
    Property("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite).Idents(&ColorIdents());
    Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Assign(TPersistent *Source)
{
    if (auto *B = dynamic_cast<TBrush *>(Source)) {
        FColor = B->FColor;
        FStyle = B->FStyle;
        FBitmap = B->FBitmap;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor && FStyle != bsClear)
        return;
    FColor = Value;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed();
}

void TBrush::SetBitmap(TBitmap *Value)
{
    FBitmap = Value;
    Changed();
}

HBRUSH TBrush::Handle()
{
    if (!FHandle) {
        if (FBitmap && !FBitmap->Empty())
            FHandle = CreatePatternBrush(FBitmap->Image());
        else if (FStyle == bsClear)
            FHandle = GetStockObject(NULL_BRUSH);
        else
            FHandle = CreateSolidBrush(ColorToRGB(FColor));
    }
    return static_cast<HBRUSH>(FHandle);
}
