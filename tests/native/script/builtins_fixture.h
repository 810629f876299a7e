#pragma once
// Calls built-ins the way the evaluator does: through the merged table,
// with a run of their own whose error reports are collected.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/utf.h"
#include "script/builtin_table.h"
#include "script/script_run.h"

struct ReportedError {
  int32_t code;
  int32_t line;
  std::string text;
};

class BuiltinsTest : public ::testing::Test {
 protected:
  BuiltinsTest() {
    errors().clear();
    run_.host.errorCallback = &Collect;
  }

  static std::vector<ReportedError>& errors() {
    static std::vector<ReportedError> list;
    return list;
  }

  ScriptValue Call(std::string_view name, std::vector<ScriptValue> args) {
    const BuiltinRow* row = FindBuiltin(name);
    EXPECT_NE(row, nullptr) << name;
    if (!row) return {};
    EXPECT_GE(args.size(), row->minArgs) << name;
    EXPECT_LE(args.size(), row->maxArgs) << name;
    BuiltinContext context{run_, 1};
    return row->handler(context, args);
  }

  std::string CallText(std::string_view name, std::vector<ScriptValue> args) {
    return ToString(Call(name, std::move(args)));
  }

  int32_t CallInt(std::string_view name, std::vector<ScriptValue> args) {
    return ToInteger(Call(name, std::move(args)));
  }

  VariableStore& variables() { return run_.variables; }
  ScriptRun& run() { return run_; }

  static ScriptValue S(std::string text) { return MakeString(std::move(text)); }
  static ScriptValue I(int32_t n) { return MakeInteger(n); }

  // An array variable holding the given elements, named as scripts name it.
  void SetArray(const std::string& name, std::vector<ScriptValue> elements) {
    ScriptValue& v = variables().ref(name);
    v = ScriptValue{};
    v.isArray = true;
    v.text = name;
    v.elements = std::move(elements);
  }

  std::vector<std::string> Texts(const std::string& name) {
    std::vector<std::string> out;
    for (const ScriptValue& e : variables().get(name).elements) out.push_back(ToString(e));
    return out;
  }

 private:
  static void Collect(int32_t code, int32_t line, const char16_t* text) {
    errors().push_back({code, line, Utf16ToUtf8(text)});
  }

  ScriptRun run_;
};
