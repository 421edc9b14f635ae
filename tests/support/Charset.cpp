#include "Charset.h"

#include <iconv.h>

#include <vector>

namespace {
QByteArray convert(const QByteArray& input, const char* from, const char* to)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::vector<char> out(static_cast<std::size_t>(input.size()) * 4 + 16);
    char* in = const_cast<char*>(input.constData());
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return {};
    return QByteArray(out.data(), static_cast<qsizetype>(out.size() - outLeft));
}
} // namespace

QByteArray encodeAs(const QString& text, const char* charset)
{
    return convert(text.toUtf8(), "UTF-8", charset);
}

QString decodeFrom(const QByteArray& bytes, const char* charset)
{
    return QString::fromUtf8(convert(bytes, charset, "UTF-8"));
}
