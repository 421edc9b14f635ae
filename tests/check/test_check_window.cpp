// The clerk's window, driven through the seam: choose a folder, watch the progress bar,
// sort and filter the findings, open a finding's report, export the workbook.
#include "CheckCorpus.h"
#include "ScriptedUi.h"
#include "check/CheckWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestCheckWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString folder;
    QByteArray copy; // the misnamed copy's bytes

    // Checks the inputs in a shown window and waits for the end.
    static bool checked(CheckWindow& window, const QStringList& inputs)
    {
        QSignalSpy finished(&window, &CheckWindow::checkFinished);
        window.startCheck(inputs);
        return finished.wait(60000) || finished.count() == 1;
    }

    static QStringList column(const CheckWindow& window, int column)
    {
        QStringList cells;
        for (int row = 0; row < window.findingsProxy()->rowCount(); ++row)
            cells << window.findingsProxy()->index(row, column).data().toString();
        return cells;
    }

private slots:
    void initTestCase()
    {
        folder = dir.filePath(QStringLiteral("in"));
        const QList<QByteArray> saved = CheckCorpus::saveReports(
            {{QStringLiteral("W01"), QStringLiteral("城墙"), 1, {{"Text32", "10"}, {"Text12(0)", "10"}}}});
        QCOMPARE(saved.size(), 1);
        CheckCorpus::writeFile(folder + QStringLiteral("/qzrt_410101_W01.xm"), saved[0]);
        // Two more findings: a misnamed copy with a broken rule, and no unit file at all.
        copy = CheckCorpus::edited(saved[0], {{QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("W02")},
                                              {QStringLiteral("//Report/FundDemand/Demand/Total"), QStringLiteral("5")}});
        CheckCorpus::writeFile(folder + QStringLiteral("/sub/副本.xm"), copy);
    }

    void chooseFolderCheckFilterAndExport()
    {
        ScriptedUi ui;
        CheckWindow window;
        window.show();
        QSignalSpy finished(&window, &CheckWindow::checkFinished);
        ui.answerDirectory(folder);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("chooseFolderButton")), Qt::LeftButton);
        QVERIFY(finished.wait(60000) || finished.count() == 1);
        QCOMPARE(ui.fileRequests.size(), 1);
        QCOMPARE(window.progressBar()->value(), window.progressBar()->maximum());
        QCOMPARE(window.progressBar()->maximum(), 2);
        // W01: no unit file; the copy: its name, its rule 2, no unit file.
        QStringList rows;
        for (int row = 0; row < window.findingsProxy()->rowCount(); ++row)
            rows << window.findingsProxy()->index(row, 1).data().toString() + QLatin1Char(' ')
                        + window.findingsProxy()->index(row, 2).data().toString();
        QVERIFY2(rows.size() == 4, qPrintable(rows.join(QLatin1Char('\n'))));
        QCOMPARE(window.summaryLabel()->text(), QStringLiteral("共 2 份报表，通过 0，未通过 2，无法读取 0"));

        window.filterBox()->setText(QStringLiteral("缺少单位"));
        QCOMPARE(window.findingsProxy()->rowCount(), 2);
        window.filterBox()->clear();
        window.findingsView()->sortByColumn(1, Qt::AscendingOrder);
        QStringList kinds;
        for (int row = 0; row < window.findingsProxy()->rowCount(); ++row)
            kinds << window.findingsProxy()->index(row, 1).data().toString();
        QStringList sorted = kinds;
        sorted.sort();
        QCOMPARE(kinds, sorted);

        const QString book = dir.filePath(QStringLiteral("汇总表"));
        QSignalSpy exported(&window, &CheckWindow::exportFinished);
        ui.answerSaveFile(book);
        QVERIFY(window.exportButton()->isEnabled());
        QTest::mouseClick(window.exportButton(), Qt::LeftButton);
        QVERIFY(exported.wait(60000) || exported.count() == 1);
        QCOMPARE(exported.first().first().toBool(), true);
        QVERIFY(QFileInfo(book + QStringLiteral(".xlsx")).size() > 0);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("汇总表已导出到") + book + QStringLiteral(".xlsx")});
        ui.finish();
    }

    // Paths relative to what was chosen; a double-click starts Vantrel on the report, an
    // archive's entry written out first; what cannot be opened is said through the seam.
    void relativePathsAndOpeningReports()
    {
        ScriptedUi ui;
        CheckWindow window;
        window.show();
        QStringList started;
        window.reportOpener().setProgram(QStringLiteral(VANTREL_BINARY_DIR "/vantrel"));
        window.reportOpener().setStarter([&](const QString& program, const QStringList& arguments) {
            started << program << arguments;
            return true;
        });
        QVERIFY(checked(window, {folder}));
        window.findingsView()->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(column(window, 0), (QStringList{QStringLiteral("qzrt_410101_W01.xm"), QStringLiteral("sub/副本.xm"),
                                                 QStringLiteral("sub/副本.xm"), QStringLiteral("sub/副本.xm")}));
        QCOMPARE(window.findingsProxy()->index(1, 0).data(Qt::ToolTipRole).toString(), folder + QStringLiteral("/sub/副本.xm"));

        const auto doubleClick = [&](int row) {
            QTableView* view = window.findingsView();
            const QRect cell = view->visualRect(window.findingsProxy()->index(row, 2));
            // A double-click as a mouse makes it: the view wants the press before it.
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        };
        doubleClick(1);
        QCOMPARE(started, (QStringList{QStringLiteral(VANTREL_BINARY_DIR "/vantrel"), QStringLiteral("--"),
                                       folder + QStringLiteral("/sub/副本.xm")}));

        const QString zip = dir.filePath(QStringLiteral("units.zip"));
        CheckCorpus::writeFile(zip, CheckCorpus::archiveBytes(CheckCorpus::Format::Zip, {{QStringLiteral("县/副本.xm"), copy}}));
        QVERIFY(checked(window, {zip}));
        QCOMPARE(column(window, 0).value(0), QStringLiteral("县/副本.xm"));
        started.clear();
        doubleClick(0);
        QCOMPARE(started.size(), 3);
        QVERIFY2(started[2].endsWith(QStringLiteral("/副本.xm")) && !started[2].startsWith(dir.path()), qPrintable(started[2]));
        QFile written(started[2]);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), copy);
        QVERIFY(ui.texts.isEmpty());

        window.reportOpener().setStarter([](const QString&, const QStringList&) { return false; });
        doubleClick(0);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("无法启动 Vantrel：" VANTREL_BINARY_DIR "/vantrel")});
        ui.texts.clear();
        window.reportOpener().setProgram(dir.filePath(QStringLiteral("no-such-program")));
        doubleClick(0);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("找不到 Vantrel 程序：") + dir.filePath(QStringLiteral("no-such-program"))});
        ui.finish();
    }

    // The table takes what the window gains.
    void theTableTakesTheSpace()
    {
        ScriptedUi ui;
        CheckWindow window;
        window.resize(800, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize before = window.findingsView()->size();
        window.resize(1200, 900);
        QTRY_COMPARE(window.findingsView()->height(), before.height() + 400);
        QCOMPARE(window.findingsView()->width(), before.width() + 400);
        ui.finish();
    }

    void cancelledDialogsLeaveTheWindowAsItWas()
    {
        ScriptedUi ui;
        CheckWindow window;
        ui.answerDirectory(std::nullopt);
        window.chooseFolder();
        ui.answerOpenFiles(std::nullopt);
        window.chooseArchives();
        QVERIFY(!window.isBusy());
        QVERIFY(!window.exportButton()->isEnabled());
        QCOMPARE(window.findingsProxy()->rowCount(), 0);
        ui.finish();
    }

    void closingDuringACheckStopsIt()
    {
        ScriptedUi ui;
        auto window = std::make_unique<CheckWindow>();
        window->startCheck({folder, folder, folder});
        window.reset(); // joins the checking threads; nothing may reach the gone window
        QTest::qWait(0);
        ui.finish();
    }
};

QTEST_MAIN(TestCheckWindow)
#include "test_check_window.moc"
