#include "check/FindingsModel.h"

#include "check/CheckTables.h"

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const CheckFinding& f = rows_.at(static_cast<size_t>(index.row())).finding;
    const bool full = role == Qt::ToolTipRole;
    switch (index.column()) {
    case 0: return full ? f.path : shown_.shown(f.path);
    case 1: return f.kind;
    default: return full ? f.message : shown_.inText(f.message);
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return CheckTables::headers(CheckTables::Findings).value(section);
}

void FindingsModel::append(const QList<CheckFinding>& findings, const QList<FileLocation>& locations)
{
    if (findings.isEmpty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(findings.size()) - 1);
    for (qsizetype i = 0; i < findings.size(); ++i)
        rows_.push_back({findings[i], locations.value(i)});
    endInsertRows();
}

void FindingsModel::clear(const QStringList& inputs)
{
    beginResetModel();
    rows_.clear();
    shown_ = ShownPaths(inputs);
    endResetModel();
}
