#pragma once

#include <QString>

#include <cstdint>

class QLineEdit;
class QWidget;
class TestProgram;

namespace forms {
class Control;
class Form;
}

// Drives the reading or the writing exercise as the pupil does: it reads
// the question off the screen, types into the answer box and presses Enter.
// A question can be chosen by seeding the generator just before it is drawn.
class ExerciseDriver
{
public:
    // "Form1" (reading) or "Form2" (writing).
    ExerciseDriver(TestProgram& program, QString formName);

    // Opens the exercise at this level, with whatever question comes.
    forms::Form& open(std::int16_t level);
    // Opens it with this number as its first question.
    forms::Form& openAt(std::int16_t level, std::int16_t number);

    forms::Form& form() const;
    forms::Control& control(const QString& name) const;
    QLineEdit* box() const;
    QString caption(const QString& name) const;

    // The number the question shows: the numeral read back, or its digits.
    std::int16_t shownNumber() const;
    // An answer that is right (or wrong) for the question shown.
    QString rightAnswer() const;
    QString wrongAnswer() const;

    void type(const QString& keys) const;
    void pressEnter() const;
    // How text reaches the answer box: typed key by key, pasted from the
    // clipboard, or dragged from elsewhere and dropped.
    enum class Entry { Keys, Paste, Drop };
    void put(Entry how, const QString& text) const;
    // Backspace until the box is empty.
    void erase() const;
    void answer(const QString& keys) const;
    // Enter on the focused control, as the pupil would press it next.
    void pressEnterOnFocus() const;
    // A click on BottoneAvanti.
    void clickNext() const;
    // Solves the question shown, then clicks BottoneAvanti.
    void solveAndGoOn() const;
    // Solves the question shown and makes `number` the next one.
    void solveAndGoOnTo(std::int16_t number) const;

    // Seeds the generator so that BottoneAvanti brings `number` next.
    void seedNextQuestion(std::int16_t number) const;

private:
    bool reading() const;
    void seedNextDraw(std::int16_t number, int drawsFirst) const;

    TestProgram& m_program;
    QString m_formName;
};
