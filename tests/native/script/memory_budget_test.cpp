#include "script/memory_budget.h"

#include <gtest/gtest.h>

#include <string>

#include "core_harness.h"
#include "script/qv_script.h"
#include "script/value.h"

namespace {

std::size_t g_held = 0;
std::size_t Held(const void*) { return g_held; }

TEST(ScriptMemoryBudget, StopsOnlyWhatTheRunReallyCannotHold) {
  ScriptMemoryBudget budget;
  g_held = 100;
  budget.Start(1000, Held, nullptr);
  EXPECT_NO_THROW(budget.Charge(900));  // 100 held + 900 = the limit
  // The estimate is over, but values were freed meanwhile: measured again.
  g_held = 200;
  EXPECT_NO_THROW(budget.Charge(800));
  g_held = 999;
  EXPECT_THROW(budget.Charge(2), ScriptMemoryExceeded);
  EXPECT_THROW(budget.Charge(SIZE_MAX), ScriptMemoryExceeded);  // no overflow in the sum
  g_held = 0;
  EXPECT_THROW(budget.Charge(1001), ScriptMemoryExceeded);

  budget.Start(0, Held, nullptr);  // no limit
  g_held = SIZE_MAX;
  EXPECT_NO_THROW(budget.Charge(SIZE_MAX));
  EXPECT_NO_THROW(budget.Charge(SIZE_MAX));

  g_held = 1200;  // a run that starts above its limit is stopped at its first charge
  budget.Start(1000, Held, nullptr);
  EXPECT_THROW(budget.Charge(1), ScriptMemoryExceeded);
  g_held = 10;  // and goes on once it holds less again
  EXPECT_NO_THROW(budget.Charge(990));
  g_held = 1000;
  EXPECT_THROW(budget.Charge(1), ScriptMemoryExceeded);

  ScriptMemoryBudget never_started;
  EXPECT_NO_THROW(never_started.Charge(SIZE_MAX));
}

TEST(ScriptMemoryBudget, ValueBytesCountTextsAndElements) {
  ScriptValue v = MakeString("abcd");
  EXPECT_EQ(ScriptValueBytes(v), 4u);
  ElementAt(v, 2) = MakeString("xyz");
  EXPECT_EQ(ScriptValueBytes(v), 4u + 3 * sizeof(ScriptValue) + 3u);
}

class ScriptMemoryLimitTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = ScriptMemoryLimit(); }
  void TearDown() override { SetScriptMemoryLimit(saved_); }
  std::size_t saved_ = 0;
};

TEST_F(ScriptMemoryLimitTest, GrowthBeyondTheBudgetIsAnOrderlyErrorWithTheLine) {
  SetScriptMemoryLimit(std::size_t(1) << 20);  // 1 MB
  const struct {
    const char* name;
    const char* script;
    int32_t line;
  } cases[] = {
      {"doubling string", "s$ = 'x'\nwhile (1) {\n  s$ = s$ + s$\n}", 3},
      {"doubling with +=", "s$ = 'x'\nloop {\n  s$ += s$\n}", 3},
      {"RESIZE", "x = 1\nRESIZE('s', 100000000)", 2},
      {"array index", "a[50000000] = 1", 1},
      {"array filled in order", "i = 0\nloop {\n  a[i] = i\n  ++i\n}", 3},
      {"PADLEFT", "x = 0\ny = 0\ns$ = PADLEFT('a', 2000000000)", 3},
      {"REPLACE", "s$ = PADLEFT('', 1000, 'a')\nt$ = REPLACE(s$, 'a', PADLEFT('', 5000, 'b'))", 2},
      {"SPLIT", "s$ = PADLEFT('', 200000, ',')\nn = SPLIT(s$, ',', 'parts')", 2},
      {"copies", "s$ = PADLEFT('', 300000, 'a')\nb$ = s$\nc$ = s$\nd$ = s$", 4},
      {"inside a function", "func f(n) {\n  RESIZE('s', n)\n}\nf(100000000)", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // The loops are endless without the budget: only the error ends them.
    ScriptOutcome o = RunScriptText(c.script);
    ASSERT_EQ(o.errors.size(), 1u);
    EXPECT_EQ(o.errors[0].code, 106);
    EXPECT_EQ(o.errors[0].line, c.line);
    EXPECT_EQ(o.errors[0].text, "Runtime Error: Memory limit (1 MB) exceeded at line " + std::to_string(c.line) + "\n");
    EXPECT_EQ(o.result, 0);
  }
  ScriptOutcome ja = RunScriptText("s$ = 'x'\nwhile (1) {\n  s$ = s$ + s$\n}", {.language = 1});
  ASSERT_EQ(ja.errors.size(), 1u);
  EXPECT_EQ(ja.errors[0].text, "Runtime Error: メモリ使用量が上限(1MB)を超えました。行番号:3\n");
}

TEST_F(ScriptMemoryLimitTest, FreedMemoryIsNotHeldAgainstTheRun) {
  SetScriptMemoryLimit(std::size_t(1) << 20);
  // 100 rounds of building and dropping 600 KB stay inside 1 MB.
  ScriptOutcome o = RunScriptText(
      "for (i = 0, i < 100, i++) {\n"
      "  s$ = PADLEFT('', 600000, 'a')\n"
      "  RESIZE('arr', 5000)\n"
      "  ARRAYINIT('arr')\n"
      "  s$ = ''\n"
      "}\n"
      "CB.SetOutputText(STRLEN(s$))");
  EXPECT_TRUE(o.errors.empty()) << (o.errors.empty() ? "" : o.errors[0].text);
  EXPECT_EQ(o.output, std::vector<std::string>{"0"});
}

TEST_F(ScriptMemoryLimitTest, DefaultBudgetStopsAHugeResizeAtOnce) {
  EXPECT_EQ(ScriptMemoryLimit(), std::size_t(256) << 20);
  ScriptOutcome o = RunScriptText("RESIZE('s', 100000000)\nCB.SetOutputText('not reached')");
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 106);
  EXPECT_EQ(o.errors[0].line, 1);
  EXPECT_TRUE(o.output.empty());
  SetScriptMemoryLimit(0);  // no budget: a modest script is unaffected
  o = RunScriptText("RESIZE('s', 1000)\nCB.SetOutputText(ARRAYSIZE('s'))");
  EXPECT_TRUE(o.errors.empty());
}

}  // namespace
