#pragma once

#include <QString>

// Reads an integer the way the settings store reads its texts: leading spaces (the space character
// only), an optional "-" or "+", then decimal digits in the 32-bit range, or hexadecimal digits
// after "$", "0x", "0X", "x" or "X" (at most eight significant ones, taken as a 32-bit
// two's-complement value and negated after "-"). Anything else gives defaultValue.
int StrToIntDef(const QString &text, int defaultValue);
