#include "Modulo1.h"

#include "SharedState.h"

#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "forms/Random.h"
#include "forms/SingleInstance.h"
#include "language/modLanguageSupport.h"

#include <QStringList>

namespace Modulo1 {
namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kTrattini = QString(23, QLatin1Char('-'));

QString bloccoAutore()
{
    return QStringList{
        QStringLiteral("Tavendel, software libero  "),
        QLatin1Char(' ') + kTrattini + QLatin1Char(' '),
        QStringLiteral("README.md e LICENSE: nella cartella del programma"),
        QStringLiteral("mail: nessuna, le istruzioni sono nel README.md"),
    }.join(kCrLf);
}

bool chiedi(const QString& domanda)
{
    return forms::msgBox({kTitolo, domanda, forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question})
        == forms::MsgBoxResult::Yes;
}
} // namespace

bool Main()
{
    if (forms::previousInstance())
        return false;
    forms::randomizeFromClock();
    Stato().setSuoniAttivati(true);
    forms::Application::instance().show(QStringLiteral("FormAvvio"));
    return true;
}

QString TestoInformazioni()
{
    QString righe;
    for (const char* id : {"9996", "9997", "9998", "9999"}) {
        const QString riga = modLanguageSupport::MLSGetMessage(QString::fromLatin1(id));
        if (!riga.isEmpty())
            righe += riga + kCrLf;
    }
    if (!righe.isEmpty())
        righe = kCrLf + kTrattini + kCrLf + righe;
    return bloccoAutore() + righe;
}

void MostraInformazioni()
{
    forms::msgBox({kTitolo, TestoInformazioni(), forms::MsgBoxButtons::OkOnly,
                   forms::MsgBoxIcon::Information});
}

void ConfermaUscita()
{
    if (!chiedi(modLanguageSupport::MLSGetMessage(QStringLiteral("0001"))))
        return;
    Stato().rilasciaObjResize();
    forms::Application::instance().end();
}

void TornaAlMenu(forms::Form& esercizio)
{
    if (!chiedi(modLanguageSupport::MLSGetMessage(QStringLiteral("0003"))))
        return;
    forms::Application::instance().switchTo(QStringLiteral("FormMenu"), esercizio);
}

int Maiuscolo(int& KeyAscii)
{
    constexpr int kCaseOffset = 'a' - 'A';
    if (KeyAscii >= 'a' && KeyAscii <= 'z')
        KeyAscii -= kCaseOffset;
    return KeyAscii;
}

} // namespace Modulo1
