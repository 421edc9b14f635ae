// The report controller with a bare form, no main window: what it announces, and that the
// window's title and Save follow those announcements.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "report/frmMain.h"
#include "store/Module1.h"

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
        QVERIFY(Module1::LoadSettings() == Module1::SettingsComplete);
        ReportForm form;
        ReportController report(&form, &form);
        QSignalSpy modified(&report, &ReportController::modifiedChanged);
        QSignalSpy caption(&report, &ReportController::captionChanged);

        // Loading the template selects list items (each an edit) and ends unmodified.
        report.NewReport();
        QCOMPARE(flags(modified).last(), false);
        modified.clear();
        emit form.userEdited();
        report.SetModified(true);   // a repeat is announced too: Save must follow every call
        form.projectCodeBox()->setText(QStringLiteral("A01"));
        form.projectNameBox()->setText(QStringLiteral("城墙维修"));
        report.SaveReport();

        QCOMPARE(ui.texts, QStringList());
        QCOMPARE(flags(modified), (QList<bool>{true, true, false}));
        QVERIFY(!report.dirtyData);
        QCOMPARE(caption.count(), 2);
        QCOMPARE(caption.at(0).at(0).toString(), QStringLiteral("Vantrel - 未命名"));
        QCOMPARE(caption.at(1).at(0).toString(),
                 QStringLiteral("Vantrel - ") + dir.file(QStringLiteral("qzrt_410101_A01.xm")));
        QCOMPARE(report.ReportFileName, dir.file(QStringLiteral("qzrt_410101_A01.xm")));
    }

    void windowFollowsTheController()
    {
        ScriptedUi ui;
        TempProgramFolder dir;
        dir.writeCompleteSettings();
        frmMain window;
        window.Form_Load(dir.path());
        ReportController* report = window.controller();
        report->ReportFileName = dir.file(QStringLiteral("旧报表.xm"));
        report->UpdateCaption();
        QCOMPARE(window.windowTitle(), QStringLiteral("Vantrel - ") + dir.file(QStringLiteral("旧报表.xm")));
        for (const bool flag : {true, true, false, false, true}) {
            report->SetModified(flag);
            QCOMPARE(window.action(QStringLiteral("M_FileSave"))->isEnabled(), flag);
            QCOMPARE(window.action(QStringLiteral("Toolbar1(3)"))->isEnabled(), flag);
        }
        QCOMPARE(ui.texts, QStringList());
    }
};

QTEST_MAIN(TestReportController)
#include "test_report_controller.moc"
