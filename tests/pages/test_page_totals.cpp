// Totals, money and discrepancies on the printed pages, computed exactly while the page is
// made. With VANTREL_SAMPLE_PAGES=<folder> it instead saves sample documents there and
// writes their pages (scripts/print-pages.sh prints them).
#include "core/PageFunctions.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/XsltTransformer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

using Fields = QList<std::pair<QString, QString>>;   // path under the root, value

XmlDocumentPtr filled(const char* skeleton, const Fields& fields)
{
    XmlDocumentPtr doc = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(skeleton));
    const XmlNode root = documentElement(doc);
    for (const auto& [path, value] : fields) {
        SetNodeText(root, path, value);
        if (!path.contains(QLatin1Char('@')) && GetNodeText(root, path) != TrimSpaces(value))
            qFatal("no node at %s", qPrintable(path));
    }
    return doc;
}

QString render(const XmlDocumentPtr& doc, const char* stylesheet)
{
    const auto result = XsltTransformer::transform(
        doc, LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(stylesheet)));
    if (!result.ok)
        qFatal("%s failed: %s", stylesheet, qPrintable(result.error));
    return QString::fromUtf8(result.page);
}

// The body as a reader sees it: one line per element text, entities decoded.
QStringList visibleLines(const QString& page)
{
    const qsizetype start = page.indexOf(QLatin1String("<body"));
    QString body = page.mid(start, page.lastIndexOf(QLatin1String("</body>")) - start);
    body.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral("\n"));
    body.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
    body.replace(QLatin1String("&amp;"), QLatin1String("&"));
    QStringList lines;
    for (const QString& line : body.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

QString visible(const QString& page) { return visibleLines(page).join(QLatin1Char('\n')); }

// Every field of a report with a value no other cell prints; amounts as a clerk types them.
Fields fullReport()
{
    Fields f = {
        {"ReportInfo/CorpID", "410101"}, {"ReportInfo/CorpName", "郑州市文物保护中心"}, {"ReportInfo/ReportUser", "王镕"},
        {"ReportInfo/ReportDate", "2006-03-15"}, {"BasicInfo/ProjectID", "2006-007"},
        {"BasicInfo/ProjectName", "古城墙北段及东门城楼抢险加固与环境整治工程"},
        {"BasicInfo/ProjectType", "12"}, {"BasicInfo/ProjectType/@dict", "古建维修"},
        {"BasicInfo/ProjectAttribute", "2"}, {"BasicInfo/ProjectAttribute/@dict", "维护性"},
        {"BasicInfo/SalvageItem/NewDepotArea", "350.5"}, {"BasicInfo/SalvageItem/ProtectionContent", "恒温恒湿设备\n监控系统"},
        {"BasicInfo/SalvageItem/RelicProtectionArea", "1200平方米"}, {"BasicInfo/SalvageItem/RelicProtectionContent", "围栏 & 步道"},
        {"BasicInfo/AssitantItem/ProtectionArea", "860"}, {"BasicInfo/PreserveContent", "1997年修缮东门。\n2001年加固城墙基础。"},
        {"BasicInfo/CurrentProblem", "墙体开裂 <b>严重</b>\n排水不畅"}, {"BasicInfo/ProjectContent", "修缮北段城墙\n建设排水系统"},
        {"BasicInfo/Remark", "资料附后"}, {"FundDemand/Investment/State", "1200000"},
        {"FundDemand/Investment/Local", "80.5"}, {"FundDemand/Investment/Other", "0.25"},
        {"FundDemand/Demand/Total", "123465249.97"},
        {"BudgetDetail/RelicPurchase/Total", "98765.4"}, {"BudgetDetail/RelicPurchase/State", "4321"}};
    const char* central[] = {"0.1", "0.2", "1000", "2000", "3000.55"};
    const char* local[] = {"123456789.12", "60", "700", "800", "900"};
    for (int i = 0; i < 5; ++i) {
        f.append({QStringLiteral("FundDemand/Demand/State/Year%1").arg(2006 + i), central[i]});
        f.append({QStringLiteral("FundDemand/Demand/Local/Year%1").arg(2006 + i), local[i]});
    }
    // Section n, item k: total n*1000 + k*100, share n*1000 + k*10 + 0.5.
    const QStringList sections = {"RelicRepairment Preparation Construction Estate Enviroment Traffic Other",
                                  "UnEarth Preparation UnEarth Report Protection Other",
                                  "DepotRepairment Preparation Construction Other",
                                  "FireSecurity Design Purchase Construction Other", "RelicProtection Design Repairment Other",
                                  "GreatSiteProtection Construction Purchase Other", "DepotConstruction Construction Purchase Other"};
    for (int n = 1; n <= sections.size(); ++n) {
        const QStringList items = sections[n - 1].split(QLatin1Char(' '));
        for (int k = 1; k < items.size(); ++k) {
            const QString item = QStringLiteral("BudgetDetail/%1/%2/").arg(items[0], items[k]);
            f.append({item + QStringLiteral("Total"), QString::number(n * 1000 + k * 100)});
            f.append({item + QStringLiteral("State"), QString::number(n * 1000 + k * 10) + QStringLiteral(".5")});
        }
    }
    return f;
}

Fields fullUnit()
{
    Fields f = {
        {"ReportInfo/CorpID", "410101"}, {"ReportInfo/CorpName", "郑州博物馆"}, {"ReportInfo/ReportUser", "张三"},
        {"ReportInfo/ReportDate", "2006-04-01"}, {"Basic/CorpID", "410199"}, {"Basic/AreaCode", "410100"},
        {"Basic/Name", "郑州市博物馆（河南省郑州市文物管理局直属）"}, {"Basic/ShortName", "郑博"},
        {"Basic/Address", "郑州市嵩山南路168号"}, {"Basic/PostCode", "450052"}, {"Basic/PhoneNo", "0371-67441234"},
        {"Basic/FaxNo", "0371-67445678"}, {"Basic/Email", "office@example.cn"}, {"Basic/Type", "30"},
        {"Basic/Class", "21"}, {"Basic/Risc", "20"}, {"Reserve/DepotArea", "1250.5"},
        {"Reserve/TotalItemNum", "5000"}, {"Reserve/DamageDescription", "库房潮湿。\n青铜器有锈。"},
        {"Security/AreaInfo/CorpArea", "35000"}, {"Security/AreaInfo/ItemArea", "52000"},
        {"Security/StolenInfo/StolenTimes", "1"}, {"Security/StolenInfo/StolenItemNum", "3"},
        {"Construction/GreatSite/TotalArea", "810"}, {"Construction/GreatSite/CoreArea", "200"},
        {"Construction/GreatSite/RelicAge", "商代"}, {"Construction/GreatSite/RelicType", "城址"}};
    const QStringList classes = {"FirstClassItem 120 101 14 5 85.5", "SecondClassItem 800 702 78 20 0.1",
                                 "ThirdClassItem 3000 2903 88 9 0.2", "ValuableRelic 50 42 6 2 123456789.12"};
    const char* fields[] = {"TotalNum", "DetailNum/GoodNum", "DetailNum/SlightDamagedNum", "DetailNum/SevereDamagedNum", "FundDemand"};
    for (const QString& c : classes) {
        const QStringList v = c.split(QLatin1Char(' '));
        for (int i = 0; i < 5; ++i)
            f.append({QStringLiteral("Reserve/ItemDetail/%1/%2").arg(v[0], QLatin1String(fields[i])), v[i + 1]});
    }
    return f;
}

// A name with no place to break, texts of 10,000 characters, a URL, 12-digit amounts.
Fields stressReport()
{
    Fields f = fullReport();
    const QString name = QStringLiteral("古城墙北段东门城楼抢险加固").repeated(40).left(500);
    QString text;
    for (int i = 1; text.size() < 10000; ++i)
        text += QStringLiteral("第%1条：城墙东段墙体开裂，雨季渗水严重，需加固处理。%2").arg(i).arg(i % 40 ? QString() : QStringLiteral("\n"));
    const QString url = QStringLiteral("https://example.cn/%1/index.htm").arg(QString(300, QLatin1Char('a')));
    for (auto& [path, value] : f) {
        if (path.endsWith(QLatin1String("Name")))
            value = name;
        else if (path.endsWith(QLatin1String("/ProtectionContent")) || path.endsWith(QLatin1String("Problem")))
            value = text.left(10000);   // one in a table cell, one in a text block
        else if (path.endsWith(QLatin1String("Remark")) || path.endsWith(QLatin1String("RelicProtectionArea")))
            value = url;
        else if (path.contains(QLatin1String("BudgetDetail")) || path.contains(QLatin1String("Year")))
            value = value.section(QLatin1Char('.'), 0, 0).rightJustified(12, QLatin1Char('9')) + QStringLiteral(".99");
    }
    return f;
}

int writeSamples(const QString& folder)
{
    const std::tuple<const char*, Fields, const char*> samples[] = {
        {"report-full.xm", fullReport(), "report1"}, {"unit-full.dw", fullUnit(), "corpinfo"},
        {"report-stress.xm", stressReport(), "report1"}};
    QDir().mkpath(folder);
    for (const auto& [name, fields, kind] : samples) {
        // Saved and loaded back: the page is made from a file, as the program makes it.
        const QString file = folder + QLatin1Char('/') + QLatin1String(name);
        QFile page(file.section(QLatin1Char('.'), 0, -2) + QStringLiteral(".htm"));
        if (!SaveXmlDocument(filled(QByteArray(kind).append(".tpl"), fields), file)
            || !page.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", name);
        page.write(render(LoadXmlDocument(file), QByteArray(kind).append(".tps")).toUtf8());
    }
    return 0;
}

// How many times each value of `fields` prints: amounts as money, long texts whole.
void expectEachValueOnce(const QString& page, const Fields& fields, const QStringList& skip)
{
    const QStringList lines = visibleLines(page);
    for (const auto& [path, value] : fields) {
        if (std::any_of(skip.begin(), skip.end(), [&](const QString& s) { return path.contains(s); }))
            continue;
        const bool amount = path.contains(QLatin1String("Demand")) || path.contains(QLatin1String("Budget"));
        const QString shown = amount ? PageFunctions::money(value) : value;
        const qsizetype count = value.contains(QLatin1Char('\n'))
            ? page.count(QString(value).replace(QLatin1Char('<'), QLatin1String("&lt;")).replace(QLatin1Char('>'), QLatin1String("&gt;")))
            : lines.count(shown);
        QVERIFY2(count == 1, qPrintable(path + QStringLiteral(" printed %1 times as ").arg(count) + shown));
    }
}

} // namespace

class TestPageTotals : public QObject {
    Q_OBJECT
private slots:
    void moneyAndSums()
    {
        const std::pair<const char*, const char*> money[] = {
            {"1234567.5", "1,234,567.5"}, {"1200.50", "1,200.50"}, {"860", "860"}, {"123456789012", "123,456,789,012"},
            {"-1234.5", "-1,234.5"}, {"-123", "-123"}, {"", "0"}, {"0", "0"}, {"-0", "0"}, {"约五万", "0"},
            {"1,234", "1,234"}, {"１２３４５．６", "12,345.6"}, {".5", "0.5"}, {" +5000 ", "5,000"}};
        for (const auto& [typed, printed] : money)
            QCOMPARE(PageFunctions::money(typed), QString(printed));
        QCOMPARE(PageFunctions::sum({"0.1", "0.2"}), QString("0.3"));
        QCOMPARE(PageFunctions::sum({"123456789.12", "60"}), QString("123456849.12"));
        QCOMPARE(PageFunctions::sum({"1.5", "2.25", "3"}), QString("6.75"));        // as precise as the most precise addend
        QCOMPARE(PageFunctions::sum({"1.50", "1.50"}), QString("3.00"));
        QCOMPARE(PageFunctions::sum({"约五万", "", "-5", "2.5"}), QString("-2.5"));  // not an amount: 0
        QCOMPARE(PageFunctions::sum({}), QString("0"));
        // Nothing typed can end the CSS string, the rule or the style element.
        QCOMPARE(PageFunctions::cssString("a\"b\\c</style><x>&\nd"), QString("\"a\\22 b\\5c c\\3c /style\\3e \\3c x\\3e \\26 \\a d\""));
    }

    void totalsRows_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("expected");   // consecutive lines of the page
        QTest::newRow("0.1 + 0.2") << Fields{{"BasicInfo/ProjectType", "32"},
            {"BudgetDetail/DepotRepairment/Preparation/Total", "0.1"}, {"BudgetDetail/DepotRepairment/Preparation/State", "0.1"},
            {"BudgetDetail/DepotRepairment/Construction/Total", "0.2"}, {"BudgetDetail/DepotRepairment/Construction/State", "0.2"}}
            << "其他\n0\n0\n合计\n0.3\n0.3";
        QTest::newRow("123456789.12 + 60") << Fields{{"BasicInfo/ProjectType", "32"},
            {"BudgetDetail/DepotRepairment/Preparation/Total", "123456789.12"}, {"BudgetDetail/DepotRepairment/Preparation/State", "1.5"},
            {"BudgetDetail/DepotRepairment/Other/Total", "60"}, {"BudgetDetail/DepotRepairment/Other/State", "2"}}
            << "其他\n60\n2\n合计\n123,456,849.12\n3.5";
        QTest::newRow("years by row and column") << Fields{
            {"FundDemand/Demand/State/Year2006", "0.1"}, {"FundDemand/Demand/Local/Year2006", "0.2"},
            {"FundDemand/Demand/State/Year2010", "123456789.12"}, {"FundDemand/Demand/Local/Year2010", "60"},
            {"FundDemand/Demand/Total", "123456849.42"}}
            << "2006\n0.1\n0.2\n0.3\n2007\n0\n0\n0\n2008\n0\n0\n0\n2009\n0\n0\n0\n2010\n123,456,789.12\n60\n123,456,849.12\n"
               "合计\n123,456,789.22\n60.2\n123,456,849.42\n2006—2010年资金需求合计（填报数）\n123,456,849.42\n三、";
        QTest::newRow("funding since 1996") << Fields{{"FundDemand/Investment/State", "1200000"},
            {"FundDemand/Investment/Local", "0.5"}, {"FundDemand/Investment/Other", "abc"}}
            << "合计\n1,200,000\n0.5\n0\n1,200,000.5\n";
    }
    void totalsRows()
    {
        QFETCH(Fields, fields);
        QFETCH(QString, expected);
        const QString text = visible(render(filled("report1.tpl", fields), "report1.tps"));
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("※")));
    }

    void typedTotalThatDisagreesShowsBothFigures()
    {
        // Edited by hand: the 2006-2010 total no longer matches its years.
        const QString text = visible(render(filled("report1.tpl", {{"FundDemand/Demand/Total", "900"},
            {"FundDemand/Demand/State/Year2006", "500.5"}, {"FundDemand/Demand/Local/Year2009", "436"}}), "report1.tps"));
        QVERIFY2(text.contains(QStringLiteral("（填报数）\n900\n※ 与各年合计 936.5 不符")), qPrintable(text));
        const QString unit = visible(render(filled("corpinfo.tpl", {{"Reserve/TotalItemNum", "10"},
            {"Reserve/ItemDetail/FirstClassItem/TotalNum", "12"}}), "corpinfo.tps"));
        QVERIFY2(unit.contains(QStringLiteral("文物总数\n10\n※ 少于各类别总数合计 12")), qPrintable(unit));
    }

    void fullReportPrintsEveryValueOnceAndItsSums()
    {
        const QString page = render(filled("report1.tpl", fullReport()), "report1.tps");
        // The typed total equal to its sum, and the one-item section, print twice by design.
        expectEachValueOnce(page, fullReport(), {"ProjectType", "ProjectAttribute", "Demand/Total", "RelicPurchase"});
        const QString text = visible(page);
        QVERIFY(text.contains(QStringLiteral("其他\n1,600\n1,060.5\n合计\n8,100\n6,213.0\n考古发掘")));
        QVERIFY(text.contains(QStringLiteral("其他\n2,500\n2,050.5\n合计\n11,500\n10,152.5\n博物馆维修")));
        QVERIFY(text.contains(QStringLiteral("文物征集费\n98,765.4\n4,321\n合计\n98,765.4\n4,321\n")));
        QVERIFY(text.contains(QStringLiteral("0.25\n1,200,080.75\n")));
        QVERIFY(text.contains(QStringLiteral("合计\n6,000.85\n123,459,249.12\n123,465,249.97\n"
                                             "2006—2010年资金需求合计（填报数）\n123,465,249.97\n")));
        QVERIFY(!text.contains(QStringLiteral("※")));
        // Every budget section, the years (column and row), the funding since 1996 (column).
        QCOMPARE(visibleLines(page).count(QStringLiteral("合计")), 8 + 2 + 1);
    }

    void fullUnitPrintsEveryValueOnceAndItsSums()
    {
        const QString page = render(filled("corpinfo.tpl", fullUnit()), "corpinfo.tps");
        expectEachValueOnce(page, fullUnit(), {"Basic/Type", "Basic/Class", "Basic/Risc"});
        QVERIFY(visible(page).contains(QStringLiteral("单位类型\n博物馆\n单位性质\n省级博物馆\n单位风险等级\n二级风险单位")));
        QVERIFY(visible(page).contains(QStringLiteral("50\n42\n6\n2\n123,456,789.12\n合计\n3970\n3748\n186\n36\n123,456,874.92")));
        QVERIFY(!page.contains(QStringLiteral("※")));
    }

    void bothPagesShareTheirFrame()
    {
        const QString report = render(filled("report1.tpl", stressReport()), "report1.tps");
        const QString unit = render(filled("corpinfo.tpl", fullUnit()), "corpinfo.tps");
        for (const QString& page : {report, unit}) {
            QVERIFY(page.contains(QStringLiteral("content: \"第 \" counter(page) \" 页 共 \" counter(pages) \" 页\"")));
            QVERIFY(page.contains(QStringLiteral("@page :first { @top-center { content: none; }")));
            QVERIFY(page.contains(QStringLiteral("overflow-wrap: anywhere")));
            QVERIFY(visible(page).endsWith(QStringLiteral("单位负责人（签字）：\n填报人（签字）：\n填报单位（盖章）：\n日期：　　　　年　　月　　日")));
        }
        // From the second sheet on, the header names the project, shortened, in one CSS string.
        static const QRegularExpression header(QStringLiteral("@top-center \\{\\s*content: (\"[^\"]*\");"));
        QCOMPARE(header.match(report).captured(1), QStringLiteral("\"项目名称：%1…　　项目编号：2006-007\"")
                                                       .arg(QStringLiteral("古城墙北段东门城楼抢险加固").repeated(3).left(30)));
        QCOMPARE(header.match(unit).captured(1), QStringLiteral("\"单位名称：郑州博物馆　　单位编码：410101\""));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (const QString folder = qEnvironmentVariable("VANTREL_SAMPLE_PAGES"); !folder.isEmpty())
        return writeSamples(folder);
    TestPageTotals test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_page_totals.moc"
