#pragma once

#include <array>
#include <optional>

class QLineEdit;
class QWidget;

// The boxes of the holdings tab that the counts rule reads.
struct HoldingsBoxes {
    struct Class {
        QLineEdit* total = nullptr;   // Text9(i)
        QLineEdit* intact = nullptr;  // Text10(i)
        QLineEdit* slight = nullptr;  // Text11(i)
        QLineEdit* severe = nullptr;  // Text12(i)
    };
    std::array<Class, 4> classes;
    QLineEdit* relicTotal = nullptr;  // Text29
};

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The rounded count as a 32-bit class count, or nothing when it does not fit.
std::optional<int> ClassCount(double value);

// Within each class the total equals intact + slightly + severely damaged, and the relic
// total is at least the four class totals together. Shows the first broken rule's
// message and returns false; only an unreadably large number changes a box (to "0").
bool CheckHoldings(QWidget* parent, const HoldingsBoxes& boxes);
