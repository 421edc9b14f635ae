#include "check/TableSink.h"

#include "check/CheckTables.h"

#include <QDataStream>

#include <algorithm>

namespace {

// Reads back what was spilled: an order and the cells of a row, until the end.
bool readRecord(QDataStream& in, qint64& order, QStringList& cells)
{
    if (in.atEnd())
        return false;
    in >> order >> cells;
    return in.status() == QDataStream::Ok;
}

void spill(QTemporaryFile& file, qint64 order, const QStringList& cells)
{
    QDataStream out(&file);
    out << order << cells;
}

int verdictColumn()
{
    static const int column = static_cast<int>(CheckTables::headers(CheckTables::Projects).size()) - 3;
    return column;
}

} // namespace

bool TableSink::open(QString* error)
{
    for (QTemporaryFile* file : {&projects_, &units_, &findings_}) {
        if (!file->open()) {
            *error = QStringLiteral("无法创建临时文件：") + file->errorString();
            return false;
        }
    }
    for (const auto& writer : writers_) {
        if (!writer->open(error))
            return false;
        if (writer->takesProjectsAsTheyCome()) {
            streaming_ = true;
            writer->beginTable(CheckTables::Projects);
        }
    }
    return true;
}

bool TableSink::replaysProjects(const TableWriter& writer) const
{
    return !writer.takesProjectsAsTheyCome() || !streamHeld_;
}

void TableSink::fileChecked(const FileResult& result)
{
    if (!result.findings.isEmpty() && result.report)
        failedReports_.insert(result.order);
    for (const CheckFinding& finding : result.findings)
        spill(findings_, result.order, CheckTables::findingRow(finding));
    if (result.report) {
        if (!result.copyOfEarlier)
            totals_.addReport(*result.report);
        // The verdict is filled in when the rows are written.
        QStringList cells = CheckTables::projectRow(result.path, *result.report, true);
        if (streaming_) {
            const bool failed = !result.findings.isEmpty() || result.crossFindingSoFar;
            if (failed)
                failedSoFar_.insert(result.order);
            QStringList early = cells;
            early[verdictColumn()] = failed ? CheckTables::failedText() : CheckTables::passedText();
            for (const auto& writer : writers_) {
                if (writer->takesProjectsAsTheyCome())
                    writer->addRow(early);
            }
        }
        spill(projects_, result.order, cells);
    }
    if (result.unit) {
        totals_.nameUnit(result.unit->unitCode, result.unit->unitName);
        spill(units_, result.order, CheckTables::unitRow(result.path, *result.unit));
    }
}

void TableSink::crossFindings(const std::vector<std::pair<qint64, CheckFinding>>& findings)
{
    crossFindings_ = findings;
    for (const auto& [order, finding] : findings)
        failedReports_.insert(order);
}

void TableSink::writeRow(const QStringList& cells, bool projectsReplay)
{
    for (const auto& writer : writers_) {
        if (!projectsReplay || replaysProjects(*writer))
            writer->addRow(cells);
    }
}

void TableSink::writeTable(int table, const std::function<void()>& rows, bool projectsReplay)
{
    for (const auto& writer : writers_) {
        if (!projectsReplay || replaysProjects(*writer))
            writer->beginTable(table);
    }
    rows();
    for (const auto& writer : writers_) {
        if (!projectsReplay || replaysProjects(*writer))
            writer->endTable();
    }
}

void TableSink::finished(const CheckTally&)
{
    streamHeld_ = streaming_ && failedSoFar_ == failedReports_;
    for (const auto& writer : writers_) {
        if (!writer->takesProjectsAsTheyCome())
            continue;
        if (streamHeld_) {
            writer->endTable();
        } else if (!writer->restart(&error_)) {
            writers_.clear();
            return;
        }
    }
    const int verdict = verdictColumn();
    const bool replay = std::any_of(writers_.cbegin(), writers_.cend(), [&](const auto& w) { return replaysProjects(*w); });
    if (replay) {
        writeTable(CheckTables::Projects, [&] {
            projects_.seek(0);
            QDataStream in(&projects_);
            qint64 order = 0;
            QStringList cells;
            while (readRecord(in, order, cells)) {
                if (failedReports_.contains(order))
                    cells[verdict] = CheckTables::failedText();
                writeRow(cells, true);
            }
        }, true);
    }
    writeTable(CheckTables::Units, [&] {
        units_.seek(0);
        QDataStream in(&units_);
        qint64 order = 0;
        QStringList cells;
        while (readRecord(in, order, cells))
            writeRow(cells);
    });
    writeTable(CheckTables::Summary, [&] {
        for (const QStringList& cells : totals_.rows())
            writeRow(cells);
    });
    // A file's own findings and those across files, merged in input order.
    writeTable(CheckTables::Findings, [&] {
        findings_.seek(0);
        QDataStream in(&findings_);
        qint64 order = 0;
        QStringList cells;
        auto cross = crossFindings_.cbegin();
        bool more = readRecord(in, order, cells);
        while (more || cross != crossFindings_.cend()) {
            if (more && (cross == crossFindings_.cend() || order <= cross->first)) {
                writeRow(cells);
                more = readRecord(in, order, cells);
            } else {
                writeRow(CheckTables::findingRow(cross->second));
                ++cross;
            }
        }
    });
    if (projects_.error() != QFileDevice::NoError || units_.error() != QFileDevice::NoError
        || findings_.error() != QFileDevice::NoError) {
        // The writers' temporary files go with them; nothing reaches its final name.
        error_ = QStringLiteral("无法写入临时文件");
        writers_.clear();
        return;
    }
    succeeded_ = true;
    for (const auto& writer : writers_) {
        if (!writer->commit(&error_)) {
            succeeded_ = false;
            break;
        }
    }
}
