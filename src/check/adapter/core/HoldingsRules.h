#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include "core/RuleResult.h"
#include "core/UnitInfoValues.h"

struct HoldingsRuleResult {
    int brokenRule = 0;
    QString message;
    NormalisedBoxes normalised;
    bool ok() const { return brokenRule == 0; }
};
HoldingsRuleResult CheckHoldingsRules(const UnitInfoValues& values);
