#include "SoakPupil.h"

#include "app/RegistroForme.h"
#include "exercises/Form3.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "language/modLanguageSupport.h"
#include "roman/ModuloRomano.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kPairs = Form3::kCoppie;
constexpr long kAnswersPerVisit = 20;
constexpr long kAnswersPerLanguage = 100;
constexpr long kWrongEvery = 3; // every third answer is a wrong one first
constexpr long kHintEvery = 4;  // the reading exercise's lamp, every fourth question
constexpr int kShotsToTake = 300;

const QString kMenu = QStringLiteral("FormMenu");
const QString kLanguageEntry = QStringLiteral("mnuLanguage");

// The exercises as the registry declares them: reading, writing, matching.
constexpr std::size_t kReading = 0;
constexpr std::size_t kMatching = 2;

void settle()
{
    // Unloaded forms go once their event is handled; this loop has none.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

forms::Form& loaded(const QString& name)
{
    if (forms::Form* form = forms::Application::instance().find(name))
        return *form;
    throw std::runtime_error("the soak expected " + name.toStdString() + " to be shown");
}

void expect(bool condition, const char* what)
{
    if (!condition)
        throw std::runtime_error(std::string("the soak lost its way: ") + what);
}

QString numeral(int number)
{
    return QString::fromStdString(ModuloRomano::TraduciRomano(std::int16_t(number)))
        .remove(QLatin1Char(' '));
}

} // namespace

SoakPupil::SoakPupil(MenuHook atTheMenu, QString shotsFolder)
    : m_atTheMenu(std::move(atTheMenu)), m_shots(std::move(shotsFolder))
{
    if (!m_shots.isEmpty() && !QDir().mkpath(m_shots))
        throw std::runtime_error("cannot make the folder " + m_shots.toStdString());
}

void SoakPupil::work(long answers)
{
    forms::Form& splash = forms::Application::instance().show(QStringLiteral("FormAvvio"));
    look(splash);
    click(splash.control(QStringLiteral("BottoneAvvio")));
    m_nextLanguage = kAnswersPerLanguage;
    for (int visit = 0; m_answers < answers; ++visit)
        this->visit(visit, std::min(answers, m_answers + kAnswersPerVisit));
    m_atTheMenu(m_answers);
}

void SoakPupil::visit(int visit, long until)
{
    forms::Form& menu = loaded(kMenu);
    look(menu);
    m_atTheMenu(m_answers);
    if (m_answers >= m_nextLanguage) {
        switchLanguage(menu);
        m_nextLanguage += kAnswersPerLanguage;
    }
    // Reading, writing, matching, then the same at the next level.
    const std::vector<VoceEsercizio>& exercises = esercizi();
    const std::size_t which = std::size_t(visit) % exercises.size();
    const VoceEsercizio& exercise = exercises[which];
    const std::size_t level = std::size_t(visit) / exercises.size() % exercise.bottoni.size();
    click(menu.control(QString::fromLatin1(exercise.bottoni[level].nome)));

    forms::Form& form = loaded(exercise.forma);
    look(form);
    if (which == kMatching)
        match(form, until);
    else
        readOrWrite(form, which == kReading, until);
    leave(form);
}

void SoakPupil::switchLanguage(forms::Form& menu)
{
    // The entry that is not checked: Italiano and English take turns.
    for (int i = 0; i <= menu.highestIndex(kLanguageEntry); ++i) {
        forms::Control& entry = menu.control(kLanguageEntry, i);
        if (!entry.isChecked()) {
            entry.action()->trigger();
            settle();
            expect(modLanguageSupport::CurrentLanguage() == entry.caption(), "no language switch");
            look(menu);
            return;
        }
    }
    throw std::runtime_error("the soak needs two language files");
}

void SoakPupil::readOrWrite(forms::Form& exercise, bool reading, long until)
{
    forms::Control& next = exercise.control(QStringLiteral("BottoneAvanti"));
    while (m_answers < until) {
        QString question = exercise.control(QStringLiteral("Label3")).caption();
        const int number = reading ? ModuloRomano::LeggiRomano(question.toStdString())
                                   : question.remove(QRegularExpression(QStringLiteral("\\D"))).toInt();
        const auto answerFor = [reading](int n) { return reading ? QString::number(n) : numeral(n); };
        if (reading && m_answers % kHintEvery == 0)
            click(exercise.control(QStringLiteral("Command1")));
        if (m_answers % kWrongEvery == 0) {
            const int wrong = number < Stato().NumeroMassimo() ? number + 1 : number - 1;
            answerInTheBox(exercise, answerFor(wrong));
            expect(!next.isEnabled(), "a wrong answer taken as right");
            if (m_answers >= until)
                return;
            eraseTheBox(exercise);
        }
        answerInTheBox(exercise, answerFor(number));
        expect(next.isEnabled(), "a right answer not taken");
        click(next);
    }
}

void SoakPupil::match(forms::Form& exercise, long until)
{
    forms::Control& next = exercise.control(QStringLiteral("BottoneAvanti"));
    while (m_answers < until) {
        for (int i = 0; i < kPairs; ++i) {
            forms::Control& card = exercise.control(QStringLiteral("Label3"), i);
            if (m_answers % kWrongEvery == 0) {
                drag(card, exercise.control(QStringLiteral("Label4"), (i + 1) % kPairs));
                answered(exercise);
                if (m_answers >= until)
                    return;
            }
            drag(card, exercise.control(QStringLiteral("Label4"), i));
            expect(!card.isEnabled(), "a right drop not taken");
            answered(exercise);
            if (m_answers >= until)
                return;
        }
        expect(next.isEnabled(), "a round matched but no \"avanti\"");
        click(next);
    }
}

void SoakPupil::answerInTheBox(forms::Form& exercise, const QString& keys)
{
    QWidget* box = exercise.control(QStringLiteral("Text1")).widget();
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
    answered(exercise);
}

void SoakPupil::eraseTheBox(forms::Form& exercise)
{
    forms::Control& box = exercise.control(QStringLiteral("Text1"));
    QTest::keyClick(box.widget(), Qt::Key_End);
    for (auto left = box.text().size(); left > 0; --left)
        QTest::keyClick(box.widget(), Qt::Key_Backspace);
}

void SoakPupil::drag(forms::Control& card, forms::Control& value)
{
    QWidget* from = card.widget();
    QWidget* to = value.widget();
    QTest::mousePress(from, Qt::LeftButton, {}, from->rect().center());
    QTest::mouseMove(to, to->rect().center());
    QTest::mouseRelease(to, Qt::LeftButton, {}, to->rect().center());
}

void SoakPupil::click(forms::Control& control)
{
    QTest::mouseClick(control.widget(), Qt::LeftButton);
    settle();
}

void SoakPupil::leave(forms::Form& exercise)
{
    // "Esci", and the message box's Yes from the seam; the form is gone after.
    const QString name = exercise.name();
    exercise.control(QStringLiteral("mnuEsci")).action()->trigger();
    settle();
    expect(!forms::Application::instance().find(name), "the exercise stayed after Esci");
}

void SoakPupil::answered(forms::Form& exercise)
{
    ++m_answers;
    look(exercise);
}

void SoakPupil::look(const forms::Form& form)
{
    QCoreApplication::processEvents();
    // Offscreen windows need not paint by themselves: grabbing draws every
    // control, with its style, as the screen would show it.
    const QPixmap shown = form.window()->grab();
    if (!m_shots.isEmpty() && m_shotsTaken < kShotsToTake)
        shown.save(QDir(m_shots).filePath(QStringLiteral("%1.png").arg(m_shotsTaken++, 4, 10, QLatin1Char('0'))));
}
