#pragma once

#include "shell/FormTavendel.h"

#include <cstdint>
#include <vector>

// What the three exercises share: the counts and their labels, the right
// and wrong pictures and sounds, the draw of a number within the level, and
// the menu items "Azzera conteggio", "Informazioni" and "Esci". Each
// exercise form brings its own controls named as these expect
// (EtichettaEsatti, EtichettaErrati and the labels that name them, Label1
// and Label2; ComandoIconaSi, ComandoIconaNo, MenuAzzera, MenuInformazioni,
// mnuEsci). A screen reader hears each count with its label ("Esatti: 3")
// and each verdict as it appears.
class Esercizio : public FormTavendel
{
public:
    explicit Esercizio(forms::FormDesign decl, bool coloreAlCaricamento = true);

    // A count as shown: one leading blank, the sign place of a number that
    // is never negative (" 1").
    static QString conSegno(int conteggio);

    // The three menu entries every exercise has: "Azzera conteggio",
    // "Informazioni" (followed by as many blanks as its form gives it) and "Esci".
    static std::vector<forms::ControlDesign> menuEsercizio(int blankDopoInformazioni);

    // The white box of the reading and writing exercises that holds the
    // verdict's two faces and the two counts with their labels, at (left,
    // top) in the form; its tab index comes first and its labels' follow.
    static std::vector<forms::ControlDesign> riquadroEsiti(double left, double top, int tabIndex,
                                                        double topErrati);

protected:
    // Both counts and both count labels back to 0.
    void azzeraConteggi();
    // The picture for the verdict: the smiling face, or the frowning one.
    void mostraEsito(bool esatto);
    // One more right (or wrong) answer, shown in its label.
    void contaEsatto();
    void contaErrato();
    // A number from 1 to the level's bound, each equally likely.
    std::int16_t estraiNumero() const;

    // The verdict on one answer: its picture, one more in its count, its sound.
    void registraEsito(bool esatto);

    // What the reading and writing exercises share: the question in Label3,
    // the answer box Text1, judged when Enter is released, and BottoneAvanti
    // for the next question.
    static constexpr int kTastoIndietro = 8; // Backspace, as KeyPress sees it
    static constexpr int kTastoInvio = 13;   // Enter (Return or the keypad's)
    // The answer box emptied and focused, ready for a new question.
    void preparaRisposta();
    // Enter released over an answer box that holds something.
    bool daGiudicare(int keyCode) const;
    // The verdict, then: a right answer locks the box and opens BottoneAvanti;
    // a wrong one leaves the text in the box, focused, to be corrected.
    void esitoRisposta(bool esatta);
    // The box opens again and BottoneAvanti closes, before the next question.
    void riapriRisposta();
    // The longest numerals of the highest level take a smaller question font.
    void adattaCarattereDomanda();

    bool onCloseRequest() override;
    void dopoTraduzione() override;

private:
    void MenuAzzera_Click();
    // A count label's caption, and its accessible name built with the label
    // that names the count.
    void mostraConteggio(const QString& conteggio, const QString& testo);
    void nominaConteggi();
};
