#include "report/frmMain.h"
#include "ui/ChineseTranslation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.1"));
    ui::installChineseTranslation(app);

    frmMain window;
    window.Form_Load();
    // A forced start-up dialog that was refused has already ended the program.
    if (window.isUnloaded())
        return 0;
    window.show();
    return app.exec();
}
