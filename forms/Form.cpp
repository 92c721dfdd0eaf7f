#include "Form.h"

#include "FormBuilder.h"
#include "FormsError.h"
#include "Units.h"

#include <QMenuBar>
#include <QtDebug>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace forms {

Form::Form(FormDesign design) : m_decl(std::move(design)), m_input(*this)
{
    FormBuilder(*this).buildForm();
}

Form::~Form()
{
    // The widgets go first, while nothing maps them to their controls any more.
    m_byWidget.clear();
    m_window.reset();
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
    ControlDesign design = first.decl();
    design.index = index;
    if (first.isMenu())
        design.caption = first.caption();
    design.visible = first.isMenu(); // new elements of widget arrays start hidden
    design.checked = false;
    return FormBuilder(*this).add(std::move(design));
}

namespace {
bool named(QStringView property, const char* name)
{
    return property.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

const char* const kFormProperties[] = {"Name", "Caption", "Tag", "BackColor", "Left", "Top", "Width",
                                       "Height", "ScaleWidth", "ScaleHeight", "WindowState"};
} // namespace

bool Form::has(QStringView property) const
{
    return std::any_of(std::begin(kFormProperties), std::end(kFormProperties),
                       [&](const char* name) { return named(property, name); });
}

QVariant Form::get(const QString& property) const
{
    const auto is = [&](const char* name) { return named(property, name); };
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
    const auto is = [&](const char* name) { return named(property, name); };
    if (is("Caption")) return setCaption(value.toString());
    if (is("Tag")) return setTag(value.toString());
    if (is("BackColor")) return setBackColor(value.toUInt());
    if (is("Left")) return setLeft(value.toDouble());
    if (is("Top")) return setTop(value.toDouble());
    if (is("Width")) return setWidth(value.toDouble());
    if (is("Height")) return setHeight(value.toDouble());
    const FormsErrorCode code = has(property) ? FormsErrorCode::ReadOnly : FormsErrorCode::NoSuchProperty;
    throw FormsError(code, m_decl.name + QLatin1Char('.') + property);
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
double Form::left() const { return m_setGeometry[0].recall(m_window->x(), twipsPerPixelX()); }
double Form::top() const { return m_setGeometry[1].recall(m_window->y(), twipsPerPixelY()); }
double Form::width() const
{
    return m_setGeometry[2].recall(m_window->frameGeometry().width(), twipsPerPixelX());
}
double Form::height() const
{
    return m_setGeometry[3].recall(m_window->frameGeometry().height(), twipsPerPixelY());
}

void Form::setLeft(double twips)
{
    m_setGeometry[0] = {twips, toPixelsX(twips)};
    m_window->move(m_setGeometry[0].shownAs, m_window->y());
}

void Form::setTop(double twips)
{
    m_setGeometry[1] = {twips, toPixelsY(twips)};
    m_window->move(m_window->x(), m_setGeometry[1].shownAs);
}

void Form::setWidth(double twips)
{
    const int frame = m_window->frameGeometry().width() - m_window->width();
    const int outer = std::max(frame + 1, toPixelsX(twips));
    m_setGeometry[2] = {twips, outer};
    m_window->resize(outer - frame, m_window->height());
    syncSize();
}

void Form::setHeight(double twips)
{
    const int frame = m_window->frameGeometry().height() - m_window->height();
    const int outer = std::max(frame + 1, toPixelsY(twips));
    m_setGeometry[3] = {twips, outer};
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
    guarded([this] { onResize(); });
}

void Form::setTabOrder(const std::vector<Control*>& chain)
{
    for (std::size_t i = 1; i < chain.size(); ++i)
        if (chain[i - 1]->widget() && chain[i]->widget())
            QWidget::setTabOrder(chain[i - 1]->widget(), chain[i]->widget());
}

bool Form::runCloseRequest()
{
    bool close = false;
    guarded([&] { close = onCloseRequest(); });
    return close;
}

void Form::markUnloaded()
{
    m_unloaded = true;
    m_input.cancelDrag();
}

void Form::cancelDrag()
{
    m_input.cancelDrag();
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

// Qt's event handling must never see an exception: a handler that fails
// (a programming error) ends only that event.
void Form::guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        qCritical("Tavendel: an event handler failed: %s", error.what());
    }
}

} // namespace forms
