#pragma once
// What the auxiliary-window tests share: the theme switch in the test
// prefix's registry, a message-box collector, and a helper thread that
// finds a dialog, looks at it and closes it.

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kirabi_harness_win.h"

// Writes AppsUseLightTheme (the test prefix is thrown away afterwards).
inline bool SetAppsUseLightTheme(DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool ok = RegSetValueExW(key, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

inline bool DeleteAppsUseLightTheme() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                    KEY_WRITE, &key) != ERROR_SUCCESS) {
    return true;
  }
  RegDeleteValueW(key, L"AppsUseLightTheme");
  RegCloseKey(key);
  return true;
}

inline bool VersionTenOrLater() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  auto get = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  return get && get(&info) == 0 && info.dwMajorVersion >= 10;
}

// Wine reports the version its prefix is set to, by default one before 10,
// where dark mode never applies. Runs one test of this program again in a
// process that Wine tells it runs on Windows 10; returns its exit code.
inline int RunAgainAsWindows10(const char* test) {
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = wcsrchr(self, L'\\') ? wcsrchr(self, L'\\') + 1 : self;
  const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + name;
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS) {
    return -2;
  }
  const wchar_t version[] = L"win10";
  RegSetValueExW(k, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
  RegCloseKey(k);
  std::wstring args = L"\"" + std::wstring(self) + L"\" --gtest_filter=";
  for (const char* c = test; *c; ++c) args += wchar_t(*c);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(self, args.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -3;
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(pi.hProcess, 90000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  return int(code);
}

struct CollectedBox {
  std::wstring text;
  std::wstring caption;
  UINT type;
};

inline std::vector<CollectedBox>& CollectedBoxes() {
  static std::vector<CollectedBox> boxes;
  return boxes;
}

// Answers Yes to questions and OK to everything else.
inline int CollectAndAgree(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  CollectedBoxes().push_back({text, caption, type});
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
  }
}

inline int CollectAndRefuse(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  CollectedBoxes().push_back({text, caption, type});
  return (type & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
}

// Polls until `check` holds (true) or the deadline passes (false).
inline bool PollUntil(const std::function<bool()>& check, DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (check()) return true;
    Sleep(50);
  }
  return check();
}
