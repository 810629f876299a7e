// The system built-ins as a script sees them, through a system that records
// every call: the flags and data handed to the input functions, the styles
// and captions of the dialogs, the arrays written by GETMONITORSRECT and
// GETKEYINPUTDEVICELIST, and the fallbacks of a run without a system.
#include <gtest/gtest.h>

#include "common/utf.h"
#include "script/builtins_system.h"
#include "system_test_support.h"

namespace {

std::string Out(const std::string& expression) { return "CB.SetOutputText(" + expression + ")\n"; }

TEST(SystemBuiltins, ExtendedKeySetHasExactBounds) {
  const struct {
    uint32_t code;
    bool extended;
  } cases[] = {{0x20, false}, {0x21, true}, {0x28, true},  {0x29, false}, {0x2B, false},
               {0x2C, true},  {0x2E, true}, {0x2F, false}, {0x5A, false}, {0x5B, true},
               {0x5D, true},  {0x5E, false}, {0xA2, false}, {0xA3, true},  {0xA4, false},
               {0xA5, true},  {0xB7, true}, {0xB8, false}, {0x41, false}, {0x125, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsExtendedKeyCode(c.code), c.extended) << std::hex << c.code;
  }
}

TEST(SystemBuiltins, KeyboardNameStemCutsAtSecondHash) {
  const struct {
    std::u16string name, stem;
  } cases[] = {
      {u"\\\\?\\HID#VID_046D&PID_C31C&MI_00#7&2a&0&0000#{884b96c3}", u"\\\\?\\HID#VID_046D&PID_C31C&MI_00"},
      {u"\\\\?\\ACPI#PNP0303", u"\\\\?\\ACPI#PNP0303"},
      {u"no hash at all", u"no hash at all"},
      {u"##", u"#"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyboardNameStem(c.name), c.stem);
}

TEST(SystemBuiltins, KeybdEventPassesKeyModulo256AndFlags) {
  const struct {
    std::string args;
    RecordedKey key;
  } cases[] = {
      {"0x25, 1", {0x25, 0, 0x1}},   // left arrow: extended
      {"0x25, 0", {0x25, 0, 0x3}},   // extended key-up
      {"0x41, 1", {0x41, 0, 0x0}},
      {"0x41, 0", {0x41, 0, 0x2}},
      {"321, 7", {0x41, 0, 0x0}},    // 321 mod 256 is 0x41
      {"0xA3, '1'", {0xA3, 0, 0x1}}, // right control
      {"0xA4, 1", {0xA4, 0, 0x0}},   // left menu is not extended
      {"-1, 1", {0xFF, 0, 0x0}},
      {"'46', 0", {0x2E, 0, 0x3}},   // delete, key given as text
  };
  for (const auto& c : cases) {
    RecordingSystem system;
    const ScriptOutcome run = RunSystemScript(Out("KeybdEvent(" + c.args + ")"), &system);
    ASSERT_EQ(run.output, std::vector<std::string>{"1"}) << c.args;
    ASSERT_EQ(system.keybd.size(), 1u) << c.args;
    EXPECT_EQ(system.keybd[0], c.key) << c.args;
  }
}

TEST(SystemBuiltins, SendInputUnicodeSendsFirstUtf16UnitWithFlags) {
  const struct {
    std::string args;
    uint16_t scan;
    uint32_t flags;
  } cases[] = {
      {"'a', 1", u'a', 0x4},
      {"'a', 0", u'a', 0x6},
      {"'abc', 1", u'a', 0x4},
      {"'%', 1", 0x25, 0x5},       // the character code falls in the extended set
      {"'.', 0", 0x2E, 0x7},
      {"'', 1", 0, 0x4},
      {"'日本', 1", 0x65E5, 0x4},
      {"'😀', 1", 0xD83D, 0x4},    // first unit of a surrogate pair
      {"5, 1", u'5', 0x4},         // an integer is sent as its text
  };
  for (const auto& c : cases) {
    RecordingSystem system;
    const ScriptOutcome run = RunSystemScript(Out("SendInputUnicode(" + c.args + ")"), &system);
    ASSERT_EQ(run.output, std::vector<std::string>{"1"}) << c.args;
    ASSERT_EQ(system.send_input.size(), 1u) << c.args;
    EXPECT_EQ(system.send_input[0], (RecordedKey{0, c.scan, c.flags})) << c.args;
  }
  RecordingSystem refusing;
  refusing.send_input_accepts = 0;
  EXPECT_EQ(RunSystemScript(Out("SendInputUnicode('a', 1)"), &refusing).output,
            std::vector<std::string>{"0"});
}

TEST(SystemBuiltins, MouseFunctionsPassFlagsAndData) {
  const struct {
    std::string call;
    RecordedMouse event;
  } cases[] = {
      {"MoveMouse(5, -7)", {0x1, 5, -7, 0}},
      {"MouseWheel(-120)", {0x800, 0, 0, -120}},
      {"MouseButtonLeft(5)", {0x2, 0, 0, 0}},
      {"MouseButtonLeft(0)", {0x4, 0, 0, 0}},
      {"MouseButtonRight(1)", {0x8, 0, 0, 0}},
      {"MouseButtonRight('0')", {0x10, 0, 0, 0}},
      {"MouseButtonMiddle(-1)", {0x20, 0, 0, 0}},
      {"MouseButtonMiddle(0)", {0x40, 0, 0, 0}},
      {"MouseButtonX1(1)", {0x80, 0, 0, 1}},
      {"MouseButtonX1(0)", {0x100, 0, 0, 1}},
      {"MouseButtonX2(1)", {0x80, 0, 0, 2}},
      {"MouseButtonX2(0)", {0x100, 0, 0, 2}},
  };
  for (const auto& c : cases) {
    RecordingSystem system;
    const ScriptOutcome run = RunSystemScript(Out(c.call), &system);
    EXPECT_EQ(run.output, std::vector<std::string>{"1"}) << c.call;
    ASSERT_EQ(system.mouse.size(), 1u) << c.call;
    EXPECT_EQ(system.mouse[0], c.event) << c.call;
  }
}

int32_t g_box_answer = 0;
std::vector<RecordedBox> g_host_boxes;
int32_t HostMessageBox(void* owner, const char16_t* text, const char16_t* caption, uint32_t style) {
  g_host_boxes.push_back({owner, text, caption, style});
  return g_box_answer;
}

TEST(SystemBuiltins, DialogsUseTheHostMessageBoxWithStyleCaptionAndOwner) {
  int owner_window = 0;
  const struct {
    std::string call;
    int32_t answer;
    std::string result;
    std::u16string caption;
    uint32_t style;
  } cases[] = {
      {"Message('t')", 1, "0", u"Message", 0},
      {"TextOut('t', '')", 1, "0", u"", 0},
      {"MessageBox('t', 'C')", 1, "0", u"C", 0},
      {"Question('t')", 6, "1", u"Question", 36},
      {"QuestionYesNo('t')", 7, "0", u"Question", 36},
      {"Question_YesNo('t')", 0, "0", u"Question", 36},
      {"QuestionOkCancel('t')", 1, "1", u"Question", 33},
      {"Question_OkCancel('t')", 2, "0", u"Question", 33},
      {"QuestionYesNoCancel('t')", 6, "1", u"Question", 35},
      {"QuestionYesNoCancel('t')", 7, "0", u"Question", 35},
      {"Question_YesNoCancel('t')", 2, "-1", u"Question", 35},  // closed with the close box
      {"QuestionYesNoCancel('t')", 0, "-1", u"Question", 35},   // the box failed
      {"Warning('t')", 1, "0", u"Warning", 48},
      {"Information('t')", 1, "0", u"Information", 64},
      {"Error('t', 'Bad')", 1, "0", u"Bad", 16},
  };
  for (const auto& c : cases) {
    g_host_boxes.clear();
    g_box_answer = c.answer;
    RecordingSystem system;
    const ScriptOutcome run = RunSystemScript(Out(c.call), &system, &owner_window, HostMessageBox);
    EXPECT_EQ(run.output, std::vector<std::string>{c.result}) << c.call;
    ASSERT_EQ(g_host_boxes.size(), 1u) << c.call;
    EXPECT_EQ(g_host_boxes[0].owner, &owner_window) << c.call;
    EXPECT_EQ(g_host_boxes[0].text, u"t") << c.call;
    EXPECT_EQ(g_host_boxes[0].caption, c.caption) << c.call;
    EXPECT_EQ(g_host_boxes[0].style, c.style) << c.call;
  }
}

TEST(SystemBuiltins, RunWithoutSystemStillUsesTheHostMessageBox) {
  g_host_boxes.clear();
  g_box_answer = 6;
  const ScriptOutcome run = RunSystemScript(Out("Question('日本語', '題')"), nullptr, nullptr, HostMessageBox);
  EXPECT_EQ(run.output, std::vector<std::string>{"1"});
  ASSERT_EQ(g_host_boxes.size(), 1u);
  EXPECT_EQ(g_host_boxes[0].text, u"日本語");
  EXPECT_EQ(g_host_boxes[0].caption, u"題");
}

TEST(SystemBuiltins, RunWithoutSystemGivesFallbackResults) {
  const struct {
    std::string expression, result;
  } cases[] = {
      {"GetCursorPosX()", "-1"},          {"SetCursorPos(1, 2)", "0"},
      {"SendInputUnicode('a', 1)", "0"},  {"MoveMouse(1, 1)", "1"},
      {"KeybdEvent(65, 1)", "1"},         {"GetKeyState(65)", "0"},
      {"'[' + GetClipboardText() + ']'", "[]"}, {"SetClipboardText('x')", "0"},
      {"GetImeState()", "-1"},            {"SetImeState(1)", "0"},
      {"GetMonitorsRect('L', 'T', 'R', 'B')", "0"}, {"GetKeyInputDeviceList('K')", "0"},
      {"Question('no box')", "0"},        {"QuestionYesNoCancel('no box')", "-1"},
      {"'[' + Input('x') + ']'", "[]"},   {"GetQV_ScriptVersion()", "15601"},
  };
  for (const auto& c : cases) {
    const ScriptOutcome run = RunSystemScript(Out(c.expression), nullptr);
    EXPECT_EQ(run.output, std::vector<std::string>{c.result}) << c.expression;
    EXPECT_TRUE(run.errors.empty()) << c.expression;
  }
}

TEST(SystemBuiltins, InputGivesTextAfterOkAndEmptyAfterCancel) {
  RecordingSystem system;
  system.input_answer = u"typed";
  ScriptOutcome run = RunSystemScript(Out("Input('Message?')") + Out("Input('m', '')") +
                                          Out("Input('m', 'T')"),
                                      &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"typed", "typed", "typed"}));
  EXPECT_EQ(system.input_calls, (std::vector<std::u16string>{u"Input|Message?", u"Input|m", u"T|m"}));

  system.input_ok = false;
  run = RunSystemScript(Out("'[' + Input('m') + ']'"), &system);
  EXPECT_EQ(run.output, std::vector<std::string>{"[]"});

  // The Cancel button follows the run's language, also after QVS_LANG.
  system.input_ok = true;
  system.input_japanese.clear();
  RunSystemScript("Input('a')\nDefine('QVS_LANG', 1)\nInput('b')\n", &system);
  EXPECT_EQ(system.input_japanese, (std::vector<bool>{false, true}));
}

TEST(SystemBuiltins, InputCutsAtMostLengthWithoutSplittingASurrogatePair) {
  RecordingSystem system;
  system.input_answer = std::u16string(5000, u'x');
  ScriptOutcome run = RunSystemScript(Out("StrLen(Input('m'))"), &system);
  EXPECT_EQ(run.output, std::vector<std::string>{"4095"});
  system.input_answer = std::u16string(4094, u'x') + u"😀😀";
  run = RunSystemScript(Out("StrLen(Input('m'))"), &system);
  EXPECT_EQ(run.output, std::vector<std::string>{"4094"});
}

TEST(SystemBuiltins, TimeTicksMetricsAndSleep) {
  RecordingSystem system;
  system.ticks = 0x80000005u;  // after 24.8 days the count is negative
  const ScriptOutcome run = RunSystemScript(
      Out("GetCurrentYear()") + Out("GetCurrentMonth()") + Out("GetCurrentDay()") +
          Out("GetCurrentDayOfWeek()") + Out("GetCurrentHour()") + Out("GetCurrentMinute()") +
          Out("GetCurrentSecond()") + Out("GetCurrentMilliseconds()") + Out("GetTickCount()") +
          Out("GetSystemMetrics('7')") + Out("Sleep(25)") + "Sleep(-1)\nSleep(0)\n" +
          Out("MessageBeep(48)"),
      &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"2026", "12", "8", "2", "3", "4", "5", "678",
                                                  "-2147483643", "70", "0", "49"}));
  EXPECT_EQ(system.sleeps, (std::vector<uint32_t>{25, 0}));
}

TEST(SystemBuiltins, CursorKeyStateClipboardWindowAndIme) {
  int owner_window = 0;
  RecordingSystem system;
  system.key_state = static_cast<int16_t>(0xFF81);  // down and toggled
  system.clipboard = u"クリップ";
  system.has_clipboard = true;
  system.ime_answer = 1;
  const ScriptOutcome run = RunSystemScript(
      Out("GetCursorPosX() * 100 + GetCursorPosY()") + Out("GetKeyState(VK_CAPITAL)") +
          Out("GetClipboardText()") + Out("SetClipboardText('新しい')") + Out("GetClipboardText()") +
          Out("GetActiveWindowTitle()") + Out("GetImeState()") + Out("SetImeState(5)") +
          Out("SetImeState(0)"),
      &system, &owner_window);
  EXPECT_EQ(run.output, (std::vector<std::string>{"1122", "-127", "クリップ", "1", "新しい", "Title",
                                                  "1", "1", "1"}));
  EXPECT_EQ(system.clipboard_owner, &owner_window);
  EXPECT_EQ(system.ime_requests,
            (std::vector<std::pair<uint32_t, uint32_t>>{{5, 0}, {6, 1}, {6, 0}}));
}

TEST(SystemBuiltins, MonitorsRectFillsFourOrSixArrays) {
  RecordingSystem system;
  system.monitors = {{0, 0, 1920, 1080}, {-1280, 100, 0, 1124}};
  ScriptOutcome run = RunSystemScript(
      "l = 'old'\nt[5] = 9\n" + Out("GetMonitorsRect('l', t, 'R', 'b')") +
          Out("'' + l[0] + ',' + t[0] + ',' + r[0] + ',' + b[0]") +
          Out("'' + l[1] + ',' + t[1] + ',' + r[1] + ',' + b[1]") + Out("ArraySize(t)") +
          Out("TypeOf('W')") + Out("'' + l"),
      &system);
  EXPECT_TRUE(run.errors.empty());
  EXPECT_EQ(run.output, (std::vector<std::string>{"2", "0,0,1920,1080", "-1280,100,0,1124", "2",
                                                  "undefined", "L"}));

  run = RunSystemScript(Out("GetMonitorsRect('l', 't', 'r', 'b', 'w', 'h')") +
                            Out("'' + w[0] + 'x' + h[0] + ' ' + w[1] + 'x' + h[1]"),
                        &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"2", "1920x1080 1280x1024"}));

  system.monitors_ok = false;
  run = RunSystemScript("l[0] = 5\n" + Out("GetMonitorsRect('l', 't', 'r', 'b')") + Out("l[0]"), &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"0", "5"}));
}

TEST(SystemBuiltins, MonitorsRectRejectsAnInvalidNameAndChangesNothing) {
  const struct {
    std::string args;
  } cases[] = {{"'l', 't', 'r', 'b', '1x'"}, {"'l', 't', 'r', 'b', 'w', 'h h'"}, {"'', 't', 'r', 'b'"},
               {"'l', 't', 'r', 'b-'"}};
  for (const auto& c : cases) {
    RecordingSystem system;
    system.monitors = {{0, 0, 10, 10}};
    const ScriptOutcome run = RunSystemScript(
        "l[0] = 'keep'\nt = 3\n" + Out("'' + GetMonitorsRect(" + c.args + ") + l[0] + t") + Out("'later'"),
        &system);
    EXPECT_EQ(run.output, std::vector<std::string>{"-1keep3"}) << c.args;
    ASSERT_EQ(run.errors.size(), 1u) << c.args;
    EXPECT_EQ(run.errors[0].code, 115);
    EXPECT_EQ(run.errors[0].line, -1);
    EXPECT_EQ(run.errors[0].text, "The array variable name is invalid in function GetMonitorsRect().");
  }
}

TEST(SystemBuiltins, KeyInputDeviceListStoresKeyboardNameStems) {
  RecordingSystem system;
  system.keyboards = {u"\\\\?\\HID#VID_1&PID_2#7&1#{guid}", u"\\\\?\\ACPI#PNP0303#4&1#{guid}", u"plain"};
  ScriptOutcome run = RunSystemScript(
      "k = 'was text'\n" + Out("GetKeyInputDeviceList('k')") + Out("k[0]") + Out("k[1]") + Out("k[2]") +
          Out("ArraySize(k)") + Out("'' + k"),
      &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"3", "\\\\?\\HID#VID_1&PID_2", "\\\\?\\ACPI#PNP0303",
                                                  "plain", "3", "K"}));

  // No keyboard: an old array loses its elements and stays an integer.
  system.keyboards.clear();
  run = RunSystemScript("k[4] = 1\n" + Out("GetKeyInputDeviceList(k)") + Out("TypeOf('k')"), &system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"0", "int"}));

  run = RunSystemScript(Out("GetKeyInputDeviceList('9k')"), &system, nullptr, nullptr, true);
  EXPECT_EQ(run.output, std::vector<std::string>{"-1"});
  ASSERT_EQ(run.errors.size(), 1u);
  EXPECT_EQ(run.errors[0].code, 115);
  EXPECT_EQ(run.errors[0].text,
            "GetKeyInputDeviceList()で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
}

}  // namespace
