#include "NumberFormat.h"

#include <QLocale>

namespace forms {

QString formatGrouped(int value)
{
    // Qt's own grouping follows the locale's minimum-grouping rule, which
    // leaves four-digit numbers whole in Spanish or Polish (and misplaces the
    // separator of larger ones): only the digits come from Qt.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    const QString digits = locale.toString(qAbs(qint64(value)));
    // Some locales' digits take two UTF-16 units each.
    const qsizetype thousand = 3 * locale.zeroDigit().size();
    QString grouped = digits;
    for (qsizetype at = digits.size() - thousand; at > 0; at -= thousand)
        grouped.insert(at, locale.groupSeparator());
    return value < 0 ? locale.negativeSign() + grouped : grouped;
}

} // namespace forms
