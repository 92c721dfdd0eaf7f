#include "Esercizio.h"

#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include "forms/Accessibility.h"
#include "forms/Random.h"

#include <array>
#include <utility>

namespace {
const QString kZero = QStringLiteral("0");
const QString kRisposta = QStringLiteral("Text1");
const QString kAvanti = QStringLiteral("BottoneAvanti");
const QString kDomanda = QStringLiteral("Label3");
const QString kEsatti = QStringLiteral("EtichettaEsatti");
const QString kErrati = QStringLiteral("EtichettaErrati");
// Each count label and the label that names its count.
const std::array<std::pair<QString, QString>, 2> kNomiConteggi{{
    {kEsatti, QStringLiteral("Label1")},
    {kErrati, QStringLiteral("Label2")},
}};
// Above this bound the numerals grow long enough to need the smaller font.
constexpr std::int16_t kLivelloNumeriLunghi = 1000;
constexpr double kPuntiNumeriLunghi = 36;
} // namespace

Esercizio::Esercizio(forms::FormDesign decl, bool coloreAlCaricamento)
    : FormTavendel(std::move(decl), coloreAlCaricamento)
{
    onClick(QStringLiteral("MenuAzzera"), [this](int) { MenuAzzera_Click(); });
    onClick(QStringLiteral("MenuInformazioni"), [](int) { Modulo1::MostraInformazioni(); });
    onClick(QStringLiteral("mnuEsci"), [this](int) { Modulo1::TornaAlMenu(*this); });
}

std::vector<forms::ControlDesign> Esercizio::menuEsercizio(int blankDopoInformazioni)
{
    constexpr int kBlankDopoAzzera = 10;
    const QChar blank = QLatin1Char(' ');
    return {
        {.name = QStringLiteral("MenuAzzera"), .kind = forms::ControlKind::Menu,
         .caption = QStringLiteral("&Azzera conteggio") + QString(kBlankDopoAzzera, blank)},
        {.name = QStringLiteral("MenuInformazioni"), .kind = forms::ControlKind::Menu,
         .caption = QStringLiteral("&Informazioni") + QString(blankDopoInformazioni, blank)},
        {.name = QStringLiteral("mnuEsci"), .kind = forms::ControlKind::Menu,
         .caption = QStringLiteral("&Esci")},
    };
}

std::vector<forms::ControlDesign> Esercizio::riquadroEsiti(double left, double top, int tabIndex,
                                                        double topErrati)
{
    using forms::Alignment;
    using forms::ControlKind;
    const QString riquadro = QStringLiteral("PicturesattiErrati");
    const QString arial = QStringLiteral("Arial");
    return {
        {.name = riquadro, .kind = ControlKind::PictureBox,
         .left = left, .top = top, .width = 4095, .height = 1335,
         .backColor = 0xFFFFFF, .tabIndex = tabIndex},
        {.name = QStringLiteral("ComandoIconaNo"), .kind = ControlKind::Image,
         .left = 480, .top = 120, .width = 1095, .height = 975, .container = riquadro,
         .picture = QStringLiteral("face_wrong"), .visible = false,
         .accessibleName = QStringLiteral("Sbagliato")},
        {.name = QStringLiteral("ComandoIconaSi"), .kind = ControlKind::Image,
         .left = 480, .top = 120, .width = 1095, .height = 975, .container = riquadro,
         .picture = QStringLiteral("face_right"), .accessibleName = QStringLiteral("Esatto")},
        {.name = QStringLiteral("Label1"), .kind = ControlKind::Label,
         .caption = QStringLiteral("Esatti"), .font = {arial, 12, true},
         .left = 1800, .top = 225, .width = 1215, .height = 375, .container = riquadro,
         .alignment = Alignment::Center, .transparent = true, .tabIndex = tabIndex + 4},
        {.name = QStringLiteral("Label2"), .kind = ControlKind::Label,
         .caption = QStringLiteral("Errati"), .font = {arial, 12, true},
         .left = 1800, .top = topErrati, .width = 1215, .height = 405, .container = riquadro,
         .alignment = Alignment::Center, .transparent = true, .tabIndex = tabIndex + 3},
        {.name = QStringLiteral("EtichettaEsatti"), .kind = ControlKind::Label,
         .caption = QStringLiteral("0"), .font = {arial, 20.25, true},
         .left = 3120, .top = 120, .width = 615, .height = 615, .container = riquadro,
         .alignment = Alignment::Right, .transparent = true, .tabIndex = tabIndex + 2},
        {.name = QStringLiteral("EtichettaErrati"), .kind = ControlKind::Label,
         .caption = QStringLiteral("0"), .font = {arial, 20.25, true},
         .left = 3120, .top = 615, .width = 615, .height = 615, .container = riquadro,
         .alignment = Alignment::Right, .transparent = true, .tabIndex = tabIndex + 1},
    };
}

QString Esercizio::conSegno(int conteggio)
{
    return QLatin1Char(' ') + QString::number(conteggio);
}

void Esercizio::azzeraConteggi()
{
    Stato().azzeraConteggi();
    mostraConteggio(kEsatti, kZero);
    mostraConteggio(kErrati, kZero);
}

void Esercizio::MenuAzzera_Click()
{
    mostraConteggio(kEsatti, kZero);
    mostraConteggio(kErrati, kZero);
    Stato().azzeraConteggi();
}

void Esercizio::mostraConteggio(const QString& conteggio, const QString& testo)
{
    control(conteggio).setCaption(testo);
    nominaConteggi();
}

void Esercizio::nominaConteggi()
{
    const QString proprieta = QStringLiteral("AccessibleName");
    for (const auto& [conteggio, nome] : kNomiConteggi) {
        forms::Control& etichetta = control(conteggio);
        const QString letto = control(nome).caption() + QStringLiteral(": ") + etichetta.caption().trimmed();
        // Every new name is spoken: a count that did not change stays quiet.
        if (etichetta.get(proprieta).toString() != letto)
            etichetta.set(proprieta, letto);
    }
}

void Esercizio::dopoTraduzione()
{
    nominaConteggi();
}

void Esercizio::mostraEsito(bool esatto)
{
    forms::Control& si = control(QStringLiteral("ComandoIconaSi"));
    forms::Control& no = control(QStringLiteral("ComandoIconaNo"));
    si.setVisible(esatto);
    no.setVisible(!esatto);
    // The same face may show twice in a row: the verdict is announced each time.
    forms::announce(esatto ? si : no);
}

void Esercizio::contaEsatto()
{
    mostraConteggio(kEsatti, conSegno(Stato().aggiungiEsatto()));
}

void Esercizio::contaErrato()
{
    mostraConteggio(kErrati, conSegno(Stato().aggiungiErrato()));
}

std::int16_t Esercizio::estraiNumero() const
{
    return static_cast<std::int16_t>(forms::randomIndex(Stato().NumeroMassimo()) + 1);
}

void Esercizio::registraEsito(bool esatto)
{
    mostraEsito(esatto);
    if (esatto) {
        contaEsatto();
        ModuloColoriSuoni::SuonoEsatto();
    } else {
        contaErrato();
        ModuloColoriSuoni::SuonoErrato();
    }
}

void Esercizio::preparaRisposta()
{
    forms::Control& risposta = control(kRisposta);
    risposta.setText(QString());
    risposta.setFocus();
}

bool Esercizio::daGiudicare(int keyCode) const
{
    return keyCode == kTastoInvio && !control(kRisposta).text().isEmpty();
}

void Esercizio::esitoRisposta(bool esatta)
{
    registraEsito(esatta);
    if (esatta) {
        control(kAvanti).setEnabled(true);
        control(kRisposta).setEnabled(false);
    } else {
        control(kRisposta).setFocus();
    }
}

void Esercizio::riapriRisposta()
{
    control(kRisposta).setEnabled(true);
    control(kAvanti).setEnabled(false);
}

void Esercizio::adattaCarattereDomanda()
{
    if (Stato().NumeroMassimo() > kLivelloNumeriLunghi)
        control(kDomanda).setFontSize(kPuntiNumeriLunghi);
}

bool Esercizio::onCloseRequest()
{
    // Closing the window from its frame asks, like "Esci", whether to go back to the menu.
    Modulo1::TornaAlMenu(*this);
    return false;
}
