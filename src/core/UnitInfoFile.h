#pragma once

#include "core/UnitInfoValues.h"

#include <QByteArray>
#include <QString>

// A saved unit information file read without any window: every field of the unit
// information table, as stored (trimmed); a Combo as the code its list would select.
struct UnitInfoFile {
    bool ok = false;
    QString error;               // the store's failure text when !ok
    UnitInfoValues values;
};

UnitInfoFile ReadUnitInfoFile(const QString& path);
UnitInfoFile ReadUnitInfoBytes(const QByteArray& bytes, const QString& nameForMessages);
