#include "ui/help_win.h"

#include <shellapi.h>

#include <string>

#include "ui/message_box_win.h"
#include "ui/ui_texts.h"
#include "ui/web_addresses.h"

namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// Where the HTML Help control is registered (default value of its server key).
std::wstring RegisteredHelpControl() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return {};
  }
  wchar_t value[MAX_PATH] = L"";
  DWORD size = sizeof value - sizeof(wchar_t), type = 0;
  const LONG status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  value[size / sizeof(wchar_t)] = L'\0';
  if (type != REG_EXPAND_SZ) return value;
  wchar_t expanded[MAX_PATH] = L"";
  const DWORD n = ExpandEnvironmentStringsW(value, expanded, MAX_PATH);
  return n > 0 && n <= MAX_PATH ? std::wstring(expanded) : std::wstring();
}

HtmlHelpFn LocateHtmlHelp() {
  HMODULE control = nullptr;
  const std::wstring registered = RegisteredHelpControl();
  if (!registered.empty()) control = LoadLibraryW(registered.c_str());
  if (!control) control = LoadLibraryW(L"hhctrl.ocx");
  if (!control) return nullptr;
  auto fn = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(control, MAKEINTRESOURCEA(15))));
  if (!fn) FreeLibrary(control);
  return fn;  // the control stays loaded for the rest of the run
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

}  // namespace

HWND ShowHelp(HWND owner, std::u16string_view topic) {
  static const HtmlHelpFn html_help = LocateHtmlHelp();
  if (!html_help) return nullptr;
  return html_help(owner, Wide(topic).c_str(), kDisplayTopic, 0);
}

bool OpenWebPage(std::u16string_view address) {
  if (address.empty()) return false;
  const std::wstring folder = SystemFolder();
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", Wide(address).c_str(), nullptr,
                                         folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void OpenFeedbackPage(HWND owner, Language language) {
  if (OpenWebPage(web_address::kFeedback)) return;
  ShowMessage(owner, FillIn(ui_text::kFeedbackFailed.In(language), web_address::kFeedback),
              ui_text::kFeedbackCaption.In(language), MB_OK | MB_ICONERROR);
}
