// The memo script in the real kirabi.exe under Wine: the memo line shows
// what the script passes to CB.SetOutputText, the CB. functions reach the
// panel, the tray and the clipboard cache, and a script never holds the
// program up. Memo lines are joined by U+0001, as the INI store keeps them.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);

constexpr COLORREF kClockColor = RGB(255, 0, 0);
constexpr COLORREF kMemoColor = RGB(0, 0, 255);
constexpr COLORREF kAlarmColor = RGB(255, 255, 0);
constexpr int kLeft = 30;
constexpr int kTop = 40;
constexpr POINT kCursor{300, 300};
constexpr DWORD kCycle = 1400;
constexpr DWORD kHoldBack = 10000;
// The main window answers the number of display ticks so far.
constexpr UINT kDisplayTickCountMessage = 0x8004;

RECT PanelArea() { return {kCursor.x + kLeft, kCursor.y + kTop, kCursor.x + kLeft + 900, kCursor.y + kTop + 200}; }

std::wstring Memo(const std::vector<std::wstring>& lines) {
  std::wstring joined;
  for (const std::wstring& line : lines) {
    if (!joined.empty()) joined += L'\x01';
    joined += line;
  }
  return L"MEMO=" + joined;
}

std::vector<std::wstring> ScriptSettings(const std::vector<std::wstring>& memo) {
  return {L"TEXTCOLOR_R=255",     L"TEXTCOLOR_G=0",       L"TEXTCOLOR_B=0",     L"MEMO_COLOR_R=0",
          L"MEMO_COLOR_G=0",      L"MEMO_COLOR_B=255",    L"ALARM_BK_COLOR_R=255", L"ALARM_BK_COLOR_G=255",
          L"ALARM_BK_COLOR_B=0",  L"FONTSIZE=24",         L"LEFT=30",           L"TOP=40",
          L"NoOpeningDlg=1",      L"MEMO_AS_SCRIPT=1",    L"HIDESTOP=0",        L"HIDEMOVE=0",
          // The clipboard line would draw the steering words in the memo colour.
          L"CLIPBOARD=0",
          Memo(memo)};
}

bool SetClipboardText(const std::wstring& text) {
  for (int i = 0; i < 20; ++i) {
    if (OpenClipboard(nullptr)) break;
    if (i == 19) return false;
    Sleep(50);
  }
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory) {
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
  return memory != nullptr;
}

// A fingerprint of where the memo colour lies in the panel.
uint64_t MemoFingerprint() {
  const RECT area = PanelArea();
  uint64_t hash = 1469598103934665603ull;
  for (int y = area.top; y < area.bottom; y += 2) {
    // Row sums are enough to tell texts apart.
    const int n = CountScreenPixels({area.left, y, area.right, y + 2}, kMemoColor);
    hash = (hash ^ uint64_t(n)) * 1099511628211ull;
  }
  return hash;
}

class ScriptEndToEnd : public KirabiTest {
 protected:
  // Starts kirabi with the memo script. Started hidden and then shown, the
  // script is not held back (the hold-back belongs to a visible start).
  void StartWithScript(const std::vector<std::wstring>& memo, bool hold_back) {
    Launch(kKirabi, ScriptSettings(memo), hold_back ? L"" : L"/P0", kCursor);
    started_at_ = GetTickCount();
    if (!hold_back) {
      ASSERT_EQ(Second(L"/P1"), 0);
    }
    Pause(kCycle);
  }

  int MemoPixels() { return CountScreenPixels(PanelArea(), kMemoColor); }
  int ClockPixels() { return CountScreenPixels(PanelArea(), kClockColor); }
  int AlarmPixels() { return CountScreenPixels(PanelArea(), kAlarmColor); }
  int PanelWidth() {
    RECT r{};
    GetWindowRect(text_window_, &r);
    return r.right - r.left;
  }
  BYTE TextAlpha() {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(text_window_, &key, &alpha, &flags);
    return alpha;
  }
  // Polls `condition` until it holds or `ms` have passed.
  template <class Condition>
  bool Within(DWORD ms, Condition condition) {
    const DWORD start = GetTickCount();
    do {
      if (condition()) return true;
      Pause(100);
    } while (GetTickCount() - start < ms);
    return condition();
  }
  uint32_t DisplayTicks() {
    DWORD_PTR ticks = 0;
    SendMessageTimeoutW(text_window_, kDisplayTickCountMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, &ticks);
    return uint32_t(ticks);
  }

  DWORD started_at_ = 0;
};

TEST_F(ScriptEndToEnd, OutputShowsAfterTheHoldBackAndExitStopsARunningScript) {
  StartWithScript({L"CB.SetOutputText(\"MEMO-OK\")", L"while (1) {", L"  Sleep(100)", L"}"}, true);
  // Held back: the memo line stays empty for ten seconds.
  while (GetTickCount() - started_at_ < kHoldBack - 1500) {
    ASSERT_EQ(MemoPixels(), 0) << "the script ran during its hold-back";
    ASSERT_GT(ClockPixels(), 40) << "the panel is not shown";
    Pause(250);
  }
  EXPECT_TRUE(Within(8000, [&] { return MemoPixels() > 40; })) << "MEMO-OK never showed";
  // The script still runs (it sleeps in a loop): /X ends the program within 3 s.
  const DWORD exit_start = GetTickCount();
  RunToEnd(exe_, L"/X", folder_.path(), 5000);
  EXPECT_EQ(main_.WaitExit(3000), 0);
  std::printf("[ figures ] /X with a sleeping script ended the program in %lu ms\n", GetTickCount() - exit_start);
  bool present = false;
  EXPECT_EQ(ReadIniValue(ini_, L"INTERVAL", present), L"20");
  EXPECT_TRUE(present) << "the settings were not saved";
  EXPECT_EQ(ReadIniValue(ini_, L"MEMO", present), L"CB.SetOutputText(\"MEMO-OK\")\x01while (1) {\x01  Sleep(100)\x01}");
}

TEST_F(ScriptEndToEnd, CountingScriptChangesTheLineEverySecond) {
  StartWithScript({L"CB.SetOutputText(GetCurrentSecond())"}, false);
  ASSERT_TRUE(Within(5000, [&] { return MemoPixels() > 10; })) << "no memo line";
  std::set<uint64_t> seen;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    seen.insert(MemoFingerprint());
    Pause(200);
  }
  EXPECT_GE(seen.size(), 4u) << "the memo line did not change with the seconds";
}

TEST_F(ScriptEndToEnd, ScriptErrorBecomesTheMemoLine) {
  StartWithScript({L"CB.SetOutputText(\"x\")", L"y = 1 / 0"}, false);
  // "Runtime Error: Division by zero(/0) at line 2" is far wider than "x".
  EXPECT_TRUE(Within(5000, [&] { return MemoPixels() > 300 && PanelWidth() > 350; }))
      << "memo pixels " << MemoPixels() << ", panel width " << PanelWidth();
}

// One script steered through the clipboard: the test copies a word, the
// script reads it with GetClipboardText and acts. The balloon is asked for
// once (a kept variable remembers it), so it is not replaced every second.
TEST_F(ScriptEndToEnd, ShellNotifyForceAlarmAndFadesReachTheProgram) {
  ASSERT_TRUE(SetClipboardText(L"none"));
  StartWithScript({L"DEFINE(\"KEEPVAR\", 1)", L"c = GetClipboardText()", L"if (c != \"silent\") {",
                   L"  CB.SetOutputText(\"ctl \" + c)", L"}", L"if (c == \"alarm\") {",
                   L"  CB.ForceAlarm(1)", L"} else {", L"  CB.ForceAlarm(\"0\")", L"}",
                   L"if (c == \"fadeout\") {", L"  CB.Fadeout()", L"}", L"if (c == \"fadein\") {", L"  CB.Fadein()",
                   L"}", L"if (c == \"notify\") {", L"  if (notified == 0) {",
                   L"    CB.ShellNotify(\"hello\", \"2\")", L"  }", L"  notified = 1", L"}"},
                  false);
  ASSERT_TRUE(Within(5000, [&] { return MemoPixels() > 10; })) << "no memo line";
  EXPECT_EQ(AlarmPixels(), 0);

  ASSERT_TRUE(SetClipboardText(L"alarm"));
  EXPECT_TRUE(Within(5000, [&] { return AlarmPixels() > 100; })) << "ForceAlarm(1) did not paint the alarm colour";
  ASSERT_TRUE(SetClipboardText(L"none"));
  EXPECT_TRUE(Within(5000, [&] { return AlarmPixels() == 0; })) << "ForceAlarm(0) did not take it back";

  ASSERT_TRUE(BalloonTexts().empty());
  ASSERT_TRUE(SetClipboardText(L"notify"));
  std::vector<std::wstring> texts;
  EXPECT_TRUE(Within(8000, [&] {
    texts = BalloonTexts();
    return !texts.empty();
  })) << "no balloon";
  if (!texts.empty()) {
    EXPECT_EQ(texts[0], L"hello");
  }

  // Opacity: the layered window's alpha (Wine shows alpha only with a
  // compositor, so the attribute is what is read back).
  ASSERT_TRUE(SetClipboardText(L"none"));
  ASSERT_EQ(TextAlpha(), 255);
  ASSERT_TRUE(SetClipboardText(L"fadeout"));
  EXPECT_TRUE(Within(5000, [&] { return TextAlpha() <= 30; })) << "alpha " << int(TextAlpha());
  ASSERT_TRUE(SetClipboardText(L"fadein"));
  EXPECT_TRUE(Within(5000, [&] { return TextAlpha() == 255; })) << "alpha " << int(TextAlpha());

  // A run that sets no output leaves the memo line empty.
  ASSERT_TRUE(SetClipboardText(L"silent"));
  EXPECT_TRUE(Within(5000, [&] { return MemoPixels() == 0; })) << "memo pixels " << MemoPixels();
}

// The script writes the tick count to the clipboard while it runs, so the
// test can tell whether it still runs.
TEST_F(ScriptEndToEnd, SuspendStopsTheRunningScriptAndHoldsItBack) {
  StartWithScript({L"CB.SetOutputText(\"running\")", L"while (1) {", L"  SetClipboardText(GetTickCount())",
                   L"  Sleep(100)", L"}"},
                  false);
  auto changing = [&] {
    const std::wstring before = ClipboardText();
    Pause(600);
    return ClipboardText() != before;
  };
  ASSERT_TRUE(Within(5000, changing)) << "the script does not run";
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(text_window_, WM_POWERBROADCAST, PBT_APMSUSPEND, 0, SMTO_NORMAL, 3000, &answer);
  EXPECT_EQ(answer, DWORD_PTR(TRUE));
  Pause(1000);
  EXPECT_FALSE(changing()) << "the script still runs after the suspend notice";
  EXPECT_FALSE(changing()) << "a new run started while held back";
  EXPECT_EQ(MemoPixels(), 0) << "the held-back line shows text";
}

TEST_F(ScriptEndToEnd, GetClipboardTextCacheReturnsTheCopiedText) {
  ASSERT_TRUE(SetClipboardText(L"copied for the script"));
  StartWithScript({L"CB.SetOutputText(CB.GetClipboardTextCache())"}, false);
  EXPECT_TRUE(Within(5000, [&] { return MemoPixels() > 100 && PanelWidth() > 200; }))
      << "memo pixels " << MemoPixels();
}

// Scripts that misbehave: the program lives on and the display keeps its
// pace. The tick rate is printed for the record.
TEST_F(ScriptEndToEnd, MisbehavingScriptsNeverStopTheDisplay) {
  const struct {
    const char* what;
    std::vector<std::wstring> memo;
  } scripts[] = {
      {"a script that ends at once (for comparison)", {L"CB.SetOutputText(\"idle\")"}},
      {"endless recursion", {L"func f(n) {", L"  return f(n + 1) + 1", L"}", L"CB.SetOutputText(f(0))"}},
      {"10-million-element array", {L"a[9999999] = 1", L"CB.SetOutputText(\"big\")"}},
      {"busy loop without Sleep", {L"CB.SetOutputText(\"busy\")", L"while (1) {", L"  x = x + 1", L"}"}},
  };
  for (const auto& s : scripts) {
    SCOPED_TRACE(s.what);
    StartWithScript(s.memo, false);
    // Let the script get going (several runs, or one that never ends).
    Pause(2500);
    ASSERT_TRUE(main_.Running()) << "the program ended";
    const uint32_t ticks_before = DisplayTicks();
    const DWORD start = GetTickCount();
    std::set<int> clock_shapes;
    while (GetTickCount() - start < 4000) {
      clock_shapes.insert(ClockPixels());
      Pause(250);
    }
    const uint32_t ticks = DisplayTicks() - ticks_before;
    const double per_second = ticks * 1000.0 / double(GetTickCount() - start);
    std::printf("[ figures ] %s: %.1f display ticks per second (INTERVAL 20 ms)\n", s.what, per_second);
    RecordProperty(std::string("ticks_per_second ") + s.what, int(per_second));
    EXPECT_TRUE(main_.Running()) << "the program ended";
    EXPECT_GT(per_second, 5.0) << "the display thread was starved";
    EXPECT_GE(clock_shapes.size(), 2u) << "the clock stopped changing";
    RunToEnd(exe_, L"/X", folder_.path(), 5000);
    EXPECT_EQ(main_.WaitExit(5000), 0);
    WaitUntilGone(L"kirabi", 3000);
  }
}

}  // namespace
