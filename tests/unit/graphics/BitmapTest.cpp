// TBitmap: file formats both ways, fixtures from another writer, malformed files, size, transparency,
// Assign and resources.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

TColor PixelAt(TBitmap *B, int X, int Y)
{
    return B->Canvas()->Pixels(X, Y);
}

QByteArray Save(TBitmap *B)
{
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    B->SaveToStream(S.get());
    return S->Bytes();
}

void Load(TBitmap *B, const QByteArray &File)
{
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->WriteBuffer(File);
    S->SetPosition(0);
    B->LoadFromStream(S.get());
}

QByteArray Fixture(const char *Name)
{
    QFile F(QStringLiteral(KIV_FIXTURES "/bmp/") + QLatin1String(Name));
    EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Name;
    return F.readAll();
}

TEST(Bitmap, EveryPixelFormatWritesItsDepthAndReadsBack)
{
    struct Case
    {
        TPixelFormat Format;
        int Bits;
        QList<TColor> Colours;     // survive the depth exactly
    } Cases[] = {
        {pf1bit, 1, {clBlack, clWhite}},
        {pf4bit, 4, {clRed, clLime, clBlue, clWhite, 0x123456}},
        {pf8bit, 8, {clRed, clLime, clBlue, clWhite, 0x123456, 0x654321, clFuchsia}},
        {pf15bit, 16, {clRed, clLime, clBlue, clWhite, clBlack}},
        {pf16bit, 16, {clRed, clLime, clBlue, clWhite, clBlack}},
        {pf24bit, 24, {clRed, 0x123456, 0x654321, clFuchsia}},
        {pf32bit, 32, {clRed, 0x123456, 0x654321, clFuchsia}},
        {pfDevice, 24, {clRed, 0x123456}},
    };
    for (const Case &C : Cases) {
        TAutoFree<TBitmap> B(TBitmap::Create());
        B->SetSize(7, 3);          // odd width: rows need padding at every depth
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 7; ++X)
                B->Canvas()->SetPixels(X, Y, C.Colours[(X + 3 * Y) % C.Colours.size()]);
        B->SetPixelFormat(C.Format);
        const QByteArray File = Save(B.get());
        ASSERT_GE(File.size(), 54) << C.Bits;
        EXPECT_EQ(File.left(2), "BM");
        EXPECT_EQ(qFromLittleEndian<quint16>(File.constData() + 28), C.Bits) << "format " << C.Format;
        EXPECT_EQ(qFromLittleEndian<quint32>(File.constData() + 2), quint32(File.size()));

        TAutoFree<TBitmap> R(TBitmap::Create());
        Load(R.get(), File);
        EXPECT_EQ(R->Width(), 7);
        EXPECT_EQ(R->Height(), 3);
        EXPECT_EQ(R->PixelFormat(), C.Format == pfDevice ? pf24bit : C.Format);
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 7; ++X)
                EXPECT_EQ(PixelAt(R.get(), X, Y), C.Colours[(X + 3 * Y) % C.Colours.size()])
                    << "format " << C.Format << " at " << X << "," << Y;
    }
}

TEST(Bitmap, IndexedFormatsMapOtherColoursToTheirPalette)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(20, 20);
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 20; ++X)
            B->Canvas()->SetPixels(X, Y, TColor(RGB(BYTE(X * 12), BYTE(Y * 12), 77)));   // 400 colours
    B->SetPixelFormat(pf8bit);
    TAutoFree<TBitmap> R(TBitmap::Create());
    Load(R.get(), Save(B.get()));
    EXPECT_EQ(R->PixelFormat(), pf8bit);
    EXPECT_EQ(R->Palette().size(), 256);
    const COLORREF C = COLORREF(PixelAt(R.get(), 19, 19));
    EXPECT_NEAR(GetRValue(C), 228, 30);
    EXPECT_NEAR(GetGValue(C), 228, 30);

    // A loaded palette is kept when it still holds every colour.
    TAutoFree<TBitmap> F(TBitmap::Create());
    Load(F.get(), Fixture("pal4_5x2.bmp"));
    const QList<QRgb> Palette = F->Palette();
    F->Canvas()->SetPixels(0, 0, clWhite);
    TAutoFree<TBitmap> G(TBitmap::Create());
    Load(G.get(), Save(F.get()));
    EXPECT_EQ(G->Palette(), Palette);
}

TEST(Bitmap, ReadsFilesFromAnotherWriter)
{
    const TColor Palette[] = {clBlack, clRed, clLime, clBlue, clWhite, clFuchsia};
    const TColor Direct[] = {TColor(RGB(10, 20, 30)), TColor(RGB(200, 100, 50)), TColor(RGB(0, 128, 255))};
    const TColor Primaries[] = {clRed, clLime, clBlue};
    struct Case
    {
        const char *Name;
        int W, H;
        TPixelFormat Format;
        std::function<TColor(int, int)> Expected;
    } Cases[] = {
        {"rle8_4x3.bmp", 4, 3, pf8bit, [&](int X, int Y) { return Palette[(X + 2 * Y) % 6]; }},
        {"pal4_5x2.bmp", 5, 2, pf4bit, [&](int X, int Y) { return Palette[(X + 2 * Y) % 6]; }},
        {"core_mono_9x2.bmp", 9, 2, pf1bit, [](int X, int Y) { return (X + Y) % 2 ? clWhite : clBlack; }},
        {"topdown24_3x2.bmp", 3, 2, pf24bit, [&](int X, int Y) { return Direct[(X + Y) % 3]; }},
        {"bitfields565_3x2.bmp", 3, 2, pf16bit, [&](int X, int Y) { return Primaries[(X + Y) % 3]; }},
        {"rgb32_2x2.bmp", 2, 2, pf32bit, [&](int X, int Y) { return Direct[(X + Y) % 3]; }},
    };
    for (const Case &C : Cases) {
        TAutoFree<TBitmap> B(TBitmap::Create());
        Load(B.get(), Fixture(C.Name));
        ASSERT_EQ(B->Width(), C.W) << C.Name;
        ASSERT_EQ(B->Height(), C.H) << C.Name;
        EXPECT_EQ(B->PixelFormat(), C.Format) << C.Name;
        for (int Y = 0; Y < C.H; ++Y)
            for (int X = 0; X < C.W; ++X)
                EXPECT_EQ(PixelAt(B.get(), X, Y), C.Expected(X, Y)) << C.Name << " at " << X << "," << Y;
    }
}

// A valid 8-bit file to break in different ways.
QByteArray Good()
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(4, 4);
    B->Canvas()->SetPixels(1, 1, clRed);
    B->SetPixelFormat(pf8bit);
    return Save(B.get());
}

QByteArray Patch32(QByteArray File, int Offset, quint32 Value)
{
    qToLittleEndian<quint32>(Value, File.data() + Offset);
    return File;
}

QByteArray Patch16(QByteArray File, int Offset, quint16 Value)
{
    qToLittleEndian<quint16>(Value, File.data() + Offset);
    return File;
}

TEST(Bitmap, MalformedFilesRaiseAndLeaveTheBitmapAlone)
{
    const QByteArray G = Good();
    const struct Case
    {
        const char *What;
        QByteArray File;
    } Cases[] = {
        {"empty stream", QByteArray()},
        {"truncated file header", G.left(10)},
        {"truncated info header", Patch32(G.left(30), 2, 30)},
        {"not BM", QByteArray("XM") + G.mid(2)},
        {"file size beyond the stream", Patch32(G, 2, quint32(G.size() + 100))},
        {"file size smaller than the headers", Patch32(G, 2, 20)},
        {"unknown header size", Patch32(G, 14, 20)},
        {"zero width", Patch32(G, 18, 0)},
        {"negative width", Patch32(G, 18, quint32(-4))},
        {"absurd width", Patch32(G, 18, 100000000)},
        {"absurd height", Patch32(G, 22, 0x7FFFFFFF)},
        {"absurd area in a small run-length file", Patch32(Patch32(Patch32(G, 30, 1), 18, 8000), 22, 8000)},
        {"zero height", Patch32(G, 22, 0)},
        {"7 bits per pixel", Patch16(G, 28, 7)},
        {"jpeg compression", Patch32(G, 30, 4)},
        {"rle8 at 24 bits", Patch32(Patch16(G, 28, 24), 30, 1)},
        {"palette of 300 entries", Patch32(G, 46, 300)},
        {"pixel offset beyond the file", Patch32(G, 10, quint32(G.size() + 10))},
        {"pixel offset inside the header", Patch32(G, 10, 20)},
        {"truncated pixel rows", Patch32(G.left(G.size() - 8), 2, quint32(G.size() - 8))},
    };
    for (const Case &C : Cases) {
        TAutoFree<TBitmap> B(TBitmap::Create());
        B->SetSize(2, 3);
        try {
            Load(B.get(), C.File);
            ADD_FAILURE() << C.What << ": no exception";
        } catch (const EInvalidGraphic &) {
        } catch (const EReadError &) {
        } catch (const Exception &E) {
            ADD_FAILURE() << C.What << ": " << E.ClassName().toStdString();
        }
        EXPECT_EQ(B->Width(), 2) << C.What;
        EXPECT_EQ(B->Height(), 3) << C.What;
    }
}

TEST(Bitmap, DamagedFilesNeverCrash)
{
    // Every truncation and a deterministic scatter of byte flips: raising is fine, crashing is not.
    const QByteArray G = Good();
    auto TryLoad = [](const QByteArray &File) {
        TAutoFree<TBitmap> B(TBitmap::Create());
        try {
            Load(B.get(), File);
        } catch (const Exception &) {
        }
    };
    for (int N = 0; N < G.size(); ++N)
        TryLoad(N >= 6 ? Patch32(G.left(N), 2, quint32(N)) : G.left(N));
    quint32 Seed = 12345;
    for (int I = 0; I < 400; ++I) {
        QByteArray F = G;
        for (int K = 0; K < 3; ++K) {
            Seed = Seed * 1103515245u + 12345u;
            F[int((Seed >> 8) % quint32(F.size()))] = char(Seed >> 24);
        }
        TryLoad(F);
    }
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndFillsNewPixelsWhite)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    EXPECT_TRUE(B->Empty());
    B->SetHeight(3);                   // height first, as the skin does
    EXPECT_TRUE(B->Empty());
    B->SetWidth(4);
    EXPECT_FALSE(B->Empty());
    EXPECT_EQ(PixelAt(B.get(), 3, 2), clWhite);
    B->Canvas()->SetPixels(0, 0, clRed);
    B->Canvas()->SetPixels(3, 2, clBlue);
    B->SetWidth(6);
    EXPECT_EQ(PixelAt(B.get(), 0, 0), clRed);
    EXPECT_EQ(PixelAt(B.get(), 3, 2), clBlue);
    EXPECT_EQ(PixelAt(B.get(), 5, 2), clWhite);
    B->SetHeight(1);                   // cut to the top row
    EXPECT_EQ(B->Height(), 1);
    EXPECT_EQ(PixelAt(B.get(), 0, 0), clRed);
    B->SetHeight(3);
    EXPECT_EQ(PixelAt(B.get(), 3, 2), clWhite);
    // The canvas keeps drawing into the resized pixels.
    B->Canvas()->Brush()->SetColor(clLime);
    B->Canvas()->FillRect(Rect(0, 0, 6, 3));
    EXPECT_EQ(PixelAt(B.get(), 5, 2), clLime);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUntilSet)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetSize(3, 3);
    B->Canvas()->SetPixels(0, 2, clFuchsia);
    EXPECT_EQ(B->TransparentMode(), tmAuto);
    EXPECT_EQ(B->TransparentColor(), clFuchsia);
    B->Canvas()->SetPixels(0, 2, clLime);
    EXPECT_EQ(B->TransparentColor(), clLime);
    B->SetTransparentColor(clRed);
    EXPECT_EQ(B->TransparentMode(), tmFixed);
    B->Canvas()->SetPixels(0, 2, clBlue);
    EXPECT_EQ(B->TransparentColor(), clRed);
    B->SetTransparentColor(clDefault);
    EXPECT_EQ(B->TransparentMode(), tmAuto);
    EXPECT_EQ(B->TransparentColor(), clBlue);
}

TEST(Bitmap, AssignTakesBitmapsAndPicturesOfBitmapsOnly)
{
    TAutoFree<TBitmap> A(TBitmap::Create());
    A->SetSize(2, 2);
    A->Canvas()->SetPixels(1, 1, clRed);
    A->SetTransparent(true);
    A->SetTransparentColor(clRed);
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->Assign(A.get());
    EXPECT_EQ(B->Width(), 2);
    EXPECT_TRUE(B->Transparent());
    EXPECT_EQ(B->TransparentColor(), clRed);
    B->Canvas()->SetPixels(1, 1, clBlue);     // the copy is independent
    EXPECT_EQ(PixelAt(A.get(), 1, 1), clRed);
    EXPECT_EQ(PixelAt(B.get(), 1, 1), clBlue);

    TAutoFree<TPicture> P(TPicture::Create());
    P->Bitmap()->Assign(A.get());
    TAutoFree<TBitmap> C(TBitmap::Create());
    C->Assign(P.get());
    EXPECT_EQ(PixelAt(C.get(), 1, 1), clRed);

    TAutoFree<TPicture> Empty(TPicture::Create());
    EXPECT_THROW(C->Assign(Empty.get()), EConvertError);
    TAutoFree<TFont> F(TFont::Create());
    EXPECT_THROW(C->Assign(F.get()), EConvertError);
    C->Assign(nullptr);
    EXPECT_TRUE(C->Empty());
}

// Captures the binary property a class defines.
class TCaptureFiler : public TFiler
{
    KIV_OBJECT(TCaptureFiler, TFiler)
public:
    void DefineProperty(const QString &, TReaderProc, TWriterProc, bool) override {}
    void DefineBinaryProperty(const QString &AName, TStreamProc ARead, TStreamProc AWrite, bool AHasData) override
    {
        Name = AName;
        Read = ARead;
        Write = AWrite;
        HasData = AHasData;
    }
    QString Name;
    TStreamProc Read, Write;
    bool HasData = false;
};
KIV_PUBLISHED(TCaptureFiler) {}

QByteArray WriteData(TPersistent *P)
{
    TAutoFree<TCaptureFiler> F(TCaptureFiler::Create(nullptr));
    P->DefineProperties(F.get());
    EXPECT_EQ(F->Name, "Data");
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    if (F->HasData)
        F->Write(S.get());
    return S->Bytes();
}

void ReadData(TPersistent *P, const QByteArray &Bytes)
{
    TAutoFree<TCaptureFiler> F(TCaptureFiler::Create(nullptr));
    P->DefineProperties(F.get());
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->WriteBuffer(Bytes);
    S->SetPosition(0);
    F->Read(S.get());
}

TEST(Bitmap, PictureDataIsClassNameThenSizeThenFile)
{
    TAutoFree<TPicture> P(TPicture::Create());
    EXPECT_TRUE(WriteData(P.get()).isEmpty());
    P->Bitmap()->SetSize(3, 2);
    P->Bitmap()->Canvas()->SetPixels(2, 1, clNavy);
    const QByteArray Data = WriteData(P.get());
    ASSERT_GT(Data.size(), 12);
    EXPECT_EQ(Data[0], 7);
    EXPECT_EQ(Data.mid(1, 7), "TBitmap");
    EXPECT_EQ(qFromLittleEndian<qint32>(Data.constData() + 8), Data.size() - 12);
    EXPECT_EQ(Data.mid(12, 2), "BM");

    TAutoFree<TPicture> Q(TPicture::Create());
    int Changes = 0;
    Q->OnChange = [&](TObject *) { ++Changes; };
    ReadData(Q.get(), Data);
    ASSERT_NE(Q->Graphic(), nullptr);
    EXPECT_TRUE(Q->Graphic()->Is<TBitmap>());
    EXPECT_EQ(Q->Width(), 3);
    EXPECT_EQ(PixelAt(Q->Bitmap(), 2, 1), clNavy);
    EXPECT_GT(Changes, 0);

    // The bitmap's own Data is the part after the class name.
    TAutoFree<TBitmap> B(TBitmap::Create());
    ReadData(B.get(), Data.mid(8));
    EXPECT_EQ(PixelAt(B.get(), 2, 1), clNavy);
    EXPECT_EQ(WriteData(B.get()), Data.mid(8));

    EXPECT_THROW(ReadData(Q.get(), QByteArray("\x05TFont") + Data.mid(8)), EInvalidGraphic);
    EXPECT_THROW(ReadData(Q.get(), QByteArray("\x07TBitmap") + Data.mid(8, 10)), EReadError);
    EXPECT_EQ(PixelAt(Q->Bitmap(), 2, 1), clNavy);
}

TEST(Bitmap, LoadsNamedResourcesAndRaisesForMissingOnes)
{
    TAutoFree<TBitmap> Missing(TBitmap::Create());
    EXPECT_THROW(Missing->LoadFromResourceName(HInstance, QStringLiteral("NO_SUCH_PICTURE")), EResNotFound);

    const QString Rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
    if (!QFile::exists(Rcc))
        GTEST_SKIP() << "rcc not installed";
    QTemporaryDir Dir;
    QDir(Dir.path()).mkpath("kiv/bitmaps");
    {
        TAutoFree<TBitmap> B(TBitmap::Create());
        B->SetSize(5, 4);
        B->Canvas()->SetPixels(4, 3, clTeal);
        B->SaveToFile(Dir.filePath("kiv/bitmaps/TEST_TILE.bmp"));
    }
    QFile Qrc(Dir.filePath("t.qrc"));
    ASSERT_TRUE(Qrc.open(QIODevice::WriteOnly));
    Qrc.write("<RCC><qresource prefix=\"/\"><file>kiv/bitmaps/TEST_TILE.bmp</file></qresource></RCC>");
    Qrc.close();
    const QString Out = Dir.filePath("t.rcc");
    ASSERT_EQ(QProcess::execute(Rcc, {"--binary", Qrc.fileName(), "-o", Out}), 0);
    ASSERT_TRUE(QResource::registerResource(Out));
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->LoadFromResourceName(HInstance, QStringLiteral("test_tile"));
    EXPECT_EQ(B->Width(), 5);
    EXPECT_EQ(PixelAt(B.get(), 4, 3), clTeal);
    QResource::unregisterResource(Out);
}

} // namespace
