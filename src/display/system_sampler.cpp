#include "display/system_sampler.h"

namespace {

constexpr uint32_t kSampleInterval = 1000;  // ms

}  // namespace

void TakeSystemSamples(SystemSources& sources, SystemSnapshot& snapshot) {
  if (!sources.SampleProcessorLoad(snapshot.processor_load)) snapshot.processor_load = 0;
  if (!sources.ReadMemoryStatus(snapshot.memory)) snapshot.memory = MemorySnapshot{};
  if (!sources.ReadPowerStatus(snapshot.power)) snapshot.power.battery_percent = kBatteryUnknown;
}

SamplerOutcome SystemSampler::Run(const SamplerRequest& request) {
  if (!request.CPUMEM) {
    if (!request.MEMO_AS_SCRIPT) Close();
    return SamplerOutcome::NoLine;
  }
  if (!sources_.ProcessorCounterOpen()) {
    // Opened now, sampled from the next cycle on; a failed open is retried.
    sources_.OpenProcessorCounter();
    have_samples_ = false;
    return SamplerOutcome::NoLine;
  }
  // Unsigned difference: the tick count wraps after 49.7 days. The first
  // cycle after opening always samples, so the line never shows stale or
  // empty figures.
  if (!have_samples_ || request.tick - last_sample_tick_ > kSampleInterval) {
    last_sample_tick_ = request.tick;
    have_samples_ = true;
    TakeSystemSamples(sources_, samples_);
    samples_.cursor = request.cursor;
    Format(request);
    return SamplerOutcome::Sampled;
  }
  if (PatternFollowsCursor(request.FORMATCPU)) {
    samples_.cursor = request.cursor;
    Format(request);
    return SamplerOutcome::Reformatted;
  }
  return SamplerOutcome::Kept;
}

void SystemSampler::Close() {
  if (sources_.ProcessorCounterOpen()) sources_.CloseProcessorCounter();
  have_samples_ = false;
}

void SystemSampler::Format(const SamplerRequest& request) {
  static const DriveWatch kNothingWatched;
  const DriveWatch& watch = request.watch ? *request.watch : kNothingWatched;
  drive_warning_ = FormatSystemInfo(text_, samples_, request.FORMATCPU, watch, sources_);
}
