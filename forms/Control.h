#pragma once

#include "FormDesign.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace forms {

class Form;

// One control of a form: a widget, or a menu entry. Everything the program's
// own code needs of it is reachable by property name (Caption, Tag, Left...),
// with the typed failures of FormsError for what this kind of control lacks;
// typed accessors sit beside for the forms' own handlers.
class Control
{
public:
    Control(Form& form, ControlDesign decl);
    ~Control();
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

    // By name: Name, Index, Caption, Text, ToolTipText, Tag, Left, Top,
    // Width, Height, X1, Y1, X2, Y2, Enabled, Visible, Value, Checked,
    // BackColor, ForeColor, FontSize, Tabs, TabCaption (with a tab number).
    QVariant get(const QString& property, int subscript = -1) const;
    void set(const QString& property, const QVariant& value, int subscript = -1);

    QString caption() const;
    void setCaption(const QString& text);
    QString text() const;
    void setText(const QString& text);
    QString tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    double left() const;
    double top() const;
    double width() const;
    double height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);

    bool isEnabled() const;
    void setEnabled(bool enabled);
    bool isVisible() const;
    void setVisible(bool visible);
    bool isChecked() const;
    void setChecked(bool checked);
    quint32 backColor() const;
    void setBackColor(quint32 bgr);
    double fontSize() const;
    void setFontSize(double points);
    void setFocus();
    bool hasFocus() const;
    // Labels: drawn as selected (tinted and framed in the highlight colour),
    // for a control the user has picked up; other kinds ignore it.
    bool isHighlighted() const;
    void setHighlighted(bool highlighted);

    // The Qt object behind the control, for tests and the runtime itself.
    QWidget* widget() const { return m_widget; }
    QAction* action() const;

private:
    friend class Form;
    void attachWidget(QWidget* widget);
    void attachMenu(QMenu* menu);
    void attachAction(QAction* action);
    void applyGeometry();
    void fitToCaption();
    [[noreturn]] void fail(int code, const QString& property) const;

    Form& m_form;
    ControlDesign m_decl;
    QString m_tag;
    QString m_toolTip;
    double m_geometry[4] = {0, 0, 0, 0};
    QPointer<QWidget> m_widget;
    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
};

} // namespace forms
