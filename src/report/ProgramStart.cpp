#include "report/ProgramStart.h"

#include "Version.h"
#include "platform/CommandLine.h"
#include "platform/FontPreparation.h"
#include "platform/LargeBlocks.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "store/Settings.h"
#include "ui/ChineseTranslation.h"
#include "ui/UserInterface.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>

namespace {

QStringList argumentsAfterProgramName(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int print(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int RunProgram(int argc, char* argv[], const std::function<void()>& beforeWindow)
{
    platform::ReturnLargeBlocksToSystem();
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    // No display name of its own: on X11 Qt would append it to every caption
    // ("Vantrel - 未命名 — Vantrel"); message boxes fall back to the name above.
    QApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));

    // Answered before Qt looks for a display, so they work on a console as well.
    const CommandLine early = CommandLine::parse(argumentsAfterProgramName(argc, argv));
    if (early.request() == CommandLine::Request::PrintVersion)
        return print(CommandLine::versionText(QApplication::applicationVersion()));
    if (early.request() == CommandLine::Request::PrintHelp)
        return print(CommandLine::helpText());

    const platform::FontPreparation fonts;
    QApplication app(argc, argv);
    // Lets the desktop pair the window with its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.vantrel.Vantrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vantrel.svg")));
    ui::useChineseLocale();
    // Qt's own texts (file dialogs, context menus) are needed only once the first window is up.
    QTimer::singleShot(0, &app, [&app] { ui::installChineseTranslation(app); });
    if (beforeWindow)
        beforeWindow();
    // Qt has taken its own options (-platform, -style …) out of the arguments by now.
    const CommandLine commandLine = CommandLine::parse(QApplication::arguments().mid(1));

    Settings settings(QCoreApplication::applicationDirPath());
    MainWindow window(settings);
    window.start();
    // A forced start-up dialog that was refused has already ended the program.
    if (window.hasEnded())
        return 0;
    // Once the window is painted: the pages not shown yet are built and drafts are offered,
    // then the messages of the command line, which belong to the window, and the report it
    // names.
    window.finishStartupAfterFirstPaint([&window, &commandLine] {
        if (!commandLine.unrecognisedMessage().isEmpty())
            ui::current().message(&window, commandLine.unrecognisedMessage());
        window.controller()->openReportFile(commandLine.reportFile());
    });
    window.show();
    return app.exec();
}
