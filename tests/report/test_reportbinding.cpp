// The report form: every field's control under its name, on its tab and in its frame,
// the values it shows and hands back, defaults, the coded lists, hints, names and tab
// order. What a document holds and writes is tested at core level (core_test_budget_report).
#include "../core/ReportRows.h"
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/ReportFieldTable.h"
#include "report/ReportForm.h"
#include "ui/CodedList.h"
#include "TestDocuments.h"
#include "store/Settings.h"

#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace testing;
using namespace rows;

namespace {

// What a field's control shows; a long text has no control, only its value.
QString fieldText(ReportForm& form, const QString& name)
{
    form.buildAllTabs();
    if (auto* line = form.findChild<QLineEdit*>(name))
        return line->text();
    if (auto* area = form.findChild<QPlainTextEdit*>(name))
        return area->toPlainText();
    return form.value(fieldOf(name));
}

void setFieldText(ReportForm& form, const QString& name, const QString& text)
{
    form.buildAllTabs();
    if (auto* line = form.findChild<QLineEdit*>(name)) {
        line->setText(text);
    } else if (auto* area = form.findChild<QPlainTextEdit*>(name)) {
        area->setPlainText(text);
    } else {
        ReportValues value;
        value.setValue(fieldOf(name), text);
        form.setValues(value);
    }
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

    void formHoldsEveryControl()
    {
        ReportForm form;
        QCOMPARE(form.objectName(), QStringLiteral("SSTab1"));
        QCOMPARE(form.count(), 4);
        QCOMPARE(form.tabText(0), QStringLiteral("项目基本情况"));
        QCOMPARE(form.tabText(1), QStringLiteral("项目资金需求情况"));
        QCOMPARE(form.tabText(2), QStringLiteral("项目资金预算情况一"));
        QCOMPARE(form.tabText(3), QStringLiteral("项目资金预算情况二"));

        form.buildAllTabs();
        const QSet<QString> longTexts{"Text3", "Text4", "Text5", "Text6"};
        const QSet<QString> plainTexts{"Text30", "Text31"};
        for (const Row& row : kRows) {
            const QString name = nameOf(row);
            if (isList(row))
                QVERIFY2(form.findChild<CodedList*>(name), qPrintable(name));
            else if (longTexts.contains(name))
                QVERIFY2(!form.findChild<QWidget*>(name) && !form.control(fieldOf(name)), qPrintable(name));
            else if (plainTexts.contains(name))
                QVERIFY2(form.findChild<QPlainTextEdit*>(name), qPrintable(name));
            else
                QVERIFY2(form.findChild<QLineEdit*>(name), qPrintable(name));
        }
        QCOMPARE(form.list("projectType"), form.findChild<CodedList*>("Combo1"));
        QCOMPARE(form.list("projectNature"), form.findChild<CodedList*>("Combo2"));
        QCOMPARE(form.lineEdit("projectCode"), box(form, "Text1"));
        QCOMPARE(form.lineEdit("projectName"), box(form, "Text2"));
        QCOMPARE(form.list("projectType")->count(), 24);
        QCOMPARE(form.list("projectNature")->count(), 3);
        // 75 bound single-line boxes; the hidden cost line has none
        QCOMPARE(form.findChildren<QLineEdit*>().size(), 75);

        // The long texts: values without boxes, edited through their buttons.
        const QStringList captions{QStringLiteral("\"九五\"以来主要保护内容"), QStringLiteral("现存主要问题"),
                                   QStringLiteral("\"十一五\"项目主要内容"), QStringLiteral("备注")};
        form.show();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(form.longTextButton(i)->objectName(), QStringLiteral("Command%1").arg(i + 1));
            QCOMPARE(form.longTextButton(i)->text(), captions[i]);
            QCOMPARE(ReportForm::longTextField(i), fieldOf(QStringLiteral("Text%1").arg(i + 3)));
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
        auto document = testdoc::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(document), QStringLiteral("//Report/BasicInfo/ProjectName"), longName);
        ReportForm form;
        showDocument(form, document);
        QCOMPARE(form.lineEdit("projectName")->text(), longName);
        QCOMPARE(form.lineEdit("projectName")->cursorPosition(), 0);
        QPushButton* button = form.longTextButton(2);
        const QString caption = button->text();
        QVERIFY(!button->font().bold());
        setFieldText(form, QStringLiteral("Text5"), QStringLiteral(" 城墙东段坍塌 "));
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
        form.buildAllTabs();
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
            if (!widget) // a long text: edited through its button
                continue;
            QVERIFY2(form.widget(tab)->isAncestorOf(widget), qPrintable(nameOf(row)));
            if (!container.isEmpty())
                QVERIFY2(form.findChild<QGroupBox*>(container)->isAncestorOf(widget), qPrintable(nameOf(row)));
        }
        // The hidden cost line of the excavation frame is never shown.
        form.show();
        auto* frame = form.budgetFrame(1);
        for (const char* name : {"Text21(1)", "Text22(1)"})
            QVERIFY(!form.findChild<QWidget*>(name));
        for (QLabel* label : frame->findChildren<QLabel*>())
            QVERIFY(label->text() != QStringLiteral("出土文物修复费"));
    }

    void accessibleNamesAreUniqueAndSpeaking()
    {
        ReportForm form;
        form.buildAllTabs();
        QSet<QString> seen;
        QStringList names;
        for (const Row& row : kRows)
            if (form.findChild<QWidget*>(nameOf(row)))
                names << nameOf(row);
        QCOMPARE(names.size(), 79);
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
        QCOMPARE(form.list("projectType")->accessibleName(), QStringLiteral("项目类别"));
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
        showDocument(form, testdoc::LoadXmlDocument(folder.file(QStringLiteral("report1.tpl"))));
        QCOMPARE(form.projectGroup(), 1);
        QCOMPARE(enabledFrames(form), onlyFrame(0));
        QCOMPARE(budgetTexts(form), QStringList(56, QStringLiteral("0")));
        QCOMPARE(form.list("projectType")->currentIndex(), 0);
        QCOMPARE(form.list("projectNature")->currentIndex(), 0);
        QCOMPARE(box(form, "Text1")->text(), QString());
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
        const auto source = testdoc::ParseXmlText(document.toUtf8());
        QVERIFY(testdoc::GetLastErrorText().isEmpty());
        ReportForm form;
        // Values from an earlier report must not survive.
        for (const Row& row : kRows)
            if (!isList(row))
                setFieldText(form, nameOf(row), QStringLiteral("7"));
        form.list("projectType")->selectItem(5);
        form.list("projectNature")->selectItem(2);
        showDocument(form, source);
        for (const Row& row : kRows)
            if (!isList(row))
                QCOMPARE(fieldText(form, nameOf(row)), QString::fromLatin1(row.defaultText));
        QCOMPARE(form.list("projectType")->currentIndex(), 0);
        QCOMPARE(form.list("projectNature")->currentIndex(), 0);
        QCOMPARE(enabledFrames(form), onlyFrame(0));
    }

    // What the form is given it shows, and hands back unchanged, on every tab.
    void valuesShownAndHandedBack()
    {
        const QMap<QString, QString> samples = sampleValues();
        ReportValues values;
        for (auto it = samples.begin(); it != samples.end(); ++it)
            values.setValue(fieldOf(it.key()), it.value());
        values.setValue(QStringLiteral("projectType"), QStringLiteral("50"));
        values.setValue(QStringLiteral("projectNature"), QStringLiteral("3"));
        ReportForm form;
        form.setValues(values); // before the budget tabs are built
        for (auto it = samples.begin(); it != samples.end(); ++it) {
            QCOMPARE(form.value(fieldOf(it.key())), it.value());
            QCOMPARE(fieldText(form, it.key()), it.value());
        }
        QCOMPARE(form.list("projectType")->currentText(), QStringLiteral("安全消防"));
        QCOMPARE(form.list("projectNature")->currentText(), QStringLiteral("保护利用性"));
        QCOMPARE(enabledFrames(form), onlyFrame(4));
        QCOMPARE(form.values(), values);
    }

private:
    ScriptedUi* ui_ = nullptr;
};

QTEST_MAIN(TestReportBinding)
#include "test_reportbinding.moc"
