#include "display/system_format.h"

#include <gtest/gtest.h>

#include <string>

#include "common/utf.h"
#include "fake_system_sources.h"

namespace {

SystemSnapshot Sample() {
  SystemSnapshot s;
  s.processor_load = 37;
  s.memory.total_physical = 16 * kGiB;
  s.memory.available_physical = 3 * kGiB;
  s.memory.total_page_file = 20 * kGiB;
  s.memory.available_page_file = 5 * kGiB;
  s.memory.total_virtual = 128 * 1024 * kGiB;
  s.memory.available_virtual = 100 * 1024 * kGiB;
  s.memory.available_extended_virtual = 0;
  s.power.battery_percent = 80;
  s.cursor = {1234, -5};
  return s;
}

struct Formatted {
  std::string text;
  bool warning;
};

class SystemFormatTest : public ::testing::Test {
 protected:
  SystemFormatTest() {
    drives.drives[u'C'] = {3 * kGiB + 5, 100 * kGiB};
  }

  Formatted Format(std::u16string_view pattern, const SystemSnapshot& s = Sample()) {
    TextBuffer out;
    out.assign(u"left over");
    const bool warning = FormatSystemInfo(out, s, pattern, watch, drives);
    return {Utf16ToUtf8(out.view()), warning};
  }

  FakeSystemSources drives;
  DriveWatch watch;
};

TEST_F(SystemFormatTest, Tokens) {
  struct Row {
    std::u16string_view pattern;
    const char* expected;
  } rows[] = {
      {u"Processor:{c}% Available Memory:{mM}/{MM}MB",
       "Processor: 37% Available Memory:3072/16384MB"},
      {u"CPU利用率:{c}% 空きメモリ:{mM}/{MM}MB", "CPU利用率: 37% 空きメモリ:3072/16384MB"},
      {u"", ""},
      {u"{b}", " 80"},
      {u"{MX},{MY}", "1234,  -5"},
      {u"{mB}|{mK}|{mG}|{MT}", "3221225472|3145728|   3|   0"},
      {u"{PG} {pG} {VT} {vT} {eK} {xG}", "  20    5  128  100    0    0"},
      {u"a\\nb", "a\nb"},
      {u"\\\\ \\{ \\} \\x", "\\ { } \\x"},
      {u"\\{c}", "{c}"},
      {u"{ lone", "{ lone"},
      {u"{x}", "{x}"},           // three characters: not a token
      {u"{}", "{}"},
      {u"{{c}}", "   0}"},       // "{{c}" is a memory token of letter "{"
      {u"{c", "{c"},
      {u"{MX", "{MX"},
      {u"{mMM", "{mMM"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Format(row.pattern).text, row.expected) << Utf16ToUtf8(row.pattern);
}

TEST_F(SystemFormatTest, BatteryAndLoadWidths) {
  SystemSnapshot s = Sample();
  s.power.battery_percent = kBatteryUnknown;
  s.processor_load = 100;
  EXPECT_EQ(Format(u"{b}|{c}", s).text, "---|100");
  s.power.battery_percent = 5;
  s.processor_load = -1;
  EXPECT_EQ(Format(u"{b}|{c}", s).text, "  5| -1");
}

TEST_F(SystemFormatTest, DriveTokens) {
  EXPECT_EQ(Format(u"{dCG}/{DCG}GB").text, "   3/ 100GB");
  EXPECT_EQ(Format(u"{DCB}").text, "107374182400");
  EXPECT_EQ(Format(u"{dcM}").text, "3072");
  // A missing drive prints 0 and never warns.
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE['Q' - 'A'] = 100;
  EXPECT_EQ(Format(u"{dQG}").text, "   0");
  EXPECT_FALSE(Format(u"{dQG}").warning);
  // Another quantity letter prints 0 without asking the drive.
  drives.drives_asked.clear();
  EXPECT_EQ(Format(u"{xCG}").text, "   0");
  EXPECT_EQ(drives.drives_asked, u"");
}

TEST_F(SystemFormatTest, WarnsOnlyForWatchedDrivesNamedInThePattern) {
  watch.WATCHDRIVEFREE_SIZE['C' - 'A'] = 4;
  watch.WATCHDRIVEFREE_UNIT['C' - 'A'] = 3;  // GB: 3 < 4
  EXPECT_FALSE(Format(u"{dCG}").warning) << "WarnDiskSize off";
  watch.WarnDiskSize = true;
  EXPECT_TRUE(Format(u"{dCG}").warning);
  EXPECT_TRUE(Format(u"{DCB}").warning);
  EXPECT_TRUE(Format(u"{dcG}").warning) << "lower-case letter names drive C";
  EXPECT_FALSE(Format(u"{mM} {c}").warning) << "drive not named";
  watch.WATCHDRIVEFREE_SIZE['C' - 'A'] = 3;
  EXPECT_FALSE(Format(u"{dCG}").warning) << "3 GB is not below 3";
  watch.WATCHDRIVEFREE_SIZE['C' - 'A'] = 0;
  EXPECT_FALSE(Format(u"{dCG}").warning) << "threshold 0: not watched";
}

TEST(DriveIsShort, UnitsAndPercent) {
  struct Row {
    uint32_t threshold;
    uint8_t unit;
    DriveSpace space;
    bool is_short;
  } rows[] = {
      {10, 0, {95, 1000}, true},             // 9.5 % counts as 9
      {10, 0, {100, 1000}, false},
      {10, 0, {0, 0}, false},                // total 0: no percent
      {1, 0, {0, 1000}, true},
      {100, 0, {999, 1000}, true},
      {500, 2, {499 * kMiB + kMiB - 1, 0}, true},
      {500, 2, {500 * kMiB, 0}, false},
      {2, 1, {2047, 0}, true},
      {1, 6, {1023ull * 1024 * 1024 * 1024 * 1024 * 1024, 0}, true},
      {5, 9, {4, 0}, true},                  // unknown unit code: bytes
      {10, 0, {~0ull, ~0ull}, false},        // 100 %: no overflow in free x 100
      {100, 0, {~0ull - 1, ~0ull}, true},    // just below 100 %
  };
  for (const Row& row : rows) {
    DriveWatch watch;
    watch.WarnDiskSize = true;
    watch.WATCHDRIVEFREE_SIZE[3] = row.threshold;
    watch.WATCHDRIVEFREE_UNIT[3] = row.unit;
    EXPECT_EQ(DriveIsShort(watch, u'D', row.space), row.is_short)
        << row.threshold << " unit " << int(row.unit) << " free " << row.space.free_to_user;
    EXPECT_FALSE(DriveIsShort(watch, u'1', row.space)) << "not a drive letter";
  }
}

TEST(DriveWatchOf, TakesTheSettingsFields) {
  Settings s;
  s.WarnDiskSize = 1;
  s.WATCHDRIVEFREE_SIZE[2] = 10;
  s.WATCHDRIVEFREE_UNIT[2] = 262;  // low byte 6
  s.WATCHDRIVEFREE_SIZE[25] = -1;  // unsigned threshold
  const DriveWatch watch = DriveWatchOf(s);
  EXPECT_TRUE(watch.WarnDiskSize);
  EXPECT_EQ(watch.WATCHDRIVEFREE_SIZE[2], 10u);
  EXPECT_EQ(watch.WATCHDRIVEFREE_UNIT[2], 6);
  EXPECT_EQ(watch.WATCHDRIVEFREE_SIZE[25], 4294967295u);
}

TEST_F(SystemFormatTest, LengthLimitStopsAtLastWholePiece) {
  std::u16string pattern(600, u'z');
  EXPECT_EQ(Format(pattern).text, std::string(519, 'z'));

  // 516 + "{c}" (3) = 519 fits; the next character would be the 520th.
  pattern.assign(516, u'.');
  pattern += u"{c}{c}";
  Formatted f = Format(pattern);
  EXPECT_EQ(f.text.size(), 519u);
  EXPECT_EQ(f.text.substr(516), " 37");

  // The verdict found before the cut stands; a drive cut off does not warn.
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE['C' - 'A'] = 4;
  watch.WATCHDRIVEFREE_UNIT['C' - 'A'] = 3;
  pattern = u"{dCG}" + std::u16string(520, u'.');
  EXPECT_TRUE(Format(pattern).warning);
  drives.drives_asked.clear();
  pattern = std::u16string(516, u'.') + u"{dCG}";
  EXPECT_FALSE(Format(pattern).warning);
}

}  // namespace
