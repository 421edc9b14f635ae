#include "ui/ChineseTranslation.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.1"));
    ui::installChineseTranslation(app);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vantrel"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
