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
constexpr double kTwipsPerPixel = 15;

forms::FormDesign designOfTheTestForm()
{
    // Every control lies on whole pixels.
    const auto label = [](const char* name, int index, double left, double top, bool drags, bool enabled = true) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = ControlKind::Label, .index = index,
                                  .caption = QString::fromLatin1(name), .left = left, .top = top,
                                  .width = 1500, .height = 600, .enabled = enabled, .dragAutomatic = drags};
    };
    return {.name = QStringLiteral("FormTasti"), .clientWidth = 6000, .clientHeight = 4500,
            .controls = {
                label("Sorgente", -1, 150, 150, true),
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
            }};
}

enum class Paste { None, FromMenu, ByCtrlV };
enum class DragEnd { Release, EscapeInTextBox, EscapeWithoutFocus };

} // namespace

class InputTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_form.reset(); }

    void keyPressFilter_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Paste>("paste");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");

        QTest::newRow("digits pass, letters go") << "Text1" << "1a2b3" << Paste::None << "" << "123";
        QTest::newRow("Backspace passes the filter") << "Text1" << "12\b" << Paste::None << "" << "1";
        QTest::newRow("cut at MaxLength") << "Text1" << "123456" << Paste::None << "" << "1234";
        QTest::newRow("small letters become capitals") << "Text2" << "xIv m 9" << Paste::None << "" << "XIV M 9";
        QTest::newRow("menu paste, digits only") << "Text1" << "1" << Paste::FromMenu << "4x5" << "145";
        QTest::newRow("Ctrl+V, digits only") << "Text1" << "1" << Paste::ByCtrlV << "4x5" << "145";
        QTest::newRow("pasted text cut at MaxLength") << "Text1" << "1" << Paste::FromMenu << "98765" << "1987";
        QTest::newRow("pasted text filtered before the cut") << "Text1" << "1" << Paste::FromMenu << "9a8b76" << "1987";
        QTest::newRow("pasted letters become capitals") << "Text2" << "1" << Paste::ByCtrlV << "mcm" << "1MCM";
    }
    void keyPressFilter()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(Paste, paste);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);

        QLineEdit* edit = lineEdit(box);
        QTest::keyClicks(edit, typed);
        QGuiApplication::clipboard()->setText(pasted);
        if (paste == Paste::ByCtrlV) // as the window system sends it: the control character for V
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
        else if (paste == Paste::FromMenu)
            edit->paste();
        QCOMPARE(edit->text(), shown);
    }

    void keyUpAndKeyDownCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("events");

        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << QStringList{"down 13 0", "press 13", "up 13 0"};
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier)
                                      << QStringList{"down 13 0", "press 13", "up 13 0"};
        QTest::newRow("a letter's key code is its capital's") << int(Qt::Key_A) << 0
                                                              << QStringList{"down 65 0", "press 97", "up 65 0"};
        // Shift itself is key 16, never Space's 32.
        QTest::newRow("with Shift") << int(Qt::Key_Left) << int(Qt::ShiftModifier)
                                    << QStringList{"down 16 1", "down 37 1", "up 37 1", "up 16 0"};
        QTest::newRow("an arrow has no character") << int(Qt::Key_Left) << 0 << QStringList{"down 37 0", "up 37 0"};
        QTest::newRow("F1 is no digit") << int(Qt::Key_F1) << 0 << QStringList{"down 112 0", "up 112 0"};
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << QStringList{"down 8 0", "press 8", "up 8 0"};
    }
    void keyUpAndKeyDownCodes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QStringList, events);

        QTest::keyClick(lineEdit(QStringLiteral("Text1")), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A key held down repeats its KeyDown, but only the last release is a KeyUp.
        QKeyEvent repeatedRelease(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), QString(), true);
        QApplication::sendEvent(lineEdit(QStringLiteral("Text1")), &repeatedRelease);
        QCOMPARE(m_keys, events);
    }

    void clicks()
    {
        QTest::mouseClick(control("Cartello").widget(), Qt::LeftButton);
        QTest::mouseClick(control("Bersaglio", 1).widget(), Qt::LeftButton);
        QTest::mouseClick(control("Sorgente").widget(), Qt::LeftButton); // a drag label pressed in place
        QTest::mouseClick(control("CartelloSpento").widget(), Qt::LeftButton); // disabled: no Click
        QTest::mouseClick(control("Spento").widget(), Qt::LeftButton);
        QTest::mouseClick(control("Cartello").widget(), Qt::RightButton); // only the left button clicks
        // A focused button clicks on Return, keypad Enter and Space.
        control("Command1").setFocus();
        QVERIFY(control("Command1").hasFocus());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            QTest::keyClick(control("Command1").widget(), key);
        QCOMPARE(m_clicks, QStringList({"Cartello -1", "Bersaglio 1", "Sorgente -1", "Command1 -1", "Command1 -1",
                                        "Command1 -1"}));
        QVERIFY(m_drops.isEmpty());
        QVERIFY(!m_form->isDragging());
    }

    void dragAndDrop_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<DragEnd>("end");
        QTest::addColumn<bool>("dropped");

        QTest::newRow("dropped onto another control") << "Sorgente" << DragEnd::Release << true;
        QTest::newRow("Escape, focus in a text box") << "Sorgente" << DragEnd::EscapeInTextBox << false;
        QTest::newRow("Escape, no control focused") << "Sorgente" << DragEnd::EscapeWithoutFocus << false;
        QTest::newRow("a disabled label does not drag") << "Spento" << DragEnd::Release << false;
    }
    void dragAndDrop()
    {
        QFETCH(QString, source);
        QFETCH(DragEnd, end);
        QFETCH(bool, dropped);

        QApplication::setActiveWindow(m_form->window());
        if (end == DragEnd::EscapeInTextBox)
            control("Text1").setFocus();
        else if (QWidget* focused = m_form->window()->focusWidget())
            focused->clearFocus();

        forms::Control& from = m_form->control(source);
        QWidget* target = control("Bersaglio", 1).widget();
        const QPoint pressed = from.widget()->rect().center();
        const QPoint over = from.widget()->mapFromGlobal(target->mapToGlobal(target->rect().center()));
        QTest::mousePress(from.widget(), Qt::LeftButton, {}, pressed);
        QTest::mouseMove(from.widget(), (pressed + over) / 2);
        QTest::mouseMove(from.widget(), over);

        QCOMPARE(m_form->dragSource(), from.isEnabled() ? &from : nullptr);
        if (m_form->isDragging()) { // an outline of the source follows the pointer
            QVERIFY(dragOutline());
            QCOMPARE(dragOutline()->size(), from.widget()->size());
            QVERIFY(dragOutline()->geometry().contains(target->geometry().center()));
        }
        if (end != DragEnd::Release) {
            QWidget* keyboard = QApplication::focusWidget() ? QApplication::focusWidget() : m_form->window();
            QTest::keyClick(keyboard, Qt::Key_Escape);
            QVERIFY(!m_form->isDragging());
        }
        QTest::mouseRelease(from.widget(), Qt::LeftButton, {}, over);

        QVERIFY(!m_form->isDragging());
        QVERIFY(!dragOutline());
        // Where it fell, in twips inside the target.
        const QPoint at = target->rect().center() * kTwipsPerPixel;
        QCOMPARE(m_drops, dropped ? QStringList{QStringLiteral("1 Sorgente %1 %2").arg(at.x()).arg(at.y())}
                                  : QStringList());
        QVERIFY(m_clicks.isEmpty());
        QCOMPARE(from.left(), from.decl().left); // the control itself stays where it was
    }

    // A paste that loses characters to the rules leaves the cursor behind
    // what was kept of it, where typing goes on.
    void cursorAfterAFilteredPaste()
    {
        QLineEdit* edit = lineEdit(QStringLiteral("Text1"));
        QTest::keyClick(edit, Qt::Key_7);
        edit->home(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("4x5"));
        edit->paste();
        QTest::keyClick(edit, Qt::Key_8);
        QCOMPARE(edit->text(), QStringLiteral("4587"));
    }

private:
    forms::Control& control(const char* name, int index = -1) const
    {
        return m_form->control(QString::fromLatin1(name), index);
    }
    QLineEdit* lineEdit(const QString& name) const { return qobject_cast<QLineEdit*>(m_form->control(name).widget()); }
    QFrame* dragOutline() const
    {
        for (QFrame* frame : m_form->clientArea()->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
            if (frame->testAttribute(Qt::WA_TransparentForMouseEvents) && frame->isVisible())
                return frame;
        return nullptr;
    }

    std::unique_ptr<forms::Form> m_form;
    QStringList m_clicks;
    QStringList m_keys;
    QStringList m_drops;
};

void InputTest::init()
{
    m_clicks.clear();
    m_keys.clear();
    m_drops.clear();
    m_form = std::make_unique<forms::Form>(designOfTheTestForm());
    forms::Form& form = *m_form;

    // Digits only, as the reading exercise wants them.
    form.onKeyPress(QStringLiteral("Text1"), [this](int, int& key) {
        m_keys << QStringLiteral("press %1").arg(key);
        if ((key < '0' || key > '9') && key != kBackspace && key != kEnter)
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
    form.onKeyDown(QStringLiteral("Text1"), keyRecorder("down"));
    form.onKeyUp(QStringLiteral("Text1"), keyRecorder("up"));
    form.onDragDrop(QStringLiteral("Bersaglio"), [this](int index, forms::Control& source, double x, double y) {
        m_drops << QStringLiteral("%1 %2 %3 %4").arg(index).arg(source.name()).arg(x).arg(y);
    });

    form.window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
}

QTEST_MAIN(InputTest)
#include "InputTest.moc"
