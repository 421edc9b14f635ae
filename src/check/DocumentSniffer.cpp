#include "check/DocumentSniffer.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'
        || c == '-' || c == '.' || c == ':';
}

QByteArray nameAt(const QByteArray& text, qsizetype pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && isNameChar(text.at(pos)))
        ++pos;
    return text.mid(start, pos - start);
}

} // namespace

QByteArray DocumentSniffer::rootName(const QByteArray& head)
{
    qsizetype pos = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < head.size()) {
        while (pos < head.size() && isBlank(head.at(pos)))
            ++pos;
        if (pos >= head.size() || head.at(pos) != '<')
            return {};
        if (head.mid(pos, 2) == "<?") {
            const qsizetype end = head.indexOf("?>", pos + 2);
            if (end < 0)
                return {};
            pos = end + 2;
        } else if (head.mid(pos, 4) == "<!--") {
            const qsizetype end = head.indexOf("-->", pos + 4);
            if (end < 0)
                return {};
            pos = end + 3;
        } else if (head.mid(pos, 9) == "<!DOCTYPE") {
            // The document type names the root; what follows may be long.
            pos += 9;
            while (pos < head.size() && isBlank(head.at(pos)))
                ++pos;
            return nameAt(head, pos);
        } else {
            const QByteArray name = nameAt(head, pos + 1);
            const qsizetype after = pos + 1 + name.size();
            // A name cut off by the end of the head is no name.
            if (name.isEmpty() || after >= head.size())
                return {};
            const char next = head.at(after);
            return isBlank(next) || next == '>' || next == '/' ? name : QByteArray();
        }
    }
    return {};
}

DocumentSniffer::Kind DocumentSniffer::sniff(const QByteArray& head)
{
    const QByteArray root = rootName(head);
    if (root == "Report")
        return Kind::Report;
    if (root == "CorpInfo")
        return Kind::UnitInfo;
    return Kind::Other;
}

DocumentSniffer::Kind DocumentSniffer::kindByName(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".xm"), Qt::CaseInsensitive))
        return Kind::Report;
    if (fileName.endsWith(QLatin1String(".dw"), Qt::CaseInsensitive))
        return Kind::UnitInfo;
    return Kind::Other;
}
