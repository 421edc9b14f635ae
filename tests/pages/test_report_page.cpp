// The printed page of a budget report, made by templates/report1.tps.
#include "TestDocuments.h"
#include "store/Settings.h"
#include "core/ReportPage.h"
#include "core/XsltTransformer.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

QString templatePath(const QString& name)
{
    return QStringLiteral(VANTREL_TEMPLATES_DIR "/") + name;
}

XmlDocumentPtr blankReport()
{
    XmlDocumentPtr doc = LoadXmlDocument(templatePath(QStringLiteral("report1.tpl")));
    if (!GetLastErrorText().isEmpty())
        qFatal("the report template does not load: %s", qPrintable(GetLastErrorText()));
    return doc;
}

void set(const XmlDocumentPtr& doc, const QString& xpath, const QString& value)
{
    const XmlNode root = documentElement(doc);
    SetNodeText(root, xpath, value);
    // A mistyped path would leave the field at its template value and weaken the test.
    if (!xpath.endsWith(QLatin1String("/@dict")) && GetNodeText(root, xpath) != TrimSpaces(value))
        qFatal("no node at %s", qPrintable(xpath));
}

XsltTransformer::Result render(const XmlDocumentPtr& report)
{
    XmlDocumentPtr style = LoadXmlDocument(templatePath(QStringLiteral("report1.tps")));
    if (!GetLastErrorText().isEmpty())
        qFatal("the page stylesheet does not load: %s", qPrintable(GetLastErrorText()));
    return XsltTransformer::transform(report, style);
}

QString renderText(const XmlDocumentPtr& report)
{
    const XsltTransformer::Result result = render(report);
    if (!result.ok)
        qFatal("transformation failed: %s", qPrintable(result.error));
    return QString::fromUtf8(result.page);
}

QString decodeEntities(QString text)
{
    static const QRegularExpression numeric(QStringLiteral("&#(x?)([0-9A-Fa-f]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = numeric.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const char32_t code = m.captured(2).toUInt(nullptr, m.captured(1).isEmpty() ? 10 : 16);
        out += QString::fromUcs4(&code, 1);
        last = m.capturedEnd();
    }
    out += text.mid(last);
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    out.replace(QLatin1String("&#39;"), QLatin1String("'"));
    out.replace(QLatin1String("&nbsp;"), QString(QChar(0xa0)));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

// What a reader sees in the body: every tag ends a line, blank lines dropped.
QString visibleText(const QString& page)
{
    const qsizetype start = page.indexOf(QLatin1String("<body"));
    const qsizetype end = page.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return {};
    QString body = page.mid(start, end - start);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    body.replace(tag, QStringLiteral("\n"));
    QStringList lines;
    for (const QString& line : decodeEntities(body).split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty())
            lines << t;
    }
    return lines.join(QLatin1Char('\n'));
}

// The budget section captions, in the order the page shows them.
QStringList sectionsShown(const QString& page)
{
    static const QStringList captions = {
        QStringLiteral("文保维修遗址保护"), QStringLiteral("考古发掘"), QStringLiteral("博物馆维修"),
        QStringLiteral("文物征集"), QStringLiteral("安全消防"), QStringLiteral("藏品保护"),
        QStringLiteral("大遗址保护设施"), QStringLiteral("文物库房建设")};
    static const QRegularExpression heading(QStringLiteral("<h3>([^<]*)</h3>"));
    QStringList shown;
    for (auto it = heading.globalMatch(page); it.hasNext();) {
        const QString caption = it.next().captured(1);
        if (captions.contains(caption))
            shown << caption;
    }
    return shown;
}

// Every field of a report, filled with distinct values a clerk might type.
XmlDocumentPtr fullReport()
{
    XmlDocumentPtr doc = blankReport();
    const QList<std::pair<QString, QString>> fields = {
        {QStringLiteral("//Report/ReportInfo/CorpID"), QStringLiteral("410101")},
        {QStringLiteral("//Report/ReportInfo/CorpName"), QStringLiteral("郑州市𠀀文物保护中心</title>")},
        {QStringLiteral("//Report/ReportInfo/ReportUser"), QStringLiteral("王镕")},
        {QStringLiteral("//Report/ReportInfo/ReportDate"), QStringLiteral("2006-03-15")},
        {QStringLiteral("//Report/BasicInfo/ProjectID"), QStringLiteral("2006-007")},
        {QStringLiteral("//Report/BasicInfo/ProjectName"), QStringLiteral("<script>alert(1)</script>古城墙维修")},
        {QStringLiteral("//Report/BasicInfo/ProjectType"), QStringLiteral("12")},
        {QStringLiteral("//Report/BasicInfo/ProjectType/@dict"), QStringLiteral("古建维修")},
        {QStringLiteral("//Report/BasicInfo/ProjectAttribute"), QStringLiteral("2")},
        {QStringLiteral("//Report/BasicInfo/ProjectAttribute/@dict"), QStringLiteral("维护性")},
        {QStringLiteral("//Report/BasicInfo/SalvageItem/NewDepotArea"), QStringLiteral("350.5")},
        {QStringLiteral("//Report/BasicInfo/SalvageItem/ProtectionContent"), QStringLiteral("恒温恒湿设备\n监控系统")},
        {QStringLiteral("//Report/BasicInfo/SalvageItem/RelicProtectionArea"), QStringLiteral("1200平方米")},
        {QStringLiteral("//Report/BasicInfo/SalvageItem/RelicProtectionContent"), QStringLiteral("围栏 & 步道")},
        {QStringLiteral("//Report/BasicInfo/AssitantItem/ProtectionArea"), QStringLiteral("860")},
        {QStringLiteral("//Report/BasicInfo/PreserveContent"),
         QStringLiteral("1997年修缮东门。\n2001年加固城墙基础。\n2004年整治周边环境。")},
        {QStringLiteral("//Report/BasicInfo/CurrentProblem"), QStringLiteral("墙体开裂 <b>严重</b>\n排水不畅")},
        {QStringLiteral("//Report/BasicInfo/ProjectContent"), QStringLiteral("修缮北段城墙 㐀\n建设排水系统")},
        {QStringLiteral("//Report/BasicInfo/Remark"), QStringLiteral("资料附后 \"见附件\"")},
        {QStringLiteral("//Report/FundDemand/Investment/State"), QStringLiteral("120")},
        {QStringLiteral("//Report/FundDemand/Investment/Local"), QStringLiteral("80.5")},
        {QStringLiteral("//Report/FundDemand/Investment/Other"), QStringLiteral("10")},
        {QStringLiteral("//Report/FundDemand/Demand/Total"), QStringLiteral("900")},
        {QStringLiteral("//Report/FundDemand/Demand/State/Year2006"), QStringLiteral("101")},
        {QStringLiteral("//Report/FundDemand/Demand/State/Year2007"), QStringLiteral("102")},
        {QStringLiteral("//Report/FundDemand/Demand/State/Year2008"), QStringLiteral("103")},
        {QStringLiteral("//Report/FundDemand/Demand/State/Year2009"), QStringLiteral("104")},
        {QStringLiteral("//Report/FundDemand/Demand/State/Year2010"), QStringLiteral("105")},
        {QStringLiteral("//Report/FundDemand/Demand/Local/Year2006"), QStringLiteral("71")},
        {QStringLiteral("//Report/FundDemand/Demand/Local/Year2007"), QStringLiteral("72")},
        {QStringLiteral("//Report/FundDemand/Demand/Local/Year2008"), QStringLiteral("73")},
        {QStringLiteral("//Report/FundDemand/Demand/Local/Year2009"), QStringLiteral("74")},
        {QStringLiteral("//Report/FundDemand/Demand/Local/Year2010"), QStringLiteral("75")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/Total"), QStringLiteral("20")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Preparation/State"), QStringLiteral("11")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Construction/Total"), QStringLiteral("300")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Construction/State"), QStringLiteral("200")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Estate/Total"), QStringLiteral("40")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Estate/State"), QStringLiteral("12")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Enviroment/Total"), QStringLiteral("50")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Enviroment/State"), QStringLiteral("13")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Traffic/Total"), QStringLiteral("60.25")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Traffic/State"), QStringLiteral("14")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Other/Total"), QStringLiteral("70")},
        {QStringLiteral("//Report/BudgetDetail/RelicRepairment/Other/State"), QStringLiteral("15")},
        {QStringLiteral("//Report/BudgetDetail/FireSecurity/Other/Total"), QStringLiteral("16")},
    };
    for (const auto& [xpath, value] : fields)
        set(doc, xpath, value);
    return doc;
}

} // namespace

class TestReportPage : public QObject {
    Q_OBJECT
private slots:
    void fullReportShowsEveryLabelAndValue()
    {
        const XsltTransformer::Result result = render(fullReport());
        QVERIFY2(result.ok, qPrintable(result.error));
        // VANTREL_PAGE_OUT=/path/page.htm keeps the page for a look in the browser.
        if (const QByteArray out = qgetenv("VANTREL_PAGE_OUT"); !out.isEmpty()) {
            QFile file(QString::fromLocal8Bit(out));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(result.page);
            // A second page that runs over several sheets, to look at the page breaks.
            XmlDocumentPtr doc = fullReport();
            QString many;
            for (int i = 1; i <= 45; ++i)
                many += QStringLiteral("第%1条：城墙东段墙体开裂，雨季渗水严重，需加固处理。\n").arg(i);
            set(doc, QStringLiteral("//Report/BasicInfo/CurrentProblem"), many);
            for (const char* section : {"UnEarth/Other", "DepotRepairment/Other", "RelicProtection/Design",
                                        "GreatSiteProtection/Other", "DepotConstruction/Purchase"})
                set(doc, QStringLiteral("//Report/BudgetDetail/") + QLatin1String(section) + QStringLiteral("/Total"),
                    QStringLiteral("1234567.89"));
            QFile longFile(QString::fromLocal8Bit(out) + QStringLiteral(".long.htm"));
            QVERIFY(longFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            longFile.write(render(doc).page);
            QFile blankFile(QString::fromLocal8Bit(out) + QStringLiteral(".blank.htm"));
            QVERIFY(blankFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            blankFile.write(render(blankReport()).page);
        }
        // The header band carries unit, filler, date and project code; amounts print as money
        // and every table of figures closes with its sums.
        const QStringList expected = {
            QStringLiteral("文物保护专项经费项目预算申报表"),
            QStringLiteral("单位名称"), QStringLiteral("郑州市𠀀文物保护中心</title>"),
            QStringLiteral("单位编号"), QStringLiteral("410101"),
            QStringLiteral("填报人"), QStringLiteral("王镕"),
            QStringLiteral("填报日期"), QStringLiteral("2006-03-15"),
            QStringLiteral("项目编号"), QStringLiteral("2006-007"),
            QStringLiteral("一、项目基本情况"),
            QStringLiteral("项目名称"), QStringLiteral("<script>alert(1)</script>古城墙维修"),
            QStringLiteral("项目类别"), QStringLiteral("古建维修"),
            QStringLiteral("项目性质"), QStringLiteral("维护性"),
            QStringLiteral("抢救性文物保护措施建设项目"),
            QStringLiteral("新增库房面积"), QStringLiteral("350.5"),
            QStringLiteral("遗址保护设施建设规模"), QStringLiteral("1200平方米"),
            QStringLiteral("保护设施设备内容"), QStringLiteral("恒温恒湿设备"), QStringLiteral("监控系统"),
            QStringLiteral("遗址保护设施建设内容"), QStringLiteral("围栏 & 步道"),
            QStringLiteral("文物保护专项补助经费项目"),
            QStringLiteral("保护维修面积"), QStringLiteral("860"),
            QStringLiteral("\"九五\"以来主要保护内容"),
            QStringLiteral("1997年修缮东门。"), QStringLiteral("2001年加固城墙基础。"), QStringLiteral("2004年整治周边环境。"),
            QStringLiteral("现存主要问题"), QStringLiteral("墙体开裂 <b>严重</b>"), QStringLiteral("排水不畅"),
            QStringLiteral("\"十一五\"项目主要内容"), QStringLiteral("修缮北段城墙 㐀"), QStringLiteral("建设排水系统"),
            QStringLiteral("备注"), QStringLiteral("资料附后 \"见附件\""),
            QStringLiteral("二、项目资金需求情况"),
            QStringLiteral("九五以来资金投入"),
            QStringLiteral("中央"), QStringLiteral("地方"), QStringLiteral("其他"), QStringLiteral("合计"),
            QStringLiteral("120"), QStringLiteral("80.5"), QStringLiteral("10"), QStringLiteral("210.5"),
            QStringLiteral("十一五期间资金需求"),
            QStringLiteral("年度"), QStringLiteral("中央"), QStringLiteral("地方"), QStringLiteral("合计"),
            QStringLiteral("2006"), QStringLiteral("101"), QStringLiteral("71"), QStringLiteral("172"),
            QStringLiteral("2007"), QStringLiteral("102"), QStringLiteral("72"), QStringLiteral("174"),
            QStringLiteral("2008"), QStringLiteral("103"), QStringLiteral("73"), QStringLiteral("176"),
            QStringLiteral("2009"), QStringLiteral("104"), QStringLiteral("74"), QStringLiteral("178"),
            QStringLiteral("2010"), QStringLiteral("105"), QStringLiteral("75"), QStringLiteral("180"),
            QStringLiteral("合计"), QStringLiteral("515"), QStringLiteral("365"), QStringLiteral("880"),
            // The typed total stands in its own row; it exceeds its years, which the bureau sees.
            QStringLiteral("2006—2010年资金需求合计（填报数）"), QStringLiteral("900"),
            QStringLiteral("※ 与各年合计 880 不符"),
            QStringLiteral("三、项目资金预算情况"),
            QStringLiteral("文保维修遗址保护"),
            QStringLiteral("费用项目"), QStringLiteral("总计"), QStringLiteral("中央投入"),
            QStringLiteral("前期费用"), QStringLiteral("20"), QStringLiteral("11"),
            QStringLiteral("工程费"), QStringLiteral("300"), QStringLiteral("200"),
            QStringLiteral("征地"), QStringLiteral("40"), QStringLiteral("12"),
            QStringLiteral("环境整治"), QStringLiteral("50"), QStringLiteral("13"),
            QStringLiteral("道路设施"), QStringLiteral("60.25"), QStringLiteral("14"),
            QStringLiteral("其他"), QStringLiteral("70"), QStringLiteral("15"),
            QStringLiteral("合计"), QStringLiteral("540.25"), QStringLiteral("265"),
            QStringLiteral("安全消防"),
            QStringLiteral("费用项目"), QStringLiteral("总计"), QStringLiteral("中央投入"),
            QStringLiteral("规划设计费"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("设备器材购置费"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("施工预算"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("其他"), QStringLiteral("16"), QStringLiteral("0"),
            QStringLiteral("合计"), QStringLiteral("16"), QStringLiteral("0"),
            QStringLiteral("单位负责人（签字）："), QStringLiteral("填报人（签字）："),
            QStringLiteral("填报单位（盖章）："), QStringLiteral("日期：　　　　年　　月　　日"),
        };
        QCOMPARE(visibleText(QString::fromUtf8(result.page)), expected.join(QLatin1Char('\n')));
    }

    // A compiled stylesheet is reused only while the file holds the same bytes: every
    // page follows the stylesheet as it is on disk at that moment.
    void pageFollowsTheStylesheetOnDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.tps"));
        const auto write = [&](const QByteArray& bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        };
        const auto style = [](const char* text) {
            return QByteArray("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                              "<xsl:output method=\"html\" encoding=\"UTF-8\"/><xsl:template match=\"/\"><p>")
                + text + "</p></xsl:template></xsl:stylesheet>";
        };
        const XmlDocumentPtr report = blankReport();
        write(style("一"));
        QVERIFY(RenderReportPage(report, path).html.contains("<p>一</p>"));
        QVERIFY(RenderReportPage(report, path).html.contains("<p>一</p>"));
        write(style("二"));
        QVERIFY(RenderReportPage(report, path).html.contains("<p>二</p>"));
        write("<xsl:stylesheet");
        QCOMPARE(RenderReportPage(report, path).failure, ReportPage::Failure::StylesheetUnreadable);
        write(style("二"));
        QVERIFY(RenderReportPage(report, path).ok());
        QVERIFY(QFile::remove(path));
        const ReportPage gone = RenderReportPage(report, path);
        QCOMPARE(gone.failure, ReportPage::Failure::StylesheetUnreadable);
        QVERIFY(!gone.stylesheetError.isEmpty());
        write(style("<xsl:bogus/>"));
        QCOMPARE(RenderReportPage(report, path).failure, ReportPage::Failure::TransformFailed);

        // A stylesheet that takes in another file follows that file as well.
        QFile part(dir.filePath(QStringLiteral("part.xsl")));
        const auto writePart = [&](const char* text) {
            QVERIFY(part.open(QIODevice::WriteOnly | QIODevice::Truncate));
            part.write(QByteArray("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                                  "<xsl:template name=\"part\">") + text + "</xsl:template></xsl:stylesheet>");
            part.close();
        };
        writePart("三");
        write("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
              "<xsl:include href=\"part.xsl\"/><xsl:output method=\"html\" encoding=\"UTF-8\"/>"
              "<xsl:template match=\"/\"><p><xsl:call-template name=\"part\"/></p></xsl:template></xsl:stylesheet>");
        QVERIFY(RenderReportPage(report, path).html.contains("<p>三</p>"));
        writePart("四");
        QVERIFY(RenderReportPage(report, path).html.contains("<p>四</p>"));
    }

    // A page written straight into its file holds exactly the rendered bytes; a stylesheet
    // that makes nothing or fails leaves the older file as it was.
    void writtenPageIsTheRenderedPage()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        const QString style = templatePath(QStringLiteral("report1.tps"));
        const XmlDocumentPtr report = blankReport();
        set(report, QStringLiteral("//Report/BasicInfo/ProjectName"), QStringLiteral("长城保护 <&>"));
        const ReportPage written = WriteReportPage(report, style, page);
        QVERIFY(written.ok() && written.written);
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), RenderReportPage(report, style).html);
        file.close();

        const QString empty = dir.filePath(QStringLiteral("empty.tps"));
        QFile emptyStyle(empty);
        QVERIFY(emptyStyle.open(QIODevice::WriteOnly));
        emptyStyle.write("<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                         "<xsl:output method=\"html\"/><xsl:template match=\"/\"/></xsl:stylesheet>");
        emptyStyle.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        const ReportPage nothing = WriteReportPage(report, empty, page);
        QCOMPARE(nothing.failure, ReportPage::Failure::TransformFailed);
        QVERIFY(!nothing.written);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void longTextsKeepTheirLineBreaks()
    {
        const QString page = renderText(fullReport());
        QVERIFY(page.contains(QStringLiteral("1997年修缮东门。\n2001年加固城墙基础。\n2004年整治周边环境。")));
        QVERIFY(page.contains(QStringLiteral("white-space: pre-wrap")));
    }

    void pageIsUtf8AndSaysSo()
    {
        const XsltTransformer::Result result = render(fullReport());
        QVERIFY(result.ok);
        QCOMPARE(result.encoding, QStringLiteral("UTF-8"));
        QVERIFY(result.page.startsWith("<!DOCTYPE html>"));
        QVERIFY(result.page.contains("<html lang=\"zh-CN\">"));
        static const QRegularExpression meta(QStringLiteral("<meta[^>]*charset=([A-Za-z0-9_-]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto m = meta.match(QString::fromLatin1(result.page));
        QVERIFY(m.hasMatch());
        QCOMPARE(m.captured(1).toUpper(), QStringLiteral("UTF-8"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(result.page);
        QVERIFY(!utf8.hasError());
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

    void charactersOutsideGb2312AreWrittenAsThemselves()
    {
        const QString page = renderText(fullReport());
        for (const QString& c : {QStringLiteral("𠀀"), QStringLiteral("镕"), QStringLiteral("㐀")})
            QVERIFY2(page.contains(c), qPrintable(c));
        // No character references: the page is plain UTF-8 throughout.
        QVERIFY(!page.contains(QLatin1String("&#")));
    }

    void markupTypedIntoFieldsIsEscaped()
    {
        const QString page = renderText(fullReport());
        QVERIFY(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        QVERIFY(page.contains(QLatin1String("&lt;script&gt;alert(1)&lt;/script&gt;")));
        QCOMPARE(page.count(QLatin1String("</title>")), 1);
        QVERIFY(!page.contains(QLatin1String("<b>")));
        // The project name also heads the browser's title, escaped there too.
        QVERIFY(page.contains(QStringLiteral("<title>文物保护专项经费项目预算申报表 - &lt;script&gt;")));

        QFile style(templatePath(QStringLiteral("report1.tps")));
        QVERIFY(style.open(QIODevice::ReadOnly));
        QVERIFY(!style.readAll().contains("disable-output-escaping"));
    }

    void budgetSectionsShown_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("amounts");   // "path under BudgetDetail=value"
        QTest::addColumn<QStringList>("expected");

        const QString relic = QStringLiteral("文保维修遗址保护");
        const QString unearth = QStringLiteral("考古发掘");
        QTest::newRow("11 empty") << "11" << QStringList() << QStringList{relic};
        QTest::newRow("13 empty") << "13" << QStringList() << QStringList{relic};
        QTest::newRow("71 empty") << "71" << QStringList() << QStringList{relic};
        QTest::newRow("72 empty") << "72" << QStringList() << QStringList{relic};
        QTest::newRow("21 empty") << "21" << QStringList() << QStringList{unearth};
        QTest::newRow("29 empty") << "29" << QStringList() << QStringList{unearth};
        QTest::newRow("31 empty") << "31" << QStringList() << QStringList{QStringLiteral("博物馆维修")};
        QTest::newRow("32 empty") << "32" << QStringList() << QStringList{QStringLiteral("博物馆维修")};
        QTest::newRow("40 empty") << "40" << QStringList() << QStringList{QStringLiteral("文物征集")};
        QTest::newRow("50 empty") << "50" << QStringList() << QStringList{QStringLiteral("安全消防")};
        QTest::newRow("60 empty") << "60" << QStringList() << QStringList{QStringLiteral("藏品保护")};
        QTest::newRow("81 empty") << "81" << QStringList() << QStringList{QStringLiteral("文物库房建设")};
        QTest::newRow("84 empty") << "84" << QStringList() << QStringList{QStringLiteral("文物库房建设")};
        QTest::newRow("90 empty") << "90" << QStringList() << QStringList{QStringLiteral("大遗址保护设施")};
        QTest::newRow("own section first, others in form order")
            << "60"
            << QStringList{QStringLiteral("DepotConstruction/Other/Total=3"),
                           QStringLiteral("RelicRepairment/Traffic/State=1")}
            << QStringList{QStringLiteral("藏品保护"), relic, QStringLiteral("文物库房建设")};
        QTest::newRow("central share alone counts") << "23" << QStringList{QStringLiteral("RelicPurchase/State=2")}
                                                    << QStringList{unearth, QStringLiteral("文物征集")};
        QTest::newRow("zero written otherwise stays hidden")
            << "40"
            << QStringList{QStringLiteral("UnEarth/Other/Total=0.00"), QStringLiteral("UnEarth/Report/State="),
                           QStringLiteral("FireSecurity/Design/Total=-0")}
            << QStringList{QStringLiteral("文物征集")};
        QTest::newRow("text in an amount is shown, not hidden")
            << "40" << QStringList{QStringLiteral("UnEarth/Other/Total=约五万")}
            << QStringList{QStringLiteral("文物征集"), unearth};
        QTest::newRow("unknown type, nothing typed") << "99" << QStringList() << QStringList();
        QTest::newRow("unknown type shows what holds amounts")
            << "" << QStringList{QStringLiteral("FireSecurity/Purchase/Total=8")}
            << QStringList{QStringLiteral("安全消防")};
    }
    void budgetSectionsShown()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, amounts);
        QFETCH(QStringList, expected);
        XmlDocumentPtr doc = blankReport();
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectType"), type);
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectType/@dict"), QString());
        for (const QString& amount : amounts) {
            const auto parts = amount.split(QLatin1Char('='));
            set(doc, QStringLiteral("//Report/BudgetDetail/") + parts[0], parts[1]);
        }
        QCOMPARE(sectionsShown(renderText(doc)), expected);
    }

    void sectionRowsCarryTheirOwnValues()
    {
        // Each label sits beside the amounts of its own element.
        XmlDocumentPtr doc = blankReport();
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectType"), QStringLiteral("23"));
        set(doc, QStringLiteral("//Report/BudgetDetail/UnEarth/Report/Total"), QStringLiteral("33"));
        set(doc, QStringLiteral("//Report/BudgetDetail/UnEarth/Report/State"), QStringLiteral("22"));
        set(doc, QStringLiteral("//Report/BudgetDetail/UnEarth/Protection/Total"), QStringLiteral("44"));
        set(doc, QStringLiteral("//Report/BudgetDetail/RelicPurchase/Total"), QStringLiteral("55"));
        set(doc, QStringLiteral("//Report/BudgetDetail/RelicPurchase/State"), QStringLiteral("5"));
        const QString text = visibleText(renderText(doc));
        QVERIFY(text.contains(QStringLiteral("报告出版(含资料整理)\n33\n22\n保护费遗址考古现场\n44\n0\n")));
        QVERIFY(text.contains(QStringLiteral("文物征集\n费用项目\n总计\n中央投入\n文物征集费\n55\n5\n")));
    }

    void projectTypeText_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        const char* types[][2] = {
            {"11", "古建维修规划"}, {"12", "古建维修"}, {"13", "其他保护维修项目"}, {"21", "田野考古调查"},
            {"22", "田野考古勘探"}, {"23", "田野考古发掘"}, {"24", "水下考古调查"}, {"25", "水下考古勘探"},
            {"26", "水下考古发掘"}, {"27", "航空考古调查"}, {"28", "航空考古勘探"}, {"29", "航空考古发掘"},
            {"31", "博物馆维修规划"}, {"32", "博物馆维修"}, {"40", "文物征集"}, {"50", "安全消防"},
            {"60", "藏品及重要出土文物保护"}, {"71", "遗址保护规划"}, {"72", "遗址保护"}, {"81", "新建库房"},
            {"82", "改建库房"}, {"83", "扩建库房"}, {"84", "购置保护设施"}, {"90", "大遗址保护设施建设"},
        };
        for (const auto& t : types)
            QTest::newRow(t[0]) << QString::fromUtf8(t[0]) << QString::fromUtf8(t[1]);
        QTest::newRow("unknown code shows itself") << "77" << "77";
    }
    void projectTypeText()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        XmlDocumentPtr doc = blankReport();
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectType"), code);
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectType/@dict"), QString());
        QVERIFY(visibleText(renderText(doc)).contains(QStringLiteral("\n项目类别\n") + text + QStringLiteral("\n项目性质\n")));
    }

    void projectNatureText_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("dict");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 mapped") << "1" << "" << QStringLiteral("抢救性");
        QTest::newRow("2 mapped") << "2" << "" << QStringLiteral("维护性");
        QTest::newRow("3 mapped") << "3" << "" << QStringLiteral("保护利用性");
        QTest::newRow("blank dict mapped") << "3" << "  " << QStringLiteral("保护利用性");
        QTest::newRow("stored text wins") << "1" << QStringLiteral("维护性") << QStringLiteral("维护性");
    }
    void projectNatureText()
    {
        QFETCH(QString, code);
        QFETCH(QString, dict);
        QFETCH(QString, text);
        XmlDocumentPtr doc = blankReport();
        set(doc, QStringLiteral("//Report/BasicInfo/ProjectAttribute"), code);
        // SetNodeText trims, so a blank dict goes in through the parser.
        const QByteArray page = render(ParseXmlText(
            SerializeXmlDocument(doc).replace("dict=\"抢救性\"", ("dict=\"" + dict + "\"").toUtf8()))).page;
        QVERIFY(visibleText(QString::fromUtf8(page)).contains(QStringLiteral("\n项目性质\n") + text + QStringLiteral("\n抢救性文物保护措施建设项目\n")));
    }

    void documentOfAnotherKindStillGivesAPage()
    {
        const XsltTransformer::Result result = render(ParseXmlText("<CorpInfo><Basic><Name>x</Name></Basic></CorpInfo>"));
        QVERIFY(result.ok);
        QCOMPARE(visibleText(QString::fromUtf8(result.page)), QStringLiteral("文物保护专项经费项目预算申报表"));
    }
};

QTEST_MAIN(TestReportPage)
#include "test_report_page.moc"
