#ifndef TAVENDEL_ROMAN_MODULOROMANO_H
#define TAVENDEL_ROMAN_MODULOROMANO_H

// Writing numbers as Roman numerals and reading typed numerals back.
//
// A numeral text carries one blank after every token, the last included
// ("M CM XC IV " for 1994): the exercises show the text exactly like that.
// Nothing here keeps state; every function may be called from anywhere.

#include <cstdint>
#include <string>
#include <string_view>

namespace ModuloRomano {

// A numeral and the same numeral cut by place. The four groups joined in
// the order thousands, hundreds, tens, units give back `numerale`.
struct NumeraleInGruppi {
    std::string numerale;
    std::string migliaia;
    std::string centinaia;
    std::string decine;
    std::string unita;

    friend bool operator==(const NumeraleInGruppi&, const NumeraleInGruppi&) = default;
};

// Meant for 0 to 3999; 0 and negative numbers give the empty text.
std::string TraduciRomano(std::int16_t Numero);

// The same numeral as TraduciRomano, with its tokens also sorted into groups.
NumeraleInGruppi TraduciRomanoInGruppi(std::int16_t Numero);

// Reads any text, case-insensitively, skipping characters that are not
// Roman letters; a text without any of them reads as 0. Loose spellings read
// to a number too ("IIX" is 8), because the writing exercise accepts every
// text that reads to the number asked for.
std::int16_t LeggiRomano(std::string_view Testo);

// Whether the text is the standard numeral of the number, TraduciRomano's
// letters in TraduciRomano's order, blanks and letter case aside: a strict
// teacher's judge, for which "VV" is not 10 nor "IIX" 8.
bool InFormaCorretta(std::string_view Testo, std::int16_t Numero);

} // namespace ModuloRomano

#endif
