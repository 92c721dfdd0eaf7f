#pragma once

namespace forms {

class Control;

// Tells assistive technology at once that a control has news the user must
// hear (the verdict on an answer), without waiting for the focus to reach
// it. Menu entries have nothing to announce.
void announce(const Control& control);

} // namespace forms
