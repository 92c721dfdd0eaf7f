// Keys and the mouse as the forms see them: the KeyPress filter (pasted text
// included), KeyDown and KeyUp codes, clicks (Enter on a focused button
// included), automatic drag and drop, and the mouse pointers and the
// window's icon. The exercises' tests drive the same runtime through the
// real forms: capitals, control arrays, clicks on the form, disabled cards.

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormWidgets.h"
#include "forms/Pictures.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

using forms::ControlKind;

namespace {

forms::ControlDesign at(const char* name, double left, double top, ControlKind kind = ControlKind::Label,
                        double width = 1500, double height = 600)
{
    return {.name = QString::fromLatin1(name), .kind = kind, .left = left, .top = top, .width = width, .height = height};
}

// Every control lies on whole pixels (15 twips each). Sorgente and Spento drag
// themselves; Spento is disabled; Text1 takes 4 characters at most; Riga lies
// over Command1.
forms::FormDesign designOfTheTestForm()
{
    forms::FormDesign form{.name = QStringLiteral("FormTasti"), .clientWidth = 6000, .clientHeight = 4500,
                           .icon = QStringLiteral("numeral_x"),
                           .controls = {at("Sorgente", 150, 150), at("Bersaglio", 3000, 1500), at("Spento", 150, 1500),
                                        at("Cartello", 150, 2400), at("Text1", 150, 3300, ControlKind::TextBox),
                                        at("Command1", 3600, 3300, ControlKind::CommandButton),
                                        at("Riga", 3600, 3300, ControlKind::Line, 5100, 3900), at("Carta", 4500, 150)}};
    form.controls[0].dragAutomatic = form.controls[2].dragAutomatic = true;
    form.controls[1].index = 1;
    form.controls[7].index = 0;
    form.controls[2].enabled = false;
    form.controls[4].maxLength = 4;
    return form;
}

} // namespace

class InputTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    // Text1 takes digits only, as the reading exercise wants them (whose
    // tests type and paste through the slot): AltGr still types. Pasted text
    // meets the same rule before the length cuts it, and the cursor stays
    // behind what was kept of it.
    void keyPressFilter()
    {
        auto* edit = qobject_cast<QLineEdit*>(control("Text1").widget());
        QTest::keyClicks(edit, QStringLiteral("78x"), Qt::ControlModifier | Qt::AltModifier); // AltGr still types
        QCOMPARE(edit->text(), QStringLiteral("78"));
        edit->home(false);
        QGuiApplication::clipboard()->setText(QStringLiteral("4x56"));
        // Ctrl+V as the window system sends it: the control character for V.
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
        QCOMPARE(std::pair(edit->text(), edit->cursorPosition()), std::pair(QStringLiteral("4567"), 3)); // 8 cut
    }

    // The platform's key codes: Enter from either key, letters as capitals,
    // and keys without a character never a character's code (Shift is no
    // Space, F1 no "p").
    void keyCodes()
    {
        const std::pair<int, int> codes[] = {
            {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Backspace, 8}, {Qt::Key_Escape, 27}, {Qt::Key_Tab, 9},
            {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
            {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
            {Qt::Key_End, 35}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39},
            {Qt::Key_Down, 40}, {Qt::Key_Print, 44}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46}, {Qt::Key_Meta, 91},
            {Qt::Key_Menu, 93}, {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145}, {Qt::Key_F1, 112},
            {Qt::Key_F24, 135}, {Qt::Key_Space, 32}, {Qt::Key_5, 53}, {Qt::Key_A, 65}, {Qt::Key_VolumeUp, 0}};
        for (const auto& [key, code] : codes)
            QCOMPARE(std::pair(key, forms::keyCodeFor(key)), std::pair(key, code));
    }

    // KeyDown and KeyUp carry the code and the shift state (Shift 1, Ctrl 2,
    // Alt 4), around KeyPress; a key held down repeats only its KeyDown.
    void keyDownAndUp()
    {
        QWidget* edit = control("Text1").widget();
        for (const auto& [key, modifier] : {std::pair{Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Left, Qt::ShiftModifier},
                                            {Qt::Key_F1, Qt::ControlModifier}, {Qt::Key_Home, Qt::AltModifier}})
            QTest::keyClick(edit, key, modifier);
        QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_A, 'a', {});
        QTest::simulateEvent(edit, false, Qt::Key_A, {}, QString(), true); // released as a repeat
        QCOMPARE(m_events, QStringList({"down 13 0", "press 13", "up 13 0", "down 16 1", "down 37 1", "up 37 1",
                                        "up 16 0", "down 17 2", "down 112 2", "up 112 2", "up 17 0", "down 18 4",
                                        "down 36 4", "up 36 4", "up 18 0", "down 65 0", "press 97"}));
    }

    // A press and release of the left button over one enabled control; a
    // focused button also clicks on Return, keypad Enter and Space.
    void clicks()
    {
        for (const auto& [name, button] : {std::pair{"Cartello", Qt::LeftButton}, {"Cartello", Qt::RightButton},
                                           {"Spento", Qt::LeftButton}})
            QTest::mouseClick(control(name).widget(), button);
        QTest::mousePress(control("Cartello").widget(), Qt::LeftButton);
        QTest::mouseRelease(control("Command1").widget(), Qt::LeftButton);
        QWidget* button = control("Command1").widget(); // the mouse reaches it through the line drawn over it
        QCOMPARE(button->parentWidget()->childAt(button->geometry().center()), button);
        control("Command1").setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            QTest::keyClick(button, key);
        QCOMPARE(m_events, QStringList({"click Cartello", "click Command1", "click Command1", "click Command1"}));
    }

    // A drag shows an outline of the source that follows the pointer; it ends
    // in a drop onto the control under the pointer, where it fell in twips,
    // or is put back by Escape, also when no control has the focus. The
    // source itself stays where it was.
    void dragAndDrop()
    {
        QApplication::setActiveWindow(m_form->window());
        m_form->loadControl(QStringLiteral("Carta"), 1); // a control made after the outline: it goes over it too
        forms::Control& from = control("Sorgente");
        QWidget* target = m_form->control(QStringLiteral("Bersaglio"), 1).widget();
        const QPoint over = from.widget()->mapFromGlobal(target->mapToGlobal(target->rect().center()));
        for (QWidget* escape : QWidgetList{nullptr, control("Text1").widget(), m_form->window()}) { // gets Escape
            QTest::mousePress(from.widget(), Qt::LeftButton, {}, from.widget()->rect().center());
            QTest::mouseMove(from.widget(), over);
            QVERIFY(m_form->dragSource() == &from && outline()); // where it is drawn, the golden images show
            if (escape)
                QTest::keyClick(escape, Qt::Key_Escape);
            QTest::mouseRelease(from.widget(), Qt::LeftButton, {}, over);
            QVERIFY(!m_form->isDragging() && !outline());
            QCOMPARE(from.left(), from.decl().left);
        }
        // Back onto itself, far from where it was pressed: a drop, no click.
        QTest::mousePress(from.widget(), Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseMove(from.widget(), QPoint(90, 30));
        QTest::mouseRelease(from.widget(), Qt::LeftButton, {}, QPoint(90, 30));
        QCOMPARE(m_events.filter(QRegularExpression("^(drop|click)")), QStringList{"drop 1 Sorgente 735 285"});
    }

    // A pointer is drawn 32 pixels square from its picture, its hot spot on
    // the picture's tip (the middle where it has none); the window shows its
    // icon. What the forms look like inside is checked by the golden images, a
    // control's own pointer by the menu's tests.
    void pointersAndIcon()
    {
        const std::pair<const char*, QPoint> tips[] = {{"pointer_arrow", {2, 2}}, {"pointer_pen", {2, 29}},
                                                       {"pointer_next", {30, 16}}, {"pointer_clef", {16, 16}}};
        for (const auto& [picture, tip] : tips) {
            const QCursor pointer = forms::Pictures::pointer(QString::fromLatin1(picture));
            QCOMPARE(std::pair(pointer.pixmap().size(), pointer.hotSpot()), std::pair(QSize(32, 32), tip));
        }
        QCOMPARE(forms::Pictures::pointer(QStringLiteral("no_such_picture")).shape(), Qt::ArrowCursor);
        QVERIFY(!m_form->window()->windowIcon().isNull());
    }

private:
    forms::Control& control(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    // The drag's outline, when shown: the one widget above the controls that
    // lets the mouse through, a line aside.
    QWidget* outline() const
    {
        const auto frames = m_form->clientArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* frame : frames)
            if (frame->testAttribute(Qt::WA_TransparentForMouseEvents) && frame->isVisible() && frame != control("Riga").widget())
                return frame == frames.last() ? frame : nullptr;
        return nullptr;
    }

    std::unique_ptr<forms::Form> m_form;
    QStringList m_events;
};

void InputTest::init()
{
    m_events.clear();
    m_form = std::make_unique<forms::Form>(designOfTheTestForm());
    forms::Form& form = *m_form;
    form.onKeyPress(QStringLiteral("Text1"), [this](int, int& key) {
        m_events << QStringLiteral("press %1").arg(key);
        key = (key >= '0' && key <= '9') || key == 8 || key == 13 ? key : 0; // Backspace and Enter pass
    });
    const auto note = [this](const char* event) {
        return [this, event](int, int code, int shift) { m_events << event + QString(" %1 %2").arg(code).arg(shift); };
    };
    form.onKeyDown(QStringLiteral("Text1"), note("down"));
    form.onKeyUp(QStringLiteral("Text1"), note("up"));
    for (const char* name : {"Sorgente", "Spento", "Cartello", "Command1"})
        form.onClick(QString::fromLatin1(name), [this, name](int) { m_events << QStringLiteral("click ") + name; });
    form.onDragDrop(QStringLiteral("Bersaglio"), [this](int index, forms::Control& source, double x, double y) {
        m_events << QStringLiteral("drop %1 %2 %3 %4").arg(index).arg(source.name()).arg(x).arg(y);
    });
    form.window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.window()));
}

QTEST_MAIN(InputTest)
#include "InputTest.moc"
