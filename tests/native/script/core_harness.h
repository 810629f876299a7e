#pragma once
// Runs a script through qv_script with a host that records what the script
// prints (CB.SetOutputText) and every error it reports.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/qv_script.h"

struct ReportedError {
  int32_t code;
  int32_t line;
  std::string text;
};

struct ScriptOutcome {
  int32_t result = 0;
  std::vector<std::string> output;
  std::vector<ReportedError> errors;
};

struct ScriptOptions {
  int32_t language = 0;
  bool withHost = true;
  StopCheckCallback stopCheck = nullptr;
  std::size_t stackBudget = 0;  // 0: the engine's default
};

ScriptOutcome RunScriptText(std::string_view utf8, const ScriptOptions& options = {});
ScriptOutcome RunScriptWide(const char16_t* source, const ScriptOptions& options = {});
