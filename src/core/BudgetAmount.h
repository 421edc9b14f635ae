#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

// An exact amount of money: a rational number, so that sums of decimal amounts such as
// 0.1 + 0.2 compare exactly with the 0.3 a clerk typed as their total.
// Most amounts fit units / 10^scale in 64 bits and are held that way, without allocating;
// a value that does not (many digits, more decimals, a sum that overflows) is held as a
// GMP rational instead, so every result stays exact either way.
class BudgetAmount {
public:
    BudgetAmount();
    BudgetAmount(const BudgetAmount& other);
    BudgetAmount(BudgetAmount&& other) noexcept;
    BudgetAmount& operator=(const BudgetAmount& other);
    BudgetAmount& operator=(BudgetAmount&& other) noexcept;
    ~BudgetAmount();

    // What an amount box holds, read as a plain decimal: optional sign, digits with an
    // optional point, digit groups of three separated by commas in the integer part.
    // Full-width digits, sign, point and comma count as their ASCII forms. Spaces at
    // both ends are ignored. Anything else (exponents, hexadecimal, nan, inf, a locale's
    // own decimal comma) is not an amount.
    struct Parsed;
    static std::optional<Parsed> parse(const QString& text);

    BudgetAmount& operator+=(const BudgetAmount& other);
    friend BudgetAmount operator+(BudgetAmount a, const BudgetAmount& b) { return a += b; }
    friend int compare(const BudgetAmount& a, const BudgetAmount& b);
    friend bool operator<(const BudgetAmount& a, const BudgetAmount& b) { return compare(a, b) < 0; }
    friend bool operator==(const BudgetAmount& a, const BudgetAmount& b) { return compare(a, b) == 0; }

    // Exact value as "numerator/denominator" (or an integer), for messages and tests.
    QString toString() const;

    // The value as plain decimal text with exactly `decimals` digits after the point
    // ("-1234.50"), rounded half away from zero when it has more; no minus sign on a
    // value that shows as zero. Exact for any sum of amounts with at most that many decimals.
    QString toDecimalText(int decimals) const;
    // The fewest decimals that write the value exactly, at most limit (a value read from
    // decimal text, or a sum of such, always has an exact decimal form).
    int decimalPlaces(int limit = 12) const;

private:
    struct Big;
    static constexpr int maxSmallScale = 18;

    bool isSmall() const { return !big_; }
    // Holds the value as a rational from now on.
    void promote();
    // Calls use(const __mpq_struct*) with the value as a rational, built on the spot if small.
    template<typename Use>
    auto withRational(Use use) const;
    static BudgetAmount fromDigits(const char* digits, int fraction, bool negative);

    // The value is units_ / 10^scale_ while big_ is empty, otherwise big_'s rational.
    std::int64_t units_ = 0;
    int scale_ = 0;
    std::unique_ptr<Big> big_;
};

struct BudgetAmount::Parsed {
    BudgetAmount value;
    // The amount as plain ASCII decimal text, without spaces at the ends or group commas;
    // equals the trimmed input when the user already typed a plain decimal.
    QString plainText;
};
