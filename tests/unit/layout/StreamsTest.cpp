#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "tests/unit/layout/StandIns.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QResource>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(TStream *S)
{
    QByteArray Data(S->Size() - S->Position(), '\0');
    S->ReadBuffer(Data.data(), Data.size());
    return Data;
}

TEST(MemoryStreamTest, WriteSeekReadAndGrowth)
{
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->WriteBuffer(QByteArrayLiteral("hello"));
    EXPECT_EQ(S->Size(), 5);
    EXPECT_EQ(S->Position(), 5);

    // Writing past the end fills the gap with zeros.
    S->Seek(2, soFromEnd);
    S->WriteBuffer("!", 1);
    EXPECT_EQ(S->Bytes(), QByteArray("hello\0\0!", 8));

    EXPECT_EQ(S->Seek(-3, soFromCurrent), 5);
    EXPECT_EQ(S->Seek(1, soFromBeginning), 1);
    char Buf[4] = {};
    EXPECT_EQ(S->Read(Buf, 4), 4);
    EXPECT_EQ(QByteArray(Buf, 4), "ello");
    EXPECT_EQ(S->Read(Buf, 100), 3);   // short read at the end is not an error
    EXPECT_EQ(S->Read(Buf, 1), 0);

    S->SetSize(2);
    EXPECT_EQ(S->Position(), 2);   // clamped to the new end
    EXPECT_EQ(S->Bytes(), "he");
    S->Clear();
    EXPECT_EQ(S->Size(), 0);
    EXPECT_EQ(S->Position(), 0);

    // A thousand small writes keep their content (the growth path).
    for (int I = 0; I < 1000; ++I)
        S->WriteBuffer(QByteArray::number(I % 10));
    EXPECT_EQ(S->Size(), 1000);
    EXPECT_EQ(S->Bytes().left(12), "012345678901");
}

TEST(MemoryStreamTest, ShortTransfersRaise)
{
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->WriteBuffer(QByteArrayLiteral("abc"));
    S->SetPosition(1);
    char Buf[8];
    EXPECT_THROW(S->ReadBuffer(Buf, 3), EReadError);
    S->SetPosition(0);
    EXPECT_NO_THROW(S->ReadBuffer(Buf, 3));
    EXPECT_NO_THROW(S->ReadBuffer(Buf, 0));
    EXPECT_THROW(S->SetSize(-1), EStreamError);
}

TEST(MemoryStreamTest, CopyFromAndLoadFromStream)
{
    TAutoFree<TMemoryStream> Src(TMemoryStream::Create());
    Src->WriteBuffer(QByteArrayLiteral("0123456789"));
    TAutoFree<TMemoryStream> Dst(TMemoryStream::Create());

    Src->SetPosition(4);
    EXPECT_EQ(Dst->CopyFrom(Src.get(), 3), 3);
    EXPECT_EQ(Dst->Bytes(), "456");
    EXPECT_EQ(Dst->CopyFrom(Src.get(), 0), 10);   // 0: the whole source from its start
    EXPECT_EQ(Dst->Bytes(), "4560123456789");
    Src->SetPosition(8);
    EXPECT_THROW(Dst->CopyFrom(Src.get(), 5), EReadError);

    Dst->LoadFromStream(Src.get());
    EXPECT_EQ(Dst->Bytes(), "0123456789");
    EXPECT_EQ(Dst->Position(), 0);
}

class FileStreamTest : public ::testing::Test
{
protected:
    QString Path(const QString &Name) const { return Dir.filePath(Name); }
    QTemporaryDir Dir;
};

TEST_F(FileStreamTest, CreateWriteReopenAndMemoryStreamFiles)
{
    const QString Name = Path("a.bin");
    {
        TAutoFree<TFileStream> F(TFileStream::Create(Name, fmCreate));
        F->WriteBuffer(QByteArrayLiteral("abcdef"));
        EXPECT_EQ(F->Size(), 6);
        F->SetSize(4);
        EXPECT_EQ(F->Position(), 4);
        F->Seek(-1, soFromEnd);
        char C;
        F->ReadBuffer(&C, 1);
        EXPECT_EQ(C, 'd');
    }
    TAutoFree<TMemoryStream> M(TMemoryStream::Create());
    M->LoadFromFile(Name);
    EXPECT_EQ(M->Bytes(), "abcd");
    M->WriteBuffer(QByteArrayLiteral("ef"));   // after LoadFromFile the position is 0
    M->SaveToFile(Path("b.bin"));
    QFile B(Path("b.bin"));
    ASSERT_TRUE(B.open(QIODevice::ReadOnly));
    EXPECT_EQ(B.readAll(), "efcd");

    // fmCreate truncates an existing file.
    TAutoFree<TFileStream> F(TFileStream::Create(Name, fmCreate));
    EXPECT_EQ(F->Size(), 0);
}

TEST_F(FileStreamTest, OpenErrorsNameTheFileAndTheReason)
{
    struct TCase { QString File; quint16 Mode; bool CreateError; QString Reason; };
    const TCase Cases[] = {
        {Path("missing.bin"), fmOpenRead, false, "No such file or directory"},
        {Path("no/dir/x.bin"), fmCreate, true, "No such file or directory"},
        {Dir.path(), fmOpenRead, false, "Is a directory"},
    };
    for (const TCase &C : Cases) {
        try {
            TFileStream::Create(C.File, C.Mode)->Free();
            ADD_FAILURE() << "no error for " << C.File.toStdString();
        } catch (const EFOpenError &E) {
            EXPECT_FALSE(C.CreateError);
            EXPECT_TRUE(E.Message().contains("\"" + C.File + "\"")) << E.Message().toStdString();
            EXPECT_TRUE(E.Message().contains(C.Reason)) << E.Message().toStdString();
        } catch (const EFCreateError &E) {
            EXPECT_TRUE(C.CreateError);
            EXPECT_TRUE(E.Message().startsWith("Cannot create file \"" + C.File + "\"")) << E.Message().toStdString();
            EXPECT_TRUE(E.Message().contains(C.Reason)) << E.Message().toStdString();
        }
    }
}

// The classic share matrix: a second open succeeds only when neither open denies an access the
// other one has.
TEST_F(FileStreamTest, ShareModesConflictBetweenOpens)
{
    const QString Name = Path("shared.bin");
    TFileStream::Create(Name, fmCreate | fmShareDenyNone)->Free();
    struct TCase { quint16 First, Second; bool SecondOpens; };
    const TCase Cases[] = {
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
        {fmOpenWrite | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, false},   // a writer exists
        {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyRead, true},
        {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyNone, fmOpenRead | fmShareExclusive, false},
        {fmOpenRead | fmShareDenyNone, fmOpenRead, false},                      // compat = exclusive
        {fmOpenRead | fmShareDenyWrite, fmCreate, false},
    };
    for (const TCase &C : Cases) {
        SCOPED_TRACE(testing::Message() << std::hex << C.First << " then " << C.Second);
        TAutoFree<TFileStream> First(TFileStream::Create(Name, C.First));
        bool Opened = true;
        try {
            TFileStream::Create(Name, C.Second)->Free();
        } catch (const EFOpenError &) {
            Opened = false;
        } catch (const EFCreateError &) {
            Opened = false;
        }
        EXPECT_EQ(Opened, C.SecondOpens) << std::hex << C.First << " then " << C.Second;
    }
    // Closing releases the locks.
    EXPECT_NO_THROW(TFileStream::Create(Name, fmOpenReadWrite | fmShareExclusive)->Free());
}

TEST_F(FileStreamTest, DeniedCreateLeavesTheFileIntact)
{
    const QString Name = Path("keep.bin");
    {
        TAutoFree<TFileStream> W(TFileStream::Create(Name, fmCreate));
        W->WriteBuffer(QByteArrayLiteral("precious"));
    }
    TAutoFree<TFileStream> Reader(TFileStream::Create(Name, fmOpenRead | fmShareDenyWrite));
    EXPECT_THROW(TFileStream::Create(Name, fmCreate), EFCreateError);
    EXPECT_EQ(ReadAll(Reader.get()), "precious");
}

// Registers a binary resource tree built by rcc from a temporary folder with kiv/forms/TFORM9 and
// kiv/bitmaps/DOT.bmp.
TEST(ResourceStreamTest, ReadsQtResourcesAndRaisesWhenMissing)
{
    const QString Rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
    if (!QFile::exists(Rcc))
        GTEST_SKIP() << "rcc not installed";
    QTemporaryDir Dir;
    QDir(Dir.path()).mkpath("kiv/forms");
    QDir(Dir.path()).mkpath("kiv/bitmaps");
    QFile Form(Dir.filePath("kiv/forms/TFORM9"));
    ASSERT_TRUE(Form.open(QIODevice::WriteOnly));
    Form.write("object Form1: TForm1\n  Caption = 'From a resource'\nend\n");
    Form.close();
    QFile Bmp(Dir.filePath("kiv/bitmaps/DOT.bmp"));
    ASSERT_TRUE(Bmp.open(QIODevice::WriteOnly));
    Bmp.write("BM");
    Bmp.close();
    QFile Qrc(Dir.filePath("t.qrc"));
    ASSERT_TRUE(Qrc.open(QIODevice::WriteOnly));
    Qrc.write("<RCC><qresource prefix=\"/\"><file>kiv/forms/TFORM9</file><file>kiv/bitmaps/DOT.bmp</file>"
              "</qresource></RCC>");
    Qrc.close();
    const QString Out = Dir.filePath("t.rcc");
    ASSERT_EQ(QProcess::execute(Rcc, {"--binary", Qrc.fileName(), "-o", Out}), 0);
    ASSERT_TRUE(QResource::registerResource(Out));

    TAutoFree<TResourceStream> R(TResourceStream::Create("tform9"));   // names ignore case
    EXPECT_TRUE(R->Bytes().startsWith("object Form1: TForm1\n"));
    EXPECT_THROW(R->WriteBuffer("x", 1), EStreamError);
    EXPECT_EQ(TResourceStream::FindResource("DOT", RT_BITMAP), ":/kiv/bitmaps/DOT.bmp");
    try {
        TResourceStream::Create("TFORM8")->Free();
        ADD_FAILURE();
    } catch (const EResNotFound &E) {
        EXPECT_EQ(E.Message(), "Resource TFORM8 not found");
    }

    // A window layout straight from the resources.
    LayoutStandIns::RegisterStandIns();
    TAutoFree<LayoutStandIns::TForm1> Form1(LayoutStandIns::TForm1::Create(nullptr));
    ReadComponentRes("TFORM9", Form1.get());
    EXPECT_EQ(Form1->Caption(), "From a resource");
    EXPECT_THROW(ReadComponentRes("TFORM8", Form1.get()), EResNotFound);
    QResource::unregisterResource(Out);
}

} // namespace
