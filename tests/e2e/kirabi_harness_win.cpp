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

std::vector<uint32_t> ReadScreenPixels(const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<uint32_t> out;
  if (w <= 0 || h <= 0) return out;
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
  if (bits != nullptr) {
    const auto* px = static_cast<const uint32_t*>(bits);
    out.assign(px, px + std::size_t(w) * h);
    for (uint32_t& p : out) p &= 0xFFFFFF;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

int CountScreenPixels(const RECT& area, COLORREF color) {
  const uint32_t want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  int count = 0;
  for (uint32_t p : ReadScreenPixels(area)) count += p == want ? 1 : 0;
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

void KirabiTest::SetUp() {
  SetEnvironmentVariableW(L"QZ_LANG", L"EN");
  ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
}

void KirabiTest::TearDown() {
  if (main_.Running()) {
    RunToEnd(exe_, L"/X", folder_.path(), 5000);
    if (main_.WaitExit(5000) == -1) main_.Kill();
  }
  WaitUntilGone(L"kirabi", 3000);
}

void KirabiTest::Launch(const std::wstring& kirabi, const std::vector<std::wstring>& lines, const std::wstring& args,
                        POINT cursor, const wchar_t* name) {
  exe_ = folder_.File(name);
  ini_ = folder_.File(L"kirabi.ini");
  ASSERT_TRUE(CopyFileW(kirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
  if (!lines.empty()) {
    ASSERT_TRUE(WriteIniFile(ini_, lines));
  }
  SetCursorPos(cursor.x, cursor.y);
  ASSERT_TRUE(main_.Start(exe_, args, folder_.path()));
  text_window_ = WaitForWindow(L"kirabi", nullptr, 10000, main_.id());
  ASSERT_NE(text_window_, nullptr) << "the text window did not appear";
  // Before any window of the session exists Wine may not move the pointer;
  // place it again now that the panel follows it.
  SetCursorPos(cursor.x, cursor.y);
}

bool PollUntil(DWORD ms, const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  do {
    if (done()) return true;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return done();
}

bool SaveScreen(const std::wstring& path) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = w;
  header.biHeight = h;
  header.biPlanes = 1;
  header.biBitCount = 24;
  const DWORD row = DWORD((w * 3 + 3) & ~3);
  std::vector<BYTE> pixels(std::size_t(row) * h);
  GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + DWORD(pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && WriteFile(out, &header, sizeof header, &written, nullptr) &&
            WriteFile(out, pixels.data(), DWORD(pixels.size()), &written, nullptr);
  CloseHandle(out);
  return ok;
}


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

namespace {

void SetDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value) {
  HKEY k = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(k);
}

void PretendWindows10(const wchar_t* exe_name, bool on) {
  const std::wstring key = std::wstring(L"Software\\Wine\\AppDefaults\\") + exe_name;
  if (!on) {
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    return;
  }
  HKEY k = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  const wchar_t version[] = L"win10";
  RegSetValueExW(k, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
  RegCloseKey(k);
}

}  // namespace

void UseDarkMode(const wchar_t* exe_name, bool on) {
  SetDword(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
           L"AppsUseLightTheme", on ? 0 : 1);
  PretendWindows10(exe_name, on);
}
