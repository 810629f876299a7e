#pragma once
// Drive and system figures set by a test, with a record of what was asked.

#include <map>
#include <string>

#include "display/system_sampler.h"

class FakeSystemSources : public SystemSources {
 public:
  std::map<char16_t, DriveSpace> drives;  // by upper-case letter
  std::u16string drives_asked;
  bool open_succeeds = true;
  bool open = false;
  int opens = 0;
  int closes = 0;
  int samples = 0;
  int32_t load = 0;
  bool load_ok = true;
  MemorySnapshot memory;
  bool memory_ok = true;
  PowerSnapshot power;
  bool power_ok = true;

  bool QueryDriveSpace(char16_t letter, DriveSpace& space) override {
    drives_asked.push_back(letter);
    const char16_t upper = letter >= u'a' && letter <= u'z' ? letter - 32 : letter;
    auto it = drives.find(upper);
    if (it == drives.end()) return false;
    space = it->second;
    return true;
  }
  bool OpenProcessorCounter() override {
    ++opens;
    open = open_succeeds;
    return open;
  }
  void CloseProcessorCounter() override {
    ++closes;
    open = false;
  }
  bool ProcessorCounterOpen() const override { return open; }
  bool SampleProcessorLoad(int32_t& percent) override {
    ++samples;
    if (load_ok) percent = load;
    return load_ok;
  }
  bool ReadMemoryStatus(MemorySnapshot& m) override {
    if (memory_ok) m = memory;
    return memory_ok;
  }
  bool ReadPowerStatus(PowerSnapshot& p) override {
    if (power_ok) p = power;
    return power_ok;
  }
};

constexpr uint64_t kMiB = 1024ull * 1024;
constexpr uint64_t kGiB = 1024ull * kMiB;
