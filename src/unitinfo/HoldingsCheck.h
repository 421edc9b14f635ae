#pragma once

#include "core/HoldingsRules.h"

#include <array>

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

// Runs the holdings rules on the boxes' texts, writes back the boxes the reading reset
// and shows the first broken rule's message; false when a rule is broken.
bool checkHoldings(QWidget* parent, const HoldingsBoxes& boxes);
