#pragma once

// The run time's DoEvents for work that keeps the user-interface thread for a
// long time: windows paint, timers and posted work run, and the operator's
// keys, clicks and wheel turns that arrived meanwhile are dropped, not kept
// for later. So nothing the operator does while the work runs can change the
// grids or the values it is working on, nor start it a second time.
namespace ui {

void DoEvents();

} // namespace ui
