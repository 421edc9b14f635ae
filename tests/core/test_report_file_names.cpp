// The standard names of a report's file and page, and the page Print looks for.
#include "core/ReportFileNames.h"

#include <QTest>

class TestReportFileNames : public QObject {
    Q_OBJECT
private slots:
    void standardName_data()
    {
        QTest::addColumn<QString>("unitCode");
        QTest::addColumn<QString>("localFolder");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("isHtml");
        QTest::addColumn<QString>("expected");   // "<P>" stands for the program folder
        const QString local = QStringLiteral("/daten/berichte/");
        QTest::newRow("report") << "410101" << local << "A01" << false << local + "qzrt_410101_A01.xm";
        QTest::newRow("page") << "410101" << local << "A01" << true << local + "qzrt_410101_A01.htm";
        QTest::newRow("code trimmed") << "410101" << local << "  A01 " << false << local + "qzrt_410101_A01.xm";
        QTest::newRow("Chinese code") << "410101" << local << "文-7" << false << local + "qzrt_410101_文-7.xm";
        QTest::newRow("only spaces") << "410101" << local << "  " << true << local + "qzrt_410101_.htm";
        QTest::newRow("program folder") << "410101" << QString() << "A01" << false << "<P>qzrt_410101_A01.xm";
        QTest::newRow("no unit code") << QString() << local << "A01" << false << QString();
        QTest::newRow("no project code") << "410101" << local << QString() << false << QString();
        const char* unsafe[] = {"../../etc/x", "a/b", "a\\b", "c:x", "*", "a?", "\"", "<", ">", "|", "a\nb", "a\x7f", "..", " . "};
        for (const char* bad : unsafe)
            QTest::newRow(qPrintable(QStringLiteral("unsafe code %1").arg(QString::fromUtf8(bad).toUtf8().toPercentEncoding())))
                << "410101" << local << QString::fromUtf8(bad) << false << QString();
        QTest::newRow("unsafe unit code") << "41/01" << local << "A01" << false << QString();
    }
    void standardName()
    {
        QFETCH(QString, unitCode);
        QFETCH(QString, localFolder);
        QFETCH(QString, code);
        QFETCH(bool, isHtml);
        QFETCH(QString, expected);
        const QString programFolder = QStringLiteral("/opt/vantrel/");
        expected.replace(QStringLiteral("<P>"), programFolder);
        const QString folder = ReportFileNames::DataFolder(localFolder, programFolder);
        QCOMPARE(ReportFileNames::BuildReportFileName(unitCode, folder, code, isHtml), expected);
        // Whatever the unit code, an unsafe project code is refused by the commands too.
        QCOMPARE(ReportFileNames::IsUsableProjectCode(code), !QByteArray(QTest::currentDataTag()).startsWith("unsafe code"));
    }

    void printPage_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("page");
        QTest::newRow("standard") << "/d/qzrt_410101_A01.xm" << "/d/qzrt_410101_A01.htm";
        QTest::newRow("other extension") << "/d/bericht.xml" << "/d/bericht.htm";
        QTest::newRow("last dot counts") << "/d/a.b.xm" << "/d/a.b.htm";
        QTest::newRow("trailing dot") << "/d/a." << "/d/a.htm";
        QTest::newRow("no dot") << "/d/bericht" << QString();
        QTest::newRow("dot only in the folder") << "/d/v1.2/bericht" << QString();
        QTest::newRow("windows folder with dot") << "C:\\v1.2\\bericht" << QString();
    }
    void printPage()
    {
        QFETCH(QString, report);
        QFETCH(QString, page);
        QCOMPARE(ReportFileNames::PrintPageName(report), page);
    }

    void unitInfoNames()
    {
        QCOMPARE(ReportFileNames::UnitInfoFileName(QStringLiteral("410101"), QStringLiteral("/d/"), false),
                 QStringLiteral("/d/410101.dw"));
        QCOMPARE(ReportFileNames::UnitInfoFileName(QStringLiteral("410101"), QStringLiteral("/d/"), true),
                 QStringLiteral("/d/410101.htm"));
    }
};

QTEST_GUILESS_MAIN(TestReportFileNames)
#include "test_report_file_names.moc"
