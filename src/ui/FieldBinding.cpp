#include "ui/FieldBinding.h"

#include "core/CodedItem.h"
#include "ui/CodedList.h"
#include "ui/PlainTextValue.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace binding {
using namespace xml;

namespace {

QString textOf(const QLineEdit* box) { return box->text(); }
QString textOf(const QPlainTextEdit* box) { return ui::plainTextValue(box); }
void show(QLineEdit* box, const QString& text) { box->setText(text); }
void show(QPlainTextEdit* box, const QString& text) { ui::showPlainText(box, text); }

template <typename Box>
void transferText(const XmlNode& context, Box* box, const QString& xpath, bool toDocument, const QString& defaultText)
{
    if (!box)
        return;
    if (toDocument)
        SetNodeText(context, xpath, StoredText(box, defaultText));
    else
        ShowStoredText(box, GetNodeText(context, xpath), defaultText);
}

} // namespace

template <typename Box>
QString StoredText(Box* box, const QString& defaultText)
{
    const QString value = textOf(box);
    // Only a truly empty box takes the default; a box of spaces stores an empty text.
    if (!value.isEmpty())
        return value;
    show(box, defaultText);
    return defaultText;
}

template <typename Box>
void ShowStoredText(Box* box, const QString& stored, const QString& defaultText)
{
    show(box, stored.isEmpty() ? defaultText : stored);
}

template QString StoredText(QLineEdit*, const QString&);
template QString StoredText(QPlainTextEdit*, const QString&);
template void ShowStoredText(QLineEdit*, const QString&, const QString&);
template void ShowStoredText(QPlainTextEdit*, const QString&, const QString&);

void TransferTextField(const XmlNode& context, QLineEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText)
{
    transferText(context, box, xpath, toDocument, defaultText);
}

void TransferTextField(const XmlNode& context, QPlainTextEdit* box, const QString& xpath, bool toDocument,
                       const QString& defaultText)
{
    transferText(context, box, xpath, toDocument, defaultText);
}

void ShowStoredCode(CodedList* list, const QString& stored)
{
    if (!list || list->count() == 0)
        return;
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

void TransferComboField(const XmlNode& context, CodedList* list, const QString& xpath, bool toDocument)
{
    if (!list || list->count() == 0)
        return;
    if (toDocument) {
        const int index = list->currentIndex() < 0 ? 0 : list->currentIndex();
        SetNodeText(context, xpath, QString::number(list->codeAt(index)));
        SetNodeText(context, xpath + QStringLiteral("/@dict"), list->itemText(index));
        return;
    }
    ShowStoredCode(list, GetNodeText(context, xpath));
}

} // namespace binding
