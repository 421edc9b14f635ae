// The running sums follow the clerk's typing with the checks' exact arithmetic, mark the
// broken rule in words as well as colour, and never touch a box, the focus or a message.
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "report/BudgetStatus.h"
#include "report/CostLineMark.h"
#include "report/ReportForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace testing;

class TestBudgetStatus : public QObject {
    Q_OBJECT

    ScriptedUi* ui_ = nullptr;
    ReportForm* form_ = nullptr;

    void typeInto(const char* name, const char* keys)
    {
        QLineEdit* target = box(*form_, QString::fromLatin1(name));
        for (int tab = 0; tab < form_->count(); ++tab)
            if (form_->widget(tab)->isAncestorOf(target))
                form_->setCurrentIndex(tab);
        target->setFocus();
        target->selectAll();
        QTest::keyClicks(target, QString::fromLatin1(keys));
    }
    // The three statuses show one account.
    void verifyRow(int row, const QString& text, bool broken)
    {
        for (int tab = 1; tab <= 3; ++tab) {
            BudgetStatus* status = form_->budgetStatus(tab);
            QCOMPARE(status->rowLabel(row)->text(), text);
            QCOMPARE(status->isBroken(row), broken);
            QCOMPARE(status->markLabel(row)->text(), broken ? QStringLiteral("✗ 超出") : QStringLiteral("✓"));
            QCOMPARE(status->rowLabel(row)->accessibleDescription().endsWith(QStringLiteral("：符合")), !broken);
            QVERIFY(status->accessibleDescription().contains(status->rowLabel(row)->accessibleDescription()));
        }
    }

private slots:
    void init()
    {
        ui_ = new ScriptedUi;
        form_ = new ReportForm;
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
    }
    void cleanup()
    {
        delete form_;
        ui_->finish();
        delete ui_;
    }

    void sumsAreExactAndTheBrokenRuleIsMarked()
    {
        typeInto("Text32", "0.3");
        typeInto("Text12(0)", "0.1");
        typeInto("Text13(0)", "0.2");
        verifyRow(0, QStringLiteral("各年中央投入 0.1 + 各年地方投入 0.2 = 0.3 ≤ 资金需求合计 0.3"), false);
        typeInto("Text13(0)", "0.21");
        verifyRow(0, QStringLiteral("各年中央投入 0.1 + 各年地方投入 0.21 = 0.31 ≤ 资金需求合计 0.3"), true);
        QCOMPARE(form_->budgetStatus(1)->rowLabel(0)->palette().color(QPalette::WindowText),
                 form_->budgetStatus(1)->markLabel(0)->palette().color(QPalette::WindowText));
        QVERIFY(form_->budgetStatus(1)->rowLabel(0)->palette().color(QPalette::WindowText)
                != form_->budgetStatus(1)->rowLabel(1)->palette().color(QPalette::WindowText));

        typeInto("Text17(0)", "0.2");
        typeInto("Text19(3)", "0.2");
        verifyRow(1, QStringLiteral("预算各项总计之和 0.4 ≤ 资金需求合计 0.3"), true);
        typeInto("Text18(0)", "0.15");
        verifyRow(2, QStringLiteral("预算各项中央投入之和 0.15 ≤ 各年中央投入 0.1"), true);
        typeInto("Text12(4)", "0.05");
        verifyRow(2, QStringLiteral("预算各项中央投入之和 0.15 ≤ 各年中央投入 0.15"), false);
        QCOMPARE(ui_->texts, QStringList());
    }

    // What is not an amount counts 0 and stays exactly as typed, with the focus in its box.
    void typingIsNeverRewritten()
    {
        typeInto("Text32", "10");
        typeInto("Text12(1)", "abc");
        QLineEdit* typed = box(*form_, QStringLiteral("Text12(1)"));
        QCOMPARE(typed->text(), QStringLiteral("abc"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(typed));
        verifyRow(0, QStringLiteral("各年中央投入 0 + 各年地方投入 0 = 0 ≤ 资金需求合计 10"), false);
        typeInto("Text12(2)", "1,000");
        QCOMPARE(box(*form_, QStringLiteral("Text12(2)"))->text(), QStringLiteral("1,000"));
        verifyRow(0, QStringLiteral("各年中央投入 1000 + 各年地方投入 0 = 1000 ≤ 资金需求合计 10"), true);
        QCOMPARE(ui_->texts, QStringList());
    }

    void costLineShowsAShareOverItsTotal()
    {
        QLineEdit* share = box(*form_, QStringLiteral("Text18(0)"));
        auto* mark = form_->findChild<CostLineMark*>(QStringLiteral("Text18(0)Mark"));
        QVERIFY(mark);
        QVERIFY(!mark->isVisibleTo(form_));
        typeInto("Text17(0)", "5");
        typeInto("Text18(0)", "7.5");
        QVERIFY(mark->isVisibleTo(form_));
        QCOMPARE(mark->text(), QStringLiteral("✗ 超出"));
        QCOMPARE(share->toolTip(), QStringLiteral("中央投入 7.5 超过总计 5"));
        QCOMPARE(share->accessibleDescription(), share->toolTip());
        QVERIFY(!share->styleSheet().isEmpty());
        QCOMPARE(share->text(), QStringLiteral("7.5"));
        typeInto("Text17(0)", "7.5");
        QVERIFY(!mark->isVisibleTo(form_));
        QVERIFY(share->toolTip().isEmpty());
        QVERIFY(share->styleSheet().isEmpty());
        QCOMPARE(ui_->texts, QStringList());
    }
};

QTEST_MAIN(TestBudgetStatus)
#include "test_budget_status.moc"
