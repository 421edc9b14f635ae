#pragma once

#include <QString>

// The loader keeps libxml2's limit on one text node (XML_MAX_TEXT_LENGTH without
// XML_PARSE_HUGE): a longer value would be written and could never be read back, so a
// save refuses it first.
class TextLengthLimit {
public:
    static constexpr qsizetype kMaxBytes = 10'000'000;

    // Whether the value, as it is stored (spaces trimmed, UTF-8), can be loaded again.
    static bool fits(const QString& value);
    // The message that refuses a save because of the text shown under this caption.
    static QString refusal(const QString& caption);
};
