#pragma once

#include "shell/FormTavendel.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace forms {
class Control;
}

// The main menu: the three exercises at five levels each, the sound switch,
// the teacher's strict-judging switch, the exit button and the Language
// menu, which lists the language files lying beside the program and
// switches every loaded form to the one picked.
class FormMenu : public FormTavendel
{
public:
    FormMenu();
    static forms::FormDesign design();

    // The Language menu holds at most this many entries.
    static constexpr int kMassimoLingue = 32767;

    // Fills the Language menu with the language files' names and checks the
    // entry of the stored language.
    void MLSFillMenuLanguages();
    // A pick: the check mark moves, the entry's language becomes current,
    // every loaded form is translated and the entry's name is stored. A pick
    // made while another is translating waits for it; of several waiting
    // picks only the latest runs.
    void mnuLanguage_Click(int Index);

protected:
    void primaDellaTraduzione() override;
    void caricamento() override;
    bool onCloseRequest() override;

private:
    // The languages the program folder offers, in the order a person reads
    // them: the names of its regular files ending in ".lng", less that
    // extension, without names that could lead out of the folder.
    static QStringList lingueDisponibili();
    void collegaLivelli();
    // A level button: the first clicked decides the exercise and its level;
    // clicks that arrive before that exercise shows are ignored.
    void apriEsercizio(std::int16_t numeroMassimo, const QString& esercizio);
    // The exit button, or the window closed: the exit question, unless an
    // exercise is already opening.
    void esci();
    // Whether an exercise is opening in the menu's place.
    bool inUscita() const;
    void Check1_Click();
    void Check2_Click();
    // Runs a move away from the menu (a level, the exit) now, or once the
    // language pick under way has ended, so that the menu is never unloaded
    // in the middle of a pick; of several moves asked meanwhile, the latest runs.
    void dopoLaScelta(std::function<void()> azione);
    void applicaLingua(int Index);
    // Says, in the language just picked, that the settings file cannot be written.
    void avvisaLinguaNonRicordata();
    std::vector<forms::Control*> vociLingua() const;
    forms::Control& voceLingua(int Index) const;

    bool m_sceltaInCorso = false;
    std::optional<int> m_sceltaRinviata;
    std::function<void()> m_azioneRinviata;
};
