#pragma once

#include "check/TableWriter.h"

#include <QList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// The tables as one workbook: a sheet per table with a frozen, filtered header row,
// columns as wide as their contents, amounts as numbers shown with two decimals and digit
// groups; printed landscape on A4, one page wide, the header row on every page, numbered
// pages; it opens on 汇总. Written in libxlsxwriter's constant-memory mode under a temporary name in the
// target's folder, renamed over the target only when complete.
class XlsxTableWriter : public TableWriter {
public:
    explicit XlsxTableWriter(QString path) : path_(std::move(path)) {}
    ~XlsxTableWriter() override;

    bool open(QString* error) override;
    bool takesProjectsAsTheyCome() const override { return true; }
    bool restart(QString* error) override;
    void beginTable(int table) override;
    void addRow(const QStringList& cells) override;
    void endTable() override;
    bool commit(QString* error) override;

private:
    void writeCell(int column, const QString& text);

    QString path_;
    QString temporaryPath_;
    lxw_workbook* workbook_ = nullptr;
    QList<lxw_worksheet*> sheets_;
    lxw_format* headerFormat_ = nullptr;
    lxw_format* amountFormat_ = nullptr;
    lxw_format* countFormat_ = nullptr;
    int table_ = -1;
    quint32 row_ = 0;
    QList<int> widths_;
    QList<bool> numberColumns_; // of the current table
    QList<bool> countColumns_;
};
