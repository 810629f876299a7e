#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "ui/dark_mode_win.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "ui/optional_api_win.h"
#include "ui/shortcut_win.h"
#include "ui/text_file_win.h"
#include "ui_test_support_win.h"

namespace {


// --- optional functions ---

TEST(OptionalApi, LoadsFromTheSystemDirectoryOnce) {
  HMODULE user32 = LoadSystemLibrary(L"user32.dll");
  ASSERT_NE(user32, nullptr);
  FreeLibrary(user32);
  EXPECT_EQ(LoadSystemLibrary(L"no-such-library-kirabi.dll"), nullptr);
  EXPECT_EQ(LoadSystemLibrary(L""), nullptr);
  const OptionalApi& api = Api();
  EXPECT_EQ(&api, &Api()) << "one table";
  EXPECT_NE(api.RtlGetVersion, nullptr);
  EXPECT_TRUE(api.ClipboardListenerAvailable());
  EXPECT_NE(api.ChangeWindowMessageFilter, nullptr);
  EXPECT_EQ(api.SetPreferredAppMode == nullptr, api.FlushMenuThemes == nullptr) << "both ordinals or neither";
}

// --- dark-mode state ---

TEST(DarkModeState, FollowsAppsUseLightTheme) {
  if (!VersionTenOrLater()) {
    EXPECT_EQ(RunAgainAsWindows10("DarkModeState.FollowsAppsUseLightTheme"), 0);
    return;
  }
  ASSERT_TRUE(SetAppsUseLightTheme(0));
  EXPECT_TRUE(ReadDarkMode());
  ASSERT_TRUE(SetAppsUseLightTheme(1));
  EXPECT_FALSE(ReadDarkMode());
  DeleteAppsUseLightTheme();
  EXPECT_FALSE(ReadDarkMode()) << "a missing value is light";
  EXPECT_FALSE(ReadDarkMode(false));
}

// --- the message box ---

TEST(ShowMessageBox, ACollectorGetsTheBoxAndGivesTheAnswer) {
  CollectedBoxes().clear();
  SetMessageBoxCollector(CollectAndAgree);
  EXPECT_EQ(ShowMessage(nullptr, std::u16string_view(u"本文"), u"Kirabi", MB_YESNO | MB_ICONQUESTION), IDYES);
  SetMessageBoxCollector(nullptr);
  ASSERT_EQ(CollectedBoxes().size(), 1u);
  EXPECT_EQ(CollectedBoxes()[0].text, L"本文");
  EXPECT_EQ(CollectedBoxes()[0].caption, L"Kirabi");
  EXPECT_EQ(CollectedBoxes()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
}

struct BoxLook : ClientLook {
  bool found = false;
};

// Shows a real box on this thread while a helper looks at it and closes it.
BoxLook LookAtMessageBox(const wchar_t* caption) {
  BoxLook look;
  std::thread helper([&] {
    HWND box = nullptr;
    PollUntil([&] { return (box = FindWindowW(L"#32770", caption)) != nullptr && IsWindowVisible(box); }, 10000);
    if (!box) return;
    look.found = true;
    static_cast<ClientLook&>(look) = LookAtClient(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  ShowMessage(nullptr, L"A message box of the program, in the theme of the system", caption, MB_OK);
  helper.join();
  return look;
}

TEST(ShowMessageBox, IsPaintedDarkInDarkModeAndLightOtherwise) {
  if (!VersionTenOrLater()) {
    EXPECT_EQ(RunAgainAsWindows10("ShowMessageBox.IsPaintedDarkInDarkModeAndLightOtherwise"), 0);
    return;
  }
  ASSERT_TRUE(SetAppsUseLightTheme(0));
  InitDarkMode(GetModuleHandleW(nullptr));
  ASSERT_TRUE(IsDarkMode());
  const BoxLook dark = LookAtMessageBox(L"Kirabi dark box");
  ASSERT_TRUE(dark.found);
  EXPECT_GT(dark.dark, dark.area / 3) << "background RGB 56,56,56";
  EXPECT_GT(dark.white, 20) << "white text";

  ASSERT_TRUE(SetAppsUseLightTheme(1));
  InitDarkMode(GetModuleHandleW(nullptr));
  ASSERT_FALSE(IsDarkMode());
  const BoxLook light = LookAtMessageBox(L"Kirabi light box");
  ASSERT_TRUE(light.found);
  EXPECT_EQ(light.dark, 0);
  EXPECT_GT(light.face, light.area / 3) << "the system's dialog colour";
  DeleteAppsUseLightTheme();
  InitDarkMode(GetModuleHandleW(nullptr));
}

// --- text files ---

class TextFiles : public ::testing::Test {
 protected:
  std::wstring Write(const wchar_t* name, const std::string& bytes) {
    const std::wstring path = folder_.File(name);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &n, nullptr);
    CloseHandle(f);
    return path;
  }
  std::string Read(const std::wstring& path) {
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(f);
    return bytes;
  }
  TempFolder folder_;
};

TEST_F(TextFiles, LoadsEachEncodingFromDisk) {
  using namespace std::string_literals;
  const struct {
    const wchar_t* name;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {L"utf8.txt", "a\nb", u"a\r\nb"},
      {L"utf8bom.txt", "\xEF\xBB\xBF\xE3\x81\x82\r\n", u"あ\r\n"},
      {L"utf16le.txt", "\xFF\xFE" "a\0\n\0"s, u"a\n"},
      {L"utf16be.txt", "\xFE\xFF\0a\0\n"s, u"a\r\n"},
      {L"empty.txt", "", u""},
      {L"middle-nul.txt", "ab\0cd"s, u"ab"},
  };
  for (const auto& c : cases) {
    std::u16string text = u"old";
    EXPECT_EQ(LoadTextFileAt(Write(c.name, c.bytes).c_str(), text), kLoadOk) << c.bytes;
    EXPECT_EQ(text, c.text) << c.bytes;
  }
}

TEST_F(TextFiles, LegacyBytesGoThroughTheSystemCodePage) {
  const std::string bytes = "\x82\xA0\xE9\n";  // not UTF-8
  wchar_t expected[16] = L"";
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), 3, expected, 16);
  ASSERT_GT(n, 0);
  std::u16string text;
  ASSERT_EQ(LoadTextFileAt(Write(L"ansi.txt", bytes).c_str(), text), kLoadOk);
  EXPECT_EQ(text, std::u16string(reinterpret_cast<const char16_t*>(expected), size_t(n)) + u"\r\n");
}

TEST_F(TextFiles, MissingFileIsCodeOne) {
  std::u16string text = u"kept";
  EXPECT_EQ(LoadTextFileAt(folder_.File(L"missing.txt").c_str(), text), kLoadCannotOpen);
  EXPECT_EQ(text, u"kept");
}

TEST_F(TextFiles, SavesUtf8WithMarkAndReplacesTheWholeFile) {
  const std::wstring path = Write(L"memo.txt", std::string(1000, 'x'));
  EXPECT_EQ(SaveTextFileUtf8At(path.c_str(), u"abc"), kSaveOk);
  EXPECT_EQ(Read(path), "\xEF\xBB\xBF" "abc");
  EXPECT_EQ(GetFileAttributesW((path + L".saving").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing left behind";
  EXPECT_EQ(SaveTextFileUtf8At(folder_.File(L"no-folder\\memo.txt").c_str(), u"abc"), kSaveCannotCreate);
}

TEST_F(TextFiles, TheSharedPathServesLoadAndSave) {
  const std::wstring path = folder_.File(L"shared.txt");
  ASSERT_LT(path.size(), kTextFilePathCapacity);
  lstrcpynW(TextFilePath(), path.c_str(), int(kTextFilePathCapacity));
  ASSERT_EQ(SaveTextFileUtf8(u"line\r\n二行目"), kSaveOk);
  std::u16string back;
  ASSERT_EQ(LoadTextFile(back), kLoadOk);
  EXPECT_EQ(back, u"line\r\n二行目");
}

// --- the start-up shortcut ---

std::wstring LinkTarget(const std::wstring& link_path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return L"<no link object>";
  }
  IPersistFile* file = nullptr;
  std::wstring target = L"<unreadable>";
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH] = L"";
    if (SUCCEEDED(file->Load(link_path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) {
      target = path;
    }
    file->Release();
  }
  link->Release();
  return target;
}

TEST(StartupShortcut, PathIsInTheStartupFolderByLanguage) {
  const std::wstring en = StartupShortcutPath(Language::English);
  const std::wstring ja = StartupShortcutPath(Language::Japanese);
  ASSERT_FALSE(en.empty());
  EXPECT_EQ(en.substr(en.size() - 11), L"\\kirabi.lnk");
  EXPECT_EQ(ja.substr(ja.size() - 8), L"\\キラビ.lnk");
}

TEST(StartupShortcut, FirstChoiceCreatesSecondDeletes) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  TempFolder folder;
  const std::wstring shortcut = folder.File(L"kirabi.lnk");
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CollectedBoxes().clear();
  SetMessageBoxCollector(CollectAndAgree);

  RunStartupCommand(nullptr, Language::Japanese, shortcut, self);
  ASSERT_TRUE(StartupShortcutExists(shortcut));
  EXPECT_EQ(_wcsicmp(LinkTarget(shortcut).c_str(), self), 0);
  ASSERT_EQ(CollectedBoxes().size(), 2u);
  EXPECT_EQ(CollectedBoxes()[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(CollectedBoxes()[0].caption, L"キラビ");
  EXPECT_EQ(CollectedBoxes()[1].text, L"下記の位置にキラビのショートカットを作成しました。\r\n\r\n" + shortcut);
  EXPECT_EQ(CollectedBoxes()[1].type, UINT(MB_OK | MB_ICONINFORMATION));

  CollectedBoxes().clear();
  RunStartupCommand(nullptr, Language::English, shortcut, self);
  EXPECT_FALSE(StartupShortcutExists(shortcut));
  ASSERT_EQ(CollectedBoxes().size(), 2u);
  EXPECT_EQ(CollectedBoxes()[0].text, L"Are you sure you want to delete a startup shortcut file?");
  EXPECT_EQ(CollectedBoxes()[1].text, L"Deleted a shortcut file.");

  CollectedBoxes().clear();
  SetMessageBoxCollector(CollectAndRefuse);
  RunStartupCommand(nullptr, Language::English, shortcut, self);
  EXPECT_FALSE(StartupShortcutExists(shortcut)) << "No creates nothing";
  EXPECT_EQ(CollectedBoxes().size(), 1u);

  CollectedBoxes().clear();
  SetMessageBoxCollector(CollectAndAgree);
  RunStartupCommand(nullptr, Language::English, folder.File(L"missing\\kirabi.lnk"), self);
  ASSERT_EQ(CollectedBoxes().size(), 2u);
  EXPECT_EQ(CollectedBoxes()[1].text, L"Cannot create a shortcut file.\n\n" + folder.File(L"missing\\kirabi.lnk"));
  EXPECT_EQ(CollectedBoxes()[1].type, UINT(MB_OK | MB_ICONERROR));
  SetMessageBoxCollector(nullptr);
  CoUninitialize();
}

// --- help ---

TEST(Help, OpensTheViewerOnANamedTopic) {
#ifdef KIRABI_TEST_CHM
  const std::wstring topic = WinePath(KIRABI_TEST_CHM) + L"::/_RESOURCE/HLP000017.html#memo";
  const std::u16string topic16(topic.begin(), topic.end());
  ShowHelp(nullptr, topic16);
  HWND viewer = WaitForWindow(L"HH Parent", nullptr, 15000);
  ASSERT_NE(viewer, nullptr) << "the help viewer's window";
  wchar_t title[128] = L"";
  GetWindowTextW(viewer, title, 128);
  EXPECT_NE(std::wstring(title).find(L"Kirabi UI test help"), std::wstring::npos) << title;
  SendMessageW(viewer, WM_CLOSE, 0, 0);  // the viewer lives on this thread
  EXPECT_FALSE(IsWindow(viewer));
#else
  GTEST_SKIP() << "chmcmd was not found at build time: no help file to open";
#endif
}

}  // namespace
