#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Shared by the fuzz targets: a private scratch folder, file writing, and a user
// failure report that keeps the input (no QApplication here).
namespace fuzz {

inline QString scratchPath()
{
    return QDir::tempPath() + QStringLiteral("/vantrel-fuzz-") + QString::number(getpid()) + QLatin1Char('/');
}

// Made on first use and removed when the process exits normally.
inline QString scratchFolder()
{
    static const QString folder = [] {
        QDir().mkpath(scratchPath());
        std::atexit([] { QDir(scratchPath()).removeRecursively(); });
        return scratchPath();
    }();
    return folder;
}

// False when the file system refuses the name (an input may make one too long).
inline bool writeFile(const QString& path, const char* data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size);
}

// A broken promise of the code under test: report and stop, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "INVARIANT BROKEN: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

} // namespace fuzz
