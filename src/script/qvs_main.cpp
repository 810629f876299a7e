// qvs: runs a QV-Script outside the program, so that memo scripts can be
// tried from a console. See kQvsUsage for the command line.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/utf.h"
#include "script/console_system.h"
#include "script/host_functions.h"
#include "script/qv_script.h"

namespace {

// 512 nested user-function calls need far more than a default thread stack,
// and more again under the sanitizers.
constexpr size_t kScriptStackBytes = size_t{512} << 20;
constexpr size_t kStackReserveBytes = size_t{2} << 20;

// Everything a run of qvs needs, reached from the callbacks through the
// run's user data.
struct QvsRun {
  const QvsOptions* options = nullptr;
  const std::u16string* source = nullptr;
  ConsoleSystem* system = nullptr;
  int32_t result = 0;
  bool error_reported = false;
};

int32_t OnHostCall(HostCall* call) {
  if (call == nullptr) return 0;
  auto& run = *static_cast<QvsRun*>(call->userData);
  ConsoleHostServices services(stdout, stderr, run.system);
  return DispatchHostCall(*call, services, run.options->japanese);
}

void OnScriptError(int32_t code, int32_t line, const char16_t* text) {
  auto& run = *static_cast<QvsRun*>(ScriptUserData());
  run.error_reported = true;
  std::fflush(stdout);
  const std::string message = FormatErrorLine(code, line, text != nullptr ? text : u"");
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
}

void RunScript(void* argument) {
  auto& run = *static_cast<QvsRun*>(argument);
  ScriptHostParams params;
  params.hostFunction = OnHostCall;
  params.errorCallback = OnScriptError;
  params.language = run.options->japanese ? 1 : 0;
  params.system = run.system;
  params.userData = &run;
  params.stackBudget = kScriptStackBytes - kStackReserveBytes;
  run.result = qv_script(run.source->c_str(), &params);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

bool EnvironmentAsksJapanese() {
  const char* value = std::getenv("QZ_LANG");
  if (value == nullptr) return false;
  const std::string text = value;
  return text.size() == 2 && (text[0] == 'J' || text[0] == 'j') && (text[1] == 'A' || text[1] == 'a');
}

int RunQvs(const std::vector<std::string>& args) {
  QvsOptions options;
  std::string error;
  if (!ParseQvsArguments(args, EnvironmentAsksJapanese(), options, error)) {
    std::fprintf(stderr, "qvs: %s\n%s", error.c_str(), kQvsUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kQvsUsage, stdout);
    return 0;
  }
  std::u16string source;
  if (options.from_text) {
    source = Utf8ToUtf16(options.text);
  } else {
    std::string bytes;
    if (!ReadWholeFile(options.file, bytes)) {
      std::fprintf(stderr, "qvs: cannot read %s\n", options.file.c_str());
      return 2;
    }
    if (!DecodeScriptFile(bytes, source)) {
      std::fprintf(stderr, "qvs: %s is not valid UTF-16 (odd number of bytes)\n",
                   options.file.c_str());
      return 2;
    }
  }
  ConsoleSystem system(stderr, stdin);
  if (options.now) system.FixLocalTime(*options.now);
  if (options.memory_limit) SetScriptMemoryLimit(*options.memory_limit);
  system.QueueAnswers(options.answers);
  QvsRun run;
  run.options = &options;
  run.source = &source;
  run.system = &system;
  if (!RunOnThreadWithStack(kScriptStackBytes, RunScript, &run)) {
    std::fputs("qvs: cannot start the script thread\n", stderr);
    return 2;
  }
  if (options.print_result) std::printf("result: %d\n", static_cast<int>(run.result));
  std::fflush(stdout);
  return run.error_reported ? 1 : 0;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  }
  return RunQvs(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunQvs(args);
}
#endif
