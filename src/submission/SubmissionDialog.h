#pragma once

#include "check/SubmissionCheck.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
struct Settings;

// 打包报送: every report in the local folder and the unit file, checked exactly as the
// bureau's vantrel-check checks them, one row a file; "生成报送包…" then writes them, their
// pages and a manifest into one zip the clerk sends. Failing reports are named before
// packing; the bureau decides.
class SubmissionDialog : public QDialog {
    Q_OBJECT
public:
    explicit SubmissionDialog(const Settings& settings, QWidget* parent = nullptr);

    // Checks the local folder again and shows what it holds.
    void checkFolder();
    const SubmissionCheck& checked() const { return checked_; }

    QTableWidget* table() const { return table_; }
    QPushButton* packButton() const { return packButton_; }

    // Asks where to write the package and writes it. False when nothing was written.
    bool pack();

private:
    const Settings& settings_;
    SubmissionCheck checked_;
    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* packButton_;
    QPushButton* closeButton_;
};
