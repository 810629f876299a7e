#pragma once
// A temporary folder and a test-only registry key for the store tests, and a
// message-box collector so that nothing waits for a click.

#include <windows.h>

#include <string>
#include <vector>

#include "common/wide_win.h"
#include "settings/settings_store_win.h"
#include "ui/message_box_win.h"

struct ShownMessage {
  std::u16string text;
  std::u16string caption;
  UINT type;
};

inline std::vector<ShownMessage>& ShownMessages() {
  static std::vector<ShownMessage> shown;
  return shown;
}

inline int CollectMessage(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  ShownMessages().push_back({std::u16string(U16View(text)), std::u16string(U16View(caption)), type});
  return IDOK;
}

// The start-up order of the program: the interface language, then the store.
inline StoreMode InitSettingsStoreIn(Language language, std::u16string_view executable_path, bool ini_switch) {
  SetAppLanguage(language);
  return InitSettingsStore(executable_path, ini_switch);
}

class TempPlace {
 public:
  TempPlace() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const std::wstring unique = std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter()++);
    folder_ = std::wstring(base) + L"kirabi_settings_" + unique;
    CreateDirectoryW(folder_.c_str(), nullptr);
    subkey_ = L"Software\\Velmoro\\kirabi_test\\" + unique;
  }
  ~TempPlace() {
    RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
      } while (FindNextFileW(h, &found));
      FindClose(h);
    }
    RemoveDirectoryW(folder_.c_str());
  }

  std::u16string Ini(const wchar_t* name = L"kirabi.ini") const { return U16(folder_ + L"\\" + name); }
  std::u16string Subkey() const { return U16(subkey_); }
  const std::wstring& folder() const { return folder_; }

  static std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
  static std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::wstring folder_;
  std::wstring subkey_;
};

// Writes raw bytes as a file.
inline bool WriteFileBytes(const std::u16string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(TempPlace::W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

inline std::string ReadFileBytes(const std::u16string& path) {
  HANDLE h = CreateFileW(TempPlace::W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

// A UTF-16LE INI file with byte-order mark holding `text`.
inline bool WriteUtf16Ini(const std::u16string& path, const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  return WriteFileBytes(path, bytes);
}
