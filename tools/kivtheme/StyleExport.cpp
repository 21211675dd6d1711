#include "tools/kivtheme/StyleExport.h"

#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "skin/theme/Kivthemefile.h"
#include "skin/theme/Kivthemes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <iterator>

namespace {

const TkivUIStyle Styles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

QString StyleName(TkivUIStyle Style) { return KivEnumInfo(Style)->NameOf(Style); }

} // namespace

QStringList ExportableStyles()
{
    QStringList Names;
    for (TkivUIStyle Style : Styles)
        Names << StyleName(Style);
    return Names;
}

void ExportStyle(const QString &Name, const QString &OutFile)
{
    const TkivUIStyle *Style = std::find_if(std::begin(Styles), std::end(Styles),
                                            [&](TkivUIStyle S) { return SameText(StyleName(S), Name); });
    if (Style == std::end(Styles))
        throw EInvalidOperation(QStringLiteral("no built-in style \"%1\" (one of %2)").arg(Name, ExportableStyles().join(u", ")));

    // The writer embeds files, so the pictures go through a private folder first. Every picture is
    // found before the writer is made: a writer always leaves its file when freed.
    QTemporaryDir Pictures;
    if (!Pictures.isValid())
        throw EFCreateError(QStringLiteral("Cannot make a temporary folder: %1").arg(Pictures.errorString()));
    QStringList Files;
    for (int Item = 1; Item <= KIV_FILETHEME_ITEMCOUNT; ++Item) {
        const TkivItemValue V = GetInsideThemeItem(*Style, Item);
        QString Copy;
        if (V.Type == TkivType::Str && V.Entry.Name && *V.Entry.Name) {
            const QString Resource = TResourceStream::FindResource(V.Entry.Name, RT_BITMAP);
            Copy = Pictures.filePath(QLatin1String(V.Entry.Name) + QStringLiteral(".bmp"));
            if (Resource.isEmpty() || !(QFile::exists(Copy) || QFile::copy(Resource, Copy)))
                throw EResNotFound(QStringLiteral("the picture %1 of %2 is not among the program's resources")
                                       .arg(V.Entry.Name, StyleName(*Style)));
        }
        Files << Copy;
    }

    TkivThemeFileWriter *Writer = TkivThemeFileWriter::Create(OutFile);
    for (int Item = 1; Item <= KIV_FILETHEME_ITEMCOUNT; ++Item) {
        const char *ItemName = KIV_FILETHEME_ITEMNAME[Item - 1];
        const TkivItemValue V = GetInsideThemeItem(*Style, Item);
        switch (V.Type) {
        case TkivType::Str:
            if (!Files[Item - 1].isEmpty())
                Writer->AddFile(ItemName, Files[Item - 1]);
            break;
        case TkivType::Int:
        case TkivType::Color:
            Writer->AddInteger(ItemName, V.Entry.Value);
            break;
        case TkivType::Bool:
            Writer->AddBool(ItemName, V.Entry.Value != 0);
            break;
        }
    }
    try {
        Writer->Save();
    } catch (...) {
        Writer->Free();
        throw;
    }
    Writer->Free();
}
