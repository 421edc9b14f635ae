// Reading saved reports, unit files and the settings file with core alone: every field of
// the report table through the real template, failures, and the settings file's bytes.
#include "ControlNames.h"
#include "core/ProjectTypes.h"
#include "core/ReportFieldTable.h"
#include "core/ReportFile.h"
#include "core/SettingsFile.h"
#include "core/UnitInfoFile.h"
#include "core/XmlDocumentAccess.h"

#include <QTemporaryDir>
#include <QTest>

using namespace xml;

namespace {

const QString kReportTemplate = QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl");

} // namespace

class TestReportFile : public QObject {
    Q_OBJECT
private slots:
    // Every one of the 83 fields written into the template comes back under its field id.
    void everyFieldRoundTripsThroughTheTemplate()
    {
        QString error;
        const XmlDocumentPtr document = ReadXmlDocument(kReportTemplate, error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const XmlNode root = documentElement(document);
        ReportValues written;
        int n = 0;
        for (const ReportFieldTable::Field& f : ReportFieldTable::fields()) {
            QString value = QStringLiteral("值%1").arg(++n);
            if (f.control.kind == ReportFieldTable::ControlKind::List) {
                const auto items = f.control.number == 1 ? ProjectTypes::projectTypeItems()
                                                         : ProjectTypes::projectNatureItems();
                value = QString::number(items.back().code);
            }
            SetNodeText(root, f.xpath, value);
            written.setValue(f.id, value);
        }
        SetNodeText(root, QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("410101"));
        SetNodeText(root, QStringLiteral("//Report/ReportInfo/ReportDate"), QStringLiteral("2026-12-07"));

        const ReportFile file = ReadReportBytes(SerializeXmlDocument(document), QStringLiteral("r.xm"));
        QVERIFY(file.ok);
        QVERIFY(file.error.isEmpty());
        QCOMPARE(int(file.values.size()), 83);
        QCOMPARE(file.values.controls().size(), written.controls().size());
        for (const QString& control : written.controls())
            QCOMPARE(file.values.value(control), written.value(control));
        QVERIFY(file.values == written);
        QCOMPARE(file.header.unitCode, QStringLiteral("410101"));
        QCOMPARE(file.header.reportDate, QStringLiteral("2026-12-07"));
    }

    void blankTemplateHoldsZeroAmounts()
    {
        const ReportFile file = ReadReportFile(kReportTemplate);
        QVERIFY(file.ok);
        QCOMPARE(file.values.value(fieldOf(QStringLiteral("Text32"))), QStringLiteral("0"));
        QCOMPARE(file.values.value(fieldOf(QStringLiteral("Text28(1)"))), QStringLiteral("0"));
        // The template's type code is the list's first item.
        QCOMPARE(file.values.value(fieldOf(QStringLiteral("Combo1"))),
                 QString::number(ProjectTypes::projectTypeItems().front().code));
        QVERIFY(!file.values.contains(fieldOf(QStringLiteral("Text21(1)")))); // the hidden pair is never stored
        // A stored code that is no code of the list reads as the first item, as the window shows it.
        const ReportFile odd = ReadReportBytes(
            "<Report><BasicInfo><ProjectType>77</ProjectType><ProjectAttribute>2.0</ProjectAttribute></BasicInfo></Report>",
            QStringLiteral("o.xm"));
        QVERIFY(odd.ok);
        QCOMPARE(odd.values.value(fieldOf(QStringLiteral("Combo1"))), QString::number(ProjectTypes::projectTypeItems().front().code));
        QCOMPARE(odd.values.value(fieldOf(QStringLiteral("Combo2"))), QStringLiteral("2"));
    }

    void failuresCarryTheStoreText()
    {
        const QString missing = QStringLiteral("/nonexistent/qzrt_1.xm");
        ReportFile file = ReadReportFile(missing);
        QVERIFY(!file.ok);
        QCOMPARE(file.error, QStringLiteral("无法打开指定文件") + missing);
        QVERIFY(file.values.isEmpty());
        file = ReadReportBytes("<Report><a></Report>", QStringLiteral("x.xm"));
        QVERIFY(!file.ok);
        QVERIFY(file.error.startsWith(QStringLiteral("无法打开指定文件x.xm")));
        file = ReadReportBytes("<!DOCTYPE r [<!ENTITY e \"x\">]><Report/>", QStringLiteral("d.xm"));
        QVERIFY(!file.ok);
    }

    void unitInfoFile()
    {
        const UnitInfoFile file = ReadUnitInfoFile(QStringLiteral(VANTREL_TEMPLATES_DIR "/corpinfo.tpl"));
        QVERIFY2(file.ok, qPrintable(file.error));
        QVERIFY(file.values.contains(QStringLiteral("Text9(2)")));
        QVERIFY(file.values.contains(QStringLiteral("Text29")));
        QVERIFY(!file.values.contains(QStringLiteral("Text1")));     // the unit code comes from the settings
        QVERIFY(!file.values.contains(QStringLiteral("Command1")));
        QVERIFY(!ReadUnitInfoBytes("not xml", QStringLiteral("u.dw")).ok);
    }

    void settingsBytes()
    {
        const QByteArray bytes = SettingsFile::Serialize(QStringLiteral("410101"), QStringLiteral("/daten"));
        QCOMPARE(bytes, QByteArray("<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?><Config>"
                                   "<CorpID>410101</CorpID><ServerPass/><ServerUrl/><LocalPath>/daten</LocalPath>"
                                   "<ReportUser/></Config>"));
        const SettingsFile::Values values = SettingsFile::Parse(bytes, QStringLiteral("config.pz"));
        QVERIFY(values.ok);
        QCOMPARE(values.unitCode, QStringLiteral("410101"));
        QCOMPARE(values.localFolder, QStringLiteral("/daten") + folderSeparator());
        // Chinese folder names survive the GB2312 file.
        const QString folder = QStringLiteral("/数据/报表/");
        QCOMPARE(SettingsFile::Parse(SettingsFile::Serialize(QStringLiteral("甲01"), folder), QString()).localFolder,
                 folder);

        QTemporaryDir dir;
        const QString program = dir.path() + QLatin1Char('/');
        QVERIFY(!SettingsFile::Read(program).ok);
        QCOMPARE(SettingsFile::Read(program).error, QStringLiteral("无法打开指定文件") + program + "config.pz");
        QString error;
        QVERIFY(SettingsFile::Write(program, QStringLiteral("410101"), QString(), error));
        QVERIFY(error.isEmpty());
        const SettingsFile::Values read = SettingsFile::Read(program);
        QVERIFY(read.ok);
        QCOMPARE(read.unitCode, QStringLiteral("410101"));
        QVERIFY(read.localFolder.isEmpty());
        QVERIFY(!SettingsFile::Write(program + QStringLiteral("missing/"), QStringLiteral("1"), QString(), error));
        QVERIFY(error.startsWith(QStringLiteral("无法保存指定文件")));
    }
};

QTEST_GUILESS_MAIN(TestReportFile)
#include "test_report_file.moc"
