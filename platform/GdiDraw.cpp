// Shapes, pixels and block transfers: integer arithmetic straight on the 32-bit surface.
#include "platform/Gdi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

inline QRgb Pixel(COLORREF C)
{
    return 0xFF000000u | ((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu);
}

inline COLORREF Colour(QRgb P) { return RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P))); }

inline QRgb *Row(QImage *Img, int Y) { return reinterpret_cast<QRgb *>(Img->scanLine(Y)); }

inline int FloorDiv(long long A, long long B)
{
    long long Q = A / B;
    if ((A % B != 0) && ((A < 0) != (B < 0)))
        --Q;
    return int(Q);
}

inline int PositiveMod(int A, int M)
{
    int R = A % M;
    return R < 0 ? R + M : R;
}

bool Drawable(HDC DC)
{
    return DC && DC->Surface() && !DC->Surface()->isNull();
}

// A logical rectangle on the surface, corners ordered.
QRect SurfaceRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    if (Right == Left || Bottom == Top)
        return QRect();
    const QPoint P = DC->ToSurface(Left, Top);
    return QRect(P.x(), P.y(), Right - Left, Bottom - Top);
}

// Calls Fn(Bits, Stride, I) for every rectangle I of the surface rectangle R inside Clip; answers the touched
// part. The surface is detached once, not per rectangle or row.
template <class F> QRect ForClippedRects(HDC DC, const QRegion &Clip, const QRect &R, F Fn)
{
    QRect Touched;
    if (R.isEmpty())
        return Touched;
    uchar *Bits = nullptr;
    qsizetype Stride = 0;
    for (const QRect &C : Clip) {
        const QRect I = C & R;
        if (I.isEmpty())
            continue;
        if (!Bits) {
            Bits = DC->Surface()->bits();
            Stride = DC->Surface()->bytesPerLine();
        }
        Touched |= I;
        Fn(Bits, Stride, I);
    }
    return Touched;
}

// Calls Fn(Row, Y, X0, X1) for every clipped span of the surface rectangle R (X1 inclusive).
template <class F> QRect ForSpans(HDC DC, const QRegion &Clip, const QRect &R, F Fn)
{
    return ForClippedRects(DC, Clip, R, [&](uchar *Bits, qsizetype Stride, const QRect &I) {
        for (int Y = I.top(); Y <= I.bottom(); ++Y)
            Fn(reinterpret_cast<QRgb *>(Bits + Y * Stride), Y, I.left(), I.right());
    });
}

template <class F> QRect ForSpans(HDC DC, const QRect &R, F Fn)
{
    return R.isEmpty() ? QRect() : ForSpans(DC, DC->SurfaceClip(), R, Fn);
}

// A solid fill: the first row of each clipped rectangle is filled, the others are copies of it.
QRect FillSpans(HDC DC, const QRegion &Clip, const QRect &R, QRgb P)
{
    return ForClippedRects(DC, Clip, R, [&](uchar *Bits, qsizetype Stride, const QRect &I) {
        QRgb *First = reinterpret_cast<QRgb *>(Bits + I.top() * Stride) + I.left();
        std::fill_n(First, I.width(), P);
        const size_t Bytes = size_t(I.width()) * sizeof(QRgb);
        for (int Y = I.top() + 1; Y <= I.bottom(); ++Y)
            std::memcpy(reinterpret_cast<QRgb *>(Bits + Y * Stride) + I.left(), First, Bytes);
    });
}

// Clip: the DC's surface clip, when the caller paints several rectangles through it.
QRect PaintRect(HDC DC, const QRegion &Clip, const QRect &R, HBRUSH Brush)
{
    if (!Brush || Brush->Style == BS_NULL || R.isEmpty())
        return QRect();
    if (Brush->Style == BS_PATTERN && !Brush->Pattern.isNull()) {
        const QImage &Pat = Brush->Pattern;
        const QPoint O = DC->Origin();
        return ForSpans(DC, Clip, R, [&](QRgb *Line, int Y, int X0, int X1) {
            const QRgb *PatLine = reinterpret_cast<const QRgb *>(Pat.constScanLine(PositiveMod(Y - O.y(), Pat.height())));
            for (int X = X0; X <= X1; ++X)
                Line[X] = PatLine[PositiveMod(X - O.x(), Pat.width())] | 0xFF000000u;
        });
    }
    return FillSpans(DC, Clip, R, Pixel(Brush->Color));
}

QRect PaintRect(HDC DC, const QRect &R, HBRUSH Brush)
{
    if (!Brush || Brush->Style == BS_NULL || R.isEmpty())
        return QRect();
    return PaintRect(DC, DC->SurfaceClip(), R, Brush);
}

void Notify(HDC DC, const QRect &Touched)
{
    if (!Touched.isEmpty())
        DC->Changed(Touched);
}

// Puts single pixels through the clip.
class Plotter
{
public:
    explicit Plotter(HDC ADC) : DC(ADC), Clip(ADC->SurfaceClip()), Box(Clip.boundingRect()) {}

    void Put(int X, int Y, QRgb P)
    {
        if (!Box.contains(X, Y) || (Clip.rectCount() > 1 && !Clip.contains(QPoint(X, Y))))
            return;
        Row(DC->Surface(), Y)[X] = P;
        Touched |= QRect(X, Y, 1, 1);
    }

    // A square of the pen's width centred on the point.
    void PutWide(int X, int Y, int Width, QRgb P)
    {
        const int Start = -(Width - 1) / 2;
        for (int DY = 0; DY < Width; ++DY)
            for (int DX = 0; DX < Width; ++DX)
                Put(X + Start + DX, Y + Start + DY, P);
    }

    ~Plotter() { Notify(DC, Touched); }

    HDC DC;
    QRegion Clip;
    QRect Box;
    QRect Touched;
};

// On/off run lengths of the cosmetic pen styles.
std::vector<int> DashPattern(UINT Style)
{
    switch (Style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

int PenWidth(HPEN Pen)
{
    return std::max(1, int(Pen->Log.lopnWidth.X));
}

// Bresenham from (X0, Y0) towards (X1, Y1), the end point excluded; logical coordinates.
//
// After k steps the minor coordinate has moved ceil((2 Minor k - Major) / (2 Major)) times (at least 0),
// which lets a long line start where it enters the clip box; it stops where it leaves it.
void DrawLine(HDC DC, Plotter &Out, int X0, int Y0, int X1, int Y1, int Width)
{
    const HPEN Pen = DC->State.Pen;
    if (!Pen || Pen->Log.lopnStyle == PS_NULL)
        return;
    const QRgb Fore = Pixel(Pen->Log.lopnColor);
    const QRgb Back = Pixel(DC->State.BkColor);
    const bool FillGaps = DC->State.BkMode == OPAQUE;
    const std::vector<int> Dashes = Width == 1 ? DashPattern(Pen->Log.lopnStyle) : std::vector<int>();

    const QPoint Offset = DC->ToSurface(0, 0);
    long long X = (long long)X0 + Offset.x(), Y = (long long)Y0 + Offset.y();
    const long long EX = (long long)X1 + Offset.x(), EY = (long long)Y1 + Offset.y();
    const long long DX = std::llabs(EX - X), DY = std::llabs(EY - Y);
    const int SX = EX > X ? 1 : -1, SY = EY > Y ? 1 : -1;
    const bool XMajor = DX >= DY;
    const long long Steps = XMajor ? DX : DY;
    const long long Major = Steps, Minor = XMajor ? DY : DX;

    const QRect Reach = Out.Box.adjusted(-Width, -Width, Width, Width);
    if (Reach.isEmpty() || std::max(X, EX) < Reach.left() || std::min(X, EX) > Reach.right()
        || std::max(Y, EY) < Reach.top() || std::min(Y, EY) > Reach.bottom())
        return;

    // The steps whose major coordinate lies within the clip box.
    long long Skip = 0, Last = 0;
    if (XMajor) {
        Skip = SX > 0 ? Reach.left() - X : X - Reach.right();
        Last = SX > 0 ? Reach.right() - X : X - Reach.left();
    } else {
        Skip = SY > 0 ? Reach.top() - Y : Y - Reach.bottom();
        Last = SY > 0 ? Reach.bottom() - Y : Y - Reach.top();
    }
    Skip = std::clamp(Skip, 0LL, Steps);
    const long long End = std::clamp(Last + 1, Skip, Steps);
    const __int128 Twice = (__int128)2 * Minor * Skip - Major;
    const long long MinorSteps = Twice <= 0 ? 0 : (long long)((Twice + 2 * Major - 1) / (2 * Major));
    long long Err = 2 * Minor - Major + (long long)((__int128)2 * Minor * Skip - (__int128)2 * Major * MinorSteps);
    if (XMajor) {
        X += SX * Skip;
        Y += SY * MinorSteps;
    } else {
        Y += SY * Skip;
        X += SX * MinorSteps;
    }
    size_t Dash = 0;
    long long DashLeft = 0;
    if (!Dashes.empty()) {
        long long Period = 0;
        for (int D : Dashes)
            Period += D;
        DashLeft = Skip % Period;
        while (DashLeft >= Dashes[Dash])
            DashLeft -= Dashes[Dash++];
        DashLeft = Dashes[Dash] - DashLeft;
    }

    bool Entered = false;
    for (long long I = Skip; I < End; ++I) {
        if (Reach.contains(int(X), int(Y)))
            Entered = true;
        else if (Entered)
            break;
        bool On = true;
        if (!Dashes.empty()) {
            On = Dash % 2 == 0;
            if (--DashLeft == 0) {
                Dash = (Dash + 1) % Dashes.size();
                DashLeft = Dashes[Dash];
            }
        }
        if (Entered) {
            if (On)
                Out.PutWide(int(X), int(Y), Width, Fore);
            else if (FillGaps)
                Out.Put(int(X), int(Y), Back);
        }
        if (Err > 0) {
            if (XMajor) Y += SY; else X += SX;
            Err -= 2 * Major;
        }
        Err += 2 * Minor;
        if (XMajor) X += SX; else Y += SY;
    }
}

// Block transfer core: destination rectangle and source rectangle on the surfaces (each possibly given
// with negative extents), nearest-neighbour index mapping, Op(DstPixel&, SrcPixel) per pixel.
template <class Op>
BOOL Transfer(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, Op Apply)
{
    if (!Drawable(Dst) || !Drawable(Src) || W == 0 || H == 0 || WSrc == 0 || HSrc == 0)
        return FALSE;
    const bool MirrorX = (W < 0) != (WSrc < 0);
    const bool MirrorY = (H < 0) != (HSrc < 0);
    const QRect D = SurfaceRect(Dst, X, Y, X + W, Y + H);
    const QRect S = SurfaceRect(Src, XSrc, YSrc, XSrc + WSrc, YSrc + HSrc);
    const int N = D.width(), M = S.width(), NH = D.height(), MH = S.height();

    // Reading from the surface being written needs a snapshot.
    QImage Snapshot;
    const QImage *SrcImg = Src->Surface();
    if (SrcImg == Dst->Surface()) {
        Snapshot = SrcImg->copy();
        SrcImg = &Snapshot;
    }
    const QRect SrcBounds = Src->Bounds();

    // Source columns of the destination columns that can be drawn at all.
    const QRect Visible = D & Dst->SurfaceClip().boundingRect();
    if (Visible.isEmpty())
        return TRUE;
    std::vector<int> Column(static_cast<size_t>(Visible.width()));
    for (int X = Visible.left(); X <= Visible.right(); ++X) {
        const int I = X - D.left();
        const int J = int((long long)I * M / N);
        Column[size_t(X - Visible.left())] = S.left() + (MirrorX ? M - 1 - J : J);
    }
    const QRect Touched = ForSpans(Dst, Visible, [&](QRgb *Line, int DY, int X0, int X1) {
        int J = int((long long)(DY - D.top()) * MH / NH);
        const int SY = S.top() + (MirrorY ? MH - 1 - J : J);
        if (SY < SrcBounds.top() || SY > SrcBounds.bottom())
            return;
        const QRgb *SrcLine = reinterpret_cast<const QRgb *>(SrcImg->constScanLine(SY));
        for (int DX = X0; DX <= X1; ++DX) {
            const int SX = Column[size_t(DX - Visible.left())];
            if (SX >= SrcBounds.left() && SX <= SrcBounds.right())
                Apply(Line[DX], SrcLine[SX]);
        }
    });
    Notify(Dst, Touched);
    return TRUE;
}

BOOL RasterOp(HDC Dst, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc, DWORD Rop)
{
    switch (Rop) {
    case SRCCOPY:
        return Transfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, [](QRgb &D, QRgb S) { D = S | 0xFF000000u; });
    case SRCPAINT:
        return Transfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, [](QRgb &D, QRgb S) { D = D | S | 0xFF000000u; });
    case SRCAND:
        return Transfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, [](QRgb &D, QRgb S) { D = (D & S) | 0xFF000000u; });
    case SRCINVERT:
        return Transfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc,
                        [](QRgb &D, QRgb S) { D = ((D ^ S) & 0xFFFFFFu) | 0xFF000000u; });
    case NOTSRCCOPY:
        return Transfer(Dst, X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, [](QRgb &D, QRgb S) { D = ~S | 0xFF000000u; });
    default:
        return FALSE;
    }
}

// Raster operations that do not read a source.
BOOL DestinationOp(HDC Dst, int X, int Y, int W, int H, DWORD Rop)
{
    if (!Drawable(Dst) || W <= 0 || H <= 0)
        return FALSE;
    const QRect R = SurfaceRect(Dst, X, Y, X + W, Y + H);
    QRect Touched;
    switch (Rop) {
    case PATCOPY:
        Touched = PaintRect(Dst, R, Dst->State.Brush);
        break;
    case BLACKNESS:
    case WHITENESS: {
        const QRgb P = Rop == BLACKNESS ? 0xFF000000u : 0xFFFFFFFFu;
        Touched = R.isEmpty() ? QRect() : FillSpans(Dst, Dst->SurfaceClip(), R, P);
        break;
    }
    case DSTINVERT:
        Touched = ForSpans(Dst, R, [](QRgb *Line, int, int X0, int X1) {
            for (int I = X0; I <= X1; ++I)
                Line[I] ^= 0xFFFFFFu;
        });
        break;
    default:
        return FALSE;
    }
    Notify(Dst, Touched);
    return TRUE;
}

bool IsDestinationOp(DWORD Rop)
{
    return Rop == PATCOPY || Rop == BLACKNESS || Rop == WHITENESS || Rop == DSTINVERT;
}

} // namespace

int FillRect(HDC DC, const RECT *R, HBRUSH Brush)
{
    if (!Drawable(DC) || !R || !Brush)
        return 0;
    Notify(DC, PaintRect(DC, SurfaceRect(DC, R->Left, R->Top, R->Right, R->Bottom), Brush));
    return 1;
}

int FrameRect(HDC DC, const RECT *R, HBRUSH Brush)
{
    if (!Drawable(DC) || !R || !Brush)
        return 0;
    const QRect Q = SurfaceRect(DC, R->Left, R->Top, R->Right, R->Bottom);
    if (Q.isEmpty())
        return 1;
    const QRegion Clip = DC->SurfaceClip();
    QRect Touched;
    Touched |= PaintRect(DC, Clip, QRect(Q.left(), Q.top(), Q.width(), 1), Brush);
    Touched |= PaintRect(DC, Clip, QRect(Q.left(), Q.bottom(), Q.width(), 1), Brush);
    Touched |= PaintRect(DC, Clip, QRect(Q.left(), Q.top(), 1, Q.height()), Brush);
    Touched |= PaintRect(DC, Clip, QRect(Q.right(), Q.top(), 1, Q.height()), Brush);
    Notify(DC, Touched);
    return 1;
}

BOOL InvertRect(HDC DC, const RECT *R)
{
    if (!Drawable(DC) || !R)
        return FALSE;
    const QRect Q = SurfaceRect(DC, R->Left, R->Top, R->Right, R->Bottom);
    Notify(DC, ForSpans(DC, Q, [](QRgb *Line, int, int X0, int X1) {
        for (int I = X0; I <= X1; ++I)
            Line[I] ^= 0xFFFFFFu;
    }));
    return TRUE;
}

BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!Drawable(DC))
        return FALSE;
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    const HPEN Pen = DC->State.Pen;
    const bool NoPen = !Pen || Pen->Log.lopnStyle == PS_NULL;
    if (NoPen) {
        // Without an outline the shape is one pixel smaller to the right and bottom.
        Notify(DC, PaintRect(DC, SurfaceRect(DC, Left, Top, Right - 1, Bottom - 1), DC->State.Brush));
        return TRUE;
    }
    const int Width = PenWidth(Pen);
    if (Right - Left > 2 * Width && Bottom - Top > 2 * Width)
        Notify(DC, PaintRect(DC, SurfaceRect(DC, Left + Width, Top + Width, Right - Width, Bottom - Width),
                             DC->State.Brush));
    // The outline grows inwards, one closed one-pixel path per unit of pen width.
    Plotter Out(DC);
    for (int K = 0; K < Width; ++K) {
        const int L = Left + K, T = Top + K, R = Right - 1 - K, B = Bottom - 1 - K;
        if (R < L || B < T)
            break;
        if (R == L)
            DrawLine(DC, Out, L, T, L, B + 1, 1);
        else if (B == T)
            DrawLine(DC, Out, L, T, R + 1, T, 1);
        else {
            DrawLine(DC, Out, L, T, R, T, 1);
            DrawLine(DC, Out, R, T, R, B, 1);
            DrawLine(DC, Out, R, B, L, B, 1);
            DrawLine(DC, Out, L, B, L, T, 1);
        }
    }
    return TRUE;
}

BOOL MoveToEx(HDC DC, int X, int Y, POINT *Old)
{
    if (!DC)
        return FALSE;
    if (Old)
        *Old = DC->State.CurrentPos;
    DC->State.CurrentPos = POINT{X, Y};
    return TRUE;
}

BOOL LineTo(HDC DC, int X, int Y)
{
    if (!Drawable(DC))
        return FALSE;
    {
        Plotter Out(DC);
        if (DC->State.Pen)
            DrawLine(DC, Out, DC->State.CurrentPos.X, DC->State.CurrentPos.Y, X, Y, PenWidth(DC->State.Pen));
    }
    DC->State.CurrentPos = POINT{X, Y};
    return TRUE;
}

BOOL Polygon(HDC DC, const POINT *Points, int Count)
{
    if (!Drawable(DC) || !Points || Count < 2)
        return FALSE;
    // Alternate fill, sampling each pixel at its integer corner: a pixel is inside when its corner is,
    // left and top edges included.
    const HBRUSH Brush = DC->State.Brush;
    if (Brush && Brush->Style != BS_NULL && Count >= 3) {
        int MinY = Points[0].Y, MaxY = Points[0].Y;
        for (int I = 1; I < Count; ++I) {
            MinY = std::min(MinY, Points[I].Y);
            MaxY = std::max(MaxY, Points[I].Y);
        }
        const QPoint O = DC->ToSurface(0, 0);
        const QRect Box = DC->SurfaceClip().boundingRect().translated(-O);
        MinY = std::max(MinY, Box.top());
        MaxY = std::min(MaxY, Box.bottom() + 1);
        QRegion Fill;
        std::vector<int> Crossings;
        for (int Y = MinY; Y < MaxY; ++Y) {
            Crossings.clear();
            for (int I = 0; I < Count; ++I) {
                POINT A = Points[I], B = Points[(I + 1) % Count];
                if (A.Y == B.Y)
                    continue;
                if (A.Y > B.Y)
                    std::swap(A, B);
                if (Y < A.Y || Y >= B.Y)
                    continue;
                // ceil of the crossing A.X + (Y - A.Y) * (B.X - A.X) / (B.Y - A.Y)
                const long long Num = (long long)A.X * (B.Y - A.Y) + (long long)(Y - A.Y) * (B.X - A.X);
                const long long Den = B.Y - A.Y;
                Crossings.push_back(-FloorDiv(-Num, Den));
            }
            std::sort(Crossings.begin(), Crossings.end());
            for (size_t I = 0; I + 1 < Crossings.size(); I += 2) {
                const int X0 = std::max(Crossings[I], Box.left()), X1 = std::min(Crossings[I + 1], Box.right() + 1);
                if (X1 > X0)
                    Fill += QRect(X0, Y, X1 - X0, 1);
            }
        }
        const QRegion Clip = DC->SurfaceClip();
        QRect Touched;
        for (const QRect &R : Fill.translated(O))
            Touched |= PaintRect(DC, Clip, R, Brush);
        Notify(DC, Touched);
    }
    if (!DC->State.Pen)
        return TRUE;
    Plotter Out(DC);
    for (int I = 0; I < Count; ++I) {
        const POINT A = Points[I], B = Points[(I + 1) % Count];
        DrawLine(DC, Out, A.X, A.Y, B.X, B.Y, PenWidth(DC->State.Pen));
    }
    return TRUE;
}

BOOL Arc(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd)
{
    if (!Drawable(DC))
        return FALSE;
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    const HPEN Pen = DC->State.Pen;
    if (!Pen || Pen->Log.lopnStyle == PS_NULL || Right - Left < 1 || Bottom - Top < 1)
        return TRUE;
    // Twice the coordinates relative to the centre keep everything integer.
    const long long A = Right - Left - 1, B = Bottom - Top - 1;
    const int CX2 = Left + Right - 1, CY2 = Top + Bottom - 1;
    auto Inside = [&](long long X, long long Y) {
        if (A == 0 || B == 0)
            return (A == 0 ? X == 0 && std::llabs(Y) <= B : std::llabs(X) <= A && Y == 0);
        // Exact for any arc that fits a surface; only absurd boxes round.
        const long double XX = (long double)X * X, YY = (long double)Y * Y, AA = (long double)A * A,
                          BB = (long double)B * B;
        return XX * BB + YY * AA <= AA * BB;
    };
    auto Angle = [](long long X, long long Y) {
        const double T = std::atan2(double(-Y), double(X));
        return T < 0 ? T + 2 * M_PI : T;
    };
    const double Start = Angle(2LL * XStart - CX2, 2LL * YStart - CY2);
    double Sweep = Angle(2LL * XEnd - CX2, 2LL * YEnd - CY2) - Start;
    if (Sweep <= 0)
        Sweep += 2 * M_PI;
    const QRgb P = Pixel(Pen->Log.lopnColor);
    const int Width = PenWidth(Pen);
    Plotter Out(DC);
    const QPoint O = DC->ToSurface(0, 0);
    const QRect Box = Out.Box.translated(-O).adjusted(-Width, -Width, Width, Width);
    for (int Y = std::max(Top, Box.top()); Y < std::min(Bottom, Box.bottom() + 1); ++Y)
        for (int X = std::max(Left, Box.left()); X < std::min(Right, Box.right() + 1); ++X) {
            const long long PX = 2LL * X - CX2, PY = 2LL * Y - CY2;
            if (!Inside(PX, PY))
                continue;
            if (Inside(PX + 2, PY) && Inside(PX - 2, PY) && Inside(PX, PY + 2) && Inside(PX, PY - 2))
                continue;
            double D = Angle(PX, PY) - Start;
            if (D < 0)
                D += 2 * M_PI;
            if (D <= Sweep + 1e-9) {
                const QPoint S = DC->ToSurface(X, Y);
                Out.PutWide(S.x(), S.y(), Width, P);
            }
        }
    return TRUE;
}

COLORREF SetPixel(HDC DC, int X, int Y, COLORREF Color)
{
    if (!Drawable(DC))
        return CLR_INVALID;
    const QPoint S = DC->ToSurface(X, Y);
    if (!DC->SurfaceClip().contains(S))
        return CLR_INVALID;
    Row(DC->Surface(), S.y())[S.x()] = Pixel(Color);
    DC->Changed(QRect(S, QSize(1, 1)));
    return Color & 0xFFFFFF;
}

COLORREF GetPixel(HDC DC, int X, int Y)
{
    if (!Drawable(DC))
        return CLR_INVALID;
    const QPoint S = DC->ToSurface(X, Y);
    if (!DC->SurfaceClip().contains(S))
        return CLR_INVALID;
    return Colour(reinterpret_cast<const QRgb *>(DC->Surface()->constScanLine(S.y()))[S.x()]);
}

BOOL DrawFocusRect(HDC DC, const RECT *R)
{
    if (!Drawable(DC) || !R)
        return FALSE;
    const QRect Q = SurfaceRect(DC, R->Left, R->Top, R->Right, R->Bottom);
    if (Q.isEmpty())
        return TRUE;
    const QPoint O = DC->Origin();
    auto Dots = [&](QRgb *Line, int Y, int X0, int X1) {
        for (int X = X0; X <= X1; ++X)
            if (((X - O.x() + Y - O.y()) & 1) == 0)
                Line[X] ^= 0xFFFFFFu;
    };
    QRect Touched = ForSpans(DC, QRect(Q.left(), Q.top(), Q.width(), 1), Dots);
    if (Q.height() > 1)
        Touched |= ForSpans(DC, QRect(Q.left(), Q.bottom(), Q.width(), 1), Dots);
    if (Q.height() > 2) {
        Touched |= ForSpans(DC, QRect(Q.left(), Q.top() + 1, 1, Q.height() - 2), Dots);
        if (Q.width() > 1)
            Touched |= ForSpans(DC, QRect(Q.right(), Q.top() + 1, 1, Q.height() - 2), Dots);
    }
    Notify(DC, Touched);
    return TRUE;
}

BOOL BitBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop)
{
    if (IsDestinationOp(Rop))
        return DestinationOp(Dst, X, Y, Width, Height, Rop);
    if (Width <= 0 || Height <= 0)
        return FALSE;
    return RasterOp(Dst, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop);
}

BOOL StretchBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                int HeightSrc, DWORD Rop)
{
    if (IsDestinationOp(Rop)) {
        const RECT R{X, Y, X + Width, Y + Height};
        const QRect Q = SurfaceRect(Dst, R.Left, R.Top, R.Right, R.Bottom);
        const QPoint O = Dst ? Dst->ToSurface(0, 0) : QPoint();
        return DestinationOp(Dst, Q.left() - O.x(), Q.top() - O.y(), Q.width(), Q.height(), Rop);
    }
    return RasterOp(Dst, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc, Rop);
}

BOOL TransparentBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                    int HeightSrc, UINT Transparent)
{
    const QRgb Key = Pixel(Transparent) & 0xFFFFFFu;
    return Transfer(Dst, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc, [Key](QRgb &D, QRgb S) {
        if ((S & 0xFFFFFFu) != Key)
            D = S | 0xFF000000u;
    });
}

namespace {

// The whole of Image at (X, Y), each pixel put by Rule(Destination, Source).
template <class F> BOOL DrawImageWith(HDC DC, int X, int Y, const QImage &Image, F Rule)
{
    if (Image.isNull())
        return FALSE;
    QImage Source = Image.format() == QImage::Format_ARGB32 ? Image : Image.convertToFormat(QImage::Format_ARGB32);
    GdiDC SourceDC(&Source);
    return Transfer(DC, X, Y, Source.width(), Source.height(), &SourceDC, 0, 0, Source.width(), Source.height(),
                    Rule);
}

} // namespace

BOOL DrawMaskedImage(HDC DC, int X, int Y, const QImage &Image)
{
    return DrawImageWith(DC, X, Y, Image, [](QRgb &D, QRgb S) {
        if (qAlpha(S) != 0)
            D = S | 0xFF000000u;
    });
}

BOOL DrawAlphaImage(HDC DC, int X, int Y, const QImage &Image)
{
    return DrawImageWith(DC, X, Y, Image, [](QRgb &D, QRgb S) {
        const int A = qAlpha(S);
        auto Mix = [A](int F, int B) { return (F * A + B * (255 - A) + 127) / 255; };
        D = qRgb(Mix(qRed(S), qRed(D)), Mix(qGreen(S), qGreen(D)), Mix(qBlue(S), qBlue(D)));
    });
}

COLORREF GetSysColor(int Index)
{
    static const COLORREF Scheme[] = {
        0xC8C8C8, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xC56A31, 0xC8D0D4,
    };
    if (Index < 0 || Index >= int(sizeof(Scheme) / sizeof(Scheme[0])))
        return 0;
    return Scheme[Index];
}
