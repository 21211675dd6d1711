#pragma once
// Regions: shapes made of pixels, as window shapes and clip areas. Rasterised the classic way, so a
// window's rounded corners are the same pixels on every Qt platform.

#include "platform/Gdi.h"

#include <QRegion>

class GdiRegion : public GdiObject
{
public:
    GdiRegion() : GdiObject(OBJ_REGION) {}
    explicit GdiRegion(const QRegion &R) : GdiObject(OBJ_REGION), Region(R) {}
    QRegion Region;
};

using HRGN = GdiRegion *;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Right and bottom exclusive; inverted corners are ordered.
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const RECT *R);
// Round rectangles and ellipses stop one pixel short of Right and Bottom, whatever the ellipse: they
// cover [Left, Right - 1) x [Top, Bottom - 1), so a W x H window is shaped with (0, 0, W + 1, H + 1).
// The corners are an ellipse of WidthEllipse x HeightEllipse, rasterised so that a window shaped by it
// has the classic corner pixels; under 2 in either direction the corners stay square.
HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int WidthEllipse, int HeightEllipse);
HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateEllipticRgnIndirect(const RECT *R);
// Dst may be one of the sources. Answers NULLREGION, SIMPLEREGION, COMPLEXREGION or RGN_ERROR.
int CombineRgn(HRGN Dst, HRGN Src1, HRGN Src2, int Mode);
int GetRgnBox(HRGN Rgn, RECT *R);
BOOL PtInRegion(HRGN Rgn, int X, int Y);
BOOL RectInRegion(HRGN Rgn, const RECT *R);
BOOL EqualRgn(HRGN A, HRGN B);
int OffsetRgn(HRGN Rgn, int DX, int DY);
BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom);
// The kind of a region as the functions above answer it.
int RegionKind(const QRegion &R);

// Device coordinates; a copy is selected (nullptr removes the clip).
int SelectClipRgn(HDC DC, HRGN Rgn);
// 1 and a copy of the clip in Rgn, or 0 when the DC has no clip.
int GetClipRgn(HDC DC, HRGN Rgn);
BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush);
BOOL FrameRgn(HDC DC, HRGN Rgn, HBRUSH Brush, int Width, int Height);
BOOL PaintRgn(HDC DC, HRGN Rgn);
