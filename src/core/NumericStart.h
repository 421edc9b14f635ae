#pragma once

#include <QString>

// The number at the start of a text, read the way the holdings counts are read:
// an optional sign, digits with at most one decimal point, an optional exponent
// ("E" or "D", either case), or "&H"/"&O" and a hexadecimal/octal integer. Blanks,
// tabs and line feeds inside the number are skipped; reading stops at the first
// character that does not fit, and a text without a number gives 0.
struct NumericStart {
    double value = 0;
    bool overflow = false; // the number does not fit a double (e.g. 1E999); value is then 0
};

NumericStart ReadNumericStart(const QString& text);
