#include "platform/AppFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace AppFolders {

namespace {

QString withSeparator(const QString& folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.isEmpty() && !native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

// Mode bits say nothing for root and little on network or read-only file systems:
// only creating a file tells.
bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vantrel-write-test-XXXXXX")));
    return probe.open();
}

bool isPackageManagersFolder(const QString& folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return real == QLatin1String("/usr") || real.startsWith(QLatin1String("/usr/"));
}

} // namespace

bool isProgramFolderWritable(const QString& programFolder)
{
    // Asked at every save and dialog; the answer for one folder does not change in a run.
    static QString checkedFolder;
    static bool writable = false;
    if (checkedFolder != programFolder || checkedFolder.isNull()) {
        checkedFolder = programFolder;
        writable = !programFolder.isEmpty() && !isPackageManagersFolder(programFolder)
                   && canCreateFileIn(programFolder);
    }
    return writable;
}

QString settingsFolder(const QString& programFolder)
{
    if (isProgramFolderWritable(programFolder))
        return programFolder;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return own.isEmpty() ? programFolder : withSeparator(own);
}

QString defaultLocalFolder(const QString& programFolder)
{
    if (isProgramFolderWritable(programFolder))
        return programFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return programFolder;
    const QString folder = QDir(documents).filePath(QStringLiteral("Vantrel"));
    QDir().mkpath(folder);
    return withSeparator(folder);
}

QString recoveryFolder()
{
    // Qt 6.4 has no state location of its own.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return withSeparator(state + QStringLiteral("/Vantrel/recovery"));
}

} // namespace AppFolders
