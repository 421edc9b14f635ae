#include "check/CheckWindow.h"

#include "check/CheckCommandLine.h"
#include "check/CheckRun.h"
#include "check/FindingsModel.h"
#include "check/TableSink.h"
#include "check/WindowCheckSink.h"
#include "check/XlsxTableWriter.h"
#include "ui/UserInterface.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString archiveFilter()
{
    return QStringLiteral("压缩包 (*.zip *.7z *.tar *.tar.gz *.tgz)|*.zip;*.7z;*.tar;*.tar.gz;*.tgz|所有文件(*.*)|*.*");
}

} // namespace

CheckWindow::CheckWindow(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Vantrel - 报表汇总检查"));
    setObjectName(QStringLiteral("CheckWindow"));

    folder_ = new QPushButton(QStringLiteral("选择文件夹…"), this);
    archives_ = new QPushButton(QStringLiteral("选择压缩包…"), this);
    export_ = new QPushButton(QStringLiteral("导出汇总表…"), this);
    export_->setEnabled(false);
    folder_->setObjectName(QStringLiteral("chooseFolderButton"));
    archives_->setObjectName(QStringLiteral("chooseArchivesButton"));
    export_->setObjectName(QStringLiteral("exportButton"));
    inputs_ = new QLabel(QStringLiteral("请选择各单位报送的文件夹或压缩包。"), this);
    inputs_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v/%m"));
    filter_ = new QLineEdit(this);
    filter_->setPlaceholderText(QStringLiteral("筛选：输入文件名、问题类别或说明中的文字"));
    filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(QStringLiteral("筛选"), this);
    filterLabel->setBuddy(filter_);
    summary_ = new QLabel(this);

    model_ = new FindingsModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    view_ = new QTableView(this);
    view_->setModel(proxy_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder); // input order until a header is clicked
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    // A path's file name is at its end, a message's cause at its start: keep both ends.
    view_->setTextElideMode(Qt::ElideMiddle);
    view_->setAccessibleDescription(QStringLiteral("双击一行，在 Vantrel 中打开该报表"));
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 8);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->setAccessibleName(QStringLiteral("问题列表"));
    view_->setColumnWidth(0, 320);
    view_->setColumnWidth(1, 110);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(folder_);
    buttons->addWidget(archives_);
    buttons->addStretch();
    buttons->addWidget(export_);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(inputs_);
    layout->addWidget(progress_);
    layout->addLayout(filterRow);
    layout->addWidget(view_, 1);
    layout->addWidget(summary_);
    resize(960, 600);

    connect(folder_, &QPushButton::clicked, this, &CheckWindow::chooseFolder);
    connect(archives_, &QPushButton::clicked, this, &CheckWindow::chooseArchives);
    connect(export_, &QPushButton::clicked, this, &CheckWindow::exportWorkbook);
    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(view_, &QTableView::doubleClicked, this, &CheckWindow::openReport);
}

CheckWindow::~CheckWindow()
{
    stopWorker();
}

void CheckWindow::stopWorker()
{
    if (run_)
        run_->cancel();
    if (worker_.joinable())
        worker_.join();
}

void CheckWindow::closeEvent(QCloseEvent* event)
{
    stopWorker();
    event->accept();
}

void CheckWindow::setBusy(bool busy)
{
    busy_ = busy;
    folder_->setEnabled(!busy);
    archives_->setEnabled(!busy);
    export_->setEnabled(!busy && !paths_.isEmpty());
}

void CheckWindow::chooseFolder()
{
    ui::FileDialogRequest request;
    request.title = QStringLiteral("选择存放报表的文件夹");
    request.initialFolder = paths_.isEmpty() ? QDir::homePath() : paths_.first();
    if (const auto folder = ui::current().directoryName(this, request))
        startCheck({*folder});
}

void CheckWindow::chooseArchives()
{
    ui::FileDialogRequest request;
    request.title = QStringLiteral("选择压缩包");
    request.filter = archiveFilter();
    request.initialFolder = QDir::homePath();
    if (const auto files = ui::current().openFileNames(this, request); files && !files->isEmpty())
        startCheck(*files);
}

void CheckWindow::startCheck(const QStringList& paths)
{
    stopWorker();
    paths_ = paths;
    model_->clear(paths);
    summary_->clear();
    inputs_->setText(QStringLiteral("正在检查：") + paths.join(QStringLiteral("；")));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    setBusy(true);

    const int generation = ++generation_;
    WindowCheckSink::Handlers handlers;
    handlers.findings = [this, generation](const QList<CheckFinding>& findings, const QList<FileLocation>& locations) {
        if (generation == generation_)
            model_->append(findings, locations);
    };
    handlers.progress = [this, generation](qint64 done, qint64 total) {
        if (generation != generation_)
            return;
        progress_->setRange(0, static_cast<int>(std::max<qint64>(total, 1)));
        progress_->setValue(static_cast<int>(done));
    };
    handlers.finished = [this, generation](const CheckTally& tally) {
        if (generation != generation_)
            return;
        tally_ = tally;
        summary_->setText(tally.closingLine());
        inputs_->setText(QStringLiteral("已检查：") + paths_.join(QStringLiteral("；")));
        progress_->setValue(progress_->maximum());
        if (worker_.joinable())
            worker_.join();
        fitColumns();
        setBusy(false);
        emit checkFinished();
    };
    sink_ = std::make_unique<WindowCheckSink>(this, std::move(handlers));
    run_ = std::make_unique<CheckRun>(paths);
    run_->addSink(sink_.get());
    run_->setProgress([sink = sink_.get()](qint64 done, qint64 total) { sink->progress(done, total); });
    worker_ = std::thread([run = run_.get()] { run->run(); });
}

void CheckWindow::exportWorkbook()
{
    if (busy_ || paths_.isEmpty())
        return;
    ui::FileDialogRequest request;
    request.title = QStringLiteral("导出汇总表");
    request.filter = QStringLiteral("Excel 工作簿 (*.xlsx)|*.xlsx");
    request.initialFolder = QDir::homePath();
    request.proposedName = QStringLiteral("汇总表.xlsx");
    auto chosen = ui::current().saveFileName(this, request);
    if (!chosen)
        return;
    const std::optional<QString> workbook = ui::withEnding(this, *chosen, QStringLiteral(".xlsx"));
    if (!workbook) {
        emit exportFinished(false);
        return;
    }
    const QString& path = *workbook;
    if (!CheckCommandLine::overwrittenInput(path, paths_).isEmpty()) {
        ui::current().message(this, QStringLiteral("不能把汇总表写到所检查的文件上：") + path);
        emit exportFinished(false);
        return;
    }
    auto tables = std::make_shared<TableSink>();
    tables->addWriter(std::make_unique<XlsxTableWriter>(path));
    QString error;
    if (!tables->open(&error)) {
        ui::current().message(this, error);
        emit exportFinished(false);
        return;
    }
    // The workbook is made by checking the inputs again: rows are never all kept in memory.
    stopWorker();
    setBusy(true);
    inputs_->setText(QStringLiteral("正在导出汇总表：") + path);
    progress_->setValue(0);
    const int generation = ++generation_;
    WindowCheckSink::Handlers handlers;
    handlers.findings = [](const QList<CheckFinding>&, const QList<FileLocation>&) {};
    handlers.progress = [this, generation](qint64 done, qint64 total) {
        if (generation != generation_)
            return;
        progress_->setRange(0, static_cast<int>(std::max<qint64>(total, 1)));
        progress_->setValue(static_cast<int>(done));
    };
    handlers.finished = [this, tables, path, generation](const CheckTally&) {
        if (generation != generation_)
            return;
        if (worker_.joinable())
            worker_.join();
        setBusy(false);
        inputs_->setText(QStringLiteral("已检查：") + paths_.join(QStringLiteral("；")));
        if (tables->succeeded())
            ui::current().message(this, QStringLiteral("汇总表已导出到") + path);
        else
            ui::current().message(this, tables->error());
        emit exportFinished(tables->succeeded());
    };
    sink_ = std::make_unique<WindowCheckSink>(this, std::move(handlers));
    run_ = std::make_unique<CheckRun>(paths_);
    run_->addSink(tables.get());
    run_->addSink(sink_.get());
    run_->setProgress([sink = sink_.get()](qint64 done, qint64 total) { sink->progress(done, total); });
    worker_ = std::thread([run = run_.get()] { run->run(); });
}

void CheckWindow::fitColumns()
{
    // Relative paths are short: as wide as they are, but never more than half the table.
    view_->resizeColumnToContents(0);
    view_->resizeColumnToContents(1);
    view_->setColumnWidth(0, std::min(view_->columnWidth(0), view_->viewport()->width() / 2));
}

void CheckWindow::openReport(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const int row = proxy_->mapToSource(index).row();
    QString error;
    if (!opener_.open(model_->location(row), model_->finding(row).path, &error))
        ui::current().message(this, error);
}
