#include "ExerciseDriver.h"

#include "TestProgram.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Random.h"
#include "roman/ModuloRomano.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QLineEdit>
#include <QTest>

#include <stdexcept>

namespace {
// The draws before a question's number: Load's colour and the question's
// own colour for the first question, only the question's colour later.
constexpr int kDrawsBeforeFirstQuestion = 2;
constexpr int kDrawsBeforeNextQuestion = 1;
constexpr std::uint64_t kSeedsToTry = 1'000'000;

QString digitsOf(const QString& text)
{
    QString digits;
    for (QChar c : text)
        if (c.isDigit())
            digits.append(c);
    return digits;
}
} // namespace

ExerciseDriver::ExerciseDriver(TestProgram& program, QString formName)
    : m_program(program), m_formName(std::move(formName))
{}

bool ExerciseDriver::reading() const
{
    return m_formName == QLatin1String("Form1");
}

forms::Form& ExerciseDriver::open(std::int16_t level)
{
    Stato().setNumeroMassimo(level);
    return m_program.show(m_formName);
}

forms::Form& ExerciseDriver::openAt(std::int16_t level, std::int16_t number)
{
    Stato().setNumeroMassimo(level);
    seedNextDraw(number, kDrawsBeforeFirstQuestion);
    return m_program.show(m_formName);
}

forms::Form& ExerciseDriver::form() const
{
    forms::Form* shown = m_program.find(m_formName);
    if (!shown)
        throw std::logic_error("the exercise is not loaded");
    return *shown;
}

forms::Control& ExerciseDriver::control(const QString& name) const
{
    return form().control(name);
}

QLineEdit* ExerciseDriver::box() const
{
    return qobject_cast<QLineEdit*>(control(QStringLiteral("Text1")).widget());
}

QString ExerciseDriver::caption(const QString& name) const
{
    return control(name).caption();
}

std::int16_t ExerciseDriver::shownNumber() const
{
    const QString question = caption(QStringLiteral("Label3"));
    if (reading())
        return ModuloRomano::LeggiRomano(question.toStdString());
    return static_cast<std::int16_t>(digitsOf(question).toInt());
}

QString ExerciseDriver::rightAnswer() const
{
    const std::int16_t number = shownNumber();
    if (reading())
        return QString::number(number);
    return QString::fromStdString(ModuloRomano::TraduciRomano(number)).remove(QLatin1Char(' '));
}

QString ExerciseDriver::wrongAnswer() const
{
    // One more than asked: the letters of the level still spell it, except
    // at the top, where one less does.
    const std::int16_t number = shownNumber();
    const auto other = static_cast<std::int16_t>(number < Stato().NumeroMassimo() ? number + 1 : number - 1);
    if (reading())
        return QString::number(other);
    return QString::fromStdString(ModuloRomano::TraduciRomano(other)).remove(QLatin1Char(' '));
}

void ExerciseDriver::type(const QString& keys) const
{
    QTest::keyClicks(box(), keys);
}

void ExerciseDriver::pressEnter() const
{
    QTest::keyClick(box(), Qt::Key_Return);
}

void ExerciseDriver::put(Entry how, const QString& text) const
{
    switch (how) {
    case Entry::Keys:
        type(text);
        return;
    case Entry::Paste:
        // The slot, not Ctrl+V: QTest gives that key the text "v", which the
        // box would take as a typed letter.
        QApplication::clipboard()->setText(text);
        box()->paste();
        return;
    case Entry::Drop: {
        QMimeData data;
        data.setText(text);
        const QPointF at = QRectF(box()->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box(), &dropped);
        return;
    }
    }
}

void ExerciseDriver::erase() const
{
    QTest::keyClick(box(), Qt::Key_End);
    for (auto left = box()->text().size(); left > 0; --left)
        QTest::keyClick(box(), Qt::Key_Backspace);
}

void ExerciseDriver::answer(const QString& keys) const
{
    type(keys);
    pressEnter();
}

void ExerciseDriver::pressEnterOnFocus() const
{
    QWidget* focused = form().window()->focusWidget();
    if (!focused)
        throw std::logic_error("nothing has the focus");
    QTest::keyClick(focused, Qt::Key_Return);
}

void ExerciseDriver::clickNext() const
{
    QTest::mouseClick(control(QStringLiteral("BottoneAvanti")).widget(), Qt::LeftButton);
}

void ExerciseDriver::solveAndGoOn() const
{
    answer(rightAnswer());
    clickNext();
}

void ExerciseDriver::solveAndGoOnTo(std::int16_t number) const
{
    answer(rightAnswer());
    seedNextQuestion(number);
    clickNext();
}

void ExerciseDriver::seedNextQuestion(std::int16_t number) const
{
    seedNextDraw(number, kDrawsBeforeNextQuestion);
}

void ExerciseDriver::seedNextDraw(std::int16_t number, int drawsFirst) const
{
    const float level = float(Stato().NumeroMassimo());
    for (std::uint64_t seed = 1; seed < kSeedsToTry; ++seed) {
        forms::randomize(seed);
        for (int i = 0; i < drawsFirst; ++i)
            forms::rnd();
        if (int(forms::rnd() * level) + 1 == number) {
            forms::randomize(seed);
            return;
        }
    }
    throw std::logic_error("no seed draws that number");
}
