// Amounts are read as exact plain decimals, whatever the locale and input method.
#include "core/BudgetAmount.h"

#include <QLocale>
#include <QTest>

#include <gmp.h>
#include <string>

namespace {

// Amounts on both sides of what 64-bit units with up to 18 decimals hold.
const char* const edgeAmounts[] = {
    "0", "-0", "0.3", "0.30", "0.300000000000000000001", "7", "-5", "0.1", "0.02",
    "9223372036854775807", "9223372036854775808", "-9223372036854775807", "-9223372036854775808",
    "922337203685477581", "9.223372036854775807", "-9.223372036854775807", "0.000000000000000001",
    "0.0000000000000000009", "-0.000000000000000001", "999999999999999999.999999999999999999",
    "123456789012345678901234567890.5", "-123456789012345678901234567890.5", "2.5", "-2.5", "-0.0049",
    "-0.00", "1000.0500"};

// The exact value of a plain decimal, computed with GMP alone.
struct Rational {
    explicit Rational(const char* decimal)
    {
        mpq_init(value);
        std::string text(decimal);
        const auto point = text.find('.');
        std::string denominator = "1";
        if (point != std::string::npos) {
            denominator.append(text.size() - point - 1, '0');
            text.erase(point, 1);
        }
        mpq_set_str(value, (text + "/" + denominator).c_str(), 10);
        mpq_canonicalize(value);
    }
    Rational(const Rational&) = delete;
    ~Rational() { mpq_clear(value); }
    QString text() const
    {
        std::string buffer(mpz_sizeinbase(mpq_numref(value), 10) + mpz_sizeinbase(mpq_denref(value), 10) + 3, '\0');
        return QString::fromLatin1(mpq_get_str(buffer.data(), 10, value));
    }
    mpq_t value;
};

BudgetAmount amount(const char* text)
{
    return BudgetAmount::parse(QString::fromLatin1(text))->value;
}

int sign(int order)
{
    return (order > 0) - (order < 0);
}

} // namespace

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

    // Every pair of amounts around the 64-bit edge sums and orders exactly as GMP says.
    void pairsAroundTheEdgeAreExact()
    {
        for (const char* left : edgeAmounts) {
            for (const char* right : edgeAmounts) {
                const Rational a(left), b(right);
                Rational sum("0");
                mpq_add(sum.value, a.value, b.value);
                const QByteArray pair = QByteArray(left) + " and " + right;
                QVERIFY2((amount(left) + amount(right)).toString() == sum.text(), pair.constData());
                QVERIFY2(sign(compare(amount(left), amount(right))) == sign(mpq_cmp(a.value, b.value)), pair.constData());
            }
        }
    }

    void longSumsPastTheEdgeAreExact()
    {
        BudgetAmount sum;
        Rational expected("0");
        const char* parts[] = {"900000000000000000", "0.000000000000000001", "-0.5", "9.223372036854775807"};
        for (int round = 0; round < 40; ++round) {
            for (const char* part : parts) {
                sum += amount(part);
                const Rational value(part);
                mpq_add(expected.value, expected.value, value.value);
            }
        }
        QCOMPARE(sum.toString(), expected.text());
    }

    // A value held as a rational writes the same texts as the same value held in 64 bits.
    void textsAgreeAcrossForms()
    {
        const BudgetAmount huge = amount("100000000000000000000000");
        const BudgetAmount minusHuge = amount("-100000000000000000000000");
        const auto agree = [&](const BudgetAmount& direct, const QString& exact) {
            const BudgetAmount roundabout = huge + direct + minusHuge;
            QVERIFY(direct == roundabout);
            QCOMPARE(direct.toString(), exact);
            QCOMPARE(roundabout.toString(), direct.toString());
            for (int limit : {-1, 0, 2, 12, 18, 25})
                QCOMPARE(roundabout.decimalPlaces(limit), direct.decimalPlaces(limit));
            for (int decimals : {-1, 0, 1, 2, 3, 17, 18, 19, 22})
                QCOMPARE(roundabout.toDecimalText(decimals), direct.toDecimalText(decimals));
        };
        for (const char* text : edgeAmounts)
            agree(amount(text), Rational(text).text());
        // The lowest 64-bit units, reached only by a sum.
        agree(amount("-9223372036854775807") + amount("-1"), QStringLiteral("-9223372036854775808"));
        agree(amount("-9.223372036854775807") + amount("-0.000000000000000001"),
              QStringLiteral("-35184372088832/3814697265625"));
        QCOMPARE(amount("0.0000000000000000009").decimalPlaces(30), 19);
        QCOMPARE(amount("0.000000000000000001").decimalPlaces(30), 18);
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

        // The same for values held as rationals, and between the two forms.
        BudgetAmount big = amount("9223372036854775807") + amount("1");
        BudgetAmount copy = big;
        copy += amount("0.5");
        QCOMPARE(big.toString(), QStringLiteral("9223372036854775808"));
        QCOMPARE(copy.toString(), QStringLiteral("18446744073709551617/2"));
        copy = c;
        QCOMPARE(copy.toString(), QStringLiteral("5/2"));
        BudgetAmount taken = std::move(big);
        QCOMPARE(taken.toString(), QStringLiteral("9223372036854775808"));
        QCOMPARE(big.toString(), QStringLiteral("0"));
        big += amount("1.5");
        QCOMPARE(big.toString(), QStringLiteral("3/2"));
    }
};

QTEST_GUILESS_MAIN(TestBudgetAmount)
#include "test_budgetamount.moc"
