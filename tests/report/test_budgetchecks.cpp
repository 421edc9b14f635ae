// The budget rules as the report window applies them: the message shown, every box the
// rules read (disabled frames and the hidden pair included), and the boxes rewritten.
// The rules' boundaries and exact decimals are tested at core level (core_test_budget_rules).
#include "ReportFormTesting.h"
#include "ScriptedUi.h"
#include "TempProgramFolder.h"
#include "core/BudgetAmount.h"
#include "report/ReportForm.h"

#include <QTest>

using namespace testing;

namespace {

const QStringList kMessages{
    QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额"),
    QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和"),
    QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合"),
    QStringLiteral("项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合"),
};

// "Text17(0)=100" entries.
void fill(ReportForm& form, const QStringList& settings)
{
    for (const QString& setting : settings) {
        const qsizetype at = setting.indexOf(QLatin1Char('='));
        box(form, setting.left(at))->setText(setting.mid(at + 1));
    }
}

} // namespace

class TestBudgetChecks : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ui_ = new ScriptedUi;
        folder_ = new TempProgramFolder;
        form_ = new ReportForm;
        // A new report: every amount "0", only the first budget frame enabled.
        const auto document = Module1::LoadXmlDocument(folder_->file(QStringLiteral("report1.tpl")));
        QVERIFY(form_->TransferReportFields(rootOf(document), false));
    }
    void cleanup()
    {
        delete form_;
        delete folder_;
        ui_->finish();
        delete ui_;
    }

    void rules_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("brokenRule"); // 0: all rules hold

        QTest::newRow("new report") << QStringList{} << 0;
        QTest::newRow("share above total") << QStringList{"Text32=200", "Text12(0)=200", "Text17(0)=100", "Text18(0)=100.5"} << 1;
        QTest::newRow("in a disabled frame") << QStringList{"Text19(6)=1", "Text20(6)=2"} << 1;
        QTest::newRow("in the hidden line") << QStringList{"Text21(1)=1", "Text22(1)=2"} << 1;
        QTest::newRow("demand below the years") << QStringList{"Text32=29.99", "Text12(0)=10", "Text13(4)=20"} << 2;
        QTest::newRow("demand below the budget") << QStringList{"Text32=49.9", "Text17(3)=20", "Text25(1)=30"} << 3;
        QTest::newRow("central below the shares")
            << QStringList{"Text32=100", "Text12(1)=39.99", "Text17(0)=60", "Text18(0)=25", "Text27(1)=15",
                           "Text28(1)=15"}
            << 4;
        QTest::newRow("rules 2 and 3 broken") << QStringList{"Text32=1", "Text12(0)=5", "Text17(0)=10"} << 2;
    }
    void rules()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, brokenRule);
        fill(*form_, settings);
        QCOMPARE(form_->CheckBudgetTotals(), brokenRule == 0);
        const QStringList expected = brokenRule ? QStringList{kMessages[brokenRule - 1]} : QStringList{};
        QCOMPARE(ui_->texts, expected);
    }

    // Boxes are read in a fixed order and text that is no amount becomes "0" as it is
    // read; a stop at rule 1 leaves the boxes after the offending pair as they were.
    void normalisationFollowsTheReadingOrder()
    {
        fill(*form_, {"Text32=abc", "Text17(0)= 12.5 ", QStringLiteral("Text18(0)=１２"), "Text17(1)=",
                      "Text18(1)=5", "Text17(2)=zz", "Text18(2)=abc", QStringLiteral("Text19(0)=１"), "Text12(0)=q",
                      "Text13(4)=1,000"});
        QVERIFY(!form_->CheckBudgetTotals());
        QCOMPARE(ui_->texts, QStringList{kMessages[0]});
        QCOMPARE(box(*form_, "Text32")->text(), QStringLiteral("0"));
        QCOMPARE(box(*form_, "Text17(0)")->text(), QStringLiteral(" 12.5 "));
        QCOMPARE(box(*form_, "Text18(0)")->text(), QStringLiteral("12"));
        QCOMPARE(box(*form_, "Text17(1)")->text(), QStringLiteral("0"));
        QCOMPARE(box(*form_, "Text18(1)")->text(), QStringLiteral("5"));
        QCOMPARE(box(*form_, "Text17(2)")->text(), QStringLiteral("zz"));
        QCOMPARE(box(*form_, "Text18(2)")->text(), QStringLiteral("abc"));
        QCOMPARE(box(*form_, "Text19(0)")->text(), QStringLiteral("１"));
        QCOMPARE(box(*form_, "Text12(0)")->text(), QStringLiteral("q"));
        QCOMPARE(box(*form_, "Text13(4)")->text(), QStringLiteral("1,000"));

        // Once the offending pair is mended, the whole form is read.
        box(*form_, "Text18(1)")->setText(QStringLiteral("0"));
        ui_->texts.clear();
        QVERIFY(!form_->CheckBudgetTotals()); // 0 < 1000 + 12.5 + 12 ... : rule 2
        QCOMPARE(ui_->texts, QStringList{kMessages[1]});
        QCOMPARE(box(*form_, "Text17(2)")->text(), QStringLiteral("0"));
        QCOMPARE(box(*form_, "Text18(2)")->text(), QStringLiteral("0"));
        QCOMPARE(box(*form_, "Text19(0)")->text(), QStringLiteral("1"));
        QCOMPARE(box(*form_, "Text12(0)")->text(), QStringLiteral("0"));
        QCOMPARE(box(*form_, "Text13(4)")->text(), QStringLiteral("1000"));
    }

    void readAmount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("spaces kept") << " 12.5 " << "25/2" << " 12.5 ";
        QTest::newRow("letters") << "abc" << "0" << "0";
        QTest::newRow("full-width") << QStringLiteral("１２３．４５") << "2469/20" << "123.45";
        QTest::newRow("grouped") << "1,200.50" << "2401/2" << "1200.50";
    }
    void readAmount()
    {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        QLineEdit amount(text);
        QCOMPARE(ReportForm::ReadAmount(&amount).toString(), value);
        QCOMPARE(amount.text(), shown);
    }

private:
    ScriptedUi* ui_ = nullptr;
    TempProgramFolder* folder_ = nullptr;
    ReportForm* form_ = nullptr;
};

QTEST_MAIN(TestBudgetChecks)
#include "test_budgetchecks.moc"
