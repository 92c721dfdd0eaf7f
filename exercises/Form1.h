#pragma once

#include "Esercizio.h"

#include <cstdint>
#include <string>

// The reading exercise: a Roman numeral is shown and the pupil types its
// value in digits, then Enter. The lamp button shows the numeral cut into
// thousands, hundreds, tens and units, each group in its own colour.
class Form1 : public Esercizio
{
public:
    Form1();
    static forms::FormDesign design();

protected:
    void attivazione() override;

private:
    void NuovaDomanda();
    void Text1_KeyPress(int& KeyAscii);
    void Text1_KeyUp(int KeyCode);
    void Command1_Click();
    void BottoneAvanti_Click();

    void scriviGruppo(const QString& etichetta, const std::string& gruppo);
    void allineaGruppi();

    std::int16_t NumeroEstratto = 0;
};
