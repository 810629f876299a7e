#include "ui/dark_mode_win.h"

#include <algorithm>

#include <commctrl.h>
#include <uxtheme.h>

#include "ui/optional_api_win.h"

namespace {

bool g_dark = false;
HBRUSH g_dark_brush = nullptr;
COLORREF g_highlight = 0;

constexpr UINT_PTR kTabSubclass = 0x4B54;
constexpr UINT_PTR kDisabledSubclass = 0x4B44;
constexpr UINT_PTR kHotkeySubclass = 0x4B48;
constexpr UINT_PTR kFrameSubclass = 0x4B53;

std::optional<uint32_t> MajorVersion() {
  const OptionalApi& api = Api();
  if (!api.RtlGetVersion) return std::nullopt;
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (api.RtlGetVersion(&info) != 0) return std::nullopt;
  return info.dwMajorVersion;
}

std::optional<uint32_t> AppsUseLightTheme() {
  DWORD value = 0, size = sizeof value, type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const LONG status =
      RegQueryValueExW(key, L"AppsUseLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

// Made on first need: the about box may turn dark on a system that was
// light (or unknown) at start-up.
HBRUSH DarkBrush() {
  if (!g_dark_brush) g_dark_brush = CreateSolidBrush(dark_colour::kBackground);
  return g_dark_brush;
}

bool VersionTenOrLater() {
  const auto major = MajorVersion();
  return major && *major > 9;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, ARRAYSIZE(name));
  return name;
}

// Some link controls (Wine's) delete the brush their parent answers
// WM_CTLCOLORSTATIC with; given the shared dark brush, every later page and
// control would paint with a dead brush. The stock DC brush cannot be deleted.
bool DeletesItsBrush(HWND control) { return control && ClassOf(control) == WC_LINK; }

LONG ButtonKind(HWND button) { return GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK; }

bool IsPushButton(HWND button) {
  switch (ButtonKind(button)) {
    case BS_GROUPBOX:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return false;
    default: return true;
  }
}

void ThemeListView(HWND list) {
  if (g_dark) {
    SetWindowTheme(list, L"Explorer", nullptr);
    ListView_SetBkColor(list, dark_colour::kTooltipBackground);
    ListView_SetTextBkColor(list, dark_colour::kTooltipBackground);
    ListView_SetTextColor(list, dark_colour::kTooltipText);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                                        LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    if (HWND header = ListView_GetHeader(list)) SetWindowTheme(header, L"ItemsView", nullptr);
  } else {
    SetWindowTheme(list, L"", L"");
    ListView_SetBkColor(list, GetSysColor(COLOR_WINDOW));
    ListView_SetTextBkColor(list, GetSysColor(COLOR_WINDOW));
    ListView_SetTextColor(list, GetSysColor(COLOR_WINDOWTEXT));
  }
}

BOOL CALLBACK ThemeChild(HWND child, LPARAM) {
  const std::wstring name = ClassOf(child);
  if (name == L"Button" && IsPushButton(child)) {
    SetWindowTheme(child, g_dark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
  } else if (name == WC_LISTVIEWW) {
    ThemeListView(child);
  } else if (g_dark) {
    SetWindowTheme(child, L" ", L" ");  // visual styles off, so the dark colours apply
  } else {
    SetWindowTheme(child, nullptr, nullptr);
  }
  return TRUE;
}

struct OwnedTooltips {
  HWND owner;
};

BOOL CALLBACK ThemeOwnedTooltip(HWND window, LPARAM lparam) {
  const auto* search = reinterpret_cast<const OwnedTooltips*>(lparam);
  if (GetWindow(window, GW_OWNER) == search->owner && ClassOf(window) == TOOLTIPS_CLASSW) ThemeTooltip(window);
  return TRUE;
}

// --- the tab strip ---

void PaintTabStrip(HWND tab, HDC dc) {
  RECT client;
  GetClientRect(tab, &client);
  HBRUSH strip = CreateSolidBrush(dark_colour::kTabStrip);
  HBRUSH selected = CreateSolidBrush(g_highlight);
  HPEN border = CreatePen(PS_SOLID, 1, dark_colour::kTabBorder);
  FillRect(dc, &client, strip);
  HGDIOBJ old_pen = SelectObject(dc, border);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ old_font = SelectObject(dc, HFONT(SendMessageW(tab, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, dark_colour::kText);
  const int count = TabCtrl_GetItemCount(tab);
  const int current = TabCtrl_GetCurSel(tab);
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (!TabCtrl_GetItemRect(tab, i, &r)) continue;
    FillRect(dc, &r, i == current ? selected : strip);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    wchar_t text[kTabTextMax + 1] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = ARRAYSIZE(text);
    TabCtrl_GetItem(tab, i, &item);
    // The tab was sized for its text with the system's own padding, which
    // can be less than the inset: a title is never cut to keep the margin.
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, int(wcslen(text)), &extent);
    const int spare = (r.right - r.left - extent.cx) / 2;
    InflateRect(&r, -std::clamp(spare, 0, kTabTextInsetX), -kTabTextInsetY);
    DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, old_font);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(border);
  DeleteObject(selected);
  DeleteObject(strip);
}

LRESULT CALLBACK TabStripProc(HWND tab, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (g_dark) {
    switch (message) {
      case WM_ERASEBKGND: return TRUE;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(tab, &ps);
        PaintTabStrip(tab, dc);
        EndPaint(tab, &ps);
        return 0;
      }
      default: break;
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(tab, TabStripProc, kTabSubclass);
  return DefSubclassProc(tab, message, wparam, lparam);
}

// A dialog whose procedure is the system's (the settings sheet's frame, a
// message box) knows nothing of dark mode: its background and its controls'
// colours are answered here.
LRESULT CALLBACK DialogFrameProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (g_dark && message == WM_ERASEBKGND && EraseDialogBackground(dialog, HDC(wparam))) return TRUE;
  if (g_dark && IsControlColourMessage(message)) {
    if (HBRUSH brush = DialogControlColour(HDC(wparam), HWND(lparam))) return LRESULT(brush);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(dialog, DialogFrameProc, kFrameSubclass);
  return DefSubclassProc(dialog, message, wparam, lparam);
}

// --- disabled labels and check boxes ---

enum class Mark { kNone, kSquare, kCircle };

Mark MarkOf(HWND control) {
  if (ClassOf(control) != L"Button") return Mark::kNone;
  switch (ButtonKind(control)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return Mark::kSquare;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return Mark::kCircle;
    default: return Mark::kNone;
  }
}

void PaintDisabled(HWND control, HDC dc) {
  RECT r;
  GetClientRect(control, &r);
  HGDIOBJ old_font = SelectObject(dc, HFONT(SendMessageW(control, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, dark_colour::kDisabledText);
  const Mark mark = MarkOf(control);
  if (mark != Mark::kNone) {
    HPEN pen = CreatePen(PS_SOLID, 1, dark_colour::kDisabledText);
    HBRUSH fill = CreateSolidBrush(dark_colour::kDisabledFill);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, fill);
    const int top = r.top + (r.bottom - r.top - 14) / 2;
    if (mark == Mark::kSquare) {
      Rectangle(dc, r.left, top, r.left + 14, top + 14);
    } else {
      Ellipse(dc, r.left, top, r.left + 14, top + 14);
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(fill);
    DeleteObject(pen);
    r.left += 18;
    r.top += 1;
  }
  wchar_t text[256] = L"";
  GetWindowTextW(control, text, ARRAYSIZE(text));
  DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  SelectObject(dc, old_font);
}

LRESULT CALLBACK DisabledProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_PAINT:
      if (g_dark && !IsWindowEnabled(control)) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(control, &ps);
        PaintDisabled(control, dc);
        EndPaint(control, &ps);
        return 0;
      }
      break;
    case WM_ENABLE: {
      const LRESULT result = DefSubclassProc(control, message, wparam, lparam);
      if (g_dark) InvalidateRect(control, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(control, DisabledProc, kDisabledSubclass); break;
    default: break;
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

bool PaintsDisabledItself(HWND control) {
  const std::wstring name = ClassOf(control);
  if (name == L"Static") {
    const LONG kind = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT;
  }
  return name == L"Button" && !IsPushButton(control);
}

BOOL CALLBACK SubclassDisabled(HWND child, LPARAM) {
  if (PaintsDisabledItself(child)) SetWindowSubclass(child, DisabledProc, kDisabledSubclass, 0);
  return TRUE;
}

// --- hotkey boxes ---

void PaintHotkeyBox(HWND box, HDC dc, HotkeyTextFn text_of) {
  RECT r;
  GetClientRect(box, &r);
  FillRect(dc, &r, DarkBrush());
  const uint32_t value = uint32_t(SendMessageW(box, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
  std::u16string text = text_of ? text_of(value) : std::u16string();
  HGDIOBJ old_font = SelectObject(dc, HFONT(SendMessageW(box, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, dark_colour::kText);
  RECT inner = r;
  InflateRect(&inner, -6, -2);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), -1, &inner,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  SelectObject(dc, old_font);
  HBRUSH frame =
      CreateSolidBrush(GetFocus() == box ? dark_colour::kHotkeyFocusBorder : dark_colour::kHotkeyBorder);
  FrameRect(dc, &r, frame);
  DeleteObject(frame);
}

LRESULT CALLBACK HotkeyBoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  switch (message) {
    case WM_PAINT:
      if (g_dark) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(box, &ps);
        PaintHotkeyBox(box, dc, reinterpret_cast<HotkeyTextFn>(data));
        EndPaint(box, &ps);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case HKM_SETHOTKEY:
      InvalidateRect(box, nullptr, FALSE);
      break;
    case WM_NCDESTROY: RemoveWindowSubclass(box, HotkeyBoxProc, kHotkeySubclass); break;
    default: break;
  }
  return DefSubclassProc(box, message, wparam, lparam);
}

}  // namespace

bool ReadDarkMode(bool check_version) {
  DarkModeFacts facts;
  if (check_version) facts.major_version = MajorVersion();
  facts.apps_use_light_theme = AppsUseLightTheme();
  return DecideDarkMode(facts, check_version);
}

void InitDarkMode(HINSTANCE) {
  g_dark = ReadDarkMode();
  g_highlight = GetSysColor(COLOR_HIGHLIGHT);
  if (!g_dark_brush && VersionTenOrLater()) g_dark_brush = CreateSolidBrush(dark_colour::kBackground);
}

void ReleaseDarkMode() {
  if (g_dark_brush) DeleteObject(g_dark_brush);
  g_dark_brush = nullptr;
}

void AllowDarkModeForApp() {
  if (!VersionTenOrLater()) return;
  const OptionalApi& api = Api();
  if (!api.SetPreferredAppMode || !api.FlushMenuThemes) return;
  api.SetPreferredAppMode(1);
  api.FlushMenuThemes();
}

bool IsDarkMode() { return g_dark; }

void ApplyDarkTitleBar(HWND window) { ApplyDarkTitleBar(window, g_dark); }

void ApplyDarkTitleBar(HWND window, bool dark) {
  const OptionalApi& api = Api();
  if (!api.DwmSetWindowAttribute || !window) return;
  const BOOL value = dark ? TRUE : FALSE;
  api.DwmSetWindowAttribute(window, 20, &value, sizeof value);  // the immersive dark-mode attribute
}

void ThemeChildren(HWND window) {
  EnumChildWindows(window, ThemeChild, 0);
  OwnedTooltips search{window};
  EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), ThemeOwnedTooltip, LPARAM(&search));
}

void ThemeTooltip(HWND tooltip) { ThemeTooltip(tooltip, g_dark); }

void ThemeTooltip(HWND tooltip, bool dark) {
  if (dark) {
    SetWindowTheme(tooltip, L" ", L" ");
    SendMessageW(tooltip, TTM_SETTIPBKCOLOR, dark_colour::kTooltipBackground, 0);
    SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, dark_colour::kTooltipText, 0);
  } else {
    SetWindowTheme(tooltip, nullptr, nullptr);
    SendMessageW(tooltip, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
  }
}

bool EraseDialogBackground(HWND window, HDC dc) { return EraseDialogBackground(window, dc, g_dark); }

bool EraseDialogBackground(HWND window, HDC dc, bool dark) {
  RECT r;
  if (!GetClientRect(window, &r)) return false;
  FillRect(dc, &r, dark && DarkBrush() ? DarkBrush() : GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

HBRUSH DialogControlColour(HDC dc, HWND control) { return DialogControlColour(dc, control, g_dark); }

HBRUSH DialogControlColour(HDC dc, HWND control, bool dark) {
  if (!dark || !DarkBrush()) return nullptr;
  SetTextColor(dc, dark_colour::kText);
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, dark_colour::kBackground);
  if (DeletesItsBrush(control)) {
    SetDCBrushColor(dc, dark_colour::kBackground);
    return HBRUSH(GetStockObject(DC_BRUSH));
  }
  return DarkBrush();
}

bool OnSettingChange(HWND window, const wchar_t* text) {
  if (!text || lstrcmpW(text, L"ImmersiveColorSet") != 0 || !VersionTenOrLater()) return g_dark;
  g_dark = ReadDarkMode();
  ApplyDarkTitleBar(window);
  if (window) InvalidateRect(window, nullptr, TRUE);
  return g_dark;
}

void ThemeDialogFrame(HWND dialog) {
  if (dialog) SetWindowSubclass(dialog, DialogFrameProc, kFrameSubclass, 0);
}

void ThemeTabStrip(HWND tab) {
  if (!tab) return;
  if (g_dark) SetWindowTheme(tab, L" ", L" ");
  SetWindowSubclass(tab, TabStripProc, kTabSubclass, 0);
}

void ThemeDisabledControls(HWND dialog) { EnumChildWindows(dialog, SubclassDisabled, 0); }

void ThemeHotkeyBox(HWND box, HotkeyTextFn text) {
  if (box) SetWindowSubclass(box, HotkeyBoxProc, kHotkeySubclass, reinterpret_cast<DWORD_PTR>(text));
}
