#pragma once
// The process entry's work, from dark-mode initialisation to clean-up.

#include <windows.h>

int RunKirabi(HINSTANCE instance, const wchar_t* command_line);
