#include "tools/artgen/Art.h"

// Protein: near-white surfaces, crisp thin outlines, one strong blue; the title is a wide gradient on the left
// fading into white.

namespace Art {

namespace {

const QColor Blue(0x2D, 0x30, 0xC4);

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00FBFBFB);
    L.Face = QColor(0xF0, 0xF0, 0xF0);
    L.FaceDark = QColor(0xDC, 0xDC, 0xDC);
    L.Border = QColor(0x8C, 0x8C, 0x8C);
    L.Accent = QColor(0x5A, 0x5E, 0xDC);
    L.AccentDark = Blue;
    L.Mark = Blue;
    L.TitleTop = QColor(0xFF, 0xFF, 0xFF);
    L.TitleBottom = QColor(0xEC, 0xEC, 0xEC);
    L.TitleLine = QColor(0xA0, 0xA0, 0xA0);
    L.ScrollGround = Tc(0x00F5F5F5);
    L.Radius = 2;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(Qt::white), QColor(0xE8, 0xEA, 0xFA), Blue};
    case sDown: return {QColor(0xE0, 0xE0, 0xE0), QColor(0xF4, 0xF4, 0xF4), QColor(0x50, 0x50, 0x50)};
    default: return {QColor(Qt::white), QColor(0xF0, 0xF0, 0xF0), QColor(0x8C, 0x8C, 0x8C)};
    }
}

QImage Plain(const TLook &L, int W, int H)
{
    return TitleGradient(L, W, H);
}

// The wide left picture: blue behind the caption, fading to the plain title colour at its right end.
QImage Left(const TLook &L, int W, int H)
{
    QImage Out = Plain(L, W, H);
    QPainter P(&Out);
    QLinearGradient G(0, 0, W, 0);
    G.setColorAt(0, Blue);
    G.setColorAt(0.35, QColor(0x5C, 0x70, 0xD8));
    G.setColorAt(1, QColor(Blue.red(), Blue.green(), Blue.blue(), 0));
    P.fillRect(QRect(0, 0, W, H - 1), G);
    P.fillRect(QRect(0, 0, W, 1), QColor(255, 255, 255, 90));
    return Out;
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    const QRectF Box = R.adjusted(2.5, 2.5, -2.5, -2.5);
    if (S != sNormal) {
        P.setPen(QPen(S == sDown ? QColor(0x50, 0x50, 0x50) : Blue, 1));
        P.setBrush(S == sDown ? QColor(0xDC, 0xDC, 0xDC) : QColor(Qt::white));
        P.drawRoundedRect(Box, 2, 2);
    }
    const QColor Ink = G == gClose && S != sNormal ? QColor(0xC0, 0x20, 0x20) : QColor(0x30, 0x30, 0x30);
    const qreal M = R.width() * 0.32;
    TitleGlyph(P, R.adjusted(M, M, -M, -M), G, Ink, 1.3);
}

} // namespace

QImage DrawProtein(const QString &Suffix, int W, int H)
{
    const TLook L = Look();
    if (Suffix == u"TITLE_LEFT")
        return Left(L, W, H);
    if (Suffix.startsWith(u"TITLE_"))
        return Plain(L, W, H);
    if (Suffix == u"TITLEBTN")
        return TitleButtonStrip(W, H, Plain(L, W / 18, 23).copy(0, 2, W / 18, H), true, TitleButton);
    return Standard(L, Suffix, W, H, Faces);
}

} // namespace Art
