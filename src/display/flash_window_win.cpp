#include "display/flash_window_win.h"

#include <imm.h>

#include "display/alarm.h"

namespace {

constexpr WORD kFlashIconResource = 103;  // the application icon

// Process-wide, user-interface thread only: there is one flash at a time.
HWND g_flash = nullptr;
COLORREF g_color = RGB(255, 0, 0);
int g_ticks = 0;
void (*g_on_activate)() = nullptr;

void OnCreate(HWND hwnd) {
  g_flash = hwnd;
  g_ticks = 0;
  ImmAssociateContext(hwnd, nullptr);
  SetTimer(hwnd, kFlashTimerId, kFlashTimerPeriod, nullptr);
}

void OnTimer(HWND hwnd) {
  switch (FlashTickAction(++g_ticks)) {
    case FlashAction::Show:
      ShowWindow(hwnd, SW_SHOWMAXIMIZED);
      SetForegroundWindow(hwnd);
      break;
    case FlashAction::Hide:
      ShowWindow(hwnd, SW_HIDE);
      break;
    case FlashAction::Destroy:
      KillTimer(hwnd, kFlashTimerId);
      DestroyWindow(hwnd);
      break;
  }
}

void OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(g_color);
    if (brush) {
      FillRect(dc, &client, brush);
      DeleteObject(brush);
    }
  }
  EndPaint(hwnd, &ps);
}

void OnDestroy(HWND hwnd) {
  KillTimer(hwnd, kFlashTimerId);
  if (g_flash == hwnd) g_flash = nullptr;
}

LRESULT CALLBACK FlashWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(hwnd);
      return 0;
    case WM_TIMER:
      if (wparam == kFlashTimerId) OnTimer(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint(hwnd);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && g_on_activate) g_on_activate();
      return 0;
    case WM_CLOSE:
      return 0;  // only the timer ends a flash
    case WM_QUERYENDSESSION:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
      OnDestroy(hwnd);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool RegisterFlashClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kFlashWindowClass, &wc)) return true;
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = FlashWindowProc;
  wc.hInstance = instance;
  // The program's icon like its other window classes; null when the module
  // carries none.
  wc.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kFlashIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  wc.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kFlashIconResource), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFlashWindowClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

bool OpenFlashWindow(HINSTANCE instance, COLORREF color) {
  if (g_flash) return false;
  if (!RegisterFlashClass(instance)) return false;
  g_color = color;
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kFlashWindowClass, L"",
                              WS_POPUP, 0, 0, GetSystemMetrics(SM_CXFULLSCREEN),
                              GetSystemMetrics(SM_CYFULLSCREEN), nullptr, nullptr, instance,
                              nullptr);
  return hwnd != nullptr;
}

HWND CurrentFlashWindow() { return g_flash; }

void SetFlashActivationHandler(void (*handler)()) { g_on_activate = handler; }
