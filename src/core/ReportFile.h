#pragma once

#include "core/ReportValues.h"
#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

// The header a save stamps into //Report/ReportInfo.
struct ReportHeader {
    QString unitCode, unitName, reportUser, reportDate;
};

// A saved report read without any window or QApplication.
struct ReportFile {
    bool ok = false;
    QString error;               // the store's failure text when !ok (hardened load)
    xml::XmlParseError loadError; // what the load met when !ok: cause, line and column
    ReportHeader header;
    ReportValues values;         // every field of the report field table by id, as stored
                                 // (trimmed); a list as the code it would select
    QString storedProjectType;   // the project type code as stored (trimmed), which the list
                                 // turns into its first item's when it is not one of its own
};

// Whether a loaded document is a report at all: its root element is Report. Open shows
// another document as an empty report; a recovery draft of one is damaged.
bool IsReportDocument(const xml::XmlDocumentPtr& document);

ReportFile ReadReportFile(const QString& path);
// The values of a document already loaded.
ReportFile ReadReportDocument(const xml::XmlDocumentPtr& document);
ReportFile ReadReportBytes(const QByteArray& bytes, const QString& nameForMessages);
