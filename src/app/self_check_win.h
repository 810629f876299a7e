#pragma once
// The executable's integrity check: the build writes the PE header checksum
// and start-up compares it with the file.

#include <windows.h>

enum class SelfCheck { kMatches, kMismatch, kUnreadable };

SelfCheck CheckExecutableFile(const wchar_t* path);

// Warns in a message box when the running executable does not match.
void RunSelfCheck(HWND owner, const wchar_t* executable_path);
