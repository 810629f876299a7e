#include "display/system_sampler_win.h"

bool WinSystemSources::OpenProcessorCounter() {
  if (query_) return true;
  PDH_HQUERY query = nullptr;
  if (PdhOpenQueryW(nullptr, 0, &query) != ERROR_SUCCESS) return false;
  // The English path works whatever the system's language; a localised
  // system would not know "\Processor(_Total)\% Processor Time" otherwise.
  const wchar_t* path = L"\\Processor(_Total)\\% Processor Time";
  PDH_HCOUNTER counter = nullptr;
  if (PdhAddEnglishCounterW(query, path, 0, &counter) != ERROR_SUCCESS &&
      PdhAddCounterW(query, path, 0, &counter) != ERROR_SUCCESS) {
    PdhCloseQuery(query);
    return false;
  }
  // A rate counter needs two collections; the first one here means the
  // first sample a cycle later already has a value.
  PdhCollectQueryData(query);
  query_ = query;
  counter_ = counter;
  return true;
}

void WinSystemSources::CloseProcessorCounter() {
  if (!query_) return;
  PdhCloseQuery(query_);
  query_ = nullptr;
  counter_ = nullptr;
}

bool WinSystemSources::SampleProcessorLoad(int32_t& percent) {
  if (!query_ || PdhCollectQueryData(query_) != ERROR_SUCCESS) return false;
  PDH_FMT_COUNTERVALUE value{};
  if (PdhGetFormattedCounterValue(counter_, PDH_FMT_LONG, nullptr, &value) != ERROR_SUCCESS)
    return false;
  percent = value.longValue;
  return true;
}

bool WinSystemSources::ReadMemoryStatus(MemorySnapshot& memory) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return false;
  memory.memory_load = status.dwMemoryLoad;
  memory.total_physical = status.ullTotalPhys;
  memory.available_physical = status.ullAvailPhys;
  memory.total_page_file = status.ullTotalPageFile;
  memory.available_page_file = status.ullAvailPageFile;
  memory.total_virtual = status.ullTotalVirtual;
  memory.available_virtual = status.ullAvailVirtual;
  memory.available_extended_virtual = status.ullAvailExtendedVirtual;
  return true;
}

bool WinSystemSources::ReadPowerStatus(PowerSnapshot& power) {
  SYSTEM_POWER_STATUS status{};
  if (!GetSystemPowerStatus(&status)) return false;
  power.battery_percent = status.BatteryLifePercent;
  return true;
}

bool WinSystemSources::QueryDriveSpace(char16_t letter, DriveSpace& space) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  // No "insert a disk" box for an empty removable drive: just a failure.
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  ULARGE_INTEGER free_to_user{}, total{};
  const BOOL ok = GetDiskFreeSpaceExW(root, &free_to_user, &total, nullptr);
  SetErrorMode(old_mode);
  if (!ok) return false;
  space.free_to_user = free_to_user.QuadPart;
  space.total = total.QuadPart;
  return true;
}
