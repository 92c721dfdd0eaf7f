#include "MLSTranslateForm.h"

#include "modLanguageSupport.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"

#include <QPointer>
#include <QScopeGuard>

#include <optional>
#include <vector>

namespace modLanguageSupport {
namespace {

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

    // The caption only when the form has one; the Tag even when the file's
    // text is empty. A form has no tooltip to take a text.
    void translateForm()
    {
        const QString name = m_form.name();
        if (!m_form.caption().isEmpty())
            if (const auto text = lookup(name + QStringLiteral(".Caption")))
                m_form.setCaption(*text);
        if (const auto text = lookup(name + QStringLiteral(".Tag")))
            m_form.setTag(*text);
    }

    // An element of a control array answers to its key with its index only.
    void translateControl(forms::Control& control)
    {
        QString prefix = control.name();
        if (control.isArrayElement())
            prefix += QStringLiteral("(%1)").arg(control.decl().index);

        for (const char* property : {"Caption", "ToolTipText", "Tag", "AccessibleName", "AccessibleDescription"}) {
            const QString name = QString::fromLatin1(property);
            if (!control.has(name))
                continue;
            const QString text = lookup(prefix + QLatin1Char('.') + name).value_or(QString());
            if (!text.isEmpty())
                control.set(name, text);
        }
        if (control.has(QStringLiteral("Tabs")))
            translateTabs(control);
    }

private:
    // Every tab's caption, even to an empty text; all elements of an array
    // share the keys without index.
    void translateTabs(forms::Control& control)
    {
        for (int i = 0; i < control.tabCount(); ++i)
            if (const auto text = lookup(control.name() + QStringLiteral(".TabCaption(%1)").arg(i)))
                control.setTabCaption(i, *text);
    }

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
