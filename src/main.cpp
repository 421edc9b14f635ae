#include "Version.h"
#include "report/frmMain.h"
#include "ui/ChineseTranslation.h"
#include "ui/FirstWindowProbe.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    // No display name of its own: on X11 Qt would append it to every caption
    // ("Vantrel - 未命名 — Vantrel"); message boxes fall back to the name above.
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    ui::installChineseTranslation(app);
    FirstWindowProbe::installIfRequested();

    frmMain window;
    window.Form_Load();
    // A forced start-up dialog that was refused has already ended the program.
    if (window.isUnloaded())
        return 0;
    window.show();
    return app.exec();
}
