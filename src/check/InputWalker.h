#pragma once

#include "check/InputItem.h"

#include <QStringList>
#include <functional>

// Walks what the clerk named: files, folders (recursively, in name order) and archives
// (zip, 7z, tar, tar.gz/bz2/xz). Archives are streamed with libarchive and never
// extracted: their entries go out as bytes, whatever names they carry. An archive inside
// an archive is opened from memory, to kMaxArchiveDepth; links, devices and fifos inside
// archives go out as passed over. An archive that carries a manifest (清单.xml) is held
// against it; the manifest goes out last, with what does not agree.
class InputWalker {
public:
    // The store refuses documents above this size; so does the walk, for every entry
    // (an archive inside an archive included).
    static constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;
    // Archives inside archives are opened to this depth, the one on disk being the first.
    static constexpr int kMaxArchiveDepth = 3;
    // What one archive on disk may unpack to, its entries at every depth together; the
    // rest of it is not read. Stops a small archive that unpacks to terabytes.
    static constexpr qint64 kMaxArchiveBytes = 1024LL * 1024 * 1024;

    // archiveAllowance: what each archive on disk may unpack to (smaller in tests).
    explicit InputWalker(QStringList paths, qint64 archiveAllowance = kMaxArchiveBytes)
        : paths_(std::move(paths)), archiveAllowance_(archiveAllowance)
    {
    }

    // The named paths that do not exist.
    QStringList missingPaths() const;
    // How many items walk() will hand out, about: reads archive headers, not their
    // contents, so an archive inside one counts as one.
    qint64 countItems() const;
    // Hands every item out in a fixed order; stops when take returns false.
    void walk(const std::function<bool(InputItem&&)>& take) const;

    // True when the head of a file is that of an archive the walk opens.
    static bool looksLikeArchive(const QByteArray& head);
    // Whether the walk would read the file on disk as something to check (a report, a
    // unit file or an archive) rather than pass it over.
    static bool readsAsInput(const QString& path);
    // The bytes of an entry the walk handed out, found again by its archive on disk and
    // its entry indexes (InputItem::archivePath, entryIndexes). False with the reason in
    // Chinese when it is gone or cannot be read whole.
    static bool readEntry(const QString& archivePath, const QList<int>& entryIndexes, QByteArray* bytes,
                          QString* error);

private:
    QStringList paths_;
    qint64 archiveAllowance_;
};
