#pragma once

#include "forms/Form.h"
#include "layout/clsResize.h"

#include <memory>

// The life every form of the program shares: at Load it translates itself,
// takes a screen-fitting object of its own and a colour; at Activate it
// covers the screen; at Resize it rescales its controls. Each form adds its
// own steps in the hooks.
class FormTavendel : public forms::Form
{
public:
    explicit FormTavendel(forms::FormDesign design, bool coloreAlCaricamento = true);

    // The form's screen fitting, from its Load on; none once released (the
    // program is ending) or before Load.
    clsResize* adattamento() const { return m_adattamento.get(); }
    void rilasciaAdattamento() { m_adattamento.reset(); }

    // Into the current language (at Load, and at every language pick); then
    // the form brings up to date what it builds from its captions.
    void traduci();

protected:
    // Before the translation: the splash reads the language setting, the
    // menu fills its Language menu.
    virtual void primaDellaTraduzione() {}
    // After a translation that the form outlived.
    virtual void dopoTraduzione() {}
    // The form's own steps at the end of Load, and after covering the screen.
    virtual void caricamento() {}
    virtual void attivazione() {}
    // After every scaling pass: a form whose controls stand where the design
    // table does not put them puts them back here.
    virtual void dopoRidimensionamento() {}

    void onLoad() final;
    void onActivate() final;
    void onResize() final;

    // Top 0, Left 0, then the screen's height and width.
    void copriSchermo();

private:
    std::unique_ptr<clsResize> m_adattamento;
    bool m_coloreAlCaricamento;
};
