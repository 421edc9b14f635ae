#pragma once

#include "core/NumericStart.h"

class QLineEdit;

// The value of a box of the unit information dialog. The box keeps what was typed,
// except that a number too large for a double resets it to "0".
double GetFieldValue(QLineEdit* box);
