#include "script/win32_system_win.h"

#include <imm.h>

#include <string>

#include "common/wide_win.h"

namespace {

constexpr int kInputMessageId = 102;
constexpr int kInputEditId = 101;
constexpr int kInputMaxChars = 4095;
constexpr DWORD kInputDialogStyle = 0x80C808C0;  // popup, caption, system menu, centred, modal frame, font
constexpr size_t kEnvironmentChars = 32767;
constexpr int kTitleChars = 2048;

std::u16string FromWide(const wchar_t* text, size_t count) { return std::u16string(U16View(text, count)); }

void AppendText(std::vector<WORD>& words, std::u16string_view text) {
  for (char16_t c : text) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
}

void AlignToDword(std::vector<WORD>& words) {
  if (words.size() % 2 != 0) words.push_back(0);
}

void AppendDword(std::vector<WORD>& words, DWORD value) {
  words.push_back(LOWORD(value));
  words.push_back(HIWORD(value));
}

// One DLGITEMTEMPLATE with a predefined class (0xFFFF, atom) and its text.
void AppendItem(std::vector<WORD>& words, DWORD style, short x, short y, short cx, short cy,
                WORD id, WORD class_atom, std::u16string_view text) {
  AlignToDword(words);
  AppendDword(words, style);
  AppendDword(words, 0);
  for (short value : {x, y, cx, cy}) words.push_back(static_cast<WORD>(value));
  words.push_back(id);
  words.push_back(0xFFFF);
  words.push_back(class_atom);
  AppendText(words, text);
  words.push_back(0);  // no creation data
}

struct InputDialogState {
  std::u16string title;
  std::u16string message;
  std::u16string answer;
};

INT_PTR OnInputInit(HWND dialog, InputDialogState& state) {
  SetWindowTextW(dialog, Wide(state.title));
  SetDlgItemTextW(dialog, kInputMessageId, Wide(state.message));
  SetFocus(GetDlgItem(dialog, kInputEditId));
  return FALSE;  // the focus is set
}

INT_PTR OnInputCommand(HWND dialog, InputDialogState& state, WORD command) {
  if (command == IDOK) {
    wchar_t buffer[kInputMaxChars + 1] = {};
    const UINT length = GetDlgItemTextW(dialog, kInputEditId, buffer, kInputMaxChars + 1);
    state.answer = FromWide(buffer, length);
    EndDialog(dialog, 1);
    return TRUE;
  }
  if (command == IDCANCEL) {
    EndDialog(dialog, 2);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    return OnInputInit(dialog, *reinterpret_cast<InputDialogState*>(lparam));
  }
  auto* state = reinterpret_cast<InputDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return OnInputCommand(dialog, *state, LOWORD(wparam));
    case WM_CLOSE:
      EndDialog(dialog, 2);
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  auto& rects = *reinterpret_cast<std::vector<ScriptScreenRect>*>(data);
  rects.push_back(ScriptScreenRect{rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

}  // namespace

void PlatformInputInjector::MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) {
  mouse_event(flags, dx, dy, data, 0);
}

void PlatformInputInjector::KeybdEvent(BYTE virtual_key, BYTE scan_code, DWORD flags) {
  keybd_event(virtual_key, scan_code, flags, 0);
}

UINT PlatformInputInjector::SendInput(const INPUT& input) {
  INPUT copy = input;
  return ::SendInput(1, &copy, sizeof(INPUT));
}

std::vector<WORD> BuildInputDialogTemplate(std::u16string_view title, std::u16string_view message,
                                           bool japanese) {
  std::vector<WORD> words;
  AppendDword(words, kInputDialogStyle);
  AppendDword(words, 0);  // extended style
  words.push_back(4);     // items
  for (short value : {0, 0, 210, 80}) words.push_back(static_cast<WORD>(value));
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  AppendText(words, title);
  words.push_back(9);  // point size
  AppendText(words, u"MS Shell Dlg");
  AppendItem(words, 0x50000000, 7, 7, 196, 20, kInputMessageId, 0x0082, message);
  AppendItem(words, 0x50810080, 7, 32, 196, 12, kInputEditId, 0x0081, u"");
  AppendItem(words, 0x50010001, 97, 56, 50, 14, IDOK, 0x0080, u"OK");
  AppendItem(words, 0x50010000, 153, 56, 50, 14, IDCANCEL, 0x0080,
             japanese ? u"キャンセル" : u"Cancel");
  return words;
}

Win32ScriptSystem::Win32ScriptSystem(Win32InputInjector* injector)
    : injector_(injector != nullptr ? injector : &platform_injector_) {}

void Win32ScriptSystem::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

ScriptLocalTime Win32ScriptSystem::LocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ScriptLocalTime{now.wYear, now.wMonth,  now.wDay,    now.wDayOfWeek,
                         now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

uint32_t Win32ScriptSystem::TickCount() { return GetTickCount(); }

int32_t Win32ScriptSystem::SystemMetrics(int32_t index) { return GetSystemMetrics(index); }

int32_t Win32ScriptSystem::ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                                          std::u16string_view caption, uint32_t style) {
  const std::u16string text_z(text), caption_z(caption);
  if (owner.message_box != nullptr) {
    return owner.message_box(owner.window, text_z.c_str(), caption_z.c_str(), style);
  }
  return MessageBoxW(static_cast<HWND>(owner.window), Wide(text_z), Wide(caption_z), style);
}

bool Win32ScriptSystem::InputDialog(const ScriptDialogOwner& owner, std::u16string_view message,
                                    std::u16string_view title, bool japanese, std::u16string& text) {
  InputDialogState state{std::u16string(title), std::u16string(message), {}};
  const std::vector<WORD> words = BuildInputDialogTemplate(title, message, japanese);
  const INT_PTR ended = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
      static_cast<HWND>(owner.window), InputDialogProc, reinterpret_cast<LPARAM>(&state));
  if (ended != 1) {
    text.clear();
    return false;
  }
  text = state.answer;
  return true;
}

int32_t Win32ScriptSystem::MessageBeep(uint32_t type) { return ::MessageBeep(type) ? 1 : 0; }

bool Win32ScriptSystem::GetEnv(std::u16string_view name, std::u16string& value) {
  const std::u16string name_z(name);
  std::wstring buffer(kEnvironmentChars, L'\0');
  SetLastError(ERROR_SUCCESS);
  const DWORD length = GetEnvironmentVariableW(Wide(name_z), buffer.data(), kEnvironmentChars);
  if (length >= kEnvironmentChars) return false;  // would not fit the buffer
  if (length == 0 && GetLastError() != ERROR_SUCCESS) return false;
  value = FromWide(buffer.data(), length);
  return true;
}

bool Win32ScriptSystem::SetEnv(std::u16string_view name, std::u16string_view value) {
  const std::u16string name_z(name), value_z(value);
  return SetEnvironmentVariableW(Wide(name_z), Wide(value_z)) != FALSE;
}

bool Win32ScriptSystem::GetCursorPos(int32_t& x, int32_t& y) {
  POINT point;
  if (!::GetCursorPos(&point)) return false;
  x = point.x;
  y = point.y;
  return true;
}

bool Win32ScriptSystem::SetCursorPos(int32_t x, int32_t y) { return ::SetCursorPos(x, y) != FALSE; }

void Win32ScriptSystem::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) {
  injector_->MouseEvent(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data));
}

void Win32ScriptSystem::KeybdEvent(uint8_t virtual_key, uint8_t scan_code, uint32_t flags) {
  injector_->KeybdEvent(virtual_key, scan_code, flags);
}

uint32_t Win32ScriptSystem::SendKeyboardInput(uint16_t virtual_key, uint16_t scan_code,
                                              uint32_t flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.wScan = scan_code;
  input.ki.dwFlags = flags;
  return injector_->SendInput(input);
}

int16_t Win32ScriptSystem::KeyState(int32_t virtual_key) { return GetKeyState(virtual_key); }

bool Win32ScriptSystem::GetClipboardText(void* owner_window, std::u16string& text) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  if (!OpenClipboard(static_cast<HWND>(owner_window))) return false;
  bool copied = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      // Never read past the data block, even without a terminator.
      const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
      size_t length = 0;
      while (length < capacity && units[length] != L'\0') ++length;
      text = FromWide(units, length);
      copied = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return copied;
}

bool Win32ScriptSystem::SetClipboardText(void* owner_window, std::u16string_view text) {
  if (!OpenClipboard(static_cast<HWND>(owner_window))) return false;
  bool handed_over = false;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block != nullptr) {
    if (auto* units = static_cast<char16_t*>(GlobalLock(block))) {
      text.copy(units, text.size());
      units[text.size()] = u'\0';
      GlobalUnlock(block);
      handed_over = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
    if (!handed_over) GlobalFree(block);
  }
  CloseClipboard();
  return handed_over;
}

bool Win32ScriptSystem::ForegroundWindowTitle(std::u16string& title) {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return false;
  wchar_t buffer[kTitleChars + 1] = {};
  const int length = GetWindowTextW(window, buffer, kTitleChars + 1);
  if (length <= 0) return false;
  title = FromWide(buffer, static_cast<size_t>(length));
  return true;
}

bool Win32ScriptSystem::ImeControl(uint32_t request, uint32_t parameter, int32_t& answer) {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return false;
  HWND ime = ImmGetDefaultIMEWnd(window);
  if (ime == nullptr) return false;
  answer = static_cast<int32_t>(SendMessageW(ime, WM_IME_CONTROL, request, parameter));
  return true;
}

bool Win32ScriptSystem::KeyboardDeviceNames(std::vector<std::u16string>& names) {
  UINT count = 0;
  if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) != 0) return false;
  std::vector<RAWINPUTDEVICELIST> devices(count);
  if (count > 0 &&
      GetRawInputDeviceList(devices.data(), &count, sizeof(RAWINPUTDEVICELIST)) != devices.size()) {
    return false;  // failed, or the list changed between the two calls
  }
  names.clear();
  for (const RAWINPUTDEVICELIST& device : devices) {
    if (device.dwType != RIM_TYPEKEYBOARD) continue;
    UINT chars = 0;
    if (GetRawInputDeviceInfoW(device.hDevice, RIDI_DEVICENAME, nullptr, &chars) != 0 || chars == 0) {
      continue;
    }
    std::wstring name(chars, L'\0');
    const UINT copied = GetRawInputDeviceInfoW(device.hDevice, RIDI_DEVICENAME, name.data(), &chars);
    if (copied == static_cast<UINT>(-1) || copied == 0) continue;
    names.push_back(FromWide(name.c_str(), wcsnlen(name.c_str(), copied)));
  }
  return true;
}

bool Win32ScriptSystem::MonitorRects(std::vector<ScriptScreenRect>& rects) {
  std::vector<ScriptScreenRect> found;
  if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&found))) {
    return false;
  }
  rects = std::move(found);
  return true;
}
