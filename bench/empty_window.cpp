// The floor of start-up: an empty main window on the same platform, with the same probe
// and the same exit path as the program.
#include "FirstWindowProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstWindowProbe::installIfRequested();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vantrel"));
    window.show();
    return app.exec();
}
