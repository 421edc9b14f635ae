#pragma once

#include "core/BudgetAmount.h"

#include <QByteArray>
#include <QString>
#include <array>

// What the workbook keeps of one report: its identity, its coded fields as texts and
// its demand figures, exact. Nothing else of the document outlives its check.
struct ReportRow {
    QString unitCode;
    QString unitName;        // from the report's header
    QString projectCode;
    QString projectName;
    int projectTypeCode = 0; // 0 when the stored code is not in the list
    QString projectType;     // the list's text
    QString projectNature;
    BudgetAmount demandTotal;                 // 2006–2010 total
    std::array<BudgetAmount, 5> central;      // per year 2006..2010
    std::array<BudgetAmount, 5> local;
    // The same figures as plain decimal text ("0" for a stored text that is no number).
    QString demandTotalText;
    std::array<QString, 5> centralText;
    std::array<QString, 5> localText;
    BudgetAmount budgetTotal;                 // all budget items' totals
    BudgetAmount budgetCentral;               // their central shares
    QString firstBrokenRule;                  // the rule's message; empty when all hold
    QByteArray contentHash;                   // of every stored field, to tell copies from conflicts
};
