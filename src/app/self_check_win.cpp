#include "app/self_check_win.h"

#include <imagehlp.h>

#include "app/app_texts.h"
#include "ui/message_box_win.h"

SelfCheck CheckExecutableFile(const wchar_t* path) {
  DWORD header_sum = 0;
  DWORD computed = 0;
  if (MapFileAndCheckSumW(path, &header_sum, &computed) != CHECKSUM_SUCCESS) return SelfCheck::kUnreadable;
  // A header sum of 0 means the build never wrote one: that is a mismatch too.
  return header_sum != 0 && header_sum == computed ? SelfCheck::kMatches : SelfCheck::kMismatch;
}

void RunSelfCheck(HWND owner, const wchar_t* executable_path) {
  if (CheckExecutableFile(executable_path) != SelfCheck::kMatches) {
    ShowMessage(owner, app_text::kSelfCheckFailed.In(AppLanguage()), app_text::kProductName.In(AppLanguage()),
                MB_OK | MB_ICONWARNING);
  }
}
