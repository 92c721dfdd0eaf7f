#pragma once

#include <QLatin1StringView>

#include <array>
#include <cstdint>

// The five levels every exercise offers, easiest first: the largest number a
// question may use, and the Roman letters its numerals need (the writing
// exercise takes no others, and the menu names the reading levels by them).
struct Livello
{
    std::int16_t numeroMassimo;
    QLatin1StringView lettere;
};

inline const std::array<Livello, 5> kLivelli{{
    {38, QLatin1StringView("IVX")},
    {88, QLatin1StringView("IVXL")},
    {388, QLatin1StringView("IVXLC")},
    {888, QLatin1StringView("IVXLCD")},
    {3000, QLatin1StringView("IVXLCDM")},
}};

// The level whose bound this is; nullptr for a bound that is no level.
inline const Livello* livelloDi(std::int16_t numeroMassimo)
{
    for (const Livello& livello : kLivelli)
        if (livello.numeroMassimo == numeroMassimo)
            return &livello;
    return nullptr;
}
