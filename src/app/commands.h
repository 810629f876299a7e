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

// A second instance may only ask for these; anything else is ignored.
constexpr bool IsInstanceCommand(uint32_t id) {
  return id == command::kSettings || id == command::kToggleHide || id == command::kHide ||
         id == command::kShow || id == command::kMemo;
}
