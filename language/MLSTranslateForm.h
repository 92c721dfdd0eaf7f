#pragma once

namespace forms {
class Form;
}

namespace modLanguageSupport {

// Puts the form into the current language: the form's caption (when it has
// one), its Tag, and every control's Caption, ToolTipText, Tag, accessible
// name and description, and tab captions that the language file holds. It knows no form or control by
// name, and passes over whatever a control lacks or the file does not say.
// Pending events run after each control, so the window stays responsive; a
// form unloaded meanwhile is left alone from then on, and a translation of
// the same form started meanwhile has the last word.
void MLSTranslateForm(forms::Form& form);

} // namespace modLanguageSupport
