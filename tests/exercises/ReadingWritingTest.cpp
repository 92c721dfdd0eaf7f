// The reading and the writing exercise driven through their keys. The menu
// items, the counts and the sounds are code all three exercises share,
// tested here with the reading one; so is the way from the menu and back
// with the keyboard alone, for all three.

#include "ExerciseDriver.h"

#include "forms/Pictures.h"

#include <QAction>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolButton>

#include <map>

using Entry = ExerciseDriver::Entry;

namespace {
const QString kReading = QStringLiteral("Form1"), kWriting = QStringLiteral("Form2"), kMenu = QStringLiteral("FormMenu");
const QString kBox = QStringLiteral("Text1");
const QString kQuestion = QStringLiteral("Label3");
const QString kNext = QStringLiteral("BottoneAvanti");
// The lamp, then the hint's groups: thousands, hundreds, tens and units.
const QStringList kHint{"Command1", "Label4", "Label5", "Label6", "Label7"};

// The palette avanti is drawn with, as the style sees it: the style keeps
// its pictures of buttons under that palette's identity.
struct PaletteWitness : QProxyStyle
{
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        seen = option->palette.cacheKey();
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }
    mutable qint64 seen = 0;
};

struct Answer
{
    QString form;
    std::int16_t level, number;
    QString typed;
    bool right;
    QString kept = {}; // what the box holds, where not the typed text in capitals
    Entry how = Entry::Keys;
    bool strict = false; // only the standard numeral counts
};

} // namespace
Q_DECLARE_METATYPE(Answer)

class ReadingWritingTest : public QObject
{
    Q_OBJECT

private slots:
    void questionsOfEachLevel_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<std::int16_t>("level");
        for (const QString& form : {kReading, kWriting})
            for (const std::int16_t level : {38, 88, 388, 888, 3000})
                QTest::addRow("%s, %d", qPrintable(form), level) << form << level;
    }

    // Each question in the level (the first its longest numeral; one level
    // on a large screen), shown as the exercise shows it (its size at 3000 and
    // below is in the golden pictures), in a colour of its own, the box empty
    // and focused; the counts start at 0 whatever the exercise before counted.
    // A hint asked stays until the next question.
    void questionsOfEachLevel()
    {
        QFETCH(QString, form);
        QFETCH(std::int16_t, level);
        PaletteWitness witness; // outlives the form that draws with it
        ExerciseDriver exercise(form, 11, level == 888 ? QSize(1920, 1080) : QSize(1024, 768));
        const forms::Form& shown = exercise.open(level, level == 3000 ? 2888 : level);
        auto* next = static_cast<QToolButton*>(exercise.control(kNext).widget());
        next->setStyle(&witness);
        std::map<quint32, qint64> drawnIn; // each colour's palette, as avanti was first drawn in it
        for (int i = 0; i < 40; ++i) {
            // A colour seen before draws avanti from the palette it had then, or
            // the style's cache of button pictures grows with every question (a mend).
            next->grab();
            QCOMPARE(drawnIn.emplace(shown.backColor(), witness.seen).first->second, witness.seen);
            const int number = exercise.shownNumber();
            QVERIFY2(number >= 1 && number <= level, qPrintable(exercise.caption(kQuestion)));
            QCOMPARE(exercise.caption(kQuestion), form == kWriting ? QLocale().toString(number)
                                                  : QString::fromStdString(ModuloRomano::TraduciRomano(number)));
            QVERIFY(exercise.box()->text().isEmpty() && exercise.control(kBox).hasFocus() && !next->isEnabled());
            // The lamp offers the hint; asked, it shows the numeral's groups (an empty one
            // takes no room) and gives the box the focus. Where they stand is in the golden pictures.
            if (form == kReading) {
                QCOMPARE(exercise.shown(kHint), QStringLiteral("10000"));
                exercise.click(kHint[0]);
                QVERIFY(exercise.shown(kHint) == QLatin1String("01111") && exercise.control(kBox).hasFocus());
                const auto groups = ModuloRomano::TraduciRomanoInGruppi(std::int16_t(number));
                for (int i = 0; const auto& group : {groups.migliaia, groups.centinaia, groups.decine, groups.unita}) {
                    QCOMPARE(exercise.caption(kHint[++i]), QString::fromStdString(group));
                    QVERIFY(!group.empty() || exercise.control(kHint[i]).widget()->width() == 0);
                }
            }
            exercise.answer(exercise.rightAnswer());
            QVERIFY(form == kWriting || exercise.shown(kHint) == QLatin1String("01111"));
            exercise.click(kNext);
        }
        QVERIFY(drawnIn.size() > 8 && exercise.verdict() == QLatin1String("si: 40/0"));
        // Every load shows the program's one icon of a picture, for the same reason as the palettes.
        QCOMPARE(next->icon().cacheKey(), forms::Pictures::icon(QStringLiteral("arrow_next")).cacheKey());
    }

    void answersAreJudged_data()
    {
        QTest::addColumn<Answer>("answer");
        const auto row = [](const char* name, const Answer& answer) { QTest::newRow(name) << answer; };
        for (const char* typed : {"1.994", "1,994", "01994"})
            row(typed, {kReading, 3000, 1994, typed, true});
        row("3 000", {kReading, 3000, 3000, "3 000", true});
        row("only group marks", {kReading, 38, 1, " .,", false});
        row("reading: letters and signs refused, backspace", {kReading, 38, 12, "a1B-2+x;/:X3\b", true, "12"});
        row("pasted, filtered, cut to 8", {kReading, 38, 1, "x1y2z3w4v5u6t7s8r9", false, "12345678", Entry::Paste});
        row("VV for 10", {kWriting, 38, 10, "VV", true});
        row("strict: VV for 10", {kWriting, 38, 10, "VV", false, {}, Entry::Keys, true});
        row("strict: X for 10", {kWriting, 38, 10, "X", true, {}, Entry::Keys, true});
        row("strict: spaced, small letters", {kWriting, 3000, 1994, "m cm xc iv", true, {}, Entry::Keys, true});
        row("writing 38: its letters, capitals, blanks, backspace", {kWriting, 38, 16, "mdcLlx v5ii\b", true, "X VI"});
        row("writing 88: its letters only", {kWriting, 88, 66, "mdclxvi", true, "LXVI"});
        row("writing 388: its letters only", {kWriting, 388, 166, "mdclxvi", true, "CLXVI"});
        row("writing 888: its letters only", {kWriting, 888, 666, "mdclxvi", true, "DCLXVI"});
        row("writing 3000: no digit or sign", {kWriting, 3000, 1666, "mD1.c,L-xVi", true, "MDCLXVI"});
        row("writing, no level: every key", {kWriting, 50, 5, "a5?x", false});
        row("writing: pasted, filtered, made capitals, cut to 20",
            {kWriting, 38, 1, "L5 " + QString(25, u'i'), false, " " + QString(19, u'I'), Entry::Paste});
        row("writing: dropped", {kWriting, 38, 16, "xLvi5", true, "XVI", Entry::Drop});
    }

    // Typed keys pass the exercise's rules, and pasted or dropped text the
    // same rules, then the box's length (mends). Enter on an empty box is no
    // answer and says nothing; an answer is judged once, with its face,
    // count, one sound (which one is the matching test's: the three share
    // the verdict) and what a screen reader hears. A wrong one stays, and
    // Enter counts it again; after a right one, Enter on avanti brings the
    // next question, the verdict on show until the next answer.
    void answersAreJudged()
    {
        QFETCH(Answer, answer);
        ExerciseDriver exercise(answer.form);
        Stato().setSoloFormaCorretta(answer.strict);
        exercise.open(answer.level, answer.number);
        exercise.answer(QStringLiteral(" \b"));
        QCOMPARE(exercise.verdict() + exercise.sounds(), QStringLiteral("si:0/0"));

        exercise.put(answer.how, answer.typed);
        exercise.answer(QString());
        QStringList heard = exercise.program.announced();
        for (const char* count : {"EtichettaEsatti", "EtichettaErrati"})
            heard << exercise.control(count).get(QStringLiteral("AccessibleName")).toString();
        QCOMPARE(exercise.verdict() + u'|' + heard.join(u'|'),
                 answer.right ? QStringLiteral("si: 1/0|ComandoIconaSi|Esatti: 1|Errati: 0")
                              : QStringLiteral("no:0/ 1|ComandoIconaNo|Esatti: 0|Errati: 1"));
        QCOMPARE(exercise.box()->text(), answer.kept.isNull() ? answer.typed.toUpper() : answer.kept);
        QVERIFY(exercise.box()->isEnabled() != answer.right && exercise.control(kNext).isEnabled() == answer.right);

        exercise.seedNext(7); // Enter where the focus went: avanti after a right answer, the box after a wrong one
        QTest::keyClick(exercise.form().window()->focusWidget(), Qt::Key_Return);
        const qsizetype played = exercise.program.sounds().played.size();
        QCOMPARE(QStringLiteral("%1 %2 ").arg(exercise.shownNumber()).arg(played) + exercise.verdict(),
                 answer.right ? "7 1 si: 1/0" : QStringLiteral("%1 2 no:0/ 2").arg(answer.number));
    }

    // The counts stop at 32767 rather than wrap (a mend). No to "Esci", or to
    // the window's close button, changes nothing (the box's title, buttons
    // and icon are the menu test's: all confirmations share them); "Azzera"
    // resets only the counts (that they go on from 0 is in the matching
    // test); Yes goes back to the menu.
    void countsAndMenus()
    {
        ExerciseDriver exercise(kReading);
        TestProgram& program = exercise.program;
        program.installAsset(QStringLiteral("Italiano.lng"));
        program.storeLanguage(QStringLiteral("Italiano"));
        forms::Form& form = exercise.open(88);
        for (int count = 1; count < SharedState::kCountLimit; ++count) // both one short of the limit
            Stato().aggiungiEsatto(), Stato().aggiungiErrato();
        for (int round = 0; round < 2; ++round) { // the answers that reach the limits, then those past them
            exercise.click(kNext);
            exercise.answer(QStringLiteral("0"));
            exercise.answer(u'\b' + exercise.rightAnswer());
            QCOMPARE(exercise.verdict(), QStringLiteral("si: 32767/ 32767"));
        }
        const QImage solved = form.window()->grab().toImage();
        program.answerNext(forms::MsgBoxResult::No);
        program.answerNext(forms::MsgBoxResult::No);
        QAction* esci = exercise.control(QStringLiteral("mnuEsci")).action();
        esci->trigger();
        form.window()->close(); // the window's close button asks the same
        QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>(2, {"Tavendel", "Vuoi lasciare l'esercizio e tornare al menu principale?",
                                                                         forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question}));
        QVERIFY(program.find(kReading) == &form && form.window()->isVisible() && form.window()->grab().toImage() == solved);
        const QString question = exercise.caption(kQuestion);
        exercise.control(QStringLiteral("MenuAzzera")).action()->trigger();
        QCOMPARE(exercise.verdict() + exercise.caption(kQuestion), "si:0/0" + question);
        esci->trigger(); // Yes
        QVERIFY(program.find(kMenu) && !program.find(kReading));
    }

    // With the keyboard alone, in each exercise: the level button, the hint
    // and the cards by Tab and Space, an answer confirmed and avanti pressed
    // with Enter, and back by the exit entry's access key, Alt+E (a fixed
    // bug), and Yes.
    void everyExerciseFromTheMenuAndBack()
    {
        const auto focused = [] { return QApplication::focusWidget()->objectName(); };
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            TestProgram::settle();
        };
        const auto tabTo = [&](const QString& name) {
            for (int presses = 0; presses < 20 && !focused().startsWith(name); ++presses)
                press(Qt::Key_Tab);
            return focused().startsWith(name);
        };
        // A window shown is made active, as a window manager does.
        const auto activate = [](QWidget* w) { QApplication::setActiveWindow(w); return QTest::qWaitForWindowActive(w); };
        for (const VoceEsercizio& entry : esercizi()) {
            const QString form = entry.forma, button = entry.bottoni[0].nome; // its level 38 on the menu
            ExerciseDriver exercise(form);
            QVERIFY2(activate(exercise.program.show(kMenu).window()) && tabTo(button), qPrintable(form));
            press(Qt::Key_Space);
            QVERIFY(activate(exercise.form().window()));
            if (form == kReading) {
                QVERIFY(tabTo(kHint[0]));
                press(Qt::Key_Space);
                QCOMPARE(exercise.shown(kHint) + focused(), QStringLiteral("01111Text1"));
            }
            const bool matching = form == QLatin1String("Form3");
            // The matching exercise's first card in the row order is picked up, then put on its value.
            QTest::keyClicks(QApplication::focusWidget(), matching ? " " : exercise.rightAnswer());
            QVERIFY(!matching || tabTo(focused().replace(kQuestion, QStringLiteral("Label4"))));
            press(matching ? Qt::Key_Space : Qt::Key_Return);
            QCOMPARE(form + exercise.verdict(), form + QStringLiteral("si: 1/0"));
            press(Qt::Key_E, Qt::AltModifier);
            QVERIFY2(!exercise.program.find(form) && exercise.program.find(kMenu), qPrintable(form));
        }
    }
};

QTEST_MAIN(ReadingWritingTest)
#include "ReadingWritingTest.moc"
