#include "RedrawLock.h"

#include "Form.h"

#include <QWidget>

namespace forms {
namespace {
int& counter()
{
    static int taken = 0;
    return taken;
}
} // namespace

RedrawLock::RedrawLock(Form& form) : m_window(form.window()), m_wasEnabled(m_window->updatesEnabled())
{
    ++counter();
    m_window->setUpdatesEnabled(false);
}

RedrawLock::~RedrawLock()
{
    m_window->setUpdatesEnabled(m_wasEnabled);
    m_window->update();
}

int RedrawLock::timesTaken()
{
    return counter();
}

} // namespace forms
