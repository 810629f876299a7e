#include "clipboard/clipboard_commands_win.h"

#include <shellapi.h>

#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/commands.h"
#include "clipboard/clipboard_monitor_win.h"
#include "clipboard/clipboard_rules.h"
#include "clipboard/clipboard_texts.h"
#include "common/utf.h"
#include "settings/settings.h"

namespace {

bool strip_busy = false;

void Report(HWND window, const TextPair& text) {
  const ClipboardMonitorConfig& config = ClipboardConfig();
  if (config.report) config.report(window, text.In(config.language));
}

// A failure of a strip step: the clipboard is closed before the message
// box, so other programs are not kept waiting while it shows.
struct StripFailure {
  const TextPair* text = nullptr;
};

std::vector<uint32_t> FormatsOnClipboard() {
  std::vector<uint32_t> formats;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  return formats;
}

// Empties the open clipboard and puts `text` on it as the only format.
StripFailure PutOnlyText(const std::u16string& text) {
  if (!EmptyClipboard()) return {&clipboard_text::kNotEmptied};
  const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return {&clipboard_text::kAllocFailed};
  void* locked = GlobalLock(memory);
  if (!locked) {
    GlobalFree(memory);
    return {&clipboard_text::kNewLockFailed};
  }
  std::memcpy(locked, text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);  // still ours: the clipboard did not take it
    return {&clipboard_text::kSetFailed};
  }
  return {};
}

StripFailure StripText() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return {&clipboard_text::kNoData};
  const void* locked = GlobalLock(data);
  if (!locked) return {&clipboard_text::kLockFailed};
  std::u16string copy;
  try {
    copy = BoundedClipboardText(static_cast<const char16_t*>(locked), GlobalSize(data) / sizeof(char16_t));
  } catch (const std::bad_alloc&) {
    GlobalUnlock(data);
    return {&clipboard_text::kCopyFailed};
  }
  GlobalUnlock(data);
  return PutOnlyText(copy);
}

StripFailure FilesToText() {
  HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!drop) return {&clipboard_text::kNoData};
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::u16string> paths;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(copied);
    paths.emplace_back(path.begin(), path.end());
  }
  return PutOnlyText(FilesAsText(paths.data(), paths.size()));
}

// The strip run on the opened clipboard; closes it.
StripFailure StripOpenClipboard(bool automatic) {
  StripFailure failure;
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    // An automatic run leaves a clipboard that holds plain text only: it has
    // nothing to strip, and rewriting it would announce a change that the
    // next read would strip again.
    const std::vector<uint32_t> formats = automatic ? FormatsOnClipboard() : std::vector<uint32_t>{};
    if (!automatic || HasFormattingToStrip(formats.data(), formats.size())) failure = StripText();
  } else if (!automatic) {
    failure = IsClipboardFormatAvailable(CF_HDROP) ? FilesToText() : StripFailure{&clipboard_text::kNotTextOrFiles};
  }
  CloseClipboard();
  return failure;
}

void StripRun(HWND window, bool automatic) {
  if (!OpenClipboard(window)) {
    if (!automatic) Report(window, clipboard_text::kNotOpened);
    return;
  }
  const StripFailure failure = StripOpenClipboard(automatic);
  if (failure.text) Report(window, *failure.text);
}

void ReportUnexpected(HWND window, const char* what) {
  const ClipboardMonitorConfig& config = ClipboardConfig();
  if (!config.report) return;
  if (what == nullptr) {
    config.report(window, clipboard_text::kUnexpected.In(config.language));
  } else {
    config.report(window, Utf8ToUtf16(what));
  }
}

}  // namespace

bool StripFormattingRunning() { return strip_busy; }

void StripFormatting(HWND window, bool automatic) {
  if (strip_busy) return;
  strip_busy = true;
  // The program's own change is not to be reported back to it; a watch that
  // was off stays off.
  const bool was_watching = ClipboardWatching();
  if (was_watching) StopClipboardWatch(window);
  try {
    StripRun(window, automatic);
  } catch (const std::exception& e) {
    CloseClipboard();
    ReportUnexpected(window, e.what());
  } catch (...) {
    CloseClipboard();
    ReportUnexpected(window, nullptr);
  }
  if (was_watching) StartClipboardWatch(window);
  strip_busy = false;
}

void EmptyClipboardCommand(HWND window) {
  if (!OpenClipboard(window)) {
    Report(window, clipboard_text::kNotOpened);
    return;
  }
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  if (emptied) {
    ClearClipboardCache();
  } else {
    Report(window, clipboard_text::kNotEmptied);
  }
}

void StartAutoClearTimer(HWND window) {
  SetTimer(window, timer_id::kAutoClearClipboard, AutoClearPeriodMs(ClipboardConfig().settings->AUTO_DEL_CLIPSEC),
           nullptr);
}

void StopAutoClearTimer(HWND window) { KillTimer(window, timer_id::kAutoClearClipboard); }

void OnAutoClearTimer(HWND window) {
  // Failures stay silent: the timer simply fires again after its period.
  if (!OpenClipboard(window)) return;
  if (EmptyClipboard()) {
    StopAutoClearTimer(window);
    ClearClipboardCache();
  }
  CloseClipboard();
}
