#include "core/CodedItem.h"

#include <QLocale>

bool StoredCodeMatches(const QString& storedCode, int code)
{
    bool isNumber = false;
    const double value = QLocale::c().toDouble(storedCode, &isNumber);
    return isNumber && static_cast<double>(code) == value;
}

int CodedItemIndexOf(std::span<const CodedItem> items, const QString& storedCode)
{
    if (items.empty())
        return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (StoredCodeMatches(storedCode, items[i].code))
            return static_cast<int>(i);
    }
    return 0;
}
