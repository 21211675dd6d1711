#include "tools/artgen/Art.h"

#include "framework/graphics/Bitmap.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace Art {

namespace {

TPixelFormat FormatOf(int Bits)
{
    switch (Bits) {
    case 8: return pf8bit;
    case 32: return pf32bit;
    default: return pf24bit;
    }
}

bool Save(const QString &Path, const QByteArray &Bytes, QString &Error)
{
    QSaveFile File(Path);
    if (!File.open(QIODevice::WriteOnly) || File.write(Bytes) != Bytes.size() || !File.commit()) {
        Error = Path + QStringLiteral(": ") + File.errorString();
        return false;
    }
    return true;
}

// The resource list of one folder's pictures, each found by name under ":/kiv/bitmaps/".
QString ResourceList(const QList<TPicture> &Pictures, const QString &Folder)
{
    QString Qrc = QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/kiv/bitmaps\">\n");
    for (const TPicture &P : Pictures)
        if (P.Folder == Folder)
            Qrc += QStringLiteral("    <file alias=\"%1.bmp\">%2/%1.bmp</file>\n").arg(P.Name, Folder);
    return Qrc + QStringLiteral("  </qresource>\n</RCC>\n");
}

} // namespace

bool WriteAll(const QList<TPicture> &Pictures, const QString &Dir, QString &Error)
{
    for (const TPicture &P : Pictures) {
        const QString Folder = Dir + u'/' + P.Folder;
        if (!QDir().mkpath(Folder)) {
            Error = Folder + QStringLiteral(": cannot make the folder");
            return false;
        }
        if (!Save(Folder + u'/' + P.Name + QStringLiteral(".bmp"), WriteBitmapFile(P.Image, FormatOf(P.Bits), {}),
                  Error))
            return false;
    }
    for (const QString &Folder : {QStringLiteral("bitmaps"), QStringLiteral("netvane-window")})
        if (!Save(Dir + u'/' + Folder + QStringLiteral(".qrc"), ResourceList(Pictures, Folder).toUtf8(), Error))
            return false;
    return Save(Dir + QStringLiteral("/netvane-theme/theme.ini"), NetvaneThemeIni().toUtf8(), Error);
}

} // namespace Art
