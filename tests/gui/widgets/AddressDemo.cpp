// A window to try the address controls by hand (under Xvfb, with xdotool):
// the settings dialog's address group, and the dotted texts printed on
// standard output whenever a control reports a change. Quits by itself
// after the number of seconds given as its argument (default 60).

#include "tests/gui/widgets/AddressGroupWindow.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AddressGroupWindow::substituteJapaneseFaces();
    AddressGroupWindow w;
    w.controls[0]->setIPAddress("192.168.1.1");
    w.controls[1]->setIPAddress("255.255.255.0");
    w.controls[2]->setIPAddress("192.168.1.254");
    for (auto* control : w.controls) {
        control->OnExit = [control](QObject*) {
            std::printf("%s %s\n", qPrintable(control->objectName()),
                        qPrintable(control->IPAddress()));
            std::fflush(stdout);
        };
    }
    w.window.move(0, 0);
    w.window.show();
    const int seconds = argc > 1 ? std::clamp(QString(argv[1]).toInt(), 1, 600) : 60;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
