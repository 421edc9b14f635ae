#pragma once

#include "check/CheckSink.h"
#include "check/DemandTotals.h"
#include "check/TableWriter.h"

#include <QSet>
#include <QTemporaryFile>
#include <memory>
#include <vector>

// Makes the four tables from a run and hands them to the writers (workbook, CSV). A
// report's verdict waits for the checks across files, so rows go to temporary spill
// files as they come and are written out, in order, once the run is over.
class TableSink : public CheckSink {
public:
    void addWriter(std::unique_ptr<TableWriter> writer) { writers_.push_back(std::move(writer)); }
    // Opens the writers and the spill files; false (with the reason) when one cannot be.
    bool open(QString* error);

    void fileChecked(const FileResult& result) override;
    void crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings) override;
    void finished(const CheckTally& tally) override;

    // After the run: whether every table reached its file, and why not.
    bool succeeded() const { return succeeded_; }
    QString error() const { return error_; }

private:
    void writeRow(const QStringList& cells);
    void writeTable(int table, const std::function<void()>& rows);

    std::vector<std::unique_ptr<TableWriter>> writers_;
    QTemporaryFile projects_, units_, findings_;
    QSet<qint64> failedReports_;
    std::vector<std::pair<qint64, CheckFinding>> crossFindings_;
    DemandTotals totals_;
    bool succeeded_ = false;
    QString error_;
};
