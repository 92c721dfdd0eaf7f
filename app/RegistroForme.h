#pragma once

#include "exercises/Livelli.h"
#include "forms/Application.h"

#include <QString>

#include <array>
#include <vector>

// The program's exercises, each declared once: its form, and where the main
// menu offers it, a column of one button for each level.
struct BottoneLivello
{
    const char* nome;
    int tabIndex;
};

struct VoceEsercizio
{
    QString forma; // the name its form's design gives it
    forms::Application::Factory crea;
    double colonna; // the Left of its column on the menu, in twips
    // The reading column names its levels by their letters, the others by
    // their largest number.
    bool livelliInLettere;
    std::array<BottoneLivello, kLivelli.size()> bottoni; // in the order of kLivelli
};

const std::vector<VoceEsercizio>& esercizi();

// The Top of each level's row of buttons on the menu, in twips, in the order of kLivelli.
const std::array<double, kLivelli.size()>& righeLivelli();

// Tells the forms runtime how to make each of the program's five forms.
void RegistraForme();
