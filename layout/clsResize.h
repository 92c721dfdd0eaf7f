#pragma once

#include "forms/Form.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

// Fits a form to a share of the screen and keeps its controls in proportion
// whenever the form's client area changes size. The layout recorded once is
// the only reference: every pass computes from it, so nothing drifts however
// often the form is resized.
class clsResize
{
public:
    struct ControlPosition
    {
        forms::Control* Control = nullptr;
        std::int32_t Left = 0; // X1 of a line
        std::int32_t Top = 0;  // Y1
        std::int32_t Width = 0;  // X2
        std::int32_t Height = 0; // Y2
    };

    clsResize() = default;
    clsResize(const clsResize&) = delete;
    clsResize& operator=(const clsResize&) = delete;

    forms::Form* SourceForm() const { return m_form; }
    // Binds the form; the layout is recorded only by the next operation
    // that needs it, or by ReInitialise.
    void SetSourceForm(forms::Form* form) { m_form = form; }

    void ReInitialise() { Initialise(); }
    // Sizes the form to Percent of the screen, centred, then scales its controls.
    void SizeFormToScreen(std::uint8_t Percent);
    void ResizeControls();

    // Which of Left, Top, Width, Height a control's Tag lets follow the form.
    struct Follows
    {
        bool left, top, width, height;
    };
    static Follows followsForTag(const QString& tag);

private:
    void Initialise();
    void scaleControl(const ControlPosition& recorded, double rx, double ry);

    QPointer<forms::Form> m_form;
    std::int32_t m_recordedWidth = 0;
    std::int32_t m_recordedHeight = 0;
    std::vector<ControlPosition> m_positions;
    bool m_needsInitialise = true;
};
