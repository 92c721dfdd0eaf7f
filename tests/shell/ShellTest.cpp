// What every form shares: its life (its own first steps, the translation,
// the fitting to 75 % of the screen, the colour, its own last steps, then
// covering the screen and rescaling), the About message, the key
// upper-casing, the palette's colours drawn fairly and the sounds played
// only when switched on.

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Random.h"
#include "language/modLanguageSupport.h"
#include "layout/clsResize.h"
#include "shell/FormTavendel.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QRegularExpression>
#include <QTest>

namespace {

constexpr quint32 kDesignColour = 0x123456; // in no palette entry
const QString kCrLf = QStringLiteral("\r\n");
const QString kHyphens(23, u'-');

// A language file of these lines, made current.
void useLanguage(const TestProgram& program, const QByteArray& lines)
{
    program.writeFile(QStringLiteral("Prova.lng"), lines);
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Prova"));
}

class FormDiVita : public FormTavendel
{
public:
    explicit FormDiVita(bool colourAtLoad)
        : FormTavendel({.name = QStringLiteral("FormDiVita"), .clientWidth = 8220, .clientHeight = 5730,
                        .backColor = kDesignColour,
                        .controls = {{.name = QStringLiteral("Label1"), .caption = QStringLiteral("Ciao"),
                                      .left = 1200, .top = 120, .width = 6195, .height = 3975}}}, colourAtLoad)
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
        steps << QStringLiteral("%1: %2, %3 %4 %5 %6, %7, %8, %9")
                     .arg(name, control(QStringLiteral("Label1")).caption())
                     .arg(left()).arg(top()).arg(width()).arg(height()).arg(backColor(), 0, 16)
                     .arg(fitter && fitter->SourceForm() == this ? "fitted" : "not fitted")
                     .arg(window()->isVisible() ? "shown" : "hidden");
    }
};

// A form that leaves again during its own Load.
class FormFugace : public FormTavendel
{
public:
    FormFugace() : FormTavendel({.name = QStringLiteral("FormFugace"), .clientWidth = 3000, .clientHeight = 2000}) {}

protected:
    void caricamento() override { forms::Application::instance().unload(*this); }
};

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        RegistraForme();
        forms::Application& forms = forms::Application::instance();
        for (const bool colourAtLoad : {true, false})
            forms.registerForm(colourAtLoad ? "FormDiVita" : "FormDiVitaSenzaColore",
                               [colourAtLoad] { return std::make_unique<FormDiVita>(colourAtLoad); });
        forms.registerForm(QStringLiteral("FormFugace"), [] { return std::make_unique<FormFugace>(); });
    }

    void lifeOfAForm()
    {
        TestProgram program(5);
        const QString colour = QString::number(ModuloColoriSuoni::ColoreCasuale(), 16); // the seed's first
        forms::randomize(5);
        useLanguage(program, "[FormDiVita]\r\nLabel1.Caption=\"Hello\"\r\n");
        auto& form = static_cast<FormDiVita&>(program.show(QStringLiteral("FormDiVita")));
        // Loaded at 75 % of 15360 x 11520 twips, centred, translated and coloured.
        QCOMPARE(form.steps, QStringList({"own first steps: Ciao, 0 0 8220 5730, 123456, not fitted, hidden",
                                          "own last steps: Hello, 1920 1440 11520 8640, " + colour + ", fitted, hidden",
                                          "activated: Hello, 0 0 15360 11520, " + colour + ", fitted, shown"}));
        // (The controls following the client area is in the golden pictures.)
        forms::Control& label = form.control(QStringLiteral("Label1"));

        // A move to a form that unloads itself during its Load leaves this one
        // in place, still fitted to its window.
        QCOMPARE(forms::Application::instance().switchTo(QStringLiteral("FormFugace"), form), nullptr);
        TestProgram::settle();
        // The pupil drags the window back to its design client size: 548 x 382 pixels.
        form.window()->resize(548, 382);
        QTRY_COMPARE(QRectF(label.left(), label.top(), label.width(), label.height()), QRectF(1200, 120, 6195, 3975));

        // A form that colours itself later keeps its design colour and draws nothing.
        forms::scriptDraws({0.25f});
        QCOMPARE(program.show(QStringLiteral("FormDiVitaSenzaColore")).backColor(), kDesignColour);
        QCOMPARE(forms::rnd(), 0.25f);
    }

    // The author block names no invented person, and no web or e-mail
    // address; then come the language file's lines 9996 to 9999 that are not
    // empty, in their order.
    void aboutBox_data()
    {
        QTest::addColumn<QByteArray>("strings");
        QTest::addColumn<QString>("lines"); // what follows the author block

        const auto block = [](const QStringList& lines) { return kCrLf + kHyphens + kCrLf + lines.join(kCrLf) + kCrLf; };
        QTest::newRow("9996 and 9998 only") << QByteArray("9996=\"Primo\"\r\n9997=\"\"\r\n9998=\"Terzo\"\r\n")
                                            << block({"Primo", "Terzo"});
        QTest::newRow("all four, in their order") << QByteArray("9999=\"D\"\r\n9998=\"C\"\r\n9997=\"B\"\r\n9996=\"A\"\r\n")
                                                  << block({"A", "B", "C", "D"});
        QTest::newRow("none but other ids: the author block alone")
            << QByteArray("0001=\"Esci?\"\r\n9995=\"x\"\r\n") << QString();
    }

    void aboutBox()
    {
        QFETCH(QByteArray, strings);
        QFETCH(QString, lines);
        TestProgram program;
        useLanguage(program, "[Strings]\r\n" + strings);
        Modulo1::MostraInformazioni();

        const QString author = QStringList{"Tavendel, software libero  ", ' ' + kHyphens + ' ',
                                           "README.md e LICENSE: nella cartella del programma",
                                           "mail: nessuna, le istruzioni sono nel README.md"}.join(kCrLf);
        QVERIFY(!author.contains(QRegularExpression(QStringLiteral("@|https?:|www\\.|\\.(com|org|net|it)\\b"))));
        QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>(1, {"Tavendel", author + lines,
                                     forms::MsgBoxButtons::OkOnly, forms::MsgBoxIcon::Information}));
    }

    // Only the 26 small letters change, in the caller's variable too.
    void maiuscolo()
    {
        const std::pair<int, int> keys[] = {{'a', 'A'}, {'z', 'Z'}, {'`', '`'}, {'{', '{'}, {'A', 'A'}, {8, 8}, {0xE0, 0xE0}};
        for (auto [code, result] : keys) // a copy: code is the caller's variable
            QVERIFY2(Modulo1::Maiuscolo(code) == result && code == result, qPrintable(QString::number(code)));
    }

    // The palette's 18 entries are drawn alike: 16 colours, orange and pale
    // magenta standing twice (far within chance at this seed: 5 and 3.5
    // standard deviations).
    void paletteDrawsEveryEntryAlike()
    {
        TestProgram program(20030907);
        QHash<std::uint32_t, int> counts;
        for (int i = 0; i < 18000; ++i)
            ++counts[ModuloColoriSuoni::ColoreCasuale()];
        QCOMPARE(counts.size(), 16);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            QVERIFY2(std::abs(it.value() - (it.key() == 0x0080FF || it.key() == 0xFFC0FF ? 2000 : 1000)) < 150,
                     qPrintable(QString::number(it.key(), 16)));
    }

    // Right answers play the four files alike, from the program's folder
    // (a fifth file, or another sound, would take its share from them);
    // the wrong-answer sound and silence take nothing from the generator.
    void sounds()
    {
        TestProgram program(11);
        for (int i = 0; i < 4000; ++i)
            ModuloColoriSuoni::SuonoEsatto();
        QHash<QString, int> counts;
        for (const QString& path : program.sounds().played)
            ++counts[path.sliced(program.folder().size())];
        for (const char* file : {"/suoni/si1.wav", "/suoni/si2.wav", "/suoni/si3.wav", "/suoni/si4.wav"})
            QVERIFY2(std::abs(counts.value(file) - 1000) < 150, file);

        forms::scriptDraws({0.25f});
        ModuloColoriSuoni::SuonoErrato();
        Stato().setSuoniAttivati(false);
        ModuloColoriSuoni::SuonoEsatto();
        ModuloColoriSuoni::SuonoErrato();
        QCOMPARE(program.sounds().played.sliced(4000), QStringList{program.folder() + QStringLiteral("/suoni/no.wav")});
        QCOMPARE(forms::rnd(), 0.25f);
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
