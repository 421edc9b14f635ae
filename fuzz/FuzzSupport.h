#pragma once

#include "ui/UserInterface.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Shared by the fuzz targets: a private scratch folder, file writing, and a user
// interface that records instead of opening windows (no QApplication here).
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

class SilentUi : public ui::UserInterface {
public:
    QStringList texts;
    void message(QWidget*, const QString& text) override { texts << text; }
    bool question(QWidget*, const QString& text) override { texts << text; return false; }
    std::optional<QString> openFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(QWidget*, const ui::FileDialogRequest&) override { return std::nullopt; }
    void runModal(QDialog*) override {}
    bool openInBrowser(const QString&) override { return true; }
};

} // namespace fuzz
