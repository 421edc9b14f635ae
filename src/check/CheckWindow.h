#pragma once

#include "check/CheckTally.h"
#include "check/ReportOpener.h"

#include <QStringList>
#include <QWidget>
#include <memory>
#include <thread>

class CheckRun;
class FindingsModel;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class WindowCheckSink;

// The bureau clerk's window: choose a folder or archives, watch the progress, read the
// findings in a table that sorts and filters (paths relative to what was chosen), open a
// finding's report in Vantrel with a double-click, and export the summary workbook. Every
// dialog goes through the UI seam; the checking runs on other threads.
class CheckWindow : public QWidget {
    Q_OBJECT
public:
    explicit CheckWindow(QWidget* parent = nullptr);
    ~CheckWindow() override;

    // Checks these inputs, replacing what the window showed.
    void startCheck(const QStringList& paths);
    bool isBusy() const { return busy_; }
    const CheckTally& lastTally() const { return tally_; }

    QProgressBar* progressBar() const { return progress_; }
    QTableView* findingsView() const { return view_; }
    QLineEdit* filterBox() const { return filter_; }
    QSortFilterProxyModel* findingsProxy() const { return proxy_; }
    QLabel* summaryLabel() const { return summary_; }
    QPushButton* exportButton() const { return export_; }
    ReportOpener& reportOpener() { return opener_; }

public slots:
    void chooseFolder();
    void chooseArchives();
    void exportWorkbook();
    // Opens the report of the finding in this row of the table (as sorted and filtered).
    void openReport(const QModelIndex& index);

signals:
    void checkFinished();
    void exportFinished(bool written);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy);
    void fitColumns();
    void stopWorker();

    QStringList paths_;
    CheckTally tally_;
    bool busy_ = false;
    int generation_ = 0; // events of an earlier, cancelled run are dropped
    FindingsModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* view_;
    QLineEdit* filter_;
    QProgressBar* progress_;
    QLabel* inputs_;
    QLabel* summary_;
    QPushButton* folder_;
    QPushButton* archives_;
    QPushButton* export_;
    ReportOpener opener_;
    std::unique_ptr<CheckRun> run_;
    std::unique_ptr<WindowCheckSink> sink_;
    std::thread worker_;
};
