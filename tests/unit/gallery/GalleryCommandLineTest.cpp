// kivgallery from the outside: its pages, its mistakes, and a picture of each look.
#include "skin/theme/Kivthemes.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace {

struct TRun
{
    int Exit = -1;
    QString Out, Err;
};

TRun Gallery(const QStringList &Arguments)
{
    QProcess P;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    P.setProcessEnvironment(Env);
    P.start(QStringLiteral(KIV_BIN_DIR "/kivgallery"), Arguments);
    if (!P.waitForFinished(30000))
        return {};
    return {P.exitStatus() == QProcess::NormalExit ? P.exitCode() : -1, QString::fromUtf8(P.readAllStandardOutput()),
            QString::fromUtf8(P.readAllStandardError())};
}

// Runs the gallery with --screenshot into Dir; a null picture when it fails.
QImage Screenshot(const QTemporaryDir &Dir, const QStringList &Arguments)
{
    const QString File = Dir.filePath(QStringLiteral("shot.png"));
    QFile::remove(File);
    const TRun Run = Gallery(Arguments + QStringList{QStringLiteral("--screenshot"), File});
    EXPECT_EQ(Run.Exit, 0) << Run.Err.toStdString();
    return QImage(File).convertToFormat(QImage::Format_RGB32);
}

TEST(GalleryCommandLine, ListsItsPagesAndRefusesMistakesWithExitCode2)
{
    const TRun Pages = Gallery({QStringLiteral("--list-pages")});
    EXPECT_EQ(Pages.Exit, 0);
    EXPECT_TRUE(Pages.Out.contains(QStringLiteral("look\t"))) << Pages.Out.toStdString();

    struct TCase
    {
        QStringList Arguments;
        const char *Says;
    };
    const TCase Cases[] = {
        {{QStringLiteral("--style"), QStringLiteral("Aqua")}, "unknown style 'Aqua'"},
        {{QStringLiteral("--page"), QStringLiteral("nowhere")}, "no page 'nowhere'"},
        {{QStringLiteral("--theme"), QStringLiteral(KIV_FIXTURES "/netroots/two-adapters/etc/hostname")},
         "Invalid skin file for Kivrona!"},
        {{QStringLiteral("--theme"), QStringLiteral("kiv-no-such-theme.kiv")}, "no theme file 'kiv-no-such-theme.kiv'"},
        {{QStringLiteral("--style"), QStringLiteral("MacOS"), QStringLiteral("--theme"), QStringLiteral("x.kiv")},
         "give one"},
        {{QStringLiteral("--frobnicate")}, "Unknown option 'frobnicate'"},
        {{QStringLiteral("stray")}, "unexpected argument 'stray'"},
    };
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(Case.Arguments.join(QLatin1Char(' ')).toStdString());
        const TRun Run = Gallery(Case.Arguments);
        EXPECT_EQ(Run.Exit, 2);
        EXPECT_TRUE(Run.Err.contains(QString::fromUtf8(Case.Says))) << Run.Err.toStdString();
    }
}

// Each look's picture shows its pictures drawn over their transparent key: no magenta pixel anywhere.
TEST(GalleryCommandLine, EveryLookIsPicturedWithoutItsTransparentKey)
{
    QTemporaryDir Dir;
    const QStringList Looks[] = {
        {QStringLiteral("--style"), QStringLiteral("MacOS")},     {QStringLiteral("--style"), QStringLiteral("WinXP")},
        {QStringLiteral("--style"), QStringLiteral("DeepBlue")},  {QStringLiteral("--style"), QStringLiteral("Protein")},
        {QStringLiteral("--style"), QStringLiteral("BlueGlass")}, {QStringLiteral("--theme"), QStringLiteral(KIV_NETVANE_THEME)},
    };
    for (const QStringList &Look : Looks)
        for (const QString &Page : {QStringLiteral("look"), QStringLiteral("menus")}) {
            SCOPED_TRACE((Look.join(QLatin1Char(' ')) + QLatin1Char(' ') + Page).toStdString());
            const QImage Picture = Screenshot(Dir, Look + QStringList{QStringLiteral("--page"), Page});
            ASSERT_FALSE(Picture.isNull());
            int Magenta = 0, Ink = 0;
            const QRgb Background = Picture.pixel(Picture.width() - 2, Picture.height() - 2);
            for (int Y = 0; Y < Picture.height(); ++Y)
                for (int X = 0; X < Picture.width(); ++X) {
                    const QRgb P = Picture.pixel(X, Y);
                    Magenta += P == qRgb(255, 0, 255);
                    Ink += P != Background;
                }
            EXPECT_EQ(Magenta, 0);
            EXPECT_GT(Ink, 10000) << "the look's pictures are drawn";
        }
}

// The menus page is pictured with its popup open, its sub-menu open beside it and an item selected in each:
// two rows of the style's selection colour (theme item 19).
TEST(GalleryCommandLine, TheMenusPageIsPicturedWithThePopupAndItsSubMenuOpen)
{
    QTemporaryDir Dir;
    const QImage Picture = Screenshot(Dir, {QStringLiteral("--style"), QStringLiteral("DeepBlue"),
                                            QStringLiteral("--page"), QStringLiteral("menus")});
    ASSERT_FALSE(Picture.isNull());
    const COLORREF Selected = ColorToRGB(GetInsideThemeColor(DeepBlue, 19));
    const QRgb Want = qRgb(GetRValue(Selected), GetGValue(Selected), GetBValue(Selected));
    // Row by row, the span of the selection colour (text and arrows lie inside it): the popup's selected row
    // is wider than its sub-menu's; the box behind a checked image is too small to count.
    std::set<int> Widths;
    for (int Y = 0; Y < Picture.height(); ++Y) {
        int First = -1, Last = -1;
        for (int X = 0; X < Picture.width(); ++X)
            if (Picture.pixel(X, Y) == Want) {
                First = First < 0 ? X : First;
                Last = X;
            }
        if (Last - First > 100)
            Widths.insert(Last - First);
    }
    ASSERT_EQ(Widths.size(), 2u) << "one selected row in the popup, one in its sub-menu";
    EXPECT_GT(*Widths.rbegin(), *Widths.begin() + 50);
}

} // namespace
