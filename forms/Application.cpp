#include "Application.h"

#include "Form.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace forms {

Application& Application::instance()
{
    static Application application;
    return application;
}

void Application::registerForm(const QString& name, Factory factory)
{
    for (auto& [known, make] : m_factories)
        if (known.compare(name, Qt::CaseInsensitive) == 0) {
            make = std::move(factory);
            return;
        }
    m_factories.emplace_back(name, std::move(factory));
}

Form& Application::show(const QString& name)
{
    if (Form* loaded = find(name)) {
        loaded->window()->show();
        loaded->window()->raise();
        loaded->window()->activateWindow();
        return *loaded;
    }
    const auto known = std::find_if(m_factories.begin(), m_factories.end(), [&](const auto& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (known == m_factories.end())
        throw std::logic_error("no form named " + name.toStdString());

    Form* form = known->second().release();
    m_loaded.push_back(form);
    form->runLoad();
    // Pending events run during a Load (a translation lets them): a form
    // unloaded meanwhile is neither shown nor activated.
    if (form->isUnloaded())
        return *form;
    form->window()->show();
    form->window()->raise();
    form->window()->activateWindow();
    form->runActivate();
    return *form;
}

void Application::unload(Form& form)
{
    const auto it = std::find(m_loaded.begin(), m_loaded.end(), &form);
    if (it == m_loaded.end())
        return;
    m_loaded.erase(it);
    form.markUnloaded();
    form.cancelDrag();
    form.window()->hide();
    // The form's own handler may be running: destroy it once that returns.
    form.deleteLater();
}

Form* Application::switchTo(const QString& target, Form& from)
{
    // While the target loads, pending events may ask to leave `from` once
    // more (a second click on the form being left): only the first move counts.
    if (from.isUnloaded() || std::find(m_leaving.begin(), m_leaving.end(), &from) != m_leaving.end())
        return nullptr;
    m_leaving.push_back(&from);
    const auto left = qScopeGuard([&] { std::erase(m_leaving, &from); });
    Form& shown = show(target);
    // A target unloaded during its own Load leaves the way back open.
    if (shown.isUnloaded())
        return nullptr;
    unload(from);
    return &shown;
}

Form* Application::find(const QString& name) const
{
    for (Form* form : m_loaded)
        if (form->name().compare(name, Qt::CaseInsensitive) == 0)
            return form;
    return nullptr;
}

std::vector<Form*> Application::loadedForms() const
{
    return m_loaded;
}

void Application::end()
{
    if (m_endHandler) {
        m_endHandler();
        return;
    }
    for (Form* form : m_loaded) {
        form->markUnloaded();
        form->window()->hide();
    }
    QCoreApplication::exit(0);
}

void Application::setEndHandler(std::function<void()> handler)
{
    m_endHandler = std::move(handler);
}

void Application::unloadAll()
{
    std::vector<Form*> forms;
    forms.swap(m_loaded);
    for (Form* form : forms) {
        form->markUnloaded();
        delete form;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace forms
