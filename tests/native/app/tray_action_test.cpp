#include "app/tray_action.h"

#include <gtest/gtest.h>

#include "app/commands.h"

namespace {

TEST(DecideTrayAction, FollowsTheCallbackTable) {
  using A = TrayAction;
  using E = TrayEvent;
  struct Row {
    const char* name;
    TrayInput in;  // event, dialog_open, shift, ctrl, held_back, middle_down
    A::Kind kind;
    uint32_t value;
  } rows[] = {
      {"left up", {E::kLeftUp, false, false, false, false, false}, A::kFrontSheetAndRestartViewer, 0},
      {"double-click opens page 0", {E::kLeftDoubleClick, false, false, false, false, false}, A::kOpenSettings, 0},
      {"ctrl double-click: memo page", {E::kLeftDoubleClick, false, false, true, false, false}, A::kOpenSettings, 1},
      {"shift double-click: page 2", {E::kLeftDoubleClick, false, true, false, false, false}, A::kOpenSettings, 2},
      {"shift wins over ctrl", {E::kLeftDoubleClick, false, true, true, false, false}, A::kOpenSettings, 2},
      {"dialog open: select page", {E::kLeftDoubleClick, true, false, true, false, false}, A::kSelectSheetPage, 1},
      {"right up: menu", {E::kRightUp, false, false, false, false, false}, A::kMenu, 0},
      {"right up with dialog: menu after the dialog check", {E::kRightUp, true, false, false, false, false}, A::kMenu, 0},
      {"shift right up: nothing", {E::kRightUp, false, true, false, false, false}, A::kNothing, 0},
      {"right double-click without shift: nothing", {E::kRightDoubleClick, false, false, false, false, false}, A::kNothing, 0},
      {"shift right double-click: countdown", {E::kRightDoubleClick, false, true, false, false, false}, A::kCommand, command::kAlarmCountdown},
      {"shift right double-click, dialog open", {E::kRightDoubleClick, true, true, false, false, false}, A::kNothing, 0},
      {"middle: toggle hide", {E::kMiddleUp, false, false, false, false, false}, A::kCommand, command::kToggleHide},
      {"ctrl middle: empty clipboard", {E::kMiddleUp, false, false, true, false, false}, A::kCommand, command::kEmptyClipboard},
      {"shift middle: plain text", {E::kMiddleUp, false, true, true, false, false}, A::kCommand, command::kPlainText},
      {"middle with dialog: nothing", {E::kMiddleUp, true, false, false, false, false}, A::kNothing, 0},
      {"balloon timeout, held back, middle down", {E::kBalloonTimeout, false, false, false, true, true}, A::kSuppressHoldBackNotice, 0},
      {"balloon timeout, not held back", {E::kBalloonTimeout, false, false, false, false, true}, A::kNothing, 0},
      {"balloon timeout, middle up", {E::kBalloonTimeout, false, false, false, true, false}, A::kNothing, 0},
      {"other", {E::kOther, false, false, false, false, false}, A::kNothing, 0},
  };
  for (const Row& r : rows) {
    const TrayAction a = DecideTrayAction(r.in);
    EXPECT_EQ(a.kind, r.kind) << r.name;
    EXPECT_EQ(a.value, r.value) << r.name;
  }
}

}  // namespace
