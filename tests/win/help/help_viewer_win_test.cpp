// hh.exe opens the compiled help file on a topic the program names: a window
// of the viewer's class appears, titled with the help file's title. (Wine
// cannot render the pages themselves; their content is checked natively.)

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "ui/help_topics.h"

namespace {

std::wstring WinePath(const char* unix_path) {
  std::wstring out = L"Z:";
  for (const char* p = unix_path; *p; ++p) out += *p == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*p));
  return out;
}

// The topic with the file name replaced by the full path of the built file.
std::wstring TopicInBuiltFile(std::u16string_view topic) {
  constexpr std::u16string_view kFile = u"kirabi.chm";
  std::wstring path = WinePath(KIRABI_HELP_FILE);
  for (char16_t c : topic.substr(kFile.size())) path += static_cast<wchar_t>(c);
  return path;
}

struct FindViewer {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindViewerWindow(HWND window, LPARAM param) {
  auto& find = *reinterpret_cast<FindViewer*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (owner == find.process_id && std::wstring(class_name) == L"HH Parent") {
    find.found = window;
    return FALSE;
  }
  return TRUE;
}

// Polls for the viewer's window; generous, since a loaded machine starts Wine programs slowly.
HWND WaitForViewer(DWORD process_id) {
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while (GetTickCount64() < deadline) {
    FindViewer find{process_id, nullptr};
    EnumWindows(FindViewerWindow, reinterpret_cast<LPARAM>(&find));
    if (find.found != nullptr) return find.found;
    Sleep(100);
  }
  return nullptr;
}

struct NamedTopic {
  const char* name;
  std::u16string_view topic;
};

void PrintTo(const NamedTopic& topic, std::ostream* out) { *out << topic.name; }

class HelpViewer : public ::testing::TestWithParam<NamedTopic> {
 protected:
  void TearDown() override {
    if (process_.hProcess == nullptr) return;
    if (viewer_ != nullptr) PostMessageW(viewer_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool Open(const std::wstring& topic) {
    std::wstring command = L"hh.exe \"" + topic + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process_) != 0;
  }

  PROCESS_INFORMATION process_{};
  HWND viewer_ = nullptr;
};

TEST_P(HelpViewer, OpensTheBuiltFileOnTheTopic) {
  const std::wstring topic = TopicInBuiltFile(GetParam().topic);
  ASSERT_NE(GetFileAttributesW(WinePath(KIRABI_HELP_FILE).c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(Open(topic)) << "hh.exe did not start, error " << GetLastError();
  viewer_ = WaitForViewer(process_.dwProcessId);
  ASSERT_NE(viewer_, nullptr) << "no \"HH Parent\" window";
  wchar_t title[256] = {};
  GetWindowTextW(viewer_, title, 256);
  EXPECT_NE(std::wstring(title).find(L"Kirabi Help"), std::wstring::npos);
}

// The file alone (tray menu "Help"), a settings page with an anchor, and the
// command-line page that /? opens.
INSTANTIATE_TEST_SUITE_P(Topics, HelpViewer,
                         ::testing::Values(NamedTopic{"File", kTopicFile}, NamedTopic{"Memo", kTopicMemo},
                                           NamedTopic{"CommandLine", kTopicCommandLine},
                                           NamedTopic{"Administrator", kTopicAdminRun}),
                         [](const ::testing::TestParamInfo<NamedTopic>& info) { return info.param.name; });

}  // namespace
