#include "core_harness.h"

#include "common/utf.h"

namespace {

// The outcome travels as the run's user data, as a host's context would.
int32_t RecordHostCall(HostCall* call) {
  auto* outcome = static_cast<ScriptOutcome*>(call->userData);
  std::u16string_view name(call->name);
  if (name == u"SETOUTPUTTEXT" && call->argCount == 1) {
    const HostValue& v = call->args[0];
    outcome->output.push_back(v.isString ? Utf16ToUtf8(v.text) : std::to_string(v.intValue));
  } else if (name == u"ECHO$" && call->argCount == 1) {
    // Hands its argument back as a string result.
    call->result->isString = 1;
    call->result->text = call->args[0].isString ? call->args[0].text : Utf8ToUtf16(std::to_string(call->args[0].intValue));
  } else if (name == u"COUNT" ) {
    call->result->intValue = call->argCount;
  }
  return 0;
}

void RecordError(int32_t code, int32_t line, const char16_t* text) {
  static_cast<ScriptOutcome*>(ScriptUserData())->errors.push_back({code, line, Utf16ToUtf8(text)});
}

}  // namespace

ScriptOutcome RunScriptWide(const char16_t* source, const ScriptOptions& options) {
  ScriptOutcome outcome;
  ScriptHostParams params;
  params.hostFunction = options.withHost ? RecordHostCall : nullptr;
  params.errorCallback = RecordError;
  params.stopCheck = options.stopCheck;
  params.language = options.language;
  params.userData = &outcome;
  params.stackBudget = options.stackBudget;
  outcome.result = qv_script(source, &params);
  return outcome;
}

ScriptOutcome RunScriptText(std::string_view utf8, const ScriptOptions& options) {
  std::u16string wide = Utf8ToUtf16(utf8);
  return RunScriptWide(wide.c_str(), options);
}
