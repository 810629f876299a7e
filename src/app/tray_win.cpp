#include "app/tray_win.h"

#include <shellapi.h>

#include <cwchar>

#include "app/app_texts.h"
#include "app/commands.h"
#include "app/hotkeys.h"
#include "app/resource_ids.h"
#include "common/wide_win.h"
#include "settings/settings.h"

namespace {

struct TrayState {
  HINSTANCE instance = nullptr;
  bool icon_hidden = false;
  PendingNotice notice;
};

TrayState& Tray() {
  static TrayState state;
  return state;
}

void CopyTruncated(wchar_t* out, size_t capacity, std::u16string_view text) {
  const size_t n = text.size() < capacity ? text.size() : capacity - 1;
  for (size_t i = 0; i < n; ++i) out[i] = wchar_t(text[i]);
  out[n] = 0;
}

NOTIFYICONDATAW IconData(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTrayIconId;
  return data;
}

bool ShowBalloon(HWND window, const PendingNotice& notice) {
  if (Tray().icon_hidden) return false;
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_INFO;
  CopyTruncated(data.szInfo, ARRAYSIZE(data.szInfo), notice.BalloonText());
  CopyTruncated(data.szInfoTitle, ARRAYSIZE(data.szInfoTitle), app_text::kProductName.In(AppLanguage()));
  const int level = notice.level();
  data.dwInfoFlags = level == 3 ? NIIF_ERROR : level == 2 ? NIIF_WARNING : level == 1 ? NIIF_INFO : NIIF_NONE;
  data.uTimeout = 3000;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

}  // namespace

void InitTray(HINSTANCE instance) { Tray().instance = instance; }

void SetTrayIconHidden(bool hidden) { Tray().icon_hidden = hidden; }

PendingNotice& PendingTrayNotice() { return Tray().notice; }

bool AddTrayIcon(HWND window) {
  NOTIFYICONDATAW data = IconData(window);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  // The small-icon size the system asks for at its DPI (16 at 96, 24 at
  // 144), so the notification area never stretches a 16-pixel picture.
  data.hIcon = static_cast<HICON>(LoadImageW(Tray().instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_SHARED));
  CopyTruncated(data.szTip, 128, app_text::kProductName.In(AppLanguage()));
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void RemoveTrayIcon(HWND window) {
  NOTIFYICONDATAW data = IconData(window);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void Notify(HWND window, const char16_t* text, int level) {
  if (ApplyNotify(Tray().notice, window != nullptr, text, level)) ShowBalloon(window, Tray().notice);
}

bool RegisterHotkeys(HWND window, const Settings& settings, Language language) {
  Notify(nullptr, nullptr, 0);
  bool failed = false;
  for (const HotkeyEntry& entry : kHotkeys) {
    UnregisterHotKey(window, int(entry.command));
    const HotkeyBinding binding = MapHotkey(settings.*entry.value);
    if (!binding.registered) continue;
    if (!RegisterHotKey(window, int(entry.command), binding.modifiers, binding.key)) {
      Tray().notice.Append(Pick(language, entry.failure_ja, entry.failure_en), 2);
      failed = true;
    }
  }
  if (failed) Notify(window, nullptr, 0);
  return !failed;
}

void UnregisterHotkeys(HWND window, const Settings& settings) {
  for (const HotkeyEntry& entry : kHotkeys) {
    if ((settings.*entry.value & 0xFF) != 0) UnregisterHotKey(window, int(entry.command));
  }
}

