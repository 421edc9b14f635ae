#pragma once

#include <QWidget>
#include <array>

struct BudgetRuleSums;
class QLabel;

// A read-only running account of the budget rules while the clerk types: the yearly
// central and local sums against the fund demand, the budget total against the fund
// demand, and the budget's central share against the yearly central sum, each with its
// limit and marked when broken. It shows the sums the checks themselves compute; it never
// writes a box, takes the focus or shows a message.
class BudgetStatus : public QWidget {
    Q_OBJECT
public:
    explicit BudgetStatus(QWidget* parent = nullptr);

    // Shows the sums the rules compare now.
    void showSums(const BudgetRuleSums& sums);
    // Whether the rule of row i (0: YC + YL, 1: BT, 2: BS) is broken now.
    bool isBroken(int row) const { return broken_[static_cast<size_t>(row)]; }
    QLabel* rowLabel(int row) const { return rows_[static_cast<size_t>(row)]; }
    QLabel* markLabel(int row) const { return marks_[static_cast<size_t>(row)]; }

private:
    void showRow(int row, const QString& text, bool broken, const QString& spoken);

    std::array<QLabel*, 3> rows_{};
    std::array<QLabel*, 3> marks_{};
    std::array<bool, 3> broken_{};
};
