#include "tools/artgen/Art.h"

#include "framework/core/SysUtils.h"
#include "framework/graphics/Bitmap.h"

#include <QFile>

namespace Art {

namespace {

int BitsOf(TPixelFormat F)
{
    switch (F) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf32bit: return 32;
    default: return 24;
    }
}

// A pixel that is not the key yet close to it: art blended into magenta, which shows as a pink fringe.
bool NearMagenta(QRgb C)
{
    return C != Magenta && qRed(C) >= 0xB0 && qBlue(C) >= 0xB0 && qGreen(C) <= 0x70;
}

} // namespace

QStringList CheckFolder(const QString &Dir)
{
    QStringList Problems;
    for (const TPicture &P : ExpectedPictures()) {
        const QString Path = Dir + u'/' + P.Folder + u'/' + P.Name + QStringLiteral(".bmp");
        QFile File(Path);
        if (!File.open(QIODevice::ReadOnly)) {
            Problems << Path + QStringLiteral(": missing");
            continue;
        }
        TBitmapFileImage Read;
        try {
            Read = ReadBitmapFile(File.readAll());
        } catch (const Exception &E) {
            Problems << Path + QStringLiteral(": not a bitmap file: ") + E.Message();
            continue;
        }
        const QImage &I = Read.Image;
        if (I.width() != P.Width || I.height() != P.Height)
            Problems << Path + QStringLiteral(": %1 x %2, expected %3 x %4")
                                   .arg(I.width()).arg(I.height()).arg(P.Width).arg(P.Height);
        if (BitsOf(Read.PixelFormat) != P.Bits)
            Problems << Path + QStringLiteral(": %1 bits per pixel, expected %2").arg(BitsOf(Read.PixelFormat)).arg(P.Bits);
        if (P.Width % P.Frames != 0)
            Problems << Path + QStringLiteral(": width does not divide into %1 frames").arg(P.Frames);
        int Fringe = 0;
        for (int Y = 0; Y < I.height(); ++Y)
            for (int X = 0; X < I.width(); ++X)
                Fringe += NearMagenta(I.pixel(X, Y) | 0xFF000000u);
        if (Fringe)
            Problems << Path + QStringLiteral(": %1 pixels blended towards magenta").arg(Fringe);
    }
    if (!QFile::exists(Dir + QStringLiteral("/netvane-theme/theme.ini")))
        Problems << Dir + QStringLiteral("/netvane-theme/theme.ini: missing");
    return Problems;
}

} // namespace Art
