#pragma once

#include "FormDesign.h"

#include <QWidget>

class QAction;

namespace forms {

class Control;
class Form;

// The window of a form: its frame turns Qt's resizing, Escape and closing
// into the form's own.
class FormWindow : public QWidget
{
public:
    explicit FormWindow(Form& form) : m_form(form) {}

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Form& m_form;
};

// Builds a form from its design table: the window and its client area, the
// menu bar, every control with the values its design gives it, and the tab
// order of the design's tab indexes.
class FormBuilder
{
public:
    explicit FormBuilder(Form& form) : m_form(form) {}

    void buildForm();
    // One more control, at the end of the Controls collection.
    Control& add(ControlDesign design);

private:
    void addMenuEntry(Control& control);
    QAction* menuBarEntry(const ControlDesign& design);
    void addWidget(Control& control);
    QWidget* containerOf(const ControlDesign& design) const;
    void applyTabOrder();

    Form& m_form;
};

} // namespace forms
