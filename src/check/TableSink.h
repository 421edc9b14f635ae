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
// files as they come and are written out, in order, once the run is over. The workbook
// takes the projects as they come, with the verdict the files so far give; when one of
// them turns out different in the end, it is written afresh from the spill files.
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
    // To every writer, or only to those that did not take the projects as they came.
    void writeRow(const QStringList& cells, bool projectsReplay = false);
    void writeTable(int table, const std::function<void()>& rows, bool projectsReplay = false);
    bool replaysProjects(const TableWriter& writer) const;

    std::vector<std::unique_ptr<TableWriter>> writers_;
    QTemporaryFile projects_, units_, findings_;
    QSet<qint64> failedReports_;
    // Reports written as failed while the files were checked; the projects taken as they
    // came stand when this is failedReports_ in the end.
    QSet<qint64> failedSoFar_;
    bool streaming_ = false;   // some writer takes the projects as they come
    bool streamHeld_ = false;  // ... and every verdict it was given stands
    std::vector<std::pair<qint64, CheckFinding>> crossFindings_;
    DemandTotals totals_;
    bool succeeded_ = false;
    QString error_;
};
