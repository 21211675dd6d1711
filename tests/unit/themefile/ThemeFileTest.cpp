// The theme file: the bytes the writer lays down, what the reader gives back, the magic test, and
// the damaged files the reader must refuse without reading outside them.

#include "skin/theme/Kivthemefile.h"
#include "tests/unit/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

class ThemeFile : public ::testing::Test
{
protected:
    QString Path(const QString &Name) const { return Dir.filePath(Name); }

    QByteArray ReadBytes(const QString &Name) const
    {
        QFile F(Path(Name));
        EXPECT_TRUE(F.open(QIODevice::ReadOnly));
        return F.readAll();
    }
    QString WriteBytes(const QString &Name, const QByteArray &Bytes) const
    {
        QFile F(Path(Name));
        EXPECT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes);
        return Path(Name);
    }
    TAutoFree<TkivThemeFileReader> Read(const QString &Name) const
    {
        return TAutoFree<TkivThemeFileReader>(TkivThemeFileReader::Create(Path(Name)));
    }

    QTemporaryDir Dir;
};

qint32 Int32At(const QByteArray &Bytes, int Pos) { return qFromLittleEndian<qint32>(Bytes.constData() + Pos); }

void PutInt32At(QByteArray &Bytes, int Pos, qint32 Value) { qToLittleEndian(Value, Bytes.data() + Pos); }

QByteArray Header()
{
    QByteArray H("Kivrona_TB\0\0", 12);
    H.resize(24, '\0');
    PutInt32At(H, 12, 24);
    PutInt32At(H, 16, 1);
    PutInt32At(H, 20, 24);
    return H;
}

QByteArray Terminator()
{
    QByteArray T(77, '\0');
    T[64] = 2;
    return T;
}

TEST_F(ThemeFile, EmptyThemeIsHeaderAndTerminator)
{
    TkivThemeFileWriter::Create(Path("empty.kiv"))->Free();

    const QByteArray Bytes = ReadBytes("empty.kiv");
    ASSERT_EQ(Bytes.size(), 101);
    EXPECT_EQ(Bytes, Header() + Terminator());
    EXPECT_EQ(Read("empty.kiv")->EntryCount(), 0);
}

TEST_F(ThemeFile, EntriesAreLaidOutInWriterOrder)
{
    WriteBytes("pic.bmp", "BM123");
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    // Added out of group order: the writer still puts files, strings, integers, flags.
    W->AddBool("Flag", true);
    W->AddInteger("Int", -2);
    W->AddStr("Str", "ab");
    W->AddFile("Pic", Path("pic.bmp"));
    W->Free();

    const QByteArray B = ReadBytes("t.kiv");
    struct { int Pos; const char *Name; int Type; int Length; QByteArray Data; } Entries[] = {
        {24, "Pic", 0, 5, "BM123"},
        {24 + 77 + 5, "Str", 3, 2, "ab"},
        {24 + 2 * 77 + 7, "Int", 1, 4, QByteArray("\xFE\xFF\xFF\xFF", 4)},
        {24 + 3 * 77 + 11, "Flag", 2, 1, QByteArray("\x01", 1)},
    };
    for (const auto &E : Entries) {
        SCOPED_TRACE(E.Name);
        QByteArray Name(E.Name);
        Name.resize(64, '\0');
        EXPECT_EQ(B.mid(E.Pos, 64), Name);
        EXPECT_EQ(int(B[E.Pos + 64]), E.Type);
        EXPECT_EQ(Int32At(B, E.Pos + 65), E.Pos + 77);
        EXPECT_EQ(Int32At(B, E.Pos + 69), E.Length);
        EXPECT_EQ(Int32At(B, E.Pos + 73), E.Pos + 77 + E.Length);
        EXPECT_EQ(B.mid(E.Pos + 77, E.Length), E.Data);
    }
    const int End = 24 + 4 * 77 + 12;
    EXPECT_EQ(B.mid(End), Terminator());
}

TEST_F(ThemeFile, RoundTripAndCaseInsensitiveLookups)
{
    QByteArray Picture("BM");
    for (int I = 0; I < 1000; ++I)
        Picture.append(char(I * 7));
    WriteBytes("pic.bmp", Picture);
    WriteBytes("empty.bin", "");
    {
        TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
        W->AddFile("ButtonImage", Path("pic.bmp"));
        W->AddFile("Nothing", Path("empty.bin"));
        W->AddStr("Caption", QString::fromUtf8("網路 = net"));
        W->AddInteger("Min", std::numeric_limits<qint32>::min());
        W->AddInteger("Max", std::numeric_limits<qint32>::max());
        W->AddInteger("FormBackgroundColor", 0x00FAE5D8);
        W->AddInteger("ControlBackgroundColor", qint32(0xFF000014));
        W->AddBool("On", true);
        W->AddBool("Off", false);
        W->Save();
        W->Free();
    }
    auto R = Read("t.kiv");
    EXPECT_EQ(R->EntryCount(), 9);

    TMemoryStream *Pic = R->GetFile("BUTTONIMAGE");
    ASSERT_NE(Pic, nullptr);
    Pic->SetPosition(17);
    EXPECT_EQ(R->GetFile("buttonimage"), Pic);
    EXPECT_EQ(Pic->Position(), 0);
    EXPECT_EQ(Pic->Bytes(), Picture);
    ASSERT_NE(R->GetFile("Nothing"), nullptr);
    EXPECT_EQ(R->GetFile("Nothing")->Size(), 0);

    EXPECT_EQ(R->GetStr("caption"), QString::fromUtf8("網路 = net"));
    EXPECT_EQ(R->GetInteger("min"), std::numeric_limits<qint32>::min());
    EXPECT_EQ(R->GetInteger("MAX"), std::numeric_limits<qint32>::max());
    EXPECT_EQ(R->GetInteger("FormBackgroundColor"), 16442840);
    EXPECT_EQ(R->GetInteger("ControlBackgroundColor"), -16777196);
    EXPECT_TRUE(R->GetBool("ON"));
    EXPECT_FALSE(R->GetBool("off"));

    // Missing entries are neutral values, and lookups keep to their own type.
    EXPECT_EQ(R->GetFile("Min"), nullptr);
    EXPECT_EQ(R->GetInteger("ButtonImage"), -1);
    EXPECT_FALSE(R->GetBool("Max"));
    EXPECT_EQ(R->GetStr("On"), QString());
}

TEST_F(ThemeFile, ReadsFromAStreamAsFromAFile)
{
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger("A", 7);
    W->Free();
    TAutoFree<TMemoryStream> S(TMemoryStream::Create());
    S->LoadFromFile(Path("t.kiv"));
    S->SetPosition(50);
    TAutoFree<TkivThemeFileReader> R(TkivThemeFileReader::Create(static_cast<TStream *>(S.get())));
    EXPECT_EQ(R->GetInteger("a"), 7);
}

TEST_F(ThemeFile, MinusOneReadsLikeAMissingInteger)
{
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger("Stored", -1);
    W->Free();
    auto R = Read("t.kiv");
    EXPECT_EQ(R->Integers()->Count(), 1);
    EXPECT_EQ(R->GetInteger("Stored"), R->GetInteger("Missing"));
}

TEST_F(ThemeFile, NamesAreCutToSixtyFourBytes)
{
    const QString Exact(64, u'x');
    const QString Long = QString(63, u'y') + "zz";
    const QString Chinese = QString(33, QChar(0x7DB2));   // 66 bytes in the code page: 32 whole characters fit
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger(Exact, 1);
    W->AddInteger(Long, 2);
    W->AddInteger(Chinese, 3);
    W->Free();

    const QByteArray B = ReadBytes("t.kiv");
    EXPECT_EQ(B.mid(24, 64), QByteArray(64, 'x'));
    EXPECT_EQ(int(B[24 + 64]), 1);   // the type byte follows with no terminating zero
    EXPECT_EQ(B.mid(24 + 81, 64), QByteArray(63, 'y') + 'z');

    auto R = Read("t.kiv");
    ASSERT_EQ(R->Integers()->Count(), 3);
    EXPECT_EQ(R->Integers()->Names(0), Exact);
    EXPECT_EQ(R->Integers()->Names(1), Long.left(64));
    EXPECT_EQ(R->Integers()->Names(2), Chinese.left(32));
    EXPECT_EQ(R->GetInteger(Exact), 1);
    EXPECT_EQ(R->GetInteger(Long.left(64)), 2);
}

TEST_F(ThemeFile, DuplicateNamesBothTakeTheFirstValue)
{
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger("Size", 1);
    W->AddInteger("SIZE", 2);
    W->Free();

    const QByteArray B = ReadBytes("t.kiv");
    EXPECT_EQ(Int32At(B, 24 + 77), 1);
    EXPECT_EQ(B.mid(24 + 81, 4), QByteArray("SIZE"));
    EXPECT_EQ(Int32At(B, 24 + 81 + 77), 1);

    auto R = Read("t.kiv");
    EXPECT_EQ(R->Integers()->Count(), 2);
    EXPECT_EQ(R->GetInteger("size"), 1);
}

TEST_F(ThemeFile, MissingEmbeddedFileLeavesTheOldThemeAlone)
{
    TkivThemeFileWriter::Create(Path("t.kiv"))->Free();
    const QByteArray Before = ReadBytes("t.kiv");

    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger("A", 1);
    W->AddFile("Pic", Path("missing.bmp"));
    EXPECT_THROW(W->Save(), EFOpenError);
    W->Free();   // the failed save has reported itself; freeing does not try again
    EXPECT_EQ(ReadBytes("t.kiv"), Before);
}

// The save that freeing makes can fail too: Free reports it and the writer is still released (the sanitizer
// build sees a leak otherwise); a scope guard, which cannot pass an error on, tells it and goes on.
TEST_F(ThemeFile, AFailingSaveOnFreeReleasesTheWriter)
{
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddFile("Pic", Path("missing.bmp"));
    EXPECT_THROW(W->Free(), EFOpenError);
    EXPECT_FALSE(QFile::exists(Path("t.kiv")));

    {
        TAutoFree<TkivThemeFileWriter> Guarded(TkivThemeFileWriter::Create(Path("t.kiv")));
        Guarded->AddFile("Pic", Path("missing.bmp"));
    }
    EXPECT_FALSE(QFile::exists(Path("t.kiv")));
}

TEST_F(ThemeFile, WriterSavesOnFreeOnlyWhatIsNew)
{
    TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
    W->AddInteger("A", 1);
    W->Save();
    QFile::remove(Path("t.kiv"));
    W->AddBool("B", true);
    W->Free();
    auto R = Read("t.kiv");
    EXPECT_EQ(R->GetInteger("A"), 1);
    EXPECT_TRUE(R->GetBool("B"));
}

TEST_F(ThemeFile, MagicTest)
{
    const QByteArray Valid = Header() + Terminator();
    QByteArray NonZeroTail = Valid;
    NonZeroTail[10] = 'X';
    NonZeroTail[11] = 'Y';
    QByteArray ZeroThenJunk = Valid;
    ZeroThenJunk[11] = 'Q';
    QByteArray Lower = Valid;
    Lower[0] = 'k';
    QDir(Dir.path()).mkdir("folder.kiv");

    struct { const char *Name; QByteArray Bytes; bool Write; bool Expected; } Cases[] = {
        {"valid", Valid, true, true},
        {"header only", Valid.left(12), true, true},
        {"text after the first zero", ZeroThenJunk, true, true},
        {"non-zero bytes 10 and 11", NonZeroTail, true, false},
        {"case differs", Lower, true, false},
        {"shorter than 12 bytes", QByteArray("Kivrona_TB"), true, false},
        {"empty", QByteArray(), true, false},
        {"missing", QByteArray(), false, false},
        {"folder.kiv", QByteArray(), false, false},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Name);
        const QString File = C.Write ? WriteBytes("magic.kiv", C.Bytes) : Path(C.Name);
        EXPECT_EQ(IsKIVThemeFile(File), C.Expected);
    }
}

// A writer-made theme of one integer and one flag: entry "A" at 24 (data 101..104), entry "B" at 105
// (data 182), the terminator at 183, 260 bytes in all.
class DamagedThemeFile : public ThemeFile
{
protected:
    void SetUp() override
    {
        TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("good.kiv"));
        W->AddInteger("A", 5);
        W->AddBool("B", true);
        W->Free();
        Good = ReadBytes("good.kiv");
        ASSERT_EQ(Good.size(), 260);
    }
    QByteArray Good;
};

TEST_F(DamagedThemeFile, IsRefusedWithTheReason)
{
    struct TCase
    {
        const char *What;
        std::function<void(QByteArray &)> Damage;
        const char *Message;
    };
    auto Set = [](int Pos, qint32 Value) { return [=](QByteArray &B) { PutInt32At(B, Pos, Value); }; };
    auto Cut = [](int Size) { return [=](QByteArray &B) { B.truncate(Size); }; };
    auto Both = [](std::function<void(QByteArray &)> F, std::function<void(QByteArray &)> G) {
        return [=](QByteArray &B) { F(B); G(B); };
    };
    const TCase Cases[] = {
        {"header size 20", Set(12, 20), "header size 20 (24 expected)"},
        {"header size 1000", Set(12, 1000), "header size 1000"},
        {"shorter than a header", Cut(10), "too short"},
        {"header cut short", Cut(20), "too short"},
        {"no entries", Cut(24), "entry header at 24 lies outside"},
        {"first entry past the end", Set(20, 5000), "entry header at 5000 lies outside"},
        {"first entry inside the header", Set(20, 0), "entry header at 0 lies outside"},
        {"first entry negative", Set(20, -77), "lies outside"},
        {"next points to itself", Set(24 + 73, 24), "does not move forward"},
        {"next points back", Set(105 + 73, 24), "entry at 105 names 24 as the next entry"},
        {"next negative", Set(24 + 73, -1), "does not move forward"},
        {"next past the end", Set(24 + 73, 100000), "entry header at 100000 lies outside"},
        {"terminator cut off", Cut(183 + 40), "entry header at 183 lies outside"},
        {"data offset past the end", Set(24 + 65, 258), "data of entry \"A\" (4 bytes at 258) lies outside"},
        {"data offset negative", Set(24 + 65, -4), "lies outside"},
        {"integer of 2 bytes", Set(24 + 69, 2), "entry \"A\" at 24 has 2 bytes of data (4 expected)"},
        {"flag of 4 bytes", Set(105 + 69, 4), "entry \"B\" at 105 has 4 bytes of data (1 expected)"},
        {"string longer than the file",
         Both([](QByteArray &B) { B[24 + 64] = 3; }, Set(24 + 69, 1000)), "(1000 bytes at 101) lies outside"},
        {"string of negative length",
         Both([](QByteArray &B) { B[24 + 64] = 3; }, Set(24 + 69, -1)), "lies outside"},
        {"two strings sharing the whole file",
         [](QByteArray &B) {
             for (int Pos : {24, 105}) {
                 B[Pos + 64] = 3;
                 PutInt32At(B, Pos + 65, 0);
                 PutInt32At(B, Pos + 69, 260);
             }
         },
         "entry \"B\" takes the entries' data past the 260 bytes of the file"},
        {"file reaching past 2 GB",
         Both([](QByteArray &B) { B[24 + 64] = 0; }, Set(24 + 69, std::numeric_limits<qint32>::max())),
         "lies outside"},
    };
    for (const TCase &C : Cases) {
        SCOPED_TRACE(C.What);
        QByteArray Bad = Good;
        C.Damage(Bad);
        WriteBytes("bad.kiv", Bad);
        try {
            Read("bad.kiv");
            ADD_FAILURE() << "loaded";
        } catch (const EStreamError &E) {
            EXPECT_TRUE(E.Message().startsWith("Damaged theme file \"" + Path("bad.kiv") + "\": ")) << E.Message().toStdString();
            EXPECT_TRUE(E.Message().contains(C.Message)) << E.Message().toStdString();
        }
    }
}

TEST_F(DamagedThemeFile, ReaderKeepsNothingOfARefusedFile)
{
    auto R = Read("good.kiv");
    QByteArray Bad = Good;
    PutInt32At(Bad, 105 + 69, 2);
    WriteBytes("bad.kiv", Bad);
    EXPECT_THROW(R->Load(Path("bad.kiv")), EReadError);
    EXPECT_EQ(R->EntryCount(), 0);
}

TEST_F(DamagedThemeFile, UnknownEntryTypesAreSkippedButStayInTheChain)
{
    QByteArray Odd = Good;
    Odd[24 + 64] = char(9);
    PutInt32At(Odd, 24 + 69, -5);   // the data of a skipped entry is never looked at
    Odd[182] = char(2);             // any non-zero flag byte reads as True
    WriteBytes("odd.kiv", Odd);
    auto R = Read("odd.kiv");
    EXPECT_EQ(R->EntryCount(), 1);
    EXPECT_TRUE(R->GetBool("B"));
    EXPECT_EQ(R->Flags()->Strings(0), "B=2");

    const QList<TkivThemeEntry> &Chain = R->Chain();
    ASSERT_EQ(Chain.size(), 3);
    EXPECT_EQ(Chain[0].Position, 24);
    EXPECT_EQ(Chain[0].Type, 9);
    EXPECT_EQ(Chain[0].Length, -5);
    EXPECT_EQ(Chain[0].NameField, QByteArray("A") + QByteArray(63, '\0'));
    EXPECT_EQ(Chain[1].Position, 105);
    EXPECT_EQ(Chain[1].DataOffset, 182);
    EXPECT_EQ(Chain[1].Next, 183);
    EXPECT_EQ(Chain[2].Position, 183);
    EXPECT_EQ(Chain[2].Next, 0);
}

TEST_F(ThemeFile, UnreadableFileRaisesTheOpenError)
{
    EXPECT_THROW(Read("missing.kiv"), EFOpenError);
}

TEST(ThemeItemNames, NumberedAsTheItemsAre)
{
    EXPECT_STREQ(KIV_FILETHEME_ITEMNAME[0], "ButtonImage");
    EXPECT_STREQ(KIV_FILETHEME_ITEMNAME[24], "ControlBorderColor");
    EXPECT_STREQ(KIV_FILETHEME_ITEMNAME[47], "MenuMenuBarColor");
    for (int I = 0; I < KIV_FILETHEME_ITEMCOUNT; ++I)
        for (int J = I + 1; J < KIV_FILETHEME_ITEMCOUNT; ++J)
            EXPECT_FALSE(SameText(KIV_FILETHEME_ITEMNAME[I], KIV_FILETHEME_ITEMNAME[J])) << I << " " << J;
}

} // namespace
