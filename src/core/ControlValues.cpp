#include "core/ControlValues.h"

void ControlValues::setValue(const QString& control, const QString& text)
{
    if (!values_.contains(control))
        order_.append(control);
    values_.insert(control, text);
}
