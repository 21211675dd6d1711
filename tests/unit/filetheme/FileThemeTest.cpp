// File themes: the rule that picks file theme or built-in style, loading and searching, neutral values.

#include "framework/core/SysUtils.h"
#include "framework/graphics/Bitmap.h"
#include "tests/unit/QtPrinters.h"
#include "tests/unit/filetheme/FileThemeFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

#include <gtest/gtest.h>

using namespace FileThemeTest;

namespace {

constexpr int ItemFormBackground = 15;   // FormBackgroundColor
constexpr int ItemFormMinWidth = 13;     // FormMinWidthInt
constexpr int ItemButton = 1;            // ButtonImage
constexpr int ItemButtonTransparent = 2; // ButtonTransparentBool

class FileTheme : public ::testing::Test
{
protected:
    void SetUp() override { Theme.reset(TkivFileTheme::Create(nullptr)); }

    QString Make(const QString &Name, qint32 Background, bool WithButton = false)
    {
        return MakeTheme(Dirs.Temp() + Name, {{ItemFormBackground, Background}}, WithButton);
    }

    TScopedDirs Dirs;
    TAutoFree<TkivFileTheme> Theme;
};

TEST(UsingFileThemeRule, ChoosesBetweenFileThemeAndBuiltInStyle)
{
    TScopedDirs Dirs;
    TAutoFree<TkivFileTheme> Usable(TkivFileTheme::Create(nullptr));
    Usable->SetThemeFile(MakeTheme(Dirs.Temp() + "a.kiv", {}));
    ASSERT_TRUE(Usable->CanUse());
    TAutoFree<TkivFileTheme> Unloaded(TkivFileTheme::Create(nullptr));

    struct Case
    {
        TkivFileTheme *Theme;
        TkivUIStyle Style;
        bool Result;
        TkivUIStyle SetStyle;
    } const Cases[] = {
        {nullptr, FromThemeFile, false, DeepBlue},
        {Unloaded.get(), FromThemeFile, false, DeepBlue},
        {Usable.get(), FromThemeFile, true, FromThemeFile},
        {Usable.get(), WinXP, false, WinXP},
        {nullptr, Protein, false, Protein},
    };
    for (const Case &C : Cases) {
        TkivUIStyle Got = BlueGlass;
        EXPECT_EQ(UsingFileTheme(C.Theme, C.Style, Got), C.Result) << int(C.Style);
        EXPECT_EQ(Got, C.SetStyle) << int(C.Style);
    }
}

TEST_F(FileTheme, LoadsAndAnswersItsValues)
{
    const QString Path = Make("a.kiv", 0x00FAE5D8, true);
    Theme->SetThemeFile(Path);
    EXPECT_TRUE(Theme->CanUse());
    EXPECT_EQ(Theme->ThemeFile(), Path);
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 0x00FAE5D8);
    EXPECT_TRUE(Theme->GetBool(ItemButtonTransparent));

    TAutoFree<TBitmap> Whole(TBitmap::Create());
    Theme->GetBitmap(ItemButton, Whole.get());
    EXPECT_EQ(Whole->Width(), 9);
    EXPECT_EQ(Whole->Height(), 2);

    // Frame 2 of 3 is the green one.
    TAutoFree<TBitmap> Frame(TBitmap::Create());
    Theme->GetBitmap(ItemButton, Frame.get(), 3, 2);
    EXPECT_EQ(Frame->Width(), 3);
    EXPECT_EQ(Frame->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(Frame->Canvas()->Pixels(2, 1), clLime);
    // Asked twice, the picture is decoded again from the start of its data.
    Theme->GetBitmap(ItemButton, Frame.get(), 3, 3);
    EXPECT_EQ(Frame->Canvas()->Pixels(1, 1), clBlue);
}

TEST_F(FileTheme, SameNameDoesNothingEvenWhenTheFileChanged)
{
    const QString Path = Make("a.kiv", 111);
    Theme->SetThemeFile(Path);
    Make("a.kiv", 222);
    Theme->SetThemeFile(Path);
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 111);
}

TEST_F(FileTheme, ReloadReplacesTheTheme)
{
    Theme->SetThemeFile(Make("a.kiv", 111, true));
    Theme->SetThemeFile(Make("b.kiv", 222));
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 222);
    // b has no picture: nothing of a's is left behind.
    TAutoFree<TBitmap> Buf(TBitmap::Create());
    Theme->GetBitmap(ItemButton, Buf.get());
    EXPECT_TRUE(Buf->Empty());
}

TEST_F(FileTheme, BareNameIsFoundInTheUserThemesFolderAndStoredWithItsPath)
{
    const QString Path = MakeTheme(Dirs.Themes() + "found.kiv", {{ItemFormBackground, 5}});
    Theme->SetThemeFile("found.kiv");
    EXPECT_EQ(Theme->ThemeFile(), Path);
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 5);

    // A missing folder part counts for nothing: the file name alone is looked for.
    TAutoFree<TkivFileTheme> Other(TkivFileTheme::Create(nullptr));
    Other->SetThemeFile("/no/such/place/found.kiv");
    EXPECT_EQ(Other->ThemeFile(), Path);
}

TEST_F(FileTheme, BareNameIsFoundBesideTheProgramFirst)
{
    const QString Name = QStringLiteral("filetheme-test-%1.kiv").arg(QCoreApplication::applicationPid());
    const QString Beside = MakeTheme(ProgramDir() + Name, {{ItemFormBackground, 1}});
    MakeTheme(Dirs.Themes() + Name, {{ItemFormBackground, 2}});
    // Run from elsewhere, so the bare name is not found as given (ctest runs in the program's folder).
    const QString Cwd = QDir::currentPath();
    QDir::setCurrent(Dirs.Temp());
    Theme->SetThemeFile(Name);
    QDir::setCurrent(Cwd);
    QFile::remove(Beside);
    EXPECT_EQ(Theme->ThemeFile(), Beside);
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 1);
}

// Sets an environment variable for one scope (unset when Value is null) and restores it after.
class TScopedEnv
{
public:
    TScopedEnv(const char *Name, const char *Value) : FName(Name), FOld(qgetenv(Name)), FHad(qEnvironmentVariableIsSet(Name))
    {
        if (Value)
            qputenv(Name, Value);
        else
            qunsetenv(Name);
    }
    ~TScopedEnv()
    {
        if (FHad)
            qputenv(FName, FOld);
        else
            qunsetenv(FName);
    }

private:
    const char *FName;
    QByteArray FOld;
    bool FHad;
};

TEST(ThemeSearch, FollowsTheBaseDirectoryRulesThenTheInstallPrefix)
{
    const QString Program = IncludeTrailingPathDelimiter(QDir::cleanPath(ProgramDir()));
    const QString UserDefault = QDir::homePath() + "/.local/share/kivrona/themes/";
    QString Installed;
    {
        TScopedEnv Home("XDG_DATA_HOME", "/d"), Dirs("XDG_DATA_DIRS", "/a");
        const QStringList Found = KivThemeSearchDirs();
        ASSERT_EQ(Found.size(), 4) << Found.join(u' ').toStdString();
        Installed = Found.back();
        EXPECT_TRUE(Installed.endsWith("/share/kivrona/themes/")) << Installed.toStdString();
        EXPECT_FALSE(QDir::isRelativePath(Installed));
    }
    const QByteArray InstalledShare = QFile::encodeName(Installed.chopped(int(strlen("kivrona/themes/")) + 1));
    const QStringList Defaults = {Program, UserDefault, "/usr/local/share/kivrona/themes/", "/usr/share/kivrona/themes/"};
    struct
    {
        const char *What;
        const char *Home;   // null: unset
        const char *Dirs;
        QStringList Expected;   // without the install prefix's folder, which comes last unless already there
    } const Cases[] = {
        {"both unset", nullptr, nullptr, Defaults},
        {"both empty", "", "", Defaults},
        {"relative entries ignored", "rel/data", "/a:rel:/b/::/a", {Program, UserDefault, "/a/kivrona/themes/", "/b/kivrona/themes/"}},
        {"set", "/d/", "/x/share", {Program, "/d/kivrona/themes/", "/x/share/kivrona/themes/"}},
        {"the prefix's share folder among the data folders", "/d", InstalledShare.constData(), {Program, "/d/kivrona/themes/", Installed}},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.What);
        TScopedEnv Home("XDG_DATA_HOME", C.Home), Dirs("XDG_DATA_DIRS", C.Dirs);
        QStringList Expected = C.Expected;
        if (!Expected.contains(Installed))
            Expected.append(Installed);
        EXPECT_EQ(KivThemeSearchDirs(), Expected);
    }
}

TEST_F(FileTheme, BareNameIsFoundInTheUserFolderBeforeTheDataFolders)
{
    QTemporaryDir First, Second;
    const QByteArray DataDirs = QFile::encodeName(First.path() + u':' + Second.path());
    TScopedEnv Env("XDG_DATA_DIRS", DataDirs.constData());
    QDir().mkpath(Second.path() + "/kivrona/themes");
    const QString InSecond = MakeTheme(Second.path() + "/kivrona/themes/shared.kiv", {{ItemFormBackground, 3}});
    Theme->SetThemeFile("shared.kiv");
    EXPECT_EQ(Theme->ThemeFile(), InSecond);
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 3);

    const QString Own = MakeTheme(Dirs.Themes() + "shared.kiv", {{ItemFormBackground, 4}});
    TAutoFree<TkivFileTheme> Other(TkivFileTheme::Create(nullptr));
    Other->SetThemeFile("shared.kiv");
    EXPECT_EQ(Other->ThemeFile(), Own);
}

TEST_F(FileTheme, NotFoundAnywhereChangesNothing)
{
    const QString Path = Make("a.kiv", 7);
    Theme->SetThemeFile(Path);
    Theme->SetThemeFile("nowhere-at-all.kiv");
    EXPECT_EQ(Theme->ThemeFile(), Path);
    EXPECT_TRUE(Theme->CanUse());
    EXPECT_EQ(Theme->GetColor(ItemFormBackground), 7);

    TAutoFree<TkivFileTheme> Fresh(TkivFileTheme::Create(nullptr));
    Fresh->SetThemeFile("nowhere-at-all.kiv");
    EXPECT_EQ(Fresh->ThemeFile(), QString());
    EXPECT_FALSE(Fresh->CanUse());
}

// A file that is no theme, or one that carries the magic but is damaged, raises and leaves the
// loaded theme, its name and the flag as they were.
TEST_F(FileTheme, BadFileRaisesAndKeepsTheOldTheme)
{
    const QString Good = Make("good.kiv", 7);
    const QByteArray Damaged = FileBytes(Good).left(30);   // header intact, chain cut short
    struct Case
    {
        const char *Name;
        QByteArray Bytes;
        QString Message;
    } const Cases[] = {
        {"text.kiv", "not a theme at all", QStringLiteral("Invalid skin file for Kivrona!")},
        {"empty.kiv", "", QStringLiteral("Invalid skin file for Kivrona!")},
        {"damaged.kiv", Damaged, QString()},
    };
    Theme->SetThemeFile(Good);
    for (const Case &C : Cases) {
        const QString Bad = Dirs.Temp() + C.Name;
        WriteBytes(Bad, C.Bytes);
        try {
            Theme->SetThemeFile(Bad);
            ADD_FAILURE() << C.Name << " loaded";
        } catch (const Exception &E) {
            if (!C.Message.isEmpty()) {
                EXPECT_EQ(E.Message(), C.Message);
            }
        }
        EXPECT_EQ(Theme->ThemeFile(), Good) << C.Name;
        EXPECT_TRUE(Theme->CanUse()) << C.Name;
        EXPECT_EQ(Theme->GetColor(ItemFormBackground), 7) << C.Name;
    }
}

TEST_F(FileTheme, NeutralValues)
{
    TAutoFree<TBitmap> Buf(TBitmap::Create());
    auto Check = [&](const char *Where, int Index, int Number, bool Flag) {
        SCOPED_TRACE(Where);
        EXPECT_EQ(Theme->GetColor(Index), Number);
        EXPECT_EQ(Theme->GetInt(Index), Number);
        EXPECT_EQ(Theme->GetBool(Index), Flag);
        Buf->SetSize(4, 4);
        Theme->GetBitmap(Index, Buf.get());
        EXPECT_EQ(Buf->Width(), 4) << "left unchanged";
        Theme->GetBitmap(Index, Buf.get(), 3, 1);
        EXPECT_TRUE(Buf->Empty()) << "no picture cuts to 0 x 0";
    };
    Check("no theme", ItemFormMinWidth, 0, false);
    Check("no theme, number out of range", 49, 0, false);

    Theme->SetThemeFile(MakeTheme(Dirs.Temp() + "m1.kiv", {{ItemFormMinWidth, -1}}));
    Check("entry stored as -1", ItemFormMinWidth, -1, false);
    Check("entry missing", ItemFormBackground, -1, false);
    Check("number 0", 0, -1, false);
    Check("number 49", 49, -1, false);
}

TEST_F(FileTheme, SplitCountBelowOneGivesAnEmptyPicture)
{
    Theme->SetThemeFile(Make("a.kiv", 1, true));
    TAutoFree<TBitmap> Buf(TBitmap::Create());
    Buf->SetSize(4, 4);
    Theme->GetBitmap(ItemButton, Buf.get(), 0, 1);
    EXPECT_TRUE(Buf->Empty());
}

} // namespace
