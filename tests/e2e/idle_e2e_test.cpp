// What the resident program holds while it only shows the clock: the
// libraries of features not in use stay unloaded, and a background panel of
// opacity 0 is hidden rather than moved along with the text on every tick.

#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <cwctype>
#include <string>
#include <vector>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
constexpr UINT kDisplayTickCountMessage = 0x8004;

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::vector<std::wstring> LoadedModules(DWORD process_id) {
  std::vector<std::wstring> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
    names.push_back(Lower(entry.szModule));
  }
  CloseHandle(snapshot);
  return names;
}

HWND BackgroundWindowOf(DWORD process_id) {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"kirabi_bg", nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, L"kirabi_bg", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process_id) return w;
  }
  return nullptr;
}

class IdleEndToEnd : public KirabiTest {
 protected:
  // Waits until the display tick has run `count` more times.
  bool WaitForTicks(DWORD_PTR count) {
    DWORD_PTR start = 0;
    if (!SendMessageTimeoutW(text_window_, kDisplayTickCountMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, &start)) {
      return false;
    }
    return PollUntil(20000, [&] {
      DWORD_PTR now = 0;
      return SendMessageTimeoutW(text_window_, kDisplayTickCountMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, &now) &&
             now >= start + count;
    });
  }
};

TEST_F(IdleEndToEnd, FeatureLibrariesStayUnloadedWhileOnlyTheClockShows) {
  Launch(kKirabi, {L"NoOpeningDlg=1"}, L"", POINT{300, 300});
  ASSERT_TRUE(WaitForTicks(25));
  const std::vector<std::wstring> modules = LoadedModules(main_.id());
  ASSERT_FALSE(modules.empty());
  bool has_user32 = false;
  for (const std::wstring& name : modules) has_user32 |= name == L"user32.dll";
  EXPECT_TRUE(has_user32) << "the module list was read";
  // Pictures, file and colour dialogs, processor figures, sounds, and the
  // checksum library with its debugging helper.
  for (const wchar_t* unused : {L"gdiplus.dll", L"comdlg32.dll", L"pdh.dll", L"winmm.dll", L"imagehlp.dll",
                                L"dbghelp.dll"}) {
    for (const std::wstring& name : modules) EXPECT_NE(name, unused);
  }
}

TEST_F(IdleEndToEnd, ATransparentBackgroundPanelIsHidden) {
  Launch(kKirabi, {L"NoOpeningDlg=1", L"BG_ALPHA=0"}, L"", POINT{300, 300});
  const HWND background = BackgroundWindowOf(main_.id());
  ASSERT_NE(background, nullptr);
  EXPECT_TRUE(PollUntil(10000, [&] { return IsWindowVisible(text_window_) && !IsWindowVisible(background); }));
  SetCursorPos(420, 360);
  ASSERT_TRUE(WaitForTicks(10));
  EXPECT_TRUE(IsWindowVisible(text_window_));
  EXPECT_FALSE(IsWindowVisible(background));
}

TEST_F(IdleEndToEnd, AnOpaqueBackgroundPanelFollowsTheText) {
  Launch(kKirabi, {L"NoOpeningDlg=1", L"BG_ALPHA=255", L"ROUNDRECT=0"}, L"", POINT{300, 300});
  const HWND background = BackgroundWindowOf(main_.id());
  ASSERT_NE(background, nullptr);
  SetCursorPos(420, 360);
  EXPECT_TRUE(PollUntil(10000, [&] {
    RECT text{}, panel{};
    GetWindowRect(text_window_, &text);
    GetWindowRect(background, &panel);
    return IsWindowVisible(background) && text.left == 420 && panel.left == text.left && panel.top == text.top;
  }));
}

}  // namespace
