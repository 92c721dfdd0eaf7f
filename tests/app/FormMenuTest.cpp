// The main menu driven through its real widgets: the design, the tab order,
// the level buttons, the sound switch and the way out.

#include "EsercizioFinto.h"
#include "TestProgram.h"

#include "app/FormMenu.h"
#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Pictures.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <algorithm>

namespace {

const QString kMenu = QStringLiteral("FormMenu");

FormMenu& apriMenu(TestProgram& program)
{
    return static_cast<FormMenu&>(program.show(kMenu));
}

forms::Control& controllo(const forms::Form& form, const char* name)
{
    return form.control(QString::fromLatin1(name));
}

void clicca(forms::Control& control)
{
    QTest::mouseClick(control.widget(), Qt::LeftButton);
    TestProgram::settle();
}

// A check box toggles only when its box or its text is hit.
void cliccaCasella(forms::Control& control)
{
    auto* box = static_cast<QCheckBox*>(control.widget());
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
    TestProgram::settle();
}

void programmaInItaliano(TestProgram& program)
{
    program.installAsset(QStringLiteral("Italiano.lng"));
    program.installAsset(QStringLiteral("LangSetting.ini"));
}

// What a pupil can see of the menu and what it holds.
struct Aspetto
{
    quint32 colore;
    quint32 coloreCasella;
    bool casella;
    QStringList didascalie;
    QRect finestra;
    bool visibile;

    bool operator==(const Aspetto&) const = default;
};

Aspetto aspetto(const forms::Form& menu)
{
    QStringList didascalie;
    for (const forms::Control* control : menu.controls())
        didascalie << control->caption();
    return {menu.backColor(), controllo(menu, "Check1").backColor(),
            controllo(menu, "Check1").isChecked(), didascalie, menu.window()->geometry(),
            menu.window()->isVisible()};
}

} // namespace

class FormMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        RegistraForme();
        EsercizioFinto::sostituisciEsercizi(m_livelloAllaCreazione);
    }

    void designShowsControlsWhereTheyBelong_data();
    void designShowsControlsWhereTheyBelong();
    void formKeepsEmptyTitleAndTakesAPaletteColour();
    void pointersShowOverButtonsAndCheckBox();
    void tabVisitsControlsInDesignOrder();
    void levelButtonSetsItsValueBeforeTheExerciseLoads_data();
    void levelButtonSetsItsValueBeforeTheExerciseLoads();
    void soundsSwitchedOffStayOffAcrossAnExercise();
    void exitAsksAndEndsOnlyOnYes_data();
    void exitAsksAndEndsOnlyOnYes();

private:
    std::int16_t m_livelloAllaCreazione = -1;
};

void FormMenuTest::designShowsControlsWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRectF>("twips");
    QTest::addColumn<double>("points");

    QTest::newRow("reading heading") << "Label3" << "Leggi i Tavendel" << QRectF(240, 240, 2415, 255) << 11.25;
    QTest::newRow("matching heading") << "Label5" << "Abbina" << QRectF(5520, 240, 1815, 255) << 11.25;
    QTest::newRow("first reading level") << "Command2" << "IVX" << QRectF(120, 480, 2500, 550) << 20.25;
    QTest::newRow("second reading level") << "Command4" << "IVXL" << QRectF(120, 1095, 2500, 550) << 20.25;
    QTest::newRow("last writing level") << "Command7" << "3 000" << QRectF(2760, 2880, 2500, 550) << 20.25;
    QTest::newRow("second matching level") << "Command12" << "88" << QRectF(5400, 1095, 2500, 550) << 20.25;
    QTest::newRow("sound switch") << "Check1" << "Suoni attivati" << QRectF(720, 3840, 2265, 405) << 14.25;
    QTest::newRow("exit") << "Command1" << "Esci" << QRectF(5400, 3840, 2500, 550) << 20.25;
}

void FormMenuTest::designShowsControlsWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRectF, twips);
    QFETCH(double, points);

    TestProgram program;
    const FormMenu menu; // not loaded: nothing fitted or translated yet
    const forms::Control& control = menu.control(name);
    QCOMPARE(control.caption(), caption);
    QCOMPARE(QRectF(control.left(), control.top(), control.width(), control.height()), twips);
    QCOMPARE(control.fontSize(), points);
    QVERIFY(control.widget()->font().bold());
    QCOMPARE(menu.scaleWidth(), 8085.0);
    QCOMPARE(menu.scaleHeight(), 4920.0);
}

void FormMenuTest::formKeepsEmptyTitleAndTakesAPaletteColour()
{
    TestProgram program;
    programmaInItaliano(program);
    const FormMenu& menu = apriMenu(program);

    QVERIFY(menu.caption().isEmpty());
    QVERIFY(menu.window()->windowIcon().isNull());
    QVERIFY(std::find(ModuloColoriSuoni::kTavolozza.begin(), ModuloColoriSuoni::kTavolozza.end(),
                      menu.backColor())
            != ModuloColoriSuoni::kTavolozza.end());
    QCOMPARE(controllo(menu, "Check1").backColor(), menu.backColor());
    for (const char* heading : {"Label3", "Label4", "Label5"})
        QVERIFY2(!controllo(menu, heading).widget()->autoFillBackground(), heading);
    QCOMPARE(controllo(menu, "mnuLanguages").caption(), QStringLiteral("Lingua"));
    // The menu covers the screen.
    QCOMPARE(QRectF(menu.left(), menu.top(), menu.width(), menu.height()), QRectF(0, 0, 15360, 11520));
}

void FormMenuTest::pointersShowOverButtonsAndCheckBox()
{
    TestProgram program;
    const FormMenu menu;
    const QImage freccia = forms::Pictures::pointer(QStringLiteral("pointer_arrow")).pixmap().toImage();
    const QImage chiave = forms::Pictures::pointer(QStringLiteral("pointer_clef")).pixmap().toImage();
    QVERIFY(freccia != chiave);

    for (const forms::Control* control : menu.controls()) {
        if (control->kind() == forms::ControlKind::CommandButton)
            QVERIFY2(control->widget()->cursor().pixmap().toImage() == freccia,
                     qPrintable(control->name()));
    }
    QVERIFY(controllo(menu, "Check1").widget()->cursor().pixmap().toImage() == chiave);
}

void FormMenuTest::tabVisitsControlsInDesignOrder()
{
    TestProgram program;
    programmaInItaliano(program);
    FormMenu& menu = apriMenu(program);
    QApplication::setActiveWindow(menu.window());
    QVERIFY(QTest::qWaitForWindowActive(menu.window()));
    controllo(menu, "Command1").setFocus();

    const QStringList atteso{
        "Command1", "Command4", "Command2", "Command3", "Command5", "Command6", "Command7",
        "Command8", "Command9", "Command10", "Command11", "Check1", "Command12", "Command13",
        "Command14", "Command15", "Command16", "Command1",
    };
    QStringList visitati{QApplication::focusWidget()->objectName()};
    while (visitati.size() < atteso.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visitati << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visitati, atteso);
}

void FormMenuTest::levelButtonSetsItsValueBeforeTheExerciseLoads_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("exercise");
    QTest::addColumn<int>("value");

    QTest::newRow("read IVX") << "Command2" << "Form1" << 38;
    QTest::newRow("read IVXL") << "Command4" << "Form1" << 88;
    QTest::newRow("read IVXLC") << "Command3" << "Form1" << 388;
    QTest::newRow("read IVXLCD") << "Command5" << "Form1" << 888;
    QTest::newRow("read IVXLCDM") << "Command6" << "Form1" << 3000;
    QTest::newRow("write 38") << "Command10" << "Form2" << 38;
    QTest::newRow("write 88") << "Command11" << "Form2" << 88;
    QTest::newRow("write 388") << "Command9" << "Form2" << 388;
    QTest::newRow("write 888") << "Command8" << "Form2" << 888;
    QTest::newRow("write 3 000") << "Command7" << "Form2" << 3000;
    QTest::newRow("match 38") << "Command13" << "Form3" << 38;
    QTest::newRow("match 88") << "Command12" << "Form3" << 88;
    QTest::newRow("match 388") << "Command14" << "Form3" << 388;
    QTest::newRow("match 888") << "Command15" << "Form3" << 888;
    QTest::newRow("match 3 000") << "Command16" << "Form3" << 3000;
}

void FormMenuTest::levelButtonSetsItsValueBeforeTheExerciseLoads()
{
    QFETCH(QString, button);
    QFETCH(QString, exercise);
    QFETCH(int, value);

    TestProgram program;
    programmaInItaliano(program);
    m_livelloAllaCreazione = -1;
    // Whatever the previous exercise left.
    const std::int16_t lasciato = value == 3000 ? 38 : 3000;
    Stato().setNumeroMassimo(lasciato);
    FormMenu& menu = apriMenu(program);

    clicca(menu.control(button));

    QCOMPARE(int(m_livelloAllaCreazione), value);
    QCOMPARE(int(Stato().NumeroMassimo()), value);
    const forms::Form* aperto = program.find(exercise);
    QVERIFY(aperto);
    QVERIFY(aperto->window()->isVisible());
    QVERIFY(!program.find(kMenu));
    QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
}

void FormMenuTest::soundsSwitchedOffStayOffAcrossAnExercise()
{
    TestProgram program;
    programmaInItaliano(program);
    FormMenu& menu = apriMenu(program);
    QVERIFY(controllo(menu, "Check1").isChecked());

    cliccaCasella(controllo(menu, "Check1"));
    QVERIFY(!controllo(menu, "Check1").isChecked());
    QVERIFY(!Stato().SuoniAttivati());

    clicca(controllo(menu, "Command2"));
    forms::Form* esercizio = program.find(QStringLiteral("Form1"));
    QVERIFY(esercizio);
    // What the exercise does for a right and a wrong answer.
    ModuloColoriSuoni::SuonoEsatto();
    ModuloColoriSuoni::SuonoErrato();
    Modulo1::TornaAlMenu(*esercizio);
    TestProgram::settle();

    const forms::Form* ritorno = program.find(kMenu);
    QVERIFY(ritorno);
    QVERIFY(!controllo(*ritorno, "Check1").isChecked());
    QVERIFY(!Stato().SuoniAttivati());
    QVERIFY(program.sounds().played.isEmpty());
}

void FormMenuTest::exitAsksAndEndsOnlyOnYes_data()
{
    QTest::addColumn<bool>("fromFrame");
    QTest::addColumn<forms::MsgBoxResult>("answer");

    QTest::newRow("Esci, No") << false << forms::MsgBoxResult::No;
    QTest::newRow("Esci, Yes") << false << forms::MsgBoxResult::Yes;
    QTest::newRow("window closed, No") << true << forms::MsgBoxResult::No;
    QTest::newRow("window closed, Yes") << true << forms::MsgBoxResult::Yes;
}

void FormMenuTest::exitAsksAndEndsOnlyOnYes()
{
    QFETCH(bool, fromFrame);
    QFETCH(forms::MsgBoxResult, answer);
    TestProgram program;
    programmaInItaliano(program);
    FormMenu& menu = apriMenu(program);
    const Aspetto prima = aspetto(menu);

    program.answerNext(answer);
    if (fromFrame) {
        menu.window()->close();
        TestProgram::settle();
    } else {
        clicca(controllo(menu, "Command1"));
    }

    QCOMPARE(program.messages().size(), std::size_t(1));
    const forms::MsgBoxRequest& domanda = program.messages().front();
    QCOMPARE(domanda.title, QStringLiteral("Tavendel"));
    QCOMPARE(domanda.text, QStringLiteral("Vuoi davvero uscire da Tavendel?"));
    QCOMPARE(domanda.buttons, forms::MsgBoxButtons::YesNo);
    QCOMPARE(domanda.icon, forms::MsgBoxIcon::Question);
    const bool yes = answer == forms::MsgBoxResult::Yes;
    QCOMPARE(program.endRequests(), yes ? 1 : 0);
    QCOMPARE(Stato().objResize() != nullptr, !yes);
    if (!yes) {
        QCOMPARE(program.find(kMenu), &menu);
        QVERIFY(aspetto(menu) == prima);
    }
}

QTEST_MAIN(FormMenuTest)
#include "FormMenuTest.moc"
