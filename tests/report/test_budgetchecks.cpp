// The budget rules as the report form shows them while the clerk types: the running sums
// on the three tabs and the mark beside a cost line. The rules themselves, the boxes they
// read and rewrite, are tested at core level (core_test_budget_rules); Save's message and
// the rewritten boxes in the window by the lifecycle tests.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/BudgetAmount.h"
#include "report/BudgetStatus.h"
#include "report/CostLineMark.h"
#include "report/ReportForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace testing;

class TestBudgetChecks : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ui_ = new ScriptedUi;
        folder_ = new TempProgramFolder;
        form_ = new ReportForm;
        // A new report: every amount "0", only the first budget frame enabled.
        showDocument(*form_, testdoc::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl"))));
    }
    void cleanup()
    {
        delete form_;
        delete folder_;
        ui_->finish();
        delete ui_;
    }

    // The running sums follow typing with the checks' exact reading, on all three tabs,
    // and never rewrite a box or say anything.
    void runningSumsFollowTyping()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        const auto type = [this](const char* name, const char* keys) {
            box(*form_, QString::fromLatin1(name))->selectAll();
            QTest::keyClicks(box(*form_, QString::fromLatin1(name)), QString::fromLatin1(keys));
        };
        const auto row = [this](int r, int tab = 1) { return form_->budgetStatus(tab)->rowLabel(r)->text(); };
        type("Text32", "0.3");
        type("Text12(0)", "0.1");
        type("Text13(0)", "0.2");
        QCOMPARE(row(0), QStringLiteral("各年中央投入 0.1 + 各年地方投入 0.2 = 0.3 ≤ 资金需求合计 0.3"));
        QVERIFY(!form_->budgetStatus(1)->isBroken(0));
        type("Text13(1)", "x,1");
        QCOMPARE(box(*form_, "Text13(1)")->text(), QStringLiteral("x,1"));
        type("Text13(2)", "0.01");
        for (int tab = 1; tab <= 3; ++tab) {
            QCOMPARE(row(0, tab), QStringLiteral("各年中央投入 0.1 + 各年地方投入 0.21 = 0.31 ≤ 资金需求合计 0.3"));
            QVERIFY(form_->budgetStatus(tab)->isBroken(0));
            QCOMPARE(form_->budgetStatus(tab)->markLabel(0)->text(), QStringLiteral("✗ 超出"));
            QVERIFY(form_->budgetStatus(tab)->accessibleDescription().contains(QStringLiteral("超出")));
        }
        type("Text17(0)", "0.2");
        type("Text18(0)", "0.25");
        QCOMPARE(row(1), QStringLiteral("预算各项总计之和 0.2 ≤ 资金需求合计 0.3"));
        QCOMPARE(row(2), QStringLiteral("预算各项中央投入之和 0.25 ≤ 各年中央投入 0.1"));
        QVERIFY(!form_->budgetStatus(2)->isBroken(1) && form_->budgetStatus(2)->isBroken(2));
        // The cost line itself shows its share over its total.
        auto* mark = form_->findChild<CostLineMark*>(QStringLiteral("Text18(0)Mark"));
        QVERIFY(mark->isExceeded() && !mark->isHidden());
        QCOMPARE(box(*form_, "Text18(0)")->toolTip(), QStringLiteral("中央投入 0.25 超过总计 0.2"));
        type("Text17(0)", "0.25");
        QVERIFY(mark->isHidden() && box(*form_, "Text18(0)")->toolTip().isEmpty());
        QCOMPARE(ui_->texts, QStringList());
    }

private:
    ScriptedUi* ui_ = nullptr;
    TempProgramFolder* folder_ = nullptr;
    ReportForm* form_ = nullptr;
};

QTEST_MAIN(TestBudgetChecks)
#include "test_budgetchecks.moc"
