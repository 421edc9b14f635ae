#pragma once

#include "check/CheckFinding.h"

#include <QAbstractTableModel>
#include <vector>

// The findings of a run as a table: file, kind, message.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void append(const QList<CheckFinding>& findings);
    void clear();
    const CheckFinding& finding(int row) const { return findings_.at(static_cast<size_t>(row)); }

private:
    std::vector<CheckFinding> findings_;
};
