// bare_window: the floor the program's start-up is measured against, the
// least a Qt Widgets program does to put a window like our search window on
// screen: one window with the same title and one Japanese label.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("NAS検索..."));
    QLabel label(QStringLiteral("NAS検索..."), &window);
    window.show();
    return application.exec();
}
