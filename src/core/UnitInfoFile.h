#pragma once

#include "core/UnitInfoValues.h"
#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>

// A saved unit information file read without any window: every field of the unit
// information table, as stored (trimmed); a Combo as the code its list would select.
struct UnitInfoFile {
    bool ok = false;
    QString error;               // the store's failure text when !ok
    xml::XmlParseError loadError; // what the load met when !ok: cause, line and column
    UnitInfoValues values;
    // The unit's code as the file was stamped with it on its last save (the dialog shows
    // it but never edits it): Basic/CorpID, else ReportInfo/CorpID.
    QString unitCode;
};

UnitInfoFile ReadUnitInfoFile(const QString& path);
UnitInfoFile ReadUnitInfoBytes(const QByteArray& bytes, const QString& nameForMessages);
