// Regions: the rasterisation of rounded shapes, combining, queries, and regions on device contexts.
#include "platform/Region.h"
#include "tests/unit/graphics/Surface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct RgnFree
{
    void operator()(GdiRegion *R) const { DeleteObject(R); }
};
using Rgn = std::unique_ptr<GdiRegion, RgnFree>;

// Rows of '#' (inside) and '.' over (0, 0)-(W, H).
std::string Picture(HRGN R, int W, int H)
{
    std::string S;
    for (int Y = 0; Y < H; ++Y) {
        for (int X = 0; X < W; ++X)
            S += PtInRegion(R, X, Y) ? '#' : '.';
        S += '\n';
    }
    return S;
}

bool Symmetric(HRGN R, const RECT &B)
{
    for (int Y = B.Top; Y < B.Bottom; ++Y)
        for (int X = B.Left; X < B.Right; ++X) {
            const bool In = PtInRegion(R, X, Y);
            if (In != bool(PtInRegion(R, B.Right - 1 - (X - B.Left), Y)) ||
                In != bool(PtInRegion(R, X, B.Bottom - 1 - (Y - B.Top))))
                return false;
        }
    return true;
}

TEST(Region, RoundRectCornerPixels)
{
    // A pixel is inside when its centre is inside the corner ellipse; the shape is fitted to 9 x 9, the
    // last column and row stay out.
    Rgn R(CreateRoundRectRgn(0, 0, 10, 10, 6, 6));
    EXPECT_EQ(Picture(R.get(), 10, 10), Rows({".#######..",
                                               "#########.",
                                               "#########.",
                                               "#########.",
                                               "#########.",
                                               "#########.",
                                               "#########.",
                                               "#########.",
                                               ".#######..",
                                               ".........."}));
    // The corner a window frame uses, 13 pixels across, on a 14 x 14 window.
    Rgn F(CreateRoundRectRgn(0, 0, 15, 15, 13, 13));
    EXPECT_EQ(Picture(F.get(), 15, 15), Rows({"....######.....",
                                               "..##########...",
                                               ".############..",
                                               ".############..",
                                               "##############.",
                                               "##############.",
                                               "##############.",
                                               "##############.",
                                               "##############.",
                                               "##############.",
                                               ".############..",
                                               ".############..",
                                               "..##########...",
                                               "....######.....",
                                               "..............."}));
    // An ellipse of a different width and height, placed away from the origin: fitted to (1, 1)-(10, 6).
    Rgn E(CreateEllipticRgn(1, 1, 11, 7));
    EXPECT_EQ(Picture(E.get(), 11, 7), Rows({"...........",
                                              "...#####...",
                                              ".#########.",
                                              ".#########.",
                                              ".#########.",
                                              "...#####...",
                                              "..........."}));
}

TEST(Region, RoundRectIsSymmetricAndStaysInsideItsRectangle)
{
    // Box is what the shape fills: one short of the arguments' Right and Bottom.
    const struct { RECT Box; int EW, EH; } Cases[] = {
        {{0, 0, 9, 9}, 6, 6},     {{3, 2, 39, 20}, 13, 13}, {{0, 0, 300, 100}, 13, 13},
        {{0, 0, 6, 29}, 50, 9},   {{5, 5, 6, 39}, 4, 4},    {{0, 0, 16, 10}, 16, 10},
        {{-4, -9, 11, 2}, 2, 7},  {{0, 0, 63, 3}, 64, 64},  {{0, 0, 17, 11}, 18, 12},
    };
    for (const auto &C : Cases) {
        Rgn R(CreateRoundRectRgn(C.Box.Left, C.Box.Top, C.Box.Right + 1, C.Box.Bottom + 1, C.EW, C.EH));
        RECT Box;
        GetRgnBox(R.get(), &Box);
        EXPECT_TRUE(Symmetric(R.get(), C.Box)) << C.Box.Right << "x" << C.Box.Bottom << " " << C.EW;
        EXPECT_EQ(Box, C.Box) << C.Box.Right << "x" << C.Box.Bottom << " " << C.EW;
        // The middle of every edge is always inside.
        const int MX = (C.Box.Left + C.Box.Right) / 2, MY = (C.Box.Top + C.Box.Bottom) / 2;
        EXPECT_TRUE(PtInRegion(R.get(), MX, C.Box.Top) && PtInRegion(R.get(), C.Box.Left, MY));
    }
}

// The skinned frame shapes a W x H window with (0, 0, W + 1, H + 1): the region is the window, and its
// four corners are mirror images of each other, the right-hand ones as round as the left-hand ones.
TEST(Region, FrameIdiomShapesExactlyTheWindow)
{
    const struct { int W, H, RC; } Cases[] = {{300, 200, 13}, {200, 150, 9}, {41, 30, 12}, {7, 5, 9}, {5, 40, 4}};
    for (const auto &C : Cases) {
        Rgn R(CreateRoundRectRgn(0, 0, C.W + 1, C.H + 1, C.RC, C.RC));
        const RECT Window{0, 0, C.W, C.H};
        RECT Box;
        GetRgnBox(R.get(), &Box);
        EXPECT_EQ(Box, Window) << C.W << "x" << C.H;
        EXPECT_TRUE(Symmetric(R.get(), Window)) << C.W << "x" << C.H;
        for (POINT P : {POINT{0, 0}, POINT{C.W - 1, 0}, POINT{0, C.H - 1}, POINT{C.W - 1, C.H - 1}})
            EXPECT_FALSE(PtInRegion(R.get(), P.X, P.Y)) << C.W << "x" << C.H << " corner " << P.X << "," << P.Y;
    }
}

TEST(Region, SmallEllipsesGiveTheRectangleAndBoxesAreOrdered)
{
    // Square corners still stop one short of Right and Bottom, as a rounded one does.
    Rgn Plain(CreateRectRgn(2, 3, 8, 7));
    for (int E : {0, 1, -5}) {
        Rgn R(CreateRoundRectRgn(2, 3, 9, 8, E, E));
        EXPECT_TRUE(EqualRgn(R.get(), Plain.get())) << E;
        Rgn Thin(CreateRoundRectRgn(2, 3, 9, 8, 6, E));
        EXPECT_TRUE(EqualRgn(Thin.get(), Plain.get())) << E;
    }
    Rgn Inverted(CreateRectRgn(8, 7, 2, 3));
    EXPECT_TRUE(EqualRgn(Inverted.get(), Plain.get()));
    // Ordered first, then shortened: the same shape either way round.
    Rgn InvertedRound(CreateRoundRectRgn(10, 10, 0, 0, 6, 6)), Round(CreateRoundRectRgn(0, 0, 10, 10, 6, 6));
    EXPECT_TRUE(EqualRgn(InvertedRound.get(), Round.get()));
    Rgn InvertedEllipse(CreateEllipticRgn(11, 7, 1, 1)), Ellipse(CreateEllipticRgn(1, 1, 11, 7));
    EXPECT_TRUE(EqualRgn(InvertedEllipse.get(), Ellipse.get()));
    // One pixel across leaves nothing.
    for (const RECT &B : {RECT{4, 4, 5, 9}, RECT{4, 4, 9, 5}, RECT{4, 4, 4, 4}}) {
        Rgn Round1(CreateRoundRectRgn(B.Left, B.Top, B.Right, B.Bottom, 6, 6));
        Rgn Ellipse1(CreateEllipticRgnIndirect(&B));
        RECT Box;
        EXPECT_EQ(GetRgnBox(Round1.get(), &Box), NULLREGION) << B.Right << "x" << B.Bottom;
        EXPECT_EQ(GetRgnBox(Ellipse1.get(), &Box), NULLREGION) << B.Right << "x" << B.Bottom;
    }

    Rgn Empty(CreateRectRgn(4, 4, 4, 9));
    RECT Box{1, 1, 1, 1};
    EXPECT_EQ(GetRgnBox(Empty.get(), &Box), NULLREGION);
    EXPECT_EQ(Box, RECT{});
    Rgn Huge(CreateRoundRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0));
    EXPECT_EQ(GetRgnBox(Huge.get(), &Box), SIMPLEREGION);
    EXPECT_GT(Box.Width(), 0);
    // A large ellipse: its axes squared and multiplied go beyond 64 bits.
    Rgn Large(CreateEllipticRgn(100001, 60001, 0, 0));
    EXPECT_EQ(GetRgnBox(Large.get(), &Box), COMPLEXREGION);
    EXPECT_EQ(Box, (RECT{0, 0, 100000, 60000}));
    EXPECT_FALSE(PtInRegion(Large.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(Large.get(), 99999, 59999));
    EXPECT_TRUE(PtInRegion(Large.get(), 50000, 30000));
}

// The shape a frameless window with round upper corners gets: a round rectangle over the upper half whose
// lower corners are squared off by two rectangles given bottom-up, joined with the plain lower half, all
// round parts one wider and higher than they fill.
TEST(Region, WindowShapeWithRoundUpperCorners)
{
    const int W = 300, H = 200, H2 = H / 2, RC = 13;
    Rgn Top(CreateRoundRectRgn(0, 0, W + 1, H2 + 1, RC, RC));
    Rgn Left(CreateRectRgn(0, H2, 2 * RC, H2 - 2 * RC));
    Rgn Right(CreateRectRgn(W, H2, W - 2 * RC, H2 - 2 * RC));
    Rgn Bottom(CreateRoundRectRgn(0, H2, W + 1, H + 1, 0, 0));
    EXPECT_EQ(CombineRgn(Top.get(), Top.get(), Left.get(), RGN_OR), COMPLEXREGION);
    CombineRgn(Top.get(), Top.get(), Right.get(), RGN_OR);
    CombineRgn(Top.get(), Top.get(), Bottom.get(), RGN_OR);

    // The two upper corners are cut alike: column x on the left is column W - 1 - x on the right.
    for (POINT P : {POINT{0, 0}, POINT{3, 0}, POINT{1, 1}, POINT{0, 3}, POINT{296, 0}, POINT{299, 0}, POINT{298, 1},
                    POINT{299, 3}})
        EXPECT_FALSE(PtInRegion(Top.get(), P.X, P.Y)) << P.X << "," << P.Y;
    for (POINT P : {POINT{4, 0}, POINT{2, 1}, POINT{1, 2}, POINT{0, 4}, POINT{295, 0}, POINT{297, 1}, POINT{298, 2},
                    POINT{299, 4}, POINT{0, 199}, POINT{299, 199}, POINT{0, 100}, POINT{299, 99}, POINT{150, 0},
                    POINT{150, 150}})
        EXPECT_TRUE(PtInRegion(Top.get(), P.X, P.Y)) << P.X << "," << P.Y;

    // Everything of the window outside the two upper corner boxes is inside.
    Rgn Window(CreateRectRgn(0, 0, W, H)), Corners(CreateRectRgn(0, 0, RC, RC)), RightCorner(CreateRectRgn(W - RC, 0, W, RC));
    CombineRgn(Corners.get(), Corners.get(), RightCorner.get(), RGN_OR);
    Rgn Rest(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(Rest.get(), Window.get(), Corners.get(), RGN_DIFF);
    Rgn Missing(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(Missing.get(), Rest.get(), Top.get(), RGN_DIFF), NULLREGION);
    // And nothing outside the window.
    Rgn Outside(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(Outside.get(), Top.get(), Window.get(), RGN_DIFF), NULLREGION);
}

TEST(Region, CombineModesWithTheDestinationAsASource)
{
    // A = columns 0-5, B = columns 3-8, both 2 rows high.
    auto Make = [](int L, int R) { return Rgn(CreateRectRgn(L, 0, R, 2)); };
    const struct { int Mode; const char *Row; int Kind; } Cases[] = {
        {RGN_AND, "...###...", SIMPLEREGION},
        {RGN_OR, "#########", SIMPLEREGION},
        {RGN_XOR, "###...###", COMPLEXREGION},
        {RGN_DIFF, "###......", SIMPLEREGION},
        {RGN_COPY, "######...", SIMPLEREGION},
    };
    for (const auto &C : Cases) {
        const std::string Expected = Rows({C.Row, C.Row});
        Rgn A = Make(0, 6), B = Make(3, 9);
        EXPECT_EQ(CombineRgn(A.get(), A.get(), B.get(), C.Mode), C.Kind) << C.Mode;
        EXPECT_EQ(Picture(A.get(), 9, 2), Expected) << "Dst = Src1, mode " << C.Mode;
        if (C.Mode == RGN_COPY)
            continue;
        Rgn A2 = Make(0, 6), B2 = Make(3, 9);
        CombineRgn(B2.get(), A2.get(), B2.get(), C.Mode);
        EXPECT_EQ(Picture(B2.get(), 9, 2), Expected) << "Dst = Src2, mode " << C.Mode;
    }
    Rgn A = Make(0, 6);
    EXPECT_EQ(CombineRgn(A.get(), A.get(), A.get(), RGN_XOR), NULLREGION);
    EXPECT_EQ(CombineRgn(A.get(), A.get(), nullptr, RGN_OR), RGN_ERROR);
    EXPECT_EQ(CombineRgn(A.get(), A.get(), nullptr, RGN_COPY), NULLREGION);
    EXPECT_EQ(CombineRgn(A.get(), A.get(), A.get(), 9), RGN_ERROR);
    EXPECT_EQ(CombineRgn(nullptr, A.get(), A.get(), RGN_OR), RGN_ERROR);
}

TEST(Region, QueriesAndMoves)
{
    Rgn R(CreateRoundRectRgn(0, 0, 10, 10, 6, 6));
    RECT Box;
    EXPECT_EQ(GetRgnBox(R.get(), &Box), COMPLEXREGION);
    EXPECT_EQ(Box, (RECT{0, 0, 9, 9}));
    EXPECT_EQ(OffsetRgn(R.get(), 5, -2), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(R.get(), 5 + 1, -2 + 0));
    EXPECT_FALSE(PtInRegion(R.get(), 5 + 0, -2 + 0));
    EXPECT_TRUE(PtInRegion(R.get(), 5 + 8, -2 + 5));
    EXPECT_FALSE(PtInRegion(R.get(), 5 + 9, -2 + 5));     // the column at Right - 1 is not filled
    const RECT Corner{5, -2, 6, -1}, Edge{13, 3, 30, 4};
    EXPECT_FALSE(RectInRegion(R.get(), &Corner));
    EXPECT_TRUE(RectInRegion(R.get(), &Edge));

    Rgn Back(CreateRoundRectRgn(5, -2, 15, 8, 6, 6));
    EXPECT_TRUE(EqualRgn(R.get(), Back.get()));
    // The same shape put together from single pixels compares equal: EqualRgn compares shapes.
    Rgn Pixels(CreateRectRgn(0, 0, 0, 0));
    for (int Y = -2; Y < 8; ++Y)
        for (int X = 5; X < 15; ++X)
            if (PtInRegion(Back.get(), X, Y)) {
                Rgn P(CreateRectRgn(X, Y, X + 1, Y + 1));
                CombineRgn(Pixels.get(), Pixels.get(), P.get(), RGN_OR);
            }
    EXPECT_TRUE(EqualRgn(Pixels.get(), Back.get()));
    Rgn Big(CreateRoundRectRgn(0, 0, 301, 101, 13, 13)), Built(CreateRectRgn(0, 0, 0, 0));
    for (int Y = 0; Y < 100; ++Y) {
        RECT Row{0, 0, 0, 0};
        for (int X = 0; X < 300; ++X)
            if (PtInRegion(Big.get(), X, Y)) {
                Row = RECT{X, Y, 300 - X, Y + 1};
                break;
            }
        Rgn P(CreateRectRgnIndirect(&Row));
        CombineRgn(Built.get(), P.get(), Built.get(), RGN_OR);
    }
    EXPECT_TRUE(EqualRgn(Built.get(), Big.get()));
    EXPECT_TRUE(SetRectRgn(R.get(), 7, 7, 1, 1));
    EXPECT_EQ(GetRgnBox(R.get(), &Box), SIMPLEREGION);
    EXPECT_EQ(Box, (RECT{1, 1, 7, 7}));
    EXPECT_FALSE(EqualRgn(R.get(), Back.get()));

    EXPECT_FALSE(PtInRegion(nullptr, 0, 0));
    EXPECT_FALSE(EqualRgn(nullptr, nullptr));
    EXPECT_EQ(OffsetRgn(nullptr, 1, 1), RGN_ERROR);
    EXPECT_EQ(GetRgnBox(nullptr, &Box), RGN_ERROR);
}

TEST(Region, ClipRegionOnADeviceContext)
{
    TestSurface S(8, 6);
    Rgn Clip(CreateRectRgn(2, 1, 6, 5));
    Rgn Read(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(S.DC, Read.get()), 0);

    EXPECT_EQ(SelectClipRgn(S.DC, Clip.get()), SIMPLEREGION);
    SetRectRgn(Clip.get(), 0, 0, 1, 1);     // the DC keeps its own copy
    EXPECT_EQ(GetClipRgn(S.DC, Read.get()), 1);
    Rgn Expected(CreateRectRgn(2, 1, 6, 5));
    EXPECT_TRUE(EqualRgn(Read.get(), Expected.get()));

    // Device coordinates: the viewport origin moves the drawing, not the clip.
    SetViewportOrgEx(S.DC, 3, 0, nullptr);
    HBRUSH Black = CreateSolidBrush(0);
    const RECT All{-3, 0, 5, 6};
    FillRect(S.DC, &All, Black);
    EXPECT_EQ(S.Mask(0), Rows({"........", "..####..", "..####..", "..####..", "..####..", "........"}));

    EXPECT_EQ(SelectClipRgn(S.DC, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(S.DC, Read.get()), 0);
    FillRect(S.DC, &All, Black);
    EXPECT_EQ(S.Count(0), 48);
    EXPECT_EQ(SelectClipRgn(nullptr, Clip.get()), RGN_ERROR);
    DeleteObject(Black);
}

TEST(Region, FillFrameAndPaint)
{
    TestSurface S(10, 10);
    HBRUSH Black = CreateSolidBrush(0), Red = CreateSolidBrush(0x0000FF);
    Rgn Round(CreateRoundRectRgn(0, 0, 10, 10, 6, 6));
    EXPECT_TRUE(FillRgn(S.DC, Round.get(), Black));
    EXPECT_EQ(S.Mask(0), Picture(Round.get(), 10, 10));

    TestSurface F(10, 10);
    EXPECT_TRUE(FrameRgn(F.DC, Round.get(), Black, 1, 1));
    EXPECT_EQ(F.Mask(0), Rows({".#######..",
                               "#.......#.",
                               "#.......#.",
                               "#.......#.",
                               "#.......#.",
                               "#.......#.",
                               "#.......#.",
                               "#.......#.",
                               ".#######..",
                               ".........."}));
    TestSurface Thick(6, 5);
    Rgn Box(CreateRectRgn(0, 0, 6, 5));
    EXPECT_TRUE(FrameRgn(Thick.DC, Box.get(), Black, 2, 1));
    EXPECT_EQ(Thick.Mask(0), Rows({"######", "##..##", "##..##", "##..##", "######"}));
    EXPECT_FALSE(FrameRgn(Thick.DC, Box.get(), Black, 0, 1));

    // PaintRgn uses the selected brush; logical coordinates follow the viewport origin.
    TestSurface P(6, 4);
    SelectObject(P.DC, Red);
    SetViewportOrgEx(P.DC, 2, 1, nullptr);
    Rgn Small(CreateRectRgn(0, 0, 2, 2));
    EXPECT_TRUE(PaintRgn(P.DC, Small.get()));
    EXPECT_EQ(P.Mask(0x0000FF), Rows({"......", "..##..", "..##..", "......"}));
    DeleteObject(Black);
    DeleteObject(Red);
}

} // namespace
