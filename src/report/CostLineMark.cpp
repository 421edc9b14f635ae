#include "report/CostLineMark.h"

#include "core/AmountText.h"
#include "core/BudgetAmount.h"

#include <QLineEdit>

CostLineMark::CostLineMark(QLineEdit* total, QLineEdit* share, QWidget* parent)
    : QLabel(QStringLiteral("✗ 超出"), parent)
    , total_(total)
    , share_(share)
{
    setObjectName(share->objectName() + QStringLiteral("Mark"));
    setTextFormat(Qt::PlainText);
    QPalette red = palette();
    red.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    setPalette(red);
    // Keeps its room while hidden, so the frame does not shift as the clerk types.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    hide();
    connect(total_, &QLineEdit::textChanged, this, &CostLineMark::refresh);
    connect(share_, &QLineEdit::textChanged, this, &CostLineMark::refresh);
    refresh();
}

namespace {

// The amount as the checks count it: its exact value, or 0 for text that is no amount.
BudgetAmount countedValue(const QLineEdit* box)
{
    auto parsed = BudgetAmount::parse(box->text());
    return parsed ? std::move(parsed->value) : BudgetAmount();
}

} // namespace

void CostLineMark::refresh()
{
    const BudgetAmount total = countedValue(total_);
    const BudgetAmount share = countedValue(share_);
    const bool exceeded = total < share;
    if (exceeded == exceeded_ && !exceeded)
        return; // nothing to undo, and the box's own tooltip stays untouched
    exceeded_ = exceeded;
    setVisible(exceeded);
    const QString hint = exceeded ? QStringLiteral("中央投入 %1 超过总计 %2")
                                        .arg(AmountText::decimal(share), AmountText::decimal(total))
                                  : QString();
    share_->setStyleSheet(exceeded ? QStringLiteral("QLineEdit { border: 2px solid #b00000; }") : QString());
    share_->setToolTip(hint);
    share_->setAccessibleDescription(hint);
    setAccessibleDescription(hint);
}
