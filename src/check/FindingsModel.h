#pragma once

#include "check/CheckFinding.h"
#include "check/FileLocation.h"
#include "check/ShownPaths.h"

#include <QAbstractTableModel>
#include <vector>

// The findings of a run as a table: file, kind, message. Paths are shown relative to what
// the clerk chose (in full as a tooltip); each row knows where its file is.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // locations: one per finding, in the same order.
    void append(const QList<CheckFinding>& findings, const QList<FileLocation>& locations);
    // Empties the table; its paths are shown relative to these inputs from now on.
    void clear(const QStringList& inputs = {});
    const CheckFinding& finding(int row) const { return rows_.at(static_cast<size_t>(row)).finding; }
    const FileLocation& location(int row) const { return rows_.at(static_cast<size_t>(row)).location; }

private:
    struct Row {
        CheckFinding finding;
        FileLocation location;
    };
    std::vector<Row> rows_;
    ShownPaths shown_{QStringList()};
};
