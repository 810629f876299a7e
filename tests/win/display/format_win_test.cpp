#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "display/alarm_win.h"
#include "display/clock_format_win.h"
#include "display/flash_window_win.h"
#include "display/system_sampler_win.h"

namespace {

// A drive letter that names no drive on this machine, or 0.
char16_t MissingDriveLetter() {
  const DWORD drives = GetLogicalDrives();
  for (int d = 25; d >= 3; --d)
    if (!(drives & (1u << d))) return static_cast<char16_t>(u'A' + d);
  return 0;
}

std::u16string Text(const TextBuffer& t) { return std::u16string(t.view()); }

TEST(WinSystemSources, FiguresArePlausible) {
  WinSystemSources sources;
  ASSERT_TRUE(sources.OpenProcessorCounter());
  EXPECT_TRUE(sources.ProcessorCounterOpen());
  Sleep(50);
  int32_t load = -1;
  ASSERT_TRUE(sources.SampleProcessorLoad(load));
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);

  MemorySnapshot memory;
  ASSERT_TRUE(sources.ReadMemoryStatus(memory));
  EXPECT_GT(memory.total_physical, 0u);
  EXPECT_LE(memory.available_physical, memory.total_physical);
  EXPECT_LE(memory.memory_load, 100u);

  PowerSnapshot power;
  power.battery_percent = 77;
  if (sources.ReadPowerStatus(power)) {
    EXPECT_TRUE(power.battery_percent <= 100 || power.battery_percent == kBatteryUnknown)
        << int(power.battery_percent);
  }

  sources.CloseProcessorCounter();
  EXPECT_FALSE(sources.ProcessorCounterOpen());
  EXPECT_FALSE(sources.SampleProcessorLoad(load)) << "closed counter gives no value";
}

TEST(WinSystemSources, DriveSpace) {
  WinSystemSources sources;
  DriveSpace c;
  ASSERT_TRUE(sources.QueryDriveSpace(u'C', c));
  EXPECT_GT(c.total, 0u);
  EXPECT_LE(c.free_to_user, c.total);
  DriveSpace lower;
  EXPECT_TRUE(sources.QueryDriveSpace(u'c', lower));

  const char16_t missing = MissingDriveLetter();
  ASSERT_NE(missing, 0);
  DriveSpace none;
  EXPECT_FALSE(sources.QueryDriveSpace(missing, none));
  EXPECT_FALSE(sources.QueryDriveSpace(u'1', none));
}

TEST(WinSystemSources, FormatsDrivesAndWarns) {
  WinSystemSources sources;
  SystemSnapshot snapshot;
  DriveWatch watch;
  TextBuffer out;

  const char16_t missing = MissingDriveLetter();
  const std::u16string missing_pattern = std::u16string(u"{d") + missing + u"G}|{D" + missing + u"B}";
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE[missing - u'A'] = 100;
  watch.WATCHDRIVEFREE_UNIT[missing - u'A'] = 0;
  EXPECT_FALSE(FormatSystemInfo(out, snapshot, missing_pattern, watch, sources));
  EXPECT_EQ(Text(out), u"   0|   0");

  DriveSpace c;
  ASSERT_TRUE(sources.QueryDriveSpace(u'C', c));
  EXPECT_FALSE(FormatSystemInfo(out, snapshot, u"{DCB}", watch, sources));
  EXPECT_EQ(Text(out), std::u16string(FormatUnsigned(c.total, 4, false).view()));

  // A threshold above any real drive: C: is short in bytes.
  watch.WATCHDRIVEFREE_SIZE[2] = 0xFFFFFFFFu;
  watch.WATCHDRIVEFREE_UNIT[2] = 1;  // KB: ~4 TB
  if (c.free_to_user / 1024 < 0xFFFFFFFFull) {
    EXPECT_TRUE(FormatSystemInfo(out, snapshot, u"{dCG}", watch, sources));
  }
  watch.WATCHDRIVEFREE_SIZE[2] = 1;
  watch.WATCHDRIVEFREE_UNIT[2] = 6;  // EB: no drive has 1 EB free
  EXPECT_TRUE(FormatSystemInfo(out, snapshot, u"{dCG}", watch, sources));
  watch.WarnDiskSize = false;
  EXPECT_FALSE(FormatSystemInfo(out, snapshot, u"{dCG}", watch, sources));
}

TEST(WinSystemSources, SamplerProducesALine) {
  WinSystemSources sources;
  SystemSampler sampler(sources);
  SamplerRequest request;
  request.CPUMEM = true;
  request.FORMATCPU = u"{c}|{MM}";
  request.tick = GetTickCount();
  EXPECT_EQ(sampler.Run(request), SamplerOutcome::NoLine);
  request.tick += 20;
  EXPECT_EQ(sampler.Run(request), SamplerOutcome::Sampled);
  const std::u16string text = Text(sampler.text());
  const size_t bar = text.find(u'|');
  ASSERT_NE(bar, std::u16string::npos) << std::string(text.begin(), text.end());
  const long long load = std::stoll(std::string(text.begin(), text.begin() + bar));
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
  EXPECT_GT(std::stoll(std::string(text.begin() + bar + 1, text.end())), 0) << "total memory in MB";
  sampler.Close();
  EXPECT_FALSE(sources.ProcessorCounterOpen());
}

TEST(WinClock, ReadsLocalTime) {
  WinClock clock;
  SYSTEMTIME st;
  GetLocalTime(&st);
  const TimeRecord t = clock.LocalNow();
  EXPECT_EQ(t.year, st.wYear);
  EXPECT_GE(t.month, 1);
  EXPECT_LE(t.month, 12);
  EXPECT_LE(t.day_of_week, 6);
  EXPECT_LE(t.hour, 23);
  const uint32_t ticks = clock.TickCount();
  EXPECT_LE(GetTickCount() - ticks, 1000u);
}

TEST(PlaySoundFile, EmptyOrMissingIsQuiet) {
  EXPECT_FALSE(PlaySoundFile(u""));
  EXPECT_FALSE(PlaySoundFile(std::u16string(600, u'x')));
  // A missing file gives no sound and no message box; the call returns.
  PlaySoundFile(u"C:\\no\\such\\file.wav");
  PlayAlarmSounds(AlarmSounds{u"C:\\no\\such\\a.wav", u"C:\\no\\such\\b.wav"});
}

class FlashWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HWND w = CurrentFlashWindow()) DestroyWindow(w);
  }
  static void Tick(HWND w) { SendMessageW(w, WM_TIMER, kFlashTimerId, 0); }
};

TEST_F(FlashWindowTest, FiveTicks) {
  ASSERT_EQ(CurrentFlashWindow(), nullptr);
  ASSERT_TRUE(OpenFlashWindow(GetModuleHandleW(nullptr), RGB(255, 0, 0)));
  HWND w = CurrentFlashWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(OpenFlashWindow(GetModuleHandleW(nullptr), RGB(0, 0, 255))) << "one at a time";

  wchar_t cls[32];
  GetClassNameW(w, cls, 32);
  EXPECT_STREQ(cls, L"kirabi_fl");
  EXPECT_EQ(GetWindowTextLengthW(w), 0);
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_POPUP);
  EXPECT_FALSE(IsWindowVisible(w)) << "hidden until the first tick";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"kirabi_fl", &wc));
  EXPECT_EQ(wc.style & (CS_HREDRAW | CS_VREDRAW), UINT{CS_HREDRAW | CS_VREDRAW});
  EXPECT_NE(wc.hCursor, nullptr);

  const bool visible_after[] = {true, false, true, false};
  for (int tick = 0; tick < 4; ++tick) {
    Tick(w);
    EXPECT_EQ(IsWindowVisible(w) != FALSE, visible_after[tick]) << "tick " << tick + 1;
    EXPECT_EQ(CurrentFlashWindow(), w);
  }
  Tick(w);
  EXPECT_FALSE(IsWindow(w)) << "the fifth tick destroys it";
  EXPECT_EQ(CurrentFlashWindow(), nullptr);
}

TEST_F(FlashWindowTest, PaintsTheColourAndIgnoresClose) {
  ASSERT_TRUE(OpenFlashWindow(GetModuleHandleW(nullptr), RGB(200, 10, 30)));
  HWND w = CurrentFlashWindow();
  Tick(w);
  UpdateWindow(w);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_GT(client.right, 0);
  EXPECT_GT(client.bottom, 0);

  // Paint into a memory bitmap: no screen read needed.
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  const COLORREF printed = GetPixel(mem, 5, 5);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  // WM_PRINTCLIENT reaches our WM_PAINT handler only through BeginPaint on
  // some systems; accept the window's own DC as the second source.
  HDC dc = GetDC(w);
  const COLORREF shown = GetPixel(dc, 5, 5);
  ReleaseDC(w, dc);
  EXPECT_TRUE(printed == RGB(200, 10, 30) || shown == RGB(200, 10, 30))
      << std::hex << printed << " " << shown;

  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w)) << "close requests are ignored";
  EXPECT_TRUE(SendMessageW(w, WM_QUERYENDSESSION, 0, 0));
  EXPECT_FALSE(IsWindow(w)) << "destroyed at the log-off query";
  EXPECT_EQ(CurrentFlashWindow(), nullptr);
}

TEST_F(FlashWindowTest, RealTimerEndsTheFlash) {
  ASSERT_TRUE(OpenFlashWindow(GetModuleHandleW(nullptr), RGB(255, 0, 0)));
  HWND w = CurrentFlashWindow();
  int shown_changes = 0;
  bool was_visible = false;
  const DWORD start = GetTickCount();
  MSG msg;
  while (IsWindow(w) && GetTickCount() - start < 10000) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    const bool visible = IsWindow(w) && IsWindowVisible(w);
    if (visible && !was_visible) ++shown_changes;
    was_visible = visible;
    Sleep(5);
  }
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(shown_changes, 2) << "shown twice";
}

int g_activations = 0;

TEST_F(FlashWindowTest, ActivationCallsTheHandler) {
  g_activations = 0;
  SetFlashActivationHandler([] { ++g_activations; });
  ASSERT_TRUE(OpenFlashWindow(GetModuleHandleW(nullptr), RGB(255, 0, 0)));
  SendMessageW(CurrentFlashWindow(), WM_ACTIVATE, WA_ACTIVE, 0);
  SendMessageW(CurrentFlashWindow(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFlashActivationHandler(nullptr);
  EXPECT_GE(g_activations, 1);
}

}  // namespace
