#include "core/AmountText.h"

#include "core/BudgetAmount.h"

#include <algorithm>
#include <cstring>
#include <gmp.h>

namespace {

// mpz/mpq values that free themselves.
struct Integer {
    mpz_t v;
    Integer() { mpz_init(v); }
    ~Integer() { mpz_clear(v); }
    Integer(const Integer&) = delete;
    Integer& operator=(const Integer&) = delete;
};
struct Rational {
    mpq_t v;
    Rational() { mpq_init(v); }
    ~Rational() { mpq_clear(v); }
    Rational(const Rational&) = delete;
    Rational& operator=(const Rational&) = delete;
};

} // namespace

QString AmountText::decimal(const BudgetAmount& amount)
{
    const QString exact = amount.toString();
    Rational q;
    if (mpq_set_str(q.v, exact.toLatin1().constData(), 10) != 0)
        return exact;
    mpq_canonicalize(q.v);

    // Digits after the point: the larger power of 2 or 5 in the denominator; any other
    // factor would make an endless decimal, shown then as the exact fraction.
    Integer rest;
    mpz_set(rest.v, mpq_denref(q.v));
    const unsigned long twos = mpz_scan1(rest.v, 0);
    mpz_tdiv_q_2exp(rest.v, rest.v, twos);
    unsigned long fives = 0;
    while (mpz_divisible_ui_p(rest.v, 5)) {
        mpz_divexact_ui(rest.v, rest.v, 5);
        ++fives;
    }
    if (mpz_cmp_ui(rest.v, 1) != 0)
        return exact;
    const unsigned long places = std::max(twos, fives);

    Integer scaled;
    mpz_ui_pow_ui(scaled.v, 10, places);
    mpz_mul(scaled.v, scaled.v, mpq_numref(q.v));
    mpz_divexact(scaled.v, scaled.v, mpq_denref(q.v));
    const bool negative = mpz_sgn(scaled.v) < 0;
    mpz_abs(scaled.v, scaled.v);
    char* raw = mpz_get_str(nullptr, 10, scaled.v);
    QString digits = QString::fromLatin1(raw);
    void (*freeFunction)(void*, size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &freeFunction);
    freeFunction(raw, std::strlen(raw) + 1);

    if (places > 0) {
        const auto point = static_cast<qsizetype>(places);
        if (digits.size() <= point)
            digits.prepend(QString(point - digits.size() + 1, QLatin1Char('0')));
        digits.insert(digits.size() - point, QLatin1Char('.'));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}
