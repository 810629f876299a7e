// Sends a line of external text to the running program, the way another
// program would: WM_COPYDATA with identifier 102414 and its own window as
// the sender, then keeps that window for a while.
//
//   kirabi_sender [--count N] [--text T] [--null-sender] [--no-terminator] [--hold MS] [--id N]
//
// --count N sends N characters cycling through A-Z (or T repeated); --hold
// keeps the sender window alive for MS milliseconds before it is destroyed;
// --id sends another identifier (a pointer-sized number).
// Exit code: 0 sent, 1 no running window, 2 bad arguments.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Options {
  std::wstring text = L"external";
  bool null_sender = false;
  bool terminator = true;
  DWORD hold_ms = 0;
  ULONG_PTR id = 102414;
};

bool ParseOptions(int argc, wchar_t** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == L"--count" && has_value) {
      const long n = std::wcstol(argv[++i], nullptr, 10);
      if (n < 0) return false;
      o.text.clear();
      for (long k = 0; k < n; ++k) o.text += wchar_t(L'A' + k % 26);
    } else if (a == L"--text" && has_value) {
      o.text = argv[++i];
    } else if (a == L"--null-sender") {
      o.null_sender = true;
    } else if (a == L"--no-terminator") {
      o.terminator = false;
    } else if (a == L"--id" && has_value) {
      o.id = ULONG_PTR(_wcstoui64(argv[++i], nullptr, 10));
    } else if (a == L"--hold" && has_value) {
      o.hold_ms = DWORD(std::wcstoul(argv[++i], nullptr, 10));
    } else {
      return false;
    }
  }
  return true;
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fwprintf(stderr, L"usage: kirabi_sender [--count N] [--text T] [--null-sender] [--no-terminator] [--hold MS] [--id N]\n");
    return 2;
  }
  HWND target = FindWindowW(L"kirabi", nullptr);
  if (!target) {
    std::fwprintf(stderr, L"kirabi_sender: no running window\n");
    return 1;
  }
  HWND self = CreateWindowExW(0, L"STATIC", L"kirabi_sender", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  // Without a terminator the record still holds exactly the characters sent.
  std::wstring payload = o.text;
  COPYDATASTRUCT record{};
  record.dwData = o.id;
  record.cbData = DWORD((payload.size() + (o.terminator ? 1 : 0)) * sizeof(wchar_t));
  record.lpData = payload.data();
  SendMessageW(target, WM_COPYDATA, o.null_sender ? 0 : WPARAM(self), LPARAM(&record));
  PumpFor(o.hold_ms);
  if (self) DestroyWindow(self);
  return 0;
}
