// Stand-in window until the real main form exists.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("netvane");
    QLabel window("Netvane");
    window.setWindowTitle("Netvane");
    window.setAlignment(Qt::AlignCenter);
    window.resize(765, 501);
    window.show();
    return app.exec();
}
