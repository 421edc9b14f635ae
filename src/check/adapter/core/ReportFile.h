#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include "core/ReportValues.h"

#include <QByteArray>

struct ReportHeader {
    QString unitCode, unitName, reportUser, reportDate;
};
struct ReportFile {
    bool ok = false;
    QString error;
    ReportHeader header;
    ReportValues values;
};
ReportFile ReadReportBytes(const QByteArray& bytes, const QString& nameForMessages);
