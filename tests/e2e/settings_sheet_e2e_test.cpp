// The settings sheet of the real program under Wine: opened by /M, the
// settings command, the tray double-click and a hotkey; its pages edited
// with window messages, applied with OK, the store and the panel checked.
//
// With KIRABI_SHEET_SHOTS set to a folder, SheetShots saves a picture of
// every page in both languages there (tools/sheet-shots).

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
constexpr const wchar_t* kRegistryKey = L"Software\\Velmoro\\kirabi\\CurrentVersion";
constexpr POINT kCursor{200, 200};
constexpr DWORD kOpen = 15000;   // generous: a loaded 2-core machine
constexpr DWORD kSettle = 1500;  // a display cycle or two

// Private messages of the program's main window.
constexpr UINT kTrayCallback = 0x8000;
constexpr UINT kInstanceCommand = 0x8001;
constexpr UINT kTrayIconId = 151544;

std::wstring WindowTextOf(HWND window) {
  // Sent, not GetWindowText: another process's edit keeps its text itself.
  wchar_t buffer[2048] = L"";
  SendMessageW(window, WM_GETTEXT, 2048, LPARAM(buffer));
  return buffer;
}

// A message box of the program: its text, then closed with OK.
std::wstring TakeMessageBox(const wchar_t* caption, DWORD pid) {
  HWND box = WaitForWindow(L"#32770", caption, kOpen, pid);
  if (!box) return L"<no message box>";
  const std::wstring text = WindowTextOf(GetDlgItem(box, 0xFFFF));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  PollUntil(5000, [&] { return !IsWindow(box); });
  return text;
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring ShotsFolder() {
  wchar_t folder[MAX_PATH] = L"";
  return GetEnvironmentVariableW(L"KIRABI_SHEET_SHOTS", folder, MAX_PATH) ? folder : L"";
}

class SettingsSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"QZ_LANG", L"EN");
    ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
    RegDeleteTreeW(HKEY_CURRENT_USER, kRegistryKey);
  }

  void TearDown() override {
    if (sheet_ && IsWindow(sheet_)) PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    PollUntil(5000, [&] { return !sheet_ || !IsWindow(sheet_); });
    if (main_.Running()) {
      RunToEnd(exe_, L"/X", folder_.path(), 5000);
      if (main_.WaitExit(8000) == -1) main_.Kill();
    }
    WaitUntilGone(L"kirabi", 3000);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRegistryKey);
    UseDarkMode(L"kirabi_o.exe", false);
  }

  void Start(std::vector<std::wstring> lines, const wchar_t* name = L"kirabi_o.exe") {
    exe_ = folder_.File(name);
    ini_ = folder_.File(L"kirabi.ini");
    ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    lines.push_back(L"NoOpeningDlg=1");
    ASSERT_TRUE(WriteIniFile(ini_, lines));
    SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_TRUE(main_.Start(exe_, L"", folder_.path()));
    text_window_ = WaitForWindow(L"kirabi", nullptr, kOpen, main_.id());
    ASSERT_NE(text_window_, nullptr) << "the text window did not appear";
    SetCursorPos(kCursor.x, kCursor.y);
    Pause(kSettle);
  }

  const wchar_t* Title() const { return japanese_ ? L"設定 - キラビ" : L"Settings - Kirabi"; }

  HWND WaitForSheet() {
    sheet_ = WaitForWindow(L"#32770", Title(), kOpen, main_.id());
    return sheet_;
  }

  // /M from a second start: the sheet on the Memo page.
  void OpenWithMemoSwitch() {
    EXPECT_EQ(RunToEnd(exe_, L"/M", folder_.path(), kOpen), 0);
    ASSERT_NE(WaitForSheet(), nullptr) << "the sheet did not open";
  }

  HWND CurrentPage() { return HWND(SendMessageW(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)); }
  int CurrentIndex() { return int(SendMessageW(sheet_, PSM_HWNDTOINDEX, WPARAM(CurrentPage()), 0)); }

  HWND ShowPage(int index) {
    SendMessageW(sheet_, PSM_SETCURSEL, WPARAM(index), 0);
    HWND page = nullptr;
    PollUntil(kOpen, [&] {
      page = CurrentPage();
      return page && CurrentIndex() == index;
    });
    return page;
  }

  void SetItem(HWND page, int id, const wchar_t* text) { SendDlgItemMessageW(page, id, WM_SETTEXT, 0, LPARAM(text)); }
  void Click(HWND page, int id) { SendDlgItemMessageW(page, id, BM_CLICK, 0, 0); }

  // OK, posted: a page may answer with a message box first.
  void PressOk() { PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0); }
  bool SheetClosed() {
    return PollUntil(kOpen, [&] { return !IsWindow(sheet_); });
  }

  std::wstring Ini(const wchar_t* key) {
    bool present = false;
    const std::wstring value = ReadIniValue(ini_, key, present);
    return present ? value : L"<absent>";
  }

  int PanelWidth() {
    RECT r{};
    GetWindowRect(text_window_, &r);
    return r.right - r.left;
  }

  TempFolder folder_;
  std::wstring exe_;
  std::wstring ini_;
  Process main_;
  HWND text_window_ = nullptr;
  HWND sheet_ = nullptr;
  bool japanese_ = false;
};

TEST_F(SettingsSheet, OpensFromEveryCommandAndComesForwardOnTheRequestedPage) {
  Start({L"HOTKEY_SETTING=1619"});  // Ctrl+Alt+S
  OpenWithMemoSwitch();
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_NE(GetDlgItem(CurrentPage(), 1282), nullptr) << "the Memo page has its script box";

  // The settings command while open: the same sheet, now on General.
  PostMessageW(text_window_, kInstanceCommand, 32771, 0);
  EXPECT_TRUE(PollUntil(kOpen, [&] { return CurrentIndex() == 0; }));
  EXPECT_EQ(WaitForSheet(), sheet_);
  EXPECT_NE(GetDlgItem(CurrentPage(), 1069), nullptr);
  PostMessageW(text_window_, kInstanceCommand, 32790, 0);
  EXPECT_TRUE(PollUntil(kOpen, [&] { return CurrentIndex() == 1; }));
  PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(SheetClosed());

  // The tray double-click opens it on General.
  PostMessageW(text_window_, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
  ASSERT_NE(WaitForSheet(), nullptr) << "the tray double-click opened nothing";
  EXPECT_EQ(CurrentIndex(), 0);
  PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  ASSERT_TRUE(SheetClosed());

  // The settings hotkey.
  PressKeys({VK_CONTROL, VK_MENU, 'S'});
  ASSERT_NE(WaitForSheet(), nullptr) << "the settings hotkey opened nothing";
  EXPECT_EQ(CurrentIndex(), 0);
}

TEST_F(SettingsSheet, AlarmHourOutOfRangeIsRefusedAndNothingIsTaken) {
  Start({L"ALARM_HOUR=7", L"INTERVAL=40"});
  OpenWithMemoSwitch();
  HWND general = ShowPage(0);
  ASSERT_NE(general, nullptr);
  SetItem(general, 1010, L"24");
  SetItem(general, 1003, L"60");  // a valid change that must not be taken either
  PressOk();
  EXPECT_EQ(TakeMessageBox(L"Settings", main_.id()), L"You must input 0-23 in Hour of Alarm.");
  // The sheet stays open with the typed values; nothing reached the store.
  Pause(500);
  EXPECT_TRUE(IsWindow(sheet_));
  EXPECT_EQ(WindowTextOf(GetDlgItem(general, 1010)), L"24");
  EXPECT_EQ(Ini(L"ALARM_HOUR"), L"7");
  EXPECT_EQ(Ini(L"INTERVAL"), L"40");
  // Corrected, it applies.
  SetItem(general, 1010, L"23");
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"ALARM_HOUR"), L"23");
  EXPECT_EQ(Ini(L"INTERVAL"), L"60");
}

// Countdown mode: the alarm is now plus the duration, and the page shows the
// computed time in clock mode.
TEST_F(SettingsSheet, CountdownBecomesAnAlarmTime) {
  Start({});
  OpenWithMemoSwitch();
  HWND general = ShowPage(0);
  ASSERT_NE(general, nullptr);
  Click(general, 1087);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(general, 1089))) << "the clear button shows in countdown mode";
  SetItem(general, 1010, L"0");
  SetItem(general, 1013, L"30");
  SetItem(general, 1088, L"45");
  SYSTEMTIME before;
  GetLocalTime(&before);
  PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
  ASSERT_TRUE(PollUntil(kOpen, [&] { return Ini(L"ALARM_SEC") != L"<absent>"; }));
  EXPECT_EQ(SendDlgItemMessageW(general, 1085, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(general, 1089)));
  const int stored = _wtoi(Ini(L"ALARM_HOUR").c_str()) * 3600 + _wtoi(Ini(L"ALARM_MIN").c_str()) * 60 +
                     _wtoi(Ini(L"ALARM_SEC").c_str());
  const int expected = (before.wHour * 3600 + before.wMinute * 60 + before.wSecond + 30 * 60 + 45) % 86400;
  const int late = (stored - expected + 86400) % 86400;
  EXPECT_LE(late, 3) << "stored " << stored << " expected about " << expected;
  EXPECT_EQ(WindowTextOf(GetDlgItem(general, 1013)), Ini(L"ALARM_MIN"));
}

TEST_F(SettingsSheet, GeneralChangesReachTheStoreAndThePanel) {
  Start({L"FONTSIZE=12", L"INTERVAL=20", L"TEXTCOLOR_R=255", L"TEXTCOLOR_G=0", L"TEXTCOLOR_B=0"});
  const int narrow = PanelWidth();
  OpenWithMemoSwitch();
  HWND general = ShowPage(0);
  ASSERT_NE(general, nullptr);
  SetItem(general, 1003, L"100");
  SetItem(general, 1031, L"40");
  Click(general, 1022);  // CLIPBOARD was on
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"INTERVAL"), L"100");
  EXPECT_EQ(Ini(L"FONTSIZE"), L"40");
  EXPECT_EQ(Ini(L"CLIPBOARD"), L"0");
  // The panel's text grows with the font at once.
  EXPECT_TRUE(PollUntil(kOpen, [&] { return PanelWidth() > narrow * 2; }))
      << "panel width " << narrow << " -> " << PanelWidth();
  const std::wstring shots = ShotsFolder();
  if (!shots.empty()) SaveScreen(shots + L"\\panel-font-40.bmp");
}

TEST_F(SettingsSheet, MemoTextIsShownAndSaved) {
  Start({L"MEMO_COLOR_R=0", L"MEMO_COLOR_G=0", L"MEMO_COLOR_B=255", L"FONTSIZE=20", L"CLIPBOARD=0"});
  const RECT panel{kCursor.x, kCursor.y, kCursor.x + 600, kCursor.y + 200};
  EXPECT_EQ(CountScreenPixels(panel, RGB(0, 0, 255)), 0);
  OpenWithMemoSwitch();
  HWND memo = CurrentPage();
  SetItem(memo, 1024, L"Memo line");
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"MEMO"), L"Memo line");
  EXPECT_EQ(Ini(L"MEMO_AS_SCRIPT"), L"0");
  EXPECT_TRUE(PollUntil(kOpen, [&] { return CountScreenPixels(panel, RGB(0, 0, 255)) > 20; }))
      << "the memo line is not drawn";
}

// A file chooser of the page: the path typed into its file-name box, then
// Open or Save pressed. The box is the combo box 0x47C or the edit 0x480.
bool ChooseInFileDialog(HWND dialog, const std::wstring& path) {
  HWND name = GetDlgItem(dialog, 0x47C);
  if (!name) name = GetDlgItem(dialog, 0x480);
  if (!name) return false;
  SendMessageW(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  return PollUntil(kOpen, [&] { return !IsWindow(dialog); });
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(std::size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(out, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(out);
  return ok;
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE in = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return "<no file>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(in);
  return bytes;
}

// How far right the memo colour reaches in `area`, from its left edge.
int ColourReach(const RECT& area, COLORREF colour) {
  for (int x = area.right; x > area.left; x -= 4) {
    if (CountScreenPixels({x - 4, area.top, x, area.bottom}, colour) > 0) return x - area.left;
  }
  return 0;
}

// Switched on from the sheet, the script runs at once: the start-up
// hold-back belongs to a program started with the script already on.
TEST_F(SettingsSheet, MemoScriptOutputAndTextFiles) {
  Start({L"MEMO_COLOR_R=0", L"MEMO_COLOR_G=0", L"MEMO_COLOR_B=255", L"FONTSIZE=20", L"CLIPBOARD=0"});
  const COLORREF blue = RGB(0, 0, 255);
  const RECT panel{kCursor.x, kCursor.y, kCursor.x + 900, kCursor.y + 200};
  EXPECT_EQ(CountScreenPixels(panel, blue), 0);
  OpenWithMemoSwitch();
  HWND memo = CurrentPage();
  ASSERT_NE(GetDlgItem(memo, 1282), nullptr) << "not the Memo page";
  const std::wstring script = L"CB.SetOutputText(\"SHEET-MEMO\")";

  // As plain text first, the memo line shows the script's own text.
  SetItem(memo, 1024, script.c_str());
  PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
  ASSERT_TRUE(PollUntil(kOpen, [&] { return Ini(L"MEMO") == script; })) << Ini(L"MEMO");
  int as_text = 0;
  ASSERT_TRUE(PollUntil(kOpen, [&] {
    const int before = ColourReach(panel, blue);
    Pause(300);
    as_text = ColourReach(panel, blue);
    return as_text > 0 && as_text == before;
  })) << "the memo text is not drawn";

  // Ticked and applied, the line shows the output, far shorter than the text.
  Click(memo, 1282);
  ASSERT_EQ(SendDlgItemMessageW(memo, 1282, BM_GETCHECK, 0, 0), BST_CHECKED);
  PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
  EXPECT_TRUE(PollUntil(kOpen, [&] { return Ini(L"MEMO_AS_SCRIPT") == L"1"; })) << Ini(L"MEMO_AS_SCRIPT");
  EXPECT_EQ(Ini(L"MEMO"), script);
  EXPECT_TRUE(IsWindow(sheet_)) << "Apply keeps the sheet open";
  int as_output = 0;
  EXPECT_TRUE(PollUntil(30000, [&] {
    as_output = ColourReach(panel, blue);
    return as_output > 0 && as_output * 10 < as_text * 6;
  })) << "the script's output is not drawn: the memo colour reaches " << as_output << " px, the text reached "
      << as_text;
  std::printf("[ figures ] memo colour reaches %d px as text, %d px as the script's output\n", as_text, as_output);
  const std::wstring shots = ShotsFolder();
  if (!shots.empty()) SaveScreen(shots + L"\\memo-script-output.bmp");

  // A UTF-8 file without a byte-order mark and with LF line ends, loaded
  // through the page's chooser: the box holds it with CR LF.
  const std::wstring lines[] = {L"日本語のメモです。", L"二行目：ｶﾀｶﾅと漢字", L"CB.SetOutputText(\"三行目\")"};
  std::wstring lf, crlf;
  for (const std::wstring& line : lines) {
    lf += line + L"\n";
    crlf += line + L"\r\n";
  }
  const std::wstring source = folder_.File(L"memo-in.txt");
  const std::wstring saved = folder_.File(L"memo-out.txt");
  ASSERT_TRUE(WriteBytes(source, Utf8(lf)));
  PostMessageW(GetDlgItem(memo, 1286), BM_CLICK, 0, 0);
  HWND opener = WaitForWindow(L"#32770", L"Choose a file", kOpen, main_.id());
  ASSERT_NE(opener, nullptr) << "the open chooser did not appear";
  ASSERT_TRUE(ChooseInFileDialog(opener, source)) << "the open chooser did not take the path";
  EXPECT_TRUE(PollUntil(kOpen, [&] { return WindowTextOf(GetDlgItem(memo, 1024)) == crlf; }))
      << "memo box: " << Utf8(WindowTextOf(GetDlgItem(memo, 1024)));

  // Saved back: a byte-order mark, then the text as it is in the box.
  PostMessageW(GetDlgItem(memo, 1066), BM_CLICK, 0, 0);
  HWND saver = WaitForWindow(L"#32770", L"Save to file(UTF-8)", kOpen, main_.id());
  ASSERT_NE(saver, nullptr) << "the save chooser did not appear";
  ASSERT_TRUE(ChooseInFileDialog(saver, saved)) << "the save chooser did not take the path";
  EXPECT_EQ(TakeMessageBox(L"Kirabi", main_.id()), L"The file has been saved in UTF-8 (with BOM).");
  const std::string expected = "\xEF\xBB\xBF" + Utf8(crlf);
  const std::string written = ReadBytes(saved);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(ReadBytes(source), Utf8(lf)) << "the loaded file is unchanged";
}

TEST_F(SettingsSheet, TextColorFromTheColourChooserRepaintsThePanel) {
  Start({L"TEXTCOLOR_R=255", L"TEXTCOLOR_G=0", L"TEXTCOLOR_B=0", L"FONTSIZE=24", L"CLIPBOARD=0"});
  const RECT panel{kCursor.x, kCursor.y, kCursor.x + 600, kCursor.y + 200};
  ASSERT_TRUE(PollUntil(kOpen, [&] { return CountScreenPixels(panel, RGB(255, 0, 0)) > 20; }));
  OpenWithMemoSwitch();
  HWND colors = ShowPage(2);
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(WindowTextOf(GetDlgItem(colors, 1320)), L"[FF0000]");
  PostMessageW(GetDlgItem(colors, 1340), BM_CLICK, 0, 0);
  // The chooser is the only other dialog of the program's now.
  HWND chooser = nullptr;
  ASSERT_TRUE(PollUntil(kOpen, [&] {
    HWND found = nullptr;
    for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == main_.id() && w != sheet_ && IsWindowVisible(w) && GetDlgItem(w, 706)) found = w;
    }
    chooser = found;
    return chooser != nullptr;
  })) << "the colour chooser did not open";
  SendDlgItemMessageW(chooser, 706, WM_SETTEXT, 0, LPARAM(L"0"));
  SendDlgItemMessageW(chooser, 707, WM_SETTEXT, 0, LPARAM(L"128"));
  SendDlgItemMessageW(chooser, 708, WM_SETTEXT, 0, LPARAM(L"255"));
  PostMessageW(chooser, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PollUntil(kOpen, [&] { return !IsWindow(chooser); }));
  EXPECT_TRUE(PollUntil(kOpen, [&] { return WindowTextOf(GetDlgItem(colors, 1320)) == L"[0080FF]"; }))
      << WindowTextOf(GetDlgItem(colors, 1320));
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"TEXTCOLOR_R"), L"0");
  EXPECT_EQ(Ini(L"TEXTCOLOR_G"), L"128");
  EXPECT_EQ(Ini(L"TEXTCOLOR_B"), L"255");
  EXPECT_TRUE(PollUntil(kOpen, [&] { return CountScreenPixels(panel, RGB(0, 128, 255)) > 20; }))
      << "the panel is not drawn in the new colour";
  EXPECT_EQ(CountScreenPixels(panel, RGB(255, 0, 0)), 0);
}

TEST_F(SettingsSheet, NewClockFormatIsShownAndKeptInItsHistory) {
  Start({L"FONTSIZE=16"});
  OpenWithMemoSwitch();
  HWND format = ShowPage(3);
  ASSERT_NE(format, nullptr);
  SetItem(format, 1011, L"[H]");
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"FORMAT"), L"[H]");
  wchar_t first[64] = L"";
  GetPrivateProfileStringW(L"cbq_format", L"0", L"", first, 64, ini_.c_str());
  EXPECT_STREQ(first, L"[H]");
  wchar_t second[64] = L"";
  GetPrivateProfileStringW(L"cbq_format", L"1", L"", second, 64, ini_.c_str());
  EXPECT_STREQ(second, L"a, d MMMM yyyy H:mm:ss") << "the earlier format follows";
  // Reopened, the box shows the format and lists both.
  OpenWithMemoSwitch();
  format = ShowPage(3);
  HWND box = GetDlgItem(format, 1011);
  EXPECT_EQ(WindowTextOf(box), L"[H]");
  EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 2);
}

TEST_F(SettingsSheet, DuplicateHotkeysAreRefusedAndANewHotkeyWorks) {
  Start({});
  OpenWithMemoSwitch();
  HWND hotkeys = ShowPage(4);
  ASSERT_NE(hotkeys, nullptr);
  const WPARAM ctrl_alt_k = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
  SendDlgItemMessageW(hotkeys, 1100, HKM_SETHOTKEY, ctrl_alt_k, 0);
  SendDlgItemMessageW(hotkeys, 1107, HKM_SETHOTKEY, ctrl_alt_k, 0);
  PressOk();
  EXPECT_EQ(TakeMessageBox(L"Hotkey", main_.id()), L"The hotkey is duplicated.");
  Pause(500);
  EXPECT_TRUE(IsWindow(sheet_));
  EXPECT_EQ(CurrentIndex(), 4);
  EXPECT_EQ(Ini(L"HOTKEY_HIDE"), L"<absent>");
  SendDlgItemMessageW(hotkeys, 1107, HKM_SETHOTKEY, 0, 0);
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"HOTKEY_HIDE"), std::to_wstring(ctrl_alt_k));
  EXPECT_EQ(Ini(L"HOTKEY_CLEARCLIPBOARD"), L"0");
  // The new hotkey hides the panel.
  ASSERT_TRUE(IsWindowVisible(text_window_));
  PressKeys({VK_CONTROL, VK_MENU, 'K'});
  EXPECT_TRUE(PollUntil(kOpen, [&] { return !IsWindowVisible(text_window_); }));
}

TEST_F(SettingsSheet, FadeValuesReachTheStore) {
  Start({});
  OpenWithMemoSwitch();
  HWND fade = ShowPage(5);
  ASSERT_NE(fade, nullptr);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(fade, 1002)));   // HIDESTOP is on in an empty store
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(fade, 1003)));  // HIDEMOVE is off
  SetItem(fade, 1002, L"2500");
  Click(fade, 1032);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(fade, 1003)));
  SetItem(fade, 1003, L"700");
  Click(fade, 1099);
  PressOk();
  ASSERT_TRUE(SheetClosed());
  EXPECT_EQ(Ini(L"HIDESTOP"), L"1");
  EXPECT_EQ(Ini(L"FADEOUTMSEC"), L"2500");
  EXPECT_EQ(Ini(L"HIDEMOVE"), L"1");
  EXPECT_EQ(Ini(L"FADEINMSEC"), L"700");
  EXPECT_EQ(Ini(L"HideOut"), L"0");
  EXPECT_EQ(Ini(L"INSTANTLY"), L"1");
}

// The registry store and the Japanese interface: the same sheet, the
// Japanese message, the values and the history in the program's key.
TEST_F(SettingsSheet, JapaneseInterfaceWithTheRegistryStore) {
  SetEnvironmentVariableW(L"QZ_LANG", L"ja");
  japanese_ = true;
  Start({}, L"kirabi.exe");
  OpenWithMemoSwitch();
  HWND general = ShowPage(0);
  ASSERT_NE(general, nullptr);
  SetItem(general, 1013, L"60");
  PressOk();
  EXPECT_EQ(TakeMessageBox(L"設定", main_.id()), L"アラームの分は 0～59 で入力してください。");
  SetItem(general, 1013, L"30");
  HWND fade = ShowPage(5);
  SetItem(fade, 1002, L"1234");
  HWND format = ShowPage(3);
  SetItem(format, 1011, L"H時m分");
  PressOk();
  ASSERT_TRUE(SheetClosed());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD number = 0;
  DWORD bytes = sizeof number;
  EXPECT_EQ(RegQueryValueExW(key, L"ALARM_MIN", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 30u);
  bytes = sizeof number;
  RegQueryValueExW(key, L"FADEOUTMSEC", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &bytes);
  EXPECT_EQ(number, 1234u);
  DWORD type = 0;
  wchar_t multi[256] = L"";
  bytes = sizeof multi;
  EXPECT_EQ(RegQueryValueExW(key, L"cbq_format", nullptr, &type, reinterpret_cast<BYTE*>(multi), &bytes), ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_MULTI_SZ));
  EXPECT_STREQ(multi, L"H時m分");
  EXPECT_STREQ(multi + wcslen(multi) + 1, L"M/d [a] H:mm:ss");
  RegCloseKey(key);
}

// In dark mode every page is painted dark, not only the one the sheet opened
// on; the link on the Memo page must not take the dark brush with it.
TEST_F(SettingsSheet, EveryPageIsDarkInDarkMode) {
  UseDarkMode(L"kirabi_o.exe", true);
  Start({L"JIHOU_MULTI=1", L"WarnDiskSize=1"});
  OpenWithMemoSwitch();
  for (int page : {1, 0, 2, 3, 4, 5}) {
    HWND window = ShowPage(page);
    ASSERT_NE(window, nullptr);
    const ClientLook look = LookAtClient(window);
    EXPECT_GT(look.dark, look.area / 3) << "page " << page << ": background RGB 56,56,56";
    EXPECT_GT(look.white, 20) << "page " << page << ": white labels";
  }
  // The strip behind OK, Cancel, Apply and Help is the sheet's own.
  RECT ok;
  ASSERT_TRUE(GetWindowRect(GetDlgItem(sheet_, IDOK), &ok));
  const RECT beside{ok.left - 60, ok.top, ok.left - 4, ok.bottom};
  EXPECT_EQ(CountScreenPixels(beside, RGB(56, 56, 56)), 56 * (ok.bottom - ok.top));
}

// Pictures of every page for a person to look at (tools/sheet-shots), light
// and dark.
TEST_F(SettingsSheet, SheetShots) {
  const std::wstring shots = ShotsFolder();
  if (shots.empty()) GTEST_SKIP() << "KIRABI_SHEET_SHOTS is not set";
  for (const bool dark : {false, true}) {
    for (const wchar_t* lang : {L"ja", L"en"}) {
      UseDarkMode(L"kirabi_o.exe", dark);
      SetEnvironmentVariableW(L"QZ_LANG", lang);
      japanese_ = lang[0] == L'j';
      const std::wstring prefix = shots + L"\\" + lang + (dark ? L"-dark-" : L"-");
      Start({L"CPUMEM=1", L"JIHOU_MULTI=1", L"MEMO_AS_SCRIPT=1", L"WarnDiskSize=1"});
      OpenWithMemoSwitch();
      for (int page = 0; page < 6; ++page) {
        ASSERT_NE(ShowPage(page), nullptr);
        Pause(700);
        EXPECT_TRUE(SaveScreen(prefix + std::to_wstring(page) + L".bmp"));
      }
      // The per-hour sounds, from the General page's Select button.
      HWND general = ShowPage(0);
      PostMessageW(GetDlgItem(general, 1018), BM_CLICK, 0, 0);
      HWND hourly = WaitForWindow(L"#32770", L"各時刻の時報のサウンドファイルの選択", kOpen, main_.id());
      EXPECT_NE(hourly, nullptr);
      Pause(700);
      EXPECT_TRUE(SaveScreen(prefix + L"hourly.bmp"));
      if (hourly) PostMessageW(hourly, WM_COMMAND, IDCANCEL, 0);
      PollUntil(kOpen, [&] { return !hourly || !IsWindow(hourly); });
      TearDown();
    }
  }
  // BIGDIALOG: the sheet enlarged to the work area.
  SetEnvironmentVariableW(L"QZ_LANG", L"ja");
  japanese_ = true;
  Start({L"BIGDIALOG=1"});
  OpenWithMemoSwitch();
  for (int page : {1, 0, 2}) {
    ASSERT_NE(ShowPage(page), nullptr);
    Pause(700);
    EXPECT_TRUE(SaveScreen(shots + L"\\ja-big-" + std::to_wstring(page) + L".bmp"));
  }
}

}  // namespace
