#include "SharedState.h"

#include "FormTavendel.h"

clsResize* SharedState::objResize() const
{
    return m_formaAdattata ? m_formaAdattata->adattamento() : nullptr;
}

void SharedState::setFormaAdattata(FormTavendel* form)
{
    m_formaAdattata = form;
}

void SharedState::rilasciaObjResize()
{
    if (m_formaAdattata)
        m_formaAdattata->rilasciaAdattamento();
}

void SharedState::reset()
{
    m_numeroMassimo = 0;
    m_suoniAttivati = false;
    m_soloFormaCorretta = false;
    m_contaEsatti = m_contaErrati = 0;
    m_avvisoLinguaDato = false;
    m_formaAdattata = nullptr;
}

SharedState& Stato()
{
    static SharedState state;
    return state;
}
