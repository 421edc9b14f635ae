#pragma once

#include "check/ReportRow.h"

#include <QStringList>
#include <map>
#include <set>

// The province's demand added up per project type and per unit, exactly: every sum is
// a rational number, made a double only when a cell is written.
class DemandTotals {
public:
    void addReport(const ReportRow& row);
    // A unit file names its unit; a unit with no unit file is named by its reports.
    void nameUnit(const QString& unitCode, const QString& unitName);

    // The rows of the summary table, in SummaryColumns order: per type (list order),
    // per unit (code order), then the grand total.
    QList<QStringList> rows() const;

private:
    struct Sum {
        qint64 projects = 0;
        BudgetAmount demandTotal;
        std::array<BudgetAmount, 5> central;
        std::array<BudgetAmount, 5> local;
        BudgetAmount budgetTotal;
        BudgetAmount budgetCentral;
        void add(const ReportRow& row);
        QStringList cells(const QString& group, const QString& code, const QString& name) const;
    };

    std::map<int, Sum> byType_;     // 0: a type not in the list
    std::map<QString, Sum> byUnit_;
    std::map<QString, QString> unitNames_;
    std::set<QString> namedByUnitFile_;
    Sum all_;
};
