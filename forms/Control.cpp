#include "Control.h"

#include "ControlKinds.h"
#include "Form.h"
#include "FormWidgets.h"
#include "FormsError.h"
#include "Units.h"

#include <QTabWidget>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// A coordinate no widget can take (nor the pixel arithmetic hold) is refused.
bool fitsAWindow(double twips)
{
    return std::isfinite(twips)
        && std::abs(twips) <= QWIDGETSIZE_MAX * std::max(twipsPerPixelX(), twipsPerPixelY());
}

} // namespace

Control::Control(Form& form, ControlDesign design)
    : m_form(form), m_decl(std::move(design)),
      m_geometry{m_decl.left, m_decl.top, m_decl.width, m_decl.height}
{}

int Control::index() const
{
    if (!isArrayElement())
        fail(int(FormsErrorCode::NotAnArray), QStringLiteral("Index"));
    return m_decl.index;
}

void Control::fail(int code, const QString& property) const
{
    throw FormsError(FormsErrorCode(code),
                     QStringLiteral("%1.%2: error %3").arg(m_decl.name, property).arg(code));
}

bool Control::has(QStringView property) const
{
    return propertyOf(kind(), property) != nullptr;
}

QVariant Control::get(const QString& property, int subscript) const
{
    const PropertyRow* row = propertyOf(kind(), property);
    if (!row)
        fail(int(FormsErrorCode::NoSuchProperty), property);
    return row->get(*this, subscript);
}

void Control::set(const QString& property, const QVariant& value, int subscript)
{
    const PropertyRow* row = propertyOf(kind(), property);
    if (!row)
        fail(int(FormsErrorCode::NoSuchProperty), property);
    if (!row->set)
        fail(int(FormsErrorCode::ReadOnly), property);
    row->set(*this, value, subscript);
}

// Only the kinds with a caption are asked for it: menu entries show it in
// their action, the others in a widget that shows captions.
QString Control::caption() const
{
    if (m_action)
        return m_action->text();
    return dynamic_cast<const CaptionWidget&>(*m_widget).caption();
}

void Control::setCaption(const QString& text)
{
    if (m_action)
        m_action->setText(text);
    else
        dynamic_cast<CaptionWidget&>(*m_widget).setCaption(text);
}

QString Control::text() const
{
    return static_cast<const QLineEdit*>(m_widget.data())->text();
}

void Control::setText(const QString& text)
{
    static_cast<QLineEdit*>(m_widget.data())->setText(text);
}

void Control::setToolTip(const QString& text)
{
    // Qt shows a tooltip that looks like markup as markup; this one is
    // handed over as a paragraph of plain text.
    m_toolTip = text;
    m_widget->setToolTip(text.isEmpty() ? QString() : Qt::convertFromPlainText(text));
}

void Control::setCoordinate(Coordinate which, double twips)
{
    if (!fitsAWindow(twips))
        fail(int(FormsErrorCode::InvalidPropertyValue), QStringLiteral("geometry"));
    m_geometry[int(which)] = twips;
    applyGeometry();
}

void Control::applyGeometry()
{
    if (!m_widget)
        return;
    const QPoint origin(toPixelsX(m_geometry[0]), toPixelsY(m_geometry[1]));
    if (isLine()) {
        static_cast<LineWidget*>(m_widget.data())
            ->setEnds(origin, QPoint(toPixelsX(m_geometry[2]), toPixelsY(m_geometry[3])));
        return;
    }
    // Both edges are rounded, so neighbours that touch in twips touch on screen.
    const int right = toPixelsX(m_geometry[0] + std::max(0.0, m_geometry[2]));
    const int bottom = toPixelsY(m_geometry[1] + std::max(0.0, m_geometry[3]));
    m_widget->setGeometry(origin.x(), origin.y(), right - origin.x(), bottom - origin.y());
}

void Control::fitToCaption()
{
    auto* label = static_cast<QLabel*>(m_widget.data());
    const QFontMetrics metrics(label->font());
    const int frame = 2 * label->frameWidth();
    const int textWidth = label->text().isEmpty() ? 0 : metrics.horizontalAdvance(label->text());
    m_geometry[2] = toTwipsX(textWidth + frame);
    m_geometry[3] = toTwipsY(metrics.height() + frame);
    applyGeometry();
}

bool Control::isEnabled() const
{
    return m_action ? m_action->isEnabled() : m_widget->isEnabled();
}

void Control::setEnabled(bool enabled)
{
    if (m_action)
        m_action->setEnabled(enabled);
    else
        m_widget->setEnabled(enabled);
}

bool Control::isVisible() const
{
    return m_action ? m_action->isVisible() : !m_widget->isHidden();
}

void Control::setVisible(bool visible)
{
    if (m_action)
        m_action->setVisible(visible);
    else
        m_widget->setVisible(visible);
}

bool Control::isChecked() const
{
    if (m_action)
        return m_action->isChecked();
    const auto* box = qobject_cast<const QCheckBox*>(m_widget.data());
    return box && box->isChecked();
}

void Control::setChecked(bool checked)
{
    if (m_action)
        m_action->setChecked(checked);
    else if (auto* box = qobject_cast<QCheckBox*>(m_widget.data()))
        box->setChecked(checked);
}

quint32 Control::backColor() const
{
    return bgrFromColor(m_widget->palette().color(QPalette::Window));
}

void Control::setBackColor(quint32 bgr)
{
    QPalette palette = m_widget->palette();
    const QColor color = colorFromBgr(bgr);
    palette.setColor(QPalette::Active, QPalette::Window, color);
    palette.setColor(QPalette::Inactive, QPalette::Window, color);
    palette.setColor(QPalette::Disabled, QPalette::Window, QColor(0xC8, 0xC8, 0xC8));
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Button, color);
    m_widget->setPalette(palette);
    m_widget->setAutoFillBackground(true);
}

quint32 Control::foreColor() const
{
    return bgrFromColor(m_widget->palette().color(QPalette::WindowText));
}

void Control::setForeColor(quint32 bgr)
{
    QPalette palette = m_widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, colorFromBgr(bgr));
    m_widget->setPalette(palette);
}

double Control::fontSize() const
{
    return m_widget->font().pointSizeF();
}

void Control::setFontSize(double points)
{
    if (points <= 0)
        return;
    QFont font = m_widget->font();
    font.setPointSizeF(points);
    m_widget->setFont(font);
    if (m_decl.autoSize && kind() == ControlKind::Label)
        fitToCaption();
}

int Control::tabCount() const
{
    return static_cast<const QTabWidget*>(m_widget.data())->count();
}

QString Control::tabCaption(int tab) const
{
    if (tab < 0 || tab >= tabCount())
        fail(int(FormsErrorCode::CannotSet), QStringLiteral("TabCaption"));
    return static_cast<const QTabWidget*>(m_widget.data())->tabText(tab);
}

void Control::setTabCaption(int tab, const QString& text)
{
    if (tab < 0 || tab >= tabCount())
        fail(int(FormsErrorCode::CannotSet), QStringLiteral("TabCaption"));
    static_cast<QTabWidget*>(m_widget.data())->setTabText(tab, text);
}

void Control::setFocus()
{
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

bool Control::hasFocus() const
{
    return m_widget && m_widget->window()->focusWidget() == m_widget;
}

bool Control::isHighlighted() const
{
    const auto* label = dynamic_cast<const LabelWidget*>(m_widget.data());
    return label && label->isHighlighted();
}

void Control::setHighlighted(bool highlighted)
{
    if (auto* label = dynamic_cast<LabelWidget*>(m_widget.data()))
        label->setHighlighted(highlighted);
}

void Control::attach(QWidget* widget)
{
    m_widget = widget;
    applyGeometry();
}

} // namespace forms
