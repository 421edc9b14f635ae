#include "check/FindingsModel.h"

#include "check/CheckTables.h"

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(findings_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const CheckFinding& f = findings_.at(static_cast<size_t>(index.row()));
    switch (index.column()) {
    case 0: return f.path;
    case 1: return f.kind;
    default: return f.message;
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return CheckTables::headers(CheckTables::Findings).value(section);
}

void FindingsModel::append(const QList<CheckFinding>& findings)
{
    if (findings.isEmpty())
        return;
    const int first = static_cast<int>(findings_.size());
    beginInsertRows({}, first, first + static_cast<int>(findings.size()) - 1);
    findings_.insert(findings_.end(), findings.begin(), findings.end());
    endInsertRows();
}

void FindingsModel::clear()
{
    beginResetModel();
    findings_.clear();
    endResetModel();
}
