#include "ui/PlainTextValue.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVariant>

namespace ui {

namespace {
const char kShownValue[] = "vantrelShownValue";
const char kShownPlainText[] = "vantrelShownPlainText";
}

void showPlainText(QPlainTextEdit* box, const QString& value)
{
    box->setPlainText(value);
    box->setProperty(kShownValue, value);
    box->setProperty(kShownPlainText, box->toPlainText());
}

QString plainTextValue(const QPlainTextEdit* box)
{
    // Untouched: the box still shows what it was given.
    const QVariant shown = box->property(kShownValue);
    if (shown.isValid() && box->toPlainText() == box->property(kShownPlainText).toString())
        return shown.toString();
    // The raw text keeps what toPlainText() rewrites; its paragraph separators are the
    // document's own block breaks.
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace ui
