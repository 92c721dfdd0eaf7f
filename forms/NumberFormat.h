#pragma once

#include <QString>

namespace forms {

// A whole number in the locale's digits, grouped by thousands with the
// locale's group separator ("#,##0"), from four digits on in every locale:
// 2999 is "2.999" in Italian and in Spanish, "2,999" in English.
QString formatGrouped(int value);

} // namespace forms
