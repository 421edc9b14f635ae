#pragma once

#include <QString>
#include <QStringList>

// Writes the four tables one after the other, each row in order; nothing reaches its
// final name before commit() (a failed run leaves what was there before).
class TableWriter {
public:
    virtual ~TableWriter() = default;

    virtual bool open(QString* error) = 0;
    virtual void beginTable(int table) = 0;
    virtual void addRow(const QStringList& cells) = 0;
    virtual void endTable() = 0;
    virtual bool commit(QString* error) = 0;
};
