// The matching exercise driven as a pupil drives it: cards dragged with the
// mouse, or picked up and put down with clicks or the keyboard, on the real
// form with a seeded generator.

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "exercises/Form3.h"
#include "forms/Control.h"
#include "forms/Random.h"
#include "roman/ModuloRomano.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <set>

namespace {
constexpr int kPairs = Form3::kCoppie;
using Rows = std::array<int, kPairs>; // the row of each card

// The cards' first top and their spacing at the design size, in twips.
constexpr double kFirstTop = 105;
constexpr double kCardStep = 525;

enum class Way { Drag, Click, Keyboard };
} // namespace
Q_DECLARE_METATYPE(Way)

namespace {

// The shuffle's rule on its own: each row starts at a drawn card and takes
// the next one not yet placed, cyclically.
Rows rowsFromStarts(const Rows& starts)
{
    Rows rowOfCard{};
    std::array<bool, kPairs> placed{};
    for (int row = 0; row < kPairs; ++row) {
        int k = starts[row];
        while (placed[k])
            k = (k + 1) % kPairs;
        placed[k] = true;
        rowOfCard[k] = row;
    }
    return rowOfCard;
}

Rows drawRows()
{
    Rows starts{};
    for (int& start : starts)
        start = int(forms::rnd() * float(kPairs));
    return rowsFromStarts(starts);
}

int number(const QString& shown)
{
    QString digits;
    for (QChar c : shown)
        if (c.isDigit())
            digits.append(c);
    return digits.toInt();
}

QString numeral(int n)
{
    return QString::fromStdString(ModuloRomano::TraduciRomano(std::int16_t(n)));
}
} // namespace

class MatchingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }
    void cleanup();

    void opensWithCountsAtZeroAfterAnotherExercise();
    void dealsSevenDifferentValuesWithinTheLevel_data();
    void dealsSevenDifferentValuesWithinTheLevel();
    void dealFollowsTheDrawsOfTheGenerator();
    void largeValuesShowTheLocaleSeparator_data();
    void largeValuesShowTheLocaleSeparator();
    void eachRowHoldsOneCardAndOneValue_data();
    void eachRowHoldsOneCardAndOneValue();
    void resizingKeepsTheRoundOnItsRows();
    void rightDropMovesTheNumeralIntoTheValue_data();
    void rightDropMovesTheNumeralIntoTheValue();
    void wrongDropCountsOnlyWrong_data();
    void wrongDropCountsOnlyWrong();
    void wrongCardOnAMatchedValueIsWrong();
    void droppingElsewhereDoesNothing_data();
    void droppingElsewhereDoesNothing();
    void anEmptiedCardCanNeitherBeDraggedNorPicked();
    void aPickedCardGoesBack_data();
    void aPickedCardGoesBack();
    void pickingAnotherCardPutsTheFirstBack();
    void tabGoesDownTheCardsThenDownTheValues();
    void seventhRightDropOpensAvantiForANewRound();
    void azzeraResetsTheCountsAndKeepsTheCards();
    void shuffleGivesTheDistributionOfItsRule();

private:
    Form3& open(std::int16_t level, std::uint64_t seed = 1, QSize screen = QSize(1024, 768));
    forms::Control& card(int i) const { return m_form->control(QStringLiteral("Label3"), i); }
    forms::Control& value(int i) const { return m_form->control(QStringLiteral("Label4"), i); }
    forms::Control& named(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    QString caption(const char* name) const { return named(name).caption(); }
    int cardOnRow(int row) const;
    Rows currentRows() const;
    void verifyRows() const;

    void drag(forms::Control& source, QWidget* target, QPoint at);
    void drag(forms::Control& source, forms::Control& target);
    void tabTo(forms::Control& control);
    void pressSpaceOn(forms::Control& control);
    void put(Way way, int cardIndex, int valueIndex);

    std::unique_ptr<TestProgram> m_program;
    Form3* m_form = nullptr;
};

void MatchingTest::cleanup()
{
    m_form = nullptr;
    m_program.reset();
    QLocale::setDefault(QLocale::c());
}

Form3& MatchingTest::open(std::int16_t level, std::uint64_t seed, QSize screen)
{
    m_form = nullptr;
    m_program.reset();
    m_program = std::make_unique<TestProgram>(seed, screen);
    Stato().setNumeroMassimo(level);
    m_form = &dynamic_cast<Form3&>(m_program->show(QStringLiteral("Form3")));
    QApplication::setActiveWindow(m_form->window());
    return *m_form;
}

int MatchingTest::cardOnRow(int row) const
{
    const double top = value(row).top(); // value i stands on row i
    for (int i = 0; i < kPairs; ++i)
        if (card(i).top() == top)
            return i;
    return -1;
}

Rows MatchingTest::currentRows() const
{
    Rows rows{};
    for (int row = 0; row < kPairs; ++row)
        rows[cardOnRow(row)] = row;
    return rows;
}

void MatchingTest::verifyRows() const
{
    // The rows follow the scaled cards' design: first top and spacing.
    const double scale = m_form->scaleHeight() / Stato().objResize()->recordedHeight();
    const double first = value(0).top();
    const double step = value(1).top() - first;
    QVERIFY(std::abs(first - kFirstTop * scale) <= 1);
    QVERIFY(std::abs(step - kCardStep * scale) <= 1);

    std::set<int> cards;
    for (int row = 0; row < kPairs; ++row) {
        QCOMPARE(value(row).top(), first + row * step);
        const int k = cardOnRow(row);
        QVERIFY2(k >= 0, qPrintable(QStringLiteral("no card on row %1").arg(row)));
        cards.insert(k);
        // On screen too: the card and the value stand side by side, equally tall.
        QCOMPARE(card(k).widget()->geometry().top(), value(row).widget()->geometry().top());
        QCOMPARE(card(k).widget()->height(), value(row).widget()->height());
    }
    QCOMPARE(cards.size(), std::size_t(kPairs));
}

void MatchingTest::drag(forms::Control& source, QWidget* target, QPoint at)
{
    QWidget* from = source.widget();
    QTest::mousePress(from, Qt::LeftButton, {}, from->rect().center());
    QTest::mouseMove(target, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
}

void MatchingTest::drag(forms::Control& source, forms::Control& target)
{
    drag(source, target.widget(), target.widget()->rect().center());
}

void MatchingTest::tabTo(forms::Control& control)
{
    for (int presses = 0; presses < 3 * kPairs && !control.hasFocus(); ++presses)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY2(control.hasFocus(), "Tab never reached the control");
}

void MatchingTest::pressSpaceOn(forms::Control& control)
{
    tabTo(control);
    QTest::keyClick(control.widget(), Qt::Key_Space);
}

void MatchingTest::put(Way way, int cardIndex, int valueIndex)
{
    switch (way) {
    case Way::Drag:
        drag(card(cardIndex), value(valueIndex));
        break;
    case Way::Click:
        QTest::mouseClick(card(cardIndex).widget(), Qt::LeftButton);
        QVERIFY(card(cardIndex).isHighlighted());
        QTest::mouseClick(value(valueIndex).widget(), Qt::LeftButton);
        break;
    case Way::Keyboard:
        pressSpaceOn(card(cardIndex));
        QVERIFY(card(cardIndex).isHighlighted());
        pressSpaceOn(value(valueIndex));
        break;
    }
    QVERIFY(!card(cardIndex).isHighlighted());
    QVERIFY(!m_form->isDragging());
}

void MatchingTest::opensWithCountsAtZeroAfterAnotherExercise()
{
    m_program = std::make_unique<TestProgram>();
    Stato().aggiungiEsatto(); // left over from another exercise
    Stato().aggiungiErrato();
    Stato().setNumeroMassimo(38);
    m_form = &dynamic_cast<Form3&>(m_program->show(QStringLiteral("Form3")));

    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral("0"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QCOMPARE(Stato().ContaEsatti(), std::int16_t(0));
    QCOMPARE(Stato().ContaErrati(), std::int16_t(0));
    QVERIFY(named("BottoneAvanti").isVisible());
    QVERIFY(!named("BottoneAvanti").isEnabled());
    QCOMPARE(caption("MenuAzzera"), QStringLiteral("Azzera conteggio          "));
    QCOMPARE(caption("MenuInformazioni"), QStringLiteral("Informazioni           "));
}

void MatchingTest::dealsSevenDifferentValuesWithinTheLevel_data()
{
    QTest::addColumn<int>("level");
    for (int level : {38, 88, 388, 888, 3000})
        QTest::addRow("level %d", level) << level;
}

void MatchingTest::dealsSevenDifferentValuesWithinTheLevel()
{
    QFETCH(int, level);
    for (std::uint64_t seed : {3u, 4u, 5u}) {
        open(std::int16_t(level), seed);
        std::set<int> values;
        std::set<QString> numerals;
        for (int i = 0; i < kPairs; ++i) {
            const int n = number(value(i).caption());
            QVERIFY(n >= 1 && n <= level);
            values.insert(n);
            QCOMPARE(card(i).caption(), numeral(n)); // card i pairs with value i
            QVERIFY(card(i).isEnabled());
            numerals.insert(card(i).caption());
        }
        QCOMPARE(values.size(), std::size_t(kPairs));
        QCOMPARE(numerals.size(), std::size_t(kPairs));
    }
}

void MatchingTest::dealFollowsTheDrawsOfTheGenerator()
{
    // Colour, then seven numbers (a repeat is drawn again), then the rows.
    constexpr std::int16_t level = 38;
    int redrawn = 0;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        forms::randomize(seed);
        const quint32 colour = ModuloColoriSuoni::ColoreCasuale();
        std::array<int, kPairs> numbers{};
        for (int k = 0; k < kPairs; ++k) {
            for (;;) {
                numbers[k] = int(forms::rnd() * float(level)) + 1;
                if (std::find(numbers.begin(), numbers.begin() + k, numbers[k]) == numbers.begin() + k)
                    break;
                ++redrawn;
            }
        }
        const Rows rows = drawRows();

        open(level, seed);
        QCOMPARE(m_form->backColor(), colour);
        for (int i = 0; i < kPairs; ++i)
            QCOMPARE(value(i).caption(), QString::number(numbers[i]));
        QCOMPARE(currentRows(), rows);
    }
    QVERIFY2(redrawn > 0, "no seed made a number come twice");
}

void MatchingTest::largeValuesShowTheLocaleSeparator_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << QStringLiteral(".");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << QStringLiteral(",");
}

void MatchingTest::largeValuesShowTheLocaleSeparator()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    QLocale::setDefault(locale);
    open(3000, 7);
    int large = 0;
    for (int i = 0; i < kPairs; ++i) {
        const int n = ModuloRomano::LeggiRomano(card(i).caption().toStdString());
        const QString expected = n < 1000 ? QString::number(n)
                                          : QStringLiteral("%1%2%3").arg(n / 1000).arg(separator)
                                                .arg(n % 1000, 3, 10, QLatin1Char('0'));
        QCOMPARE(value(i).caption(), expected);
        large += n >= 1000;
    }
    QVERIFY(large > 0);
}

void MatchingTest::eachRowHoldsOneCardAndOneValue_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("800x600") << QSize(800, 600);
}

void MatchingTest::eachRowHoldsOneCardAndOneValue()
{
    QFETCH(QSize, screen);
    for (std::uint64_t seed : {1u, 2u}) {
        open(88, seed, screen);
        verifyRows();
    }
}

void MatchingTest::resizingKeepsTheRoundOnItsRows()
{
    open(388, 11);
    const Rows rows = currentRows();
    std::array<double, kPairs> tops{};
    for (int i = 0; i < kPairs; ++i)
        tops[i] = card(i).top();

    const double lastRow = value(6).top();

    const QSize full = m_form->window()->size();
    m_form->window()->resize(700, 500); // as a window manager would
    verifyRows();
    QCOMPARE(currentRows(), rows);
    QVERIFY(value(6).top() < lastRow);

    m_form->window()->resize(full);
    for (int i = 0; i < kPairs; ++i)
        QCOMPARE(card(i).top(), tops[i]);
    verifyRows();
}

void MatchingTest::rightDropMovesTheNumeralIntoTheValue_data()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("dragged") << Way::Drag;
    QTest::newRow("picked and put down with clicks") << Way::Click;
    QTest::newRow("picked and put down with Space") << Way::Keyboard;
}

void MatchingTest::rightDropMovesTheNumeralIntoTheValue()
{
    QFETCH(Way, way);
    open(888, 2);
    const int k = cardOnRow(3);
    const QString numeralShown = card(k).caption();
    put(way, k, k);

    QCOMPARE(value(k).caption(), numeralShown);
    QCOMPARE(card(k).caption(), QString());
    QVERIFY(!card(k).isEnabled());
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 1"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QVERIFY(named("ComandoIconaSi").isVisible());
    QVERIFY(!named("ComandoIconaNo").isVisible());
    QCOMPARE(m_program->sounds().played.size(), 1);
    QVERIFY(m_program->sounds().played[0].contains(QStringLiteral("/suoni/si")));
    QVERIFY(!named("BottoneAvanti").isEnabled());
}

void MatchingTest::wrongDropCountsOnlyWrong_data()
{
    rightDropMovesTheNumeralIntoTheValue_data();
}

void MatchingTest::wrongDropCountsOnlyWrong()
{
    QFETCH(Way, way);
    open(888, 2);
    const int k = cardOnRow(3);
    const int other = (k + 4) % kPairs;
    const QString numeralShown = card(k).caption();
    const QString valueShown = value(other).caption();
    put(way, k, other);

    QCOMPARE(caption("EtichettaErrati"), QStringLiteral(" 1"));
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral("0"));
    QCOMPARE(value(other).caption(), valueShown);
    QCOMPARE(card(k).caption(), numeralShown);
    QVERIFY(card(k).isEnabled());
    QVERIFY(named("ComandoIconaNo").isVisible());
    QVERIFY(!named("ComandoIconaSi").isVisible());
    QCOMPARE(m_program->sounds().played, QStringList{m_program->folder() + QStringLiteral("/suoni/no.wav")});
}

void MatchingTest::wrongCardOnAMatchedValueIsWrong()
{
    open(38, 5);
    put(Way::Drag, 2, 2);
    const QString matched = value(2).caption();
    put(Way::Drag, 4, 2);
    put(Way::Click, 5, 2);

    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 1"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral(" 2"));
    QCOMPARE(value(2).caption(), matched);
    QVERIFY(card(4).isEnabled() && card(5).isEnabled());
}

void MatchingTest::droppingElsewhereDoesNothing_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("the picture box") << QStringLiteral("PicturesattiErrati");
    QTest::newRow("a count") << QStringLiteral("EtichettaEsatti");
    QTest::newRow("another card") << QStringLiteral("Label3");
    QTest::newRow("the form") << QString();
}

void MatchingTest::droppingElsewhereDoesNothing()
{
    QFETCH(QString, where);
    open(88, 9);
    const int k = cardOnRow(0);
    std::array<QString, kPairs> values;
    for (int i = 0; i < kPairs; ++i)
        values[i] = value(i).caption();
    const QString numeralShown = card(k).caption();

    if (where.isEmpty()) {
        QWidget* client = m_form->clientArea();
        drag(card(k), client, client->rect().bottomRight() - QPoint(4, 4));
    } else if (where == QLatin1String("Label3")) {
        drag(card(k), card(cardOnRow(4)));
    } else {
        drag(card(k), m_form->control(where));
    }

    QVERIFY(!m_form->isDragging());
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral("0"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QVERIFY(m_program->sounds().played.isEmpty());
    QCOMPARE(card(k).caption(), numeralShown);
    QVERIFY(card(k).isEnabled());
    for (int i = 0; i < kPairs; ++i)
        QCOMPARE(value(i).caption(), values[i]);
    verifyRows();
}

void MatchingTest::anEmptiedCardCanNeitherBeDraggedNorPicked()
{
    open(38, 4);
    put(Way::Drag, 1, 1);

    drag(card(1), value(1));
    QVERIFY(!m_form->isDragging());
    QTest::mouseClick(card(1).widget(), Qt::LeftButton);
    QVERIFY(!card(1).isHighlighted());
    QTest::mouseClick(value(3).widget(), Qt::LeftButton);

    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 1"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QVERIFY(!card(1).isEnabled());
}

void MatchingTest::aPickedCardGoesBack_data()
{
    // What puts the card back: a key on the focused control, or a click on a
    // control (at `at`, or its middle), or on the form's own background.
    QTest::addColumn<QString>("how");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("Escape on the card") << QStringLiteral("escape card") << QPoint();
    QTest::newRow("Escape on a value") << QStringLiteral("escape value") << QPoint();
    QTest::newRow("a click on the form") << QString() << QPoint();
    QTest::newRow("a click on the picture box") << QStringLiteral("PicturesattiErrati") << QPoint(4, 4);
    QTest::newRow("a click on a count") << QStringLiteral("EtichettaErrati") << QPoint();
    QTest::newRow("a click on a picture") << QStringLiteral("ComandoIconaSi") << QPoint();
}

void MatchingTest::aPickedCardGoesBack()
{
    QFETCH(QString, how);
    QFETCH(QPoint, at);
    open(88, 6);

    pressSpaceOn(card(3));
    QVERIFY(card(3).isHighlighted());
    if (how == QLatin1String("escape card")) {
        QTest::keyClick(card(3).widget(), Qt::Key_Escape);
    } else if (how == QLatin1String("escape value")) {
        tabTo(value(3));
        QTest::keyClick(value(3).widget(), Qt::Key_Escape);
    } else if (how.isEmpty()) {
        QWidget* client = m_form->clientArea();
        QTest::mouseClick(client, Qt::LeftButton, {}, client->rect().bottomRight() - QPoint(4, 4));
    } else {
        QTest::mouseClick(m_form->control(how).widget(), Qt::LeftButton, {}, at);
    }
    QVERIFY(!card(3).isHighlighted());

    // Nothing is in hand any more: a value takes nothing.
    QTest::mouseClick(value(3).widget(), Qt::LeftButton);
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral("0"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QVERIFY(card(3).isEnabled());
}

void MatchingTest::pickingAnotherCardPutsTheFirstBack()
{
    open(38, 8);
    QTest::mouseClick(card(0).widget(), Qt::LeftButton);
    QTest::mouseClick(card(5).widget(), Qt::LeftButton);
    QVERIFY(!card(0).isHighlighted());
    QVERIFY(card(5).isHighlighted());
    QTest::mouseClick(value(5).widget(), Qt::LeftButton);
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 1"));
    QVERIFY(card(0).isEnabled());
}

void MatchingTest::tabGoesDownTheCardsThenDownTheValues()
{
    open(38, 12);
    for (int row = 0; row < kPairs; ++row) {
        QVERIFY(card(cardOnRow(row)).hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (int row = 0; row < kPairs; ++row) {
        QVERIFY(value(row).hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY(card(cardOnRow(0)).hasFocus()); // "avanti" is closed: round again
}

void MatchingTest::seventhRightDropOpensAvantiForANewRound()
{
    open(38, 10);
    put(Way::Drag, 0, 1); // one wrong answer on the way
    const std::array<Way, 3> ways{Way::Drag, Way::Click, Way::Keyboard};
    for (int i = 0; i < kPairs; ++i) {
        QVERIFY(!named("BottoneAvanti").isEnabled());
        const QString shown = card(i).caption();
        put(ways[i % ways.size()], i, i);
        QCOMPARE(value(i).caption(), shown);
    }
    forms::Control& avanti = named("BottoneAvanti");
    QVERIFY(avanti.isEnabled());
    QVERIFY(avanti.hasFocus());
    for (int i = 0; i < kPairs; ++i)
        QVERIFY(!card(i).isEnabled() && card(i).caption().isEmpty());
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 7"));

    const quint32 colour = m_form->backColor();
    QTest::mouseClick(avanti.widget(), Qt::LeftButton);
    QVERIFY(!avanti.isEnabled());
    QVERIFY(m_form->backColor() != colour);
    std::set<int> values;
    for (int i = 0; i < kPairs; ++i) {
        const int n = value(i).caption().toInt();
        QVERIFY(n >= 1 && n <= 38);
        values.insert(n);
        QVERIFY(card(i).isEnabled());
        QCOMPARE(card(i).caption(), numeral(n));
    }
    QCOMPARE(values.size(), std::size_t(kPairs));
    verifyRows();

    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 7")); // the counts go on
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral(" 1"));
    put(Way::Drag, 3, 3);
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 8"));
}

void MatchingTest::azzeraResetsTheCountsAndKeepsTheCards()
{
    open(388, 13);
    put(Way::Drag, 2, 2);
    put(Way::Drag, 3, 4);
    std::array<QString, kPairs> cards, values;
    for (int i = 0; i < kPairs; ++i) {
        cards[i] = card(i).caption();
        values[i] = value(i).caption();
    }
    const Rows rows = currentRows();

    named("MenuAzzera").action()->trigger();
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral("0"));
    QCOMPARE(caption("EtichettaErrati"), QStringLiteral("0"));
    QCOMPARE(Stato().ContaEsatti(), std::int16_t(0));
    QCOMPARE(Stato().ContaErrati(), std::int16_t(0));
    for (int i = 0; i < kPairs; ++i) {
        QCOMPARE(card(i).caption(), cards[i]);
        QCOMPARE(value(i).caption(), values[i]);
        QCOMPARE(card(i).isEnabled(), i != 2);
    }
    QCOMPARE(currentRows(), rows);

    put(Way::Drag, 5, 5);
    QCOMPARE(caption("EtichettaEsatti"), QStringLiteral(" 1"));
}

void MatchingTest::shuffleGivesTheDistributionOfItsRule()
{
    // The rule favours the card that follows, in index order, one already
    // placed: the offset from each row's card to the card on the row above
    // has the distribution the rule implies over all 7^7 starts.
    using Table = std::array<std::array<double, kPairs>, kPairs>; // [row][offset]
    const auto offset = [](const Rows& rows, int row) {
        int above = 0, here = 0;
        for (int k = 0; k < kPairs; ++k) {
            above = rows[k] == row - 1 ? k : above;
            here = rows[k] == row ? k : here;
        }
        return (here - above + kPairs) % kPairs;
    };
    Table implied{};
    int starts = 1;
    for (int i = 0; i < kPairs; ++i)
        starts *= kPairs;
    for (int code = 0; code < starts; ++code) {
        Rows start{};
        for (int row = 0, rest = code; row < kPairs; ++row, rest /= kPairs)
            start[row] = rest % kPairs;
        const Rows rows = rowsFromStarts(start);
        for (int row = 1; row < kPairs; ++row)
            implied[row][offset(rows, row)] += 1.0 / starts;
    }

    constexpr int deals = 2000;
    open(38, 2024);
    Table seen{};
    for (int deal = 0; deal < deals; ++deal) {
        m_form->ScombiccheraPosti();
        const Rows rows = currentRows();
        for (int row = 1; row < kPairs; ++row)
            seen[row][offset(rows, row)] += 1;
    }

    const auto chiSquare = [&](const auto& expectedShare) {
        double sum = 0;
        for (int row = 1; row < kPairs; ++row)
            for (int d = 1; d < kPairs; ++d) {
                const double expected = deals * expectedShare(row, d);
                sum += (seen[row][d] - expected) * (seen[row][d] - expected) / expected;
            }
        return sum;
    };
    // 6 rows of 6 possible offsets: 30 degrees of freedom; 59.7 is their 0.999 quantile.
    constexpr double limit = 59.7;
    for (int row = 1; row < kPairs; ++row)
        QCOMPARE(seen[row][0], 0.0); // a card never follows itself
    const double rule = chiSquare([&](int row, int d) { return implied[row][d]; });
    QVERIFY2(rule < limit, qPrintable(QString::number(rule)));
    // The same deals tell the rule apart from an even shuffle.
    const double even = chiSquare([](int, int) { return 1.0 / (kPairs - 1); });
    QVERIFY2(even > 10 * limit, qPrintable(QString::number(even)));
}

QTEST_MAIN(MatchingTest)
#include "MatchingTest.moc"
