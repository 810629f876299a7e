// In-process cost of the engine's hot paths: global-variable arithmetic,
// user-function calls, appending to a string and filling an array (the last
// two over growing N, so the fitted complexity shows whether they stay
// linear), and the fixed cost of running an empty script.
#include <benchmark/benchmark.h>

#include <string>

#include "common/utf.h"
#include "script/console_system.h"
#include "script/qv_script.h"

namespace {

int32_t g_checksum = 0;

int32_t KeepOutput(HostCall* call) {
  if (call->argCount == 1) g_checksum = call->args[0].intValue;
  return 0;
}

void RunOnce(const std::u16string& source, benchmark::State& state) {
  static ConsoleSystem system(nullptr, nullptr);
  ScriptHostParams params;
  params.hostFunction = KeepOutput;
  params.system = &system;
  if (qv_script(source.c_str(), &params) < 0) state.SkipWithError("the run was refused");
}

std::u16string Script(const std::string& text) { return Utf8ToUtf16(text); }

void BM_EmptyScript(benchmark::State& state) {
  const std::u16string source = u"";
  for (auto _ : state) RunOnce(source, state);
}
BENCHMARK(BM_EmptyScript);

void BM_LoopOverGlobals(benchmark::State& state) {
  const std::u16string source = Script("s = 0\nfor (i = 0, i < " + std::to_string(state.range(0)) +
                                       ", ++i) {\n  s = (s + i * 7) % 1000003\n}\nCB.SetOutputText(s)\n");
  for (auto _ : state) RunOnce(source, state);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoopOverGlobals)->Arg(300000)->Unit(benchmark::kMillisecond);

void BM_RecursiveFib(benchmark::State& state) {
  const std::u16string source = Script(
      "func fib(k) {\n  if (k < 2) { return k }\n  return fib(k - 1) + fib(k - 2)\n}\nCB.SetOutputText(fib(" +
      std::to_string(state.range(0)) + "))\n");
  for (auto _ : state) RunOnce(source, state);
}
BENCHMARK(BM_RecursiveFib)->Arg(20)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_AppendText(benchmark::State& state) {
  const std::u16string source = Script("s = ''\nfor (i = 0, i < " + std::to_string(state.range(0)) +
                                       ", ++i) {\n  s += i\n}\nCB.SetOutputText(StrLen(s))\n");
  for (auto _ : state) RunOnce(source, state);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendText)->RangeMultiplier(2)->Range(25000, 200000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_FillArray(benchmark::State& state) {
  const std::u16string source = Script("for (i = 0, i < " + std::to_string(state.range(0)) +
                                       ", ++i) {\n  a[i] = i\n}\nCB.SetOutputText(ArraySize(a))\n");
  for (auto _ : state) RunOnce(source, state);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FillArray)->RangeMultiplier(2)->Range(25000, 200000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
