#include "core/BudgetAmount.h"

#include <algorithm>
#include <string>

BudgetAmount::BudgetAmount()
{
    mpq_init(value_);
}

BudgetAmount::BudgetAmount(const BudgetAmount& other)
{
    mpq_init(value_);
    mpq_set(value_, other.value_);
}

// A moved-from amount stays a valid zero-initialised number, so it can still be assigned.
BudgetAmount::BudgetAmount(BudgetAmount&& other) noexcept
{
    mpq_init(value_);
    mpq_swap(value_, other.value_);
}

BudgetAmount& BudgetAmount::operator=(const BudgetAmount& other)
{
    if (this != &other)
        mpq_set(value_, other.value_);
    return *this;
}

BudgetAmount& BudgetAmount::operator=(BudgetAmount&& other) noexcept
{
    mpq_swap(value_, other.value_);
    return *this;
}

BudgetAmount::~BudgetAmount()
{
    mpq_clear(value_);
}

BudgetAmount& BudgetAmount::operator+=(const BudgetAmount& other)
{
    mpq_add(value_, value_, other.value_);
    return *this;
}

int compare(const BudgetAmount& a, const BudgetAmount& b)
{
    return mpq_cmp(a.value_, b.value_);
}

QString BudgetAmount::toString() const
{
    // mpq_get_str needs room for both parts, the sign, the slash and the terminator.
    std::string buffer(mpz_sizeinbase(mpq_numref(value_), 10) + mpz_sizeinbase(mpq_denref(value_), 10) + 3, '\0');
    mpq_get_str(buffer.data(), 10, value_);
    return QString::fromLatin1(buffer.c_str());
}

int BudgetAmount::decimalPlaces(int limit) const
{
    mpz_t scaled, remainder;
    mpz_inits(scaled, remainder, nullptr);
    int places = 0;
    mpz_set(scaled, mpq_numref(value_));
    for (;; ++places) {
        mpz_tdiv_r(remainder, scaled, mpq_denref(value_));
        if (mpz_sgn(remainder) == 0 || places >= limit)
            break;
        mpz_mul_ui(scaled, scaled, 10);
    }
    mpz_clears(scaled, remainder, nullptr);
    return places;
}

QString BudgetAmount::toDecimalText(int decimals) const
{
    decimals = std::max(decimals, 0);
    // |value| * 10^decimals, rounded half up: floor((2 * n * 10^d + q) / (2 * q)).
    mpz_t scaled, twiceDenominator;
    mpz_init(scaled);
    mpz_init(twiceDenominator);
    mpz_ui_pow_ui(scaled, 10, static_cast<unsigned long>(decimals));
    mpz_mul(scaled, scaled, mpq_numref(value_));
    mpz_abs(scaled, scaled);
    mpz_mul_2exp(scaled, scaled, 1);
    mpz_add(scaled, scaled, mpq_denref(value_));
    mpz_mul_2exp(twiceDenominator, mpq_denref(value_), 1);
    mpz_fdiv_q(scaled, scaled, twiceDenominator);

    std::string buffer(mpz_sizeinbase(scaled, 10) + 2, '\0');
    mpz_get_str(buffer.data(), 10, scaled);
    QString digits = QString::fromLatin1(buffer.c_str());
    const bool negative = mpq_sgn(value_) < 0 && mpz_sgn(scaled) != 0;
    mpz_clear(scaled);
    mpz_clear(twiceDenominator);

    if (digits.size() <= decimals)
        digits.prepend(QString(decimals + 1 - digits.size(), QLatin1Char('0')));
    if (decimals > 0)
        digits.insert(digits.size() - decimals, QLatin1Char('.'));
    if (negative)
        digits.prepend(QLatin1Char('-'));
    return digits;
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
            Parsed result;
            mpz_set_str(mpq_numref(result.value.value_), digits, 10);
            if (fraction > 0) {
                mpz_ui_pow_ui(mpq_denref(result.value.value_), 10, static_cast<unsigned long>(fraction));
                mpq_canonicalize(result.value.value_);
            }
            if (negative)
                mpq_neg(result.value.value_, result.value.value_);
            result.plainText = text;
            return result;
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

    Parsed result;
    // digits / 10^fractionDigits, exactly.
    const QByteArray numerator = digits.toLatin1();
    mpz_set_str(mpq_numref(result.value.value_), numerator.constData(), 10);
    mpz_ui_pow_ui(mpq_denref(result.value.value_), 10, static_cast<unsigned long>(fractionDigits));
    mpq_canonicalize(result.value.value_);
    if (negative)
        mpq_neg(result.value.value_, result.value.value_);
    if (grouped)
        plain.remove(QLatin1Char(','));
    result.plainText = plain;
    return result;
}
