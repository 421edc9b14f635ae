#pragma once

#include "core/RuleResult.h"
#include "core/UnitInfoFile.h"
#include "core/UnitInfoValues.h"

#include <optional>

// The holdings rules of the unit information: within each of the four classes the total
// equals intact + slightly + severely damaged (counts rounded half to even), and the
// relic total is at least the four class totals together. Only the first broken rule counts.
struct HoldingsRuleResult {
    int brokenRule = 0;          // 1..4: the class (index + 1); 5: the relic total; 0 when all hold
    QString message;
    NormalisedBoxes normalised;  // boxes reset to "0" because their number does not fit a double
    bool ok() const { return brokenRule == 0; }
};

// A control that is absent counts as 0.
HoldingsRuleResult CheckHoldingsRules(const UnitInfoValues& values);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The rounded count as a 32-bit class count, or nothing when it does not fit.
std::optional<int> ClassCount(double value);
