#include "Form2.h"

#include "Livelli.h"

#include "forms/NumberFormat.h"
#include "roman/ModuloRomano.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <array>
#include <optional>
#include <utility>

using forms::Alignment;
using forms::ControlKind;

namespace {
const QString kText1 = QStringLiteral("Text1");
const QString kLabel3 = QStringLiteral("Label3");
const QString kBottoneAvanti = QStringLiteral("BottoneAvanti");

} // namespace

forms::FormDesign Form2::design()
{
    const QString arial = QStringLiteral("Arial");
    forms::FormDesign decl{
        .name = QStringLiteral("Form2"),
        .clientWidth = 9900,
        .clientHeight = 6990,
        .caption = QStringLiteral("Tavendel"),
        .font = {QStringLiteral("MS Sans Serif"), 8.25, true},
        .backColor = 0x0080FF,
        .icon = QStringLiteral("face_right"),
        .controls = {
            {.name = kBottoneAvanti, .kind = ControlKind::CommandButton,
             .caption = QStringLiteral("avanti"), .font = {arial, 14.25, true},
             .left = 7440, .top = 4920, .width = 1935, .height = 975,
             .picture = QStringLiteral("arrow_next"), .pointer = QStringLiteral("pointer_next"),
             .tabIndex = 2, .enabled = false},
            {.name = kText1, .kind = ControlKind::TextBox,
             .caption = QStringLiteral("Text1Text1Text1Text1"), .font = {arial, 36, true},
             .left = 210, .top = 4620, .width = 6735, .height = 1275,
             .alignment = Alignment::Center, .tabIndex = 1, .maxLength = 20,
             .accessibleName = QStringLiteral("Il numero scritto in cifre romane")},
            {.name = kLabel3, .kind = ControlKind::Label,
             .caption = QStringLiteral("Label3"), .font = {arial, 48, true},
             .left = 105, .top = 1785, .width = 9255, .height = 1485,
             .alignment = Alignment::Center, .backColor = 0x80FFFF, .border = true,
             .tabIndex = 0, .accessibleDescription = QStringLiteral("Il numero da scrivere in cifre romane")},
        },
    };
    // The box of the verdict and the counts comes first, as the form stores it.
    const std::vector<forms::ControlDesign> riquadro = riquadroEsiti(2520, 120, 3, 720);
    decl.controls.insert(decl.controls.begin(), riquadro.begin(), riquadro.end());
    const std::vector<forms::ControlDesign> menu = menuEsercizio(11);
    decl.controls.insert(decl.controls.end(), menu.begin(), menu.end());
    return decl;
}

Form2::Form2() : Esercizio(design())
{
    onKeyPress(kText1, [this](int, int& KeyAscii) { Text1_KeyPress(KeyAscii); });
    onKeyUp(kText1, [this](int, int KeyCode, int) { Text1_KeyUp(KeyCode); });
    onClick(kBottoneAvanti, [this](int) { BottoneAvanti_Click(); });
}

void Form2::attivazione()
{
    azzeraConteggi();
    NuovaDomanda();
    adattaCarattereDomanda();
}

void Form2::NuovaDomanda()
{
    setBackColor(ModuloColoriSuoni::ColoreCasuale());
    preparaRisposta();
    NumeroEstratto = estraiNumero();
    control(kLabel3).setCaption(forms::formatGrouped(NumeroEstratto));
}

void Form2::Text1_KeyPress(int& KeyAscii)
{
    KeyAscii = Modulo1::Maiuscolo(KeyAscii);
    // A bound that is no level lets every key through.
    const Livello* livello = livelloDi(Stato().NumeroMassimo());
    if (!livello || KeyAscii == ' ' || KeyAscii == kTastoIndietro)
        return;
    const bool letteraDelLivello = KeyAscii < 128 && livello->lettere.contains(QLatin1Char(char(KeyAscii)));
    if (!letteraDelLivello)
        KeyAscii = 0;
}

void Form2::Text1_KeyUp(int KeyCode)
{
    if (!daGiudicare(KeyCode))
        return;
    const std::string risposta = control(kText1).text().toStdString();
    const bool esatta = Stato().SoloFormaCorretta() ? ModuloRomano::InFormaCorretta(risposta, NumeroEstratto)
                                                    : ModuloRomano::LeggiRomano(risposta) == NumeroEstratto;
    // Unlike the reading exercise, the focus is not handed on: after a right
    // answer it goes wherever disabling the box sends it.
    esitoRisposta(esatta);
}

void Form2::BottoneAvanti_Click()
{
    riapriRisposta();
    NuovaDomanda();
}
