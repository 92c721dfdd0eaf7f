#pragma once

#include <QPointer>

#include <cstdint>

class clsResize;
class FormTavendel;

// What all forms share for the whole run: the level of the current
// exercise, the sound switch, the strict-judging switch (which
// ImpostazioniSalvate remembers), the two answer counts, whether the
// language choice was found impossible to store, and the screen-fitting
// object in use. (The current language lives with the language support.)
class SharedState
{
public:
    static constexpr std::int16_t kCountLimit = 32767;

    std::int16_t NumeroMassimo() const { return m_numeroMassimo; }
    void setNumeroMassimo(std::int16_t value) { m_numeroMassimo = value; }

    bool SuoniAttivati() const { return m_suoniAttivati; }
    void setSuoniAttivati(bool on) { m_suoniAttivati = on; }

    // The writing exercise takes only the standard numeral as right.
    bool SoloFormaCorretta() const { return m_soloFormaCorretta; }
    void setSoloFormaCorretta(bool on) { m_soloFormaCorretta = on; }

    std::int16_t ContaEsatti() const { return m_contaEsatti; }
    std::int16_t ContaErrati() const { return m_contaErrati; }
    // One more answer; a count stays at its limit instead of wrapping.
    std::int16_t aggiungiEsatto() { return bump(m_contaEsatti); }
    std::int16_t aggiungiErrato() { return bump(m_contaErrati); }
    void azzeraConteggi() { m_contaEsatti = m_contaErrati = 0; }

    // Whether the pupil has been told, this run, that the language picked
    // cannot be remembered for the next start.
    bool AvvisoLinguaDato() const { return m_avvisoLinguaDato; }
    void setAvvisoLinguaDato(bool given) { m_avvisoLinguaDato = given; }

    // The screen-fitting object in use: the one of the form loaded last
    // (every form owns its own), or none once released.
    clsResize* objResize() const;
    void setFormaAdattata(FormTavendel* form);
    void rilasciaObjResize();

    // Back to the values of a fresh start; for tests.
    void reset();

private:
    static std::int16_t bump(std::int16_t& count)
    {
        if (count < kCountLimit)
            ++count;
        return count;
    }

    std::int16_t m_numeroMassimo = 0;
    bool m_suoniAttivati = false;
    bool m_soloFormaCorretta = false;
    std::int16_t m_contaEsatti = 0;
    std::int16_t m_contaErrati = 0;
    bool m_avvisoLinguaDato = false;
    QPointer<FormTavendel> m_formaAdattata;
};

SharedState& Stato();
