#pragma once

#include "check/CheckFinding.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One file to look at: a file on disk (read by whoever checks it) or an archive entry
// whose bytes were read from the archive as it streamed past.
struct InputItem {
    qint64 order = 0;      // position in the walk; rows and findings keep this order
    QString path;          // what the clerk reads: the disk path, or "archive.zip:entry/name"
                           // ("a.zip:b.zip:entry" inside an archive inside an archive)
    QString diskPath;      // set for a file on disk, empty for an archive entry
    QString fileName;      // the last part of the path or of the entry's name
    QByteArray bytes;      // an archive entry's content (empty for a disk file)
    QString readError;     // why the entry could not be read, if so
    bool tooLarge = false; // over the store's size limit: judged by its head only
    // Where an archive entry is: the archive on disk and, at each depth, the entry's
    // position among the archive's headers (InputWalker::readEntry finds it again).
    QString archivePath;
    QList<int> entryIndexes;
    bool passedOver = false; // a link, device or fifo inside an archive: counted, not read
    // A package's manifest (清单.xml), already held against the package's contents by the
    // walk; these are its findings.
    bool manifest = false;
    QList<CheckFinding> manifestFindings;
};
