// The skin's drawing primitives against plain Qt doing the same work in the same run: SpitDraw of a button
// picture over 300 x 40 beside QPainter::drawImage of the same nine pieces.
#include "bench/Compare.h"
#include "bench/NinePieces.h"
#include "skin/theme/Kivpublic.h"

#include <QPainter>
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
        [&] {
            QPainter Painter(&QtTarget);
            for (const Piece &P : Pieces)
                if (!P.Dest.isEmpty() && !P.Source.isEmpty())
                    Painter.drawImage(P.Dest, Keyed, P.Source);
        });
}
BENCHMARK(BM_SpitDraw)->Unit(benchmark::kMicrosecond);

} // namespace
