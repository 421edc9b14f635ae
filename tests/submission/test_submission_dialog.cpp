// 打包报送 in the program, driven through the seam: the local folder's files checked as the
// bureau checks them, the question when some fail, the package's proposed name, and a
// package the bureau's vantrel-check then passes.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/XmlDocumentAccess.h"
#include "report/MainWindow.h"
#include "report/ReportController.h"
#include "report/ReportForm.h"
#include "submission/SubmissionDialog.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

class TestSubmissionDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedUi> ui;
    std::unique_ptr<TempProgramFolder> dir;
    std::unique_ptr<MainWindow> w;

    void saveReport(const QString& code, const QString& name)
    {
        ReportValues values;
        values.setValue(QStringLiteral("projectCode"), code);
        values.setValue(QStringLiteral("projectName"), name);
        w->form()->setValues(values);
        w->controller()->saveReport();
        QVERIFY(QFile::exists(dir->file(QStringLiteral("qzrt_410101_%1.xm").arg(code))));
    }

    // vantrel-check on the package: its exit status and what it printed.
    std::pair<int, QString> bureauCheck(const QString& zip)
    {
        QProcess check;
        check.start(QStringLiteral(VANTREL_BINARY_DIR "/vantrel-check"), {zip});
        if (!check.waitForFinished(120000))
            return {-1, QString()};
        return {check.exitCode(), QString::fromUtf8(check.readAllStandardOutput())};
    }

private slots:
    void init()
    {
        ui = std::make_unique<ScriptedUi>();
        dir = std::make_unique<TempProgramFolder>();
        dir->writeCompleteSettings();
        w = std::make_unique<MainWindow>(dir->settings);
        w->start();
        saveReport(QStringLiteral("A01"), QStringLiteral("城墙维修"));
        saveReport(QStringLiteral("A02"), QStringLiteral("古塔加固"));
        QCOMPARE(ui->texts, QStringList());
    }
    void cleanup()
    {
        ui->finish();
        w.reset();
        dir.reset();
        ui.reset();
    }

    void packagePassesTheBureausCheck()
    {
        const QString zip = dir->file(QStringLiteral("报送.zip"));
        QStringList rows;
        QString proposed;
        ui->answerModal([&](QDialog* d) {
            auto* dialog = static_cast<SubmissionDialog*>(d);
            for (int row = 0; row < dialog->table()->rowCount(); ++row)
                rows << dialog->table()->item(row, 0)->text() + QLatin1Char('|') + dialog->table()->item(row, 3)->text();
            ui->answerSaveFile(zip);
            dialog->packButton()->click();
            proposed = ui->fileRequests.value(0).proposedName;
        });
        w->action(QStringLiteral("M_FilePackage"))->trigger();
        QCOMPARE(rows, (QStringList{QStringLiteral("qzrt_410101_A01.xm|通过"), QStringLiteral("qzrt_410101_A02.xm|通过"),
                                    QStringLiteral("410101.dw|通过")}));
        QCOMPARE(proposed, dir->file(QStringLiteral("410101_测试博物馆_%1.zip")
                                         .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")))));
        QCOMPARE(ui->texts, QStringList{QStringLiteral("报送包已生成：") + zip});
        const auto [status, printed] = bureauCheck(zip);
        QVERIFY2(status == 0, qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("共 2 份报表，通过 2")), qPrintable(printed));
    }

    // The summary counts reports as reports and names a failing unit file apart; a name
    // typed without its ending gets .zip, as the bureau opens packages by it.
    void summaryAndNameAsTheClerkMeansThem()
    {
        // The unit's file with a class whose total is not its counts: the unit file fails.
        QString error;
        xml::XmlDocumentPtr unit = xml::ReadXmlDocument(dir->file(QStringLiteral("corpinfo.tpl")), error);
        const xml::XmlNode root = xml::documentElement(unit);
        for (const QString& path : {QStringLiteral("//CorpInfo/ReportInfo/CorpID"), QStringLiteral("//CorpInfo/Basic/CorpID")})
            xml::SetNodeText(root, path, QStringLiteral("410101"));
        for (const QString& path : {QStringLiteral("//CorpInfo/ReportInfo/CorpName"), QStringLiteral("//CorpInfo/Basic/Name")})
            xml::SetNodeText(root, path, QStringLiteral("测试博物馆"));
        xml::SetNodeText(root, QStringLiteral("//CorpInfo/Reserve/ItemDetail/FirstClassItem/TotalNum"), QStringLiteral("10"));
        QVERIFY(xml::WriteXmlDocument(unit, dir->file(QStringLiteral("410101.dw")), error));
        const QString typed = dir->file(QStringLiteral("报送包"));
        QString summary;
        ui->answerModal([&](QDialog* d) {
            auto* dialog = static_cast<SubmissionDialog*>(d);
            summary = dialog->findChild<QLabel*>(QStringLiteral("Summary"))->text();
            ui->answerQuestion(true); // pack with the failing unit file
            ui->answerSaveFile(typed);
            dialog->packButton()->click();
        });
        w->action(QStringLiteral("M_FilePackage"))->trigger();
        QVERIFY2(summary.contains(QStringLiteral("共有报表 2 份，未通过检查 0 份。单位信息文件未通过检查。")), qPrintable(summary));
        QCOMPARE(ui->texts.last(), QStringLiteral("报送包已生成：") + typed + QStringLiteral(".zip"));
        QVERIFY(QFile::exists(typed + QStringLiteral(".zip")));
        QVERIFY(!QFile::exists(typed));
    }

    // Unsaved edits get the usual question first; failing reports are counted before the
    // clerk packs them anyway or goes back.
    void questionsBeforePacking()
    {
        // A report broken by hand: a central share above its total.
        QString error;
        const QString broken = dir->file(QStringLiteral("qzrt_410101_A03.xm"));
        QVERIFY(QFile::copy(dir->file(QStringLiteral("qzrt_410101_A02.xm")), broken));
        xml::XmlDocumentPtr document = xml::ReadXmlDocument(broken, error);
        const xml::XmlNode root = xml::documentElement(document);
        xml::SetNodeText(root, QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("A03"));
        xml::SetNodeText(root, QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/State"), QStringLiteral("5"));
        QVERIFY(xml::WriteXmlDocument(document, broken, error));
        w->controller()->markModified();

        ui->answerQuestion(false); // 当前报表还未保存: go back
        w->action(QStringLiteral("M_FilePackage"))->trigger();
        QCOMPARE(ui->texts, QStringList{QStringLiteral("当前报表还未保存，确定打包报送吗？")});
        QVERIFY(ui->modalTitles.isEmpty());

        ui->texts.clear();
        ui->questions.clear();
        const QString zip = dir->file(QStringLiteral("报送.zip"));
        ui->answerQuestion(true);
        ui->answerModal([&](QDialog* d) {
            auto* dialog = static_cast<SubmissionDialog*>(d);
            QCOMPARE(dialog->checked().failedCount(), 1);
            ui->answerQuestion(false); // not with a failing report: back to the list
            dialog->packButton()->click();
            QVERIFY(dialog->isVisible());
            ui->answerQuestion(true);
            ui->answerSaveFile(zip);
            dialog->packButton()->click();
        });
        w->action(QStringLiteral("M_FilePackage"))->trigger();
        QCOMPARE(ui->questions, (QStringList{QStringLiteral("当前报表还未保存，确定打包报送吗？"),
                                             QStringLiteral("有 1 份文件未通过检查，仍要生成报送包吗？"),
                                             QStringLiteral("有 1 份文件未通过检查，仍要生成报送包吗？")}));
        QCOMPARE(ui->fileRequests.size(), 1);
        const auto [status, printed] = bureauCheck(zip);
        QCOMPARE(status, 1);
        QVERIFY2(printed.contains(QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额")), qPrintable(printed));
        QVERIFY2(!printed.contains(QStringLiteral("报送包内容与清单不符")), qPrintable(printed));
    }
};

QTEST_MAIN(TestSubmissionDialog)
#include "test_submission_dialog.moc"
