#pragma once

#include "check/CheckFinding.h"
#include "check/ReportRow.h"
#include "check/UnitRow.h"

#include <QHash>
#include <QList>
#include <utility>
#include <deque>
#include <vector>

// What only shows across files: one project sent twice with different figures, a
// report whose unit sent no unit file, and a report naming its unit differently from
// the unit file. Keeps a few words per report, not the reports.
class CrossFileChecks {
public:
    void addReport(qint64 order, const QString& path, const ReportRow& row);
    void addUnit(const UnitRow& row);

    // Every finding with the order of the report it concerns, in report order.
    std::vector<std::pair<qint64, CheckFinding>> findings() const;

    static QString duplicateKind();
    static QString missingUnitKind();
    static QString unitNameKind();

private:
    // A few dozen bytes per report: twenty thousand of them stay small.
    struct Entry {
        qint64 order;
        quint64 hash;
        QByteArray path; // UTF-8
        QString unitCode;
        QString projectCode;
        QString unitName;
    };
    std::deque<Entry> reports_; // grows without copying what it holds
    QHash<QString, QString> unitNames_;    // unit code -> name in its first unit file
    QHash<QString, QString> sharedTexts_;  // one copy of each repeated code and name
    QString shared(const QString& text);
};
