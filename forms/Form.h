#pragma once

#include "Control.h"
#include "FormDesign.h"
#include "FormInput.h"
#include "Handlers.h"

#include <QHash>
#include <QObject>
#include <QSize>

#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace forms {

class FormWindow;

// A form: a top-level window built from its design table (FormBuilder), with
// a menu bar when it has menus, a client area holding its controls, geometry
// in twips, and the forms' events: Qt's input is turned into them by
// FormInput and they reach the handlers the form's code registered. A form
// class adds only its handlers and state.
class Form : public QObject
{
public:
    explicit Form(FormDesign design);
    ~Form() override;

    const QString& name() const { return m_decl.name; }
    const FormDesign& decl() const { return m_decl; }

    // The Controls collection, in design order (menu items included), then
    // elements loaded at run time in the order they were loaded.
    const std::vector<Control*>& controls() const { return m_order; }
    Control* find(const QString& name, int index = -1) const;
    // The control of that name (and index); a missing one is a programming
    // error and throws std::out_of_range.
    Control& control(const QString& name, int index = -1) const;
    int highestIndex(const QString& arrayName) const;
    // Adds element `index` of a control array, built like element 0.
    Control& loadControl(const QString& arrayName, int index);

    // By name: Name, Caption, Tag, BackColor, Left, Top, Width, Height,
    // ScaleWidth, ScaleHeight, WindowState; others fail like a control's.
    bool has(QStringView property) const;
    QVariant get(const QString& property) const;
    void set(const QString& property, const QVariant& value);

    QString caption() const;
    void setCaption(const QString& text);
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    quint32 backColor() const;
    void setBackColor(quint32 bgr);

    // Outer geometry in twips (frame, caption and menu bar included);
    // changing the size raises Resize.
    double left() const;
    double top() const;
    double width() const;
    double height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    // The client area (below the menu bar), in twips.
    double scaleWidth() const;
    double scaleHeight() const;
    bool isMinimized() const;

    QWidget* window() const;
    QWidget* clientArea() const { return m_client; }
    QMenuBar* menuBar() const { return m_menuBar; }
    bool isUnloaded() const { return m_unloaded; }

    // Tab and Backtab visit these controls in this order, whatever the
    // design's tab indexes said.
    void setTabOrder(const std::vector<Control*>& chain);

    // The handlers of the form's events, by control name. A click on the
    // form itself, where no control is, raises Click under the form's own
    // name (index -1).
    template<Event E>
    void on(const QString& controlName, Handler<E> handler)
    {
        m_handlers.set<E>(controlName, std::move(handler));
    }
    void onClick(const QString& name, Handler<Event::Click> h) { on<Event::Click>(name, std::move(h)); }
    void onKeyPress(const QString& name, Handler<Event::KeyPress> h) { on<Event::KeyPress>(name, std::move(h)); }
    void onKeyDown(const QString& name, Handler<Event::KeyDown> h) { on<Event::KeyDown>(name, std::move(h)); }
    void onKeyUp(const QString& name, Handler<Event::KeyUp> h) { on<Event::KeyUp>(name, std::move(h)); }
    void onDragDrop(const QString& name, Handler<Event::DragDrop> h) { on<Event::DragDrop>(name, std::move(h)); }

    // Raises the event on a control (nullptr: on the form itself): its
    // handler runs unless the form is unloaded, and nothing it throws
    // escapes into Qt's event handling.
    template<Event E, typename... Args>
    void raise(const Control* target, Args&&... args)
    {
        if (m_unloaded)
            return;
        if (Handler<E> handler = m_handlers.find<E>(target ? target->name() : name())) {
            const int index = target ? target->decl().index : -1;
            guarded([&] { handler(index, std::forward<Args>(args)...); });
        }
    }
    template<Event E, typename... Args>
    void raise(const Control& target, Args&&... args)
    {
        raise<E>(&target, std::forward<Args>(args)...);
    }

    // The lifecycle, as the application runs it.
    void runLoad() { guarded([this] { onLoad(); }); }
    void runActivate() { guarded([this] { onActivate(); }); }
    bool runCloseRequest();
    void syncSize();
    void markUnloaded();

    // Automatic drag and drop, and clicks made with the mouse.
    bool isDragging() const { return m_input.isDragging(); }
    Control* dragSource() const { return m_input.dragSource(); }
    void cancelDrag();
    Control* controlAt(QPoint globalPos) const;
    Control* controlOf(QObject* object) const;

protected:
    virtual void onLoad() {}
    virtual void onActivate() {}
    virtual void onResize() {}
    // Closing the window from its frame; return true to let it close.
    virtual bool onCloseRequest() { return false; }

private:
    friend class FormBuilder;

    static void guarded(const std::function<void()>& step);
    void layoutChildren();
    int menuBarHeight() const;

    // The twips a coordinate was last set to, read back for as long as the
    // window keeps the pixels they gave: a form 5068 twips wide says so,
    // though 5068 twips are no whole number of pixels.
    struct TwipsMemo
    {
        double twips = 0;
        int shownAs = std::numeric_limits<int>::min();
        double recall(int pixels, double twipsPerPixel) const;
    };

    FormDesign m_decl;
    QString m_tag;
    std::unique_ptr<FormWindow> m_window;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    std::vector<std::unique_ptr<Control>> m_owned;
    std::vector<Control*> m_order;
    QHash<QObject*, Control*> m_byWidget;
    QHash<QString, QMenu*> m_menus;
    Handlers m_handlers;
    FormInput m_input;
    QSize m_lastSize;
    std::array<TwipsMemo, 4> m_setGeometry; // Left, Top, Width, Height
    bool m_unloaded = false;
};

} // namespace forms
