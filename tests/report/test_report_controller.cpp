// The report controller with a bare form, no main window: what it announces, and that the
// window's title and Save follow those announcements.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "report/MainWindow.h"
#include "store/Settings.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {
QList<bool> flags(const QSignalSpy& spy)
{
    QList<bool> values;
    for (const QList<QVariant>& call : spy)
        values << call.at(0).toBool();
    return values;
}
} // namespace

class TestReportController : public QObject {
    Q_OBJECT

private slots:
    // New, an edit, Save: each step announces the modified state and the caption, with no
    // window around the form.
    void commandsAnnounceCaptionAndModifiedState()
    {
        ScriptedUi ui;
        TempProgramFolder dir;
        dir.writeCompleteSettings();
        QVERIFY(dir.settings.load() == Settings::State::Complete);
        ReportForm form;
        ReportController report(dir.settings, &form, &form);
        QSignalSpy modified(&report, &ReportController::modifiedChanged);
        QSignalSpy caption(&report, &ReportController::captionChanged);

        // Loading the template ends unmodified.
        report.newReport();
        QCOMPARE(flags(modified).last(), false);
        modified.clear();
        emit form.edited();
        report.markModified(); // a repeat is announced too: Save must follow every call
        form.lineEdit("projectCode")->setText(QStringLiteral("A01"));
        form.lineEdit("projectName")->setText(QStringLiteral("城墙维修"));
        report.saveReport();

        QCOMPARE(ui.texts, QStringList());
        QCOMPARE(flags(modified), (QList<bool>{true, true, false}));
        QVERIFY(!report.isModified());
        QCOMPARE(caption.count(), 2);
        QCOMPARE(caption.at(0).at(0).toString(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(caption.at(1).at(0).toString(),
                 QStringLiteral("Vantrel - ") + dir.file(QStringLiteral("qzrt_410101_A01.xm")));
        QCOMPARE(report.fileName(), dir.file(QStringLiteral("qzrt_410101_A01.xm")));
    }

    void windowFollowsTheController()
    {
        ScriptedUi ui;
        TempProgramFolder dir;
        dir.writeCompleteSettings();
        MainWindow window(dir.settings);
        window.start();
        ReportController* report = window.controller();
        const auto saveOffered = [&window](bool offered) {
            return window.action(QStringLiteral("M_FileSave"))->isEnabled() == offered
                && window.action(QStringLiteral("Toolbar1(3)"))->isEnabled() == offered;
        };
        QVERIFY(saveOffered(false));
        report->markModified();
        QVERIFY(saveOffered(true));
        report->markModified();
        QVERIFY(saveOffered(true));
        window.form()->lineEdit("projectCode")->setText(QStringLiteral("A01"));
        window.form()->lineEdit("projectName")->setText(QStringLiteral("城墙维修"));
        report->saveReport();
        QVERIFY(saveOffered(false));
        QCOMPARE(window.windowTitle(), QStringLiteral("Vantrel - ") + dir.file(QStringLiteral("qzrt_410101_A01.xm")));
        report->newReport();
        QVERIFY(saveOffered(false));
        QCOMPARE(window.windowTitle(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(ui.texts, QStringList());
    }
};

QTEST_MAIN(TestReportController)
#include "test_report_controller.moc"
