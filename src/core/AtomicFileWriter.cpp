#include "core/AtomicFileWriter.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {
qint64 failAfterBytes = -1;
}

void AtomicFileWriter::injectFailureAfter(qint64 bytes)
{
    failAfterBytes = bytes;
}

bool AtomicFileWriter::isReadOnly(const QFileInfo& info)
{
    // The permission bits, not access(): an administrator may write anywhere, but a file
    // marked read-only is still meant to stay as it is.
    return !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

bool AtomicFileWriter::write(const QString& path, const QByteArray& bytes, QString* reason)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        if (reason)
            *reason = QStringLiteral("该路径是一个文件夹");
        return false;
    }
    // A read-only file stays read-only, also for an administrator who could rename over it.
    if (info.exists() && isReadOnly(info)) {
        if (reason)
            *reason = QStringLiteral("文件是只读的");
        return false;
    }
    QSaveFile file(path);
    // Never fall back to writing the old file in place.
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered write that fails only while the file is closed (a full disk
    // with less than a buffer to write) is not seen by commit(), which would then rename
    // an empty or cut-off file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    if (failAfterBytes >= 0 && failAfterBytes < bytes.size()) {
        file.write(bytes.constData(), failAfterBytes);
        file.cancelWriting();
        file.commit();
        if (reason)
            *reason = QStringLiteral("磁盘写入失败");
        return false;
    }
    // commit() syncs the new file to disk before it takes the old one's place.
    const bool written = file.write(bytes) == bytes.size() && file.error() == QFileDevice::NoError;
    if (!written) {
        if (reason)
            *reason = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("磁盘写入失败");
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}
