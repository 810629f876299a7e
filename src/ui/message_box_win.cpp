#include "ui/message_box_win.h"

#include <commctrl.h>

#include <atomic>
#include <string>

#include "ui/dark_mode_win.h"

namespace {

std::atomic<MessageBoxFn> g_collect{nullptr};
thread_local HHOOK t_hook = nullptr;

bool IsMessageBoxWindow(HWND window) {
  wchar_t name[16] = L"";
  return GetClassNameW(window, name, ARRAYSIZE(name)) > 0 && lstrcmpW(name, L"#32770") == 0;
}

void ThemeBox(HWND box) {
  ThemeDialogFrame(box);  // a second call only updates it
  ApplyDarkTitleBar(box);
  ThemeChildren(box);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

LRESULT CALLBACK BoxHook(int code, WPARAM wparam, LPARAM lparam) {
  if ((code == HCBT_CREATEWND || code == HCBT_ACTIVATE) && IsMessageBoxWindow(HWND(wparam))) {
    ThemeBox(HWND(wparam));
  }
  return CallNextHookEx(t_hook, code, wparam, lparam);
}

}  // namespace

void SetMessageBoxCollector(MessageBoxFn collect) { g_collect = collect; }

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  if (MessageBoxFn collect = g_collect.load()) return collect(owner, text, caption, type);
  if (!IsDarkMode() || t_hook) return MessageBoxW(owner, text, caption, type);
  t_hook = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(owner, text, caption, type);
  if (t_hook) UnhookWindowsHookEx(t_hook);
  t_hook = nullptr;
  return answer;
}

int ShowMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  const std::wstring t(text.begin(), text.end()), c(caption.begin(), caption.end());
  return ShowMessage(owner, t.c_str(), c.c_str(), type);
}
