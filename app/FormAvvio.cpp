#include "FormAvvio.h"

#include "forms/Application.h"
#include "language/modLanguageSupport.h"
#include "shell/ImpostazioniSalvate.h"
#include "shell/SharedState.h"

using forms::Alignment;
using forms::ControlKind;

forms::FormDesign FormAvvio::design()
{
    const QString comic = QStringLiteral("Comic Sans MS");
    return {
        .name = QStringLiteral("FormAvvio"),
        .clientWidth = 8220,
        .clientHeight = 5730,
        .caption = QStringLiteral("Tavendel"),
        .font = {QStringLiteral("MS Sans Serif"), 8.25, true},
        .backColor = 0xFFFF00,
        .icon = QStringLiteral("numeral_x"),
        .controls = {
            {.name = QStringLiteral("Label2"), .kind = ControlKind::Label,
             .caption = QStringLiteral("Tavendel"), .font = {comic, 72, true},
             .left = 1200, .top = 120, .width = 6195, .height = 3975,
             .alignment = Alignment::Center, .transparent = true, .tabIndex = 0},
            {.name = QStringLiteral("BottoneAvvio"), .kind = ControlKind::CommandButton,
             .caption = QStringLiteral("Avvio"), .font = {comic, 13.5, true},
             .left = 2760, .top = 4200, .width = 3060, .height = 1170,
             .picture = QStringLiteral("numeral_x"), .pointer = QStringLiteral("numeral_x"),
             .tabIndex = 1},
            {.name = QStringLiteral("Label1"), .kind = ControlKind::Label,
             .caption = QStringLiteral("07 settembre 2003"), .font = {comic, 14.25, true},
             .left = 0, .top = 4200, .width = 2655, .height = 735,
             .alignment = Alignment::Center, .transparent = true, .tabIndex = 2},
        },
    };
}

FormAvvio::FormAvvio() : FormTavendel(design())
{
    onClick(QStringLiteral("BottoneAvvio"), [this](int) {
        forms::Application::instance().switchTo(QStringLiteral("FormMenu"), *this);
    });
}

void FormAvvio::primaDellaTraduzione()
{
    modLanguageSupport::setCurrentLanguage(modLanguageSupport::readLanguageSetting());
    Stato().setSoloFormaCorretta(ImpostazioniSalvate::LeggiSoloFormaCorretta());
}

bool FormAvvio::onCloseRequest()
{
    // Nothing has started yet: closing the splash ends the program.
    forms::Application::instance().end();
    return false;
}
