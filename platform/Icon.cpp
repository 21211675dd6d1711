#include "platform/Icon.h"

#include <QImageReader>

#include <cstdlib>
#include <limits>

struct IconObject
{
    QImage Image;
    QString Source;     // the file or resource it was loaded from, for LR_COPYFROMRESOURCE
};

namespace {

QImage Scaled(const QImage &Image, int W, int H)
{
    if (Image.isNull() || (W == Image.width() && H == Image.height()))
        return Image;
    return Image.scaled(W, H, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The image of the icon file nearest W x H (the largest when no size is asked), scaled to that size.
QImage LoadNearest(const QString &Path, int W, int H)
{
    QImageReader Reader(Path);
    QImage Best;
    long BestScore = std::numeric_limits<long>::max();
    const int Count = std::max(1, Reader.imageCount());
    for (int I = 0; I < Count; ++I) {
        if (I > 0 && !Reader.jumpToImage(I))
            break;
        const QImage Candidate = Reader.read();
        if (Candidate.isNull())
            continue;
        const long Score = W > 0 && H > 0
                               ? long(std::abs(Candidate.width() - W)) + std::abs(Candidate.height() - H)
                               : -long(Candidate.width()) * Candidate.height();
        if (Score < BestScore) {
            BestScore = Score;
            Best = Candidate;
        }
    }
    if (Best.isNull())
        return Best;
    Best = Best.convertToFormat(QImage::Format_ARGB32);
    return W > 0 && H > 0 ? Scaled(Best, W, H) : Best;
}

} // namespace

HICON CreateIconFromImage(const QImage &Image)
{
    if (Image.isNull())
        return nullptr;
    return new IconObject{Image.convertToFormat(QImage::Format_ARGB32), QString()};
}

HICON LoadImageA(HINSTANCE, const char *Name, UINT Type, int cx, int cy, UINT Flags)
{
    if (Type != IMAGE_ICON || !Name || !*Name)
        return nullptr;
    if ((Flags & LR_DEFAULTSIZE) && cx == 0 && cy == 0)
        cx = cy = 32;
    const QString Path = Flags & LR_LOADFROMFILE ? QString::fromUtf8(Name)
                                                 : QStringLiteral(":/kiv/icons/%1.ico").arg(QString::fromUtf8(Name));
    QImage Image = LoadNearest(Path, cx, cy);
    if (Image.isNull())
        return nullptr;
    return new IconObject{Image, Path};
}

HICON CopyImage(HICON Icon, UINT Type, int cx, int cy, UINT Flags)
{
    if (Type != IMAGE_ICON || !Icon)
        return nullptr;
    const int W = cx > 0 ? cx : Icon->Image.width(), H = cy > 0 ? cy : Icon->Image.height();
    if ((Flags & LR_COPYFROMRESOURCE) && !Icon->Source.isEmpty()) {
        QImage Image = LoadNearest(Icon->Source, W, H);
        if (!Image.isNull())
            return new IconObject{Image, Icon->Source};
    }
    return new IconObject{Scaled(Icon->Image, W, H), Icon->Source};
}

BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int cx, int cy, UINT, HBRUSH, UINT Flags)
{
    if (!DC || !Icon || !(Flags & DI_NORMAL))
        return FALSE;
    QImage Image = Scaled(Icon->Image, cx > 0 ? cx : Icon->Image.width(), cy > 0 ? cy : Icon->Image.height());
    if (!(Flags & DI_IMAGE)) {
        // The mask alone: the shape in black.
        for (int Y2 = 0; Y2 < Image.height(); ++Y2) {
            QRgb *Line = reinterpret_cast<QRgb *>(Image.scanLine(Y2));
            for (int X2 = 0; X2 < Image.width(); ++X2)
                Line[X2] = qRgba(0, 0, 0, qAlpha(Line[X2]));
        }
    }
    return DrawAlphaImage(DC, X, Y, Image);
}

BOOL DrawIcon(HDC DC, int X, int Y, HICON Icon)
{
    return DrawIconEx(DC, X, Y, Icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DestroyIcon(HICON Icon)
{
    if (!Icon)
        return FALSE;
    delete Icon;
    return TRUE;
}

QImage IconImage(HICON Icon)
{
    return Icon ? Icon->Image : QImage();
}
