#pragma once
// Stand-in until the core library is merged; see ../README.md.
#include "core/ControlValues.h"
class ReportValues : public ControlValues {};
