#include "ui/optional_api_win.h"

#include <mutex>
#include <string>

namespace {

struct Libraries {
  HMODULE user32 = nullptr;
  HMODULE ntdll = nullptr;
  HMODULE kernel32 = nullptr;
  HMODULE dwmapi = nullptr;
  HMODULE shcore = nullptr;
  HMODULE uxtheme = nullptr;
};

std::mutex g_lock;
bool g_loaded = false;
Libraries g_libraries;
OptionalApi g_api;

const std::wstring& SystemDirectory() {
  static const std::wstring folder = [] {
    wchar_t buffer[MAX_PATH] = L"";
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
  }();
  return folder;
}

template <class Fn>
void Bind(HMODULE module, const char* name, Fn& slot) {
  slot = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void Load() {
  Libraries& l = g_libraries;
  l.user32 = LoadSystemLibrary(L"user32.dll");
  l.ntdll = LoadSystemLibrary(L"ntdll.dll");
  l.kernel32 = LoadSystemLibrary(L"kernel32.dll");
  l.dwmapi = LoadSystemLibrary(L"dwmapi.dll");
  l.shcore = LoadSystemLibrary(L"shcore.dll");
  l.uxtheme = LoadSystemLibrary(L"uxtheme.dll");
  OptionalApi& a = g_api;
  Bind(l.user32, "ChangeWindowMessageFilter", a.ChangeWindowMessageFilter);
  Bind(l.user32, "AddClipboardFormatListener", a.AddClipboardFormatListener);
  Bind(l.user32, "RemoveClipboardFormatListener", a.RemoveClipboardFormatListener);
  Bind(l.user32, "GetDpiForWindow", a.GetDpiForWindow);
  Bind(l.ntdll, "RtlGetVersion", a.RtlGetVersion);
  Bind(l.kernel32, "GetProductInfo", a.GetProductInfo);
  Bind(l.dwmapi, "DwmSetWindowAttribute", a.DwmSetWindowAttribute);
  Bind(l.shcore, "GetDpiForMonitor", a.GetDpiForMonitor);
  // Both ordinals or neither: one without the other does nothing useful.
  Bind(l.uxtheme, MAKEINTRESOURCEA(135), a.SetPreferredAppMode);
  Bind(l.uxtheme, MAKEINTRESOURCEA(104), a.FlushMenuThemes);
  if (!a.SetPreferredAppMode || !a.FlushMenuThemes) a.SetPreferredAppMode = nullptr, a.FlushMenuThemes = nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring& folder = SystemDirectory();
  if (folder.empty() || !name || !*name) return nullptr;
  // A full path: the search order (and the process-wide current directory,
  // which the script thread may rely on) is never involved.
  const std::wstring path = folder + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

const OptionalApi& Api() {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_loaded) {
    Load();
    g_loaded = true;
  }
  return g_api;
}

void UnloadOptionalApi() {
  std::lock_guard<std::mutex> hold(g_lock);
  for (HMODULE m : {g_libraries.user32, g_libraries.ntdll, g_libraries.kernel32, g_libraries.dwmapi,
                    g_libraries.shcore, g_libraries.uxtheme}) {
    if (m) FreeLibrary(m);
  }
  g_libraries = {};
  g_api = {};
  g_loaded = false;
}
