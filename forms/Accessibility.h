#pragma once

#include <functional>

namespace forms {

class Control;

// Tells assistive technology at once that a control has news the user must
// hear (the verdict on an answer), without waiting for the focus to reach
// it. Menu entries have nothing to announce.
void announce(const Control& control);

// Test seam: every announcement is also handed to this function (an empty
// function stops that). Qt sends its events only while a screen reader listens.
void setAnnouncementListener(std::function<void(const Control&)> listener);

} // namespace forms
