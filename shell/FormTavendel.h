#pragma once

#include "forms/Form.h"

// The life every form of the program shares: at Load it translates itself,
// takes the screen-fitting object and a colour; at Activate it covers the
// screen; at Resize it rescales its controls. Each form adds its own steps
// in the hooks.
class FormTavendel : public forms::Form
{
public:
    explicit FormTavendel(forms::FormDesign decl, bool coloreAlCaricamento = true);

protected:
    // Before the translation: the splash reads the language setting, the
    // menu fills its Language menu.
    virtual void primaDellaTraduzione() {}
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
    bool m_coloreAlCaricamento;
};
