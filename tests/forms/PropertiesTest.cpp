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
    using enum ControlKind;
    const auto control = [](const char* name, ControlKind kind, int index = -1) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = kind, .index = index,
                                    .caption = QStringLiteral("Zero"), .width = 900, .height = 300};
    };
    forms::FormDesign design{.name = QStringLiteral("FormProva"), .clientWidth = 6000, .clientHeight = 4500};
    design.controls = {control("mnuFile", Menu), control("mnuVoce", Menu, 0), control("Label1", Label),
                       control("Label3", Label, 0), control("Label3", Label, 1), control("Text1", TextBox),
                       control("Check1", CheckBox), control("Line1", Line), control("TabStrip1", TabStrip),
                       control("Check2", CheckBox)};
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
            const char *name, *control, *property; // no control: the form
            QVariant written, outcome;             // nothing written: only read; what is read, or "error N"
            int index = -1, subscript = -1;
        };
        const QVariant none, any(1);
        const Row rows[] = {
            {"any case", "label1", "cAPTION", "Tre", "Tre"}, {"text box", "Text1", "Text", "345", "345"},
            {"twips", "Label1", "Left", 1234.5, 1234.5}, {"line end", "Line1", "X2", 4321.0, 4321.0},
            {"check box as designed", "Check1", "Value", none, 1}, {"check box", "Check1", "Value", 0, 0},
            {"check box designed unchecked", "Check2", "Value", none, 0},
            {"tab", "TabStrip1", "TabCaption", "B", "B", -1, 1}, {"element's Index", "Label3", "Index", none, 1, 1},
            {"form caption", "", "Caption", "Titolo", "Titolo"}, {"form tag", "", "Tag", "t", "t"},
            {"form name", "", "Name", none, "FormProva"}, {"form ScaleWidth", "", "ScaleWidth", none, 6000.0},
            {"not an array", "Label1", "Index", none, "error 343"}, {"too wide", "Label1", "Width", 1e12, "error 380"},
            {"geometry that is no number", "Label1", "Top", "alto", "error 380"},
            {"Name", "Label1", "Name", any, "error 383"}, {"the form's Name", "", "Name", any, "error 383"},
            {"setting an array element's Index", "Label3", "Index", any, "error 383", 0},
            {"a tab beyond the last", "TabStrip1", "TabCaption", none, "error 387", -1, 3},
            {"a tab before the first", "TabStrip1", "TabCaption", any, "error 387", -1, -2},
            {"Caption of a text box", "Text1", "Caption", any, "error 438"},
            {"ToolTipText of a menu item", "mnuFile", "ToolTipText", any, "error 438"},
            {"line Left", "Line1", "Left", any, "error 438"}, {"form ToolTipText", "", "ToolTipText", any, "error 438"},
            {"label X1", "Label1", "X1", none, "error 438"}, {"no property", "Label1", "Colore", none, "error 438"},
        };
        for (const Row& row : rows) {
            QVariant outcome;
            try {
                forms::Control* control = *row.control ? &m_form->control(row.control, row.index) : nullptr;
                if (row.written.isValid())
                    control ? control->set(row.property, row.written, row.subscript)
                            : m_form->set(row.property, row.written);
                outcome = control ? control->get(row.property, row.subscript) : m_form->get(row.property);
            } catch (const forms::FormsError& error) {
                outcome = QStringLiteral("error %1").arg(error.number());
            }
            QVERIFY2(outcome == row.outcome, row.name);
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
                                                "Check1", "Line1", "TabStrip1", "Check2", "mnuVoce(1)", "Label3(5)"}));
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
