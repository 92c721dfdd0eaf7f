// Controls reached by property name, the failures a caller is meant to pass
// over, control arrays and the Controls collection, the twips units and the
// numbers shown grouped by thousands.

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormsError.h"
#include "forms/NumberFormat.h"
#include "forms/Units.h"

#include <QLabel>
#include <QMenu>
#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <optional>
#include <utility>

using forms::ControlKind;

namespace {

forms::FormDesign designOfTheTestForm()
{
    return {.name = QStringLiteral("FormProva"), .clientWidth = 6000, .clientHeight = 4500,
            .controls = {
                {.name = QStringLiteral("mnuFile"), .kind = ControlKind::Menu, .caption = QStringLiteral("File")},
                {.name = QStringLiteral("mnuVoce"), .kind = ControlKind::Menu, .index = 0,
                 .caption = QStringLiteral("Voce 0"), .container = QStringLiteral("mnuFile")},
                {.name = QStringLiteral("Label1"), .kind = ControlKind::Label, .caption = QStringLiteral("Uno"),
                 .left = 120, .top = 240, .width = 1500, .height = 300},
                {.name = QStringLiteral("Label3"), .kind = ControlKind::Label, .index = 0,
                 .caption = QStringLiteral("Zero"), .left = 120, .top = 600, .width = 900, .height = 300},
                {.name = QStringLiteral("Label3"), .kind = ControlKind::Label, .index = 1,
                 .caption = QStringLiteral("Uno"), .left = 1200, .top = 600, .width = 900, .height = 300},
                {.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox, .caption = QStringLiteral("12"),
                 .left = 120, .top = 1200, .width = 1500, .height = 400},
                {.name = QStringLiteral("Line1"), .kind = ControlKind::Line,
                 .left = 100, .top = 2000, .width = 5000, .height = 2300},
                {.name = QStringLiteral("TabStrip1"), .kind = ControlKind::TabStrip, .left = 120, .top = 2500,
                 .width = 3000, .height = 1500, .tabs = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
            }};
}

QStringList namesOf(const forms::Form& form)
{
    QStringList names;
    for (const forms::Control* control : form.controls())
        names << (control->isArrayElement() ? QStringLiteral("%1(%2)").arg(control->name()).arg(control->index())
                                            : control->name());
    return names;
}

// The runtime's number for what a statement failed with, or nothing.
std::optional<int> failureOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const forms::FormsError& error) {
        return error.number();
    }
    return std::nullopt;
}

} // namespace

class PropertiesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_form = std::make_unique<forms::Form>(designOfTheTestForm()); }
    void cleanup() { m_form.reset(); }

    // Each row writes the value and reads it back, or only reads it; the
    // form itself answers to an empty control name.
    void byName_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("property");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("failure"); // 0: none

        const QVariant any(QStringLiteral("1"));
        QTest::newRow("names in any case") << "label1" << -1 << "cAPTION" << true << QVariant("Tre") << 0;
        QTest::newRow("array element caption") << "Label3" << 1 << "Caption" << true << QVariant("Uno!") << 0;
        QTest::newRow("text box text") << "Text1" << -1 << "Text" << true << QVariant("345") << 0;
        QTest::newRow("tooltip") << "Label1" << -1 << "ToolTipText" << true << QVariant("aiuto") << 0;
        QTest::newRow("tag") << "Text1" << -1 << "Tag" << true << QVariant("@W,H") << 0;
        QTest::newRow("accessible name") << "Text1" << -1 << "AccessibleName" << true << QVariant("Risposta") << 0;
        QTest::newRow("accessible description") << "Line1" << -1 << "AccessibleDescription" << true << QVariant("riga") << 0;
        QTest::newRow("menu caption") << "mnuVoce" << 0 << "Caption" << true << QVariant("Voce A") << 0;
        QTest::newRow("left in twips") << "Label1" << -1 << "Left" << true << QVariant(1234.5) << 0;
        QTest::newRow("line end") << "Line1" << -1 << "X2" << true << QVariant(4321.0) << 0;
        QTest::newRow("array element's Index") << "Label3" << 1 << "Index" << false << QVariant(1) << 0;
        QTest::newRow("form caption") << "" << -1 << "Caption" << true << QVariant("Titolo") << 0;
        QTest::newRow("form tag") << "" << -1 << "Tag" << true << QVariant("etichetta") << 0;
        QTest::newRow("form name") << "" << -1 << "Name" << false << QVariant("FormProva") << 0;
        QTest::newRow("form ScaleWidth") << "" << -1 << "ScaleWidth" << false << QVariant(6000.0) << 0;

        QTest::newRow("Index of no array element") << "Label1" << -1 << "Index" << false << any << 343;
        QTest::newRow("Caption of a text box") << "Text1" << -1 << "Caption" << true << any << 438;
        QTest::newRow("ToolTipText of a menu item") << "mnuFile" << -1 << "ToolTipText" << true << any << 438;
        QTest::newRow("AccessibleName of a menu item") << "mnuFile" << -1 << "AccessibleName" << true << any << 438;
        QTest::newRow("Left of a line") << "Line1" << -1 << "Left" << true << any << 438;
        QTest::newRow("X1 of a label") << "Label1" << -1 << "X1" << false << any << 438;
        QTest::newRow("a property nobody has") << "Label1" << -1 << "Colore" << false << any << 438;
        QTest::newRow("ToolTipText of the form") << "" << -1 << "ToolTipText" << true << any << 438;
        QTest::newRow("setting Name") << "Label1" << -1 << "Name" << true << any << 383;
        QTest::newRow("setting the form's Name") << "" << -1 << "Name" << true << any << 383;
        QTest::newRow("setting Tabs") << "TabStrip1" << -1 << "Tabs" << true << any << 383;
        QTest::newRow("setting an array element's Index") << "Label3" << 0 << "Index" << true << any << 383;
    }
    void byName()
    {
        QFETCH(QString, control);
        QFETCH(int, index);
        QFETCH(QString, property);
        QFETCH(bool, writing);
        QFETCH(QVariant, value);
        QFETCH(int, failure);

        const auto get = [&] {
            return control.isEmpty() ? m_form->get(property) : m_form->control(control, index).get(property);
        };
        const std::optional<int> failed = failureOf([&] {
            if (!writing)
                get();
            else if (control.isEmpty())
                m_form->set(property, value);
            else
                m_form->control(control, index).set(property, value);
        });
        QCOMPARE(failed.value_or(0), failure);
        if (!failure)
            QCOMPARE(get(), value);
    }

    void controlArraysAndTheCollection()
    {
        const QStringList design{"mnuFile", "mnuVoce(0)", "Label1", "Label3(0)", "Label3(1)",
                                 "Text1", "Line1", "TabStrip1"};
        QCOMPARE(m_form->find(QStringLiteral("Label3")), nullptr); // an array is found by its index only
        // Nothing a user does to the controls reorders the collection.
        m_form->control(QStringLiteral("Text1")).setVisible(false);
        m_form->control(QStringLiteral("Label1")).setLeft(5000);
        m_form->control(QStringLiteral("Label3"), 0).setFocus();
        m_form->control(QStringLiteral("mnuVoce"), 0).setCaption(QStringLiteral("Adesso"));

        forms::Control& item = m_form->loadControl(QStringLiteral("mnuVoce"), 1);
        forms::Control& label = m_form->loadControl(QStringLiteral("Label3"), 5);

        QCOMPARE(namesOf(*m_form), design + QStringList({"mnuVoce(1)", "Label3(5)"}));
        QCOMPARE(item.caption(), QStringLiteral("Adesso")); // as element 0 stands now
        QVERIFY(item.isVisible());
        QVERIFY(!label.isVisible()); // new elements of control arrays start hidden
        QCOMPARE(&m_form->control(QStringLiteral("Label3"), 5), &label);
        QCOMPARE(m_form->highestIndex(QStringLiteral("Label3")), 5);
        // A new menu item sits at the end of its menu.
        QCOMPARE(m_form->control(QStringLiteral("mnuFile")).action()->menu()->actions().last(), item.action());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, m_form->loadControl(QStringLiteral("Label3"), 1));
    }

    // A caption or tooltip that looks like markup (from a language file
    // anyone can edit) is shown as the characters it holds: no picture is
    // loaded and drawn from an <img> in it.
    void textsShowAsPlainText()
    {
        QTemporaryDir folder;
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString picture = folder.filePath(QStringLiteral("red.png"));
        QVERIFY(red.save(picture));
        const QString markup = QStringLiteral("<img src=\"%1\" width=64 height=64>").arg(picture);
        const auto showsRed = [](QWidget& widget) {
            const QImage shown = widget.grab().toImage();
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if (shown.pixelColor(x, y) == Qt::red)
                        return true;
            return false;
        };

        forms::Control& label = m_form->control(QStringLiteral("Label1"));
        label.set(QStringLiteral("Caption"), markup);
        label.set(QStringLiteral("ToolTipText"), markup);
        label.widget()->resize(200, 100);
        QCOMPARE(label.caption(), markup);
        QCOMPARE(label.get(QStringLiteral("ToolTipText")).toString(), markup);
        QVERIFY(!showsRed(*label.widget()));
        QLabel tip(label.widget()->toolTip()); // as the tooltip shows it
        tip.resize(200, 100);
        QVERIFY(!showsRed(tip));
    }

    void twips()
    {
        // The offscreen screen has the classic 96 dots per inch: 15 twips a
        // pixel. Twips between two pixels go to the nearer one.
        QCOMPARE((std::array{forms::toPixelsX(5068), forms::toPixelsX(22), forms::toPixelsY(23)}),
                 (std::array{338, 1, 2}));
        for (int pixels : {0, 1, 7, 548, 1023, 1920, -3})
            QCOMPARE((std::pair{forms::toTwipsX(pixels), forms::toPixelsY(forms::toTwipsY(pixels))}),
                     (std::pair{pixels * 15.0, pixels}));

        // A control keeps the twips it was given, and its widget the nearest pixels.
        forms::Control& label = m_form->control(QStringLiteral("Label1"));
        label.setLeft(1507);
        label.setWidth(1493);
        QCOMPARE(label.left(), 1507.0);
        QCOMPARE(label.widget()->x(), 100);
        QCOMPARE(label.widget()->width(), 200 - 100); // right edge 3000 twips is pixel 200
    }

    void numbersGroupedByThousands_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("Spanish") << "es_ES" << ".";
        QTest::newRow("Polish") << "pl_PL" << "\u00A0";
        QTest::newRow("Portuguese") << "pt_PT" << "\u00A0";
        QTest::newRow("Italian") << "it_IT" << ".";
        QTest::newRow("American English") << "en_US" << ",";
    }

    // Every number of four digits or more is grouped, in locales whose own
    // rule leaves four-digit numbers whole too.
    void numbersGroupedByThousands()
    {
        QFETCH(QString, locale);
        QFETCH(QString, separator);
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        QStringList shown;
        for (const int number : {0, 999, 1994, 32767, 1234567, -1994})
            shown << forms::formatGrouped(number);
        QCOMPARE(shown, QStringList({"0", "999", "1#994", "32#767", "1#234#567", "-1#994"})
                            .replaceInStrings(QStringLiteral("#"), separator));
    }

private:
    std::unique_ptr<forms::Form> m_form;
};

QTEST_MAIN(PropertiesTest)
#include "PropertiesTest.moc"
