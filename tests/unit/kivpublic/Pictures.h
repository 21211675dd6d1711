#pragma once
// Small bitmaps written as rows of letters: each letter is a colour of its own, 'm' is the magenta key.

#include "framework/core/Classes.h"
#include "framework/graphics/Graphics.h"

#include <QImage>
#include <initializer_list>
#include <string>
#include <vector>

inline COLORREF LetterColour(char C)
{
    return C == 'm' ? COLORREF(0xFF00FF) : RGB(BYTE(C), 0x11, 0x22);
}

inline char ColourLetter(COLORREF C)
{
    if (C == 0xFF00FF)
        return 'm';
    if (GetGValue(C) == 0x11 && GetBValue(C) == 0x22)
        return char(GetRValue(C));
    return C == 0xFFFFFF ? 'W' : '?';
}

inline COLORREF PixelOf(const QImage &Image, int X, int Y)
{
    const QRgb P = Image.pixel(X, Y);
    return RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P)));
}

inline TAutoFree<TBitmap> BitmapOf(const std::vector<std::string> &Rows)
{
    const int H = int(Rows.size()), W = H ? int(Rows[0].size()) : 0;
    QImage I(W, H, QImage::Format_RGB32);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const COLORREF C = LetterColour(Rows[Y][X]);
            I.setPixel(X, Y, qRgb(GetRValue(C), GetGValue(C), GetBValue(C)));
        }
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetImage(I);
    return B;
}

// W x H of one letter.
inline TAutoFree<TBitmap> FilledBitmap(int W, int H, char C)
{
    return BitmapOf(std::vector<std::string>(H, std::string(W, C)));
}

inline std::vector<std::string> RowsOf(const QImage &Image)
{
    std::vector<std::string> Rows;
    for (int Y = 0; Y < Image.height(); ++Y) {
        std::string Row;
        for (int X = 0; X < Image.width(); ++X)
            Row += ColourLetter(PixelOf(Image, X, Y));
        Rows.push_back(Row);
    }
    return Rows;
}

inline std::vector<std::string> RowsOf(TBitmap *B) { return RowsOf(B->Image()); }
