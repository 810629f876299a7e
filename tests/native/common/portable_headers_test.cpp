// Portable files hold the logic and must build anywhere: they may not
// include a platform header, nor a header of the Win32 layer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Platform files are named for their platform: foo_win.cpp, foo_posix.cpp.
bool IsPlatformFile(const fs::path& p) {
  const std::string stem = p.stem().string();
  return EndsWith(stem, "_win") || EndsWith(stem, "_posix");
}

bool IsSource(const fs::path& p) {
  static const std::set<std::string> kExtensions = {".h", ".hpp", ".cpp", ".cc", ".c", ".l", ".y", ".ll", ".yy"};
  return kExtensions.count(p.extension().string()) != 0;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// The header named by an #include line, or empty.
std::string IncludedHeader(const std::string& line) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] != '#') return {};
  i = line.find_first_not_of(" \t", i + 1);
  if (i == std::string::npos || line.compare(i, 7, "include") != 0) return {};
  i = line.find_first_of("<\"", i + 7);
  if (i == std::string::npos) return {};
  const char close = line[i] == '<' ? '>' : '"';
  const std::size_t end = line.find(close, i + 1);
  if (end == std::string::npos) return {};
  return line.substr(i + 1, end - i - 1);
}

bool IsPlatformHeader(const std::string& header) {
  static const std::set<std::string> kPlatform = {
      "windows.h", "windef.h",  "winbase.h",   "winuser.h", "wingdi.h",   "winreg.h",    "winnls.h",
      "winnt.h",   "shellapi.h", "shlobj.h",   "shlwapi.h", "commctrl.h", "commdlg.h",   "objbase.h",
      "ole2.h",    "mmsystem.h", "imm.h",      "pdh.h",     "tchar.h",    "gdiplus.h",   "imagehlp.h",
      "dwmapi.h",  "uxtheme.h",  "windowsx.h", "mlang.h",   "htmlhelp.h", "process.h",   "io.h",
      "intrin.h",  "winsock2.h", "psapi.h",    "powrprof.h", "shobjidl.h", "unistd.h",   "pthread.h",
      "dlfcn.h",   "sys/mman.h", "sys/resource.h"};
  const std::string h = Lower(header);
  const std::string base = fs::path(h).filename().string();
  if (kPlatform.count(h) || kPlatform.count(base)) return true;
  return IsPlatformFile(fs::path(h));
}

}  // namespace

TEST(PortableFiles, IncludeNoPlatformHeader) {
  std::vector<std::string> offences;
  std::size_t checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(KIRABI_SOURCE_DIR)) {
    const fs::path& p = entry.path();
    if (!entry.is_regular_file() || !IsSource(p) || IsPlatformFile(p)) continue;
    ++checked;
    std::ifstream in(p);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const std::string header = IncludedHeader(line);
      if (!header.empty() && IsPlatformHeader(header))
        offences.push_back(p.string() + ":" + std::to_string(number) + " includes " + header);
    }
  }
  EXPECT_GT(checked, 0u);
  for (const std::string& o : offences) ADD_FAILURE() << o;
}
