// libFuzzer target over the whole script engine: any bytes, taken as UTF-8
// script text, must run to an orderly end. The stop check bounds the
// statements (and the memory) a run may use; the system interface does
// nothing slow, interactive or visible outside the process.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/utf.h"
#include "script/console_system.h"
#include "script/qv_script.h"

namespace {

constexpr int32_t kStatementLimit = 20000;
constexpr size_t kMemoryLimitBytes = size_t{256} << 20;
constexpr size_t kScriptBudgetBytes = size_t{4} << 20;

int32_t g_statements = 0;

class FuzzSystem : public ConsoleSystem {
 public:
  FuzzSystem() : ConsoleSystem(nullptr, nullptr) {}
  void Sleep(uint32_t) override {}
  bool SetEnv(std::u16string_view, std::u16string_view) override { return false; }
};

int32_t StopCheck(int32_t) {
  if (++g_statements > kStatementLimit) return 1;
  return __sanitizer_get_current_allocated_bytes() > kMemoryLimitBytes ? 1 : 0;
}

void IgnoreError(int32_t, int32_t, const char16_t*) {}

// Answers every CB. call, with a string when the name ends in '$'.
int32_t AnswerHostCall(HostCall* call) {
  size_t length = 0;
  while (call->name[length] != u'\0') ++length;
  if (length > 0 && call->name[length - 1] == u'$') {
    call->result->isString = 1;
    call->result->text = u"host";
  } else {
    call->result->intValue = call->argCount;
  }
  return 1;
}

int32_t AnswerMessageBox(void*, const char16_t*, const char16_t*, uint32_t style) {
  return (style & 0xF) == 0 ? 1 : 7;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzSystem system;
  const std::u16string source =
      Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  ScriptHostParams params;
  params.hostFunction = AnswerHostCall;
  params.errorCallback = IgnoreError;
  params.stopCheck = StopCheck;
  params.messageBox = AnswerMessageBox;
  params.language = size % 2;
  params.system = &system;
  g_statements = 0;
  // The run's own budget, well below the allocator check, so that the
  // engine's memory error is what stops most growing scripts; small, because
  // under the sanitizers one regular expression over megabytes of text
  // already takes tens of seconds.
  SetScriptMemoryLimit(kScriptBudgetBytes);
  qv_script(source.c_str(), &params);
  return 0;
}
