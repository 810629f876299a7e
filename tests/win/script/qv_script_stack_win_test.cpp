// Scripts run on a thread with the program's default stack (the reserve in
// the executable's header), as the memo-script thread does: deep scripts
// must end in a report, never a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/utf.h"
#include "script/qv_script.h"

namespace {

struct ThreadRun {
  std::u16string source;
  int32_t result = 0;
  std::vector<int32_t> codes;
};

ThreadRun* g_run = nullptr;
void Collect(int32_t code, int32_t, const char16_t*) { g_run->codes.push_back(code); }

DWORD WINAPI RunOnThread(void* argument) {
  ThreadRun& run = *static_cast<ThreadRun*>(argument);
  g_run = &run;
  ScriptHostParams params;
  params.errorCallback = Collect;
  run.result = qv_script(run.source.c_str(), &params);
  return 0;
}

ThreadRun RunWithDefaultStack(const std::string& script) {
  ThreadRun run;
  run.source = Utf8ToUtf16(script);
  HANDLE thread = CreateThread(nullptr, 0, RunOnThread, &run, 0, nullptr);
  EXPECT_NE(thread, nullptr);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  return run;
}

std::string Chain(int terms) {
  std::string s = "1";
  for (int i = 1; i < terms; ++i) s += " + 1";
  return s;
}

TEST(QvScriptStackWin, FiveHundredTwelveNestedCallsFit) {
  ThreadRun run = RunWithDefaultStack(
      "func f(n) {\nif (n == 0) {\nreturn 0\n}\nreturn 1 + (1 + (f(n - 1) - 1))\n}\nx = f(512)\nexit x");
  EXPECT_TRUE(run.codes.empty());
  EXPECT_EQ(run.result, 512);
}

TEST(QvScriptStackWin, EndlessRecursionIsRefused) {
  ThreadRun run = RunWithDefaultStack("func f(n) {\nreturn 1 + f(n + 1)\n}\nx = f(0)");
  EXPECT_EQ(run.codes, std::vector<int32_t>{108});
  EXPECT_EQ(run.result, 0);
}

TEST(QvScriptStackWin, DeepExpressionsInDeepCallsStopInOrder) {
  ThreadRun run = RunWithDefaultStack("func f(n) {\nreturn " + Chain(2900) + " + f(n + 1)\n}\nx = f(0)");
  ASSERT_EQ(run.codes.size(), 1u);
  EXPECT_TRUE(run.codes[0] == 106 || run.codes[0] == 108) << run.codes[0];
  EXPECT_EQ(RunWithDefaultStack("exit 5").result, 5);  // and the engine still works
}

TEST(QvScriptStackWin, OverlyDeepTreesAreRefusedWhileParsing) {
  ThreadRun run = RunWithDefaultStack("x = " + Chain(10000));
  EXPECT_EQ(run.codes, std::vector<int32_t>{101});
}

}  // namespace
