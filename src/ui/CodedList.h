#pragma once

#include "core/CodedItem.h"

#include <QComboBox>
#include <span>

// A pick-list whose items carry integer codes. Unlike a plain QComboBox it reports every
// selection, also one made from code that keeps the current index: the forms react to
// a selection, not to a change of index.
class CodedList : public QComboBox {
    Q_OBJECT
public:
    explicit CodedList(QWidget* parent = nullptr);

    void setItems(std::span<const CodedItem> items);
    int codeAt(int index) const;
    // Selects the item and raises itemSelected, whether or not the index changes.
    void selectItem(int index);
    // True while itemSelected is raised for the user's own pick (not selectItem()).
    bool selectionFromUser() const { return fromUser_; }

signals:
    // A selection made by the user or through selectItem().
    void itemSelected(int index);

private:
    bool fromUser_ = false;
};
