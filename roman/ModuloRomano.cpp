#include "roman/ModuloRomano.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace ModuloRomano {
namespace {

enum class Prova { Almeno, Uguale };

struct Passo {
    std::string_view testo;
    int valore;
    Prova prova;
    int volte;
    std::string NumeraleInGruppi::*gruppo;
};

// M, C, X and I may stand up to three times in a row; every other token once.
constexpr int kFinoATre = 3;
constexpr int kUnaVolta = 1;

// The order is the rule: it decides which token a remainder takes first and
// therefore where the subtractive pairs appear. "IX " and "IV " test for
// equality, which is enough because no remainder above 9 survives "X " and
// none above 4 survives "V ".
constexpr std::array<Passo, 13> kPassi{{
    {"M ", 1000, Prova::Almeno, kFinoATre, &NumeraleInGruppi::migliaia},
    {"CM ", 900, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::migliaia},
    {"D ", 500, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::centinaia},
    {"CD ", 400, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::centinaia},
    {"C ", 100, Prova::Almeno, kFinoATre, &NumeraleInGruppi::centinaia},
    {"XC ", 90, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::centinaia},
    {"L ", 50, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::decine},
    {"XL ", 40, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::decine},
    {"X ", 10, Prova::Almeno, kFinoATre, &NumeraleInGruppi::decine},
    {"IX ", 9, Prova::Uguale, kUnaVolta, &NumeraleInGruppi::unita},
    {"V ", 5, Prova::Almeno, kUnaVolta, &NumeraleInGruppi::unita},
    {"IV ", 4, Prova::Uguale, kUnaVolta, &NumeraleInGruppi::unita},
    {"I ", 1, Prova::Almeno, kFinoATre, &NumeraleInGruppi::unita},
}};

bool Regge(const Passo& passo, int resto)
{
    return passo.prova == Prova::Almeno ? resto >= passo.valore : resto == passo.valore;
}

// Both conversions must produce the very same tokens, so they share one walk
// through the table and differ only in where they put each token.
template <typename Visita>
void PercorriPassi(std::int16_t numero, Visita visita)
{
    int resto = numero;
    for (const Passo& passo : kPassi) {
        for (int prova = 0; prova < passo.volte; ++prova) {
            if (Regge(passo, resto)) {
                visita(passo);
                resto -= passo.valore;
            }
        }
    }
}

struct Lettera {
    char maiuscola;
    int valore;
    // A letter met when the total read so far is at least this large stands
    // before a bigger one and counts negatively. M never does.
    std::optional<int> sogliaSottrazione;
};

constexpr std::array<Lettera, 7> kLettere{{
    {'I', 1, 3},
    {'V', 5, 9},
    {'X', 10, 30},
    {'L', 50, 100},
    {'C', 100, 300},
    {'D', 500, 500},
    {'M', 1000, std::nullopt},
}};

// Only ASCII letters are numerals; std::toupper would depend on the locale.
char InMaiuscolo(char carattere)
{
    constexpr char kDistanzaMaiuscole = 'a' - 'A';
    return carattere >= 'a' && carattere <= 'z' ? static_cast<char>(carattere - kDistanzaMaiuscole)
                                                : carattere;
}

const Lettera* CercaLettera(char carattere)
{
    const char maiuscola = InMaiuscolo(carattere);
    const auto trovata = std::find_if(kLettere.begin(), kLettere.end(),
                                      [maiuscola](const Lettera& l) { return l.maiuscola == maiuscola; });
    return trovata == kLettere.end() ? nullptr : &*trovata;
}

int Contributo(const Lettera& lettera, int totale)
{
    const bool sottrae = lettera.sogliaSottrazione && totale >= *lettera.sogliaSottrazione;
    return sottrae ? -lettera.valore : lettera.valore;
}

// The text's characters other than blanks, small letters made capitals.
std::string LettereDi(std::string_view testo)
{
    std::string lettere;
    for (const char carattere : testo)
        if (carattere != ' ')
            lettere += InMaiuscolo(carattere);
    return lettere;
}

} // namespace

std::string TraduciRomano(std::int16_t Numero)
{
    std::string numerale;
    PercorriPassi(Numero, [&numerale](const Passo& passo) { numerale += passo.testo; });
    return numerale;
}

NumeraleInGruppi TraduciRomanoInGruppi(std::int16_t Numero)
{
    NumeraleInGruppi risultato;
    PercorriPassi(Numero, [&risultato](const Passo& passo) {
        risultato.numerale += passo.testo;
        (risultato.*passo.gruppo) += passo.testo;
    });
    return risultato;
}

std::int16_t LeggiRomano(std::string_view Testo)
{
    // The total is a 16-bit value that saturates at its maximum instead of
    // overflowing: the writing exercise's 20 characters stay far below it
    // (at most 20000), but a text of any length must still give a defined
    // answer. It never drops below 0, since a letter is only subtracted from
    // a total at least as large as its value.
    constexpr int kTotaleMassimo = std::numeric_limits<std::int16_t>::max();
    int totale = 0;
    for (auto carattere = Testo.rbegin(); carattere != Testo.rend(); ++carattere) {
        if (const Lettera* lettera = CercaLettera(*carattere)) {
            totale = std::min(totale + Contributo(*lettera, totale), kTotaleMassimo);
        }
    }
    return static_cast<std::int16_t>(totale);
}

bool InFormaCorretta(std::string_view Testo, std::int16_t Numero)
{
    return LettereDi(Testo) == LettereDi(TraduciRomano(Numero));
}

} // namespace ModuloRomano
