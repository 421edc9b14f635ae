#pragma once

#include "core/ReportFieldTable.h"

#include <QString>

// Tests name a report's boxes as the form does ("Text32", "Text17(4)"); values are keyed
// by field id. The hidden cost line has ids but no field.
inline QString fieldOf(const QString& controlName)
{
    for (const ReportFieldTable::Field& f : ReportFieldTable::fields())
        if (f.control.objectName() == controlName)
            return f.id;
    for (const ReportFieldTable::BudgetPair& pair : ReportFieldTable::budgetPairs()) {
        if (pair.total.objectName() == controlName)
            return pair.totalId;
        if (pair.central.objectName() == controlName)
            return pair.centralId;
    }
    qFatal("no field for %s", qPrintable(controlName));
}
