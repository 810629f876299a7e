// ComboboxQueue over a real combo box and the real INI file and registry.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "settings/combo_history_win.h"
#include "settings_test_support_win.h"

namespace {

class ComboboxQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxCollector(CollectMessage);
    ShownMessages().clear();
    combo_ = MakeCombo(CBS_DROPDOWN);
  }
  void TearDown() override {
    DestroyWindow(combo_);
    SetMessageBoxCollector(nullptr);
  }

  static HWND MakeCombo(DWORD style) {
    return CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | style, 0, 0, 200, 200, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }

  std::vector<std::wstring> ListOf(HWND combo) {
    std::vector<std::wstring> items;
    const LRESULT n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t text[1024] = L"";
      SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(text));
      items.push_back(text);
    }
    return items;
  }

  std::wstring IniKey(const wchar_t* key) {
    wchar_t text[1024] = L"";
    GetPrivateProfileStringW(L"cbq_test", key, L"<absent>", text, 1024, TempPlace::W(place_.Ini()).c_str());
    return text;
  }

  TempPlace place_;
  HWND combo_ = nullptr;
};

TEST_F(ComboboxQueueTest, IniFormLoadsUpToTheFirstGapAndRewritesTheSection) {
  const std::wstring ini = TempPlace::W(place_.Ini());
  WritePrivateProfileStringW(L"cbq_test", L"0", L"zero", ini.c_str());
  WritePrivateProfileStringW(L"cbq_test", L"1", L"one", ini.c_str());
  WritePrivateProfileStringW(L"cbq_test", L"3", L"three", ini.c_str());
  ComboboxQueue queue(combo_, false, place_.Ini(), u"cbq_test");
  EXPECT_EQ(ListOf(combo_), (std::vector<std::wstring>{L"zero", L"one"}));

  EXPECT_TRUE(queue.Record(u"new"));
  EXPECT_EQ(ListOf(combo_), (std::vector<std::wstring>{L"new", L"zero", L"one"}));
  EXPECT_EQ(SendMessageW(combo_, CB_GETCURSEL, 0, 0), 0) << "the box shows what was recorded";
  // The whole section was written again: the stray key 3 is gone.
  EXPECT_EQ(IniKey(L"0"), L"new");
  EXPECT_EQ(IniKey(L"2"), L"one");
  EXPECT_EQ(IniKey(L"3"), L"<absent>");

  EXPECT_TRUE(queue.Record(u"one"));
  EXPECT_EQ(IniKey(L"0"), L"one");
  EXPECT_EQ(IniKey(L"1"), L"new");
  EXPECT_EQ(IniKey(L"2"), L"zero");
  EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(ComboboxQueueTest, RegistryFormIsOneMultiStringValue) {
  {
    ComboboxQueue queue(combo_, true, place_.Subkey(), u"cbq_test");
    EXPECT_TRUE(ListOf(combo_).empty()) << "no key yet: an empty history";
    EXPECT_TRUE(queue.Record(u"C:\\a.wav"));
    EXPECT_TRUE(queue.Record(u"C:\\b.wav"));
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  wchar_t data[64] = {};
  DWORD bytes = sizeof data;
  ASSERT_EQ(RegQueryValueExW(key, L"cbq_test", nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, DWORD(REG_MULTI_SZ));
  EXPECT_EQ(bytes, (1 + 9 + 9) * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(data, bytes / sizeof(wchar_t)), std::wstring(L"C:\\b.wav\0C:\\a.wav\0", 19));

  HWND again = MakeCombo(CBS_DROPDOWN);
  ComboboxQueue reloaded(again, true, place_.Subkey(), u"cbq_test");
  EXPECT_EQ(ListOf(again), (std::vector<std::wstring>{L"C:\\b.wav", L"C:\\a.wav"}));
  DestroyWindow(again);
}

TEST_F(ComboboxQueueTest, WrongRegistryTypeIsAnEmptyHistory) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"cbq_test", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4);
  RegCloseKey(key);
  ComboboxQueue queue(combo_, true, place_.Subkey(), u"cbq_test");
  EXPECT_TRUE(ListOf(combo_).empty());
}

TEST_F(ComboboxQueueTest, SortedBoxIsWarnedAbout) {
  HWND sorted = MakeCombo(CBS_DROPDOWN | CBS_SORT);
  ComboboxQueue queue(sorted, false, place_.Ini(), u"cbq_test");
  ASSERT_EQ(ShownMessages().size(), 1u);
  EXPECT_EQ(ShownMessages()[0].text, u"Warning: Combobox Control has CBS_SORT style!");
  EXPECT_EQ(ShownMessages()[0].caption, u"ComboboxQueue");
  EXPECT_EQ(ShownMessages()[0].type, UINT(MB_OK | MB_ICONERROR));
  DestroyWindow(sorted);
}

}  // namespace
