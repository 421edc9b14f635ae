// The project type picks the editable budget frame; a change of group clears the budget.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/ProjectTypes.h"
#include "report/ReportForm.h"
#include "ui/CodedList.h"

#include <QTest>

using namespace testing;

namespace {

struct TypeRow {
    int code;
    const char* text;
    int frame;
};

// The project types in list order with the budget frame each one edits.
const TypeRow kTypes[] = {
    {11, "古建维修规划", 0},   {12, "古建维修", 0},       {13, "其他保护维修项目", 0},
    {21, "田野考古调查", 1},   {22, "田野考古勘探", 1},   {23, "田野考古发掘", 1},
    {24, "水下考古调查", 1},   {25, "水下考古勘探", 1},   {26, "水下考古发掘", 1},
    {27, "航空考古调查", 1},   {28, "航空考古勘探", 1},   {29, "航空考古发掘", 1},
    {31, "博物馆维修规划", 2}, {32, "博物馆维修", 2},     {40, "文物征集", 3},
    {50, "安全消防", 4},       {60, "藏品及重要出土文物保护", 5},
    {71, "遗址保护规划", 0},   {72, "遗址保护", 0},       {81, "新建库房", 7},
    {82, "改建库房", 7},       {83, "扩建库房", 7},       {84, "购置保护设施", 7},
    {90, "大遗址保护设施建设", 6},
};

int indexOf(const char* text)
{
    for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i)
        if (QByteArray(kTypes[i].text) == text)
            return i;
    qFatal("no project type %s", text);
}

// Distinct values in all 56 budget boxes.
QStringList fillBudget(ReportForm& form)
{
    QStringList values;
    int n = 1;
    for (const QString& name : budgetBoxNames()) {
        values << QStringLiteral("%1.25").arg(n++);
        box(form, name)->setText(values.last());
    }
    return values;
}

} // namespace

class TestProjectTypes : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ui_ = new ScriptedUi;
        folder_ = new TempProgramFolder;
        form_ = new ReportForm;
        const auto document = testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl")));
        showDocument(*form_, document);
    }
    void cleanup()
    {
        delete form_;
        delete folder_;
        ui_->finish();
        delete ui_;
    }

    void listsHoldTheirItems()
    {
        CodedList* types = form_->list(QStringLiteral("projectType"));
        QCOMPARE(types->count(), static_cast<int>(std::size(kTypes)));
        for (int i = 0; i < types->count(); ++i) {
            QCOMPARE(types->codeAt(i), kTypes[i].code);
            QCOMPARE(types->itemText(i), QString::fromUtf8(kTypes[i].text));
        }
        CodedList* natures = form_->list(QStringLiteral("projectNature"));
        QCOMPARE(natures->count(), 3);
        const QStringList texts{QStringLiteral("抢救性"), QStringLiteral("维护性"), QStringLiteral("保护利用性")};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(natures->codeAt(i), i + 1);
            QCOMPARE(natures->itemText(i), texts[i]);
        }
        QVERIFY(!types->isEditable());
        QVERIFY(!natures->isEditable());
    }

    void eachTypeEnablesItsFrame_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < static_cast<int>(std::size(kTypes)); ++i)
            QTest::newRow(kTypes[i].text) << i;
    }
    void eachTypeEnablesItsFrame()
    {
        QFETCH(int, index);
        form_->list(QStringLiteral("projectType"))->selectItem(index);
        QCOMPARE(enabledFrames(*form_), onlyFrame(kTypes[index].frame));
        QCOMPARE(form_->projectGroup(), kTypes[index].code / 10);
        QCOMPARE(ProjectTypes::budgetFrameOfGroup(ProjectTypes::groupOfCode(kTypes[index].code)), kTypes[index].frame);
    }

    void groupsWithoutFrame()
    {
        for (int group : {-1, 0, 10, 99})
            QCOMPARE(ProjectTypes::budgetFrameOfGroup(group), -1);
    }

    void sameGroupKeepsEveryAmount()
    {
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("田野考古调查"));
        const QStringList values = fillBudget(*form_);
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("水下考古发掘"));
        QCOMPARE(budgetTexts(*form_), values);
        QCOMPARE(enabledFrames(*form_), onlyFrame(1));
        QCOMPARE(form_->projectGroup(), 2);
    }

    // Restoration and site protection share a frame but are different groups.
    void otherGroupOfTheSameFrameResets()
    {
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("古建维修"));
        fillBudget(*form_);
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("遗址保护"));
        QCOMPARE(budgetTexts(*form_), QStringList(56, QStringLiteral("0")));
        QCOMPARE(enabledFrames(*form_), onlyFrame(0));
        QCOMPARE(form_->projectGroup(), 7);
    }

    void relicPurchaseUsesElementFour()
    {
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("文物征集"));
        QCOMPARE(enabledFrames(*form_), onlyFrame(3));
        QStringList names;
        for (QLineEdit* amount : form_->budgetFrame(3)->findChildren<QLineEdit*>())
            names << amount->objectName();
        names.sort();
        QCOMPARE(names, (QStringList{"Text17(4)", "Text18(4)"}));
        QVERIFY(box(*form_, "Text17(4)")->isEnabledTo(form_));
        QVERIFY(!box(*form_, "Text17(3)")->isEnabledTo(form_));
    }

    // Enabling never disables: a frame switched on by other means stays on while the
    // group is unchanged, and a new form starts with every frame on.
    void applyOnlyEnables()
    {
        ReportForm fresh;
        QCOMPARE(enabledFrames(fresh), QList<bool>(8, true));
        QCOMPARE(fresh.projectGroup(), 0);
        form_->budgetFrame(5)->setEnabled(true);
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("其他保护维修项目"));
        QList<bool> expected = onlyFrame(0);
        expected[5] = true;
        QCOMPARE(enabledFrames(*form_), expected);
    }

    void setProjectGroupSkipsTheReset()
    {
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("安全消防"));
        const QStringList values = fillBudget(*form_);
        form_->setProjectGroup(6);
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("藏品及重要出土文物保护"));
        QCOMPARE(budgetTexts(*form_), values);
        QCOMPARE(form_->budgetFrame(5)->isEnabled(), true);
    }

    void resetClearsEverything()
    {
        fillBudget(*form_);
        form_->resetBudgetFrames();
        QCOMPARE(budgetTexts(*form_), QStringList(56, QStringLiteral("0")));
        QCOMPARE(enabledFrames(*form_), QList<bool>(8, false));
    }

    // Opening a report of another group shows exactly the file's amounts: the reset
    // caused by its type happens before the amounts are filled in.
    void openingAnotherGroupShowsTheFile()
    {
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("古建维修"));
        fillBudget(*form_);
        const auto document = testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/ProjectType", "50");
        xml::SetNodeText(rootOf(document), "//Report/BudgetDetail/FireSecurity/Design/Total", "30");
        xml::SetNodeText(rootOf(document), "//Report/BudgetDetail/FireSecurity/Design/State", "20");
        xml::SetNodeText(rootOf(document), "//Report/BudgetDetail/RelicRepairment/Other/Total", "7");
        showDocument(*form_, document);
        QStringList expected(56, QStringLiteral("0"));
        const QStringList names = budgetBoxNames();
        expected[names.indexOf("Text17(3)")] = QStringLiteral("30");
        expected[names.indexOf("Text18(3)")] = QStringLiteral("20");
        expected[names.indexOf("Text27(0)")] = QStringLiteral("7"); // kept in its disabled frame
        QCOMPARE(budgetTexts(*form_), expected);
        QCOMPARE(enabledFrames(*form_), onlyFrame(4));
        QCOMPARE(form_->projectGroup(), 5);
    }

    void storedCodeSelectsItsItem_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("23") << "23" << 5;
        QTest::newRow("90") << "90" << 23;
        QTest::newRow("12.0") << "12.0" << 1;
        QTest::newRow("unknown code") << "99" << 0;
        QTest::newRow("group only") << "4" << 0;
        QTest::newRow("word") << QStringLiteral("古建") << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void storedCodeSelectsItsItem()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        form_->list(QStringLiteral("projectType"))->selectItem(indexOf("新建库房"));
        const auto document = testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl")));
        xml::SetNodeText(rootOf(document), "//Report/BasicInfo/ProjectType", stored);
        showDocument(*form_, document);
        QCOMPARE(form_->list(QStringLiteral("projectType"))->currentIndex(), index);
        QCOMPARE(enabledFrames(*form_), onlyFrame(kTypes[index].frame));
    }

private:
    ScriptedUi* ui_ = nullptr;
    TempProgramFolder* folder_ = nullptr;
    ReportForm* form_ = nullptr;
};

QTEST_MAIN(TestProjectTypes)
#include "test_projecttypes.moc"
