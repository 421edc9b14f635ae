#pragma once

#include <QLabel>

class QLineEdit;

// Beside one cost line of a budget frame: shows "✗ 超出" while the central share typed
// exceeds the line's total, and frames the share box in red with a tooltip and an
// accessible description saying so. Reads only; the boxes' texts are never changed.
class CostLineMark : public QLabel {
    Q_OBJECT
public:
    CostLineMark(QLineEdit* total, QLineEdit* share, QWidget* parent = nullptr);

    bool isExceeded() const { return exceeded_; }

private:
    void refresh();

    QLineEdit* total_;
    QLineEdit* share_;
    bool exceeded_ = false;
};
