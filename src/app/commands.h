#pragma once
// Command identifiers, private messages and timer ids of the main window.
// One number space serves the tray menu, the global hotkeys (hotkey id =
// command id) and the commands a second instance forwards.

#include <cstdint>

namespace command {
constexpr uint32_t kSettings = 32771;
constexpr uint32_t kMemo = 32790;
constexpr uint32_t kToggleHide = 32776;
constexpr uint32_t kHide = 32778;
constexpr uint32_t kShow = 32779;
constexpr uint32_t kEmptyClipboard = 32774;
constexpr uint32_t kPlainText = 32775;
constexpr uint32_t kAlarmCountdown = 1020;
constexpr uint32_t kStartupShortcut = 32777;
constexpr uint32_t kHelp = 5;
constexpr uint32_t kFeedback = 32792;
constexpr uint32_t kAbout = 32772;
constexpr uint32_t kExit = 32773;
constexpr uint32_t kSuspendDriveWarning = 1263;
constexpr uint32_t kDonationHelp = 32793;
}  // namespace command

// Private messages (the application message range starts at 0x8000).
constexpr uint32_t kTrayCallbackMessage = 0x8000;
constexpr uint32_t kInstanceCommandMessage = 0x8001;
constexpr uint32_t kRereadClipboardMessage = 0x8002;
// A balloon the memo script asked for (lParam owns the notice).
constexpr uint32_t kScriptNoticeMessage = 0x8003;
// Answers the number of display ticks so far (tests measure the tick rate).
constexpr uint32_t kDisplayTickCountMessage = 0x8004;
// The memo script changed its output: redraw now rather than next second.
constexpr uint32_t kScriptOutputMessage = 0x8005;

// Identifier field of a WM_COPYDATA record that carries external text.
constexpr uint32_t kExternalTextId = 102414;
constexpr uint32_t kTrayIconId = 151544;

namespace timer_id {
constexpr uintptr_t kDisplayTick = 313544;
constexpr uintptr_t kFadeStep = 313542;
constexpr uintptr_t kClipboardRecheck = 313548;
constexpr uintptr_t kDelayedClipboardRead = 550132;
constexpr uintptr_t kAutoClearClipboard = 487711;
constexpr uintptr_t kScriptHoldBack = 454588;
}  // namespace timer_id

constexpr uint32_t kScriptHoldBackMs = 10000;

// The display timer's period: INTERVAL outside 20-500 ms would make the timer
// spin or stall the display.
constexpr uint32_t DisplayTickPeriodMs(int32_t interval) {
  if (interval < 20) return 20;
  if (interval > 500) return 500;
  return uint32_t(interval);
}

// The automatic clearing period: AUTO_DEL_CLIPSEC seconds. A stored 0 or less
// would make a timer that fires at once and keeps firing, and a huge value
// would overflow the millisecond count; both are held to what a timer takes.
inline constexpr int32_t kAutoClearMaxSeconds = 0x7FFFFFFF / 1000;
constexpr uint32_t AutoClearPeriodMs(int32_t seconds) {
  if (seconds < 1) seconds = 1;
  if (seconds > kAutoClearMaxSeconds) seconds = kAutoClearMaxSeconds;
  return uint32_t(seconds) * 1000u;
}

// A second instance may only ask for these; anything else is ignored.
constexpr bool IsInstanceCommand(uint32_t id) {
  return id == command::kSettings || id == command::kToggleHide || id == command::kHide ||
         id == command::kShow || id == command::kMemo;
}
