// The clipboard monitor and commands against the real clipboard: a hidden
// window of the test stands in for the main window and hands the clipboard
// messages and timers to the monitor as the main window does.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/commands.h"
#include "clipboard/clipboard_commands_win.h"
#include "clipboard/clipboard_monitor_win.h"
#include "clipboard/clipboard_rules.h"
#include "clipboard_put_win.h"
#include "settings/settings.h"

namespace {

Settings settings;
CRITICAL_SECTION lock;
std::vector<std::u16string> reports;

void Record(HWND, std::u16string_view text) { reports.emplace_back(text); }

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kRereadClipboardMessage: return ReadClipboard(window, false, false);
    case WM_CLIPBOARDUPDATE: return ReadClipboard(window, ClipboardReadDelayed(settings.CBDELAY), false);
    case WM_DRAWCLIPBOARD: return ReadClipboard(window, ClipboardReadDelayed(settings.CBDELAY), true);
    case WM_CHANGECBCHAIN: return OnChangeClipboardChain(window, wparam, lparam);
    case WM_TIMER:
      if (wparam == timer_id::kDelayedClipboardRead) OnDelayedClipboardReadTimer(window);
      if (wparam == timer_id::kClipboardRecheck) OnClipboardRecheckTimer(window);
      if (wparam == timer_id::kAutoClearClipboard) OnAutoClearTimer(window);
      return 0;
    default: return DefWindowProcW(window, message, wparam, lparam);
  }
}

template <class Pred>
bool PumpUntil(Pred done, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    if (done()) return true;
    Sleep(10);
  } while (GetTickCount() - start < ms);
  return done();
}

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

std::u16string Cache() { return CopyClipboardCacheText(); }
std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

bool HasFormat(UINT format) {
  const std::vector<UINT> formats = ClipboardFormats();
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (const wchar_t* p = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
    text = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Holds the clipboard open on another thread until released.
class ClipboardHolder {
 public:
  ClipboardHolder() {
    thread_ = std::thread([this] {
      opened_ = OpenClipboard(nullptr) != FALSE;
      ready_ = true;
      while (!release_) Sleep(5);
      if (opened_) CloseClipboard();
    });
    while (!ready_) Sleep(1);
  }
  ~ClipboardHolder() { Release(); }
  bool opened() const { return opened_; }
  void Release() {
    release_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> ready_{false}, release_{false}, opened_{false};
  std::thread thread_;
};

class ClipboardMonitorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitializeCriticalSection(&lock); }
  static void TearDownTestSuite() { DeleteCriticalSection(&lock); }

  void SetUp() override {
    settings = Settings{};
    settings.CLIPBOARD = 1;
    reports.clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"clipboard_monitor_test";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    Configure(Language::English, true);
    ASSERT_TRUE(EmptyTheClipboard());
    ReadClipboard(window_, false, false);
  }

  void TearDown() override {
    OnClipboardWindowDestroyed(window_);
    DestroyWindow(window_);
  }

  void Configure(Language language, bool listener) {
    ClipboardMonitorConfig config;
    config.settings = &settings;
    config.language = language;
    config.lock = &lock;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (listener) {
      config.add_listener = reinterpret_cast<BOOL(WINAPI*)(HWND)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "AddClipboardFormatListener")));
      config.remove_listener = reinterpret_cast<BOOL(WINAPI*)(HWND)>(
          reinterpret_cast<void*>(GetProcAddress(user32, "RemoveClipboardFormatListener")));
    }
    config.report = Record;
    ConfigureClipboardMonitor(config);
  }

  std::u16string Read() {
    ReadClipboard(window_, false, false);
    return Cache();
  }

  HWND window_ = nullptr;
};

TEST_F(ClipboardMonitorTest, TextOf600CharactersFillsTheCacheWith519) {
  std::wstring text;
  for (int i = 0; i < 600; ++i) text += wchar_t(L'a' + i % 26);
  ASSERT_TRUE(PutText(text));
  EXPECT_EQ(Read(), U16(text.substr(0, 519)));
  EXPECT_FALSE(CurrentClipboardView().files);
  EXPECT_EQ(CurrentClipboardView().picture, nullptr);
}

TEST_F(ClipboardMonitorTest, TextWithoutTerminatorIsReadOnlyToTheEndOfItsBlock) {
  ASSERT_TRUE(PutUnterminatedText(L"abcdefgh"));
  // The system may give the last character up for a terminator of its own;
  // nothing past the block may appear.
  const std::u16string cache = Read();
  EXPECT_GE(cache.size(), 7u);
  EXPECT_TRUE(std::u16string(u"abcdefgh").starts_with(cache)) << std::string(cache.begin(), cache.end());
}

TEST_F(ClipboardMonitorTest, ThreeFilesAreJoinedByLineFeeds) {
  ASSERT_TRUE(PutFiles({L"C:\\one.txt", L"C:\\folder two", L"D:\\three.png"}));
  EXPECT_EQ(Read(), u"C:\\one.txt\nC:\\folder two\nD:\\three.png");
  EXPECT_TRUE(CurrentClipboardView().files);
}

TEST_F(ClipboardMonitorTest, FileListStopsBeforeThePathThatWouldOverflow) {
  const std::wstring a = L"C:\\" + std::wstring(297, L'a'), b = L"C:\\" + std::wstring(214, L'b');
  ASSERT_TRUE(PutFiles({a, L"C:\\" + std::wstring(300, L'c'), b}));
  EXPECT_EQ(Read(), U16(a + L"\n")) << "the path that overflows and every later one are left out";
}

TEST_F(ClipboardMonitorTest, EmptyFileListLeavesTheCacheEmpty) {
  ASSERT_TRUE(PutEmptyFileList());
  EXPECT_EQ(Read(), u"");
  EXPECT_EQ(CurrentClipboardView().picture, nullptr);
}

// File lists whose names run past the block, or whose name offset points
// outside it, are not handed to the shell's reader.
TEST_F(ClipboardMonitorTest, BrokenFileListsLeaveTheCacheEmpty) {
  struct Row {
    const char* name;
    DWORD offset;
    std::wstring names;  // no final empty name
  } rows[] = {{"names without the closing terminator", sizeof(DROPFILES), std::wstring(L"C:\\a")},
              {"offset past the block", 4000, std::wstring(L"C:\\a\0\0", 6)},
              {"offset inside the header", 2, std::wstring(L"C:\\a\0\0", 6)}};
  for (const Row& r : rows) {
    std::string bytes(sizeof(DROPFILES) + r.names.size() * sizeof(wchar_t), '\0');
    DROPFILES header{};
    header.pFiles = r.offset;
    header.fWide = TRUE;
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, r.names.data(), r.names.size() * sizeof(wchar_t));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ASSERT_NE(block, nullptr);
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(CF_HDROP, block), nullptr);
    CloseClipboard();
    EXPECT_EQ(Read(), u"") << r.name;
    EXPECT_TRUE(CurrentClipboardView().files) << r.name;
  }
}

COLORREF PicturePixel(const Picture& picture, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, HBITMAP(const_cast<void*>(picture.handle)));
  const COLORREF pixel = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST_F(ClipboardMonitorTest, LargePictureIsScaledAndLeavesTheTextEmpty) {
  settings.DEF_MAX_CLIPIMAGESIZE = 320;
  ASSERT_TRUE(PutBitmap(640, 200, RGB(200, 30, 40)));
  EXPECT_EQ(Read(), u"");
  const ClipboardView view = CurrentClipboardView();
  ASSERT_NE(view.picture, nullptr);
  EXPECT_EQ(view.picture->width, 320);
  EXPECT_EQ(view.picture->height, 100);
  EXPECT_EQ(PicturePixel(*view.picture, 160, 50), RGB(200, 30, 40));
}

TEST_F(ClipboardMonitorTest, SmallPictureIsCopiedAtItsSizeAndNamedInTheCache) {
  ASSERT_TRUE(PutBitmap(100, 50, RGB(10, 120, 250)));
  EXPECT_EQ(Read(), u"HBITMAP");
  const ClipboardView view = CurrentClipboardView();
  ASSERT_NE(view.picture, nullptr);
  EXPECT_EQ(view.picture->width, 100);
  EXPECT_EQ(view.picture->height, 50);
  EXPECT_EQ(PicturePixel(*view.picture, 99, 49), RGB(10, 120, 250));
  // Text read afterwards releases the picture.
  ASSERT_TRUE(PutText(L"after"));
  EXPECT_EQ(Read(), u"after");
  EXPECT_EQ(CurrentClipboardView().picture, nullptr);
}

TEST_F(ClipboardMonitorTest, PictureWithoutPixelsGivesNoPicture) {
  ASSERT_TRUE(PutZeroSizeBitmap());
  const std::u16string cache = Read();
  const ClipboardView view = CurrentClipboardView();
  if (view.picture != nullptr) {
    // The system may make a bitmap of one pixel from it; never one of none.
    EXPECT_GT(view.picture->width, 0);
    EXPECT_GT(view.picture->height, 0);
    EXPECT_EQ(cache, u"HBITMAP");
  } else {
    EXPECT_EQ(cache, u"");
  }
}

TEST_F(ClipboardMonitorTest, HeldClipboardShowsThePlaceholderAndIsReadLater) {
  ASSERT_TRUE(PutText(L"held text"));
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.opened());
    EXPECT_EQ(Read(), u"<Clipboard Changed>");
    Pump(700);  // one retry comes and fails again
    EXPECT_EQ(Cache(), u"<Clipboard Changed>");
  }
  EXPECT_TRUE(PumpUntil([] { return Cache() == u"held text"; }, 5000)) << "the retry did not read the text";
}

TEST_F(ClipboardMonitorTest, DelayedReadShowsThePlaceholderFirst) {
  settings.CBDELAY = 3;
  Configure(Language::Japanese, true);
  ASSERT_TRUE(PutText(L"later"));
  const DWORD start = GetTickCount();
  ReadClipboard(window_, true, false);
  EXPECT_EQ(Cache(), u"<クリップボード情報取得中>");
  ASSERT_TRUE(PumpUntil([] { return Cache() == u"later"; }, 5000));
  EXPECT_GE(GetTickCount() - start, 450u) << "CBDELAY 3 waits 500 ms";
}

TEST_F(ClipboardMonitorTest, ListenerWatchReadsAtOnceAndOnEveryChange) {
  ASSERT_TRUE(PutText(L"before"));
  StartClipboardWatch(window_);
  ASSERT_TRUE(ClipboardWatching());
  EXPECT_EQ(Cache(), u"before") << "starting reads at once";
  ASSERT_TRUE(PutText(L"changed"));
  EXPECT_TRUE(PumpUntil([] { return Cache() == u"changed"; }, 5000));
  StopClipboardWatch(window_);
  EXPECT_FALSE(ClipboardWatching());
  ASSERT_TRUE(PutText(L"unseen"));
  Pump(300);
  EXPECT_EQ(Cache(), u"changed");
}

// After an empty text read the listener looks once more a second later,
// with a fresh read; that look does not arm itself again.
TEST_F(ClipboardMonitorTest, ListenerRecheckIsOneFreshRead) {
  StartClipboardWatch(window_);
  ASSERT_TRUE(PutText(L""));
  Pump(300);
  ASSERT_EQ(Cache(), u"");
  ASSERT_TRUE(PutText(L"fresh"));  // not yet pumped: only a fresh read sees it
  OnClipboardRecheckTimer(window_);
  EXPECT_EQ(Cache(), u"fresh");
  ASSERT_TRUE(PutText(L""));
  Pump(300);
  OnClipboardRecheckTimer(window_);
  EXPECT_EQ(Cache(), u"");
  EXPECT_FALSE(KillTimer(window_, timer_id::kClipboardRecheck)) << "the re-check armed itself again";
  StopClipboardWatch(window_);
}

TEST_F(ClipboardMonitorTest, ViewerChainWatchReadsOnEveryChangeAndLeavesTheChain) {
  Configure(Language::English, false);
  StartClipboardWatch(window_);
  ASSERT_TRUE(PutText(L"through the chain"));
  EXPECT_TRUE(PumpUntil([] { return Cache() == u"through the chain"; }, 5000));
  StopClipboardWatch(window_);
  ASSERT_TRUE(PutText(L"unseen"));
  Pump(300);
  EXPECT_EQ(Cache(), u"through the chain");
}

// A viewer ahead of this one that swallows changes breaks the chain; the
// chain check sees the cache differ from the clipboard and joins again.
TEST_F(ClipboardMonitorTest, ChainCheckRejoinsABrokenViewerChain) {
  Configure(Language::English, false);
  ASSERT_TRUE(PutText(L"before"));
  StartClipboardWatch(window_);
  ASSERT_TRUE(PumpUntil([] { return Cache() == u"before"; }, 5000));
  Pump(300);  // let any late announcement of the put pass
  HWND swallower = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(swallower, nullptr);
  HWND after_swallower = SetClipboardViewer(swallower);
  ASSERT_TRUE(PutText(L"unannounced"));
  Pump(300);
  ASSERT_NE(Cache(), u"unannounced") << "the change came through after all";
  OnClipboardRecheckTimer(window_);
  EXPECT_EQ(Cache(), u"unannounced");
  ASSERT_TRUE(PutText(L"announced again"));
  EXPECT_TRUE(PumpUntil([] { return Cache() == u"announced again"; }, 5000)) << "not back in the chain";
  // Nothing to do when the cache matches.
  OnClipboardRecheckTimer(window_);
  EXPECT_EQ(Cache(), u"announced again");
  StopClipboardWatch(window_);
  ChangeClipboardChain(swallower, after_swallower);
  DestroyWindow(swallower);
}

TEST_F(ClipboardMonitorTest, ManualStripKeepsOnlyTheText) {
  ASSERT_TRUE(PutHtmlAndText(L"bold words"));
  ASSERT_TRUE(HasFormat(RegisterClipboardFormatW(L"HTML Format")));
  StripFormatting(window_, false);
  EXPECT_FALSE(HasFormat(RegisterClipboardFormatW(L"HTML Format")));
  EXPECT_EQ(ClipboardText(), L"bold words");
  EXPECT_TRUE(reports.empty());
}

TEST_F(ClipboardMonitorTest, ManualStripTurnsFilesIntoLinesAutomaticLeavesThem) {
  ASSERT_TRUE(PutFiles({L"C:\\a.txt", L"C:\\b"}));
  StripFormatting(window_, true);
  EXPECT_TRUE(HasFormat(CF_HDROP)) << "automatic strip leaves files alone";
  StripFormatting(window_, false);
  EXPECT_FALSE(HasFormat(CF_HDROP));
  EXPECT_EQ(ClipboardText(), L"C:\\a.txt\r\nC:\\b\r\n");
}

TEST_F(ClipboardMonitorTest, AutomaticStripOfPlainTextChangesNothing) {
  ASSERT_TRUE(PutText(L"plain already"));
  const DWORD before = GetClipboardSequenceNumber();
  StripFormatting(window_, true);
  EXPECT_EQ(GetClipboardSequenceNumber(), before) << "nothing to strip: no change announced";
}

TEST_F(ClipboardMonitorTest, StripFailuresAreReportedOnlyWhenManual) {
  struct Row {
    Language language;
    const char16_t* want;
  } rows[] = {{Language::English, u"Clipboard Data is not Text Format."},
              {Language::Japanese, u"クリップボードの内容が空、あるいは、テキストでもファイルでもありません。"}};
  for (const Row& r : rows) {
    Configure(r.language, true);
    reports.clear();
    ASSERT_TRUE(EmptyTheClipboard());
    StripFormatting(window_, true);
    EXPECT_TRUE(reports.empty());
    StripFormatting(window_, false);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], r.want);
  }
  reports.clear();
  Configure(Language::English, true);
  ClipboardHolder holder;
  StripFormatting(window_, true);
  EXPECT_TRUE(reports.empty());
  StripFormatting(window_, false);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], u"Cannot open the clipboard.");
}

TEST_F(ClipboardMonitorTest, StripRestartsAWatchThatWasOnAndLeavesOneThatWasOff) {
  ASSERT_TRUE(PutHtmlAndText(L"x"));
  StripFormatting(window_, false);
  EXPECT_FALSE(ClipboardWatching());
  StartClipboardWatch(window_);
  ASSERT_TRUE(PutHtmlAndText(L"y"));
  StripFormatting(window_, false);
  EXPECT_TRUE(ClipboardWatching());
  EXPECT_FALSE(StripFormattingRunning());
  EXPECT_EQ(Cache(), u"y") << "the restarted watch read the stripped text";
}

TEST_F(ClipboardMonitorTest, EmptyCommandEmptiesClipboardCacheAndPicture) {
  ASSERT_TRUE(PutBitmap(40, 40, RGB(1, 2, 3)));
  ASSERT_EQ(Read(), u"HBITMAP");
  EmptyClipboardCommand(window_);
  EXPECT_TRUE(ClipboardFormats().empty());
  EXPECT_EQ(Cache(), u"");
  EXPECT_EQ(CurrentClipboardView().picture, nullptr);
  ClipboardHolder holder;
  EmptyClipboardCommand(window_);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], u"Cannot open the clipboard.");
}

TEST_F(ClipboardMonitorTest, AutoClearEmptiesTheClipboardAfterTheLastReadOnly) {
  settings.AUTO_DEL_CLIP = 1;
  settings.AUTO_DEL_CLIPSEC = 1;
  ASSERT_TRUE(PutText(L"short-lived"));
  const DWORD start = GetTickCount();
  ASSERT_EQ(Read(), u"short-lived");
  ASSERT_TRUE(PumpUntil([] { return ClipboardFormats().empty(); }, 5000));
  EXPECT_GE(GetTickCount() - start, 900u);
  EXPECT_EQ(Cache(), u"");
  // An empty clipboard read does not start another round.
  ReadClipboard(window_, false, false);
  EXPECT_FALSE(KillTimer(window_, timer_id::kAutoClearClipboard));
}

TEST_F(ClipboardMonitorTest, AppliedSettingsStartAndStopWatchingAndClearing) {
  settings.CLIPBOARD = 0;
  ApplyClipboardSettings(window_);
  EXPECT_FALSE(ClipboardWatching());
  EXPECT_FALSE(KillTimer(window_, timer_id::kAutoClearClipboard));

  settings.AUTO_DEL_CLIP = 1;
  settings.AUTO_PLAINER = 1;
  ASSERT_TRUE(PutHtmlAndText(L"formatted"));
  ApplyClipboardSettings(window_);
  EXPECT_TRUE(ClipboardWatching()) << "AUTO_DEL_CLIP wants watching";
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"HTML Format"))) << "AUTO_PLAINER strips at once";
  EXPECT_TRUE(KillTimer(window_, timer_id::kAutoClearClipboard)) << "the clearing timer runs";

  settings.AUTO_DEL_CLIP = 0;
  settings.AUTO_PLAINER = 0;
  ApplyClipboardSettings(window_);
  EXPECT_FALSE(ClipboardWatching());
  EXPECT_FALSE(KillTimer(window_, timer_id::kAutoClearClipboard));
}

TEST_F(ClipboardMonitorTest, CacheTextIsCopiedFromAnotherThread) {
  ASSERT_TRUE(PutText(L"shared"));
  Read();
  std::u16string seen;
  std::thread reader([&seen] { seen = CopyClipboardCacheText(); });
  reader.join();
  EXPECT_EQ(seen, u"shared");
}

}  // namespace
