// Netvane's window as a Qt programmer would write it with plain Qt 6 Widgets: the same controls at the same
// places with the same texts, the report text read from a file. bench/startup starts it beside netvane and
// compares the time to the first saved frame and the peak memory.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

QWidget *AddressField(QWidget *Parent, int X, int Y)
{
    // Four octet boxes with dots between them, as the address fields show.
    auto *Field = new QWidget(Parent);
    Field->setGeometry(X, Y, 140, 20);
    Field->setAutoFillBackground(true);
    Field->setBackgroundRole(QPalette::Base);
    for (int I = 0; I < 4; ++I) {
        auto *Octet = new QLineEdit(Field);
        Octet->setFrame(false);
        Octet->setAlignment(Qt::AlignCenter);
        Octet->setMaxLength(3);
        Octet->setGeometry(2 + I * 34, 2, 28, 16);
        if (I < 3) {
            auto *Dot = new QLabel(QStringLiteral("."), Field);
            Dot->setGeometry(30 + I * 34, 2, 6, 16);
        }
    }
    return Field;
}

QLabel *Label(QWidget *Parent, const QString &Text, int X, int Y, int W, int H)
{
    auto *L = new QLabel(Text, Parent);
    L->setGeometry(X, Y, W, H);
    return L;
}

void Button(QWidget *Parent, const QString &Text, int X, int Y)
{
    (new QPushButton(Text, Parent))->setGeometry(X, Y, 75, 25);
}

// Set once the window has been painted after it was exposed; the zero timer fires after the frame is out.
class TFirstFrame : public QObject
{
public:
    bool Shown = false;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        auto *Window = qobject_cast<QWindow *>(Watched);
        if (Window && Window->isExposed() && (Event->type() == QEvent::Expose || Event->type() == QEvent::Paint))
            QTimer::singleShot(0, this, [this] { Shown = true; });
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication App(argc, argv);
    QCommandLineParser Parser;
    Parser.addHelpOption();
    QCommandLineOption Text(QStringLiteral("text"), QStringLiteral("The report text to show, from <file>."),
                            QStringLiteral("file"));
    QCommandLineOption Screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a PNG picture of the first frame to <file> and exit."),
                                  QStringLiteral("file"));
    Parser.addOption(Text);
    Parser.addOption(Screenshot);
    Parser.process(App);

    QFile ReportFile(Parser.value(Text));
    const QString Report = ReportFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(ReportFile.readAll()) : QString();

    QWidget Window;
    Window.setWindowTitle(QStringLiteral("Netvane"));
    Window.setFixedSize(765, 501);
    QFont Font(QStringLiteral("Liberation Sans"));
    Font.setPixelSize(11);
    Window.setFont(Font);

    Button(&Window, QStringLiteral("Get Device"), 16, 72);
    Button(&Window, QStringLiteral("Change IP"), 16, 120);
    Button(&Window, QStringLiteral("DHCP"), 16, 160);

    auto *Memo = new QPlainTextEdit(&Window);
    Memo->setGeometry(557, 0, 208, 501);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto *Profiles = new QGroupBox(QStringLiteral("設定檔"), &Window);
    Profiles->setGeometry(104, 74, 169, 95);
    (new QRadioButton(QStringLiteral("Home1"), Profiles))->setGeometry(8, 20, 153, 24);
    (new QRadioButton(QStringLiteral("Home2"), Profiles))->setGeometry(8, 59, 153, 24);

    auto *Panel = new QWidget(&Window);
    Panel->setGeometry(280, 48, 273, 161);
    Label(Panel, QStringLiteral("IP 位址："), 8, 32, 57, 13);
    Label(Panel, QStringLiteral("子網路遮罩："), 8, 67, 81, 13);
    Label(Panel, QStringLiteral("預設閘道："), 8, 102, 57, 13);
    Label(Panel, QStringLiteral("慣用DNS伺服器："), 8, 136, 105, 13);
    for (int I = 0; I < 4; ++I)
        AddressField(Panel, 120, 25 + 35 * I);

    QLabel *ReportLabel = Label(&Window, Report, 16, 240, 529, 241);
    ReportLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    if (!Parser.isSet(Screenshot)) {
        Window.show();
        return App.exec();
    }
    TFirstFrame FirstFrame;
    App.installEventFilter(&FirstFrame);
    Window.show();
    QTimer GiveUp;
    GiveUp.setSingleShot(true);
    GiveUp.start(5000);
    while (!FirstFrame.Shown && GiveUp.isActive())
        App.processEvents(QEventLoop::WaitForMoreEvents);
    App.removeEventFilter(&FirstFrame);
    if (!FirstFrame.Shown || !Window.grab().save(Parser.value(Screenshot), "PNG")) {
        std::fprintf(stderr, "qt-netvane: no picture saved\n");
        return 1;
    }
    return 0;
}
