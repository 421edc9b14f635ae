// The report form and its document: every field under its name and path, in both
// directions, with defaults, trimming, the coded lists and the header block.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/ReportFieldTable.h"
#include "report/ReportForm.h"
#include "ui/CodedList.h"
#include "ui/HiddenTextBox.h"
#include "store/Module1.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace testing;

namespace {

struct Row {
    const char* name;
    const char* path; // under //Report/
    const char* defaultText;
};

// The report's fields in transfer order, as the document format defines them.
const Row kRows[] = {
    {"Text1", "BasicInfo/ProjectID", ""},
    {"Text2", "BasicInfo/ProjectName", ""},
    {"Combo1", "BasicInfo/ProjectType", nullptr},
    {"Combo2", "BasicInfo/ProjectAttribute", nullptr},
    {"Text7", "BasicInfo/SalvageItem/NewDepotArea", "0"},
    {"Text30", "BasicInfo/SalvageItem/ProtectionContent", ""},
    {"Text8", "BasicInfo/SalvageItem/RelicProtectionArea", ""},
    {"Text31", "BasicInfo/SalvageItem/RelicProtectionContent", ""},
    {"Text29", "BasicInfo/AssitantItem/ProtectionArea", "0"},
    {"Text3", "BasicInfo/PreserveContent", ""},
    {"Text4", "BasicInfo/CurrentProblem", ""},
    {"Text5", "BasicInfo/ProjectContent", ""},
    {"Text6", "BasicInfo/Remark", ""},
    {"Text9", "FundDemand/Investment/State", "0"},
    {"Text10", "FundDemand/Investment/Local", "0"},
    {"Text11", "FundDemand/Investment/Other", "0"},
    {"Text32", "FundDemand/Demand/Total", "0"},
    {"Text12(0)", "FundDemand/Demand/State/Year2006", "0"},
    {"Text12(1)", "FundDemand/Demand/State/Year2007", "0"},
    {"Text12(2)", "FundDemand/Demand/State/Year2008", "0"},
    {"Text12(3)", "FundDemand/Demand/State/Year2009", "0"},
    {"Text12(4)", "FundDemand/Demand/State/Year2010", "0"},
    {"Text13(0)", "FundDemand/Demand/Local/Year2006", "0"},
    {"Text13(1)", "FundDemand/Demand/Local/Year2007", "0"},
    {"Text13(2)", "FundDemand/Demand/Local/Year2008", "0"},
    {"Text13(3)", "FundDemand/Demand/Local/Year2009", "0"},
    {"Text13(4)", "FundDemand/Demand/Local/Year2010", "0"},
    {"Text17(0)", "BudgetDetail/RelicRepairment/Preparation/Total", "0"},
    {"Text18(0)", "BudgetDetail/RelicRepairment/Preparation/State", "0"},
    {"Text19(0)", "BudgetDetail/RelicRepairment/Construction/Total", "0"},
    {"Text20(0)", "BudgetDetail/RelicRepairment/Construction/State", "0"},
    {"Text21(0)", "BudgetDetail/RelicRepairment/Estate/Total", "0"},
    {"Text22(0)", "BudgetDetail/RelicRepairment/Estate/State", "0"},
    {"Text23(0)", "BudgetDetail/RelicRepairment/Enviroment/Total", "0"},
    {"Text24(0)", "BudgetDetail/RelicRepairment/Enviroment/State", "0"},
    {"Text25(0)", "BudgetDetail/RelicRepairment/Traffic/Total", "0"},
    {"Text26(0)", "BudgetDetail/RelicRepairment/Traffic/State", "0"},
    {"Text27(0)", "BudgetDetail/RelicRepairment/Other/Total", "0"},
    {"Text28(0)", "BudgetDetail/RelicRepairment/Other/State", "0"},
    {"Text17(1)", "BudgetDetail/UnEarth/Preparation/Total", "0"},
    {"Text18(1)", "BudgetDetail/UnEarth/Preparation/State", "0"},
    {"Text19(1)", "BudgetDetail/UnEarth/UnEarth/Total", "0"},
    {"Text20(1)", "BudgetDetail/UnEarth/UnEarth/State", "0"},
    {"Text23(1)", "BudgetDetail/UnEarth/Report/Total", "0"},
    {"Text24(1)", "BudgetDetail/UnEarth/Report/State", "0"},
    {"Text25(1)", "BudgetDetail/UnEarth/Protection/Total", "0"},
    {"Text26(1)", "BudgetDetail/UnEarth/Protection/State", "0"},
    {"Text27(1)", "BudgetDetail/UnEarth/Other/Total", "0"},
    {"Text28(1)", "BudgetDetail/UnEarth/Other/State", "0"},
    {"Text17(2)", "BudgetDetail/DepotRepairment/Preparation/Total", "0"},
    {"Text18(2)", "BudgetDetail/DepotRepairment/Preparation/State", "0"},
    {"Text19(2)", "BudgetDetail/DepotRepairment/Construction/Total", "0"},
    {"Text20(2)", "BudgetDetail/DepotRepairment/Construction/State", "0"},
    {"Text21(2)", "BudgetDetail/DepotRepairment/Other/Total", "0"},
    {"Text22(2)", "BudgetDetail/DepotRepairment/Other/State", "0"},
    {"Text17(4)", "BudgetDetail/RelicPurchase/Total", "0"},
    {"Text18(4)", "BudgetDetail/RelicPurchase/State", "0"},
    {"Text17(3)", "BudgetDetail/FireSecurity/Design/Total", "0"},
    {"Text18(3)", "BudgetDetail/FireSecurity/Design/State", "0"},
    {"Text19(3)", "BudgetDetail/FireSecurity/Purchase/Total", "0"},
    {"Text20(3)", "BudgetDetail/FireSecurity/Purchase/State", "0"},
    {"Text21(3)", "BudgetDetail/FireSecurity/Construction/Total", "0"},
    {"Text22(3)", "BudgetDetail/FireSecurity/Construction/State", "0"},
    {"Text23(2)", "BudgetDetail/FireSecurity/Other/Total", "0"},
    {"Text24(2)", "BudgetDetail/FireSecurity/Other/State", "0"},
    {"Text17(5)", "BudgetDetail/RelicProtection/Design/Total", "0"},
    {"Text18(5)", "BudgetDetail/RelicProtection/Design/State", "0"},
    {"Text19(4)", "BudgetDetail/RelicProtection/Repairment/Total", "0"},
    {"Text20(4)", "BudgetDetail/RelicProtection/Repairment/State", "0"},
    {"Text21(4)", "BudgetDetail/RelicProtection/Other/Total", "0"},
    {"Text22(4)", "BudgetDetail/RelicProtection/Other/State", "0"},
    {"Text17(6)", "BudgetDetail/GreatSiteProtection/Construction/Total", "0"},
    {"Text18(6)", "BudgetDetail/GreatSiteProtection/Construction/State", "0"},
    {"Text19(5)", "BudgetDetail/GreatSiteProtection/Purchase/Total", "0"},
    {"Text20(5)", "BudgetDetail/GreatSiteProtection/Purchase/State", "0"},
    {"Text21(5)", "BudgetDetail/GreatSiteProtection/Other/Total", "0"},
    {"Text22(5)", "BudgetDetail/GreatSiteProtection/Other/State", "0"},
    {"Text17(7)", "BudgetDetail/DepotConstruction/Construction/Total", "0"},
    {"Text18(7)", "BudgetDetail/DepotConstruction/Construction/State", "0"},
    {"Text19(6)", "BudgetDetail/DepotConstruction/Purchase/Total", "0"},
    {"Text20(6)", "BudgetDetail/DepotConstruction/Purchase/State", "0"},
    {"Text21(6)", "BudgetDetail/DepotConstruction/Other/Total", "0"},
    {"Text22(6)", "BudgetDetail/DepotConstruction/Other/State", "0"},
};

QString pathOf(const Row& row)
{
    return QStringLiteral("//Report/") + QString::fromLatin1(row.path);
}

QString nameOf(const Row& row)
{
    return QString::fromLatin1(row.name);
}

bool isList(const Row& row)
{
    return row.defaultText == nullptr;
}

// Distinct values for every field, consistent with the budget rules: cost item k has
// the total 2k + 0.5 and the share k; the demand covers both.
QMap<QString, QString> sampleValues()
{
    QMap<QString, QString> values{
        {"Text1", "XM-2006-01"},
        {"Text2", QStringLiteral("城墙&<>\"' 修缮 𠀀")},
        {"Text7", "1200.5"},
        {"Text30", QStringLiteral("第一行 &amp; <b>\n第二行\t制表\n𠀀")},
        {"Text8", QStringLiteral("约3000平方米'\"")},
        {"Text31", QStringLiteral("遗址\n\n保护 ]]> 内容")},
        {"Text29", "88"},
        {"Text3", QStringLiteral("\"九五\"以来\n第二段")},
        {"Text4", QStringLiteral("问题一\n问题二\n")},
        {"Text5", QStringLiteral("十一五\n<内容>")},
        {"Text6", QStringLiteral("备注 𠀀")},
        {"Text9", "10"},
        {"Text10", "20.25"},
        {"Text11", "-3"},
        {"Text32", "1000"},
    };
    for (int i = 0; i < 5; ++i) {
        values[QStringLiteral("Text12(%1)").arg(i)] = QString::number(100 + i);
        values[QStringLiteral("Text13(%1)").arg(i)] = QString::number(50 + i);
    }
    int item = 1;
    bool total = true;
    for (const Row& row : kRows) {
        if (!QByteArray(row.path).startsWith("BudgetDetail"))
            continue;
        values[nameOf(row)] = total ? QStringLiteral("%1.5").arg(2 * item) : QString::number(item);
        if (!total)
            ++item;
        total = !total;
    }
    return values;
}

QString fieldText(const ReportForm& form, const QString& name)
{
    if (auto* line = form.findChild<QLineEdit*>(name))
        return line->text();
    if (auto* hidden = form.findChild<HiddenTextBox*>(name))
        return hidden->toPlainText();
    return plain(form, name)->toPlainText();
}

void setFieldText(ReportForm& form, const QString& name, const QString& text)
{
    if (auto* line = form.findChild<QLineEdit*>(name))
        line->setText(text);
    else if (auto* hidden = form.findChild<HiddenTextBox*>(name))
        hidden->setPlainText(text);
    else
        plain(form, name)->setPlainText(text);
}

// Where Tab goes from a box: the next widget in the focus chain that takes focus by Tab.
QWidget* nextTabStop(QWidget* from)
{
    QWidget* next = from->nextInFocusChain();
    while (next != from && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class TestReportBinding : public QObject {
    Q_OBJECT
private slots:
    void init() { ui_ = new ScriptedUi; }
    void cleanup()
    {
        ui_->finish();
        delete ui_;
    }

    void fieldTableMatchesTheDocumentFormat()
    {
        const auto& fields = ReportFieldTable::fields();
        QCOMPARE(fields.size(), std::size(kRows));
        for (size_t i = 0; i < fields.size(); ++i) {
            QCOMPARE(fields[i].control.objectName(), nameOf(kRows[i]));
            QCOMPARE(fields[i].xpath, pathOf(kRows[i]));
            if (!isList(kRows[i]))
                QCOMPARE(fields[i].defaultText, QString::fromLatin1(kRows[i].defaultText));
        }
    }

    // Save starts from the template, so it must hold every element the form writes.
    void templateHoldsEveryField()
    {
        TempProgramFolder folder;
        const auto document = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        QVERIFY(Module1::GetLastErrorText().isEmpty());
        QStringList paths;
        for (const Row& row : kRows)
            paths << pathOf(row);
        paths << "//Report/BasicInfo/ProjectType/@dict" << "//Report/BasicInfo/ProjectAttribute/@dict"
              << "//Report/ReportInfo/CorpID" << "//Report/ReportInfo/CorpName" << "//Report/ReportInfo/ReportUser"
              << "//Report/ReportInfo/ReportDate";
        for (const QString& path : paths) {
            xml::SetNodeText(rootOf(document), path, QStringLiteral("marker"));
            QVERIFY2(xml::GetNodeText(rootOf(document), path) == QLatin1String("marker"), qPrintable(path));
        }
    }

    void formHoldsEveryControl()
    {
        ReportForm form;
        QCOMPARE(form.objectName(), QStringLiteral("SSTab1"));
        QCOMPARE(form.count(), 4);
        QCOMPARE(form.tabText(0), QStringLiteral("项目基本情况"));
        QCOMPARE(form.tabText(1), QStringLiteral("项目资金需求情况"));
        QCOMPARE(form.tabText(2), QStringLiteral("项目资金预算情况一"));
        QCOMPARE(form.tabText(3), QStringLiteral("项目资金预算情况二"));

        const QSet<QString> hiddenTexts{"Text3", "Text4", "Text5", "Text6"};
        const QSet<QString> plainTexts{"Text30", "Text31"};
        for (const Row& row : kRows) {
            const QString name = nameOf(row);
            if (isList(row))
                QVERIFY2(form.findChild<CodedList*>(name), qPrintable(name));
            else if (hiddenTexts.contains(name))
                QVERIFY2(form.findChild<HiddenTextBox*>(name), qPrintable(name));
            else if (plainTexts.contains(name))
                QVERIFY2(form.findChild<QPlainTextEdit*>(name), qPrintable(name));
            else
                QVERIFY2(form.findChild<QLineEdit*>(name), qPrintable(name));
        }
        QCOMPARE(form.projectTypeList(), form.findChild<CodedList*>("Combo1"));
        QCOMPARE(form.projectNatureList(), form.findChild<CodedList*>("Combo2"));
        QCOMPARE(form.projectCodeBox(), box(form, "Text1"));
        QCOMPARE(form.projectNameBox(), box(form, "Text2"));
        QCOMPARE(form.projectTypeList()->count(), 24);
        QCOMPARE(form.projectNatureList()->count(), 3);
        // 75 bound single-line boxes and the hidden pair
        QCOMPARE(form.findChildren<QLineEdit*>().size(), 77);

        // The long texts: hidden boxes, edited through their buttons.
        const QStringList captions{QStringLiteral("\"九五\"以来主要保护内容"), QStringLiteral("现存主要问题"),
                                   QStringLiteral("\"十一五\"项目主要内容"), QStringLiteral("备注")};
        form.show();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(form.longTextButton(i)->objectName(), QStringLiteral("Command%1").arg(i + 1));
            QCOMPARE(form.longTextButton(i)->text(), captions[i]);
            QCOMPARE(form.longTextBox(i), form.findChild<HiddenTextBox*>(QStringLiteral("Text%1").arg(i + 3)));
            QVERIFY(!form.longTextBox(i)->isVisibleTo(&form));
            QVERIFY(form.widget(0)->isAncestorOf(form.longTextButton(i)));
        }

        const QMap<QString, QString> frameCaptions{
            {"Frame3", QStringLiteral("抢救性文物保护措施建设项目")},
            {"Frame5", QStringLiteral("文物保护专项补助经费项目")},
            {"Frame1", QStringLiteral("九五以来资金投入")},
            {"Frame2", QStringLiteral("十一五期间资金需求")},
            {"Frame4(0)", QStringLiteral("文保维修遗址保护")},
            {"Frame4(1)", QStringLiteral("考古发掘")},
            {"Frame4(2)", QStringLiteral("博物馆维修")},
            {"Frame4(3)", QStringLiteral("文物征集")},
            {"Frame4(4)", QStringLiteral("安全消防")},
            {"Frame4(5)", QStringLiteral("藏品保护")},
            {"Frame4(6)", QStringLiteral("大遗址保护设施")},
            {"Frame4(7)", QStringLiteral("文物库房建设")},
        };
        for (auto it = frameCaptions.begin(); it != frameCaptions.end(); ++it) {
            auto* frame = form.findChild<QGroupBox*>(it.key());
            QVERIFY2(frame, qPrintable(it.key()));
            QCOMPARE(frame->title(), it.value());
        }
        for (int i = 0; i < 8; ++i)
            QCOMPARE(form.budgetFrame(i), form.findChild<QGroupBox*>(QStringLiteral("Frame4(%1)").arg(i)));
    }

    // Loaded values show their start; the long-text buttons show whether they are filled.
    void formHints()
    {
        TempProgramFolder folder;
        const QString longName = QStringLiteral("某某市某某区某某镇某某村明清古建筑群及其附属文物保护维修工程第一期");
        auto document = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(document), QStringLiteral("//Report/BasicInfo/ProjectName"), longName);
        ReportForm form;
        QVERIFY(form.TransferReportFields(rootOf(document), false));
        QCOMPARE(form.projectNameBox()->text(), longName);
        QCOMPARE(form.projectNameBox()->cursorPosition(), 0);
        QPushButton* button = form.longTextButton(2);
        const QString caption = button->text();
        QVERIFY(!button->font().bold());
        form.longTextBox(2)->setPlainText(QStringLiteral(" 城墙东段坍塌 "));
        QVERIFY(button->font().bold());
        QCOMPARE(button->toolTip(), QStringLiteral("已填写 6 字"));
        QCOMPARE(button->accessibleDescription(), button->toolTip());
        QCOMPARE(button->text(), caption);
    }

    // The second budget tab lists its five frames in one column, top to bottom.
    void secondBudgetTabStacksItsFrames()
    {
        ReportForm form;
        form.setCurrentIndex(3);
        form.show();
        QWidget* page = form.widget(3);
        for (int i = 3; i < 8; ++i) {
            QVERIFY(page->isAncestorOf(form.budgetFrame(i)));
            QVERIFY(form.budgetFrame(i)->isVisible());
        }
        for (int i = 3; i < 7; ++i) {
            const QRect upper(form.budgetFrame(i)->mapTo(page, QPoint()), form.budgetFrame(i)->size());
            const QRect lower(form.budgetFrame(i + 1)->mapTo(page, QPoint()), form.budgetFrame(i + 1)->size());
            QVERIFY2(lower.top() > upper.bottom(), qPrintable(QStringLiteral("Frame4(%1)").arg(i + 1)));
            QCOMPARE(lower.left(), upper.left());
        }
    }

    // Each box sits in the frame and on the tab its document section belongs to.
    void boxesSitInTheirFrames()
    {
        ReportForm form;
        const QMap<QString, int> frameOfSection{{"RelicRepairment", 0}, {"UnEarth", 1},
                                                {"DepotRepairment", 2}, {"RelicPurchase", 3},
                                                {"FireSecurity", 4},    {"RelicProtection", 5},
                                                {"GreatSiteProtection", 6}, {"DepotConstruction", 7}};
        for (const Row& row : kRows) {
            const QStringList parts = QString::fromLatin1(row.path).split('/');
            QWidget* widget = form.findChild<QWidget*>(nameOf(row));
            QString container;
            int tab = 0;
            if (parts[0] == QLatin1String("BudgetDetail")) {
                const int frame = frameOfSection.value(parts[1], -1);
                container = QStringLiteral("Frame4(%1)").arg(frame);
                tab = frame < 3 ? 2 : 3;
            } else if (parts[0] == QLatin1String("FundDemand")) {
                container = parts[1] == QLatin1String("Investment") ? "Frame1" : "Frame2";
                tab = 1;
            } else if (parts.size() > 2) {
                container = parts[1] == QLatin1String("SalvageItem") ? "Frame3" : "Frame5";
            }
            QVERIFY2(form.widget(tab)->isAncestorOf(widget), qPrintable(nameOf(row)));
            if (!container.isEmpty())
                QVERIFY2(form.findChild<QGroupBox*>(container)->isAncestorOf(widget), qPrintable(nameOf(row)));
        }
        // The hidden cost line of the excavation frame exists but is never shown.
        form.show();
        auto* frame = form.budgetFrame(1);
        for (const char* name : {"Text21(1)", "Text22(1)"}) {
            QVERIFY(frame->isAncestorOf(box(form, name)));
            QVERIFY(!box(form, name)->isVisibleTo(&form));
        }
        for (QLabel* label : frame->findChildren<QLabel*>())
            if (label->text() == QStringLiteral("出土文物修复费"))
                QVERIFY(!label->isVisibleTo(&form));
    }

    void accessibleNamesAreUniqueAndSpeaking()
    {
        ReportForm form;
        QSet<QString> seen;
        QStringList names;
        for (const Row& row : kRows)
            names << nameOf(row);
        names << "Text21(1)" << "Text22(1)";
        for (const QString& name : names) {
            const QString accessible = form.findChild<QWidget*>(name)->accessibleName();
            QVERIFY2(!accessible.isEmpty(), qPrintable(name));
            QVERIFY2(!seen.contains(accessible), qPrintable(name + QLatin1Char(' ') + accessible));
            seen.insert(accessible);
        }
        QCOMPARE(box(form, "Text12(0)")->accessibleName(), QStringLiteral("2006 中央"));
        QCOMPARE(box(form, "Text13(4)")->accessibleName(), QStringLiteral("2010 地方"));
        QCOMPARE(box(form, "Text9")->accessibleName(), QStringLiteral("九五以来资金投入 中央"));
        QCOMPARE(box(form, "Text1")->accessibleName(), QStringLiteral("项目编号"));
        QCOMPARE(box(form, "Text17(1)")->accessibleName(), QStringLiteral("考古发掘 前期费用 总计"));
        QCOMPARE(box(form, "Text18(1)")->accessibleName(), QStringLiteral("考古发掘 前期费用 中央投入"));
        QCOMPARE(box(form, "Text17(4)")->accessibleName(), QStringLiteral("文物征集 文物征集费 总计"));
        QCOMPARE(form.projectTypeList()->accessibleName(), QStringLiteral("项目类别"));
    }

    // Tab runs through the year grid year by year, the central box before the local one.
    void yearGridTabOrder()
    {
        ReportForm form;
        QStringList expected{"Text32"};
        for (int i = 0; i < 5; ++i)
            expected << QStringLiteral("Text12(%1)").arg(i) << QStringLiteral("Text13(%1)").arg(i);
        for (int i = 0; i + 1 < expected.size(); ++i) {
            QWidget* next = nextTabStop(box(form, expected[i]));
            QCOMPARE(next->objectName(), expected[i + 1]);
        }
        // and from a cost line's total to its central share
        QCOMPARE(nextTabStop(box(form, "Text17(4)"))->objectName(), QStringLiteral("Text18(4)"));
    }

    void newFormAndFirstTemplate()
    {
        TempProgramFolder folder;
        ReportForm form;
        QCOMPARE(form.projectGroup(), 0);
        QCOMPARE(enabledFrames(form), QList<bool>(8, true));
        const auto document = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        QVERIFY(form.TransferReportFields(rootOf(document), false));
        QCOMPARE(form.projectGroup(), 1);
        QCOMPARE(enabledFrames(form), onlyFrame(0));
        QCOMPARE(budgetTexts(form), QStringList(58, QStringLiteral("0")));
        QCOMPARE(form.projectTypeList()->currentIndex(), 0);
        QCOMPARE(form.projectNatureList()->currentIndex(), 0);
        QCOMPARE(box(form, "Text1")->text(), QString());
    }

    void roundTripKeepsEveryValue()
    {
        TempProgramFolder folder;
        Module1::UnitCode = QStringLiteral("410101");
        Module1::UnitName = QStringLiteral("博物馆 & <分馆>");
        Module1::UnitReportUser = QStringLiteral("张三𠀀");
        const QMap<QString, QString> values = sampleValues();

        const auto source = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        for (const Row& row : kRows)
            if (!isList(row))
                xml::SetNodeText(rootOf(source), pathOf(row), values.value(nameOf(row)));
        xml::SetNodeText(rootOf(source), "//Report/BasicInfo/ProjectType", "50");
        xml::SetNodeText(rootOf(source), "//Report/BasicInfo/ProjectAttribute", "3");
        // Saved and loaded again, as a report file would be.
        QVERIFY(Module1::SaveXmlDocument(source, folder.file("in.xm")));
        const auto loaded = Module1::LoadXmlDocument(folder.file("in.xm"));
        QVERIFY(Module1::GetLastErrorText().isEmpty());

        ReportForm form;
        QVERIFY(form.TransferReportFields(rootOf(loaded), false));
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(fieldText(form, nameOf(row)), values.value(nameOf(row)));
        QCOMPARE(form.projectTypeList()->currentText(), QStringLiteral("安全消防"));
        QCOMPARE(form.projectNatureList()->currentText(), QStringLiteral("保护利用性"));
        QCOMPARE(enabledFrames(form), onlyFrame(4));

        const auto saved = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        QVERIFY(form.TransferReportFields(rootOf(saved), true));
        QVERIFY(ui_->texts.isEmpty());
        QVERIFY(Module1::SaveXmlDocument(saved, folder.file("out.xm")));
        const auto reread = Module1::LoadXmlDocument(folder.file("out.xm"));
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(xml::GetNodeText(rootOf(reread), pathOf(row)), values.value(nameOf(row)));
        const auto text = [&](const char* path) { return xml::GetNodeText(rootOf(reread), QString::fromLatin1(path)); };
        QCOMPARE(text("//Report/BasicInfo/ProjectType"), QStringLiteral("50"));
        QCOMPARE(text("//Report/BasicInfo/ProjectType/@dict"), QStringLiteral("安全消防"));
        QCOMPARE(text("//Report/BasicInfo/ProjectAttribute"), QStringLiteral("3"));
        QCOMPARE(text("//Report/BasicInfo/ProjectAttribute/@dict"), QStringLiteral("保护利用性"));
        QCOMPARE(text("//Report/ReportInfo/CorpID"), QStringLiteral("410101"));
        QCOMPARE(text("//Report/ReportInfo/CorpName"), QStringLiteral("博物馆 & <分馆>"));
        QCOMPARE(text("//Report/ReportInfo/ReportUser"), QStringLiteral("张三𠀀"));
        QCOMPARE(text("//Report/ReportInfo/ReportDate"), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    // Values lose the spaces at their ends on the way in and on the way out; the box
    // keeps what the user typed.
    void spacesAreTrimmed()
    {
        TempProgramFolder folder;
        const auto source = Module1::ParseXmlText(
            QStringLiteral("<Report><BasicInfo><ProjectID>  P-01  </ProjectID><ProjectName> 城墙 修缮 </ProjectName>"
                           "</BasicInfo><FundDemand><Demand><Total>  12  </Total></Demand></FundDemand></Report>")
                .toUtf8());
        ReportForm form;
        form.TransferReportFields(rootOf(source), false);
        QCOMPARE(box(form, "Text1")->text(), QStringLiteral("P-01"));
        QCOMPARE(box(form, "Text2")->text(), QStringLiteral("城墙 修缮"));
        QCOMPARE(box(form, "Text32")->text(), QStringLiteral("12"));

        box(form, "Text1")->setText(QStringLiteral("  P-02  "));
        box(form, "Text8")->setText(QStringLiteral("   "));
        box(form, "Text7")->setText(QString());
        box(form, "Text32")->setText(QStringLiteral(" 12.5 "));
        const auto target = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(target), "//Report/BasicInfo/SalvageItem/RelicProtectionArea", "old");
        QVERIFY(form.TransferReportFields(rootOf(target), true));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/ProjectID"), QStringLiteral("P-02"));
        QCOMPARE(box(form, "Text1")->text(), QStringLiteral("  P-02  "));
        // a box of spaces stores an empty text, not the default
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/SalvageItem/RelicProtectionArea"), QString());
        QCOMPARE(box(form, "Text8")->text(), QStringLiteral("   "));
        // an empty amount stores and shows "0"
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/SalvageItem/NewDepotArea"), QStringLiteral("0"));
        QCOMPARE(box(form, "Text7")->text(), QStringLiteral("0"));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/FundDemand/Demand/Total"), QStringLiteral("12.5"));
        QCOMPARE(box(form, "Text32")->text(), QStringLiteral(" 12.5 "));
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
        const auto source = Module1::ParseXmlText(document.toUtf8());
        QVERIFY(Module1::GetLastErrorText().isEmpty());
        ReportForm form;
        // Values from an earlier report must not survive.
        for (const Row& row : kRows)
            if (!isList(row))
                setFieldText(form, nameOf(row), QStringLiteral("7"));
        form.projectTypeList()->selectItem(5);
        form.projectNatureList()->selectItem(2);
        QVERIFY(form.TransferReportFields(rootOf(source), false));
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(fieldText(form, nameOf(row)), QString::fromLatin1(row.defaultText));
        QCOMPARE(form.projectTypeList()->currentIndex(), 0);
        QCOMPARE(form.projectNatureList()->currentIndex(), 0);
        QCOMPARE(enabledFrames(form), onlyFrame(0));
    }

    void listsStoreTheirFirstItemWithoutSelection()
    {
        TempProgramFolder folder;
        ReportForm form;
        form.projectTypeList()->setCurrentIndex(-1);
        form.projectNatureList()->setCurrentIndex(-1);
        const auto target = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(target), "//Report/BasicInfo/ProjectType", "90");
        xml::SetNodeText(rootOf(target), "//Report/BasicInfo/ProjectAttribute", "2");
        QVERIFY(form.TransferReportFields(rootOf(target), true));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/ProjectType"), QStringLiteral("11"));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/ProjectType/@dict"),
                 QStringLiteral("古建维修规划"));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/ProjectAttribute"), QStringLiteral("1"));
        QCOMPARE(xml::GetNodeText(rootOf(target), "//Report/BasicInfo/ProjectAttribute/@dict"),
                 QStringLiteral("抢救性"));
    }

    // The hidden cost line "出土文物修复费" takes part in the checks only.
    void hiddenRowIsNeitherWrittenNorRead()
    {
        TempProgramFolder folder;
        ReportForm form;
        const auto blank = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        form.TransferReportFields(rootOf(blank), false);

        const auto save = [&]() {
            const auto target = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
            if (!form.TransferReportFields(rootOf(target), true))
                return QByteArray();
            return xml::SerializeXmlDocument(target);
        };
        box(form, "Text32")->setText(QStringLiteral("9"));
        box(form, "Text12(0)")->setText(QStringLiteral("5"));
        const QByteArray withoutHidden = save();
        QVERIFY(!withoutHidden.isEmpty());
        box(form, "Text21(1)")->setText(QStringLiteral("9"));
        box(form, "Text22(1)")->setText(QStringLiteral("5"));
        QCOMPARE(save(), withoutHidden);

        // Loading a report of the same group leaves them alone.
        form.TransferReportFields(rootOf(blank), false);
        QCOMPARE(box(form, "Text21(1)")->text(), QStringLiteral("9"));
        QCOMPARE(box(form, "Text22(1)")->text(), QStringLiteral("5"));
    }

    // Invisible control characters pasted into a box must not make the saved report
    // unreadable; tabs and line breaks stay.
    void savedReportWithControlCharactersOpensAgain()
    {
        TempProgramFolder folder;
        ReportForm form;
        const auto blank = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        form.TransferReportFields(rootOf(blank), false);
        box(form, "Text2")->setText(QStringLiteral("城") + QChar(1) + QStringLiteral("墙") + QChar(0x0B) + QChar(0xFFFE) +
                                    QChar(0xD800) + QStringLiteral("𠀀"));
        plain(form, "Text30")->setPlainText(QStringLiteral("一\t二\n三") + QChar(0x1F));
        const auto target = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        QVERIFY(form.TransferReportFields(rootOf(target), true));
        QVERIFY(Module1::SaveXmlDocument(target, folder.file("c.xm")));
        const auto reread = Module1::LoadXmlDocument(folder.file("c.xm"));
        QCOMPARE(Module1::GetLastErrorText(), QString());
        QCOMPARE(xml::GetNodeText(rootOf(reread), "//Report/BasicInfo/ProjectName"), QStringLiteral("城墙𠀀"));
        QCOMPARE(xml::GetNodeText(rootOf(reread), "//Report/BasicInfo/SalvageItem/ProtectionContent"),
                 QStringLiteral("一\t二\n三"));
    }

    void failedCheckWritesNothing()
    {
        TempProgramFolder folder;
        Module1::UnitCode = QStringLiteral("410101");
        ReportForm form;
        const auto target = Module1::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        form.TransferReportFields(rootOf(target), false);
        const QByteArray before = xml::SerializeXmlDocument(target);
        box(form, "Text1")->setText(QStringLiteral("P-9"));
        box(form, "Text17(0)")->setText(QStringLiteral("1"));
        box(form, "Text18(0)")->setText(QStringLiteral("2"));
        QVERIFY(!form.TransferReportFields(rootOf(target), true));
        QCOMPARE(ui_->texts.size(), 1);
        QCOMPARE(xml::SerializeXmlDocument(target), before);
    }

private:
    ScriptedUi* ui_ = nullptr;
};

QTEST_MAIN(TestReportBinding)
#include "test_reportbinding.moc"
