#pragma once

#include "check/CheckFinding.h"
#include "check/ReportRow.h"
#include "check/UnitRow.h"

#include <QList>
#include <QStringList>

// The four tables of the workbook and of the CSV files: their names, their Chinese
// column headers, which columns hold amounts, and how a row is made from a result.
namespace CheckTables {

enum Table { Projects, Units, Summary, Findings, TableCount };

QString sheetName(int table);  // 项目, 单位, 汇总, 问题
QString csvFileName(int table); // projects.csv, units.csv, summary.csv, findings.csv
QStringList headers(int table);
// True for a column whose cells are numbers (written as numbers when they are plain decimals).
bool isNumberColumn(int table, int column);
// True for a number column that counts things (shown without decimals).
bool isCountColumn(int table, int column);

QStringList projectRow(const QString& path, const ReportRow& row, bool passed);
QStringList unitRow(const QString& path, const UnitRow& row);
QStringList findingRow(const CheckFinding& finding);

QString passedText();  // 通过
QString failedText();  // 未通过

} // namespace CheckTables
