// Amounts are read as exact plain decimals, whatever the locale and input method.
#include "core/BudgetAmount.h"

#include <QLocale>
#include <QTest>

class TestBudgetAmount : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("plain"); // the plain decimal shown afterwards
        QTest::addColumn<QString>("exact"); // the exact value as a fraction

        QTest::newRow("integer") << "1200" << true << "1200" << "1200";
        QTest::newRow("decimal") << "12.5" << true << "12.5" << "25/2";
        QTest::newRow("trailing zeros") << "12.50" << true << "12.50" << "25/2";
        QTest::newRow("spaces at the ends") << " 12.5 " << true << "12.5" << "25/2";
        QTest::newRow("plus") << "+3" << true << "+3" << "3";
        QTest::newRow("minus") << "-10" << true << "-10" << "-10";
        QTest::newRow("minus zero") << "-0" << true << "-0" << "0";
        QTest::newRow("point first") << ".5" << true << ".5" << "1/2";
        QTest::newRow("point last") << "7." << true << "7." << "7";
        QTest::newRow("many digits") << "123456789012345678901234567890.000000000000000000001" << true
                                     << "123456789012345678901234567890.000000000000000000001"
                                     << "123456789012345678901234567890000000000000000000001/1000000000000000000000";
        // The longest text read the quick way for plain decimals, and one beyond it.
        QTest::newRow("39 characters") << "-1234567890123456789012345678901234.567" << true
                                       << "-1234567890123456789012345678901234.567"
                                       << "-1234567890123456789012345678901234567/1000";
        QTest::newRow("40 characters") << "-12345678901234567890123456789012345.567" << true
                                       << "-12345678901234567890123456789012345.567"
                                       << "-12345678901234567890123456789012345567/1000";
        QTest::newRow("grouped") << "1,200.50" << true << "1200.50" << "2401/2";
        QTest::newRow("grouped millions") << "12,345,678" << true << "12345678" << "12345678";
        QTest::newRow("full-width") << QStringLiteral("１２３．４５") << true << "123.45" << "2469/20";
        QTest::newRow("full-width minus") << QStringLiteral("－５") << true << "-5" << "-5";
        QTest::newRow("full-width plus") << QStringLiteral("＋５") << true << "+5" << "5";
        QTest::newRow("full-width comma") << QStringLiteral("１，２００") << true << "1200" << "1200";
        QTest::newRow("ideographic spaces") << QStringLiteral("\u3000８\u3000") << true << "8" << "8";

        QTest::newRow("empty") << "" << false << "" << "";
        QTest::newRow("only spaces") << "   " << false << "" << "";
        QTest::newRow("words") << QStringLiteral("十万") << false << "" << "";
        QTest::newRow("letters after digits") << "12abc" << false << "" << "";
        QTest::newRow("sign alone") << "-" << false << "" << "";
        QTest::newRow("point alone") << "." << false << "" << "";
        QTest::newRow("two signs") << "--5" << false << "" << "";
        QTest::newRow("two points") << "1.2.3" << false << "" << "";
        QTest::newRow("nan") << "nan" << false << "" << "";
        QTest::newRow("NaN") << "NaN" << false << "" << "";
        QTest::newRow("inf") << "inf" << false << "" << "";
        QTest::newRow("-infinity") << "-infinity" << false << "" << "";
        QTest::newRow("hexadecimal") << "0x1A" << false << "" << "";
        QTest::newRow("hex float") << "0x1p3" << false << "" << "";
        QTest::newRow("exponent") << "1e5" << false << "" << "";
        QTest::newRow("exponent upper") << "2.5E-3" << false << "" << "";
        QTest::newRow("decimal comma") << "12,5" << false << "" << "";
        QTest::newRow("bad grouping") << "1,20" << false << "" << "";
        QTest::newRow("group too long") << "1,2000" << false << "" << "";
        QTest::newRow("leading comma") << ",100" << false << "" << "";
        QTest::newRow("comma in fraction") << "1.000,5" << false << "" << "";
        QTest::newRow("inner space") << "1 200" << false << "" << "";
        QTest::newRow("currency") << QStringLiteral("¥100") << false << "" << "";
        QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662") << false << "" << "";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, plain);
        QFETCH(QString, exact);
        const auto parsed = BudgetAmount::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (!valid)
            return;
        QCOMPARE(parsed->plainText, plain);
        QCOMPARE(parsed->value.toString(), exact);
    }

    // The parse must not follow the user's locale: a German decimal comma is no amount,
    // and a point stays a decimal point.
    void parseIgnoresTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto point = BudgetAmount::parse(QStringLiteral("12.5"));
        const auto comma = BudgetAmount::parse(QStringLiteral("12,5"));
        QLocale::setDefault(saved);
        QVERIFY(point);
        QCOMPARE(point->value.toString(), QStringLiteral("25/2"));
        QVERIFY(!comma);
    }

    void sumsAreExact_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("total");
        QTest::newRow("0.1 + 0.2") << QStringList{"0.1", "0.2"} << "0.3";
        QTest::newRow("14.3 + 12.4") << QStringList{"14.3", "12.4"} << "26.7";
        QTest::newRow("ten tenths") << QStringList(10, QStringLiteral("0.1")) << "1";
        QTest::newRow("with negatives") << QStringList{"-0.7", "1.1", "0.6"} << "1.0";
    }
    void sumsAreExact()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, total);
        BudgetAmount sum;
        for (const QString& part : parts)
            sum += BudgetAmount::parse(part)->value;
        const BudgetAmount expected = BudgetAmount::parse(total)->value;
        QVERIFY(sum == expected);
        QVERIFY(!(expected < sum));
        QVERIFY(!(sum < expected));
    }

    void decimalText()
    {
        // Padded to the decimals asked for; more decimals round half away from zero.
        const std::pair<const char*, const char*> cases[] = {
            {"7", "7.00"}, {"-0.05", "-0.05"}, {"-2.345", "-2.35"}, {"2.344", "2.34"}, {"-0.004", "0.00"}};
        for (const auto& [amount, text] : cases)
            QCOMPARE(BudgetAmount::parse(QString::fromLatin1(amount))->value.toDecimalText(2), QString::fromLatin1(text));
        QCOMPARE(BudgetAmount::parse(QStringLiteral("99.5"))->value.toDecimalText(0), QStringLiteral("100"));
    }

    void ordering()
    {
        const auto amount = [](const char* text) { return BudgetAmount::parse(QString::fromLatin1(text))->value; };
        QVERIFY(amount("100") < amount("100.5"));
        QVERIFY(amount("-10") < amount("-5"));
        QVERIFY(!(amount("100") < amount("100.000")));
        QVERIFY(amount("0.3") < amount("0.30000000000000001"));
    }

    void copiesAndMovesKeepValues()
    {
        BudgetAmount a = BudgetAmount::parse(QStringLiteral("2.5"))->value;
        BudgetAmount b = a;
        b += a;
        QCOMPARE(a.toString(), QStringLiteral("5/2"));
        QCOMPARE(b.toString(), QStringLiteral("5"));
        BudgetAmount c = std::move(b);
        QCOMPARE(c.toString(), QStringLiteral("5"));
        b = a; // a moved-from amount can be assigned again
        QCOMPARE(b.toString(), QStringLiteral("5/2"));
        c = std::move(a);
        QCOMPARE(c.toString(), QStringLiteral("5/2"));
        QCOMPARE((c + c).toString(), QStringLiteral("5"));
    }
};

QTEST_GUILESS_MAIN(TestBudgetAmount)
#include "test_budgetamount.moc"
