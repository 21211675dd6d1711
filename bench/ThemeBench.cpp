// File themes against plain Qt doing the same work in the same run, on Netvane's embedded theme as the build
// packs it: loading the theme and every picture in it, and cutting the middle frame of the split button.
#include "bench/Compare.h"
#include "framework/graphics/Bitmap.h"
#include "skin/theme/Kivmgr.h"

#include <benchmark/benchmark.h>

#include <QByteArrayView>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

#ifdef KIV_NETVANE_THEME
const QString ThemePath = QStringLiteral(KIV_NETVANE_THEME);
#else
const QString ThemePath;
#endif

// The item numbers of the pictures (the "...Image" items) the theme holds.
std::vector<int> PictureItems(const TkivFileThemeMgr &Mgr)
{
    std::vector<int> Items;
    TAutoFree<TBitmap> Probe(TBitmap::Create());
    for (int I = 1; I <= KIV_FILETHEME_ITEMCOUNT; ++I) {
        if (!QByteArray(KIV_FILETHEME_ITEMNAME[I - 1]).endsWith("Image"))
            continue;
        Probe->SetSize(0, 0);
        Mgr.GetBitmap(I, Probe.get());
        if (!Probe->Empty())
            Items.push_back(I);
    }
    return Items;
}

qint32 Int32At(const QByteArray &Data, qint64 Pos)
{
    return qFromLittleEndian<qint32>(Data.constData() + Pos);
}

// The plain-Qt reading of a theme file's bytes: the magic, then the entry chain, keeping each embedded file's
// name and bytes (views into Data). Empty when the file is not a theme or its chain leaves the file.
struct Embedded
{
    QByteArrayView Name, Bytes;
};
std::vector<Embedded> EmbeddedFiles(const QByteArray &Data)
{
    std::vector<Embedded> Files;
    const qint64 Size = Data.size();
    if (Size < KIV_THEME_HEADER_SIZE || std::strncmp(Data.constData(), KIV_THEME_MAGIC, 12) != 0)
        return {};
    for (qint64 Pos = Int32At(Data, 20);;) {
        if (Pos < KIV_THEME_HEADER_SIZE || Pos + KIV_THEME_ENTRY_SIZE > Size)
            return {};
        const qint64 Next = Int32At(Data, Pos + 73);
        if (Next == 0)
            return Files;
        if (Next <= Pos)
            return {};
        const qint64 Offset = Int32At(Data, Pos + 65), Length = Int32At(Data, Pos + 69);
        if (Data[Pos + KIV_THEME_NAME_SIZE] == KIV_ENTRY_FILE && Offset >= 0 && Length >= 0 && Offset + Length <= Size)
            Files.push_back({QByteArrayView(Data.constData() + Pos, qstrnlen(Data.constData() + Pos, KIV_THEME_NAME_SIZE)),
                             QByteArrayView(Data.constData() + Offset, Length)});
        Pos = Next;
    }
}

QByteArray ReadFile(const QString &Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

bool ThemeMissing(benchmark::State &State)
{
    if (ThemePath.isEmpty())
        State.SkipWithError("built without Netvane's theme (KIV_BUILD_APPS=OFF)");
    else if (!QFile::exists(ThemePath))
        State.SkipWithError(qPrintable(QStringLiteral("no theme at %1").arg(ThemePath)));
    else
        return false;
    return true;
}

// Ours: a new file theme loads the file (the magic check, then the whole file into the reader) and each
// picture is fetched whole. Qt: the file read, its magic and chain walked, each picture decoded.
void BM_LoadEmbeddedTheme(benchmark::State &State)
{
    if (ThemeMissing(State))
        return;
    TAutoFree<TkivFileThemeMgr> Probe(TkivFileThemeMgr::Create());
    Probe->LoadFromFile(ThemePath);
    const std::vector<int> Items = PictureItems(*Probe);
    const QByteArray File = ReadFile(ThemePath);
    if (Items.size() != 20 || EmbeddedFiles(File).size() != 20) {
        State.SkipWithError("the theme does not hold the 20 pictures expected");
        return;
    }
    std::vector<TAutoFree<TBitmap>> Ours;
    for (size_t I = 0; I < Items.size(); ++I)
        Ours.emplace_back(TBitmap::Create());
    std::vector<QImage> Theirs(Items.size());
    Compare(
        State,
        [&] {
            TAutoFree<TkivFileTheme> Theme(TkivFileTheme::Create(nullptr));
            Theme->SetThemeFile(ThemePath);
            for (size_t I = 0; I < Items.size(); ++I)
                Theme->GetBitmap(Items[I], Ours[I].get());
            benchmark::DoNotOptimize(Ours.back()->Image().constBits());
        },
        [&] {
            const QByteArray Data = ReadFile(ThemePath);
            const std::vector<Embedded> Files = EmbeddedFiles(Data);
            for (size_t I = 0; I < Files.size(); ++I)
                Theirs[I] = QImage::fromData(Files[I].Bytes, "BMP");
            benchmark::DoNotOptimize(Theirs.back().constBits());
        });
    // Both ways must have produced the same pixels.
    const std::vector<Embedded> Files = EmbeddedFiles(File);
    for (size_t I = 0; I < Items.size(); ++I) {
        const QByteArrayView Name(KIV_FILETHEME_ITEMNAME[Items[I] - 1]);
        const auto Same = std::find_if(Files.begin(), Files.end(), [&](const Embedded &E) { return E.Name == Name; });
        if (Same == Files.end() ||
            QImage::fromData(Same->Bytes, "BMP").convertToFormat(QImage::Format_RGB32) != Ours[I]->Image())
            State.SkipWithError(("the two ways load " + Name.toByteArray() + " differently").constData());
    }
    State.counters["file_bytes"] = double(File.size());
}
BENCHMARK(BM_LoadEmbeddedTheme)->Unit(benchmark::kMicrosecond);

// The middle of the button's three frames from a loaded theme, against decoding the same bytes and copying
// the middle third.
void BM_GetBitmapSplit(benchmark::State &State)
{
    if (ThemeMissing(State))
        return;
    TAutoFree<TkivFileTheme> Theme(TkivFileTheme::Create(nullptr));
    Theme->SetThemeFile(ThemePath);
    const QByteArray File = ReadFile(ThemePath);
    QByteArray Button;
    for (const Embedded &E : EmbeddedFiles(File))
        if (E.Name == "ButtonImage")
            Button = E.Bytes.toByteArray();
    const QImage Whole = QImage::fromData(Button, "BMP");
    if (Whole.isNull() || Whole.width() % 3 != 0) {
        State.SkipWithError("the theme's button picture is not three frames wide");
        return;
    }
    const int W = Whole.width() / 3, H = Whole.height();
    TAutoFree<TBitmap> Ours(TBitmap::Create());
    QImage Theirs;
    Compare(
        State,
        [&] {
            Theme->GetBitmap(1, Ours.get(), 3, 2);
            benchmark::DoNotOptimize(Ours->Image().constBits());
        },
        [&] {
            Theirs = QImage::fromData(Button, "BMP").copy(W, 0, W, H);
            benchmark::DoNotOptimize(Theirs.constBits());
        });
    if (Ours->Image().convertToFormat(QImage::Format_RGB32) != Theirs.convertToFormat(QImage::Format_RGB32))
        State.SkipWithError("the two frames differ");
}
BENCHMARK(BM_GetBitmapSplit)->Unit(benchmark::kMicrosecond);

} // namespace
