#pragma once
// The running program's side of the display cycle: the platform sources come
// from the display's own Win32 layer; the program adds what only it knows
// (the memo-script hold-back, saving after a one-time alarm).

#include <windows.h>

#include "display/display_cycle_win.h"

// Draws nothing: the cycle's bookkeeping runs while the panel is hidden.
class NoCanvasProvider final : public CanvasProvider {
 public:
  Canvas* Obtain() override { return nullptr; }
  void Release() override {}
};

// One display cycle of the running program.
bool RunDisplayCycle(CanvasProvider& canvases, bool force);
