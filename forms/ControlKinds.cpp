#include "ControlKinds.h"

#include "Control.h"
#include "Form.h"
#include "FormWidgets.h"
#include "Pictures.h"

#include <QTabWidget>

#include <algorithm>
#include <array>

namespace forms {
namespace {

using K = ControlKind;

constexpr unsigned kind(K k)
{
    return 1u << unsigned(k);
}

constexpr unsigned kAll = ~0u;
constexpr unsigned kWidgets = kAll & ~kind(K::Menu);
// What stands in a rectangle of its own (a line has two ends instead).
constexpr unsigned kBoxes = kWidgets & ~kind(K::Line);
// What shows a text or a background of its own.
constexpr unsigned kColoured = kBoxes & ~kind(K::Image);
constexpr unsigned kCaptioned = kind(K::Label) | kind(K::CommandButton) | kind(K::CheckBox) | kind(K::Menu);

std::optional<QVariant> given(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QVariant>(text);
}

std::optional<QVariant> given(std::optional<quint32> colour)
{
    return colour ? std::optional<QVariant>(*colour) : std::nullopt;
}

// Geometry refuses what no window could take, with the error for a bad value.
template<Coordinate Which>
PropertyRow geometry(const char* name, unsigned kinds)
{
    return {QLatin1StringView(name), kinds, [](const Control& c, int) { return QVariant(c.coordinate(Which)); },
            [](Control& c, const QVariant& v, int) {
                bool ok = false;
                const double twips = v.toDouble(&ok);
                c.setCoordinate(Which, ok ? twips : qQNaN());
            },
            nullptr};
}

const std::array kRows{
    PropertyRow{QLatin1StringView("Name"), kAll, [](const Control& c, int) { return QVariant(c.name()); },
                nullptr, nullptr},
    PropertyRow{QLatin1StringView("Index"), kAll, [](const Control& c, int) { return QVariant(c.index()); },
                nullptr, nullptr},
    PropertyRow{QLatin1StringView("Caption"), kCaptioned, [](const Control& c, int) { return QVariant(c.caption()); },
                [](Control& c, const QVariant& v, int) { c.setCaption(v.toString()); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.caption); }},
    PropertyRow{QLatin1StringView("Text"), kind(K::TextBox), [](const Control& c, int) { return QVariant(c.text()); },
                [](Control& c, const QVariant& v, int) { c.setText(v.toString()); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.caption); }},
    PropertyRow{QLatin1StringView("ToolTipText"), kBoxes,
                [](const Control& c, int) { return QVariant(c.toolTip()); },
                [](Control& c, const QVariant& v, int) { c.setToolTip(v.toString()); },
                [](const ControlDesign& d) { return given(d.toolTip); }},
    PropertyRow{QLatin1StringView("AccessibleName"), kWidgets,
                [](const Control& c, int) { return QVariant(c.widget()->accessibleName()); },
                [](Control& c, const QVariant& v, int) { c.widget()->setAccessibleName(v.toString()); },
                [](const ControlDesign& d) { return given(d.accessibleName); }},
    PropertyRow{QLatin1StringView("AccessibleDescription"), kWidgets,
                [](const Control& c, int) { return QVariant(c.widget()->accessibleDescription()); },
                [](Control& c, const QVariant& v, int) { c.widget()->setAccessibleDescription(v.toString()); },
                [](const ControlDesign& d) { return given(d.accessibleDescription); }},
    PropertyRow{QLatin1StringView("Tag"), kAll, [](const Control& c, int) { return QVariant(c.tag()); },
                [](Control& c, const QVariant& v, int) { c.setTag(v.toString()); }, nullptr},
    geometry<Coordinate::Left>("Left", kBoxes),
    geometry<Coordinate::Top>("Top", kBoxes),
    geometry<Coordinate::Width>("Width", kBoxes),
    geometry<Coordinate::Height>("Height", kBoxes),
    geometry<Coordinate::Left>("X1", kind(K::Line)),
    geometry<Coordinate::Top>("Y1", kind(K::Line)),
    geometry<Coordinate::Width>("X2", kind(K::Line)),
    geometry<Coordinate::Height>("Y2", kind(K::Line)),
    PropertyRow{QLatin1StringView("Enabled"), kAll & ~kind(K::Line),
                [](const Control& c, int) { return QVariant(c.isEnabled()); },
                [](Control& c, const QVariant& v, int) { c.setEnabled(v.toBool()); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.enabled); }},
    PropertyRow{QLatin1StringView("Visible"), kAll, [](const Control& c, int) { return QVariant(c.isVisible()); },
                [](Control& c, const QVariant& v, int) { c.setVisible(v.toBool()); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.visible); }},
    // A check box's Value is 1 when checked, a menu item's Checked true.
    PropertyRow{QLatin1StringView("Value"), kind(K::CheckBox),
                [](const Control& c, int) { return QVariant(c.isChecked() ? 1 : 0); },
                [](Control& c, const QVariant& v, int) { c.setChecked(v.toInt() == 1); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.checked ? 1 : 0); }},
    PropertyRow{QLatin1StringView("Checked"), kind(K::Menu),
                [](const Control& c, int) { return QVariant(c.isChecked()); },
                [](Control& c, const QVariant& v, int) { c.setChecked(v.toBool()); },
                [](const ControlDesign& d) { return std::optional<QVariant>(d.checked); }},
    PropertyRow{QLatin1StringView("BackColor"), kColoured,
                [](const Control& c, int) { return QVariant(c.backColor()); },
                [](Control& c, const QVariant& v, int) { c.setBackColor(v.toUInt()); },
                [](const ControlDesign& d) { return given(d.backColor); }},
    PropertyRow{QLatin1StringView("ForeColor"), kColoured,
                [](const Control& c, int) { return QVariant(c.foreColor()); },
                [](Control& c, const QVariant& v, int) { c.setForeColor(v.toUInt()); },
                [](const ControlDesign& d) { return given(d.foreColor); }},
    PropertyRow{QLatin1StringView("FontSize"), kColoured,
                [](const Control& c, int) { return QVariant(c.fontSize()); },
                [](Control& c, const QVariant& v, int) { c.setFontSize(v.toDouble()); }, nullptr},
    PropertyRow{QLatin1StringView("Tabs"), kind(K::TabStrip),
                [](const Control& c, int) { return QVariant(c.tabCount()); }, nullptr, nullptr},
    PropertyRow{QLatin1StringView("TabCaption"), kind(K::TabStrip),
                [](const Control& c, int tab) { return QVariant(c.tabCaption(tab)); },
                [](Control& c, const QVariant& v, int tab) { c.setTabCaption(tab, v.toString()); }, nullptr},
};

Qt::Alignment qtAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return Qt::AlignCenter;
    case Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* buildLabel(Control& control, QWidget* parent)
{
    const ControlDesign& design = control.decl();
    auto* label = new LabelWidget(control, parent);
    label->setAlignment(qtAlignment(design.alignment));
    label->setWordWrap(!design.autoSize);
    if (design.border)
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAutoFillBackground(!design.transparent);
    return label;
}

QWidget* buildButton(Control& control, QWidget* parent)
{
    auto* button = new ButtonWidget(parent);
    if (Pictures::exists(control.decl().picture))
        button->setIcon(Pictures::icon(control.decl().picture));
    QObject::connect(button, &QToolButton::clicked, &control.form(),
                     [&control] { control.form().raise<Event::Click>(control); });
    return button;
}

QWidget* buildTextBox(Control& control, QWidget* parent)
{
    auto* box = new TextBoxWidget(control, parent);
    box->setAlignment(qtAlignment(control.decl().alignment));
    box->setLimit(control.decl().maxLength);
    return box;
}

QWidget* buildCheckBox(Control& control, QWidget* parent)
{
    auto* box = new CheckBoxWidget(parent);
    QObject::connect(box, &QCheckBox::stateChanged, &control.form(),
                     [&control] { control.form().raise<Event::Click>(control); });
    return box;
}

QWidget* buildTabStrip(Control& control, QWidget* parent)
{
    auto* tabs = new QTabWidget(parent);
    for (const QString& caption : control.decl().tabs)
        tabs->addTab(new QWidget(tabs), caption);
    return tabs;
}

struct KindRow
{
    QWidget* (*build)(Control& control, QWidget* parent);
    bool clickedByMouse;
};

// In the order of ControlKind.
const std::array<KindRow, 9> kKinds{{
    {buildLabel, true},
    {buildButton, false},
    {buildTextBox, false},
    {buildCheckBox, false},
    {[](Control&, QWidget* parent) -> QWidget* { return new PictureBoxWidget(parent); }, true},
    {[](Control& c, QWidget* parent) -> QWidget* { return new ImageWidget(c.decl().picture, parent); }, true},
    {[](Control&, QWidget* parent) -> QWidget* { return new LineWidget(parent); }, false},
    {buildTabStrip, false},
    {nullptr, false}, // menu entries
}};

} // namespace

const PropertyRow* propertyOf(ControlKind k, QStringView name)
{
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const PropertyRow& each) {
        return name.compare(each.name, Qt::CaseInsensitive) == 0;
    });
    return row != kRows.end() && row->isOf(k) ? &*row : nullptr;
}

std::span<const PropertyRow> propertyRows()
{
    return kRows;
}

QWidget* buildWidget(Control& control, QWidget* parent)
{
    const auto build = kKinds[std::size_t(control.kind())].build;
    return build ? build(control, parent) : nullptr;
}

bool clickedByMouse(ControlKind k)
{
    return kKinds[std::size_t(k)].clickedByMouse;
}

} // namespace forms
