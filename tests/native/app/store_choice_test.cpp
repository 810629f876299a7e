// How start-up chooses the settings store from its executable path and the
// command line: a name ending in _o.exe, or the /O switch, selects the INI file.

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "settings/store_selection.h"

namespace {

StoreMode ChosenStore(std::u16string_view exe, std::u16string_view command_line) {
  return SelectStoreMode(exe, ParseSwitch(command_line) == Switch::Ini);
}

TEST(StoreChoice, NameOrSwitchSelectsTheIniFile) {
  struct Row {
    std::u16string_view exe, line;
    StoreMode mode;
  } rows[] = {
      {u"C:\\Tools\\kirabi_o.exe", u"", StoreMode::Ini},
      {u"C:\\Tools\\KIRABI_O.EXE", u"", StoreMode::Ini},
      {u"C:\\Tools\\kirabi_O.Exe", u"/P0", StoreMode::Ini},
      {u"C:\\Tools\\kirabi.exe", u"", StoreMode::Registry},
      {u"C:\\Tools\\kirabi.exe", u"/O", StoreMode::Ini},
      {u"C:\\Tools\\kirabi.exe", u"/o", StoreMode::Ini},
      {u"C:\\Tools\\kirabi.exe", u"/O x", StoreMode::Registry},   // no switch at all
      {u"C:\\Tools\\kirabi.exe", u"/OR", StoreMode::Registry},    // the copy, not the INI start
      {u"C:\\Tools\\kirabi_o.exe.bak", u"", StoreMode::Registry},
      {u"C:\\Tools\\kirabi-o.exe", u"", StoreMode::Registry},      // the low line exactly
      {u"C:\\Tools\\kirabi_o,exe", u"", StoreMode::Registry},      // the full stop exactly
      {u"C:\\_o.exe", u"", StoreMode::Ini},                        // 9 characters: long enough
      {u"\\_o.exe", u"", StoreMode::Registry},                      // 7 characters: too short
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChosenStore(r.exe, r.line), r.mode)
        << std::string(r.exe.begin(), r.exe.end()) << " " << std::string(r.line.begin(), r.line.end());
  }
}

}  // namespace
