// The printable page of the unit information and the command that prints it.
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "ui/CodedList.h"
#include "TestDocuments.h"
#include "store/Settings.h"
#include "unitinfo/UnitInfoPrinter.h"
#include "unitinfo/UnitInfoDialog.h"

#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

using namespace testdoc;
using namespace xml;

namespace {

// What a reader of the page sees: the body's text, every run of white space as one blank.
QString visibleText(const QString& html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<head>.*</head>"), QRegularExpression::DotMatchesEverythingOption));
    text.replace(QRegularExpression(QStringLiteral("<!DOCTYPE[^>]*>|<[^>]*>")), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}

void set(QDialog* d, const char* name, const QString& value)
{
    static_cast<UnitInfoDialog*>(d)->textBox(QString::fromUtf8(name))->setText(value);
}

void pick(QDialog* d, const char* name, int index)
{
    static_cast<UnitInfoDialog*>(d)->codedList(QString::fromUtf8(name))->selectItem(index);
}

void fillCompleteUnit(QDialog* d)
{
    set(d, "Text27", "张三");
    set(d, "Text19", "410100");
    set(d, "Text2", "郑州市博物馆");
    set(d, "Text3", "郑博");
    set(d, "Text4", "郑州市嵩山南路168号");
    set(d, "Text5", "450052");
    set(d, "Text6", "0371-67441234");
    set(d, "Text7", "0371-67445678");
    set(d, "Text8", "office@example.cn");
    pick(d, "Combo1", 2);
    pick(d, "Combo2", 6);
    pick(d, "Combo5", 1);
    set(d, "Text28", "1250.5");
    set(d, "Text29", "5000");
    const QStringList classes[4] = {{"120", "100", "15", "5", "85.5"},
                                    {"800", "700", "80", "20", "120"},
                                    {"3000", "2900", "90", "10", "60"},
                                    {"50", "40", "8", "2", "30"}};
    for (int i = 0; i < 4; ++i) {
        int k = 0;
        for (const char* n : {"Text9", "Text10", "Text11", "Text12", "Text26"})
            set(d, QStringLiteral("%1(%2)").arg(QLatin1String(n)).arg(i).toUtf8().constData(), classes[i][k++]);
    }
    static_cast<UnitInfoDialog*>(d)->descriptionBox()->setPlainText(QStringLiteral("库房潮湿。\n青铜器有锈。"));
    set(d, "Text13", "35000");
    set(d, "Text14", "52000");
    pick(d, "Combo3(2)", 1);
    pick(d, "Combo3(3)", 2);
    pick(d, "Combo3(4)", 0);
    pick(d, "Combo3(5)", 1);
    pick(d, "Combo3(6)", 3);
    set(d, "Text17(1)", "1");
    set(d, "Text18(1)", "3");
    pick(d, "Combo3(0)", 1);
    pick(d, "Combo3(1)", 0);
    set(d, "Text21", "800");
    set(d, "Text22", "200");
    set(d, "Text23", "商代");
    set(d, "Text24", "城址");
}

} // namespace

class TestCorpInfoPage : public QObject {
    Q_OBJECT
private slots:
    void init() { folder = std::make_unique<TempProgramFolder>(); folder->settings.unitCode = QStringLiteral("410101"); }
    void cleanup() { ui.finish(); folder.reset(); }

    void pageOfACompleteUnit()
    {
        const QByteArray page = saveUnit(fillCompleteUnit);
        // Bytes and declared charset agree.
        QVERIFY(page.contains("charset=UTF-8"));
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString html = decoder(page);
        QVERIFY(!decoder.hasError());
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(html.contains(QStringLiteral("<html lang=\"zh-CN\">")));
        // The description keeps its line break.
        QVERIFY(html.contains(QStringLiteral("库房潮湿。\n青铜器有锈。")));

        // One header band as on the report page; the holdings close with their sums.
        const QString expected = QStringList{
            "文物保护单位基本信息表",
            "单位名称 郑州市博物馆 单位编码 410101",
            "填报人 张三 填报日期", QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
            "一、单位基本情况",
            "单位编码 410101 地区代码 410100",
            "单位全称 郑州市博物馆",
            "单位简称 郑博 邮政编码 450052",
            "通讯地址 郑州市嵩山南路168号",
            "电话 0371-67441234 传真 0371-67445678",
            "电子邮件 office@example.cn",
            "单位类型 博物馆 单位性质 省级博物馆",
            "单位风险等级 二级风险单位",
            "二、单位藏品及重要出土文物保存情况",
            "库房面积 1250.5 文物总数 5000",
            "类别 总数 其中 保护修复资金需求 完好 一般受损 严重受损",
            "一级品 120 100 15 5 85.5",
            "二级品 800 700 80 20 120",
            "三级品 3000 2900 90 10 60",
            "重要出土文物 50 40 8 2 30",
            "合计 3970 3740 193 37 295.5",
            "藏品存放条件、损毁情况描述 库房潮湿。 青铜器有锈。",
            "三、单位文物安全情况",
            "单位面积 保护单位面积 35000 保护范围面积 52000",
            "消防设施 供水设施 完善 报警设施 较完善 防雷设施 无",
            "技防设施 较完善 文物保存设备 不完善",
            "文物被盗情况 文物被盗次数 1 被盗文物数量 3",
            "四、单位文物保护设施建设情况",
            "库房情况 消防、技防设施 较完善 文物保存设备 完善",
            "大遗址保护设施建设情况 总面积 800 重点保护区面积 200 遗址年代 商代 遗址类型 城址",
            "单位负责人（签字）： 填报人（签字）： 填报单位（盖章）： 日期： 年 月 日",
        }.join(QLatin1Char(' '));
        QCOMPARE(visibleText(html), expected);
    }

    void typedMarkupStaysText()
    {
        const QByteArray page = saveUnit([](QDialog* d) {
            set(d, "Text27", "张三");
            set(d, "Text2", "</title><script>alert(1)</script>");
            set(d, "Text3", "A&B \"馆\" 镕");
            static_cast<UnitInfoDialog*>(d)->descriptionBox()->setPlainText(QStringLiteral("<b>粗</b>"));
        });
        const QString html = QString::fromUtf8(page);
        QVERIFY(!html.contains(QStringLiteral("<script")));
        QVERIFY(!html.contains(QStringLiteral("<b>")));
        QCOMPARE(html.count(QStringLiteral("</title>")), 1);
        QVERIFY(html.contains(QStringLiteral("<title>&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt; 单位基本信息表</title>")));
        QVERIFY(html.contains(QStringLiteral("&lt;b&gt;粗&lt;/b&gt;")));
        // A character outside GB2312 comes through as itself in the declared UTF-8.
        QVERIFY(html.contains(QStringLiteral("A&amp;B \"馆\" 镕")));
        QVERIFY(visibleText(html).contains(QStringLiteral("单位全称 </title><script>alert(1)</script> 单位简称")));
    }

    void codedTextsFollowTheCodes()
    {
        // A document whose dict texts are missing still shows the list texts.
        UnitInfoDialog d(folder->settings);
        d.document = ParseXmlText("<?xml version=\"1.0\" encoding=\"UTF-8\"?><CorpInfo><Basic>"
                                          "<Type>40</Type><Class dict=\"自定\">77</Class><Risc>90</Risc></Basic>"
                                          "<Security><SecurityDeviceStatus>0</SecurityDeviceStatus></Security></CorpInfo>");
        const QString text = visibleText(QString::fromUtf8(d.renderPage()));
        QVERIFY2(text.contains(QStringLiteral("单位类型 文物库房 单位性质 自定")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("单位风险等级 其他")));
        QVERIFY(text.contains(QStringLiteral("技防设施 无 文物保存设备")));
        QCOMPARE(ui.texts, QStringList());
    }

    void printOpensTheSavedPage()
    {
        folder->writeFile(QStringLiteral("410101.htm"), "<html></html>");
        const QString page = folder->file(QStringLiteral("410101.htm"));
        PrintUnitInfoPage(folder->settings, nullptr);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("请在打开的浏览器中进行打印,如果不成功,请用浏览器打开") + page
                                       + QStringLiteral("进行打印")});
        QCOMPARE(ui.browserPaths, QStringList{page});

        ui.reset();
        ui.browserStarts = false;
        PrintUnitInfoPage(folder->settings, nullptr);
        QCOMPARE(ui.texts.size(), 2);
        QCOMPARE(ui.texts.last(), QStringLiteral("无法打开浏览器") + page);
    }

    void printInTheLocalFolder()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("local")));
        folder->settings.localFolder = folder->file(QStringLiteral("local")) + folderSeparator();
        folder->writeFile(QStringLiteral("410101.htm"), "<html></html>"); // beside the program: not the one
        PrintUnitInfoPage(folder->settings, nullptr);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("未找到相应的HTML文件") + folder->settings.localFolder + QStringLiteral("410101.htm")});
        QCOMPARE(ui.browserPaths, QStringList());
    }

    void printAfterTheUnitCodeChanged()
    {
        folder->writeFile(QStringLiteral("410101.htm"), "<html></html>");
        folder->settings.unitCode = QStringLiteral("410102");
        PrintUnitInfoPage(folder->settings, nullptr);
        QCOMPARE(ui.texts, QStringList{QStringLiteral("未找到相应的HTML文件") + folder->file(QStringLiteral("410102.htm"))});
        QCOMPARE(ui.browserPaths, QStringList());
    }

private:
    // Fills the forced dialog, saves it and returns the page it wrote.
    QByteArray saveUnit(const std::function<void(QDialog*)>& fill)
    {
        UnitInfoDialog d(folder->settings);
        d.allowCancel = false;
        ui.answerModal([&](QDialog* dialog) {
            fill(dialog);
            static_cast<UnitInfoDialog*>(dialog)->okButton()->click();
        });
        ui::current().runModal(&d);
        if (d.isVisible() || !ui.texts.isEmpty())
            qWarning() << "the save did not go through:" << ui.texts;
        return folder->readFile(QStringLiteral("410101.htm"));
    }

    ScriptedUi ui;
    std::unique_ptr<TempProgramFolder> folder;
};

QTEST_MAIN(TestCorpInfoPage)
#include "test_corpinfo_page.moc"
