#include "FormTavendel.h"

#include "ModuloColoriSuoni.h"
#include "SharedState.h"

#include "forms/Units.h"
#include "language/MLSTranslateForm.h"

#include <QPointer>

namespace {
constexpr std::uint8_t kQuotaSchermo = 75;
}

FormTavendel::FormTavendel(forms::FormDesign design, bool coloreAlCaricamento)
    : forms::Form(std::move(design)), m_coloreAlCaricamento(coloreAlCaricamento)
{}

void FormTavendel::onLoad()
{
    primaDellaTraduzione();
    traduci();

    // Each form keeps its own fitter: a form that stays because the one it
    // was leaving for unloaded itself still follows its window's size.
    m_adattamento = std::make_unique<clsResize>();
    m_adattamento->SetSourceForm(this);
    Stato().setFormaAdattata(this);
    m_adattamento->SizeFormToScreen(kQuotaSchermo);

    if (m_coloreAlCaricamento)
        setBackColor(ModuloColoriSuoni::ColoreCasuale());
    caricamento();
}

void FormTavendel::traduci()
{
    // Translation lets pending events run: one of them may unload the form.
    const QPointer<FormTavendel> vivo(this);
    modLanguageSupport::MLSTranslateForm(*this);
    if (vivo && !isUnloaded())
        dopoTraduzione();
}

void FormTavendel::onActivate()
{
    copriSchermo();
    attivazione();
}

void FormTavendel::onResize()
{
    if (m_adattamento)
        m_adattamento->ResizeControls();
    dopoRidimensionamento();
}

void FormTavendel::copriSchermo()
{
    setTop(0);
    setLeft(0);
    setHeight(forms::screenHeight());
    setWidth(forms::screenWidth());
}
