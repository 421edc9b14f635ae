#pragma once

#include <QWidget>
#include <array>
#include <vector>

class BudgetAmount;
class QLabel;
class QLineEdit;

// A read-only running account of the budget rules while the clerk types: the yearly
// central and local sums against the fund demand, the budget total against the fund
// demand, and the budget's central share against the yearly central sum, each with its
// limit and marked when broken. Read with the checks' own number reading; it never
// writes a box, takes the focus or shows a message.
class BudgetStatus : public QWidget {
    Q_OBJECT
public:
    struct Boxes {
        QLineEdit* demandTotal = nullptr;           // T
        std::vector<QLineEdit*> yearsCentral;       // summed to YC
        std::vector<QLineEdit*> yearsLocal;         // summed to YL
        std::vector<QLineEdit*> budgetTotals;       // summed to BT
        std::vector<QLineEdit*> budgetShares;       // summed to BS
    };

    explicit BudgetStatus(const Boxes& boxes, QWidget* parent = nullptr);

    // The amount as the checks count it: its exact value, or 0 for text that is no amount.
    static BudgetAmount countedValue(const QLineEdit* box);
    // Whether the rule of row i (0: YC + YL, 1: BT, 2: BS) is broken now.
    bool isBroken(int row) const { return broken_[static_cast<size_t>(row)]; }
    QLabel* rowLabel(int row) const { return rows_[static_cast<size_t>(row)]; }
    QLabel* markLabel(int row) const { return marks_[static_cast<size_t>(row)]; }

public slots:
    void refresh();

private:
    void showRow(int row, const QString& text, bool broken, const QString& spoken);

    Boxes boxes_;
    std::array<QLabel*, 3> rows_{};
    std::array<QLabel*, 3> marks_{};
    std::array<bool, 3> broken_{};
};
