#include "script/host_functions.h"

#include <array>

#include "common/utf.h"
#include "script/script_system.h"
#include "script/value.h"

namespace {

constexpr uint32_t kSampleInterval = 1000;  // ms

enum class Arguments { kOne, kOneOrTwo, kAny };

bool CountFits(Arguments rule, int32_t count) {
  switch (rule) {
    case Arguments::kOne: return count == 1;
    case Arguments::kOneOrTwo: return count == 1 || count == 2;
    case Arguments::kAny: return true;
  }
  return false;
}

using HostHandler = int32_t (*)(HostCall& call, HostServices& services);

struct HostRow {
  std::array<std::u16string_view, 2> names;  // an empty second name: none
  Arguments arguments;
  HostHandler handler;
};

void SetTextResult(HostCall& call, std::u16string text) {
  call.result->isString = 1;
  call.result->text = std::move(text);
}

int32_t SetOutputTextCall(HostCall& call, HostServices& services) {
  services.SetOutputText(HostValueText(call.args[0]));
  return 1;
}

int32_t FormatDateTimeCall(HostCall& call, HostServices& services) {
  TextBuffer formatted;
  FormatDateTime(formatted, services.LocalNow(), HostValueText(call.args[0]));
  SetTextResult(call, std::u16string(formatted.view()));
  return 1;
}

int32_t FormatCpuCall(HostCall& call, HostServices& services) {
  SetTextResult(call, services.FormatSystemLine(HostValueText(call.args[0])));
  return 1;
}

int32_t ShellNotifyCall(HostCall& call, HostServices& services) {
  int32_t level = call.argCount == 2 ? HostValueInteger(call.args[1]) : 0;
  if (level < 1 || level > 3) level = 0;
  services.ShellNotify(HostValueText(call.args[0]), level);
  return 0;
}

int32_t ForceAlarmCall(HostCall& call, HostServices& services) {
  services.ForceAlarm(HostValueInteger(call.args[0]));
  return 0;
}

int32_t FadeinCall(HostCall&, HostServices& services) {
  services.Fadein();
  return 0;
}

int32_t FadeoutCall(HostCall&, HostServices& services) {
  services.Fadeout();
  return 0;
}

int32_t ClipboardCall(HostCall& call, HostServices& services) {
  SetTextResult(call, services.ClipboardText());
  return 0;
}

constexpr HostRow kHostRows[] = {
    {{u"SetOutputText", u""}, Arguments::kOne, SetOutputTextCall},
    {{u"FormatDateTimeToString", u"FormatDateTimeToString$"}, Arguments::kOne, FormatDateTimeCall},
    {{u"FormatCPUToString", u"FormatCPUToString$"}, Arguments::kOne, FormatCpuCall},
    {{u"ShellNotify", u""}, Arguments::kOneOrTwo, ShellNotifyCall},
    {{u"ForceAlarm", u""}, Arguments::kOne, ForceAlarmCall},
    {{u"Fadein", u""}, Arguments::kAny, FadeinCall},
    {{u"Fadeout", u""}, Arguments::kAny, FadeoutCall},
    {{u"GetClipboardTextCache", u""}, Arguments::kAny, ClipboardCall},
};

char16_t FoldCase(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; }

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool RowNames(const HostRow& row, std::u16string_view name) {
  for (std::u16string_view candidate : row.names) {
    if (!candidate.empty() && SameNameIgnoringCase(name, candidate)) return true;
  }
  return false;
}

void WriteLine(std::FILE* out, const std::string& text) {
  if (out == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputc('\n', out);
  std::fflush(out);
}

}  // namespace

std::u16string HostValueText(const HostValue& value) {
  return value.isString ? value.text : Utf8ToUtf16(std::to_string(value.intValue));
}

int32_t HostValueInteger(const HostValue& value) {
  return value.isString ? TextToInteger(Utf16ToUtf8(value.text)) : value.intValue;
}

std::u16string UnknownHostFunctionText(std::u16string_view name, int32_t argCount, bool japanese) {
  std::u16string text = japanese ? u"不明なアプリ提供関数呼び出し: CB." : u"Unknown application provided function: CB.";
  text += name;
  text += u"(args:";
  text += Utf8ToUtf16(std::to_string(argCount));
  text += u")";
  return text;
}

int32_t DispatchHostCall(HostCall& call, HostServices& services, bool japanese) {
  const std::u16string_view name = call.name != nullptr ? call.name : u"";
  const int32_t count = call.args != nullptr ? call.argCount : 0;
  for (const HostRow& row : kHostRows) {
    if (RowNames(row, name) && CountFits(row.arguments, count)) return row.handler(call, services);
  }
  services.SetOutputText(UnknownHostFunctionText(name, call.argCount, japanese));
  return 0;
}

std::u16string HostSystemLine::Format(std::u16string_view pattern, uint32_t tick, CursorPoint cursor,
                                      const DriveWatch& watch) {
  if (!sources_.ProcessorCounterOpen()) {
    // Opened now, figures from the next call on; a failed open is retried.
    sources_.OpenProcessorCounter();
    have_samples_ = false;
    return {};
  }
  // Unsigned difference: the tick count wraps after 49.7 days.
  if (!have_samples_ || tick - last_sample_tick_ > kSampleInterval) {
    last_sample_tick_ = tick;
    have_samples_ = true;
    TakeSystemSamples(sources_, samples_);
  } else if (pattern == last_pattern_ && !PatternFollowsCursor(pattern)) {
    return last_text_;
  }
  samples_.cursor = cursor;
  TextBuffer formatted;
  FormatSystemInfo(formatted, samples_, pattern, watch, sources_);
  last_pattern_.assign(pattern);
  last_text_.assign(formatted.view());
  return last_text_;
}

void HostSystemLine::Close() {
  if (sources_.ProcessorCounterOpen()) sources_.CloseProcessorCounter();
  have_samples_ = false;
}

void ConsoleHostServices::SetOutputText(std::u16string_view text) { WriteLine(out_, Utf16ToUtf8(text)); }

TimeRecord ConsoleHostServices::LocalNow() {
  TimeRecord time;
  if (system_ == nullptr) return time;
  const ScriptLocalTime now = system_->LocalTime();
  time.year = static_cast<uint16_t>(now.year);
  time.month = static_cast<uint16_t>(now.month);
  time.day_of_week = static_cast<uint16_t>(now.day_of_week);
  time.day = static_cast<uint16_t>(now.day);
  time.hour = static_cast<uint16_t>(now.hour);
  time.minute = static_cast<uint16_t>(now.minute);
  time.second = static_cast<uint16_t>(now.second);
  time.milliseconds = static_cast<uint16_t>(now.milliseconds);
  return time;
}

void ConsoleHostServices::ShellNotify(std::u16string_view text, int level) {
  WriteLine(notices_, "notify " + std::to_string(level) + ": " + Utf16ToUtf8(text));
}

void RunConsoleHostCall(HostCall& call, bool japanese, std::FILE* out, std::FILE* notices) {
  ConsoleHostServices services(out, notices, nullptr);
  DispatchHostCall(call, services, japanese);
}
