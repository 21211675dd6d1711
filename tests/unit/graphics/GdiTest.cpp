// The device context: every drawing operation checked pixel by pixel on small surfaces.
#include "tests/unit/graphics/Surface.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = 0xFFFFFF, Black = 0x000000, Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

struct RectCase
{
    RECT Given;
    RECT Filled;    // empty: nothing
};

TEST(Gdi, FillRectOrdersCornersAndClipsToTheSurface)
{
    const RectCase Cases[] = {
        {{1, 1, 4, 3}, {1, 1, 4, 3}},
        {{4, 3, 1, 1}, {1, 1, 4, 3}},       // both corners swapped
        {{1, 5, 3, 1}, {1, 1, 3, 5}},       // bottom-up, as a vertical bar's top rows are given
        {{2, 2, 2, 5}, {}},                 // no width
        {{-3, -3, 2, 2}, {0, 0, 2, 2}},
        {{5, 4, 20, 20}, {5, 4, 8, 6}},
    };
    for (const RectCase &C : Cases) {
        TestSurface S(8, 6);
        HBRUSH B = CreateSolidBrush(Black);
        FillRect(S.DC, &C.Given, B);
        DeleteObject(B);
        const RECT &F = C.Filled;
        EXPECT_EQ(S.Changed(White), F) << C.Given.Left << "," << C.Given.Top << "," << C.Given.Right << "," << C.Given.Bottom;
        EXPECT_EQ(S.Count(Black), (F.Right - F.Left) * (F.Bottom - F.Top));
    }
}

TEST(Gdi, FrameRectAndRectangle)
{
    TestSurface S(7, 6);
    HBRUSH B = CreateSolidBrush(Black);
    const RECT R{1, 1, 6, 5};
    FrameRect(S.DC, &R, B);
    EXPECT_EQ(S.Mask(Black), Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}));

    TestSurface T(7, 6);
    HBRUSH Fill = CreateSolidBrush(Red);
    SelectObject(T.DC, Fill);
    Rectangle(T.DC, 6, 5, 1, 1);    // corners in any order
    EXPECT_EQ(T.Mask(Black), Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}));
    EXPECT_EQ(T.Mask(Red), Rows({".......", ".......", "..###..", "..###..", ".......", "......."}));

    // Without an outline the filled shape loses its right column and bottom row.
    TestSurface U(7, 6);
    SelectObject(U.DC, Fill);
    SelectObject(U.DC, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    Rectangle(U.DC, 1, 1, 6, 5);
    EXPECT_EQ(U.Mask(Red), Rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));
    DeleteObject(B);
    DeleteObject(Fill);
}

TEST(Gdi, LinesExcludeTheirEndPoint)
{
    struct Case
    {
        POINT From, To;
        const char *Rows;
    } Cases[] = {
        {{0, 0}, {4, 0}, "####.|.....|.....|....."},
        {{4, 0}, {0, 0}, ".####|.....|.....|....."},
        {{1, 0}, {1, 3}, ".#...|.#...|.#...|....."},
        {{0, 0}, {3, 3}, "#....|.#...|..#..|....."},
        {{0, 3}, {4, 1}, ".....|.....|..##.|##..."},
        {{2, 2}, {2, 2}, ".....|.....|.....|....."},
    };
    for (const Case &C : Cases) {
        TestSurface S(5, 4);
        MoveToEx(S.DC, C.From.X, C.From.Y, nullptr);
        LineTo(S.DC, C.To.X, C.To.Y);
        std::string Expected = C.Rows;
        for (char &Ch : Expected)
            if (Ch == '|')
                Ch = '\n';
        EXPECT_EQ(S.Mask(Black), Expected + "\n") << C.From.X << "," << C.From.Y << " -> " << C.To.X << "," << C.To.Y;
        POINT P;
        MoveToEx(S.DC, 0, 0, &P);
        EXPECT_EQ(P, C.To);
    }
}

TEST(Gdi, DottedPenAlternatesRuns)
{
    TestSurface S(12, 1);
    HPEN P = CreatePen(PS_DOT, 1, Red);
    SelectObject(S.DC, P);
    SetBkMode(S.DC, TRANSPARENT);
    MoveToEx(S.DC, 0, 0, nullptr);
    LineTo(S.DC, 12, 0);
    EXPECT_EQ(S.Mask(Red), "###...###...\n");
    // Starting outside the surface keeps the dashes in step.
    TestSurface T(12, 1);
    SelectObject(T.DC, P);
    MoveToEx(T.DC, -7, 0, nullptr);
    LineTo(T.DC, 12, 0);
    EXPECT_EQ(T.Mask(Red), "##...###...#\n");
    SelectObject(T.DC, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    SelectObject(S.DC, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(P);
}

TEST(Gdi, PolygonFillsInsideAndOutlinesWithThePen)
{
    // Without a pen, a rectangular polygon fills exactly its half-open area.
    TestSurface S(7, 6);
    HBRUSH Fill = CreateSolidBrush(Red);
    SelectObject(S.DC, Fill);
    SelectObject(S.DC, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    const POINT Box[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    Polygon(S.DC, Box, 4);
    EXPECT_EQ(S.Mask(Red), Rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));

    // A filled triangle (the arrow of a button): outline over the fill, nothing outside its box.
    TestSurface T(9, 6);
    SelectObject(T.DC, Fill);
    const POINT Arrow[] = {{0, 0}, {8, 0}, {4, 4}};
    Polygon(T.DC, Arrow, 3);
    EXPECT_EQ(T.Mask(Black), Rows({"#########", ".#.....#.", "..#...#..", "...#.#...", "....#....", "........."}));
    EXPECT_EQ(T.Mask(Red), Rows({".........", "..#####..", "...###...", "....#....", ".........", "........."}));
    DeleteObject(Fill);
}

TEST(Gdi, ArcRunsCounterClockwiseBetweenRadials)
{
    TestSurface Full(9, 9);
    Arc(Full.DC, 0, 0, 9, 9, 9, 4, 9, 4);   // equal radials: the whole ellipse
    EXPECT_EQ(Full.At(4, 0), Black);
    EXPECT_EQ(Full.At(0, 4), Black);
    EXPECT_EQ(Full.At(8, 4), Black);
    EXPECT_EQ(Full.At(4, 8), Black);
    EXPECT_EQ(Full.At(4, 4), White);
    EXPECT_EQ(Full.At(0, 0), White);
    // Symmetric under both mirrors.
    for (int Y = 0; Y < 9; ++Y)
        for (int X = 0; X < 9; ++X) {
            EXPECT_EQ(Full.At(X, Y), Full.At(8 - X, Y));
            EXPECT_EQ(Full.At(X, Y), Full.At(X, 8 - Y));
        }

    // From the right (0 degrees) to the top (90 degrees): the top-right quarter only.
    TestSurface Quarter(9, 9);
    Arc(Quarter.DC, 0, 0, 9, 9, 9, 4, 4, 0);
    EXPECT_EQ(Quarter.At(8, 4), Black);
    EXPECT_EQ(Quarter.At(4, 0), Black);
    const RECT Box = Quarter.Changed(White);
    EXPECT_GE(Box.Left, 4);
    EXPECT_LE(Box.Bottom, 5);
    // The other way round it is the three other quarters.
    TestSurface Rest(9, 9);
    Arc(Rest.DC, 0, 0, 9, 9, 4, 0, 9, 4);
    EXPECT_EQ(Rest.At(0, 4), Black);
    EXPECT_EQ(Rest.At(4, 8), Black);
    EXPECT_EQ(Rest.At(7, 1), White);
}

TEST(Gdi, PixelsHonourOriginAndClip)
{
    TestSurface S(4, 4);
    EXPECT_EQ(SetPixel(S.DC, 1, 2, Red), Red);
    EXPECT_EQ(S.At(1, 2), Red);
    EXPECT_EQ(GetPixel(S.DC, 1, 2), Red);
    EXPECT_EQ(GetPixel(S.DC, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(S.DC, -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(S.DC, 0, 9, Red), CLR_INVALID);

    SetViewportOrgEx(S.DC, 2, 1, nullptr);
    SetPixel(S.DC, 0, 0, Blue);
    EXPECT_EQ(S.At(2, 1), Blue);
    IntersectClipRect(S.DC, 0, 0, 1, 1);
    EXPECT_EQ(GetPixel(S.DC, 1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(S.DC, 1, 0, Blue), CLR_INVALID);
    EXPECT_EQ(S.At(3, 1), White);
}

TEST(Gdi, SaveAndRestoreBringBackOriginClipObjectsAndColours)
{
    TestSurface S(8, 8);
    HBRUSH Fill = CreateSolidBrush(Red);
    const int Level = SaveDC(S.DC);
    EXPECT_EQ(Level, 1);
    SetViewportOrgEx(S.DC, -3, 2, nullptr);
    IntersectClipRect(S.DC, 3, 0, 5, 2);       // logical: surface (0, 2) .. (2, 4)
    SetTextColor(S.DC, Blue);
    HBRUSH Old = SelectObject(S.DC, Fill);
    EXPECT_EQ(SaveDC(S.DC), 2);
    SetViewportOrgEx(S.DC, 0, 0, nullptr);
    EXPECT_TRUE(RestoreDC(S.DC, -1));
    POINT Org;
    GetViewportOrgEx(S.DC, &Org);
    EXPECT_EQ(Org, (POINT{-3, 2}));

    const RECT All{-100, -100, 100, 100};
    FillRect(S.DC, &All, Fill);
    EXPECT_EQ(S.Changed(White), (RECT{0, 2, 2, 4}));

    EXPECT_TRUE(RestoreDC(S.DC, Level));
    EXPECT_FALSE(RestoreDC(S.DC, 1));
    GetViewportOrgEx(S.DC, &Org);
    EXPECT_EQ(Org, (POINT{0, 0}));
    EXPECT_EQ(GetTextColor(S.DC), Black);
    EXPECT_EQ(GetCurrentObject(S.DC, OBJ_BRUSH), Old);
    FillRect(S.DC, &All, Fill);
    EXPECT_EQ(S.Count(Red), 64);
    DeleteObject(Fill);
}

TEST(Gdi, DeletingASelectedObjectKeepsTheDcDrawing)
{
    TestSurface S(3, 3);
    HBRUSH Fill = CreateSolidBrush(Green);
    SelectObject(S.DC, Fill);
    SaveDC(S.DC);
    DeleteObject(Fill);
    Rectangle(S.DC, 0, 0, 3, 3);
    RestoreDC(S.DC, -1);
    EXPECT_EQ(S.At(1, 1), Green);
}

TEST(Gdi, PatternBrushTilesFromTheDeviceOrigin)
{
    QImage Tile(2, 1, QImage::Format_RGB32);
    Tile.setPixel(0, 0, qRgb(255, 0, 0));
    Tile.setPixel(1, 0, qRgb(0, 0, 255));
    HBRUSH B = CreatePatternBrush(Tile);
    TestSurface S(4, 2);
    SetViewportOrgEx(S.DC, 1, 0, nullptr);     // the pattern stays put when the viewport moves
    const RECT R{-1, 0, 3, 2};
    FillRect(S.DC, &R, B);
    EXPECT_EQ(S.Mask(Red), Rows({"#.#.", "#.#."}));
    DeleteObject(B);
}

TEST(Gdi, BitBltCopiesAndLeavesMissingSourcePixels)
{
    TestSurface Src(2, 2);
    SetPixel(Src.DC, 0, 0, Red);
    SetPixel(Src.DC, 1, 1, Blue);
    TestSurface Dst(4, 3, Green);
    EXPECT_TRUE(BitBlt(Dst.DC, 1, 1, 3, 2, Src.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(Dst.At(1, 1), Red);
    EXPECT_EQ(Dst.At(2, 2), Blue);
    EXPECT_EQ(Dst.At(2, 1), White);
    EXPECT_EQ(Dst.At(3, 1), Green);     // the source has no column 2
    EXPECT_EQ(Dst.At(0, 0), Green);
    EXPECT_FALSE(BitBlt(Dst.DC, 0, 0, -2, 2, Src.DC, 0, 0, SRCCOPY));

    // Overlapping copy within one surface reads the pixels as they were.
    TestSurface Row(5, 1);
    for (int X = 0; X < 5; ++X)
        SetPixel(Row.DC, X, 0, RGB(BYTE(X * 10), 0, 0));
    BitBlt(Row.DC, 1, 0, 4, 1, Row.DC, 0, 0, SRCCOPY);
    for (int X = 1; X < 5; ++X)
        EXPECT_EQ(Row.At(X, 0), RGB(BYTE((X - 1) * 10), 0, 0));
}

TEST(Gdi, StretchBltIsNearestNeighbourAndMirrorsOnNegativeExtents)
{
    TestSurface Src(3, 1);
    SetPixel(Src.DC, 0, 0, Red);
    SetPixel(Src.DC, 1, 0, Green);
    SetPixel(Src.DC, 2, 0, Blue);
    struct Case
    {
        int X, W, SX, SW;
        std::vector<COLORREF> Row;
    } Cases[] = {
        {0, 6, 0, 3, {Red, Red, Green, Green, Blue, Blue}},
        {0, 3, 0, 3, {Red, Green, Blue, White, White, White}},
        {0, 2, 0, 3, {Red, Green, White, White, White, White}},      // i * 3 / 2: columns 0 and 1
        {0, 4, 0, 3, {Red, Red, Green, Blue, White, White}},         // i * 3 / 4: 0, 0, 1, 2
        {3, -3, 0, 3, {Blue, Green, Red, White, White, White}},      // right-to-left destination
        {0, 3, 3, -3, {Blue, Green, Red, White, White, White}},      // right-to-left source
        {3, -3, 3, -3, {Red, Green, Blue, White, White, White}},     // both: no mirror
    };
    for (const Case &C : Cases) {
        TestSurface Dst(6, 1);
        EXPECT_TRUE(StretchBlt(Dst.DC, C.X, 0, C.W, 1, Src.DC, C.SX, 0, C.SW, 1, SRCCOPY));
        for (int X = 0; X < 6; ++X)
            EXPECT_EQ(Dst.At(X, 0), C.Row[size_t(X)]) << "case X=" << C.X << " W=" << C.W << " SW=" << C.SW << " at " << X;
    }
    // Bottom-up destination flips rows.
    TestSurface Col(1, 2);
    SetPixel(Col.DC, 0, 0, Red);
    SetPixel(Col.DC, 0, 1, Blue);
    TestSurface Dst(1, 4);
    StretchBlt(Dst.DC, 0, 4, 1, -4, Col.DC, 0, 0, 1, 2, SRCCOPY);
    EXPECT_EQ(Dst.At(0, 0), Blue);
    EXPECT_EQ(Dst.At(0, 1), Blue);
    EXPECT_EQ(Dst.At(0, 2), Red);
    EXPECT_EQ(Dst.At(0, 3), Red);
    // An empty source draws nothing.
    EXPECT_FALSE(StretchBlt(Dst.DC, 0, 0, 1, 4, Col.DC, 0, 0, 0, 2, SRCCOPY));
    EXPECT_EQ(Dst.At(0, 0), Blue);
}

TEST(Gdi, RasterOperationsCombineSourceDestinationAndBrush)
{
    const COLORREF Src = 0x0F0F33, Dst = 0x00FF11;
    const struct
    {
        DWORD Rop;
        COLORREF Result;
    } Cases[] = {
        {SRCCOPY, Src},          {SRCAND, Src & Dst},   {SRCPAINT, Src | Dst},   {SRCINVERT, Src ^ Dst},
        {NOTSRCCOPY, ~Src & 0xFFFFFF}, {DSTINVERT, ~Dst & 0xFFFFFF}, {PATCOPY, Red},    {BLACKNESS, Black},
        {WHITENESS, White},
    };
    for (const auto &C : Cases) {
        TestSurface S(1, 1, Src), D(2, 1, Dst);
        HBRUSH B = CreateSolidBrush(Red);
        SelectObject(D.DC, B);
        EXPECT_TRUE(BitBlt(D.DC, 0, 0, 1, 1, S.DC, 0, 0, C.Rop)) << std::hex << C.Rop;
        EXPECT_EQ(D.At(0, 0), C.Result) << std::hex << C.Rop;
        EXPECT_EQ(D.At(1, 0), Dst);
        SelectObject(D.DC, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DeleteObject(B);
    }
    TestSurface S(3, 1, 0x102030);
    const RECT R{2, 0, 1, 1};
    InvertRect(S.DC, &R);
    EXPECT_EQ(S.At(1, 0), 0xEFDFCFu);
    EXPECT_EQ(S.At(2, 0), 0x102030u);
}

TEST(Gdi, TransparentBltLeavesOutTheKeyColour)
{
    const COLORREF Magenta = 0xFF00FF;
    TestSurface Src(2, 1, Magenta);
    SetPixel(Src.DC, 1, 0, Red);
    TestSurface Dst(4, 1, Green);
    TransparentBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, 2, 1, Magenta);
    EXPECT_EQ(Dst.At(0, 0), Green);
    EXPECT_EQ(Dst.At(1, 0), Green);
    EXPECT_EQ(Dst.At(2, 0), Red);
    EXPECT_EQ(Dst.At(3, 0), Red);
}

TEST(Gdi, FocusRectIsADottedXorFrameThatUndoesItself)
{
    TestSurface S(6, 5);
    const QImage Before = S.Image.copy();
    const RECT R{0, 0, 6, 5};
    DrawFocusRect(S.DC, &R);
    EXPECT_EQ(S.Mask(Black), Rows({"#.#.#.", ".....#", "#.....", ".....#", "#.#.#."}));
    DrawFocusRect(S.DC, &R);
    EXPECT_EQ(S.Image, Before);
}

TEST(Gdi, ClipRectanglesAreFixedInDeviceSpace)
{
    TestSurface S(6, 6);
    IntersectClipRect(S.DC, 1, 1, 4, 4);
    ExcludeClipRect(S.DC, 2, 2, 3, 3);
    RECT Box;
    EXPECT_EQ(GetClipBox(S.DC, &Box), COMPLEXREGION);
    EXPECT_EQ(Box, (RECT{1, 1, 4, 4}));
    SetViewportOrgEx(S.DC, 1, 1, nullptr);          // moving the origin later does not move the clip
    HBRUSH B = CreateSolidBrush(Black);
    const RECT All{-10, -10, 10, 10};
    FillRect(S.DC, &All, B);
    EXPECT_EQ(S.Mask(Black), Rows({"......", ".###..", ".#.#..", ".###..", "......", "......"}));
    DeleteObject(B);
}

TEST(Gdi, HugeShapesCostOnlyWhatShows)
{
    // Each of these would take minutes pixel by pixel; only the visible part is worked on.
    TestSurface S(8, 8);
    HBRUSH Fill = CreateSolidBrush(Red);
    SelectObject(S.DC, Fill);
    MoveToEx(S.DC, -400000000, 3, nullptr);
    LineTo(S.DC, 400000000, 3);
    EXPECT_EQ(S.At(0, 3), Black);
    EXPECT_EQ(S.At(7, 3), Black);
    MoveToEx(S.DC, 2000000000, 2000000005, nullptr);    // diagonal, entering at (5, 5) from far away
    LineTo(S.DC, 5 - 7, 5 - 7);
    EXPECT_EQ(S.At(5, 5), Black);
    EXPECT_EQ(S.At(0, 0), Black);
    EXPECT_EQ(S.At(1, 0), White);
    const POINT Big[] = {{-300000000, -300000000}, {300000000, -300000000}, {0, 300000000}};
    Polygon(S.DC, Big, 3);
    EXPECT_EQ(S.At(4, 4), Red);
    Arc(S.DC, -300000000, 4, 300000000, 600000000, 0, 0, 0, 0);
    EXPECT_EQ(S.At(0, 5), Black);          // the top of a flat ellipse of even width
    EXPECT_EQ(S.At(0, 6), Red);
    TestSurface Src(2, 1);
    SetPixel(Src.DC, 1, 0, Blue);
    StretchBlt(S.DC, -500000000, 0, 1000000000, 1, Src.DC, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(S.At(0, 0), Blue);          // the middle of the stretch: source column 1
    DeleteObject(Fill);
}

TEST(Gdi, FontFacesMapToInstalledFamilies)
{
    for (const char *Face : {"MS Sans Serif", "Tahoma"}) {
        const QString Family = SubstituteFontFace(QString::fromLatin1(Face));
        EXPECT_NE(Family, QString::fromLatin1(Face));
        LOGFONT L;
        L.lfHeight = -11;
        L.lfFaceName = QString::fromLatin1(Face);
        L.lfWeight = FW_BOLD;
        HFONT F = CreateFontIndirect(&L);
        EXPECT_EQ(F->QtFont().family(), Family);
        EXPECT_EQ(F->QtFont().pixelSize(), 11);
        EXPECT_TRUE(F->QtFont().bold());
        TestSurface S;
        SelectObject(S.DC, F);
        TEXTMETRIC M;
        GetTextMetrics(S.DC, &M);
        // Similar width to the faces they stand for (about 5 pixels at 8 points).
        EXPECT_GE(M.tmAveCharWidth, 4) << Face;
        EXPECT_LE(M.tmAveCharWidth, 7) << Face;
        SelectObject(S.DC, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        LOGFONT Back;
        EXPECT_EQ(GetObject(F, sizeof(LOGFONT), &Back), int(sizeof(LOGFONT)));
        EXPECT_EQ(Back.lfFaceName, L.lfFaceName);
        DeleteObject(F);
    }
}

} // namespace
