#include "ui/CodedList.h"

#include <QScopedValueRollback>

CodedList::CodedList(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QScopedValueRollback<bool> fromUser(fromUser_, true);
        emit itemSelected(index);
    });
}

void CodedList::setItems(std::span<const CodedItem> items)
{
    clear();
    for (const CodedItem& item : items)
        addItem(QString::fromUtf8(item.text), item.code);
}

int CodedList::codeAt(int index) const
{
    return itemData(index).toInt();
}

void CodedList::selectItem(int index)
{
    setCurrentIndex(index);
    emit itemSelected(index);
}

#include "moc_CodedList.cpp"
