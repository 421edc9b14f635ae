#pragma once

#include "core/XmlDocumentAccess.h"

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class CodedList;

// Field binding: one value between a form control and a document node. Both forms use it;
// the names stay in Module1, where the forms have always called them.
namespace Module1 {

// toDocument true: box -> document (an empty box first takes the default); false: the reverse.
void TransferTextField(const XmlNode& context, QLineEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
void TransferTextField(const XmlNode& context, QPlainTextEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
// Code in the element, display text in its "dict" attribute.
void TransferComboField(const XmlNode& context, CodedList* list, const QString& xpath, bool toDocument);

} // namespace Module1
