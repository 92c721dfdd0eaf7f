#include "ExerciseDriver.h"

#include "forms/NumberFormat.h"
#include "forms/Pictures.h"
#include "forms/Random.h"
#include "roman/ModuloRomano.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <map>
#include <set>

namespace {
// The draws before a question's number: Load's colour and the question's
// own colour for the first question, only the question's colour later.
constexpr int kDrawsBeforeFirstQuestion = 2;
constexpr int kDrawsBeforeNextQuestion = 1;
const QString kNext = QStringLiteral("BottoneAvanti");
const QStringList kHintGroups{QStringLiteral("Label4"), QStringLiteral("Label5"), QStringLiteral("Label6"),
                              QStringLiteral("Label7")};

QString numeral(int number)
{
    return QString::fromStdString(ModuloRomano::TraduciRomano(std::int16_t(number)));
}

// The palette a button is drawn with, as the style sees it: the style keeps
// its pictures of buttons under that palette's identity.
class PaletteWitness : public QProxyStyle
{
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        seen = option->palette.cacheKey();
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }
    mutable qint64 seen = 0;
};
} // namespace

forms::Form& ExerciseDriver::open(std::int16_t level)
{
    Stato().setNumeroMassimo(level);
    Stato().aggiungiEsatto();
    Stato().aggiungiErrato();
    return m_program.show(m_formName);
}

forms::Form& ExerciseDriver::openAt(std::int16_t level, std::int16_t number)
{
    Stato().setNumeroMassimo(level);
    seedNextDraw(number, kDrawsBeforeFirstQuestion);
    return open(level);
}

QString ExerciseDriver::counts() const
{
    return caption(QStringLiteral("EtichettaEsatti")) + QLatin1Char('/') + caption(QStringLiteral("EtichettaErrati"));
}

QString ExerciseDriver::faces() const
{
    return QLatin1String(control(QStringLiteral("ComandoIconaSi")).isVisible() ? "si" : "")
           + QLatin1String(control(QStringLiteral("ComandoIconaNo")).isVisible() ? "no" : "");
}

QStringList ExerciseDriver::heardBy(const std::function<void()>& action)
{
    m_program.announced().clear();
    action();
    QStringList events = m_program.announced();
    for (const char* count : {"EtichettaEsatti", "EtichettaErrati"})
        events << control(QString::fromLatin1(count)).get(QStringLiteral("AccessibleName")).toString();
    return events;
}

bool ExerciseDriver::heardOnly(bool right)
{
    const QString sound = right ? QStringLiteral("^/suoni/si[1-4]\\.wav$") : QStringLiteral("^/suoni/no\\.wav$");
    return sounds().contains(QRegularExpression(sound));
}

QString ExerciseDriver::hint() const
{
    const auto shown = [this](const QString& group) { return control(group).isVisible(); };
    const bool button = control(QStringLiteral("Command1")).isVisible();
    if (button && std::none_of(kHintGroups.begin(), kHintGroups.end(), shown))
        return QStringLiteral("offered");
    if (!button && std::all_of(kHintGroups.begin(), kHintGroups.end(), shown))
        return QStringLiteral("used");
    return QStringLiteral("mixed");
}

std::int16_t ExerciseDriver::shownNumber() const
{
    QString question = caption(QStringLiteral("Label3"));
    if (reading())
        return ModuloRomano::LeggiRomano(question.toStdString());
    return static_cast<std::int16_t>(question.remove(QRegularExpression(QStringLiteral("\\D"))).toInt());
}

QString ExerciseDriver::answerFor(int number) const
{
    return reading() ? QString::number(number) : numeral(number).remove(QLatin1Char(' '));
}

QString ExerciseDriver::wrongAnswer() const
{
    const int number = shownNumber();
    return answerFor(number < Stato().NumeroMassimo() ? number + 1 : number - 1);
}

void ExerciseDriver::put(Entry how, const QString& text) const
{
    switch (how) {
    case Entry::Keys:
        QTest::keyClicks(box(), text);
        return;
    case Entry::Paste:
        // The slot, not Ctrl+V: QTest gives that key the text "v".
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

void ExerciseDriver::pressEnter() const
{
    QTest::keyClick(box(), Qt::Key_Return);
}

void ExerciseDriver::answer(const QString& keys) const
{
    type(keys);
    pressEnter();
}

void ExerciseDriver::erase() const
{
    QTest::keyClick(box(), Qt::Key_End);
    for (auto left = box()->text().size(); left > 0; --left)
        QTest::keyClick(box(), Qt::Key_Backspace);
}

void ExerciseDriver::clickNext() const
{
    QTest::mouseClick(control(kNext).widget(), Qt::LeftButton);
}

void ExerciseDriver::seedNextQuestion(std::int16_t number) const
{
    seedNextDraw(number, kDrawsBeforeNextQuestion);
}

void ExerciseDriver::seedNextDraw(std::int16_t number, int drawsFirst) const
{
    // The colours drawn first take any value; the number's draw falls in the
    // middle of the number's share of [0, 1).
    std::vector<float> draws(drawsFirst, 0.5f);
    draws.push_back((float(number) - 0.5f) / float(Stato().NumeroMassimo()));
    forms::scriptDraws(std::move(draws));
}

void ExerciseDriver::verifyQuestions(std::int16_t level, double points)
{
    constexpr int kQuestions = 150;
    const forms::Form& shown = open(level);
    QCOMPARE(control(QStringLiteral("Label3")).fontSize(), points);
    QCOMPARE(counts(), QStringLiteral("0/0"));
    std::set<int> numbers;
    std::set<quint32> colours;
    const auto& palette = ModuloColoriSuoni::kTavolozza;
    auto* next = static_cast<QToolButton*>(control(kNext).widget());
    PaletteWitness witness;
    next->setStyle(&witness);
    const auto ownStyleBack = qScopeGuard([next] { next->setStyle(nullptr); });
    std::map<quint32, qint64> drawnIn; // each colour's palette, as the button was first drawn in it
    for (int i = 0; i < kQuestions; ++i) {
        // A colour seen before draws the button from the palette it had then,
        // or the style's cache of button pictures grows with every question.
        next->grab();
        QCOMPARE(drawnIn.emplace(shown.backColor(), witness.seen).first->second, witness.seen);
        const int number = shownNumber();
        QVERIFY2(number >= 1 && number <= level, qPrintable(caption(QStringLiteral("Label3"))));
        QCOMPARE(caption(QStringLiteral("Label3")), reading() ? numeral(number) : forms::formatGrouped(number));
        QVERIFY(box()->text().isEmpty() && control(QStringLiteral("Text1")).hasFocus());
        QVERIFY(!control(kNext).isEnabled());
        QVERIFY(std::find(palette.begin(), palette.end(), shown.backColor()) != palette.end());
        numbers.insert(number);
        colours.insert(shown.backColor());
        answer(rightAnswer());
        if (reading())
            QCOMPARE(hint(), QStringLiteral("offered"));
        clickNext();
    }
    // The draw spreads over the level, and each question takes a new colour.
    QVERIFY(numbers.size() > std::min<std::size_t>(level, kQuestions) / 3);
    QVERIFY(colours.size() > 8);
    // Every load of a form shows the program's one icon of a picture, for the same reason.
    QCOMPARE(next->icon().cacheKey(), forms::Pictures::icon(QStringLiteral("arrow_next")).cacheKey());
    QCOMPARE(counts(), QStringLiteral(" %1/0").arg(kQuestions));
}

void ExerciseDriver::verifyAnswer(const QString& typed, bool right, const QString& kept)
{
    pressEnter();
    answer(reading() ? QStringLiteral("12\b\b") : QStringLiteral("x\b"));
    QCOMPARE(counts(), QStringLiteral("0/0"));
    QCOMPARE(sounds(), QString());
    QCOMPARE(faces(), QStringLiteral("si"));

    const QStringList heard = heardBy([&] { answer(typed); });
    const QStringList expected = right ? QStringList{"ComandoIconaSi", "Esatti: 1", "Errati: 0"}
                                       : QStringList{"ComandoIconaNo", "Esatti: 0", "Errati: 1"};
    QCOMPARE(heard, expected);
    QCOMPARE(faces(), QLatin1String(right ? "si" : "no"));
    QCOMPARE(counts(), QLatin1String(right ? " 1/0" : "0/ 1"));
    QVERIFY2(heardOnly(right), qPrintable(sounds()));
    QCOMPARE(box()->text(), kept);
    QCOMPARE(box()->isEnabled(), !right);
    QCOMPARE(control(kNext).isEnabled(), right);
    if (right)
        return;
    const std::int16_t asked = shownNumber();
    QVERIFY(control(QStringLiteral("Text1")).hasFocus());
    pressEnter();
    QCOMPARE(counts(), QStringLiteral("0/ 2"));
    QCOMPARE(m_program.sounds().played.size(), 2);
    QCOMPARE(shownNumber(), asked);
}
