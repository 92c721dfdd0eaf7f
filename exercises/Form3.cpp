#include "Form3.h"

#include "roman/ModuloRomano.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include "forms/NumberFormat.h"
#include "forms/Random.h"

#include <algorithm>
#include <cmath>
#include <utility>

using forms::Alignment;
using forms::ControlKind;
using forms::ControlDesign;

namespace {
const QString kCarte = QStringLiteral("Label3");
const QString kValori = QStringLiteral("Label4");
const QString kAvanti = QStringLiteral("BottoneAvanti");
const QString kRiquadro = QStringLiteral("PicturesattiErrati");
const QString kArial = QStringLiteral("Arial");

constexpr int kTastoSpazio = 32;
constexpr int kTastoEsc = 27;

// The two columns at the design size, in twips: both start on the same top,
// the cards 525 apart and the value labels 735 apart.
constexpr double kPrimoTop = 105;
constexpr double kPassoCarte = 525;
constexpr double kPassoValori = 735;
constexpr double kLarghezzaColonna = 2505;
constexpr double kAltezzaRiga = 375;
constexpr quint32 kBianco = 0xFFFFFF;

const std::array<QString, Form3::kCoppie> kMesi{
    QStringLiteral("GENNAIO"), QStringLiteral("FEBBRAIO"), QStringLiteral("MARZO"),
    QStringLiteral("APRILE"),  QStringLiteral("MAGGIO"),   QStringLiteral("GIUGNO"),
    QStringLiteral("LUGLIO"),
};

ControlDesign valoreDisegnato(int i)
{
    return {.name = kValori, .kind = ControlKind::Label, .index = i,
            .caption = QStringLiteral("Label4"), .font = {kArial, 15.75, true},
            .left = 2940, .top = kPrimoTop + kPassoValori * i,
            .width = kLarghezzaColonna, .height = kAltezzaRiga,
            .alignment = Alignment::Center, .backColor = kBianco, .border = true,
            .focusable = true, .accessibleDescription = QStringLiteral("Numero: posa qui la carta giusta")};
}

ControlDesign cartaDisegnata(int i)
{
    return {.name = kCarte, .kind = ControlKind::Label, .index = i, .caption = kMesi[i],
            .font = {kArial, 14.25, true},
            .left = 105, .top = kPrimoTop + kPassoCarte * i,
            .width = kLarghezzaColonna, .height = kAltezzaRiga,
            .alignment = Alignment::Center, .backColor = kBianco, .border = true,
            .pointer = QStringLiteral("pointer_plane"), .dragAutomatic = true,
            .focusable = true, .accessibleDescription = QStringLiteral("Carta da posare sul suo numero")};
}

std::int16_t arrotonda(double twips)
{
    // To the nearest, halves to even, like every other twips value of the program.
    return static_cast<std::int16_t>(std::nearbyint(twips));
}
} // namespace

forms::FormDesign Form3::design()
{
    forms::FormDesign decl{
        .name = QStringLiteral("Form3"),
        .clientWidth = 8040,
        .clientHeight = 5340,
        .caption = QStringLiteral("Tavendel"),
        .font = {QStringLiteral("MS Sans Serif"), 8.25, true},
        .backColor = 0x0080FF,
        .icon = QStringLiteral("face_right"),
        .controls = {
            {.name = kRiquadro, .kind = ControlKind::PictureBox,
             .left = 5640, .top = 480, .width = 2295, .height = 2175, .backColor = kBianco},
            {.name = QStringLiteral("EtichettaErrati"), .kind = ControlKind::Label,
             .caption = QStringLiteral("0"), .font = {kArial, 20.25, true},
             .left = 1440, .top = 1605, .width = 615, .height = 615, .container = kRiquadro,
             .alignment = Alignment::Right, .transparent = true},
            {.name = QStringLiteral("EtichettaEsatti"), .kind = ControlKind::Label,
             .caption = QStringLiteral("0"), .font = {kArial, 20.25, true},
             .left = 1440, .top = 1080, .width = 615, .height = 615, .container = kRiquadro,
             .alignment = Alignment::Right, .transparent = true},
            {.name = QStringLiteral("Label2"), .kind = ControlKind::Label,
             .caption = QStringLiteral("Errati"), .font = {kArial, 12, true},
             .left = 120, .top = 1710, .width = 1215, .height = 495, .container = kRiquadro,
             .alignment = Alignment::Center, .transparent = true},
            {.name = QStringLiteral("Label1"), .kind = ControlKind::Label,
             .caption = QStringLiteral("Esatti"), .font = {kArial, 12, true},
             .left = 120, .top = 1185, .width = 1215, .height = 375, .container = kRiquadro,
             .alignment = Alignment::Center, .transparent = true},
            {.name = QStringLiteral("ComandoIconaSi"), .kind = ControlKind::Image,
             .left = 480, .top = 120, .width = 1095, .height = 975, .container = kRiquadro,
             .picture = QStringLiteral("face_right"), .accessibleName = QStringLiteral("Esatto")},
            {.name = QStringLiteral("ComandoIconaNo"), .kind = ControlKind::Image,
             .left = 480, .top = 120, .width = 1095, .height = 975, .container = kRiquadro,
             .picture = QStringLiteral("face_wrong"), .visible = false,
             .accessibleName = QStringLiteral("Sbagliato")},
            {.name = kAvanti, .kind = ControlKind::CommandButton,
             .caption = QStringLiteral("avanti"), .font = {kArial, 14.25, true},
             .left = 6000, .top = 3960, .width = 1905, .height = 855,
             .picture = QStringLiteral("arrow_next"), .enabled = false, .visible = false},
        },
    };
    for (int i = 0; i < kCoppie; ++i)
        decl.controls.push_back(valoreDisegnato(i));
    for (int i = 0; i < kCoppie; ++i)
        decl.controls.push_back(cartaDisegnata(i));
    const std::vector<forms::ControlDesign> menu = menuEsercizio(11);
    decl.controls.insert(decl.controls.end(), menu.begin(), menu.end());
    return decl;
}

Form3::Form3() : Esercizio(design(), false)
{
    onDragDrop(kValori, [this](int index, forms::Control& source, double, double) {
        Label4_DragDrop(index, source);
    });
    onClick(kAvanti, [this](int) { BottoneAvanti_Click(); });

    onClick(kCarte, [this](int index) { Label3_Click(index); });
    onClick(kValori, [this](int index) { Label4_Click(index); });
    onKeyDown(kCarte, [this](int index, int keyCode, int) {
        tasto(keyCode, [this, index] { Label3_Click(index); });
    });
    onKeyDown(kValori, [this](int index, int keyCode, int) {
        tasto(keyCode, [this, index] { Label4_Click(index); });
    });
    // A click anywhere else, the form itself included, puts a picked card back.
    onClick(name(), [this](int) { rimettiCarta(); });
    for (const forms::Control* altro : controls())
        if (!altro->isMenu() && altro->name() != kCarte && altro->name() != kValori
            && altro->name() != kAvanti)
            onClick(altro->name(), [this](int) { rimettiCarta(); });
}

void Form3::caricamento()
{
    control(kAvanti).setVisible(true);
    azzeraConteggi();
}

void Form3::attivazione()
{
    misuraRighe();
    allineaValori();
    m_righeMisurate = true;
    NuovaSerie();
}

void Form3::dopoRidimensionamento()
{
    // Scaling puts every card and value label back on its design row; the
    // round's rows are measured again at the new size and taken up again.
    if (!m_righeMisurate || isMinimized() || !adattamento())
        return;
    misuraRighe();
    allineaValori();
    allineaCarte();
}

void Form3::misuraRighe()
{
    const double primo = carta(0).top();
    PrimaRiga = arrotonda(primo);
    PassoRiga = arrotonda(carta(1).top() - primo);
}

std::int16_t Form3::topRiga(int riga) const
{
    // 16-bit, as the rows are kept: a full-screen form stays far below the limit.
    return static_cast<std::int16_t>(PrimaRiga + riga * PassoRiga);
}

void Form3::allineaValori()
{
    for (int i = 0; i < kCoppie; ++i)
        valore(i).setTop(topRiga(i));
}

void Form3::allineaCarte()
{
    for (int i = 0; i < kCoppie; ++i)
        carta(i).setTop(topRiga(m_rigaDellaCarta[i]));
}

void Form3::NuovaSerie()
{
    rimettiCarta();
    setBackColor(ModuloColoriSuoni::ColoreCasuale());

    std::array<std::int16_t, kCoppie> numeri{};
    for (int k = 0; k < kCoppie; ++k) {
        const auto giaEstratti = numeri.begin() + k;
        do
            numeri[k] = estraiNumero();
        while (std::find(numeri.begin(), giaEstratti, numeri[k]) != giaEstratti);
    }

    CoppieTrovate = 0;
    for (int i = 0; i < kCoppie; ++i) {
        valore(i).setCaption(forms::formatGrouped(numeri[i]));
        carta(i).setCaption(QString::fromStdString(ModuloRomano::TraduciRomano(numeri[i])));
        carta(i).setEnabled(true);
    }
    ScombiccheraPosti();
    ordineTastiera();
}

void Form3::ScombiccheraPosti()
{
    // The placed cards are marked here rather than by a Top of 0, so that no
    // row geometry, however small the form, can make the search go round for ever.
    std::array<bool, kCoppie> posata{};
    for (int riga = 0; riga < kCoppie; ++riga) {
        int k = forms::randomIndex(kCoppie);
        while (posata[k])
            k = (k + 1) % kCoppie;
        posata[k] = true;
        m_rigaDellaCarta[k] = riga;
        carta(k).setTop(topRiga(riga));
    }
}

void Form3::ordineTastiera()
{
    std::vector<forms::Control*> catena(kCoppie);
    for (int i = 0; i < kCoppie; ++i)
        catena[m_rigaDellaCarta[i]] = &carta(i);
    for (int i = 0; i < kCoppie; ++i)
        catena.push_back(&valore(i));
    catena.push_back(&control(kAvanti));
    setTabOrder(catena);
    catena.front()->setFocus();
}

void Form3::Label4_DragDrop(int Index, forms::Control& Source)
{
    rimettiCarta();
    if (Source.index() != Index) {
        registraEsito(false);
        return;
    }
    valore(Index).setCaption(Source.caption());
    Source.setCaption(QString());
    Source.setEnabled(false);
    registraEsito(true);
    if (++CoppieTrovate == kCoppie) {
        forms::Control& avanti = control(kAvanti);
        avanti.setEnabled(true);
        avanti.setFocus();
    }
}

void Form3::BottoneAvanti_Click()
{
    control(kAvanti).setEnabled(false);
    NuovaSerie();
}

void Form3::Label3_Click(int Index)
{
    forms::Control& scelta = carta(Index);
    if (scelta.isEnabled())
        prendiCarta(scelta);
}

void Form3::Label4_Click(int Index)
{
    if (m_cartaInMano)
        Label4_DragDrop(Index, *m_cartaInMano);
}

void Form3::tasto(int keyCode, const std::function<void()>& conSpazio)
{
    if (keyCode == kTastoSpazio)
        conSpazio();
    else if (keyCode == kTastoEsc)
        rimettiCarta();
}

void Form3::prendiCarta(forms::Control& scelta)
{
    rimettiCarta();
    m_cartaInMano = &scelta;
    scelta.setHighlighted(true);
}

void Form3::rimettiCarta()
{
    if (m_cartaInMano)
        std::exchange(m_cartaInMano, nullptr)->setHighlighted(false);
}

forms::Control& Form3::carta(int indice) const
{
    return control(kCarte, indice);
}

forms::Control& Form3::valore(int indice) const
{
    return control(kValori, indice);
}
