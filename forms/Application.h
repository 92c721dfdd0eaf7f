#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace forms {

class Form;

// The program's forms: how each is made, which are loaded, and the moves
// between them. A form is loaded afresh each time it is shown after being
// unloaded: Load, then the window appears, then Activate. The application
// owns every loaded form, and an unloaded one until the event that unloaded
// it has been handled.
class Application
{
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    static Application& instance();

    // A form class with its design: registered under its design's name.
    template<typename FormClass>
    void registerForm()
    {
        registerForm(FormClass::design().name, [] { return std::make_unique<FormClass>(); });
    }
    void registerForm(const QString& name, Factory factory);

    // Shows the form, loading it first when it is not loaded.
    Form& show(const QString& name);
    // Hides the form and drops it from the loaded forms; it is destroyed
    // once the event that unloaded it has been handled.
    void unload(Form& form);
    // The one way from form to form: show the target, then unload `from`.
    // Nothing happens (nullptr) when `from` is already being left or gone;
    // `from` stays when the target was unloaded during its own Load.
    Form* switchTo(const QString& target, Form& from);
    // Whether a move away from the form is under way.
    bool isLeaving(const Form& form) const;

    Form* find(const QString& name) const;
    // The loaded forms, in the order they were loaded.
    std::vector<Form*> loadedForms() const;

    // Ends the program at once: no form's events run after this.
    void end();
    // Test seam: what end() does (by default, leave the event loop).
    void setEndHandler(std::function<void()> handler);

    // Destroys every loaded form now; for the end of main and of tests.
    void unloadAll();

private:
    Application() = default;
    std::vector<std::pair<QString, Factory>> m_factories;
    std::vector<std::unique_ptr<Form>> m_loaded;
    std::vector<const Form*> m_leaving; // forms whose move to another is under way
    std::function<void()> m_endHandler;
};

// Lets the user interface process its pending events.
void doEvents();

} // namespace forms
