#pragma once
// The full path of the running executable, however long it is.

#include <windows.h>

#include <string>
#include <vector>

#include "common/wide_win.h"

// Empty when the platform cannot tell.
inline std::u16string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::u16string(U16View(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}
