// The controls the program paints itself in dark mode: disabled labels and
// check boxes, the sheet's tab strip and hotkey boxes.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/dark_mode_win.h"
#include "ui/dialog_win.h"
#include "ui_test_support_win.h"

namespace {

constexpr int kCheck = 100, kLabel = 101, kTabs = 102, kHotkey = 103;

std::u16string HotkeyName(uint32_t value) { return value ? u"Ctrl + A" : u"-None-"; }

// A dialog from an in-memory template holding one of each kind of control.
class ControlsDialog final : public Dialog {
 protected:
  bool OnInit() override {
    CreateWindowW(L"Button", L"Check box label", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 10, 200, 24, window(),
                  HMENU(INT_PTR(kCheck)), nullptr, nullptr);
    CreateWindowW(L"Static", L"Label text", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 40, 200, 24, window(),
                  HMENU(INT_PTR(kLabel)), nullptr, nullptr);
    HWND tabs = CreateWindowW(WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 10, 70, 300, 40, window(),
                              HMENU(INT_PTR(kTabs)), nullptr, nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"First");
    TabCtrl_InsertItem(tabs, 0, &item);
    item.pszText = const_cast<wchar_t*>(L"Second");
    TabCtrl_InsertItem(tabs, 1, &item);
    ThemeTabStrip(tabs);
    HWND hotkey = CreateWindowW(HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 120, 200, 24, window(),
                                HMENU(INT_PTR(kHotkey)), nullptr, nullptr);
    SendMessageW(hotkey, HKM_SETHOTKEY, MAKEWORD('A', HOTKEYF_CONTROL), 0);
    ThemeHotkeyBox(hotkey, HotkeyName);
    return true;
  }
};

struct Template {
  DLGTEMPLATE dialog;
  WORD menu, window_class, title;
};

int Pixels(HWND control, COLORREF colour) { return CountScreenPixels(ClientOnScreen(control), colour); }

TEST(DarkControls, DisabledCheckBoxTabStripAndHotkeyBoxArePaintedDark) {
  if (!VersionTenOrLater()) {
    EXPECT_EQ(RunAgainAsWindows10("DarkControls.DisabledCheckBoxTabStripAndHotkeyBoxArePaintedDark"), 0);
    return;
  }
  ASSERT_TRUE(SetAppsUseLightTheme(0));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  InitDarkMode(GetModuleHandleW(nullptr));
  ASSERT_TRUE(IsDarkMode());
  Template t{};
  t.dialog.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
  t.dialog.cx = 240, t.dialog.cy = 120;
  ControlsDialog dialog;
  HWND window = dialog.Create(GetModuleHandleW(nullptr), &t.dialog, nullptr);
  ASSERT_NE(window, nullptr);
  SetWindowPos(window, HWND_TOPMOST, 100, 100, 400, 240, SWP_SHOWWINDOW);
  auto pump = [](DWORD ms) {
    const DWORD start = GetTickCount();
    MSG m;
    while (GetTickCount() - start < ms) {
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      Sleep(20);
    }
  };
  HWND check = GetDlgItem(window, kCheck);
  EnableWindow(check, FALSE);
  EnableWindow(GetDlgItem(window, kLabel), FALSE);
  pump(800);
  EXPECT_GT(Pixels(check, RGB(76, 76, 76)), 50) << "grey square fill";
  EXPECT_GT(Pixels(check, RGB(127, 127, 127)), 30) << "grey outline and text";
  EXPECT_GT(Pixels(GetDlgItem(window, kLabel), RGB(127, 127, 127)), 10) << "grey label text";
  HWND tabs = GetDlgItem(window, kTabs);
  EXPECT_GT(Pixels(tabs, RGB(30, 30, 30)), 100) << "tab strip";
  EXPECT_GT(Pixels(tabs, RGB(70, 70, 70)), 20) << "tab borders";
  EXPECT_GT(Pixels(tabs, GetSysColor(COLOR_HIGHLIGHT)), 50) << "selected tab";
  HWND hotkey = GetDlgItem(window, kHotkey);
  EXPECT_GT(Pixels(hotkey, RGB(56, 56, 56)), 100) << "hotkey box background";
  EXPECT_GT(Pixels(hotkey, RGB(80, 80, 80)), 40) << "hotkey box border without focus";
  EXPECT_GT(Pixels(hotkey, RGB(255, 255, 255)), 10) << "hotkey text";

  EnableWindow(check, TRUE);
  pump(800);
  EXPECT_EQ(Pixels(check, RGB(76, 76, 76)), 0) << "enabled: the normal look again";
  DestroyWindow(window);
  DeleteAppsUseLightTheme();
}

}  // namespace
