#include "SharedState.h"

#include "layout/clsResize.h"

void SharedState::setObjResize(std::unique_ptr<clsResize> fitter)
{
    m_objResize = std::move(fitter);
}

void SharedState::reset()
{
    m_numeroMassimo = 0;
    m_suoniAttivati = false;
    m_contaEsatti = m_contaErrati = 0;
    m_avvisoLinguaDato = false;
    m_objResize.reset();
}

SharedState& Stato()
{
    static SharedState state;
    return state;
}
