// Image lists: masked adds, masked and greyed drawing, taking frames out.
#include "framework/graphics/ImgList.h"

#include <gtest/gtest.h>

namespace {

// Two 3 x 2 frames; magenta is the key.
TBitmap *Strip()
{
    TBitmap *B = TBitmap::Create();
    B->SetSize(6, 2);
    const TColor Rows[2][6] = {{clRed, clFuchsia, clWhite, clBlue, clBlue, clFuchsia},
                               {clFuchsia, clNavy, clRed, clFuchsia, clLime, clBlue}};
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 6; ++X)
            B->Canvas()->SetPixels(X, Y, Rows[Y][X]);
    return B;
}

TBitmap *Background(TColor Color, int W = 6, int H = 4)
{
    TBitmap *B = TBitmap::Create();
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(Color);
    B->Canvas()->FillRect(Rect(0, 0, W, H));
    return B;
}

TEST(ImageList, AddMaskedCutsFramesAndDrawsThemMasked)
{
    TAutoFree<TCustomImageList> L(TCustomImageList::CreateSize(3, 2));
    TAutoFree<TBitmap> S(Strip());
    EXPECT_EQ(L->AddMasked(S.get(), clFuchsia), 0);
    EXPECT_EQ(L->Count(), 2);
    EXPECT_EQ(L->AddMasked(S.get(), clFuchsia), 2);
    EXPECT_EQ(L->Count(), 4);

    TAutoFree<TBitmap> D(Background(clGray));
    L->Draw(D->Canvas(), 1, 1, 1);
    TCanvas *C = D->Canvas();
    EXPECT_EQ(C->Pixels(1, 1), clBlue);
    EXPECT_EQ(C->Pixels(2, 1), clBlue);
    EXPECT_EQ(C->Pixels(3, 1), clGray);       // magenta left out
    EXPECT_EQ(C->Pixels(1, 2), clGray);
    EXPECT_EQ(C->Pixels(2, 2), clLime);
    EXPECT_EQ(C->Pixels(0, 0), clGray);

    L->Delete(0);
    EXPECT_EQ(L->Count(), 3);
    EXPECT_THROW(L->Delete(3), EListError);
    L->SetSize(4, 4);                         // a new size empties the list
    EXPECT_EQ(L->Count(), 0);
}

TEST(ImageList, AddUsesTheMaskBitmap)
{
    TAutoFree<TCustomImageList> L(TCustomImageList::CreateSize(3, 2));
    TAutoFree<TBitmap> S(Strip());
    TAutoFree<TBitmap> M(Background(clBlack, 6, 2));
    M->Canvas()->SetPixels(0, 0, clWhite);    // white in the mask: transparent
    EXPECT_EQ(L->Add(S.get(), M.get()), 0);
    TAutoFree<TBitmap> D(Background(clGray));
    L->Draw(D->Canvas(), 0, 0, 0);
    EXPECT_EQ(D->Canvas()->Pixels(0, 0), clGray);
    EXPECT_EQ(D->Canvas()->Pixels(1, 0), clFuchsia);   // no key colour with an explicit mask
}

TEST(ImageList, DisabledDrawIsEmbossedInShadowAndHighlight)
{
    TAutoFree<TCustomImageList> L(TCustomImageList::CreateSize(3, 2));
    TAutoFree<TBitmap> S(Strip());
    L->AddMasked(S.get(), clFuchsia);
    TAutoFree<TBitmap> D(Background(clGray));
    L->Draw(D->Canvas(), 1, 1, 0, false);
    TCanvas *C = D->Canvas();
    const TColor Shadow = TColor(ColorToRGB(clBtnShadow)), Light = TColor(ColorToRGB(clBtnHighlight));
    // Frame 0: red . white / . navy red  (the white pixel is not part of the shape)
    EXPECT_EQ(C->Pixels(1, 1), Shadow);       // red
    EXPECT_EQ(C->Pixels(2, 2), Shadow);       // navy
    EXPECT_EQ(C->Pixels(3, 2), Shadow);       // red
    EXPECT_EQ(C->Pixels(2, 1), clGray);       // transparent, nothing above-left of it
    EXPECT_EQ(C->Pixels(3, 1), clGray);       // white pixel, no highlight under it
    EXPECT_EQ(C->Pixels(3, 3), Light);        // highlight of navy
    EXPECT_EQ(C->Pixels(4, 3), Light);        // highlight of the last red
    EXPECT_EQ(C->Pixels(1, 2), clGray);
    EXPECT_EQ(C->Pixels(0, 0), clGray);
}

TEST(ImageList, GetBitmapGivesAFrameAtTheListSize)
{
    TAutoFree<TCustomImageList> L(TCustomImageList::CreateSize(3, 2));
    TAutoFree<TBitmap> S(Strip());
    L->AddMasked(S.get(), clFuchsia);
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(10, 10);
    L->GetBitmap(1, B.get());
    EXPECT_EQ(B->Width(), 3);
    EXPECT_EQ(B->Height(), 2);
    EXPECT_EQ(B->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(B->Canvas()->Pixels(2, 0), clWhite);   // the masked pixel shows the bitmap's own white
    EXPECT_EQ(B->Canvas()->Pixels(2, 1), clBlue);
    L->Clear();
    EXPECT_EQ(L->Count(), 0);
}

} // namespace
