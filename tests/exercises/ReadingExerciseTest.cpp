// The reading exercise driven through its keys. The menu items and the
// count limit are code the exercises share, tested here for both.

#include "ExerciseDriver.h"

#include "app/RegistroForme.h"
#include "forms/Units.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QTest>

#include <algorithm>

using Entry = ExerciseDriver::Entry;
Q_DECLARE_METATYPE(ExerciseDriver::Entry)

namespace {
const QString kForm = QStringLiteral("Form1");
const QString kBox = QStringLiteral("Text1");
const QString kQuestion = QStringLiteral("Label3");
const QString kNext = QStringLiteral("BottoneAvanti");
const QStringList kGroups{QStringLiteral("Label4"), QStringLiteral("Label5"), QStringLiteral("Label6"),
                          QStringLiteral("Label7")};

struct HintCase
{
    QSize screen;
    std::int16_t level;
    std::int16_t number;
    QStringList groups;
    bool solvedFirst = false;
};
} // namespace
Q_DECLARE_METATYPE(HintCase)

class ReadingExerciseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void questionsOfEachLevel_data()
    {
        QTest::addColumn<std::int16_t>("level");
        QTest::addColumn<double>("points");
        for (const std::int16_t level : {38, 88, 388, 888})
            QTest::addRow("%d", level) << level << 48.0;
        QTest::newRow("3000, smaller numeral") << std::int16_t(3000) << 36.0;
    }

    void questionsOfEachLevel()
    {
        QFETCH(std::int16_t, level);
        QFETCH(double, points);
        ExerciseDriver(kForm, 11).verifyQuestions(level, points);
    }

    void whatTheBoxTakes_data()
    {
        QTest::addColumn<Entry>("how");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits, blank, dot and comma") << Entry::Keys << "" << "3 0.9,8" << "3 0.9,8";
        QTest::newRow("letters and signs refused") << Entry::Keys << "" << "a1B-2+x;/X" << "12";
        QTest::newRow("at most 8 characters") << Entry::Keys << "" << "123456789" << "12345678";
        QTest::newRow("backspace") << Entry::Keys << "" << "123\b" << "12";
        QTest::newRow("pasted, letters dropped") << Entry::Paste << "" << "M 1.9,b9" << " 1.9,9";
        QTest::newRow("pasted, cut to 8") << Entry::Paste << "" << "1234567890" << "12345678";
        QTest::newRow("pasted after typing") << Entry::Paste << "12" << "x3-4" << "1234";
        QTest::newRow("pasted, nothing to take") << Entry::Paste << "5" << "abc" << "5";
        QTest::newRow("dropped") << Entry::Drop << "" << "xv 1.9a9" << " 1.99";
    }

    void whatTheBoxTakes()
    {
        QFETCH(Entry, how);
        QFETCH(QString, before);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        ExerciseDriver exercise(kForm);
        exercise.open(3000);
        exercise.type(before);
        exercise.put(how, text);
        QCOMPARE(exercise.box()->text(), shown);
    }

    void answers_data()
    {
        QTest::addColumn<std::int16_t>("level");
        QTest::addColumn<std::int16_t>("number");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        const auto row = [](const char* typed, int level, int number, bool right, const char* name = nullptr) {
            QTest::newRow(name ? name : typed) << std::int16_t(level) << std::int16_t(number) << QString(typed) << right;
        };
        for (const char* typed : {"38", "3 8", "3.8"})
            row(typed, 38, 38, true);
        for (const char* typed : {"1994", "1.994", "1,994", "01994"})
            row(typed, 3000, 1994, true);
        row("3 000", 3000, 3000, true);
        row("39", 38, 38, false, "one more");
        row("8 3", 38, 38, false, "digits swapped");
        row(" .,", 38, 38, false, "only group marks");
        row("0", 38, 1, false, "zero");
    }

    void answers()
    {
        QFETCH(std::int16_t, level);
        QFETCH(std::int16_t, number);
        QFETCH(QString, typed);
        QFETCH(bool, right);
        ExerciseDriver exercise(kForm);
        exercise.openAt(level, number);
        QCOMPARE(exercise.shownNumber(), number);
        exercise.verifyAnswer(typed, right, typed);
        if (!right || QTest::currentTestFailed())
            return;
        // Enter now goes to BottoneAvanti, and is no answer to the question
        // it brings; the verdict stays on show until the next answer.
        QVERIFY(exercise.control(kNext).hasFocus());
        exercise.seedNextQuestion(7);
        QTest::keyClick(exercise.form().window()->focusWidget(), Qt::Key_Return);
        QCOMPARE(exercise.caption(kQuestion), QStringLiteral("V I I "));
        QVERIFY(exercise.box()->isEnabled() && exercise.box()->text().isEmpty());
        QVERIFY(exercise.control(kBox).hasFocus() && !exercise.control(kNext).isEnabled());
        QCOMPARE(exercise.faces() + exercise.counts(), QStringLiteral("si 1/0"));
    }

    void hintShowsTheGroupsInOneCentredRow_data()
    {
        QTest::addColumn<HintCase>("hint");
        const QSize small(1024, 768);
        const QStringList year{"M CM ", "XC ", "", "IV "};
        QTest::newRow("1994") << HintCase{small, 3000, 1994, year};
        QTest::newRow("1994, large screen") << HintCase{QSize(1920, 1080), 3000, 1994, year};
        QTest::newRow("38") << HintCase{small, 38, 38, {"", "", "X X X ", "V I I I "}};
        QTest::newRow("990, asked once solved") << HintCase{small, 3000, 990, {"CM ", "XC ", "", ""}, true};
        QTest::newRow("2888, the longest") << HintCase{small, 3000, 2888, {"M M ", "D C C C ", "L X X X ", "V I I I "}};
    }

    void hintShowsTheGroupsInOneCentredRow()
    {
        QFETCH(HintCase, hint);
        ExerciseDriver exercise(kForm, 1, hint.screen);
        forms::Form& form = exercise.openAt(hint.level, hint.number);
        if (hint.solvedFirst)
            exercise.answer(exercise.rightAnswer());
        QTest::mouseClick(exercise.control(QStringLiteral("Command1")).widget(), Qt::LeftButton);
        QCOMPARE(exercise.hint(), QStringLiteral("used"));
        QCOMPARE(exercise.control(kBox).hasFocus(), !hint.solvedFirst); // a shut box cannot take it

        // Only the widths follow the groups: Top and Height stay as the screen fitting left them.
        const forms::Control& first = exercise.control(kGroups.front());
        // The height recorded at the design size is the one the caption's font gave it.
        const double ry = form.scaleHeight() / form.decl().clientHeight;
        const double recordedHeight = std::nearbyint(forms::toTwipsY(first.widget()->fontMetrics().height()));
        QCOMPARE(first.top(), first.decl().top * ry);
        QCOMPARE(first.height(), recordedHeight * ry);
        for (int i = 0; i < kGroups.size(); ++i) {
            const forms::Control& label = exercise.control(kGroups[i]);
            const QWidget* widget = label.widget();
            QCOMPARE(label.caption(), hint.groups[i]);
            // Each group fits its label on one line; an empty one takes no room.
            QVERIFY(widget->width() >= widget->fontMetrics().horizontalAdvance(label.caption()));
            QVERIFY(widget->height() >= widget->fontMetrics().height());
            QVERIFY(!label.caption().isEmpty() || label.width() == 0);
            if (i == 0)
                continue;
            const QWidget* before = exercise.control(kGroups[i - 1]).widget();
            QCOMPARE(widget->x(), before->x() + before->width());
            QCOMPARE(label.top(), first.top());
            QCOMPARE(label.height(), first.height());
        }
        // One row, centred on the window's outer width, between the numeral and the box.
        const QRect firstBox = first.widget()->geometry();
        const QRect lastBox = exercise.control(kGroups.back()).widget()->geometry();
        QVERIFY(std::abs((firstBox.left() + lastBox.right() + 1) / 2 - form.window()->frameGeometry().width() / 2) <= 1);
        QVERIFY(firstBox.left() >= 0 && lastBox.right() < form.window()->width());
        QVERIFY(exercise.control(kQuestion).widget()->geometry().bottom() < firstBox.top());
        QVERIFY(firstBox.bottom() < exercise.box()->geometry().top());

        // Used, the hint stays on show until the next question.
        if (!hint.solvedFirst)
            exercise.answer(exercise.rightAnswer());
        QCOMPARE(exercise.hint(), QStringLiteral("used"));
        exercise.clickNext();
        QCOMPARE(exercise.hint(), QStringLiteral("offered"));
    }

    void menusKeepTheQuestion()
    {
        ExerciseDriver exercise(kForm);
        TestProgram& program = exercise.program();
        forms::Form& form = exercise.open(88);
        exercise.answer(exercise.wrongAnswer());
        exercise.erase();
        exercise.answer(exercise.rightAnswer());
        const auto screen = [&] {
            return QStringList{exercise.caption(kQuestion), exercise.box()->text(), exercise.faces(),
                               QString::number(form.backColor()), QString::number(exercise.box()->isEnabled()),
                               QString::number(exercise.control(kNext).isEnabled())};
        };
        const QStringList solved = screen();

        // No to "Esci" changes nothing.
        program.answerNext(forms::MsgBoxResult::No);
        QAction* esci = exercise.control(QStringLiteral("mnuEsci")).action();
        esci->trigger();
        TestProgram::settle();
        QCOMPARE(program.messages().size(), std::size_t(1));
        QCOMPARE(program.messages().front().buttons, forms::MsgBoxButtons::YesNo);
        QVERIFY(program.find(kForm) == &form && !program.find(QStringLiteral("FormMenu")));
        QCOMPARE(screen(), solved);
        QCOMPARE(exercise.counts(), QStringLiteral(" 1/ 1"));

        // "Azzera" resets only the counts, which go on from 0.
        exercise.control(QStringLiteral("MenuAzzera")).action()->trigger();
        QCOMPARE(exercise.counts(), QStringLiteral("0/0"));
        QCOMPARE(Stato().ContaEsatti() + Stato().ContaErrati(), 0);
        QCOMPARE(screen(), solved);
        exercise.clickNext();
        exercise.answer(exercise.rightAnswer());
        QCOMPARE(exercise.counts(), QStringLiteral(" 1/0"));

        esci->trigger(); // Yes
        TestProgram::settle();
        QVERIFY(program.find(QStringLiteral("FormMenu")) && !program.find(kForm));
    }

    void countsStayAtTheirLimit()
    {
        ExerciseDriver exercise(kForm);
        exercise.open(38);
        while (Stato().ContaEsatti() < SharedState::kCountLimit - 1)
            Stato().aggiungiEsatto();
        while (Stato().ContaErrati() < SharedState::kCountLimit - 1)
            Stato().aggiungiErrato();
        // The answers that reach the limits, then those that would pass them.
        for (int round = 0; round < 2; ++round) {
            exercise.answer(exercise.wrongAnswer());
            exercise.erase();
            exercise.answer(exercise.rightAnswer());
            QCOMPARE(exercise.counts(), QStringLiteral(" 32767/ 32767"));
            exercise.clickNext();
        }
    }
};

QTEST_MAIN(ReadingExerciseTest)
#include "ReadingExerciseTest.moc"
