#include "core/BudgetAmount.h"

#include <algorithm>
#include <string>
#include <utility>

#include <gmp.h>

struct BudgetAmount::Big {
    Big() { mpq_init(value); }
    Big(const Big&) = delete;
    Big& operator=(const Big&) = delete;
    ~Big() { mpq_clear(value); }
    mpq_t value;
};

namespace {

static_assert(sizeof(long) == sizeof(std::int64_t), "units are handed to GMP as long");

constexpr std::int64_t powersOfTen[] = {
    1LL, 10LL, 100LL, 1000LL, 10000LL, 100000LL, 1000000LL, 10000000LL, 100000000LL,
    1000000000LL, 10000000000LL, 100000000000LL, 1000000000000LL, 10000000000000LL,
    100000000000000LL, 1000000000000000LL, 10000000000000000LL, 100000000000000000LL,
    1000000000000000000LL};

// units / 10^scale as a canonical rational.
void setRational(mpq_ptr target, std::int64_t units, int scale)
{
    mpz_set_si(mpq_numref(target), units);
    mpz_set_si(mpq_denref(target), powersOfTen[scale]);
    mpq_canonicalize(target);
}

} // namespace

BudgetAmount::BudgetAmount() = default;

BudgetAmount::BudgetAmount(const BudgetAmount& other)
    : units_(other.units_)
    , scale_(other.scale_)
{
    if (other.big_) {
        big_ = std::make_unique<Big>();
        mpq_set(big_->value, other.big_->value);
    }
}

// A moved-from amount is left a valid zero, so it can still be read and assigned.
BudgetAmount::BudgetAmount(BudgetAmount&& other) noexcept
    : units_(std::exchange(other.units_, 0))
    , scale_(std::exchange(other.scale_, 0))
    , big_(std::move(other.big_))
{
}

BudgetAmount& BudgetAmount::operator=(const BudgetAmount& other)
{
    if (this == &other)
        return *this;
    units_ = other.units_;
    scale_ = other.scale_;
    if (!other.big_) {
        big_.reset();
    } else {
        if (!big_)
            big_ = std::make_unique<Big>();
        mpq_set(big_->value, other.big_->value);
    }
    return *this;
}

BudgetAmount& BudgetAmount::operator=(BudgetAmount&& other) noexcept
{
    if (this != &other) {
        units_ = std::exchange(other.units_, 0);
        scale_ = std::exchange(other.scale_, 0);
        big_ = std::move(other.big_);
    }
    return *this;
}

BudgetAmount::~BudgetAmount() = default;

void BudgetAmount::promote()
{
    if (big_)
        return;
    big_ = std::make_unique<Big>();
    setRational(big_->value, units_, scale_);
    units_ = 0;
    scale_ = 0;
}

template<typename Use>
auto BudgetAmount::withRational(Use use) const
{
    if (big_)
        return use(big_->value);
    mpq_t value;
    mpq_init(value);
    setRational(value, units_, scale_);
    auto result = use(value);
    mpq_clear(value);
    return result;
}

BudgetAmount& BudgetAmount::operator+=(const BudgetAmount& other)
{
    if (isSmall() && other.isSmall()) {
        std::int64_t mine = units_;
        std::int64_t theirs = other.units_;
        const int scale = std::max(scale_, other.scale_);
        std::int64_t sum;
        if (!__builtin_mul_overflow(mine, powersOfTen[scale - scale_], &mine)
            && !__builtin_mul_overflow(theirs, powersOfTen[scale - other.scale_], &theirs)
            && !__builtin_add_overflow(mine, theirs, &sum)) {
            units_ = sum;
            scale_ = scale;
            return *this;
        }
    }
    promote();
    if (other.big_) {
        mpq_add(big_->value, big_->value, other.big_->value);
    } else {
        other.withRational([this](mpq_srcptr value) {
            mpq_add(big_->value, big_->value, value);
            return 0;
        });
    }
    return *this;
}

int compare(const BudgetAmount& a, const BudgetAmount& b)
{
    if (a.isSmall() && b.isSmall()) {
        // |units| * 10^18 < 2^63 * 2^60 fits 128 bits.
        const __int128 left = static_cast<__int128>(a.units_) * powersOfTen[BudgetAmount::maxSmallScale - a.scale_];
        const __int128 right = static_cast<__int128>(b.units_) * powersOfTen[BudgetAmount::maxSmallScale - b.scale_];
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    return a.withRational([&b](mpq_srcptr left) {
        return b.withRational([left](mpq_srcptr right) { return mpq_cmp(left, right); });
    });
}

QString BudgetAmount::toString() const
{
    return withRational([](mpq_srcptr value) {
        // mpq_get_str needs room for both parts, the sign, the slash and the terminator.
        std::string buffer(mpz_sizeinbase(mpq_numref(value), 10) + mpz_sizeinbase(mpq_denref(value), 10) + 3, '\0');
        mpq_get_str(buffer.data(), 10, value);
        return QString::fromLatin1(buffer.c_str());
    });
}

int BudgetAmount::decimalPlaces(int limit) const
{
    if (isSmall()) {
        int places = scale_;
        for (std::int64_t units = units_; places > 0 && units % 10 == 0; units /= 10)
            --places;
        return std::min(places, std::max(limit, 0));
    }
    mpz_t scaled, remainder;
    mpz_inits(scaled, remainder, nullptr);
    int places = 0;
    mpz_set(scaled, mpq_numref(big_->value));
    for (;; ++places) {
        mpz_tdiv_r(remainder, scaled, mpq_denref(big_->value));
        if (mpz_sgn(remainder) == 0 || places >= limit)
            break;
        mpz_mul_ui(scaled, scaled, 10);
    }
    mpz_clears(scaled, remainder, nullptr);
    return places;
}

namespace {

// |value| * 10^decimals as `digits`, written with the point and sign.
QString decimalText(QString digits, int decimals, bool negative)
{
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals + 1 - digits.size(), QLatin1Char('0')));
    if (decimals > 0)
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
    if (negative)
        digits.prepend(QLatin1Char('-'));
    return digits;
}

} // namespace

QString BudgetAmount::toDecimalText(int decimals) const
{
    decimals = std::max(decimals, 0);
    if (isSmall()) {
        // The magnitude as unsigned, so that the lowest int64 has one too.
        const std::uint64_t magnitude = units_ < 0 ? 0 - static_cast<std::uint64_t>(units_) : static_cast<std::uint64_t>(units_);
        if (decimals >= scale_) {
            const QString digits = QString::number(magnitude) + QString(decimals - scale_, QLatin1Char('0'));
            return decimalText(digits, decimals, units_ < 0);
        }
        const auto divisor = static_cast<std::uint64_t>(powersOfTen[scale_ - decimals]);
        std::uint64_t rounded = magnitude / divisor;
        if (2 * (magnitude % divisor) >= divisor)
            ++rounded; // half away from zero
        return decimalText(QString::number(rounded), decimals, units_ < 0 && rounded != 0);
    }
    // |value| * 10^decimals, rounded half up: floor((2 * n * 10^d + q) / (2 * q)).
    const mpq_srcptr value = big_->value;
    mpz_t scaled, twiceDenominator;
    mpz_init(scaled);
    mpz_init(twiceDenominator);
    mpz_ui_pow_ui(scaled, 10, static_cast<unsigned long>(decimals));
    mpz_mul(scaled, scaled, mpq_numref(value));
    mpz_abs(scaled, scaled);
    mpz_mul_2exp(scaled, scaled, 1);
    mpz_add(scaled, scaled, mpq_denref(value));
    mpz_mul_2exp(twiceDenominator, mpq_denref(value), 1);
    mpz_fdiv_q(scaled, scaled, twiceDenominator);

    std::string buffer(mpz_sizeinbase(scaled, 10) + 2, '\0');
    mpz_get_str(buffer.data(), 10, scaled);
    const bool negative = mpq_sgn(value) < 0 && mpz_sgn(scaled) != 0;
    const QString digits = QString::fromLatin1(buffer.c_str());
    mpz_clear(scaled);
    mpz_clear(twiceDenominator);
    return decimalText(digits, decimals, negative);
}

namespace {

// Full-width forms that Chinese input methods produce in place of ASCII ones.
QChar asciiForm(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'\uFF10' && u <= u'\uFF19')
        return QChar(u'0' + (u - u'\uFF10'));
    switch (u) {
    case u'\uFF0B': return QLatin1Char('+');
    case u'\uFF0D': return QLatin1Char('-');
    case u'\uFF0E': return QLatin1Char('.');
    case u'\uFF0C': return QLatin1Char(',');
    default: return c;
    }
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Spaces of any kind at the ends, including the ideographic space.
QString trimEnds(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).isSpace())
        ++begin;
    while (end > begin && text.at(end - 1).isSpace())
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

// The digits (the last `fraction` of them after the point) as an amount, exactly.
BudgetAmount BudgetAmount::fromDigits(const char* digits, int fraction, bool negative)
{
    BudgetAmount amount;
    if (fraction <= maxSmallScale) {
        std::int64_t units = 0;
        bool fits = true;
        for (const char* d = digits; fits && *d; ++d)
            fits = !__builtin_mul_overflow(units, 10, &units) && !__builtin_add_overflow(units, *d - '0', &units);
        if (fits) {
            amount.units_ = negative ? -units : units;
            amount.scale_ = fraction;
            return amount;
        }
    }
    amount.big_ = std::make_unique<Big>();
    mpq_ptr value = amount.big_->value;
    mpz_set_str(mpq_numref(value), digits, 10);
    mpz_ui_pow_ui(mpq_denref(value), 10, static_cast<unsigned long>(fraction));
    mpq_canonicalize(value);
    if (negative)
        mpq_neg(value, value);
    return amount;
}

std::optional<BudgetAmount::Parsed> BudgetAmount::parse(const QString& text)
{
    // What every save stores, a plain ASCII decimal ("-1234.5"), is read without a copy;
    // anything else (spaces, full-width forms, groups, errors) takes the general way.
    if (text.size() < 40) {
        char digits[40];
        int count = 0;
        int fraction = -1; // digits after the point, -1 before a point
        bool negative = false;
        bool plainAscii = true;
        qsizetype pos = 0;
        if (!text.isEmpty() && (text.front() == QLatin1Char('+') || text.front() == QLatin1Char('-'))) {
            negative = text.front() == QLatin1Char('-');
            pos = 1;
        }
        for (; plainAscii && pos < text.size(); ++pos) {
            const char16_t c = text.at(pos).unicode();
            if (c >= u'0' && c <= u'9') {
                digits[count++] = static_cast<char>(c);
                if (fraction >= 0)
                    ++fraction;
            } else if (c == u'.' && fraction < 0) {
                fraction = 0;
            } else {
                plainAscii = false;
            }
        }
        if (plainAscii && count > 0) {
            digits[count] = '\0';
            return Parsed{fromDigits(digits, std::max(fraction, 0), negative), text};
        }
    }

    QString plain;
    for (QChar c : trimEnds(text))
        plain.append(asciiForm(c));

    qsizetype pos = 0;
    const qsizetype size = plain.size();
    bool negative = false;
    if (pos < size && (plain.at(pos) == QLatin1Char('+') || plain.at(pos) == QLatin1Char('-'))) {
        negative = plain.at(pos) == QLatin1Char('-');
        ++pos;
    }

    // Integer part: plain digits, or groups of three after a first group of one to three.
    QString digits;
    qsizetype groupLength = 0;
    bool grouped = false;
    bool firstGroup = true;
    for (; pos < size; ++pos) {
        const QChar c = plain.at(pos);
        if (isAsciiDigit(c)) {
            digits.append(c);
            ++groupLength;
            if (grouped && groupLength > 3)
                return std::nullopt;
        } else if (c == QLatin1Char(',')) {
            if (groupLength == 0 || groupLength > 3 || (!firstGroup && groupLength != 3))
                return std::nullopt;
            grouped = true;
            firstGroup = false;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return std::nullopt;
    const qsizetype integerDigits = digits.size();

    qsizetype fractionDigits = 0;
    if (pos < size && plain.at(pos) == QLatin1Char('.')) {
        for (++pos; pos < size && isAsciiDigit(plain.at(pos)); ++pos) {
            digits.append(plain.at(pos));
            ++fractionDigits;
        }
    }
    if (pos != size || integerDigits + fractionDigits == 0)
        return std::nullopt;

    const QByteArray numerator = digits.toLatin1();
    if (grouped)
        plain.remove(QLatin1Char(','));
    return Parsed{fromDigits(numerator.constData(), static_cast<int>(fractionDigits), negative), plain};
}
