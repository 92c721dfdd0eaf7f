// The reading exercise driven through its keys: the questions of each
// level, what the answer box takes, how answers are judged, the hint, the
// counts and the way back to the menu.

#include "ExerciseDriver.h"
#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "layout/clsResize.h"
#include "roman/ModuloRomano.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

using Entry = ExerciseDriver::Entry;

namespace {
const QString kForm = QStringLiteral("Form1");
const QString kBox = QStringLiteral("Text1");
const QString kQuestion = QStringLiteral("Label3");
const QString kHint = QStringLiteral("Command1");
const QString kNext = QStringLiteral("BottoneAvanti");
const QString kRight = QStringLiteral("EtichettaEsatti");
const QString kWrong = QStringLiteral("EtichettaErrati");
const QString kRightFace = QStringLiteral("ComandoIconaSi");
const QString kWrongFace = QStringLiteral("ComandoIconaNo");
const std::array<QString, 4> kGroups{QStringLiteral("Label4"), QStringLiteral("Label5"),
                                     QStringLiteral("Label6"), QStringLiteral("Label7")};

bool inPalette(quint32 colour)
{
    const auto& palette = ModuloColoriSuoni::kTavolozza;
    return std::find(palette.begin(), palette.end(), colour) != palette.end();
}

QString numeral(int number)
{
    return QString::fromStdString(ModuloRomano::TraduciRomano(static_cast<std::int16_t>(number)));
}

enum class HintUse { Never, BeforeAnswering, AfterSolving };
} // namespace

Q_DECLARE_METATYPE(HintUse)
Q_DECLARE_METATYPE(ExerciseDriver::Entry)

class ReadingExerciseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void questionsOfEachLevel_data();
    void questionsOfEachLevel();
    void whatTheBoxTakes_data();
    void whatTheBoxTakes();
    void rightAnswers_data();
    void rightAnswers();
    void wrongAnswerStaysAndCountsAgain_data();
    void wrongAnswerStaysAndCountsAgain();
    void enterOnAnEmptyBoxDoesNothing();
    void enterOnBottoneAvantiBringsTheNextQuestion();
    void hintShowsTheGroupsInOneCentredRow_data();
    void hintShowsTheGroupsInOneCentredRow();
    void hintStaysUsedUntilTheNextQuestion_data();
    void hintStaysUsedUntilTheNextQuestion();
    void menuAzzeraResetsOnlyTheCounts();
    void esciAsksBeforeLeaving();
    void countsStartAtZeroOnEachVisit();
    void countsStayAtTheirLimit_data();
    void countsStayAtTheirLimit();
};

void ReadingExerciseTest::questionsOfEachLevel_data()
{
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<double>("points");
    QTest::newRow("38") << std::int16_t(38) << 48.0;
    QTest::newRow("88") << std::int16_t(88) << 48.0;
    QTest::newRow("388") << std::int16_t(388) << 48.0;
    QTest::newRow("888") << std::int16_t(888) << 48.0;
    QTest::newRow("3000, smaller numeral") << std::int16_t(3000) << 36.0;
}

void ReadingExerciseTest::questionsOfEachLevel()
{
    QFETCH(std::int16_t, level);
    QFETCH(double, points);
    constexpr int kQuestions = 150;
    TestProgram program(11);
    ExerciseDriver exercise(program, kForm);
    forms::Form& form = exercise.open(level);

    // A question waits with the box empty and focused, the hint offered.
    QCOMPARE(exercise.control(kQuestion).fontSize(), points);
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QVERIFY(exercise.box()->text().isEmpty());
    QVERIFY(exercise.control(kBox).hasFocus());
    QVERIFY(!exercise.control(kNext).isEnabled());
    QVERIFY(exercise.control(kHint).isVisible());
    for (const QString& group : kGroups)
        QVERIFY(!exercise.control(group).isVisible());

    std::set<int> numbers;
    std::set<quint32> colours;
    for (int i = 0; i < kQuestions; ++i) {
        const int shown = exercise.shownNumber();
        QVERIFY2(shown >= 1 && shown <= level, qPrintable(exercise.caption(kQuestion)));
        QCOMPARE(exercise.caption(kQuestion), numeral(shown));
        QVERIFY(inPalette(form.backColor()));
        numbers.insert(shown);
        colours.insert(form.backColor());
        exercise.solveAndGoOn();
    }
    // The draw spreads over the level, and each question takes a new colour.
    QVERIFY(numbers.size() > std::min<std::size_t>(level, kQuestions) / 3);
    QVERIFY(colours.size() > 8);
}

void ReadingExerciseTest::whatTheBoxTakes_data()
{
    QTest::addColumn<Entry>("how");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << Entry::Keys << "" << "0123456" << "0123456";
    QTest::newRow("blank, dot and comma") << Entry::Keys << "" << "3 0.9,8" << "3 0.9,8";
    QTest::newRow("letters and signs refused") << Entry::Keys << "" << "a1B-2+x;/X" << "12";
    QTest::newRow("at most 8 characters") << Entry::Keys << "" << "123456789" << "12345678";
    QTest::newRow("backspace") << Entry::Keys << "" << "123\b" << "12";
    QTest::newRow("pasted grouped digits") << Entry::Paste << "" << "1.994" << "1.994";
    QTest::newRow("pasted letters dropped") << Entry::Paste << "" << "M 1,9b9" << " 1,99";
    QTest::newRow("pasted, cut to 8") << Entry::Paste << "" << "1234567890" << "12345678";
    QTest::newRow("pasted after typing") << Entry::Paste << "12" << "x3-4" << "1234";
    QTest::newRow("pasted, nothing to take") << Entry::Paste << "5" << "abc" << "5";
    QTest::newRow("dropped") << Entry::Drop << "" << "xv 1.9a9" << " 1.99";
}

void ReadingExerciseTest::whatTheBoxTakes()
{
    QFETCH(Entry, how);
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(3000);

    exercise.type(before);
    exercise.put(how, text);
    QCOMPARE(exercise.box()->text(), shown);
}

void ReadingExerciseTest::rightAnswers_data()
{
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<std::int16_t>("number");
    QTest::addColumn<QString>("typed");
    QTest::newRow("38") << std::int16_t(38) << std::int16_t(38) << "38";
    QTest::newRow("3 8") << std::int16_t(38) << std::int16_t(38) << "3 8";
    QTest::newRow("3.8") << std::int16_t(38) << std::int16_t(38) << "3.8";
    QTest::newRow("1994") << std::int16_t(3000) << std::int16_t(1994) << "1994";
    QTest::newRow("1.994") << std::int16_t(3000) << std::int16_t(1994) << "1.994";
    QTest::newRow("1,994") << std::int16_t(3000) << std::int16_t(1994) << "1,994";
    QTest::newRow("01994") << std::int16_t(3000) << std::int16_t(1994) << "01994";
    QTest::newRow("3 000") << std::int16_t(3000) << std::int16_t(3000) << "3 000";
}

void ReadingExerciseTest::rightAnswers()
{
    QFETCH(std::int16_t, level);
    QFETCH(std::int16_t, number);
    QFETCH(QString, typed);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(level, number);
    QCOMPARE(exercise.caption(kQuestion), numeral(number));

    exercise.answer(typed);

    QVERIFY(exercise.control(kRightFace).isVisible());
    QVERIFY(!exercise.control(kWrongFace).isVisible());
    QCOMPARE(exercise.caption(kRight), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QCOMPARE(program.sounds().played.size(), 1);
    QVERIFY(program.sounds().played.first().contains(QRegularExpression(QStringLiteral("/suoni/si[1-4]\\.wav$"))));
    // Solved: the box keeps the answer but is shut; the way on is open and focused.
    QVERIFY(!exercise.box()->isEnabled());
    QCOMPARE(exercise.box()->text(), typed);
    QVERIFY(exercise.control(kNext).isEnabled());
    QVERIFY(exercise.control(kNext).hasFocus());
}

void ReadingExerciseTest::wrongAnswerStaysAndCountsAgain_data()
{
    QTest::addColumn<std::int16_t>("number");
    QTest::addColumn<QString>("typed");
    QTest::newRow("one more") << std::int16_t(38) << "39";
    QTest::newRow("digits swapped") << std::int16_t(38) << "8 3";
    QTest::newRow("only group marks") << std::int16_t(38) << " .,";
    QTest::newRow("zero") << std::int16_t(1) << "0";
}

void ReadingExerciseTest::wrongAnswerStaysAndCountsAgain()
{
    QFETCH(std::int16_t, number);
    QFETCH(QString, typed);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(38, number);

    exercise.answer(typed);
    QVERIFY(exercise.control(kWrongFace).isVisible());
    QVERIFY(!exercise.control(kRightFace).isVisible());
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.box()->text(), typed);
    QVERIFY(exercise.control(kBox).hasFocus());
    QVERIFY(!exercise.control(kNext).isEnabled());
    QCOMPARE(program.sounds().played, QStringList{program.folder() + QStringLiteral("/suoni/no.wav")});

    exercise.pressEnter();
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 2"));
    QCOMPARE(program.sounds().played.size(), 2);
    QCOMPARE(exercise.shownNumber(), number);
}

void ReadingExerciseTest::enterOnAnEmptyBoxDoesNothing()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(38);

    exercise.pressEnter();
    exercise.type(QStringLiteral("12\b\b"));
    exercise.pressEnter();

    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QVERIFY(program.sounds().played.isEmpty());
    QVERIFY(exercise.control(kRightFace).isVisible());
    QVERIFY(!exercise.control(kWrongFace).isVisible());
}

void ReadingExerciseTest::enterOnBottoneAvantiBringsTheNextQuestion()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(38, 38);
    QCOMPARE(exercise.caption(kQuestion), QStringLiteral("X X X V I I I "));

    exercise.answer(QStringLiteral("38"));
    QVERIFY(!exercise.box()->hasFocus());
    exercise.seedNextQuestion(7);
    exercise.pressEnterOnFocus();

    QCOMPARE(exercise.caption(kQuestion), QStringLiteral("V I I "));
    QVERIFY(exercise.box()->isEnabled());
    QVERIFY(exercise.box()->text().isEmpty());
    QVERIFY(exercise.control(kBox).hasFocus());
    QVERIFY(!exercise.control(kNext).isEnabled());
    // The verdict stays on show until the next answer, and the Enter that
    // brought the question is no answer to it.
    QVERIFY(exercise.control(kRightFace).isVisible());
    QCOMPARE(exercise.caption(kRight), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
}

void ReadingExerciseTest::hintShowsTheGroupsInOneCentredRow_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<std::int16_t>("number");
    QTest::addColumn<QStringList>("groups");
    const QSize small(1024, 768);
    const QSize large(1920, 1080);
    QTest::newRow("1994") << small << std::int16_t(3000) << std::int16_t(1994)
                          << QStringList{"M CM ", "XC ", "", "IV "};
    QTest::newRow("1994, large screen") << large << std::int16_t(3000) << std::int16_t(1994)
                                        << QStringList{"M CM ", "XC ", "", "IV "};
    QTest::newRow("38") << small << std::int16_t(38) << std::int16_t(38)
                        << QStringList{"", "", "X X X ", "V I I I "};
    QTest::newRow("990") << small << std::int16_t(3000) << std::int16_t(990)
                         << QStringList{"CM ", "XC ", "", ""};
    QTest::newRow("2888, the longest") << small << std::int16_t(3000) << std::int16_t(2888)
                                       << QStringList{"M M ", "D C C C ", "L X X X ", "V I I I "};
    QTest::newRow("888, large screen") << large << std::int16_t(888) << std::int16_t(888)
                                       << QStringList{"", "D C C C ", "L X X X ", "V I I I "};
}

void ReadingExerciseTest::hintShowsTheGroupsInOneCentredRow()
{
    QFETCH(QSize, screen);
    QFETCH(std::int16_t, level);
    QFETCH(std::int16_t, number);
    QFETCH(QStringList, groups);
    TestProgram program(1, screen);
    ExerciseDriver exercise(program, kForm);
    forms::Form& form = exercise.openAt(level, number);

    QTest::mouseClick(exercise.control(kHint).widget(), Qt::LeftButton);

    QVERIFY(!exercise.control(kHint).isVisible());
    QVERIFY(exercise.control(kBox).hasFocus());
    double rowWidth = 0;
    for (std::size_t i = 0; i < kGroups.size(); ++i) {
        const forms::Control& label = exercise.control(kGroups[i]);
        QVERIFY(label.isVisible());
        QCOMPARE(label.caption(), groups[int(i)]);
        rowWidth += label.width();
        // Each group fits its label on one line; an empty one takes no room.
        const QWidget* widget = label.widget();
        QVERIFY(widget->width() >= widget->fontMetrics().horizontalAdvance(label.caption()));
        QVERIFY(widget->height() >= widget->fontMetrics().height());
        if (label.caption().isEmpty())
            QCOMPARE(label.width(), 0.0);
    }
    const forms::Control& first = exercise.control(kGroups.front());
    QCOMPARE(first.left(), std::floor(form.width() / 2) - std::floor(rowWidth / 2));
    // Only the widths follow the groups: Top and Height stay as the screen fitting left them.
    const clsResize& fitting = *Stato().objResize();
    const auto recorded = std::find_if(fitting.controlPositions().begin(), fitting.controlPositions().end(),
                                       [&](const auto& row) { return row.Control == &first; });
    QVERIFY(recorded != fitting.controlPositions().end());
    QCOMPARE(first.top(), recorded->Top * form.scaleHeight() / fitting.recordedHeight());
    QCOMPARE(first.height(), recorded->Height * form.scaleHeight() / fitting.recordedHeight());
    for (std::size_t i = 1; i < kGroups.size(); ++i) {
        const forms::Control& before = exercise.control(kGroups[i - 1]);
        const forms::Control& label = exercise.control(kGroups[i]);
        QCOMPARE(label.left(), before.left() + before.width());
        QCOMPARE(label.top(), first.top());
        QCOMPARE(label.height(), first.height());
        QCOMPARE(label.widget()->x(), before.widget()->x() + before.widget()->width());
    }
    // On screen: one row, centred on the window's outer width, between the
    // numeral and the answer box.
    const QRect firstBox = first.widget()->geometry();
    const QRect lastBox = exercise.control(kGroups.back()).widget()->geometry();
    const int outerWidth = form.window()->frameGeometry().width();
    QVERIFY(std::abs((firstBox.left() + lastBox.right() + 1) / 2 - outerWidth / 2) <= 1);
    QVERIFY(firstBox.left() >= 0 && lastBox.right() < form.window()->width());
    QVERIFY(exercise.control(kQuestion).widget()->geometry().bottom() < firstBox.top());
    QVERIFY(firstBox.bottom() < exercise.box()->geometry().top());
}

void ReadingExerciseTest::hintStaysUsedUntilTheNextQuestion_data()
{
    QTest::addColumn<HintUse>("use");
    QTest::newRow("not used") << HintUse::Never;
    QTest::newRow("used, then answered") << HintUse::BeforeAnswering;
    QTest::newRow("used once solved") << HintUse::AfterSolving;
}

void ReadingExerciseTest::hintStaysUsedUntilTheNextQuestion()
{
    QFETCH(HintUse, use);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(388);
    const auto askHint = [&] { QTest::mouseClick(exercise.control(kHint).widget(), Qt::LeftButton); };

    if (use == HintUse::BeforeAnswering)
        askHint();
    exercise.answer(exercise.rightAnswer());
    if (use == HintUse::AfterSolving) {
        askHint();
        QVERIFY(!exercise.box()->hasFocus()); // the shut box cannot take it
    }

    const bool used = use != HintUse::Never;
    QCOMPARE(exercise.control(kHint).isVisible(), !used);
    for (const QString& group : kGroups)
        QCOMPARE(exercise.control(group).isVisible(), used);

    exercise.clickNext();
    QVERIFY(exercise.control(kHint).isVisible());
    for (const QString& group : kGroups)
        QVERIFY(!exercise.control(group).isVisible());
}

void ReadingExerciseTest::menuAzzeraResetsOnlyTheCounts()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(88);
    exercise.answer(exercise.wrongAnswer());
    exercise.erase();
    exercise.answer(exercise.rightAnswer());
    const QString question = exercise.caption(kQuestion);
    const QString answer = exercise.box()->text();
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 1"));

    exercise.control(QStringLiteral("MenuAzzera")).action()->trigger();

    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QCOMPARE(Stato().ContaEsatti(), std::int16_t(0));
    QCOMPARE(Stato().ContaErrati(), std::int16_t(0));
    QCOMPARE(exercise.caption(kQuestion), question);
    QCOMPARE(exercise.box()->text(), answer);
    QVERIFY(!exercise.box()->isEnabled());
    QVERIFY(exercise.control(kNext).isEnabled());
    QVERIFY(exercise.control(kRightFace).isVisible());

    exercise.clickNext();
    exercise.answer(exercise.rightAnswer());
    QCOMPARE(exercise.caption(kRight), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
}

void ReadingExerciseTest::esciAsksBeforeLeaving()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    forms::Form& form = exercise.open(38);
    exercise.answer(exercise.wrongAnswer());
    const QString question = exercise.caption(kQuestion);
    const QString typed = exercise.box()->text();
    const quint32 colour = form.backColor();
    QAction* esci = exercise.control(QStringLiteral("mnuEsci")).action();

    program.answerNext(forms::MsgBoxResult::No);
    esci->trigger();
    TestProgram::settle();

    QCOMPARE(program.messages().size(), std::size_t(1));
    QCOMPARE(program.messages().front().title, QStringLiteral("Tavendel"));
    QCOMPARE(program.messages().front().buttons, forms::MsgBoxButtons::YesNo);
    QCOMPARE(program.messages().front().icon, forms::MsgBoxIcon::Question);
    QCOMPARE(program.find(kForm), &form);
    QVERIFY(!program.find(QStringLiteral("FormMenu")));
    QCOMPARE(exercise.caption(kQuestion), question);
    QCOMPARE(exercise.box()->text(), typed);
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 1"));
    QCOMPARE(form.backColor(), colour);
    QVERIFY(exercise.control(kWrongFace).isVisible());

    esci->trigger(); // Yes
    TestProgram::settle();
    QVERIFY(program.find(QStringLiteral("FormMenu")));
    QVERIFY(!program.find(kForm));
}

void ReadingExerciseTest::countsStartAtZeroOnEachVisit()
{
    TestProgram program;
    ExerciseDriver writing(program, QStringLiteral("Form2"));
    writing.open(38);
    writing.answer(writing.wrongAnswer());
    writing.erase();
    writing.answer(writing.rightAnswer());
    writing.control(QStringLiteral("mnuEsci")).action()->trigger();
    TestProgram::settle();

    ExerciseDriver exercise(program, kForm);
    exercise.open(38);
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    exercise.answer(exercise.wrongAnswer());
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
}

void ReadingExerciseTest::countsStayAtTheirLimit_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("right answers") << true;
    QTest::newRow("wrong answers") << false;
}

void ReadingExerciseTest::countsStayAtTheirLimit()
{
    QFETCH(bool, right);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(38);
    while ((right ? Stato().ContaEsatti() : Stato().ContaErrati()) < SharedState::kCountLimit - 1)
        right ? Stato().aggiungiEsatto() : Stato().aggiungiErrato();

    // The answer that reaches the limit, and one that would pass it.
    for (int answer = 0; answer < 2; ++answer) {
        if (right && answer > 0)
            exercise.clickNext();
        exercise.erase();
        exercise.answer(right ? exercise.rightAnswer() : exercise.wrongAnswer());
        QCOMPARE(exercise.caption(right ? kRight : kWrong), QStringLiteral(" 32767"));
    }
}

QTEST_MAIN(ReadingExerciseTest)
#include "ReadingExerciseTest.moc"
