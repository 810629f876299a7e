// Prints the working set of every running process whose executable has the
// given name, as the process itself would read it through
// GetProcessMemoryInfo:  working_set.exe kirabi_o.exe
//   kirabi_o.exe pid=32 working_set=5234688 peak_working_set=6012928 private=2113536

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

namespace {

bool Report(DWORD pid, const wchar_t* name) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return false;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                       sizeof counters) != 0;
  CloseHandle(process);
  if (!ok) return false;
  std::printf("%ls pid=%lu working_set=%llu peak_working_set=%llu private=%llu\n", name,
              static_cast<unsigned long>(pid), static_cast<unsigned long long>(counters.WorkingSetSize),
              static_cast<unsigned long long>(counters.PeakWorkingSetSize),
              static_cast<unsigned long long>(counters.PrivateUsage));
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: working_set EXE-NAME\n");
    return 2;
  }
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int found = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, argv[1]) == 0 && Report(entry.th32ProcessID, entry.szExeFile)) ++found;
  }
  CloseHandle(snapshot);
  if (found == 0) std::fprintf(stderr, "working_set: no readable process named %ls\n", argv[1]);
  return found > 0 ? 0 : 1;
}
