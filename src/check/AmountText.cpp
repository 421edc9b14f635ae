#include "check/AmountText.h"

#include <gmp.h>
#include <string>

namespace AmountText {

namespace {

// BudgetAmount keeps its rational private; its exact text form is the way in.
class Rational {
public:
    explicit Rational(const BudgetAmount& amount)
    {
        mpq_init(value_);
        const QByteArray text = amount.toString().toLatin1();
        mpq_set_str(value_, text.constData(), 10);
        mpq_canonicalize(value_);
    }
    ~Rational() { mpq_clear(value_); }
    Rational(const Rational&) = delete;
    Rational& operator=(const Rational&) = delete;

    mpq_srcptr get() const { return value_; }

private:
    mpq_t value_;
};

QString mpzText(mpz_srcptr value)
{
    std::string buffer(mpz_sizeinbase(value, 10) + 2, '\0');
    mpz_get_str(buffer.data(), 10, value);
    return QString::fromLatin1(buffer.c_str());
}

} // namespace

QString decimal(const BudgetAmount& amount)
{
    const Rational q(amount);
    mpz_t scaled, power, remainder;
    mpz_inits(scaled, power, remainder, nullptr);
    // The fewest decimals that make the value whole, up to a limit.
    int places = 0;
    mpz_set_ui(power, 1);
    for (;; ++places) {
        mpz_mul(scaled, mpq_numref(q.get()), power);
        mpz_tdiv_qr(scaled, remainder, scaled, mpq_denref(q.get()));
        if (mpz_sgn(remainder) == 0 || places == 12)
            break;
        mpz_mul_ui(power, power, 10);
    }
    const bool negative = mpz_sgn(scaled) < 0;
    mpz_abs(scaled, scaled);
    QString digits = mpzText(scaled);
    mpz_clears(scaled, power, remainder, nullptr);
    if (places > 0) {
        if (digits.size() <= places)
            digits.prepend(QString(places - digits.size() + 1, QLatin1Char('0')));
        digits.insert(digits.size() - places, QLatin1Char('.'));
    }
    if (negative && digits != QLatin1String("0"))
        digits.prepend(QLatin1Char('-'));
    return digits;
}

double toDouble(const BudgetAmount& amount)
{
    // Through the decimal text: strtod rounds to nearest, mpq_get_d truncates (0.1 would
    // land one step below the double a spreadsheet shows as 0.1).
    return decimal(amount).toDouble();
}

BudgetAmount parseOrZero(const QString& text)
{
    auto parsed = BudgetAmount::parse(text);
    return parsed ? std::move(parsed->value) : BudgetAmount();
}

} // namespace AmountText
