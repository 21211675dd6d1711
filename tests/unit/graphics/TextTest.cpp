// Text on a DC: extents, TextOut backgrounds and the DrawText flags, as geometry rather than glyphs.
#include "tests/unit/graphics/Surface.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = 0xFFFFFF, Black = 0x000000;

int Width(HDC DC, const QString &Text)
{
    SIZE S;
    GetTextExtentPoint32(DC, Text, &S);
    return S.cx;
}

int LineHeight(HDC DC)
{
    TEXTMETRIC M;
    GetTextMetrics(DC, &M);
    return M.tmHeight;
}

RECT Measure(HDC DC, const QString &Text, UINT Format, int Width = 1000)
{
    RECT R{10, 20, 10 + Width, 20};
    DrawText(DC, Text, -1, &R, Format | DT_CALCRECT);
    return R;
}

TEST(GdiText, TextOutDrawsInsideItsCellAndFillsItWhenOpaque)
{
    TestSurface S(120, 40);
    SetBkMode(S.DC, TRANSPARENT);
    TextOut(S.DC, 5, 7, QStringLiteral("Hello"));
    SIZE E;
    GetTextExtentPoint32(S.DC, QStringLiteral("Hello"), &E);
    const RECT Ink = S.Changed(White);
    EXPECT_FALSE(IsRectEmpty(&Ink));
    EXPECT_GE(Ink.Left, 5);
    EXPECT_GE(Ink.Top, 7);
    EXPECT_LE(Ink.Right, 5 + E.cx + 1);
    EXPECT_LE(Ink.Bottom, 7 + E.cy);

    TestSurface O(120, 40);
    SetBkColor(O.DC, 0x00FF00);
    TextOut(O.DC, 5, 7, QStringLiteral("Hello"));
    EXPECT_EQ(O.At(5, 7), 0x00FF00u);
    EXPECT_EQ(O.At(5 + E.cx - 1, 7 + E.cy - 1), 0x00FF00u);
    EXPECT_EQ(O.At(5 + E.cx, 7), White);
}

TEST(GdiText, CalcRectMeasuresLinesPrefixesAndTabs)
{
    TestSurface S;
    HDC DC = S.DC;
    const int H = LineHeight(DC);
    TEXTMETRIC M;
    GetTextMetrics(DC, &M);
    struct Case
    {
        QString Text;
        UINT Format;
        int Width, Lines;
    } Cases[] = {
        {QStringLiteral("File"), DT_SINGLELINE, Width(DC, QStringLiteral("File")), 1},
        {QStringLiteral("&File"), DT_SINGLELINE, Width(DC, QStringLiteral("File")), 1},
        {QStringLiteral("A&&B"), DT_SINGLELINE, Width(DC, QStringLiteral("A&B")), 1},
        {QStringLiteral("&File"), DT_SINGLELINE | DT_NOPREFIX, Width(DC, QStringLiteral("&File")), 1},
        {QStringLiteral("ab\ncdef"), 0, Width(DC, QStringLiteral("cdef")), 2},
        {QStringLiteral("ab\r\ncd\rx"), 0, Width(DC, QStringLiteral("ab")), 3},
        {QStringLiteral("ab\ncdef"), DT_SINGLELINE, Width(DC, QStringLiteral("abcdef")), 1},
        {QStringLiteral("a\tb"), DT_EXPANDTABS, 8 * M.tmAveCharWidth + Width(DC, QStringLiteral("b")), 1},
        {QStringLiteral("a\tb"), 0, Width(DC, QStringLiteral("a b")), 1},
        {QString(), 0, 0, 0},
    };
    for (const Case &C : Cases) {
        const RECT R = Measure(DC, C.Text, C.Format);
        EXPECT_EQ(R.Left, 10);
        EXPECT_EQ(R.Top, 20);
        EXPECT_EQ(R.Right - R.Left, C.Width) << C.Text.toStdString();
        EXPECT_EQ(R.Bottom - R.Top, C.Lines * H) << C.Text.toStdString();
    }
}

TEST(GdiText, WordBreakWrapsBetweenWordsAndKeepsLongWordsWhole)
{
    TestSurface S;
    const int H = LineHeight(S.DC);
    const int Word = Width(S.DC, QStringLiteral("bbbb"));
    RECT R = Measure(S.DC, QStringLiteral("aaaa bbbb cccc"), DT_WORDBREAK, Word + 2);
    EXPECT_EQ(R.Bottom - R.Top, 3 * H);
    EXPECT_LE(R.Right - R.Left, Word + 2);
    R = Measure(S.DC, QStringLiteral("aaaa bbbb cccc"), DT_WORDBREAK, 2 * Word + Width(S.DC, QStringLiteral(" ")) + 1);
    EXPECT_EQ(R.Bottom - R.Top, 2 * H);
    // A word wider than the rectangle widens the measured rectangle.
    R = Measure(S.DC, QStringLiteral("extraordinarily"), DT_WORDBREAK, 5);
    EXPECT_EQ(R.Bottom - R.Top, H);
    EXPECT_EQ(R.Right - R.Left, Width(S.DC, QStringLiteral("extraordinarily")));
    const int Returned = DrawText(S.DC, QStringLiteral("aaaa bbbb cccc"), -1, &(R = RECT{0, 0, Word + 2, 0}),
                                  DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(Returned, 3 * H);
}

TEST(GdiText, AlignmentFlagsPlaceTheText)
{
    const QString Text = QStringLiteral("Mid");
    struct Case
    {
        UINT Format;
        bool CentredX, RightX, CentredY, BottomY;
    } Cases[] = {
        {DT_SINGLELINE, false, false, false, false},
        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, true, false, true, false},   // 0x25
        {DT_SINGLELINE | DT_RIGHT, false, true, false, false},                // 0x22
        {DT_SINGLELINE | DT_BOTTOM, false, false, false, true},
    };
    for (const Case &C : Cases) {
        TestSurface S(100, 50);
        SetBkMode(S.DC, TRANSPARENT);
        const int W = Width(S.DC, Text), H = LineHeight(S.DC);
        RECT R{10, 5, 90, 45};
        const int Returned = DrawText(S.DC, Text, -1, &R, C.Format);
        const RECT Ink = S.Changed(White);
        ASSERT_FALSE(IsRectEmpty(&Ink));
        const int ExpectedLeft = C.CentredX ? 10 + (80 - W) / 2 : C.RightX ? 90 - W : 10;
        const int ExpectedTop = C.CentredY ? 5 + (40 - H) / 2 : C.BottomY ? 45 - H : 5;
        EXPECT_GE(Ink.Left, ExpectedLeft) << C.Format;
        EXPECT_LE(Ink.Left, ExpectedLeft + 2) << C.Format;
        EXPECT_GE(Ink.Top, ExpectedTop) << C.Format;
        EXPECT_LE(Ink.Bottom, ExpectedTop + H) << C.Format;
        EXPECT_EQ(Returned, (C.CentredY || C.BottomY) ? ExpectedTop + H - 5 : H) << C.Format;
    }
}

TEST(GdiText, DrawTextClipsToItsRectangleUnlessNoClip)
{
    for (UINT Extra : {0u, DT_NOCLIP}) {
        TestSurface S(120, 30);
        SetBkMode(S.DC, TRANSPARENT);
        RECT R{2, 2, 12, 30};
        DrawText(S.DC, QStringLiteral("WWWWWWWW"), -1, &R, DT_SINGLELINE | Extra);
        const RECT Ink = S.Changed(White);
        if (Extra)
            EXPECT_GT(Ink.Right, 12);
        else
            EXPECT_LE(Ink.Right, 12);
    }
}

// A Unicode line or paragraph separator is not a line break for DrawText: the text after it is drawn on
// the same line, and the centring counts it.
TEST(GdiText, SeparatorCharactersDoNotEndTheLine)
{
    for (char16_t Separator : {u'\u2028', u'\u2029'}) {
        const QString Text = QStringLiteral("ab") + QChar(Separator) + QStringLiteral("WWWW");
        TestSurface S(200, 30);
        SetBkMode(S.DC, TRANSPARENT);
        const int W = Width(S.DC, Text);
        RECT R{0, 0, 200, 30};
        DrawText(S.DC, Text, -1, &R, DT_SINGLELINE | DT_CENTER);
        const RECT Ink = S.Changed(White);
        ASSERT_FALSE(IsRectEmpty(&Ink));
        EXPECT_GE(Ink.Left, (200 - W) / 2) << int(Separator);
        EXPECT_GT(Ink.Right, (200 - W) / 2 + Width(S.DC, QStringLiteral("abWWW"))) << int(Separator);
    }
}

TEST(GdiText, AcceleratorIsUnderlined)
{
    auto InkBelowBaseline = [](const QString &Text) {
        TestSurface S(60, 30);
        SetBkMode(S.DC, TRANSPARENT);
        TEXTMETRIC M;
        GetTextMetrics(S.DC, &M);
        RECT R{0, 0, 60, 30};
        DrawText(S.DC, Text, -1, &R, DT_SINGLELINE);
        int N = 0;
        for (int Y = M.tmAscent; Y < 30; ++Y)
            for (int X = 0; X < 60; ++X)
                N += S.At(X, Y) != White;
        return N;
    };
    // "o" has no descender, so ink under the baseline is the underline.
    EXPECT_EQ(InkBelowBaseline(QStringLiteral("oo")), 0);
    EXPECT_GT(InkBelowBaseline(QStringLiteral("&oo")), 0);
    EXPECT_EQ(InkBelowBaseline(QStringLiteral("&oo")), InkBelowBaseline(QStringLiteral("o&o")));
}

} // namespace
