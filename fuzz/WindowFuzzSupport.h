#pragma once

#include "FuzzSupport.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

// Shared by the window-level fuzz targets: one offscreen application for the whole run,
// a program folder with the installed templates, and a snapshot of what a window shows.
namespace fuzz {

// A user interface that records instead of opening windows.
class SilentUi : public ui::UserInterface {
public:
    QStringList texts;
    void message(QWidget*, const QString& text) override { texts << text; }
    bool question(QWidget*, const QString& text) override { texts << text; return false; }
    std::optional<QString> openFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    void runModal(QDialog*) override {}
    bool openInBrowser(const QString&) override { return true; }
};


// The settings every window of the run works with: the program and local folder are the
// run's own folder.
inline Settings& settings()
{
    static Settings values;
    return values;
}

// A folder of this run alone, with a random name: nothing else cleaning up temporary
// folders by their process number can take it away mid-run.
inline QString windowFolder()
{
    static QTemporaryDir* folder = [] {
        auto* dir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/vantrel-window-fuzz-XXXXXX"));
        if (!dir->isValid())
            fail("no temporary folder");
        std::atexit([] { delete folder; });
        return dir;
    }();
    return folder->path() + QLatin1Char('/');
}

// Made once (from LLVMFuzzerInitialize, or on the first input when replayed without
// libFuzzer); the recording interface is installed for the whole run.
inline SilentUi& windowSetup()
{
    static SilentUi* recorder = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Drafts of unsaved edits stay in the run's own folder.
        qputenv("XDG_STATE_HOME", QFile::encodeName(windowFolder() + QStringLiteral("state")));
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
        static int argc = 1;
        static char name[] = "vantrel-fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        auto* ui = new SilentUi;
        ui::install(ui);
        const QString folder = windowFolder();
        for (const char* file : {"report1.tpl", "report1.tps", "corpinfo.tpl", "corpinfo.tps"}) {
            const QString name = QString::fromLatin1(file);
            QFile::remove(folder + name);
            if (!QFile::copy(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + name, folder + name))
                fail("the templates cannot be copied", name);
        }
        settings() = Settings(folder);
        settings().localFolder = folder;
        settings().unitCode = QStringLiteral("410101");
        settings().unitName = QStringLiteral("测试博物馆");
        settings().reportUser = QStringLiteral("张三");
        return ui;
    }();
    return *recorder;
}

// Every value the window's boxes and lists show, in a fixed order.
inline QStringList snapshot(const QWidget& window)
{
    QStringList values;
    for (const QLineEdit* box : window.findChildren<QLineEdit*>())
        values << box->objectName() + QLatin1Char('=') + box->text();
    for (const QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>())
        values << box->objectName() + QLatin1Char('=') + box->toPlainText();
    for (const QComboBox* list : window.findChildren<QComboBox*>())
        values << list->objectName() + QLatin1Char('=') + QString::number(list->currentIndex());
    return values;
}

// Runs the blank template, a broken input and the template again through the target
// before fuzzing starts: fonts, styles and codecs are set up lazily on first use and kept
// for the run, and doing that here keeps it out of the leak check of the first inputs.
inline void warmUp(const char* templateName, int (*testOneInput)(const uint8_t*, size_t))
{
    QFile blank(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(templateName));
    if (!blank.open(QIODevice::ReadOnly))
        fail("the template cannot be read");
    const QByteArray bytes = blank.readAll();
    for (const QByteArray& input : {bytes, QByteArray("<broken"), bytes})
        testOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
}

} // namespace fuzz

// Fontconfig keeps what it looked up for the process's life (each new script or glyph
// adds to its caches); that is not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}
