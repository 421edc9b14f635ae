// The report document without any window: the field table against the document format,
// loading, the checks before a save, Save, Save As and Export with their files and
// messages, and what a round trip keeps.
#include "ControlNames.h"
#include "ReportRows.h"
#include "core/AtomicFileWriter.h"
#include "core/BudgetReport.h"
#include "core/ReportFieldTable.h"
#include "core/TextLengthLimit.h"
#include "core/XmlDocumentAccess.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rows;
using namespace xml;

namespace {

const QString kTemplates = QStringLiteral(VANTREL_TEMPLATES_DIR "/");

BudgetReport::Files templates()
{
    return {kTemplates + QStringLiteral("report1.tpl"), kTemplates + QStringLiteral("report1.tps")};
}

ReportHeader header()
{
    return BudgetReport::headerForToday(QStringLiteral("410101"), QStringLiteral("博物馆 & <分馆>"),
                                        QStringLiteral("张三𠀀"));
}

XmlDocumentPtr read(const QString& path)
{
    QString error;
    XmlDocumentPtr document = ReadXmlDocument(path, error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return document;
}

QString text(const XmlDocumentPtr& document, const QString& path)
{
    return GetNodeText(documentElement(document), path);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A new report with a code, a name and the given boxes ("Text32=5").
BudgetReport newReport(const QStringList& settings = {})
{
    BudgetReport report;
    report.load(kTemplates + QStringLiteral("report1.tpl"));
    report.setValue(QStringLiteral("projectCode"), QStringLiteral("A01"));
    report.setValue(QStringLiteral("projectName"), QStringLiteral("城墙维修"));
    for (const QString& setting : settings) {
        const qsizetype at = setting.indexOf(QLatin1Char('='));
        report.setValue(fieldOf(setting.left(at)), setting.mid(at + 1));
    }
    return report;
}

} // namespace

class TestBudgetReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString file(const QString& name) const { return dir_.filePath(name); }

private slots:
    void cleanup() { AtomicFileWriter::injectFailureAfter(-1); }

    void fieldTableMatchesTheDocumentFormat()
    {
        const auto& fields = ReportFieldTable::fields();
        QCOMPARE(fields.size(), std::size(kRows));
        QSet<QString> ids;
        for (size_t i = 0; i < fields.size(); ++i) {
            QCOMPARE(fields[i].control.objectName(), nameOf(kRows[i]));
            QCOMPARE(fields[i].xpath, pathOf(kRows[i]));
            if (!isList(kRows[i]))
                QCOMPARE(fields[i].defaultText, QString::fromLatin1(kRows[i].defaultText));
            QVERIFY2(!ids.contains(fields[i].id), qPrintable(fields[i].id));
            ids.insert(fields[i].id);
            QCOMPARE(ReportFieldTable::field(fields[i].id), &fields[i]);
        }
        QCOMPARE(ReportFieldTable::field(u"Text32"), nullptr);
        QCOMPARE(fieldOf(QStringLiteral("Text32")), QStringLiteral("demandTotal"));
        QCOMPARE(fieldOf(QStringLiteral("Text12(0)")), QStringLiteral("centralDemand2006"));
    }

    // Save starts from the template, so it must hold every element the report writes.
    void templateHoldsEveryField()
    {
        const XmlDocumentPtr document = read(templates().templatePath);
        QStringList paths;
        for (const Row& row : kRows)
            paths << pathOf(row);
        paths << "//Report/BasicInfo/ProjectType/@dict" << "//Report/BasicInfo/ProjectAttribute/@dict"
              << "//Report/ReportInfo/CorpID" << "//Report/ReportInfo/CorpName" << "//Report/ReportInfo/ReportUser"
              << "//Report/ReportInfo/ReportDate";
        for (const QString& path : paths) {
            SetNodeText(documentElement(document), path, QStringLiteral("marker"));
            QVERIFY2(text(document, path) == QLatin1String("marker"), qPrintable(path));
        }
    }

    void roundTripKeepsEveryValue()
    {
        const QMap<QString, QString> values = sampleValues();
        const XmlDocumentPtr source = read(templates().templatePath);
        for (const Row& row : kRows)
            if (!isList(row))
                SetNodeText(documentElement(source), pathOf(row), values.value(nameOf(row)));
        SetNodeText(documentElement(source), "//Report/BasicInfo/ProjectType", "50");
        SetNodeText(documentElement(source), "//Report/BasicInfo/ProjectAttribute", "3");
        QString error;
        QVERIFY(WriteXmlDocument(source, file("in.xm"), error));

        BudgetReport report;
        QVERIFY(report.load(file("in.xm")).ok);
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(report.value(fieldOf(nameOf(row))), values.value(nameOf(row)));
        QCOMPARE(report.value("projectType"), QStringLiteral("50"));
        QCOMPARE(report.value("projectNature"), QStringLiteral("3"));

        report.setFileName(file("out.xm"));
        const BudgetReport::WriteResult written = report.save(templates(), header(), file("out.htm"));
        QVERIFY(written.reportWritten);
        QCOMPARE(written.messages, QStringList());
        QVERIFY(written.shown.isEmpty());
        const XmlDocumentPtr reread = read(file("out.xm"));
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(text(reread, pathOf(row)), values.value(nameOf(row)));
        QCOMPARE(text(reread, "//Report/BasicInfo/ProjectType"), QStringLiteral("50"));
        QCOMPARE(text(reread, "//Report/BasicInfo/ProjectType/@dict"), QStringLiteral("安全消防"));
        QCOMPARE(text(reread, "//Report/BasicInfo/ProjectAttribute"), QStringLiteral("3"));
        QCOMPARE(text(reread, "//Report/BasicInfo/ProjectAttribute/@dict"), QStringLiteral("保护利用性"));
        QCOMPARE(text(reread, "//Report/ReportInfo/CorpID"), QStringLiteral("410101"));
        QCOMPARE(text(reread, "//Report/ReportInfo/CorpName"), QStringLiteral("博物馆 & <分馆>"));
        QCOMPARE(text(reread, "//Report/ReportInfo/ReportUser"), QStringLiteral("张三𠀀"));
        QCOMPARE(text(reread, "//Report/ReportInfo/ReportDate"), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(report.header().unitName, QStringLiteral("博物馆 & <分馆>"));
    }

    // Values lose the spaces at their ends on the way in and on the way out; the report
    // keeps what the user typed, and only a truly empty box takes its default.
    void spacesAreTrimmedAndEmptyBoxesTakeTheirDefault()
    {
        QString error;
        const XmlDocumentPtr source = ParseXmlBytes(
            QStringLiteral("<Report><BasicInfo><ProjectID>  P-01  </ProjectID><ProjectName> 城墙 修缮 </ProjectName>"
                           "</BasicInfo><FundDemand><Demand><Total>  12  </Total></Demand></FundDemand></Report>")
                .toUtf8(),
            QString(), error);
        BudgetReport report;
        report.setDocument(source);
        QCOMPARE(report.value("projectCode"), QStringLiteral("P-01"));
        QCOMPARE(report.value("projectName"), QStringLiteral("城墙 修缮"));
        QCOMPARE(report.value("demandTotal"), QStringLiteral("12"));

        report.setValue("projectCode", QStringLiteral("  P-02  "));
        report.setValue("relicProtectionScale", QStringLiteral("   "));
        report.setValue("newDepotArea", QString());
        report.setValue("demandTotal", QStringLiteral(" 12.5 "));
        report.setFileName(file("trim.xm"));
        const BudgetReport::WriteResult written = report.save(templates(), header(), file("trim.htm"));
        const XmlDocumentPtr target = read(file("trim.xm"));
        QCOMPARE(text(target, "//Report/BasicInfo/ProjectID"), QStringLiteral("P-02"));
        QCOMPARE(report.value("projectCode"), QStringLiteral("  P-02  "));
        // a box of spaces stores an empty text, not the default
        QCOMPARE(text(target, "//Report/BasicInfo/SalvageItem/RelicProtectionArea"), QString());
        // an empty amount stores and shows "0"
        QCOMPARE(text(target, "//Report/BasicInfo/SalvageItem/NewDepotArea"), QStringLiteral("0"));
        QCOMPARE(written.shown.controls(), QStringList{"newDepotArea"});
        QCOMPARE(written.shown.value("newDepotArea"), QStringLiteral("0"));
        QCOMPARE(text(target, "//Report/FundDemand/Demand/Total"), QStringLiteral("12.5"));
    }

    void missingElementsGiveDefaults_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("root only") << "<Report/>";
        QTest::newRow("empty elements") << "<Report><BasicInfo><ProjectID/><ProjectType/><ProjectAttribute>x"
                                           "</ProjectAttribute></BasicInfo><BudgetDetail/></Report>";
        QTest::newRow("unknown codes") << "<Report><BasicInfo><ProjectType>99</ProjectType><ProjectAttribute>0"
                                          "</ProjectAttribute></BasicInfo></Report>";
    }
    void missingElementsGiveDefaults()
    {
        QFETCH(QString, document);
        QString error;
        BudgetReport report = newReport({"Text32=7", "Text30=x"});
        report.setDocument(ParseXmlBytes(document.toUtf8(), QString(), error));
        QVERIFY(error.isEmpty());
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(report.value(fieldOf(nameOf(row))), QString::fromLatin1(row.defaultText));
        QCOMPARE(report.value("projectType"), QStringLiteral("11"));
        QCOMPARE(report.value("projectNature"), QStringLiteral("1"));
    }

    // A list value that names no item is stored as the first item, with its caption.
    void listsStoreTheirFirstItemForAnUnknownCode()
    {
        BudgetReport report = newReport();
        report.setValue("projectType", QString());
        report.setValue("projectNature", QStringLiteral("9"));
        report.setFileName(file("lists.xm"));
        QVERIFY(report.save(templates(), header(), file("lists.htm")).reportWritten);
        const XmlDocumentPtr target = read(file("lists.xm"));
        QCOMPARE(text(target, "//Report/BasicInfo/ProjectType"), QStringLiteral("11"));
        QCOMPARE(text(target, "//Report/BasicInfo/ProjectType/@dict"), QStringLiteral("古建维修规划"));
        QCOMPARE(text(target, "//Report/BasicInfo/ProjectAttribute"), QStringLiteral("1"));
        QCOMPARE(text(target, "//Report/BasicInfo/ProjectAttribute/@dict"), QStringLiteral("抢救性"));
    }

    // The hidden cost line "出土文物修复费" takes part in the checks only.
    void hiddenRowIsNeitherWrittenNorRead()
    {
        BudgetReport report = newReport({"Text32=9", "Text12(0)=5"});
        QString error;
        const QByteArray withoutHidden = report.serialize(templates().templatePath, header(), &error);
        QVERIFY(!withoutHidden.isEmpty());
        report.setValue(fieldOf("Text21(1)"), QStringLiteral("9"));
        report.setValue(fieldOf("Text22(1)"), QStringLiteral("5"));
        QCOMPARE(report.serialize(templates().templatePath, header(), &error), withoutHidden);
        QCOMPARE(report.checkBudget().brokenRule, 0);
        report.setValue(fieldOf("Text22(1)"), QStringLiteral("10"));
        QCOMPARE(report.checkBudget().brokenRule, 1);
    }

    // Invisible control characters pasted into a box must not make the saved report
    // unreadable; tabs and line breaks stay.
    void savedReportWithControlCharactersOpensAgain()
    {
        BudgetReport report = newReport();
        report.setValue("projectName", QStringLiteral("城") + QChar(1) + QStringLiteral("墙") + QChar(0x0B) + QChar(0xFFFE)
                                           + QChar(0xD800) + QStringLiteral("𠀀"));
        report.setValue("protectionFacilities", QStringLiteral("一\t二\n三") + QChar(0x1F));
        report.setFileName(file("c.xm"));
        QVERIFY(report.save(templates(), header(), file("c.htm")).reportWritten);
        BudgetReport reread;
        QVERIFY(reread.load(file("c.xm")).ok);
        QCOMPARE(reread.value("projectName"), QStringLiteral("城墙𠀀"));
        QCOMPARE(reread.value("protectionFacilities"), QStringLiteral("一\t二\n三"));
    }

    // ---- The commands' steps ------------------------------------------------------------

    void openReadsTheFileAndAFailedOpenKeepsTheValues()
    {
        BudgetReport saved = newReport({"Text32=15"});
        saved.setFileName(file("open.xm"));
        QVERIFY(saved.save(templates(), header(), file("open.htm")).reportWritten);

        BudgetReport report = newReport();
        report.setValue("projectName", QStringLiteral("未保存的名称"));
        BudgetReport::LoadResult result = report.load(file("missing.xm"));
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QStringLiteral("无法打开指定文件") + file("missing.xm"));
        QCOMPARE(report.value("projectName"), QStringLiteral("未保存的名称"));

        result = report.load(file("open.xm"));
        QVERIFY(result.ok);
        QVERIFY(result.error.isEmpty());
        QCOMPARE(report.value("projectName"), QStringLiteral("城墙维修"));
        QCOMPARE(report.value("demandTotal"), QStringLiteral("15"));
        QCOMPARE(report.header().unitCode, QStringLiteral("410101"));
    }

    void checksBeforeASave_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unitCode");
        QTest::addColumn<QString>("saveRefusal");
        QTest::addColumn<QString>("saveAsRefusal");
        QTest::newRow("complete") << "A01" << QStringLiteral("城墙") << "410101" << "" << "";
        QTest::newRow("no code") << "" << QStringLiteral("城墙") << "410101" << QStringLiteral("请输入项目编号")
                                 << QStringLiteral("请设置项目编号与名称");
        QTest::newRow("code of blanks") << "  " << QStringLiteral("城墙") << "410101"
                                        << QStringLiteral("请输入项目编号") << "";
        QTest::newRow("code with a separator") << "A/01" << QStringLiteral("城墙") << "410101"
                                               << QStringLiteral("项目编号中含有不能用于文件名的字符")
                                               << QStringLiteral("项目编号中含有不能用于文件名的字符");
        QTest::newRow("name of blanks") << "A01" << "  " << "410101" << QStringLiteral("请输入项目名称") << "";
        QTest::newRow("no name") << "A01" << "" << "410101" << QStringLiteral("请输入项目名称")
                                 << QStringLiteral("请设置项目编号与名称");
        QTest::newRow("no unit code") << "A01" << QStringLiteral("城墙") << ""
                                      << QStringLiteral("请在选项中设置单位编号") << "";
    }
    void checksBeforeASave()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, unitCode);
        QFETCH(QString, saveRefusal);
        QFETCH(QString, saveAsRefusal);
        BudgetReport report = newReport();
        report.setValue("projectCode", code);
        report.setValue("projectName", name);
        QCOMPARE(report.saveRefusal(unitCode), saveRefusal);
        QCOMPARE(report.saveAsRefusal(), saveAsRefusal);
    }

    // The check rewrites what it read in the values, as the form then shows them.
    void budgetCheckRewritesTheValues()
    {
        BudgetReport report = newReport({"Text32=abc", QStringLiteral("Text12(0)=１,０００"), "Text17(0)=1"});
        const BudgetRuleResult result = report.checkBudget();
        QCOMPARE(result.brokenRule, 2);
        QCOMPARE(report.value("demandTotal"), QStringLiteral("0"));
        QCOMPARE(report.value("centralDemand2006"), QStringLiteral("1000"));
        QCOMPARE(result.normalised.size(), 2);
    }

    void textTooLongToOpenAgainIsRefused()
    {
        BudgetReport report = newReport();
        QVERIFY(report.textLengthRefusal().isEmpty());
        report.setValue("remark", QString(TextLengthLimit::kMaxBytes + 1, QLatin1Char('x')));
        QCOMPARE(report.textLengthRefusal(), TextLengthLimit::refusal(QStringLiteral("备注")));
        report.setFileName(file("long.xm"));
        const BudgetReport::WriteResult result = report.save(templates(), header(), file("long.htm"));
        QVERIFY(!result.reportWritten);
        QCOMPARE(result.messages, QStringList{TextLengthLimit::refusal(QStringLiteral("备注"))});
        QVERIFY(!QFile::exists(file("long.xm")));
    }

    void saveWritesTheReportAndItsPage()
    {
        BudgetReport report = newReport();
        report.setModified(true);
        report.setFileName(file("qzrt_410101_A01.xm"));
        const BudgetReport::WriteResult result = report.save(templates(), header(), file("qzrt_410101_A01.htm"));
        QVERIFY(result.reportWritten);
        QCOMPARE(result.messages, QStringList());
        QVERIFY(!report.isModified());
        QCOMPARE(report.pageFileName(), file("qzrt_410101_A01.htm"));
        QVERIFY(QString::fromUtf8(bytesOf(file("qzrt_410101_A01.htm"))).contains(QStringLiteral("城墙维修")));
        QCOMPARE(text(read(file("qzrt_410101_A01.xm")), "//Report/BasicInfo/ProjectID"), QStringLiteral("A01"));
    }

    // Save As under another name: the page keeps its standard name; without a unit code
    // there is none, and the clerk is told so.
    void saveAsWritesThePageUnderTheStandardName()
    {
        BudgetReport report = newReport();
        report.setFileName(file("chosen.xm"));
        BudgetReport::WriteResult result = report.save(templates(), header(), file("qzrt_410101_A01.htm"));
        QVERIFY(result.reportWritten);
        QVERIFY(QFile::exists(file("qzrt_410101_A01.htm")));
        QVERIFY(!QFile::exists(file("chosen.htm")));

        report.setFileName(file("nounit.xm"));
        result = report.save(templates(), header(), QString());
        QVERIFY(result.reportWritten);
        QCOMPARE(result.messages, QStringList{QStringLiteral("请在选项中设置单位编号")});
    }

    void failedSavesLeaveTheOldFile()
    {
        BudgetReport report = newReport();
        report.setFileName(file("kept.xm"));
        QVERIFY(report.save(templates(), header(), file("kept.htm")).reportWritten);
        const QByteArray before = bytesOf(file("kept.xm"));
        report.setValue("projectName", QStringLiteral("改过的名称"));
        report.setModified(true);

        // A broken template: nothing written.
        BudgetReport::Files broken = templates();
        broken.templatePath = file("missing.tpl");
        BudgetReport::WriteResult result = report.save(broken, header(), file("kept.htm"));
        QVERIFY(!result.reportWritten);
        QCOMPARE(result.messages, QStringList{QStringLiteral("报表模板文件错误，请重新安装")});
        QCOMPARE(bytesOf(file("kept.xm")), before);
        QVERIFY(report.isModified());

        // A write that fails half way: the store's message, the old file as it was.
        AtomicFileWriter::injectFailureAfter(10);
        result = report.save(templates(), header(), file("kept.htm"));
        QVERIFY(!result.reportWritten);
        QCOMPARE(result.messages.size(), 1);
        QVERIFY(result.messages[0].startsWith(QStringLiteral("无法保存指定文件") + file("kept.xm")));
        QCOMPARE(bytesOf(file("kept.xm")), before);
        QVERIFY(report.isModified());
    }

    // A stylesheet that cannot be read: the report is saved, the page is not, and the
    // clerk hears both.
    void brokenStylesheetSavesTheReportWithoutPage()
    {
        BudgetReport report = newReport();
        report.setFileName(file("nostyle.xm"));
        BudgetReport::Files files = templates();
        files.stylesheetPath = file("missing.tps");
        const BudgetReport::WriteResult result = report.save(files, header(), file("nostyle.htm"));
        QVERIFY(result.reportWritten);
        QCOMPARE(result.messages,
                 (QStringList{QStringLiteral("输出模板文件错误，请重新安装"), QStringLiteral("未能进行成功的数据转换")}));
        QVERIFY(!QFile::exists(file("nostyle.htm")));
    }

    // Export writes the page from the report as it is, and nothing else.
    void exportWritesOnlyThePage()
    {
        BudgetReport report = newReport();
        report.setModified(true);
        report.setFileName(file("never.xm"));
        const BudgetReport::WriteResult result = report.exportPage(templates(), header(), file("export.htm"));
        QCOMPARE(result.messages, QStringList());
        QVERIFY(!result.reportWritten);
        QVERIFY(report.isModified());
        QVERIFY(!QFile::exists(file("never.xm")));
        QVERIFY(QString::fromUtf8(bytesOf(file("export.htm"))).contains(QStringLiteral("城墙维修")));
    }

    // A draft is the report as a save would write it, with no file touched.
    void serializeIsWhatASaveWrites()
    {
        BudgetReport report = newReport({"Text32=3", "Text30=甲 & 乙"});
        QString error;
        const QByteArray bytes = report.serialize(templates().templatePath, header(), &error);
        QVERIFY(error.isEmpty());
        report.setFileName(file("same.xm"));
        QVERIFY(report.save(templates(), header(), file("same.htm")).reportWritten);
        QCOMPARE(bytesOf(file("same.xm")), bytes);
        QVERIFY(report.serialize(file("missing.tpl"), header(), &error).isEmpty());
        QCOMPARE(error, QStringLiteral("无法打开指定文件") + file("missing.tpl"));
    }
};

QTEST_GUILESS_MAIN(TestBudgetReport)
#include "test_budget_report.moc"
