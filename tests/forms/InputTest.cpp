// Keys and the mouse as the forms see them: the KeyPress filter (pasted text
// included), KeyUp and KeyDown codes, Enter on a focused button, clicks, and
// automatic drag and drop.

#include "forms/Control.h"
#include "forms/Form.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLineEdit>
#include <QTest>

using forms::ControlKind;

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

bool isDigit(int code)
{
    return code >= '0' && code <= '9';
}

forms::FormSpec designOfTheTestForm()
{
    // 400 x 300 pixels; every control lies on whole pixels (15 twips each).
    const auto label = [](const char* name, int index, double left, double top, bool drags,
                          bool enabled = true) {
        return forms::ControlSpec{.name = QString::fromLatin1(name), .kind = ControlKind::Label,
                                  .index = index, .caption = QString::fromLatin1(name),
                                  .left = left, .top = top, .width = 1500, .height = 600,
                                  .enabled = enabled, .dragAutomatic = drags};
    };
    return {
        .name = QStringLiteral("FormTasti"),
        .clientWidth = 6000,
        .clientHeight = 4500,
        .controls = {
            label("Sorgente", -1, 150, 150, true),
            label("Bersaglio", 0, 3000, 150, false),
            label("Bersaglio", 1, 3000, 1500, false),
            label("Spento", -1, 150, 1500, true, false),
            label("Cartello", -1, 150, 2400, false),
            label("CartelloSpento", -1, 3000, 2400, false, false),
            {.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox,
             .left = 150, .top = 3300, .width = 1500, .height = 450, .maxLength = 4},
            {.name = QStringLiteral("Text2"), .kind = ControlKind::TextBox,
             .left = 1800, .top = 3300, .width = 1500, .height = 450},
            {.name = QStringLiteral("Command1"), .kind = ControlKind::CommandButton,
             .caption = QStringLiteral("OK"), .left = 3600, .top = 3300, .width = 1500, .height = 600},
        },
    };
}

struct Drop
{
    int index;
    QString source;
    double x;
    double y;
};

} // namespace

class InputTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_form.reset(); }

    void keyPressFiltersTypedKeys_data();
    void keyPressFiltersTypedKeys();
    void enterAndBackspaceReachKeyPress();
    void keyPressFiltersPastedText_data();
    void keyPressFiltersPastedText();
    void keyUpAndKeyDownCodes_data();
    void keyUpAndKeyDownCodes();
    void focusedButtonClicksOnEnterAndSpace_data();
    void focusedButtonClicksOnEnterAndSpace();
    void labelClicks();
    void dragAndDropOntoAnotherControl();
    void pressAndReleaseInPlaceIsAClick();
    void disabledLabelCannotBeDragged();
    void escapeCancelsADrag_data();
    void escapeCancelsADrag();

private:
    forms::Control& control(const char* name, int index = -1) const
    {
        return m_form->control(QString::fromLatin1(name), index);
    }
    QLineEdit* lineEdit(const char* name) const { return qobject_cast<QLineEdit*>(control(name).widget()); }
    // Press on the source, move to the middle of the target, release there.
    void drag(forms::Control& source, forms::Control& target);
    QFrame* dragOutline() const;

    std::unique_ptr<forms::Form> m_form;
    QStringList m_clicks;
    QList<int> m_keyPresses;
    QStringList m_keys;
    std::vector<Drop> m_drops;
};

void InputTest::init()
{
    m_clicks.clear();
    m_keyPresses.clear();
    m_keys.clear();
    m_drops.clear();
    m_form = std::make_unique<forms::Form>(designOfTheTestForm());
    forms::Form& form = *m_form;

    // Digits only, as the reading exercise wants them.
    form.onKeyPress(QStringLiteral("Text1"), [this](int, int& key) {
        m_keyPresses << key;
        if (!isDigit(key) && key != kBackspace && key != kEnter)
            key = 0;
    });
    // Capitals, as the writing exercise wants them.
    form.onKeyPress(QStringLiteral("Text2"), [](int, int& key) {
        if (key >= 'a' && key <= 'z')
            key -= 'a' - 'A';
    });
    for (const char* name : {"Sorgente", "Bersaglio", "Spento", "Cartello", "CartelloSpento", "Command1"})
        form.onClick(QString::fromLatin1(name), [this, name](int index) {
            m_clicks << QStringLiteral("%1 %2").arg(QString::fromLatin1(name)).arg(index);
        });
    const auto keyRecorder = [this](const char* event) {
        return [this, event](int, int code, int shift) {
            m_keys << QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(event)).arg(code).arg(shift);
        };
    };
    form.onKeyDown(QStringLiteral("Text2"), keyRecorder("down"));
    form.onKeyUp(QStringLiteral("Text2"), keyRecorder("up"));
    form.onDragDrop(QStringLiteral("Bersaglio"), [this](int index, forms::Control& source, double x, double y) {
        m_drops.push_back({index, source.name(), x, y});
    });

    form.window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
}

void InputTest::keyPressFiltersTypedKeys_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("digits pass, letters go") << "Text1" << "1a2b3" << "123";
    QTest::newRow("cut at MaxLength") << "Text1" << "123456" << "1234";
    QTest::newRow("small letters become capitals") << "Text2" << "xIv" << "XIV";
    QTest::newRow("others untouched") << "Text2" << "m 9" << "M 9";
}

void InputTest::keyPressFiltersTypedKeys()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    QLineEdit* edit = lineEdit(box.toLatin1().constData());
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void InputTest::enterAndBackspaceReachKeyPress()
{
    QLineEdit* edit = lineEdit("Text1");
    QTest::keyClicks(edit, QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(m_keyPresses, QList<int>({'1', '2', kBackspace, kEnter, kEnter}));
    QCOMPARE(edit->text(), QStringLiteral("1"));
}

void InputTest::keyPressFiltersPastedText_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("shown");

    QTest::newRow("menu paste, digits only") << "Text1" << "4x5" << false << "145";
    QTest::newRow("Ctrl+V, digits only") << "Text1" << "4x5" << true << "145";
    QTest::newRow("pasted text cut at MaxLength") << "Text1" << "98765" << false << "1987";
    QTest::newRow("pasted letters become capitals") << "Text2" << "mcm" << true << "1MCM";
}

void InputTest::keyPressFiltersPastedText()
{
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    QFETCH(bool, byKey);
    QFETCH(QString, shown);

    QLineEdit* edit = lineEdit(box.toLatin1().constData());
    QTest::keyClick(edit, Qt::Key_1);
    QGuiApplication::clipboard()->setText(pasted);
    if (byKey) // as the window system sends it: the control character for V
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    else
        edit->paste();
    QCOMPARE(edit->text(), shown);
}

void InputTest::keyUpAndKeyDownCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("Return") << int(Qt::Key_Return) << 0 << QStringList{"down 13 0", "up 13 0"};
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                  << QStringList{"down 13 0", "up 13 0"};
    QTest::newRow("a letter is its capital") << int(Qt::Key_A) << 0 << QStringList{"down 65 0", "up 65 0"};
    // Shift itself is key 16, never Space's 32.
    QTest::newRow("with Shift") << int(Qt::Key_A) << int(Qt::ShiftModifier)
                                << QStringList{"down 16 1", "down 65 1", "up 65 1", "up 16 0"};
    QTest::newRow("an arrow has no character") << int(Qt::Key_Left) << 0 << QStringList{"down 37 0", "up 37 0"};
    QTest::newRow("F1 is no digit") << int(Qt::Key_F1) << 0 << QStringList{"down 112 0", "up 112 0"};
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << QStringList{"down 8 0", "up 8 0"};
}

void InputTest::keyUpAndKeyDownCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, events);

    QTest::keyClick(lineEdit("Text2"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_keys, events);

    // A key held down repeats its KeyDown, but only the last release is a KeyUp.
    m_keys.clear();
    QKeyEvent repeatedRelease(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), QString(), true);
    QApplication::sendEvent(lineEdit("Text2"), &repeatedRelease);
    QVERIFY(m_keys.isEmpty());
}

void InputTest::focusedButtonClicksOnEnterAndSpace_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void InputTest::focusedButtonClicksOnEnterAndSpace()
{
    QFETCH(int, key);
    forms::Control& button = control("Command1");
    button.setFocus();
    QVERIFY(button.hasFocus());
    QTest::keyClick(button.widget(), Qt::Key(key));
    QCOMPARE(m_clicks, QStringList{"Command1 -1"});
}

void InputTest::labelClicks()
{
    QTest::mouseClick(control("Cartello").widget(), Qt::LeftButton);
    QTest::mouseClick(control("Bersaglio", 1).widget(), Qt::LeftButton);
    QTest::mouseClick(control("CartelloSpento").widget(), Qt::LeftButton); // disabled: no Click
    QTest::mouseClick(control("Cartello").widget(), Qt::RightButton);      // only the left button clicks
    QCOMPARE(m_clicks, QStringList({"Cartello -1", "Bersaglio 1"}));
}

void InputTest::drag(forms::Control& source, forms::Control& target)
{
    QWidget* from = source.widget();
    const QPoint pressed = from->rect().center();
    const QPoint over = from->mapFromGlobal(target.widget()->mapToGlobal(target.widget()->rect().center()));
    QTest::mousePress(from, Qt::LeftButton, {}, pressed);
    QTest::mouseMove(from, (pressed + over) / 2);
    QTest::mouseMove(from, over);
}

QFrame* InputTest::dragOutline() const
{
    for (QFrame* frame : m_form->clientArea()->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
        if (frame->testAttribute(Qt::WA_TransparentForMouseEvents) && frame->isVisible())
            return frame;
    return nullptr;
}

void InputTest::dragAndDropOntoAnotherControl()
{
    forms::Control& source = control("Sorgente");
    forms::Control& target = control("Bersaglio", 1);
    drag(source, target);

    QVERIFY(m_form->isDragging());
    QCOMPARE(m_form->dragSource(), &source);
    QFrame* outline = dragOutline();
    QVERIFY(outline);
    QCOMPARE(outline->size(), source.widget()->size());
    QVERIFY(outline->geometry().contains(target.widget()->geometry().center()));

    const QPoint over = source.widget()->mapFromGlobal(target.widget()->mapToGlobal(target.widget()->rect().center()));
    QTest::mouseRelease(source.widget(), Qt::LeftButton, {}, over);

    QVERIFY(!m_form->isDragging());
    QVERIFY(!dragOutline());
    QCOMPARE(m_drops.size(), std::size_t(1));
    QCOMPARE(m_drops[0].index, 1);
    QCOMPARE(m_drops[0].source, QStringLiteral("Sorgente"));
    // Where it fell, in twips inside the target.
    QCOMPARE(m_drops[0].x, target.widget()->rect().center().x() * 15.0);
    QCOMPARE(m_drops[0].y, target.widget()->rect().center().y() * 15.0);
    QVERIFY(m_clicks.isEmpty());
    QCOMPARE(source.left(), 150.0); // the control itself stays where it was
}

void InputTest::pressAndReleaseInPlaceIsAClick()
{
    QTest::mouseClick(control("Sorgente").widget(), Qt::LeftButton);
    QCOMPARE(m_clicks, QStringList{"Sorgente -1"});
    QVERIFY(m_drops.empty());
    QVERIFY(!m_form->isDragging());
}

void InputTest::disabledLabelCannotBeDragged()
{
    forms::Control& target = control("Bersaglio", 0);
    drag(control("Spento"), target);
    QVERIFY(!m_form->isDragging());
    const QPoint over = control("Spento").widget()->mapFromGlobal(target.widget()->mapToGlobal(target.widget()->rect().center()));
    QTest::mouseRelease(control("Spento").widget(), Qt::LeftButton, {}, over);
    QVERIFY(m_drops.empty());
    QVERIFY(m_clicks.isEmpty());
}

void InputTest::escapeCancelsADrag_data()
{
    QTest::addColumn<bool>("focusInTextBox");
    QTest::newRow("focus in a text box") << true;
    QTest::newRow("no control has the focus") << false;
}

void InputTest::escapeCancelsADrag()
{
    QFETCH(bool, focusInTextBox);
    QApplication::setActiveWindow(m_form->window());
    if (focusInTextBox)
        control("Text1").setFocus();
    else if (QWidget* focused = m_form->window()->focusWidget())
        focused->clearFocus();

    forms::Control& source = control("Sorgente");
    forms::Control& target = control("Bersaglio", 0);
    drag(source, target);
    QVERIFY(m_form->isDragging());

    QWidget* keyboard = QApplication::focusWidget() ? QApplication::focusWidget() : m_form->window();
    QTest::keyClick(keyboard, Qt::Key_Escape);
    QVERIFY(!m_form->isDragging());
    QVERIFY(!dragOutline());

    const QPoint over = source.widget()->mapFromGlobal(target.widget()->mapToGlobal(target.widget()->rect().center()));
    QTest::mouseRelease(source.widget(), Qt::LeftButton, {}, over);
    QVERIFY(m_drops.empty());
    QVERIFY(m_clicks.isEmpty());
}

QTEST_MAIN(InputTest)
#include "InputTest.moc"
