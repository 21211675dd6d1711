// Number, text and path helpers.

#include "framework/core/SysUtils.h"
#include "tests/unit/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SysUtils, IntegerConversion)
{
    const std::pair<const char *, qint64> Good[] = {
        {"0", 0}, {"-11", -11}, {" 42 ", 42}, {"+7", 7}, {"$FF", 255}, {"0x10", 16}, {"-$10", -16},
        {"13006690", 13006690}, {"9223372036854775807", 9223372036854775807LL},
    };
    for (const auto &[Text, Value] : Good) {
        EXPECT_EQ(StrToInt(QString::fromLatin1(Text)), Value) << Text;
        EXPECT_EQ(StrToIntDef(QString::fromLatin1(Text), -1), Value) << Text;
    }
    for (const char *Text : {"", " ", "abc", "1.5", "12a", "--1", "$", "0x", "$-1", "99999999999999999999"}) {
        qint64 Value = 5;
        EXPECT_FALSE(TryStrToInt(QString::fromLatin1(Text), Value)) << Text;
        EXPECT_EQ(Value, 5);
        EXPECT_EQ(StrToIntDef(QString::fromLatin1(Text), -3), -3);
    }
    try {
        StrToInt(QStringLiteral("abc"));
        FAIL();
    } catch (const EConvertError &E) {
        EXPECT_EQ(E.Message(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(IntToStr(-1381), "-1381");
}

TEST(SysUtils, TextHelpers)
{
    EXPECT_EQ(Trim(QStringLiteral("\t a b \r\n")), "a b");
    EXPECT_EQ(Trim(QStringLiteral(" \x01 ")), "");
    EXPECT_TRUE(SameText(QStringLiteral("TkivForm"), QStringLiteral("TKIVFORM")));
    EXPECT_FALSE(SameText(QStringLiteral("a"), QStringLiteral("b")));
    EXPECT_LT(CompareText(QStringLiteral("apple"), QStringLiteral("BANANA")), 0);
    EXPECT_EQ(CompareText(QStringLiteral("x"), QStringLiteral("X")), 0);
    EXPECT_EQ(Min(3, -2), -2);
    EXPECT_EQ(Max(3.5, 1.0), 3.5);
}

TEST(SysUtils, PathParts)
{
    struct Case
    {
        const char *Path, *Name, *Dir, *WithDelimiter;
    };
    const Case Cases[] = {
        {"/usr/share/a.kiv", "a.kiv", "/usr/share/", "/usr/share/a.kiv/"},
        {"C:\\Themes\\b.kiv", "b.kiv", "C:\\Themes\\", "C:\\Themes\\b.kiv/"},
        {"plain.kiv", "plain.kiv", "", "plain.kiv/"},
        {"/dir/", "", "/dir/", "/dir/"},
        {"", "", "", "/"},
    };
    for (const Case &C : Cases) {
        EXPECT_EQ(ExtractFileName(QString::fromLatin1(C.Path)), QString::fromLatin1(C.Name)) << C.Path;
        EXPECT_EQ(ExtractFilePath(QString::fromLatin1(C.Path)), QString::fromLatin1(C.Dir)) << C.Path;
        EXPECT_EQ(IncludeTrailingPathDelimiter(QString::fromLatin1(C.Path)), QString::fromLatin1(C.WithDelimiter));
    }
}

TEST(SysUtils, FilesAndDirectories)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    QString File = Dir.filePath(QStringLiteral("theme.kiv"));
    EXPECT_FALSE(FileExists(File));
    EXPECT_FALSE(DeleteFile(File));
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.close();
    EXPECT_TRUE(FileExists(File));
    EXPECT_FALSE(FileExists(Dir.path()));   // a directory is not a file
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_TRUE(DeleteFile(File));
    EXPECT_FALSE(FileExists(File));

    EXPECT_TRUE(QFile::exists(ProgramDir() + QStringLiteral("test_core")));
    QByteArray OldTmp = qgetenv("TMPDIR"), OldData = qgetenv("XDG_DATA_HOME");
    qputenv("TMPDIR", "/var/tmp");
    qputenv("XDG_DATA_HOME", "/home/u/data");
    EXPECT_EQ(TempDir(), "/var/tmp/");
    EXPECT_EQ(WindowsDir(), "/home/u/data/kivrona/");
    qunsetenv("TMPDIR");
    EXPECT_EQ(TempDir(), "/tmp/");
    EXPECT_EQ(SystemDir(), "/usr/share/kivrona/");
    OldTmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", OldTmp);
    OldData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", OldData);
}
