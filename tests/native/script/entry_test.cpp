#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <string>

#include "common/utf.h"
#include "core_harness.h"
#include "script/qv_script.h"

namespace {

TEST(QvScriptEntry, NullAndEmptySources) {
  ScriptOutcome o = RunScriptWide(nullptr);
  EXPECT_EQ(o.result, -1);
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 107);
  EXPECT_EQ(o.errors[0].line, -1);
  EXPECT_EQ(o.errors[0].text, "Invalid Parameter.");

  o = RunScriptWide(nullptr, {.language = 1});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].text, "qv_script()のパラメータ指定が正しくありません。");

  for (const char16_t* empty : {u"", u"\uFEFF", u"\n\n# only a comment"}) {
    o = RunScriptWide(empty);
    EXPECT_EQ(o.result, 0);
    EXPECT_TRUE(o.errors.empty());
  }
  EXPECT_EQ(qv_script(u"exit 3", nullptr), 3);  // no params: no host, no reports
}

TEST(QvScriptEntry, ByteOrderMarkIsSkippedOnce) {
  ScriptOutcome plain = RunScriptWide(u"CB.SetOutputText('x' + 1)\nexit 4");
  ScriptOutcome marked = RunScriptWide(u"\uFEFFCB.SetOutputText('x' + 1)\nexit 4");
  EXPECT_EQ(plain.output, marked.output);
  EXPECT_EQ(plain.result, marked.result);
  EXPECT_EQ(marked.result, 4);
  // a second mark is an ordinary (rejected) character
  ScriptOutcome twice = RunScriptWide(u"\uFEFF\uFEFFexit 4");
  ASSERT_EQ(twice.errors.size(), 1u);
  EXPECT_EQ(twice.errors[0].code, 101);
}

TEST(QvScriptEntry, ResultsOfExitAndReturn) {
  struct Case {
    const char* source;
    int32_t result;
  } cases[] = {
      {"exit 7", 7},           {"exit '12abc'", 12}, {"return 5", 5},          {"return '9x'", 9},
      {"x = 1", 0},            {"exit", 0},          {"x = 1/0\nexit 5", 0}, {"return", 0},
      {"x = (", 0},            {"exit 1/0", 0},      {"goto :NONE", 0},      {"exit -2147483648", -2147483647},  // the literal saturates first
  };
  for (const Case& c : cases) EXPECT_EQ(RunScriptText(c.source).result, c.result) << c.source;
}

int32_t g_nestedResult = 0;
int32_t g_nestedErrors = 0;
int32_t CallAgain(HostCall* call) {
  g_nestedResult = qv_script(u"exit 9", nullptr);
  call->result->intValue = 1;
  return 0;
}
void CountError(int32_t, int32_t, const char16_t*) { ++g_nestedErrors; }

TEST(QvScriptEntry, RunDuringARunIsRefusedSilently) {
  ScriptHostParams params;
  params.hostFunction = CallAgain;
  params.errorCallback = CountError;
  g_nestedErrors = 0;
  EXPECT_EQ(qv_script(u"exit CB.Again()", &params), 1);
  EXPECT_EQ(g_nestedResult, -1);
  EXPECT_EQ(g_nestedErrors, 0);
  EXPECT_EQ(qv_script(u"exit 2", &params), 2);  // the engine is free again
}

TEST(QvScriptOptions, KeepVarSurvivesOneRunOnly) {
  EXPECT_TRUE(RunScriptText("DEFINE('keepvar', 1)\nkept = 41").errors.empty());
  ScriptOutcome second = RunScriptText("CB.SetOutputText(kept + 1)");
  EXPECT_EQ(second.output, std::vector<std::string>{"42"});
  ScriptOutcome third = RunScriptText("CB.SetOutputText(kept + 1)");
  EXPECT_EQ(third.output, std::vector<std::string>{"1"});
  // user functions never survive
  RunScriptText("DEFINE('KEEPVAR', 1)\nfunc f() {\nreturn 1\n}");
  ScriptOutcome o = RunScriptText("x = f()");
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 105);
}

TEST(QvScriptOptions, LanguageSwitchLastsForTheRun) {
  ScriptOutcome o = RunScriptText("DEFINE('QvS_Lang', 0)\nx = 1/0", {.language = 1});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].text, "Runtime Error: Division by zero(/0) at line 2\n");
  o = RunScriptText("x = 1/0", {.language = 1});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].text, "Runtime Error: 0による除算(/0)。行番号:1\n");
  o = RunScriptText("x = DEFINE('MUSTVARDEF', 1) + DEFINE('X', 1) * 10\nexit x");
  EXPECT_EQ(o.result, 1);
}

int32_t g_statements = 0;
int32_t StopAtThird(int32_t) { return ++g_statements == 3 ? 1 : 0; }

TEST(QvScriptEntry, StopCheckEndsTheRunAfterAStatement) {
  g_statements = 0;
  ScriptOutcome o = RunScriptText("loop {\nCB.SetOutputText('tick')\n}", {.stopCheck = StopAtThird});
  EXPECT_EQ(o.output.size(), 3u);
  EXPECT_TRUE(o.errors.empty());
  EXPECT_EQ(o.result, 0);
}

int32_t g_stopChecks = 0;
constexpr int32_t kStopAtCall = 1000;
int32_t StopAtThousandth(int32_t) { return ++g_stopChecks == kStopAtCall ? 1 : 0; }

// Loops that complete no statement per round, and gotos that never complete
// theirs, must still see a stop request.
TEST(QvScriptEntry, StopCheckEndsLoopsThatCompleteNoStatement) {
  const char* const scripts[] = {
      "while (1) {\n}",
      "loop {\n}",
      "for (,,) {\n}",
      "for (i = 0, 1, i++) {\n}",
      "repeat {\n} until (0)",
      "while (1) {\nwhile (1) {\n}\n}",
      ":L\ngoto :L",
      "x = 0\n:TOP\nif (x < 1) { goto :TOP }",
      ":L\ngoto ':l'",
      "loop {\n:A\ngoto :A\n}",
      "func f() {\ngoto :BACK\n}\n:BACK\nf()",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    g_stopChecks = 0;
    ScriptOutcome o = RunScriptText(std::string(script) + "\nCB.SetOutputText('after')\nexit 7",
                                    {.stopCheck = StopAtThousandth});
    // Stopped at the first 1; only the enclosing blocks ask once more each.
    EXPECT_GE(g_stopChecks, kStopAtCall);
    EXPECT_LE(g_stopChecks, kStopAtCall + 2);
    EXPECT_TRUE(o.output.empty());
    EXPECT_TRUE(o.errors.empty());
    EXPECT_EQ(o.result, 0);
  }
}

TEST(QvScriptEntry, StopCheckIsAskedOncePerStatementInBusyLoops) {
  // A loop whose body completes statements is asked after each of them only.
  g_stopChecks = 0;
  ScriptOutcome o = RunScriptText("for (i = 0, i < 10, i++) {\nx = i\ny = i\n}\nexit i",
                                  {.stopCheck = StopAtThousandth});
  EXPECT_EQ(o.result, 10);
  EXPECT_EQ(g_stopChecks, 20 + 2);  // the loop and the exit complete too
}

TEST(QvScriptEntry, DeepRecursionEndsInAReportNotACrash) {
  // Plenty of nested calls that each nest an expression: the stack budget
  // stops the run before the thread's stack runs out.
  ScriptOutcome o = RunScriptText("func f(n) {\nreturn 1 + (1 + (1 + f(n + 1)))\n}\nx = f(0)",
                                  {.stackBudget = 64 * 1024});
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 106);
  EXPECT_EQ(o.errors[0].text, "Runtime error: std::runtime_error: stack overflow\n");
  EXPECT_EQ(o.result, 0);
  // and the engine runs the next script normally
  EXPECT_EQ(RunScriptText("exit 1").result, 1);
}

TEST(QvScriptEntry, FiveHundredTwelveNestedCallsFitTheDefaultBudget) {
  ScriptOutcome o = RunScriptText(
      "func f(n) {\nif (n == 0) {\nreturn 0\n}\nreturn 1 + f(n - 1)\n}\nx = f(512)\nexit x");
  EXPECT_TRUE(o.errors.empty()) << o.errors[0].text;
  EXPECT_EQ(o.result, 512);
}

TEST(QvScriptEntry, HugeInputsAreHandled) {
  std::string many;
  for (int i = 0; i < 20000; ++i) {
    many += 'x';
    many += std::to_string(i % 50);
    many += " = ";
    many += std::to_string(i);
    many += '\n';
  }
  many += "exit x49";
  EXPECT_EQ(RunScriptText(many).result, 19999);
  std::string longText = "s = '" + std::string(200000, 'a') + "'\nexit 1";
  EXPECT_EQ(RunScriptText(longText).result, 1);
  std::string deepBlocks;
  for (int i = 0; i < 5000; ++i) deepBlocks += "if 1 {\n";
  ScriptOutcome o = RunScriptText(deepBlocks);
  ASSERT_EQ(o.errors.size(), 1u);
  EXPECT_EQ(o.errors[0].code, 101);
}

TEST(QvScriptEntry, EmbeddedNulEndsTheScript) {
  std::u16string source = u"exit 3";
  source += u'\0';
  source += u"exit 4";
  EXPECT_EQ(RunScriptWide(source.c_str()).result, 3);
}

}  // namespace

namespace {

struct HostContext {
  int calls = 0;
  int errors = 0;
  int stopChecks = 0;
  void* seenInCall = nullptr;
};

int32_t CountingHost(HostCall* call) {
  auto* context = static_cast<HostContext*>(call->userData);
  ++context->calls;
  context->seenInCall = ScriptUserData();
  return 0;
}
void CountingError(int32_t, int32_t, const char16_t*) { ++static_cast<HostContext*>(ScriptUserData())->errors; }
int32_t CountingStop(int32_t) {
  ++static_cast<HostContext*>(ScriptUserData())->stopChecks;
  return 0;
}

}  // namespace

TEST(QvScriptEntry, UserDataReachesEveryCallbackOfItsRun) {
  HostContext context;
  ScriptHostParams params;
  params.hostFunction = CountingHost;
  params.errorCallback = CountingError;
  params.stopCheck = CountingStop;
  params.userData = &context;
  EXPECT_EQ(qv_script(u"CB.One()\nCB.Two(1, 2)\nx = 1 / 0", &params), 0);
  EXPECT_EQ(context.calls, 2);
  EXPECT_EQ(context.seenInCall, &context);
  EXPECT_EQ(context.errors, 1);
  EXPECT_GE(context.stopChecks, 2);
  EXPECT_EQ(ScriptUserData(), nullptr);  // nothing outside a run
}

namespace {

std::atomic<bool> g_holdRun{false};
std::atomic<bool> g_runHeld{false};

int32_t HoldUntilReleased(HostCall*) {
  g_runHeld = true;
  while (g_holdRun) std::this_thread::yield();
  return 0;
}

}  // namespace

TEST(QvScriptEntry, RunFromAnotherThreadIsRefusedWhileOneIsInProgress) {
  g_holdRun = true;
  g_runHeld = false;
  int32_t firstResult = -2;
  std::thread first([&] {
    ScriptHostParams params;
    params.hostFunction = HoldUntilReleased;
    firstResult = qv_script(u"CB.Hold()\nexit 3", &params);
  });
  while (!g_runHeld) std::this_thread::yield();
  EXPECT_EQ(qv_script(u"exit 4", nullptr), -1);
  g_holdRun = false;
  first.join();
  EXPECT_EQ(firstResult, 3);
  EXPECT_EQ(qv_script(u"exit 4", nullptr), 4);
}
