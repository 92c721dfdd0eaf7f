#include "clsResize.h"

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/FormsError.h"
#include "forms/RedrawLock.h"
#include "forms/Units.h"

#include <cmath>

namespace {

// Rounding to the nearest, halves to even, as the recorded layout expects.
std::int32_t roundHalfEven(double value)
{
    return static_cast<std::int32_t>(std::nearbyint(value));
}

const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kX1 = QStringLiteral("X1");
const QString kY1 = QStringLiteral("Y1");
const QString kX2 = QStringLiteral("X2");
const QString kY2 = QStringLiteral("Y2");

// Reads one coordinate; a control that lacks it leaves the field at 0.
void readInto(const forms::Control& control, const QString& property, std::int32_t& field)
{
    if (control.has(property))
        field = roundHalfEven(control.get(property).toDouble());
}

} // namespace

clsResize::Follows clsResize::followsForTag(const QString& rawTag)
{
    QString tag = rawTag.toUpper();
    if (!tag.startsWith(QLatin1Char('@')))
        tag = QStringLiteral("@L,T,W,H");
    return {tag.contains(QLatin1Char('L')), tag.contains(QLatin1Char('T')),
            tag.contains(QLatin1Char('W')), tag.contains(QLatin1Char('H'))};
}

void clsResize::Initialise()
{
    if (!m_form)
        return;
    m_recordedWidth = roundHalfEven(m_form->scaleWidth());
    m_recordedHeight = roundHalfEven(m_form->scaleHeight());
    m_positions.clear();
    const auto& controls = m_form->controls();
    m_positions.resize(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        forms::Control& control = *controls[i];
        ControlPosition& record = m_positions[i];
        record.Control = &control;
        const bool line = control.isLine();
        readInto(control, line ? kX1 : kLeft, record.Left);
        readInto(control, line ? kY1 : kTop, record.Top);
        readInto(control, line ? kX2 : kWidth, record.Width);
        readInto(control, line ? kY2 : kHeight, record.Height);
    }
    m_needsInitialise = false;
}

void clsResize::SizeFormToScreen(std::uint8_t Percent)
{
    if (!m_form)
        return;
    if (m_needsInitialise)
        Initialise();
    const double screenWidth = forms::screenWidth();
    const double screenHeight = forms::screenHeight();
    const double h = std::floor(Percent / 100.0 * screenHeight);
    const double w = std::floor(Percent / 100.0 * screenWidth);
    m_form->setTop((screenHeight - h) / 2);
    m_form->setLeft((screenWidth - w) / 2);
    m_form->setHeight(h);
    m_form->setWidth(w);
    ResizeControls();
}

void clsResize::ResizeControls()
{
    if (!m_form || m_form->controls().empty())
        return;
    if (m_form->isMinimized())
        return;
    if (m_needsInitialise) {
        Initialise();
        return;
    }
    // A form recorded with no client area has nothing to scale from.
    if (m_recordedWidth == 0 || m_recordedHeight == 0)
        return;

    forms::RedrawLock lock(*m_form);
    const double ry = m_form->scaleHeight() / m_recordedHeight;
    const double rx = m_form->scaleWidth() / m_recordedWidth;
    for (const ControlPosition& recorded : m_positions)
        scaleControl(recorded, rx, ry);
}

void clsResize::scaleControl(const ControlPosition& recorded, double rx, double ry)
{
    forms::Control& control = *recorded.Control;
    const bool line = control.isLine();
    const Follows follows = followsForTag(control.tag());
    // A coordinate the control lacks is skipped; a value it refuses
    // abandons the rest of this control only.
    const auto assign = [&](bool wanted, const QString& property, double value) {
        if (wanted && control.has(property))
            control.set(property, value);
    };
    try {
        assign(follows.left, line ? kX1 : kLeft, recorded.Left * rx);
        assign(follows.top, line ? kY1 : kTop, recorded.Top * ry);
        assign(follows.width, line ? kX2 : kWidth, recorded.Width * rx);
        assign(follows.height, line ? kY2 : kHeight, recorded.Height * ry);
    } catch (const forms::FormsError&) {
    }
}
