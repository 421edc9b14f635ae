#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <functional>

class QIODevice;

// Replaces a file as a whole: the bytes go to a temporary file in the same folder, which
// is renamed over the old file only once everything is written. On any failure the old
// file stays byte-identical and the temporary file is removed.
class AtomicFileWriter {
public:
    // False with the system's reason when the file could not be written.
    static bool write(const QString& path, const QByteArray& bytes, QString* reason);
    // The same, with the content written by `produce` into the temporary file, so that a
    // large file never has to exist in memory. produce returns false when it could not
    // write everything; the old file then stays. mayReplace, when given, is asked once the
    // new file is written and on disk: false leaves the old file.
    static bool write(const QString& path, const std::function<bool(QIODevice&)>& produce, QString* reason,
                      const std::function<bool()>& mayReplace = {});

    // True when the file's permissions mark it read-only for everyone.
    static bool isReadOnly(const QFileInfo& info);

    // For tests: make every write fail after this many bytes (negative: never fail).
    static void injectFailureAfter(qint64 bytes);
    // For tests: make the final replace of every write fail, once the whole new file is written.
    static void injectFailedReplace(bool fail);
};
