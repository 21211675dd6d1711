// TCanvas on bitmaps and on foreign DCs: brush, pen and font state, Draw, StretchDraw, CopyRect, text.
#include "framework/graphics/Graphics.h"
#include "tests/unit/graphics/Surface.h"

#include <gtest/gtest.h>

namespace {

// A bitmap of rows of colours.
TBitmap *MakeBitmap(std::initializer_list<std::initializer_list<TColor>> Rows)
{
    TBitmap *B = TBitmap::Create();
    B->SetSize(int(Rows.begin()->size()), int(Rows.size()));
    int Y = 0;
    for (const auto &Row : Rows) {
        int X = 0;
        for (TColor C : Row)
            B->Canvas()->SetPixels(X++, Y, C);
        ++Y;
    }
    return B;
}

std::vector<TColor> RowOf(TBitmap *B, int Y)
{
    std::vector<TColor> R;
    for (int X = 0; X < B->Width(); ++X)
        R.push_back(B->Canvas()->Pixels(X, Y));
    return R;
}

TEST(Canvas, FillRectResolvesSystemColoursAndTakesBottomUpRectangles)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(5, 8);
    TCanvas *C = B->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, 5, 8));
    EXPECT_EQ(C->Pixels(4, 7), TColor(GetSysColor(COLOR_BTNFACE)));
    // The unfilled top rows of a vertical bar, given bottom-up: left 1, top y, right W - 1, bottom 1.
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(1, 5, 4, 1));
    for (int Y = 0; Y < 8; ++Y)
        EXPECT_EQ(C->Pixels(2, Y), Y >= 1 && Y < 5 ? clRed : TColor(GetSysColor(COLOR_BTNFACE))) << Y;
    EXPECT_NE(C->Pixels(0, 2), clRed);
    EXPECT_NE(C->Pixels(4, 2), clRed);
}

TEST(Canvas, StretchDrawMirrorsReversedRectangles)
{
    TAutoFree<TBitmap> Src(MakeBitmap({{clRed, clLime}, {clBlue, clYellow}}));
    struct Case
    {
        TRect R;
        std::vector<TColor> Top, Bottom;
    } Cases[] = {
        {Rect(0, 0, 4, 2), {clRed, clRed, clLime, clLime}, {clBlue, clBlue, clYellow, clYellow}},
        {Rect(0, 2, 4, 0), {clBlue, clBlue, clYellow, clYellow}, {clRed, clRed, clLime, clLime}},    // bottom-up
        {Rect(4, 0, 0, 2), {clLime, clLime, clRed, clRed}, {clYellow, clYellow, clBlue, clBlue}},    // right-to-left
    };
    for (const Case &C : Cases) {
        TAutoFree<TBitmap> Dst(TBitmap::Create());
        Dst->SetSize(4, 2);
        Dst->Canvas()->StretchDraw(C.R, Src.get());
        EXPECT_EQ(RowOf(Dst.get(), 0), C.Top);
        EXPECT_EQ(RowOf(Dst.get(), 1), C.Bottom);
    }
}

TEST(Canvas, DrawHonoursTransparentBitmaps)
{
    TAutoFree<TBitmap> Src(MakeBitmap({{clRed, clFuchsia}, {clFuchsia, clBlue}}));
    for (bool Transparent : {false, true}) {
        TAutoFree<TBitmap> Dst(TBitmap::Create());
        Dst->SetSize(4, 3);
        Dst->Canvas()->Brush()->SetColor(clLime);
        Dst->Canvas()->FillRect(Rect(0, 0, 4, 3));
        Src->SetTransparent(Transparent);     // key: the bottom-left pixel, magenta
        Dst->Canvas()->Draw(1, 1, Src.get());
        EXPECT_EQ(Dst->Canvas()->Pixels(1, 1), clRed);
        EXPECT_EQ(Dst->Canvas()->Pixels(2, 2), clBlue);
        EXPECT_EQ(Dst->Canvas()->Pixels(2, 1), Transparent ? clLime : clFuchsia);
        EXPECT_EQ(Dst->Canvas()->Pixels(1, 2), Transparent ? clLime : clFuchsia);
        EXPECT_EQ(Dst->Canvas()->Pixels(0, 0), clLime);
    }
    // A fixed transparent colour wins over the bottom-left pixel.
    Src->SetTransparentColor(clRed);
    TAutoFree<TBitmap> Dst(TBitmap::Create());
    Dst->SetSize(2, 2);
    Dst->Canvas()->Draw(0, 0, Src.get());
    EXPECT_EQ(Dst->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(Dst->Canvas()->Pixels(1, 0), clFuchsia);
}

TEST(Canvas, CopyRectCopiesOrStretches)
{
    TAutoFree<TBitmap> Src(MakeBitmap({{clRed, clLime, clBlue}}));
    TAutoFree<TBitmap> Dst(TBitmap::Create());
    Dst->SetSize(6, 1);
    Dst->Canvas()->CopyRect(Rect(0, 0, 2, 1), Src->Canvas(), Rect(1, 0, 3, 1));
    EXPECT_EQ(RowOf(Dst.get(), 0), (std::vector<TColor>{clLime, clBlue, clWhite, clWhite, clWhite, clWhite}));
    Dst->Canvas()->CopyRect(Rect(0, 0, 6, 1), Src->Canvas(), Rect(0, 0, 3, 1));
    EXPECT_EQ(RowOf(Dst.get(), 0), (std::vector<TColor>{clRed, clRed, clLime, clLime, clBlue, clBlue}));
    // Within one canvas.
    Dst->Canvas()->CopyRect(Rect(1, 0, 6, 1), Dst->Canvas(), Rect(0, 0, 5, 1));
    EXPECT_EQ(RowOf(Dst.get(), 0), (std::vector<TColor>{clRed, clRed, clRed, clLime, clLime, clBlue}));
}

TEST(Canvas, PenLinesShapesAndPenPosition)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(6, 6);
    TCanvas *C = B->Canvas();
    C->Pen()->SetColor(clNavy);
    C->MoveTo(0, 1);
    C->LineTo(4, 1);
    EXPECT_EQ(C->PenPos(), Point(4, 1));
    EXPECT_EQ(C->Pixels(3, 1), clNavy);
    EXPECT_EQ(C->Pixels(4, 1), clWhite);
    C->LineTo(4, 4);                        // continues from the pen position
    EXPECT_EQ(C->Pixels(4, 2), clNavy);

    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clRed);
    C->Rectangle(0, 3, 3, 6);
    EXPECT_EQ(C->Pixels(0, 3), clBlack);
    EXPECT_EQ(C->Pixels(1, 4), clRed);
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(clLime);
    C->Polygon({Point(0, 0), Point(2, 0), Point(0, 2)});
    EXPECT_EQ(C->Pixels(0, 0), clLime);
    EXPECT_EQ(C->Pixels(0, 1), clLime);
}

TEST(Canvas, BrushBitmapTiles)
{
    TAutoFree<TBitmap> Tile(MakeBitmap({{clRed, clBlue}}));
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(5, 2);
    B->Canvas()->Brush()->SetBitmap(Tile.get());
    B->Canvas()->FillRect(Rect(0, 0, 5, 2));
    EXPECT_EQ(RowOf(B.get(), 1), (std::vector<TColor>{clRed, clBlue, clRed, clBlue, clRed}));
    B->Canvas()->Brush()->SetBitmap(nullptr);
    B->Canvas()->Brush()->SetColor(clLime);
    B->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(B->Canvas()->Pixels(0, 0), clLime);
}

TEST(Canvas, TextUsesFontColourAndBrushBackground)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(100, 30);
    TCanvas *C = B->Canvas();
    C->Font()->SetColor(clRed);
    C->Brush()->SetColor(clLime);
    const int W = C->TextWidth(QStringLiteral("Hi"));
    const int H = C->TextHeight(QStringLiteral("Hi"));
    EXPECT_GT(W, 0);
    C->TextOut(3, 4, QStringLiteral("Hi"));
    EXPECT_EQ(C->PenPos(), Point(3 + W, 4));
    EXPECT_EQ(C->Pixels(3, 4), clLime);                 // opaque cell in the brush colour
    EXPECT_EQ(C->Pixels(3 + W, 4), clWhite);
    bool Red = false;
    for (int Y = 4; Y < 4 + H; ++Y)
        for (int X = 3; X < 3 + W; ++X)
            Red = Red || C->Pixels(X, Y) == clRed;
    EXPECT_TRUE(Red);

    // A bigger font is measured bigger once the canvas picks the change up.
    C->Font()->SetHeight(-30);
    EXPECT_GT(C->TextHeight(QStringLiteral("Hi")), H);
    C->Font()->SetStyle(TFontStyles{fsBold});
    C->TextWidth(QStringLiteral("x"));
    EXPECT_TRUE(static_cast<HFONT>(GetCurrentObject(C->Handle(), OBJ_FONT))->QtFont().bold());

    // TextRect clips and keeps the background outside the rectangle.
    TAutoFree<TBitmap> T(TBitmap::Create());
    T->SetSize(60, 30);
    T->Canvas()->Brush()->SetColor(clLime);
    T->Canvas()->TextRect(Rect(5, 5, 12, 20), 5, 5, QStringLiteral("WWWWWW"));
    EXPECT_EQ(T->Canvas()->Pixels(5, 5), clLime);
    for (int Y = 0; Y < 30; ++Y)
        EXPECT_EQ(T->Canvas()->Pixels(12, Y), clWhite);
}

TEST(Canvas, HandleComesWithTheCanvasObjectsSelected)
{
    // Direct GDI calls on Canvas->Handle() draw with the canvas's font colour and brush.
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(60, 20);
    TCanvas *C = B->Canvas();
    C->Font()->SetColor(clRed);
    C->Brush()->SetStyle(bsClear);
    RECT R{0, 0, 60, 20};
    DrawText(C->Handle(), QStringLiteral("Mm"), -1, &R, DT_SINGLELINE);
    int Red = 0, Other = 0;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 60; ++X) {
            const TColor P = C->Pixels(X, Y);
            Red += P == clRed;
            Other += P != clRed && P != clWhite && (P & 0xFF) < 0x80;
        }
    EXPECT_GT(Red, 0);
    EXPECT_EQ(Other, 0);     // no black text, no opaque background
    C->Brush()->SetColor(clLime);
    FillRect(C->Handle(), &R, static_cast<HBRUSH>(GetCurrentObject(C->Handle(), OBJ_BRUSH)));
    EXPECT_EQ(C->Pixels(0, 0), clLime);
}

TEST(Canvas, ForeignHandleIsUsedAndNeverDeleted)
{
    TestSurface S(6, 6);
    {
        TAutoFree<TCanvas> C(TCanvas::Create());
        C->SetHandle(S.DC);
        C->Brush()->SetColor(clRed);
        C->FillRect(Rect(1, 1, 3, 3));
        C->DrawFocusRect(Rect(0, 0, 6, 6));
        EXPECT_EQ(C->Pixels(2, 2), clRed);
    }
    EXPECT_EQ(S.At(2, 2), 0x0000FFu);
    EXPECT_EQ(S.At(0, 0), 0x000000u);
    // The DC outlives the canvas and still draws.
    EXPECT_EQ(SetPixel(S.DC, 5, 5, 0x00FF00), 0x00FF00u);
}

TEST(Canvas, BitmapCanvasReportsChanges)
{
    TAutoFree<TPicture> P(TPicture::Create());
    int Changes = 0;
    P->OnChange = [&](TObject *) { ++Changes; };
    P->Bitmap()->SetSize(3, 3);
    const int AfterSize = Changes;
    EXPECT_GT(AfterSize, 0);
    P->Bitmap()->Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_GT(Changes, AfterSize);
}

} // namespace
