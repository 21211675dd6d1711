#pragma once
// TBitmap: a picture of 32-bit pixels (a QImage) that loads Windows bitmap files at 1, 2, 4, 8, 16, 24 and
// 32 bits per pixel, saves them at all those depths but 2, and has a canvas drawing straight into its pixels.

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Graphic.h"

#include <QImage>
#include <QList>

KIV_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
KIV_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmap;

class TBitmapCanvas : public TCanvas
{
    KIV_OBJECT(TBitmapCanvas, TCanvas)
public:
    void Construct(TBitmap *ABitmap);
    ~TBitmapCanvas() override;

protected:
    void CreateHandle() override;

private:
    TBitmap *FBitmap = nullptr;
};

class TBitmap : public TGraphic
{
    KIV_OBJECT(TBitmap, TGraphic)
public:
    ~TBitmap() override;

    // A bitmap, a picture holding a bitmap, or nullptr (empties); anything else raises EConvertError.
    void Assign(TPersistent *Source) override;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // Resizing keeps the top-left pixels; new pixels are white.
    void SetWidth(int Value) override { SetSize(Value, FHeight); }
    void SetHeight(int Value) override { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }

    TCanvas *Canvas();

    // How SaveToStream stores the pixels (pfDevice and pfCustom: 24 bits); setting it does not touch them.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);

    // Until set, the colour of the bottom-left pixel (tmAuto); setting it fixes it (clDefault goes back).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    // A Windows bitmap file from the stream's position. A malformed file raises EInvalidGraphic (or
    // EReadError when the stream ends early) and leaves the bitmap as it was.
    void LoadFromStream(TStream *Stream) override;
    void SaveToStream(TStream *Stream) override;
    // The bitmap resource Name (":/kiv/bitmaps/NAME.bmp"); raises EResNotFound.
    void LoadFromResourceName(HINSTANCE Instance, const QString &Name);

    // The pixels, always QImage::Format_RGB32 (null while empty).
    const QImage &Image() const { return FImage; }
    void SetImage(const QImage &Value);
    // The palette of the file last loaded, reused when saving at that depth.
    QList<QRgb> Palette() const { return FPalette; }

protected:
    void Draw(TCanvas *ACanvas, const TRect &Rect) override;
    void ReadData(TStream *Stream) override;
    void WriteData(TStream *Stream) override;

private:
    friend class TBitmapCanvas;
    void CanvasChanged(TObject *Sender);
    // Takes the pixels, depth and palette of a whole bitmap file; the bitmap is unchanged when it raises.
    void LoadFromFileBytes(const QByteArray &File);

    QImage FImage;
    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    QList<QRgb> FPalette;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
    TBitmapCanvas *FCanvas = nullptr;
};

// Windows bitmap files (BitmapFile.cpp).
struct TBitmapFileImage
{
    QImage Image;               // Format_RGB32
    TPixelFormat PixelFormat = pf24bit;
    QList<QRgb> Palette;        // 1, 2, 4 and 8 bits per pixel
};
// Raises EInvalidGraphic for a malformed or unsupported file.
TBitmapFileImage ReadBitmapFile(const QByteArray &File);
QByteArray WriteBitmapFile(const QImage &Image, TPixelFormat Format, const QList<QRgb> &Palette);
