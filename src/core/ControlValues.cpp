#include "core/ControlValues.h"

void ControlValues::setValue(const QString& control, const QString& text)
{
    // One lookup: the size tells whether the control is new.
    const qsizetype before = values_.size();
    values_.insert(control, text);
    if (values_.size() != before)
        order_.append(control);
}
