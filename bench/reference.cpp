// The floor for this toolkit on this machine: a bare main window, nothing else.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.resize(775, 506);
    window.show();
    return application.exec();
}
