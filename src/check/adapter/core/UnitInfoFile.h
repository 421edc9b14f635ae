#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include "core/UnitInfoValues.h"

#include <QByteArray>

struct UnitInfoFile {
    bool ok = false;
    QString error;
    UnitInfoValues values;
};
UnitInfoFile ReadUnitInfoBytes(const QByteArray& bytes, const QString& nameForMessages);
