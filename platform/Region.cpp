// Regions: QRegions in pixel coordinates behind HRGN handles, with the classic rasterisation of rounded
// rectangles and ellipses.
#include "platform/Region.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Coordinates beyond this are clamped, so extents never overflow.
constexpr int CoordLimit = 1 << 27;

int Clamp(int V) { return std::clamp(V, -CoordLimit, CoordLimit); }

// The pixels [Left, Right) x [Top, Bottom), corners ordered.
QRect OrderedRect(int Left, int Top, int Right, int Bottom)
{
    Left = Clamp(Left), Top = Clamp(Top), Right = Clamp(Right), Bottom = Clamp(Bottom);
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    return QRect(Left, Top, Right - Left, Bottom - Top);
}

// Builds a region from rows given top to bottom, merging rows with the same span into one rectangle so
// the result is in QRegion's canonical banded form (EqualRgn compares shapes, not construction).
class RowRegion
{
public:
    void AddRows(int Y0, int Y1, int X0, int X1)
    {
        if (Y1 <= Y0 || X1 <= X0)
            return;
        if (!FRects.empty()) {
            QRect &Last = FRects.back();
            if (Last.left() == X0 && Last.right() + 1 == X1 && Last.bottom() + 1 == Y0) {
                Last.setBottom(Y1 - 1);
                return;
            }
        }
        FRects.emplace_back(X0, Y0, X1 - X0, Y1 - Y0);
    }
    QRegion Region() const
    {
        QRegion R;
        R.setRects(FRects.data(), int(FRects.size()));
        return R;
    }

private:
    std::vector<QRect> FRects;
};

// Round and elliptic shapes are fitted to the box one pixel short of Right and Bottom, as the filled
// shapes drawn without a pen are, so that (0, 0, W + 1, H + 1) shapes a W x H window with all four corners
// alike. A box one pixel wide or high keeps nothing.
QRect ShapeBox(int Left, int Top, int Right, int Bottom)
{
    const QRect R = OrderedRect(Left, Top, Right, Bottom);
    return QRect(R.left(), R.top(), std::max(R.width() - 1, 0), std::max(R.height() - 1, 0));
}

// Rounded corners, the rule: the corner is a quarter of an ellipse of EW x EH pixels (clamped to the
// box; under 2 in either direction the box stays square). A pixel of the top-left quarter belongs to the
// shape when its centre lies inside or on that ellipse; the other three corners are its mirror images,
// so the shape is symmetric left/right and top/bottom. In doubled integer coordinates the test for
// pixel (x, y) of the corner box is
//   (2x + 1 - EW)^2 * EH^2 + (2y + 1 - EH)^2 * EW^2 <= EW^2 * EH^2,
// exact on every platform. Each row is then one span [Inset, Width - Inset).
QRegion RoundRect(const QRect &Box, int EW, int EH)
{
    const int W = Box.width(), H = Box.height();
    if (W <= 0 || H <= 0)
        return QRegion();
    EW = std::min(EW, W);
    EH = std::min(EH, H);
    if (EW < 2 || EH < 2)
        return QRegion(Box);

    // Insets of the rows of the upper half of the corner box; a row with no pixel inside gets the widest
    // inset, which empties it when the ellipse spans the whole width.
    const int Rows = EH / 2, MaxInset = (EW + 1) / 2;
    // Axes up to the coordinate limit square to beyond 64 bits on both sides of the test.
    const __int128 A2 = __int128(EW) * EW, B2 = __int128(EH) * EH;
    auto Inside = [&](int X, int Y) {
        const __int128 DX = 2 * std::int64_t(X) + 1 - EW, DY = 2 * std::int64_t(Y) + 1 - EH;
        return DX * DX * B2 + DY * DY * A2 <= A2 * B2;
    };
    std::vector<int> Inset(Rows);
    int X = 0;
    for (int Y = Rows - 1; Y >= 0; --Y) {     // insets only grow towards the top edge
        while (X < MaxInset && !Inside(X, Y))
            ++X;
        Inset[Y] = X;
    }

    RowRegion Out;
    const int L = Box.left(), T = Box.top();
    auto AddRow = [&](int Y0, int Y1, int In) { Out.AddRows(T + Y0, T + Y1, L + In, L + W - In); };
    for (int Y = 0; Y < Rows; ++Y)
        AddRow(Y, Y + 1, Inset[Y]);
    AddRow(Rows, H - Rows, 0);
    for (int Y = Rows - 1; Y >= 0; --Y)
        AddRow(H - 1 - Y, H - Y, Inset[Y]);
    return Out.Region();
}

} // namespace

int RegionKind(const QRegion &R)
{
    if (R.isEmpty())
        return NULLREGION;
    return R.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    return new GdiRegion(QRegion(OrderedRect(Left, Top, Right, Bottom)));
}

HRGN CreateRectRgnIndirect(const RECT *R)
{
    return R ? CreateRectRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int WidthEllipse, int HeightEllipse)
{
    return new GdiRegion(RoundRect(ShapeBox(Left, Top, Right, Bottom), WidthEllipse, HeightEllipse));
}

HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom)
{
    const QRect Box = ShapeBox(Left, Top, Right, Bottom);
    return new GdiRegion(RoundRect(Box, Box.width(), Box.height()));
}

HRGN CreateEllipticRgnIndirect(const RECT *R)
{
    return R ? CreateEllipticRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

int CombineRgn(HRGN Dst, HRGN Src1, HRGN Src2, int Mode)
{
    if (!Dst || !Src1 || (Mode != RGN_COPY && !Src2))
        return RGN_ERROR;
    QRegion R;
    switch (Mode) {
    case RGN_AND: R = Src1->Region.intersected(Src2->Region); break;
    case RGN_OR: R = Src1->Region.united(Src2->Region); break;
    case RGN_XOR: R = Src1->Region.xored(Src2->Region); break;
    case RGN_DIFF: R = Src1->Region.subtracted(Src2->Region); break;
    case RGN_COPY: R = Src1->Region; break;
    default: return RGN_ERROR;
    }
    Dst->Region = R;
    return RegionKind(R);
}

int GetRgnBox(HRGN Rgn, RECT *R)
{
    if (!Rgn || !R)
        return RGN_ERROR;
    const QRect B = Rgn->Region.boundingRect();
    *R = B.isEmpty() ? RECT{} : RECT{B.left(), B.top(), B.right() + 1, B.bottom() + 1};
    return RegionKind(Rgn->Region);
}

BOOL PtInRegion(HRGN Rgn, int X, int Y)
{
    return Rgn && Rgn->Region.contains(QPoint(X, Y));
}

BOOL RectInRegion(HRGN Rgn, const RECT *R)
{
    return Rgn && R && Rgn->Region.intersects(OrderedRect(R->Left, R->Top, R->Right, R->Bottom));
}

BOOL EqualRgn(HRGN A, HRGN B)
{
    return A && B && A->Region == B->Region;
}

int OffsetRgn(HRGN Rgn, int DX, int DY)
{
    if (!Rgn)
        return RGN_ERROR;
    Rgn->Region.translate(DX, DY);
    return RegionKind(Rgn->Region);
}

BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom)
{
    if (!Rgn)
        return FALSE;
    Rgn->Region = QRegion(OrderedRect(Left, Top, Right, Bottom));
    return TRUE;
}

// ---- regions on device contexts -------------------------------------------------------------------------

int SelectClipRgn(HDC DC, HRGN Rgn)
{
    if (!DC)
        return RGN_ERROR;
    return SelectClipRegion(DC, Rgn ? &Rgn->Region : nullptr);
}

int GetClipRgn(HDC DC, HRGN Rgn)
{
    if (!DC || !Rgn)
        return -1;
    if (!DC->State.HasClip)
        return 0;
    Rgn->Region = DC->State.Clip;
    return 1;
}

BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush)
{
    if (!DC || !Rgn || !Brush)
        return FALSE;
    for (const QRect &R : Rgn->Region) {
        const RECT Part{R.left(), R.top(), R.right() + 1, R.bottom() + 1};
        FillRect(DC, &Part, Brush);
    }
    return TRUE;
}

BOOL FrameRgn(HDC DC, HRGN Rgn, HBRUSH Brush, int Width, int Height)
{
    if (!DC || !Rgn || !Brush || Width < 1 || Height < 1)
        return FALSE;
    // The frame is what the region loses when every pixel closer than Width (Height) to its outside is
    // taken away. Beyond the region's own size nothing inner is left.
    const QRegion &R = Rgn->Region;
    const QRect Box = R.boundingRect();
    QRegion Inner = R;
    for (int D = 1; D <= std::min(Width, Box.width()) && !Inner.isEmpty(); ++D)
        Inner &= R.translated(D, 0) & R.translated(-D, 0);
    for (int D = 1; D <= std::min(Height, Box.height()) && !Inner.isEmpty(); ++D)
        Inner &= R.translated(0, D) & R.translated(0, -D);
    GdiRegion Frame(R.subtracted(Inner));
    return FillRgn(DC, &Frame, Brush);
}

BOOL PaintRgn(HDC DC, HRGN Rgn)
{
    if (!DC)
        return FALSE;
    return FillRgn(DC, Rgn, DC->State.Brush);
}
