#pragma once

#include <QString>

namespace forms {

// The folder that holds the program: its language files, settings file and
// sounds lie here. Reported without a trailing separator except at a root.
QString appPath();

// Test seam: pretend the program lives in another folder (an empty string
// restores the executable's own folder).
void setAppPath(const QString& folder);

} // namespace forms
