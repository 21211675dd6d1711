#include "tools/artgen/Art.h"

// DeepBlue: a deep navy title, bevelled blue-grey buttons, white title glyphs; square, sober.

namespace Art {

namespace {

TLook Look()
{
    TLook L;
    L.Ground = Tc(0x00E8E8E8);
    L.Face = QColor(0xD0, 0xD8, 0xEA);
    L.FaceDark = QColor(0xA6, 0xB4, 0xD2);
    L.Border = QColor(0x24, 0x34, 0x66);
    L.Accent = Tc(0x00A04A44);
    L.AccentDark = QColor(0x22, 0x2C, 0x6A);
    L.Mark = QColor(0x1A, 0x2A, 0x5A);
    L.TitleTop = QColor(0x2E, 0x46, 0x82);
    L.TitleBottom = QColor(0x10, 0x1C, 0x44);
    L.TitleLine = QColor(0x06, 0x0C, 0x24);
    L.ScrollGround = Tc(0x00F5F5F5);
    L.Radius = 1;
    return L;
}

TStateColours Faces(TState S)
{
    switch (S) {
    case sHover: return {QColor(0xE6, 0xEE, 0xFC), QColor(0xB6, 0xC8, 0xEC), QColor(0x24, 0x34, 0x66)};
    case sDown: return {QColor(0x94, 0xA8, 0xD2), QColor(0xC0, 0xCE, 0xEA), QColor(0x18, 0x24, 0x4C)};
    default: return {QColor(0xD8, 0xE2, 0xF4), QColor(0xA4, 0xB6, 0xDC), QColor(0x24, 0x34, 0x66)};
    }
}

// Faces with a one-pixel bevel inside the outline: raised, or sunken when pressed.
QImage BevelledStrip(const TLook &L, int W, int H, int Count, const QList<TState> &States_)
{
    const int FW = W / Count;
    QList<QImage> Frames;
    for (int I = 0; I < Count; ++I) {
        const TState S = States_[I % States_.size()];
        QImage A = NewArt(FW, H);
        QPainter P(&A);
        const TStateColours C = Faces(S);
        Face(P, QRectF(0, 0, FW, H), L.Radius, C.Top, C.Bottom, C.Line, false);
        Bevel(P, QRect(1, 1, FW - 3, H - 3), QColor(255, 255, 255, 200), QColor(0x40, 0x50, 0x80, 120), S == sDown);
        P.end();
        Frames << Over(A, Solid(FW, H, L.Ground));
    }
    return JoinFrames(Frames);
}

QImage Title(const TLook &L, int W, int H)
{
    QImage Out = TitleGradient(L, W, H);
    QPainter P(&Out);
    // A faint lighter band under the top edge gives the bar its bevel.
    P.fillRect(0, 1, W, 1, QColor(0x5A, 0x72, 0xAC));
    return Out;
}

void TitleButton(QPainter &P, const QRectF &R, TGlyph G, TState S)
{
    const QRect Box = R.toRect().adjusted(1, 1, -2, -2);
    const QColor Top = S == sHover ? QColor(0x4C, 0x6C, 0xB8) : S == sDown ? QColor(0x14, 0x22, 0x50) : QColor(0x34, 0x50, 0x94);
    const QColor Bottom = S == sHover ? QColor(0x2C, 0x48, 0x90) : S == sDown ? QColor(0x24, 0x38, 0x70) : QColor(0x1A, 0x2C, 0x62);
    P.setRenderHint(QPainter::Antialiasing, false);
    P.fillRect(Box, Vertical(Box, Top, Bottom));
    P.setPen(QColor(0x06, 0x0C, 0x24));
    P.setBrush(Qt::NoBrush);
    P.drawRect(Box);
    Bevel(P, Box.adjusted(1, 1, -1, -1), QColor(0x7C, 0x94, 0xCC), QColor(0x0C, 0x16, 0x38), S == sDown);
    const qreal M = R.width() * 0.3;
    const qreal D = S == sDown ? 1 : 0;
    TitleGlyph(P, R.adjusted(M + D, M + D, -M - 1 + D, -M - 1 + D), G, Qt::white, 1.6);
}

} // namespace

QImage DrawDeepBlue(const QString &Suffix, int W, int H)
{
    const TLook L = Look();
    if (Suffix.startsWith(u"TITLE_"))
        return Title(L, W, H);
    if (Suffix == u"TITLEBTN")
        return TitleButtonStrip(W, H, Title(L, W / 18, 32).copy(0, 2, W / 18, H), false, TitleButton);
    if (Suffix == u"BUTTON")
        return BevelledStrip(L, W, H, 3, {sNormal, sHover, sDown});
    return Standard(L, Suffix, W, H, Faces);
}

} // namespace Art
