#pragma once

#include "check/CheckFinding.h"
#include "check/ReportRow.h"
#include "check/UnitRow.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

// What only shows across files: one project sent twice with different figures, a
// report whose unit sent no unit file, a report naming its unit differently from the
// unit file, and a second unit file of one unit naming it differently from the first.
// Keeps a few dozen bytes per report, not the reports: codes and names that repeat are
// kept once, the rest as UTF-8 in one buffer.
class CrossFileChecks {
public:
    CrossFileChecks() = default;
    // Its look-up refers to the object itself.
    CrossFileChecks(const CrossFileChecks&) = delete;
    CrossFileChecks& operator=(const CrossFileChecks&) = delete;

    struct Added {
        // A copy of an earlier report: same unit, same project code, same content (the
        // same file twice, say in a folder and in a zip).
        bool copy = false;
        // findings() would name this report if no file came after it.
        bool findingSoFar = false;
    };
    Added addReport(qint64 order, const QString& path, const ReportRow& row);
    void addUnit(qint64 order, const QString& path, const UnitRow& row);
    // Whether a finding's order is a unit file's rather than a report's.
    bool isUnitFile(qint64 order) const { return unitOrders_.contains(order); }

    // Every finding with the order of the report it concerns, in report order.
    std::vector<std::pair<qint64, CheckFinding>> findings() const;

    static QString duplicateKind();
    static QString missingUnitKind();
    static QString unitNameKind();

private:
    struct Entry {
        qint64 order;
        quint64 hash;
        quint32 unitCode;    // into texts_
        quint32 unitName;    // into texts_
        quint32 folder;      // into texts_: the path up to its last '/', included
        quint32 fileName;    // into bytes_: the rest of the path
        quint32 projectCode; // into bytes_
        quint32 first;       // the first report of the same unit and project code
    };
    // Looks entries up by unit and project code without a key of their own.
    struct KeyHash {
        const CrossFileChecks* checks;
        size_t operator()(quint32 entry) const;
    };
    struct KeyEqual {
        const CrossFileChecks* checks;
        bool operator()(quint32 a, quint32 b) const;
    };

    quint32 intern(const QString& text);
    quint32 store(const QString& text);
    const char* stored(quint32 offset) const { return bytes_.data() + offset; }
    QString path(const Entry& entry) const;

    std::vector<Entry> reports_;
    std::string bytes_;                  // NUL-terminated UTF-8 texts
    QStringList texts_;                  // codes, names and folders, each once
    QHash<QString, quint32> textIndex_;
    std::unordered_set<quint32, KeyHash, KeyEqual> firstOfProject_{0, KeyHash{this}, KeyEqual{this}};
    QHash<QString, QString> unitNames_;  // unit code -> name in its first unit file
    QHash<QString, QString> unitPaths_;  // unit code -> its first unit file
    QSet<qint64> unitOrders_;
    std::vector<std::pair<qint64, CheckFinding>> unitConflicts_;
};
