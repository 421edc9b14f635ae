#pragma once

#include "check/TableWriter.h"

#include <QSaveFile>
#include <memory>
#include <vector>

// The tables as UTF-8 CSV files (RFC 4180: CRLF line ends, a field holding a comma, a
// quote or a line break quoted, quotes doubled), one file per table in a folder.
// Amounts are plain exact decimals, so downstream tools read them without loss.
class CsvTableWriter : public TableWriter {
public:
    explicit CsvTableWriter(QString folder) : folder_(std::move(folder)) {}
    ~CsvTableWriter() override;

    bool open(QString* error) override;
    void beginTable(int table) override;
    void addRow(const QStringList& cells) override;
    void endTable() override;
    bool commit(QString* error) override;

    static QByteArray csvLine(const QStringList& cells);

private:
    QString folder_;
    std::vector<std::unique_ptr<QSaveFile>> files_;
    QSaveFile* current_ = nullptr;
    bool madeFolder_ = false; // the folder was made for this run
    bool committed_ = false;
};
