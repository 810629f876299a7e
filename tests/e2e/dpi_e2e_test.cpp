// The program at a higher desktop DPI under Wine: the panel's text grows
// with the DPI and stays sharp (only whole colours, no blended fringe), and
// the settings sheet opens larger. Each test sets the desktop's LogPixels
// before it starts the program and puts the old value back after.
//
// With KIRABI_DPI_SHOTS set to a folder, the tests also save pictures of the
// panel and the sheet there.

#include <gtest/gtest.h>
#include <windows.h>

#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
constexpr POINT kCursor{200, 200};
constexpr DWORD kOpen = 15000;  // generous: a loaded 2-core machine
constexpr COLORREF kText = RGB(255, 0, 0);
constexpr COLORREF kOutline = RGB(0, 0, 255);
constexpr COLORREF kPanel = RGB(200, 200, 200);

// Where the desktop's DPI is kept: the user's desktop settings, and the
// current hardware profile's fonts key (read when the first is absent).
struct DpiKey {
  HKEY root;
  const wchar_t* path;
};
const DpiKey kDpiKeys[] = {
    {HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
    {HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"},
};

// Sets LogPixels for the programs started from now on; the destructor puts
// back what was there (or removes it).
class DesktopDpi {
 public:
  explicit DesktopDpi(DWORD dpi) {
    for (size_t i = 0; i < std::size(kDpiKeys); ++i) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(kDpiKeys[i].root, kDpiKeys[i].path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        continue;
      }
      DWORD size = sizeof old_[i];
      had_[i] = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_[i]), &size) ==
                ERROR_SUCCESS;
      RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
      RegCloseKey(key);
    }
  }
  ~DesktopDpi() {
    for (size_t i = 0; i < std::size(kDpiKeys); ++i) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(kDpiKeys[i].root, kDpiKeys[i].path, 0, KEY_WRITE, &key) != ERROR_SUCCESS) continue;
      if (had_[i]) {
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_[i]), sizeof old_[i]);
      } else {
        RegDeleteValueW(key, L"LogPixels");
      }
      RegCloseKey(key);
    }
  }

 private:
  DWORD old_[2] = {};
  bool had_[2] = {};
};

// This test program reads other windows' rectangles and the screen in real
// pixels, whatever the DPI.
void BePerMonitorAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (set == nullptr || !set(reinterpret_cast<HANDLE>(-4))) SetProcessDPIAware();
}

// The DPI awareness of another program's window: 0 unaware, 1 system, 2 per
// monitor; -1 when the system cannot say.
int WindowAwareness(HWND window) {
  using GetContext = HANDLE(WINAPI*)(HWND);
  using GetAwareness = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto get_context =
      reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  auto get_awareness = reinterpret_cast<GetAwareness>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (get_context == nullptr || get_awareness == nullptr) return -1;
  return get_awareness(get_context(window));
}

std::wstring ShotsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  return GetEnvironmentVariableW(L"KIRABI_DPI_SHOTS", folder, MAX_PATH) ? folder : L"";
}

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

struct PanelReading {
  RECT window{};
  int text_rows = 0;    // rows from the first to the last holding TEXTCOLOR
  int text_pixels = 0;
  int outline_pixels = 0;
  int other_pixels = 0;  // neither text, outline nor panel: a blended fringe
  uint32_t first_other = 0;
};

PanelReading ReadPanel(HWND text_window) {
  PanelReading r;
  GetWindowRect(text_window, &r.window);
  const int w = r.window.right - r.window.left;
  const std::vector<uint32_t> px = ReadScreenPixels(r.window);
  int first = -1, last = -1;
  for (std::size_t i = 0; i < px.size(); ++i) {
    const int row = int(i / std::size_t(w));
    if (px[i] == Rgb(kText)) {
      ++r.text_pixels;
      if (first < 0) first = row;
      last = row;
    } else if (px[i] == Rgb(kOutline)) {
      ++r.outline_pixels;
    } else if (px[i] != Rgb(kPanel)) {
      if (r.other_pixels++ == 0) r.first_other = px[i];
    }
  }
  r.text_rows = first < 0 ? 0 : last - first + 1;
  return r;
}

class DpiEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { BePerMonitorAware(); }

  void SetUp() override {
    ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
  }

  void TearDown() override { Stop(); }

  void Stop() {
    if (sheet_ && IsWindow(sheet_)) PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    PollUntil(5000, [&] { return !sheet_ || !IsWindow(sheet_); });
    sheet_ = nullptr;
    if (main_.Running()) {
      RunToEnd(exe_, L"/X", folder_.path(), 5000);
      if (main_.WaitExit(8000) == -1) main_.Kill();
    }
    WaitUntilGone(L"kirabi", 3000);
  }

  void Start(const wchar_t* language, const wchar_t* extra = nullptr) {
    SetEnvironmentVariableW(L"QZ_LANG", language);
    exe_ = folder_.File(L"kirabi_o.exe");
    ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(WriteIniFile(folder_.File(L"kirabi.ini"),
                             {L"TEXTCOLOR_R=255", L"TEXTCOLOR_G=0", L"TEXTCOLOR_B=0", L"KAKOMI_COLOR_R=0",
                              L"KAKOMI_COLOR_G=0", L"KAKOMI_COLOR_B=255", L"WBKCOLOR_R=200", L"WBKCOLOR_G=200",
                              L"WBKCOLOR_B=200", L"BG_ALPHA=255", L"FONTSIZE=24", L"FORMAT=HH:mm:ss",
                              L"CLIPBOARD=0", L"CPUMEM=0", L"IMESTATE=0", L"ALARM_NOKORI=0", L"GAIBU=0",
                              L"NoOpeningDlg=1", extra != nullptr ? extra : L"NoOpeningDlg=1"}));
    SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_TRUE(main_.Start(exe_, L"", folder_.path()));
    text_window_ = WaitForWindow(L"kirabi", nullptr, kOpen, main_.id());
    ASSERT_NE(text_window_, nullptr) << "the text window did not appear";
    SetCursorPos(kCursor.x, kCursor.y);
  }

  // The panel once its clock is drawn and placed.
  PanelReading SettledPanel() {
    PanelReading r;
    PollUntil(kOpen, [&] {
      r = ReadPanel(text_window_);
      return r.text_pixels > 40 && r.outline_pixels > 40;
    });
    Pause(300);
    return ReadPanel(text_window_);
  }

  PanelReading PanelAt(DWORD dpi, const wchar_t* shot) {
    DesktopDpi desktop(dpi);
    Start(L"EN");
    PanelReading r = SettledPanel();
    const std::wstring shots = ShotsFolder();
    if (!shots.empty()) SaveScreen(shots + L"\\" + shot);
    Stop();
    return r;
  }

  HWND OpenSheet() {
    EXPECT_EQ(RunToEnd(exe_, L"/M", folder_.path(), kOpen), 0);
    sheet_ = nullptr;
    PollUntil(kOpen, [&] {
      sheet_ = FindWindowW(L"#32770", nullptr);
      DWORD pid = 0;
      if (sheet_) GetWindowThreadProcessId(sheet_, &pid);
      return sheet_ && pid == main_.id() && SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
    });
    return sheet_;
  }

  TempFolder folder_;
  std::wstring exe_;
  Process main_;
  HWND text_window_ = nullptr;
  HWND sheet_ = nullptr;
};

TEST_F(DpiEndToEnd, TheProgramDeclaresPerMonitorAwareness) {
  Start(L"EN");
  const int awareness = WindowAwareness(text_window_);
  if (awareness == -1) GTEST_SKIP() << "the system cannot tell a window's DPI awareness";
  EXPECT_EQ(awareness, 2);
}

TEST_F(DpiEndToEnd, TheClockGrowsWithTheDpiAndStaysSharp) {
  const PanelReading at96 = PanelAt(96, L"panel-96.bmp");
  const PanelReading at144 = PanelAt(144, L"panel-144.bmp");
  std::printf("clock text height: %d px at 96 DPI, %d px at 144 DPI (panel %ld x %ld and %ld x %ld)\n",
              at96.text_rows, at144.text_rows, at96.window.right - at96.window.left,
              at96.window.bottom - at96.window.top, at144.window.right - at144.window.left,
              at144.window.bottom - at144.window.top);
  ASSERT_GT(at96.text_rows, 5);
  const double ratio = double(at144.text_rows) / at96.text_rows;
  EXPECT_GE(ratio, 1.3) << at96.text_rows << " -> " << at144.text_rows;
  EXPECT_LE(ratio, 1.7) << at96.text_rows << " -> " << at144.text_rows;
  const double panel_ratio = double(at144.window.bottom - at144.window.top) / (at96.window.bottom - at96.window.top);
  EXPECT_GE(panel_ratio, 1.3);
  EXPECT_LE(panel_ratio, 1.7);
  // Every pixel of the panel is the text, its outline or the panel colour.
  EXPECT_EQ(at96.other_pixels, 0) << std::hex << at96.first_other;
  EXPECT_EQ(at144.other_pixels, 0) << std::hex << at144.first_other;
}

// The sheet's size, and whether every control of every page lies inside
// its page (a control pushed past the page's edge would be cut).
struct SheetReading {
  SIZE size{};
  int controls = 0;
  int outside = 0;
  std::wstring first_outside;
};

BOOL CALLBACK CheckChild(HWND child, LPARAM data) {
  auto* context = reinterpret_cast<std::pair<HWND, SheetReading*>*>(data);
  if (!IsWindowVisible(child) || GetParent(child) != context->first) return TRUE;
  RECT page{}, r{};
  GetWindowRect(context->first, &page);
  GetWindowRect(child, &r);
  ++context->second->controls;
  if (r.left < page.left || r.top < page.top || r.right > page.right || r.bottom > page.bottom) {
    if (context->second->outside++ == 0) {
      wchar_t text[256] = L"";
      GetWindowTextW(child, text, 256);
      context->second->first_outside = text;
    }
  }
  return TRUE;
}

TEST_F(DpiEndToEnd, TheSheetOpensLargerInBothLanguages) {
  for (const wchar_t* language : {L"EN", L"JA"}) {
    SheetReading readings[2];
    const DWORD dpis[2] = {96, 144};
    for (int i = 0; i < 2; ++i) {
      DesktopDpi desktop(dpis[i]);
      Start(language);
      ASSERT_NE(OpenSheet(), nullptr) << "the sheet did not open";
      RECT r{};
      GetWindowRect(sheet_, &r);
      readings[i].size = SIZE{r.right - r.left, r.bottom - r.top};
      for (int page = 0; page < 6; ++page) {
        SendMessageW(sheet_, PSM_SETCURSEL, WPARAM(page), 0);
        HWND current = nullptr;
        PollUntil(kOpen, [&] {
          current = HWND(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
          return current && SendMessageW(sheet_, PSM_HWNDTOINDEX, WPARAM(current), 0) == page;
        });
        ASSERT_NE(current, nullptr);
        Pause(400);
        std::pair<HWND, SheetReading*> context{current, &readings[i]};
        EnumChildWindows(current, CheckChild, LPARAM(&context));
        const std::wstring shots = ShotsFolder();
        if (!shots.empty()) {
          SaveScreen(shots + L"\\sheet-" + language + L"-" + std::to_wstring(dpis[i]) + L"-" + std::to_wstring(page) +
                     L".bmp");
        }
      }
      Stop();
      EXPECT_GT(readings[i].controls, 50);
      EXPECT_EQ(readings[i].outside, 0) << "at " << dpis[i] << ": \"" << std::string(readings[i].first_outside.begin(),
                                                                                       readings[i].first_outside.end())
                                        << "\"";
    }
    std::printf("%ls sheet: %ld x %ld at 96 DPI, %ld x %ld at 144 DPI\n", language, readings[0].size.cx,
                readings[0].size.cy, readings[1].size.cx, readings[1].size.cy);
    EXPECT_GE(double(readings[1].size.cx) / readings[0].size.cx, 1.3);
    EXPECT_GE(double(readings[1].size.cy) / readings[0].size.cy, 1.3);
  }
}

TEST_F(DpiEndToEnd, BigDialogStillFillsTheWorkAreaAt144) {
  DesktopDpi desktop(144);
  Start(L"JA", L"BIGDIALOG=1");
  ASSERT_NE(OpenSheet(), nullptr) << "the sheet did not open";
  RECT work{}, sheet{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(sheet_, &sheet);
  // The General page, with the most controls to enlarge.
  SendMessageW(sheet_, PSM_SETCURSEL, 0, 0);
  PollUntil(kOpen, [&] {
    HWND current = HWND(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
    return current && SendMessageW(sheet_, PSM_HWNDTOINDEX, WPARAM(current), 0) == 0;
  });
  Pause(1000);
  const std::wstring shots = ShotsFolder();
  if (!shots.empty()) SaveScreen(shots + L"\\sheet-big-144.bmp");
  SheetReading page;
  std::pair<HWND, SheetReading*> context{HWND(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)), &page};
  EnumChildWindows(context.first, CheckChild, LPARAM(&context));
  EXPECT_GT(page.controls, 30);
  EXPECT_EQ(page.outside, 0) << std::string(page.first_outside.begin(), page.first_outside.end());
  // Enlarged by the smaller of the two ratios: one edge meets the work area.
  const double width_share = double(sheet.right - sheet.left) / (work.right - work.left);
  const double height_share = double(sheet.bottom - sheet.top) / (work.bottom - work.top);
  EXPECT_GE(std::max(width_share, height_share), 0.95) << width_share << " " << height_share;
  EXPECT_LE(sheet.right, work.right);
  EXPECT_LE(sheet.bottom, work.bottom);
  EXPECT_GE(sheet.left, work.left);
  EXPECT_GE(sheet.top, work.top);
}

}  // namespace
