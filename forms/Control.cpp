#include "Control.h"

#include "Form.h"
#include "FormWidgets.h"
#include "FormsError.h"
#include "Units.h"

#include <QAction>
#include <QMenu>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>

namespace forms {

namespace {

enum class Prop {
    Name, Index, Caption, Text, ToolTipText, Tag,
    Left, Top, Width, Height, X1, Y1, X2, Y2,
    Enabled, Visible, Value, Checked, BackColor, ForeColor, FontSize, Tabs, TabCaption,
    Unknown,
};

Prop propFromName(const QString& name)
{
    static const std::array<std::pair<const char*, Prop>, 23> names{{
        {"Name", Prop::Name}, {"Index", Prop::Index}, {"Caption", Prop::Caption},
        {"Text", Prop::Text}, {"ToolTipText", Prop::ToolTipText}, {"Tag", Prop::Tag},
        {"Left", Prop::Left}, {"Top", Prop::Top}, {"Width", Prop::Width},
        {"Height", Prop::Height}, {"X1", Prop::X1}, {"Y1", Prop::Y1}, {"X2", Prop::X2},
        {"Y2", Prop::Y2}, {"Enabled", Prop::Enabled}, {"Visible", Prop::Visible},
        {"Value", Prop::Value}, {"Checked", Prop::Checked}, {"BackColor", Prop::BackColor},
        {"ForeColor", Prop::ForeColor}, {"FontSize", Prop::FontSize}, {"Tabs", Prop::Tabs},
        {"TabCaption", Prop::TabCaption},
    }};
    for (const auto& [text, prop] : names)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return prop;
    return Prop::Unknown;
}

bool kindHas(ControlKind kind, Prop prop)
{
    using K = ControlKind;
    const bool widget = kind != K::Menu;
    switch (prop) {
    case Prop::Name:
    case Prop::Index:
    case Prop::Tag:
    case Prop::Visible:
        return true;
    case Prop::Caption:
        return kind == K::Label || kind == K::CommandButton || kind == K::CheckBox || kind == K::Menu;
    case Prop::Text:
        return kind == K::TextBox;
    case Prop::ToolTipText:
        return widget && kind != K::Line;
    case Prop::Left:
    case Prop::Top:
    case Prop::Width:
    case Prop::Height:
        return widget && kind != K::Line;
    case Prop::X1:
    case Prop::Y1:
    case Prop::X2:
    case Prop::Y2:
        return kind == K::Line;
    case Prop::Enabled:
        return kind != K::Line;
    case Prop::Value:
        return kind == K::CheckBox;
    case Prop::Checked:
        return kind == K::Menu;
    case Prop::BackColor:
        return widget && kind != K::Line && kind != K::Image;
    case Prop::ForeColor:
    case Prop::FontSize:
        return widget && kind != K::Line && kind != K::Image;
    case Prop::Tabs:
    case Prop::TabCaption:
        return kind == K::TabStrip;
    case Prop::Unknown:
        return false;
    }
    return false;
}

// A coordinate no widget can take (nor the pixel arithmetic hold) is refused.
bool fitsAWindow(double twips)
{
    return std::isfinite(twips)
        && std::abs(twips) <= QWIDGETSIZE_MAX * std::max(twipsPerPixelX(), twipsPerPixelY());
}

int geometrySlot(Prop prop)
{
    switch (prop) {
    case Prop::Left: case Prop::X1: return 0;
    case Prop::Top: case Prop::Y1: return 1;
    case Prop::Width: case Prop::X2: return 2;
    default: return 3;
    }
}

} // namespace

Control::Control(Form& form, ControlDesign decl)
    : m_form(form), m_decl(std::move(decl)),
      m_geometry{m_decl.left, m_decl.top, m_decl.width, m_decl.height}
{}

Control::~Control() = default;

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

QVariant Control::get(const QString& property, int subscript) const
{
    const Prop prop = propFromName(property);
    if (!kindHas(m_decl.kind, prop))
        fail(int(FormsErrorCode::NoSuchProperty), property);
    switch (prop) {
    case Prop::Name: return m_decl.name;
    case Prop::Index: return index();
    case Prop::Caption: return caption();
    case Prop::Text: return text();
    case Prop::ToolTipText: return m_toolTip;
    case Prop::Tag: return m_tag;
    case Prop::Left: case Prop::Top: case Prop::Width: case Prop::Height:
    case Prop::X1: case Prop::Y1: case Prop::X2: case Prop::Y2:
        return m_geometry[geometrySlot(prop)];
    case Prop::Enabled: return isEnabled();
    case Prop::Visible: return isVisible();
    case Prop::Value: return isChecked() ? 1 : 0;
    case Prop::Checked: return isChecked();
    case Prop::BackColor: return backColor();
    case Prop::ForeColor:
        return bgrFromColor(m_widget->palette().color(QPalette::WindowText));
    case Prop::FontSize: return fontSize();
    case Prop::Tabs: return static_cast<TabStripWidget*>(m_widget.data())->count();
    case Prop::TabCaption: {
        auto* tabs = static_cast<TabStripWidget*>(m_widget.data());
        if (subscript < 0 || subscript >= tabs->count())
            fail(int(FormsErrorCode::CannotSet), property);
        return tabs->tabText(subscript);
    }
    case Prop::Unknown: break;
    }
    fail(int(FormsErrorCode::NoSuchProperty), property);
}

void Control::set(const QString& property, const QVariant& value, int subscript)
{
    const Prop prop = propFromName(property);
    if (!kindHas(m_decl.kind, prop))
        fail(int(FormsErrorCode::NoSuchProperty), property);
    switch (prop) {
    case Prop::Name:
    case Prop::Index:
    case Prop::Tabs:
        fail(int(FormsErrorCode::ReadOnly), property);
    case Prop::Caption: setCaption(value.toString()); return;
    case Prop::Text: setText(value.toString()); return;
    case Prop::ToolTipText:
        // Qt shows a tooltip that looks like markup as markup; this one is
        // handed over as a paragraph of plain text.
        m_toolTip = value.toString();
        m_widget->setToolTip(m_toolTip.isEmpty() ? QString() : Qt::convertFromPlainText(m_toolTip));
        return;
    case Prop::Tag: m_tag = value.toString(); return;
    case Prop::Left: case Prop::Top: case Prop::Width: case Prop::Height:
    case Prop::X1: case Prop::Y1: case Prop::X2: case Prop::Y2: {
        bool ok = false;
        const double twips = value.toDouble(&ok);
        if (!ok || !fitsAWindow(twips))
            fail(int(FormsErrorCode::InvalidPropertyValue), property);
        m_geometry[geometrySlot(prop)] = twips;
        applyGeometry();
        return;
    }
    case Prop::Enabled: setEnabled(value.toBool()); return;
    case Prop::Visible: setVisible(value.toBool()); return;
    case Prop::Value: setChecked(value.toInt() == 1); return;
    case Prop::Checked: setChecked(value.toBool()); return;
    case Prop::BackColor: setBackColor(value.toUInt()); return;
    case Prop::ForeColor: {
        QPalette palette = m_widget->palette();
        palette.setColor(QPalette::WindowText, colorFromBgr(value.toUInt()));
        palette.setColor(QPalette::Text, colorFromBgr(value.toUInt()));
        palette.setColor(QPalette::ButtonText, colorFromBgr(value.toUInt()));
        m_widget->setPalette(palette);
        return;
    }
    case Prop::FontSize: setFontSize(value.toDouble()); return;
    case Prop::TabCaption: {
        auto* tabs = static_cast<TabStripWidget*>(m_widget.data());
        if (subscript < 0 || subscript >= tabs->count())
            fail(int(FormsErrorCode::CannotSet), property);
        tabs->setTabText(subscript, value.toString());
        return;
    }
    case Prop::Unknown: break;
    }
    fail(int(FormsErrorCode::NoSuchProperty), property);
}

QAction* Control::action() const
{
    if (m_menu)
        return m_menu->menuAction();
    return m_action;
}

QString Control::caption() const
{
    switch (m_decl.kind) {
    case ControlKind::Label: return static_cast<QLabel*>(m_widget.data())->text();
    case ControlKind::CommandButton: return static_cast<QToolButton*>(m_widget.data())->text();
    case ControlKind::CheckBox: return static_cast<QCheckBox*>(m_widget.data())->text();
    case ControlKind::Menu: return action() ? action()->text() : QString();
    default: fail(int(FormsErrorCode::NoSuchProperty), QStringLiteral("Caption"));
    }
}

void Control::setCaption(const QString& text)
{
    switch (m_decl.kind) {
    case ControlKind::Label:
        static_cast<QLabel*>(m_widget.data())->setText(text);
        if (m_decl.autoSize)
            fitToCaption();
        return;
    case ControlKind::CommandButton: {
        auto* button = static_cast<QToolButton*>(m_widget.data());
        button->setText(text);
        if (!button->icon().isNull())
            button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly
                                                      : Qt::ToolButtonTextUnderIcon);
        return;
    }
    case ControlKind::CheckBox: static_cast<QCheckBox*>(m_widget.data())->setText(text); return;
    case ControlKind::Menu:
        if (action())
            action()->setText(text);
        return;
    default: fail(int(FormsErrorCode::NoSuchProperty), QStringLiteral("Caption"));
    }
}

QString Control::text() const
{
    if (m_decl.kind != ControlKind::TextBox)
        fail(int(FormsErrorCode::NoSuchProperty), QStringLiteral("Text"));
    return static_cast<QLineEdit*>(m_widget.data())->text();
}

void Control::setText(const QString& text)
{
    if (m_decl.kind != ControlKind::TextBox)
        fail(int(FormsErrorCode::NoSuchProperty), QStringLiteral("Text"));
    static_cast<QLineEdit*>(m_widget.data())->setText(text);
}

double Control::left() const { return m_geometry[0]; }
double Control::top() const { return m_geometry[1]; }
double Control::width() const { return m_geometry[2]; }
double Control::height() const { return m_geometry[3]; }

void Control::setLeft(double twips) { set(QStringLiteral("Left"), twips); }
void Control::setTop(double twips) { set(QStringLiteral("Top"), twips); }
void Control::setWidth(double twips) { set(QStringLiteral("Width"), twips); }
void Control::setHeight(double twips) { set(QStringLiteral("Height"), twips); }

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
    if (isMenu())
        return action() && action()->isEnabled();
    return m_widget && m_widget->isEnabled();
}

void Control::setEnabled(bool enabled)
{
    if (isMenu()) {
        if (action())
            action()->setEnabled(enabled);
        return;
    }
    m_widget->setEnabled(enabled);
}

bool Control::isVisible() const
{
    if (isMenu())
        return action() && action()->isVisible();
    return m_widget && !m_widget->isHidden();
}

void Control::setVisible(bool visible)
{
    if (isMenu()) {
        if (action())
            action()->setVisible(visible);
        return;
    }
    m_widget->setVisible(visible);
}

bool Control::isChecked() const
{
    if (isMenu())
        return action() && action()->isChecked();
    if (m_decl.kind == ControlKind::CheckBox)
        return static_cast<QCheckBox*>(m_widget.data())->isChecked();
    return false;
}

void Control::setChecked(bool checked)
{
    if (isMenu()) {
        if (action())
            action()->setChecked(checked);
        return;
    }
    if (m_decl.kind == ControlKind::CheckBox)
        static_cast<QCheckBox*>(m_widget.data())->setChecked(checked);
}

quint32 Control::backColor() const
{
    return m_widget ? bgrFromColor(m_widget->palette().color(QPalette::Window)) : 0;
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

double Control::fontSize() const
{
    return m_widget ? m_widget->font().pointSizeF() : 0;
}

void Control::setFontSize(double points)
{
    if (!m_widget || points <= 0)
        return;
    QFont font = m_widget->font();
    font.setPointSizeF(points);
    m_widget->setFont(font);
    if (m_decl.autoSize && m_decl.kind == ControlKind::Label)
        fitToCaption();
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
    return m_decl.kind == ControlKind::Label && m_widget
        && static_cast<LabelWidget*>(m_widget.data())->isHighlighted();
}

void Control::setHighlighted(bool highlighted)
{
    if (m_decl.kind == ControlKind::Label && m_widget)
        static_cast<LabelWidget*>(m_widget.data())->setHighlighted(highlighted);
}

void Control::attachWidget(QWidget* widget)
{
    m_widget = widget;
    applyGeometry();
}

void Control::attachMenu(QMenu* menu) { m_menu = menu; }
void Control::attachAction(QAction* action) { m_action = action; }

} // namespace forms
