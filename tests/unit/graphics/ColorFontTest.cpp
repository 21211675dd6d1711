// Colours, their names, and the published properties of fonts, pens and brushes.
#include "framework/core/TypInfo.h"
#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

namespace {

TEST(Colors, SystemColoursResolveThroughTheFixedTable)
{
    const struct
    {
        TColor Color;
        COLORREF Rgb;
    } Cases[] = {
        {clRed, 0x0000FF},
        {clNavy, 0x800000},
        {clBtnFace, GetSysColor(COLOR_BTNFACE)},
        {clHighlight, GetSysColor(COLOR_HIGHLIGHT)},
        {clMenuText, 0x000000},
        {clWindow, 0xFFFFFF},
        {TColor(0xFF000014), GetSysColor(COLOR_BTNHIGHLIGHT)},     // high byte 0xFF marks a system colour too
        {TColor(0x80000003), GetSysColor(COLOR_INACTIVECAPTION)},
        {TColor(0x800000FE), 0},                                 // unknown index
        {clNone, COLORREF(clNone)},
    };
    for (const auto &C : Cases)
        EXPECT_EQ(ColorToRGB(C.Color), C.Rgb) << std::hex << C.Color;
    EXPECT_EQ(clBtnFace, TColor(0x8000000F));
    EXPECT_EQ(clInactiveCaption, TColor(0x80000003));
    EXPECT_EQ(clWindowText, TColor(0x80000008));
    EXPECT_NE(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(Colors, NamesAndNumbersBothWays)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(ColorToString(TColor(0xFF000014)), "$FF000014");
    const struct
    {
        const char *Text;
        TColor Color;
    } Good[] = {
        {"clBtnFace", clBtnFace}, {"CLRED", clRed}, {"$00FF0000", clBlue}, {"0xFF", clRed},
        {"255", clRed}, {"-2147483633", clBtnFace}, {" clWhite ", clWhite}, {"$FF000014", TColor(0xFF000014)},
    };
    for (const auto &C : Good)
        EXPECT_EQ(StringToColor(QString::fromLatin1(C.Text)), C.Color) << C.Text;
    for (const char *Bad : {"clNope", "", "$XYZ", "12a", "0x1FFFFFFFF"})
        EXPECT_THROW(StringToColor(QString::fromLatin1(Bad)), EConvertError) << Bad;
    qint64 V = 0;
    EXPECT_TRUE(IdentToCharset(QStringLiteral("default_charset"), V));
    EXPECT_EQ(V, 1);
    QString Name;
    EXPECT_TRUE(CharsetToIdent(CHINESEBIG5_CHARSET, Name));
    EXPECT_EQ(Name, "CHINESEBIG5_CHARSET");
}

TEST(Fonts, SizeAndHeightConvertAtNinetySixDpi)
{
    TAutoFree<TFont> F(TFont::Create());
    EXPECT_EQ(F->Name(), "MS Sans Serif");
    EXPECT_EQ(F->Height(), -11);
    EXPECT_EQ(F->Size(), 8);
    EXPECT_EQ(F->Color(), clWindowText);
    EXPECT_EQ(F->Charset(), DEFAULT_CHARSET);
    const struct
    {
        int Size, Height;
    } Cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {14, -19}};
    for (const auto &C : Cases) {
        F->SetSize(C.Size);
        EXPECT_EQ(F->Height(), C.Height);
        EXPECT_EQ(F->Size(), C.Size);
    }
}

TEST(Fonts, ChangesNotifyAndRenewTheHandle)
{
    TAutoFree<TFont> F(TFont::Create());
    int Changes = 0;
    F->OnChange = [&](TObject *) { ++Changes; };
    HFONT First = F->Handle();
    EXPECT_EQ(F->Handle(), First);
    F->SetStyle(TFontStyles{fsBold, fsItalic});
    F->SetColor(clRed);
    F->SetName(QStringLiteral("Tahoma"));
    EXPECT_EQ(Changes, 3);
    HFONT Second = F->Handle();
    EXPECT_TRUE(Second->QtFont().bold());
    EXPECT_TRUE(Second->QtFont().italic());
    EXPECT_EQ(Second->Log.lfFaceName, "Tahoma");
    F->SetColor(clRed);                       // same value: no change
    EXPECT_EQ(Changes, 3);

    TAutoFree<TFont> G(TFont::Create());
    G->Assign(F.get());
    EXPECT_EQ(G->Name(), "Tahoma");
    EXPECT_EQ(G->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(G->Color(), clRed);
    TAutoFree<TPen> P(TPen::Create());
    EXPECT_THROW(G->Assign(P.get()), EConvertError);
}

TEST(Fonts, HandleFromALogicalFontSetsTheProperties)
{
    LOGFONT L;
    L.lfHeight = -13;
    L.lfWeight = FW_BOLD;
    L.lfUnderline = 1;
    L.lfCharSet = CHINESEBIG5_CHARSET;
    L.lfFaceName = QStringLiteral("Tahoma");
    TAutoFree<TFont> F(TFont::Create());
    F->SetHandle(CreateFontIndirect(&L));
    EXPECT_EQ(F->Name(), "Tahoma");
    EXPECT_EQ(F->Height(), -13);
    EXPECT_EQ(F->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(F->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(F->Handle()->Log.lfHeight, -13);
}

TEST(Fonts, PublishedPropertiesTakeLayoutValues)
{
    TAutoFree<TFont> F(TFont::Create());
    for (const char *Name : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
        EXPECT_TRUE(IsPublishedProp(F.get(), QString::fromLatin1(Name))) << Name;
    SetPropValue(F.get(), QStringLiteral("color"), QStringLiteral("clBtnFace"));
    EXPECT_EQ(F->Color(), clBtnFace);
    SetPropValue(F.get(), QStringLiteral("Charset"), QStringLiteral("GB2312_CHARSET"));
    EXPECT_EQ(F->Charset(), GB2312_CHARSET);
    SetPropValue(F.get(), QStringLiteral("Style"), QStringLiteral("[fsBold]"));
    EXPECT_EQ(F->Style(), TFontStyles{fsBold});
    SetOrdProp(F.get(), QStringLiteral("Height"), -16);
    EXPECT_EQ(GetOrdProp(F.get(), QStringLiteral("Size")), 12);
    const TPropInfo *Size = GetPropInfo(F.get(), QStringLiteral("Size"));
    ASSERT_NE(Size, nullptr);
    EXPECT_FALSE(Size->IsStored(F.get()));
    EXPECT_EQ(GetPropInfo(F.get(), QStringLiteral("Color"))->Idents, &ColorIdents());

    TAutoFree<TPen> P(TPen::Create());
    EXPECT_EQ(P->Color(), clBlack);
    EXPECT_EQ(P->Width(), 1);
    SetPropValue(P.get(), QStringLiteral("Style"), QStringLiteral("psDot"));
    EXPECT_EQ(P->Style(), psDot);
    TAutoFree<TBrush> B(TBrush::Create());
    EXPECT_EQ(B->Color(), clWhite);
    B->SetStyle(bsClear);
    B->SetColor(clRed);                      // a colour makes a clear brush solid again
    EXPECT_EQ(B->Style(), bsSolid);
    SetPropValue(B.get(), QStringLiteral("Color"), QStringLiteral("clHighlight"));
    EXPECT_EQ(B->Color(), clHighlight);
}

} // namespace
