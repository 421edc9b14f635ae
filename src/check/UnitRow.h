#pragma once

#include <QString>
#include <QStringList>

// What the workbook keeps of one unit information file.
struct UnitRow {
    QString unitCode;
    QString unitName;
    QStringList codedTexts;  // the coded fields as their list texts, in UnitColumns order
    QStringList numbers;     // class totals, relic total, fund demands, as stored
    QString fundDemandTotal; // exact sum of the four fund demands, plain decimal text
};
