#include "Form1.h"

#include "roman/ModuloRomano.h"
#include "shell/ModuloColoriSuoni.h"

#include <array>
#include <cmath>

using forms::Alignment;
using forms::ControlKind;

namespace {
const QString kText1 = QStringLiteral("Text1");
const QString kLabel3 = QStringLiteral("Label3");
const QString kCommand1 = QStringLiteral("Command1");
const QString kBottoneAvanti = QStringLiteral("BottoneAvanti");
// The hint's labels for thousands, hundreds, tens and units, left to right.
const std::array<QString, 4> kGruppi{QStringLiteral("Label4"), QStringLiteral("Label5"),
                                     QStringLiteral("Label6"), QStringLiteral("Label7")};

// The value of an answer: its digits read as one number, leaving out the
// blanks, dots and commas the pupil may group them with.
long long valoreCifre(const QString& risposta)
{
    QString cifre;
    for (QChar carattere : risposta)
        if (carattere >= QLatin1Char('0') && carattere <= QLatin1Char('9'))
            cifre.append(carattere);
    return cifre.isEmpty() ? 0 : cifre.toLongLong();
}
} // namespace

forms::FormDesign Form1::design()
{
    const QString arial = QStringLiteral("Arial");
    forms::FormDesign decl{
        .name = QStringLiteral("Form1"),
        .clientWidth = 9540,
        .clientHeight = 6345,
        .caption = QStringLiteral("Tavendel"),
        .font = {QStringLiteral("MS Sans Serif"), 8.25, true},
        .backColor = 0x0080FF,
        .icon = QStringLiteral("face_right"),
        .controls = {
            {.name = kCommand1, .kind = ControlKind::CommandButton,
             .left = 7080, .top = 3840, .width = 1935, .height = 975,
             .picture = QStringLiteral("lamp"), .pointer = QStringLiteral("lamp"), .tabIndex = 7,
             .accessibleName = QStringLiteral("Suggerimento")},
            {.name = kBottoneAvanti, .kind = ControlKind::CommandButton,
             .caption = QStringLiteral("avanti"), .font = {arial, 14.25, true},
             .left = 7080, .top = 4920, .width = 1935, .height = 975,
             .picture = QStringLiteral("arrow_next"), .pointer = QStringLiteral("pointer_next"),
             .tabIndex = 2, .enabled = false},
            {.name = kText1, .kind = ControlKind::TextBox,
             .caption = QStringLiteral("Text1"), .font = {arial, 48, true},
             .left = 1575, .top = 4620, .width = 4635, .height = 1275,
             .alignment = Alignment::Center, .pointer = QStringLiteral("pointer_pen"),
             .tabIndex = 1, .maxLength = 8,
             .accessibleName = QStringLiteral("Il valore del numero romano, in cifre")},
            // The group labels fit their width to their group, so that the
            // four side by side read as the one numeral above them.
            {.name = kGruppi[3], .kind = ControlKind::Label,
             .caption = QStringLiteral("Uni"), .font = {arial, 48, true},
             .left = 7080, .top = 3360, .width = 1575, .height = 1125,
             .alignment = Alignment::Center, .backColor = 0xFFFFFF, .foreColor = 0xFF0000,
             .tabIndex = 6, .autoSize = true, .accessibleDescription = QStringLiteral("Unità")},
            {.name = kGruppi[2], .kind = ControlKind::Label,
             .caption = QStringLiteral("Deci"), .font = {arial, 48, true},
             .left = 4680, .top = 3360, .width = 2055, .height = 1125,
             .alignment = Alignment::Center, .backColor = 0xFFFFFF, .foreColor = 0x0000FF,
             .tabIndex = 5, .autoSize = true, .accessibleDescription = QStringLiteral("Decine")},
            {.name = kGruppi[1], .kind = ControlKind::Label,
             .caption = QStringLiteral("Cent"), .font = {arial, 48, true},
             .left = 2280, .top = 3360, .width = 2145, .height = 1125,
             .alignment = Alignment::Center, .backColor = 0xFFFFFF, .foreColor = 0x00C000,
             .tabIndex = 4, .autoSize = true, .accessibleDescription = QStringLiteral("Centinaia")},
            {.name = kGruppi[0], .kind = ControlKind::Label,
             .caption = QStringLiteral("Mig"), .font = {arial, 48, true},
             .left = 480, .top = 3360, .width = 1665, .height = 1125,
             .alignment = Alignment::Center, .backColor = 0xFFFFFF, .foreColor = 0x00C0C0,
             .tabIndex = 3, .autoSize = true, .accessibleDescription = QStringLiteral("Migliaia")},
            {.name = kLabel3, .kind = ControlKind::Label,
             .caption = QStringLiteral("Label3"), .font = {arial, 48, true},
             .left = 105, .top = 1785, .width = 9255, .height = 1485,
             .alignment = Alignment::Center, .backColor = 0x80FFFF, .border = true,
             .tabIndex = 0, .accessibleDescription = QStringLiteral("Il numero romano da leggere")},
        },
    };
    // The box of the verdict and the counts comes first, as the form stores it.
    const std::vector<forms::ControlDesign> riquadro = riquadroEsiti(2640, 240, 8, 750);
    decl.controls.insert(decl.controls.begin(), riquadro.begin(), riquadro.end());
    const std::vector<forms::ControlDesign> menu = menuEsercizio(12);
    decl.controls.insert(decl.controls.end(), menu.begin(), menu.end());
    return decl;
}

Form1::Form1() : Esercizio(design())
{
    onKeyPress(kText1, [this](int, int& KeyAscii) { Text1_KeyPress(KeyAscii); });
    onKeyUp(kText1, [this](int, int KeyCode, int) { Text1_KeyUp(KeyCode); });
    onClick(kCommand1, [this](int) { Command1_Click(); });
    onClick(kBottoneAvanti, [this](int) { BottoneAvanti_Click(); });
}

void Form1::attivazione()
{
    azzeraConteggi();
    adattaCarattereDomanda();
    NuovaDomanda();
}

void Form1::NuovaDomanda()
{
    setBackColor(ModuloColoriSuoni::ColoreCasuale());
    preparaRisposta();
    NumeroEstratto = estraiNumero();

    for (const QString& gruppo : kGruppi)
        control(gruppo).setVisible(false);
    control(kCommand1).setVisible(true);

    const ModuloRomano::NumeraleInGruppi numerale = ModuloRomano::TraduciRomanoInGruppi(NumeroEstratto);
    scriviGruppo(kGruppi[0], numerale.migliaia);
    scriviGruppo(kGruppi[1], numerale.centinaia);
    scriviGruppo(kGruppi[2], numerale.decine);
    scriviGruppo(kGruppi[3], numerale.unita);
    control(kLabel3).setCaption(QString::fromStdString(numerale.numerale));

    allineaGruppi();
}

void Form1::scriviGruppo(const QString& etichetta, const std::string& gruppo)
{
    // Only the width follows the caption: the row keeps the height the
    // screen fitting gave it.
    forms::Control& label = control(etichetta);
    const double altezza = label.height();
    label.setCaption(QString::fromStdString(gruppo));
    label.setHeight(altezza);
}

void Form1::allineaGruppi()
{
    double larghezza = 0;
    for (const QString& gruppo : kGruppi)
        larghezza += control(gruppo).width();
    double sinistra = std::floor(width() / 2) - std::floor(larghezza / 2);
    for (const QString& gruppo : kGruppi) {
        forms::Control& label = control(gruppo);
        label.setLeft(sinistra);
        sinistra = label.left() + label.width();
    }
}

void Form1::Text1_KeyPress(int& KeyAscii)
{
    const bool cifra = KeyAscii >= '0' && KeyAscii <= '9';
    const bool separatore = KeyAscii == ' ' || KeyAscii == '.' || KeyAscii == ',';
    if (!cifra && !separatore && KeyAscii != kTastoIndietro)
        KeyAscii = 0;
}

void Form1::Text1_KeyUp(int KeyCode)
{
    if (!daGiudicare(KeyCode))
        return;
    const bool esatta = valoreCifre(control(kText1).text()) == NumeroEstratto;
    esitoRisposta(esatta);
    if (esatta)
        control(kBottoneAvanti).setFocus();
}

void Form1::Command1_Click()
{
    for (const QString& gruppo : kGruppi)
        control(gruppo).setVisible(true);
    control(kCommand1).setVisible(false);
    forms::Control& risposta = control(kText1);
    if (risposta.isEnabled())
        risposta.setFocus();
}

void Form1::BottoneAvanti_Click()
{
    riapriRisposta();
    NuovaDomanda();
}
