#include "RegistroForme.h"

#include "FormAvvio.h"
#include "FormMenu.h"

#include "exercises/Form1.h"
#include "exercises/Form2.h"
#include "exercises/Form3.h"
#include "forms/Application.h"

#include <memory>

void RegistraForme()
{
    auto& forms = forms::Application::instance();
    forms.registerForm(QStringLiteral("FormAvvio"), [] { return std::make_unique<FormAvvio>(); });
    forms.registerForm(QStringLiteral("FormMenu"), [] { return std::make_unique<FormMenu>(); });
    forms.registerForm(QStringLiteral("Form1"), [] { return std::make_unique<Form1>(); });
    forms.registerForm(QStringLiteral("Form2"), [] { return std::make_unique<Form2>(); });
    forms.registerForm(QStringLiteral("Form3"), [] { return std::make_unique<Form3>(); });
}
