#include "Accessibility.h"

#include "Control.h"

#include <QAccessible>

namespace forms {
namespace {
std::function<void(const Control&)>& listener()
{
    static std::function<void(const Control&)> heard;
    return heard;
}
} // namespace

void announce(const Control& control)
{
    if (!control.widget())
        return;
    if (listener())
        listener()(control);
    QAccessibleEvent alert(control.widget(), QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void setAnnouncementListener(std::function<void(const Control&)> heard)
{
    listener() = std::move(heard);
}

} // namespace forms
