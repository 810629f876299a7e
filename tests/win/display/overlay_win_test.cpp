// The display on the real platform: the cycle painting into a memory bitmap
// through the GDI canvas, the overlay windows, their sizes, opacity and the
// background panel. Text metrics depend on the installed fonts, so every
// expectation about text is derived from metrics measured here.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "display/display_cycle_win.h"
#include "display/gdi_canvas_win.h"
#include "display/overlay_window_win.h"
#include "settings/settings.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kLightRule = RGB(190, 190, 190);
constexpr COLORREF kDarkRule = RGB(125, 125, 125);

DisplayRuntime* g_runtime = nullptr;
int g_text_position_changes = 0;

LRESULT CALLBACK TestTextProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_WINDOWPOSCHANGING) ++g_text_position_changes;
  if (message == WM_TIMER && wparam == kFadeTimerId && g_runtime != nullptr) {
    g_runtime->OnFadeTimer();
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// A top-down 32-bit bitmap with its own device context.
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc_, &all, magenta);
    DeleteObject(magenta);
  }
  ~MemoryBitmap() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int Count(const RECT& area, COLORREF color) const {
    int n = 0;
    for (int y = area.top; y < area.bottom && y < height_; ++y) {
      for (int x = area.left; x < area.right && x < width_; ++x) n += Pixel(x, y) == color;
    }
    return n;
  }
  // Every pixel of the area is one of the colours.
  bool OnlyColors(const RECT& area, std::initializer_list<COLORREF> colors) const {
    for (int y = area.top; y < area.bottom && y < height_; ++y) {
      for (int x = area.left; x < area.right && x < width_; ++x) {
        bool known = false;
        for (COLORREF c : colors) known |= Pixel(x, y) == c;
        if (!known) return false;
      }
    }
    return true;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};

Settings PanelSettings() {
  Settings s;
  s.SHOW_CLOCK = 1;
  s.FORMAT.assign(u"12:34:56");
  s.CLIPBOARD = 0;
  s.GAIBU = 0;
  s.CPUMEM = 0;
  s.IMESTATE = 0;
  s.ALARM_NOKORI = 0;
  s.ALARM = 0;
  s.JIHOU = 0;
  s.MEMO.clear();
  s.FONTNAME.assign(u"MS UI Gothic");
  s.FONTSIZE = 20;
  s.TEXTCOLOR = kRed;
  s.BKCOLOR = kKeyColor;
  s.KAKOMI_COLOR = kKeyColor;
  s.DEF_MAX_WND_WIDTH = 300;
  s.DEF_MAX_WND_HEIGHT = 200;
  s.INVERT_COLOR_DARKMODE = 0;
  return s;
}

// Size of a text drawn with the display font and the given flags.
SIZE MeasureWithDisplayFont(const Settings& settings, const wchar_t* text, UINT flags, int width) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateDisplayFont(settings);
  HGDIOBJ previous = SelectObject(dc, font);
  RECT r{0, 0, width, 10000};
  DrawTextW(dc, text, -1, &r, flags | DT_CALCRECT);
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

class OverlayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OverlayClassResources resources;
    resources.instance = GetModuleHandleW(nullptr);
    resources.text_procedure = TestTextProcedure;
    resources.key_brush = CreateSolidBrush(kKeyColor);
    ASSERT_TRUE(RegisterOverlayClasses(resources));
  }
  static void TearDownTestSuite() { UnregisterOverlayClasses(GetModuleHandleW(nullptr)); }

  void Open() {
    SetAppLanguage(Language::English);
    runtime = std::make_unique<DisplayRuntime>(settings, GetModuleHandleW(nullptr));
    ASSERT_TRUE(CreateOverlayWindows(GetModuleHandleW(nullptr), settings, L"Kirabi", runtime->background_paint(),
                                     nullptr, handles, &runtime->windows()));
    ASSERT_TRUE(runtime->MakeFont());
    g_runtime = runtime.get();
  }

  void TearDown() override {
    g_runtime = nullptr;
    if (handles.text != nullptr) DestroyWindow(handles.text);
    if (handles.background != nullptr) DestroyWindow(handles.background);
    runtime.reset();
  }

  SIZE WindowSize(HWND window) const {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }

  Settings settings = PanelSettings();
  std::unique_ptr<DisplayRuntime> runtime;
  OverlayHandles handles;
};

TEST_F(OverlayTest, WindowsAreCreatedLayeredClickThroughAndTransparent) {
  settings.WBKCOLOR = kKeyColor;
  Open();
  wchar_t name[32];
  ASSERT_GT(GetClassNameW(handles.text, name, 32), 0);
  EXPECT_STREQ(name, L"kirabi");
  ASSERT_GT(GetClassNameW(handles.background, name, 32), 0);
  EXPECT_STREQ(name, L"kirabi_bg");
  for (HWND window : {handles.text, handles.background}) {
    const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP);
    // Created at the smallest size (no surface of the largest panel is
    // ever made); the first display cycle sizes them.
    const SIZE size = WindowSize(window);
    EXPECT_EQ(size.cx, 1);
    EXPECT_EQ(size.cy, 1);
    EXPECT_TRUE(IsWindowVisible(window));
  }
  COLORREF key = 0;
  BYTE alpha = 1;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(handles.text, &key, &alpha, &flags));
  EXPECT_EQ(key, kKeyColor);
  EXPECT_EQ(alpha, 0);
  ASSERT_TRUE(GetLayeredWindowAttributes(handles.background, &key, &alpha, &flags));
  EXPECT_EQ(key, RGB(255, 255, 255));  // the panel colour is the key itself
  EXPECT_EQ(alpha, 0);

  runtime->windows().Hide();
  EXPECT_FALSE(IsWindowVisible(handles.text));
  EXPECT_FALSE(IsWindowVisible(handles.background));
  EXPECT_FALSE(runtime->windows().TextWindowVisible());
  runtime->windows().ShowWithoutActivating();
  EXPECT_TRUE(IsWindowVisible(handles.text));
  EXPECT_TRUE(IsWindowVisible(handles.background));
}

TEST_F(OverlayTest, ClockLineIsPaintedInItsColorOnTheKeyColor) {
  Open();
  MemoryBitmap bitmap(300, 200);
  ASSERT_TRUE(runtime->Cycle(bitmap.dc(), true));
  const SIZE clock = MeasureWithDisplayFont(settings, L"12:34:56", DT_SINGLELINE | DT_NOPREFIX, 300);
  ASSERT_GT(clock.cx, 0);
  ASSERT_GT(clock.cy, 0);
  const RECT line{0, 0, clock.cx, clock.cy};
  EXPECT_GT(bitmap.Count(line, kRed), 10);
  EXPECT_TRUE(bitmap.OnlyColors(line, {kRed, kKeyColor}));  // no box behind the glyphs
  EXPECT_EQ(bitmap.Pixel(299, 199), kKeyColor);
  EXPECT_EQ(bitmap.Count(RECT{0, clock.cy, 300, 200}, kKeyColor), 300 * (200 - clock.cy));
  // The window shrank to the measured line.
  const SIZE text = WindowSize(handles.text);
  EXPECT_EQ(text.cx, clock.cx);
  EXPECT_EQ(text.cy, clock.cy);
  const SIZE background = WindowSize(handles.background);
  EXPECT_EQ(background.cx, clock.cx);
  EXPECT_EQ(background.cy, clock.cy);
  // The resized panel asks for a paint of its own.
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(handles.background, &update, FALSE));
  EXPECT_EQ(update.right, clock.cx);
  EXPECT_EQ(update.bottom, clock.cy);
}

TEST_F(OverlayTest, BkColorPaintsABoxBehindTheGlyphs) {
  settings.BKCOLOR = kBlue;
  Open();
  MemoryBitmap bitmap(300, 200);
  runtime->Cycle(bitmap.dc(), true);
  const SIZE clock = MeasureWithDisplayFont(settings, L"12:34:56", DT_SINGLELINE | DT_NOPREFIX, 300);
  const RECT line{0, 0, clock.cx, clock.cy};
  EXPECT_GT(bitmap.Count(line, kBlue), clock.cx * clock.cy / 3);
  EXPECT_GT(bitmap.Count(line, kRed), 10);
  EXPECT_TRUE(bitmap.OnlyColors(line, {kRed, kBlue}));
  EXPECT_EQ(bitmap.Pixel(clock.cx + 5, clock.cy / 2), kKeyColor);
}

TEST_F(OverlayTest, OutlineColorSurroundsTheGlyphs) {
  settings.KAKOMI_COLOR = kYellow;
  Open();
  MemoryBitmap bitmap(300, 200);
  runtime->Cycle(bitmap.dc(), true);
  const SIZE clock = MeasureWithDisplayFont(settings, L"12:34:56", DT_SINGLELINE | DT_NOPREFIX, 300);
  const RECT line{0, 0, clock.cx + 1, clock.cy + 1};
  EXPECT_GT(bitmap.Count(line, kYellow), 10);
  EXPECT_GT(bitmap.Count(line, kRed), 10);
  // Every glyph pixel has an outline pixel next to it somewhere in its row.
  EXPECT_TRUE(bitmap.OnlyColors(line, {kRed, kYellow, kKeyColor}));
}

TEST_F(OverlayTest, SeparatorRowsUnderTheFirstLine) {
  settings.MEMO = u"memo";
  settings.MEMO_COLOR = kBlue;
  settings.SHOW_LINE = 1;
  const struct {
    int32_t gap;
  } cases[] = {{0}, {6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gap);
    settings.GAP_BETWEEN_ITEMS = c.gap;
    Open();
    MemoryBitmap bitmap(300, 200);
    runtime->Cycle(bitmap.dc(), true);
    const SIZE clock = MeasureWithDisplayFont(settings, L"12:34:56", DT_SINGLELINE | DT_NOPREFIX, 300);
    const SIZE memo = MeasureWithDisplayFont(settings, L"memo", DT_WORDBREAK | DT_NOPREFIX, 300);
    const int b = clock.cy;
    const int width = std::max(clock.cx, memo.cx);
    const int light = b + c.gap / 2 - 1;
    EXPECT_EQ(bitmap.Count(RECT{0, light, width, light + 1}, kLightRule), width);
    EXPECT_EQ(bitmap.Count(RECT{0, light + 1, width, light + 2}, kDarkRule), width);
    EXPECT_EQ(bitmap.Pixel(width, light), kKeyColor);  // rules stop at the final width
    const SIZE text = WindowSize(handles.text);
    EXPECT_EQ(text.cx, width);
    EXPECT_EQ(text.cy, clock.cy + memo.cy + 2 * c.gap);
    TearDown();
  }
}

TEST_F(OverlayTest, RoundRectGrowsTheBackgroundWindowBy16) {
  Open();
  MemoryBitmap bitmap(300, 200);
  runtime->Cycle(bitmap.dc(), true);
  const SIZE before = WindowSize(handles.text);
  settings.ROUNDRECT = 1;
  runtime->Cycle(bitmap.dc(), true);
  const SIZE text = WindowSize(handles.text);
  const SIZE background = WindowSize(handles.background);
  EXPECT_EQ(text.cx, before.cx);
  EXPECT_EQ(text.cy, before.cy);
  EXPECT_EQ(background.cx, text.cx + 16);
  EXPECT_EQ(background.cy, text.cy + 16);
  settings.ROUNDRECT = 0;
  runtime->Cycle(bitmap.dc(), true);
  EXPECT_EQ(WindowSize(handles.background).cx, text.cx);
}

TEST_F(OverlayTest, CycleOnTheWindowsOwnContext) {
  Open();
  EXPECT_TRUE(runtime->Cycle(nullptr, true));
  const SIZE clock = MeasureWithDisplayFont(settings, L"12:34:56", DT_SINGLELINE | DT_NOPREFIX, 300);
  EXPECT_EQ(WindowSize(handles.text).cx, clock.cx);
}

int g_polls = 0;
void PollLongScriptOutput(std::u16string& output) {
  ++g_polls;
  output = u"script output long enough to need a much wider panel than the clock";
}

// The hidden display tick: the cycle's bookkeeping goes on (the memo script
// is polled through the program's hook) but nothing is drawn and the windows
// keep their sizes until the next drawing cycle.
TEST_F(OverlayTest, CycleWithoutDrawingPollsButKeepsTheSizes) {
  settings.MEMO = u"memo";
  settings.MEMO_AS_SCRIPT = 1;
  Open();
  ASSERT_TRUE(runtime->Cycle(nullptr, true));
  const SIZE before = WindowSize(handles.text);
  runtime->hooks().poll_memo_script = PollLongScriptOutput;
  g_polls = 0;
  // An unforced cycle is skipped within the same second: poll until one runs.
  const DWORD deadline = GetTickCount() + 5000;
  while (g_polls == 0 && GetTickCount() < deadline) {
    runtime->CycleWithoutDrawing();
    Sleep(20);
  }
  ASSERT_GT(g_polls, 0);
  EXPECT_EQ(WindowSize(handles.text).cx, before.cx);
  EXPECT_EQ(WindowSize(handles.text).cy, before.cy);
  ASSERT_TRUE(runtime->Cycle(nullptr, true));
  EXPECT_GT(WindowSize(handles.text).cx, before.cx);
  runtime->hooks().poll_memo_script = nullptr;
}

TEST_F(OverlayTest, PlacementFollowsTheCursor) {
  settings.LEFT = 7;
  settings.TOP = 20;
  settings.ROUNDRECT = 1;
  Open();
  ASSERT_TRUE(SetCursorPos(200, 150));
  runtime->Place(false);
  RECT text{}, background{};
  GetWindowRect(handles.text, &text);
  GetWindowRect(handles.background, &background);
  EXPECT_EQ(text.left, 207);
  EXPECT_EQ(text.top, 170);
  EXPECT_EQ(background.left, 199);
  EXPECT_EQ(background.top, 162);
}

TEST_F(OverlayTest, PinnedToTheFirstMonitorsWorkArea) {
  settings.WPOS = 9;  // a second monitor that does not exist under a single screen
  Open();
  if (GetSystemMetrics(SM_CMONITORS) != 1) GTEST_SKIP() << "needs one monitor";
  runtime->Place(true);
  EXPECT_EQ(settings.WPOS, 1);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  RECT text{};
  GetWindowRect(handles.text, &text);
  EXPECT_EQ(text.right, work.right);
  EXPECT_EQ(text.bottom, work.bottom);
}

TEST_F(OverlayTest, FadeRequestedFromAnotherThreadRunsOnTheWindowsThread) {
  settings.BG_ALPHA = 128;
  Open();
  std::thread script([this] { runtime->Fadein(); });
  script.join();
  const DWORD start = GetTickCount();
  MSG msg;
  while (runtime->state().opacity.load() < 255 && GetTickCount() - start < 5000) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  EXPECT_EQ(runtime->state().opacity.load(), 255);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(handles.text, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
  ASSERT_TRUE(GetLayeredWindowAttributes(handles.background, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(key, kKeyColor);
  // The fade finished and its timer stopped.
  for (int i = 0; i < 10; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(25);
  }
  EXPECT_EQ(runtime->state().direction.load(), FadeDirection::None);
}

TEST(ReadForegroundIme, AnswersForTheProgramsOwnForegroundWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"ime probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  if (GetForegroundWindow() != window) {
    DestroyWindow(window);
    GTEST_SKIP() << "the probe window did not become the foreground window";
  }
  const ImeReading reading = ReadForegroundIme();
  EXPECT_NE(reading.kind, ImeReading::Kind::Absent);
  TextBuffer line;
  ComposeImeLine(reading, Language::English, line);
  EXPECT_TRUE(line.view() == u"IME OFF" || line.view().starts_with(u"IME ON : "));
  DestroyWindow(window);
}

TEST(PaintBackground, PlainAndRounded) {
  Settings settings = PanelSettings();
  const struct {
    uint8_t round;
    COLORREF panel;
    bool invert;
    COLORREF corner, centre;
  } cases[] = {
      {0, RGB(200, 200, 200), false, RGB(200, 200, 200), RGB(200, 200, 200)},
      {0, RGB(200, 200, 200), true, RGB(55, 55, 55), RGB(55, 55, 55)},
      {1, RGB(200, 200, 200), false, kKeyColor, RGB(200, 200, 200)},
      {1, kKeyColor, false, RGB(255, 255, 255), kKeyColor},
  };
  for (const auto& c : cases) {
    settings.ROUNDRECT = c.round;
    settings.WBKCOLOR = c.panel;
    MemoryBitmap bitmap(60, 40);
    PaintBackground(bitmap.dc(), RECT{0, 0, 60, 40}, settings, c.invert);
    EXPECT_EQ(bitmap.Pixel(0, 0), c.corner);
    EXPECT_EQ(bitmap.Pixel(59, 39), c.corner);
    EXPECT_EQ(bitmap.Pixel(30, 20), c.centre);
    EXPECT_EQ(bitmap.Pixel(30, 0), c.centre);  // the rounded edge itself is panel colour
  }
}

TEST(GdiCanvas, CopiesOnlyThePicturesPixels) {
  MemoryBitmap target(50, 50);
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 10, 10);
  ReleaseDC(nullptr, screen);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, picture);
    RECT all{0, 0, 10, 10};
    HBRUSH blue = CreateSolidBrush(kBlue);
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
  GdiCanvas canvas(target.dc(), nullptr);
  canvas.FillRect(Rect{0, 0, 50, 50}, kKeyColor);
  canvas.CopyPicture(Picture{picture, 10, 10}, Point{5, 7}, Size{10, 10});
  EXPECT_EQ(target.Pixel(5, 7), kBlue);
  EXPECT_EQ(target.Pixel(14, 16), kBlue);
  EXPECT_EQ(target.Pixel(15, 16), kKeyColor);
  EXPECT_EQ(target.Pixel(4, 7), kKeyColor);
  DeleteObject(picture);
}

TEST(DisplayFont, FollowsTheFontSettings) {
  Settings settings = PanelSettings();
  settings.FONTSIZE = 17;
  settings.FONTBOLD = 1;
  settings.FONTITALIC = 1;
  settings.FONTNAME.assign(u"Tahoma");
  HFONT font = CreateDisplayFont(settings);
  ASSERT_NE(font, nullptr);
  LOGFONTW lf{};
  ASSERT_GT(GetObjectW(font, sizeof(lf), &lf), 0);
  EXPECT_EQ(lf.lfHeight, 17);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);
  EXPECT_EQ(lf.lfQuality, NONANTIALIASED_QUALITY);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_PRECIS);
  EXPECT_EQ(lf.lfPitchAndFamily & 0x3, VARIABLE_PITCH);
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  DeleteObject(font);
  settings.FONTBOLD = 0;
  font = CreateDisplayFont(settings);
  GetObjectW(font, sizeof(lf), &lf);
  EXPECT_EQ(lf.lfWeight, 500);
  DeleteObject(font);
}

// A pinned panel is placed again on every cursor move, mostly where it
// already stands: only a real move, a hidden window or the once-a-second
// raise above other topmost windows reaches the window system.
TEST_F(OverlayTest, PlacingWhereThePanelStandsMakesNoCallUntilTheRaiseIsDue) {
  Open();
  OverlayWindowsWin& windows = runtime->windows();
  windows.MoveWindows(Point{40, 50}, Point{32, 42});
  g_text_position_changes = 0;
  windows.MoveWindows(Point{40, 50}, Point{32, 42});
  EXPECT_EQ(g_text_position_changes, 0);

  windows.MoveWindows(Point{41, 50}, Point{33, 42});
  EXPECT_EQ(g_text_position_changes, 1);
  RECT r{};
  GetWindowRect(handles.text, &r);
  EXPECT_EQ(r.left, 41);

  windows.Hide();
  g_text_position_changes = 0;
  windows.MoveWindows(Point{41, 50}, Point{33, 42});
  EXPECT_EQ(g_text_position_changes, 1);
  EXPECT_TRUE(IsWindowVisible(handles.text));
  EXPECT_TRUE(IsWindowVisible(handles.background));

  Sleep(1100);  // at least the raise period; longer changes nothing
  g_text_position_changes = 0;
  windows.MoveWindows(Point{41, 50}, Point{33, 42});
  EXPECT_EQ(g_text_position_changes, 1);
}

TEST_F(OverlayTest, MonitorRectAtFindsTheMonitorThatHoldsThePoint) {
  Open();
  OverlayWindowsWin& windows = runtime->windows();
  MonitorInfo first;
  ASSERT_TRUE(windows.GetMonitor(0, first));
  Rect found;
  ASSERT_TRUE(windows.MonitorRectAt(Point{first.monitor.left + 5, first.monitor.top + 5}, found));
  EXPECT_EQ(found, first.monitor);
  EXPECT_FALSE(windows.MonitorRectAt(Point{-30000, -30000}, found));
}

// BG_ALPHA 0 (the default) leaves the background panel fully transparent:
// it is hidden instead of being moved along with the text on every tick, and
// comes back where the panel stands, under the text, once it has an opacity.
TEST_F(OverlayTest, TransparentBackgroundIsHiddenAndReturnsUnderTheText) {
  Open();
  OverlayWindowsWin& windows = runtime->windows();
  windows.MoveWindows(Point{40, 50}, Point{32, 42});
  windows.SetOpacity(255, 0, RGB(255, 0, 255));
  EXPECT_FALSE(windows.BackgroundWanted());
  EXPECT_FALSE(IsWindowVisible(handles.background));
  EXPECT_TRUE(IsWindowVisible(handles.text));

  windows.MoveWindows(Point{140, 150}, Point{132, 142});
  RECT text{};
  GetWindowRect(handles.text, &text);
  EXPECT_EQ(text.left, 140);
  EXPECT_FALSE(IsWindowVisible(handles.background));
  windows.Hide();
  windows.ShowWithoutActivating();
  EXPECT_FALSE(IsWindowVisible(handles.background));

  windows.SetOpacity(255, 128, RGB(255, 0, 255));
  EXPECT_TRUE(windows.BackgroundWanted());
  EXPECT_TRUE(IsWindowVisible(handles.background));
  RECT background{};
  GetWindowRect(handles.background, &background);
  EXPECT_EQ(background.left, 132);
  EXPECT_EQ(background.top, 142);
  EXPECT_EQ(GetWindow(handles.text, GW_HWNDNEXT), handles.background) << "just under the text window";
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(handles.background, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
}

// A transparent background shown while the panel is hidden stays with it:
// the next show brings both.
TEST_F(OverlayTest, BackgroundGivenAnOpacityWhileHiddenShowsWithTheText) {
  Open();
  OverlayWindowsWin& windows = runtime->windows();
  windows.SetOpacity(255, 0, RGB(255, 0, 255));
  windows.Hide();
  windows.SetOpacity(255, 200, RGB(255, 0, 255));
  EXPECT_FALSE(IsWindowVisible(handles.background));
  windows.ShowWithoutActivating();
  EXPECT_TRUE(IsWindowVisible(handles.background));
  EXPECT_TRUE(IsWindowVisible(handles.text));
}

}  // namespace
