#pragma once

#include "core/ControlValues.h"

// A report's values keyed by field id ("projectCode", "demandTotal",
// "relicRepairPreparationTotal"); a list's value is its integer code as text.
class ReportValues : public ControlValues {
};
