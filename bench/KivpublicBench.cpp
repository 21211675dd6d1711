// The skin's drawing primitives against plain Qt doing the same work in the same run: SpitDraw of a button
// picture over 300 x 40 beside QPainter::drawImage of the same nine pieces.
#include "bench/Compare.h"
#include "bench/NinePieces.h"
#include "skin/theme/Kivpublic.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SpitDraw(benchmark::State &State)
{
    TAutoFree<TBitmap> Source(TBitmap::Create());
    Source->SetImage(ButtonPicture());
    TAutoFree<TBitmap> Target(TBitmap::Create());
    Target->SetSize(300, 40);
    const std::vector<Piece> Pieces = NinePieces(74, 21, 300, 40);
    const QImage Keyed = KeyedButtonPicture();
    QImage QtTarget(300, 40, QImage::Format_RGB32);
    Compare(
        State,
        [&] { SpitDraw(Source.get(), Target->Canvas(), Rect(0, 0, 300, 40), true); },
        [&] { DrawPiecesWithQPainter(QtTarget, Keyed, Pieces); });
}
BENCHMARK(BM_SpitDraw)->Unit(benchmark::kMicrosecond);

} // namespace
