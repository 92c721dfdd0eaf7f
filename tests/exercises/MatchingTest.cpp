// The matching exercise driven as a pupil drives it: cards dragged with the
// mouse, or picked up and put down with clicks or the keyboard.

#include "ExerciseDriver.h"

#include "exercises/Form3.h"

#include <QAction>

#include <cmath>
#include <optional>
#include <set>

namespace {
constexpr int kPairs = Form3::kCoppie;
enum class Way { Drag, Click, Keyboard };
} // namespace

class MatchingTest : public QObject
{
    Q_OBJECT

private slots:
    void roundAfterRound_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QSize>("screen");
        QTest::newRow("38, 800x600") << 38 << QSize(800, 600);
        QTest::newRow("888, 1920x1080") << 888 << QSize(1920, 1080);
        QTest::newRow("3000") << 3000 << QSize(1024, 768);
    }

    // The counts start at 0 whatever the exercise before counted, and avanti
    // shows closed (the golden pictures show both); Tab goes down the cards,
    // then down the values; resizing keeps the round on its rows (a mend:
    // scaling alone puts every card back on its design row). Each card onto
    // its value, by drag, clicks and Space in turn: wrong drops on the way,
    // onto a matched value; an emptied card can be neither dragged nor picked
    // up; "Azzera" midway resets the counts (the final ones say so) and keeps
    // the round; "avanti", open and focused after the seventh right drop and
    // not before, deals seven new pairs in a new colour, the counts going on.
    void roundAfterRound()
    {
        QFETCH(int, level);
        QFETCH(QSize, screen);
        open(std::int16_t(level), 10, screen);
        const QList<int> cards = cardsOnRows();
        for (int i = 0; i <= 2 * kPairs; ++i) { // "avanti" is closed: round again
            const forms::Control& expected = i / kPairs == 1 ? value(i % kPairs) : card(cards[i % kPairs]);
            QCOMPARE(QApplication::focusWidget(), expected.widget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        m_form->window()->resize(700, 500); // as a window manager would
        verifyRound(level);
        QCOMPARE(cardsOnRows(), cards);
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < kPairs; ++i) {
                if (round == 0 && i > 0 && i < 4)
                    put(Way(i % 3), i, i - 1);
                put(Way(i % 3), i, i);
                QCOMPARE(avanti().isEnabled() && avanti().hasFocus(), i == kPairs - 1);
                if (round > 0 || i != 2)
                    continue;
                // Reset first: a drop of the emptied card would then be the one wrong answer too many.
                m_form->control(QStringLiteral("MenuAzzera")).action()->trigger();
                drag(card(2), value(3).widget());
                QTest::mouseClick(card(2).widget(), Qt::LeftButton);
                QVERIFY(!card(2).isHighlighted() && !m_form->isDragging() && cardsOnRows() == cards);
            }
            const quint32 colour = m_form->backColor();
            QTest::mouseClick(avanti().widget(), Qt::LeftButton);
            QVERIFY(!avanti().isEnabled() && m_form->backColor() != colour);
            verifyRound(level);
        }
        QCOMPARE(m_exercise->verdict(), QStringLiteral("si: 11/ 1"));
    }

    // A card dropped elsewhere (a box, a label and a face in it, the form,
    // another card) stays; one picked up is put back by a click elsewhere, or
    // by Escape on a card or a value, and the value then takes nothing.
    void elsewhereNothingHappens()
    {
        open(88, 9);
        for (const char* where : {"PicturesattiErrati", "EtichettaEsatti", "ComandoIconaSi", "", "Label3"}) {
            QWidget* target = *where ? m_form->control(where, *where == 'L' ? 1 : -1).widget() : m_form->clientArea();
            const QPoint at = *where ? QPoint(4, 4) : target->rect().bottomRight() - QPoint(4, 4);
            drag(card(0), target, at);
            put(Way::Click, 0, -1);
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
            QVERIFY(!card(0).isHighlighted() && !m_form->isDragging());
        }
        for (QWidget* focused : {card(1).widget(), card(0).widget(), value(0).widget()}) {
            put(Way::Keyboard, 0, -1);
            QTest::keyClick(focused, Qt::Key_Escape);
            QVERIFY(!card(0).isHighlighted() && !card(1).isHighlighted());
        }
        QTest::mouseClick(value(0).widget(), Qt::LeftButton);
        QCOMPARE(m_exercise->verdict() + m_exercise->sounds(), QStringLiteral("si:0/0"));
    }

    // Each row draws a start and takes the next card not yet placed,
    // cyclically: the card on row 1 follows the one on row 0 with chance
    // 2/7 (its own start, or the start already taken), at each other
    // distance with 1/7, where an even shuffle would give 1/6 each.
    void shuffleGivesTheDistributionOfItsRule()
    {
        constexpr int deals = 2100;
        open(38, 2024);
        QList<double> seen(kPairs);
        for (int deal = 0; deal < deals; ++deal, m_form->ScombiccheraPosti())
            ++seen[(cardsOnRows()[1] - cardsOnRows()[0] + kPairs) % kPairs];
        const auto chiSquared = [&](int d, double expected) { return std::pow(seen[d] - expected, 2) / expected; };
        double rule = 0, even = 0; // against the rule's chances and against an even shuffle's
        for (int d = 1; d < kPairs; ++d) {
            rule += chiSquared(d, deals * (d == 1 ? 2 : 1) / 7.0);
            even += chiSquared(d, deals / 6.0);
        }
        // 5 degrees of freedom: 20.5 is their 0.999 quantile; the rule's deals are far from even.
        QVERIFY2(rule < 20.5 && even > 100, qPrintable(QStringLiteral("%1 %2").arg(rule).arg(even)));
    }

private:
    void open(std::int16_t level, std::uint64_t seed, QSize screen = QSize(1024, 768))
    {
        m_exercise.emplace(QStringLiteral("Form3"), seed, screen); // the program before goes first
        m_form = &dynamic_cast<Form3&>(m_exercise->open(level));
        QApplication::setActiveWindow(m_form->window());
    }

    forms::Control& card(int i) const { return m_form->control(QStringLiteral("Label3"), i); }
    forms::Control& value(int i) const { return m_form->control(QStringLiteral("Label4"), i); }
    forms::Control& avanti() const { return m_form->control(QStringLiteral("BottoneAvanti")); }

    // The card beside each value (value i stands on row i), -1 for none.
    QList<int> cardsOnRows() const
    {
        QList<int> cards(kPairs, -1);
        for (int k = 0; k < kPairs; ++k)
            for (int row = 0; row < kPairs; ++row)
                cards[row] = card(k).top() == value(row).top() ? k : cards[row];
        return cards;
    }

    // Seven different values in the level, card i showing value i's numeral;
    // one card beside each value, on the scaled cards' rows: 105 twips down, 525 apart
    // (evenly on from there: the golden pictures).
    void verifyRound(int level) const
    {
        const double top = value(0).top(), scale = m_form->scaleHeight() / m_form->decl().clientHeight;
        QVERIFY(std::abs(top - 105 * scale) <= 1 && std::abs(value(1).top() - top - 525 * scale) <= 1);
        QVERIFY(!cardsOnRows().contains(-1)); // on seven rows, seven cards: each on a row of its own
        std::set<int> values;
        for (int i = 0; i < kPairs; ++i) {
            const int n = ModuloRomano::LeggiRomano(card(i).caption().toStdString());
            QVERIFY(n >= 1 && n <= level && values.insert(n).second && card(i).isEnabled());
            QCOMPARE(card(i).caption(), QString::fromStdString(ModuloRomano::TraduciRomano(std::int16_t(n))));
            QCOMPARE(value(i).caption(), QLocale().toString(n));
        }
    }

    void drag(forms::Control& source, QWidget* target, QPoint at = {})
    {
        at = at.isNull() ? target->rect().center() : at;
        QTest::mousePress(source.widget(), Qt::LeftButton, {}, source.widget()->rect().center());
        QTest::mouseMove(target, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    }

    // Card k onto value v (v < 0: only picked up), dragged or picked up and
    // put down with a click or with Space. A right drop moves the numeral
    // into the value and empties the card for good; a wrong one moves
    // nothing. Each shows its face and plays its sound.
    void put(Way way, int k, int v)
    {
        const QString numeral = card(k).caption(), number = v < 0 ? QString() : value(v).caption();
        if (way == Way::Drag)
            drag(card(k), value(v).widget());
        for (int step = 0; way != Way::Drag && step < (v < 0 ? 1 : 2); ++step) {
            QWidget* target = (step == 0 ? card(k) : value(v)).widget();
            way == Way::Click ? QTest::mouseClick(target, Qt::LeftButton) : QTest::keyClick(target, Qt::Key_Space);
            QCOMPARE(card(k).isHighlighted(), step == 0);
        }
        if (v < 0)
            return;
        QCOMPARE(m_exercise->verdict().left(3) + card(k).caption() + u'|' + value(v).caption(),
                 k == v ? "si:|" + numeral : "no:" + numeral + u'|' + number);
        QVERIFY(card(k).isEnabled() == (k != v)
                && m_exercise->sounds().contains(QRegularExpression(k == v ? "si[1-4]\\.wav$" : "no\\.wav$")));
    }

    std::optional<ExerciseDriver> m_exercise;
    Form3* m_form = nullptr;
};

QTEST_MAIN(MatchingTest)
#include "MatchingTest.moc"
