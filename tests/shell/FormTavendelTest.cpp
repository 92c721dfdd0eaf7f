// The life every form of the program shares: the form's own first steps,
// the translation, the fitting to 75 % of the screen, the colour, its own
// last steps; covering the screen on Activate; rescaling on Resize.

#include "TestProgram.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Random.h"
#include "language/modLanguageSupport.h"
#include "shell/FormTavendel.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QTest>

#include <array>

namespace {

constexpr quint32 kDesignColour = 0x123456; // in no palette entry
constexpr std::uint64_t kSeed = 5;

using Geometry = std::array<double, 4>;

class FormDiVita : public FormTavendel
{
public:
    explicit FormDiVita(bool colourAtLoad)
        : FormTavendel({.name = QStringLiteral("FormDiVita"), .clientWidth = 8220, .clientHeight = 5730,
                        .backColor = kDesignColour,
                        .controls = {{.name = QStringLiteral("Label1"), .caption = QStringLiteral("Ciao"),
                                      .left = 1200, .top = 120, .width = 6195, .height = 3975}}},
                       colourAtLoad)
    {}

    QStringList steps; // what the form looked like at each step of its life

protected:
    void primaDellaTraduzione() override { note(QStringLiteral("own first steps")); }
    void caricamento() override { note(QStringLiteral("own last steps")); }
    void attivazione() override { note(QStringLiteral("activated")); }

private:
    void note(const QString& name)
    {
        const clsResize* fitter = Stato().objResize();
        steps << QStringLiteral("%1: %2, %3 %4 %5 %6, %7, %8")
                     .arg(name, control(QStringLiteral("Label1")).caption())
                     .arg(left()).arg(top()).arg(width()).arg(height())
                     .arg(backColor(), 0, 16)
                     .arg(fitter && fitter->SourceForm() == this ? "fitted" : "not fitted");
    }
};

FormDiVita& show(TestProgram& program, bool colourAtLoad)
{
    program.writeFile(QStringLiteral("Prova.lng"), "[FormDiVita]\r\nLabel1.Caption=\"Hello\"\r\n");
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Prova"));
    forms::Application::instance().registerForm(QStringLiteral("FormDiVita"), [colourAtLoad] {
        return std::make_unique<FormDiVita>(colourAtLoad);
    });
    return static_cast<FormDiVita&>(program.show(QStringLiteral("FormDiVita")));
}

// A form that leaves again during its own Load.
class FormFugace : public FormTavendel
{
public:
    FormFugace() : FormTavendel({.name = QStringLiteral("FormFugace"), .clientWidth = 3000, .clientHeight = 2000}) {}

protected:
    void caricamento() override { forms::Application::instance().unload(*this); }
};

Geometry geometryOf(const forms::Control& control)
{
    return {control.left(), control.top(), control.width(), control.height()};
}

} // namespace

class FormTavendelTest : public QObject
{
    Q_OBJECT

private slots:
    void lifeOfAForm()
    {
        TestProgram program(kSeed);
        const quint32 paletteColour = ModuloColoriSuoni::ColoreCasuale();
        forms::randomize(kSeed);
        FormDiVita& form = show(program, true);
        // Loaded at 75 % of 15360 x 11520 twips, centred, translated and coloured.
        const QString colour = QString::number(paletteColour, 16);
        QCOMPARE(form.steps, QStringList({"own first steps: Ciao, 0 0 8220 5730, 123456, not fitted",
                                          "own last steps: Hello, 1920 1440 11520 8640, " + colour + ", fitted",
                                          "activated: Hello, 0 0 15360 11520, " + colour + ", fitted"}));
        // The controls followed the client area (the screen less the window's frame).
        forms::Control& label = form.control(QStringLiteral("Label1"));
        QCOMPARE(label.width(), 6195 * form.scaleWidth() / 8220);
        QCOMPARE(label.height(), 3975 * form.scaleHeight() / 5730);

        // A move to a form that unloads itself during its Load leaves this one
        // in place, still fitted to its window.
        forms::Application::instance().registerForm(QStringLiteral("FormFugace"),
                                                    [] { return std::make_unique<FormFugace>(); });
        QCOMPARE(forms::Application::instance().switchTo(QStringLiteral("FormFugace"), form), nullptr);
        TestProgram::settle();
        // The pupil drags the window back to its design client size: 548 x 382 pixels.
        form.window()->resize(548, 382);
        QTRY_COMPARE(geometryOf(label), (Geometry{1200, 120, 6195, 3975}));
    }

    void aFormThatColoursItselfLaterKeepsItsColour()
    {
        TestProgram program(kSeed);
        const float next = forms::rnd();
        forms::randomize(kSeed);
        QCOMPARE(show(program, false).backColor(), kDesignColour);
        QCOMPARE(forms::rnd(), next);
    }
};

QTEST_MAIN(FormTavendelTest)
#include "FormTavendelTest.moc"
