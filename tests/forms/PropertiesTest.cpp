// Controls reached by property name and the numbered failures a caller
// meets, control arrays and the Controls collection, texts shown as plain
// text and the numbers shown grouped by thousands. (Twips become pixels in
// every control the golden images draw.)

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormsError.h"
#include "forms/NumberFormat.h"

#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QTest>
#include <QTextDocument>

using forms::ControlKind;

namespace {

forms::FormDesign designOfTheTestForm()
{
    const auto control = [](const char* name, ControlKind kind, int index = -1) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = kind, .index = index,
                                    .caption = QStringLiteral("Zero"), .width = 900, .height = 300};
    };
    forms::FormDesign design{.name = QStringLiteral("FormProva"), .clientWidth = 6000, .clientHeight = 4500,
                             .controls = {control("mnuFile", ControlKind::Menu), control("mnuVoce", ControlKind::Menu, 0),
                                          control("Label1", ControlKind::Label), control("Label3", ControlKind::Label, 0),
                                          control("Label3", ControlKind::Label, 1), control("Text1", ControlKind::TextBox),
                                          control("Check1", ControlKind::CheckBox), control("Line1", ControlKind::Line),
                                          control("TabStrip1", ControlKind::TabStrip)}};
    design.controls[1].container = QStringLiteral("mnuFile");
    design.controls[6].checked = true;
    design.controls[8].tabs = QStringList{"a", "b", "c"};
    return design;
}

} // namespace

class PropertiesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<forms::Form> m_form;

private slots:
    void init() { m_form = std::make_unique<forms::Form>(designOfTheTestForm()); }

    // Each row writes the value and reads it back, or only reads it (no
    // value to write: the one it should read), or fails with its number; the form answers to an empty
    // control name; a subscript is a tab number. The texts a language file
    // sets (an array element's or a menu item's caption, tooltips, Tags,
    // accessible names) are set by name in the translation's tests.
    void byName()
    {
        struct Row
        {
            const char *name, *control;
            int index;
            const char* property;
            QVariant written, read;
            int failure = 0, subscript = -1;
        };
        const QVariant none, any(1);
        const Row rows[] = {
            {"any case", "label1", -1, "cAPTION", "Tre", "Tre"}, {"text box", "Text1", -1, "Text", "345", "345"},
            {"twips", "Label1", -1, "Left", 1234.5, 1234.5}, {"line end", "Line1", -1, "X2", 4321.0, 4321.0},
            {"check box as designed", "Check1", -1, "Value", none, 1}, {"check box", "Check1", -1, "Value", 0, 0},
            {"tab", "TabStrip1", -1, "TabCaption", "B", "B", 0, 1},
            {"array element's Index", "Label3", 1, "Index", none, 1},
            {"form caption", "", -1, "Caption", "Titolo", "Titolo"}, {"form tag", "", -1, "Tag", "t", "t"},
            {"form name", "", -1, "Name", none, "FormProva"}, {"form ScaleWidth", "", -1, "ScaleWidth", none, 6000.0},
            {"Index of no array element", "Label1", -1, "Index", none, none, 343},
            {"geometry no window takes", "Label1", -1, "Width", 1e12, none, 380},
            {"geometry that is no number", "Label1", -1, "Top", "alto", none, 380},
            {"Name", "Label1", -1, "Name", any, none, 383}, {"the form's Name", "", -1, "Name", any, none, 383},
            {"setting an array element's Index", "Label3", 0, "Index", any, none, 383},
            {"a tab beyond the last", "TabStrip1", -1, "TabCaption", none, none, 387, 3},
            {"a tab before the first", "TabStrip1", -1, "TabCaption", any, none, 387, -2},
            {"Caption of a text box", "Text1", -1, "Caption", any, none, 438},
            {"ToolTipText of a menu item", "mnuFile", -1, "ToolTipText", any, none, 438},
            {"line Left", "Line1", -1, "Left", any, none, 438}, {"label X1", "Label1", -1, "X1", none, none, 438},
            {"a property nobody has", "Label1", -1, "Colore", none, none, 438},
            {"ToolTipText of the form", "", -1, "ToolTipText", any, none, 438},
        };
        for (const Row& row : rows) {
            const QString control = QString::fromLatin1(row.control), property = QString::fromLatin1(row.property);
            int failure = 0;
            QVariant read;
            try {
                if (row.written.isValid())
                    control.isEmpty() ? m_form->set(property, row.written)
                                      : m_form->control(control, row.index).set(property, row.written, row.subscript);
                read = control.isEmpty() ? m_form->get(property)
                                         : m_form->control(control, row.index).get(property, row.subscript);
            } catch (const forms::FormsError& error) {
                failure = error.number();
            }
            QVERIFY2(failure == row.failure && (failure || read == row.read), row.name);
        }
    }

    void controlArraysAndTheCollection()
    {
        QCOMPARE(m_form->find(QStringLiteral("Label3")), nullptr); // an array is found by its index only
        // Nothing a user does to the controls reorders the collection.
        m_form->control(QStringLiteral("Text1")).setVisible(false);
        m_form->control(QStringLiteral("Label1")).setLeft(5000);
        m_form->control(QStringLiteral("Label3"), 0).setFocus();
        m_form->control(QStringLiteral("mnuVoce"), 0).setCaption(QStringLiteral("Adesso"));

        forms::Control& item = m_form->loadControl(QStringLiteral("mnuVoce"), 1);
        forms::Control& label = m_form->loadControl(QStringLiteral("Label3"), 5);

        QStringList names;
        for (const forms::Control* c : m_form->controls())
            names << c->name() + (c->isArrayElement() ? QStringLiteral("(%1)").arg(c->index()) : QString());
        QCOMPARE(names, QStringList({"mnuFile", "mnuVoce(0)", "Label1", "Label3(0)", "Label3(1)", "Text1",
                                                "Check1", "Line1", "TabStrip1", "mnuVoce(1)", "Label3(5)"}));
        QCOMPARE(item.caption(), QStringLiteral("Adesso")); // as element 0 stands now
        QVERIFY(item.isVisible() && !label.isVisible()); // new elements of control arrays start hidden (not menu items)
        QCOMPARE(m_form->highestIndex(QStringLiteral("Label3")), 5);
        // A new menu item sits at the end of its menu.
        QCOMPARE(m_form->control(QStringLiteral("mnuFile")).action()->menu()->actions().last(), item.action());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, m_form->loadControl(QStringLiteral("Label3"), 1));
    }

    // A caption or tooltip that looks like markup (from a language file
    // anyone can edit) is shown as the characters it holds: no picture is
    // loaded and drawn from an <img> in it. A tooltip is always rich text.
    void textsShowAsPlainText()
    {
        const QString markup = QStringLiteral("<img src=\"red.png\"><b>Tre</b>");
        forms::Control& label = m_form->control(QStringLiteral("Label1"));
        label.set(QStringLiteral("Caption"), markup);
        label.set(QStringLiteral("ToolTipText"), markup);
        QCOMPARE(label.caption() + label.get(QStringLiteral("ToolTipText")).toString(), markup + markup);
        QTextDocument tip;
        tip.setHtml(label.widget()->toolTip());
        QCOMPARE(std::pair(qobject_cast<QLabel*>(label.widget())->textFormat(), tip.toPlainText()),
                 std::pair(Qt::PlainText, markup));
    }

    // Every number of four digits or more is grouped, also in locales whose
    // own rule leaves four-digit numbers whole. (Italian numbers are checked
    // as the exercises show them.)
    void numbersGroupedByThousands()
    {
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        for (const auto& [locale, separator] : {std::pair{"es_ES", u"."}, {"pl_PL", u"\u00A0"}, {"pt_PT", u"\u00A0"}}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            QStringList shown;
            for (const int number : {0, 999, 1994, 32767, 1234567, -1994})
                shown << forms::formatGrouped(number);
            QCOMPARE(shown, QStringList({"0", "999", "1#994", "32#767", "1#234#567", "-1#994"})
                                .replaceInStrings(QStringLiteral("#"), QString::fromUtf16(separator)));
        }
    }
};

QTEST_MAIN(PropertiesTest)
#include "PropertiesTest.moc"
