#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "app/commands.h"

namespace {

struct SwitchCase {
  std::u16string_view line;
  Switch expected;
};

TEST(ParseSwitch, ComparesWholeLineWithoutRegardToCase) {
  const SwitchCase cases[] = {
      {u"/M", Switch::Memo},       {u"/m", Switch::Memo},          {u"/P", Switch::ToggleHide},
      {u"/P0", Switch::Hide},      {u"/p0", Switch::Hide},         {u"/P1", Switch::Show},
      {u"/X", Switch::Exit},       {u"/x", Switch::Exit},          {u"/O", Switch::Ini},
      {u"/OR", Switch::IniToRegistry}, {u"/oR", Switch::IniToRegistry},
      {u"/RO", Switch::RegistryToIni}, {u"/ro", Switch::RegistryToIni},
      {u"/?", Switch::Help},
      // Anything else is a normal start.
      {u"", Switch::None},         {u"/P0 x", Switch::None},       {u"/P0 ", Switch::None},
      {u" /P0", Switch::None},     {u"/P2", Switch::None},         {u"-P0", Switch::None},
      {u"/ORX", Switch::None},     {u"/", Switch::None},           {u"P0", Switch::None},
      {u"\"/X\"", Switch::None},
  };
  for (const SwitchCase& c : cases) {
    EXPECT_EQ(ParseSwitch(c.line), c.expected) << std::string(c.line.begin(), c.line.end());
  }
}

TEST(ParseSwitch, NonAsciiLettersDoNotFoldIntoSwitches) {
  // Full-width "／Ｐ０" and a Turkish dotless i stay ordinary text.
  EXPECT_EQ(ParseSwitch(u"／Ｐ０"), Switch::None);
  EXPECT_EQ(ParseSwitch(u"/\u0131"), Switch::None);
}

TEST(ActionWithInstanceRunning, FollowsTheRightHandColumn) {
  using A = RunningInstanceAction;
  struct Row {
    Switch s;
    A::Kind kind;
    uint32_t command;
  } rows[] = {
      {Switch::None, A::kAlreadyRunningDialog, 0},
      {Switch::Memo, A::kSendCommand, command::kMemo},
      {Switch::ToggleHide, A::kSendCommand, command::kToggleHide},
      {Switch::Hide, A::kSendCommand, command::kHide},
      {Switch::Show, A::kSendCommand, command::kShow},
      {Switch::Exit, A::kRequestShutdown, 0},
      {Switch::Ini, A::kAlreadyRunningDialog, 0},
      {Switch::IniToRegistry, A::kAlreadyRunningDialog, 0},
      {Switch::RegistryToIni, A::kAlreadyRunningDialog, 0},
      {Switch::Help, A::kAlreadyRunningDialog, 0},
  };
  for (const Row& r : rows) {
    const A a = ActionWithInstanceRunning(r.s);
    EXPECT_EQ(a.kind, r.kind) << int(r.s);
    if (r.kind == A::kSendCommand) {
      EXPECT_EQ(a.command, r.command) << int(r.s);
      // Every forwarded command is one the running instance accepts.
      EXPECT_TRUE(IsInstanceCommand(a.command));
    }
  }
}

TEST(StepWithoutInstance, OnlyMaintenanceSwitchesLeaveTheNormalStart) {
  struct Row {
    Switch s;
    FirstInstanceStep step;
  } rows[] = {
      {Switch::None, FirstInstanceStep::kNormalStart},
      {Switch::Memo, FirstInstanceStep::kNormalStart},
      {Switch::ToggleHide, FirstInstanceStep::kNormalStart},
      {Switch::Hide, FirstInstanceStep::kNormalStart},
      {Switch::Show, FirstInstanceStep::kNormalStart},
      {Switch::Ini, FirstInstanceStep::kNormalStart},
      {Switch::Exit, FirstInstanceStep::kExitAtOnce},
      {Switch::IniToRegistry, FirstInstanceStep::kCopyIniToRegistry},
      {Switch::RegistryToIni, FirstInstanceStep::kCopyRegistryToIni},
      {Switch::Help, FirstInstanceStep::kOpenHelp},
  };
  for (const Row& r : rows) EXPECT_EQ(StepWithoutInstance(r.s), r.step) << int(r.s);
}

TEST(IsInstanceCommand, AcceptsOnlyTheFiveForwardedCommands) {
  const uint32_t accepted[] = {32771, 32776, 32778, 32779, 32790};
  const uint32_t refused[] = {0, 5, 1020, 1263, 32772, 32773, 32774, 32775, 32777, 32792, 32793, 32770};
  for (uint32_t id : accepted) EXPECT_TRUE(IsInstanceCommand(id)) << id;
  for (uint32_t id : refused) EXPECT_FALSE(IsInstanceCommand(id)) << id;
}

TEST(TimerPeriods, StoredValuesOutsideTheirRangeStillGiveAWorkingTimer) {
  struct Row {
    int32_t stored;
    uint32_t display_ms;
    uint32_t clear_ms;
  } rows[] = {
      {-5, 20, 1000},   {0, 20, 1000},   {1, 20, 1000},        {20, 20, 20000},
      {120, 120, 120000}, {500, 500, 500000}, {501, 500, 501000},
      {9999, 500, 9999000},
      {2147483, 500, 2147483000u},  // the largest count of seconds a timer holds
      {2147484, 500, 2147483000u},  // one more would pass the timer's limit
      {INT32_MAX, 500, 2147483000u},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(DisplayTickPeriodMs(r.stored), r.display_ms) << r.stored;
    EXPECT_EQ(AutoClearPeriodMs(r.stored), r.clear_ms) << r.stored;
  }
}

TEST(ExecutableFolder, KeepsTheBackslashOnlyForADriveRoot) {
  struct Row {
    std::u16string_view path, folder;
  } rows[] = {
      {u"C:\\kirabi.exe", u"C:\\"},
      {u"C:\\Tools\\kirabi.exe", u"C:\\Tools"},
      {u"C:\\a\\kirabi.exe", u"C:\\a\\"},       // backslash at index 4: still within five
      {u"C:\\ab\\kirabi.exe", u"C:\\ab"},       // index 5: cut
      {u"\\\\srv\\share\\kirabi.exe", u"\\\\srv\\share"},
      {u"C:\\Program Files\\Kirabi\\kirabi.exe", u"C:\\Program Files\\Kirabi"},
      {u"kirabi.exe", u"kirabi.exe"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ExecutableFolder(r.path), r.folder) << std::string(r.path.begin(), r.path.end());
  }
}

}  // namespace
