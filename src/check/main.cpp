// vantrel-check: the bureau's batch checker. Without a window it needs Qt Core only, so
// it runs on a server; the window opens on request or when started bare on a desktop.
#include "check/CheckCommandLine.h"
#include "check/CheckWindow.h"
#include "ui/ChineseTranslation.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CheckOptions options = CheckCommandLine::parse(arguments);
    if (options.help && options.usageError.isEmpty()) {
        const QByteArray help = CheckCommandLine::helpText().toUtf8();
        std::fwrite(help.constData(), 1, static_cast<size_t>(help.size()), stdout);
        return CheckCommandLine::AllPassed;
    }
    const bool bare = arguments.isEmpty();
    if (options.usageError.isEmpty() && (options.gui || (bare && CheckCommandLine::hasDisplay()))) {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Vantrel"));
        ui::installChineseTranslation(app);
        CheckWindow window;
        window.show();
        if (!options.paths.isEmpty())
            window.startCheck(options.paths);
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    return CheckCommandLine::run(options);
}
