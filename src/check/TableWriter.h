#pragma once

#include <QString>
#include <QStringList>

// Writes the four tables one after the other, each row in order; nothing reaches its
// final name before commit() (a failed run leaves what was there before).
class TableWriter {
public:
    virtual ~TableWriter() = default;

    virtual bool open(QString* error) = 0;
    // True for a writer that takes the projects table while the files are checked (its
    // other tables after), so that little is left to write once the last file is done.
    virtual bool takesProjectsAsTheyCome() const { return false; }
    // Forgets everything written and opens afresh; for a writer that takes the projects
    // as they come, when a verdict written early turns out different.
    virtual bool restart(QString* error) { Q_UNUSED(error); return false; }
    virtual void beginTable(int table) = 0;
    virtual void addRow(const QStringList& cells) = 0;
    virtual void endTable() = 0;
    virtual bool commit(QString* error) = 0;
};
