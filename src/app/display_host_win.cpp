#include "app/display_host_win.h"

#include "app/app_state_win.h"
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
  hooks.once_alarm_ended = OnceAlarmEnded;
  return hooks;
}
