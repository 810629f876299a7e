#pragma once
// The CB. functions a memo script calls, as one table shared by the program
// and the console runner. The table decides which function a call names and
// converts its arguments; what each function does to the machine is the
// host's, behind HostServices.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "display/clock_format.h"
#include "display/system_format.h"
#include "display/system_sampler.h"
#include "script/qv_script.h"

class ScriptSystem;

// What the host functions need of the program around the script. Called on
// the script's own thread.
class HostServices {
 public:
  virtual ~HostServices() = default;
  // Replaces the text the memo line shows.
  virtual void SetOutputText(std::u16string_view text) = 0;
  virtual TimeRecord LocalNow() = 0;
  // FormatCPUToString: the system-information line for `format`.
  virtual std::u16string FormatSystemLine(std::u16string_view format) = 0;
  // level 0 (no icon), 1 information, 2 warning, 3 error.
  virtual void ShellNotify(std::u16string_view text, int level) = 0;
  virtual void ForceAlarm(int32_t value) = 0;
  virtual void Fadein() = 0;
  virtual void Fadeout() = 0;
  virtual std::u16string ClipboardText() = 0;
};

// Runs one CB. call: names compared without regard to case, rows tried in
// table order, a row applying only when its argument count fits. A call no
// row takes becomes the "unknown function" text, shown as the output; the
// run goes on. Returns 1 after the functions that produce text, else 0.
int32_t DispatchHostCall(HostCall& call, HostServices& services, bool japanese);

// The text shown for a CB. call no row takes.
std::u16string UnknownHostFunctionText(std::u16string_view name, int32_t argCount, bool japanese);

// A host value as text (an integer in decimal) and as an integer (a string
// by the decimal text rule).
std::u16string HostValueText(const HostValue& value);
int32_t HostValueInteger(const HostValue& value);

// FormatCPUToString's own figures: its own processor-counter query (apart
// from the display's), opened on the first call, which gives the empty text;
// then sampled at most once per 1000 ms. Between samples the previous text
// stands, unless the pattern differs from the previous one or follows the
// cursor, in which case the kept samples are formatted again.
class HostSystemLine {
 public:
  explicit HostSystemLine(SystemSources& sources) : sources_(sources) {}
  std::u16string Format(std::u16string_view pattern, uint32_t tick, CursorPoint cursor, const DriveWatch& watch);
  // Closes the query (at exit).
  void Close();

 private:
  SystemSources& sources_;
  SystemSnapshot samples_;
  bool have_samples_ = false;
  uint32_t last_sample_tick_ = 0;
  std::u16string last_pattern_;
  std::u16string last_text_;
};

// The console runner's host: SetOutputText and unknown calls print a line
// to `out`, ShellNotify prints "notify LEVEL: TEXT" to `notices`, the time
// comes from `system` (null: midnight of a zero date), and there is no
// clipboard cache, alarm, fading or processor counter.
class ConsoleHostServices final : public HostServices {
 public:
  ConsoleHostServices(std::FILE* out, std::FILE* notices, ScriptSystem* system)
      : out_(out), notices_(notices), system_(system) {}
  void SetOutputText(std::u16string_view text) override;
  TimeRecord LocalNow() override;
  std::u16string FormatSystemLine(std::u16string_view) override { return {}; }
  void ShellNotify(std::u16string_view text, int level) override;
  void ForceAlarm(int32_t) override {}
  void Fadein() override {}
  void Fadeout() override {}
  std::u16string ClipboardText() override { return {}; }

 private:
  std::FILE* out_;
  std::FILE* notices_;
  ScriptSystem* system_;
};

void RunConsoleHostCall(HostCall& call, bool japanese, std::FILE* out, std::FILE* notices);
