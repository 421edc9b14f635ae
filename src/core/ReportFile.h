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
    ReportValues values;         // every field of the report field table, as stored (trimmed);
                                 // a Combo as the code its list would select
};

ReportFile ReadReportFile(const QString& path);
ReportFile ReadReportBytes(const QByteArray& bytes, const QString& nameForMessages);
