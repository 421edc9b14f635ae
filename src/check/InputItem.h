#pragma once

#include <QByteArray>
#include <QString>

// One file to look at: a file on disk (read by whoever checks it) or an archive entry
// whose bytes were read from the archive as it streamed past.
struct InputItem {
    qint64 order = 0;      // position in the walk; rows and findings keep this order
    QString path;          // what the clerk reads: the disk path, or "archive.zip:entry/name"
    QString diskPath;      // set for a file on disk, empty for an archive entry
    QString fileName;      // the last part of the path or of the entry's name
    QByteArray bytes;      // an archive entry's content (empty for a disk file)
    QString readError;     // why the entry could not be read, if so
    bool tooLarge = false; // over the store's size limit: judged by its head only
};
