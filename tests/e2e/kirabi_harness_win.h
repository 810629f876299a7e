#pragma once
// Drives the real kirabi.exe under Wine: a private folder with a prepared
// settings file, instances started and ended, the screen read back, and the
// texts of the notification balloons.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A Unix path of the build as Wine sees it (drive Z:).
std::wstring WinePath(const char* unix_path);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& path() const { return path_; }
  std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Writes a UTF-16LE INI file (byte-order mark, section [qz]) with the lines.
bool WriteIniFile(const std::wstring& path, const std::vector<std::wstring>& lines);
std::wstring ReadIniValue(const std::wstring& path, const std::wstring& key, bool& present);

class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Start(const std::wstring& exe, const std::wstring& args, const std::wstring& folder);
  // The exit code, or -1 when it still runs after `ms`.
  int WaitExit(DWORD ms);
  bool Running();
  DWORD id() const { return info_.dwProcessId; }
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Runs a program to its end (at most `ms`) and returns its exit code (-1: still running, killed).
int RunToEnd(const std::wstring& exe, const std::wstring& args, const std::wstring& folder, DWORD ms);

// Polls for a top-level window of the class (and title, when given).
HWND WaitForWindow(const wchar_t* class_name, const wchar_t* title, DWORD ms, DWORD process_id = 0);
bool WaitUntilGone(const wchar_t* class_name, DWORD ms);

// The screen inside `area`, row by row, each pixel as 0xRRGGBB.
std::vector<uint32_t> ReadScreenPixels(const RECT& area);

// Pixels of exactly `color` (COLORREF) on the screen inside `area`.
int CountScreenPixels(const RECT& area, COLORREF color);

// Texts of the visible tooltip windows (the balloons of the notification area).
std::vector<std::wstring> BalloonTexts();

void Pause(DWORD ms);

// A test that installs kirabi.exe in a private folder, starts it with a
// prepared INI file and ends it afterwards (/X, or killed when it hangs).
class KirabiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies `kirabi` to the folder as `name` (a name ending in _o.exe keeps
  // the settings in the INI file), writes the settings lines (none: no
  // file), puts the cursor at `cursor` and starts it with `args`; waits for
  // its text window.
  void Launch(const std::wstring& kirabi, const std::vector<std::wstring>& lines, const std::wstring& args,
              POINT cursor, const wchar_t* name = L"kirabi_o.exe");
  // A second start with a switch, run to its end.
  int Second(const std::wstring& args) { return RunToEnd(exe_, args, folder_.path(), 10000); }

  TempFolder folder_;
  std::wstring exe_;
  std::wstring ini_;
  Process main_;
  HWND text_window_ = nullptr;
};

// Polls `done` every 50 ms until it holds or `ms` have passed.
bool PollUntil(DWORD ms, const std::function<bool()>& done);

// The screen as a 24-bit BMP file.
bool SaveScreen(const std::wstring& path);

// The clipboard's text (CF_UNICODETEXT); empty when it holds none.
std::wstring ClipboardText();
// A window's client area in screen coordinates.
RECT ClientOnScreen(HWND window);

// How a window's client area looks once its dark background has been
// painted (or after a few seconds): pixel counts of the dark background
// (RGB 56,56,56), of white and of the system's dialog colour.
struct ClientLook {
  int area = 0;
  int dark = 0;
  int white = 0;
  int face = 0;
};
ClientLook LookAtClient(HWND window);

// Dark mode for the program started as `exe_name`: the system's app theme
// set to dark, and Wine told that this program runs on Windows 10 (Wine
// reports an older version, where dark mode does not apply). Off sets the
// theme back to light.
void UseDarkMode(const wchar_t* exe_name, bool on);
