#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The values of a form keyed by its controls' names ("Text1", "Text17(4)", "Combo1"),
// so that rules and files can be read and checked without any window. Controls keep
// the order in which they were first set.
class ControlValues {
public:
    QString value(const QString& control) const { return values_.value(control); } // "" when absent
    void setValue(const QString& control, const QString& text);
    // Room for this many controls, so that filling a whole form does not rehash.
    void reserve(qsizetype count)
    {
        order_.reserve(count);
        values_.reserve(count);
    }
    bool contains(const QString& control) const { return values_.contains(control); }
    // Control names in the order they were first set.
    const QStringList& controls() const { return order_; }
    qsizetype size() const { return order_.size(); }
    bool isEmpty() const { return order_.isEmpty(); }

    friend bool operator==(const ControlValues& a, const ControlValues& b) { return a.values_ == b.values_; }

private:
    QStringList order_;
    QHash<QString, QString> values_;
};
