// Graphics in window layouts: colour and charset names, font sub-properties and picture data, both ways.
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

class TPictureHolder : public TComponent
{
    KIV_OBJECT(TPictureHolder, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FFont = TFont::Create();
        FPicture = TPicture::Create();
    }
    ~TPictureHolder() override
    {
        FreeAndNil(FFont);
        FreeAndNil(FPicture);
    }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TFont *Font() const { return FFont; }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TPicture *Picture() const { return FPicture; }
    void SetPicture(TPicture *Value) { FPicture->Assign(Value); }

private:
    TColor FColor = clWindow;
    TFont *FFont = nullptr;
    TPicture *FPicture = nullptr;
};

KIV_PUBLISHED(TPictureHolder)
{
    Property("Color", &TPictureHolder::Color, &TPictureHolder::SetColor).Default(clWindow).Idents(&ColorIdents());
    Property("Font", &TPictureHolder::Font, &TPictureHolder::SetFont);
    Property("Picture", &TPictureHolder::Picture, &TPictureHolder::SetPicture);
}

namespace {

TEST(GraphicsLayout, ColoursFontsAndPicturesRoundTrip)
{
    TAutoFree<TPictureHolder> A(TPictureHolder::Create(nullptr));
    A->SetName(QStringLiteral("Holder1"));
    A->SetColor(clBtnFace);
    A->Font()->SetCharset(GB2312_CHARSET);
    A->Font()->SetColor(clHighlight);
    A->Font()->SetName(QStringLiteral("Tahoma"));
    A->Font()->SetStyle(TFontStyles{fsBold});
    A->Picture()->Bitmap()->SetSize(3, 2);
    A->Picture()->Bitmap()->Canvas()->SetPixels(2, 1, clFuchsia);
    A->Picture()->Bitmap()->SetPixelFormat(pf8bit);

    const QByteArray Text = WriteComponentToText(A.get());
    for (const char *Line : {"Color = clBtnFace", "Font.Charset = GB2312_CHARSET", "Font.Color = clHighlight",
                             "Font.Height = -11", "Font.Name = 'Tahoma'", "Font.Style = [fsBold]", "Picture.Data = {"})
        EXPECT_TRUE(Text.contains(Line)) << Line << "\n" << Text.toStdString();
    EXPECT_FALSE(Text.contains("Font.Size"));

    TAutoFree<TPictureHolder> B(TPictureHolder::Create(nullptr));
    ReadComponentFromText(Text, B.get());
    EXPECT_EQ(B->Color(), clBtnFace);
    EXPECT_EQ(B->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(B->Font()->Color(), clHighlight);
    EXPECT_EQ(B->Font()->Name(), "Tahoma");
    EXPECT_EQ(B->Font()->Style(), TFontStyles{fsBold});
    ASSERT_NE(B->Picture()->Graphic(), nullptr);
    EXPECT_EQ(B->Picture()->Width(), 3);
    EXPECT_EQ(B->Picture()->Bitmap()->PixelFormat(), pf8bit);
    EXPECT_EQ(B->Picture()->Bitmap()->Canvas()->Pixels(2, 1), clFuchsia);
    EXPECT_EQ(WriteComponentToText(B.get()), Text);
}

TEST(GraphicsLayout, NumbersStandForColoursWithoutNames)
{
    TAutoFree<TPictureHolder> B(TPictureHolder::Create(nullptr));
    ReadComponentFromText("object Holder1: TPictureHolder\n  Color = 1193046\n  Font.Color = -16777196\nend\n", B.get());
    EXPECT_EQ(B->Color(), 0x123456);
    EXPECT_EQ(B->Font()->Color(), TColor(0xFF000014));
    EXPECT_EQ(ColorToRGB(B->Font()->Color()), GetSysColor(COLOR_BTNHIGHLIGHT));
}

} // namespace
