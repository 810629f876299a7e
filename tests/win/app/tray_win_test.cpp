#include "app/tray_win.h"

#include <gtest/gtest.h>

#include "app/commands.h"
#include "settings/settings.h"

namespace {

// A plain window to own hotkeys and the icon.
class OwnerWindow {
 public:
  OwnerWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"tray test", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAppLanguage(Language::English);
    InitTray(GetModuleHandleW(nullptr));
    SetTrayIconHidden(false);
    Notify(nullptr, nullptr, 0);
    ASSERT_NE(owner_.get(), nullptr);
  }
  void TearDown() override { Notify(nullptr, nullptr, 0); }
  OwnerWindow owner_;
};

TEST_F(TrayTest, HeldCombinationsAreListedInTableOrderAndTheOthersRegister) {
  // Another owner holds Ctrl+Alt+F7 and Ctrl+Alt+F9 first.
  OwnerWindow other;
  ASSERT_TRUE(RegisterHotKey(other.get(), 1, MOD_CONTROL | MOD_ALT, VK_F7));
  ASSERT_TRUE(RegisterHotKey(other.get(), 2, MOD_CONTROL | MOD_ALT, VK_F9));
  Settings s;
  s.HOTKEY_PLAINER = 0x0678;              // Ctrl+Alt+F9, later in the table
  s.HOTKEY_SETTING = 0x0676;              // Ctrl+Alt+F7
  s.HOTKEY_MEMO = 0x0677;                 // free
  s.HOTKEY_HIDE_P1 = 0x0300;              // modifiers only: never registered
  EXPECT_FALSE(RegisterHotkeys(owner_.get(), s, Language::English));
  EXPECT_EQ(PendingTrayNotice().text(),
            u"Cannot register hotkey for 'Open Setting DIalog.'\r\n-----\r\n"
            u"Cannot register hotkey for 'Clipboard Rich Text to Plane Text.'");
  EXPECT_EQ(PendingTrayNotice().level(), 2);
  // The free combination is ours now: a third owner cannot take it.
  OwnerWindow third;
  EXPECT_FALSE(RegisterHotKey(third.get(), 3, MOD_CONTROL | MOD_ALT, VK_F8));
  UnregisterHotkeys(owner_.get(), s);
  EXPECT_TRUE(RegisterHotKey(third.get(), 3, MOD_CONTROL | MOD_ALT, VK_F8));
  UnregisterHotKey(third.get(), 3);
  UnregisterHotKey(other.get(), 1);
  UnregisterHotKey(other.get(), 2);
}

TEST_F(TrayTest, RegistrationStartsWithAFreshNoticeAndSucceedsQuietly) {
  Notify(nullptr, u"left over", 3);
  Settings s;
  s.HOTKEY_HIDE = 0x0679;  // Ctrl+Alt+F10
  EXPECT_TRUE(RegisterHotkeys(owner_.get(), s, Language::Japanese));
  EXPECT_TRUE(PendingTrayNotice().empty());
  EXPECT_EQ(PendingTrayNotice().level(), 0);
  // Registering again replaces our own registration instead of failing on it.
  EXPECT_TRUE(RegisterHotkeys(owner_.get(), s, Language::Japanese));
  UnregisterHotkeys(owner_.get(), s);
}

TEST_F(TrayTest, JapaneseFailureTexts) {
  OwnerWindow other;
  ASSERT_TRUE(RegisterHotKey(other.get(), 1, MOD_CONTROL | MOD_ALT, VK_F11));
  Settings s;
  s.HOTKEY_SUSPEND_WARNDISKSIZE = 0x067A;  // Ctrl+Alt+F11
  EXPECT_FALSE(RegisterHotkeys(owner_.get(), s, Language::Japanese));
  EXPECT_EQ(PendingTrayNotice().text(), u"「ドライブ空き容量警告の一時停止」のホットキー割当てに失敗しました。");
  UnregisterHotKey(other.get(), 1);
}

TEST_F(TrayTest, IconAddsAndBalloonsShowOnlyWithTheIcon) {
  EXPECT_TRUE(AddTrayIcon(owner_.get()));
  Notify(owner_.get(), u"first", 1);
  Notify(owner_.get(), u"second", 2);
  EXPECT_EQ(PendingTrayNotice().text(), u"first\r\n-----\r\nsecond");
  RemoveTrayIcon(owner_.get());
}

TEST_F(TrayTest, HotkeyControlTextUsesTheSystemKeyName) {
  const std::u16string text = HotkeyControlText(0x0341, Language::English);  // Ctrl+Shift+A
  EXPECT_EQ(text.substr(0, 15), u"Ctrl + Shift + ");
  EXPECT_EQ(text.substr(15), u"A");
  EXPECT_EQ(HotkeyControlText(0, Language::Japanese), u"なし");
}

}  // namespace
