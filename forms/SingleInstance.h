#pragma once

namespace forms {

// True when another copy of the program, started from the same folder, is
// running. The first call takes a lock that this copy holds until it ends,
// in a folder that only this user can write; a lock whose holder is gone
// never blocks a later start, whatever its file holds, and a lock that
// cannot be made at all lets the program start.
bool previousInstance();

} // namespace forms
