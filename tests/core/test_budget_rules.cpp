// The four budget rules over a report's values: boundaries, order, exact decimals and
// which boxes reading rewrites, with the blank template's values as a new report.
#include "ControlNames.h"
#include "core/BudgetRules.h"
#include "core/ReportFile.h"

#include <QLocale>
#include <QTest>

namespace {

// A new report: the blank template read as a file, every amount "0", plus the hidden
// pair, which is never stored.
ReportValues newReport()
{
    const ReportFile blank = ReadReportFile(QStringLiteral(VANTREL_TEMPLATES_DIR "/report1.tpl"));
    ReportValues values = blank.values;
    values.setValue(fieldOf(QStringLiteral("Text21(1)")), QStringLiteral("0"));
    values.setValue(fieldOf(QStringLiteral("Text22(1)")), QStringLiteral("0"));
    return values;
}

// "Text17(0)=100" entries.
ReportValues with(const QStringList& settings)
{
    ReportValues values = newReport();
    for (const QString& setting : settings) {
        const qsizetype at = setting.indexOf(QLatin1Char('='));
        values.setValue(fieldOf(setting.left(at)), setting.mid(at + 1));
    }
    return values;
}

} // namespace

class TestBudgetRules : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void rules_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("brokenRule"); // 0: all rules hold

        QTest::newRow("new report") << QStringList{} << 0;
        QTest::newRow("share equal to total") << QStringList{"Text32=100", "Text12(0)=100", "Text17(0)=100", "Text18(0)=100"} << 0;
        QTest::newRow("share above total") << QStringList{"Text32=200", "Text12(0)=200", "Text17(0)=100", "Text18(0)=100.5"} << 1;
        QTest::newRow("empty total, share 5") << QStringList{"Text17(0)=", "Text18(0)=5"} << 1;
        QTest::newRow("in a disabled frame") << QStringList{"Text19(6)=1", "Text20(6)=2"} << 1;
        QTest::newRow("in the hidden line") << QStringList{"Text21(1)=1", "Text22(1)=2"} << 1;
        QTest::newRow("last pair") << QStringList{"Text27(1)=0.01", "Text28(1)=0.02"} << 1;
        QTest::newRow("negative amounts") << QStringList{"Text17(0)=-5", "Text18(0)=-10"} << 0;
        QTest::newRow("letters in the share") << QStringList{"Text17(0)=3", "Text18(0)=abc", "Text32=3"} << 0;
        QTest::newRow("demand equal to the years") << QStringList{"Text32=30", "Text12(0)=10", "Text13(4)=20"} << 0;
        QTest::newRow("demand below the years") << QStringList{"Text32=29.99", "Text12(0)=10", "Text13(4)=20"} << 2;
        QTest::newRow("0.1 + 0.2 = 0.3") << QStringList{"Text32=0.3", "Text12(0)=0.1", "Text13(0)=0.2"} << 0;
        QTest::newRow("14.3 + 12.4 = 26.7") << QStringList{"Text32=26.7", "Text12(0)=14.3", "Text13(0)=12.4"} << 0;
        QTest::newRow("tenths over five years")
            << QStringList{"Text32=1", "Text12(0)=0.1", "Text12(1)=0.1", "Text12(2)=0.1", "Text12(3)=0.1",
                           "Text12(4)=0.1", "Text13(0)=0.1", "Text13(1)=0.1", "Text13(2)=0.1", "Text13(3)=0.1",
                           "Text13(4)=0.1"}
            << 0;
        QTest::newRow("demand equal to the budget") << QStringList{"Text32=50", "Text17(3)=20", "Text25(1)=30"} << 0;
        QTest::newRow("demand below the budget") << QStringList{"Text32=49.9", "Text17(3)=20", "Text25(1)=30"} << 3;
        QTest::newRow("central equal to the shares")
            << QStringList{"Text32=100", "Text12(1)=40", "Text17(0)=60", "Text18(0)=25", "Text27(1)=15",
                           "Text28(1)=15"}
            << 0;
        QTest::newRow("central below the shares")
            << QStringList{"Text32=100", "Text12(1)=39.99", "Text17(0)=60", "Text18(0)=25", "Text27(1)=15",
                           "Text28(1)=15"}
            << 4;
        QTest::newRow("rules 2 and 3 broken") << QStringList{"Text32=1", "Text12(0)=5", "Text17(0)=10"} << 2;
        QTest::newRow("rules 1 and 2 broken") << QStringList{"Text32=0", "Text12(0)=5", "Text17(0)=1", "Text18(0)=2"} << 1;
        QTest::newRow("rules 3 and 4 broken") << QStringList{"Text32=1", "Text17(0)=5", "Text18(0)=5"} << 3;
        QTest::newRow("full-width and grouped")
            << QStringList{QStringLiteral("Text32=１，０００"), "Text12(0)=1,000", QStringLiteral("Text17(0)=１０００．００"),
                           "Text18(0)=999.99"}
            << 0;
        QTest::newRow("full-width against plain")
            << QStringList{QStringLiteral("Text32=９９９"), "Text12(0)=1,000"} << 2;
        QTest::newRow("exponent is no amount") << QStringList{"Text32=1e3", "Text12(0)=1"} << 2;
        QTest::newRow("infinity is no amount") << QStringList{"Text32=inf", "Text12(0)=1"} << 2;
        QTest::newRow("hexadecimal is no amount") << QStringList{"Text32=0x10", "Text12(0)=1"} << 2;
        QTest::newRow("nan share counts as 0") << QStringList{"Text17(0)=-1", "Text18(0)=nan"} << 1;
    }
    void rules()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, brokenRule);
        const BudgetRuleResult result = CheckBudgetRules(with(settings));
        QCOMPARE(result.brokenRule, brokenRule);
        QCOMPARE(result.ok(), brokenRule == 0);
        QCOMPARE(result.message, BudgetRuleMessage(brokenRule));
    }

    void messages()
    {
        QCOMPARE(BudgetRuleMessage(1), QStringLiteral("项目预算情况中各项的总计金额应大于等于各项中央投入金额"));
        QCOMPARE(BudgetRuleMessage(2),
                 QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于等于各年中央与地方投入之总和"));
        QCOMPARE(BudgetRuleMessage(3), QStringLiteral("项目资金需求情况中十一五期间资金需求合计应大于项目预算情况中各项总计之合"));
        QCOMPARE(BudgetRuleMessage(4),
                 QStringLiteral("项目资金需求情况中十一五期间资金需求各年中央累计投入应大于项目预算情况中各项中央投入之合"));
        QVERIFY(BudgetRuleMessage(0).isEmpty());
    }

    // Boxes are read in a fixed order; a stop at rule 1 leaves the boxes after the
    // offending pair unread, so they are not rewritten.
    void normalisationFollowsTheReadingOrder()
    {
        const QStringList settings{"Text32=abc", "Text17(0)= 12.5 ", QStringLiteral("Text18(0)=１２"), "Text17(1)=",
                                   "Text18(1)=5", "Text17(2)=zz", "Text18(2)=abc", QStringLiteral("Text19(0)=１"),
                                   "Text12(0)=q", "Text13(4)=1,000"};
        BudgetRuleResult result = CheckBudgetRules(with(settings));
        QCOMPARE(result.brokenRule, 1);
        using Boxes = QList<QPair<QString, QString>>;
        const auto byField = [](const Boxes& boxes) {
            Boxes fields;
            for (const auto& [control, text] : boxes)
                fields.append({fieldOf(control), text});
            return fields;
        };
        QCOMPARE(result.normalised, byField({{"Text32", "0"}, {"Text18(0)", "12"}, {"Text17(1)", "0"}}));

        // Once the offending pair is mended, the whole form is read, in order.
        result = CheckBudgetRules(with(settings + QStringList{"Text18(1)=0"}));
        QCOMPARE(result.brokenRule, 2);
        QCOMPARE(result.normalised, byField({{"Text32", "0"}, {"Text18(0)", "12"}, {"Text17(1)", "0"},
                                             {"Text17(2)", "0"}, {"Text18(2)", "0"}, {"Text19(0)", "1"},
                                             {"Text12(0)", "0"}, {"Text13(4)", "1000"}}));
    }

    // The batch checker may see only what a file holds: an absent box counts as 0 and
    // is never reported as rewritten.
    void absentBoxesCountAsZero()
    {
        ReportValues values;
        values.setValue(fieldOf(QStringLiteral("Text17(0)")), QStringLiteral("1"));
        values.setValue(fieldOf(QStringLiteral("Text32")), QStringLiteral("1"));
        BudgetRuleResult result = CheckBudgetRules(values);
        QVERIFY(result.ok());
        QVERIFY(result.normalised.isEmpty());
        values.setValue(fieldOf(QStringLiteral("Text18(0)")), QStringLiteral("2"));
        QCOMPARE(CheckBudgetRules(values).brokenRule, 1);
    }

    void readAmountText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("spaces kept") << " 12.5 " << "25/2" << " 12.5 ";
        QTest::newRow("empty") << "" << "0" << "0";
        QTest::newRow("letters") << "abc" << "0" << "0";
        QTest::newRow("nan") << "nan" << "0" << "0";
        QTest::newRow("infinity") << "-Infinity" << "0" << "0";
        QTest::newRow("hexadecimal") << "0x10" << "0" << "0";
        QTest::newRow("exponent") << "1e3" << "0" << "0";
        QTest::newRow("full-width") << QStringLiteral("１２３．４５") << "2469/20" << "123.45";
        QTest::newRow("full-width minus") << QStringLiteral("－５") << "-5" << "-5";
        QTest::newRow("grouped") << "1,200.50" << "2401/2" << "1200.50";
        QTest::newRow("full-width comma") << QStringLiteral("1，200") << "1200" << "1200";
        QTest::newRow("plus") << "+7" << "7" << "+7";
    }
    void readAmountText()
    {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        std::optional<QString> rewritten;
        QCOMPARE(ReadAmountText(text, &rewritten).toString(), value);
        QCOMPARE(rewritten.value_or(text), shown);
        QCOMPARE(rewritten.has_value(), shown != text);
    }

    // A clerk with a German or French desktop types amounts with a decimal point too.
    void localeDoesNotChangeAmounts_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France);
        QTest::newRow("Chinese") << QLocale(QLocale::Chinese, QLocale::China);
    }
    void localeDoesNotChangeAmounts()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        const QStringList ok{"Text32=26.7", "Text12(0)=14.3", "Text13(0)=12.4", "Text17(0)=12.5", "Text18(0)=12.5"};
        const BudgetRuleResult result = CheckBudgetRules(with(ok));
        QVERIFY(result.ok());
        QVERIFY(result.normalised.isEmpty());
        QCOMPARE(CheckBudgetRules(with(ok + QStringList{"Text18(0)=12.6"})).brokenRule, 1);
    }
};

QTEST_GUILESS_MAIN(TestBudgetRules)
#include "test_budget_rules.moc"
