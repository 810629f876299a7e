// The project's own clipboard program for tests: puts content on the
// clipboard, holds it open, lists what is there, or sits in the viewer chain.
//
//   kirabi_cliptool --text T | --count N | --unterminated T | --html T
//                   | --files P [P ...] | --empty-files | --bitmap W H RRGGBB
//                   | --zero-bitmap | --empty
//   kirabi_cliptool --hold MS      opens the clipboard and keeps it open for MS ms
//   kirabi_cliptool --list         prints the formats and the sequence number
//   kirabi_cliptool --viewer MS    joins the viewer chain for MS ms, hands every
//                                  change on, leaves (earlier when the text "leave"
//                                  is copied); the exit code is the number of
//                                  changes seen (at most 100)
//   kirabi_cliptool --swallow MS   the same, but hands nothing on: a broken chain
//
// --count N puts N characters: words of four letters and a space, cycling
// through the alphabet. Exit code 0 done, 1 a clipboard step failed, 2 bad
// arguments (except --viewer).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "clipboard_put_win.h"

namespace {

std::wstring Words(long n) {
  std::wstring text;
  for (long k = 0; k < n; ++k) text += (k % 5 == 4) ? L' ' : wchar_t(L'a' + k % 26);
  return text;
}

// Held by a window of its own: openers without a window are not kept out
// by one another under every system.
bool Hold(DWORD ms) {
  HWND window = CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  bool opened = false;
  for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
    opened = OpenClipboard(window) != FALSE;
    if (!opened) Sleep(20);
  }
  if (!opened) {
    if (window) DestroyWindow(window);
    return false;
  }
  Sleep(ms);
  CloseClipboard();
  if (window) DestroyWindow(window);
  return true;
}

void List() {
  for (const std::wstring& name : ClipboardFormatNames()) wprintf(L"%ls\n", name.c_str());
  wprintf(L"sequence %lu\n", GetClipboardSequenceNumber());
}

bool ClipboardHoldsText(const wchar_t* want) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return false;
  bool same = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
    same = std::wcsncmp(text, want, GlobalSize(data) / sizeof(wchar_t)) == 0;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return same;
}

struct Viewer {
  HWND next = nullptr;
  int changes = 0;
  bool hands_on = true;
  bool leave = false;
};
Viewer viewer;

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DRAWCLIPBOARD:
      ++viewer.changes;
      if (viewer.next && viewer.hands_on) SendMessageW(viewer.next, message, wparam, lparam);
      viewer.leave = viewer.leave || ClipboardHoldsText(L"leave");
      return 0;
    case WM_CHANGECBCHAIN:
      if (HWND(wparam) == viewer.next) {
        viewer.next = HWND(lparam);
      } else if (viewer.next) {
        SendMessageW(viewer.next, message, wparam, lparam);
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

int RunViewer(DWORD ms) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"kirabi_cliptool_viewer";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"viewer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!window) return 0;
  viewer.next = SetClipboardViewer(window);
  // Joining sends one change at once; count only what comes later.
  viewer.changes = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms && !viewer.leave) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
  ChangeClipboardChain(window, viewer.next);
  DestroyWindow(window);
  return viewer.changes > 100 ? 100 : viewer.changes;
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring a = argv[1];
  const bool one = argc == 3;
  if (a == L"--text" && one) return PutText(argv[2]) ? 0 : 1;
  if (a == L"--count" && one) return PutText(Words(std::wcstol(argv[2], nullptr, 10))) ? 0 : 1;
  if (a == L"--unterminated" && one) return PutUnterminatedText(argv[2]) ? 0 : 1;
  if (a == L"--html" && one) return PutHtmlAndText(argv[2]) ? 0 : 1;
  if (a == L"--files" && argc >= 3) return PutFiles(std::vector<std::wstring>(argv + 2, argv + argc)) ? 0 : 1;
  if (a == L"--empty-files" && argc == 2) return PutEmptyFileList() ? 0 : 1;
  if (a == L"--bitmap" && argc == 5) {
    const unsigned long rgb = std::wcstoul(argv[4], nullptr, 16);
    return PutBitmap(int(std::wcstol(argv[2], nullptr, 10)), int(std::wcstol(argv[3], nullptr, 10)),
                     RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF))
               ? 0
               : 1;
  }
  if (a == L"--zero-bitmap" && argc == 2) return PutZeroSizeBitmap() ? 0 : 1;
  if (a == L"--empty" && argc == 2) return EmptyTheClipboard() ? 0 : 1;
  if (a == L"--hold" && one) return Hold(DWORD(std::wcstoul(argv[2], nullptr, 10))) ? 0 : 1;
  if (a == L"--list" && argc == 2) {
    List();
    return 0;
  }
  if (a == L"--viewer" && one) return RunViewer(DWORD(std::wcstoul(argv[2], nullptr, 10)));
  if (a == L"--swallow" && one) {
    viewer.hands_on = false;
    return RunViewer(DWORD(std::wcstoul(argv[2], nullptr, 10)));
  }
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
