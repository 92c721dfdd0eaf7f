#include "MLSTranslateForm.h"

#include "modLanguageSupport.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormsError.h"

#include <QPointer>
#include <QScopeGuard>

#include <optional>
#include <vector>

namespace modLanguageSupport {
namespace {

// One step of the translation: any failure skips just this step.
template <typename Step>
void passOver(Step&& step)
{
    try {
        step();
    } catch (const forms::FormsError&) {
    }
}

class Translator
{
public:
    Translator(forms::Form& form, std::optional<QString> file)
        : m_form(form), m_file(std::move(file)), m_section(form.name())
    {}

    std::optional<QString> lookup(const QString& key) const
    {
        if (!m_file)
            return std::nullopt;
        return MLSReadIni(*m_file, m_section, key);
    }

    void translateForm()
    {
        const QString name = m_form.name();
        passOver([&] {
            if (m_form.caption().isEmpty())
                return;
            if (const auto text = lookup(name + QStringLiteral(".Caption")))
                m_form.setCaption(*text);
        });
        // A form has no tooltip: the lookup is made and the assignment fails.
        passOver([&] {
            if (const auto text = lookup(name + QStringLiteral(".ToolTipText")))
                m_form.set(QStringLiteral("ToolTipText"), *text);
        });
        passOver([&] {
            if (const auto text = lookup(name + QStringLiteral(".Tag")))
                m_form.setTag(*text);
        });
    }

    void translateControl(forms::Control& control)
    {
        QString prefix = control.name();
        passOver([&] { prefix += QStringLiteral("(%1)").arg(control.index()); });

        for (const char* property : {"Caption", "ToolTipText", "Tag"}) {
            const QString name = QString::fromLatin1(property);
            const QString text = lookup(prefix + QLatin1Char('.') + name).value_or(QString());
            if (!text.isEmpty())
                passOver([&] { control.set(name, text); });
        }

        passOver([&] {
            const int tabs = control.get(QStringLiteral("Tabs")).toInt();
            for (int i = 0; i < tabs; ++i) {
                const QString key = control.name() + QStringLiteral(".TabCaption(%1)").arg(i);
                passOver([&] {
                    if (const auto text = lookup(key))
                        control.set(QStringLiteral("TabCaption"), *text, i);
                });
            }
        });
    }

private:
    forms::Form& m_form;
    std::optional<QString> m_file;
    QString m_section;
};

// The translations under way, innermost last. One that starts while another
// of the same form is under way (a language pick during the form's Load)
// walks the whole form in its own language; the earlier one then stops
// rather than put the rest back into the language it began with.
struct Running
{
    const forms::Form* form;
    bool superseded = false;
};

std::vector<Running*>& running()
{
    static std::vector<Running*> translations;
    return translations;
}

} // namespace

void MLSTranslateForm(forms::Form& form)
{
    Running self{&form};
    for (Running* earlier : running())
        if (earlier->form == &form)
            earlier->superseded = true;
    running().push_back(&self);
    const auto finished = qScopeGuard([&] { std::erase(running(), &self); });

    QPointer<forms::Form> alive(&form);
    Translator translator(form, languageFilePath());
    translator.translateForm();

    // The collection may grow while events run; walk it by position.
    for (std::size_t i = 0; i < form.controls().size(); ++i) {
        translator.translateControl(*form.controls()[i]);
        forms::doEvents();
        if (!alive || alive->isUnloaded() || self.superseded)
            return;
    }
}

} // namespace modLanguageSupport
