// The Win32 system of the script engine, driven by scripts through
// qv_script: environment, clipboard, cursor and monitors on the real
// platform; the input events through a recording injector (nothing is typed
// into the desktop); the INPUT dialog and message boxes answered by a
// helper thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/utf.h"
#include "script/qv_script.h"
#include "script/win32_system_win.h"

namespace {

struct Outcome {
  std::vector<std::string> output;
  std::vector<std::pair<int32_t, std::string>> errors;  // code, text
};
Outcome* g_outcome = nullptr;

int32_t CollectOutput(HostCall* call) {
  if (call->argCount == 1) {
    const HostValue& value = call->args[0];
    g_outcome->output.push_back(value.isString ? Utf16ToUtf8(value.text) : std::to_string(value.intValue));
  }
  return 0;
}

void CollectError(int32_t code, int32_t, const char16_t* text) {
  g_outcome->errors.emplace_back(code, Utf16ToUtf8(text));
}

Outcome RunScript(const std::string& source, ScriptSystem& system, HWND owner = nullptr,
            MessageBoxFunction message_box = nullptr, bool japanese = false) {
  Outcome outcome;
  g_outcome = &outcome;
  ScriptHostParams params;
  params.owner = owner;
  params.hostFunction = CollectOutput;
  params.errorCallback = CollectError;
  params.messageBox = message_box;
  params.language = japanese ? 1 : 0;
  params.system = &system;
  const std::u16string text = Utf8ToUtf16(source);
  qv_script(text.c_str(), &params);
  g_outcome = nullptr;
  return outcome;
}

std::string Out(const std::string& expression) { return "CB.SetOutputText(" + expression + ")\n"; }

// Waits on another thread for a dialog with `title` and hands it to `act`.
class DialogAnswerer {
 public:
  DialogAnswerer(std::wstring title, std::function<void(HWND)> act)
      : thread_([this, title = std::move(title), act = std::move(act)] {
          for (int i = 0; i < 500; ++i) {
            // Visible only once its controls exist and it was initialised.
            HWND dialog = FindWindowW(L"#32770", title.c_str());
            if (dialog != nullptr && IsWindowVisible(dialog)) {
              found_ = true;
              act(dialog);
              return;
            }
            Sleep(10);
          }
        }) {}
  ~DialogAnswerer() { thread_.join(); }
  bool found() const { return found_; }

 private:
  std::atomic<bool> found_{false};
  std::thread thread_;
};

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

class RecordingInjector : public Win32InputInjector {
 public:
  struct Mouse {
    DWORD flags, dx, dy, data;
  };
  struct Key {
    BYTE vk, scan;
    DWORD flags;
  };
  std::vector<Mouse> mouse;
  std::vector<Key> keys;
  std::vector<INPUT> inputs;
  void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) override { mouse.push_back({flags, dx, dy, data}); }
  void KeybdEvent(BYTE vk, BYTE scan, DWORD flags) override { keys.push_back({vk, scan, flags}); }
  UINT SendInput(const INPUT& input) override {
    inputs.push_back(input);
    return 1;
  }
};

TEST(Win32System, EnvironmentRoundTrip) {
  Win32ScriptSystem system;
  const Outcome run = RunScript(Out("'[' + GetEnv('KIRABI_WIN_ABSENT') + ']'") +
                              Out("SetEnv('KIRABI_WIN_VAR', '値 1')") + Out("GetEnv('KIRABI_WIN_VAR')") +
                              Out("SetEnv('KIRABI_WIN_VAR', '')") + Out("'[' + GetEnv('KIRABI_WIN_VAR') + ']'"),
                          system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"[]", "1", "値 1", "1", "[]"}));
  // The change belongs to the process.
  wchar_t value[8] = {L'x'};
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableW(L"KIRABI_WIN_VAR", value, 8), 0u);
  EXPECT_EQ(GetLastError(), 0u);  // exists, empty
}

TEST(Win32System, ClipboardRoundTrip) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  Win32ScriptSystem system;
  const Outcome run = RunScript(Out("SetClipboardText('クリップボード text')") + Out("GetClipboardText()") +
                              Out("SetClipboardText('')") + Out("'[' + GetClipboardText() + ']'"),
                          system, owner);
  EXPECT_EQ(run.output, (std::vector<std::string>{"1", "クリップボード text", "1", "[]"}));
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(RunScript(Out("'[' + GetClipboardText() + ']'"), system, owner).output, std::vector<std::string>{"[]"});
  DestroyWindow(owner);
}

TEST(Win32System, CursorPositionRoundTrip) {
  Win32ScriptSystem system;
  // Under Wine a process whose first cursor call is a move never sees its
  // moves: read the cursor first and give the display driver time to start.
  POINT start{};
  GetCursorPos(&start);
  Sleep(100);
  const Outcome run = RunScript(Out("SetCursorPos(123, 234)") + Out("GetCursorPosX()") + Out("GetCursorPosY()"), system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"1", "123", "234"}));
}

std::vector<RECT> PlatformMonitors() {
  std::vector<RECT> rects;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT rect, LPARAM data) -> BOOL {
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&rects));
  return rects;
}

TEST(Win32System, MonitorsRectWithFourAndSixArrays) {
  const std::vector<RECT> monitors = PlatformMonitors();
  ASSERT_FALSE(monitors.empty());
  const RECT& first = monitors[0];
  Win32ScriptSystem system;
  Outcome run = RunScript(Out("GetMonitorsRect('L', 'T', 'R', 'B')") + Out("'' + L[0] + ',' + T[0] + ',' + R[0] + ',' + B[0]") +
                        Out("TypeOf('W')"),
                    system);
  const std::string rect = std::to_string(first.left) + "," + std::to_string(first.top) + "," +
                           std::to_string(first.right) + "," + std::to_string(first.bottom);
  EXPECT_EQ(run.output, (std::vector<std::string>{std::to_string(monitors.size()), rect, "undefined"}));

  run = RunScript(Out("GetMonitorsRect('L', 'T', 'R', 'B', 'W', 'H')") + Out("'' + W[0] + 'x' + H[0]") + Out("ArraySize(H)"),
            system);
  EXPECT_EQ(run.output,
            (std::vector<std::string>{std::to_string(monitors.size()),
                                      std::to_string(first.right - first.left) + "x" +
                                          std::to_string(first.bottom - first.top),
                                      std::to_string(monitors.size())}));
}

TEST(Win32System, MonitorsRectInvalidFifthNameStopsAndChangesNoArray) {
  Win32ScriptSystem system;
  const Outcome run = RunScript("L[0] = 'keep'\nW = 5\n" +
                              Out("'' + GetMonitorsRect('L', 'T', 'R', 'B', '1x') + L[0] + W + TypeOf('T')") +
                              Out("'not reached'"),
                          system);
  EXPECT_EQ(run.output, std::vector<std::string>{"-1keep5undefined"});
  ASSERT_EQ(run.errors.size(), 1u);
  EXPECT_EQ(run.errors[0].first, 115);
  EXPECT_EQ(run.errors[0].second, "The array variable name is invalid in function GetMonitorsRect().");
}

TEST(Win32System, InputEventsCarryTheStatedFlags) {
  RecordingInjector injector;
  Win32ScriptSystem system(&injector);
  const Outcome run = RunScript(Out("KeybdEvent(0x25, 1) + KeybdEvent(0x41, 0) + KeybdEvent(321, 1) + KeybdEvent(0xAD, 0)") +
                              Out("SendInputUnicode('あ', 1) + SendInputUnicode('.', 0) + SendInputUnicode('', 1)") +
                              Out("MoveMouse(-3, 4) + MouseWheel(240) + MouseButtonLeft(5) + MouseButtonLeft(0)") +
                              Out("MouseButtonRight(1) + MouseButtonMiddle(0) + MouseButtonX1(1) + MouseButtonX2(0)"),
                          system);
  EXPECT_EQ(run.output, (std::vector<std::string>{"4", "3", "4", "4"}));

  ASSERT_EQ(injector.keys.size(), 4u);
  const BYTE key_codes[] = {0x25, 0x41, 0x41, 0xAD};
  const DWORD key_flags[] = {KEYEVENTF_EXTENDEDKEY, KEYEVENTF_KEYUP, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(injector.keys[i].vk, key_codes[i]) << i;
    EXPECT_EQ(injector.keys[i].scan, 0) << i;
    EXPECT_EQ(injector.keys[i].flags, key_flags[i]) << i;
  }

  ASSERT_EQ(injector.inputs.size(), 3u);
  const WORD scans[] = {0x3042, 0x2E, 0};
  const DWORD input_flags[] = {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP | KEYEVENTF_EXTENDEDKEY,
                               KEYEVENTF_UNICODE};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(injector.inputs[i].type, static_cast<DWORD>(INPUT_KEYBOARD)) << i;
    EXPECT_EQ(injector.inputs[i].ki.wVk, 0) << i;
    EXPECT_EQ(injector.inputs[i].ki.wScan, scans[i]) << i;
    EXPECT_EQ(injector.inputs[i].ki.dwFlags, input_flags[i]) << i;
  }

  ASSERT_EQ(injector.mouse.size(), 8u);
  const struct {
    DWORD flags, dx, dy, data;
  } mouse[] = {{MOUSEEVENTF_MOVE, static_cast<DWORD>(-3), 4, 0},
               {MOUSEEVENTF_WHEEL, 0, 0, 240},
               {MOUSEEVENTF_LEFTDOWN, 0, 0, 0},
               {MOUSEEVENTF_LEFTUP, 0, 0, 0},
               {MOUSEEVENTF_RIGHTDOWN, 0, 0, 0},
               {MOUSEEVENTF_MIDDLEUP, 0, 0, 0},
               {MOUSEEVENTF_XDOWN, 0, 0, XBUTTON1},
               {MOUSEEVENTF_XUP, 0, 0, XBUTTON2}};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(injector.mouse[i].flags, mouse[i].flags) << i;
    EXPECT_EQ(injector.mouse[i].dx, mouse[i].dx) << i;
    EXPECT_EQ(injector.mouse[i].dy, mouse[i].dy) << i;
    EXPECT_EQ(injector.mouse[i].data, mouse[i].data) << i;
  }
}

TEST(Win32System, InputDialogIsFilledAndConfirmed) {
  Win32ScriptSystem system;
  std::wstring message, cancel_text;
  LONG style = 0;
  Outcome run;
  {
    DialogAnswerer answerer(L"Kirabi input", [&](HWND dialog) {
      message = ItemText(dialog, 102);
      cancel_text = ItemText(dialog, IDCANCEL);
      style = GetWindowLongW(GetDlgItem(dialog, 101), GWL_STYLE);
      SetDlgItemTextW(dialog, 101, L"答え 42");
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    run = RunScript(Out("Input('Your answer?', 'Kirabi input')"), system);
    EXPECT_TRUE(answerer.found());
  }
  EXPECT_EQ(run.output, std::vector<std::string>{"答え 42"});
  EXPECT_EQ(message, L"Your answer?");
  EXPECT_EQ(cancel_text, L"Cancel");
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(style & WS_TABSTOP);
}

TEST(Win32System, InputDialogCancelledInJapaneseGivesEmptyText) {
  Win32ScriptSystem system;
  std::wstring cancel_text;
  Outcome run;
  {
    DialogAnswerer answerer(L"Input", [&](HWND dialog) {
      cancel_text = ItemText(dialog, IDCANCEL);
      SetDlgItemTextW(dialog, 101, L"ignored");
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    run = RunScript(Out("'[' + Input('m', '') + ']'"), system, nullptr, nullptr, true);
    EXPECT_TRUE(answerer.found());
  }
  EXPECT_EQ(run.output, std::vector<std::string>{"[]"});
  EXPECT_EQ(cancel_text, L"キャンセル");
}

// Reads the in-memory INPUT template back: header, font and every item with
// its class, identifier, rectangle, style and text.
TEST(Win32System, InputDialogTemplateIsExactlyAsTabled) {
  const std::vector<WORD> words = BuildInputDialogTemplate(u"Title", u"Msg", true);
  size_t at = 0;
  auto dword = [&] {
    const DWORD value = words[at] | (static_cast<DWORD>(words[at + 1]) << 16);
    at += 2;
    return value;
  };
  auto text = [&] {
    std::u16string value;
    while (words[at] != 0) value += static_cast<char16_t>(words[at++]);
    ++at;
    return value;
  };
  EXPECT_EQ(dword(), 0x80C808C0u);
  EXPECT_EQ(dword(), 0u);
  EXPECT_EQ(words[at++], 4);
  const WORD frame[4] = {0, 0, 210, 80};
  for (WORD value : frame) EXPECT_EQ(words[at++], value);
  EXPECT_EQ(words[at++], 0);  // menu
  EXPECT_EQ(words[at++], 0);  // class
  EXPECT_EQ(text(), u"Title");
  EXPECT_EQ(words[at++], 9);
  EXPECT_EQ(text(), u"MS Shell Dlg");
  const struct {
    DWORD style;
    WORD x, y, cx, cy, id, atom;
    std::u16string text;
  } items[] = {
      {0x50000000, 7, 7, 196, 20, 102, 0x82, u"Msg"},
      {0x50810080, 7, 32, 196, 12, 101, 0x81, u""},
      {0x50010001, 97, 56, 50, 14, 1, 0x80, u"OK"},
      {0x50010000, 153, 56, 50, 14, 2, 0x80, u"キャンセル"},
  };
  for (const auto& item : items) {
    if (at % 2 != 0) ++at;  // items start on a DWORD boundary
    EXPECT_EQ(dword(), item.style);
    EXPECT_EQ(dword(), 0u);
    const WORD place[4] = {item.x, item.y, item.cx, item.cy};
    for (WORD value : place) EXPECT_EQ(words[at++], value);
    EXPECT_EQ(words[at++], item.id);
    EXPECT_EQ(words[at++], 0xFFFF);
    EXPECT_EQ(words[at++], item.atom);
    EXPECT_EQ(text(), item.text);
    EXPECT_EQ(words[at++], 0);  // no creation data
  }
  EXPECT_EQ(at, words.size());
}

struct HostBox {
  void* owner;
  std::u16string text, caption;
  uint32_t style;
};
std::vector<HostBox> g_host_boxes;
int32_t HostMessageBox(void* owner, const char16_t* text, const char16_t* caption, uint32_t style) {
  g_host_boxes.push_back({owner, text, caption, style});
  return IDYES;
}

TEST(Win32System, HostMessageBoxFunctionGetsTheStatedStyles) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  Win32ScriptSystem system;
  g_host_boxes.clear();
  const Outcome run = RunScript(Out("Message('a') + Question('b') + QuestionOkCancel('c') + QuestionYesNoCancel('d')") +
                              Out("Warning('e') + Information('f') + Error('g', '')"),
                          system, owner, HostMessageBox);
  EXPECT_EQ(run.output, (std::vector<std::string>{"2", "0"}));
  const uint32_t styles[] = {MB_OK, MB_YESNO | MB_ICONQUESTION, MB_OKCANCEL | MB_ICONQUESTION,
                             MB_YESNOCANCEL | MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION, MB_ICONERROR};
  ASSERT_EQ(g_host_boxes.size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(g_host_boxes[i].style, styles[i]) << i;
    EXPECT_EQ(g_host_boxes[i].owner, owner) << i;
  }
  EXPECT_EQ(g_host_boxes[6].caption, u"");
  DestroyWindow(owner);
}

TEST(Win32System, PlatformMessageBoxAnsweredAndClosed) {
  Win32ScriptSystem system;
  Outcome run;
  {
    DialogAnswerer answerer(L"Kirabi asks", [](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
    run = RunScript(Out("QuestionYesNoCancel('Go on?', 'Kirabi asks')"), system);
    EXPECT_TRUE(answerer.found());
  }
  {
    DialogAnswerer answerer(L"Kirabi closes", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); });
    Outcome closed = RunScript(Out("QuestionYesNoCancel('Go on?', 'Kirabi closes')"), system);
    EXPECT_TRUE(answerer.found());
    run.output.insert(run.output.end(), closed.output.begin(), closed.output.end());
  }
  EXPECT_EQ(run.output, (std::vector<std::string>{"0", "-1"}));
}

TEST(Win32System, TimeVersionAndMetrics) {
  Win32ScriptSystem system;
  SYSTEMTIME now;
  GetLocalTime(&now);
  const Outcome run = RunScript(Out("GetCurrentYear()") + Out("GetQV_ScriptVersion()") +
                              Out("GetSystemMetrics(SM_CXSCREEN)") + Out("Sleep(-1)"),
                          system);
  ASSERT_EQ(run.output.size(), 4u);
  EXPECT_NEAR(std::stoi(run.output[0]), now.wYear, 1);
  EXPECT_EQ(run.output[1], "15601");
  EXPECT_EQ(run.output[2], std::to_string(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(run.output[3], "0");
}

}  // namespace
