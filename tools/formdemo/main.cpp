// formdemo: the demo form in a real window; with --screenshot, a picture of it once it is painted.
#include "tools/formdemo/DemoForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

// Counts the paints a widget receives.
class TPaintCounter : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

int SaveScreenshot(TDemoForm *Form, const QString &FileName, int DelayMs)
{
    QWidget *Window = WindowWidget(Form->Handle())->window();
    TPaintCounter Paints;
    Window->installEventFilter(&Paints);
    Form->Show();
    const bool Painted = Application->ProcessMessagesUntil(
        [&] {
            return Window->isVisible() && Window->windowHandle() && Window->windowHandle()->isExposed() &&
                   Paints.Count > 0;
        },
        5000);
    Window->removeEventFilter(&Paints);
    if (!Painted) {
        std::fprintf(stderr, "formdemo: the form was not painted within 5 seconds\n");
        return 1;
    }
    Application->ProcessMessagesUntil([] { return false; }, DelayMs);
    if (!Window->grab().save(FileName, "PNG")) {
        std::fprintf(stderr, "formdemo: cannot write %s\n", qPrintable(FileName));
        return 1;
    }
    return 0;
}

struct TOptions
{
    QCommandLineParser Parser;
    QCommandLineOption Screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Show the form, save a PNG picture of it to <file> once it is "
                                                 "painted, and exit."),
                                  QStringLiteral("file")};
    QCommandLineOption Delay{QStringLiteral("delay"),
                             QStringLiteral("With --screenshot: keep handling input for <ms> milliseconds before "
                                            "the picture is taken."),
                             QStringLiteral("ms"), QStringLiteral("0")};

    TOptions()
    {
        Parser.setApplicationDescription(QStringLiteral("Shows a form read from its layout resource: panels, "
                                                        "labels, memo, buttons, radio groups, an edit and four "
                                                        "address fields."));
        Parser.addHelpOption();
        Parser.addOption(Screenshot);
        Parser.addOption(Delay);
    }
};

bool AsksForHelp(int argc, char *argv[])
{
    for (int I = 1; I < argc; ++I) {
        const QByteArray A(argv[I]);
        if (A == "-h" || A == "-?" || A == "--help" || A == "--help-all")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    TOptions Options;
    // Help needs no display: a core application answers it (and exits).
    if (AsksForHelp(argc, argv)) {
        QCoreApplication Core(argc, argv);
        Options.Parser.process(Core);
    }
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("formdemo"));
    Options.Parser.process(App);
    bool DelayOk = false;
    const int DelayMs = Options.Parser.value(Options.Delay).toInt(&DelayOk);
    if (!DelayOk || DelayMs < 0) {
        std::fprintf(stderr, "formdemo: --delay takes a number of milliseconds\n");
        return 2;
    }

    Application->Initialize();
    TDemoForm *Form = nullptr;
    Application->CreateForm(Form);
    if (!Options.Parser.isSet(Options.Screenshot)) {
        Application->Run();
        return 0;
    }
    const int Result = SaveScreenshot(Form, Options.Parser.value(Options.Screenshot), DelayMs);
    Form->Free();
    Application->ProcessMessages();
    return Result;
}
