#include "FormBuilder.h"

#include "ControlKinds.h"
#include "Form.h"
#include "Pictures.h"
#include "Units.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <stdexcept>

namespace forms {

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_form.syncSize();
}

void FormWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape puts a dragged control back also when no control has the focus.
    if (event->key() == Qt::Key_Escape)
        m_form.cancelDrag();
    QWidget::keyPressEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    if (m_form.runCloseRequest())
        event->accept();
    else
        event->ignore();
}

namespace {

void installFontSubstitutes()
{
    // Metric-compatible families stand in where the design's are missing.
    static const bool done = [] {
        QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                                   {QStringLiteral("Comic Neue"), QStringLiteral("Comic Sans")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    (void)done;
}

QFont fontFor(const FontDesign& design)
{
    QFont font(design.family);
    if (design.points > 0)
        font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}

bool hasItems(const FormDesign& form, const QString& menu)
{
    return std::any_of(form.controls.begin(), form.controls.end(), [&](const ControlDesign& row) {
        return row.kind == ControlKind::Menu && row.container == menu;
    });
}

// Every property the design gives a value, in the table's order.
void applyDesignedValues(Control& control)
{
    for (const PropertyRow& row : propertyRows())
        if (row.designed && row.set && row.isOf(control.kind()))
            if (const std::optional<QVariant> value = row.designed(control.decl()))
                row.set(control, *value, -1);
}

} // namespace

void FormBuilder::buildForm()
{
    installFontSubstitutes();
    const FormDesign& design = m_form.m_decl;
    m_form.m_window = std::make_unique<FormWindow>(m_form);
    QWidget* window = m_form.m_window.get();
    window->setObjectName(design.name);
    window->setFont(fontFor(design.font));
    window->setWindowTitle(design.caption);
    if (Pictures::exists(design.icon))
        window->setWindowIcon(Pictures::icon(design.icon));

    m_form.m_client = new QWidget(window);
    m_form.m_client->setObjectName(QStringLiteral("client"));
    m_form.m_client->installEventFilter(&m_form.m_input);
    m_form.setBackColor(design.backColor);
    for (const ControlDesign& row : design.controls)
        add(row);
    applyTabOrder();
    m_form.m_input.attach(m_form.m_client);

    // The design client area, below the menu bar; nothing is resized yet.
    const QSize size(toPixelsX(design.clientWidth), toPixelsY(design.clientHeight) + m_form.menuBarHeight());
    window->resize(size);
    m_form.m_lastSize = size;
    m_form.layoutChildren();
}

Control& FormBuilder::add(ControlDesign design)
{
    m_form.m_owned.push_back(std::make_unique<Control>(m_form, std::move(design)));
    Control& control = *m_form.m_owned.back();
    m_form.m_order.push_back(&control);
    if (control.isMenu())
        addMenuEntry(control);
    else
        addWidget(control);
    applyDesignedValues(control);
    return control;
}

void FormBuilder::addMenuEntry(Control& control)
{
    const ControlDesign& design = control.decl();
    QAction* action = nullptr;
    if (design.container.isEmpty()) {
        action = menuBarEntry(design);
    } else {
        QMenu* menu = m_form.m_menus.value(design.container);
        if (!menu)
            throw std::logic_error("menu item before its menu: " + design.name.toStdString());
        action = menu->addAction(QString());
        action->setCheckable(true);
    }
    control.attach(action);
    QObject::connect(action, &QAction::triggered, &m_form, [&control, action](bool checked) {
        // The check mark moves only when a handler moves it.
        if (action->isCheckable())
            action->setChecked(!checked);
        control.form().raise<Event::Click>(control);
    });
}

// A menu bar entry opens a menu when items stand under it, and is an item itself otherwise.
QAction* FormBuilder::menuBarEntry(const ControlDesign& design)
{
    if (!m_form.m_menuBar) {
        m_form.m_menuBar = new QMenuBar(m_form.window());
        m_form.m_menuBar->setNativeMenuBar(false);
    }
    if (!hasItems(m_form.m_decl, design.name))
        return m_form.m_menuBar->addAction(QString());
    QMenu* menu = m_form.m_menuBar->addMenu(QString());
    m_form.m_menus.insert(design.name, menu);
    return menu->menuAction();
}

void FormBuilder::addWidget(Control& control)
{
    const ControlDesign& design = control.decl();
    QWidget* widget = buildWidget(control, containerOf(design));
    widget->setObjectName(design.index >= 0 ? QStringLiteral("%1(%2)").arg(design.name).arg(design.index)
                                            : design.name);
    if (!design.font.family.isEmpty())
        widget->setFont(fontFor(design.font));
    if (Pictures::exists(design.pointer))
        widget->setCursor(Pictures::pointer(design.pointer));
    if (clickedByMouse(design.kind))
        widget->setFocusPolicy(design.focusable ? Qt::StrongFocus : Qt::NoFocus);
    widget->installEventFilter(&m_form.m_input);
    m_form.m_byWidget.insert(widget, &control);
    control.attach(widget);
}

QWidget* FormBuilder::containerOf(const ControlDesign& design) const
{
    if (design.container.isEmpty())
        return m_form.m_client;
    const Control* box = m_form.find(design.container);
    if (!box || !box->widget())
        throw std::logic_error("control before its container: " + design.name.toStdString());
    return box->widget();
}

void FormBuilder::applyTabOrder()
{
    std::vector<Control*> ordered;
    for (Control* control : m_form.m_order)
        if (control->widget() && control->decl().tabIndex >= 0)
            ordered.push_back(control);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
        return a->decl().tabIndex < b->decl().tabIndex;
    });
    m_form.setTabOrder(ordered);
}

} // namespace forms
