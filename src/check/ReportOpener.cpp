#include "check/ReportOpener.h"

#include "check/InputWalker.h"
#include "core/AtomicFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

ReportOpener::ReportOpener()
    : program_(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vantrel")))
    , starter_([](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    })
{
}

QString ReportOpener::fileFor(const FileLocation& location, const QString& path, QString* error)
{
    if (!location.diskPath.isEmpty()) {
        if (!QFileInfo::exists(location.diskPath))
            *error = QStringLiteral("文件已不在");
        return QFileInfo::exists(location.diskPath) ? location.diskPath : QString();
    }
    QByteArray bytes;
    if (!InputWalker::readEntry(location.archivePath, location.entryIndexes, &bytes, error))
        return {};
    if (!copies_ || !copies_->isValid())
        copies_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("vantrel-check-XXXXXX")));
    // A folder per copy: two entries of one name in different archives both stay. The name
    // is the entry's own, made safe, so that Vantrel's title says which report it is.
    QString name = path.section(QLatin1Char(':'), -1).section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("report.xm");
    const QString folder = copies_->filePath(QString::number(++copied_));
    QString reason;
    if (!copies_->isValid() || !QDir().mkpath(folder)
        || !AtomicFileWriter::write(QDir(folder).filePath(name), bytes, &reason)) {
        *error = QStringLiteral("无法写入临时文件：") + (reason.isEmpty() ? QDir::tempPath() : reason);
        return {};
    }
    return QDir(folder).filePath(name);
}

bool ReportOpener::open(const FileLocation& location, const QString& path, QString* error)
{
    if (!location.report || !location.isKnown()) {
        *error = QStringLiteral("只有报表才能在 Vantrel 中打开：") + path;
        return false;
    }
    if (!QFileInfo(program_).isExecutable()) {
        *error = QStringLiteral("找不到 Vantrel 程序：") + program_;
        return false;
    }
    QString reason;
    const QString file = fileFor(location, path, &reason);
    if (file.isEmpty()) {
        *error = QStringLiteral("无法打开报表") + path + QStringLiteral("：") + reason;
        return false;
    }
    if (!starter_(program_, {QStringLiteral("--"), file})) {
        *error = QStringLiteral("无法启动 Vantrel：") + program_;
        return false;
    }
    return true;
}
