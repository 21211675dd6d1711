// Text on a DC: glyphs come from QPainter, layout (lines, tabs, word breaks, accelerators) is ours.
#include "platform/Gdi.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <memory>
#include <vector>

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

    QFontMetrics FM;
    int TabWidth;
};

// A line cut at its tabs into pieces, each shaped once: the same shaping gives the line its width (for
// alignment and the opaque cell) and draws the glyphs, exactly as QPainter::drawText would place them.
class ShapedLine
{
public:
    ShapedLine(const TextLayout &Layout, const QString &Text, QPainter &P) : FM(Layout.FM)
    {
        int X = 0;
        qsizetype From = 0;
        for (qsizetype I = 0; I <= Text.size(); ++I) {
            if (I == Text.size() || (Layout.TabWidth && Text[I] == u'\t')) {
                if (I > From)
                    X += Shape(Text.mid(From, I - From), X, P);
                if (I < Text.size())
                    X = (X / Layout.TabWidth + 1) * Layout.TabWidth;
                From = I + 1;
            }
        }
        FWidth = X;
    }

    int Width() const { return FWidth; }

    void Draw(QPainter &P, QPoint CellTopLeft) const
    {
        const int Baseline = CellTopLeft.y() + FM.ascent();
        for (const Piece &Pc : FPieces) {
            const int X = CellTopLeft.x() + Pc.X;
            if (Pc.Line.isValid())
                Pc.Line.draw(&P, QPointF(X, Baseline - Pc.Line.ascent()));
            else
                P.drawText(X, Baseline, Pc.Layout->text());
        }
    }

private:
    struct Piece
    {
        int X = 0;
        std::unique_ptr<QTextLayout> Layout;
        QTextLine Line; // invalid when the piece did not fit one layout line: drawn by QPainter then
    };

    // Answers the piece's advance.
    int Shape(const QString &Text, int X, QPainter &P)
    {
        Piece Pc;
        Pc.X = X;
        // The painter's font is already the one for its device.
        Pc.Layout = std::make_unique<QTextLayout>(Text, P.font());
        QTextOption O;
        O.setWrapMode(QTextOption::NoWrap);
        O.setFlags(QTextOption::IncludeTrailingSpaces);
        O.setTextDirection(P.layoutDirection());
        O.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        Pc.Layout->setTextOption(O);
        // Without the cache, ending the layout frees the glyphs and drawing shapes the text again.
        Pc.Layout->setCacheEnabled(true);
        Pc.Layout->beginLayout();
        QTextLine Line = Pc.Layout->createLine();
        Pc.Layout->endLayout();
        int Advance;
        // A line separator inside the text would end the layout's line early.
        if (Line.isValid() && Line.textLength() == Text.size()) {
            Pc.Line = Line;
            Advance = qRound(Line.horizontalAdvance());
        } else
            Advance = FM.horizontalAdvance(Text);
        FPieces.push_back(std::move(Pc));
        return Advance;
    }

    const QFontMetrics &FM;
    std::vector<Piece> FPieces;
    int FWidth = 0;
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

// Draws one shaped line of text with its cell's top-left at surface point S.
void PaintLine(HDC DC, QPainter &P, const TextLayout &Layout, QPoint S, const TextLine &Line, const ShapedLine &Shaped)
{
    const QFontMetrics &FM = Layout.FM;
    if (DC->State.BkMode == OPAQUE)
        P.fillRect(QRect(S, QSize(Shaped.Width(), FM.height())), ToQColor(DC->State.BkColor));
    Shaped.Draw(P, S);
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
    int Width;
    {
        QPainter P(DC->Surface());
        P.setClipRegion(Clip);
        P.setFont(CurrentFont(DC));
        P.setPen(ToQColor(DC->State.TextColor));
        const ShapedLine Shaped(Layout, Text, P);
        Width = Shaped.Width();
        PaintLine(DC, P, Layout, S, TextLine{Text, -1}, Shaped);
    }
    const QRect Cell(S, QSize(Width, Layout.FM.height()));
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
                const ShapedLine Shaped(Layout, L.Text, P);
                const int W = Shaped.Width();
                int X = R->Left;
                if (Format & DT_CENTER)
                    X = R->Left + (R->Right - R->Left - W) / 2;
                else if (Format & DT_RIGHT)
                    X = R->Right - W;
                const QPoint S = DC->ToSurface(X, Y);
                PaintLine(DC, P, Layout, S, L, Shaped);
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
