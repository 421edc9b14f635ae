// Every file the program writes, written by the real window command while the office's
// faults strike: a folder that is gone, a read-only share, a read-only file, a full disk,
// and the power cut (the process killed part-way). The file is always the old one or the
// complete new one, failures are shown, and nothing of the user's work is marked saved.
#include "KilledSaveLoop.h"
#include "NoUi.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportForm.h"
#include "report/ReportController.h"
#include "report/MainWindow.h"
#include "core/AtomicFileWriter.h"
#include "core/BudgetReport.h"
#include "core/ReportFileNames.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <sys/mount.h>
#include <unistd.h>

using namespace testdoc;
using namespace xml;

namespace {

enum class FileKind { Report, ReportPage, UnitInfo, UnitPage, Settings };
enum class Fault { MissingFolder, ReadOnlyFolder, ReadOnlyFile, FullDisk };

const char kChildKind[] = "VANTREL_FAULT_CHILD";
const char kChildProgram[] = "VANTREL_FAULT_PROGRAM";
const char kChildLocal[] = "VANTREL_FAULT_LOCAL";

const QString kUnit = QStringLiteral("410101");

// Kills per kind of file. Under AddressSanitizer every child starts several times slower;
// there the run looks for memory faults, and fewer kills keep it within its time.
#ifdef __SANITIZE_ADDRESS__
constexpr int kKillRounds = 40;
#else
constexpr int kKillRounds = 200;
#endif

bool isRoot()
{
    return geteuid() == 0;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The settings every window of a test works with.
Settings settings;

void useFolders(const QString& program, const QString& local)
{
    settings = Settings(program);
    settings.localFolder = local;
    settings.unitCode = kUnit;
    settings.unitName = QStringLiteral("测试博物馆");
    settings.reportUser = QStringLiteral("张三");
}

// Writes the settings; false with the clerk's message in `message`.
bool saveSettings(QString* message)
{
    return settings.save(message);
}

// Two versions of each kind of content; the second one is long, so a save of it takes
// many disk blocks and a kill can land inside it.
QString longText(int version, bool large)
{
    if (version == 0)
        return QStringLiteral("短");
    return large ? QString(120000, QLatin1Char('L')) : QStringLiteral("第二版的说明");
}

// A report window holding one version, ready to save under the standard name.
std::unique_ptr<MainWindow> reportWindow(int version, bool large = false)
{
    auto w = std::make_unique<MainWindow>(settings);
    w->controller()->newReport();
    w->form()->lineEdit(QStringLiteral("projectCode"))->setText(QStringLiteral("A01"));
    w->form()->lineEdit(QStringLiteral("projectName"))->setText(version == 0 ? QStringLiteral("城墙维修")
                                                                              : QStringLiteral("古塔加固"));
    ReportValues text;
    text.setValue(ReportForm::longTextField(3), longText(version, large));
    w->form()->setValues(text);
    w->controller()->markModified();
    return w;
}

// What Save writes once the clerk has agreed to replace the file: the report under its
// standard name and its page.
bool writeStandardFiles(MainWindow& w)
{
    BudgetReport report = w.controller()->report();
    const QString folder = settings.localFolderOrDefault();
    report.setFileName(ReportFileNames::BuildReportFileName(settings.unitCode, folder, report.value("projectCode"), false));
    const BudgetReport::Files files{settings.programFile(QStringLiteral("report1.tpl")),
                                    settings.programFile(QStringLiteral("report1.tps"))};
    const ReportHeader header = BudgetReport::headerForToday(settings.unitCode, settings.unitName, settings.reportUser);
    const BudgetReport::WriteResult result = report.save(
        files, header, ReportFileNames::BuildReportFileName(settings.unitCode, folder, report.value("projectCode"), true));
    return result.reportWritten && result.messages.isEmpty();
}

// A unit information dialog (not shown) holding one version.
std::unique_ptr<UnitInfoDialog> unitDialog(int version, bool large = false)
{
    auto d = std::make_unique<UnitInfoDialog>(settings);
    // Forced mode: a unit without its file yet gets the template without a message.
    d->allowCancel = false;
    d->loadUnitInfo();
    d->textBox(QStringLiteral("Text2"))->setText(version == 0 ? QStringLiteral("测试博物馆") : QStringLiteral("古城博物院"));
    d->textBox(QStringLiteral("Text27"))->setText(QStringLiteral("张三"));
    d->descriptionBox()->setPlainText(longText(version, large));
    return d;
}

QString settingsValue(int version)
{
    return version == 0 ? QStringLiteral("/srv/a/") : QStringLiteral("/srv/") + QString(3000, QLatin1Char('b')) + QLatin1Char('/');
}

// The child: runs the real save command with the two versions in turn until it is killed.
int saveLoop(int argc, char** argv)
{
    const QString kind = qEnvironmentVariable(kChildKind);
    QApplication app(argc, argv);
    NoUi quiet;
    ui::install(&quiet);
    useFolders(qEnvironmentVariable(kChildProgram), qEnvironmentVariable(kChildLocal));
    QElapsedTimer timer;
    timer.start();
    const auto saved = [&](unsigned) { KilledSaveLoop::reportSave(timer.nsecsElapsed()); timer.restart(); };
    if (kind == QLatin1String("report")) {
        std::array<std::unique_ptr<MainWindow>, 2> windows{reportWindow(0, true), reportWindow(1, true)};
        for (unsigned i = 0;; ++i) {
            if (!writeStandardFiles(*windows[i % 2]))
                return 2;
            saved(i);
        }
    }
    if (kind == QLatin1String("unit")) {
        std::array<std::unique_ptr<UnitInfoDialog>, 2> dialogs{unitDialog(0, true), unitDialog(1, true)};
        for (unsigned i = 0;; ++i) {
            if (!dialogs[i % 2]->saveUnitInfo())
                return 2;
            saved(i);
        }
    }
    for (unsigned i = 0;; ++i) {
        settings.localFolder = settingsValue(i % 2);
        if (!saveSettings(nullptr))
            return 2;
        saved(i);
    }
}

// A small file system of its own (root only), filled up on request.
class SmallDisk {
public:
    bool mount()
    {
        where_ = QFile::encodeName(dir_.path());
        mounted_ = isRoot() && ::mount("tmpfs", where_.constData(), "tmpfs", 0, "size=128k") == 0;
        return mounted_;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(where_.constData(), MNT_DETACH);
    }
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    // Fills every block, then gives back the given number of whole blocks.
    void fill(int blocksLeft = 0)
    {
        QFile filler(path() + QStringLiteral("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        const qint64 full = QFileInfo(filler.fileName()).size() / 4096 * 4096;
        QVERIFY(QFile::resize(filler.fileName(), full - 4096 * blocksLeft));
    }

private:
    QTemporaryDir dir_;
    QByteArray where_;
    bool mounted_ = false;
};

} // namespace

class TestWindowFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui_;

    static QString failureText(const QString& path) { return QStringLiteral("无法保存指定文件") + path + QStringLiteral("\\n"); }

private slots:
    void init() { ui_ = std::make_unique<ScriptedUi>(); }
    void cleanup()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        ui_->finish();
        ui_.reset();
    }

    void faultKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("fault");
        const std::pair<FileKind, const char*> kinds[] = {{FileKind::Report, "report"},
                                                          {FileKind::ReportPage, "report page"},
                                                          {FileKind::UnitInfo, "unit information"},
                                                          {FileKind::UnitPage, "unit page"},
                                                          {FileKind::Settings, "config.pz"}};
        const std::pair<Fault, const char*> faults[] = {{Fault::MissingFolder, "missing folder"},
                                                        {Fault::ReadOnlyFolder, "read-only folder"},
                                                        {Fault::ReadOnlyFile, "read-only file"},
                                                        {Fault::FullDisk, "full disk"}};
        for (const auto& [kind, kindName] : kinds)
            for (const auto& [fault, faultName] : faults)
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QString::fromLatin1(kindName), QString::fromLatin1(faultName))))
                    << int(kind) << int(fault);
    }

    void faultKeepsTheOldFile()
    {
        QFETCH(int, kind);
        QFETCH(int, fault);
        const auto k = FileKind(kind);
        const auto f = Fault(fault);
        if (k == FileKind::UnitPage && f == Fault::MissingFolder)
            QSKIP("the unit page is always written beside the unit file: covered by the unit file's row");
        if (k == FileKind::UnitPage && f == Fault::ReadOnlyFolder && !isRoot())
            QSKIP("the unit page is always written beside the unit file: covered by the unit file's row");
        if (k == FileKind::Settings && (f == Fault::MissingFolder || (f == Fault::ReadOnlyFolder && !isRoot())))
            QSKIP("a program folder that cannot be written keeps the settings in the user's own folder: "
                  "platform_test_AppFolders covers that save and its failure");

        TempProgramFolder program;
        program.writeCompleteSettings();
        SmallDisk disk;
        // The folder that holds the file under test.
        QString folder = program.path() + QStringLiteral("data/");
        if (f == Fault::FullDisk && disk.mount())
            folder = disk.path();
        else if (f == Fault::FullDisk && (k == FileKind::ReportPage || k == FileKind::UnitPage))
            QSKIP("no small file system can be mounted here; the page rows need one");
        else
            QVERIFY(QDir().mkpath(folder));
        if (k == FileKind::Settings) {
            // config.pz lives beside the program: the program folder is the folder under test.
            for (const QString& name : QDir(program.path()).entryList(QDir::Files))
                QFile::copy(program.file(name), folder + name);
            useFolders(folder, QString());
        } else {
            useFolders(program.path(), folder);
        }

        QString target;
        switch (k) {
        case FileKind::Report: target = folder + QStringLiteral("qzrt_410101_A01.xm"); break;
        case FileKind::ReportPage: target = folder + QStringLiteral("qzrt_410101_A01.htm"); break;
        case FileKind::UnitInfo: target = folder + QStringLiteral("410101.dw"); break;
        case FileKind::UnitPage: target = folder + QStringLiteral("410101.htm"); break;
        case FileKind::Settings: target = folder + QStringLiteral("config.pz"); break;
        }
        const QString chosenReport = program.file(QStringLiteral("chosen.xm"));

        // The commands, as the user gives them; version 0 first succeeds and leaves the old files.
        std::unique_ptr<MainWindow> w;
        const auto saveReport = [&](int version) {
            w = reportWindow(version);
            ui_->texts.clear();
            if (k == FileKind::ReportPage) {
                // Save As puts the report elsewhere; the page still goes to the local folder.
                ui_->answerSaveFile(chosenReport);
                const bool creates = !QFileInfo::exists(chosenReport);
                if (creates)
                    ui_->answerQuestion(true);
                w->controller()->saveReportAs();
                if (creates && !ui_->texts.isEmpty() && ui_->texts.first().endsWith(QStringLiteral("不存在，是否创建？")))
                    ui_->texts.removeFirst();
            } else {
                if (QFileInfo::exists(target))
                    ui_->answerQuestion(true);
                w->controller()->saveReport();
                if (!ui_->texts.isEmpty() && ui_->texts.first() == QStringLiteral("文件已存在，是否覆盖？"))
                    ui_->texts.removeFirst();
            }
        };
        bool dialogClosed = false;
        const auto saveUnit = [&](int version) {
            UnitInfoDialog d(settings);
            d.allowCancel = true;
            ui_->answerModal([&](QDialog* shown) {
                ui_->texts.clear();
                d.textBox(QStringLiteral("Text2"))->setText(version == 0 ? QStringLiteral("测试博物馆") : QStringLiteral("古城博物院"));
                d.textBox(QStringLiteral("Text27"))->setText(QStringLiteral("张三"));
                d.descriptionBox()->setPlainText(longText(version, false));
                d.okButton()->click();
                dialogClosed = !shown->isVisible();
                if (!dialogClosed) {
                    // What the user typed is still there for another try.
                    QCOMPARE(d.descriptionBox()->toPlainText(), longText(version, false));
                    const QStringList shownTexts = ui_->texts;
                    d.cancelButton()->click();
                    ui_->texts = shownTexts;
                }
            });
            ui::current().runModal(&d);
        };
        const auto saveSettingsVersion = [&](int version) {
            settings.localFolder = settingsValue(version);
            ui_->texts.clear();
            // The settings dialog shows the store's failure text after "保存参数失败".
            QString failure;
            if (!saveSettings(&failure))
                ui_->texts << failure;
        };
        const auto save = [&](int version) {
            switch (k) {
            case FileKind::Report:
            case FileKind::ReportPage: saveReport(version); break;
            case FileKind::UnitInfo:
            case FileKind::UnitPage: saveUnit(version); break;
            case FileKind::Settings: saveSettingsVersion(version); break;
            }
        };

        // Missing folder: nothing was there before; every other fault finds an old file.
        QByteArray old;
        if (f == Fault::MissingFolder) {
            const QString gone = program.path() + QStringLiteral("gone/");
            if (k == FileKind::Settings)
                useFolders(gone, QString());
            else
                settings.localFolder = gone;
            target = gone + QFileInfo(target).fileName();
            folder = gone;
        } else {
            save(0);
            QCOMPARE(ui_->texts, QStringList());
            old = readAll(target);
            QVERIFY(!old.isEmpty());
        }
        switch (f) {
        case Fault::MissingFolder: break;
        case Fault::ReadOnlyFolder:
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                                      | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther));
            // An administrator writes into any folder; on a read-only share the files are
            // read-only too, and those the program never replaces.
            if (isRoot())
                QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
            break;
        case Fault::ReadOnlyFile:
            QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
            break;
        case Fault::FullDisk:
            if (disk.path() == folder) {
                // The unit file still fits into the one block left (its old block comes free
                // when it is replaced); its longer page does not.
                disk.fill(k == FileKind::UnitPage ? 1 : 0);
            } else {
                AtomicFileWriter::injectFailureAfter(10);
            }
            break;
        }

        const QStringList before = f == Fault::MissingFolder ? QStringList() : entries(folder);
        save(1);
        AtomicFileWriter::injectFailureAfter(-1);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // The failure is shown in the window's words, once.
        const QStringList shown = ui_->texts;
        QCOMPARE(shown.size(), 1);
        const QString expectedStart = failureText(target);
        QVERIFY2(shown.first().startsWith(expectedStart), qPrintable(shown.first() + QStringLiteral(" / ") + expectedStart));
        QVERIFY2(shown.first().size() > expectedStart.size(), "the failure gives no reason");

        // The file is the old one (or still absent), and no temporary file is left behind.
        if (f == Fault::MissingFolder)
            QVERIFY(!QFileInfo::exists(folder));
        else
            QCOMPARE(readAll(target), old);
        if (f != Fault::MissingFolder)
            QCOMPARE(entries(folder), before);

        switch (k) {
        case FileKind::Report:
            // Nothing was saved: the report stays modified and Save stays offered.
            QVERIFY(w->controller()->isModified());
            QVERIFY(w->action(QStringLiteral("M_FileSave"))->isEnabled());
            break;
        case FileKind::ReportPage:
            // The report itself was saved; only its page failed.
            QVERIFY(!w->controller()->isModified());
            QVERIFY(readAll(chosenReport).contains("古塔加固"));
            break;
        case FileKind::UnitInfo:
            QVERIFY(!dialogClosed);
            break;
        case FileKind::UnitPage:
            QVERIFY(dialogClosed);
            QVERIFY(readAll(folder + QStringLiteral("410101.dw")).contains("古城博物院"));
            break;
        case FileKind::Settings:
            QCOMPARE(settings.localFolder, settingsValue(1));
            break;
        }
    }

    void killedSavesLeaveOldOrNew_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("report and its page") << QStringLiteral("report")
                                             << QStringList{QStringLiteral("qzrt_410101_A01.xm"), QStringLiteral("qzrt_410101_A01.htm")};
        QTest::newRow("unit information and its page")
            << QStringLiteral("unit") << QStringList{QStringLiteral("410101.dw"), QStringLiteral("410101.htm")};
        QTest::newRow("config.pz") << QStringLiteral("settings") << QStringList{QStringLiteral("config.pz")};
    }

    void killedSavesLeaveOldOrNew()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, files);

        // The two complete versions of every file, as the same commands write them.
        TempProgramFolder program;
        program.writeCompleteSettings();
        std::array<QStringList, 2> versions;
        for (int v = 0; v < 2; ++v) {
            const QString folder = program.path() + QStringLiteral("version%1/").arg(v);
            QVERIFY(QDir().mkpath(folder));
            if (kind == QLatin1String("settings")) {
                for (const QString& name : QDir(program.path()).entryList(QDir::Files))
                    QFile::copy(program.file(name), folder + name);
                useFolders(folder, settingsValue(v));
                QVERIFY(saveSettings(nullptr));
            } else if (kind == QLatin1String("report")) {
                useFolders(program.path(), folder);
                QVERIFY(writeStandardFiles(*reportWindow(v, true)));
            } else {
                useFolders(program.path(), folder);
                QVERIFY(unitDialog(v, true)->saveUnitInfo());
            }
            QCOMPARE(ui_->texts, QStringList());
            for (const QString& name : files) {
                versions[v] << QString::fromLatin1(readAll(folder + name).toBase64());
                QVERIFY(!versions[v].last().isEmpty());
            }
        }
        for (const QString& name : files)
            QVERIFY2(versions[0][files.indexOf(name)] != versions[1][files.indexOf(name)], qPrintable(name));

        // The child saves in a folder of its own; for config.pz that is its program folder.
        const QString target = program.path() + QStringLiteral("target/");
        QVERIFY(QDir().mkpath(target));
        if (kind == QLatin1String("settings"))
            for (const QString& name : QDir(program.path()).entryList(QDir::Files))
                QFile::copy(program.file(name), target + name);
        const QString childProgram = kind == QLatin1String("settings") ? target : program.path();

        std::array<int, 2> seen{};
        QElapsedTimer spent;
        spent.start();
        for (int round = 0; round < kKillRounds; ++round) {
            // A slow machine makes fewer kills instead of outliving the test's time limit.
            if (round >= 20 && spent.elapsed() > 120000)
                break;
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(kChildKind), kind);
            env.insert(QString::fromLatin1(kChildProgram), childProgram);
            env.insert(QString::fromLatin1(kChildLocal), target);
            child.setProcessEnvironment(env);
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            // One to four finished saves before the kill: the versions alternate, so both
            // outcomes occur at any speed.
            QString why;
            QVERIFY2(KilledSaveLoop::killDuringSave(child, 1 + round % 4, &why), qPrintable(why));

            for (int i = 0; i < files.size(); ++i) {
                const QByteArray now = readAll(target + files[i]).toBase64();
                const int which = QString::fromLatin1(now) == versions[0][i] ? 0 : QString::fromLatin1(now) == versions[1][i] ? 1 : -1;
                QVERIFY2(which >= 0, qPrintable(QStringLiteral("round %1: %2 holds %3 bytes of neither version")
                                                    .arg(round).arg(files[i]).arg(QByteArray::fromBase64(now).size())));
                if (i == 0)
                    ++seen[which];
            }
        }
        // Both versions were found, so the kills really landed among the saves.
        QVERIFY2(seen[0] > 0 && seen[1] > 0, qPrintable(QStringLiteral("%1 / %2").arg(seen[0]).arg(seen[1])));
    }
};

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty(kChildKind))
        return saveLoop(argc, argv);
    QApplication app(argc, argv);
    TestWindowFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_faults.moc"
