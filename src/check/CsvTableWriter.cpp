#include "check/CsvTableWriter.h"

#include "check/CheckTables.h"

#include <QDir>
#include <QFileInfo>

QByteArray CsvTableWriter::csvLine(const QStringList& cells)
{
    QByteArray line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ',';
        QByteArray field = cells.at(i).toUtf8();
        if (field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n')) {
            field.replace("\"", "\"\"");
            field = '"' + field + '"';
        }
        line += field;
    }
    line += "\r\n";
    return line;
}

CsvTableWriter::~CsvTableWriter()
{
    // A run that wrote nothing leaves no empty folder of its own behind.
    files_.clear();
    if (madeFolder_ && !committed_)
        QDir().rmdir(folder_);
}

bool CsvTableWriter::open(QString* error)
{
    madeFolder_ = !QFileInfo::exists(folder_);
    if (!QDir().mkpath(folder_)) {
        *error = QStringLiteral("无法创建文件夹") + folder_;
        return false;
    }
    for (int table = 0; table < CheckTables::TableCount; ++table) {
        auto file = std::make_unique<QSaveFile>(QDir(folder_).filePath(CheckTables::csvFileName(table)));
        if (!file->open(QIODevice::WriteOnly)) {
            *error = QStringLiteral("无法写入文件") + file->fileName() + QStringLiteral("：") + file->errorString();
            files_.clear();
            return false;
        }
        files_.push_back(std::move(file));
    }
    return true;
}

void CsvTableWriter::beginTable(int table)
{
    current_ = files_.at(static_cast<size_t>(table)).get();
    current_->write(csvLine(CheckTables::headers(table)));
}

void CsvTableWriter::addRow(const QStringList& cells)
{
    current_->write(csvLine(cells));
}

void CsvTableWriter::endTable()
{
    current_ = nullptr;
}

bool CsvTableWriter::commit(QString* error)
{
    // All four or none: a failure in any leaves every earlier file as it was.
    for (const auto& file : files_) {
        if (file->error() != QFileDevice::NoError) {
            *error = QStringLiteral("无法写入文件") + file->fileName() + QStringLiteral("：") + file->errorString();
            for (const auto& f : files_)
                f->cancelWriting();
            return false;
        }
    }
    for (const auto& file : files_) {
        if (!file->commit()) {
            *error = QStringLiteral("无法写入文件") + file->fileName() + QStringLiteral("：") + file->errorString();
            return false;
        }
    }
    committed_ = true;
    return true;
}
