#pragma once

#include "Control.h"
#include "FormDesign.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

class QFrame;
class QMenu;
class QMenuBar;
class QWidget;

namespace forms {

class FormWindow;

// A form: a top-level window built from its design table, with a menu bar
// when it has menus, a client area holding its controls, geometry in twips
// and the forms' events. A form class adds only its handlers and state.
class Form : public QObject
{
public:
    using ClickHandler = std::function<void(int index)>;
    using KeyPressHandler = std::function<void(int index, int& keyAscii)>;
    using KeyHandler = std::function<void(int index, int keyCode, int shift)>;
    using DragDropHandler = std::function<void(int index, Control& source, double x, double y)>;

    explicit Form(FormDesign decl);
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

    // A click on the form itself, where no control is, raises Click under
    // the form's own name (index -1).
    void onClick(const QString& controlName, ClickHandler handler);
    void onKeyPress(const QString& controlName, KeyPressHandler handler);
    void onKeyDown(const QString& controlName, KeyHandler handler);
    void onKeyUp(const QString& controlName, KeyHandler handler);
    void onDragDrop(const QString& controlName, DragDropHandler handler);

    // Called by the widgets and the application: they raise the events.
    void dispatchClick(Control& control);
    void dispatchKeyPress(Control& control, int& keyAscii);
    void dispatchKeyDown(Control& control, int keyCode, int shift);
    void dispatchKeyUp(Control& control, int keyCode, int shift);
    void runLoad() { onLoad(); }
    void runActivate() { onActivate(); }
    bool runCloseRequest() { return onCloseRequest(); }
    void syncSize();
    void markUnloaded() { m_unloaded = true; }

    // Dragging a control whose drag mode is automatic: its outline follows
    // the pointer and a release over another control raises DragDrop there.
    bool isDragging() const { return m_drag.source != nullptr; }
    Control* dragSource() const { return m_drag.source; }
    void beginDrag(Control& source, QPoint globalPos);
    void moveDrag(QPoint globalPos);
    void endDrag(QPoint globalPos);
    void cancelDrag();
    Control* controlAt(QPoint globalPos) const;

protected:
    virtual void onLoad() {}
    virtual void onActivate() {}
    virtual void onResize() {}
    // Closing the window from its frame; return true to let it close.
    virtual bool onCloseRequest() { return false; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    Control& addControl(ControlDesign decl);
    void createWidget(Control& control);
    void createMenuEntry(Control& control);
    void applyTabOrder();
    void layoutChildren();
    Control* controlOf(QObject* object) const;
    void dispatchFormClick();
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

    struct DragState
    {
        Control* source = nullptr;
        QPoint pressGlobal;
        QPoint grabOffset;
    };

    FormDesign m_decl;
    QString m_tag;
    std::unique_ptr<FormWindow> m_window;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QFrame* m_dragOutline = nullptr;
    std::vector<std::unique_ptr<Control>> m_owned;
    std::vector<Control*> m_order;
    QHash<QObject*, Control*> m_byWidget;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, ClickHandler> m_click;
    QHash<QString, KeyPressHandler> m_keyPress;
    QHash<QString, KeyHandler> m_keyDown;
    QHash<QString, KeyHandler> m_keyUp;
    QHash<QString, DragDropHandler> m_dragDrop;
    QSize m_lastSize;
    TwipsMemo m_setLeft;
    TwipsMemo m_setTop;
    TwipsMemo m_setWidth;
    TwipsMemo m_setHeight;
    DragState m_drag;
    Control* m_pressed = nullptr;
    bool m_pressedOnForm = false;
    bool m_unloaded = false;

    friend class FormWindow;
};

} // namespace forms
