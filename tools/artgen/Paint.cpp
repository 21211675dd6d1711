#include "tools/artgen/Art.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <QPainterPath>
#include <QTransform>

namespace Art {

QColor Tc(quint32 Value)
{
    return QColor(int(Value & 0xFF), int(Value >> 8 & 0xFF), int(Value >> 16 & 0xFF));
}

QColor Mix(const QColor &A, const QColor &B, qreal T)
{
    return QColor::fromRgbF(A.redF() + (B.redF() - A.redF()) * T, A.greenF() + (B.greenF() - A.greenF()) * T,
                            A.blueF() + (B.blueF() - A.blueF()) * T);
}

QImage NewArt(int W, int H)
{
    QImage Image(W, H, QImage::Format_ARGB32_Premultiplied);
    Image.fill(Qt::transparent);
    return Image;
}

QImage Solid(int W, int H, const QColor &C)
{
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(C);
    return Image;
}

QImage Over(const QImage &Art, const QImage &Background)
{
    QImage Out = Background.convertToFormat(QImage::Format_RGB32);
    QPainter P(&Out);
    P.drawImage(0, 0, Art);
    return Out;
}

QImage Keyed(const QImage &Art, const QColor &Ground)
{
    return Keyed(Art, Solid(Art.width(), Art.height(), Ground));
}

QImage Keyed(const QImage &Art, const QImage &Ground)
{
    QImage Out = Over(Art, Ground);
    const QImage Alpha = Art.convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Out.height(); ++Y) {
        const QRgb *A = reinterpret_cast<const QRgb *>(Alpha.constScanLine(Y));
        QRgb *O = reinterpret_cast<QRgb *>(Out.scanLine(Y));
        for (int X = 0; X < Out.width(); ++X)
            if (qAlpha(A[X]) == 0)
                O[X] = Magenta;
    }
    return Out;
}

QImage JoinFrames(const QList<QImage> &Frames)
{
    int W = 0, H = 0;
    for (const QImage &F : Frames) {
        W += F.width();
        H = qMax(H, F.height());
    }
    QImage Out(W, H, QImage::Format_RGB32);
    Out.fill(Magenta);
    QPainter P(&Out);
    int X = 0;
    for (const QImage &F : Frames) {
        P.drawImage(X, 0, F);
        X += F.width();
    }
    return Out;
}

QImage Rotated(const QImage &Image, int Degrees)
{
    return Image.transformed(QTransform().rotate(Degrees));
}

void Antialiased(QPainter &P)
{
    P.setRenderHint(QPainter::Antialiasing);
}

QLinearGradient Vertical(const QRectF &R, const QColor &Top, const QColor &Bottom)
{
    QLinearGradient G(R.topLeft(), R.bottomLeft());
    G.setColorAt(0, Top);
    G.setColorAt(1, Bottom);
    return G;
}

QLinearGradient Horizontal(const QRectF &R, const QColor &Left, const QColor &Right)
{
    QLinearGradient G(R.topLeft(), R.topRight());
    G.setColorAt(0, Left);
    G.setColorAt(1, Right);
    return G;
}

void Face(QPainter &P, const QRectF &R, qreal Radius, const QColor &Top, const QColor &Bottom, const QColor &Line,
          bool Gloss)
{
    Antialiased(P);
    const QRectF Inner = R.adjusted(0.5, 0.5, -0.5, -0.5);
    P.setPen(QPen(Line, 1));
    P.setBrush(Vertical(Inner, Top, Bottom));
    P.drawRoundedRect(Inner, Radius, Radius);
    if (Gloss) {
        // The shine: a paler band over the upper half, its lower edge sharp like a lens highlight.
        QRectF Shine = Inner.adjusted(1.5, 1.5, -1.5, 0);
        Shine.setHeight(Inner.height() * 0.45);
        QLinearGradient G = Vertical(Shine, QColor(255, 255, 255, 200), QColor(255, 255, 255, 70));
        P.setPen(Qt::NoPen);
        P.setBrush(G);
        const qreal SR = qMax<qreal>(0, qMin(Radius - 1, Shine.height() / 2));
        P.drawRoundedRect(Shine, SR, SR);
    }
}

void Bevel(QPainter &P, const QRect &R, const QColor &Light, const QColor &Dark, bool Sunken)
{
    P.setRenderHint(QPainter::Antialiasing, false);
    const QColor &TL = Sunken ? Dark : Light;
    const QColor &BR = Sunken ? Light : Dark;
    P.setPen(TL);
    P.drawLine(R.left(), R.top(), R.right() - 1, R.top());
    P.drawLine(R.left(), R.top(), R.left(), R.bottom() - 1);
    P.setPen(BR);
    P.drawLine(R.left(), R.bottom(), R.right(), R.bottom());
    P.drawLine(R.right(), R.top(), R.right(), R.bottom());
}

void TitleGlyph(QPainter &P, const QRectF &Box, TGlyph Kind, const QColor &C, qreal Pen)
{
    Antialiased(P);
    P.setPen(QPen(C, Pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    P.setBrush(Qt::NoBrush);
    const QRectF B = Box.adjusted(Pen / 2, Pen / 2, -Pen / 2, -Pen / 2);
    switch (Kind) {
    case gClose:
        P.drawLine(B.topLeft(), B.bottomRight());
        P.drawLine(B.topRight(), B.bottomLeft());
        break;
    case gMin:
        P.drawLine(QPointF(B.left(), B.bottom()), B.bottomRight());
        break;
    case gMax:
        P.drawRect(B);
        P.drawLine(QPointF(B.left(), B.top() + Pen), QPointF(B.right(), B.top() + Pen));
        break;
    case gRestore: {
        // The window behind shows only its top and right edges, so the glyph stays open at small sizes.
        const qreal S = B.width() * 0.72, Step = B.width() - S;
        const QRectF Front(B.left(), B.top() + Step, S, S);
        P.drawRect(Front);
        P.drawPolyline(QPolygonF() << QPointF(B.left() + Step, Front.top()) << QPointF(B.left() + Step, B.top())
                                   << B.topRight() << QPointF(B.right(), B.top() + S)
                                   << QPointF(Front.right(), B.top() + S));
        break;
    }
    case gHelp: {
        QPainterPath Q;
        const qreal W = B.width(), H = B.height();
        Q.moveTo(B.left() + W * 0.15, B.top() + H * 0.3);
        Q.cubicTo(B.left() + W * 0.15, B.top() - H * 0.05, B.right(), B.top() - H * 0.05, B.right(), B.top() + H * 0.3);
        Q.cubicTo(B.right(), B.top() + H * 0.5, B.center().x(), B.top() + H * 0.45, B.center().x(), B.top() + H * 0.7);
        P.drawPath(Q);
        P.setPen(Qt::NoPen);
        P.setBrush(C);
        P.drawEllipse(QPointF(B.center().x(), B.bottom() - Pen * 0.2), Pen * 0.7, Pen * 0.7);
        break;
    }
    case gControlBox: {
        // The window menu: three bars.
        const qreal Bar = qBound<qreal>(1, Box.height() / 6, Pen);
        P.setPen(QPen(C, Bar, Qt::SolidLine, Qt::FlatCap));
        for (int I = 0; I < 3; ++I) {
            const qreal Y = Box.top() + Bar / 2 + (Box.height() - Bar) * 0.5 * I;
            P.drawLine(QPointF(Box.left() + Pen * 0.2, Y), QPointF(Box.right() - Pen * 0.2, Y));
        }
        break;
    }
    }
}

void CheckMark(QPainter &P, const QRectF &Box, const QColor &C, qreal Pen)
{
    Antialiased(P);
    P.setPen(QPen(C, Pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.setBrush(Qt::NoBrush);
    QPainterPath Path;
    Path.moveTo(Box.left(), Box.top() + Box.height() * 0.55);
    Path.lineTo(Box.left() + Box.width() * 0.38, Box.bottom());
    Path.lineTo(Box.right(), Box.top());
    P.drawPath(Path);
}

void Arrow(QPainter &P, const QRectF &Box, TDir Dir, const QColor &C)
{
    Antialiased(P);
    P.setPen(Qt::NoPen);
    P.setBrush(C);
    QPolygonF T;
    const QRectF B = Box;
    switch (Dir) {
    case dUp: T << QPointF(B.left(), B.bottom()) << QPointF(B.center().x(), B.top()) << B.bottomRight(); break;
    case dDown: T << B.topLeft() << B.topRight() << QPointF(B.center().x(), B.bottom()); break;
    case dLeft: T << B.topRight() << B.bottomRight() << QPointF(B.left(), B.center().y()); break;
    case dRight: T << B.topLeft() << B.bottomLeft() << QPointF(B.right(), B.center().y()); break;
    }
    P.drawPolygon(T);
}

QImage Quantized(const QImage &Image, int MaxColours)
{
    // Keep the most frequent colours exactly (the grounds and faces that neighbouring pictures share) and move
    // each rarer one, mostly edge pixels, to its nearest kept colour; the key is always kept and never chosen.
    QImage Out = Image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> Count;
    for (int Y = 0; Y < Out.height(); ++Y) {
        const QRgb *Row = reinterpret_cast<const QRgb *>(Out.constScanLine(Y));
        for (int X = 0; X < Out.width(); ++X)
            ++Count[Row[X] | 0xFF000000u];
    }
    if (Count.size() <= MaxColours)
        return Out;
    QList<QRgb> Colours = Count.keys();
    std::sort(Colours.begin(), Colours.end(), [&](QRgb A, QRgb B) { return Count[A] != Count[B] ? Count[A] > Count[B] : A < B; });
    QList<QRgb> Kept;
    for (QRgb C : Colours)
        if (C != Magenta && Kept.size() < MaxColours - 1)
            Kept << C;
    QHash<QRgb, QRgb> Nearest;
    for (QRgb C : Colours) {
        if (C == Magenta || Kept.contains(C))
            continue;
        int Best = INT_MAX;
        for (QRgb K : Kept) {
            const int DR = qRed(C) - qRed(K), DG = qGreen(C) - qGreen(K), DB = qBlue(C) - qBlue(K);
            const int D = DR * DR + DG * DG + DB * DB;
            if (D < Best) {
                Best = D;
                Nearest[C] = K;
            }
        }
    }
    for (int Y = 0; Y < Out.height(); ++Y) {
        QRgb *Row = reinterpret_cast<QRgb *>(Out.scanLine(Y));
        for (int X = 0; X < Out.width(); ++X) {
            const auto It = Nearest.constFind(Row[X] | 0xFF000000u);
            if (It != Nearest.constEnd())
                Row[X] = *It;
        }
    }
    return Out;
}

} // namespace Art
