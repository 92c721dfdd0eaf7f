#pragma once

#include "forms/Application.h"
#include "shell/FormTavendel.h"
#include "shell/SharedState.h"

#include <cstdint>
#include <memory>

// A bare form standing in for an exercise: the menu's tests look at the move
// from the menu to an exercise, not at the exercise itself.
class EsercizioFinto : public FormTavendel
{
public:
    explicit EsercizioFinto(const QString& nome)
        : FormTavendel(forms::FormSpec{.name = nome, .clientWidth = 9540, .clientHeight = 6345})
    {}

    // Puts stand-ins in the place of Form1, Form2 and Form3; each writes down
    // the level it finds when it is made, that is before its Load runs.
    static void sostituisciEsercizi(std::int16_t& livelloAllaCreazione)
    {
        for (const char* nome : {"Form1", "Form2", "Form3"}) {
            const QString forma = QString::fromLatin1(nome);
            forms::Application::instance().registerForm(forma, [forma, &livelloAllaCreazione] {
                livelloAllaCreazione = Stato().NumeroMassimo();
                return std::make_unique<EsercizioFinto>(forma);
            });
        }
    }
};
