// A recovery draft on disk: read back as written, and anything cut off or altered is no draft.
#include "core/RecoveryDraft.h"

#include <QTest>

class TestRecoveryDraft : public QObject {
    Q_OBJECT
    static RecoveryDraft sample()
    {
        RecoveryDraft draft;
        draft.reportFile = QStringLiteral("/home/文员/报表 %1\n第二行.xm");
        draft.projectCode = QStringLiteral("A: 01");
        draft.projectName = QStringLiteral("城墙维修");
        draft.written = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5, 123), Qt::UTC);
        draft.programVersion = QStringLiteral("1.1.1");
        draft.report = QByteArray("<?xml version=\"1.0\"?>\n<Report>\n\nsize: 3\n</Report>\n");
        return draft;
    }

private slots:
    void readBackAsWritten()
    {
        const RecoveryDraft written = sample();
        const std::optional<RecoveryDraft> read = RecoveryDraft::decode(written.encode());
        QVERIFY(read);
        QCOMPARE(read->reportFile, written.reportFile);
        QCOMPARE(read->projectCode, written.projectCode);
        QCOMPARE(read->projectName, written.projectName);
        QCOMPARE(read->written, written.written);
        QCOMPARE(read->programVersion, written.programVersion);
        QCOMPARE(read->report, written.report);
        RecoveryDraft neverSaved = written;
        neverSaved.reportFile.clear();
        QVERIFY(RecoveryDraft::decode(neverSaved.encode())->reportFile.isEmpty());
    }

    void damagedIsNoDraft_data()
    {
        const QByteArray whole = sample().encode();
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut in the report") << whole.left(whole.size() - 3);
        QTest::newRow("cut in the header") << whole.left(40);
        QTest::newRow("a byte more") << whole + "x";
        QTest::newRow("another kind of file") << QByteArray("<?xml version=\"1.0\"?><Report/>");
        QByteArray noTime = whole;
        noTime.replace("written: ", "written: x");
        QTest::newRow("no time") << noTime;
        QByteArray noSize = whole;
        noSize.replace("size: ", "length: ");
        QTest::newRow("no size") << noSize;
    }
    void damagedIsNoDraft()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!RecoveryDraft::decode(bytes));
    }

    // A whole draft whose report Open would not take as one is no report to restore: it
    // would only empty the form.
    void holdsAReport_data()
    {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<bool>("holds");
        QTest::newRow("a report") << sample().report << true;
        QTest::newRow("another document") << QByteArray("<?xml version=\"1.0\"?><Foo/>") << false;
        QTest::newRow("no document") << QByteArray("not xml") << false;
        QTest::newRow("refused by the loader") << QByteArray("<!DOCTYPE Report [<!ENTITY a \"b\">]><Report>&a;</Report>") << false;
    }
    void holdsAReport()
    {
        QFETCH(QByteArray, report);
        QFETCH(bool, holds);
        RecoveryDraft draft = sample();
        draft.report = report;
        QCOMPARE(RecoveryDraft::decode(draft.encode())->holdsReport(), holds);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryDraft)
#include "test_recovery_draft.moc"
