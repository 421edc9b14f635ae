#pragma once

#include "store/XmlDocument.h"

#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class CodedList;

// The shared module: document access, field binding, the settings file and the values
// every window reads.
namespace Module1 {

// ---- Values held for the whole run ----------------------------------------------------
extern QString ProgramFolder;   // the program's own folder, ends in a separator
extern QString UnitCode;        // unit code from config.pz or the dialogs
extern QString LocalFolder;     // where reports and unit files live; empty or ends in a separator
extern QString UnitName;        // from the unit information file
extern QString UnitReportUser;  // the person who fills in the forms
extern thread_local QString LastErrorText; // message of the last failed load or save (per thread)

// The folder separator of this platform ("\" on Windows, "/" elsewhere).
QChar folderSeparator();

// ---- Document access --------------------------------------------------------------------
QString GetLastErrorText();
// Always returns a document; GetLastErrorText() is empty exactly when the load succeeded.
XmlDocumentPtr LoadXmlDocument(const QString& fileName);
// Parses text held in memory (the settings template); same failure rules as a load.
XmlDocumentPtr ParseXmlText(const QByteArray& text, const QString& nameForMessages = QString());
// Replaces the file atomically: on failure the previous file is untouched.
bool SaveXmlDocument(const XmlDocumentPtr& document, const QString& fileName);
// Serialises the document in its declared encoding, as SaveXmlDocument writes it.
QByteArray SerializeXmlDocument(const XmlDocumentPtr& document);
// Text of the first node the XPath selects, spaces trimmed at both ends; empty when none.
QString GetNodeText(const XmlNode& context, const QString& xpath);
// Sets the text of the first node the XPath selects, stored literally; no node, no change.
void SetNodeText(const XmlNode& context, const QString& xpath, const QString& value);

// Removes spaces (only U+0020) at both ends, as every value is trimmed on its way
// into and out of a document.
QString TrimSpaces(const QString& text);

// ---- Field binding ----------------------------------------------------------------------
// toDocument true: box -> document (an empty box first takes the default); false: the reverse.
void TransferTextField(const XmlNode& context, QLineEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
void TransferTextField(const XmlNode& context, QPlainTextEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
// Code in the element, display text in its "dict" attribute.
void TransferComboField(const XmlNode& context, CodedList* list, const QString& xpath, bool toDocument);

// ---- Settings ---------------------------------------------------------------------------
enum LoadSettingsResult { SettingsComplete = 1, SettingsMissing = 0, UnitInfoMissing = -1 };

void SaveSettings();
int LoadSettings();
// Attribute bits of an existing file or folder (read-only 1, hidden 2, folder 16, archive 32), else -1.
short QueryFileAttributes(const QString& fileName);
// Shows the unit-code notice, then tells whether the code has exactly six characters.
bool IsValidUnitCode(const QString& code);
// True when the text can stand inside a file name: no separators, no characters that
// file systems refuse, no control characters, and not "." or "..".
bool IsSafeFileNamePart(const QString& text);

} // namespace Module1
