// artgen: draws the bitmaps of the built-in styles, the extra resources and Netvane's embedded theme.
//   artgen --out DIR       write every picture as a Windows bitmap file, with theme.ini of the embedded
//                          theme and the resource lists bitmaps.qrc (styles, extras) and netvane-window.qrc
//   artgen --sheet FILE    every picture at twice its size, labelled, grouped by style
//   artgen --check DIR     every expected file present, of the right size, with no pink fringes

#include "tools/artgen/Art.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);
    QTextStream Err(stderr);
    const QStringList Args = App.arguments();
    if (Args.size() != 3) {
        Err << "usage: artgen --out DIR | --sheet FILE.png | --check DIR\n";
        return 2;
    }
    const QString Command = Args[1], Target = Args[2];
    if (Command == u"--out") {
        QString Error;
        if (!Art::WriteAll(Art::AllPictures(), Target, Error)) {
            Err << "artgen: " << Error << '\n';
            return 1;
        }
        return 0;
    }
    if (Command == u"--sheet")
        return Art::WriteSheet(Art::AllPictures(), Target) ? 0 : 1;
    if (Command == u"--check") {
        const QStringList Problems = Art::CheckFolder(Target);
        for (const QString &Line : Problems)
            Err << Line << '\n';
        if (Problems.isEmpty())
            QTextStream(stdout) << "ok\n";
        return Problems.isEmpty() ? 0 : 1;
    }
    Err << "artgen: unknown command " << Command << '\n';
    return 2;
}
