#include "tools/artgen/Art.h"

// MacOS: light grey with fine pinstripes, glossy pills that turn aqua when pressed, round coloured title buttons.

namespace Art {

namespace {

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00E7E7E7);
    L.Face = QColor(0xD8, 0xD8, 0xD8);
    L.FaceDark = QColor(0xB8, 0xB8, 0xB8);
    L.Border = Tc(0x007F7F7F);
    L.Accent = QColor(0x7A, 0xB4, 0xF5);
    L.AccentDark = QColor(0x2E, 0x6F, 0xCF);
    L.Mark = QColor(0x20, 0x20, 0x20);
    L.TitleTop = QColor(0xEC, 0xEC, 0xEC);
    L.TitleBottom = QColor(0xC4, 0xC4, 0xC4);
    L.TitleLine = QColor(0x86, 0x86, 0x86);
    L.ScrollGround = Tc(0x00C9C9C9);
    L.Radius = 11;
    L.Gloss = true;
    L.KeyButtons = true;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(0xF0, 0xF6, 0xFF), QColor(0xA8, 0xC8, 0xF0), QColor(0x5A, 0x7D, 0xB0)};
    case sDown: return {QColor(0x7A, 0xB4, 0xF5), QColor(0x2E, 0x6F, 0xCF), QColor(0x28, 0x4C, 0x8C)};
    default: return {QColor(Qt::white), QColor(0xD4, 0xD4, 0xD4), QColor(0x8A, 0x8A, 0x8A)};
    }
}

// The title: a soft grey gradient crossed by pinstripes one pixel apart.
QImage Title(const TLook &L, int W, int H)
{
    QImage Out = TitleGradient(L, W, H);
    QPainter P(&Out);
    for (int Y = 2; Y < H - 1; Y += 2)
        P.fillRect(0, Y, W, 1, QColor(255, 255, 255, 70));
    return Out;
}

QColor BallColour(TGlyph G)
{
    switch (G) {
    case gClose: return QColor(0xE2, 0x45, 0x3C);
    case gMin: return QColor(0xF2, 0xB1, 0x2E);
    case gMax:
    case gRestore: return QColor(0x3E, 0xB5, 0x40);
    default: return QColor(0x8E, 0xA2, 0xBC);
    }
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    const QColor Base = BallColour(G);
    const QColor Base2 = S == sDown ? Base.darker(135) : S == sHover ? Base.lighter(108) : Base;
    const QRectF Ball = R.adjusted(1.5, 1.5, -1.5, -1.5);
    QRadialGradient Fill(Ball.center() + QPointF(0, Ball.height() * 0.25), Ball.width() * 0.7);
    Fill.setColorAt(0, Base2.lighter(135));
    Fill.setColorAt(1, Base2);
    P.setPen(QPen(Base2.darker(170), 1));
    P.setBrush(Fill);
    P.drawEllipse(Ball);
    // The lens highlight of a glass ball, lit from above.
    QRectF Shine(Ball.left() + Ball.width() * 0.22, Ball.top() + 1, Ball.width() * 0.56, Ball.height() * 0.4);
    P.setPen(Qt::NoPen);
    P.setBrush(Vertical(Shine, QColor(255, 255, 255, 220), QColor(255, 255, 255, 40)));
    P.drawEllipse(Shine);
    if (S != sNormal) {
        const qreal G0 = Ball.width() * 0.32;
        TitleGlyph(P, Ball.adjusted(G0, G0, -G0, -G0), G, Base2.darker(300), 1.4);
    }
}

} // namespace

QImage DrawMacOS(const QString &Suffix, int W, int H)
{
    const TLook L = Look();
    if (Suffix.startsWith(u"TITLE_"))
        return Title(L, W, H);
    if (Suffix == u"TITLEBTN")
        return TitleButtonStrip(W, H, Title(L, W / 18, 23).copy(0, 4, W / 18, H), false, TitleButton);
    if (Suffix == u"PROGRESSBAR") {
        // Aqua progress: blue gloss with a diagonal stripe that repeats as the bar stretches.
        QImage Out = ProgressPiece(L, W, H);
        QPainter P(&Out);
        Antialiased(P);
        P.setPen(QPen(QColor(255, 255, 255, 60), 3));
        P.drawLine(QPointF(2, H), QPointF(W - 2, 0));
        return Out;
    }
    return Standard(L, Suffix, W, H, Faces);
}

} // namespace Art
