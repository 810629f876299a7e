// The whole program under Wine: kirabi.exe in a private folder with a
// prepared settings file, second starts with switches, the sender program,
// and the screen read back.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"
#include "settings/memory_store.h"
#include "settings/settings.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
const std::wstring kSender = WinePath(KIRABI_SENDER_EXE);

constexpr const wchar_t* kRegistryKey = L"Software\\Velmoro\\kirabi\\CurrentVersion";
constexpr COLORREF kClockColor = RGB(255, 0, 0);
constexpr COLORREF kExternalColor = RGB(255, 0, 255);
constexpr int kLeft = 30;
constexpr int kTop = 40;
constexpr POINT kCursor{300, 300};
// Long enough for a display cycle after a change (one per second).
constexpr DWORD kCycle = 1400;

std::vector<std::wstring> PanelSettings() {
  return {L"TEXTCOLOR_R=255", L"TEXTCOLOR_G=0",  L"TEXTCOLOR_B=0",  L"FONTSIZE=24",
          L"LEFT=30",         L"TOP=40",         L"NoOpeningDlg=1"};
}

RECT PanelArea() { return {kCursor.x + kLeft, kCursor.y + kTop, kCursor.x + kLeft + 500, kCursor.y + kTop + 80}; }

class KirabiEndToEnd : public KirabiTest {
 protected:
  // Installs kirabi.exe under `name` (a name ending in _o.exe keeps the
  // settings in the INI file) and starts it with the settings lines.
  void StartMain(const std::vector<std::wstring>& lines, const wchar_t* name = L"kirabi_o.exe") {
    Launch(kKirabi, lines, L"", kCursor, name);
    Pause(kCycle);
  }

  int ClockPixels() { return CountScreenPixels(PanelArea(), kClockColor); }
  int ExternalPixels() { return CountScreenPixels(PanelArea(), kExternalColor); }
  int PanelWidth() {
    RECT r{};
    GetWindowRect(text_window_, &r);
    return r.right - r.left;
  }
};

TEST_F(KirabiEndToEnd, PanelAppearsBesideTheCursor) {
  StartMain(PanelSettings());
  RECT r{};
  GetWindowRect(text_window_, &r);
  EXPECT_EQ(r.left, kCursor.x + kLeft);
  EXPECT_EQ(r.top, kCursor.y + kTop);
  EXPECT_GT(ClockPixels(), 40) << "no clock-coloured pixels beside the cursor";
  // Nothing of the clock colour far from the panel.
  EXPECT_EQ(CountScreenPixels({0, 700, 1280, 1024}, kClockColor), 0);
}

TEST_F(KirabiEndToEnd, SecondStartHidesAndShowsTheDisplay) {
  StartMain(PanelSettings());
  ASSERT_GT(ClockPixels(), 40);
  EXPECT_EQ(Second(L"/P0"), 0);
  Pause(600);
  EXPECT_FALSE(IsWindowVisible(text_window_));
  EXPECT_EQ(ClockPixels(), 0);
  EXPECT_EQ(Second(L"/p1"), 0);
  Pause(kCycle);
  EXPECT_TRUE(IsWindowVisible(text_window_));
  EXPECT_GT(ClockPixels(), 40);
  EXPECT_TRUE(main_.Running());
}

TEST_F(KirabiEndToEnd, SecondStartOpensTheAlreadyRunningDialog) {
  StartMain(PanelSettings());
  for (const wchar_t* args : {L"", L"/O", L"/OR", L"/RO", L"/?", L"/P0 x"}) {
    Process second;
    ASSERT_TRUE(second.Start(exe_, args, folder_.path()));
    HWND dialog = WaitForWindow(L"#32770", L"Kirabi", 10000, second.id());
    ASSERT_NE(dialog, nullptr) << "no already-running dialog for \"" << std::string(args, args + wcslen(args)) << "\"";
    EXPECT_NE(GetDlgItem(dialog, 6), nullptr);
    EXPECT_NE(GetDlgItem(dialog, 32771), nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(second.WaitExit(5000), 0);
    EXPECT_TRUE(main_.Running());
  }
  // "Force Exit" ends the running instance.
  Process second;
  ASSERT_TRUE(second.Start(exe_, L"", folder_.path()));
  HWND dialog = WaitForWindow(L"#32770", L"Kirabi", 10000, second.id());
  ASSERT_NE(dialog, nullptr);
  PostMessageW(dialog, WM_COMMAND, 6, 0);
  EXPECT_EQ(second.WaitExit(5000), 0);
  EXPECT_EQ(main_.WaitExit(5000), 0);
}

// The values every key must have after shut-down: the prepared lines read
// with the load rules over the defaults, in the INI form the store writes.
MemoryStore ExpectedIniValues(const std::vector<std::wstring>& lines) {
  MemoryStore prepared(MemoryStore::Kind::Ini, Language::English);
  for (const std::wstring& line : lines) {
    const size_t eq = line.find(L'=');
    const std::u16string key(line.begin(), line.begin() + eq), value(line.begin() + eq + 1, line.end());
    prepared.SetIniText(key, value);
  }
  Settings s = DefaultSettings(Language::English);
  LoadSettings(s, prepared, Language::English);
  MemoryStore saved(MemoryStore::Kind::Ini, Language::English);
  SaveSettings(s, saved, 0);
  return saved;
}

TEST_F(KirabiEndToEnd, ExitSwitchEndsTheInstanceAndSavesEveryKey) {
  std::vector<std::wstring> lines = PanelSettings();
  lines.insert(lines.end(), {L"HOTKEY_HIDE=1601", L"TITLESUBSTR=NoSuchTitle", L"MEMO=line one\x01line two",
                             L"GAIBU=0", L"FADEINMSEC=700"});
  StartMain(lines);
  EXPECT_EQ(Second(L"/X"), 0);
  ASSERT_EQ(main_.WaitExit(5000), 0) << "the running instance did not end";
  EXPECT_EQ(FindWindowW(L"kirabi", nullptr), nullptr);

  const MemoryStore expected = ExpectedIniValues(lines);
  ASSERT_GT(expected.write_log().size(), 150u);
  int checked = 0;
  for (const std::u16string& key : expected.write_log()) {
    const std::wstring wkey(key.begin(), key.end());
    bool present = false;
    const std::wstring value = ReadIniValue(ini_, wkey, present);
    const std::u16string want = expected.IniText(key).value_or(u"");
    EXPECT_TRUE(present) << "key missing: " << std::string(key.begin(), key.end());
    EXPECT_EQ(value, std::wstring(want.begin(), want.end())) << std::string(key.begin(), key.end());
    ++checked;
  }
  EXPECT_EQ(checked, int(expected.write_log().size()));
}

TEST_F(KirabiEndToEnd, ExitSwitchWithoutInstanceDoesNothing) {
  exe_ = folder_.File(L"kirabi_o.exe");
  ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE));
  EXPECT_EQ(Second(L"/X"), 0);
  // It exits before choosing a store: no settings file is created.
  EXPECT_EQ(GetFileAttributesW(folder_.File(L"kirabi.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(KirabiEndToEnd, ExternalTextShowsItsFirst517CharactersWhileTheSenderExists) {
  // A small font and a wide limit, so that the whole line is measured.
  std::vector<std::wstring> lines = PanelSettings();
  lines.insert(lines.end(), {L"FONTSIZE=12", L"DEF_MAX_WND_WIDTH=9000"});
  StartMain(lines);
  const int clock_only = PanelWidth();
  ASSERT_EQ(ExternalPixels(), 0);

  // The panel's width follows the measured external line: 600 characters
  // measure the same as 517, one fewer measures less.
  auto width_with = [&](const wchar_t* count) {
    Process sender;
    EXPECT_TRUE(sender.Start(kSender, std::wstring(L"--text M --count ") + count + L" --hold 3000", folder_.path()));
    Pause(kCycle + 400);
    const int width = PanelWidth();
    const int pixels = ExternalPixels();
    EXPECT_EQ(sender.WaitExit(8000), 0);
    EXPECT_GT(pixels, 20) << "external text not drawn for " << count;
    return width;
  };
  const int w600 = width_with(L"600");
  const int w517 = width_with(L"517");
  const int w516 = width_with(L"516");
  EXPECT_EQ(w600, w517);
  EXPECT_GT(w517, w516);
  EXPECT_GT(w516, clock_only);

  // The sender's window is gone: the line disappears.
  Pause(kCycle);
  EXPECT_EQ(ExternalPixels(), 0);
  EXPECT_EQ(PanelWidth(), clock_only);
}

TEST_F(KirabiEndToEnd, ExternalTextFromANullSenderIsIgnored) {
  StartMain(PanelSettings());
  Process sender;
  ASSERT_TRUE(sender.Start(kSender, L"--count 20 --null-sender --hold 3000", folder_.path()));
  Pause(kCycle + 400);
  EXPECT_EQ(ExternalPixels(), 0);
  EXPECT_EQ(sender.WaitExit(8000), 0);
}

TEST_F(KirabiEndToEnd, ExternalTextIsIgnoredWithGaibuOff) {
  std::vector<std::wstring> lines = PanelSettings();
  lines.push_back(L"GAIBU=0");
  StartMain(lines);
  const int width = PanelWidth();
  Process sender;
  ASSERT_TRUE(sender.Start(kSender, L"--count 40 --hold 3000", folder_.path()));
  Pause(kCycle + 400);
  EXPECT_EQ(ExternalPixels(), 0);
  EXPECT_EQ(PanelWidth(), width);
  EXPECT_EQ(sender.WaitExit(8000), 0);
}

TEST_F(KirabiEndToEnd, ExternalTextWithoutTerminatorShowsOnlyWhatWasSent) {
  StartMain(PanelSettings());
  const auto width_with = [&](const std::wstring& args) {
    Process sender;
    EXPECT_TRUE(sender.Start(kSender, args + L" --hold 2500", folder_.path()));
    Pause(kCycle + 400);
    const int w = PanelWidth();
    EXPECT_EQ(sender.WaitExit(8000), 0);
    Pause(kCycle);
    return w;
  };
  const int terminated = width_with(L"--text M --count 30");
  const int bare = width_with(L"--text M --count 30 --no-terminator");
  EXPECT_EQ(bare, terminated);
}

TEST_F(KirabiEndToEnd, CloseRequestDoesNotEndTheProgram) {
  StartMain(PanelSettings());
  PostMessageW(text_window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(main_.WaitExit(1500), -1);
  EXPECT_TRUE(IsWindow(text_window_));
  EXPECT_GT(ClockPixels(), 40);
}

TEST_F(KirabiEndToEnd, HotkeysHeldElsewhereGiveOneBalloon) {
  // This process holds Ctrl+Alt+F7 and Ctrl+Alt+F9; the program asks for
  // them as HOTKEY_SETTING and HOTKEY_HIDE, and for the free Ctrl+Alt+F8.
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F7));
  ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, VK_F9));
  std::vector<std::wstring> lines = PanelSettings();
  lines.insert(lines.end(), {L"HOTKEY_SETTING=1654", L"HOTKEY_MEMO=1655", L"HOTKEY_HIDE=1656"});
  StartMain(lines);
  const std::wstring expected =
      L"Cannot register hotkey for 'Open Setting DIalog.'\r\n-----\r\n"
      L"Cannot register hotkey for 'SHOW / HIDE switching.'";
  std::vector<std::wstring> texts;
  for (int i = 0; i < 80 && texts.empty(); ++i) {
    texts = BalloonTexts();
    if (texts.empty()) Pause(100);
  }
  UnregisterHotKey(nullptr, 1);
  UnregisterHotKey(nullptr, 2);
  ASSERT_EQ(texts.size(), 1u) << "expected one balloon";
  EXPECT_EQ(texts[0], expected);
}

TEST_F(KirabiEndToEnd, InstanceMessagesCarryOutOnlyTheFiveCommands) {
  StartMain(PanelSettings());
  // Exit (32773) and the about box (32772) are not taken from outside.
  SendMessageW(text_window_, 0x8001, 32773, 0);
  SendMessageW(text_window_, 0x8001, 32772, 0);
  EXPECT_EQ(main_.WaitExit(800), -1);
  SendMessageW(text_window_, 0x8001, 32778, 0);  // hide
  Pause(600);
  EXPECT_FALSE(IsWindowVisible(text_window_));
  SendMessageW(text_window_, 0x8001, 32779, 0);  // show
  Pause(kCycle);
  EXPECT_TRUE(IsWindowVisible(text_window_));
  EXPECT_GT(ClockPixels(), 40);
}

TEST_F(KirabiEndToEnd, MiddleClickOnTheIconTogglesTheDisplay) {
  StartMain(PanelSettings());
  SendMessageW(text_window_, 0x8000, 151544, WM_MBUTTONUP);
  Pause(600);
  EXPECT_FALSE(IsWindowVisible(text_window_));
  SendMessageW(text_window_, 0x8000, 151544, WM_MBUTTONUP);
  Pause(kCycle);
  EXPECT_TRUE(IsWindowVisible(text_window_));
  // A right double-click without Shift does nothing.
  SendMessageW(text_window_, 0x8000, 151544, WM_RBUTTONDBLCLK);
  Pause(300);
  EXPECT_TRUE(IsWindowVisible(text_window_));
}

bool PutClipboardText(const wchar_t* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = memory != nullptr;
  if (ok) {
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  CloseClipboard();
  return ok;
}

void SendKey(WORD key, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = key;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

// Ctrl held while the icon is middle-clicked empties the clipboard instead of
// hiding the display.
TEST_F(KirabiEndToEnd, CtrlMiddleClickOnTheIconEmptiesTheClipboard) {
  StartMain(PanelSettings());
  ASSERT_TRUE(PutClipboardText(L"copied elsewhere"));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  SendKey(VK_CONTROL, false);
  Pause(200);
  SendMessageW(text_window_, 0x8000, 151544, WM_MBUTTONUP);
  SendKey(VK_CONTROL, true);
  Pause(600);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "the clipboard was not emptied";
  EXPECT_TRUE(IsWindowVisible(text_window_)) << "the plain middle click (hide) ran instead";
}

TEST_F(KirabiEndToEnd, ForegroundTitleFragmentHidesTheDisplay) {
  std::vector<std::wstring> lines = PanelSettings();
  lines.push_back(L"TITLESUBSTR=,Presentation,");
  StartMain(lines);
  ASSERT_TRUE(IsWindowVisible(text_window_));
  HWND slide = CreateWindowExW(0, L"STATIC", L"My Presentation - Slide 1", WS_POPUP | WS_VISIBLE, 900, 900, 50, 50,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(slide, nullptr);
  SetForegroundWindow(slide);
  Pause(600);
  const bool hidden_while_foreground = !IsWindowVisible(text_window_);
  DestroyWindow(slide);
  Pause(kCycle);
  EXPECT_TRUE(hidden_while_foreground);
  EXPECT_TRUE(IsWindowVisible(text_window_));
}

TEST_F(KirabiEndToEnd, EndOfSessionSavesAndEnds) {
  std::vector<std::wstring> lines = PanelSettings();
  StartMain(lines);
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(text_window_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
  EXPECT_EQ(answer, 1u) << "the log-off may go on";
  EXPECT_EQ(main_.WaitExit(5000), 0);
  bool present = false;
  EXPECT_EQ(ReadIniValue(ini_, L"INTERVAL", present), L"20");
  EXPECT_TRUE(present);
}

TEST_F(KirabiEndToEnd, MemoScriptIsHeldBackWithANotice) {
  std::vector<std::wstring> lines = PanelSettings();
  lines.insert(lines.end(), {L"MEMO=x = 1", L"MEMO_AS_SCRIPT=1"});
  StartMain(lines);
  std::vector<std::wstring> texts;
  for (int i = 0; i < 60 && texts.empty(); ++i) {
    texts = BalloonTexts();
    if (texts.empty()) Pause(100);
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].substr(0, 54), L"Script execution will be suspended for 10 seconds. Sel");
}

TEST_F(KirabiEndToEnd, ResumeFromSuspendHoldsTheScriptBackWithANotice) {
  StartMain(PanelSettings());
  ASSERT_TRUE(BalloonTexts().empty());
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(text_window_, WM_POWERBROADCAST, PBT_APMSUSPEND, 0, SMTO_NORMAL, 3000, &answer);
  EXPECT_EQ(answer, DWORD_PTR(TRUE));
  answer = 0;
  SendMessageTimeoutW(text_window_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_NORMAL, 3000, &answer);
  EXPECT_EQ(answer, DWORD_PTR(TRUE));
  std::vector<std::wstring> texts;
  for (int i = 0; i < 60 && texts.empty(); ++i) {
    texts = BalloonTexts();
    if (texts.empty()) Pause(100);
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].substr(0, 50), L"Script execution will be suspended for 10 seconds.");
  // The same wake-up's second resume event does not repeat the notice.
  answer = 0;
  SendMessageTimeoutW(text_window_, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0, SMTO_NORMAL, 3000, &answer);
  EXPECT_EQ(answer, DWORD_PTR(TRUE));
  Pause(500);
  texts = BalloonTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].find(L"-----"), std::wstring::npos) << "the notice was joined to itself";
}

TEST_F(KirabiEndToEnd, JapaneseOpeningNoticeRemembersItsCheckBox) {
  SetEnvironmentVariableW(L"QZ_LANG", L"ja");
  std::vector<std::wstring> lines = PanelSettings();
  lines.pop_back();  // NoOpeningDlg=1
  StartMain(lines);
  HWND notice = WaitForWindow(L"#32770", L"キラビ", 5000, main_.id());
  ASSERT_NE(notice, nullptr) << "no opening notice";
  SendDlgItemMessageW(notice, 1003, BM_SETCHECK, BST_CHECKED, 0);
  PostMessageW(notice, WM_COMMAND, IDCANCEL, 0);
  Pause(800);
  EXPECT_FALSE(IsWindow(notice));
  bool present = false;
  EXPECT_EQ(ReadIniValue(ini_, L"NoOpeningDlg", present), L"1");
  // The Japanese interface keeps its own defaults.
  EXPECT_EQ(ReadIniValue(ini_, L"FONTNAME", present), L"MS UI Gothic");
  EXPECT_TRUE(main_.Running());
}

TEST_F(KirabiEndToEnd, BigDialogEnlargesTheOpeningNoticeToTheWorkArea) {
  SetEnvironmentVariableW(L"QZ_LANG", L"ja");
  RECT plain{};
  RECT big{};
  RECT plain_box{};
  RECT big_box{};
  for (const bool enlarge : {false, true}) {
    std::vector<std::wstring> lines = PanelSettings();
    lines.pop_back();  // NoOpeningDlg=1
    if (enlarge) lines.push_back(L"BIGDIALOG=1");
    StartMain(lines);
    HWND notice = WaitForWindow(L"#32770", L"キラビ", 5000, main_.id());
    ASSERT_NE(notice, nullptr) << "no opening notice";
    GetWindowRect(notice, enlarge ? &big : &plain);
    GetWindowRect(GetDlgItem(notice, 1003), enlarge ? &big_box : &plain_box);
    TearDown();
  }
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  const int plain_width = plain.right - plain.left;
  const int big_width = big.right - big.left;
  EXPECT_GT(big_width, plain_width * 3 / 2) << "the notice did not grow";
  // It fills the tighter direction and stands against the bottom-right corner.
  EXPECT_LE(big_width, work.right - work.left);
  EXPECT_EQ(big.right, work.right);
  EXPECT_EQ(big.bottom, work.bottom);
  const int tighter = std::min(work.right - work.left - big_width, work.bottom - work.top - (big.bottom - big.top));
  EXPECT_LE(tighter, 2);
  // The controls grow with it.
  EXPECT_GT(big_box.right - big_box.left, (plain_box.right - plain_box.left) * 3 / 2);
}

void PressCtrlAlt(WORD key) {
  INPUT in[6]{};
  const WORD keys[3] = {VK_CONTROL, VK_MENU, key};
  for (int i = 0; i < 3; ++i) {
    in[i].type = in[5 - i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = in[5 - i].ki.wVk = keys[i];
    in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(6, in, sizeof(INPUT));
}

TEST_F(KirabiEndToEnd, HotkeysRunTheirCommands) {
  std::vector<std::wstring> lines = PanelSettings();
  // Ctrl+Alt+F10 hides, Ctrl+Alt+F11 shows.
  lines.insert(lines.end(), {L"HOTKEY_HIDE_P0=1657", L"HOTKEY_HIDE_P1=1658"});
  StartMain(lines);
  ASSERT_TRUE(IsWindowVisible(text_window_));
  PressCtrlAlt(VK_F10);
  Pause(800);
  EXPECT_FALSE(IsWindowVisible(text_window_));
  PressCtrlAlt(VK_F11);
  Pause(kCycle);
  EXPECT_TRUE(IsWindowVisible(text_window_));
}

TEST_F(KirabiEndToEnd, WithoutTheIconNoBalloonAppears) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F7));
  std::vector<std::wstring> lines = PanelSettings();
  lines.insert(lines.end(), {L"HOTKEY_SETTING=1654", L"HIDEICON=1"});
  StartMain(lines);
  Pause(3000);  // balloons show within about two seconds
  UnregisterHotKey(nullptr, 1);
  EXPECT_TRUE(BalloonTexts().empty());
  EXPECT_GT(ClockPixels(), 40);
}

// The registry store: a name without _o.exe keeps the settings under the
// current user's key.
class RegistryEndToEnd : public KirabiEndToEnd {
 protected:
  static constexpr const wchar_t* kKey = kRegistryKey;
  void SetUp() override {
    KirabiEndToEnd::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const struct {
      const wchar_t* name;
      DWORD value;
    } values[] = {{L"TEXTCOLOR_R", 255}, {L"TEXTCOLOR_G", 0}, {L"TEXTCOLOR_B", 0}, {L"FONTSIZE", 24},
                  {L"LEFT", 30},         {L"TOP", 40},       {L"NoOpeningDlg", 1}};
    for (const auto& v : values) {
      RegSetValueExW(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.value), sizeof v.value);
    }
    RegCloseKey(key);
  }
  void TearDown() override {
    KirabiEndToEnd::TearDown();
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }
};

TEST_F(RegistryEndToEnd, PanelAppearsAndExitSavesToTheRegistry) {
  StartMain({}, L"kirabi.exe");
  EXPECT_GT(ClockPixels(), 40);
  EXPECT_EQ(Second(L"/X"), 0);
  ASSERT_EQ(main_.WaitExit(5000), 0);
  // No INI file in registry mode.
  EXPECT_EQ(GetFileAttributesW(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD count = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                   nullptr);
  MemoryStore expected(MemoryStore::Kind::Ini, Language::English);
  SaveSettings(DefaultSettings(Language::English), expected, 0);
  EXPECT_GE(count, DWORD(expected.write_log().size()));
  wchar_t text[64] = L"";
  DWORD size = sizeof text;
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"FONTNAME", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, L"MS Sans Serif");
  DWORD left = 0;
  size = sizeof left;
  RegQueryValueExW(key, L"LEFT", nullptr, &type, reinterpret_cast<BYTE*>(&left), &size);
  RegCloseKey(key);
  EXPECT_EQ(left, DWORD(kLeft));
}

}  // namespace

namespace {

// Closes the message box a process shows and returns its text.
std::wstring CloseMessageBox(Process& p) {
  HWND box = WaitForWindow(L"#32770", L"Kirabi", 10000, p.id());
  if (!box) return L"<no message box>";
  wchar_t text[512] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return text;
}

DWORD RegistryDword(const wchar_t* name) {
  DWORD value = 0xFFFFFFFF, size = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER, kRegistryKey, name, RRF_RT_REG_DWORD, nullptr,
               &value, &size);
  return value;
}

TEST_F(RegistryEndToEnd, CopySwitchesCarryTheSettingsBothWaysAndReport) {
  exe_ = folder_.File(L"kirabi.exe");
  ini_ = folder_.File(L"kirabi.ini");
  ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE));
  ASSERT_TRUE(WriteIniFile(ini_, {L"LEFT=77", L"NoOpeningDlg=1"}));

  Process to_registry;
  ASSERT_TRUE(to_registry.Start(exe_, L"/OR", folder_.path()));
  EXPECT_EQ(CloseMessageBox(to_registry), L"Setting copying from the ini file to the registry has been completed.");
  EXPECT_EQ(to_registry.WaitExit(5000), 0);
  EXPECT_EQ(RegistryDword(L"LEFT"), 77u);
  EXPECT_EQ(FindWindowW(L"kirabi", nullptr), nullptr);  // no instance was started

  DWORD left = 88;
  RegSetKeyValueW(HKEY_CURRENT_USER, kRegistryKey, L"LEFT", REG_DWORD, &left,
                  sizeof left);
  Process to_ini;
  ASSERT_TRUE(to_ini.Start(exe_, L"/ro", folder_.path()));
  EXPECT_EQ(CloseMessageBox(to_ini), L"Setting copying from the registry to the ini file has been completed.");
  EXPECT_EQ(to_ini.WaitExit(5000), 0);
  bool present = false;
  EXPECT_EQ(ReadIniValue(ini_, L"LEFT", present), L"88");
}

}  // namespace
