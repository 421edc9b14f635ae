// Drafts of unsaved edits: when they are written and what they hold, each way they go away,
// how the next start offers them, two programs side by side, a stale lock, damaged drafts,
// and drafts that cannot be written.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/AtomicFileWriter.h"
#include "core/RecoveryDraft.h"
#include "report/DraftKeeper.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "ui/LongTextEditor.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

using namespace testing;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void typeInto(QWidget* box, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestRecoveryDrafts : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    std::unique_ptr<MainWindow> w;

    QString recovery() const { return dir->file(QStringLiteral("state/Vantrel/recovery/")); }
    QStringList drafts() const
    {
        return QDir(recovery()).entryList({QStringLiteral("*.vdraft")}, QDir::Files, QDir::Name);
    }
    DraftKeeper& keeper() { return w->controller()->drafts(); }

    std::unique_ptr<MainWindow> startWindow()
    {
        auto window = std::make_unique<MainWindow>(dir->settings);
        window->start();
        return window;
    }

    // Types a project code and name and waits, as long as it takes, for their draft.
    RecoveryDraft editAndWaitForDraft(const QString& name = QStringLiteral("城墙维修"))
    {
        typeInto(w->form()->lineEdit("projectCode"), QStringLiteral("A01"));
        typeInto(w->form()->lineEdit("projectName"), name);
        [&] { QVERIFY(QTest::qWaitFor([&] { return QFile::exists(keeper().draftFile()); }, 30000)); }();
        keeper().flush();
        return RecoveryDraft::decode(readAll(keeper().draftFile())).value_or(RecoveryDraft());
    }

    // The program dies: its draft and lock stay as they were (the lock of a dead program
    // counts as free, as does one no longer held).
    void dieWithDraft()
    {
        keeper().flush();
        w.reset();
    }

private slots:
    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
        dir->writeCompleteSettings();
        w = startWindow();
    }
    void cleanup()
    {
        AtomicFileWriter::injectFailureAfter(-1);
        AtomicFileWriter::injectFailedReplace(false);
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    // A draft holds the report exactly as Save writes it, with what it belongs to, in the
    // user's state folder, never in the local folder.
    void editsMakeADraftAsSaveWouldWriteIt()
    {
        QVERIFY(drafts().isEmpty());
        const RecoveryDraft draft = editAndWaitForDraft();
        QCOMPARE(draft.projectCode, QStringLiteral("A01"));
        QCOMPARE(draft.projectName, QStringLiteral("城墙维修"));
        QVERIFY(draft.reportFile.isEmpty());
        QVERIFY(qAbs(draft.written.secsTo(QDateTime::currentDateTimeUtc())) < 600);
        QCOMPARE(drafts().size(), 1);
        QVERIFY(keeper().draftFile().startsWith(recovery()));
        w->controller()->saveReport();
        QCOMPARE(readAll(dir->file(QStringLiteral("qzrt_410101_A01.xm"))), draft.report);
        QVERIFY(drafts().isEmpty());
        QCOMPARE(ui->texts, QStringList());
    }

    void draftGoesAway_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        QTest::newRow("Save") << "save" << false;
        QTest::newRow("Save As") << "save as" << false;
        QTest::newRow("New, edits given up") << "new" << false;
        QTest::newRow("New, edits kept") << "new refused" << true;
        QTest::newRow("Open, edits given up") << "open" << false;
        QTest::newRow("quit, edits given up") << "quit" << false;
        QTest::newRow("quit refused") << "quit refused" << true;
        QTest::newRow("the desktop session ends") << "session" << true;
        QTest::newRow("the program dies") << "dies" << true;
    }
    void draftGoesAway()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        editAndWaitForDraft();
        QCOMPARE(drafts().size(), 1);
        if (how == QLatin1String("save")) {
            w->controller()->saveReport();
        } else if (how == QLatin1String("save as")) {
            ui->answerSaveFile(dir->file(QStringLiteral("elsewhere.xm")));
            ui->answerQuestion(true); // create it
            w->controller()->saveReportAs();
        } else if (how.startsWith(QLatin1String("new"))) {
            ui->answerQuestion(how == QLatin1String("new"));
            w->controller()->newReport();
        } else if (how == QLatin1String("open")) {
            ui->answerQuestion(true);
            ui->answerOpenFile(dir->file(QStringLiteral("report1.tpl")));
            w->controller()->openReport();
        } else if (how.startsWith(QLatin1String("quit"))) {
            ui->answerQuestion(how == QLatin1String("quit"));
            w->close();
        } else if (how == QLatin1String("session")) {
            w->sessionEnding();
            w->close();
        } else {
            dieWithDraft();
        }
        QCOMPARE(drafts().size(), kept ? 1 : 0);
    }

    void offeredAtTheNextStartAndRestored()
    {
        editAndWaitForDraft();
        typeInto(w->form()->lineEdit("demandTotal"), QStringLiteral("12"));
        dieWithDraft();
        w = startWindow();
        ui->answerQuestion(true); // 恢复
        w->finishStartup();
        QCOMPARE(ui->choices, QStringList{QStringLiteral("恢复|放弃")});
        QVERIFY2(ui->questions.value(0).startsWith(QStringLiteral("发现未保存的报表：城墙维修（")), qPrintable(ui->questions.value(0)));
        QVERIFY(ui->questions.value(0).endsWith(QStringLiteral("）。是否恢复？")));
        // As Open would load it, marked modified, with no file: never saved.
        QCOMPARE(w->form()->value("projectName"), QStringLiteral("城墙维修"));
        QCOMPARE(w->form()->value("demandTotal"), QStringLiteral("120")); // typed before the "0" shown
        QVERIFY(w->controller()->isModified());
        QVERIFY(w->action(QStringLiteral("M_FileSave"))->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - 未命名"));
        // The draft is this program's own now; nothing is offered twice.
        QCOMPARE(drafts().size(), 1);
        QVERIFY(QFile::exists(keeper().draftFile()));
        ui->questions.clear();
        MainWindow second(dir->settings);
        second.start();
        second.finishStartup();
        QVERIFY(ui->questions.isEmpty());
    }

    // A report saved before: restored with its file, so Save writes where the clerk
    // expects, with the usual question; a file changed after the draft is said so.
    void restoredWithItsFileAndAWordWhenTheFileChanged()
    {
        editAndWaitForDraft();
        w->controller()->saveReport();
        const QString file = dir->file(QStringLiteral("qzrt_410101_A01.xm"));
        typeInto(w->form()->lineEdit("projectName"), QStringLiteral("二期"));
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(keeper().draftFile()); }, 30000));
        dieWithDraft();
        QFile touched(file);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
        touched.close();

        w = startWindow();
        ui->answerQuestion(true);
        w->finishStartup();
        QVERIFY(ui->questions.value(0).endsWith(QStringLiteral("）。报表文件在此之后已被修改。是否恢复？")));
        QCOMPARE(w->controller()->fileName(), file);
        QCOMPARE(w->windowTitle(), QStringLiteral("Vantrel - ") + file);
        QCOMPARE(w->form()->value("projectName"), QStringLiteral("城墙维修二期"));
        ui->questions.clear();
        ui->answerQuestion(true);
        w->controller()->saveReport();
        QCOMPARE(ui->questions, QStringList{QStringLiteral("文件已存在，是否覆盖？")});
        QVERIFY(QString::fromUtf8(readAll(file)).contains(QStringLiteral("城墙维修二期")));
        QVERIFY(drafts().isEmpty());
    }

    void givenUpAtTheNextStart()
    {
        editAndWaitForDraft();
        dieWithDraft();
        w = startWindow();
        ui->answerQuestion(false); // 放弃
        w->finishStartup();
        QVERIFY(drafts().isEmpty());
        QVERIFY(!w->controller()->isModified());
        QCOMPARE(w->form()->value("projectName"), QString());
    }

    // Several drafts one after another, newest first; a damaged one is offered as
    // damaged and may be given up or kept, and never blocks the start.
    void severalDraftsNewestFirstAndADamagedOne()
    {
        editAndWaitForDraft(QStringLiteral("旧的"));
        dieWithDraft();
        QDir(recovery()).rename(drafts().first(), QStringLiteral("draft-1-old.vdraft"));
        w = startWindow();
        editAndWaitForDraft(QStringLiteral("新的"));
        dieWithDraft();
        QFile damaged(recovery() + QStringLiteral("draft-2-damaged.vdraft"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("VANTREL RECOVERY DRAFT 1\nsize: 99\n\n<Report>");
        damaged.flush();
        QVERIFY(damaged.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime));
        damaged.close();

        w = startWindow();
        ui->answerQuestion(false); // 新的: 放弃
        ui->answerQuestion(true);  // 旧的: 恢复
        ui->answerQuestion(false); // damaged: 保留
        w->finishStartup();
        QCOMPARE(ui->questions.size(), 3);
        QVERIFY2(ui->questions[0].contains(QStringLiteral("新的")), qPrintable(ui->questions.join("|")));
        QVERIFY(ui->questions[1].contains(QStringLiteral("旧的")));
        QVERIFY2(ui->questions[2].contains(QStringLiteral("已损坏")), qPrintable(ui->questions[2]));
        QCOMPARE(ui->choices, (QStringList{QStringLiteral("恢复|放弃"), QStringLiteral("恢复|放弃"),
                                           QStringLiteral("放弃|保留")}));
        QCOMPARE(w->form()->value("projectName"), QStringLiteral("旧的"));
        QVERIFY(QFile::exists(damaged.fileName()));

        ui->questions.clear();
        ui->answerQuestion(true); // damaged: 放弃
        MainWindow next(dir->settings);
        next.start();
        next.finishStartup();
        QCOMPARE(ui->questions.size(), 1);
        QVERIFY(!QFile::exists(damaged.fileName()));
    }

    // A running program's draft is its own: another start neither offers nor deletes it.
    void twoProgramsKeepTheirOwnDrafts()
    {
        editAndWaitForDraft();
        const QString first = keeper().draftFile();
        MainWindow second(dir->settings);
        second.start();
        second.finishStartup();
        QVERIFY(ui->questions.isEmpty());
        typeInto(second.form()->lineEdit("projectName"), QStringLiteral("第二个"));
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(second.controller()->drafts().draftFile()); }, 30000));
        QCOMPARE(drafts().size(), 2);
        ui->answerQuestion(true); // the second gives its edits up
        second.controller()->newReport();
        QCOMPARE(drafts().size(), 1);
        QVERIFY(QFile::exists(first));
    }

    // The lock of a program that died is free: its draft is offered.
    void staleLockOfADeadProgram()
    {
        editAndWaitForDraft();
        const QString draft = keeper().draftFile();
        const QString lock = draft.left(draft.size() - 7) + QStringLiteral(".lock");
        const QByteArray held = readAll(lock);
        QVERIFY(!held.isEmpty());
        dieWithDraft(); // the lock goes with the program here: put back one of a dead process
        QProcess gone;
        gone.start(QStringLiteral("sleep"), {QStringLiteral("0")});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile stale(lock);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + held.mid(held.indexOf('\n')));
        stale.close();

        w = startWindow();
        ui->answerQuestion(false);
        w->finishStartup();
        QCOMPARE(ui->questions.size(), 1);
        QVERIFY(drafts().isEmpty());
    }

    // A lock left by a program that died after its draft had gone (saved, then killed) is
    // let go at the next start, not kept for ever; a live program's lock is not touched.
    void orphanLockOfADeadProgramIsLetGo()
    {
        editAndWaitForDraft();
        const QString draft = keeper().draftFile();
        const QByteArray held = readAll(draft.left(draft.size() - 7) + QStringLiteral(".lock"));
        QProcess gone;
        gone.start(QStringLiteral("sleep"), {QStringLiteral("0")});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        const QString orphan = recovery() + QStringLiteral("draft-%1-gone.lock").arg(deadPid);
        QFile stale(orphan);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + held.mid(held.indexOf('\n')));
        stale.close();

        MainWindow second(dir->settings);
        second.start();
        second.finishStartup();
        QVERIFY(!QFile::exists(orphan));
        QVERIFY(QFile::exists(draft)); // the first program's, alive: neither offered nor let go
        QCOMPARE(ui->questions, QStringList());
    }

    // What the long-text editor holds before OK is in the draft; Cancel gives it up.
    void textInTheLongTextEditorIsDrafted()
    {
        QByteArray drafted;
        ui->answerModal([&](QDialog* d) {
            auto* editor = static_cast<LongTextEditor*>(d);
            typeInto(editor->textBox(), QStringLiteral("尚未确认的文字"));
            QVERIFY(QTest::qWaitFor([&] { return QFile::exists(keeper().draftFile()); }, 30000));
            keeper().flush();
            drafted = readAll(keeper().draftFile());
            editor->cancelButton()->click();
        });
        w->editLongText(1);
        QVERIFY(QString::fromUtf8(drafted).contains(QStringLiteral("尚未确认的文字")));
        QVERIFY(!w->controller()->isModified());
        QVERIFY(drafts().isEmpty());
    }

    // A draft that cannot be written keeps the previous one and says nothing; after a
    // while of failing, one quiet line.
    void failingDraftsKeepThePreviousOneQuietly()
    {
        const QString folder = dir->file(QStringLiteral("drafts/"));
        ReportValues values;
        values.setValue(QStringLiteral("projectName"), QStringLiteral("第一版"));
        DraftKeeper::Timing quick{50, 100, 50, 300};
        DraftKeeper keeper(folder, [&] {
            DraftKeeper::Snapshot snapshot;
            snapshot.values = values;
            snapshot.templatePath = dir->file(QStringLiteral("report1.tpl"));
            return snapshot;
        }, quick);
        QSignalSpy written(&keeper, &DraftKeeper::draftWritten);
        QSignalSpy failing(&keeper, &DraftKeeper::failingChanged);
        keeper.edited();
        QVERIFY(written.wait(30000));
        const QByteArray first = readAll(keeper.draftFile());
        QVERIFY(QString::fromUtf8(first).contains(QStringLiteral("第一版")));

        AtomicFileWriter::injectFailureAfter(10); // a full disk
        values.setValue(QStringLiteral("projectName"), QStringLiteral("第二版"));
        keeper.edited();
        QVERIFY(QTest::qWaitFor([&] { return !failing.isEmpty(); }, 60000));
        QCOMPARE(failing.first().first().toBool(), true);
        QCOMPARE(readAll(keeper.draftFile()), first);
        AtomicFileWriter::injectFailureAfter(-1);
        QVERIFY(QTest::qWaitFor([&] { return failing.size() == 2; }, 60000));
        QCOMPARE(failing.last().first().toBool(), false);
        QVERIFY(QString::fromUtf8(readAll(keeper.draftFile())).contains(QStringLiteral("第二版")));

        // A read-only state folder: a file where the folder should be.
        QFile blocker(dir->file(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        DraftKeeper blocked(dir->file(QStringLiteral("blocked/recovery/")), [] { return DraftKeeper::Snapshot(); }, quick);
        QSignalSpy blockedFailing(&blocked, &DraftKeeper::failingChanged);
        blocked.edited();
        QVERIFY(blockedFailing.wait(60000));
        QCOMPARE(ui->texts, QStringList());

        // The window says it in one line of its status bar, and takes it back.
        emit w->controller()->drafts().failingChanged(true);
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("未能保存恢复草稿，请尽快保存报表"));
        emit w->controller()->drafts().failingChanged(false);
        QVERIFY(w->statusBar()->currentMessage().isEmpty());
    }

    // A replace that fails after the new file was written whole: the save says so, the
    // old file stays, the report stays modified, and the draft is not replaced either.
    void failedReplaceKeepsTheOldFiles()
    {
        editAndWaitForDraft();
        w->controller()->saveReport();
        const QString file = dir->file(QStringLiteral("qzrt_410101_A01.xm"));
        const QByteArray saved = readAll(file);
        typeInto(w->form()->lineEdit("projectName"), QStringLiteral("二期"));
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(keeper().draftFile()); }, 30000));
        keeper().flush();
        const QByteArray draft = readAll(keeper().draftFile());

        AtomicFileWriter::injectFailedReplace(true);
        typeInto(w->form()->lineEdit("projectName"), QStringLiteral("三期"));
        QSignalSpy failed(&keeper(), &DraftKeeper::draftFailed);
        QVERIFY(failed.wait(30000));
        QCOMPARE(readAll(keeper().draftFile()), draft);
        ui->texts.clear();
        ui->answerQuestion(true); // overwrite
        w->controller()->saveReport();
        QCOMPARE(ui->texts.size(), 2);
        QVERIFY2(ui->texts[1].startsWith(QStringLiteral("无法保存指定文件") + file), qPrintable(ui->texts[1]));
        QCOMPARE(readAll(file), saved);
        QVERIFY(w->controller()->isModified());
        QVERIFY(QFile::exists(keeper().draftFile()));
    }
};

QTEST_MAIN(TestRecoveryDrafts)
#include "test_recovery_drafts.moc"
