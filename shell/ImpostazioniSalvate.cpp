#include "ImpostazioniSalvate.h"

#include "forms/Places.h"
#include "language/modLanguageSupport.h"

#include <QDir>
#include <QFileInfo>

namespace ImpostazioniSalvate {
namespace {

QString leggi(const QString& file)
{
    return modLanguageSupport::MLSReadIni(file, Sezione.toString(), ChiaveSoloFormaCorretta.toString())
        .value_or(QString());
}

int scrivi(const QString& file, const QString& valore)
{
    // The user's configuration folder may not exist before the first write.
    QDir().mkpath(QFileInfo(file).absolutePath());
    return modLanguageSupport::MLSWriteIni(file, Sezione.toString(), ChiaveSoloFormaCorretta.toString(), valore);
}

} // namespace

bool LeggiSoloFormaCorretta()
{
    return leggi(forms::places().settingsToRead()) == QLatin1String("1");
}

int ScriviSoloFormaCorretta(bool attiva)
{
    const QString file = forms::places().settingsToWrite();
    if (file.isEmpty() || !RiportaImpostazioni())
        return 0;
    return scrivi(file, attiva ? QStringLiteral("1") : QStringLiteral("0"));
}

bool RiportaImpostazioni()
{
    const forms::Places luoghi = forms::places();
    const QString letto = luoghi.settingsToRead();
    const QString nuovo = luoghi.settingsToWrite();
    if (nuovo.isEmpty() || nuovo == letto)
        return true;
    const QString lingua = modLanguageSupport::readLanguageSetting();
    if (!lingua.isEmpty() && modLanguageSupport::writeLanguageSetting(lingua) == 0)
        return false;
    const QString soloFormaCorretta = leggi(letto);
    return soloFormaCorretta.isEmpty() || scrivi(nuovo, soloFormaCorretta) != 0;
}

} // namespace ImpostazioniSalvate
