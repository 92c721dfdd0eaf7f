// Controls reached by property name, the failures a caller is meant to pass
// over, control arrays and the Controls collection, and the twips units.

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormsError.h"
#include "forms/Units.h"

#include <QTest>

#include <optional>

using forms::ControlKind;
using forms::ControlSpec;
using forms::FormsErrorCode;

namespace {

forms::FormSpec designOfTheTestForm()
{
    return {
        .name = QStringLiteral("FormProva"),
        .clientWidth = 6000,
        .clientHeight = 4500,
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
            {.name = QStringLiteral("TabStrip1"), .kind = ControlKind::TabStrip,
             .left = 120, .top = 2500, .width = 3000, .height = 1500,
             .tabs = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        },
    };
}

QStringList namesOf(const forms::Form& form)
{
    QStringList names;
    for (const forms::Control* control : form.controls())
        names << (control->isArrayElement()
                      ? QStringLiteral("%1(%2)").arg(control->name()).arg(control->decl().index)
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

    void readsAndWritesByName_data();
    void readsAndWritesByName();
    void failsWithTheRuntimesNumbers_data();
    void failsWithTheRuntimesNumbers();
    void formPropertiesByName();
    void arrayElementsKnowTheirIndex();
    void loadControlAddsAtTheEndOfTheCollection();
    void controlsKeepTheirDesignOrder();
    void twipsRoundTrip();

private:
    forms::Control& control(const QString& name, int index = -1) { return m_form->control(name, index); }
    std::unique_ptr<forms::Form> m_form;
};

void PropertiesTest::readsAndWritesByName_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("label caption") << "Label1" << -1 << "Caption" << QVariant(QStringLiteral("Due"));
    QTest::newRow("names in any case") << "label1" << -1 << "cAPTION" << QVariant(QStringLiteral("Tre"));
    QTest::newRow("array element caption") << "Label3" << 1 << "Caption" << QVariant(QStringLiteral("Uno!"));
    QTest::newRow("text box text") << "Text1" << -1 << "Text" << QVariant(QStringLiteral("345"));
    QTest::newRow("tooltip") << "Label1" << -1 << "ToolTipText" << QVariant(QStringLiteral("aiuto"));
    QTest::newRow("tag") << "Text1" << -1 << "Tag" << QVariant(QStringLiteral("@W,H"));
    QTest::newRow("menu caption") << "mnuVoce" << 0 << "Caption" << QVariant(QStringLiteral("Voce A"));
    QTest::newRow("menu tag") << "mnuFile" << -1 << "Tag" << QVariant(QStringLiteral("x"));
    QTest::newRow("left in twips") << "Label1" << -1 << "Left" << QVariant(1234.5);
    QTest::newRow("height in twips") << "Label3" << 0 << "Height" << QVariant(777.0);
    QTest::newRow("line end") << "Line1" << -1 << "X2" << QVariant(4321.0);
    QTest::newRow("line start") << "Line1" << -1 << "Y1" << QVariant(15.0);
}

void PropertiesTest::readsAndWritesByName()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QString, property);
    QFETCH(QVariant, value);

    forms::Control& target = this->control(control, index);
    target.set(property, value);
    QCOMPARE(target.get(property), value);
}

void PropertiesTest::failsWithTheRuntimesNumbers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("property");
    QTest::addColumn<bool>("writing");
    QTest::addColumn<int>("number");

    QTest::newRow("Index of no array element") << "Label1" << "Index" << false << 343;
    QTest::newRow("Index of a menu bar entry") << "mnuFile" << "Index" << false << 343;
    QTest::newRow("Caption of a text box") << "Text1" << "Caption" << true << 438;
    QTest::newRow("Caption read on a text box") << "Text1" << "Caption" << false << 438;
    QTest::newRow("ToolTipText of a menu item") << "mnuFile" << "ToolTipText" << true << 438;
    QTest::newRow("Left of a menu") << "mnuFile" << "Left" << true << 438;
    QTest::newRow("Left read on a menu") << "mnuFile" << "Left" << false << 438;
    QTest::newRow("Left of a line") << "Line1" << "Left" << true << 438;
    QTest::newRow("X1 of a label") << "Label1" << "X1" << false << 438;
    QTest::newRow("Tabs of a label") << "Label1" << "Tabs" << false << 438;
    QTest::newRow("a property nobody has") << "Label1" << "Colore" << false << 438;
    QTest::newRow("setting Name") << "Label1" << "Name" << true << 383;
    QTest::newRow("setting Tabs") << "TabStrip1" << "Tabs" << true << 383;
}

void PropertiesTest::failsWithTheRuntimesNumbers()
{
    QFETCH(QString, control);
    QFETCH(QString, property);
    QFETCH(bool, writing);
    QFETCH(int, number);

    forms::Control& target = this->control(control);
    const auto failure = failureOf([&] {
        if (writing)
            target.set(property, QStringLiteral("1"));
        else
            target.get(property);
    });
    QCOMPARE(failure, std::optional<int>(number));
}

void PropertiesTest::formPropertiesByName()
{
    m_form->set(QStringLiteral("Caption"), QStringLiteral("Titolo"));
    m_form->set(QStringLiteral("Tag"), QStringLiteral("etichetta"));
    QCOMPARE(m_form->get(QStringLiteral("Caption")).toString(), QStringLiteral("Titolo"));
    QCOMPARE(m_form->get(QStringLiteral("Tag")).toString(), QStringLiteral("etichetta"));
    QCOMPARE(m_form->get(QStringLiteral("Name")).toString(), QStringLiteral("FormProva"));
    QCOMPARE(m_form->get(QStringLiteral("ScaleWidth")).toDouble(), 6000.0);
    QCOMPARE(failureOf([&] { m_form->set(QStringLiteral("ToolTipText"), QString()); }),
             std::optional<int>(438));
    QCOMPARE(failureOf([&] { m_form->set(QStringLiteral("Name"), QString()); }), std::optional<int>(383));
}

void PropertiesTest::arrayElementsKnowTheirIndex()
{
    QCOMPARE(control(QStringLiteral("Label3"), 1).get(QStringLiteral("Index")).toInt(), 1);
    QCOMPARE(control(QStringLiteral("mnuVoce"), 0).index(), 0);
    QCOMPARE(m_form->find(QStringLiteral("Label3")), nullptr); // an array is found by its index only
    QCOMPARE(m_form->highestIndex(QStringLiteral("Label3")), 1);
    QCOMPARE(failureOf([&] { control(QStringLiteral("Label3"), 0).set(QStringLiteral("Index"), 4); }),
             std::optional<int>(383));
}

void PropertiesTest::loadControlAddsAtTheEndOfTheCollection()
{
    const std::size_t before = m_form->controls().size();
    control(QStringLiteral("mnuVoce"), 0).setCaption(QStringLiteral("Adesso"));

    forms::Control& item = m_form->loadControl(QStringLiteral("mnuVoce"), 1);
    forms::Control& label = m_form->loadControl(QStringLiteral("Label3"), 5);

    QCOMPARE(m_form->controls().size(), before + 2);
    QCOMPARE(m_form->controls()[before], &item);
    QCOMPARE(m_form->controls()[before + 1], &label);
    QCOMPARE(item.index(), 1);
    QCOMPARE(item.caption(), QStringLiteral("Adesso")); // as element 0 stands now
    QVERIFY(item.isVisible());
    QVERIFY(!label.isVisible()); // new elements of control arrays start hidden
    QCOMPARE(&m_form->control(QStringLiteral("Label3"), 5), &label);
    QCOMPARE(m_form->highestIndex(QStringLiteral("Label3")), 5);
    // A new menu item sits at the end of its menu.
    QCOMPARE(control(QStringLiteral("mnuFile")).action()->menu()->actions().last(), item.action());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, m_form->loadControl(QStringLiteral("Label3"), 1));
}

void PropertiesTest::controlsKeepTheirDesignOrder()
{
    const QStringList design{"mnuFile", "mnuVoce(0)", "Label1", "Label3(0)", "Label3(1)",
                             "Text1", "Line1", "TabStrip1"};
    QCOMPARE(namesOf(*m_form), design);
    // Nothing a user does to the controls reorders the collection.
    control(QStringLiteral("Text1")).setVisible(false);
    control(QStringLiteral("Label1")).setLeft(5000);
    control(QStringLiteral("Label3"), 0).setFocus();
    QCOMPARE(namesOf(*m_form), design);
}

void PropertiesTest::twipsRoundTrip()
{
    // The offscreen screen has the classic 96 dots per inch: 15 twips a pixel.
    QCOMPARE(forms::twipsPerPixelX(), 15.0);
    QCOMPARE(forms::twipsPerPixelY(), 15.0);
    for (int pixels : {0, 1, 7, 548, 1023, 1920, -3}) {
        QCOMPARE(forms::toPixelsX(forms::toTwipsX(pixels)), pixels);
        QCOMPARE(forms::toPixelsY(forms::toTwipsY(pixels)), pixels);
    }
    // Twips between two pixels go to the nearer one.
    QCOMPARE(forms::toPixelsX(5068), 338);
    QCOMPARE(forms::toPixelsX(22), 1);
    QCOMPARE(forms::toPixelsX(23), 2);

    forms::setScreenSizeOverride(QSize(1024, 768));
    QCOMPARE(forms::screenWidth(), 15360.0);
    QCOMPARE(forms::screenHeight(), 11520.0);
    forms::setScreenSizeOverride(QSize());

    // A control keeps the twips it was given, and its widget the nearest pixels.
    forms::Control& label = control(QStringLiteral("Label1"));
    label.setLeft(1507);
    label.setWidth(1493);
    QCOMPARE(label.left(), 1507.0);
    QCOMPARE(label.widget()->x(), 100);
    QCOMPARE(label.widget()->width(), 200 - 100); // right edge 3000 twips is pixel 200
}

QTEST_MAIN(PropertiesTest)
#include "PropertiesTest.moc"
