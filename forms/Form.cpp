#include "Form.h"

#include "FormWidgets.h"
#include "FormsError.h"
#include "Pictures.h"
#include "Units.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include <algorithm>
#include <stdexcept>

namespace forms {

class FormWindow : public QWidget
{
public:
    explicit FormWindow(Form& form) : m_form(form) {}

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        m_form.syncSize();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        // Escape cancels a drag also when no control has the keyboard focus.
        if (event->key() == Qt::Key_Escape && m_form.isDragging())
            m_form.cancelDrag();
        QWidget::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (m_form.runCloseRequest())
            event->accept();
        else
            event->ignore();
    }

private:
    Form& m_form;
};

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

QFont fontFor(const FontDesign& own, const FontDesign& fallback)
{
    const FontDesign& decl = own.family.isEmpty() ? fallback : own;
    QFont font(decl.family);
    if (decl.points > 0)
        font.setPointSizeF(decl.points);
    font.setBold(decl.bold);
    return font;
}

Qt::Alignment qtAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return Qt::AlignCenter;
    case Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

bool takesMouseClicks(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::Image
        || kind == ControlKind::PictureBox;
}

QPoint globalPosOf(const QMouseEvent* event)
{
    return event->globalPosition().toPoint();
}

} // namespace

Form::Form(FormDesign decl) : m_decl(std::move(decl))
{
    installFontSubstitutes();
    m_window = std::make_unique<FormWindow>(*this);
    m_window->setObjectName(m_decl.name);
    m_window->setFont(fontFor(m_decl.font, m_decl.font));
    m_window->setWindowTitle(m_decl.caption);
    if (Pictures::exists(m_decl.icon))
        m_window->setWindowIcon(Pictures::icon(m_decl.icon));

    m_client = new QWidget(m_window.get());
    m_client->setObjectName(QStringLiteral("client"));
    m_client->installEventFilter(this);
    setBackColor(m_decl.backColor);

    for (const ControlDesign& row : m_decl.controls)
        addControl(row);
    applyTabOrder();

    m_dragOutline = new QFrame(m_client);
    m_dragOutline->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_dragOutline->setLineWidth(2);
    m_dragOutline->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragOutline->hide();

    // The design client area, below the menu bar; nothing is resized yet.
    const QSize design(toPixelsX(m_decl.clientWidth), toPixelsY(m_decl.clientHeight) + menuBarHeight());
    m_window->resize(design);
    m_lastSize = design;
    layoutChildren();
}

Form::~Form()
{
    m_byWidget.clear();
    m_window.reset();
}

Control& Form::addControl(ControlDesign decl)
{
    m_owned.push_back(std::make_unique<Control>(*this, std::move(decl)));
    Control& control = *m_owned.back();
    m_order.push_back(&control);
    if (control.isMenu())
        createMenuEntry(control);
    else
        createWidget(control);
    return control;
}

void Form::createMenuEntry(Control& control)
{
    const ControlDesign& decl = control.decl();
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(m_window.get());
        m_menuBar->setNativeMenuBar(false);
    }
    QAction* action = nullptr;
    if (decl.container.isEmpty()) {
        const bool hasItems = std::any_of(m_decl.controls.begin(), m_decl.controls.end(),
                                          [&](const ControlDesign& row) {
                                              return row.kind == ControlKind::Menu
                                                  && row.container == decl.name;
                                          });
        if (hasItems) {
            QMenu* menu = m_menuBar->addMenu(decl.caption);
            m_menus.insert(decl.name, menu);
            control.attachMenu(menu);
            action = menu->menuAction();
        } else {
            action = m_menuBar->addAction(decl.caption);
        }
    } else {
        QMenu* parent = m_menus.value(decl.container);
        if (!parent)
            throw std::logic_error("menu item before its menu: " + decl.name.toStdString());
        action = parent->addAction(decl.caption);
        action->setCheckable(true);
        action->setChecked(decl.checked);
    }
    action->setEnabled(decl.enabled);
    action->setVisible(decl.visible);
    if (!control.m_menu)
        control.attachAction(action);
    QObject::connect(action, &QAction::triggered, this, [this, &control, action](bool checked) {
        // The check mark moves only when a handler moves it.
        if (action->isCheckable())
            action->setChecked(!checked);
        dispatchClick(control);
    });
}

void Form::createWidget(Control& control)
{
    const ControlDesign& decl = control.decl();
    QWidget* parent = m_client;
    if (!decl.container.isEmpty()) {
        Control* box = find(decl.container);
        if (!box || !box->widget())
            throw std::logic_error("control before its container: " + decl.name.toStdString());
        parent = box->widget();
    }

    QWidget* widget = nullptr;
    switch (decl.kind) {
    case ControlKind::Label: {
        auto* label = new LabelWidget(parent);
        // Captions come from language files anyone can edit: never markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(decl.caption);
        label->setAlignment(qtAlignment(decl.alignment));
        label->setWordWrap(!decl.autoSize);
        if (decl.border)
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
        widget = label;
        break;
    }
    case ControlKind::CommandButton: {
        auto* button = new ButtonWidget(parent);
        if (Pictures::exists(decl.picture)) {
            button->setIcon(Pictures::icon(decl.picture));
            button->setToolButtonStyle(decl.caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                              : Qt::ToolButtonTextUnderIcon);
        }
        button->setText(decl.caption);
        QObject::connect(button, &QToolButton::clicked, this, [this, &control] { dispatchClick(control); });
        widget = button;
        break;
    }
    case ControlKind::TextBox: {
        auto* box = new TextBoxWidget(control, parent);
        box->setAlignment(qtAlignment(decl.alignment));
        box->setLimit(decl.maxLength);
        box->setText(decl.caption);
        widget = box;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new CheckBoxWidget(parent);
        box->setText(decl.caption);
        box->setChecked(decl.checked);
        QObject::connect(box, &QCheckBox::stateChanged, this, [this, &control] { dispatchClick(control); });
        widget = box;
        break;
    }
    case ControlKind::PictureBox:
        widget = new PictureBoxWidget(parent);
        break;
    case ControlKind::Image:
        widget = new ImageWidget(decl.picture, parent);
        break;
    case ControlKind::Line:
        widget = new LineWidget(parent);
        break;
    case ControlKind::TabStrip: {
        auto* tabs = new TabStripWidget(parent);
        for (const QString& caption : decl.tabs)
            tabs->addTab(new QWidget(tabs), caption);
        widget = tabs;
        break;
    }
    case ControlKind::Menu:
        return;
    }

    widget->setObjectName(decl.index >= 0 ? QStringLiteral("%1(%2)").arg(decl.name).arg(decl.index)
                                          : decl.name);
    if (!decl.font.family.isEmpty())
        widget->setFont(fontFor(decl.font, m_decl.font));
    // The colours go through the control, which must know its widget first.
    control.attachWidget(widget);
    if (decl.backColor)
        control.setBackColor(*decl.backColor);
    if (decl.foreColor)
        control.set(QStringLiteral("ForeColor"), *decl.foreColor);
    if (!decl.transparent && decl.kind == ControlKind::Label && !decl.backColor)
        widget->setAutoFillBackground(true);
    if (Pictures::exists(decl.pointer))
        widget->setCursor(Pictures::pointer(decl.pointer));
    if (!decl.toolTip.isEmpty())
        control.set(QStringLiteral("ToolTipText"), decl.toolTip);
    if (takesMouseClicks(decl.kind))
        widget->setFocusPolicy(decl.focusable ? Qt::StrongFocus : Qt::NoFocus);
    widget->setEnabled(decl.enabled);
    widget->setVisible(decl.visible);
    widget->installEventFilter(this);
    m_byWidget.insert(widget, &control);
    if (decl.autoSize && decl.kind == ControlKind::Label)
        control.fitToCaption();
}

void Form::setTabOrder(const std::vector<Control*>& chain)
{
    for (std::size_t i = 1; i < chain.size(); ++i)
        if (chain[i - 1]->widget() && chain[i]->widget())
            QWidget::setTabOrder(chain[i - 1]->widget(), chain[i]->widget());
}

void Form::applyTabOrder()
{
    std::vector<Control*> ordered;
    for (Control* control : m_order)
        if (control->widget() && control->decl().tabIndex >= 0)
            ordered.push_back(control);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
        return a->decl().tabIndex < b->decl().tabIndex;
    });
    for (std::size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1]->widget(), ordered[i]->widget());
}

Control* Form::find(const QString& name, int index) const
{
    for (Control* control : m_order)
        if (control->decl().index == index && control->name().compare(name, Qt::CaseInsensitive) == 0)
            return control;
    return nullptr;
}

Control& Form::control(const QString& name, int index) const
{
    if (Control* found = find(name, index))
        return *found;
    throw std::out_of_range("no control " + name.toStdString() + " on " + m_decl.name.toStdString());
}

int Form::highestIndex(const QString& arrayName) const
{
    int highest = -1;
    for (Control* control : m_order)
        if (control->name().compare(arrayName, Qt::CaseInsensitive) == 0)
            highest = std::max(highest, control->decl().index);
    return highest;
}

Control& Form::loadControl(const QString& arrayName, int index)
{
    const Control& first = control(arrayName, 0);
    if (find(arrayName, index))
        throw std::logic_error("control array element already loaded");
    ControlDesign decl = first.decl();
    decl.index = index;
    decl.caption = first.isMenu() ? first.caption() : decl.caption;
    decl.visible = first.isMenu(); // new elements of widget arrays start hidden
    decl.checked = false;
    return addControl(std::move(decl));
}

QVariant Form::get(const QString& property) const
{
    const auto is = [&](const char* name) {
        return property.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("Name")) return m_decl.name;
    if (is("Caption")) return caption();
    if (is("Tag")) return m_tag;
    if (is("BackColor")) return backColor();
    if (is("Left")) return left();
    if (is("Top")) return top();
    if (is("Width")) return width();
    if (is("Height")) return height();
    if (is("ScaleWidth")) return scaleWidth();
    if (is("ScaleHeight")) return scaleHeight();
    if (is("WindowState")) return isMinimized() ? 1 : 0;
    throw FormsError(FormsErrorCode::NoSuchProperty, m_decl.name + QLatin1Char('.') + property);
}

void Form::set(const QString& property, const QVariant& value)
{
    const auto is = [&](const char* name) {
        return property.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("Caption")) return setCaption(value.toString());
    if (is("Tag")) return setTag(value.toString());
    if (is("BackColor")) return setBackColor(value.toUInt());
    if (is("Left")) return setLeft(value.toDouble());
    if (is("Top")) return setTop(value.toDouble());
    if (is("Width")) return setWidth(value.toDouble());
    if (is("Height")) return setHeight(value.toDouble());
    if (is("Name") || is("ScaleWidth") || is("ScaleHeight"))
        throw FormsError(FormsErrorCode::ReadOnly, m_decl.name + QLatin1Char('.') + property);
    throw FormsError(FormsErrorCode::NoSuchProperty, m_decl.name + QLatin1Char('.') + property);
}

QString Form::caption() const { return m_window->windowTitle(); }
void Form::setCaption(const QString& text) { m_window->setWindowTitle(text); }

quint32 Form::backColor() const
{
    return bgrFromColor(m_client->palette().color(QPalette::Window));
}

void Form::setBackColor(quint32 bgr)
{
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, colorFromBgr(bgr));
    m_client->setPalette(palette);
    m_client->setAutoFillBackground(true);
}

double Form::TwipsMemo::recall(int pixels, double twipsPerPixel) const
{
    return pixels == shownAs ? twips : pixels * twipsPerPixel;
}

// Left, Top, Width and Height are the window's outer ones, its frame
// included once the window system has put one around it.
double Form::left() const { return m_setLeft.recall(m_window->x(), twipsPerPixelX()); }
double Form::top() const { return m_setTop.recall(m_window->y(), twipsPerPixelY()); }
double Form::width() const
{
    return m_setWidth.recall(m_window->frameGeometry().width(), twipsPerPixelX());
}
double Form::height() const
{
    return m_setHeight.recall(m_window->frameGeometry().height(), twipsPerPixelY());
}

void Form::setLeft(double twips)
{
    m_setLeft = {twips, toPixelsX(twips)};
    m_window->move(m_setLeft.shownAs, m_window->y());
}

void Form::setTop(double twips)
{
    m_setTop = {twips, toPixelsY(twips)};
    m_window->move(m_window->x(), m_setTop.shownAs);
}

void Form::setWidth(double twips)
{
    const int frame = m_window->frameGeometry().width() - m_window->width();
    const int outer = std::max(frame + 1, toPixelsX(twips));
    m_setWidth = {twips, outer};
    m_window->resize(outer - frame, m_window->height());
    syncSize();
}

void Form::setHeight(double twips)
{
    const int frame = m_window->frameGeometry().height() - m_window->height();
    const int outer = std::max(frame + 1, toPixelsY(twips));
    m_setHeight = {twips, outer};
    m_window->resize(m_window->width(), outer - frame);
    syncSize();
}

double Form::scaleWidth() const { return toTwipsX(m_client->width()); }
double Form::scaleHeight() const { return toTwipsY(m_client->height()); }

bool Form::isMinimized() const { return m_window->isMinimized(); }

QWidget* Form::window() const { return m_window.get(); }

int Form::menuBarHeight() const
{
    return m_menuBar ? m_menuBar->sizeHint().height() : 0;
}

void Form::layoutChildren()
{
    const int bar = menuBarHeight();
    if (m_menuBar)
        m_menuBar->setGeometry(0, 0, m_window->width(), bar);
    m_client->setGeometry(0, bar, m_window->width(), std::max(0, m_window->height() - bar));
}

void Form::syncSize()
{
    // Hidden windows get their resize events late, so size changes made
    // through the form are noticed here at once, and only once.
    if (m_window->size() == m_lastSize)
        return;
    m_lastSize = m_window->size();
    layoutChildren();
    onResize();
}

void Form::onClick(const QString& name, ClickHandler handler) { m_click.insert(name.toLower(), std::move(handler)); }
void Form::onKeyPress(const QString& name, KeyPressHandler handler) { m_keyPress.insert(name.toLower(), std::move(handler)); }
void Form::onKeyDown(const QString& name, KeyHandler handler) { m_keyDown.insert(name.toLower(), std::move(handler)); }
void Form::onKeyUp(const QString& name, KeyHandler handler) { m_keyUp.insert(name.toLower(), std::move(handler)); }
void Form::onDragDrop(const QString& name, DragDropHandler handler) { m_dragDrop.insert(name.toLower(), std::move(handler)); }

void Form::dispatchClick(Control& control)
{
    if (m_unloaded)
        return;
    // A copy: the handler may replace itself or unload the form.
    if (ClickHandler handler = m_click.value(control.name().toLower()))
        handler(control.decl().index);
}

void Form::dispatchFormClick()
{
    if (m_unloaded)
        return;
    if (ClickHandler handler = m_click.value(m_decl.name.toLower()))
        handler(-1);
}

void Form::dispatchKeyPress(Control& control, int& keyAscii)
{
    if (KeyPressHandler handler = m_keyPress.value(control.name().toLower()))
        handler(control.decl().index, keyAscii);
}

void Form::dispatchKeyDown(Control& control, int keyCode, int shift)
{
    if (KeyHandler handler = m_keyDown.value(control.name().toLower()))
        handler(control.decl().index, keyCode, shift);
}

void Form::dispatchKeyUp(Control& control, int keyCode, int shift)
{
    if (KeyHandler handler = m_keyUp.value(control.name().toLower()))
        handler(control.decl().index, keyCode, shift);
}

Control* Form::controlOf(QObject* object) const
{
    for (QObject* o = object; o && o != m_client; o = o->parent())
        if (Control* control = m_byWidget.value(o))
            return control;
    return nullptr;
}

Control* Form::controlAt(QPoint globalPos) const
{
    QWidget* hit = m_client->childAt(m_client->mapFromGlobal(globalPos));
    return hit ? controlOf(hit) : nullptr;
}

void Form::beginDrag(Control& source, QPoint globalPos)
{
    QWidget* widget = source.widget();
    m_drag.source = &source;
    m_drag.pressGlobal = globalPos;
    m_drag.grabOffset = globalPos - widget->mapToGlobal(QPoint(0, 0));
    m_dragOutline->resize(widget->size());
    m_dragOutline->move(m_client->mapFromGlobal(widget->mapToGlobal(QPoint(0, 0))));
    m_dragOutline->raise();
    m_dragOutline->show();
}

void Form::moveDrag(QPoint globalPos)
{
    if (!m_drag.source)
        return;
    m_dragOutline->move(m_client->mapFromGlobal(globalPos - m_drag.grabOffset));
}

void Form::cancelDrag()
{
    m_drag = DragState{};
    m_dragOutline->hide();
}

void Form::endDrag(QPoint globalPos)
{
    Control* source = m_drag.source;
    const QPoint pressed = m_drag.pressGlobal;
    cancelDrag();
    if (!source)
        return;
    Control* target = controlAt(globalPos);
    // A press and release in place is a click on the control, not a drop.
    if (target == source && (globalPos - pressed).manhattanLength() < QApplication::startDragDistance()) {
        dispatchClick(*source);
        return;
    }
    if (!target || !target->widget())
        return;
    DragDropHandler handler = m_dragDrop.value(target->name().toLower());
    if (!handler)
        return;
    const QPoint local = target->widget()->mapFromGlobal(globalPos);
    handler(target->decl().index, *source, toTwipsX(local.x()), toTwipsY(local.y()));
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    Control* control = controlOf(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && isDragging())
            cancelDrag();
        if (control)
            dispatchKeyDown(*control, keyCodeFor(key->key()), shiftState(key->modifiers()));
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (control && !key->isAutoRepeat())
            dispatchKeyUp(*control, keyCodeFor(key->key()), shiftState(key->modifiers()));
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // A press the control under the pointer leaves alone travels on to
        // its container, but it still belongs to that control.
        if (mouse->button() != Qt::LeftButton || control != controlAt(globalPosOf(mouse)))
            break;
        if (!control)
            m_pressedOnForm = watched == m_client;
        else if (!takesMouseClicks(control->kind()) || !control->isEnabled())
            break; // a disabled control can be neither clicked nor dragged
        else if (control->decl().dragAutomatic)
            beginDrag(*control, globalPosOf(mouse));
        else
            m_pressed = control;
        break;
    }
    case QEvent::MouseMove:
        if (isDragging())
            moveDrag(globalPosOf(static_cast<QMouseEvent*>(event)));
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (isDragging()) {
            endDrag(globalPosOf(mouse));
            return true;
        }
        Control* pressed = std::exchange(m_pressed, nullptr);
        const bool pressedOnForm = std::exchange(m_pressedOnForm, false);
        Control* under = controlAt(globalPosOf(mouse));
        if (pressed && pressed == under)
            dispatchClick(*pressed);
        else if (pressedOnForm && !under)
            dispatchFormClick();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace forms
