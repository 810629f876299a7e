// A hook library for the end-to-end tests. A WH_CALLWNDPROC hook loads it
// into kirabi.exe, where it reports every WM_WINDOWPOSCHANGED of the text
// window to the test's window "kirabi_resize_probe": WM_APP with wParam 1
// when the size was asked to change, 0 for a move only.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK ResizeProbeHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (message->message == WM_WINDOWPOSCHANGED) {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(message->lParam);
      wchar_t name[32] = L"";
      GetClassNameW(message->hwnd, name, 32);
      HWND probe = FindWindowW(L"kirabi_resize_probe", nullptr);
      if (probe != nullptr && lstrcmpW(name, L"kirabi") == 0) {
        PostMessageW(probe, WM_APP, (pos->flags & SWP_NOSIZE) ? 0 : 1, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}
