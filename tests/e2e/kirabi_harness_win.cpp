#include "kirabi_harness_win.h"

#include <atomic>
#include <cstdio>

std::wstring WinePath(const char* unix_path) {
  std::wstring out = L"Z:";
  for (const char* p = unix_path; *p; ++p) out += *p == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*p));
  return out;
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  wchar_t name[64];
  swprintf(name, 64, L"kirabi_e2e_%lu_%d", GetCurrentProcessId(), counter++);
  path_ = std::wstring(base) + name;
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteFileW((path_ + L"\\" + name).c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(path_.c_str());
}

bool WriteIniFile(const std::wstring& path, const std::vector<std::wstring>& lines) {
  std::wstring text = L"\xFEFF[qz]\r\n";
  for (const std::wstring& line : lines) text += line + L"\r\n";
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(f, text.data(), DWORD(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(f);
  return ok && written == text.size() * sizeof(wchar_t);
}

std::wstring ReadIniValue(const std::wstring& path, const std::wstring& key, bool& present) {
  static const wchar_t kAbsent[] = L"\x1F<absent>";
  std::wstring buffer(70000, L'\0');
  const DWORD n =
      GetPrivateProfileStringW(L"qz", key.c_str(), kAbsent, buffer.data(), DWORD(buffer.size()), path.c_str());
  buffer.resize(n);
  present = buffer != kAbsent;
  return present ? buffer : std::wstring();
}

Process::~Process() {
  if (info_.hProcess) {
    if (Running()) Kill();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& folder) {
  std::wstring line = L"\"" + exe + L"\"";
  if (!args.empty()) line += L" " + args;
  if (info_.hProcess) {  // a second start of the same object
    if (Running()) Kill();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
    info_ = {};
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info_) != FALSE;
}

int Process::WaitExit(DWORD ms) {
  if (!info_.hProcess) return -1;
  if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return int(code);
}

bool Process::Running() { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

void Process::Kill() {
  TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 5000);
}

int RunToEnd(const std::wstring& exe, const std::wstring& args, const std::wstring& folder, DWORD ms) {
  Process p;
  if (!p.Start(exe, args, folder)) return -2;
  return p.WaitExit(ms);
}

namespace {

struct WindowSearch {
  const wchar_t* class_name;
  const wchar_t* title;
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  WindowSearch& s = *reinterpret_cast<WindowSearch*>(param);
  wchar_t name[256];
  if (!GetClassNameW(window, name, 256) || wcscmp(name, s.class_name) != 0) return TRUE;
  if (s.title) {
    wchar_t title[256] = L"";
    GetWindowTextW(window, title, 256);
    if (wcscmp(title, s.title) != 0) return TRUE;
  }
  if (s.process_id) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s.process_id) return TRUE;
  }
  s.found = window;
  return FALSE;
}

}  // namespace

HWND WaitForWindow(const wchar_t* class_name, const wchar_t* title, DWORD ms, DWORD process_id) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch s{class_name, title, process_id, nullptr};
    EnumWindows(MatchWindow, LPARAM(&s));
    // A dialog exists before its controls do; it is shown once they are there.
    const bool dialog = wcscmp(class_name, L"#32770") == 0;
    if (s.found && (!dialog || IsWindowVisible(s.found))) return s.found;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

bool WaitUntilGone(const wchar_t* class_name, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    if (!FindWindowW(class_name, nullptr)) return true;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return false;
}

int CountScreenPixels(const RECT& area, COLORREF color) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return 0;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  int count = 0;
  const uint32_t want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  const uint32_t* px = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) {
    if ((px[i] & 0xFFFFFF) == want) ++count;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return count;
}

namespace {

BOOL CALLBACK CollectTooltip(HWND window, LPARAM param) {
  wchar_t name[64];
  if (!GetClassNameW(window, name, 64) || wcscmp(name, L"tooltips_class32") != 0) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t text[1024] = L"";
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, LPARAM(text), SMTO_ABORTIFHUNG, 1000, &copied);
  if (text[0]) reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
  return TRUE;
}

}  // namespace

std::vector<std::wstring> BalloonTexts() {
  std::vector<std::wstring> texts;
  EnumWindows(CollectTooltip, LPARAM(&texts));
  return texts;
}

void Pause(DWORD ms) { Sleep(ms); }

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

RECT ClientOnScreen(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

ClientLook LookAtClient(HWND window) {
  ClientLook look;
  const RECT r = ClientOnScreen(window);
  look.area = (r.right - r.left) * (r.bottom - r.top);
  // Painting may lag behind the window's appearance: wait for it to settle.
  const DWORD start = GetTickCount();
  while (CountScreenPixels(r, RGB(56, 56, 56)) <= look.area / 3 && GetTickCount() - start < 3000) Sleep(50);
  Pause(300);
  look.dark = CountScreenPixels(r, RGB(56, 56, 56));
  look.white = CountScreenPixels(r, RGB(255, 255, 255));
  look.face = CountScreenPixels(r, GetSysColor(COLOR_BTNFACE));
  return look;
}
