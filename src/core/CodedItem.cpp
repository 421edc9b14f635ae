#include "core/CodedItem.h"

#include <QLocale>

#include <algorithm>

bool StoredCodeMatches(const QString& storedCode, int code)
{
    bool isNumber = false;
    const double value = QLocale::c().toDouble(storedCode, &isNumber);
    return isNumber && static_cast<double>(code) == value;
}

int CodedItemMatching(std::span<const CodedItem> items, const QString& storedCode)
{
    // Read once, compared with every code: a batch looks up two lists in every report.
    bool isNumber = false;
    const double value = QLocale::c().toDouble(storedCode, &isNumber);
    if (!isNumber)
        return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (static_cast<double>(items[i].code) == value)
            return static_cast<int>(i);
    }
    return -1;
}

int CodedItemIndexOf(std::span<const CodedItem> items, const QString& storedCode)
{
    if (items.empty())
        return -1;
    return std::max(CodedItemMatching(items, storedCode), 0);
}
