#include "unitinfo/FieldValue.h"

#include "core/XmlDocumentAccess.h"

#include <QLineEdit>

double GetFieldValue(QLineEdit* box)
{
    if (!box)
        return 0;
    const NumericStart number = ReadNumericStart(xml::TrimSpaces(box->text()));
    if (number.overflow) {
        box->setText(QStringLiteral("0"));
        return 0;
    }
    return number.value;
}
