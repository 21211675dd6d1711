// The built-in file theme: its bytes in a window layout, the private temporary file they pass through.

#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"
#include "framework/forms/Forms.h"
#include "tests/unit/QtPrinters.h"
#include "tests/unit/filetheme/FileThemeFixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace FileThemeTest;

namespace {

constexpr int ItemFormBackground = 15;

QByteArray Layout(const QByteArray &SkinData, const QByteArray &Extra = {})
{
    return "object Form1: TForm\n"
           "  object kivFileTheme1: TkivBuiltInFileTheme\n" +
           Extra + "    SkinData = {\n      " + SkinData.toHex().toUpper() + "}\n  end\nend\n";
}

class BuiltInTheme : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form.reset(TForm::CreateNew(nullptr));
        Bytes = FileBytes(MakeTheme(Source.path() + "/source.kiv", {{ItemFormBackground, 0x00FAE5D8}}));
    }

    TkivBuiltInFileTheme *Read(const QByteArray &Text)
    {
        ReadComponentFromText(Text, Form.get());
        return dynamic_cast<TkivBuiltInFileTheme *>(Form->FindComponent("kivFileTheme1"));
    }

    QTemporaryDir Source;
    TScopedDirs Dirs;
    TAutoFree<TForm> Form;
    QByteArray Bytes;
};

TEST_F(BuiltInTheme, LoadsFromTheLayoutAndLeavesNoFile)
{
    TkivBuiltInFileTheme *Theme = Read(Layout(Bytes, "    ThemeFile = 'C:\\design\\blue.kiv'\n"));
    ASSERT_TRUE(Theme);
    EXPECT_TRUE(Theme->CanUse());
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 0x00FAE5D8);
    // The published name is only the design-time one; the theme came through the (deleted) temporary file.
    EXPECT_EQ(GetStrProp(Theme, "ThemeFile"), "C:\\design\\blue.kiv");
    EXPECT_EQ(Theme->ThemeFile(), Dirs.Temp() + "KIVSKIN.kiv");
    EXPECT_EQ(DirEntries(Dirs.Temp()), QStringList());
}

// Whatever sits at KIVSKIN.kiv (a file, a link to a file elsewhere, a dangling link) is left alone and
// the next free number is used.
TEST_F(BuiltInTheme, TakenNameMovesOnAndNothingIsWrittenThroughIt)
{
    const QString Victim = Source.path() + "/victim";
    const QString Absent = Source.path() + "/absent";
    WriteBytes(Victim, "precious");
    struct Case
    {
        const char *What;
        std::function<void(const QString &)> Plant;
    } const Cases[] = {
        {"file", [](const QString &P) { WriteBytes(P, "mine"); }},
        {"link to a file", [&](const QString &P) { QFile::link(Victim, P); }},
        {"dangling link", [&](const QString &P) { QFile::link(Absent, P); }},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(C.What);
        const QString Planted = Dirs.Temp() + "KIVSKIN.kiv";
        C.Plant(Planted);
        const QStringList Before = DirEntries(Dirs.Temp());

        TAutoFree<TkivBuiltInFileTheme> Theme(TkivBuiltInFileTheme::Create(nullptr));
        Theme->LoadSkinData(Bytes);
        EXPECT_TRUE(Theme->CanUse());
        EXPECT_EQ(QFileInfo(Theme->ThemeFile()).fileName(), "KIVSKIN1.kiv");
        EXPECT_EQ(DirEntries(Dirs.Temp()), Before);

        EXPECT_EQ(FileBytes(Victim), "precious");
        EXPECT_FALSE(QFileInfo::exists(Absent));
        QFile::remove(Planted);
    }
}

TEST_F(BuiltInTheme, NumbersGoOnPastSeveralTakenNames)
{
    for (const char *Name : {"KIVSKIN.kiv", "KIVSKIN1.kiv", "KIVSKIN2.kiv"})
        WriteBytes(Dirs.Temp() + Name, "x");
    TkivTempThemeFile Temp(Bytes);
    EXPECT_EQ(Temp.FileName(), Dirs.Temp() + "KIVSKIN3.kiv");
    struct stat St;
    ASSERT_EQ(::lstat(QFile::encodeName(Temp.FileName()).constData(), &St), 0);
    EXPECT_EQ(St.st_mode & 07777, 0600u);
    EXPECT_EQ(FileBytes(Temp.FileName()), Bytes);
}

// Bad data raises out of the layout reading, and the temporary file is gone all the same.
TEST_F(BuiltInTheme, BadDataRaisesAndLeavesNoFile)
{
    struct Case
    {
        const char *What;
        QByteArray Data;
    } const Cases[] = {
        {"not a theme", "hello"},
        {"damaged theme", Bytes.left(40)},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(C.What);
        TAutoFree<TForm> Other(TForm::CreateNew(nullptr));
        EXPECT_THROW(ReadComponentFromText(Layout(C.Data), Other.get()), Exception);
        EXPECT_EQ(DirEntries(Dirs.Temp()), QStringList());
    }
}

// The temporary name is the same each time, so a second load must not count as "unchanged".
TEST_F(BuiltInTheme, SecondDataReplacesTheFirst)
{
    TAutoFree<TkivBuiltInFileTheme> Theme(TkivBuiltInFileTheme::Create(nullptr));
    Theme->LoadSkinData(Bytes);
    Theme->LoadSkinData(FileBytes(MakeTheme(Source.path() + "/second.kiv", {{ItemFormBackground, 42}})));
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 42);
}

TEST_F(BuiltInTheme, WritesTheDesignTimeFileAsSkinData)
{
    auto *Theme = TkivBuiltInFileTheme::Create(Form.get());
    Theme->SetName("kivFileTheme1");
    Theme->SetThemeFile2(Source.path() + "/missing.kiv");
    EXPECT_FALSE(WriteComponentToText(Form.get()).contains("SkinData"));

    Theme->SetThemeFile2(Source.path() + "/source.kiv");
    EXPECT_FALSE(Theme->CanUse());   // naming the design-time file loads nothing
    const QByteArray Text = WriteComponentToText(Form.get());
    EXPECT_TRUE(Text.contains("SkinData"));

    TAutoFree<TForm> Again(TForm::CreateNew(nullptr));
    ReadComponentFromText(Text, Again.get());
    auto *Read = dynamic_cast<TkivBuiltInFileTheme *>(Again->FindComponent("kivFileTheme1"));
    ASSERT_TRUE(Read);
    EXPECT_EQ(Read->GetColor(ItemFormBackground), 0x00FAE5D8);
}

} // namespace
