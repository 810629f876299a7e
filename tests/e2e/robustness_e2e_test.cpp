// The whole program under Wine against hostile settings and messages: an
// INI file that cannot be written at exit, INI files in other encodings, a
// huge INI file, window sizes no window can have, and external text with a
// wrong identifier.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"
#include "settings/settings.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
const std::wstring kSender = WinePath(KIRABI_SENDER_EXE);

constexpr COLORREF kClockColor = RGB(255, 0, 0);
constexpr COLORREF kExternalColor = RGB(255, 0, 255);
constexpr POINT kCursor{300, 300};
constexpr DWORD kCycle = 1400;

std::vector<std::wstring> PanelSettings() {
  return {L"TEXTCOLOR_R=255", L"TEXTCOLOR_G=0", L"TEXTCOLOR_B=0", L"FONTSIZE=24",
          L"LEFT=30",         L"TOP=40",        L"NoOpeningDlg=1"};
}

RECT PanelArea() { return {kCursor.x + 30, kCursor.y + 40, kCursor.x + 30 + 500, kCursor.y + 40 + 80}; }

std::string ReadBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

bool Writable(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Sets or clears the immutable attribute of a file through the host's chattr
// (as root it stops every write, which read-only bits do not under Wine).
// Wine starts a host program without waiting for it, so the result is
// polled, and the command repeated if it does not take.
bool SetImmutable(const std::wstring& path, bool on) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return false;
  char* name = unix_name(path.c_str());
  if (name == nullptr) return false;
  const std::string unix_path = name;
  HeapFree(GetProcessHeap(), 0, name);
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::wstring line = std::wstring(L"chattr ") + (on ? L"+i" : L"-i") + L" \"" +
                        std::wstring(unix_path.begin(), unix_path.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(L"Z:\\usr\\bin\\chattr", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      return false;
    }
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(50)) {
      if (Writable(path) != on) return true;
    }
  }
  return false;
}

class RobustnessEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"QZ_LANG", L"EN");
    ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
    exe_ = folder_.File(L"kirabi_o.exe");
    ini_ = folder_.File(L"kirabi.ini");
    ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
  }

  void TearDown() override {
    if (immutable_) SetImmutable(ini_, false);
    if (main_.Running()) {
      RunToEnd(exe_, L"/X", folder_.path(), 5000);
      for (HWND box; (box = WaitForWindow(L"#32770", nullptr, 500, main_.id())) != nullptr;) {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      if (main_.WaitExit(5000) == -1) main_.Kill();
    }
    WaitUntilGone(L"kirabi", 3000);
  }

  void StartWithFileAsIs() {
    SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_TRUE(main_.Start(exe_, L"", folder_.path()));
    text_window_ = WaitForWindow(L"kirabi", nullptr, 10000, main_.id());
    ASSERT_NE(text_window_, nullptr) << "the text window did not appear";
    SetCursorPos(kCursor.x, kCursor.y);
    Pause(kCycle);
  }

  void Start(const std::vector<std::wstring>& lines) {
    ASSERT_TRUE(WriteIniFile(ini_, lines));
    StartWithFileAsIs();
  }

  // /X from a second instance; the time until the first one has ended.
  DWORD ExitAndTime(DWORD deadline_ms) {
    const DWORD start = GetTickCount();
    RunToEnd(exe_, L"/X", folder_.path(), deadline_ms);
    main_.WaitExit(deadline_ms);
    return GetTickCount() - start;
  }

  std::wstring Value(const wchar_t* key) {
    bool present = false;
    return ReadIniValue(ini_, key, present);
  }

  TempFolder folder_;
  std::wstring exe_;
  std::wstring ini_;
  Process main_;
  HWND text_window_ = nullptr;
  bool immutable_ = false;
};

TEST_F(RobustnessEndToEnd, FailedSaveAtExitIsReportedInBothLanguages) {
  const struct {
    const wchar_t* lang;
    const wchar_t* caption;
    std::wstring intro;
    std::wstring left_line;
  } cases[] = {
      {L"EN", L"Kirabi", L"The settings could not be saved at exit.", L"[qz] - LEFT write error."},
      {L"JA", L"キラビ", L"終了時に設定を保存できませんでした。", L"[qz]セクションのLEFTに値を書き込めません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.lang[0] == L'E' ? "English" : "Japanese"));
    SetEnvironmentVariableW(L"QZ_LANG", c.lang);
    Start(PanelSettings());
    const std::string before = ReadBytes(ini_);
    ASSERT_TRUE(SetImmutable(ini_, true)) << "chattr +i did not make the settings file unwritable";
    immutable_ = true;

    Process second;
    ASSERT_TRUE(second.Start(exe_, L"/X", folder_.path()));
    HWND box = WaitForWindow(L"#32770", c.caption, 15000, main_.id());
    ASSERT_NE(box, nullptr) << "no message box at exit";
    wchar_t text[8192] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 8192);
    const std::wstring shown = text;
    EXPECT_EQ(shown.find(c.intro), 0u) << std::string(shown.begin(), shown.end());
    EXPECT_NE(shown.find(c.left_line), std::wstring::npos);
    EXPECT_NE(shown.find(L"kirabi.ini"), std::wstring::npos);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_NE(main_.WaitExit(15000), -1) << "the program did not end after the box";
    EXPECT_EQ(second.WaitExit(10000), 0);

    ASSERT_TRUE(SetImmutable(ini_, false));
    immutable_ = false;
    EXPECT_EQ(ReadBytes(ini_), before);
  }
}

TEST_F(RobustnessEndToEnd, EmptyAndUtf8IniFilesKeepJapaneseText) {
  SetEnvironmentVariableW(L"QZ_LANG", L"JA");
  const std::wstring mine = L"\x3042\x3044\x3046";  // kept from the hand-written file
  const struct {
    const char* name;
    std::string bytes;
    bool copy;
  } cases[] = {
      {"0 bytes", "", false},
      {"UTF-8", Utf8(L"[qz]\r\nNoOpeningDlg=1\r\nMINE=" + mine + L"\r\n"), true},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + Utf8(L"[qz]\r\nNoOpeningDlg=1\r\nMINE=" + mine + L"\r\n"), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW((ini_ + L".bak").c_str());
    ASSERT_TRUE(WriteBytes(ini_, c.bytes));
    StartWithFileAsIs();
    if (c.bytes.empty()) {
      // The first Japanese start shows its opening notice.
      HWND notice = WaitForWindow(L"#32770", L"キラビ", 5000, main_.id());
      if (notice != nullptr) PostMessageW(notice, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_NE(ExitAndTime(15000), DWORD(-1));
    ASSERT_EQ(main_.WaitExit(1000), 0);
    const std::string saved = ReadBytes(ini_);
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Value(L"FORMATCPU"), Wide(DefaultFormatCpu(Language::Japanese)));
    EXPECT_EQ(Value(L"FORMAT"), Wide(DefaultSettings(Language::Japanese).FORMAT.view()));
    EXPECT_EQ(Value(L"FONTNAME"), L"MS UI Gothic");
    if (c.copy) {
      EXPECT_EQ(Value(L"MINE"), mine);
      EXPECT_EQ(ReadBytes(ini_ + L".bak"), c.bytes);
    } else {
      EXPECT_EQ(GetFileAttributesW((ini_ + L".bak").c_str()), INVALID_FILE_ATTRIBUTES);
    }
  }
}

TEST_F(RobustnessEndToEnd, HugeIniFileSavesQuicklyAndKeepsWhatItDoesNotKnow) {
  std::wstring text = L"\xFEFF[qz]\r\n";
  for (const std::wstring& line : PanelSettings()) text += line + L"\r\n";
  text += L"UNKNOWN_TOOL_KEY=keep me\r\n[another tool]\r\n";
  const std::wstring filler = L"=the quick brown fox jumps over the lazy dog again and again\r\n";
  for (int i = 0; text.size() * 2 < 5 * 1024 * 1024; ++i) text += L"K" + std::to_wstring(i) + filler;
  ASSERT_TRUE(WriteBytes(ini_, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
  StartWithFileAsIs();

  const DWORD took = ExitAndTime(60000);
  std::printf("[ figures ] /X with a %zu-byte settings file: %lu ms\n", text.size() * 2,
              static_cast<unsigned long>(took));
  ASSERT_EQ(main_.WaitExit(1000), 0);
  EXPECT_LT(took, 2000u);
  EXPECT_EQ(Value(L"UNKNOWN_TOOL_KEY"), L"keep me");
  EXPECT_EQ(Value(L"LEFT"), L"30");
  EXPECT_EQ(Value(L"INTERVAL"), L"20");  // written by the save, not in the file before
  bool present = false;
  EXPECT_EQ(ReadIniValue(ini_, L"K0", present), L"");  // another section's key is not [qz]'s
  wchar_t last[128] = L"";
  GetPrivateProfileStringW(L"another tool", L"K0", L"", last, 128, ini_.c_str());
  EXPECT_EQ(std::wstring(last), filler.substr(1, filler.size() - 3));
  EXPECT_EQ(GetFileAttributesW((ini_ + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Position changes of kirabi's text window, reported by the probe library
// hooked into its thread.
struct PositionChanges {
  int moves = 0;
  int resizes = 0;
};
PositionChanges g_changes;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) {
    ++(wparam != 0 ? g_changes.resizes : g_changes.moves);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

class ResizeProbe {
 public:
  explicit ResizeProbe(HWND text_window) {
    WNDCLASSW kind{};
    kind.lpfnWndProc = ProbeWindowProc;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.lpszClassName = L"kirabi_resize_probe";
    RegisterClassW(&kind);
    window_ = CreateWindowExW(0, L"kirabi_resize_probe", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    library_ = LoadLibraryW(WinePath(KIRABI_RESIZE_PROBE_DLL).c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library_, "ResizeProbeHook")));
    if (window_ != nullptr && hook != nullptr) {
      hook_ = SetWindowsHookExW(WH_CALLWNDPROC, hook, library_, GetWindowThreadProcessId(text_window, nullptr));
    }
  }
  ~ResizeProbe() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (window_) DestroyWindow(window_);
    if (library_) FreeLibrary(library_);
  }
  bool ready() const { return hook_ != nullptr; }

  // What arrives while the test pumps its messages for `ms`.
  PositionChanges Watch(DWORD ms) {
    g_changes = {};
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      Sleep(10);
    }
    return g_changes;
  }

 private:
  HWND window_ = nullptr;
  HMODULE library_ = nullptr;
  HHOOK hook_ = nullptr;
};

TEST_F(RobustnessEndToEnd, FixedSizesNoWindowCanHaveShowTheClockAndSettle) {
  for (const wchar_t* width : {L"WND_WIDTH=-5", L"WND_WIDTH=40000", L"WND_WIDTH=2147483647"}) {
    SCOPED_TRACE(testing::Message() << std::string(width, width + wcslen(width)));
    std::vector<std::wstring> lines = PanelSettings();
    lines.push_back(width);
    Start(lines);
    RECT r{};
    GetWindowRect(text_window_, &r);
    EXPECT_GT(r.right - r.left, 20);
    EXPECT_GT(r.bottom - r.top, 10);
    EXPECT_GT(CountScreenPixels(PanelArea(), kClockColor), 20) << "no clock drawn";

    ResizeProbe probe(text_window_);
    ASSERT_TRUE(probe.ready()) << "the probe could not be hooked into the program";
    // The probe sees the panel follow the cursor, so its silence below means something.
    SetCursorPos(kCursor.x + 40, kCursor.y);
    const PositionChanges moved = probe.Watch(kCycle);
    SetCursorPos(kCursor.x, kCursor.y);
    probe.Watch(kCycle);
    const PositionChanges resting = probe.Watch(3000);
    EXPECT_GT(moved.moves, 0) << "the probe sees nothing";
    EXPECT_EQ(resting.resizes, 0) << "the panel was resized while nothing changed";
    std::printf("[ figures ] %ls: panel %ldx%ld; %d moves, %d resizes after a move; %d resizes in 3 s at rest\n",
                width, r.right - r.left, r.bottom - r.top, moved.moves, moved.resizes, resting.resizes);

    EXPECT_NE(ExitAndTime(15000), DWORD(-1));
    main_.WaitExit(5000);
  }
}

TEST_F(RobustnessEndToEnd, ExternalTextWithAWrongIdentifierIsIgnored) {
  Start(PanelSettings());
  ASSERT_EQ(CountScreenPixels(PanelArea(), kExternalColor), 0);
  auto pixels_with = [&](const wchar_t* id) {
    Process sender;
    EXPECT_TRUE(sender.Start(kSender, std::wstring(L"--text MMMM --hold 3000 --id ") + id, folder_.path()));
    Pause(kCycle + 400);
    const int pixels = CountScreenPixels(PanelArea(), kExternalColor);
    EXPECT_EQ(sender.WaitExit(8000), 0);
    Pause(kCycle);
    return pixels;
  };
  EXPECT_EQ(pixels_with(L"4295069710"), 0);  // 102414 + 2^32
  EXPECT_EQ(pixels_with(L"102415"), 0);
  EXPECT_GT(pixels_with(L"102414"), 20) << "the right identifier must show";
}

}  // namespace
