// qvs's console host: command line, script file decoding, the fixed clock,
// the message-box answers, INPUT from a stream and the CB. functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "script/console_system.h"
#include "script/host_functions.h"
#include "script/qv_script.h"

namespace {

std::string ReadBack(std::FILE* file) {
  std::rewind(file);
  std::string text;
  int c;
  while ((c = std::fgetc(file)) != EOF) text += static_cast<char>(c);
  return text;
}

TEST(QvsArguments, AcceptsTheDocumentedForms) {
  QvsOptions options;
  std::string error;
  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"a.qvs"}, false, options, error));
  EXPECT_EQ(options.file, "a.qvs");
  EXPECT_FALSE(options.from_text);
  EXPECT_FALSE(options.japanese);

  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"--lang", "ja", "--result", "-e", "x = 1"},
                                false, options, error));
  EXPECT_TRUE(options.from_text);
  EXPECT_EQ(options.text, "x = 1");
  EXPECT_TRUE(options.japanese);
  EXPECT_TRUE(options.print_result);

  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"--lang", "en", "f"}, true, options, error));
  EXPECT_FALSE(options.japanese);
  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"f"}, true, options, error));
  EXPECT_TRUE(options.japanese);  // the environment's choice stands without --lang

  ASSERT_TRUE(ParseQvsArguments(
      std::vector<std::string>{"--answer", "yes,No,close", "--answer", "7", "--now", "2026-02-03 04:05:06.007", "f"},
      false, options, error));
  EXPECT_EQ(options.answers, (std::vector<int32_t>{6, 7, 2, 7}));
  ASSERT_TRUE(options.now.has_value());
  EXPECT_EQ(options.now->milliseconds, 7);
  EXPECT_EQ(options.now->day_of_week, 2);
  EXPECT_FALSE(options.memory_limit.has_value());

  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"--memory-limit", "64", "f"}, false, options, error));
  EXPECT_EQ(options.memory_limit, std::size_t(64) << 20);
  ASSERT_TRUE(ParseQvsArguments(std::vector<std::string>{"--memory-limit", "0", "f"}, false, options, error));
  EXPECT_EQ(options.memory_limit, std::size_t(0));
}

TEST(QvsArguments, RefusesUsageErrorsWithAReason) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--lang"},
      {"--lang", "fr", "f"},
      {"--now", "2026-02-30 00:00:00", "f"},
      {"--answer", "maybe", "f"},
      {"--answer", "yes,", "f"},
      {"-e"},
      {"a", "b"},
      {"-e", "x", "b"},
      {"--bogus", "f"},
      {"--memory-limit", "f"},
      {"--memory-limit", "-1", "f"},
      {"--memory-limit", "12MB", "f"},
      {"--memory-limit", "99999999999", "f"},
  };
  for (const auto& args : cases) {
    QvsOptions options;
    std::string error;
    EXPECT_FALSE(ParseQvsArguments(args, false, options, error)) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty());
  }
}

TEST(LocalTimeText, ParsesValidAndRefusesImpossibleTimes) {
  const struct {
    const char* text;
    bool ok;
    int day_of_week;
  } cases[] = {
      {"2026-12-08 03:04:05.678", true, 2}, {"2024-02-29 23:59:59", true, 4},
      {"2000-01-01 00:00:00.000", true, 6}, {"2023-02-29 00:00:00", false, 0},
      {"1900-02-29 00:00:00", false, 0},    {"2026-13-01 00:00:00", false, 0},
      {"2026-04-31 00:00:00", false, 0},    {"2026-01-01 24:00:00", false, 0},
      {"2026-01-01 00:60:00", false, 0},    {"2026-01-01 00:00:60", false, 0},
      {"2026-01-01 00:00:00.12", false, 0}, {"2026-01-01T00:00:00", false, 0},
      {"2026-1-01 00:00:00", false, 0},     {"2026-01-01 00:00:00 ", false, 0},
      {"", false, 0},
  };
  for (const auto& c : cases) {
    ScriptLocalTime time;
    EXPECT_EQ(ParseLocalTime(c.text, time), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(time.day_of_week, c.day_of_week) << c.text;
    }
  }
}

TEST(ScriptFile, DecodesEveryAcceptedEncoding) {
  const struct {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"x = 1", u"x = 1"},
      {"\xEF\xBB\xBFx", u"x"},
      {std::string("\xFF\xFEx\0\xE5\x65", 6), u"x\u65E5"},
      {std::string("\xFE\xFF\0x\x65\xE5", 6), u"x\u65E5"},
      {"\xE6\x97\xA5", u"\u65E5"},
      {"a\xFFz", u"a\uFFFDz"},  // broken UTF-8 is replaced, not refused
      {"", u""},
  };
  for (const auto& c : cases) {
    std::u16string text;
    ASSERT_TRUE(DecodeScriptFile(c.bytes, text));
    EXPECT_EQ(text, c.text);
  }
  std::u16string text;
  EXPECT_FALSE(DecodeScriptFile(std::string("\xFF\xFEx", 3), text));
}

TEST(ErrorLine, DropsTrailingLineBreaksOnly) {
  EXPECT_EQ(FormatErrorLine(102, 3, u"Runtime error: x\n"), "error 102 line 3: Runtime error: x");
  EXPECT_EQ(FormatErrorLine(101, 2, u"a\nb\r\n"), "error 101 line 2: a\nb");
  EXPECT_EQ(FormatErrorLine(115, -1, u"\u65E5"), "error 115 line -1: \xE6\x97\xA5");
}

TEST(ConsoleSystem, AnswersBoxesInOrderThenWithTheFirstButton) {
  std::FILE* dialogs = std::tmpfile();
  ASSERT_NE(dialogs, nullptr);
  ConsoleSystem system(dialogs, nullptr);
  const int32_t answers[] = {7, 2};
  system.QueueAnswers(answers);
  EXPECT_EQ(system.ShowMessageBox({}, u"a", u"Q", 36), 7);
  EXPECT_EQ(system.ShowMessageBox({}, u"b", u"", 35), 2);
  EXPECT_EQ(system.ShowMessageBox({}, u"c", u"Q", 36), 6);
  EXPECT_EQ(system.ShowMessageBox({}, u"d", u"M", 0), 1);
  EXPECT_EQ(system.ShowMessageBox({}, u"e", u"M", 33), 1);
  EXPECT_EQ(ReadBack(dialogs), "box 36 [Q] a\nbox 35 [] b\nbox 36 [Q] c\nbox 0 [M] d\nbox 33 [M] e\n");
  std::fclose(dialogs);
}

TEST(ConsoleSystem, InputReadsLinesAndCancelsAtTheEnd) {
  std::FILE* input = std::tmpfile();
  ASSERT_NE(input, nullptr);
  std::fputs("one\r\n\n\xE6\x97\xA5 two", input);
  std::rewind(input);
  ConsoleSystem system(nullptr, input);
  std::u16string text;
  EXPECT_TRUE(system.InputDialog({}, u"m", u"t", false, text));
  EXPECT_EQ(text, u"one");
  EXPECT_TRUE(system.InputDialog({}, u"m", u"t", false, text));
  EXPECT_EQ(text, u"");
  EXPECT_TRUE(system.InputDialog({}, u"m", u"t", false, text));
  EXPECT_EQ(text, u"\u65E5 two");  // a last line without a line feed still counts
  EXPECT_FALSE(system.InputDialog({}, u"m", u"t", false, text));
  EXPECT_EQ(text, u"");
  std::fclose(input);
}

TEST(ConsoleSystem, FixedClockAndEnvironment) {
  ConsoleSystem system(nullptr, nullptr);
  ScriptLocalTime fixed{2030, 1, 2, 3, 4, 5, 6, 7};
  system.FixLocalTime(fixed);
  EXPECT_EQ(system.LocalTime().year, 2030);
  EXPECT_EQ(system.LocalTime().milliseconds, 7);

  std::u16string value;
  EXPECT_FALSE(system.GetEnv(u"KIRABI_CONSOLE_TEST_ABSENT", value));
  EXPECT_TRUE(system.SetEnv(u"KIRABI_CONSOLE_TEST", u"\u65E5"));
  ASSERT_TRUE(system.GetEnv(u"KIRABI_CONSOLE_TEST", value));
  EXPECT_EQ(value, u"\u65E5");
  EXPECT_TRUE(system.SetEnv(u"KIRABI_CONSOLE_TEST", u""));
  ASSERT_TRUE(system.GetEnv(u"KIRABI_CONSOLE_TEST", value));  // empty, not deleted
  EXPECT_EQ(value, u"");
  EXPECT_FALSE(system.SetEnv(u"", u"x"));
  EXPECT_FALSE(system.SetEnv(u"A=B", u"x"));
}

TEST(ConsoleHost, RunsCallsLikeTheProgramsHost) {
  const struct {
    std::u16string name;
    std::vector<HostValue> args;
    std::string out, notices;
    bool string_result;
  } cases[] = {
      {u"SETOUTPUTTEXT", {{1, 0, u"hi"}}, "hi\n", "", false},
      {u"setoutputtext", {{0, -5, u""}}, "-5\n", "", false},
      {u"SETOUTPUTTEXT$", {{1, 0, u"x"}}, "Unknown application provided function: CB.SETOUTPUTTEXT$(args:1)\n", "", false},
      {u"SETOUTPUTTEXT", {}, "Unknown application provided function: CB.SETOUTPUTTEXT(args:0)\n", "", false},
      {u"FORCEALARM", {{0, 1, u""}}, "", "", false},
      {u"FORCEALARM", {}, "Unknown application provided function: CB.FORCEALARM(args:0)\n", "", false},
      {u"FADEIN", {{0, 1, u""}, {0, 2, u""}}, "", "", false},
      {u"SHELLNOTIFY", {{1, 0, u"n"}, {1, 0, u"3"}}, "", "notify 3: n\n", false},
      {u"SHELLNOTIFY", {{1, 0, u"n"}, {0, 9, u""}}, "", "notify 0: n\n", false},
      {u"GETCLIPBOARDTEXTCACHE", {}, "", "", true},
  };
  for (const auto& c : cases) {
    std::FILE* out = std::tmpfile();
    std::FILE* notices = std::tmpfile();
    ASSERT_TRUE(out && notices);
    std::vector<HostValue> args = c.args;
    HostValue result;
    HostCall call{c.name.c_str(), args.empty() ? nullptr : args.data(), static_cast<int32_t>(args.size()),
                  &result};
    RunConsoleHostCall(call, false, out, notices);
    EXPECT_EQ(ReadBack(out), c.out);
    EXPECT_EQ(ReadBack(notices), c.notices);
    EXPECT_EQ(result.isString != 0, c.string_result);
    std::fclose(out);
    std::fclose(notices);
  }
}

}  // namespace
