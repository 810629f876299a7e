#include "display/display_cycle_win.h"

#include <imm.h>

#include "common/wide_win.h"
#include "display/alarm_win.h"
#include "display/clock_format_win.h"
#include "display/flash_window_win.h"
#include "settings/settings.h"

namespace {

// Requests of WM_IME_CONTROL (the MinGW headers leave them out).
constexpr WPARAM kImeGetConversionMode = 0x0001;
constexpr WPARAM kImeGetOpenStatus = 0x0005;

// A foreground program that does not answer must not stall the display tick.
constexpr UINT kImeQueryTimeoutMs = 100;

bool AskIme(HWND ime_window, WPARAM what, DWORD_PTR& answer) {
  return SendMessageTimeoutW(ime_window, WM_IME_CONTROL, what, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                             kImeQueryTimeoutMs, &answer) != 0;
}

}  // namespace

HFONT CreateDisplayFont(const Settings& settings, int32_t dpi) {
  return CreateFontW(ScalePanelMetrics(settings, dpi).font_height, 0, 0, 0, settings.FONTBOLD ? 700 : 500,
                     settings.FONTITALIC ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                     CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH,
                     Wide(settings.FONTNAME.c_str()));
}

ImeReading ReadForegroundIme() {
  HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return {};
  HWND ime = ImmGetDefaultIMEWnd(foreground);
  if (ime == nullptr) return {};
  DWORD_PTR open = 0;
  if (!AskIme(ime, kImeGetOpenStatus, open)) return {};
  if (open == 0) return ImeReading{ImeReading::Kind::Closed, 0};
  DWORD_PTR mode = 0;
  if (!AskIme(ime, kImeGetConversionMode, mode)) return {};
  return ImeReading{ImeReading::Kind::Open, static_cast<uint32_t>(mode)};
}

TimeRecord WinDisplaySources::LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ToTimeRecord(now);
}

uint32_t WinDisplaySources::TickCount() { return GetTickCount(); }

Point WinDisplaySources::CursorPosition() {
  POINT p{};
  if (!GetCursorPos(&p)) return Point{};
  return Point{p.x, p.y};
}

bool WinDisplaySources::DarkMode() { return hooks_.dark_mode != nullptr && hooks_.dark_mode(); }

bool WinDisplaySources::MemoScriptHeldBack() {
  return hooks_.memo_script_held_back != nullptr && hooks_.memo_script_held_back();
}

void WinDisplaySources::PollMemoScript(std::u16string& output) {
  if (hooks_.poll_memo_script != nullptr) {
    hooks_.poll_memo_script(output);
  } else {
    output.clear();
  }
}

bool WinDisplaySources::WindowExists(uintptr_t window) {
  return window != 0 && IsWindow(reinterpret_cast<HWND>(window));
}

bool WinDisplaySources::ClipboardWatching() {
  return hooks_.clipboard_watching != nullptr && hooks_.clipboard_watching();
}

ClipboardView WinDisplaySources::Clipboard() {
  return hooks_.clipboard != nullptr ? hooks_.clipboard() : ClipboardView{};
}

bool WinDisplaySources::FlashWindowExists() { return CurrentFlashWindow() != nullptr; }

void WinDisplaySources::RequestFlash() {
  OpenFlashWindow(instance_, MapColor(settings_.ALARM_BK_COLOR, settings_.INVERT_COLOR_DARKMODE && DarkMode()));
}

void WinDisplaySources::PlayWav(std::u16string_view file) { PlaySoundFile(file); }

void WinDisplaySources::OnceAlarmEnded() {
  if (hooks_.once_alarm_ended != nullptr) hooks_.once_alarm_ended();
}

Canvas* GdiCanvasProvider::Obtain() {
  if (canvas_) return &*canvas_;
  HDC dc = given_;
  if (dc == nullptr) {
    own_ = GetDC(window_);
    dc = own_;
  }
  if (dc == nullptr) return nullptr;
  canvas_.emplace(dc, font_);
  return &*canvas_;
}

void GdiCanvasProvider::Release() {
  canvas_.reset();
  if (own_ != nullptr) {
    ReleaseDC(window_, own_);
    own_ = nullptr;
  }
}

DisplayRuntime::DisplayRuntime(Settings& settings, HINSTANCE instance)
    : settings_(settings),
      sampler_(system_sources_),
      sources_(settings, hooks_, instance) {
  background_paint_.settings = &settings_;
  background_paint_.dark_mode = nullptr;
}

DisplayRuntime::~DisplayRuntime() {
  ReleaseFont();
  sampler_.Close();
}

bool DisplayRuntime::MakeFont() {
  ReleaseFont();
  state_.dpi = PanelDpi(settings_, windows_);
  dpi_.Update(state_.dpi);
  font_ = CreateDisplayFont(settings_, state_.dpi);
  if (font_ == nullptr) dpi_.FontFailed();
  background_paint_.dark_mode = hooks_.dark_mode;
  return font_ != nullptr;
}

void DisplayRuntime::FollowMonitorDpi() {
  const int32_t dpi = PanelDpi(settings_, windows_);
  if (!dpi_.Update(dpi)) return;
  MakeFont();
  state_.last_second = kRedrawSecond;
  windows_.InvalidateBoth();
}

void DisplayRuntime::ReleaseFont() {
  if (font_ != nullptr) DeleteObject(font_);
  font_ = nullptr;
}

bool DisplayRuntime::RunCycle(CanvasProvider& canvases, bool force) {
  background_paint_.dark_mode = hooks_.dark_mode;
  DisplayContext context{settings_, AppLanguage(), state_, sources_, windows_, alarm_, &sampler_};
  return DisplayCycle(context, canvases, force);
}

bool DisplayRuntime::Cycle(HDC dc, bool force) {
  GdiCanvasProvider canvases(windows_.handles().text, dc, font_);
  return RunCycle(canvases, force);
}

bool DisplayRuntime::CycleWithoutDrawing() {
  NoCanvasProvider none;
  return RunCycle(none, false);
}

void DisplayRuntime::OnFadeTimer() {
  FadeStep(state_, settings_, windows_);
  if (state_.direction.load() != FadeDirection::None) windows_.EnsureFadeTimer();
}
