#include "system_test_support.h"

#include "common/utf.h"

namespace {

ScriptOutcome* g_outcome = nullptr;

int32_t CollectHostCall(HostCall* call) {
  if (call->argCount == 1) {
    const HostValue& value = call->args[0];
    g_outcome->output.push_back(value.isString ? Utf16ToUtf8(value.text) : std::to_string(value.intValue));
  }
  return 0;
}

void CollectError(int32_t code, int32_t line, const char16_t* text) {
  g_outcome->errors.push_back({code, line, Utf16ToUtf8(text)});
}

}  // namespace

int32_t RecordingSystem::ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                                        std::u16string_view caption, uint32_t style) {
  boxes.push_back({owner.window, std::u16string(text), std::u16string(caption), style});
  if (owner.message_box != nullptr) {
    const std::u16string text_z(text), caption_z(caption);
    return owner.message_box(owner.window, text_z.c_str(), caption_z.c_str(), style);
  }
  if (box_answers.empty()) return 1;
  const int32_t answer = box_answers.front();
  box_answers.erase(box_answers.begin());
  return answer;
}

bool RecordingSystem::InputDialog(const ScriptDialogOwner&, std::u16string_view message,
                                  std::u16string_view title, bool japanese, std::u16string& text) {
  input_calls.push_back(std::u16string(title) + u"|" + std::u16string(message));
  input_japanese.push_back(japanese);
  text = input_answer;
  return input_ok;
}

ScriptOutcome RunSystemScript(const std::string& source, ScriptSystem* system, void* owner,
                              MessageBoxFunction message_box, bool japanese) {
  ScriptOutcome outcome;
  g_outcome = &outcome;
  ScriptHostParams params;
  params.owner = owner;
  params.hostFunction = CollectHostCall;
  params.errorCallback = CollectError;
  params.messageBox = message_box;
  params.language = japanese ? 1 : 0;
  params.system = system;
  const std::u16string text = Utf8ToUtf16(source);
  outcome.result = qv_script(text.c_str(), &params);
  g_outcome = nullptr;
  return outcome;
}
