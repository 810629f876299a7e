#pragma once
// The DPI of a monitor or window, for a program that declares per-monitor
// awareness. The per-monitor queries exist from Windows 8.1 (shcore) and
// 10 1607 (user32); they are looked up once, and without them the system
// DPI serves for every monitor.

#include <windows.h>

#include <cstdint>

int32_t SystemDpi();
int32_t DpiOfMonitor(HMONITOR monitor);
int32_t DpiOfWindow(HWND window);
// The monitor holding `point`, or the nearest one.
int32_t DpiAtPoint(POINT point);
