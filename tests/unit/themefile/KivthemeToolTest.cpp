// kivtheme run as a program: what pack, unpack, dump and check write and answer.

#include "skin/theme/Kivthemefile.h"
#include "skin/theme/Kivthemes.h"
#include "tests/unit/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct TRun
{
    int Status = -1;
    QString Out;
    QString Err;
};

class KivthemeTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists(Program))
            GTEST_SKIP() << "kivtheme is not built";
    }

    TRun Run(const QStringList &Args) const
    {
        QProcess P;
        P.setWorkingDirectory(Dir.path());
        P.start(Program, Args);
        EXPECT_TRUE(P.waitForFinished(30000));
        return {P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1, QString::fromLocal8Bit(P.readAllStandardOutput()),
                QString::fromLocal8Bit(P.readAllStandardError())};
    }

    QString Path(const QString &Name) const { return Dir.filePath(Name); }

    void WriteFile(const QString &Name, const QByteArray &Bytes) const
    {
        QDir().mkpath(QFileInfo(Path(Name)).path());
        QFile F(Path(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes);
    }
    QByteArray ReadFile(const QString &Name) const
    {
        QFile F(Path(Name));
        EXPECT_TRUE(F.open(QIODevice::ReadOnly)) << Name.toStdString();
        return F.readAll();
    }

    const QString Program = QStringLiteral(KIV_BIN_DIR "/kivtheme");
    QTemporaryDir Dir;
};

TEST_F(KivthemeTool, PackThenDumpListsEachGroupInFileOrder)
{
    WriteFile("src/b.bmp", "BM" + QByteArray(40, 'x'));
    WriteFile("src/theme.ini",
              "; groups out of order on purpose\n"
              "[flags]\nOn = 1\nOff=0\n"
              "[integers]\nColor=0xFF000014\nNeg=-8\n"
              "[strings]\nQuoted=\"a\\tb \\\"c\\\"\"\nPlain= two words \n"
              "[files]\nButtonImage=b.bmp\n");
    TRun Pack = Run({"pack", "src", "t.kiv"});
    ASSERT_EQ(Pack.Status, 0) << Pack.Err.toStdString();
    EXPECT_TRUE(IsKIVThemeFile(Path("t.kiv")));

    TRun Dump = Run({"dump", "t.kiv"});
    EXPECT_EQ(Dump.Status, 0);
    EXPECT_EQ(Dump.Out,
              "file\tButtonImage\t42\n"
              "string\tQuoted\ta\\tb \"c\"\n"
              "string\tPlain\ttwo words\n"
              "integer\tColor\t-16777196\n"
              "integer\tNeg\t-8\n"
              "flag\tOn\t1\n"
              "flag\tOff\t0\n");

    TRun Check = Run({"check", "t.kiv"});
    EXPECT_EQ(Check.Status, 0);
    EXPECT_EQ(Check.Out, "ok, 7 entries\n");
}

TEST_F(KivthemeTool, PackOfAnUnpackedThemeGivesTheSameBytes)
{
    WriteFile("pic.bmp", "BM\x01\x02");
    WriteFile("data.bin", QByteArray("\0\1\2", 3));
    {
        TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
        W->AddFile("Pic", Path("pic.bmp"));
        W->AddFile("PIC", Path("data.bin"));   // same name: both entries hold the first picture
        W->AddFile("Data", Path("data.bin"));
        W->AddFile("theme", Path("data.bin"));
        W->AddStr(QString::fromUtf8("標題"), QString::fromUtf8("網路\n\"x\"\\"));
        W->AddInteger(QString(64, u'n'), -1);
        W->AddInteger("Color", qint32(0xFF000014));
        W->AddBool("Flag", true);
        W->Free();
    }
    TRun Unpack = Run({"unpack", "t.kiv", "out"});
    ASSERT_EQ(Unpack.Status, 0) << Unpack.Err.toStdString();
    EXPECT_TRUE(QFile::exists(Path("out/Pic.bmp")));
    EXPECT_EQ(ReadFile("out/Data.bin"), QByteArray("\0\1\2", 3));

    TRun Pack = Run({"pack", "out", "again.kiv"});
    ASSERT_EQ(Pack.Status, 0) << Pack.Err.toStdString();
    EXPECT_EQ(ReadFile("again.kiv"), ReadFile("t.kiv"));
}

// Themes the reader takes but the writer would not make: each comes back byte for byte.
QByteArray Int32Bytes(qint32 Value)
{
    QByteArray B(4, '\0');
    qToLittleEndian(Value, B.data());
    return B;
}

void PutInt32At(QByteArray &Bytes, int Pos, qint32 Value) { qToLittleEndian(Value, Bytes.data() + Pos); }

QByteArray Laid(const QList<TkivThemeValue> &Values) { return KivThemeFileBytes(Values, QString()); }

TkivThemeValue Value(const QByteArray &Name, quint8 Type, const QByteArray &Data) { return {Name, Type, Data}; }

TEST_F(KivthemeTool, UnpackThenPackGivesBackEveryThemeTheReaderTakes)
{
    const QByteArray Pic("BM\x06\0\0\0", 6);
    const QByteArray Big5Title = "\xBC\xD0\xC3\x44";   // two characters
    struct
    {
        const char *What;
        QByteArray Theme;
        bool Layout;        // unpack must say where the parts lie
        const char *Ini;    // a line theme.ini must hold, when given
    } Cases[] = {
        {"flag bytes other than 0 and 1", Laid({Value("Two", KIV_ENTRY_FLAG, "\x02"), Value("Max", KIV_ENTRY_FLAG, "\xFF")}), false, "Max=255"},
        {"same name, two values, two cases",
         Laid({Value("Pic", KIV_ENTRY_FILE, Pic), Value("PIC", KIV_ENTRY_FILE, "BM"), Value("n", KIV_ENTRY_INTEGER, Int32Bytes(1)),
               Value("N", KIV_ENTRY_INTEGER, Int32Bytes(2))}),
         false, "N=2"},
        {"empty picture and empty string", Laid({Value("E", KIV_ENTRY_FILE, ""), Value("S", KIV_ENTRY_STRING, "")}), false, "S=\"\""},
        {"integer extremes", Laid({Value("Lo", KIV_ENTRY_INTEGER, Int32Bytes(std::numeric_limits<qint32>::min())),
                                   Value("M", KIV_ENTRY_INTEGER, Int32Bytes(-1))}), false, "Lo=-2147483648"},
        {"names theme.ini cannot hold plainly",
         Laid({Value("a=b", KIV_ENTRY_FLAG, "\x01"), Value(" pad ", KIV_ENTRY_FLAG, "\x01"), Value("", KIV_ENTRY_FLAG, "\x01"),
               Value("[x]", KIV_ENTRY_FLAG, "\x01"), Value(";c", KIV_ENTRY_FLAG, "\x01"), Value("\"q", KIV_ENTRY_FLAG, "\x01"),
               Value("tab\there", KIV_ENTRY_FLAG, "\x01"), Value("\x7F", KIV_ENTRY_FLAG, "\x01"), Value(QByteArray(64, 'n'), KIV_ENTRY_FLAG, "\x01")}),
         false, "\"a=b\"=1"},
        {"code page text: characters, a backslash trail byte, bytes that are no character",
         Laid({Value(Big5Title, KIV_ENTRY_STRING, "\xB3\x5C" "\xFF" "\xA4"), Value("\xC9\x4A\x80", KIV_ENTRY_STRING, QByteArray("\0\x01\r\n\"\\", 6))}),
         false, "\"\\x00\\x01\\r\\n\\\"\\\\\""},
        {"groups in another order", Laid({Value("I", KIV_ENTRY_INTEGER, Int32Bytes(7)), Value("P", KIV_ENTRY_FILE, Pic), Value("F", KIV_ENTRY_FLAG, QByteArray(1, '\0'))}),
         true, "integers 1=24 101"},
        {"other header values and bytes after the end",
         [] {
             QByteArray B = Laid({Value("I", KIV_ENTRY_INTEGER, Int32Bytes(7))});
             B[11] = 'X';
             PutInt32At(B, 16, 7);
             return B + "tail";
         }(),
         true, "fill=182 7461696C"},
        {"shared data and a gap",
         [] {
             const QByteArray Pic("BM\x06\0\0\0", 6);
             QByteArray B = Laid({Value("A", KIV_ENTRY_FILE, Pic), Value("B", KIV_ENTRY_FILE, Pic)});
             PutInt32At(B, 107 + 65, 101);   // B's data is A's; its own copy becomes a gap
             return B;
         }(),
         true, "files 2=107 101"},
        {"unknown entry type, name field with bytes after its end, odd terminator",
         [] {
             QByteArray B = Laid({Value("S", KIV_ENTRY_STRING, "abc"), Value("F", KIV_ENTRY_FLAG, "\x01")});
             B[24 + 64] = char(9);
             PutInt32At(B, 24 + 69, -5);
             B[104 + 10] = 'z';
             B[182 + 3] = 'e';
             return B;
         }(),
         true, "other=24 "},
        {"first entry after a gap",
         [] {
             QByteArray B = Laid({});
             B.insert(24, "gap!");
             PutInt32At(B, 20, 28);
             return B;
         }(),
         true, "end=28"},
    };
    int N = 0;
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.What);
        const QString Name = QString::number(++N);
        WriteFile(Name + ".kiv", C.Theme);
        TRun Check = Run({"check", Name + ".kiv"});
        ASSERT_EQ(Check.Status, 0) << Check.Err.toStdString();
        TRun Unpack = Run({"unpack", Name + ".kiv", Name});
        ASSERT_EQ(Unpack.Status, 0) << Unpack.Err.toStdString();
        const QString Ini = QString::fromUtf8(ReadFile(Name + "/theme.ini"));
        EXPECT_EQ(Ini.contains("\n[layout]\n"), C.Layout) << Ini.toStdString();
        EXPECT_TRUE(Ini.contains(QString::fromUtf8(C.Ini))) << Ini.toStdString();
        TRun Pack = Run({"pack", Name, Name + "-again.kiv"});
        ASSERT_EQ(Pack.Status, 0) << Pack.Err.toStdString() << Ini.toStdString();
        EXPECT_EQ(ReadFile(Name + "-again.kiv"), C.Theme);
    }
}

TEST_F(KivthemeTool, PackKeepsTheLayoutOfAnEditedFolderOrRefusesIt)
{
    QByteArray Theme = Laid({Value("A", KIV_ENTRY_FILE, "BMab"), Value("B", KIV_ENTRY_FILE, "BMab"), Value("I", KIV_ENTRY_INTEGER, Int32Bytes(1))});
    PutInt32At(Theme, 105 + 65, 101);
    WriteFile("t.kiv", Theme);
    ASSERT_EQ(Run({"unpack", "t.kiv", "out"}).Status, 0);

    // A value of the same size keeps every place.
    QByteArray Ini = ReadFile("out/theme.ini");
    Ini.replace("I=1\n", "I=0x01020304\n");
    WriteFile("out/theme.ini", Ini);
    TRun Pack = Run({"pack", "out", "edited.kiv"});
    ASSERT_EQ(Pack.Status, 0) << Pack.Err.toStdString();
    QByteArray Expected = Theme;
    PutInt32At(Expected, 263, 0x01020304);
    EXPECT_EQ(ReadFile("edited.kiv"), Expected);

    // Shared data that no longer agrees cannot keep its place.
    WriteFile("out/B.bmp", "BMcd");
    TRun Clash = Run({"pack", "out", "clash.kiv"});
    EXPECT_EQ(Clash.Status, 1);
    EXPECT_TRUE(Clash.Err.contains("differs from what an earlier line put there")) << Clash.Err.toStdString();

    // Without [layout] the entries are laid out anew, as the writer does.
    Ini = ReadFile("out/theme.ini");
    WriteFile("out/theme.ini", Ini.left(Ini.indexOf("\n[layout]")));
    ASSERT_EQ(Run({"pack", "out", "anew.kiv"}).Status, 0);
    EXPECT_EQ(ReadFile("anew.kiv"),
              Laid({Value("A", KIV_ENTRY_FILE, "BMab"), Value("B", KIV_ENTRY_FILE, "BMcd"), Value("I", KIV_ENTRY_INTEGER, Int32Bytes(0x01020304))}));
}

TEST_F(KivthemeTool, UnpackKeepsEntryNamesInsideTheFolder)
{
    WriteFile("pic.bmp", "BM");
    {
        TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("t.kiv"));
        W->AddFile("../../escape", Path("pic.bmp"));
        W->AddFile("/abs", Path("pic.bmp"));
        W->Free();
    }
    TRun Unpack = Run({"unpack", "t.kiv", "a/b"});
    ASSERT_EQ(Unpack.Status, 0) << Unpack.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("escape.bmp")));
    EXPECT_FALSE(QFile::exists(Path("a/escape.bmp")));
    QStringList Written = QDir(Path("a/b")).entryList(QDir::Files);
    Written.sort();
    EXPECT_EQ(Written, QStringList({"______escape.bmp", "_abs.bmp", "theme.ini"}));
}

TEST_F(KivthemeTool, FailuresAndUsage)
{
    WriteFile("not-a-theme.bmp", "BM not a theme at all");
    WriteFile("src/pic.bmp", "BM");
    {
        TkivThemeFileWriter *W = TkivThemeFileWriter::Create(Path("damaged.kiv"));
        W->AddInteger("A", 1);
        W->Free();
        QByteArray B = ReadFile("damaged.kiv");
        B.truncate(120);
        WriteFile("damaged.kiv", B);
    }
    struct
    {
        const char *What;
        QByteArray Ini;   // written to bad/theme.ini when not empty
        QStringList Args;
        int Status;
        const char *Err;
    } Cases[] = {
        {"no command", "", {}, 2, "no command given"},
        {"unknown command", "", {"frob"}, 2, "unknown command \"frob\""},
        {"missing argument", "", {"dump"}, 2, "dump takes 1 argument"},
        {"extra argument", "", {"pack", "a", "b", "c"}, 2, "pack takes 2 arguments"},
        {"unknown style", "", {"export", "Glass", "x.kiv"}, 2, "no built-in style \"Glass\""},
        {"no magic", "", {"check", "not-a-theme.bmp"}, 1, "not-a-theme.bmp: Invalid skin file for Kivrona!"},
        {"damaged", "", {"dump", "damaged.kiv"}, 1, "Damaged theme file"},
        {"missing", "", {"check", "missing.kiv"}, 1, "missing.kiv: no such file"},
        {"no theme.ini", "", {"pack", "src", "x.kiv"}, 1, "theme.ini"},
        {"flag beyond a byte", "[flags]\nA=256\n", {"pack", "bad", "x.kiv"}, 1, "theme.ini line 2: \"256\" is not a flag byte (0 to 255)"},
        {"bad byte escape", "[strings]\nA=\"\\x4\"\n", {"pack", "bad", "x.kiv"}, 1, "line 2: \\x takes two hexadecimal digits"},
        {"character outside the code page", "[strings]\nA=\xF0\x9F\x98\x80\n", {"pack", "bad", "x.kiv"}, 1, "has a character the code page Big5 lacks"},
        {"integer too large", "[integers]\nA=0x100000000\n", {"pack", "bad", "x.kiv"}, 1, "line 2: \"0x100000000\" is not a 32-bit integer"},
        {"unknown section", "[pictures]\n", {"pack", "bad", "x.kiv"}, 1, "line 1: unknown section [pictures]"},
        {"entry before a section", "A=1\n", {"pack", "bad", "x.kiv"}, 1, "line 1: entry before the first section"},
        {"missing picture", "[files]\n\nA=none.bmp\n", {"pack", "bad", "x.kiv"}, 1, "line 3: no file"},
        {"open quote", "[strings]\nA=\"abc\n", {"pack", "bad", "x.kiv"}, 1, "line 2: missing closing quote"},
        {"name too long", "[flags]\n" + QByteArray(65, 'n') + "=1\n", {"pack", "bad", "x.kiv"}, 1, "longer than 64 bytes"},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.What);
        if (!C.Ini.isEmpty())
            WriteFile("bad/theme.ini", C.Ini);
        TRun R = Run(C.Args);
        EXPECT_EQ(R.Status, C.Status);
        EXPECT_TRUE(R.Out.isEmpty()) << R.Out.toStdString();
        EXPECT_TRUE(R.Err.contains(QLatin1String(C.Err))) << R.Err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.kiv")));

    TRun Help = Run({"--help"});
    EXPECT_EQ(Help.Status, 0);
    EXPECT_TRUE(Help.Out.startsWith("Usage: kivtheme")) << Help.Out.toStdString();
}

TEST_F(KivthemeTool, ExportWritesTheCatalogueOfAStyle)
{
    TRun Export = Run({"export", "deepblue", "x.kiv"});
    ASSERT_EQ(Export.Status, 0) << Export.Err.toStdString();

    QString Files, Values;
    for (int Item = 1; Item <= KIV_FILETHEME_ITEMCOUNT; ++Item) {
        const TkivItemValue V = GetInsideThemeItem(DeepBlue, Item);
        const QString Name = KIV_FILETHEME_ITEMNAME[Item - 1];
        if (V.Type == TkivType::Str && V.Entry.Name && *V.Entry.Name)
            Files += "file\t" + Name + u'\t';
        else if (V.Type == TkivType::Int || V.Type == TkivType::Color)
            Values += "integer\t" + Name + u'\t' + QString::number(V.Entry.Value) + u'\n';
    }
    for (int Item = 1; Item <= KIV_FILETHEME_ITEMCOUNT; ++Item)
        if (GetInsideThemeItem(DeepBlue, Item).Type == TkivType::Bool)
            Values += QStringLiteral("flag\t%1\t%2\n").arg(KIV_FILETHEME_ITEMNAME[Item - 1]).arg(GetInsideThemeBool(DeepBlue, Item));

    TRun Dump = Run({"dump", "x.kiv"});
    ASSERT_EQ(Dump.Status, 0) << Dump.Err.toStdString();
    QString Listed;
    for (const QString &Line : Dump.Out.split(u'\n', Qt::SkipEmptyParts))
        Listed += Line.startsWith("file\t") ? Line.left(Line.lastIndexOf(u'\t') + 1) : Line + u'\n';
    EXPECT_EQ(Listed, Files + Values);
}

} // namespace
