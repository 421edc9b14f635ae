#include "ui/HiddenTextBox.h"

HiddenTextBox::HiddenTextBox(QWidget* parent)
    : QWidget(parent)
{
    hide();
}

void HiddenTextBox::setPlainText(const QString& text)
{
    text_ = text;
    emit textChanged();
}
