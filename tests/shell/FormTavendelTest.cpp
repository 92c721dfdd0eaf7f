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

namespace {

constexpr quint32 kDesignColour = 0x123456; // in no palette entry

// What the form looked like at one step of its life.
struct Step
{
    QString name;
    QString caption; // Label1's
    double left, top, width, height;
    quint32 colour;
    bool fitterIsMine;
};

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

    std::vector<Step> steps;

protected:
    void primaDellaTraduzione() override { note(QStringLiteral("own first steps")); }
    void caricamento() override { note(QStringLiteral("own last steps")); }
    void attivazione() override { note(QStringLiteral("activated")); }

private:
    void note(const QString& name)
    {
        const clsResize* fitter = Stato().objResize();
        steps.push_back({name, control(QStringLiteral("Label1")).caption(), left(), top(), width(),
                         height(), backColor(), fitter && fitter->SourceForm() == this});
    }
};

} // namespace

class FormTavendelTest : public QObject
{
    Q_OBJECT

private slots:
    void loadTranslatesThenFitsThenColours();
    void activateCoversTheScreen();
    void aFormThatColoursItselfLaterKeepsItsColour();
    void resizeRescalesTheControls();

private:
    FormDiVita& show(TestProgram& program, bool colourAtLoad = true);
};

FormDiVita& FormTavendelTest::show(TestProgram& program, bool colourAtLoad)
{
    program.writeFile(QStringLiteral("Prova.lng"), "[FormDiVita]\r\nLabel1.Caption=\"Hello\"\r\n");
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Prova"));
    forms::Application::instance().registerForm(QStringLiteral("FormDiVita"), [colourAtLoad] {
        return std::make_unique<FormDiVita>(colourAtLoad);
    });
    return static_cast<FormDiVita&>(program.show(QStringLiteral("FormDiVita")));
}

void FormTavendelTest::loadTranslatesThenFitsThenColours()
{
    TestProgram program(5);
    const auto expectedColour = [] {
        forms::randomize(5);
        return ModuloColoriSuoni::ColoreCasuale();
    }();
    forms::randomize(5);
    FormDiVita& form = show(program);

    const Step& first = form.steps.at(0);
    QCOMPARE(first.name, QStringLiteral("own first steps"));
    QCOMPARE(first.caption, QStringLiteral("Ciao"));
    QCOMPARE(first.width, 8220.0);
    QCOMPARE(first.colour, kDesignColour);
    QVERIFY(!first.fitterIsMine);

    // 75 % of 15360 x 11520 twips, centred; translated, coloured.
    const Step& last = form.steps.at(1);
    QCOMPARE(last.name, QStringLiteral("own last steps"));
    QCOMPARE(last.caption, QStringLiteral("Hello"));
    QCOMPARE((std::array{last.left, last.top, last.width, last.height}),
             (std::array{1920.0, 1440.0, 11520.0, 8640.0}));
    QCOMPARE(last.colour, expectedColour);
    QVERIFY(last.fitterIsMine);
}

void FormTavendelTest::activateCoversTheScreen()
{
    TestProgram program;
    FormDiVita& form = show(program);
    QCOMPARE(form.steps.size(), std::size_t(3));
    const Step& activated = form.steps.back();
    QCOMPARE(activated.name, QStringLiteral("activated"));
    QCOMPARE((std::array{activated.left, activated.top, activated.width, activated.height}),
             (std::array{0.0, 0.0, 15360.0, 11520.0}));
    // The controls followed the client area (the screen less the window's frame).
    forms::Control& label = form.control(QStringLiteral("Label1"));
    QCOMPARE(label.width(), 6195 * form.scaleWidth() / 8220);
    QCOMPARE(label.height(), 3975 * form.scaleHeight() / 5730);
}

void FormTavendelTest::aFormThatColoursItselfLaterKeepsItsColour()
{
    TestProgram program(9);
    const float next = forms::rnd();
    forms::randomize(9);
    FormDiVita& form = show(program, false);
    QCOMPARE(form.backColor(), kDesignColour);
    QCOMPARE(forms::rnd(), next);
}

void FormTavendelTest::resizeRescalesTheControls()
{
    TestProgram program;
    FormDiVita& form = show(program);
    // The pupil drags the window back to its design client size: 548 x 382 pixels.
    form.window()->resize(548, 382);
    forms::Control& label = form.control(QStringLiteral("Label1"));
    QTRY_COMPARE((std::array{label.left(), label.top(), label.width(), label.height()}),
                 (std::array{1200.0, 120.0, 6195.0, 3975.0}));
}

QTEST_MAIN(FormTavendelTest)
#include "FormTavendelTest.moc"
