#include "report/BudgetStatus.h"

#include "core/AmountText.h"
#include "core/BudgetAmount.h"
#include "core/BudgetRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QColor kBrokenColor(0xb0, 0x00, 0x00);

} // namespace

BudgetStatus::BudgetStatus(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("BudgetStatus"));
    setAccessibleName(QStringLiteral("预算核对"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(12);
    for (int row = 0; row < 3; ++row) {
        auto* text = new QLabel(this);
        auto* mark = new QLabel(this);
        text->setObjectName(QStringLiteral("BudgetStatusRow%1").arg(row));
        mark->setObjectName(QStringLiteral("BudgetStatusMark%1").arg(row));
        text->setTextFormat(Qt::PlainText);
        mark->setTextFormat(Qt::PlainText);
        grid->addWidget(text, row, 0);
        grid->addWidget(mark, row, 1);
        rows_[static_cast<size_t>(row)] = text;
        marks_[static_cast<size_t>(row)] = mark;
    }
    grid->setColumnStretch(2, 1);

    showSums(BudgetRuleSums());
}

void BudgetStatus::showSums(const BudgetRuleSums& sums)
{
    const BudgetAmount& demand = sums.demandTotal;
    const BudgetAmount& central = sums.yearsCentral;
    const BudgetAmount& local = sums.yearsLocal;
    const BudgetAmount& years = sums.yearsTotal;
    const BudgetAmount& budget = sums.itemsTotal;
    const BudgetAmount& budgetShare = sums.itemsShare;
    const auto t = [](const BudgetAmount& a) { return AmountText::decimal(a); };

    showRow(0,
            QStringLiteral("各年中央投入 %1 + 各年地方投入 %2 = %3 ≤ 资金需求合计 %4")
                .arg(t(central), t(local), t(years), t(demand)),
            demand < years,
            QStringLiteral("各年中央与地方投入之和 %1，资金需求合计 %2").arg(t(years), t(demand)));
    showRow(1, QStringLiteral("预算各项总计之和 %1 ≤ 资金需求合计 %2").arg(t(budget), t(demand)), demand < budget,
            QStringLiteral("预算各项总计之和 %1，资金需求合计 %2").arg(t(budget), t(demand)));
    showRow(2, QStringLiteral("预算各项中央投入之和 %1 ≤ 各年中央投入 %2").arg(t(budgetShare), t(central)),
            central < budgetShare,
            QStringLiteral("预算各项中央投入之和 %1，各年中央投入 %2").arg(t(budgetShare), t(central)));

    QStringList spoken;
    for (int row = 0; row < 3; ++row)
        spoken << rows_[static_cast<size_t>(row)]->accessibleDescription();
    setAccessibleDescription(spoken.join(QStringLiteral("；")));
}

void BudgetStatus::showRow(int row, const QString& text, bool broken, const QString& spoken)
{
    broken_[static_cast<size_t>(row)] = broken;
    QLabel* label = rows_[static_cast<size_t>(row)];
    QLabel* mark = marks_[static_cast<size_t>(row)];
    label->setText(text);
    mark->setText(broken ? QStringLiteral("✗ 超出") : QStringLiteral("✓"));
    // Red and a written mark: the colour alone would not reach everyone.
    QPalette palette = this->palette();
    if (broken)
        palette.setColor(QPalette::WindowText, kBrokenColor);
    label->setPalette(palette);
    mark->setPalette(palette);
    const QString state = spoken + (broken ? QStringLiteral("：超出，保存时将被拒绝") : QStringLiteral("：符合"));
    label->setAccessibleDescription(state);
    mark->setAccessibleDescription(state);
}
