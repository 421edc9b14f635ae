#pragma once

#include "core/ControlValues.h"

// The unit information's values keyed by the unit dialog's control names ("Text2",
// "Text9(2)", "Combo1"); a Combo's value is its integer code as text.
class UnitInfoValues : public ControlValues {
};
