// Feeds arbitrary bytes to TBitmap's Windows bitmap reader. A damaged file must be refused with
// EInvalidGraphic or a stream error and leave the bitmap as it was; nothing may crash, hang, leak or
// read outside the input. What loads is a whole picture of the size its header states, and a small
// one saves and reads back at that size.

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"

#include <QtEndian>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool Condition, const char *What)
{
    if (!Condition) {
        std::fprintf(stderr, "bitmap reader: %s\n", What);
        std::abort();
    }
}

// Width and rows as the info header states them (the 12-byte header has 16-bit fields).
QSize StatedSize(const uint8_t *Data)
{
    if (qFromLittleEndian<quint32>(Data + 14) == 12)
        return QSize(qFromLittleEndian<quint16>(Data + 18), std::abs(qFromLittleEndian<qint16>(Data + 20)));
    return QSize(qFromLittleEndian<qint32>(Data + 18), std::abs(qint64(qFromLittleEndian<qint32>(Data + 22))));
}

bool Load(TBitmap *Bitmap, const uint8_t *Data, size_t Size)
{
    TAutoFree<TMemoryStream> Input(TMemoryStream::Create());
    Input->WriteBuffer(Data, qint64(Size));
    Input->SetPosition(0);
    try {
        Bitmap->LoadFromStream(Input.get());
    } catch (const EInvalidGraphic &) {
        return false;
    } catch (const EStreamError &) {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TAutoFree<TBitmap> Bitmap(TBitmap::Create());
    Bitmap->SetSize(3, 2);
    Bitmap->Canvas()->SetPixels(2, 1, clRed);
    if (!Load(Bitmap.get(), Data, Size)) {
        Require(Bitmap->Width() == 3 && Bitmap->Height() == 2, "a refused file changed the size");
        Require(Bitmap->Canvas()->Pixels(2, 1) == clRed, "a refused file changed the pixels");
        return 0;
    }
    Require(Size >= 14 + 12, "a file shorter than its headers loaded");
    const QSize Stated = StatedSize(Data);
    Require(Bitmap->Width() == Stated.width() && Bitmap->Height() == Stated.height(), "not the size the header states");
    Require(Bitmap->Image().size() == Stated && Bitmap->Image().format() == QImage::Format_RGB32, "not a whole picture");

    if (qint64(Stated.width()) * Stated.height() <= 65536) {
        TAutoFree<TMemoryStream> Saved(TMemoryStream::Create());
        Bitmap->SaveToStream(Saved.get());
        TAutoFree<TBitmap> Again(TBitmap::Create());
        const QByteArray File = Saved->Bytes();
        Require(Load(Again.get(), reinterpret_cast<const uint8_t *>(File.constData()), size_t(File.size())),
                "what loaded does not read back once saved");
        Require(Again->Width() == Stated.width() && Again->Height() == Stated.height(), "saved at another size");
    }
    return 0;
}
