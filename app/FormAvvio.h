#pragma once

#include "shell/FormTavendel.h"

// The splash form: the program's name, the start button and the date. It
// reads the stored settings (the language, the strict-judging switch)
// before anything is shown, and stays until the pupil presses "Avvio".
class FormAvvio : public FormTavendel
{
public:
    FormAvvio();
    static forms::FormDesign design();

protected:
    void primaDellaTraduzione() override;
    bool onCloseRequest() override;
};
