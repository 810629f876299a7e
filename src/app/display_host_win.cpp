#include "app/display_host_win.h"

#include "app/app_state_win.h"
#include "app/script_host_win.h"
#include "clipboard/clipboard_monitor_win.h"
#include "settings/settings_store_win.h"
#include "ui/dark_mode_win.h"

namespace {

bool MemoScriptHeldBack() { return App().script_held_back; }

// A one-time alarm that went off has switched itself off: keep that.
void OnceAlarmEnded() { SaveSettings(App().settings, 1); }

}  // namespace

DisplayHooks MakeDisplayHooks() {
  DisplayHooks hooks;
  hooks.dark_mode = IsDarkMode;
  hooks.memo_script_held_back = MemoScriptHeldBack;
  hooks.poll_memo_script = PollMemoScript;
  hooks.once_alarm_ended = OnceAlarmEnded;
  hooks.clipboard_watching = ClipboardWatching;
  hooks.clipboard = CurrentClipboardView;
  return hooks;
}
