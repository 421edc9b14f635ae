#include "core/BudgetAmount.h"

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
