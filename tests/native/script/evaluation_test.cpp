#include <gtest/gtest.h>

#include "core_harness.h"

TEST(Smoke, Runs) {
  ScriptOutcome o = RunScriptText("x = 1 + 2 * 3\nCB.SetOutputText(x)\nfor (i = 0, i < 3, i++) {\n CB.SetOutputText('i' + i)\n}\n");
  for (auto& e : o.errors) printf("err %d %d %s\n", e.code, e.line, e.text.c_str());
  for (auto& s : o.output) printf("out %s\n", s.c_str());
}
