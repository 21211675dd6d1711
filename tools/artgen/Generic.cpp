#include "tools/artgen/Art.h"

#include <QPainterPath>

namespace Art {

namespace {

QList<QImage> States(int FW, int H, const QList<TState> &List, const std::function<QImage(TState)> &Frame)
{
    QList<QImage> Out;
    for (TState S : List) {
        const QImage F = Frame(S);
        Q_ASSERT(F.width() == FW && F.height() == H);
        Out << F;
    }
    return Out;
}

QColor ArrowInk(const TLook &L)
{
    return L.ArrowInk.isValid() ? L.ArrowInk : L.Mark;
}

QColor Faded(const QColor &C, const QColor &Ground)
{
    return Mix(C, Ground, 0.55);
}

} // namespace

QImage ButtonStrip(const TLook &L, int W, int H, const TFaceFn &Colours, bool KeyCorners)
{
    const int FW = W / 3;
    return JoinFrames(States(FW, H, {sNormal, sHover, sDown}, [&](TState S) {
        QImage A = NewArt(FW, H);
        QPainter P(&A);
        const TStateColours C = Colours(S);
        Face(P, QRectF(0, 0, FW, H), L.Radius, C.Top, C.Bottom, C.Line, L.Gloss && S != sDown);
        P.end();
        return KeyCorners ? Keyed(A, L.Ground) : Over(A, Solid(FW, H, L.Ground));
    }));
}

QImage CheckStrip(const TLook &L, int W, int H, bool Round, qreal Radius)
{
    const int FW = W / 4;
    const int Size = qMin(FW, H) - (qMin(FW, H) > 13 ? 2 : 0);
    const QRectF Box((FW - Size) / 2, (H - Size) / 2, Size, Size);
    QList<QImage> Frames;
    for (const bool Enabled : {true, false})
        for (const bool Checked : {true, false}) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            Antialiased(P);
            auto Tone = [&](const QColor &C) { return Enabled ? C : Faded(C, L.Ground); };
            const QColor Line = Tone(L.Border);
            const QColor Top = Tone(Checked && L.Gloss ? L.Accent : QColor(Qt::white));
            const QColor Bottom = Tone(Checked && L.Gloss ? L.AccentDark : L.Face);
            if (Round) {
                P.setPen(QPen(Line, 1));
                P.setBrush(Vertical(Box, Top, Bottom));
                P.drawEllipse(Box.adjusted(0.5, 0.5, -0.5, -0.5));
                if (Checked) {
                    P.setPen(Qt::NoPen);
                    P.setBrush(Tone(L.Gloss ? QColor(Qt::white) : L.Mark));
                    P.drawEllipse(Box.center(), Size * 0.2, Size * 0.2);
                }
            } else {
                Face(P, Box, Radius, Top, Bottom, Line, false);
                if (Checked)
                    CheckMark(P, Box.adjusted(Size * 0.22, Size * 0.25, -Size * 0.22, -Size * 0.25),
                              Tone(L.Gloss ? QColor(Qt::white) : L.Mark), qMax(1.6, Size / 6.5));
            }
            P.end();
            // The radio button is drawn keyed; the check box is opaque on the control's background.
            Frames << (Round ? Keyed(A, L.Ground) : Over(A, Solid(FW, H, L.Ground)));
        }
    // Order of use: checked, unchecked, checked disabled, unchecked disabled.
    return JoinFrames(Frames);
}

QImage ScrollButtons(const TLook &L, int W, int H, const TFaceFn &Colours)
{
    const int FW = W / 6;
    QList<QImage> Frames;
    for (const TDir Dir : {dUp, dDown})
        Frames << States(FW, H, {sNormal, sHover, sDown}, [&](TState S) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            const TStateColours C = Colours(S);
            Face(P, QRectF(0, 0, FW, H), qMin<qreal>(L.Radius, 3), C.Top, C.Bottom, C.Line, L.Gloss && S != sDown);
            const qreal AW = FW * 0.44, AH = AW * 0.55;
            const QPointF Mid(FW / 2.0, H / 2.0 + (S == sDown ? 0.5 : 0));
            Arrow(P, QRectF(Mid.x() - AW / 2, Mid.y() - AH / 2, AW, AH), Dir, ArrowInk(L));
            P.end();
            return Over(A, Solid(FW, H, L.ScrollGround));
        });
    return JoinFrames(Frames);
}

QImage ScrollSlider(const TLook &L, int W, int H, const TFaceFn &Colours)
{
    // One thumb lying across the whole picture; its thirds are the start cap, the stretched middle and the end cap.
    QImage A = NewArt(W, H);
    QPainter P(&A);
    const TStateColours C = Colours(sNormal);
    const QRectF R(0, 1, W, H - 2);
    Face(P, R, qMin<qreal>(L.Radius + 2, (H - 2) / 2.0), C.Top, C.Bottom, C.Line, L.Gloss);
    P.end();
    return Over(A, Solid(W, H, L.ScrollGround));
}

QImage ScrollButtonPairs(const TLook &L, int W, int H, const TFaceFn &Colours)
{
    const int FW = W / 4;
    QList<QImage> Frames;
    for (const TDir Dir : {dLeft, dRight})
        Frames << States(FW, H, {sNormal, sDown}, [&](TState S) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            const TStateColours C = Colours(S);
            Face(P, QRectF(0, 0, FW, H), qMin<qreal>(L.Radius, 3), C.Top, C.Bottom, C.Line, L.Gloss && S != sDown);
            const qreal AH = FW * 0.42, AW = AH * 0.6;
            Arrow(P, QRectF((FW - AW) / 2, (H - AH) / 2, AW, AH), Dir, ArrowInk(L));
            P.end();
            return Over(A, Solid(FW, H, L.Ground));
        });
    return JoinFrames(Frames);
}

QImage TrackBar(const TLook &L, int W, int H)
{
    QImage A = NewArt(W, H);
    QPainter P(&A);
    Antialiased(P);
    const QRectF R(0.5, 0.5, W - 1, H - 1);
    P.setPen(QPen(L.Border, 1));
    P.setBrush(Vertical(R, Mix(L.FaceDark, L.Border, 0.3), L.Face));
    P.drawRoundedRect(R, qMin<qreal>(2, H / 2.0), qMin<qreal>(2, H / 2.0));
    P.end();
    return Keyed(A, L.Ground);
}

QImage TrackSlider(const TLook &L, int W, int H, bool Vertical_, const TFaceFn &Colours)
{
    // A thumb pointing down (or right when vertical), drawn upright then turned.
    const int TW = Vertical_ ? H : W, TH = Vertical_ ? W : H;
    QImage A = NewArt(TW, TH);
    QPainter P(&A);
    Antialiased(P);
    const TStateColours C = Colours(sNormal);
    QPainterPath Path;
    const qreal Shoulder = TH - TW / 2.0 - 0.5;
    Path.moveTo(0.5, 2.5);
    Path.quadTo(0.5, 0.5, 2.5, 0.5);
    Path.lineTo(TW - 2.5, 0.5);
    Path.quadTo(TW - 0.5, 0.5, TW - 0.5, 2.5);
    Path.lineTo(TW - 0.5, Shoulder);
    Path.lineTo(TW / 2.0, TH - 0.5);
    Path.lineTo(0.5, Shoulder);
    Path.closeSubpath();
    P.setPen(QPen(C.Line, 1));
    P.setBrush(Horizontal(QRectF(0, 0, TW, TH), C.Top, C.Bottom));
    P.drawPath(Path);
    P.setPen(QPen(QColor(255, 255, 255, 150), 1));
    P.drawLine(QPointF(2, 1.5), QPointF(TW - 2.5, 1.5));
    P.end();
    const QImage Thumb = Vertical_ ? Rotated(A, -90) : A;
    return Keyed(Thumb, L.Ground);
}

QImage ProgressPiece(const TLook &L, int W, int H)
{
    QImage A = NewArt(W, H);
    QPainter P(&A);
    const QRectF R(0, 0, W, H);
    P.fillRect(R, Vertical(R, L.Accent, L.AccentDark));
    if (L.Gloss)
        P.fillRect(QRectF(0, 0, W, H * 0.45), QColor(255, 255, 255, 110));
    P.end();
    return Over(A, Solid(W, H, L.Ground));
}

QImage TabPicture(const TLook &L, int W, int H)
{
    // Wide pictures hold a selected and a plain tab side by side.
    const int Count = W >= 30 ? 2 : 1;
    const int FW = W / Count;
    QList<QImage> Frames;
    for (int I = 0; I < Count; ++I) {
        QImage A = NewArt(FW, H);
        QPainter P(&A);
        Antialiased(P);
        const QRectF R(0.5, 0.5, FW - 1, H + 4);
        const QColor Top = I == 0 ? QColor(Qt::white) : L.Face;
        const QColor Bottom = I == 0 ? L.Ground : L.FaceDark;
        P.setPen(QPen(L.Border, 1));
        P.setBrush(Vertical(QRectF(0, 0, FW, H), Top, Bottom));
        P.drawRoundedRect(R, qMin<qreal>(4, FW / 3.0), qMin<qreal>(4, FW / 3.0));
        P.end();
        Frames << Keyed(A, L.Ground);
    }
    return JoinFrames(Frames);
}

QImage TabLine(const TLook &L, int W, int H)
{
    QImage Out = Solid(W, H, L.Ground);
    QPainter P(&Out);
    P.setPen(L.Border);
    P.drawLine(0, 0, W - 1, 0);
    if (H > 2) {
        P.setPen(Qt::white);
        P.drawLine(0, 1, W - 1, 1);
    }
    return Out;
}

QImage SideHandle(const TLook &L, int W, int H)
{
    QImage A = NewArt(W, H);
    QPainter P(&A);
    Face(P, QRectF(0, 0, W, H), qMin<qreal>(3, W / 2.0 - 0.5), L.Face, L.FaceDark, L.Border, false);
    // Grip: a column of dots in the middle.
    P.setPen(Qt::NoPen);
    for (int Y = H / 2 - 12; Y <= H / 2 + 12; Y += 4) {
        P.setBrush(L.Border);
        P.drawEllipse(QPointF(W / 2.0, Y + 0.5), 1, 1);
        P.setBrush(Qt::white);
        P.drawEllipse(QPointF(W / 2.0 + 0.7, Y + 1.2), 0.5, 0.5);
    }
    P.end();
    return Keyed(A, L.Ground);
}

QImage SideBar(const TLook &L, int W, int H)
{
    QImage Out = Solid(W, H, L.Face);
    QPainter P(&Out);
    P.fillRect(QRect(0, 0, W, H), Vertical(QRectF(0, 0, W, H), L.TitleTop, L.TitleBottom));
    P.setPen(L.TitleLine);
    P.drawLine(0, H - 1, W - 1, H - 1);
    return Out;
}

QImage TitleGradient(const TLook &L, int W, int H)
{
    QImage Out = Solid(W, H, L.TitleBottom);
    QPainter P(&Out);
    P.fillRect(QRect(0, 0, W, H), Vertical(QRectF(0, 0, W, H - 1), L.TitleTop, L.TitleBottom));
    P.setPen(Mix(L.TitleTop, Qt::white, 0.5));
    P.drawLine(0, 0, W - 1, 0);
    P.setPen(L.TitleLine);
    P.drawLine(0, H - 1, W - 1, H - 1);
    return Out;
}

QImage TitleButtonStrip(int W, int H, const QImage &Ground, bool Key, const TTitleButtonFn &Draw)
{
    const int FW = W / 18;
    QList<QImage> Frames;
    for (const TGlyph G : {gControlBox, gHelp, gMax, gRestore, gMin, gClose})
        Frames << States(FW, H, {sNormal, sHover, sDown}, [&](TState S) {
            QImage A = NewArt(FW, H);
            QPainter P(&A);
            Antialiased(P);
            Draw(P, QRectF(0, 0, FW, H), G, S);
            P.end();
            const QImage Back = Ground.copy(0, 0, FW, H);
            return Key ? Keyed(A, Back) : Over(A, Back);
        });
    return JoinFrames(Frames);
}

} // namespace Art

namespace Art {

QImage Standard(const TLook &L, const QString &Suffix, int W, int H, const TFaceFn &Faces)
{
    if (Suffix == u"BUTTON")
        return ButtonStrip(L, W, H, Faces, L.KeyButtons);
    if (Suffix == u"CHECKBOX" || Suffix == u"CHECKLIST")
        return CheckStrip(L, W, H, false, qMin<qreal>(L.Radius, 3));
    if (Suffix == u"RADIOBUTTON")
        return CheckStrip(L, W, H, true, 0);
    if (Suffix == u"PROGRESSBAR")
        return ProgressPiece(L, W, H);
    if (Suffix == u"TRACKBAR_BAR")
        return TrackBar(L, W, H);
    if (Suffix == u"TRACKBAR_SLIDER")
        return TrackSlider(L, W, H, false, Faces);
    if (Suffix == u"TRACKBAR_SLIDER_V")
        return TrackSlider(L, W, H, true, Faces);
    if (Suffix == u"SCROLLBAR_BUTTON")
        return ScrollButtons(L, W, H, Faces);
    if (Suffix == u"SCROLLBAR_TRACK")
        return ScrollSlider(L, W, H, Faces);
    if (Suffix == u"SCROLLBUTTON")
        return ScrollButtonPairs(L, W, H, Faces);
    if (Suffix == u"TAB")
        return TabPicture(L, W, H);
    if (Suffix == u"TAB_LINE")
        return TabLine(L, W, H);
    if (Suffix == u"SIDECHENNEL_HANDLE")
        return SideHandle(L, W, H);
    if (Suffix == u"SIDECHENNEL_BAR")
        return SideBar(L, W, H);
    return QImage();
}

} // namespace Art
