#include "script/console_system.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "common/utf.h"
#include "script/qv_script.h"
#include "script/value.h"

namespace {

// The C library may not hold an empty variable (Windows removes it), so the
// values set by scripts are remembered here as well and read first.
std::map<std::u16string, std::u16string>& ScriptEnvironment() {
  static std::map<std::u16string, std::u16string> values;
  return values;
}

void WriteDialogLine(std::FILE* out, std::string_view kind, uint32_t style,
                     std::u16string_view caption, std::u16string_view text) {
  if (out == nullptr) return;
  std::string line(kind);
  if (kind == "box") line.append(" ").append(std::to_string(style));
  line.append(" [").append(Utf16ToUtf8(caption)).append("] ").append(Utf16ToUtf8(text));
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), out);
  std::fflush(out);
}

bool ReadNumber(std::string_view text, size_t& pos, size_t digits, int32_t& value) {
  if (pos + digits > text.size()) return false;
  value = 0;
  for (size_t i = 0; i < digits; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += digits;
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::u16string ReadLine(std::FILE* in, bool& ended) {
  std::string bytes;
  ended = true;
  if (in == nullptr) return {};
  int c;
  while ((c = std::fgetc(in)) != EOF) {
    ended = false;
    if (c == '\n') break;
    bytes += static_cast<char>(c);
  }
  if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  return Utf8ToUtf16(bytes);
}

}  // namespace

ConsoleSystem::ConsoleSystem(std::FILE* dialog_out, std::FILE* input_in)
    : dialog_out_(dialog_out), input_in_(input_in) {}

void ConsoleSystem::QueueAnswers(std::span<const int32_t> answers) {
  answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void ConsoleSystem::Sleep(uint32_t milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

ScriptLocalTime ConsoleSystem::LocalTime() {
  if (fixed_time_) return *fixed_time_;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto since_epoch = now.time_since_epoch();
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count() % 1000;
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &seconds);
#else
  localtime_r(&seconds, &parts);
#endif
  ScriptLocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.day_of_week = parts.tm_wday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.milliseconds = static_cast<int32_t>(millis < 0 ? millis + 1000 : millis);
  return time;
}

uint32_t ConsoleSystem::TickCount() {
  const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

// A console has no screen metrics: the platform answers 0 for unknown ones.
int32_t ConsoleSystem::SystemMetrics(int32_t) { return 0; }

int32_t ConsoleSystem::ShowMessageBox(const ScriptDialogOwner&, std::u16string_view text,
                                  std::u16string_view caption, uint32_t style) {
  WriteDialogLine(dialog_out_, "box", style, caption, text);
  if (answers_.empty()) return FirstButtonOf(style);
  const int32_t answer = answers_.front();
  answers_.pop_front();
  return answer;
}

bool ConsoleSystem::InputDialog(const ScriptDialogOwner&, std::u16string_view message,
                                std::u16string_view title, bool, std::u16string& text) {
  WriteDialogLine(dialog_out_, "input", 0, title, message);
  bool ended = false;
  text = ReadLine(input_in_, ended);
  if (ended) {
    text.clear();
    return false;  // no more input: as if cancelled
  }
  return true;
}

int32_t ConsoleSystem::MessageBeep(uint32_t) { return 0; }

bool ConsoleSystem::GetEnv(std::u16string_view name, std::u16string& value) {
  const auto& set_by_scripts = ScriptEnvironment();
  if (auto found = set_by_scripts.find(std::u16string(name)); found != set_by_scripts.end()) {
    value = found->second;
    return true;
  }
  const std::u16string wanted(name);
  if (wanted.empty() || wanted.find(u'=') != std::u16string::npos) return false;
#ifdef _WIN32
  // The C library's narrow environment is in the ANSI code page here.
  const wchar_t* found = _wgetenv(reinterpret_cast<const wchar_t*>(wanted.c_str()));
  if (found == nullptr) return false;
  value = reinterpret_cast<const char16_t*>(found);
#else
  const char* found = std::getenv(Utf16ToUtf8(wanted).c_str());
  if (found == nullptr) return false;
  value = Utf8ToUtf16(found);
#endif
  return true;
}

bool ConsoleSystem::SetEnv(std::u16string_view name, std::u16string_view value) {
  const std::u16string key(name), text(value);
  if (key.empty() || key.find(u'=') != std::u16string::npos ||
      key.find(u'\0') != std::u16string::npos) {
    return false;
  }
#ifdef _WIN32
  // An empty value would delete the variable here; the remembered value
  // keeps it readable as empty.
  if (!text.empty() && _wputenv_s(reinterpret_cast<const wchar_t*>(key.c_str()),
                                  reinterpret_cast<const wchar_t*>(text.c_str())) != 0) {
    return false;
  }
#else
  if (setenv(Utf16ToUtf8(key).c_str(), Utf16ToUtf8(text).c_str(), 1) != 0) return false;
#endif
  ScriptEnvironment()[std::u16string(name)] = std::u16string(value);
  return true;
}

// The console has no cursor, input devices, clipboard, windows or monitors:
// each operation gives the result of a failed platform call.
bool ConsoleSystem::GetCursorPos(int32_t&, int32_t&) { return false; }
bool ConsoleSystem::SetCursorPos(int32_t, int32_t) { return false; }
void ConsoleSystem::MouseEvent(uint32_t, int32_t, int32_t, int32_t) {}
void ConsoleSystem::KeybdEvent(uint8_t, uint8_t, uint32_t) {}
uint32_t ConsoleSystem::SendKeyboardInput(uint16_t, uint16_t, uint32_t) { return 0; }
int16_t ConsoleSystem::KeyState(int32_t) { return 0; }
bool ConsoleSystem::GetClipboardText(void*, std::u16string&) { return false; }
bool ConsoleSystem::SetClipboardText(void*, std::u16string_view) { return false; }
bool ConsoleSystem::ForegroundWindowTitle(std::u16string&) { return false; }
bool ConsoleSystem::ImeControl(uint32_t, uint32_t, int32_t&) { return false; }
bool ConsoleSystem::KeyboardDeviceNames(std::vector<std::u16string>&) { return false; }
bool ConsoleSystem::MonitorRects(std::vector<ScriptScreenRect>&) { return false; }

int32_t FirstButtonOf(uint32_t style) {
  switch (style & 0xF) {
    case 2: return 3;            // Abort/Retry/Ignore
    case 3: case 4: return 6;    // Yes/No/Cancel, Yes/No
    case 5: return 4;            // Retry/Cancel
    case 6: return 2;            // Cancel/Try again/Continue
    default: return 1;           // OK, OK/Cancel
  }
}

std::optional<int32_t> ParseDialogAnswer(std::string_view word) {
  static constexpr struct {
    std::string_view name;
    int32_t button;
  } kButtons[] = {{"ok", 1},    {"cancel", 2}, {"close", 2}, {"abort", 3},
                  {"retry", 4}, {"ignore", 5}, {"yes", 6},   {"no", 7}};
  std::string lower;
  for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& button : kButtons) {
    if (lower == button.name) return button.button;
  }
  if (lower.empty() || lower.size() > 4) return std::nullopt;
  int32_t number = 0;
  for (char c : lower) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

int32_t DayOfWeek(int32_t year, int32_t month, int32_t day) {
  static constexpr int32_t kOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

bool ParseLocalTime(std::string_view text, ScriptLocalTime& time) {
  ScriptLocalTime parsed;
  size_t pos = 0;
  if (!ReadNumber(text, pos, 4, parsed.year) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, parsed.month) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, parsed.day) || !Expect(text, pos, ' ') ||
      !ReadNumber(text, pos, 2, parsed.hour) || !Expect(text, pos, ':') ||
      !ReadNumber(text, pos, 2, parsed.minute) || !Expect(text, pos, ':') ||
      !ReadNumber(text, pos, 2, parsed.second)) {
    return false;
  }
  if (pos < text.size() && (!Expect(text, pos, '.') || !ReadNumber(text, pos, 3, parsed.milliseconds))) {
    return false;
  }
  if (pos != text.size()) return false;
  if (parsed.year < 1601 || parsed.month < 1 || parsed.month > 12 || parsed.day < 1 ||
      parsed.day > DaysInMonth(parsed.year, parsed.month) || parsed.hour > 23 ||
      parsed.minute > 59 || parsed.second > 59) {
    return false;
  }
  parsed.day_of_week = DayOfWeek(parsed.year, parsed.month, parsed.day);
  time = parsed;
  return true;
}

const char kQvsUsage[] =
    "usage: qvs [options] FILE\n"
    "       qvs [options] -e TEXT\n"
    "Runs a QV-Script. CB.SetOutputText(x) prints x; errors go to standard error\n"
    "as \"error CODE line LINE: TEXT\".\n"
    "options:\n"
    "  --lang ja|en       language of the messages (default: QZ_LANG=JA selects ja)\n"
    "  --result           print \"result: N\" (the script's result) as the last line\n"
    "  --now \"YYYY-MM-DD HH:MM:SS.mmm\"  fix the local time the script sees\n"
    "  --answer A[,A...]  answers for the message boxes, in order: ok, cancel, yes,\n"
    "                     no, close, abort, retry, ignore or a button number\n"
    "  --memory-limit MB  memory the script may hold in texts and arrays (default\n"
    "                     256; 0 for no limit)\n"
    "  INPUT reads its answer as one line of standard input.\n"
    "exit status: 0 clean run, 1 an error was reported, 2 usage or file error\n";

bool ParseQvsArguments(std::span<const std::string> args, bool japanese, QvsOptions& options,
                       std::string& error) {
  options = QvsOptions{};
  options.japanese = japanese;
  bool have_script = false;
  auto value_of = [&](size_t& i, const std::string& option, std::string& value) {
    if (i + 1 >= args.size()) {
      error = option + " needs a value";
      return false;
    }
    value = args[++i];
    return true;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--result") {
      options.print_result = true;
    } else if (arg == "--lang") {
      if (!value_of(i, arg, value)) return false;
      if (value == "ja") {
        options.japanese = true;
      } else if (value == "en") {
        options.japanese = false;
      } else {
        error = "--lang takes ja or en, not \"" + value + "\"";
        return false;
      }
    } else if (arg == "--now") {
      if (!value_of(i, arg, value)) return false;
      ScriptLocalTime now;
      if (!ParseLocalTime(value, now)) {
        error = "--now takes \"YYYY-MM-DD HH:MM:SS.mmm\", not \"" + value + "\"";
        return false;
      }
      options.now = now;
    } else if (arg == "--memory-limit") {
      if (!value_of(i, arg, value)) return false;
      char* end = nullptr;
      const unsigned long long megabytes = std::strtoull(value.c_str(), &end, 10);
      // At most 1 TB, so that the byte count fits on every build.
      if (value.empty() || value[0] == '-' || *end != '\0' || megabytes > (1ull << 20)) {
        error = "--memory-limit takes a number of megabytes, not \"" + value + "\"";
        return false;
      }
      options.memory_limit = static_cast<std::size_t>(megabytes) << 20;
    } else if (arg == "--answer") {
      if (!value_of(i, arg, value)) return false;
      size_t start = 0;
      while (true) {
        const size_t comma = value.find(',', start);
        const std::string word = value.substr(start, comma - start);
        const auto button = ParseDialogAnswer(word);
        if (!button) {
          error = "--answer: unknown answer \"" + word + "\"";
          return false;
        }
        options.answers.push_back(*button);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (arg == "-e") {
      if (!value_of(i, arg, value)) return false;
      if (have_script) {
        error = "only one script may be given";
        return false;
      }
      options.text = value;
      options.from_text = true;
      have_script = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else {
      if (have_script) {
        error = "only one script may be given";
        return false;
      }
      options.file = arg;
      have_script = true;
    }
  }
  if (!have_script && !options.help) {
    error = "no script given";
    return false;
  }
  return true;
}

bool DecodeScriptFile(std::string_view bytes, std::u16string& text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const bool little = bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
  const bool big = bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF;
  if (little || big) {
    if (bytes.size() % 2 != 0) return false;
    text.clear();
    text.reserve(bytes.size() / 2 - 1);
    for (size_t i = 2; i < bytes.size(); i += 2) {
      const unsigned first = byte(i), second = byte(i + 1);
      text += static_cast<char16_t>(little ? (second << 8 | first) : (first << 8 | second));
    }
    return true;
  }
  if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    bytes.remove_prefix(3);
  }
  text = Utf8ToUtf16(bytes);
  return true;
}

std::string FormatErrorLine(int32_t code, int32_t line, std::u16string_view text) {
  std::string message = Utf16ToUtf8(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  return "error " + std::to_string(code) + " line " + std::to_string(line) + ": " + message;
}
