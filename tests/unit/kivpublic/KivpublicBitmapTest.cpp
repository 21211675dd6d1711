// Cutting frames out of strips, nine- and three-slice drawing, tiling and rotations, pixel by pixel.
#include "skin/theme/Kivpublic.h"
#include "tests/unit/kivpublic/Pictures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Rows = std::vector<std::string>;

// A picture whose every pixel says where it came from.
COLORREF Origin(int X, int Y)
{
    return RGB(BYTE(X % 256), BYTE(X / 256), BYTE(0x40 + Y));
}

TAutoFree<TBitmap> OriginBitmap(int W, int H)
{
    QImage I(W, H, QImage::Format_RGB32);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            I.setPixel(X, Y, qRgb(GetRValue(Origin(X, Y)), GetGValue(Origin(X, Y)), GetBValue(Origin(X, Y))));
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetImage(I);
    return B;
}

TEST(SpitBitmap, CutsFrameIOfNFromEqualWidths)
{
    struct Case
    {
        int SourceWidth, Height, Count, Index, FrameWidth, FirstColumn;
    };
    const Case Cases[] = {
        {342, 19, 18, 18, 19, 323},    // the last title-bar button frame
        {342, 19, 18, 1, 19, 0},
        {100, 5, 3, 3, 33, 66},        // the hundredth column is never used
        {74, 21, 3, 2, 24, 24},
        {30, 2, 3, 4, 10, 30},         // past the strip: blank
        {30, 2, 3, 0, 10, -10},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.SourceWidth << " wide, frame " << C.Index << " of " << C.Count);
        TAutoFree<TBitmap> Source = OriginBitmap(C.SourceWidth, C.Height);
        TAutoFree<TBitmap> Dest = FilledBitmap(3, 50, 'q');
        SpitBitmap(Source.get(), Dest.get(), C.Count, C.Index);
        ASSERT_EQ(Dest->Width(), C.FrameWidth);
        ASSERT_EQ(Dest->Height(), C.Height);
        int Wrong = 0;
        for (int Y = 0; Y < C.Height; ++Y)
            for (int X = 0; X < C.FrameWidth; ++X) {
                const int SX = C.FirstColumn + X;
                const COLORREF Want = SX >= 0 && SX < C.SourceWidth ? Origin(SX, Y) : 0xFFFFFF;
                Wrong += PixelOf(Dest->Image(), X, Y) != Want;
            }
        EXPECT_EQ(Wrong, 0);
    }
    TAutoFree<TBitmap> Source = OriginBitmap(30, 2);
    TAutoFree<TBitmap> Dest = FilledBitmap(3, 1, 'q');
    SpitBitmap(Source.get(), Dest.get(), 0, 1);
    EXPECT_EQ(RowsOf(Dest.get()), Rows{"qqq"}) << "no frames: the destination stays";

    TAutoFree<TBitmap> Strip = OriginBitmap(30, 2);
    SpitBitmap(Strip.get(), Strip.get(), 3, 2);
    ASSERT_EQ(Strip->Width(), 10);
    EXPECT_EQ(PixelOf(Strip->Image(), 0, 1), Origin(10, 1)) << "a strip cut into itself";
}

// The destination prefilled with this colour shows what a drawing left alone.
constexpr COLORREF Untouched = 0xEEEEEE;

TAutoFree<TBitmap> Canvas(int W, int H)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    QImage I(W, H, QImage::Format_RGB32);
    I.fill(qRgb(0xEE, 0xEE, 0xEE));
    B->SetImage(I);
    return B;
}

struct Region
{
    TRect Dest;
    std::function<COLORREF(int X, int Y)> Source;
};

// Checks every pixel of Dest against the last region of Expected that holds it (Untouched elsewhere).
void ExpectRegions(TBitmap *Dest, const std::vector<Region> &Expected)
{
    int Wrong = 0;
    for (int Y = 0; Y < Dest->Height(); ++Y)
        for (int X = 0; X < Dest->Width(); ++X) {
            COLORREF Want = Untouched;
            for (const Region &R : Expected)
                if (PtInRect(&R.Dest, POINT{X, Y}))
                    Want = R.Source(X, Y);
            const COLORREF Got = PixelOf(Dest->Image(), X, Y);
            if (Got != Want && ++Wrong <= 5)
                ADD_FAILURE() << "pixel (" << X << ", " << Y << "): " << std::hex << Got << " instead of " << Want;
        }
    EXPECT_EQ(Wrong, 0);
}

TEST(SpitDraw, NineSlicesOfAButtonPictureOverHundredByThirty)
{
    // 74 x 21 over 100 x 30: corners 37/36 wide and 10/9 high; the left and centre strips are source row
    // 10, the right strip row 11, the top, centre and bottom strips column 37; the bottom edge starts one
    // pixel left of and above the bottom corners and covers rows 20 to 29 from source rows 11 to 20.
    auto P = [](int X, int Y) { return Origin(X, Y); };
    const std::vector<Region> Expected = {
        {Rect(0, 0, 37, 10), [&](int X, int Y) { return P(X, Y); }},
        {Rect(0, 21, 37, 30), [&](int X, int Y) { return P(X, Y - 9); }},
        {Rect(0, 10, 37, 21), [&](int X, int) { return P(X, 10); }},
        {Rect(64, 0, 100, 10), [&](int X, int Y) { return P(X - 26, Y); }},
        {Rect(64, 21, 100, 30), [&](int X, int Y) { return P(X - 26, Y - 9); }},
        {Rect(64, 10, 100, 21), [&](int X, int) { return P(X - 26, 11); }},
        {Rect(37, 0, 64, 10), [&](int, int Y) { return P(37, Y); }},
        {Rect(37, 10, 64, 20), [&](int, int) { return P(37, 10); }},
        {Rect(36, 20, 64, 30), [&](int, int Y) { return P(37, Y - 9); }},
    };
    for (bool Transparent : {true, false}) {
        SCOPED_TRACE(Transparent ? "transparent" : "opaque");
        TAutoFree<TBitmap> Source = OriginBitmap(74, 21);
        TAutoFree<TBitmap> Dest = Canvas(100, 30);
        SpitDraw(Source.get(), Dest->Canvas(), Rect(0, 0, 100, 30), Transparent);
        ExpectRegions(Dest.get(), Expected);
    }
}

TEST(SpitDraw, OnePixelTargetGetsOnlyTheBottomEdge)
{
    // No corner fits; the bottom edge is stretched over (-1, 0, 1, 1) from column 37, row 20.
    TAutoFree<TBitmap> Source = OriginBitmap(74, 21);
    TAutoFree<TBitmap> Dest = Canvas(3, 3);
    SpitDraw(Source.get(), Dest->Canvas(), Rect(0, 0, 1, 1), true);
    ExpectRegions(Dest.get(), {{Rect(0, 0, 1, 1), [](int, int) { return Origin(37, 20); }}});
}

TEST(SpitDraw, MagentaLeavesEdgesAlwaysAndCornersOnlyWhenTransparent)
{
    Rows Picture(9, std::string(9, 'a'));
    Picture[0][0] = 'm';    // a corner pixel
    Picture[4][4] = 'm';    // the centre strip's first column
    TAutoFree<TBitmap> Source = BitmapOf(Picture);
    for (bool Transparent : {true, false}) {
        SCOPED_TRACE(Transparent ? "transparent" : "opaque");
        TAutoFree<TBitmap> Dest = Canvas(20, 20);
        SpitDraw(Source.get(), Dest->Canvas(), Rect(0, 0, 20, 20), Transparent);
        EXPECT_EQ(PixelOf(Dest->Image(), 0, 0), Transparent ? Untouched : LetterColour('m'));
        // The centre (4, 4)-(17, 16) takes its first seven columns from the magenta pixel.
        EXPECT_EQ(PixelOf(Dest->Image(), 4, 4), Untouched);
        EXPECT_EQ(PixelOf(Dest->Image(), 10, 15), Untouched);
        EXPECT_EQ(PixelOf(Dest->Image(), 11, 10), LetterColour('a'));
    }
}

TEST(SpitDraw, EvenHeightSourceLeavesNoHole)
{
    // The left and centre strips of an 8-high source are empty ranges; they show the middle row instead.
    TAutoFree<TBitmap> Source = FilledBitmap(8, 8, 'a');
    TAutoFree<TBitmap> Dest = Canvas(20, 20);
    SpitDraw(Source.get(), Dest->Canvas(), Rect(0, 0, 20, 20), false);
    ExpectRegions(Dest.get(), {{Rect(0, 0, 20, 20), [](int, int) { return LetterColour('a'); }}});
}

TEST(SpitDrawHorizontal, EndsKeepTheirSizeMaskedAndTheMiddleStretchesOpaque)
{
    // Three 4 x 2 frames: k and j mark the corner pixels a corner key may take.
    TAutoFree<TBitmap> Source = BitmapOf({"kmaabdefcckc",
                                          "jaaabdefcccc"});
    struct Case
    {
        bool CornerKey, TopCorner;
        Rows Want;
    };
    const Case Cases[] = {
        {false, true, {"kzaabbddeeffcckc", "jaaabbddeeffcccc"}},
        {true, true, {"zmaabbddeeffcczc", "jaaabbddeeffcccc"}},
        {true, false, {"kmaabbddeeffcckc", "zaaabbddeeffcccc"}},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << "corner key " << C.CornerKey << ", top corner " << C.TopCorner);
        TAutoFree<TBitmap> Dest = FilledBitmap(16, 2, 'z');
        SpitDrawHorizontal(Source.get(), Dest->Canvas(), Rect(0, 0, 16, 2), C.CornerKey, C.TopCorner);
        EXPECT_EQ(RowsOf(Dest.get()), C.Want);
    }
    // A rectangle away from the origin and taller than the picture: the middle stretches down too.
    TAutoFree<TBitmap> Dest = FilledBitmap(14, 5, 'z');
    SpitDrawHorizontal(Source.get(), Dest->Canvas(), Rect(1, 1, 13, 5), false, true);
    EXPECT_EQ(RowsOf(Dest.get()), (Rows{"zzzzzzzzzzzzzz",
                                        "zkzaabdefcckcz",
                                        "zjaaabdefccccz",
                                        "zzzzzbdefzzzzz",
                                        "zzzzzbdefzzzzz"}));
}

TEST(TileDraw, TilesFromTheCanvasOriginOverTheRectanglesSize)
{
    TAutoFree<TPicture> Picture(TPicture::Create());
    TAutoFree<TBitmap> Tile = BitmapOf({"abc", "def"});
    Picture->SetBitmap(Tile.get());
    TAutoFree<TBitmap> Dest = FilledBitmap(12, 6, 'z');
    // A 4 x 2 rectangle at (5, 1): tiles at x 0, 3, 6 and y 0, 2, whatever the rectangle's corner.
    TileDraw(Dest->Canvas(), Picture.get(), Rect(5, 1, 9, 3));
    EXPECT_EQ(RowsOf(Dest.get()), (Rows{"abcabcabczzz",
                                        "defdefdefzzz",
                                        "abcabcabczzz",
                                        "defdefdefzzz",
                                        "zzzzzzzzzzzz",
                                        "zzzzzzzzzzzz"}));
}

TEST(TileDraw, PictureWithoutSizeDrawsNothing)
{
    TAutoFree<TBitmap> Dest = FilledBitmap(4, 4, 'z');
    TAutoFree<TPicture> NoGraphic(TPicture::Create());
    TileDraw(Dest->Canvas(), NoGraphic.get(), Rect(0, 0, 4, 4));
    TAutoFree<TPicture> EmptyBitmap(TPicture::Create());
    EmptyBitmap->Bitmap()->SetWidth(5);     // 5 x 0
    TileDraw(Dest->Canvas(), EmptyBitmap.get(), Rect(0, 0, 4, 4));
    EXPECT_EQ(RowsOf(Dest.get()), Rows(4, "zzzz"));
}

TEST(RoundPicture, TurnsInPlace)
{
    struct Case
    {
        const char *Name;
        void (*Turn)(TBitmap *);
        Rows Want;
    };
    const Case Cases[] = {
        {"quarter counter-clockwise", RoundPicture, {"cf", "be", "ad"}},
        {"half", RoundPicture2, {"fed", "cba"}},
        {"quarter clockwise", RoundPicture3, {"da", "eb", "fc"}},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(C.Name);
        TAutoFree<TBitmap> B = BitmapOf({"abc", "def"});
        C.Turn(B.get());
        EXPECT_EQ(RowsOf(B.get()), C.Want);
    }
    // A transparent bitmap keeps every turned pixel: the old picture does not show through its key.
    TAutoFree<TBitmap> B = BitmapOf({"amc", "def"});
    B->SetTransparentColor(LetterColour('m'));
    B->SetTransparent(true);
    RoundPicture2(B.get());
    EXPECT_EQ(RowsOf(B.get()), (Rows{"fed", "cma"}));
    EXPECT_TRUE(B->Transparent());
}

} // namespace
