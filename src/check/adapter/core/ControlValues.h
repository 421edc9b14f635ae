#pragma once
// Stand-in until the core library is merged; see ../README.md.

#include <QHash>
#include <QString>
#include <QStringList>

class ControlValues {
public:
    QString value(const QString& control) const { return values_.value(control); }
    void setValue(const QString& control, const QString& text)
    {
        if (!values_.contains(control))
            order_ << control;
        values_.insert(control, text);
    }
    bool contains(const QString& control) const { return values_.contains(control); }
    const QStringList& controls() const { return order_; }

private:
    QStringList order_;
    QHash<QString, QString> values_;
};
