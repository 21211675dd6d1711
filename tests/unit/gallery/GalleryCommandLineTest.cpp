// kivgallery from the outside: its pages, its mistakes, and a picture of each look.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    for (const QStringList &Look : Looks) {
        SCOPED_TRACE(Look.join(QLatin1Char(' ')).toStdString());
        const QString File = Dir.filePath(QStringLiteral("look.png"));
        const TRun Run = Gallery(Look + QStringList{QStringLiteral("--page"), QStringLiteral("look"),
                                                    QStringLiteral("--screenshot"), File});
        ASSERT_EQ(Run.Exit, 0) << Run.Err.toStdString();
        const QImage Picture = QImage(File).convertToFormat(QImage::Format_RGB32);
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

} // namespace
