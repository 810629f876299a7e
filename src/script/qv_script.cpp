#include "script/qv_script.h"

#include <boost/regex/pattern_except.hpp>
#include <new>
#include <stdexcept>

#include "common/utf.h"
#include "script/nodes.h"
#include "script/parse.h"
#include "script/script_run.h"

namespace {

#if defined(_WIN32)
// Threads get the executable's default stack reserve, 2 MB with this
// tool chain; this leaves room below the limit for built-ins and dialogs.
std::size_t g_stackBudget = 1536 * 1024;
#else
std::size_t g_stackBudget = 6 * 1024 * 1024;
#endif

Lexer& TheLexer() {
  static Lexer lexer;
  return lexer;
}

// The entry point's own messages are UTF-16 from the start.
void ReportDirect(ScriptRun& run, int32_t code, const char* japanese, const char* english) {
  if (!run.host.errorCallback) return;
  std::u16string text = Utf8ToUtf16(RunText(run, japanese, english));
  run.host.errorCallback(code, -1, text.c_str());
}

void ReportCaught(ScriptRun& run, int32_t code, const char* japaneseFormat, const char* englishFormat,
                  const char* detail) {
  ReportScriptError(run, code, -1, FormatScriptMessage(RunText(run, japaneseFormat, englishFormat), detail));
}

void SplitSourceLines(ScriptRun& run, const std::string& text) {
  run.sourceLines.clear();
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) {
      run.sourceLines.push_back(text.substr(begin));
      break;
    }
    run.sourceLines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
}

void SetStackLimit(ScriptRun& run) {
  char base;
  uintptr_t here = reinterpret_cast<uintptr_t>(&base);
  run.stackLimit = here > g_stackBudget ? here - g_stackBudget : 0;
}

// Runs the tree and turns what escaped it (a RETURN, an unknown GOTO label,
// a regex or memory failure) into the run's result or an error report.
int32_t ExecuteTree(ScriptRun& run) {
  try {
    run.root->execute(run);
    if (run.returning) return ToInteger(run.returnValue);
    return run.runResult;
  } catch (ReturnException& r) {
    return ToInteger(r.value);
  } catch (GotoException& jump) {
    ReportCaught(run, kErrorUnknownLabel, "Runtime error: ラベルが見つかりません。(GOTO %s)\n",
                 "Runtime error: Unknown Label(GOTO %s)\n", jump.label.c_str());
  } catch (boost::regex_error& e) {
    ReportCaught(run, kErrorRegex, "Runtime error: 正規表現処理中にエラーが発生しました: %s\n",
                 "Runtime error: An error occurred during regular expression processing: %s\n", e.what());
  } catch (std::runtime_error& e) {
    ReportCaught(run, kErrorMemory,
                 "Runtime error: 一般的なスタック不足、あるいは、正規表現の計算量が超える等のエラーが発生しました: %s\n",
                 "Runtime error: std::runtime_error: %s\n", e.what());
  } catch (std::bad_alloc& e) {
    ReportCaught(run, kErrorMemory, "Runtime error: スクリプト実行中にメモリ確保に失敗しました: %s\n",
                 "Runtime error: std::bad_alloc: %s\n", e.what());
  } catch (...) {
    ReportDirect(run, kErrorUnknown, "Runtime error: 不明なエラーです。\n", "Runtime error: Unknown error.\n");
  }
  return 0;
}

// Parses the source into the run's tree. False when there is no tree to run.
bool ParseSource(ScriptRun& run, Lexer& lexer) {
  ParseRegistries registries;
  lexer.setRegistries(&registries);
  ParseContext context{run, lexer, registries, nullptr};
  bool parsed = false;
  try {
    parsed = ParseScript(context);
  } catch (std::bad_alloc&) {
    ReportDirect(run, kErrorMemory, "スクリプトの解釈中にメモリ不足になりました。",
                 "Out of memory while translating script.");
    parsed = false;
  }
  lexer.setRegistries(nullptr);
  if (!parsed) return false;  // the registries release whatever was built
  run.root = std::move(context.root);
  return true;
}

int32_t RunScript(ScriptRun& run, const char16_t* source, const ScriptHostParams* params) {
  Lexer& lexer = TheLexer();
  lexer.resetCounters();

  ResetRunState(run);
  run.keepVar = false;
  run.host = params ? *params : ScriptHostParams{};
  run.japanese = params && params->language != 0;
  run.root.reset();

  if (!source) {
    ReportDirect(run, kErrorParameter, "qv_script()のパラメータ指定が正しくありません。", "Invalid Parameter.");
    return -1;
  }

  std::string text;
  try {
    std::u16string_view view(source);
    if (!view.empty() && view.front() == u'\uFEFF') view.remove_prefix(1);
    text = Utf16ToUtf8(view);
    text.push_back('\n');  // the last line is always terminated
    lexer.start(text);
    SplitSourceLines(run, text);
  } catch (std::bad_alloc&) {
    ReportDirect(run, kErrorMemory, "スクリプトの解釈中にメモリ不足になりました。",
                 "Out of memory while translating script.");
    return -1;
  }
  lexer.resetCounters();

  int32_t result = 0;
  if (ParseSource(run, lexer)) {
    SetStackLimit(run);
    result = ExecuteTree(run);
  }

  lexer.start({});
  run.root.reset();
  ResetRunState(run);
  return result;
}

}  // namespace

int32_t qv_script(const char16_t* source, const ScriptHostParams* params) {
  ScriptRun& run = TheScriptRun();
  if (run.inProgress) return -1;
  run.inProgress = true;
  int32_t result = -1;
  try {
    result = RunScript(run, source, params);
  } catch (...) {
    // Last resort: a failure outside the run's own handler. C++ unwinding
    // has left everything consistent, so the engine stays usable.
    if (params && params->errorCallback) {
      std::u16string text = Utf8ToUtf16(FormatScriptMessage(
          RunText(run, "スクリプト解釈中または実行中に例外を捕捉しました。例外コード: 0x%08x\n",
                  "Unknown Exception: 0x%08x\n"),
          0u));
      params->errorCallback(kErrorUnknown, -1, text.c_str());
    }
    run.root.reset();
    ResetRunState(run);
    result = -1;
  }
  run.inProgress = false;
  return result;
}

void SetScriptStackBudget(std::size_t bytes) { g_stackBudget = bytes; }
std::size_t ScriptStackBudget() { return g_stackBudget; }
