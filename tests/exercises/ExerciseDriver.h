#pragma once

#include "TestProgram.h"

#include "forms/Form.h"

#include <QLineEdit>
#include <QString>

#include <cstdint>
#include <functional>

// Drives an exercise as the pupil does, in a program of its own. The
// question and answer-box helpers are for the reading ("Form1") and the
// writing ("Form2") exercise: they read the question off the screen and
// type; a question is chosen by scripting the draws that bring it.
class ExerciseDriver
{
public:
    explicit ExerciseDriver(QString formName, std::uint64_t seed = 1, QSize screen = QSize(1024, 768))
        : m_program(seed, screen), m_formName(std::move(formName))
    {}

    TestProgram& program() { return m_program; }
    // Opens the exercise with counts left over, as another exercise leaves them.
    forms::Form& open(std::int16_t level);
    forms::Form& openAt(std::int16_t level, std::int16_t number);

    forms::Form& form() const { return *m_program.find(m_formName); }
    forms::Control& control(const QString& name, int index = -1) const { return form().control(name, index); }
    QString caption(const QString& name) const { return control(name).caption(); }
    QLineEdit* box() const { return qobject_cast<QLineEdit*>(control(QStringLiteral("Text1")).widget()); }
    // The counts as shown, "right/wrong".
    QString counts() const;
    // The faces shown: "si", "no", both or neither.
    QString faces() const;
    // The controls announced to assistive technology while `action` ran,
    // then the counts' accessible names.
    QStringList heardBy(const std::function<void()>& action);
    // The sounds played, the program folder left out, joined by "|".
    QString sounds() { return m_program.sounds().played.join(QLatin1Char('|')).remove(m_program.folder()); }
    // Whether one sound was played, a right answer's or the wrong one's.
    bool heardOnly(bool right);
    // The reading exercise's hint: "offered" (the button, no group), "used"
    // (all four groups, no button) or "mixed".
    QString hint() const;

    std::int16_t shownNumber() const;
    QString rightAnswer() const { return answerFor(shownNumber()); }
    // One more than asked (one less at the top): still the level's letters.
    QString wrongAnswer() const;

    // How text reaches the answer box.
    enum class Entry { Keys, Paste, Drop };
    void put(Entry how, const QString& text) const;
    void type(const QString& keys) const { put(Entry::Keys, keys); }
    void pressEnter() const;
    void answer(const QString& keys) const;
    void erase() const;
    void clickNext() const;
    // Scripts the generator so that BottoneAvanti brings `number` next.
    void seedNextQuestion(std::int16_t number) const;

    // Opens the level and solves 150 questions: each in the level, shown as
    // the exercise shows it, waiting in its own colour with the box empty
    // and focused; the counts start at 0.
    void verifyQuestions(std::int16_t level, double points);
    // Enter on an empty box is no answer; then `typed` is judged once, the
    // box showing `kept`. A wrong answer stays, and Enter counts it again.
    void verifyAnswer(const QString& typed, bool right, const QString& kept);

private:
    bool reading() const { return m_formName == QLatin1String("Form1"); }
    QString answerFor(int number) const;
    void seedNextDraw(std::int16_t number, int drawsFirst) const;

    TestProgram m_program;
    QString m_formName;
};
