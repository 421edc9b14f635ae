#pragma once

#include "check/FileResult.h"
#include "check/InputItem.h"

// Checks one file on its own: loads it the hardened way the program does, applies the
// rules the program applies before it saves, and keeps the row the workbook needs.
// Safe to call from several threads at once.
class FileChecker {
public:
    static FileResult check(const InputItem& item);

    // Kinds of findings, as the clerk reads them.
    static QString unreadableKind();
    static QString budgetRuleKind();
    static QString notANumberKind();
    static QString missingCodeKind();
    static QString fileNameKind();
    static QString projectTypeKind();
    static QString holdingsKind();

private:
    static void checkReport(const QByteArray& bytes, const QString& fileName, FileResult& result);
    static void checkUnit(const QByteArray& bytes, FileResult& result);
};
