#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <functional>
#include <tuple>

namespace forms {

class Control;

// The events a form's code can handle on its controls (and Click on the
// form itself, under the form's name).
enum class Event { Click, KeyPress, KeyDown, KeyUp, DragDrop };

template<Event>
struct HandlerOf;
template<>
struct HandlerOf<Event::Click>
{
    using type = std::function<void(int index)>;
};
// The handler may change the character code, or cancel the key with 0.
template<>
struct HandlerOf<Event::KeyPress>
{
    using type = std::function<void(int index, int& keyAscii)>;
};
template<>
struct HandlerOf<Event::KeyDown>
{
    using type = std::function<void(int index, int keyCode, int shift)>;
};
template<>
struct HandlerOf<Event::KeyUp> : HandlerOf<Event::KeyDown>
{};
// Where the source fell, in twips inside the target.
template<>
struct HandlerOf<Event::DragDrop>
{
    using type = std::function<void(int index, Control& source, double x, double y)>;
};

template<Event E>
using Handler = typename HandlerOf<E>::type;

// The handlers of one form, for every kind of event, found by the name of the
// control they handle in any letter case (the elements of a control array
// share one handler, which gets the element's index).
class Handlers
{
public:
    template<Event E>
    void set(const QString& control, Handler<E> handler)
    {
        table<E>().insert(control.toLower(), std::move(handler));
    }

    // A copy, so that a handler may replace itself while it runs.
    template<Event E>
    Handler<E> find(const QString& control) const
    {
        return std::get<std::size_t(E)>(m_tables).value(control.toLower());
    }

private:
    template<Event E>
    QHash<QString, Handler<E>>& table()
    {
        return std::get<std::size_t(E)>(m_tables);
    }

    std::tuple<QHash<QString, Handler<Event::Click>>, QHash<QString, Handler<Event::KeyPress>>,
               QHash<QString, Handler<Event::KeyDown>>, QHash<QString, Handler<Event::KeyUp>>,
               QHash<QString, Handler<Event::DragDrop>>>
        m_tables;
};

} // namespace forms
