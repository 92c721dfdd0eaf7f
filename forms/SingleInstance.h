#pragma once

namespace forms {

// True when another copy of the program, started from the same folder, is
// running. The first call takes a lock that this copy holds until it ends;
// a lock left by a copy that crashed never blocks a later start.
bool previousInstance();

} // namespace forms
