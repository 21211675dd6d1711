#include "framework/graphics/Bitmap.h"

#include "framework/core/Streams.h"

#include <QtEndian>
#include <cstring>

// ---- TBitmapCanvas ------------------------------------------------------------------------------------

KIV_PUBLISHED(TBitmapCanvas) {}

void TBitmapCanvas::Construct(TBitmap *ABitmap)
{
    inherited::Construct();
    FBitmap = ABitmap;
}

TBitmapCanvas::~TBitmapCanvas()
{
    HDC DC = HandleValue();
    SetHandleValue(nullptr);
    DeleteDC(DC);
}

void TBitmapCanvas::CreateHandle()
{
    SetHandleValue(CreateImageDC(&FBitmap->FImage));
}

// ---- TBitmap ------------------------------------------------------------------------------------------

KIV_PUBLISHED(TBitmap) {}

TBitmap::~TBitmap()
{
    FreeAndNil(FCanvas);
}

void TBitmap::Assign(TPersistent *Source)
{
    if (!Source) {
        SetImage(QImage());
        return;
    }
    if (auto *B = dynamic_cast<TBitmap *>(Source)) {
        if (B == this)
            return;
        FImage = B->FImage;
        FWidth = B->FWidth;
        FHeight = B->FHeight;
        FPixelFormat = B->FPixelFormat;
        FPalette = B->FPalette;
        FTransparentColor = B->FTransparentColor;
        FTransparentMode = B->FTransparentMode;
        TGraphic::SetTransparent(B->Transparent());
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    QImage Resized;
    if (AWidth > 0 && AHeight > 0) {
        Resized = QImage(AWidth, AHeight, QImage::Format_RGB32);
        if (Resized.isNull())
            throw EOutOfMemory(QStringLiteral("Out of memory for a %1 x %2 bitmap").arg(AWidth).arg(AHeight));
        Resized.fill(0xFFFFFFFFu);
        const int W = std::min(AWidth, int(FImage.width())), H = std::min(AHeight, int(FImage.height()));
        for (int Y = 0; Y < H; ++Y)
            std::memcpy(Resized.scanLine(Y), FImage.constScanLine(Y), size_t(W) * 4);
    }
    FImage = Resized;
    FWidth = AWidth;
    FHeight = AHeight;
    Changed();
}

void TBitmap::SetImage(const QImage &Value)
{
    FImage = Value.isNull() ? QImage() : Value.convertToFormat(QImage::Format_RGB32);
    FWidth = FImage.width();
    FHeight = FImage.height();
    Changed();
}

TCanvas *TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = TBitmapCanvas::Create(this);
        FCanvas->OnChange = [this](TObject *Sender) { CanvasChanged(Sender); };
    }
    return FCanvas;
}

void TBitmap::CanvasChanged(TObject *)
{
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat)
        return;
    FPixelFormat = Value;
    FPalette.clear();
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed || Empty())
        return FTransparentColor;
    const QRgb P = FImage.pixel(0, FHeight - 1);
    return TColor(RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P))));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == FTransparentColor && FTransparentMode == (Value == clDefault ? tmAuto : tmFixed))
        return;
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    if (Value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::Draw(TCanvas *ACanvas, const TRect &R)
{
    HDC Source = Canvas()->Handle();
    HDC Dest = ACanvas->Handle();
    const int W = R.Right - R.Left, H = R.Bottom - R.Top;
    if (Transparent())
        TransparentBlt(Dest, R.Left, R.Top, W, H, Source, 0, 0, FWidth, FHeight, ColorToRGB(TransparentColor()) & 0xFFFFFF);
    else
        StretchBlt(Dest, R.Left, R.Top, W, H, Source, 0, 0, FWidth, FHeight, ACanvas->CopyMode());
}

namespace {

constexpr int FileHeaderSize = 14;

// The whole file from the stream's position: its length comes from the file header (0 there: the rest
// of the stream).
QByteArray ReadFileBytes(TStream *Stream)
{
    QByteArray File(FileHeaderSize, '\0');
    Stream->ReadBuffer(File.data(), FileHeaderSize);
    if (File[0] != 'B' || File[1] != 'M')
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    qint64 Size = qFromLittleEndian<quint32>(File.constData() + 2);
    if (Size == 0)
        Size = FileHeaderSize + std::max<qint64>(0, Stream->Size() - Stream->Position());
    if (Size < FileHeaderSize + 12)
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    if (Size - FileHeaderSize > Stream->Size() - Stream->Position())
        throw EReadError(QStringLiteral("Stream read error: the bitmap file is truncated"));
    File.resize(Size);
    Stream->ReadBuffer(File.data() + FileHeaderSize, Size - FileHeaderSize);
    return File;
}

} // namespace

void TBitmap::LoadFromStream(TStream *Stream)
{
    LoadFromFileBytes(ReadFileBytes(Stream));
}

void TBitmap::LoadFromFileBytes(const QByteArray &File)
{
    const TBitmapFileImage Loaded = ReadBitmapFile(File);
    FImage = Loaded.Image;
    FWidth = FImage.width();
    FHeight = FImage.height();
    FPixelFormat = Loaded.PixelFormat;
    FPalette = Loaded.Palette;
    Changed();
}

void TBitmap::SaveToStream(TStream *Stream)
{
    if (Empty())
        return;
    Stream->WriteBuffer(WriteBitmapFile(FImage, FPixelFormat, FPalette));
}

void TBitmap::LoadFromResourceName(HINSTANCE, const QString &Name)
{
    TAutoFree<TResourceStream> Stream(TResourceStream::Create(Name, RT_BITMAP));
    LoadFromStream(Stream.get());
}

// A 4-byte size, then the bitmap file (size 0: an empty bitmap).
void TBitmap::ReadData(TStream *Stream)
{
    qint32 Size = 0;
    Stream->ReadBuffer(&Size, 4);
    Size = qFromLittleEndian(Size);
    if (Size == 0) {
        SetImage(QImage());
        return;
    }
    if (Size < 0 || Size > Stream->Size() - Stream->Position())
        throw EReadError(QStringLiteral("Stream read error: bitmap data of %1 bytes is truncated").arg(Size));
    QByteArray File(Size, '\0');
    Stream->ReadBuffer(File.data(), Size);
    LoadFromFileBytes(File);
}

void TBitmap::WriteData(TStream *Stream)
{
    const QByteArray File = Empty() ? QByteArray() : WriteBitmapFile(FImage, FPixelFormat, FPalette);
    const qint32 Size = qToLittleEndian(qint32(File.size()));
    Stream->WriteBuffer(&Size, 4);
    Stream->WriteBuffer(File);
}
