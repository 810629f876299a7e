#pragma once
// What the display cycle reads from the running program: the platform's
// clock, cursor and input method, the sender windows of external text, the
// flash window and sounds. Parts not built yet answer "nothing".

#include <windows.h>

#include "display/display_cycle.h"
#include "display/gdi_canvas_win.h"

class MainDisplaySources final : public DisplaySources {
 public:
  TimeRecord LocalNow() override;
  uint32_t TickCount() override;
  Point CursorPosition() override;
  ImeReading ReadIme() override;
  bool MemoScriptHeldBack() override;
  bool WindowExists(uintptr_t window) override;
  bool FlashWindowExists() override;
  void RequestFlash() override;
  void PlayWav(std::u16string_view file) override;
  void OnceAlarmEnded() override;
};

// The text window's own device context, or a paint's; none while hidden.
class MainCanvasProvider final : public CanvasProvider {
 public:
  MainCanvasProvider(HWND window, HDC paint_dc, HFONT font) : window_(window), paint_dc_(paint_dc), font_(font) {}
  ~MainCanvasProvider() override { Release(); }
  Canvas* Obtain() override;
  void Release() override;

 private:
  HWND window_;
  HDC paint_dc_;
  HFONT font_;
  HDC own_dc_ = nullptr;
  GdiCanvas* canvas_ = nullptr;
  alignas(GdiCanvas) unsigned char storage_[sizeof(GdiCanvas)];
};

class NoCanvasProvider final : public CanvasProvider {
 public:
  Canvas* Obtain() override { return nullptr; }
  void Release() override {}
};

// One display cycle of the running program.
bool RunDisplayCycle(CanvasProvider& canvases, bool force);
