#include "FormInput.h"

#include "ControlKinds.h"
#include "Form.h"
#include "FormWidgets.h"
#include "Units.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace forms {
namespace {

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

QPoint globalPosOf(const QMouseEvent& event)
{
    return event.globalPosition().toPoint();
}

} // namespace

void FormInput::attach(QWidget* clientArea)
{
    m_client = clientArea;
    m_outline = new QFrame(clientArea);
    m_outline->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_outline->setLineWidth(2);
    m_outline->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_outline->hide();
}

Control* FormInput::dragSource() const
{
    const auto* drag = std::get_if<Dragging>(&m_gesture);
    return drag ? drag->source : nullptr;
}

void FormInput::cancelDrag()
{
    if (isDragging())
        m_gesture = Idle{};
    if (m_outline)
        m_outline->hide();
}

bool FormInput::eventFilter(QObject* watched, QEvent* event)
{
    Control* control = m_form.controlOf(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        keyPressed(control, static_cast<const QKeyEvent&>(*event));
        break;
    case QEvent::KeyRelease:
        keyReleased(control, static_cast<const QKeyEvent&>(*event));
        break;
    case QEvent::MouseButtonPress:
        pressed(watched, control, static_cast<const QMouseEvent&>(*event));
        break;
    case QEvent::MouseMove:
        moved(static_cast<const QMouseEvent&>(*event));
        break;
    case QEvent::MouseButtonRelease:
        if (released(static_cast<const QMouseEvent&>(*event)))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FormInput::keyPressed(Control* control, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape)
        cancelDrag();
    if (control)
        m_form.raise<Event::KeyDown>(control, keyCodeFor(key.key()), shiftState(key.modifiers()));
}

void FormInput::keyReleased(Control* control, const QKeyEvent& key)
{
    if (control && !key.isAutoRepeat())
        m_form.raise<Event::KeyUp>(control, keyCodeFor(key.key()), shiftState(key.modifiers()));
}

void FormInput::pressed(QObject* watched, Control* control, const QMouseEvent& mouse)
{
    const QPoint at = globalPosOf(mouse);
    // A press the control under the pointer leaves alone travels on to its
    // container, but it still belongs to that control.
    if (mouse.button() != Qt::LeftButton || control != m_form.controlAt(at))
        return;
    if (!control) {
        m_gesture = watched == m_client ? Gesture(PressedOnForm{}) : Gesture(Idle{});
        return;
    }
    if (!clickedByMouse(control->kind()) || !control->isEnabled())
        return; // a disabled control can be neither clicked nor dragged
    if (control->decl().dragAutomatic)
        beginDrag(*control, at);
    else
        m_gesture = PressedOn{control};
}

void FormInput::moved(const QMouseEvent& mouse)
{
    if (const auto* drag = std::get_if<Dragging>(&m_gesture))
        m_outline->move(m_client->mapFromGlobal(globalPosOf(mouse) - drag->grabOffset));
}

// True when the release ended a drag, which nothing else is to see.
bool FormInput::released(const QMouseEvent& mouse)
{
    if (mouse.button() != Qt::LeftButton)
        return false;
    const QPoint at = globalPosOf(mouse);
    const Gesture gesture = std::exchange(m_gesture, Idle{});
    if (const auto* drag = std::get_if<Dragging>(&gesture)) {
        m_outline->hide();
        drop(*drag, at);
        return true;
    }
    Control* under = m_form.controlAt(at);
    const auto* press = std::get_if<PressedOn>(&gesture);
    if (press && press->control == under)
        m_form.raise<Event::Click>(under);
    else if (std::holds_alternative<PressedOnForm>(gesture) && !under)
        m_form.raise<Event::Click>(nullptr);
    return false;
}

void FormInput::beginDrag(Control& source, QPoint at)
{
    QWidget* widget = source.widget();
    const QPoint corner = widget->mapToGlobal(QPoint(0, 0));
    m_gesture = Dragging{&source, at, at - corner};
    m_outline->resize(widget->size());
    m_outline->move(m_client->mapFromGlobal(corner));
    m_outline->raise();
    m_outline->show();
}

void FormInput::drop(const Dragging& drag, QPoint at)
{
    Control* target = m_form.controlAt(at);
    // A press and release in place is a click on the control, not a drop.
    if (target == drag.source && (at - drag.pressedAt).manhattanLength() < QApplication::startDragDistance()) {
        m_form.raise<Event::Click>(target);
        return;
    }
    if (!target)
        return;
    const QPoint local = target->widget()->mapFromGlobal(at);
    m_form.raise<Event::DragDrop>(target, *drag.source, toTwipsX(local.x()), toTwipsY(local.y()));
}

} // namespace forms
