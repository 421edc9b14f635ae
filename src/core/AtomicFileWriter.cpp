#include "core/AtomicFileWriter.h"

#include "core/WriteFailureText.h"

#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace {
// Tests make writes fail after this many bytes; negative: never.
qint64& failAfterBytes()
{
    static qint64 bytes = -1;
    return bytes;
}

// Tests make the final replace fail.
bool& failReplace()
{
    static bool fail = false;
    return fail;
}
} // namespace

void AtomicFileWriter::injectFailureAfter(qint64 bytes)
{
    failAfterBytes() = bytes;
}

void AtomicFileWriter::injectFailedReplace(bool fail)
{
    failReplace() = fail;
}

bool AtomicFileWriter::isReadOnly(const QFileInfo& info)
{
    // The permission bits, not access(): an administrator may write anywhere, but a file
    // marked read-only is still meant to stay as it is.
    return !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

bool AtomicFileWriter::write(const QString& path, const QByteArray& bytes, QString* reason)
{
    return write(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); }, reason);
}

bool AtomicFileWriter::write(const QString& path, const std::function<bool(QIODevice&)>& produce, QString* reason,
                             const std::function<bool()>& mayReplace)
{
    const auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("该路径是一个文件夹"));
    // A read-only file stays read-only, also for an administrator who could rename over it.
    if (info.exists() && isReadOnly(info))
        return fail(QStringLiteral("文件是只读的"));
    QSaveFile file(path);
    // Never fall back to writing the old file in place.
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered write that fails only while the file is closed (a full disk
    // with less than a buffer to write) is not seen by commit(), which would then rename
    // an empty or cut-off file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(WriteFailureText(file.errorString()));
    const bool produced = produce(file);
    if (failAfterBytes() >= 0 && failAfterBytes() < file.size()) {
        file.cancelWriting();
        file.commit();
        return fail(QStringLiteral("磁盘写入失败"));
    }
    if (!produced || file.error() != QFileDevice::NoError) {
        const QString why = file.error() != QFileDevice::NoError ? WriteFailureText(file.errorString())
                                                                 : QStringLiteral("磁盘写入失败");
        file.cancelWriting();
        file.commit();
        return fail(why);
    }
    // On disk before the decision to replace, so that this wait overlaps whatever the
    // decision waits for.
    if (mayReplace) {
        ::fsync(file.handle());
        if (!mayReplace()) {
            file.cancelWriting();
            file.commit();
            return fail(QStringLiteral("未替换原文件"));
        }
    }
    // A replace that fails once everything was written: commit() answers false.
    if (failReplace())
        file.cancelWriting();
    // commit() syncs the new file to disk before it takes the old one's place.
    if (!file.commit())
        return fail(WriteFailureText(file.errorString()));
    return true;
}
