#pragma once

#include <QString>

namespace forms {
class Form;
}

// The few procedures that several forms call: start-up, the About message,
// the two confirmations and the key upper-casing.
namespace Modulo1 {

// The title of every message box.
inline const QString kTitolo = QStringLiteral("Tavendel");

// Starts the program; false when another copy already runs and this one
// must end at once, silently.
bool Main();

// The About message: the author block, then the lines of the current
// language, when there are any, under a line of hyphens.
QString TestoInformazioni();
void MostraInformazioni();

// Asks whether to quit; on Yes the program ends at once.
void ConfermaUscita();

// Asks whether to leave the exercise; on Yes the main menu replaces it.
void TornaAlMenu(forms::Form& esercizio);

// Small letters a to z become capitals, in place; the resulting code is returned.
int Maiuscolo(int& KeyAscii);

} // namespace Modulo1
