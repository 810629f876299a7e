// The clipboard line and the clipboard commands of the real program under
// Wine: kirabi.exe with an INI file, content put on the clipboard by our own
// clipboard program (kirabi_cliptool) or by the test itself, and the panel
// read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "clipboard_put_win.h"
#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
const std::wstring kClipTool = WinePath(KIRABI_CLIPTOOL_EXE);

constexpr COLORREF kClockColor = RGB(255, 0, 0);
constexpr COLORREF kTextColor = RGB(0, 0, 255);
constexpr COLORREF kFilesColor = RGB(128, 0, 128);
constexpr POINT kCursor{200, 200};
constexpr int kLeft = 30;
constexpr int kTop = 40;
constexpr DWORD kCycle = 1400;  // a display cycle after a change, with room
constexpr DWORD kDeadline = 10000;

// The panel's whole possible area: DEF_MAX_WND_WIDTH x DEF_MAX_WND_HEIGHT at most.
RECT PanelArea() { return {kCursor.x + kLeft, kCursor.y + kTop, kCursor.x + kLeft + 520, kCursor.y + kTop + 600}; }

bool WaitFor(const std::function<bool()>& done, DWORD ms = kDeadline) {
  const DWORD start = GetTickCount();
  do {
    if (done()) return true;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return done();
}

// Polls without opening the clipboard: an open clipboard would make the
// program's own commands fail while the test looks.
bool HasFormat(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }
bool ClipboardEmpty() { return CountClipboardFormats() == 0; }

// The texts of a message box that is showing, to say why a command did nothing.
std::wstring MessageBoxText() {
  std::wstring text;
  HWND box = FindWindowW(L"#32770", nullptr);
  for (HWND child = box ? GetWindow(box, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t piece[512] = L"";
    GetWindowTextW(child, piece, 512);
    text += piece;
    text += L" | ";
  }
  return text;
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// Waits until the clipboard has not changed for `quiet` ms; false when it
// keeps changing until the deadline (a strip run that triggers itself).
bool WaitForQuietClipboard(DWORD quiet, DWORD ms = kDeadline) {
  const DWORD start = GetTickCount();
  DWORD seen = GetClipboardSequenceNumber(), since = GetTickCount();
  while (GetTickCount() - start < ms) {
    Sleep(50);
    const DWORD now = GetClipboardSequenceNumber();
    if (now != seen) {
      seen = now;
      since = GetTickCount();
    } else if (GetTickCount() - since >= quiet) {
      return true;
    }
  }
  return false;
}

class ClipboardEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"QZ_LANG", L"EN");
    SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", nullptr);
    ASSERT_TRUE(WaitUntilGone(L"kirabi", 5000)) << "an instance of an earlier test still runs";
    ASSERT_TRUE(EmptyTheClipboard());
  }

  void TearDown() override {
    if (main_.Running()) {
      RunToEnd(exe_, L"/X", folder_.path(), 5000);
      if (main_.WaitExit(5000) == -1) main_.Kill();
    }
    WaitUntilGone(L"kirabi", 3000);
    SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", nullptr);
  }

  // The clock shows only its seconds, so the clipboard line sets the width.
  void StartMain(const std::vector<std::wstring>& extra = {}) {
    std::vector<std::wstring> lines = {
        L"TEXTCOLOR_R=255",      L"TEXTCOLOR_G=0",        L"TEXTCOLOR_B=0",        L"FONTSIZE=20",
        L"LEFT=30",              L"TOP=40",               L"NoOpeningDlg=1",       L"FORMAT=ss",
        L"CLIPBOARD=1",          L"CLIPBOARD_COLOR_R=0",  L"CLIPBOARD_COLOR_G=0",  L"CLIPBOARD_COLOR_B=255",
        L"CLIPBOARD_COLOR_F_R=128", L"CLIPBOARD_COLOR_F_G=0", L"CLIPBOARD_COLOR_F_B=128"};
    lines.insert(lines.end(), extra.begin(), extra.end());
    exe_ = folder_.File(L"kirabi_o.exe");
    ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(WriteIniFile(folder_.File(L"kirabi.ini"), lines));
    SetCursorPos(kCursor.x, kCursor.y);
    ASSERT_TRUE(main_.Start(exe_, L"", folder_.path()));
    window_ = WaitForWindow(L"kirabi", nullptr, 10000, main_.id());
    ASSERT_NE(window_, nullptr) << "the text window did not appear";
    SetCursorPos(kCursor.x, kCursor.y);
    Pause(kCycle);
  }

  int Tool(const std::wstring& args) { return RunToEnd(kClipTool, args, folder_.path(), 15000); }
  int Pixels(COLORREF color) { return CountScreenPixels(PanelArea(), color); }
  SIZE PanelSize() {
    RECT r{};
    GetWindowRect(window_, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  // The panel's size once a change has had time to show.
  SIZE SettledSize() {
    Pause(kCycle);
    return PanelSize();
  }

  TempFolder folder_;
  std::wstring exe_;
  Process main_;
  HWND window_ = nullptr;
};

TEST_F(ClipboardEndToEnd, CopiedTextShowsBesideTheCursorInItsColour) {
  StartMain();
  EXPECT_EQ(Pixels(kTextColor), 0) << "an empty clipboard shows nothing";
  ASSERT_EQ(Tool(L"--text \"Hello clipboard\""), 0);
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 40; })) << "no clipboard-coloured pixels";
  EXPECT_GT(Pixels(kClockColor), 10) << "the clock line is still there";
  EXPECT_EQ(Pixels(kFilesColor), 0);
}

// 600 characters take as many lines as 519: the cache holds only 519.
TEST_F(ClipboardEndToEnd, LongTextReachesTheCacheAs519Characters) {
  StartMain();
  ASSERT_EQ(Tool(L"--count 300"), 0);
  const SIZE short_text = SettledSize();
  ASSERT_EQ(Tool(L"--count 600"), 0);
  ASSERT_TRUE(WaitFor([&] { return PanelSize().cy != short_text.cy; }));
  const SIZE long_text = SettledSize();
  ASSERT_EQ(Tool(L"--count 519"), 0);
  const SIZE cut_text = SettledSize();
  EXPECT_GT(long_text.cy, short_text.cy);
  EXPECT_EQ(long_text.cy, cut_text.cy) << "600 characters drew more than the first 519";
}

TEST_F(ClipboardEndToEnd, CbtextMaxCutsWhatIsDrawn) {
  StartMain({L"CBTEXT_MAX=5"});
  ASSERT_EQ(Tool(L"--text abcd"), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 10; }));
  const SIZE four = SettledSize();
  ASSERT_EQ(Tool(L"--count 600"), 0);
  const SIZE cut = SettledSize();
  EXPECT_EQ(cut.cy, four.cy) << "more than one line drawn";
  EXPECT_LE(cut.cx, four.cx + 20);
}

TEST_F(ClipboardEndToEnd, ThreeCopiedFilesShowInTheFileColour) {
  StartMain();
  ASSERT_EQ(Tool(L"--files C:\\one.txt"), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kFilesColor) > 20; }));
  const SIZE one = SettledSize();
  ASSERT_EQ(Tool(L"--files C:\\one.txt C:\\two.txt C:\\three.txt"), 0);
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cy > one.cy; })) << "three paths take more lines than one";
  EXPECT_GT(Pixels(kFilesColor), 60);
  EXPECT_EQ(Pixels(kTextColor), 0) << "files are not drawn in the text colour";
}

TEST_F(ClipboardEndToEnd, CopiedPictureIsDrawnAndALargeOneScaled) {
  constexpr COLORREF kPicture = RGB(0x10, 0xC8, 0x64);
  StartMain();
  ASSERT_EQ(Tool(L"--bitmap 100 50 10C864"), 0);
  EXPECT_TRUE(WaitFor([&] { return Pixels(kPicture) == 100 * 50; })) << Pixels(kPicture);
  ASSERT_EQ(Tool(L"--bitmap 640 200 10C864"), 0);
  // Scaled to 320 x 100 (DEF_MAX_CLIPIMAGESIZE 320).
  EXPECT_TRUE(WaitFor([&] { return Pixels(kPicture) > 100 * 50 + 1000; }));
  const int scaled = Pixels(kPicture);
  EXPECT_GE(scaled, 31000);
  EXPECT_LE(scaled, 320 * 100);
  EXPECT_GE(PanelSize().cx, 320);
  EXPECT_LT(PanelSize().cx, 330);
}

// The strip run counts the clipboard's changes: the put, then one strip.
TEST_F(ClipboardEndToEnd, AutoPlainerLeavesOnlyTextOnceWithoutALoop) {
  const UINT html = RegisterClipboardFormatW(L"HTML Format");
  // What one put of HTML and text costs in changes, with nobody watching.
  DWORD before = GetClipboardSequenceNumber();
  ASSERT_EQ(Tool(L"--html \"bold words\""), 0);
  const DWORD put_changes = GetClipboardSequenceNumber() - before;
  ASSERT_GT(put_changes, 0u);

  StartMain({L"AUTO_PLAINER=1"});
  before = GetClipboardSequenceNumber();
  ASSERT_EQ(Tool(L"--html \"bold words\""), 0);
  EXPECT_TRUE(WaitFor([&] { return !HasFormat(html); })) << "the HTML format stayed";
  ASSERT_TRUE(WaitForQuietClipboard(1500)) << "the clipboard keeps changing: a strip loop";
  const DWORD settled = GetClipboardSequenceNumber();
  Pause(3000);
  EXPECT_EQ(GetClipboardSequenceNumber(), settled) << "the clipboard keeps changing: a strip loop";
  EXPECT_LE(settled - before, 2 * put_changes) << "more than one strip run";
  EXPECT_TRUE(HasFormat(CF_UNICODETEXT));
  for (UINT f : ClipboardFormats()) {
    EXPECT_TRUE(f == CF_UNICODETEXT || f == CF_TEXT || f == CF_OEMTEXT || f == CF_LOCALE) << f;
  }
}

// The viewer chain announces the program's own change again when it
// re-joins; with a delayed read that must not start another strip.
TEST_F(ClipboardEndToEnd, AutoPlainerWithDelayOnTheViewerChainDoesNotLoop) {
  SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", L"1");
  StartMain({L"AUTO_PLAINER=1", L"CBDELAY=1"});
  ASSERT_EQ(Tool(L"--html \"bold words\""), 0);
  EXPECT_TRUE(WaitFor([&] { return !HasFormat(RegisterClipboardFormatW(L"HTML Format")); }));
  ASSERT_TRUE(WaitForQuietClipboard(1500)) << "the clipboard keeps changing: a strip loop";
  const DWORD settled = GetClipboardSequenceNumber();
  Pause(3000);
  EXPECT_EQ(GetClipboardSequenceNumber(), settled) << "the clipboard keeps changing: a strip loop";
}

TEST_F(ClipboardEndToEnd, EmptyClipboardCommandEmptiesItAndTheLineGoes) {
  StartMain();
  ASSERT_EQ(Tool(L"--text \"to be emptied\""), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 40; }));
  PostMessageW(window_, WM_COMMAND, 32774, 0);
  EXPECT_TRUE(WaitFor(ClipboardEmpty)) << "the clipboard was not emptied";
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) == 0; })) << "the clipboard line stayed";
}

TEST_F(ClipboardEndToEnd, ManualStripTurnsFilesIntoText) {
  StartMain();
  ASSERT_EQ(Tool(L"--files C:\\a.txt C:\\b.txt"), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kFilesColor) > 20; }));
  PostMessageW(window_, WM_COMMAND, 32775, 0);
  EXPECT_TRUE(WaitFor([&] { return !HasFormat(CF_HDROP) && HasFormat(CF_UNICODETEXT); }))
      << Narrow(MessageBoxText());
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 40 && Pixels(kFilesColor) == 0; }))
      << "the paths are now text, drawn in the text colour";
}

// Timed from the test's own copies: a helper program's exit could come late
// on a loaded machine.
TEST_F(ClipboardEndToEnd, AutoClearEmptiesTheClipboardSecondsAfterTheLastCopy) {
  StartMain({L"AUTO_DEL_CLIP=1", L"AUTO_DEL_CLIPSEC=2"});
  ASSERT_TRUE(PutText(L"first"));
  Pause(1000);
  ASSERT_TRUE(HasFormat(CF_UNICODETEXT)) << "emptied before its 2 seconds";
  const DWORD copied = GetTickCount();
  ASSERT_TRUE(PutText(L"second"));
  Pause(1000);
  EXPECT_TRUE(HasFormat(CF_UNICODETEXT)) << "the second copy did not restart the 2 seconds";
  EXPECT_TRUE(WaitFor(ClipboardEmpty)) << "never emptied";
  EXPECT_GE(GetTickCount() - copied, 1800u);
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) == 0; }));
}

TEST_F(ClipboardEndToEnd, DelayedReadShowsThePlaceholderFirst) {
  StartMain({L"CBDELAY=5"});
  ASSERT_EQ(Tool(L"--text x"), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 5; }));
  const SIZE text = SettledSize();
  ASSERT_TRUE(PutText(L"y"));
  // "<Clipboard Changed>" is far wider than one letter.
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx > text.cx + 60; }, 3000)) << "no placeholder";
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx <= text.cx + 5; })) << "the text never followed";
}

TEST_F(ClipboardEndToEnd, ViewerChainShowsChangesAndHandsThemOn) {
  SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", L"1");
  // A viewer that joins first is the program's next viewer.
  Process viewer;
  ASSERT_TRUE(viewer.Start(kClipTool, L"--viewer 60000", folder_.path()));
  Pause(1000);
  StartMain();
  ASSERT_TRUE(PutText(L"one"));
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 5; }));
  const SIZE one = SettledSize();
  ASSERT_TRUE(PutText(L"two"));
  Pause(300);
  ASSERT_TRUE(PutText(L"three"));
  Pause(300);
  ASSERT_TRUE(PutText(L"leave"));
  const int changes = viewer.WaitExit(15000);
  EXPECT_GE(changes, 4) << "the changes were not handed on along the chain";
  // The viewer has left the chain; the program goes on seeing changes.
  ASSERT_TRUE(PutText(L"a much longer text after the viewer left"));
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx > one.cx + 100; }));
  EXPECT_TRUE(main_.Running());
}

TEST_F(ClipboardEndToEnd, ViewerChainSurvivesASecondViewerThatJoinsAndLeaves) {
  SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", L"1");
  StartMain();
  Process viewer;
  ASSERT_TRUE(viewer.Start(kClipTool, L"--viewer 60000", folder_.path()));
  Pause(1000);
  ASSERT_TRUE(PutText(L"while the viewer is first"));
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 40; })) << "the viewer did not hand the change on";
  const SIZE first = SettledSize();
  ASSERT_TRUE(PutText(L"leave"));
  EXPECT_GE(viewer.WaitExit(15000), 2);
  ASSERT_TRUE(WaitFor([&] { return PanelSize().cx < first.cx - 50; }));
  const SIZE left = SettledSize();
  ASSERT_TRUE(PutText(L"a wider text once the viewer has left the chain"));
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx > left.cx + 100; })) << "changes no longer reach the program";
}

TEST_F(ClipboardEndToEnd, BrokenViewerChainIsJoinedAgain) {
  SetEnvironmentVariableW(L"KIRABI_CLIPBOARD_VIEWER_CHAIN", L"1");
  StartMain();
  ASSERT_TRUE(PutText(L"x"));
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 5; }));
  const SIZE narrow = SettledSize();
  Process swallower;
  ASSERT_TRUE(swallower.Start(kClipTool, L"--swallow 60000", folder_.path()));
  Pause(1000);

  ASSERT_TRUE(PutText(L"a text the broken chain does not announce"));
  Pause(kCycle);
  ASSERT_LE(PanelSize().cx, narrow.cx + 5) << "the chain was not broken";
  SendMessageW(window_, 0x8000, 151544, WM_LBUTTONUP);  // left click on the icon
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx > narrow.cx + 100; })) << "the click did not join again";

  // The program is first in the chain again; a new swallower breaks it anew
  // and only the chain check can notice.
  Process second;
  ASSERT_TRUE(second.Start(kClipTool, L"--swallow 60000", folder_.path()));
  Pause(1000);
  ASSERT_TRUE(PutText(L"y"));
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx <= narrow.cx + 5; }, 15000)) << "the chain check did not join again";
  second.Kill();
  swallower.Kill();
}

TEST_F(ClipboardEndToEnd, HeldClipboardIsReadOnceItIsFree) {
  StartMain();
  ASSERT_EQ(Tool(L"--text x"), 0);
  ASSERT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 5; }));
  const SIZE text = SettledSize();
  Process holder;
  ASSERT_TRUE(holder.Start(kClipTool, L"--hold 2500", folder_.path()));
  ASSERT_TRUE(WaitFor([] {
    if (!OpenClipboard(nullptr)) return true;
    CloseClipboard();
    return false;
  }, 5000)) << "the holder did not open the clipboard";
  PostMessageW(window_, 0x8002, 0, 0);  // read now, while it is held
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx > text.cx + 60; }, 2000)) << "no placeholder while retrying";
  EXPECT_EQ(holder.WaitExit(10000), 0);
  EXPECT_TRUE(WaitFor([&] { return PanelSize().cx <= text.cx + 5; })) << "the text was not read after the hold";
  EXPECT_TRUE(main_.Running());
}

TEST_F(ClipboardEndToEnd, BrokenClipboardContentIsReadSafely) {
  StartMain();
  ASSERT_EQ(Tool(L"--empty-files"), 0);
  Pause(kCycle);
  EXPECT_EQ(Pixels(kFilesColor), 0);
  EXPECT_EQ(Tool(L"--zero-bitmap"), 0);
  Pause(kCycle);
  ASSERT_EQ(Tool(L"--unterminated abcdefgh"), 0);
  EXPECT_TRUE(WaitFor([&] { return Pixels(kTextColor) > 20; }));
  EXPECT_TRUE(main_.Running()) << "the program ended";
  EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
