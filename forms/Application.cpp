#include "Application.h"

#include "Form.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QWidget>

#include <algorithm>
#include <stdexcept>

namespace forms {
namespace {

// Holds an unloaded form until the event loop is back where the form was
// unloaded: its own handler may still be running.
class Unloaded : public QObject
{
public:
    explicit Unloaded(std::unique_ptr<Form> form) : m_form(std::move(form)) {}

private:
    std::unique_ptr<Form> m_form;
};

void bringForward(Form& form)
{
    form.window()->show();
    form.window()->raise();
    form.window()->activateWindow();
}

} // namespace

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
        bringForward(*loaded);
        return *loaded;
    }
    const auto known = std::find_if(m_factories.begin(), m_factories.end(), [&](const auto& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (known == m_factories.end())
        throw std::logic_error("no form named " + name.toStdString());

    Form& form = *m_loaded.emplace_back(known->second());
    form.runLoad();
    // Pending events run during a Load (a translation lets them): a form
    // unloaded meanwhile is neither shown nor activated.
    if (form.isUnloaded())
        return form;
    bringForward(form);
    form.runActivate();
    return form;
}

void Application::unload(Form& form)
{
    const auto it = std::find_if(m_loaded.begin(), m_loaded.end(), [&](const auto& owned) {
        return owned.get() == &form;
    });
    if (it == m_loaded.end())
        return;
    std::unique_ptr<Form> owned = std::move(*it);
    m_loaded.erase(it);
    form.markUnloaded();
    form.window()->hide();
    (new Unloaded(std::move(owned)))->deleteLater();
}

Form* Application::switchTo(const QString& target, Form& from)
{
    // While the target loads, pending events may ask to leave `from` once
    // more (a second click on the form being left): only the first move counts.
    if (from.isUnloaded() || isLeaving(from))
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

bool Application::isLeaving(const Form& form) const
{
    return std::find(m_leaving.begin(), m_leaving.end(), &form) != m_leaving.end();
}

Form* Application::find(const QString& name) const
{
    for (const auto& form : m_loaded)
        if (form->name().compare(name, Qt::CaseInsensitive) == 0)
            return form.get();
    return nullptr;
}

std::vector<Form*> Application::loadedForms() const
{
    std::vector<Form*> forms;
    for (const auto& form : m_loaded)
        forms.push_back(form.get());
    return forms;
}

void Application::end()
{
    if (m_endHandler) {
        m_endHandler();
        return;
    }
    for (const auto& form : m_loaded) {
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
    std::vector<std::unique_ptr<Form>> forms;
    forms.swap(m_loaded);
    for (const auto& form : forms)
        form->markUnloaded();
    forms.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace forms
