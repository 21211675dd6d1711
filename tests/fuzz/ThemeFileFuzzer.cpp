// Feeds arbitrary bytes to the theme file reader. A damaged file must be refused with a stream
// error; nothing may crash, hang, leak or read outside the input. What loads must answer its
// lookups consistently, and kivtheme's folder of it must pack back into the very same bytes.

#include "skin/theme/Kivthemefile.h"
#include "tools/kivtheme/ThemeFolder.h"

#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool Condition, const char *What)
{
    if (!Condition) {
        std::fprintf(stderr, "theme reader: %s\n", What);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TAutoFree<TMemoryStream> Input(TMemoryStream::Create());
    Input->WriteBuffer(Data, qint64(Size));
    TAutoFree<TkivThemeFileReader> Reader;
    try {
        Reader.reset(TkivThemeFileReader::Create(static_cast<TStream *>(Input.get())));
    } catch (const EStreamError &) {
        return 0;
    }
    // Every counted entry has a header of its own, and the chain moves forward.
    Require(qint64(Reader->EntryCount()) * KIV_THEME_ENTRY_SIZE <= qint64(Size), "more entries than headers");
    qint64 Embedded = 0;
    for (int I = 0; I < Reader->Files()->Count(); ++I) {
        TMemoryStream *File = Reader->GetFile(Reader->Files()->Strings(I));
        Require(File != nullptr, "a listed file is not found by its name");
        Require(File->Position() == 0, "a file is not rewound");
        Embedded = qMax(Embedded, File->Size());
    }
    Require(Embedded <= qint64(Size), "a file larger than the input");

    const QByteArray Theme(reinterpret_cast<const char *>(Data), qsizetype(Size));
    try {
        const TkivThemeFolder Folder = UnpackTheme(Theme);
        const QByteArray Packed = PackTheme(Folder.Ini, [&Folder](const QString &FileName) -> std::optional<QByteArray> {
            if (!Folder.Files.contains(FileName))
                return std::nullopt;
            return Folder.Files.value(FileName);
        });
        Require(Packed == Theme, "unpack and pack do not give back the same bytes");
    } catch (const Exception &E) {
        std::fprintf(stderr, "theme folder: %s\n", E.Message().toLocal8Bit().constData());
        Require(false, "unpack or pack refused a theme the reader takes");
    }
    return 0;
}
