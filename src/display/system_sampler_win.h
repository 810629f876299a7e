#pragma once
// The platform's system figures: the PDH processor-time counter, memory,
// power and drive free space.

#include <windows.h>
#include <pdh.h>

#include "display/system_sampler.h"

class WinSystemSources : public SystemSources {
 public:
  WinSystemSources() = default;
  ~WinSystemSources() override { CloseProcessorCounter(); }
  WinSystemSources(const WinSystemSources&) = delete;
  WinSystemSources& operator=(const WinSystemSources&) = delete;

  bool OpenProcessorCounter() override;
  void CloseProcessorCounter() override;
  bool ProcessorCounterOpen() const override { return query_ != nullptr; }
  bool SampleProcessorLoad(int32_t& percent) override;
  bool ReadMemoryStatus(MemorySnapshot& memory) override;
  bool ReadPowerStatus(PowerSnapshot& power) override;
  bool QueryDriveSpace(char16_t letter, DriveSpace& space) override;

 private:
  PDH_HQUERY query_ = nullptr;
  PDH_HCOUNTER counter_ = nullptr;
};
