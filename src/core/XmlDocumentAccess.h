#pragma once

#include "core/XmlDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Loading, parsing, saving and the XPath node operations of every document. Each call
// that can fail fills errorText with the text the windows show (empty on success).
class XmlPathSet;

namespace xml {

// A larger file is refused before it is read: the parser takes an int length, and a stray
// multi-gigabyte file would fill memory. No document of ours should come near it.
constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

// The folder separator of this platform ("\" on Windows, "/" elsewhere).
QChar folderSeparator();

// Always returns a document; errorText is empty exactly when the load succeeded.
XmlDocumentPtr ReadXmlDocument(const QString& fileName, QString& errorText);
// Parses bytes held in memory; same failure rules as a load.
XmlDocumentPtr ParseXmlBytes(const QByteArray& bytes, const QString& nameForMessages, QString& errorText);
// Replaces the file atomically: on failure the previous file is untouched.
bool WriteXmlDocument(const XmlDocumentPtr& document, const QString& fileName, QString& errorText);
// Writes bytes SerializeXmlDocument made, with WriteXmlDocument's failure texts; safe on
// any thread, as it touches no document.
bool WriteSerializedDocument(const QByteArray& bytes, const QString& fileName, QString& errorText);
// Serialises the document in its declared encoding, as WriteXmlDocument writes it.
QByteArray SerializeXmlDocument(const XmlDocumentPtr& document);

// Text of the first node the XPath selects, spaces trimmed at both ends; empty when none.
QString GetNodeText(const XmlNode& context, const QString& xpath);
// Sets the text of the first node the XPath selects, stored literally; no node, no change.
void SetNodeText(const XmlNode& context, const QString& xpath, const QString& value);
// SetNodeText for many XPaths at once (values in the order of the paths), in one walk of
// the document (XmlPathSet reads them the same way).
void SetNodeTexts(const XmlNode& context, const XmlPathSet& paths, const QStringList& values);
// The first node the XPath selects, or null.
xmlNodePtr SelectFirstNode(const XmlNode& context, const QString& xpath);

// Removes spaces (only U+0020) at both ends, as every value is trimmed on its way
// into and out of a document.
QString TrimSpaces(const QString& text);

// True when the text can stand inside a file name: no separators, no characters that
// file systems refuse, no control characters, and not "." or "..".
bool IsSafeFileNamePart(const QString& text);

} // namespace xml
