#pragma once

#include <QList>
#include <QString>

// Where a checked file is, to open it again: a file on disk, or an entry inside an archive
// on disk (at each depth, its index among the archive's headers; see InputItem).
struct FileLocation {
    QString diskPath;
    QString archivePath;
    QList<int> entryIndexes;
    bool report = false; // only reports open in Vantrel

    bool isKnown() const { return !diskPath.isEmpty() || !entryIndexes.isEmpty(); }
};
