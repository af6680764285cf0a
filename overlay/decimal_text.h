// Numbers in the property page's edits: read the way the C runtime's _wtoi and _wtof read text
// (leading blanks, an optional sign, as many digits as follow; anything else ends the number, and
// text without a number is 0), and written independently of the process's locale, so a page
// shows "0.50" whatever decimal separator the user's language has.
#pragma once

#include <QString>

// The integer the text starts with; a number beyond the int range gives INT_MAX or INT_MIN.
int DecimalInt(const QString& text);
// The decimal floating-point number the text starts with ("1.5", "-2", ".25", "3e2"); 0 for a
// number beyond the double range.
double DecimalDouble(const QString& text);
// `value` with two decimals and a point ("%.2f").
QString FixedTwoDecimals(double value);
