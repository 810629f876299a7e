#pragma once
// The display's system-line sampler: one processor-time counter query, opened
// on first need and closed when nothing uses it, sampled at most once per
// 1000 ms; between samples the kept text is reused, or re-formatted from the
// kept samples when the pattern follows the cursor.

#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"
#include "display/system_format.h"

// The platform's figures. The Windows implementation uses the counter
// "\Processor(_Total)\% Processor Time", GlobalMemoryStatusEx,
// GetSystemPowerStatus and GetDiskFreeSpaceExW.
class SystemSources : public DriveSpaceSource {
 public:
  virtual bool OpenProcessorCounter() = 0;
  virtual void CloseProcessorCounter() = 0;
  virtual bool ProcessorCounterOpen() const = 0;
  // Whole percent; false when the counter gives no value.
  virtual bool SampleProcessorLoad(int32_t& percent) = 0;
  virtual bool ReadMemoryStatus(MemorySnapshot& memory) = 0;
  // false when the power status is unreadable.
  virtual bool ReadPowerStatus(PowerSnapshot& power) = 0;
};

// Reads the processor load, memory and power status into `snapshot` (the
// cursor is left as it is); an unreadable power status gives battery 255 and
// a processor counter without a value gives 0.
void TakeSystemSamples(SystemSources& sources, SystemSnapshot& snapshot);

struct SamplerRequest {
  bool CPUMEM = false;
  bool MEMO_AS_SCRIPT = false;  // keeps the counter open for the memo script
  std::u16string_view FORMATCPU;
  const DriveWatch* watch = nullptr;  // null: nothing watched
  CursorPoint cursor;
  uint32_t tick = 0;  // millisecond tick count now
};

enum class SamplerOutcome {
  NoLine,       // CPUMEM off, or the counter was (re)opened this cycle
  Sampled,      // new samples taken and formatted
  Reformatted,  // kept samples formatted for the new cursor position
  Kept,         // the kept text and verdict stand
};

class SystemSampler {
 public:
  explicit SystemSampler(SystemSources& sources) : sources_(sources) {}

  // One display cycle's system-line step. After anything but NoLine, text()
  // and drive_warning() hold the line and the drive verdict.
  SamplerOutcome Run(const SamplerRequest& request);

  // Closes the counter query (at shut-down).
  void Close();

  const TextBuffer& text() const { return text_; }
  bool drive_warning() const { return drive_warning_; }
  const SystemSnapshot& samples() const { return samples_; }

 private:
  void Format(const SamplerRequest& request);

  SystemSources& sources_;
  SystemSnapshot samples_;
  TextBuffer text_;
  bool drive_warning_ = false;
  bool have_samples_ = false;
  uint32_t last_sample_tick_ = 0;
};
