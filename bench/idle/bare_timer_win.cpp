// The yardstick of the idle benchmark: one layered topmost window and a 20 ms
// timer whose only work is reading the cursor, the least a panel that
// follows the cursor can do per tick. With /info the tick reads the cursor
// information (shape and visibility too) instead of only its position. With
// /follow the window also follows the cursor: one SetWindowPos on each tick
// the cursor moved, the least a panel beside the cursor costs while it moves.

#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTick = 1;
constexpr UINT kPeriodMs = 20;
bool g_read_info = false;
bool g_follow = false;
volatile LONG g_sink = 0;
POINT g_last{-1, -1};

void Follow(HWND window, POINT p) {
  if (p.x == g_last.x && p.y == g_last.y) return;
  g_last = p;
  SetWindowPos(window, nullptr, p.x, p.y + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReadCursor(HWND window) {
  POINT p{};
  if (g_read_info) {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return;
    g_sink = g_sink + info.ptScreenPos.x + static_cast<LONG>(info.flags);
    p = info.ptScreenPos;
  } else {
    if (!GetCursorPos(&p)) return;
    g_sink = g_sink + p.x;
  }
  if (g_follow) Follow(window, p);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      ReadCursor(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  g_read_info = command_line != nullptr && wcsstr(command_line, L"/info") != nullptr;
  g_follow = command_line != nullptr && wcsstr(command_line, L"/follow") != nullptr;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"bare_timer";
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (!RegisterClassW(&wc)) return 1;
  HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT,
                                L"bare_timer", L"bare_timer", WS_POPUP, 100, 100, 200, 40, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  SetLayeredWindowAttributes(window, RGB(255, 0, 255), 255, LWA_COLORKEY | LWA_ALPHA);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  SetTimer(window, kTick, kPeriodMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
