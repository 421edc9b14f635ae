// The floor of start-up: an empty main window on the same platform, with the same probe
// and the same exit path as the program. With --text it shows one line of Chinese, so that
// it loads the fonts as any window with text must.
#include "FirstWindowProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstWindowProbe::installIfRequested();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vantrel"));
    if (QApplication::arguments().contains(QStringLiteral("--text")))
        window.setCentralWidget(new QLabel(QStringLiteral("项目基本情况")));
    window.show();
    return app.exec();
}
