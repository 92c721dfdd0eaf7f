#include "FormTavendel.h"

#include "ModuloColoriSuoni.h"
#include "SharedState.h"

#include "forms/Units.h"
#include "language/MLSTranslateForm.h"
#include "layout/clsResize.h"

#include <QWidget>

#include <memory>

namespace {
constexpr std::uint8_t kQuotaSchermo = 75;
}

FormTavendel::FormTavendel(forms::FormDesign decl, bool coloreAlCaricamento)
    : forms::Form(std::move(decl)), m_coloreAlCaricamento(coloreAlCaricamento)
{}

void FormTavendel::onLoad()
{
    primaDellaTraduzione();
    modLanguageSupport::MLSTranslateForm(*this);

    auto fitter = std::make_unique<clsResize>();
    fitter->SetSourceForm(this);
    clsResize& fitting = *fitter;
    Stato().setObjResize(std::move(fitter));
    fitting.SizeFormToScreen(kQuotaSchermo);

    if (m_coloreAlCaricamento)
        setBackColor(ModuloColoriSuoni::ColoreCasuale());
    caricamento();
}

void FormTavendel::onActivate()
{
    copriSchermo();
    attivazione();
}

void FormTavendel::onResize()
{
    if (clsResize* fitting = Stato().objResize())
        fitting->ResizeControls();
    dopoRidimensionamento();
}

void FormTavendel::copriSchermo()
{
    setTop(0);
    setLeft(0);
    setHeight(forms::screenHeight());
    setWidth(forms::screenWidth());
}
