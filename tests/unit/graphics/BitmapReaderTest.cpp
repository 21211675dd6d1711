// The Windows bitmap reader against the kinds of file a reader meets: every header version and depth,
// run-length data, bit fields of odd widths, top-down rows, short palettes, and damaged files. Each file is
// put together field by field here, so that a case says exactly what it holds or breaks.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr QRgb K = 0x000000, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, M = 0xFF00FF;
const QList<QRgb> Four = {K, R, G, B};
const QList<QRgb> Six = {K, R, G, B, W, M};
// Index 0 is not black, so that pixels a run-length file skips show which colour they take.
const QList<QRgb> Grey0 = {0x808080, R, G, B, W, M};
const QList<QRgb> Sixteen = {K, R, G, B, W, M, 0x808080, 0x112233, 0x445566, 0x778899, 0xAABBCC,
                             0xDDEEFF, 0x102030, 0x405060, 0x708090, 0xA0B0C0};

// Rows given top to bottom, packed at Bits per pixel (indices high bits first, direct values little-endian)
// and padded to 4 bytes, stored bottom-up unless TopDown.
QByteArray Pack(int Bits, const QList<QList<quint32>> &Rows, bool TopDown = false)
{
    QByteArray Out;
    for (qsizetype I = 0; I < Rows.size(); ++I) {
        const QList<quint32> &Row = Rows[TopDown ? I : Rows.size() - 1 - I];
        QByteArray Line;
        if (Bits < 8) {
            Line.fill('\0', (Row.size() * Bits + 7) / 8);
            for (qsizetype X = 0; X < Row.size(); ++X)
                Line[X * Bits / 8] = char(Line[X * Bits / 8] | Row[X] << (8 - Bits - X * Bits % 8));
        } else {
            for (quint32 V : Row)
                for (int Byte = 0; Byte < Bits / 8; ++Byte)
                    Line += char(V >> 8 * Byte);
        }
        Out += Line + QByteArray((4 - Line.size() % 4) % 4, '\0');
    }
    return Out;
}

QByteArray Bytes(std::initializer_list<int> Values)
{
    QByteArray Out;
    for (int V : Values)
        Out += char(V);
    return Out;
}

// One bitmap file, field by field.
struct TBmp
{
    int HeaderSize = 40;
    qint32 Width = 1;
    qint32 Height = 1;
    int Bits = 8;
    quint32 Compression = 0;
    QList<QRgb> Palette = {};     // 3-byte entries after the 12-byte header, 4-byte ones otherwise
    QByteArray Pixels = {};
    qint64 ColorsUsed = -1;       // -1: the palette's length
    QList<quint32> Masks = {};    // after a 40-byte header, inside the larger ones
    QByteArray Gap = {};          // between the palette and the pixel data
    qint64 FileSize = -1;         // -1: the true size
    quint32 ImageSize = 0;
    qint32 Resolution = 3780;
    int Planes = 1;

    QByteArray File() const
    {
        QByteArray Header(HeaderSize, '\0');
        auto Put32 = [&](int At, quint32 V) { qToLittleEndian<quint32>(V, Header.data() + At); };
        auto Put16 = [&](int At, quint16 V) { qToLittleEndian<quint16>(V, Header.data() + At); };
        Put32(0, quint32(HeaderSize));
        if (HeaderSize == 12) {
            Put16(4, quint16(Width));
            Put16(6, quint16(Height));
            Put16(8, quint16(Planes));
            Put16(10, quint16(Bits));
        } else {
            Put32(4, quint32(Width));
            Put32(8, quint32(Height));
            Put16(12, quint16(Planes));
            Put16(14, quint16(Bits));
            if (HeaderSize > 16) {
                Put32(16, Compression);
                Put32(20, ImageSize);
                Put32(24, quint32(Resolution));
                Put32(28, quint32(Resolution));
                Put32(32, quint32(ColorsUsed < 0 ? Palette.size() : ColorsUsed));
            }
        }
        QByteArray After;
        for (qsizetype I = 0; I < Masks.size(); ++I) {
            if (HeaderSize == 40) {
                After += QByteArray(4, '\0');
                qToLittleEndian<quint32>(Masks[I], After.data() + 4 * I);
            } else
                Put32(40 + 4 * int(I), Masks[I]);
        }
        for (QRgb C : Palette) {
            After += char(qBlue(C));
            After += char(qGreen(C));
            After += char(qRed(C));
            if (HeaderSize != 12)
                After += '\0';
        }
        After += Gap;
        const qint64 Offset = 14 + HeaderSize + After.size();
        QByteArray F("BM");
        F += QByteArray(12, '\0');
        qToLittleEndian<quint32>(quint32(FileSize < 0 ? Offset + Pixels.size() : FileSize), F.data() + 2);
        qToLittleEndian<quint32>(quint32(Offset), F.data() + 10);
        return F + Header + After + Pixels;
    }
};

QByteArray Cut(const QByteArray &File, qsizetype Size)
{
    return File.left(Size);
}

QByteArray Patch(QByteArray File, int Offset, quint32 Value)
{
    qToLittleEndian<quint32>(Value, File.data() + Offset);
    return File;
}

// A 2 x 1 picture loaded before every case: a refusal must leave it exactly so.
QByteArray Sentinel()
{
    return TBmp{.Width = 2, .Bits = 24, .Pixels = Pack(24, {{0x123456, 0xABCDEF}})}.File();
}

void Load(TBitmap *Bitmap, const QByteArray &File)
{
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->WriteBuffer(File);
    S->SetPosition(0);
    Bitmap->LoadFromStream(S.get());
}

struct TCase
{
    const char *Name;
    QByteArray File;
    QList<QList<QRgb>> Expected;  // rows top to bottom; empty: refused
    TPixelFormat Format = pfDevice;   // pfDevice: not checked
};

// 10-10-10-2, with the two alpha bits on top.
quint32 Rgb1010102(quint32 Red, quint32 Green, quint32 Blue, quint32 Alpha)
{
    return Alpha << 30 | Red << 20 | Green << 10 | Blue;
}

QList<TCase> Cases()
{
    const QByteArray Rle8Good = Bytes({0, 3, 2, 3, 4, 0, 1, 1, 0, 0,      // bottom: absolute G B W, run R
                                       1, 5, 0, 2, 2, 0, 1, 3, 0, 0,      // middle: M, 2 right, B
                                       0, 2, 1, 0, 2, 2, 0, 1});          // top: 1 right, G G, end
    const QByteArray Rle4Good = Bytes({5, 0x12, 0, 0,                     // bottom: R G R G R
                                       0, 3, 0x34, 0x50, 0, 2, 1, 0,      // top: absolute B W M, 1 right
                                       1, 0x40, 0, 1});                   // W, end
    const QByteArray Direct24 = Pack(24, {{0x102030, 0xFFFFFF}, {0xFF00FF, 0x000001}});
    const QList<QList<QRgb>> Direct24Pixels = {{0x102030, W}, {M, 0x000001}};
    const QByteArray G8 = TBmp{.Width = 3, .Height = 2, .Palette = Four, .Pixels = Pack(8, {{0, 1, 2}, {3, 0, 1}})}.File();
    const QByteArray G16 = TBmp{.Width = 2, .Bits = 16, .Pixels = Pack(16, {{0x7C00, 0x001F}})}.File();
    const QByteArray G32 = TBmp{.Width = 2, .Bits = 32, .Pixels = Pack(32, {{0xFF0000, 0x0000FF}})}.File();
    const QByteArray G565 =
        TBmp{.Width = 2, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{0xF800, 0x001F}}), .Masks = {0xF800, 0x07E0, 0x001F}}.File();

    return {
        // ---- header versions and depths ----
        {"v3 1 bit", TBmp{.Width = 3, .Height = 2, .Bits = 1, .Palette = {R, B}, .Pixels = Pack(1, {{0, 1, 1}, {1, 0, 0}})}.File(),
         {{R, B, B}, {B, R, R}}, pf1bit},
        {"v3 2 bits", TBmp{.Width = 5, .Bits = 2, .Palette = Four, .Pixels = Pack(2, {{0, 1, 2, 3, 2}})}.File(),
         {{K, R, G, B, G}}, pf4bit},
        {"v3 4 bits odd width", TBmp{.Width = 3, .Height = 2, .Bits = 4, .Palette = Sixteen, .Pixels = Pack(4, {{15, 1, 7}, {6, 0, 9}})}.File(),
         {{0xA0B0C0, R, 0x112233}, {0x808080, K, 0x778899}}, pf4bit},
        {"v3 8 bits", G8, {{K, R, G}, {B, K, R}}, pf8bit},
        {"v3 24 bits", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24}.File(), Direct24Pixels, pf24bit},
        {"v3 16 bits 5-5-5", TBmp{.Width = 4, .Bits = 16, .Pixels = Pack(16, {{0x7FFF, 16 << 10 | 16 << 5 | 16, 0x8000, 1}})}.File(),
         {{W, 0x848484, K, 0x000008}}, pf15bit},
        {"v3 32 bits, the fourth byte is not a colour", TBmp{.Width = 2, .Bits = 32, .Pixels = Pack(32, {{0xFF123456, 0x00FF00FF}})}.File(),
         {{0x123456, M}}, pf32bit},
        {"OS/2 1.x 1 bit", TBmp{.HeaderSize = 12, .Width = 3, .Bits = 1, .Palette = {W, R}, .Pixels = Pack(1, {{1, 0, 1}})}.File(),
         {{R, W, R}}, pf1bit},
        {"OS/2 1.x 4 bits, whole palette", TBmp{.HeaderSize = 12, .Width = 3, .Bits = 4, .Palette = Sixteen, .Pixels = Pack(4, {{15, 0, 8}})}.File(),
         {{0xA0B0C0, K, 0x445566}}, pf4bit},
        {"OS/2 1.x 8 bits, palette of 3", TBmp{.HeaderSize = 12, .Width = 4, .Palette = {G, R, B}, .Pixels = Pack(8, {{0, 1, 2, 1}})}.File(),
         {{G, R, B, R}}, pf8bit},
        {"OS/2 1.x 24 bits", TBmp{.HeaderSize = 12, .Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24}.File(), Direct24Pixels, pf24bit},
        {"OS/2 2.x 16-byte header, 8 bits, palette of 3", TBmp{.HeaderSize = 16, .Width = 3, .Palette = {B, G, R}, .Pixels = Pack(8, {{2, 1, 0}})}.File(),
         {{R, G, B}}, pf8bit},
        {"OS/2 2.x 64-byte header, 4 bits", TBmp{.HeaderSize = 64, .Width = 3, .Bits = 4, .Palette = {W, M, B}, .Pixels = Pack(4, {{1, 2, 0}})}.File(),
         {{M, B, W}}, pf4bit},
        {"v4 8 bits", TBmp{.HeaderSize = 108, .Width = 3, .Palette = Four, .Pixels = Pack(8, {{3, 2, 1}})}.File(), {{B, G, R}}, pf8bit},
        {"v5 4 bits", TBmp{.HeaderSize = 124, .Width = 3, .Bits = 4, .Palette = Four, .Pixels = Pack(4, {{1, 3, 2}})}.File(), {{R, B, G}}, pf4bit},
        {"v5 24 bits", TBmp{.HeaderSize = 124, .Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24}.File(), Direct24Pixels, pf24bit},
        {"v5 16 bits without bit fields ignores the masks in its header",
         TBmp{.HeaderSize = 124, .Width = 1, .Bits = 16, .Pixels = Pack(16, {{0x7C00}}), .Masks = {0xF800, 0x07E0, 0x001F, 0}}.File(),
         {{R}}, pf15bit},

        // ---- bit fields ----
        {"16 bits 5-6-5", TBmp{.Width = 3, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{0xFFFF, 16 << 11 | 32 << 5 | 16, 0xF800}}),
                               .Masks = {0xF800, 0x07E0, 0x001F}}.File(),
         {{W, 0x848284, R}}, pf16bit},
        {"16 bits 3-10-3", TBmp{.Width = 2, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{4u << 13 | 512 << 3 | 1, 0xFFFF}}),
                                .Masks = {0xE000, 0x1FF8, 0x0007}}.File(),
         {{0x928024, W}}, pf15bit},
        {"16 bits 4-4-4 with 4 alpha bits, v3 header with alpha bit fields",
         TBmp{.Width = 2, .Bits = 16, .Compression = 6, .Pixels = Pack(16, {{0x08F1, 0xFFFF}}), .Masks = {0x0F00, 0x00F0, 0x000F, 0xF000}}.File(),
         {{0x88FF11, W}}, pf15bit},
        {"16 bits 5-5-5-1, 56-byte header", TBmp{.HeaderSize = 56, .Width = 2, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{0xFC00, 0x7C00}}),
                                                 .Masks = {0x7C00, 0x03E0, 0x001F, 0x8000}}.File(),
         {{R, R}}, pf15bit},
        {"32 bits 10-10-10-2, v5 header",
         TBmp{.HeaderSize = 124, .Width = 3, .Bits = 32, .Compression = 3,
              .Pixels = Pack(32, {{Rgb1010102(1023, 512, 3, 3), Rgb1010102(0, 0, 0, 0), Rgb1010102(3, 1023, 512, 1)}}),
              .Masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}}.File(),
         {{0xFF8001, K, 0x01FF80}}, pf32bit},
        {"32 bits, masks of 1 bit", TBmp{.Width = 4, .Bits = 32, .Compression = 3, .Pixels = Pack(32, {{1, 6, 7, 0x80000000}}), .Masks = {1, 2, 4}}.File(),
         {{R, 0x00FFFF, W, K}}, pf32bit},
        {"32 bits, masks of 6, 7 and 11 bits, 56-byte header",
         TBmp{.HeaderSize = 56, .Width = 3, .Bits = 32, .Compression = 3,
              .Pixels = Pack(32, {{1024u << 13 | 64 << 6 | 32, 0xFFFFFFFF, 5u << 13 | 1 << 6 | 1}}), .Masks = {0x3F, 0x1FC0, 0xFFE000, 0xFF000000}}.File(),
         {{0x828180, W, 0x040201}}, pf32bit},
        {"32 bits 11-11-10", TBmp{.Width = 2, .Bits = 32, .Compression = 3, .Pixels = Pack(32, {{5u << 21 | 2046 << 10 | 3, 1u << 21}}),
                                  .Masks = {0xFFE00000, 0x001FFC00, 0x000003FF}}.File(),
         {{0x01FF01, K}}, pf32bit},
        {"32 bits x-b-g-r, 52-byte header", TBmp{.HeaderSize = 52, .Width = 1, .Bits = 32, .Compression = 3, .Pixels = Pack(32, {{0xAA332211}}),
                                                 .Masks = {0xFF, 0xFF00, 0xFF0000}}.File(),
         {{0x112233}}, pf32bit},
        {"32 bits, transparent pixels keep their colours", TBmp{.HeaderSize = 124, .Width = 2, .Bits = 32, .Compression = 3,
                                                                .Pixels = Pack(32, {{0x00FF00FF, 0x80102030}}),
                                                                .Masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}.File(),
         {{M, 0x102030}}, pf32bit},
        {"bit field mask not contiguous", TBmp{.Width = 1, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{1}}), .Masks = {0xF0F0, 0x0F00, 0x000F}}.File(), {}},
        {"16-bit mask wider than the pixel", TBmp{.Width = 1, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{1}}), .Masks = {0x1F0000, 0x03E0, 0x001F}}.File(), {}},
        {"bit fields at 24 bits", TBmp{.Width = 1, .Bits = 24, .Compression = 3, .Pixels = Pack(24, {{1}}), .Masks = {0xFF0000, 0xFF00, 0xFF}}.File(), {}},
        {"bit fields in an OS/2 2.x header", TBmp{.HeaderSize = 64, .Width = 1, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{1}})}.File(), {}},
        {"pixel data offset inside the masks", Patch(G565, 10, 54 + 4), {}},
        {"truncated masks", Patch(Cut(G565, 60), 2, 60), {}},

        // ---- top-down ----
        {"top-down 8 bits", TBmp{.Width = 3, .Height = -2, .Palette = Four, .Pixels = Pack(8, {{0, 1, 2}, {3, 2, 1}}, true)}.File(),
         {{K, R, G}, {B, G, R}}, pf8bit},
        {"top-down 1 bit", TBmp{.Width = 2, .Height = -2, .Bits = 1, .Palette = {K, W}, .Pixels = Pack(1, {{1, 0}, {0, 1}}, true)}.File(),
         {{W, K}, {K, W}}, pf1bit},
        {"top-down 16 bits 5-6-5", TBmp{.Width = 1, .Height = -2, .Bits = 16, .Compression = 3, .Pixels = Pack(16, {{0xF800}, {0x001F}}, true),
                                        .Masks = {0xF800, 0x07E0, 0x001F}}.File(),
         {{R}, {B}}, pf16bit},
        {"top-down 32 bits", TBmp{.Width = 1, .Height = -2, .Bits = 32, .Pixels = Pack(32, {{0xFF0000}, {0x00FF00}}, true)}.File(), {{R}, {G}}, pf32bit},
        {"top-down run-length", TBmp{.Width = 4, .Height = -3, .Compression = 1, .Palette = Six, .Pixels = Rle8Good}.File(), {}},

        // ---- run-length ----
        {"RLE8 runs, absolute runs, deltas, end of line, end of bitmap", TBmp{.Width = 4, .Height = 3, .Compression = 1, .Palette = Grey0, .Pixels = Rle8Good}.File(),
         {{0x808080, G, G, 0x808080}, {M, 0x808080, 0x808080, B}, {G, B, W, R}}, pf8bit},
        {"RLE4 runs, absolute runs, delta, end of line, end of bitmap", TBmp{.Width = 5, .Height = 2, .Bits = 4, .Compression = 2, .Palette = Grey0, .Pixels = Rle4Good}.File(),
         {{B, W, M, 0x808080, W}, {R, G, R, G, R}}, pf4bit},
        {"RLE4 absolute run of odd length, padded", TBmp{.Width = 5, .Bits = 4, .Compression = 2, .Palette = Six, .Pixels = Bytes({0, 5, 0x12, 0x34, 0x50, 0, 0, 1})}.File(),
         {{R, G, B, W, M}}, pf4bit},
        {"RLE8 run past the line end", TBmp{.Width = 4, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({6, 1, 2, 2, 0, 1})}.File(),
         {{0x808080, 0x808080, 0x808080, 0x808080}, {R, R, R, R}}},
        {"RLE8 absolute run past the line end", TBmp{.Width = 4, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({0, 6, 1, 2, 3, 4, 5, 1, 0, 0, 4, 2, 0, 1})}.File(),
         {{G, G, G, G}, {R, G, B, W}}},
        {"RLE8 delta past the picture", TBmp{.Width = 4, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({4, 1, 0, 2, 0, 5, 4, 2, 0, 1})}.File(),
         {{0x808080, 0x808080, 0x808080, 0x808080}, {R, R, R, R}}},
        {"RLE8 more lines than the picture", TBmp{.Width = 2, .Height = 2, .Compression = 1, .Palette = Six, .Pixels = Bytes({2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 0, 2, 4, 0, 1})}.File(),
         {{G, G}, {R, R}}},
        {"RLE8 without an end marker", TBmp{.Width = 4, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({4, 1, 0, 0, 2, 2})}.File(),
         {{G, G, 0x808080, 0x808080}, {R, R, R, R}}},
        {"RLE8 ending inside an absolute run", TBmp{.Width = 4, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({4, 1, 0, 0, 0, 6, 2})}.File(),
         {{G, 0x808080, 0x808080, 0x808080}, {R, R, R, R}}},
        {"RLE8 ending after an escape", TBmp{.Width = 2, .Height = 2, .Compression = 1, .Palette = Grey0, .Pixels = Bytes({2, 1, 0})}.File(),
         {{0x808080, 0x808080}, {R, R}}},
        {"RLE8 index beyond the palette", TBmp{.Width = 3, .Compression = 1, .Palette = {R, G}, .Pixels = Bytes({1, 1, 2, 200, 0, 1})}.File(),
         {{G, K, K}}},
        {"RLE8 image size field far beyond the file", TBmp{.Width = 2, .Compression = 1, .Palette = Six, .Pixels = Bytes({2, 3, 0, 1}), .ImageSize = 0x7FFFFFFF}.File(),
         {{B, B}}, pf8bit},
        {"RLE4 run past the line end", TBmp{.Width = 3, .Height = 2, .Bits = 4, .Compression = 2, .Palette = Grey0, .Pixels = Bytes({5, 0x12, 0, 0, 3, 0x33, 0, 1})}.File(),
         {{B, B, B}, {R, G, R}}},
        {"RLE4 without an end marker", TBmp{.Width = 3, .Height = 2, .Bits = 4, .Compression = 2, .Palette = Grey0, .Pixels = Bytes({3, 0x11})}.File(),
         {{0x808080, 0x808080, 0x808080}, {R, R, R}}},
        {"RLE8 at 4 bits", TBmp{.Width = 2, .Bits = 4, .Compression = 1, .Palette = Six, .Pixels = Bytes({2, 1, 0, 1})}.File(), {}},

        // ---- palettes ----
        {"short palette, none stated, cut where the pixels start",
         TBmp{.Width = 3, .Palette = {R, G}, .Pixels = Pack(8, {{1, 0, 2}}), .ColorsUsed = 0}.File(), {{G, R, K}}, pf8bit},
        {"stated palette followed by a gap", TBmp{.Width = 3, .Palette = {R, G, B}, .Pixels = Pack(8, {{2, 1, 0}}), .Gap = QByteArray(8, '\x55')}.File(),
         {{B, G, R}}, pf8bit},
        {"palette of 1 at 1 bit", TBmp{.Width = 2, .Bits = 1, .Palette = {G}, .Pixels = Pack(1, {{0, 1}})}.File(), {{G, K}}, pf1bit},
        {"palette index beyond the palette", TBmp{.Width = 4, .Palette = {R, G}, .Pixels = Pack(8, {{0, 1, 4, 255}})}.File(), {{R, G, K, K}}, pf8bit},
        {"4-bit index beyond the palette", TBmp{.Width = 2, .Bits = 4, .Palette = {W, M}, .Pixels = Pack(4, {{15, 1}})}.File(), {{K, M}}, pf4bit},
        {"OS/2 1.x index beyond its short palette", TBmp{.HeaderSize = 12, .Width = 2, .Palette = {B}, .Pixels = Pack(8, {{0, 7}})}.File(),
         {{B, K}}, pf8bit},
        {"palette stated larger than fits before the pixels", TBmp{.Width = 2, .Palette = {R, G}, .Pixels = Pack(8, {{1, 0}}), .ColorsUsed = 200}.File(),
         {{G, R}}, pf8bit},
        {"no palette at all", TBmp{.Width = 2, .Pixels = Pack(8, {{1, 0}}), .ColorsUsed = 0}.File(), {}},
        {"palette of 300 entries stated", TBmp{.Width = 2, .Palette = Four, .Pixels = Pack(8, {{1, 0}}), .ColorsUsed = 300}.File(), {}},
        {"palettes of direct colours are skipped", TBmp{.Width = 2, .Bits = 24, .Palette = Four, .Pixels = Pack(24, {{0xFF0000, 0x0000FF}})}.File(),
         {{R, B}}, pf24bit},

        // ---- size and resolution fields that contradict the file ----
        {"image size field far beyond the file", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .ImageSize = 999999}.File(), Direct24Pixels},
        {"negative resolution", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .Resolution = -5}.File(), Direct24Pixels},
        {"planes 3", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .Planes = 3}.File(), Direct24Pixels},
        {"file size 0 means the rest of the stream", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .FileSize = 0}.File(), Direct24Pixels},
        {"file size beyond the stream", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .FileSize = 1000}.File(), {}},
        {"file size that cuts the pixel rows", TBmp{.Width = 2, .Height = 2, .Bits = 24, .Pixels = Direct24, .FileSize = 60}.File(), {}},
        {"width beyond the pixel rows", Patch(G8, 18, 100), {}},
        {"height beyond the pixel rows", Patch(G32, 22, 3), {}},
        {"zero height", Patch(G8, 22, 0), {}},
        {"64 bits per pixel", TBmp{.Width = 1, .Bits = 64, .Pixels = QByteArray(8, '\0')}.File(), {}},
        {"pixel data offset beyond the file", Patch(G8, 10, 1000), {}},

        // ---- truncated files ----
        {"truncated in the info header", Patch(Cut(G8, 40), 2, 40), {}},
        {"truncated in the palette", Patch(Cut(G8, 60), 2, 60), {}},
        {"truncated 8-bit rows", Patch(Cut(G8, int(G8.size()) - 3), 2, quint32(G8.size() - 3)), {}},
        {"truncated 16-bit rows", Patch(Cut(G16, int(G16.size()) - 1), 2, quint32(G16.size() - 1)), {}},
        {"truncated 32-bit rows", Patch(Cut(G32, int(G32.size()) - 1), 2, quint32(G32.size() - 1)), {}},
        {"truncated OS/2 1.x header", Patch(Cut(TBmp{.HeaderSize = 12}.File(), 20), 2, 20), {}},
    };
}

TEST(BitmapReader, TableOfCases)
{
    const QString CorpusDir = qEnvironmentVariable("KIV_BITMAP_CORPUS");    // writes the fuzzer's seeds
    for (const TCase &C : Cases()) {
        SCOPED_TRACE(C.Name);
        if (!CorpusDir.isEmpty()) {
            QFile Seed(QDir(CorpusDir).filePath(QString::fromLatin1(C.Name).toLower().replace(QRegularExpression("[^a-z0-9]+"), "-") + ".bmp"));
            ASSERT_TRUE(Seed.open(QIODevice::WriteOnly));
            Seed.write(C.File);
        }
        TAutoFree<TBitmap> Bitmap(TBitmap::Create());
        Load(Bitmap.get(), Sentinel());
        const QImage Before = Bitmap->Image();
        try {
            Load(Bitmap.get(), C.File);
            EXPECT_FALSE(C.Expected.isEmpty()) << "loaded, should be refused";
        } catch (const EInvalidGraphic &) {
            EXPECT_TRUE(C.Expected.isEmpty()) << "refused";
        } catch (const EReadError &) {
            EXPECT_TRUE(C.Expected.isEmpty()) << "refused as a stream error";
        }
        if (C.Expected.isEmpty()) {
            EXPECT_EQ(Bitmap->Image(), Before);
            EXPECT_EQ(Bitmap->Width(), 2);
            EXPECT_EQ(Bitmap->PixelFormat(), pf24bit);
            continue;
        }
        ASSERT_EQ(Bitmap->Height(), C.Expected.size());
        ASSERT_EQ(Bitmap->Width(), C.Expected[0].size());
        if (C.Format != pfDevice) {
            EXPECT_EQ(Bitmap->PixelFormat(), C.Format);
        }
        for (int Y = 0; Y < Bitmap->Height(); ++Y)
            for (int X = 0; X < Bitmap->Width(); ++X)
                EXPECT_EQ(Bitmap->Image().pixel(X, Y) & 0xFFFFFFu, C.Expected[Y][X]) << "at " << X << "," << Y;
    }
}

} // namespace
