#include "RedrawLock.h"

#include "Form.h"

#include <QWidget>

namespace forms {

RedrawLock::RedrawLock(Form& form) : m_window(form.window()), m_wasEnabled(m_window->updatesEnabled())
{
    m_window->setUpdatesEnabled(false);
}

RedrawLock::~RedrawLock()
{
    m_window->setUpdatesEnabled(m_wasEnabled);
    m_window->update();
}

} // namespace forms
