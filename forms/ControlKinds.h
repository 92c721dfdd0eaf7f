#pragma once

#include "FormDesign.h"

#include <QStringView>
#include <QVariant>

#include <optional>
#include <span>

class QWidget;

namespace forms {

class Control;

// What each kind of control has. Every property that callers reach by name
// is one row of one table: its name, the kinds that have it, how it is read
// and written, and the design field it starts from when the control is
// built. A kind that lacks a property simply does not have it: asking costs
// nothing and never fails.
struct PropertyRow
{
    QLatin1StringView name;
    unsigned kinds; // one bit for each ControlKind that has the property
    QVariant (*get)(const Control& control, int subscript);
    // nullptr: the property is read-only.
    void (*set)(Control& control, const QVariant& value, int subscript);
    // The value the design table gives the property, if it gives one.
    std::optional<QVariant> (*designed)(const ControlDesign& design);

    bool isOf(ControlKind kind) const { return kinds & (1u << unsigned(kind)); }
};

// The row of that name (in any letter case) when controls of that kind have
// the property; nullptr when they do not.
const PropertyRow* propertyOf(ControlKind kind, QStringView name);
// Every row, in the order a newly built control takes its designed values.
std::span<const PropertyRow> propertyRows();

// The widget that shows a control of this kind, built under parent from the
// control's design; nullptr for menu entries, which live in the menu bar.
QWidget* buildWidget(Control& control, QWidget* parent);
// Whether the runtime turns a press and release of the mouse over a control
// of this kind into its Click (buttons and check boxes click by themselves).
bool clickedByMouse(ControlKind kind);

} // namespace forms
