#include "app/tray_action.h"

#include "app/commands.h"

namespace {

uint32_t PageForModifiers(const TrayInput& in) {
  if (in.shift) return 2;
  if (in.ctrl) return 1;
  return 0;
}

}  // namespace

TrayAction DecideTrayAction(const TrayInput& in) {
  using A = TrayAction;
  switch (in.event) {
    case TrayEvent::kLeftUp:
      return {A::kFrontSheetAndRestartViewer, 0};
    case TrayEvent::kLeftDoubleClick:
      return {in.dialog_open ? A::kSelectSheetPage : A::kOpenSettings, PageForModifiers(in)};
    case TrayEvent::kRightUp:
      if (in.shift) return {A::kNothing, 0};
      return {A::kMenu, 0};
    case TrayEvent::kRightDoubleClick:
      if (in.shift && !in.dialog_open) return {A::kCommand, command::kAlarmCountdown};
      return {A::kNothing, 0};
    case TrayEvent::kMiddleUp:
      if (in.dialog_open) return {A::kNothing, 0};
      if (in.shift) return {A::kCommand, command::kPlainText};
      if (in.ctrl) return {A::kCommand, command::kEmptyClipboard};
      return {A::kCommand, command::kToggleHide};
    case TrayEvent::kBalloonTimeout:
      if (in.script_held_back && in.middle_button_down) return {A::kSuppressHoldBackNotice, 0};
      return {A::kNothing, 0};
    default:
      return {A::kNothing, 0};
  }
}
