#include "ModuloColoriSuoni.h"

#include "SharedState.h"

#include "forms/Places.h"
#include "forms/Random.h"
#include "forms/SoundPlayer.h"

namespace ModuloColoriSuoni {
namespace {
constexpr int kSuoniEsatti = 4;
}

std::uint32_t ColoreCasuale()
{
    return kTavolozza[forms::randomIndex(int(kTavolozza.size()))];
}

QString percorsoSuono(const QString& file)
{
    return forms::places().soundFile(file);
}

void SuonoEsatto()
{
    if (!Stato().SuoniAttivati())
        return;
    const int n = forms::randomIndex(kSuoniEsatti) + 1;
    forms::soundPlayer().play(percorsoSuono(QStringLiteral("si%1.wav").arg(n)));
}

void SuonoErrato()
{
    if (!Stato().SuoniAttivati())
        return;
    forms::soundPlayer().play(percorsoSuono(QStringLiteral("no.wav")));
}

} // namespace ModuloColoriSuoni
