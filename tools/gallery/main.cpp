// kivgallery: every skinned control of the library, page by page, in any look.
#include "tools/gallery/GalleryForm.h"
#include "tools/gallery/GalleryPages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

struct TOptions
{
    QCommandLineParser Parser;
    QCommandLineOption Help = Parser.addHelpOption();
    QCommandLineOption Style{QStringLiteral("style"),
                             QStringLiteral("Show the built-in style <name>: MacOS, WinXP, DeepBlue (the default), "
                                            "Protein or BlueGlass."),
                             QStringLiteral("name")};
    QCommandLineOption Theme{QStringLiteral("theme"),
                             QStringLiteral("Show the look of the theme file <file> (.kiv); a bare name is looked "
                                            "for in the theme folders."),
                             QStringLiteral("file")};
    QCommandLineOption Page{QStringLiteral("page"), QStringLiteral("Open the page <name> (see --list-pages)."),
                            QStringLiteral("name")};
    QCommandLineOption Screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Lay the page out, save a PNG picture of the window to <file> and "
                                                 "exit."),
                                  QStringLiteral("file")};
    QCommandLineOption ListPages{QStringLiteral("list-pages"), QStringLiteral("Print the pages' names and exit.")};

    TOptions()
    {
        Parser.setApplicationDescription(QStringLiteral(
            "Shows every skinned control of the Kivrona library, page by page, in each of its five styles or "
            "in a theme file. Using a control prints 'clicked: <caption>'."));
        Parser.addOptions({Style, Theme, Page, Screenshot, ListPages});
    }
};

int Fail(const QString &Message)
{
    std::fprintf(stderr, "kivgallery: %s\nTry 'kivgallery --help'.\n", qPrintable(Message));
    return 2;
}

bool StyleByName(const QString &Name, TkivUIStyle &Style)
{
    const int Value = KivEnumInfo(TkivUIStyle())->ValueOf(Name);
    if (Value <= FromThemeFile || Value > BlueGlass)
        return false;
    Style = TkivUIStyle(Value);
    return true;
}

// The screen under the window as a user sees it: every visible top-level window of ours that overlaps it
// (open menus included), bottom of the z-order first.
QImage ScreenArea(HWND Window)
{
    RECT Area;
    GetWindowRect(Window, &Area);
    QImage Picture(Area.Right - Area.Left, Area.Bottom - Area.Top, QImage::Format_RGB32);
    Picture.fill(Qt::black);
    QPainter Painter(&Picture);
    for (HWND W = GetWindow(Window, GW_HWNDLAST); W; W = GetWindow(W, GW_HWNDPREV)) {
        RECT R;
        QWidget *Widget = WindowWidget(W);
        if (IsWindowVisible(W) && Widget && GetWindowRect(W, &R))
            Painter.drawPixmap(R.Left - Area.Left, R.Top - Area.Top, Widget->grab());
    }
    return Picture;
}

int SaveScreenshot(TGalleryForm *Form, const QString &FileName)
{
    QWidget *Window = WindowWidget(Form->Handle())->window();
    Form->Show();
    const bool Exposed = Application->ProcessMessagesUntil(
        [&] { return Window->windowHandle() && Window->windowHandle()->isExposed(); }, 5000);
    if (!Exposed) {
        std::fprintf(stderr, "kivgallery: the window was not shown within 5 seconds\n");
        return 1;
    }
    int Result = 1;
    Form->TakeScreenshot([&] {
        Application->ProcessMessages();
        if (ScreenArea(Form->Handle()).save(FileName, "PNG"))
            Result = 0;
        else
            std::fprintf(stderr, "kivgallery: cannot write %s\n", qPrintable(FileName));
    });
    return Result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("kivgallery"));
    TOptions Options;
    QStringList Arguments;
    for (int I = 0; I < argc; ++I)
        Arguments << QString::fromLocal8Bit(argv[I]);
    // Parsed before any application object, so that help, the page list and mistakes need no display.
    if (!Options.Parser.parse(Arguments))
        return Fail(Options.Parser.errorText());
    if (Options.Parser.isSet(Options.Help)) {
        QString Help = Options.Parser.helpText();
        Help.replace(QStringLiteral("<executable_name>"), QStringLiteral("kivgallery"));
        std::fputs(Help.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!Options.Parser.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument '%1'").arg(Options.Parser.positionalArguments().first()));
    if (Options.Parser.isSet(Options.ListPages)) {
        for (const TGalleryPage &P : GalleryPages())
            std::printf("%s\t%s\n", qPrintable(P.Name), P.Title.toUtf8().constData());
        return 0;
    }
    TkivUIStyle Style = DeepBlue;
    if (Options.Parser.isSet(Options.Style) && !StyleByName(Options.Parser.value(Options.Style), Style))
        return Fail(QStringLiteral("unknown style '%1'; the styles are MacOS, WinXP, DeepBlue, Protein and BlueGlass")
                        .arg(Options.Parser.value(Options.Style)));
    if (Options.Parser.isSet(Options.Style) && Options.Parser.isSet(Options.Theme))
        return Fail(QStringLiteral("--style and --theme choose the same thing; give one"));
    const QString PageName = Options.Parser.value(Options.Page);
    if (Options.Parser.isSet(Options.Page)) {
        bool Known = false;
        for (const TGalleryPage &P : GalleryPages())
            Known = Known || P.Name == PageName;
        if (!Known)
            return Fail(QStringLiteral("no page '%1' (kivgallery --list-pages lists them)").arg(PageName));
    }

    // Qt would take --style as its own widget style: it gets the program's name only.
    int QtArgc = 1;
    QApplication App(QtArgc, argv);
    int Result = 0;
    try {
        Application->Initialize();
        TGalleryForm *Form = nullptr;
        Application->CreateForm(Form);
        if (!PageName.isEmpty())
            Form->ShowPage(PageName);
        if (Options.Parser.isSet(Options.Theme)) {
            const QString Theme = Options.Parser.value(Options.Theme);
            try {
                if (!Form->UseThemeFile(Theme))
                    Result = Fail(QStringLiteral("--theme: no theme file '%1' here or in the theme folders").arg(Theme));
            } catch (const Exception &E) {
                Result = Fail(QStringLiteral("--theme %1: %2").arg(Theme, E.Message()));
            }
        } else {
            Form->SetLook(Style);
        }
        if (Result != 0) {
            Form->Free();
        } else if (Options.Parser.isSet(Options.Screenshot)) {
            Result = SaveScreenshot(Form, Options.Parser.value(Options.Screenshot));
            Form->Free();
            Application->ProcessMessages();
        } else {
            Application->Run();
        }
    } catch (const Exception &E) {
        Application->ShowException(E);
        Result = 1;
    }
    return Result;
}
