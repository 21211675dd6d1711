// Text on a DC: glyphs come from QPainter, layout (lines, tabs, word breaks, accelerators) is ours.
#include "platform/Gdi.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

const QFont &CurrentFont(HDC DC)
{
    if (DC->State.Font)
        return DC->State.Font->QtFont();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))->QtFont();
}

QColor ToQColor(COLORREF C) { return QColor(GetRValue(C), GetGValue(C), GetBValue(C)); }

// One line of laid-out text; Underline indexes the accelerator character, or -1.
struct TextLine
{
    QString Text;
    int Underline = -1;
};

class TextLayout
{
public:
    TextLayout(const QFont &F, bool ExpandTabs) : FM(F), TabWidth(ExpandTabs ? 8 * std::max(1, FM.averageCharWidth()) : 0) {}

    // Width of Text drawn from x = 0, with tab stops when expanding tabs.
    int Width(const QString &Text) const
    {
        if (!TabWidth)
            return FM.horizontalAdvance(Text);
        int X = 0;
        qsizetype From = 0;
        for (qsizetype I = 0; I <= Text.size(); ++I) {
            if (I == Text.size() || Text[I] == u'\t') {
                X += FM.horizontalAdvance(Text.mid(From, I - From));
                if (I < Text.size())
                    X = (X / TabWidth + 1) * TabWidth;
                From = I + 1;
            }
        }
        return X;
    }

    // Calls Draw(x, piece) for the runs between tabs.
    template <class F> void Runs(const QString &Text, F Draw) const
    {
        int X = 0;
        qsizetype From = 0;
        for (qsizetype I = 0; I <= Text.size(); ++I) {
            if (I == Text.size() || (TabWidth && Text[I] == u'\t')) {
                const QString Piece = Text.mid(From, I - From);
                Draw(X, Piece);
                X += FM.horizontalAdvance(Piece);
                if (I < Text.size())
                    X = (X / TabWidth + 1) * TabWidth;
                From = I + 1;
            }
        }
    }

    QFontMetrics FM;
    int TabWidth;
};

// "&x" marks x, "&&" is "&"; a lone trailing "&" is dropped.
TextLine StripPrefixes(const QString &Text)
{
    TextLine L;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'&') {
            if (++I >= Text.size())
                break;
            if (Text[I] != u'&')
                L.Underline = int(L.Text.size());
        }
        L.Text += Text[I];
    }
    return L;
}

QStringList Paragraphs(const QString &Text, bool SingleLine)
{
    if (SingleLine) {
        QString T = Text;
        T.remove(u'\r');
        T.remove(u'\n');
        return {T};
    }
    QString T = Text;
    T.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    T.replace(u'\r', u'\n');
    return T.split(u'\n');
}

// Greedy breaking between words at MaxWidth; a word wider than MaxWidth stays whole on its own line.
void BreakWords(const TextLine &Para, const TextLayout &Layout, int MaxWidth, std::vector<TextLine> &Out)
{
    const QString &S = Para.Text;
    const int N = int(S.size());
    int Start = 0;
    do {
        int End = -1, I = Start;
        while (true) {
            int J = I;
            while (J < N && S[J] != u' ')
                ++J;
            if (End >= 0 && Layout.Width(S.mid(Start, J - Start)) > MaxWidth)
                break;
            End = J;
            I = J;
            while (I < N && S[I] == u' ')
                ++I;
            if (I >= N || Layout.Width(S.mid(Start, End - Start)) > MaxWidth)
                break;
        }
        TextLine L;
        L.Text = S.mid(Start, End - Start);
        if (Para.Underline >= Start && Para.Underline < End)
            L.Underline = Para.Underline - Start;
        Out.push_back(L);
        Start = End;
        while (Start < N && S[Start] == u' ')
            ++Start;
    } while (Start < N);
}

// Draws one line of text with its cell's top-left at surface point S.
void PaintLine(HDC DC, QPainter &P, const TextLayout &Layout, QPoint S, const TextLine &Line)
{
    const QFontMetrics &FM = Layout.FM;
    if (DC->State.BkMode == OPAQUE)
        P.fillRect(QRect(S, QSize(Layout.Width(Line.Text), FM.height())), ToQColor(DC->State.BkColor));
    Layout.Runs(Line.Text, [&](int X, const QString &Piece) {
        if (!Piece.isEmpty())
            P.drawText(S.x() + X, S.y() + FM.ascent(), Piece);
    });
    if (Line.Underline >= 0) {
        const int X0 = Layout.Width(Line.Text.left(Line.Underline));
        const int W = FM.horizontalAdvance(Line.Text.mid(Line.Underline, 1));
        const int Y = S.y() + FM.ascent() + std::max(1, FM.underlinePos());
        P.fillRect(QRect(S.x() + X0, Y, W, std::max(1, FM.lineWidth())), ToQColor(DC->State.TextColor));
    }
}

} // namespace

BOOL GetTextExtentPoint32(HDC DC, const QString &Text, SIZE *Size)
{
    if (!DC || !Size)
        return FALSE;
    const QFontMetrics FM(CurrentFont(DC));
    *Size = SIZE{FM.horizontalAdvance(Text), FM.height()};
    return TRUE;
}

BOOL GetTextMetrics(HDC DC, TEXTMETRIC *M)
{
    if (!DC || !M)
        return FALSE;
    const QFont &F = CurrentFont(DC);
    const QFontMetrics FM(F);
    M->tmHeight = FM.height();
    M->tmAscent = FM.ascent();
    M->tmDescent = FM.descent();
    M->tmInternalLeading = std::max(0, FM.height() - F.pixelSize());
    M->tmExternalLeading = std::max(0, FM.leading());
    M->tmAveCharWidth = FM.averageCharWidth();
    M->tmMaxCharWidth = FM.maxWidth();
    M->tmWeight = F.weight();
    return TRUE;
}

BOOL TextOut(HDC DC, int X, int Y, const QString &Text)
{
    if (!DC || !DC->Surface() || DC->Surface()->isNull())
        return FALSE;
    const QRegion Clip = DC->SurfaceClip();
    const TextLayout Layout(CurrentFont(DC), false);
    const QPoint S = DC->ToSurface(X, Y);
    {
        QPainter P(DC->Surface());
        P.setClipRegion(Clip);
        P.setFont(CurrentFont(DC));
        P.setPen(ToQColor(DC->State.TextColor));
        PaintLine(DC, P, Layout, S, TextLine{Text, -1});
    }
    const QRect Cell(S, QSize(Layout.Width(Text), Layout.FM.height()));
    if (!(Clip.boundingRect() & Cell).isEmpty())
        DC->Changed(Clip.boundingRect() & Cell);
    return TRUE;
}

int DrawText(HDC DC, const QString &Text, int Length, RECT *R, UINT Format)
{
    if (!DC || !R)
        return 0;
    const QString Source = Length < 0 ? Text : Text.left(Length);
    const bool SingleLine = Format & DT_SINGLELINE;
    const TextLayout Layout(CurrentFont(DC), Format & DT_EXPANDTABS);

    std::vector<TextLine> Lines;
    if (!Source.isEmpty())
        for (QString Para : Paragraphs(Source, SingleLine)) {
            if (!(Format & DT_EXPANDTABS))
                Para.replace(u'\t', u' ');
            TextLine L = (Format & DT_NOPREFIX) ? TextLine{Para, -1} : StripPrefixes(Para);
            if (!SingleLine && (Format & DT_WORDBREAK))
                BreakWords(L, Layout, R->Right - R->Left, Lines);
            else
                Lines.push_back(L);
        }

    const int LineHeight = Layout.FM.height();
    const int TextHeight = int(Lines.size()) * LineHeight;
    if (Format & DT_CALCRECT) {
        int Widest = 0;
        for (const TextLine &L : Lines)
            Widest = std::max(Widest, Layout.Width(L.Text));
        R->Right = R->Left + Widest;
        R->Bottom = R->Top + TextHeight;
        return TextHeight;
    }

    int Top = R->Top;
    if (SingleLine && (Format & DT_VCENTER))
        Top = R->Top + (R->Bottom - R->Top - TextHeight) / 2;
    else if (SingleLine && (Format & DT_BOTTOM))
        Top = R->Bottom - TextHeight;

    if (DC->Surface() && !DC->Surface()->isNull() && !Lines.empty()) {
        QRegion Clip = DC->SurfaceClip();
        if (!(Format & DT_NOCLIP)) {
            const QPoint O = DC->ToSurface(R->Left, R->Top);
            Clip &= QRect(O, QSize(std::max(0, R->Right - R->Left), std::max(0, R->Bottom - R->Top)));
        }
        QRect Touched;
        {
            QPainter P(DC->Surface());
            P.setClipRegion(Clip);
            P.setFont(CurrentFont(DC));
            P.setPen(ToQColor(DC->State.TextColor));
            int Y = Top;
            for (const TextLine &L : Lines) {
                const int W = Layout.Width(L.Text);
                int X = R->Left;
                if (Format & DT_CENTER)
                    X = R->Left + (R->Right - R->Left - W) / 2;
                else if (Format & DT_RIGHT)
                    X = R->Right - W;
                const QPoint S = DC->ToSurface(X, Y);
                PaintLine(DC, P, Layout, S, L);
                Touched |= QRect(S, QSize(W + 1, LineHeight + 1));
                Y += LineHeight;
            }
        }
        Touched &= Clip.boundingRect();
        if (!Touched.isEmpty())
            DC->Changed(Touched);
    }
    if (SingleLine && (Format & (DT_VCENTER | DT_BOTTOM)))
        return Top + TextHeight - R->Top;
    return TextHeight;
}
