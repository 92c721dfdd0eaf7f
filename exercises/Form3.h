#pragma once

#include "Esercizio.h"

#include <array>
#include <cstdint>
#include <functional>

// The matching exercise: seven numbers stand in a column of value labels,
// and the same seven, written as Roman numerals on cards, stand shuffled in
// the column beside them. The pupil drags each card onto its value. Pupils
// who cannot drag pick a card up with a click (or Space) and put it down on
// a value the same way; the verdict is the same as for a drop.
class Form3 : public Esercizio
{
public:
    static constexpr int kCoppie = 7;

    Form3();
    static forms::FormDesign design();

    // Puts the cards on the seven rows: each row draws a card at random and
    // takes the next one not yet placed when that one already is, cyclically.
    void ScombiccheraPosti();

protected:
    void caricamento() override;
    void attivazione() override;
    void dopoRidimensionamento() override;

private:
    void NuovaSerie();
    void Label4_DragDrop(int Index, forms::Control& Source);
    void BottoneAvanti_Click();

    // The rows: measured on the scaled cards, in twips.
    void misuraRighe();
    std::int16_t topRiga(int riga) const;
    void allineaValori();
    void allineaCarte();
    // Tab goes down the cards, then down the values, then to "avanti".
    void ordineTastiera();

    // Without dragging: a card in hand, put down on a value or put back.
    void Label3_Click(int Index);
    void Label4_Click(int Index);
    void tasto(int keyCode, const std::function<void()>& conSpazio);
    void prendiCarta(forms::Control& carta);
    void rimettiCarta();

    forms::Control& carta(int indice) const;
    forms::Control& valore(int indice) const;

    std::int16_t CoppieTrovate = 0;
    std::int16_t PrimaRiga = 0;
    std::int16_t PassoRiga = 0;
    std::array<int, kCoppie> m_rigaDellaCarta{};
    bool m_righeMisurate = false;
    forms::Control* m_cartaInMano = nullptr;
};
