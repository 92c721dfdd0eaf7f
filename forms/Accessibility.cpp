#include "Accessibility.h"

#include "Control.h"

#include <QAccessible>

namespace forms {

void announce(const Control& control)
{
    if (!control.widget())
        return;
    QAccessibleEvent alert(control.widget(), QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace forms
