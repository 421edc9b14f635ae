#pragma once

#include <QByteArray>

#include <algorithm>

// A libxml2 write callback that appends to the QByteArray given as its context. It grows
// the array itself, by half again each time: the array is then reallocated in place,
// where Qt's own growth for append copies a page of megabytes into a new block and so
// holds it twice for a moment.
inline int appendToByteArray(void* context, const char* buffer, int length)
{
    auto* bytes = static_cast<QByteArray*>(context);
    const qsizetype needed = bytes->size() + length;
    if (needed > bytes->capacity())
        bytes->reserve(std::max(needed, bytes->capacity() + bytes->capacity() / 2));
    bytes->append(buffer, length);
    return length;
}
