#pragma once

class QWidget;

namespace forms {

class Form;

// While it lives, the form is not repainted; when it goes, the form repaints
// once with everything in place.
class RedrawLock
{
public:
    explicit RedrawLock(Form& form);
    ~RedrawLock();
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    QWidget* m_window;
    bool m_wasEnabled;
};

} // namespace forms
