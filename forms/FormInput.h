#pragma once

#include <QObject>
#include <QPoint>

#include <variant>

class QFrame;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace forms {

class Control;
class Form;

// Turns Qt's keys and mouse into a form's events: KeyDown and KeyUp with the
// forms' key codes; Click for a press and release of the left button over
// the same control (or over the form itself, where no control is); and
// automatic drag and drop, whose outline follows the pointer until a release
// over another control raises DragDrop there (a release in place is a Click).
class FormInput : public QObject
{
public:
    explicit FormInput(Form& form) : m_form(form) {}

    // Once the form's client area exists: the drag outline lives in it.
    void attach(QWidget* clientArea);

    bool isDragging() const { return std::holds_alternative<Dragging>(m_gesture); }
    Control* dragSource() const;
    // Puts a dragged control back (Escape, or a form being unloaded).
    void cancelDrag();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Idle
    {};
    struct PressedOnForm
    {};
    struct PressedOn
    {
        Control* control;
    };
    struct Dragging
    {
        Control* source;
        QPoint pressedAt;  // global
        QPoint grabOffset; // from the source's top left corner
    };
    // What the left mouse button is doing. The controls named here belong to
    // the form, which outlives its input; a form being unloaded cancels it.
    using Gesture = std::variant<Idle, PressedOnForm, PressedOn, Dragging>;

    void keyPressed(Control* control, const QKeyEvent& key);
    void keyReleased(Control* control, const QKeyEvent& key);
    void pressed(QObject* watched, Control* control, const QMouseEvent& mouse);
    void moved(const QMouseEvent& mouse);
    bool released(const QMouseEvent& mouse);
    void beginDrag(Control& source, QPoint at);
    void drop(const Dragging& drag, QPoint at);

    Form& m_form;
    QWidget* m_client = nullptr;
    QFrame* m_outline = nullptr;
    Gesture m_gesture;
};

} // namespace forms
