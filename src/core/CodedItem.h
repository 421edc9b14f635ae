#pragma once

#include <QString>
#include <span>

// One item of a coded drop-down list: what the user reads and the code stored for it.
struct CodedItem {
    int code;
    const char* text; // UTF-8
};

// The item a stored code selects: codes compare as numbers, so "12.0" finds code 12;
// a text that is no number or no code selects the first item (0). -1 for an empty list.
int CodedItemIndexOf(std::span<const CodedItem> items, const QString& storedCode);

// The position of the item whose code the stored text names, -1 when none does.
int CodedItemMatching(std::span<const CodedItem> items, const QString& storedCode);

// True when the stored text names the code, compared as numbers.
bool StoredCodeMatches(const QString& storedCode, int code);
