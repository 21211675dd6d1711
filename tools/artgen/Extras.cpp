#include "tools/artgen/Art.h"

#include <QPainterPath>

// The resources outside the style tables: form backgrounds, menu pieces, small glyph strips, the pop-up window.

namespace Art {

namespace {

const QColor MenuBar = Tc(0x00CED3D6);
const QColor BtnFace(0xF0, 0xF0, 0xF0);
const QColor Ink(0x24, 0x24, 0x24);

TLook Neutral()
{
    TLook L;
    L.Ground = Tc(0x00E8E8E8);
    L.Face = QColor(0xF2, 0xF2, 0xF2);
    L.FaceDark = QColor(0xD0, 0xD0, 0xD0);
    L.Border = QColor(0x80, 0x80, 0x80);
    L.Mark = Ink;
    L.Radius = 2;
    return L;
}

TStateColours NeutralFaces(TState S)
{
    if (S == sDown)
        return {QColor(0xD0, 0xD0, 0xD0), QColor(0xEA, 0xEA, 0xEA), QColor(0x60, 0x60, 0x60)};
    return {QColor(Qt::white), QColor(0xDC, 0xDC, 0xDC), QColor(0x80, 0x80, 0x80)};
}

// Frames of glyphs on the key colour, their edges smoothed against the colour they are shown on.
QImage GlyphStrip(int W, int H, int Count, const QColor &Ground,
                  const std::function<void(QPainter &, const QRectF &, int)> &Draw)
{
    const int FW = W / Count;
    QList<QImage> Frames;
    for (int I = 0; I < Count; ++I) {
        QImage A = NewArt(FW, H);
        QPainter P(&A);
        Antialiased(P);
        Draw(P, QRectF(0, 0, FW, H), I);
        P.end();
        Frames << Keyed(A, Ground);
    }
    return JoinFrames(Frames);
}

QImage Pinstripes(int W, int H)
{
    QImage Out = Solid(W, H, QColor(0xEC, 0xEC, 0xEC));
    for (int Y = 1; Y < H; Y += 2)
        for (int X = 0; X < W; ++X)
            Out.setPixel(X, Y, qRgb(0xE2, 0xE2, 0xE2));
    return Out;
}

QImage Speckle(int W, int H)
{
    QImage Out = Solid(W, H, Tc(0x00FBFBFB));
    for (int I = 0; I < qMin(W, H); I += 4)
        Out.setPixel(I, I, qRgb(0xF3, 0xF3, 0xF3));
    return Out;
}

QImage Gradient(int W, int H, const QColor &Top, const QColor &Bottom, const QColor &Line)
{
    QImage Out = Solid(W, H, Bottom);
    QPainter P(&Out);
    P.fillRect(QRect(0, 0, W, H), Vertical(QRectF(0, 0, W, H), Top, Bottom));
    if (Line.isValid())
        P.fillRect(QRect(0, H - 1, W, 1), Line);
    return Out;
}

QImage PopupForm(int W, int H)
{
    // A notification: a blue caption strip over a pale body with a thin frame.
    QImage Out = Solid(W, H, QColor(0xF4, 0xF8, 0xFF));
    QPainter P(&Out);
    P.fillRect(QRect(0, 0, W, H), Vertical(QRectF(0, 0, W, H), QColor(0xFA, 0xFC, 0xFF), QColor(0xD8, 0xE6, 0xF8)));
    P.fillRect(QRect(0, 0, W, 22), Vertical(QRectF(0, 0, W, 22), QColor(0x6E, 0x9C, 0xE4), QColor(0x2C, 0x5C, 0xB8)));
    P.fillRect(QRect(0, 22, W, 1), QColor(0x1E, 0x44, 0x90));
    P.setPen(QColor(0x1E, 0x44, 0x90));
    P.drawRect(0, 0, W - 1, H - 1);
    P.setPen(QColor(255, 255, 255, 160));
    P.drawLine(1, 1, W - 2, 1);
    return Out;
}

void NavGlyph(QPainter &P, const QRectF &R, int I)
{
    const QRectF B = R.adjusted(4, 4, -4, -4);
    const QColor C = Ink;
    const qreal BarW = 1.6;
    switch (I) {
    case 0: // first
        P.fillRect(QRectF(B.left(), B.top(), BarW, B.height()), C);
        Arrow(P, B.adjusted(BarW + 1, 0, 0, 0), dLeft, C);
        break;
    case 1: Arrow(P, B.adjusted(2, 0, -1, 0), dLeft, C); break; // prior
    case 2: Arrow(P, B.adjusted(1, 0, -2, 0), dRight, C); break; // next
    case 3: // last
        P.fillRect(QRectF(B.right() - BarW, B.top(), BarW, B.height()), C);
        Arrow(P, B.adjusted(0, 0, -BarW - 1, 0), dRight, C);
        break;
    case 4: // insert
        P.fillRect(QRectF(B.center().x() - 1, B.top(), 2, B.height()), C);
        P.fillRect(QRectF(B.left(), B.center().y() - 1, B.width(), 2), C);
        break;
    case 5: P.fillRect(QRectF(B.left(), B.center().y() - 1, B.width(), 2), C); break; // delete
    case 6: Arrow(P, B.adjusted(1, 1, -1, -1), dUp, C); break;                          // edit
    case 7: CheckMark(P, B, QColor(0x20, 0x80, 0x20), 1.8); break;                     // post
    case 8: TitleGlyph(P, B.adjusted(1, 1, -1, -1), gClose, QColor(0xB0, 0x20, 0x20), 1.8); break; // cancel
    default: { // refresh
        P.setPen(QPen(C, 1.6));
        P.setBrush(Qt::NoBrush);
        P.drawArc(B.adjusted(0.5, 0.5, -0.5, -0.5), 60 * 16, 280 * 16);
        Arrow(P, QRectF(B.right() - 4, B.top() - 1, 4, 4), dDown, C);
        break;
    }
    }
}

} // namespace

QImage DrawExtra(const QString &Name, int W, int H)
{
    if (Name == u"MORE_SCROLLBUTTON")
        return ScrollButtonPairs(Neutral(), W, H, NeutralFaces);
    if (Name == u"MACOS_FORM_BACKGROUND")
        return Pinstripes(W, H);
    if (Name == u"PROTEIN_FORM_BACKGROUND")
        return Speckle(W, H);
    if (Name == u"MACOS_MENU_BAR")
        return Gradient(W, H, QColor(0xFC, 0xFC, 0xFC), QColor(0xD6, 0xD6, 0xD6), QColor(0x9A, 0x9A, 0x9A));
    if (Name == u"MACOS_MENU_SELECT")
        return Gradient(W, H, QColor(0x64, 0x94, 0xEC), QColor(0x24, 0x58, 0xC8), QColor());
    if (Name == u"MDI_CONTROL_BUTTON")
        // Minimise, restore, close: the menu bar's buttons count them from the right.
        return GlyphStrip(W, H, 3, MenuBar, [](QPainter &P, const QRectF &R, int I) {
            const TGlyph G[] = {gMin, gRestore, gClose};
            TitleGlyph(P, R.adjusted(4, 4, -4, -4), G[I], Ink, 1.5);
        });
    if (Name == u"MENU_CHECKED") {
        // The menus mask this picture with white, not with the key, so its ground is white.
        QImage A = NewArt(W, H);
        QPainter P(&A);
        Antialiased(P);
        CheckMark(P, QRectF(0, 0, W, H).adjusted(3.5, 4.5, -3.5, -4), Ink, 1.8);
        P.end();
        return Over(A, Solid(W, H, QColor(Qt::white)));
    }
    if (Name == u"PANEL_BUTTON")
        // Expanded (points up to fold), expanded under the mouse, collapsed, collapsed under the mouse.
        return GlyphStrip(W, H, 4, QColor(0xE4, 0xE4, 0xE4), [](QPainter &P, const QRectF &R, int I) {
            if (I % 2) {
                P.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
                P.setBrush(QColor(Qt::white));
                P.drawEllipse(R.adjusted(0.5, 0.5, -1.5, -0.5));
            }
            const QRectF A(R.center().x() - 3.5, R.center().y() - 2, 6, 3.5);
            Arrow(P, A, I < 2 ? dUp : dDown, Ink);
        });
    if (Name == u"MSNPOPFORM")
        return PopupForm(W, H);
    if (Name == u"MACOS_COMBOBOX_BUTTON") {
        const int FW = W / 3;
        QList<QImage> Frames;
        for (const TState S : {sNormal, sHover, sDown}) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            const QColor Top = S == sDown ? QColor(0x50, 0x8C, 0xE0) : QColor(0x8C, 0xC0, 0xF8);
            const QColor Bottom = S == sHover ? QColor(0x44, 0x88, 0xE8) : QColor(0x2E, 0x6F, 0xCF);
            Face(P, QRectF(0, 0, FW, H), 8, Top, Bottom, QColor(0x28, 0x4C, 0x8C), S != sDown);
            Arrow(P, QRectF(FW / 2.0 - 3, H / 2.0 - 5, 6, 3.5), dUp, Qt::white);
            Arrow(P, QRectF(FW / 2.0 - 3, H / 2.0 + 1.5, 6, 3.5), dDown, Qt::white);
            P.end();
            Frames << Keyed(A, Tc(0x00E7E7E7));
        }
        return JoinFrames(Frames);
    }
    if (Name == u"WINXP_COMBOBOX_BUTTON") {
        const int FW = W / 3;
        QList<QImage> Frames;
        for (const TState S : {sNormal, sHover, sDown}) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            QColor Top(0xC4, 0xD8, 0xFE), Bottom(0x90, 0xB2, 0xF4);
            if (S == sHover) {
                Top = Top.lighter(106);
                Bottom = Bottom.lighter(110);
            } else if (S == sDown) {
                std::swap(Top, Bottom);
            }
            Face(P, QRectF(0, 0, FW, H), 3, Top, Bottom, QColor(0xA8, 0xBE, 0xEC), false);
            Arrow(P, QRectF(FW / 2.0 - 4, H / 2.0 - 2, 8, 4.5), dDown, QColor(0x4D, 0x61, 0x85));
            P.end();
            Frames << Over(A, Solid(FW, H, Qt::white));
        }
        return JoinFrames(Frames);
    }
    if (Name == u"DBNAV_BUTTON")
        return GlyphStrip(W, H, 10, BtnFace, NavGlyph);
    return QImage();
}

} // namespace Art
