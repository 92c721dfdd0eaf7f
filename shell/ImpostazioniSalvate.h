#pragma once

#include <QStringView>

// The teacher's strict-judging switch, remembered in the settings file that
// holds the language choice, in a section of its own: a file without it
// (every settings file older than the switch) means the switch is off.
namespace ImpostazioniSalvate {

inline constexpr QStringView Sezione = u"Options";
inline constexpr QStringView ChiaveSoloFormaCorretta = u"StrictNumerals";

bool LeggiSoloFormaCorretta();
// Nonzero when stored, as MLSWriteIni.
int ScriviSoloFormaCorretta(bool attiva);

// Settings go to the user's own file once the program's folder cannot take
// them (and always when installed); until its first write the shipped file
// is the one read. That first write must not make the other setting fall
// back to nothing: the new file first takes what the file read so far
// holds. False when that cannot be written.
bool RiportaImpostazioni();

} // namespace ImpostazioniSalvate
