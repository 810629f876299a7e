// The help file in use: kirabi.exe /? opens kirabi.chm from the program's
// folder on the command-line page, in the help viewer.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "kirabi_harness_win.h"

namespace {

const std::wstring kKirabi = WinePath(KIRABI_EXE);
// The build puts the help file beside the program.
const std::wstring kHelpFile = kKirabi.substr(0, kKirabi.rfind(L'\\') + 1) + L"kirabi.chm";

// Runs kirabi.exe /? (a copy beside a copy of the help file) from `start_in`,
// or from the program's own folder when it is empty, and expects the viewer.
void ExpectSwitchOpensHelp(const std::wstring& start_in) {
  TempFolder folder;
  // The INI store (a name ending in _o.exe) keeps the test out of the registry.
  const std::wstring exe = folder.File(L"kirabi_o.exe");
  ASSERT_TRUE(CopyFileW(kKirabi.c_str(), exe.c_str(), FALSE)) << GetLastError();
  ASSERT_TRUE(CopyFileW(kHelpFile.c_str(), folder.File(L"kirabi.chm").c_str(), FALSE)) << GetLastError();

  EXPECT_EQ(RunToEnd(exe, L"/?", start_in.empty() ? folder.path() : start_in, 30000), 0);
  // Generous: the viewer is a second Wine program started on a loaded machine.
  HWND viewer = WaitForWindow(L"HH Parent", L"Kirabi Help", 60000);
  ASSERT_NE(viewer, nullptr) << "the help viewer did not open kirabi.chm";
  PostMessageW(viewer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntilGone(L"HH Parent", 20000));
  // The switch runs nothing else: no instance stays behind.
  EXPECT_EQ(FindWindowW(L"kirabi", nullptr), nullptr);
}

TEST(HelpEndToEnd, QuestionMarkSwitchOpensTheHelpFileBesideTheProgram) { ExpectSwitchOpensHelp(L""); }

// A shortcut may start the program in another folder: the help file is still
// the one beside the program.
TEST(HelpEndToEnd, QuestionMarkSwitchFindsTheHelpFileFromAnotherFolder) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  ExpectSwitchOpensHelp(windows);
}

}  // namespace
