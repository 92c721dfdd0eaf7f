#include "FormMenu.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/MessageBox.h"
#include "forms/Places.h"
#include "language/MLSTranslateForm.h"
#include "language/modLanguageSupport.h"
#include "shell/ImpostazioniSalvate.h"
#include "shell/Modulo1.h"
#include "shell/SharedState.h"

#include "RegistroForme.h"

#include <QCollator>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

using forms::ControlKind;
using forms::ControlDesign;

namespace {

const QString kCheck1 = QStringLiteral("Check1");
const QString kCheck2 = QStringLiteral("Check2");
const QString kCommand1 = QStringLiteral("Command1");
const QString kMenuLingue = QStringLiteral("mnuLanguages");
const QString kVoceLingua = QStringLiteral("mnuLanguage");

// A level named by its largest number, thousands set apart by a blank ("3 000").
QString numeroDelLivello(std::int16_t numeroMassimo)
{
    QString cifre = QString::number(numeroMassimo);
    for (qsizetype at = cifre.size() - 3; at > 0; at -= 3)
        cifre.insert(at, QLatin1Char(' '));
    return cifre;
}

// Language names sorted as a person reads them: letter case and accents
// matter less than the letters, and numbers count by their value. Names
// that only differ in case still get a fixed order.
void ordinaComeSiLegge(QStringList& nomi)
{
    // The "C" locale would compare character codes ("Zulu" before "italiano"):
    // there the program's own language decides.
    const QLocale sistema;
    QCollator collator(sistema.language() == QLocale::C ? QLocale(QLocale::Italian) : sistema);
    collator.setNumericMode(true);
    std::sort(nomi.begin(), nomi.end(), [&collator](const QString& a, const QString& b) {
        const int ordine = collator.compare(a, b);
        return ordine != 0 ? ordine < 0 : a < b;
    });
}

} // namespace

forms::FormDesign FormMenu::design()
{
    const QString arial = QStringLiteral("Arial");
    const QString freccia = QStringLiteral("pointer_arrow");
    const auto intestazione = [&](const char* name, const char* caption, double left, double width,
                                  int tabIndex) {
        return ControlDesign{.name = QString::fromLatin1(name), .kind = ControlKind::Label,
                           .caption = QString::fromUtf8(caption), .font = {arial, 11.25, true},
                           .left = left, .top = 240, .width = width, .height = 255,
                           .transparent = true, .tabIndex = tabIndex};
    };
    const auto bottone = [&](const char* name, const QString& caption, double left, double top,
                             int tabIndex) {
        return ControlDesign{.name = QString::fromLatin1(name), .kind = ControlKind::CommandButton,
                           .caption = caption, .font = {arial, 20.25, true},
                           .left = left, .top = top, .width = 2500, .height = 550,
                           .pointer = freccia, .tabIndex = tabIndex};
    };
    forms::FormDesign design{
        .name = QStringLiteral("FormMenu"),
        .clientWidth = 8085,
        .clientHeight = 4920,
        .caption = QStringLiteral("Tavendel"),
        .font = {QStringLiteral("MS Sans Serif"), 8.25, true},
        .backColor = 0xFFFF80,
        .icon = QString(),
        .controls = {
            intestazione("Label3", "Leggi i Tavendel", 240, 2415, 13),
            intestazione("Label4", "Scrivi i Tavendel", 2880, 2415, 14),
            intestazione("Label5", "Abbina", 5520, 1815, 20),
            {.name = kCheck1, .kind = ControlKind::CheckBox,
             .caption = QStringLiteral("Suoni attivati"), .font = {arial, 14.25, true},
             .left = 720, .top = 3840, .width = 2265, .height = 405,
             .pointer = QStringLiteral("pointer_clef"), .tabIndex = 11},
            // Under the sound switch, wide enough for the longest translation
            // and stopping short of the exit button's column.
            {.name = kCheck2, .kind = ControlKind::CheckBox,
             .caption = QStringLiteral("Solo la forma corretta"), .font = {arial, 14.25, true},
             .left = 720, .top = 4320, .width = 4455, .height = 405,
             .pointer = QStringLiteral("pointer_clef"), .tabIndex = 12},
            bottone("Command1", "Esci", 5400, 3840, 0),
            {.name = kMenuLingue, .kind = ControlKind::Menu, .caption = QStringLiteral("&Lingua")},
            {.name = kVoceLingua, .kind = ControlKind::Menu, .index = 0,
             .caption = QStringLiteral("mnuLanguage 0"), .container = kMenuLingue},
        },
    };
    // A column of level buttons for each exercise, after the headings.
    std::vector<ControlDesign> livelli;
    for (const VoceEsercizio& esercizio : esercizi())
        for (std::size_t i = 0; i < kLivelli.size(); ++i)
            livelli.push_back(bottone(esercizio.bottoni[i].nome,
                                      esercizio.livelliInLettere ? QString(kLivelli[i].lettere)
                                                                 : numeroDelLivello(kLivelli[i].numeroMassimo),
                                      esercizio.colonna, righeLivelli()[i], esercizio.bottoni[i].tabIndex));
    design.controls.insert(design.controls.begin() + 3, livelli.begin(), livelli.end());
    return design;
}

FormMenu::FormMenu() : FormTavendel(design())
{
    collegaLivelli();
    onClick(kCheck1, [this](int) { Check1_Click(); });
    onClick(kCheck2, [this](int) { Check2_Click(); });
    onClick(kCommand1, [this](int) { dopoLaScelta([this] { esci(); }); });
    onClick(kVoceLingua, [this](int index) { mnuLanguage_Click(index); });
}

void FormMenu::collegaLivelli()
{
    for (const VoceEsercizio& esercizio : esercizi()) {
        for (std::size_t i = 0; i < kLivelli.size(); ++i) {
            const std::int16_t numeroMassimo = kLivelli[i].numeroMassimo;
            onClick(QString::fromLatin1(esercizio.bottoni[i].nome), [this, &esercizio, numeroMassimo](int) {
                dopoLaScelta([this, &esercizio, numeroMassimo] { apriEsercizio(numeroMassimo, esercizio.forma); });
            });
        }
    }
}

void FormMenu::apriEsercizio(std::int16_t numeroMassimo, const QString& esercizio)
{
    // The exercise's Load lets pending events run: a click that arrives then
    // must change neither the exercise nor its level. (An exercise unloaded
    // during its own Load leaves the menu in use again.)
    if (inUscita())
        return;
    // The exercise reads its level from its Load on.
    Stato().setNumeroMassimo(numeroMassimo);
    forms::Application::instance().switchTo(esercizio, *this);
}

bool FormMenu::inUscita() const
{
    return forms::Application::instance().isLeaving(*this);
}

void FormMenu::esci()
{
    // Once a level is clicked the menu is on its way out: no exit question.
    if (!inUscita())
        Modulo1::ConfermaUscita();
}

void FormMenu::primaDellaTraduzione()
{
    MLSFillMenuLanguages();
}

void FormMenu::caricamento()
{
    forms::Control& suoni = control(kCheck1);
    suoni.setBackColor(backColor());
    suoni.setChecked(Stato().SuoniAttivati());
    forms::Control& soloFormaCorretta = control(kCheck2);
    soloFormaCorretta.setBackColor(backColor());
    soloFormaCorretta.setChecked(Stato().SoloFormaCorretta());
}

bool FormMenu::onCloseRequest()
{
    // The menu is where the program ends: closing it asks, like "Esci".
    dopoLaScelta([this] { esci(); });
    return false;
}

void FormMenu::Check1_Click()
{
    Stato().setSuoniAttivati(control(kCheck1).isChecked());
}

void FormMenu::Check2_Click()
{
    const bool attiva = control(kCheck2).isChecked();
    // Load showing the stored value clicks too: only a change is stored.
    if (attiva == Stato().SoloFormaCorretta())
        return;
    Stato().setSoloFormaCorretta(attiva);
    // A switch that cannot be stored still holds for this run; nothing is said.
    ImpostazioniSalvate::ScriviSoloFormaCorretta(attiva);
}

QStringList FormMenu::lingueDisponibili()
{
    const QString estensione = modLanguageSupport::LanguageFileExtension.toString();
    QStringList nomi;
    for (const QString& nomeFile : forms::places().languageFiles()) {
        const QString nome = nomeFile.chopped(estensione.size());
        if (!nome.isEmpty() && modLanguageSupport::isSafeLanguageName(nome))
            nomi.append(nome);
    }
    ordinaComeSiLegge(nomi);
    if (nomi.size() > kMassimoLingue)
        nomi.resize(kMassimoLingue);
    return nomi;
}

void FormMenu::MLSFillMenuLanguages()
{
    const QStringList lingue = lingueDisponibili();
    if (lingue.isEmpty()) {
        forms::msgBox({Modulo1::kTitolo, QStringLiteral("Non è presente alcun file di linguaggio!"),
                       forms::MsgBoxButtons::OkOnly, forms::MsgBoxIcon::None});
        return;
    }
    // A freshly loaded menu holds entry 0 alone; entries already there are reused.
    const int giaCaricate = highestIndex(kVoceLingua);
    for (int n = 0; n < lingue.size(); ++n) {
        forms::Control& voce = n <= giaCaricate ? control(kVoceLingua, n) : loadControl(kVoceLingua, n);
        voce.setVisible(true);
        voce.setCaption(lingue[n]);
    }

    modLanguageSupport::setCurrentLanguage(modLanguageSupport::readLanguageSetting());
    const QString attuale = modLanguageSupport::CurrentLanguage();
    const std::vector<forms::Control*> voci = vociLingua();
    const auto scelta = std::find_if(voci.begin(), voci.end(), [&](const forms::Control* voce) {
        return voce->caption() == attuale;
    });
    if (scelta != voci.end())
        (*scelta)->setChecked(true);
}

void FormMenu::mnuLanguage_Click(int Index)
{
    if (m_sceltaInCorso) {
        // Translating lets events run, so a further pick can arrive now: it
        // waits for this one to end, and only the latest waiting pick counts.
        m_sceltaRinviata = Index;
        return;
    }
    const QPointer<FormMenu> vivo(this);
    m_sceltaInCorso = true;
    {
        // Whatever ends the pick, input is deferred no longer.
        const auto finita = qScopeGuard([&] {
            if (vivo)
                m_sceltaInCorso = false;
        });
        std::optional<int> scelta = Index;
        while (scelta) {
            applicaLingua(*scelta);
            if (!vivo)
                return;
            scelta = std::exchange(m_sceltaRinviata, std::nullopt);
        }
    }
    if (const std::function<void()> azione = std::exchange(m_azioneRinviata, nullptr))
        azione();
}

void FormMenu::applicaLingua(int Index)
{
    for (forms::Control* voce : vociLingua())
        voce->setChecked(false);
    forms::Control& scelta = voceLingua(Index);
    scelta.setChecked(true);
    modLanguageSupport::setCurrentLanguage(scelta.caption());

    std::vector<QPointer<forms::Form>> caricate;
    for (forms::Form* forma : forms::Application::instance().loadedForms())
        caricate.emplace_back(forma);
    const QPointer<FormMenu> vivo(this);
    for (const QPointer<forms::Form>& forma : caricate) {
        if (!forma || forma->isUnloaded())
            continue;
        if (auto* nostra = dynamic_cast<FormTavendel*>(forma.data()))
            nostra->traduci();
        else
            modLanguageSupport::MLSTranslateForm(*forma);
    }
    if (!vivo)
        return;

    // The translation may have renamed the entry: the new name is stored,
    // with the other settings read so far when it starts the user's own file.
    ImpostazioniSalvate::RiportaImpostazioni();
    if (modLanguageSupport::writeLanguageSetting(voceLingua(Index).caption()) == 0)
        avvisaLinguaNonRicordata();
}

void FormMenu::avvisaLinguaNonRicordata()
{
    // The language has switched all the same: pupil and teacher only need to
    // know, once a run, that the next start will not remember it.
    if (Stato().AvvisoLinguaDato())
        return;
    Stato().setAvvisoLinguaDato(true);
    forms::msgBox({Modulo1::kTitolo, modLanguageSupport::MLSGetMessage(QStringLiteral("0005")),
                   forms::MsgBoxButtons::OkOnly, forms::MsgBoxIcon::Information});
}

void FormMenu::dopoLaScelta(std::function<void()> azione)
{
    if (m_sceltaInCorso) {
        m_azioneRinviata = std::move(azione);
        return;
    }
    azione();
}

std::vector<forms::Control*> FormMenu::vociLingua() const
{
    std::vector<forms::Control*> voci;
    for (forms::Control* control : controls())
        if (control->isArrayElement() && control->name().compare(kVoceLingua, Qt::CaseInsensitive) == 0)
            voci.push_back(control);
    return voci;
}

forms::Control& FormMenu::voceLingua(int Index) const
{
    return control(kVoceLingua, Index);
}
