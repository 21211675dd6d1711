#include "tools/artgen/Art.h"

#include <QPainterPath>

// WinXP: a saturated blue title with rounded top corners, blue title buttons with white glyphs and a red close
// button; soft light buttons that glow orange under the mouse.

namespace Art {

namespace {

constexpr qreal Corner = 13;

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00DEEBEF);
    L.Face = QColor(0xE6, 0xE4, 0xDA);
    L.FaceDark = QColor(0xC8, 0xC5, 0xB8);
    L.Border = QColor(0x1C, 0x51, 0x80);
    L.Accent = QColor(0x31, 0x69, 0xC6);
    L.AccentDark = QColor(0x1A, 0x48, 0xA8);
    L.Mark = QColor(0x21, 0xA1, 0x21);
    L.ArrowInk = QColor(0x4D, 0x61, 0x85);
    L.TitleTop = QColor(0x3D, 0x95, 0xFF);
    L.TitleBottom = QColor(0x00, 0x50, 0xDC);
    L.TitleLine = Tc(0x00C82C00);
    L.ScrollGround = Tc(0x00F9F9F9);
    L.Radius = 3;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(0xFF, 0xF6, 0xE4), QColor(0xF6, 0xCC, 0x7A), QColor(0xE0, 0x8A, 0x1E)};
    case sDown: return {QColor(0xD8, 0xD6, 0xCA), QColor(0xF4, 0xF3, 0xEE), QColor(0x00, 0x3C, 0x74)};
    default: return {QColor(Qt::white), QColor(0xE3, 0xE1, 0xD6), QColor(0x00, 0x3C, 0x74)};
    }
}

// The title's gradient: a bright rim at the top, deep blue in the body, darker towards the bottom edge.
void FillTitle(QPainter &P, const QRectF &R)
{
    QLinearGradient G(R.topLeft(), R.bottomLeft());
    G.setColorAt(0, QColor(0x8C, 0xBE, 0xFF));
    G.setColorAt(0.12, QColor(0x2E, 0x86, 0xFA));
    G.setColorAt(0.45, QColor(0x08, 0x5C, 0xEA));
    G.setColorAt(0.85, QColor(0x00, 0x52, 0xDE));
    G.setColorAt(1, QColor(0x00, 0x3C, 0xC0));
    P.fillRect(R, G);
}

QImage Title(int W, int H, int RoundedSide)
{
    QImage A = NewArt(W, H);
    QPainter P(&A);
    Antialiased(P);
    QPainterPath Shape;
    if (RoundedSide == 0) {
        Shape.addRect(0, 0, W, H);
    } else {
        // The corner rounds the outer top edge only; the shape's other side runs on into the next section.
        const qreal Extra = Corner * 2;
        const QRectF R = RoundedSide < 0 ? QRectF(0, 0, W + Extra, H + Extra) : QRectF(-Extra, 0, W + Extra, H + Extra);
        Shape.addRoundedRect(R, Corner, Corner);
        QPainterPath Clip;
        Clip.addRect(0, 0, W, H);
        Shape = Shape.intersected(Clip);
    }
    P.setClipPath(Shape);
    FillTitle(P, QRectF(0, 0, W, H));
    P.end();
    return Keyed(A, Tc(0x00C82C00));
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    const bool Close = G == gClose;
    QColor Top = Close ? QColor(0xE8, 0x7A, 0x56) : QColor(0x5C, 0xA4, 0xFF);
    QColor Bottom = Close ? QColor(0xC4, 0x38, 0x14) : QColor(0x1C, 0x66, 0xE8);
    if (S == sHover) {
        Top = Top.lighter(118);
        Bottom = Bottom.lighter(118);
    } else if (S == sDown) {
        std::swap(Top, Bottom);
        Top = Top.darker(115);
    }
    Face(P, R.adjusted(0, 0, -1, -1), 3, Top, Bottom, QColor(255, 255, 255), false);
    const qreal M = R.width() * 0.3;
    TitleGlyph(P, R.adjusted(M, M, -M - 1, -M - 1).translated(S == sDown ? 0.5 : 0, S == sDown ? 0.5 : 0), G,
               Qt::white, 2);
}

} // namespace

QImage DrawWinXP(const QString &Suffix, int W, int H)
{
    const TLook L = Look();
    if (Suffix == u"TITLE_LEFT")
        return Title(W, H, -1);
    if (Suffix == u"TITLE_RIGHT")
        return Title(W, H, 1);
    if (Suffix == u"TITLE_CLIENT")
        return Title(W, H, 0);
    if (Suffix == u"TITLEBTN")
        return TitleButtonStrip(W, H, Title(W / 18, 29, 0).copy(0, 5, W / 18, H), false, TitleButton);
    if (Suffix == u"PROGRESSBAR") {
        // Green blocks with a gap, as the bar repeats them.
        QImage Out = Solid(W, H, Qt::white);
        QPainter P(&Out);
        P.fillRect(QRectF(0, 1, W - 2, H - 2), Vertical(QRectF(0, 1, W - 2, H - 2), QColor(0x9C, 0xEE, 0x9C),
                                                        QColor(0x2C, 0xB4, 0x2C)));
        return Out;
    }
    if (Suffix == u"TAB_LINE")
        return Solid(W, H, QColor(0x91, 0x9B, 0x9C));
    return Standard(L, Suffix, W, H, Faces);
}

} // namespace Art
