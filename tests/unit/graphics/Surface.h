#pragma once
// A small 32-bit surface with a DC over it, and readers of its pixels as COLORREF.

#include "platform/Gdi.h"

#include <QImage>
#include <QString>
#include <string>

struct TestSurface
{
    explicit TestSurface(int W = 16, int H = 16, COLORREF Fill = 0xFFFFFF) : Image(W, H, QImage::Format_RGB32)
    {
        Image.fill(qRgb(GetRValue(Fill), GetGValue(Fill), GetBValue(Fill)));
        DC = CreateImageDC(&Image);
    }
    ~TestSurface() { DeleteDC(DC); }
    TestSurface(const TestSurface &) = delete;

    COLORREF At(int X, int Y) const
    {
        const QRgb P = Image.pixel(X, Y);
        return RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P)));
    }
    // Rows of '#' (pixel == Ink) and '.' for a quick picture of a small surface.
    std::string Mask(COLORREF Ink) const
    {
        std::string S;
        for (int Y = 0; Y < Image.height(); ++Y) {
            for (int X = 0; X < Image.width(); ++X)
                S += At(X, Y) == Ink ? '#' : '.';
            S += '\n';
        }
        return S;
    }
    int Count(COLORREF Ink) const
    {
        int N = 0;
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                N += At(X, Y) == Ink;
        return N;
    }
    // Bounding box of the pixels that differ from Background (empty RECT when none).
    RECT Changed(COLORREF Background) const
    {
        RECT R{Image.width(), Image.height(), 0, 0};
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (At(X, Y) != Background) {
                    R.Left = std::min(R.Left, X);
                    R.Top = std::min(R.Top, Y);
                    R.Right = std::max(R.Right, X + 1);
                    R.Bottom = std::max(R.Bottom, Y + 1);
                }
        return R.Right == 0 ? RECT{} : R;
    }

    QImage Image;
    HDC DC;
};

inline std::string Rows(std::initializer_list<const char *> Lines)
{
    std::string S;
    for (const char *L : Lines)
        (S += L) += '\n';
    return S;
}
