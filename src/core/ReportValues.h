#pragma once

#include "core/ControlValues.h"

// A report's values keyed by the report form's control names ("Text1", "Text32",
// "Text17(4)", "Combo1"); a Combo's value is its integer code as text.
class ReportValues : public ControlValues {
};
