// Windows bitmap files. Reading is Qt's BMP reader behind a header check that turns malformed files into
// EInvalidGraphic before any pixel is decoded; 16-bit files are decoded here, because Qt widens their
// 5- and 6-bit channels by shifting alone (white would read as 0xF8F8F8 and a magenta key would be lost).
// Writing uses Qt's writer for 1 and 24 bits per pixel; Qt
// chooses the depth of indexed files by their colour count and does not write 16 or 32 bits, so 4, 8, 16
// and 32 bits are written here.
#include "framework/graphics/Bitmap.h"

#include <QBuffer>
#include <QHash>
#include <QSet>
#include <QtAlgorithms>
#include <QtEndian>
#include <functional>

namespace {

[[noreturn]] void Invalid(const QString &Why)
{
    throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid: %1").arg(Why));
}

template <class T> T LittleEndianAt(const QByteArray &B, qsizetype Offset)
{
    return qFromLittleEndian<T>(B.constData() + Offset);
}

constexpr quint32 BI_RGB = 0;
constexpr quint32 BI_RLE8 = 1;
constexpr quint32 BI_RLE4 = 2;
constexpr quint32 BI_BITFIELDS = 3;
// Far beyond any picture of a skin or a program, and small enough that a forged header cannot make a
// tiny file allocate hundreds of megabytes (16 M pixels are 64 MB at 32 bits).
constexpr qint64 MaxPixels = qint64(1) << 24;
constexpr int MaxSide = 1 << 15;

struct TInfoHeader
{
    quint32 Size = 0;
    qint64 Width = 0;
    qint64 Height = 0;
    int Bits = 0;
    quint32 Compression = BI_RGB;
    quint32 ColorsUsed = 0;
};

TInfoHeader ReadInfoHeader(const QByteArray &File)
{
    if (File.size() < 14 + 12 || File[0] != 'B' || File[1] != 'M')
        Invalid(QStringLiteral("no bitmap file header"));
    TInfoHeader H;
    H.Size = LittleEndianAt<quint32>(File, 14);
    if (H.Size == 12) {
        H.Width = LittleEndianAt<quint16>(File, 18);
        H.Height = LittleEndianAt<qint16>(File, 20);
        H.Bits = LittleEndianAt<quint16>(File, 24);
    } else if (H.Size == 40 || H.Size == 52 || H.Size == 56 || H.Size == 64 || H.Size == 108 || H.Size == 124) {
        if (File.size() < 14 + qsizetype(H.Size))
            Invalid(QStringLiteral("truncated header"));
        H.Width = LittleEndianAt<qint32>(File, 18);
        H.Height = LittleEndianAt<qint32>(File, 22);
        H.Bits = LittleEndianAt<quint16>(File, 28);
        H.Compression = LittleEndianAt<quint32>(File, 30);
        H.ColorsUsed = LittleEndianAt<quint32>(File, 46);
    } else
        Invalid(QStringLiteral("unknown header size %1").arg(H.Size));
    return H;
}

void CheckFile(const QByteArray &File, const TInfoHeader &H)
{
    const qint64 Rows = H.Height < 0 ? -H.Height : H.Height;
    if (H.Width < 1 || Rows < 1 || H.Width > MaxSide || Rows > MaxSide || H.Width * Rows > MaxPixels)
        Invalid(QStringLiteral("size %1 x %2").arg(H.Width).arg(H.Height));
    switch (H.Bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid(QStringLiteral("%1 bits per pixel").arg(H.Bits));
    }
    const bool Ok = H.Compression == BI_RGB || (H.Compression == BI_RLE8 && H.Bits == 8 && H.Height > 0)
                    || (H.Compression == BI_RLE4 && H.Bits == 4 && H.Height > 0)
                    || (H.Compression == BI_BITFIELDS && (H.Bits == 16 || H.Bits == 32));
    if (!Ok)
        Invalid(QStringLiteral("compression %1 at %2 bits").arg(H.Compression).arg(H.Bits));
    if (H.Bits <= 8 && H.ColorsUsed > (1u << H.Bits))
        Invalid(QStringLiteral("%1 palette entries").arg(H.ColorsUsed));
    if (H.Size == 40 && H.Compression == BI_BITFIELDS && File.size() < 14 + 40 + 12)
        Invalid(QStringLiteral("truncated colour masks"));

    const qint64 Offset = LittleEndianAt<quint32>(File, 10);
    if (Offset < 14 + qint64(H.Size) || Offset >= File.size())
        Invalid(QStringLiteral("pixel data offset %1").arg(Offset));
    if (H.Compression == BI_RGB || H.Compression == BI_BITFIELDS) {
        const qint64 Stride = (H.Width * H.Bits + 31) / 32 * 4;
        if (Offset + Stride * Rows > File.size())
            Invalid(QStringLiteral("truncated pixel data"));
    }
}

TPixelFormat FormatOf(const QByteArray &File, const TInfoHeader &H)
{
    switch (H.Bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
        // Masks follow a 40-byte header, or sit in the same place inside the larger ones.
        return H.Compression == BI_BITFIELDS && LittleEndianAt<quint32>(File, 58) == 0x07E0 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

int MaskShift(quint32 Mask)
{
    int Shift = 0;
    while (Mask && !(Mask & 1)) {
        Mask >>= 1;
        ++Shift;
    }
    return Shift;
}

// A channel of Bits bits widened to 8 by repeating its high bits, so that full intensity stays 255.
int Widen(quint32 Value, int Bits)
{
    if (Bits <= 0)
        return 0;
    if (Bits >= 8)
        return int(Value >> (Bits - 8)) & 0xFF;
    int Result = 0;
    for (int Filled = 0; Filled < 8; Filled += Bits)
        Result = (Result << Bits) | int(Value);
    return (Result >> (((8 + Bits - 1) / Bits) * Bits - 8)) & 0xFF;
}

QImage Decode16(const QByteArray &File, const TInfoHeader &H)
{
    quint32 Masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (H.Compression == BI_BITFIELDS)
        for (int I = 0; I < 3; ++I)
            Masks[I] = LittleEndianAt<quint32>(File, 54 + 4 * I);
    int Shift[3], Bits[3];
    for (int I = 0; I < 3; ++I) {
        Shift[I] = MaskShift(Masks[I]);
        Bits[I] = qPopulationCount(Masks[I]);
    }
    const int W = int(H.Width), Rows = int(H.Height < 0 ? -H.Height : H.Height);
    const qint64 Stride = (H.Width * 16 + 31) / 32 * 4;
    const qint64 Offset = LittleEndianAt<quint32>(File, 10);
    QImage Image(W, Rows, QImage::Format_RGB32);
    if (Image.isNull())
        Invalid(QStringLiteral("no memory for %1 x %2").arg(W).arg(Rows));
    for (int Y = 0; Y < Rows; ++Y) {
        const int FileRow = H.Height < 0 ? Y : Rows - 1 - Y;
        const uchar *In = reinterpret_cast<const uchar *>(File.constData()) + Offset + Stride * FileRow;
        QRgb *Out = reinterpret_cast<QRgb *>(Image.scanLine(Y));
        for (int X = 0; X < W; ++X) {
            const quint32 V = qFromLittleEndian<quint16>(In + 2 * X);
            int C[3];
            for (int I = 0; I < 3; ++I)
                C[I] = Widen((V & Masks[I]) >> Shift[I], Bits[I]);
            Out[X] = qRgb(C[0], C[1], C[2]);
        }
    }
    return Image;
}

// ---- writing ------------------------------------------------------------------------------------------

QByteArray WriteWithQt(const QImage &Image)
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    if (!Image.save(&Buffer, "BMP"))
        throw EWriteError(QStringLiteral("Cannot write the bitmap"));
    return Bytes;
}

// Header, Extra (palette or masks), then the rows bottom-up, each filled by Row(y, bytes).
QByteArray WriteFile(const QImage &Image, int Bits, quint32 Compression, const QByteArray &Extra, int Colors,
                     const std::function<void(int, uchar *)> &Row)
{
    const int W = Image.width(), H = Image.height();
    const qint64 Stride = (qint64(W) * Bits + 31) / 32 * 4;
    const qint64 Offset = 14 + 40 + Extra.size();
    QByteArray File(Offset + Stride * H, '\0');
    uchar *P = reinterpret_cast<uchar *>(File.data());
    P[0] = 'B';
    P[1] = 'M';
    qToLittleEndian<quint32>(quint32(File.size()), P + 2);
    qToLittleEndian<quint32>(quint32(Offset), P + 10);
    qToLittleEndian<quint32>(40, P + 14);
    qToLittleEndian<qint32>(W, P + 18);
    qToLittleEndian<qint32>(H, P + 22);
    qToLittleEndian<quint16>(1, P + 26);
    qToLittleEndian<quint16>(quint16(Bits), P + 28);
    qToLittleEndian<quint32>(Compression, P + 30);
    qToLittleEndian<quint32>(quint32(Stride * H), P + 34);
    qToLittleEndian<qint32>(3780, P + 38);   // 96 dpi
    qToLittleEndian<qint32>(3780, P + 42);
    qToLittleEndian<quint32>(quint32(Colors), P + 46);
    std::memcpy(P + 54, Extra.constData(), size_t(Extra.size()));
    for (int Y = 0; Y < H; ++Y)
        Row(Y, P + Offset + Stride * (H - 1 - Y));
    return File;
}

QList<QRgb> UniqueColours(const QImage &Image, int Limit)
{
    QList<QRgb> Colours;
    QSet<QRgb> Seen;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const QRgb *Line = reinterpret_cast<const QRgb *>(Image.constScanLine(Y));
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb C = Line[X] | 0xFF000000u;
            if (!Seen.contains(C)) {
                if (Colours.size() == Limit)
                    return {};
                Seen.insert(C);
                Colours.append(C);
            }
        }
    }
    return Colours;
}

QList<QRgb> StandardPalette(int Bits)
{
    static const QList<QRgb> Vga = {
        0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
        0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
    };
    if (Bits == 1)
        return {0xFF000000, 0xFFFFFFFF};
    if (Bits == 4)
        return Vga;
    QList<QRgb> P = Vga;
    for (int R = 0; R < 6; ++R)
        for (int G = 0; G < 6; ++G)
            for (int B = 0; B < 6; ++B)
                P.append(qRgb(R * 51, G * 51, B * 51));
    for (int I = 1; P.size() < 256; ++I)
        P.append(qRgb(I * 6, I * 6, I * 6));
    return P;
}

// The image's own colours when they fit, else the loaded palette when it holds them all, else a standard one.
QList<QRgb> ChoosePalette(const QImage &Image, int Bits, const QList<QRgb> &Loaded)
{
    const int Max = 1 << Bits;
    const QList<QRgb> Own = UniqueColours(Image, Max);
    if (!Own.isEmpty()) {
        if (!Loaded.isEmpty() && Loaded.size() <= Max) {
            const QSet<QRgb> Have(Loaded.begin(), Loaded.end());
            bool All = true;
            for (QRgb C : Own)
                All = All && Have.contains(C | 0xFF000000u);
            if (All)
                return Loaded;
        }
        return Own;
    }
    return !Loaded.isEmpty() && Loaded.size() <= Max ? Loaded : StandardPalette(Bits);
}

QByteArray WriteIndexed(const QImage &Image, int Bits, const QList<QRgb> &Loaded)
{
    QList<QRgb> Palette = ChoosePalette(Image, Bits, Loaded);
    for (QRgb &C : Palette)
        C |= 0xFF000000u;
    const QImage Indexed = Image.convertToFormat(QImage::Format_Indexed8, Palette, Qt::ThresholdDither);
    if (Bits == 1)
        return WriteWithQt(Indexed.convertToFormat(QImage::Format_Mono, Palette, Qt::ThresholdDither));
    QByteArray Table(Palette.size() * 4, '\0');
    for (int I = 0; I < Palette.size(); ++I) {
        Table[I * 4] = char(qBlue(Palette[I]));
        Table[I * 4 + 1] = char(qGreen(Palette[I]));
        Table[I * 4 + 2] = char(qRed(Palette[I]));
    }
    return WriteFile(Image, Bits, 0, Table, int(Palette.size()), [&](int Y, uchar *Out) {
        const uchar *In = Indexed.constScanLine(Y);
        for (int X = 0; X < Image.width(); ++X) {
            if (Bits == 8)
                Out[X] = In[X];
            else
                Out[X / 2] |= uchar(X % 2 == 0 ? In[X] << 4 : In[X]);
        }
    });
}

QByteArray WriteDirect(const QImage &Image, int Bits, bool Masks565)
{
    QByteArray Extra;
    if (Masks565) {
        Extra.resize(12);
        qToLittleEndian<quint32>(0xF800, Extra.data());
        qToLittleEndian<quint32>(0x07E0, Extra.data() + 4);
        qToLittleEndian<quint32>(0x001F, Extra.data() + 8);
    }
    return WriteFile(Image, Bits, Masks565 ? BI_BITFIELDS : BI_RGB, Extra, 0, [&](int Y, uchar *Out) {
        const QRgb *In = reinterpret_cast<const QRgb *>(Image.constScanLine(Y));
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb C = In[X];
            if (Bits == 32) {
                Out[X * 4] = uchar(qBlue(C));
                Out[X * 4 + 1] = uchar(qGreen(C));
                Out[X * 4 + 2] = uchar(qRed(C));
            } else {
                const quint16 V = Masks565 ? quint16((qRed(C) >> 3) << 11 | (qGreen(C) >> 2) << 5 | qBlue(C) >> 3)
                                           : quint16((qRed(C) >> 3) << 10 | (qGreen(C) >> 3) << 5 | qBlue(C) >> 3);
                qToLittleEndian<quint16>(V, Out + X * 2);
            }
        }
    });
}

} // namespace

TBitmapFileImage ReadBitmapFile(const QByteArray &File)
{
    const TInfoHeader H = ReadInfoHeader(File);
    CheckFile(File, H);
    QImage Decoded = H.Bits == 16 ? Decode16(File, H) : QImage::fromData(File, "BMP");
    if (Decoded.isNull())
        Invalid(QStringLiteral("undecodable pixel data"));
    TBitmapFileImage Result;
    Result.PixelFormat = FormatOf(File, H);
    if (H.Bits <= 8)
        Result.Palette = Decoded.colorTable();
    Result.Image = Decoded.convertToFormat(QImage::Format_RGB32);
    return Result;
}

QByteArray WriteBitmapFile(const QImage &Image, TPixelFormat Format, const QList<QRgb> &Palette)
{
    const QImage Pixels = Image.convertToFormat(QImage::Format_RGB32);
    switch (Format) {
    case pf1bit: return WriteIndexed(Pixels, 1, Palette);
    case pf4bit: return WriteIndexed(Pixels, 4, Palette);
    case pf8bit: return WriteIndexed(Pixels, 8, Palette);
    case pf15bit: return WriteDirect(Pixels, 16, false);
    case pf16bit: return WriteDirect(Pixels, 16, true);
    case pf32bit: return WriteDirect(Pixels, 32, false);
    default: return WriteWithQt(Pixels);
    }
}
