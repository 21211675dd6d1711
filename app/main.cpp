// Netvane's entry: the main window, or the report alone on the terminal, or a picture of the window.
#include "app/Unit1.h"
#include "app/network/LinuxNetworkSource.h"
#include "app/network/NetworkReport.h"
#include "app/network/NetworkSource.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

struct TOptions
{
    QCommandLineParser Parser;
    QCommandLineOption Help = Parser.addHelpOption();
    QCommandLineOption Version = Parser.addVersionOption();
    QCommandLineOption Report{QStringLiteral("report"),
                              QStringLiteral("Print the network report to standard output and its error lines to "
                                             "standard error, then exit (1 when there were errors). Needs no "
                                             "display.")};
    QCommandLineOption Root{QStringLiteral("root"),
                            QStringLiteral("Read the network configuration from the files under <dir> (etc/hostname, "
                                           "etc/resolv.conf, ip-addr.json, proc/net/route, nm-dhcp4/, ...) instead "
                                           "of the live system."),
                            QStringLiteral("dir")};
    QCommandLineOption Screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Show the window, let the report run, save a PNG picture of the "
                                                 "whole window to <file> and exit."),
                                  QStringLiteral("file")};

    TOptions()
    {
        Parser.setApplicationDescription(
            QStringLiteral("Shows this machine's IPv4 configuration, fills the address fields from the profiles "
                           "Home1 and Home2, and applies a static address or automatic configuration to the "
                           "connection \"Broadcom\" with netsh."));
        Parser.addOption(Report);
        Parser.addOption(Root);
        Parser.addOption(Screenshot);
    }
};

void PrintLine(std::FILE *Stream, const QString &Text)
{
    std::fputs(Text.toLocal8Bit().constData(), Stream);
    std::fputc('\n', Stream);
}

// The report as the label would show it, and the memo's lines on standard error.
class TConsoleReportView : public TReportView
{
public:
    QString Text() const override { return FText; }
    void SetText(const QString &Text) override { FText = Text; }
    void AddLine(const QString &Line) override
    {
        PrintLine(stderr, Line);
        ++FLines;
    }
    int Lines() const { return FLines; }

private:
    QString FText;
    int FLines = 0;
};

int PrintReport()
{
    TConsoleReportView View;
    RunNetworkReport(NetworkSource(), View);
    std::fputs(View.Text().toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    if (auto *Linux = dynamic_cast<LinuxNetworkSource *>(&NetworkSource()); Linux && !Linux->LastFailure().isEmpty())
        PrintLine(stderr, QStringLiteral("netvane: ") + Linux->LastFailure());
    return View.Lines() > 0 ? 1 : 0;
}

// Qt shows a window when it is exposed and whenever its widgets have asked for an update; the first such frame
// that follows the report is the one a user sees first.
class TFirstFrameAfter : public QObject
{
public:
    TFirstFrameAfter(QWidget *Window, std::function<bool()> Ready) : FWindow(Window), FReady(std::move(Ready))
    {
        // The window's own QWindow is made only when it is shown, so the watch is on the whole application.
        qApp->installEventFilter(this);
    }
    ~TFirstFrameAfter() override { qApp->removeEventFilter(this); }
    bool Shown() const { return FShown; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (!FShown && IsFrame(Watched, Event->type()) && FReady())
            // The filter runs before the window paints; the zero timer fires once the frame is out.
            QTimer::singleShot(0, this, [this] { FShown = true; });
        return false;
    }

private:
    bool IsFrame(QObject *Watched, QEvent::Type Type) const
    {
        QWindow *Handle = FWindow->windowHandle();
        if (!Handle || !Handle->isExposed())
            return false;
        return (Watched == FWindow && Type == QEvent::UpdateRequest) ||
               (Watched == Handle && (Type == QEvent::Expose || Type == QEvent::Paint));
    }

    QWidget *FWindow;
    std::function<bool()> FReady;
    bool FShown = false;
};

int SaveScreenshot(TForm1 *Form, const QString &FileName)
{
    QWidget *Window = WindowWidget(Form->Handle())->window();
    // The activation report has run once it left text in the label or a line in the memo.
    TFirstFrameAfter FirstFrame(
        Window, [&] { return !Form->Label5->Caption().isEmpty() || Form->Memo1->Lines()->Count() > 0; });
    Form->Show();
    if (!Application->ProcessMessagesUntil([&] { return FirstFrame.Shown(); }, 5000)) {
        std::fprintf(stderr, "netvane: the window showed no report within 5 seconds\n");
        return 1;
    }
    if (!Window->grab().save(FileName, "PNG")) {
        std::fprintf(stderr, "netvane: cannot write %s\n", qPrintable(FileName));
        return 1;
    }
    return 0;
}

int RunWindow(int argc, char *argv[], const TOptions &Options)
{
    QApplication App(argc, argv);
    int Result = 0;
    try {
        Application->Initialize();
        TForm1 *Form1 = nullptr;
        Application->CreateForm(Form1);
        if (Options.Parser.isSet(Options.Screenshot)) {
            Result = SaveScreenshot(Form1, Options.Parser.value(Options.Screenshot));
            Form1->Free();
            Application->ProcessMessages();
        } else {
            Application->Run();
        }
    } catch (const Exception &E) {
        Application->ShowException(E);
    } catch (...) {
        Application->ShowException(Exception());
    }
    return Result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("netvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KIV_VERSION));
    TOptions Options;
    QStringList Arguments;
    for (int I = 0; I < argc; ++I)
        Arguments << QString::fromLocal8Bit(argv[I]);
    // Parsed before any application object exists, so help, version and the report need no display.
    if (!Options.Parser.parse(Arguments)) {
        std::fprintf(stderr, "netvane: %s\nTry 'netvane --help'.\n", qPrintable(Options.Parser.errorText()));
        return 2;
    }
    if (Options.Parser.isSet(Options.Help) || Options.Parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object the parser cannot know the program's name.
        QString Help = Options.Parser.helpText();
        Help.replace(QStringLiteral("<executable_name>"), QStringLiteral("netvane"));
        std::fputs(Help.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (Options.Parser.isSet(Options.Version)) {
        std::printf("netvane %s\n", KIV_VERSION);
        return 0;
    }
    if (!Options.Parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "netvane: unexpected argument '%s'\nTry 'netvane --help'.\n",
                     qPrintable(Options.Parser.positionalArguments().first()));
        return 2;
    }
    if (Options.Parser.isSet(Options.Root)) {
        const QString Root = Options.Parser.value(Options.Root);
        if (!QDir(Root).exists()) {
            std::fprintf(stderr, "netvane: --root: %s is not a directory\n", qPrintable(Root));
            return 2;
        }
        SetNetworkSource(std::make_unique<LinuxNetworkSource>(Root));
    }
    if (Options.Parser.isSet(Options.Report)) {
        QCoreApplication Core(argc, argv);
        return PrintReport();
    }
    return RunWindow(argc, argv, Options);
}
