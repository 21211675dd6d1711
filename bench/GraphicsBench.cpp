// Graphics against plain Qt doing the same work in the same run: loading an 8-bit bitmap file, and a
// nine-piece stretch of a 74 x 21 picture over 300 x 40 (the skin's button drawing). Each benchmark
// times both ways (Compare).
#include "bench/Compare.h"
#include "bench/NinePieces.h"
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"

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

// Every piece through our DC: corners with the magenta key, stretched pieces with it too.
void BM_NinePieceDC(benchmark::State &State)
{
    TAutoFree<TBitmap> Source(TBitmap::Create());
    Source->SetImage(ButtonPicture());
    TAutoFree<TBitmap> Target(TBitmap::Create());
    Target->SetSize(300, 40);
    const std::vector<Piece> Pieces = NinePieces(74, 21, 300, 40);
    const QImage Keyed = KeyedButtonPicture();
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
        [&] { DrawPiecesWithQPainter(QtTarget, Keyed, Pieces); });
}
BENCHMARK(BM_NinePieceDC)->Unit(benchmark::kMicrosecond);

} // namespace
