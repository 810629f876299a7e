#pragma once
// Platform functions that older systems (or Wine) may lack, looked up once
// and kept in one table. Every pointer may be null: check it at its use and
// fall back to the older way when it is.

#include <windows.h>

// Loads a library from the system directory only, never from the current
// directory or the executable's folder (a planted DLL there must not load).
HMODULE LoadSystemLibrary(const wchar_t* name);

struct OptionalApi {
  // user32
  BOOL(WINAPI* ChangeWindowMessageFilter)(UINT message, DWORD flag) = nullptr;
  BOOL(WINAPI* AddClipboardFormatListener)(HWND window) = nullptr;
  BOOL(WINAPI* RemoveClipboardFormatListener)(HWND window) = nullptr;
  UINT(WINAPI* GetDpiForWindow)(HWND window) = nullptr;
  // ntdll: the true version, which GetVersionEx hides from unmanifested programs.
  LONG(WINAPI* RtlGetVersion)(OSVERSIONINFOEXW* info) = nullptr;
  // kernel32
  BOOL(WINAPI* GetProductInfo)(DWORD major, DWORD minor, DWORD sp_major, DWORD sp_minor, DWORD* type) = nullptr;
  // dwmapi
  HRESULT(WINAPI* DwmSetWindowAttribute)(HWND window, DWORD attribute, const void* value, DWORD size) = nullptr;
  // shcore (monitor DPI)
  HRESULT(WINAPI* GetDpiForMonitor)(HMONITOR monitor, int kind, UINT* x, UINT* y) = nullptr;
  // uxtheme, reached by ordinal only: 135 allows dark mode for the process,
  // 104 refreshes the immersive colour policy.
  int(WINAPI* SetPreferredAppMode)(int mode) = nullptr;
  void(WINAPI* FlushMenuThemes)() = nullptr;

  bool ClipboardListenerAvailable() const {
    return AddClipboardFormatListener != nullptr && RemoveClipboardFormatListener != nullptr;
  }
};

// The table, filled on first use (thread-safe) and kept until exit.
const OptionalApi& Api();
// Frees the libraries the table loaded; the table is empty afterwards.
void UnloadOptionalApi();
