#pragma once

#include "check/CheckFinding.h"
#include "check/DocumentSniffer.h"
#include "check/ReportRow.h"
#include "check/UnitRow.h"

#include <QList>
#include <optional>

// The outcome of checking one input item.
struct FileResult {
    enum class Status {
        Ignored,    // neither a report nor a unit file
        Unreadable, // refused by the store, malformed, too large or unreadable
        Checked,
        PassedOver, // a link, device or fifo inside an archive
        Manifest,   // a package's manifest, held against the package's contents
    };

    qint64 order = 0;
    QString path;
    // Where the file is, to open it again: on disk, or inside an archive (see InputItem).
    QString diskPath;
    QString archivePath;
    QList<int> entryIndexes;
    DocumentSniffer::Kind kind = DocumentSniffer::Kind::Other;
    Status status = Status::Ignored;
    QList<CheckFinding> findings; // of this file alone
    std::optional<ReportRow> report;
    // Set by the run: the same project with the same content came earlier, so the totals
    // count it once.
    bool copyOfEarlier = false;
    // Set by the run: the checks across files find something in this report as far as the
    // files so far tell (a later file may still change that).
    bool crossFindingSoFar = false;
    std::optional<UnitRow> unit;
};
