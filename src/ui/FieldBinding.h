#pragma once

#include "core/XmlDocumentAccess.h"

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class CodedList;

// Field binding: one value between a form control and a document node. Both forms use it;
// one function per direction and kind of control.
namespace binding {

using xml::XmlNode;

// toDocument true: box -> document (an empty box first takes the default); false: the reverse.
void TransferTextField(const XmlNode& context, QLineEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
void TransferTextField(const XmlNode& context, QPlainTextEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText);
// Code in the element, display text in its "dict" attribute.
void TransferComboField(const XmlNode& context, CodedList* list, const QString& xpath, bool toDocument);

// The same rules over values, for a form that reads or writes all its nodes in one go
// (XmlPathSet, SetNodeTexts). The text a box stores: an empty box first takes the default.
template <typename Box>
QString StoredText(Box* box, const QString& defaultText);
// Shows a stored text in a box: an empty text shows the default.
template <typename Box>
void ShowStoredText(Box* box, const QString& stored, const QString& defaultText);
// Selects the item whose code the stored text names, else the first.
void ShowStoredCode(CodedList* list, const QString& stored);

} // namespace binding
