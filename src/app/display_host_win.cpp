#include "app/display_host_win.h"

#include <imm.h>

#include <new>

#include "app/app_state_win.h"
#include "display/alarm_win.h"
#include "display/clock_format_win.h"
#include "display/flash_window_win.h"
#include "settings/settings_store_win.h"

namespace {
// Requests of WM_IME_CONTROL (not every header declares them).
constexpr WPARAM kImeGetConversionMode = 0x0001;
constexpr WPARAM kImeGetOpenStatus = 0x0005;
}  // namespace

TimeRecord MainDisplaySources::LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ToTimeRecord(now);
}

uint32_t MainDisplaySources::TickCount() { return GetTickCount(); }

Point MainDisplaySources::CursorPosition() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

ImeReading MainDisplaySources::ReadIme() {
  ImeReading reading;
  HWND foreground = GetForegroundWindow();
  HWND ime = foreground ? ImmGetDefaultIMEWnd(foreground) : nullptr;
  if (!ime) return reading;
  DWORD_PTR open = 0;
  // A hung foreground program must not stall the display tick.
  if (!SendMessageTimeoutW(ime, WM_IME_CONTROL, kImeGetOpenStatus, 0, SMTO_ABORTIFHUNG, 100, &open)) {
    return reading;
  }
  if (open == 0) {
    reading.kind = ImeReading::Kind::Closed;
    return reading;
  }
  DWORD_PTR mode = 0;
  SendMessageTimeoutW(ime, WM_IME_CONTROL, kImeGetConversionMode, 0, SMTO_ABORTIFHUNG, 100, &mode);
  reading.kind = ImeReading::Kind::Open;
  reading.conversion_mode = uint32_t(mode);
  return reading;
}

bool MainDisplaySources::MemoScriptHeldBack() { return App().script_held_back; }

bool MainDisplaySources::WindowExists(uintptr_t window) {
  return window != 0 && IsWindow(reinterpret_cast<HWND>(window));
}

bool MainDisplaySources::FlashWindowExists() { return CurrentFlashWindow() != nullptr; }

void MainDisplaySources::RequestFlash() {
  const AppState& app = App();
  OpenFlashWindow(app.instance, MapColor(app.settings.ALARM_BK_COLOR, false));
}

void MainDisplaySources::PlayWav(std::u16string_view file) { PlaySoundFile(file); }

void MainDisplaySources::OnceAlarmEnded() { SaveSettings(App().settings, 1); }

Canvas* MainCanvasProvider::Obtain() {
  if (canvas_) return canvas_;
  HDC dc = paint_dc_;
  if (!dc) {
    own_dc_ = GetDC(window_);
    dc = own_dc_;
  }
  if (!dc) return nullptr;
  canvas_ = new (storage_) GdiCanvas(dc, font_);
  return canvas_;
}

void MainCanvasProvider::Release() {
  if (canvas_) {
    canvas_->~GdiCanvas();
    canvas_ = nullptr;
  }
  if (own_dc_) {
    ReleaseDC(window_, own_dc_);
    own_dc_ = nullptr;
  }
}

bool RunDisplayCycle(CanvasProvider& canvases, bool force) {
  static MainDisplaySources sources;
  AppState& app = App();
  DisplayContext context{app.settings, app.language, app.display, sources, app.overlay, app.alarm, &app.sampler};
  return DisplayCycle(context, canvases, force);
}
