// The holdings rules over the unit information's values, and reading counts the way
// the rules read them.
#include "HoldingsTesting.h"
#include "core/HoldingsRules.h"
#include "core/NumericStart.h"

#include <QTest>

namespace {

UnitInfoValues valuesOf(const Counts& c)
{
    UnitInfoValues values;
    for (int i = 0; i < 4; ++i) {
        const QString idx = QStringLiteral("(%1)").arg(i);
        const QStringList names{"Text9" + idx, "Text10" + idx, "Text11" + idx, "Text12" + idx};
        for (int k = 0; k < 4; ++k)
            values.setValue(names[k], c[i * 4 + k]);
    }
    values.setValue(QStringLiteral("Text29"), c[16]);
    return values;
}

} // namespace

class TestHoldingsRules : public QObject {
    Q_OBJECT
private slots:
    void numericStart_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("overflow");
        auto row = [](const char* name, const QString& typed, double value, bool overflow = false) {
            QTest::newRow(name) << typed << value << overflow;
        };
        row("empty", QString(), 0);
        row("plain", QStringLiteral("12"), 12);
        row("letters after", QStringLiteral("12abc"), 12);
        row("letters only", QStringLiteral("abc"), 0);
        row("blank inside", QStringLiteral("1 000"), 1000);
        row("tab and line feed inside", QStringLiteral("1\t2\n3"), 123);
        row("comma ends it", QStringLiteral("1,000"), 1);
        row("minus", QStringLiteral("-5"), -5);
        row("plus", QStringLiteral("+5"), 5);
        row("blank after sign", QStringLiteral("- 7"), -7);
        row("two signs", QStringLiteral("--5"), 0);
        row("second point ends it", QStringLiteral("1.5.3"), 1.5);
        row("leading point", QStringLiteral(".5"), 0.5);
        row("point alone", QStringLiteral("."), 0);
        row("exponent E", QStringLiteral("1E3"), 1000);
        row("exponent lower e", QStringLiteral("2.5e2"), 250);
        row("exponent D", QStringLiteral("1D2"), 100);
        row("negative exponent d", QStringLiteral("1d-2"), 0.01);
        row("E without digits", QStringLiteral("1E"), 1);
        row("E and sign without digits", QStringLiteral("7E+x"), 7);
        row("hex", QStringLiteral("&H10"), 16);
        row("hex lower case", QStringLiteral("&hff"), 255);
        row("octal", QStringLiteral("&O17"), 15);
        row("octal stops at 8", QStringLiteral("&O18"), 1);
        row("prefix without digits", QStringLiteral("&H"), 0);
        row("unknown prefix", QStringLiteral("&Z1"), 0);
        row("overflow", QStringLiteral("1E999"), 0, true);
        row("overflow by digits", QString(400, QLatin1Char('9')), 0, true);
        row("negative overflow", QStringLiteral("-1E400"), 0, true);
        row("underflow is zero", QStringLiteral("1E-999"), 0);
        row("huge exponent digits", QStringLiteral("1E99999999999999999999"), 0, true);
    }
    void numericStart()
    {
        QFETCH(QString, typed);
        QFETCH(double, value);
        QFETCH(bool, overflow);
        const NumericStart number = ReadNumericStart(typed);
        QCOMPARE(number.value, value);
        QCOMPARE(number.overflow, overflow);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("3.5") << 3.5 << 4.0;
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("-3.5") << -3.5 << -4.0;
        QTest::newRow("2.4999") << 2.4999 << 2.0;
        QTest::newRow("2.5001") << 2.5001 << 3.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(RoundHalfEven(value), rounded);
    }

    void rules_data()
    {
        QTest::addColumn<Counts>("values");
        QTest::addColumn<QString>("message"); // empty: the rules hold
        const QString big = QStringLiteral("9000000000");
        QTest::newRow("all empty") << counts({}) << QString();
        QTest::newRow("class 1 broken") << counts({{1, {"10", "5", "3", "1"}}}, "100") << classMessage(1);
        QTest::newRow("2.5 rounds to 2") << counts({{0, {"2.5", "2"}}}, "100") << QString();
        QTest::newRow("3.5 rounds to 4") << counts({{0, {"3.5", "3"}}}, "100") << classMessage(0);
        QTest::newRow("3.5 equals 4") << counts({{0, {"3.5", "4"}}}, "100") << QString();
        QTest::newRow("halves in the parts") << counts({{2, {"4", "1.5", "2.5"}}}, "100") << QString();
        const auto tens = std::initializer_list<std::pair<int, QStringList>>{
            {0, {"10", "10"}}, {1, {"20", "20"}}, {2, {"30", "30"}}, {3, {"40", "40"}}};
        QTest::newRow("relics 100") << counts(tens, "100") << QString();
        QTest::newRow("relics 99.5") << counts(tens, "99.5") << kRelicMessage;
        QTest::newRow("relics 100.2") << counts(tens, "100.2") << QString();
        QTest::newRow("relics empty") << counts({{3, {"1", "1"}}}) << kRelicMessage;
        QTest::newRow("negative counts") << counts({{0, {"-1", "-1"}}}) << QString();
        QTest::newRow("first broken class only") << counts({{0, {"1"}}, {2, {"1"}}}, "100") << classMessage(0);
        QTest::newRow("blank inside") << counts({{0, {"1 000", "1000"}}}, "1000") << QString();
        QTest::newRow("comma") << counts({{0, {"1,000", "1"}}}, "1000") << QString();
        QTest::newRow("letters after") << counts({{0, {"12abc", "12"}}}, "1000") << QString();
        QTest::newRow("hex") << counts({{1, {"&H10", "16"}}}, "1000") << QString();
        QTest::newRow("octal") << counts({{1, {"&O17", "15"}}}, "1000") << QString();
        QTest::newRow("exponent D") << counts({{1, {"1D2", "100"}}}, "1000") << QString();
        QTest::newRow("overflow counts as 0") << counts({{0, {"1E999", "0"}}}) << QString();
        QTest::newRow("beyond 32 bits") << counts({{2, {big, big}}}, "1E12") << classMessage(2);
        QTest::newRow("just inside 32 bits")
            << counts({{0, {"2147483647", "2147483647"}}, {1, {"-2147483648", "-2147483648"}}}) << QString();
        QTest::newRow("parts wrap around 32 bits")
            << counts({{1, {"-2147483648", "2147483647", "1"}}}, "1E12") << classMessage(1);
        QTest::newRow("part beyond 32 bits") << counts({{3, {"0", big, "-" + big}}}, "1E12") << classMessage(3);
        QTest::newRow("class totals add up beyond 32 bits")
            << counts({{0, {"2147483647", "2147483647"}}, {1, {"2", "2"}}}, "1E12") << classMessage(1);
    }
    void rules()
    {
        QFETCH(Counts, values);
        QFETCH(QString, message);
        const HoldingsRuleResult result = CheckHoldingsRules(valuesOf(values));
        QCOMPARE(result.ok(), message.isEmpty());
        QCOMPARE(result.message, message);
    }

    // Only a number too large for a double is rewritten, and only in boxes read before
    // the stop: a class after the broken one is not read at all.
    void overflowRewritesOnlyBoxesRead()
    {
        using Boxes = QList<QPair<QString, QString>>;
        HoldingsRuleResult result =
            CheckHoldingsRules(valuesOf(counts({{1, {"1E999", "12abc"}}, {3, {"1E999"}}}, "100")));
        QCOMPARE(result.brokenRule, 2);
        QCOMPARE(result.normalised, (Boxes{{"Text9(1)", "0"}}));
        result = CheckHoldingsRules(valuesOf(counts({{0, {"1E999"}}, {3, {"1E999"}}}, "1E999")));
        QCOMPARE(result.brokenRule, 0);
        QCOMPARE(result.normalised, (Boxes{{"Text9(0)", "0"}, {"Text9(3)", "0"}, {"Text29", "0"}}));
    }
};

QTEST_GUILESS_MAIN(TestHoldingsRules)
#include "test_holdings_rules.moc"
