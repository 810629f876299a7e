// The auxiliary windows of the real kirabi.exe under Wine: the tray
// commands for the about box and the start-up shortcut, the environment
// report on the clipboard, and the program's message boxes in dark mode.

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
constexpr UINT kCommandAbout = 32772;
constexpr UINT kCommandStartup = 32777;
constexpr UINT kTrayCallback = 0x8000;

std::wstring StartupShortcut() {
  wchar_t folder[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return std::wstring(folder) + L"\\kirabi.lnk";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The text of a message box (its static text has the id 0xFFFF).
std::wstring BoxText(HWND box) {
  wchar_t text[1024] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return text;
}

// Polls for a box with `caption` whose text starts with `start`.
HWND WaitForBox(const wchar_t* caption, const std::wstring& start, DWORD ms) {
  const DWORD begin = GetTickCount();
  do {
    HWND box = FindWindowW(L"#32770", caption);
    if (box && IsWindowVisible(box) && BoxText(box).rfind(start, 0) == 0) return box;
    Sleep(50);
  } while (GetTickCount() - begin < ms);
  return nullptr;
}

// With KIRABI_SCREENSHOTS set to a folder, saves the screen there as a BMP
// (for looking at what a test saw).
void SaveScreen(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  if (GetEnvironmentVariableW(L"KIRABI_SCREENSHOTS", folder, MAX_PATH) == 0) return;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD row = DWORD((w * 3 + 3) & ~3), size = row * DWORD(h);
  BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  const std::wstring path = std::wstring(folder) + L"\\" + name + L".bmp";
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(f, &file, sizeof file, &n, nullptr);
  WriteFile(f, &info.bmiHeader, sizeof info.bmiHeader, &n, nullptr);
  WriteFile(f, bits, size, &n, nullptr);
  CloseHandle(f);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

class KirabiWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"QZ_LANG", L"EN");
    ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
    DeleteFileW(StartupShortcut().c_str());
  }
  void TearDown() override {
    if (main_.Running()) {
      RunToEnd(exe_, L"/X", folder_.path(), 5000);
      if (main_.WaitExit(5000) == -1) main_.Kill();
    }
    WaitUntilGone(L"kirabi", 3000);
    DeleteFileW(StartupShortcut().c_str());
    UseDarkMode(L"kirabi_o.exe", false);
  }

  void Start() {
    exe_ = folder_.File(L"kirabi_o.exe");
    ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(WriteIniFile(folder_.File(L"kirabi.ini"), {L"NoOpeningDlg=1"}));
    ASSERT_TRUE(main_.Start(exe_, L"", folder_.path()));
    text_window_ = WaitForWindow(L"kirabi", nullptr, 10000, main_.id());
    ASSERT_NE(text_window_, nullptr);
  }

  void Command(UINT id) { PostMessageW(text_window_, WM_COMMAND, id, 0); }

  TempFolder folder_;
  std::wstring exe_;
  Process main_;
  HWND text_window_ = nullptr;
};

TEST_F(KirabiWindows, StartupCommandCreatesTheShortcutThenOffersToDeleteIt) {
  const std::wstring shortcut = StartupShortcut();
  ASSERT_FALSE(shortcut.empty());
  Start();
  Command(kCommandStartup);
  HWND ask = WaitForBox(L"Kirabi", L"Are you sure you want to create", 10000);
  ASSERT_NE(ask, nullptr);
  PostMessageW(ask, WM_COMMAND, IDYES, 0);
  HWND done = WaitForBox(L"Kirabi", L"Created a shortcut file.", 10000);
  ASSERT_NE(done, nullptr);
  PostMessageW(done, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(Exists(shortcut));
  ASSERT_TRUE(WaitUntilGone(L"#32770", 5000));

  Command(kCommandStartup);
  ask = WaitForBox(L"Kirabi", L"Are you sure you want to delete", 10000);
  ASSERT_NE(ask, nullptr);
  PostMessageW(ask, WM_COMMAND, IDYES, 0);
  done = WaitForBox(L"Kirabi", L"Deleted a shortcut file.", 10000);
  ASSERT_NE(done, nullptr);
  PostMessageW(done, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(Exists(shortcut));
}

TEST_F(KirabiWindows, AboutBoxCopiesTheEnvironmentReport) {
  Start();
  Command(kCommandAbout);
  HWND about = WaitForWindow(L"#32770", L"About", 10000, main_.id());
  ASSERT_NE(about, nullptr);
  Pause(500);
  SaveScreen(L"about_en");
  PostMessageW(about, WM_COMMAND, 2005, 0);
  HWND ask = WaitForBox(L"ZNVLite", L"ZNVLite ver.", 10000);
  ASSERT_NE(ask, nullptr);
  PostMessageW(ask, WM_COMMAND, IDOK, 0);
  HWND done = WaitForBox(L"Kirabi", L"Writing data to the clipboard is complete.", 10000);
  ASSERT_NE(done, nullptr);
  PostMessageW(done, WM_COMMAND, IDOK, 0);
  const std::wstring report = ClipboardText();
  EXPECT_NE(report.find(L"[Windows]"), std::wstring::npos) << report;
  EXPECT_NE(report.find(L"[Screen]"), std::wstring::npos);
  EXPECT_NE(report.find(L"\r\n[Client]\r\n Kirabi Version 1.0.0.0"), std::wstring::npos);
  PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntilGone(L"#32770", 5000));
}

TEST_F(KirabiWindows, AboutBoxOpensOnceAndTheTrayMenuClosesIt) {
  Start();
  Command(kCommandAbout);
  HWND about = WaitForWindow(L"#32770", L"About", 10000, main_.id());
  ASSERT_NE(about, nullptr);
  Command(kCommandAbout);  // ignored while the box is open
  Pause(500);
  int boxes = 0;
  for (HWND w = FindWindowW(L"#32770", L"About"); w; w = FindWindowExW(nullptr, w, L"#32770", L"About")) ++boxes;
  EXPECT_EQ(boxes, 1);
  // A right click on the icon closes the box, then shows the menu.
  PostMessageW(text_window_, kTrayCallback, 0, WM_RBUTTONUP);
  EXPECT_TRUE(WaitUntilGone(L"#32770", 10000));
  Pause(500);
  PostMessageW(text_window_, WM_CANCELMODE, 0, 0);  // ends the menu
  Pause(500);
  // The dialog flag is clear again: the box opens anew.
  Command(kCommandAbout);
  about = WaitForWindow(L"#32770", L"About", 10000, main_.id());
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntilGone(L"#32770", 5000));
}

// One language per run: the program reads QZ_LANG at start-up.
struct DarkCase {
  const wchar_t* lang;
  const wchar_t* caption;
  const wchar_t* about_title;
  const wchar_t* shot;
};

class KirabiDark : public KirabiWindows, public ::testing::WithParamInterface<DarkCase> {
 protected:
  static void ExpectDark(HWND window, const wchar_t* shot) {
    const ClientLook look = LookAtClient(window);
    SaveScreen(shot);
    EXPECT_GT(look.dark, look.area / 3) << "background RGB 56,56,56";
    EXPECT_GT(look.white, 20) << "white text";
  }
};

TEST_P(KirabiDark, MessageBoxAndAboutBoxArePaintedDark) {
  const DarkCase& c = GetParam();
  SetEnvironmentVariableW(L"QZ_LANG", c.lang);
  UseDarkMode(L"kirabi_o.exe", true);
  Start();
  Command(kCommandStartup);
  HWND ask = WaitForBox(c.caption, L"", 10000);
  ASSERT_NE(ask, nullptr);
  ExpectDark(ask, (std::wstring(c.shot) + L"_box").c_str());
  PostMessageW(ask, WM_COMMAND, IDNO, 0);
  ASSERT_TRUE(WaitUntilGone(L"#32770", 5000));

  Command(kCommandAbout);
  HWND about = WaitForWindow(L"#32770", c.about_title, 10000, main_.id());
  ASSERT_NE(about, nullptr);
  ExpectDark(about, (std::wstring(c.shot) + L"_about").c_str());
  PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntilGone(L"#32770", 5000));
}

INSTANTIATE_TEST_SUITE_P(Languages, KirabiDark,
                         ::testing::Values(DarkCase{L"EN", L"Kirabi", L"About", L"dark_en"},
                                           DarkCase{L"JA", L"キラビ", L"バージョン情報", L"dark_ja"}),
                         [](const ::testing::TestParamInfo<DarkCase>& info) {
                           return std::string(info.param.lang[0] == L'E' ? "English" : "Japanese");
                         });

}  // namespace
