#include "RegistroForme.h"

#include "FormAvvio.h"
#include "FormMenu.h"

#include "exercises/Form1.h"
#include "exercises/Form2.h"
#include "exercises/Form3.h"

#include <memory>

namespace {
template<typename FormClass>
VoceEsercizio voce(double colonna, bool livelliInLettere, std::array<BottoneLivello, kLivelli.size()> bottoni)
{
    return {FormClass::design().name, [] { return std::make_unique<FormClass>(); }, colonna, livelliInLettere,
            bottoni};
}
} // namespace

const std::vector<VoceEsercizio>& esercizi()
{
    static const std::vector<VoceEsercizio> voci{
        voce<Form1>(120, true,
                    {{{"Command2", 2}, {"Command4", 1}, {"Command3", 3}, {"Command5", 4}, {"Command6", 5}}}),
        voce<Form2>(2760, false,
                    {{{"Command10", 9}, {"Command11", 10}, {"Command9", 8}, {"Command8", 7}, {"Command7", 6}}}),
        voce<Form3>(5400, false,
                    {{{"Command13", 16}, {"Command12", 15}, {"Command14", 17}, {"Command15", 18}, {"Command16", 19}}}),
    };
    return voci;
}

const std::array<double, kLivelli.size()>& righeLivelli()
{
    static const std::array<double, kLivelli.size()> righe{480, 1095, 1680, 2280, 2880};
    return righe;
}

void RegistraForme()
{
    auto& forms = forms::Application::instance();
    forms.registerForm<FormAvvio>();
    forms.registerForm<FormMenu>();
    for (const VoceEsercizio& esercizio : esercizi())
        forms.registerForm(esercizio.forma, esercizio.crea);
}
