#pragma once
// The nine pieces of a skin button picture stretched over a larger rectangle, and the picture itself, for the
// benchmarks that draw them our way and with QPainter.

#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <vector>

struct Piece
{
    QRect Source, Dest;
    bool Corner;
};

inline QRect Box(int L, int T, int R, int B) { return QRect(L, T, R - L, B - T); }

// The nine pieces of a SW x SH picture over W x H: corners at their own size (the right and bottom ones a
// pixel smaller), edges and centre stretched.
inline std::vector<Piece> NinePieces(int SW, int SH, int W, int H)
{
    const int CL = std::max(0, std::min(SW / 2, W / 2)), CR = std::max(0, std::min(SW / 2 - 1, W / 2 - 1));
    const int CT = std::max(0, std::min(SH / 2, H / 2)), CB = std::max(0, std::min(SH / 2 - 1, H / 2 - 1));
    const int R = W, B = H;
    const QRect TL = Box(0, 0, CL, CT), BL = Box(0, B - CB, CL, B), TR = Box(R - CR, 0, R, CT),
                BR = Box(R - CR, B - CB, R, B);
    const int MidL = SW / 2, MidR = SW - SW / 2 + 1;
    return {
        {Box(0, 0, CL, CT), TL, true},
        {Box(0, SH - CB, CL, SH), BL, true},
        {Box(0, SH / 2, std::min(SW / 2, CL), SH - SH / 2), Box(0, CT, CL, B - CB), false},
        {Box(SW - CR, 0, SW, CT), TR, true},
        {Box(SW - CR, SH - CB, SW, SH), BR, true},
        {Box(SW - std::min(SW / 2 - 1, CR), SH - SH / 2, SW, SH / 2 + 2), Box(R - CR, CT, R, B - CB), false},
        {Box(MidL, 0, MidR, std::min(SH / 2, CT)), Box(CL, 0, R - CR, CT), false},
        {Box(MidL, SH / 2, MidR, SH - SH / 2), Box(CL, CT, R - CR, B - CB - 1), false},
        {Box(MidL, SH - std::min(SH / 2, CB + 1), MidR, SH), Box(CL - 1, B - CB - 1, R - CR, B), false},
    };
}

// A 74 x 21 rounded button on magenta, as the style pictures are.
inline QImage ButtonPicture()
{
    QImage P(74, 21, QImage::Format_RGB32);
    P.fill(qRgb(255, 0, 255));
    QPainter Painter(&P);
    Painter.setPen(QColor(40, 60, 120));
    Painter.setBrush(QColor(120, 160, 220));
    Painter.drawRoundedRect(QRect(1, 1, 71, 18), 4, 4);
    return P;
}

// The picture with alpha 0 where it is magenta: what QPainter needs to leave the key out.
inline QImage KeyedButtonPicture()
{
    QImage Keyed = ButtonPicture().convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Keyed.height(); ++Y)
        for (int X = 0; X < Keyed.width(); ++X)
            if ((Keyed.pixel(X, Y) & 0xFFFFFFu) == 0xFF00FFu)
                Keyed.setPixel(X, Y, 0);
    return Keyed;
}

// The plain-Qt side of the nine-piece benchmarks: the same pieces with QPainter from the keyed picture.
inline void DrawPiecesWithQPainter(QImage &Target, const QImage &Keyed, const std::vector<Piece> &Pieces)
{
    QPainter Painter(&Target);
    for (const Piece &P : Pieces)
        if (!P.Dest.isEmpty() && !P.Source.isEmpty())
            Painter.drawImage(P.Dest, Keyed, P.Source);
}
