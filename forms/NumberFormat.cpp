#include "NumberFormat.h"

#include <QLocale>

namespace forms {

QString formatGrouped(int value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

} // namespace forms
