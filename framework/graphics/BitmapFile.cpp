// Windows bitmap files. Reading checks the headers first, so that a malformed file raises EInvalidGraphic
// before any pixel is decoded, then decodes every depth here rather than with Qt's BMP reader, which reads
// 2^depth palette entries whatever the file holds, does not read 2 bits, leaves the pixels that run-length
// data skips uninitialised, and widens channels that are not 8 bits wide by shifting alone (white would read
// as 0xF8F8F8 and a magenta key would be lost).
// Writing uses Qt's writer for 1 and 24 bits per pixel; Qt
// chooses the depth of indexed files by their colour count and does not write 16 or 32 bits, so 4, 8, 16
// and 32 bits are written here.
#include "framework/graphics/Bitmap.h"

#include <QBuffer>
#include <QHash>
#include <QSet>
#include <QtAlgorithms>
#include <QtEndian>
#include <algorithm>
#include <array>
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
constexpr quint32 BI_ALPHABITFIELDS = 6;
constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype MasksOffset = FileHeaderSize + 40;
// Far beyond any picture of a skin or a program, and small enough that a forged header cannot make a
// tiny file allocate hundreds of megabytes (16 M pixels are 64 MB at 32 bits).
constexpr qint64 MaxPixels = qint64(1) << 24;
constexpr int MaxSide = 1 << 15;

struct TInfoHeader
{
    quint32 Size = 0;
    qint64 Width = 0;
    qint64 Height = 0;          // negative: the rows run top-down
    int Bits = 0;
    quint32 Compression = BI_RGB;
    quint32 ColorsUsed = 0;
    qint64 Offset = 0;          // of the pixel data

    qint64 Rows() const { return Height < 0 ? -Height : Height; }
    // The 12-byte header of OS/2 1.x and the 16- and 64-byte ones of OS/2 2.x, which have no colour masks.
    bool Os2() const { return Size == 12 || Size == 16 || Size == 64; }
    bool HasMasks() const { return Compression == BI_BITFIELDS || Compression == BI_ALPHABITFIELDS; }
    // Where the palette starts: after the header and the masks that follow a 40-byte header.
    qint64 TableStart() const
    {
        const qint64 Masks = Size != 40 ? 0 : Compression == BI_BITFIELDS ? 12 : Compression == BI_ALPHABITFIELDS ? 16 : 0;
        return FileHeaderSize + Size + Masks;
    }
};

qint64 RowStride(qint64 Width, int Bits)
{
    return (Width * Bits + 31) / 32 * 4;
}

TInfoHeader ReadInfoHeader(const QByteArray &File)
{
    if (File.size() < FileHeaderSize + 12 || File[0] != 'B' || File[1] != 'M')
        Invalid(QStringLiteral("no bitmap file header"));
    TInfoHeader H;
    H.Offset = LittleEndianAt<quint32>(File, 10);
    H.Size = LittleEndianAt<quint32>(File, 14);
    if (H.Size == 12) {
        H.Width = LittleEndianAt<quint16>(File, 18);
        H.Height = LittleEndianAt<qint16>(File, 20);
        H.Bits = LittleEndianAt<quint16>(File, 24);
        return H;
    }
    const QList<quint32> Sizes = {16, 40, 52, 56, 64, 108, 124};
    if (!Sizes.contains(H.Size))
        Invalid(QStringLiteral("unknown header size %1").arg(H.Size));
    if (File.size() < FileHeaderSize + qsizetype(H.Size))
        Invalid(QStringLiteral("truncated header"));
    H.Width = LittleEndianAt<qint32>(File, 18);
    H.Height = LittleEndianAt<qint32>(File, 22);
    H.Bits = LittleEndianAt<quint16>(File, 28);
    if (H.Size > 16) {
        H.Compression = LittleEndianAt<quint32>(File, 30);
        H.ColorsUsed = LittleEndianAt<quint32>(File, 46);
    }
    return H;
}

void CheckFile(const QByteArray &File, const TInfoHeader &H)
{
    if (H.Width < 1 || H.Rows() < 1 || H.Width > MaxSide || H.Rows() > MaxSide || H.Width * H.Rows() > MaxPixels)
        Invalid(QStringLiteral("size %1 x %2").arg(H.Width).arg(H.Height));
    switch (H.Bits) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid(QStringLiteral("%1 bits per pixel").arg(H.Bits));
    }
    const bool Ok = H.Compression == BI_RGB || (H.Compression == BI_RLE8 && H.Bits == 8 && H.Height > 0)
                    || (H.Compression == BI_RLE4 && H.Bits == 4 && H.Height > 0)
                    || (H.HasMasks() && !H.Os2() && (H.Bits == 16 || H.Bits == 32));
    if (!Ok)
        Invalid(QStringLiteral("compression %1 at %2 bits").arg(H.Compression).arg(H.Bits));
    if (H.Bits <= 8 && H.ColorsUsed > (1u << H.Bits))
        Invalid(QStringLiteral("%1 palette entries").arg(H.ColorsUsed));
    if (H.TableStart() > File.size())
        Invalid(QStringLiteral("truncated colour masks"));
    if (H.Offset < H.TableStart() || H.Offset >= File.size())
        Invalid(QStringLiteral("pixel data offset %1").arg(H.Offset));
    if (H.Compression != BI_RLE8 && H.Compression != BI_RLE4
        && H.Offset + RowStride(H.Width, H.Bits) * H.Rows() > File.size())
        Invalid(QStringLiteral("truncated pixel data"));
}

// ---- indexed colours ----------------------------------------------------------------------------------

// As many entries as the header states (all the depth allows when it states none), up to where the pixel
// data starts; the 12-byte header has 3-byte entries.
QList<QRgb> ReadPalette(const QByteArray &File, const TInfoHeader &H)
{
    const qint64 EntrySize = H.Size == 12 ? 3 : 4;
    const qint64 Stated = H.ColorsUsed ? qint64(H.ColorsUsed) : qint64(1) << H.Bits;
    const qint64 Count = std::min(Stated, (H.Offset - H.TableStart()) / EntrySize);
    if (Count < 1)
        Invalid(QStringLiteral("no palette"));
    QList<QRgb> Palette;
    const uchar *Entry = reinterpret_cast<const uchar *>(File.constData()) + H.TableStart();
    for (qint64 I = 0; I < Count; ++I, Entry += EntrySize)
        Palette.append(qRgb(Entry[2], Entry[1], Entry[0]));
    return Palette;
}

QImage NewImage(const TInfoHeader &H)
{
    QImage Image(int(H.Width), int(H.Rows()), QImage::Format_RGB32);
    if (Image.isNull())
        Invalid(QStringLiteral("no memory for %1 x %2").arg(H.Width).arg(H.Rows()));
    return Image;
}

// The colour of every index a pixel can hold: indices beyond the palette are black.
using TColourTable = std::array<QRgb, 256>;
TColourTable ColourTable(const QList<QRgb> &Palette)
{
    TColourTable Table;
    Table.fill(qRgb(0, 0, 0));
    std::copy_n(Palette.begin(), std::min<qsizetype>(Palette.size(), 256), Table.begin());
    return Table;
}

QImage DecodeIndexed(const QByteArray &File, const TInfoHeader &H, const QList<QRgb> &Palette)
{
    QImage Image = NewImage(H);
    const TColourTable Colours = ColourTable(Palette);
    const int W = Image.width(), Rows = Image.height(), Bits = H.Bits, IndexMask = (1 << Bits) - 1;
    const qint64 Stride = RowStride(H.Width, H.Bits);
    const uchar *Data = reinterpret_cast<const uchar *>(File.constData()) + H.Offset;
    for (int Y = 0; Y < Rows; ++Y) {
        const uchar *In = Data + Stride * (H.Height < 0 ? Y : Rows - 1 - Y);
        QRgb *Out = reinterpret_cast<QRgb *>(Image.scanLine(Y));
        if (Bits == 8) {
            for (int X = 0; X < W; ++X)
                Out[X] = Colours[In[X]];
            continue;
        }
        for (int X = 0, Bit = 0; X < W; ++X, Bit += Bits)
            Out[X] = Colours[In[Bit >> 3] >> (8 - Bits - (Bit & 7)) & IndexMask];
    }
    return Image;
}

// Run-length data of 8 or 4 bits a pixel, rows from the bottom. Damaged data still gives a whole picture:
// pixels the data skips or never reaches keep the first palette colour, runs are cut at the end of their
// row, and whatever follows the last row is ignored.
QImage DecodeRunLength(const QByteArray &File, const TInfoHeader &H, const QList<QRgb> &Palette)
{
    QImage Image = NewImage(H);
    const TColourTable Colours = ColourTable(Palette);
    Image.fill(Colours[0]);
    const qint64 Width = H.Width, Rows = H.Rows();
    const uchar *In = reinterpret_cast<const uchar *>(File.constData()) + H.Offset;
    const uchar *End = reinterpret_cast<const uchar *>(File.constData()) + File.size();
    qint64 X = 0, Y = 0;      // Y counts from the bottom row
    auto Put = [&](int Index) {
        if (X < Width)
            reinterpret_cast<QRgb *>(Image.scanLine(int(Rows - 1 - Y)))[X] = Colours[Index];
        ++X;
    };
    // At 4 bits, the pixels of a run take the high and the low half of their byte in turn.
    auto Nibble = [](int Byte, int I) { return I % 2 ? Byte & 15 : Byte >> 4; };
    while (End - In >= 2 && Y < Rows) {
        const int Count = In[0], Code = In[1];
        In += 2;
        if (Count > 0) {
            for (int I = 0; I < Count; ++I)
                Put(H.Bits == 8 ? Code : Nibble(Code, I));
        } else if (Code == 0) {
            X = 0;
            ++Y;
        } else if (Code == 1) {
            break;
        } else if (Code == 2) {
            if (End - In < 2)
                break;
            X += In[0];
            Y += In[1];
            In += 2;
        } else {
            // Code pixels stored as they are, padded to a whole number of 16-bit words.
            const qint64 Bytes = H.Bits == 8 ? Code : (Code + 1) / 2;
            const qint64 Have = std::min(Bytes, qint64(End - In));
            for (int I = 0; I < Code && (H.Bits == 8 ? I : I / 2) < Have; ++I)
                Put(H.Bits == 8 ? In[I] : Nibble(In[I / 2], I));
            In += std::min(Bytes + Bytes % 2, qint64(End - In));
        }
    }
    return Image;
}

// ---- direct colours -----------------------------------------------------------------------------------

// One colour channel of a pixel: a contiguous run of mask bits, of any width from 1 to 32, scaled to 8 bits
// with rounding, so that full intensity is 255 at every width.
struct TChannel
{
    quint32 Mask = 0;
    int Shift = 0;
    quint64 Max = 0;

    int Of(quint32 Pixel) const
    {
        const quint64 V = (Pixel & Mask) >> Shift;
        if (Max == 255 || Max == 0)
            return int(V);
        return int((V * 510 + Max) / (2 * Max));
    }
};

TChannel ChannelOf(quint32 Mask, int Bits)
{
    TChannel C;
    if (!Mask)
        return C;
    if (Bits < 32 && Mask >> Bits)
        Invalid(QStringLiteral("colour mask 0x%1 wider than %2 bits").arg(Mask, 0, 16).arg(Bits));
    C.Mask = Mask;
    C.Shift = int(qCountTrailingZeroBits(Mask));
    C.Max = Mask >> C.Shift;
    if (C.Max & (C.Max + 1))
        Invalid(QStringLiteral("colour mask 0x%1 is not contiguous").arg(Mask, 0, 16));
    return C;
}

// Red, green and blue. An alpha mask (the 56-byte and later headers, or alpha bit fields) is left out: the
// pixels of a bitmap are opaque, and its colours are stored whole, not premultiplied.
std::array<quint32, 3> MasksOf(const QByteArray &File, const TInfoHeader &H)
{
    if (H.HasMasks())
        return {LittleEndianAt<quint32>(File, MasksOffset), LittleEndianAt<quint32>(File, MasksOffset + 4),
                LittleEndianAt<quint32>(File, MasksOffset + 8)};
    if (H.Bits == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

QImage DecodeDirect(const QByteArray &File, const TInfoHeader &H)
{
    const std::array<quint32, 3> Masks = MasksOf(File, H);
    const TChannel Red = ChannelOf(Masks[0], H.Bits), Green = ChannelOf(Masks[1], H.Bits),
                   Blue = ChannelOf(Masks[2], H.Bits);
    QImage Image = NewImage(H);
    const int W = Image.width(), Rows = Image.height(), BytesPerPixel = H.Bits / 8;
    const qint64 Stride = RowStride(H.Width, H.Bits);
    const uchar *Data = reinterpret_cast<const uchar *>(File.constData()) + H.Offset;
    for (int Y = 0; Y < Rows; ++Y) {
        const uchar *In = Data + Stride * (H.Height < 0 ? Y : Rows - 1 - Y);
        QRgb *Out = reinterpret_cast<QRgb *>(Image.scanLine(Y));
        for (int X = 0; X < W; ++X, In += BytesPerPixel) {
            quint32 Pixel = 0;
            for (int B = BytesPerPixel - 1; B >= 0; --B)
                Pixel = Pixel << 8 | In[B];
            Out[X] = qRgb(Red.Of(Pixel), Green.Of(Pixel), Blue.Of(Pixel));
        }
    }
    return Image;
}

TPixelFormat FormatOf(const QByteArray &File, const TInfoHeader &H)
{
    switch (H.Bits) {
    case 1: return pf1bit;
    case 2: return pf4bit;      // the smallest depth written that keeps its palette
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return H.HasMasks() && MasksOf(File, H)[1] == 0x07E0 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
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
    TBitmapFileImage Result;
    Result.PixelFormat = FormatOf(File, H);
    if (H.Bits <= 8) {
        Result.Palette = ReadPalette(File, H);
        const bool RunLength = H.Compression == BI_RLE8 || H.Compression == BI_RLE4;
        Result.Image = (RunLength ? DecodeRunLength : DecodeIndexed)(File, H, Result.Palette);
    } else
        Result.Image = DecodeDirect(File, H);
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
