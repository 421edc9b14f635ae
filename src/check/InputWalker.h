#pragma once

#include "check/InputItem.h"

#include <QStringList>
#include <functional>

// Walks what the clerk named: files, folders (recursively, in name order) and archives
// (zip, 7z, tar, tar.gz/bz2/xz). Archives are streamed with libarchive and never
// extracted: their entries go out as bytes, whatever names they carry.
class InputWalker {
public:
    // The store refuses documents above this size; so does the walk.
    static constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

    explicit InputWalker(QStringList paths) : paths_(std::move(paths)) {}

    // The named paths that do not exist.
    QStringList missingPaths() const;
    // How many items walk() will hand out; reads archive headers, not their contents.
    qint64 countItems() const;
    // Hands every item out in a fixed order; stops when take returns false.
    void walk(const std::function<bool(InputItem&&)>& take) const;

    // True when the head of a file is that of an archive the walk opens.
    static bool looksLikeArchive(const QByteArray& head);

private:
    QStringList paths_;
};
