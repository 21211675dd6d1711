#pragma once
// TFont, TPen and TBrush: the drawing attributes of a canvas. Each makes its GDI object on demand
// (Handle) and drops it when a property changes; OnChange tells the owner (a canvas, a control).

#include "framework/core/Classes.h"
#include "framework/graphics/Colors.h"

class TBitmap;

KIV_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
KIV_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
KIV_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
KIV_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

// Screen resolution of the point/pixel conversions of fonts.
constexpr int PixelsPerInch = 96;

// A * B / C rounded half away from zero.
int MulDiv(int A, int B, int C);

class TGraphicsObject : public TPersistent
{
    KIV_OBJECT(TGraphicsObject, TPersistent)
public:
    ~TGraphicsObject() override;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    // The cached GDI object is out of date.
    void FreeHandle();
    HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject
{
    KIV_OBJECT(TFont, TGraphicsObject)
public:
    void Assign(TPersistent *Source) override;

    QString Name() const { return FName; }
    void SetName(const QString &Value);
    // Points; Height is the negative pixel height at PixelsPerInch.
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);

    HFONT Handle();
    // Takes over Font (it is freed with this font's next change) and reads its attributes back.
    void SetHandle(HFONT Font);
    LOGFONT LogFont() const;

private:
    bool IsSizeStored() const { return false; }
    friend struct TFont_Published;
    QString FName = QStringLiteral("MS Sans Serif");
    int FHeight = -11;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
};

class TPen : public TGraphicsObject
{
    KIV_OBJECT(TPen, TGraphicsObject)
public:
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);

    HPEN Handle();

private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

// Hatched styles paint as solid; Bitmap (not owned) makes a tiled pattern brush.
class TBrush : public TGraphicsObject
{
    KIV_OBJECT(TBrush, TGraphicsObject)
public:
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    TBitmap *Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap *Value);

    HBRUSH Handle();

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap *FBitmap = nullptr;
};
