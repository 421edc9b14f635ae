#include "submission/SubmissionDialog.h"

#include "check/SubmissionPackage.h"
#include "store/Settings.h"
#include "ui/UserInterface.h"

#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor kFailedColor(0xb0, 0x00, 0x00);

} // namespace

SubmissionDialog::SubmissionDialog(const Settings& settings, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("SubmissionDialog"));
    setWindowTitle(QStringLiteral("打包报送"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setWordWrap(true);
    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("Files"));
    table_->setHorizontalHeaderLabels({QStringLiteral("文件"), QStringLiteral("项目编号"), QStringLiteral("项目名称"),
                                       QStringLiteral("检查结果"), QStringLiteral("发现的问题")});
    table_->setAccessibleName(QStringLiteral("待报送的文件"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(true);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    // Rows grow with the findings column as the window is sized: none is cut at a line.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    packButton_ = new QPushButton(QStringLiteral("生成报送包…"), this);
    packButton_->setObjectName(QStringLiteral("PackButton"));
    closeButton_ = new QPushButton(QStringLiteral("关闭"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(packButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(860, 480);

    connect(packButton_, &QPushButton::clicked, this, [this] {
        if (pack())
            accept();
    });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    checkFolder();
}

void SubmissionDialog::checkFolder()
{
    checked_ = SubmissionCheck::run(settings_.localFolderOrDefault(), settings_.unitCode);
    table_->setRowCount(0);
    for (const SubmissionCheck::File& file : checked_.files()) {
        QStringList findings;
        for (const CheckFinding& finding : file.findings)
            findings << finding.kind + QStringLiteral("：") + finding.message;
        const QStringList cells{file.name, file.projectCode, file.projectName,
                                SubmissionCheck::verdictText(file.verdict), findings.join(QLatin1Char('\n'))};
        const int row = table_->rowCount();
        table_->insertRow(row);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (file.verdict != SubmissionCheck::Verdict::Passed)
                item->setForeground(kFailedColor);
            item->setToolTip(cells[column]); // a narrow column still shows all of it
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    QString summary = QStringLiteral("本地文件夹 %1 中共有报表 %2 份，未通过检查 %3 份。")
                          .arg(checked_.folder())
                          .arg(checked_.reportCount())
                          .arg(checked_.failedReportCount());
    if (checked_.failedCount() > checked_.failedReportCount())
        summary += QStringLiteral("单位信息文件未通过检查。");
    if (!checked_.hasUnitFile())
        summary += QStringLiteral("尚未保存单位信息文件 %1.dw。").arg(checked_.unitCode());
    summary_->setText(summary);
    packButton_->setEnabled(!checked_.files().empty());
}

bool SubmissionDialog::pack()
{
    if (const int failed = checked_.failedCount(); failed > 0
        && !ui::current().question(this, QStringLiteral("有 %1 份文件未通过检查，仍要生成报送包吗？").arg(failed)))
        return false;
    const QDate today = QDate::currentDate();
    ui::FileDialogRequest request;
    request.title = QStringLiteral("生成报送包");
    request.filter = QStringLiteral("报送包 (*.zip)|*.zip");
    request.initialFolder = settings_.localFolderOrDefault();
    request.proposedName =
        request.initialFolder + SubmissionPackage::proposedFileName(settings_.unitCode, settings_.unitName, today);
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = ui::current().saveFileName(this, request);
    if (!chosen || chosen->isEmpty())
        return false;
    // The bureau opens what it receives by its ending.
    const std::optional<QString> zip = ui::withEnding(this, *chosen, QStringLiteral(".zip"));
    if (!zip)
        return false;
    const QString& path = *zip;
    QString error;
    if (!SubmissionPackage::write(checked_, path,
                                  {settings_.unitCode, settings_.unitName, today, settings_.programFolder}, &error)) {
        ui::current().message(this, QStringLiteral("未能生成报送包：") + error);
        return false;
    }
    ui::current().message(this, QStringLiteral("报送包已生成：") + path);
    return true;
}
