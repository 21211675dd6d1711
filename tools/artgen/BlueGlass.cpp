#include "tools/artgen/Art.h"

#include <QPainterPath>

// BlueGlass: glassy light-blue gradients with a bright lens highlight, corners rounded at radius 11, title
// buttons of clear glass.

namespace Art {

namespace {

constexpr qreal Corner = 11;

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00E7E7E7);
    L.Face = QColor(0xD6, 0xE8, 0xF8);
    L.FaceDark = QColor(0x9C, 0xC8, 0xEE);
    L.Border = QColor(0x4E, 0x86, 0xC0);
    L.Accent = QColor(0x8C, 0xC4, 0xF4);
    L.AccentDark = QColor(0x2E, 0x7C, 0xD0);
    L.Mark = QColor(0x1E, 0x4E, 0x8C);
    L.TitleTop = QColor(0xC4, 0xE0, 0xF8);
    L.TitleBottom = QColor(0x4C, 0x90, 0xD4);
    L.TitleLine = QColor(0x2A, 0x5E, 0x9C);
    L.ScrollGround = Tc(0x00F4F4F4);
    L.Radius = 8;
    L.Gloss = true;
    L.KeyButtons = true;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(0xF0, 0xF8, 0xFF), QColor(0xB4, 0xDA, 0xFA), QColor(0x3A, 0x7A, 0xC8)};
    case sDown: return {QColor(0x78, 0xAE, 0xE4), QColor(0xB0, 0xD6, 0xF6), QColor(0x2E, 0x62, 0xA8)};
    default: return {QColor(0xE6, 0xF2, 0xFC), QColor(0x9C, 0xC8, 0xEE), QColor(0x4E, 0x86, 0xC0)};
    }
}

// Glass: the upper half paler, a sharp step, then a deeper blue that brightens again at the bottom; deep enough
// for the white caption.
void FillGlass(QPainter &P, const QRectF &R)
{
    QLinearGradient G(R.topLeft(), R.bottomLeft());
    G.setColorAt(0, QColor(0xA4, 0xCE, 0xF4));
    G.setColorAt(0.48, QColor(0x72, 0xAE, 0xE6));
    G.setColorAt(0.5, QColor(0x3E, 0x86, 0xD2));
    G.setColorAt(0.9, QColor(0x2E, 0x70, 0xC0));
    G.setColorAt(1, QColor(0x56, 0x9E, 0xE4));
    P.fillRect(R, G);
}

QImage Title(const TLook &L, int W, int H, int RoundedSide)
{
    QImage A = NewArt(W, H);
    QPainter P(&A);
    Antialiased(P);
    QPainterPath Shape;
    if (RoundedSide == 0) {
        Shape.addRect(0, 0, W, H);
    } else {
        const qreal Extra = Corner * 2;
        const QRectF R = RoundedSide < 0 ? QRectF(0, 0, W + Extra, H + Extra) : QRectF(-Extra, 0, W + Extra, H + Extra);
        Shape.addRoundedRect(R, Corner, Corner);
        QPainterPath Clip;
        Clip.addRect(0, 0, W, H);
        Shape = Shape.intersected(Clip);
    }
    P.setClipPath(Shape);
    FillGlass(P, QRectF(0, 0, W, H));
    P.fillRect(QRectF(0, H - 1, W, 1), L.TitleLine);
    P.end();
    return Keyed(A, L.TitleLine);
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    // Clear glass at rest, tinted blue (red for close) under the mouse and deeper when pressed.
    const QRectF Ball = R.adjusted(1.5, 1.5, -1.5, -1.5);
    const bool Close = G == gClose;
    QColor Fill(255, 255, 255, 60);
    if (S == sHover)
        Fill = Close ? QColor(0xE0, 0x40, 0x30, 210) : QColor(0x3A, 0x7A, 0xC8, 190);
    else if (S == sDown)
        Fill = Close ? QColor(0xA8, 0x24, 0x18, 230) : QColor(0x24, 0x58, 0x9C, 230);
    P.setPen(QPen(QColor(255, 255, 255, 220), 1));
    P.setBrush(Fill);
    P.drawEllipse(Ball);
    const qreal M = R.width() * 0.32;
    const QColor Ink = Qt::white;
    TitleGlyph(P, R.adjusted(M, M, -M, -M), G, Ink, 1.6);
}

} // namespace

QImage DrawBlueGlass(const QString &Suffix, int W, int H)
{
    const TLook L = Look();
    if (Suffix == u"TITLE_LEFT")
        return Title(L, W, H, -1);
    if (Suffix == u"TITLE_RIGHT")
        return Title(L, W, H, 1);
    if (Suffix == u"TITLE_CLIENT")
        return Title(L, W, H, 0);
    if (Suffix == u"TITLEBTN")
        return TitleButtonStrip(W, H, Title(L, W / 18, 33, 0).copy(0, 6, W / 18, H), true, TitleButton);
    if (Suffix == u"SIDECHENNEL_BAR") {
        QImage Out = Solid(W, H, L.Face);
        QPainter P(&Out);
        FillGlass(P, QRectF(0, 0, W, H));
        return Out;
    }
    return Standard(L, Suffix, W, H, Faces);
}

} // namespace Art
