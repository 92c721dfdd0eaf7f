#pragma once

#include "Esercizio.h"

#include <cstdint>

// The writing exercise: a number is shown in digits and the pupil types it
// as a Roman numeral, then Enter. The box takes only the letters the level
// needs; any text that reads to the number counts as right, or, when the
// teacher asks for the standard numerals, only the standard numeral.
class Form2 : public Esercizio
{
public:
    Form2();
    static forms::FormDesign design();

protected:
    void attivazione() override;

private:
    void NuovaDomanda();
    void Text1_KeyPress(int& KeyAscii);
    void Text1_KeyUp(int KeyCode);
    void BottoneAvanti_Click();

    std::int16_t NumeroEstratto = 0;
};
