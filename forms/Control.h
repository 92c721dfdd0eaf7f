#pragma once

#include "FormDesign.h"

#include <QAction>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace forms {

class Form;

// Left, Top, Width and Height; for a line X1, Y1, X2 and Y2.
enum class Coordinate { Left, Top, Width, Height };

// One control of a form: a widget, or a menu entry. Everything the program's
// own code needs of it is reachable by property name (Caption, Tag, Left...),
// as the table of control kinds (ControlKinds.h) lists them, with the typed
// failures of FormsError for what this kind of control lacks; typed
// accessors sit beside for the forms' own handlers.
//
// A control has either a widget or a menu action, from the moment its form
// has built it until the form is destroyed; the form destroys its widgets
// and its controls together, so neither outlives the other in use. The typed
// accessors of a kind's own properties (a text box's text, a tab strip's
// tabs) are only for controls of that kind.
class Control
{
public:
    Control(Form& form, ControlDesign design);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return m_form; }
    const ControlDesign& decl() const { return m_decl; }
    const QString& name() const { return m_decl.name; }
    ControlKind kind() const { return m_decl.kind; }
    bool isLine() const { return m_decl.kind == ControlKind::Line; }
    bool isMenu() const { return m_decl.kind == ControlKind::Menu; }
    bool isArrayElement() const { return m_decl.index >= 0; }
    // Fails with NotAnArray for a control that is no array element.
    int index() const;

    // Whether this kind of control has the property; never fails.
    bool has(QStringView property) const;
    // By name, in any letter case: Name, Index, Caption, Text, ToolTipText,
    // AccessibleName, AccessibleDescription, Tag, Left, Top, Width, Height,
    // X1, Y1, X2, Y2, Enabled, Visible, Value, Checked, BackColor, ForeColor,
    // FontSize, Tabs, TabCaption (with a tab number as subscript).
    QVariant get(const QString& property, int subscript = -1) const;
    void set(const QString& property, const QVariant& value, int subscript = -1);

    QString caption() const;
    void setCaption(const QString& text);
    QString text() const;
    void setText(const QString& text);
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString& text);
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    // In twips, as last set: the widget shows the nearest whole pixels.
    double coordinate(Coordinate which) const { return m_geometry[int(which)]; }
    // Fails with InvalidPropertyValue for what no window could take.
    void setCoordinate(Coordinate which, double twips);
    double left() const { return coordinate(Coordinate::Left); }
    double top() const { return coordinate(Coordinate::Top); }
    double width() const { return coordinate(Coordinate::Width); }
    double height() const { return coordinate(Coordinate::Height); }
    void setLeft(double twips) { setCoordinate(Coordinate::Left, twips); }
    void setTop(double twips) { setCoordinate(Coordinate::Top, twips); }
    void setWidth(double twips) { setCoordinate(Coordinate::Width, twips); }
    void setHeight(double twips) { setCoordinate(Coordinate::Height, twips); }

    bool isEnabled() const;
    void setEnabled(bool enabled);
    bool isVisible() const;
    void setVisible(bool visible);
    // A check box's check, or a menu item's check mark.
    bool isChecked() const;
    void setChecked(bool checked);
    quint32 backColor() const;
    void setBackColor(quint32 bgr);
    quint32 foreColor() const;
    void setForeColor(quint32 bgr);
    double fontSize() const;
    void setFontSize(double points);
    int tabCount() const;
    // Tab numbers outside the strip fail with CannotSet.
    QString tabCaption(int tab) const;
    void setTabCaption(int tab, const QString& text);

    void setFocus();
    bool hasFocus() const;
    // Labels: drawn as selected (tinted and framed in the highlight colour),
    // for a control the user has picked up; other kinds ignore it.
    bool isHighlighted() const;
    void setHighlighted(bool highlighted);
    // An auto-sized label's width and height follow its caption and font.
    void fitToCaption();

    // The Qt object behind the control, for tests and the runtime itself.
    QWidget* widget() const { return m_widget; }
    QAction* action() const { return m_action; }

private:
    friend class FormBuilder;
    void attach(QWidget* widget);
    void attach(QAction* action) { m_action = action; }
    void applyGeometry();
    [[noreturn]] void fail(int code, const QString& property) const;

    Form& m_form;
    ControlDesign m_decl;
    QString m_tag;
    QString m_toolTip;
    double m_geometry[4];
    QPointer<QWidget> m_widget;
    QPointer<QAction> m_action;
};

} // namespace forms
