#include "ui/FieldBinding.h"

#include "core/CodedItem.h"
#include "ui/CodedList.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace Module1 {

namespace {

template <typename Box>
void transferText(const XmlNode& context, Box* box, const QString& xpath, bool toDocument, const QString& defaultText,
                  QString (Box::*get)() const, void (Box::*set)(const QString&))
{
    if (!box)
        return;
    if (toDocument) {
        QString value = (box->*get)();
        // Only a truly empty box takes the default; a box of spaces stores an empty text.
        if (value.isEmpty()) {
            value = defaultText;
            (box->*set)(defaultText);
        }
        SetNodeText(context, xpath, value);
    } else {
        QString value = GetNodeText(context, xpath);
        if (value.isEmpty())
            value = defaultText;
        (box->*set)(value);
    }
}

} // namespace

void TransferTextField(const XmlNode& context, QLineEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText)
{
    transferText(context, box, xpath, toDocument, defaultText, &QLineEdit::text, &QLineEdit::setText);
}

void TransferTextField(const XmlNode& context, QPlainTextEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText)
{
    transferText(context, box, xpath, toDocument, defaultText, &QPlainTextEdit::toPlainText,
                 &QPlainTextEdit::setPlainText);
}

void TransferComboField(const XmlNode& context, CodedList* list, const QString& xpath, bool toDocument)
{
    if (!list)
        return;
    if (toDocument) {
        if (list->count() == 0)
            return;
        const int index = list->currentIndex() < 0 ? 0 : list->currentIndex();
        SetNodeText(context, xpath, QString::number(list->codeAt(index)));
        SetNodeText(context, xpath + QStringLiteral("/@dict"), list->itemText(index));
        return;
    }
    if (list->count() == 0)
        return;
    const QString stored = GetNodeText(context, xpath);
    // The stored code is compared as a number, so "12.0" finds code 12; text that is not
    // a number finds nothing and the first item stays.
    int found = 0;
    for (int i = 0; i < list->count(); ++i) {
        if (StoredCodeMatches(stored, list->codeAt(i))) {
            found = i;
            break;
        }
    }
    list->selectItem(found);
}

} // namespace Module1
