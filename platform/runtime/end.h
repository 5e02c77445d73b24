#pragma once

#include <functional>

namespace vb {

// Ends the program at once (the run time's End). With a handler installed
// (tests) the handler runs instead and End returns: callers leave right after
// calling it.
void End();

// Installs the handler End calls instead of ending (empty restores ending).
void SetEndHandler(std::function<void()> handler);

} // namespace vb
