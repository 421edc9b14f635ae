// Totals, money and discrepancies on the printed pages, computed exactly while the page is
// made. With VANTREL_SAMPLE_PAGES=<folder> it instead writes sample documents there and
// their pages (scripts/print-pages.sh prints them).
#include "core/PageFunctions.h"
#include "store/Module1.h"
#include "store/XsltTransformer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Module1;

namespace {

using Fields = QList<std::pair<QString, QString>>;

XmlDocumentPtr filled(const QString& skeleton, const Fields& fields)
{
    XmlDocumentPtr doc = LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + skeleton);
    if (!GetLastErrorText().isEmpty())
        qFatal("%s does not load: %s", qPrintable(skeleton), qPrintable(GetLastErrorText()));
    const XmlNode root = documentElement(doc);
    for (const auto& [xpath, value] : fields) {
        SetNodeText(root, xpath, value);
        if (!xpath.contains(QLatin1Char('@')) && GetNodeText(root, xpath) != TrimSpaces(value))
            qFatal("no node at %s", qPrintable(xpath));
    }
    return doc;
}

QString render(const XmlDocumentPtr& doc, const QString& stylesheet)
{
    const XsltTransformer::Result result = XsltTransformer::transform(
        doc, LoadXmlDocument(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + stylesheet));
    if (!result.ok)
        qFatal("%s failed: %s", qPrintable(stylesheet), qPrintable(result.error));
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

QString visible(const QString& page)
{
    return visibleLines(page).join(QLatin1Char('\n'));
}

const QString kReport = QStringLiteral("report1.tpl");
const QString kReportStyle = QStringLiteral("report1.tps");
const QString kUnit = QStringLiteral("corpinfo.tpl");
const QString kUnitStyle = QStringLiteral("corpinfo.tps");

QString budget(const char* path)
{
    return QStringLiteral("//Report/BudgetDetail/") + QLatin1String(path);
}

// Every field of a report with a value no other field has; amounts as a clerk types them.
Fields fullReport()
{
    Fields f = {
        {"//Report/ReportInfo/CorpID", "410101"},
        {"//Report/ReportInfo/CorpName", QStringLiteral("郑州市文物保护中心")},
        {"//Report/ReportInfo/ReportUser", QStringLiteral("王镕")},
        {"//Report/ReportInfo/ReportDate", "2006-03-15"},
        {"//Report/BasicInfo/ProjectID", "2006-007"},
        {"//Report/BasicInfo/ProjectName", QStringLiteral("古城墙北段及东门城楼抢险加固与环境整治工程")},
        {"//Report/BasicInfo/ProjectType", "12"},
        {"//Report/BasicInfo/ProjectType/@dict", QStringLiteral("古建维修")},
        {"//Report/BasicInfo/ProjectAttribute", "2"},
        {"//Report/BasicInfo/ProjectAttribute/@dict", QStringLiteral("维护性")},
        {"//Report/BasicInfo/SalvageItem/NewDepotArea", "350.5"},
        {"//Report/BasicInfo/SalvageItem/ProtectionContent", QStringLiteral("恒温恒湿设备\n监控系统")},
        {"//Report/BasicInfo/SalvageItem/RelicProtectionArea", QStringLiteral("1200平方米")},
        {"//Report/BasicInfo/SalvageItem/RelicProtectionContent", QStringLiteral("围栏 & 步道")},
        {"//Report/BasicInfo/AssitantItem/ProtectionArea", "860"},
        {"//Report/BasicInfo/PreserveContent", QStringLiteral("1997年修缮东门。\n2001年加固城墙基础。")},
        {"//Report/BasicInfo/CurrentProblem", QStringLiteral("墙体开裂 <b>严重</b>\n排水不畅")},
        {"//Report/BasicInfo/ProjectContent", QStringLiteral("修缮北段城墙\n建设排水系统")},
        {"//Report/BasicInfo/Remark", QStringLiteral("资料附后")},
        {"//Report/FundDemand/Investment/State", "1200000"},
        {"//Report/FundDemand/Investment/Local", "80.5"},
        {"//Report/FundDemand/Investment/Other", "0.25"},
        {"//Report/FundDemand/Demand/Total", "123465249.97"},
    };
    const char* central[] = {"0.1", "0.2", "1000", "2000", "3000.55"};
    const char* local[] = {"123456789.12", "60", "700", "800", "900"};
    for (int i = 0; i < 5; ++i) {
        f.append({QStringLiteral("//Report/FundDemand/Demand/State/Year%1").arg(2006 + i), QLatin1String(central[i])});
        f.append({QStringLiteral("//Report/FundDemand/Demand/Local/Year%1").arg(2006 + i), QLatin1String(local[i])});
    }
    // Each section's items: n*10+k as total and share n*10+k.5, so no two cells print alike.
    const char* sections[][7] = {
        {"RelicRepairment", "Preparation", "Construction", "Estate", "Enviroment", "Traffic", "Other"},
        {"UnEarth", "Preparation", "UnEarth", "Report", "Protection", "Other", nullptr},
        {"DepotRepairment", "Preparation", "Construction", "Other", nullptr, nullptr, nullptr},
        {"FireSecurity", "Design", "Purchase", "Construction", "Other", nullptr, nullptr},
        {"RelicProtection", "Design", "Repairment", "Other", nullptr, nullptr, nullptr},
        {"GreatSiteProtection", "Construction", "Purchase", "Other", nullptr, nullptr, nullptr},
        {"DepotConstruction", "Construction", "Purchase", "Other", nullptr, nullptr, nullptr},
    };
    int n = 1;
    for (const auto& s : sections) {
        for (int k = 1; k < 7 && s[k]; ++k) {
            const QString item = QStringLiteral("//Report/BudgetDetail/%1/%2/").arg(QLatin1String(s[0]), QLatin1String(s[k]));
            f.append({item + QStringLiteral("Total"), QString::number(n * 1000 + k * 100)});
            f.append({item + QStringLiteral("State"), QString::number(n * 1000 + k * 10) + QStringLiteral(".5")});
        }
        ++n;
    }
    f.append({budget("RelicPurchase/Total"), "98765.4"});
    f.append({budget("RelicPurchase/State"), "4321"});
    return f;
}

Fields fullUnit()
{
    Fields f = {
        {"//CorpInfo/ReportInfo/CorpID", "410101"},
        {"//CorpInfo/ReportInfo/CorpName", QStringLiteral("郑州博物馆")},
        {"//CorpInfo/ReportInfo/ReportUser", QStringLiteral("张三")},
        {"//CorpInfo/ReportInfo/ReportDate", "2006-04-01"},
        {"//CorpInfo/Basic/CorpID", "410199"},
        {"//CorpInfo/Basic/AreaCode", "410100"},
        {"//CorpInfo/Basic/Name", QStringLiteral("郑州市博物馆（河南省郑州市文物管理局直属）")},
        {"//CorpInfo/Basic/ShortName", QStringLiteral("郑博")},
        {"//CorpInfo/Basic/Address", QStringLiteral("郑州市嵩山南路168号")},
        {"//CorpInfo/Basic/PostCode", "450052"},
        {"//CorpInfo/Basic/PhoneNo", "0371-67441234"},
        {"//CorpInfo/Basic/FaxNo", "0371-67445678"},
        {"//CorpInfo/Basic/Email", "office@example.cn"},
        {"//CorpInfo/Basic/Type", "30"},
        {"//CorpInfo/Basic/Class", "21"},
        {"//CorpInfo/Basic/Risc", "20"},
        {"//CorpInfo/Reserve/DepotArea", "1250.5"},
        {"//CorpInfo/Reserve/TotalItemNum", "5000"},
        {"//CorpInfo/Reserve/DamageDescription", QStringLiteral("库房潮湿。\n青铜器有锈。")},
        {"//CorpInfo/Security/AreaInfo/CorpArea", "35000"},
        {"//CorpInfo/Security/AreaInfo/ItemArea", "52000"},
        {"//CorpInfo/Security/StolenInfo/StolenTimes", "1"},
        {"//CorpInfo/Security/StolenInfo/StolenItemNum", "3"},
        {"//CorpInfo/Construction/GreatSite/TotalArea", "810"},
        {"//CorpInfo/Construction/GreatSite/CoreArea", "200"},
        {"//CorpInfo/Construction/GreatSite/RelicAge", QStringLiteral("商代")},
        {"//CorpInfo/Construction/GreatSite/RelicType", QStringLiteral("城址")},
    };
    const char* classes[] = {"FirstClassItem", "SecondClassItem", "ThirdClassItem", "ValuableRelic"};
    const char* counts[4][5] = {{"120", "101", "14", "5", "85.5"},
                                {"800", "702", "78", "20", "0.1"},
                                {"3000", "2903", "88", "9", "0.2"},
                                {"50", "42", "6", "2", "123456789.12"}};
    for (int i = 0; i < 4; ++i) {
        const QString c = QStringLiteral("//CorpInfo/Reserve/ItemDetail/") + QLatin1String(classes[i]);
        f.append({c + QStringLiteral("/TotalNum"), QLatin1String(counts[i][0])});
        f.append({c + QStringLiteral("/DetailNum/GoodNum"), QLatin1String(counts[i][1])});
        f.append({c + QStringLiteral("/DetailNum/SlightDamagedNum"), QLatin1String(counts[i][2])});
        f.append({c + QStringLiteral("/DetailNum/SevereDamagedNum"), QLatin1String(counts[i][3])});
        f.append({c + QStringLiteral("/FundDemand"), QLatin1String(counts[i][4])});
    }
    return f;
}

// The stress case: a name with no place to break, texts of 10,000 characters, 12-digit amounts.
Fields stressReport()
{
    Fields f = fullReport();
    QString name;
    while (name.size() < 500)
        name += QStringLiteral("古城墙北段东门城楼抢险加固");
    name.truncate(500);
    QString text;
    for (int i = 1; text.size() < 10000; ++i)
        text += QStringLiteral("第%1条：城墙东段墙体开裂，雨季渗水严重，需加固处理。").arg(i)
                + (i % 40 == 0 ? QStringLiteral("\n") : QString());
    text.truncate(10000);
    const QString url = QStringLiteral("https://example.cn/") + QString(300, QLatin1Char('a')) + QStringLiteral("/index.htm");
    for (auto& [xpath, value] : f) {
        if (xpath.endsWith(QLatin1String("ProjectName")) || xpath.endsWith(QLatin1String("CorpName")))
            value = name;
        else if (xpath.endsWith(QLatin1String("/ProtectionContent")) || xpath.endsWith(QLatin1String("Problem")))
            value = text;   // one in a table cell, one in a text block
        else if (xpath.endsWith(QLatin1String("Remark")) || xpath.endsWith(QLatin1String("RelicProtectionArea")))
            value = url;
        else if (xpath.contains(QLatin1String("BudgetDetail")) || xpath.contains(QLatin1String("Year")))
            value = value.section(QLatin1Char('.'), 0, 0).rightJustified(12, QLatin1Char('9')) + QStringLiteral(".99");
    }
    return f;
}

int writeSamples(const QString& folder)
{
    struct Sample { const char* name; QString skeleton; QString style; Fields fields; const char* extension; };
    const Sample samples[] = {
        {"report-full", kReport, kReportStyle, fullReport(), ".xm"},
        {"unit-full", kUnit, kUnitStyle, fullUnit(), ".dw"},
        {"report-stress", kReport, kReportStyle, stressReport(), ".xm"},
    };
    QDir().mkpath(folder);
    for (const Sample& s : samples) {
        // Saved and loaded back, so the page is made from a file as the program makes it.
        const QString file = folder + QLatin1Char('/') + QLatin1String(s.name) + QLatin1String(s.extension);
        if (!SaveXmlDocument(filled(s.skeleton, s.fields), file))
            qFatal("cannot save %s: %s", qPrintable(file), qPrintable(GetLastErrorText()));
        const XmlDocumentPtr saved = LoadXmlDocument(file);
        QFile page(folder + QLatin1Char('/') + QLatin1String(s.name) + QStringLiteral(".htm"));
        if (!GetLastErrorText().isEmpty() || !page.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the page of %s", s.name);
        page.write(render(saved, s.style).toUtf8());
        qInfo("%s", qPrintable(page.fileName()));
    }
    return 0;
}

} // namespace

class TestPageTotals : public QObject {
    Q_OBJECT
private slots:
    void money_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("printed");
        QTest::newRow("groups") << "1234567.5" << "1,234,567.5";
        QTest::newRow("typed decimals kept") << "1200.50" << "1,200.50";
        QTest::newRow("three digits") << "860" << "860";
        QTest::newRow("twelve digits") << "123456789012" << "123,456,789,012";
        QTest::newRow("negative") << "-1234.5" << "-1,234.5";
        QTest::newRow("negative short") << "-123" << "-123";
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("minus zero") << "-0" << "0";
        QTest::newRow("not a number") << QStringLiteral("约五万") << "0";
        QTest::newRow("already grouped") << "1,234" << "1,234";
        QTest::newRow("full-width") << QStringLiteral("１２３４５．６") << "12,345.6";
        QTest::newRow("point first") << ".5" << "0.5";
        QTest::newRow("spaces and plus") << " +5000 " << "5,000";
    }
    void money()
    {
        QFETCH(QString, typed);
        QFETCH(QString, printed);
        QCOMPARE(PageFunctions::money(typed), printed);
    }

    void sum_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("total");
        QTest::newRow("0.1 + 0.2") << QStringList{"0.1", "0.2"} << "0.3";
        QTest::newRow("large and whole") << QStringList{"123456789.12", "60"} << "123456849.12";
        QTest::newRow("most precise addend") << QStringList{"1.5", "2.25", "3"} << "6.75";
        QTest::newRow("typed zeros kept") << QStringList{"1.50", "1.50"} << "3.00";
        QTest::newRow("not numbers count 0") << QStringList{QStringLiteral("约五万"), "", "7"} << "7";
        QTest::newRow("negatives") << QStringList{"-5", "2.5"} << "-2.5";
        QTest::newRow("nothing") << QStringList() << "0";
        QTest::newRow("past twelve digits") << QStringList{"999999999999.99", "0.01"} << "1000000000000.00";
    }
    void sum()
    {
        QFETCH(QStringList, amounts);
        QFETCH(QString, total);
        QCOMPARE(PageFunctions::sum(amounts), total);
    }

    void compareAndCssString()
    {
        QCOMPARE(PageFunctions::compare(QStringLiteral("0.3"), PageFunctions::sum({"0.1", "0.2"})), 0);
        QCOMPARE(PageFunctions::compare(QStringLiteral("1,000"), QStringLiteral("999.99")), 1);
        QCOMPARE(PageFunctions::compare(QStringLiteral("abc"), QStringLiteral("0.01")), -1);
        // Nothing typed can end the string, the rule or the style element.
        const QString css = PageFunctions::cssString(QStringLiteral("a\"b\\c</style><x>&\nd"));
        QCOMPARE(css, QStringLiteral("\"a\\22 b\\5c c\\3c /style\\3e \\3c x\\3e \\26 \\a d\""));
    }

    void reportTotals_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("expected");   // consecutive lines of the page
        QTest::newRow("0.1 + 0.2 in a budget table")
            << Fields{{"//Report/BasicInfo/ProjectType", "32"},
                      {budget("DepotRepairment/Preparation/Total"), "0.1"}, {budget("DepotRepairment/Preparation/State"), "0.1"},
                      {budget("DepotRepairment/Construction/Total"), "0.2"}, {budget("DepotRepairment/Construction/State"), "0.2"}}
            << QStringLiteral("其他\n0\n0\n合计\n0.3\n0.3");
        QTest::newRow("123456789.12 + 60 in a budget table")
            << Fields{{"//Report/BasicInfo/ProjectType", "32"},
                      {budget("DepotRepairment/Preparation/Total"), "123456789.12"}, {budget("DepotRepairment/Preparation/State"), "1.5"},
                      {budget("DepotRepairment/Other/Total"), "60"}, {budget("DepotRepairment/Other/State"), "2"}}
            << QStringLiteral("其他\n60\n2\n合计\n123,456,849.12\n3.5");
        QTest::newRow("a year's central and local, each column and all")
            << Fields{{"//Report/FundDemand/Demand/State/Year2006", "0.1"}, {"//Report/FundDemand/Demand/Local/Year2006", "0.2"},
                      {"//Report/FundDemand/Demand/State/Year2010", "123456789.12"}, {"//Report/FundDemand/Demand/Local/Year2010", "60"},
                      {"//Report/FundDemand/Demand/Total", "123456849.42"}}
            << QStringLiteral("2006\n0.1\n0.2\n0.3\n2007\n0\n0\n0\n2008\n0\n0\n0\n2009\n0\n0\n0\n"
                              "2010\n123,456,789.12\n60\n123,456,849.12\n"
                              "合计\n123,456,789.22\n60.2\n123,456,849.42\n"
                              "2006—2010年资金需求合计（填报数）\n123,456,849.42\n三、项目资金预算情况");
        QTest::newRow("funding since 1996 adds up")
            << Fields{{"//Report/FundDemand/Investment/State", "1200000"}, {"//Report/FundDemand/Investment/Local", "0.5"},
                      {"//Report/FundDemand/Investment/Other", "abc"}}
            << QStringLiteral("合计\n1,200,000\n0.5\n0\n1,200,000.5\n");
    }
    void reportTotals()
    {
        QFETCH(Fields, fields);
        QFETCH(QString, expected);
        const QString text = visible(render(filled(kReport, fields), kReportStyle));
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("※")));
    }

    void typedTotalThatDisagreesShowsBothFigures()
    {
        // Edited by hand: the 2006-2010 total no longer matches its years.
        const Fields fields = {{"//Report/FundDemand/Demand/Total", "900"},
                               {"//Report/FundDemand/Demand/State/Year2006", "500.5"},
                               {"//Report/FundDemand/Demand/Local/Year2009", "436"}};
        const QString text = visible(render(filled(kReport, fields), kReportStyle));
        QVERIFY2(text.contains(QStringLiteral("2006—2010年资金需求合计（填报数）\n900\n※ 与各年合计 936.5 不符")), qPrintable(text));

        const QString unit = visible(render(filled(kUnit, {{"//CorpInfo/Reserve/TotalItemNum", "10"},
                                                          {"//CorpInfo/Reserve/ItemDetail/FirstClassItem/TotalNum", "12"}}),
                                            kUnitStyle));
        QVERIFY2(unit.contains(QStringLiteral("文物总数\n10\n※ 少于各类别总数合计 12")), qPrintable(unit));
    }

    void everyValueOfAFullReportPrintsOnce()
    {
        const QString page = render(filled(kReport, fullReport()), kReportStyle);
        const QStringList lines = visibleLines(page);
        for (const auto& [xpath, value] : fullReport()) {
            const bool amount = xpath.contains(QLatin1String("FundDemand")) || xpath.contains(QLatin1String("BudgetDetail"));
            const bool coded = xpath.contains(QLatin1String("ProjectType")) || xpath.contains(QLatin1String("ProjectAttribute"));
            // A typed total equal to its sum, and the one-item section, print twice: checked below.
            if (coded || xpath.endsWith(QLatin1String("Demand/Total")) || xpath.contains(QLatin1String("RelicPurchase")))
                continue;
            const QString shown = amount ? PageFunctions::money(value) : value;
            // Long texts print whole, their lines kept.
            const qsizetype count = value.contains(QLatin1Char('\n'))
                ? page.count(QString(value).replace(QLatin1Char('<'), QLatin1String("&lt;")).replace(QLatin1Char('>'), QLatin1String("&gt;")))
                : lines.count(shown);
            QVERIFY2(count == 1, qPrintable(xpath + QStringLiteral(" printed %1 times as ").arg(count) + shown));
        }
        const QString text = lines.join(QLatin1Char('\n'));
        // Sections in the form's order, each closed by its sums.
        QVERIFY(text.contains(QStringLiteral("其他\n1,600\n1,060.5\n合计\n8,100\n6,213")));        // 文保维修遗址保护
        QVERIFY(text.contains(QStringLiteral("其他\n2,500\n2,050.5\n合计\n11,500\n10,152.5")));   // 考古发掘
        QVERIFY(text.contains(QStringLiteral("文物征集费\n98,765.4\n4,321\n合计\n98,765.4\n4,321")));
        QVERIFY(text.contains(QStringLiteral("合计\n6,000.85\n123,459,249.12\n123,465,249.97\n"
                                             "2006—2010年资金需求合计（填报数）\n123,465,249.97\n")));
        QVERIFY(!text.contains(QStringLiteral("※")));
        // Every budget section, the years (column and row), the funding since 1996 (column).
        QCOMPARE(lines.count(QStringLiteral("合计")), 8 + 2 + 1);
    }

    void everyValueOfAFullUnitPrintsOnce()
    {
        const QString page = render(filled(kUnit, fullUnit()), kUnitStyle);
        const QStringList lines = visibleLines(page);
        for (const auto& [xpath, value] : fullUnit()) {
            if (xpath.endsWith(QLatin1String("/Type")) || xpath.endsWith(QLatin1String("/Class")) || xpath.endsWith(QLatin1String("/Risc")))
                continue;
            const QString shown = xpath.endsWith(QLatin1String("FundDemand")) ? PageFunctions::money(value) : value;
            const qsizetype count = value.contains(QLatin1Char('\n')) ? page.count(value) : lines.count(shown);
            QVERIFY2(count == 1, qPrintable(xpath + QStringLiteral(" printed %1 times as ").arg(count) + shown));
        }
        const QString text = lines.join(QLatin1Char('\n'));
        QVERIFY(text.contains(QStringLiteral("单位类型\n博物馆\n单位性质\n省级博物馆\n单位风险等级\n二级风险单位")));
        QVERIFY2(text.contains(QStringLiteral("50\n42\n6\n2\n123,456,789.12\n合计\n3970\n3748\n186\n36\n123,456,874.92")),
                 qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("※")));
    }

    void bothPagesShareTheirFrame()
    {
        const QString report = render(filled(kReport, stressReport()), kReportStyle);
        const QString unit = render(filled(kUnit, fullUnit()), kUnitStyle);
        for (const QString& page : {report, unit}) {
            QVERIFY(page.contains(QStringLiteral("content: \"第 \" counter(page) \" 页 共 \" counter(pages) \" 页\"")));
            QVERIFY(page.contains(QStringLiteral("@page :first { @top-center { content: none; }")));
            QVERIFY(page.contains(QStringLiteral("font-family: \"Noto Serif CJK SC\"")));
            QVERIFY(visible(page).endsWith(QStringLiteral("单位负责人（签字）：\n填报人（签字）：\n填报单位（盖章）：\n日期：　　　　年　　月　　日")));
        }
        // The running header names the project, shortened, inside one CSS string.
        static const QRegularExpression header(QStringLiteral("@top-center \\{\\s*content: (\"[^\"]*\");"));
        const QString running = header.match(report).captured(1);
        QVERIFY2(running.startsWith(QStringLiteral("\"项目名称：古城墙北段")), qPrintable(running));
        QVERIFY(running.endsWith(QStringLiteral("…　　项目编号：2006-007\"")));
        QVERIFY(running.size() < 80);
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
