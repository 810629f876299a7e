#pragma once
// The one place where the program plugs its features into the display:
// each feature fills its hook here (a null hook is a feature that is off).

#include "display/display_cycle_win.h"

DisplayHooks MakeDisplayHooks();
