// The matching exercise driven as a pupil drives it: cards dragged with the
// mouse, or picked up and put down with clicks or the keyboard.

#include "ExerciseDriver.h"

#include "app/RegistroForme.h"
#include "exercises/Form3.h"
#include "forms/Control.h"
#include "roman/ModuloRomano.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

namespace {
constexpr int kPairs = Form3::kCoppie;
using Rows = std::array<int, kPairs>; // the row of each card

// The cards' first top and their spacing at the design size, in twips.
constexpr double kFirstTop = 105;
constexpr double kCardStep = 525;

enum class Way { Drag, Click, Keyboard };

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
} // namespace
Q_DECLARE_METATYPE(Way)

class MatchingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void cleanup()
    {
        m_form = nullptr;
        m_exercise.reset();
        QLocale::setDefault(QLocale::c());
    }

    void dealsSevenPairsOnSevenRows_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QSize>("screen");
        const QSize small(1024, 768);
        QTest::newRow("38") << 38 << small;
        QTest::newRow("88, 800x600") << 88 << QSize(800, 600);
        QTest::newRow("388") << 388 << small;
        QTest::newRow("888, 1920x1080") << 888 << QSize(1920, 1080);
        QTest::newRow("3000") << 3000 << small;
    }

    void dealsSevenPairsOnSevenRows()
    {
        QFETCH(int, level);
        QFETCH(QSize, screen);
        for (std::uint64_t seed : {3u, 4u, 5u}) {
            open(std::int16_t(level), seed, screen);
            verifyDeal(level);
            verifyRows();
            // Whatever the exercise before counted, this one starts at 0.
            QCOMPARE(counts(), QStringLiteral("0/0"));
            QCOMPARE(Stato().ContaEsatti() + Stato().ContaErrati(), 0);
            QVERIFY(avanti().isVisible() && !avanti().isEnabled());
        }
    }

    void largeValuesShowTheLocaleSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << QStringLiteral(".");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << QStringLiteral(",");
    }

    void largeValuesShowTheLocaleSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, separator);
        QLocale::setDefault(locale);
        open(3000, 7);
        int large = 0;
        for (int i = 0; i < kPairs; ++i) {
            const int n = ModuloRomano::LeggiRomano(card(i).caption().toStdString());
            const QString thousands = QStringLiteral("%1%2%3").arg(n / 1000).arg(separator).arg(n % 1000, 3, 10, QLatin1Char('0'));
            QCOMPARE(value(i).caption(), n < 1000 ? QString::number(n) : thousands);
            large += n >= 1000;
        }
        QVERIFY(large > 0);
    }

    void resizingKeepsTheRoundOnItsRows()
    {
        open(388, 11);
        const Rows rows = currentRows();
        const double firstRow = value(0).top();
        const double lastRow = value(kPairs - 1).top();
        const QSize full = m_form->window()->size();

        m_form->window()->resize(700, 500); // as a window manager would
        verifyRows();
        QCOMPARE(currentRows(), rows);
        QVERIFY(value(kPairs - 1).top() < lastRow);

        m_form->window()->resize(full);
        QCOMPARE(value(0).top(), firstRow);
        QCOMPARE(value(kPairs - 1).top(), lastRow);
        QCOMPARE(currentRows(), rows);
        verifyRows();
    }

    void dropsAreJudged_data()
    {
        QTest::addColumn<Way>("way");
        QTest::addColumn<bool>("right");
        for (const bool right : {true, false}) {
            const char* verdict = right ? "right" : "wrong";
            QTest::addRow("%s, dragged", verdict) << Way::Drag << right;
            QTest::addRow("%s, picked and put down with clicks", verdict) << Way::Click << right;
            QTest::addRow("%s, picked and put down with Space", verdict) << Way::Keyboard << right;
        }
    }

    void dropsAreJudged()
    {
        QFETCH(Way, way);
        QFETCH(bool, right);
        open(888, 2);
        const int k = cardOnRow(3);
        QStringList expected = captions();
        if (right) // the numeral moves into the value
            expected[kPairs + k] = std::exchange(expected[k], QString());
        put(way, k, right ? k : (k + 4) % kPairs);

        QCOMPARE(captions(), expected);
        QCOMPARE(card(k).isEnabled(), !right);
        QCOMPARE(counts(), right ? QStringLiteral(" 1/0") : QStringLiteral("0/ 1"));
        QCOMPARE(m_exercise->faces(), right ? QStringLiteral("si") : QStringLiteral("no"));
        QVERIFY2(m_exercise->heardOnly(right), qPrintable(m_exercise->sounds()));
        QVERIFY(!avanti().isEnabled());
    }

    void aMatchedPairIsDone()
    {
        open(38, 5);
        put(Way::Drag, 2, 2);
        const QStringList matched = captions();
        // Another card on the matched value is wrong.
        put(Way::Drag, 4, 2);
        put(Way::Click, 5, 2);
        // The emptied card can neither be dragged nor picked up.
        drag(card(2), value(3));
        QVERIFY(!m_form->isDragging());
        QTest::mouseClick(card(2).widget(), Qt::LeftButton);
        QVERIFY(!card(2).isHighlighted());
        QTest::mouseClick(value(3).widget(), Qt::LeftButton);

        QCOMPARE(counts(), QStringLiteral(" 1/ 2"));
        QCOMPARE(captions(), matched);
        QCOMPARE(cardsEnabled(), QStringLiteral("1101111"));

        // Picking another card puts the first back.
        QTest::mouseClick(card(4).widget(), Qt::LeftButton);
        QTest::mouseClick(card(5).widget(), Qt::LeftButton);
        QVERIFY(!card(4).isHighlighted() && card(5).isHighlighted());
        QTest::mouseClick(value(5).widget(), Qt::LeftButton);
        QCOMPARE(counts(), QStringLiteral(" 2/ 2"));
        QCOMPARE(cardsEnabled(), QStringLiteral("1101101"));
    }

    void elsewhereNothingHappens_data()
    {
        // Where a card is dropped and where a click puts a picked card back:
        // a control, the form's own background, another card (dropped only);
        // or Escape on a focused card or value.
        QTest::addColumn<QString>("where");
        for (const char* where : {"PicturesattiErrati", "EtichettaEsatti", "ComandoIconaSi", "", "another card",
                                  "Escape on the card", "Escape on a value"})
            QTest::newRow(*where ? where : "the form") << QString::fromLatin1(where);
    }

    void elsewhereNothingHappens()
    {
        QFETCH(QString, where);
        open(88, 9);
        const int k = cardOnRow(0);
        const QStringList before = captions();
        if (where.startsWith(QLatin1String("Escape"))) {
            pressSpaceOn(card(k));
            forms::Control& focused = where.endsWith(QLatin1String("card")) ? card(k) : value(k);
            tabTo(focused);
            QTest::keyClick(focused.widget(), Qt::Key_Escape);
        } else {
            const bool anotherCard = where == QLatin1String("another card");
            QWidget* target = where.isEmpty() ? m_form->clientArea()
                              : anotherCard   ? card(cardOnRow(4)).widget()
                                              : m_form->control(where).widget();
            const QPoint at = where.isEmpty() ? target->rect().bottomRight() - QPoint(4, 4) : QPoint(4, 4);
            drag(card(k), target, at);
            QVERIFY(!m_form->isDragging());
            if (!anotherCard) {
                pressSpaceOn(card(k));
                QTest::mouseClick(target, Qt::LeftButton, {}, at);
            }
        }
        QVERIFY(!card(k).isHighlighted());
        // Nothing is in hand any more: the card's value takes nothing.
        QTest::mouseClick(value(k).widget(), Qt::LeftButton);
        QCOMPARE(counts(), QStringLiteral("0/0"));
        QCOMPARE(m_exercise->sounds(), QString());
        QCOMPARE(captions(), before);
        QVERIFY(card(k).isEnabled());
        verifyRows();
    }

    void tabGoesDownTheCardsThenDownTheValues()
    {
        open(38, 12);
        for (int i = 0; i < 2 * kPairs; ++i) {
            QVERIFY(i < kPairs ? card(cardOnRow(i)).hasFocus() : value(i - kPairs).hasFocus());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QVERIFY(card(cardOnRow(0)).hasFocus()); // "avanti" is closed: round again
    }

    void roundAfterRound()
    {
        open(38, 10);
        put(Way::Drag, 0, 1); // one wrong answer on the way
        const std::array<Way, 3> ways{Way::Drag, Way::Click, Way::Keyboard};
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < kPairs; ++i) {
                QVERIFY(!avanti().isEnabled());
                const QString shown = card(i).caption();
                put(ways[i % ways.size()], i, i);
                QCOMPARE(value(i).caption(), shown);
                if (round > 0 || i != 2)
                    continue;
                // "Azzera" midway resets the counts and keeps the round as it stands.
                const QStringList before = captions();
                const Rows rows = currentRows();
                m_form->control(QStringLiteral("MenuAzzera")).action()->trigger();
                QCOMPARE(counts(), QStringLiteral("0/0"));
                QCOMPARE(Stato().ContaEsatti() + Stato().ContaErrati(), 0);
                QCOMPARE(captions(), before);
                QCOMPARE(currentRows(), rows);
                QCOMPARE(cardsEnabled(), QStringLiteral("0001111"));
            }
            // The seventh right drop opens "avanti", which deals seven new pairs.
            QVERIFY(avanti().isEnabled() && avanti().hasFocus());
            QCOMPARE(captions().mid(0, kPairs), QStringList(kPairs, QString()));
            QCOMPARE(cardsEnabled(), QStringLiteral("0000000"));
            const QString counted = counts();
            const quint32 colour = m_form->backColor();
            QTest::mouseClick(avanti().widget(), Qt::LeftButton);
            QVERIFY(!avanti().isEnabled());
            QVERIFY(m_form->backColor() != colour);
            verifyDeal(38);
            verifyRows();
            QCOMPARE(counts(), counted); // the counts go on
        }
        QCOMPARE(counts(), QStringLiteral(" 11/0"));
    }

    void shuffleGivesTheDistributionOfItsRule()
    {
        // The rule favours the card that follows, in index order, one already
        // placed: the offset from each row's card to the card on the row above
        // has the distribution the rule implies over all 7^7 starts.
        using Table = std::array<std::array<double, kPairs>, kPairs>; // [row][offset]
        const auto offset = [](const Rows& rows, int row) {
            const auto cardOn = [&](int r) { return int(std::find(rows.begin(), rows.end(), r) - rows.begin()); };
            return (cardOn(row) - cardOn(row - 1) + kPairs) % kPairs;
        };
        Table implied{};
        const int starts = int(std::pow(kPairs, kPairs));
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
        const double rule = chiSquare([&](int row, int d) { return implied[row][d]; });
        QVERIFY2(rule < limit, qPrintable(QString::number(rule)));
        // The same deals tell the rule apart from an even shuffle.
        const double even = chiSquare([](int, int) { return 1.0 / (kPairs - 1); });
        QVERIFY2(even > 10 * limit, qPrintable(QString::number(even)));
    }

private:
    Form3& open(std::int16_t level, std::uint64_t seed = 1, QSize screen = QSize(1024, 768))
    {
        m_form = nullptr;
        m_exercise.reset(); // a program at a time
        m_exercise = std::make_unique<ExerciseDriver>(QStringLiteral("Form3"), seed, screen);
        m_form = &dynamic_cast<Form3&>(m_exercise->open(level));
        QApplication::setActiveWindow(m_form->window());
        return *m_form;
    }

    forms::Control& card(int i) const { return m_form->control(QStringLiteral("Label3"), i); }
    forms::Control& value(int i) const { return m_form->control(QStringLiteral("Label4"), i); }
    forms::Control& avanti() const { return m_form->control(QStringLiteral("BottoneAvanti")); }
    QString counts() const { return m_exercise->counts(); }

    // The cards' captions, then the values'.
    QStringList captions() const
    {
        QStringList shown;
        for (int i = 0; i < 2 * kPairs; ++i)
            shown << (i < kPairs ? card(i) : value(i - kPairs)).caption();
        return shown;
    }

    // "1" for each card that can still be played, "0" for an emptied one.
    QString cardsEnabled() const
    {
        QString enabled;
        for (int i = 0; i < kPairs; ++i)
            enabled += QLatin1Char(card(i).isEnabled() ? '1' : '0');
        return enabled;
    }

    int cardOnRow(int row) const
    {
        const double top = value(row).top(); // value i stands on row i
        for (int i = 0; i < kPairs; ++i)
            if (card(i).top() == top)
                return i;
        return -1;
    }

    Rows currentRows() const
    {
        Rows rows{};
        for (int row = 0; row < kPairs; ++row)
            rows[cardOnRow(row)] = row;
        return rows;
    }

    void verifyRows() const
    {
        // The rows follow the scaled cards' design: first top and spacing.
        const double scale = m_form->scaleHeight() / m_form->decl().clientHeight;
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

    // Seven different values in the level, card i showing value i's numeral.
    void verifyDeal(int level) const
    {
        std::set<int> values;
        for (int i = 0; i < kPairs; ++i) {
            const int n = value(i).caption().remove(QRegularExpression(QStringLiteral("\\D"))).toInt();
            QVERIFY(n >= 1 && n <= level);
            values.insert(n);
            QCOMPARE(card(i).caption(), QString::fromStdString(ModuloRomano::TraduciRomano(std::int16_t(n))));
        }
        QCOMPARE(values.size(), std::size_t(kPairs));
        QCOMPARE(cardsEnabled(), QStringLiteral("1111111"));
    }

    void drag(forms::Control& source, QWidget* target, QPoint at)
    {
        QWidget* from = source.widget();
        QTest::mousePress(from, Qt::LeftButton, {}, from->rect().center());
        QTest::mouseMove(target, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    }

    void drag(forms::Control& source, forms::Control& target)
    {
        drag(source, target.widget(), target.widget()->rect().center());
    }

    void tabTo(forms::Control& control)
    {
        for (int presses = 0; presses < 3 * kPairs && !control.hasFocus(); ++presses)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(control.hasFocus(), "Tab never reached the control");
    }

    void pressSpaceOn(forms::Control& control)
    {
        tabTo(control);
        QTest::keyClick(control.widget(), Qt::Key_Space);
    }

    void put(Way way, int cardIndex, int valueIndex)
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

    std::unique_ptr<ExerciseDriver> m_exercise;
    Form3* m_form = nullptr;
};

QTEST_MAIN(MatchingTest)
#include "MatchingTest.moc"
