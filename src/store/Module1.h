#pragma once

#include "core/XmlDocumentAccess.h"

#include <QString>

// The shared module: document access, the settings file and the values every window reads.
namespace Module1 {

using xml::XmlDocumentPtr;
using xml::XmlNode;

// ---- Values held for the whole run ----------------------------------------------------
extern QString ProgramFolder;   // the program's own folder, ends in a separator
extern QString UnitCode;        // unit code from config.pz or the dialogs
extern QString LocalFolder;     // where reports and unit files live; empty or ends in a separator
extern QString UnitName;        // from the unit information file
extern QString UnitReportUser;  // the person who fills in the forms
extern QString LastErrorText;   // message of the last failed load or save

// ---- Document access --------------------------------------------------------------------
QString GetLastErrorText();
// The document access of core, with the failure text kept in LastErrorText.
// Always returns a document; GetLastErrorText() is empty exactly when the load succeeded.
XmlDocumentPtr LoadXmlDocument(const QString& fileName);
// Parses text held in memory (the settings template); same failure rules as a load.
XmlDocumentPtr ParseXmlText(const QByteArray& text, const QString& nameForMessages = QString());
// Replaces the file atomically: on failure the previous file is untouched.
bool SaveXmlDocument(const XmlDocumentPtr& document, const QString& fileName);

// ---- Settings ---------------------------------------------------------------------------
enum LoadSettingsResult { SettingsComplete = 1, SettingsMissing = 0, UnitInfoMissing = -1 };

void SaveSettings();
int LoadSettings();
// The local folder, or while none is set the default one: the program's folder when it
// is writable, else the user's documents folder + "Vantrel". Ends in a separator.
QString LocalFolderOrDefault();
// Attribute bits of an existing file or folder (read-only 1, hidden 2, folder 16, archive 32), else -1.
short QueryFileAttributes(const QString& fileName);
// Shows the unit-code notice, then tells whether the code has exactly six characters.
bool IsValidUnitCode(const QString& code);

} // namespace Module1
