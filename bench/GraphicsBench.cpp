// Graphics against plain Qt doing the same work in the same run: loading an 8-bit bitmap file, and a
// nine-piece stretch of a 74 x 21 picture over 300 x 40 (the skin's button drawing). Each benchmark
// times both ways (Compare).
#include "bench/Compare.h"
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImgList.h"

#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

// A 240 x 240 8-bit file: 57,600 bytes of pixels plus the palette, about 60 KB.
QByteArray EightBitFile()
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(240, 240);
    QImage Pixels(240, 240, QImage::Format_RGB32);
    for (int Y = 0; Y < 240; ++Y)
        for (int X = 0; X < 240; ++X)
            Pixels.setPixel(X, Y, qRgb((X / 15) * 17, (Y / 15) * 17, ((X + Y) % 4) * 60));
    B->SetImage(Pixels);
    B->SetPixelFormat(pf8bit);
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    B->SaveToStream(S.get());
    return S->Bytes();
}

void BM_LoadEightBitBitmap(benchmark::State &State)
{
    const QByteArray File = EightBitFile();
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(File);
    TAutoFree<TBitmap> Ours(TBitmap::Create());
    QImage Theirs;
    Compare(
        State,
        [&] {
            Stream->SetPosition(0);
            Ours->LoadFromStream(Stream.get());
            benchmark::DoNotOptimize(Ours->Image().constBits());
        },
        [&] {
            Theirs.loadFromData(File, "BMP");
            benchmark::DoNotOptimize(Theirs.constBits());
        });
    State.counters["file_bytes"] = double(File.size());
}
BENCHMARK(BM_LoadEightBitBitmap)->Unit(benchmark::kMicrosecond);

// The same, against Qt producing the same 32-bit pixels a bitmap keeps (its load leaves 8-bit indices).
void BM_LoadEightBitBitmapToRgb32(benchmark::State &State)
{
    const QByteArray File = EightBitFile();
    TAutoFree<TMemoryStream> Stream(TMemoryStream::Create());
    Stream->WriteBuffer(File);
    TAutoFree<TBitmap> Ours(TBitmap::Create());
    QImage Theirs;
    Compare(
        State,
        [&] {
            Stream->SetPosition(0);
            Ours->LoadFromStream(Stream.get());
            benchmark::DoNotOptimize(Ours->Image().constBits());
        },
        [&] {
            Theirs = QImage::fromData(File, "BMP").convertToFormat(QImage::Format_RGB32);
            benchmark::DoNotOptimize(Theirs.constBits());
        });
}
BENCHMARK(BM_LoadEightBitBitmapToRgb32)->Unit(benchmark::kMicrosecond);

// ---- nine pieces --------------------------------------------------------------------------------------

struct Piece
{
    QRect Source, Dest;
    bool Corner;
};

QRect Box(int L, int T, int R, int B) { return QRect(L, T, R - L, B - T); }

// The nine pieces of a SW x SH picture over W x H: corners at their own size (the right and bottom ones a
// pixel smaller), edges and centre stretched.
std::vector<Piece> NinePieces(int SW, int SH, int W, int H)
{
    const int CL = std::max(0, std::min(SW / 2, W / 2)), CR = std::max(0, std::min(SW / 2 - 1, W / 2 - 1));
    const int CT = std::max(0, std::min(SH / 2, H / 2)), CB = std::max(0, std::min(SH / 2 - 1, H / 2 - 1));
    const int R = W, B = H;
    const QRect TL = Box(0, 0, CL, CT), BL = Box(0, B - CB, CL, B), TR = Box(R - CR, 0, R, CT),
                BR = Box(R - CR, B - CB, R, B);
    const int MidL = SW / 2, MidR = SW - SW / 2 + 1;
    return {
        {Box(0, 0, CL, CT), TL, true},
        {Box(0, SH - CB, CL, SH), BL, true},
        {Box(0, SH / 2, std::min(SW / 2, CL), SH - SH / 2), Box(0, CT, CL, B - CB), false},
        {Box(SW - CR, 0, SW, CT), TR, true},
        {Box(SW - CR, SH - CB, SW, SH), BR, true},
        {Box(SW - std::min(SW / 2 - 1, CR), SH - SH / 2, SW, SH / 2 + 2), Box(R - CR, CT, R, B - CB), false},
        {Box(MidL, 0, MidR, std::min(SH / 2, CT)), Box(CL, 0, R - CR, CT), false},
        {Box(MidL, SH / 2, MidR, SH - SH / 2), Box(CL, CT, R - CR, B - CB - 1), false},
        {Box(MidL, SH - std::min(SH / 2, CB + 1), MidR, SH), Box(CL - 1, B - CB - 1, R - CR, B), false},
    };
}

QImage ButtonPicture()
{
    QImage P(74, 21, QImage::Format_RGB32);
    P.fill(qRgb(255, 0, 255));
    QPainter Painter(&P);
    Painter.setPen(QColor(40, 60, 120));
    Painter.setBrush(QColor(120, 160, 220));
    Painter.drawRoundedRect(QRect(1, 1, 71, 18), 4, 4);
    return P;
}

// Every piece through our DC: corners with the magenta key, stretched pieces with it too.
void BM_NinePieceDC(benchmark::State &State)
{
    TAutoFree<TBitmap> Source(TBitmap::Create());
    Source->SetImage(ButtonPicture());
    TAutoFree<TBitmap> Target(TBitmap::Create());
    Target->SetSize(300, 40);
    const std::vector<Piece> Pieces = NinePieces(74, 21, 300, 40);
    QImage Keyed = ButtonPicture().convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Keyed.height(); ++Y)
        for (int X = 0; X < Keyed.width(); ++X)
            if ((Keyed.pixel(X, Y) & 0xFFFFFFu) == 0xFF00FFu)
                Keyed.setPixel(X, Y, 0);
    QImage QtTarget(300, 40, QImage::Format_RGB32);
    HDC Src = Source->Canvas()->Handle(), Dst = Target->Canvas()->Handle();
    Compare(
        State,
        [&] {
            for (const Piece &P : Pieces)
                if (!P.Dest.isEmpty() && !P.Source.isEmpty())
                    TransparentBlt(Dst, P.Dest.x(), P.Dest.y(), P.Dest.width(), P.Dest.height(), Src, P.Source.x(),
                                   P.Source.y(), P.Source.width(), P.Source.height(), 0xFF00FF);
        },
        [&] {
            QPainter Painter(&QtTarget);
            for (const Piece &P : Pieces)
                if (!P.Dest.isEmpty() && !P.Source.isEmpty())
                    Painter.drawImage(P.Dest, Keyed, P.Source);
        });
}
BENCHMARK(BM_NinePieceDC)->Unit(benchmark::kMicrosecond);

// The same nine pieces the way the skin draws them with the canvas: corners cut into bitmaps and drawn
// through masked image lists, stretched pieces copied into bitmaps of their size and drawn transparent.
void BM_NinePieceCanvas(benchmark::State &State)
{
    TAutoFree<TBitmap> Source(TBitmap::Create());
    Source->SetImage(ButtonPicture());
    TAutoFree<TBitmap> Target(TBitmap::Create());
    Target->SetSize(300, 40);
    const std::vector<Piece> Pieces = NinePieces(74, 21, 300, 40);
    QImage Keyed = ButtonPicture().convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Keyed.height(); ++Y)
        for (int X = 0; X < Keyed.width(); ++X)
            if ((Keyed.pixel(X, Y) & 0xFFFFFFu) == 0xFF00FFu)
                Keyed.setPixel(X, Y, 0);
    QImage QtTarget(300, 40, QImage::Format_RGB32);
    auto ToRect = [](const QRect &R) { return Rect(R.left(), R.top(), R.right() + 1, R.bottom() + 1); };
    Compare(
        State,
        [&] {
            for (const Piece &P : Pieces) {
                if (P.Dest.isEmpty() || P.Source.isEmpty())
                    continue;
                TAutoFree<TBitmap> Part(TBitmap::Create());
                Part->SetSize(P.Dest.width(), P.Dest.height());
                if (P.Corner) {
                    Part->Canvas()->CopyRect(Rect(0, 0, P.Dest.width(), P.Dest.height()), Source->Canvas(),
                                             ToRect(P.Source));
                    TAutoFree<TCustomImageList> List(TCustomImageList::CreateSize(P.Dest.width(), P.Dest.height()));
                    List->AddMasked(Part.get(), clFuchsia);
                    List->Draw(Target->Canvas(), P.Dest.x(), P.Dest.y(), 0);
                } else {
                    Part->Canvas()->CopyRect(Rect(0, 0, P.Dest.width(), P.Dest.height()), Source->Canvas(),
                                             ToRect(P.Source));
                    Part->SetTransparent(true);
                    Part->SetTransparentColor(clFuchsia);
                    Target->Canvas()->Draw(P.Dest.x(), P.Dest.y(), Part.get());
                }
            }
        },
        [&] {
            QPainter Painter(&QtTarget);
            for (const Piece &P : Pieces)
                if (!P.Dest.isEmpty() && !P.Source.isEmpty())
                    Painter.drawImage(P.Dest, Keyed, P.Source);
        });
}
BENCHMARK(BM_NinePieceCanvas)->Unit(benchmark::kMicrosecond);

} // namespace
