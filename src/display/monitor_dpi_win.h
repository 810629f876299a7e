#pragma once
// The DPI of a monitor or window, for a program that declares per-monitor
// awareness. The per-monitor queries (Windows 8.1 shcore, 10 1607 user32)
// come from the table of optional functions; without them the system DPI
// serves for every monitor.

#include <windows.h>

#include <cstdint>

int32_t SystemDpi();
int32_t DpiOfMonitor(HMONITOR monitor);
int32_t DpiOfWindow(HWND window);
// The monitor holding `point`, or the nearest one.
int32_t DpiAtPoint(POINT point);
