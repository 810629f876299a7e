#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "ui/about_box_win.h"
#include "ui/dark_mode_win.h"
#include "ui/optional_api_win.h"
#include "ui_test_support_win.h"

namespace {

struct AboutLook {
  bool found = false;
  ClientLook colours;
  bool feedback_visible = false;
  bool contribution_visible = false;
  bool window_out_set = false;
  DWORD selection_end = 0;
  int description_length = 0;
  bool guard_disabled = false;
  bool guard_released = false;
};

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CollectedBoxes().clear();
    params_.language = Language::English;
    params_.icon = 1;
    params_.module = GetModuleHandleW(nullptr);
    params_.name = u"Kirabi";
    params_.description = u"Description of the program.\r\nSecond line.";
    params_.message_box = CollectAndAgree;
    params_.window_out = &window_out_;
  }
  void TearDown() override { DeleteAppsUseLightTheme(); }

  // Runs the box on this thread; `act` runs on a helper thread with the box.
  void Run(const std::function<void(HWND)>& act) {
    std::thread helper([&] {
      HWND box = nullptr;
      PollUntil([&] { return (box = FindWindowW(L"#32770", L"About")) != nullptr && IsWindowVisible(box); }, 10000);
      if (!box) return;
      look_.found = true;
      look_.window_out_set = window_out_ == box;
      act(box);
      PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    result_ = ShowAboutBox(params_);
    helper.join();
  }

  AboutParameters params_;
  HWND window_out_ = nullptr;
  AboutLook look_;
  INT_PTR result_ = -1;
};

// The about box reads the theme value without the version test.
TEST_F(AboutBoxTest, IsPaintedDarkWhenTheSystemIsDark) {
  ASSERT_TRUE(SetAppsUseLightTheme(0));
  Run([&](HWND box) { look_.colours = LookAtClient(box); });
  ASSERT_TRUE(look_.found);
  EXPECT_GT(look_.colours.dark, look_.colours.area / 3) << "background RGB 56,56,56";
  EXPECT_GT(look_.colours.white, 20) << "white text";
  EXPECT_EQ(result_, IDCANCEL);
}

TEST_F(AboutBoxTest, IsLightWhenTheSystemIsLight) {
  ASSERT_TRUE(SetAppsUseLightTheme(1));
  Run([&](HWND box) { look_.colours = LookAtClient(box); });
  ASSERT_TRUE(look_.found);
  EXPECT_EQ(look_.colours.dark, 0);
}

TEST_F(AboutBoxTest, HidesLinksWithoutAddressesAndKeepsItsWindowHandleWhileOpen) {
  Run([&](HWND box) {
    look_.feedback_visible = IsWindowVisible(GetDlgItem(box, 2009)) != FALSE;
    look_.contribution_visible = IsWindowVisible(GetDlgItem(box, 2006)) != FALSE;
  });
  ASSERT_TRUE(look_.found);
  EXPECT_TRUE(look_.window_out_set);
  EXPECT_EQ(window_out_, nullptr) << "cleared on close";
  EXPECT_FALSE(look_.feedback_visible);
  EXPECT_FALSE(look_.contribution_visible);

  params_.feedback = u"kirabi-test-scheme:feedback";
  params_.contribution = u"kirabi-test-scheme:kifu";
  look_ = {};
  Run([&](HWND box) {
    look_.feedback_visible = IsWindowVisible(GetDlgItem(box, 2009)) != FALSE;
    look_.contribution_visible = IsWindowVisible(GetDlgItem(box, 2006)) != FALSE;
  });
  EXPECT_TRUE(look_.feedback_visible);
  EXPECT_TRUE(look_.contribution_visible);
}

TEST_F(AboutBoxTest, CtrlASelectsTheWholeDescription) {
  Run([&](HWND box) {
    HWND edit = GetDlgItem(box, 2004);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, WM_CHAR, 1, 0);
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, 0, LPARAM(&end));
    look_.selection_end = end;
    look_.description_length = GetWindowTextLengthW(edit);
  });
  EXPECT_GT(look_.description_length, 0);
  EXPECT_EQ(int(look_.selection_end), look_.description_length);
}

TEST_F(AboutBoxTest, EnvironmentReportGoesToTheClipboard) {
  Run([&](HWND box) { SendMessageW(box, WM_COMMAND, 2005, 0); });
  ASSERT_TRUE(look_.found);
  ASSERT_EQ(CollectedBoxes().size(), 2u);
  EXPECT_EQ(CollectedBoxes()[0].caption, L"ZNVLite");
  EXPECT_EQ(CollectedBoxes()[0].type & 0xF, UINT(MB_OKCANCEL));
  EXPECT_NE(CollectedBoxes()[0].text.find(L"\r\n------------------------\r\nPlease click the [OK] button to copy to clipboard."),
            std::wstring::npos);
  EXPECT_EQ(CollectedBoxes()[1].text, L"Writing data to the clipboard is complete.");
  const std::wstring copied = ClipboardText();
  EXPECT_EQ(copied.rfind(L"ZNVLite ver.1.03.01 [May 13 2026]\r\n[Windows]", 0), 0u) << copied;
  EXPECT_NE(copied.find(L"[Screen]"), std::wstring::npos);
  EXPECT_NE(copied.find(L"\r\n[Client]\r\n "), std::wstring::npos);
  EXPECT_EQ(copied.find(L"Please click"), std::wstring::npos) << "the question is not copied";
}

TEST_F(AboutBoxTest, RefusedReportLeavesTheClipboardAlone) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  params_.message_box = CollectAndRefuse;
  Run([&](HWND box) { SendMessageW(box, WM_COMMAND, 2005, 0); });
  EXPECT_EQ(CollectedBoxes().size(), 1u);
  EXPECT_EQ(ClipboardText(), L"");
}

TEST_F(AboutBoxTest, ALinkDisablesTheButtonsForASecondAndReportsAFailure) {
  params_.contribution = u"kirabi-test-scheme-without-handler:kifu";
  Run([&](HWND box) {
    NMLINK link{};
    link.hdr.hwndFrom = GetDlgItem(box, 2006);
    link.hdr.idFrom = 2006;
    link.hdr.code = NM_CLICK;
    lstrcpyW(link.item.szID, L"kifu");
    SendMessageW(box, WM_NOTIFY, 2006, LPARAM(&link));
    look_.guard_disabled = !IsWindowEnabled(GetDlgItem(box, 2005));
    look_.guard_released = PollUntil([&] { return IsWindowEnabled(GetDlgItem(box, 2005)) != FALSE; }, 5000);
  });
  EXPECT_TRUE(look_.guard_disabled);
  EXPECT_TRUE(look_.guard_released);
  ASSERT_EQ(CollectedBoxes().size(), 1u);
  EXPECT_EQ(CollectedBoxes()[0].text, L"Cannot open a browser.");
  EXPECT_EQ(CollectedBoxes()[0].type, UINT(MB_OK | MB_ICONERROR));
}

TEST_F(AboutBoxTest, TheTemporaryFileIsGoneAfterClosing) {
  wchar_t folder[MAX_PATH + 1] = L"";
  GetTempPathW(ARRAYSIZE(folder), folder);
  const std::wstring temporary = std::wstring(folder) + L"ZNV32LIB_TEMP.TXT";
  HANDLE f = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  Run([](HWND) {});
  EXPECT_EQ(GetFileAttributesW(temporary.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
