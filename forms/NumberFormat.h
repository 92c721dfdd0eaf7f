#pragma once

#include <QString>

namespace forms {

// A whole number in decimal digits grouped by thousands with the locale's
// group separator ("#,##0"): 2999 is "2.999" in Italian, "2,999" in English.
QString formatGrouped(int value);

} // namespace forms
