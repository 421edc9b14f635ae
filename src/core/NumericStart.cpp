#include "core/NumericStart.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

class Scanner {
public:
    explicit Scanner(const QString& text) : text_(text) {}

    // The next character that counts, or 0 at the end.
    QChar peek()
    {
        while (pos_ < text_.size() && isSkipped(text_.at(pos_)))
            ++pos_;
        return pos_ < text_.size() ? text_.at(pos_) : QChar();
    }
    void advance() { ++pos_; }
    qsizetype position() const { return pos_; }
    void rewind(qsizetype to) { pos_ = to; }

private:
    const QString& text_;
    qsizetype pos_ = 0;
};

int digitValue(QChar c, int base)
{
    int v = -1;
    const char16_t u = c.toLower().unicode();
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = 10 + (u - u'a');
    return v >= 0 && v < base ? v : -1;
}

NumericStart readRadix(Scanner& in, int base)
{
    double value = 0;
    for (int d = digitValue(in.peek(), base); d >= 0; d = digitValue(in.peek(), base)) {
        value = value * base + d;
        in.advance();
    }
    if (!std::isfinite(value))
        return {0, true};
    return {value, false};
}

} // namespace

NumericStart ReadNumericStart(const QString& text)
{
    Scanner in(text);
    if (in.peek() == QLatin1Char('&')) {
        const qsizetype at = in.position();
        in.advance();
        const QChar radix = in.peek().toUpper();
        if (radix == QLatin1Char('H') || radix == QLatin1Char('O')) {
            in.advance();
            return readRadix(in, radix == QLatin1Char('H') ? 16 : 8);
        }
        in.rewind(at);
        return {};
    }

    std::string number;
    if (in.peek() == QLatin1Char('+') || in.peek() == QLatin1Char('-')) {
        if (in.peek() == QLatin1Char('-'))
            number += '-';
        in.advance();
    }
    std::string integerDigits;
    std::string fractionDigits;
    bool point = false;
    for (;;) {
        const QChar c = in.peek();
        if (isDigit(c)) {
            (point ? fractionDigits : integerDigits) += static_cast<char>(c.unicode());
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        in.advance();
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return {};

    // The exponent counts only when digits follow the letter and its sign.
    long exponent = 0;
    const QChar e = in.peek().toUpper();
    if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
        const qsizetype at = in.position();
        in.advance();
        bool negative = false;
        if (in.peek() == QLatin1Char('+') || in.peek() == QLatin1Char('-')) {
            negative = in.peek() == QLatin1Char('-');
            in.advance();
        }
        if (isDigit(in.peek())) {
            while (isDigit(in.peek())) {
                // Far beyond any double either way; stop growing.
                if (exponent < 100000)
                    exponent = exponent * 10 + (in.peek().unicode() - u'0');
                in.advance();
            }
            if (negative)
                exponent = -exponent;
        } else {
            in.rewind(at);
        }
    }

    number += integerDigits.empty() ? std::string("0") : integerDigits;
    if (!fractionDigits.empty())
        number += '.' + fractionDigits;
    number += 'e' + std::to_string(exponent);

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large, or so small that it is zero: tell them apart by the decimal magnitude.
        const auto firstNonZero = integerDigits.find_first_not_of('0');
        long magnitude = 0;
        if (firstNonZero != std::string::npos) {
            magnitude = static_cast<long>(integerDigits.size() - firstNonZero) - 1 + exponent;
        } else {
            const auto firstFraction = fractionDigits.find_first_not_of('0');
            if (firstFraction == std::string::npos)
                return {};
            magnitude = -static_cast<long>(firstFraction) - 1 + exponent;
        }
        if (magnitude > 0)
            return {0, true};
        return {};
    }
    if (error != std::errc() || !std::isfinite(value))
        return {0, true};
    return {value, false};
}
