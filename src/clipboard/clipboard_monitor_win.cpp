#include "clipboard/clipboard_monitor_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>

#include "app/commands.h"
#include "clipboard/clipboard_commands_win.h"
#include "clipboard/clipboard_rules.h"
#include "display/dpi_scale.h"
#include "display/monitor_dpi_win.h"
#include "settings/settings.h"

namespace {

// The monitor's state belongs to the main window's thread; only the cache
// text is shared (with the script thread), under the clipboard lock.
struct MonitorState {
  ClipboardMonitorConfig config;
  bool use_listener = false;
  bool watching = false;
  HWND next_viewer = nullptr;
  bool read_pending = false;  // the delayed-read timer runs
  bool rechecking = false;    // a listener re-check is reading
  TextBuffer cache;
  bool files = false;
  HBITMAP picture_bitmap = nullptr;
  Picture picture;
};

MonitorState& State() {
  static MonitorState state;
  return state;
}

const Settings& CurrentSettings() { return *State().config.settings; }

class CacheLock {
 public:
  CacheLock() : lock_(State().config.lock) {
    if (lock_) EnterCriticalSection(lock_);
  }
  ~CacheLock() {
    if (lock_) LeaveCriticalSection(lock_);
  }
  CacheLock(const CacheLock&) = delete;
  CacheLock& operator=(const CacheLock&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

void SetCacheText(std::u16string_view text) {
  {
    CacheLock lock;
    State().cache.assign(text);
  }
  if (State().config.cache_changed) State().config.cache_changed();
}

void ReleasePicture() {
  MonitorState& s = State();
  if (s.picture_bitmap) DeleteObject(s.picture_bitmap);
  s.picture_bitmap = nullptr;
  s.picture = {};
}

// --- reading the open clipboard ---

bool ReadTextInto(TextBuffer& out) {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return false;
  const void* locked = GlobalLock(data);
  if (!locked) return false;
  const std::u16string_view text =
      BoundedClipboardText(static_cast<const char16_t*>(locked), GlobalSize(data) / sizeof(char16_t));
  out.assign(text.substr(0, kClipboardCacheMax));
  GlobalUnlock(data);
  return true;
}

// A file list is handed to the shell's reader only when its path list ends
// inside the memory block: another program may have put anything there.
bool FileDropListIsSound(HANDLE data) {
  const SIZE_T size = GlobalSize(data);
  const auto* block = static_cast<const unsigned char*>(GlobalLock(data));
  if (!block) return false;
  bool sound = false;
  if (size >= sizeof(DROPFILES)) {
    const auto* header = reinterpret_cast<const DROPFILES*>(block);
    const SIZE_T unit = header->fWide ? 2 : 1;
    SIZE_T at = header->pFiles;
    bool previous_zero = false;
    // The list ends with an empty name: two terminators in a row (or one
    // right at the start, for a list without names).
    for (bool first = true; at >= sizeof(DROPFILES) && at + unit <= size; at += unit, first = false) {
      const bool zero = unit == 2 ? (block[at] == 0 && block[at + 1] == 0) : block[at] == 0;
      if (zero && (previous_zero || first)) {
        sound = true;
        break;
      }
      previous_zero = zero;
    }
  }
  GlobalUnlock(data);
  return sound;
}

void ReadFilesInto(TextBuffer& out) {
  out.clear();
  HANDLE data = GetClipboardData(CF_HDROP);
  if (!data || !FileDropListIsSound(data)) return;
  HDROP drop = static_cast<HDROP>(data);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  FileListComposer composer(out);
  for (UINT i = 0; i < count; ++i) {
    wchar_t path[TextBuffer::kCapacity] = L"";
    const UINT length = DragQueryFileW(drop, i, path, UINT(TextBuffer::kCapacity));
    const std::u16string_view view(reinterpret_cast<const char16_t*>(path), length < TextBuffer::kCapacity ? length : 0);
    if (!composer.Add(view, i + 1 == count)) break;
  }
}

bool BitmapSize(HBITMAP bitmap, int32_t& width, int32_t& height) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof info, &info) == 0) return false;
  width = info.bmWidth;
  height = info.bmHeight;
  return true;
}

HBITMAP CopyBitmap(HBITMAP source, int32_t width, int32_t height, const PicturePlan& plan) {
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP copy = CreateCompatibleBitmap(screen, plan.width, plan.height);
  if (from && to && copy) {
    HGDIOBJ old_from = SelectObject(from, source);
    HGDIOBJ old_to = SelectObject(to, copy);
    if (plan.scaled) {
      SetStretchBltMode(to, HALFTONE);
      SetBrushOrgEx(to, 0, 0, nullptr);
      StretchBlt(to, 0, 0, plan.width, plan.height, from, 0, 0, width, height, SRCCOPY);
    } else {
      BitBlt(to, 0, 0, plan.width, plan.height, from, 0, 0, SRCCOPY);
    }
    SelectObject(to, old_to);
    SelectObject(from, old_from);
  }
  if (to) DeleteDC(to);
  if (from) DeleteDC(from);
  ReleaseDC(nullptr, screen);
  return copy;
}

// DEF_MAX_CLIPIMAGESIZE is in pixels at 96 DPI; the panel draws at the DPI of
// the cursor's monitor.
int32_t PictureLimit() {
  POINT cursor{};
  GetCursorPos(&cursor);
  return ScalePanelMetrics(CurrentSettings(), DpiAtPoint(cursor)).clip_image_size;
}

// The picture rule: a copy, reduced when a side exceeds the limit.
void TakePicture() {
  MonitorState& s = State();
  HBITMAP source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  int32_t width = 0, height = 0;
  if (!BitmapSize(source, width, height)) return;
  const PicturePlan plan = PlanClipboardPicture(width, height, PictureLimit());
  if (!plan.usable) return;
  s.picture_bitmap = CopyBitmap(source, width, height, plan);
  if (!s.picture_bitmap) return;
  s.picture = Picture{s.picture_bitmap, plan.width, plan.height};
  if (plan.names_bitmap) SetCacheText(kBitmapCacheText);
}

std::u16string_view BitmapCacheText() {
  int32_t width = 0, height = 0;
  if (!BitmapSize(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), width, height)) return {};
  return PlanClipboardPicture(width, height, PictureLimit()).names_bitmap
             ? kBitmapCacheText
             : std::u16string_view{};
}

ClipboardFormatsPresent FormatsPresent() {
  return {IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE, IsClipboardFormatAvailable(CF_HDROP) != FALSE,
          IsClipboardFormatAvailable(CF_BITMAP) != FALSE};
}

// --- the read path's branches; each returns false when the clipboard could not be opened ---

// Text and file lists both end as cache text; only text may need stripping
// or, when empty, a second look.
bool ReadTextOrFilesBranch(HWND window, bool files, bool& found) {
  MonitorState& s = State();
  if (!OpenClipboard(window)) return false;
  TextBuffer read;
  if (files) {
    ReadFilesInto(read);
  } else {
    ReadTextInto(read);
  }
  SetCacheText(read.view());
  s.files = files;
  ReleasePicture();
  CloseClipboard();
  found = !read.empty();
  if (files) return true;
  if (found && CurrentSettings().AUTO_PLAINER) StripFormatting(window, true);
  if (!found && s.use_listener && !s.rechecking) SetTimer(window, timer_id::kClipboardRecheck, 1000, nullptr);
  return true;
}

bool ReadBitmapBranch(HWND window, bool& found) {
  MonitorState& s = State();
  if (!OpenClipboard(window)) return false;
  ReleasePicture();
  TakePicture();
  s.files = false;
  CloseClipboard();
  found = s.picture_bitmap != nullptr;
  return true;
}

void PassOnDrawClipboard(HWND window) {
  MonitorState& s = State();
  if (s.next_viewer && s.next_viewer != window) {
    // A hung viewer further down must not stall this program's display.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(s.next_viewer, WM_DRAWCLIPBOARD, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  }
  SetTimer(window, timer_id::kClipboardRecheck, 10000, nullptr);
}

bool ForcedViewerChain() {
  const char* forced = std::getenv("KIRABI_CLIPBOARD_VIEWER_CHAIN");
  return forced != nullptr && forced[0] == '1';
}

// What the read path would put into the cache now, without touching it.
bool ComposeCacheText(HWND window, TextBuffer& out) {
  if (!OpenClipboard(window)) return false;
  switch (ChooseClipboardContent(FormatsPresent())) {
    case ClipboardContent::kText: ReadTextInto(out); break;
    case ClipboardContent::kFiles: ReadFilesInto(out); break;
    case ClipboardContent::kBitmap: out.assign(BitmapCacheText()); break;
    case ClipboardContent::kNothing: out.clear(); break;
  }
  CloseClipboard();
  return true;
}

}  // namespace

void ConfigureClipboardMonitor(const ClipboardMonitorConfig& config) {
  MonitorState& s = State();
  s.config = config;
  s.use_listener = config.add_listener != nullptr && config.remove_listener != nullptr && !ForcedViewerChain();
}

const ClipboardMonitorConfig& ClipboardConfig() { return State().config; }

bool UsesFormatListener() { return State().use_listener; }

bool ClipboardWatching() { return State().watching; }

void StartClipboardWatch(HWND window) {
  MonitorState& s = State();
  if (s.watching) return;
  s.watching = true;
  if (s.use_listener) {
    s.config.add_listener(window);
  } else {
    // Joining the chain sends WM_DRAWCLIPBOARD at once; the next viewer must
    // be known before that is handed on.
    s.next_viewer = nullptr;
    HWND next = SetClipboardViewer(window);
    s.next_viewer = next == window ? nullptr : next;
    SetTimer(window, timer_id::kClipboardRecheck, 10000, nullptr);
  }
  SendMessageW(window, kRereadClipboardMessage, 0, 0);
}

void StopClipboardWatch(HWND window) {
  MonitorState& s = State();
  if (!s.watching) return;
  s.watching = false;
  if (s.use_listener) {
    s.config.remove_listener(window);
  } else {
    ChangeClipboardChain(window, s.next_viewer);
    s.next_viewer = nullptr;
    KillTimer(window, timer_id::kClipboardRecheck);
  }
}

void OnClipboardWindowCreated(HWND window) {
  const Settings& settings = CurrentSettings();
  if (ClipboardWatchWanted(settings)) StartClipboardWatch(window);
  if (settings.AUTO_DEL_CLIP) StartAutoClearTimer(window);
}

void OnClipboardWindowDestroyed(HWND window) {
  StopAutoClearTimer(window);
  KillTimer(window, timer_id::kDelayedClipboardRead);
  State().read_pending = false;
  StopClipboardWatch(window);
  ReleasePicture();
}

void ApplyClipboardSettings(HWND window) {
  const Settings& settings = CurrentSettings();
  const bool wanted = ClipboardWatchWanted(settings);
  if (wanted && !State().watching) StartClipboardWatch(window);
  if (!wanted && State().watching) StopClipboardWatch(window);
  if (settings.AUTO_PLAINER) StripFormatting(window, true);
  if (settings.AUTO_DEL_CLIP) {
    StartAutoClearTimer(window);
  } else {
    StopAutoClearTimer(window);
  }
}

LRESULT ReadClipboard(HWND window, bool delay_requested, bool draw_clipboard) {
  MonitorState& s = State();
  const Settings& settings = CurrentSettings();
  SetCacheText({});
  ReadResult result;
  result.delay_requested = delay_requested;
  if (!delay_requested && ClipboardWatchWanted(settings)) {
    bool opened = true;
    switch (ChooseClipboardContent(FormatsPresent())) {
      case ClipboardContent::kText: opened = ReadTextOrFilesBranch(window, false, result.found_content); break;
      case ClipboardContent::kFiles: opened = ReadTextOrFilesBranch(window, true, result.found_content); break;
      case ClipboardContent::kBitmap: opened = ReadBitmapBranch(window, result.found_content); break;
      case ClipboardContent::kNothing:
        ReleasePicture();
        s.files = false;
        break;
    }
    result.retry = !opened;
  }
  if (draw_clipboard) PassOnDrawClipboard(window);
  const ReadFollowUp follow = DecideReadFollowUp(result, settings);
  if (follow.start_delayed_read) {
    SetTimer(window, timer_id::kDelayedClipboardRead, follow.delay_ms, nullptr);
    s.read_pending = true;
    SetCacheText(ClipboardPlaceholder(s.config.language));
  } else if (follow.restart_auto_clear) {
    StartAutoClearTimer(window);
  }
  return 0;
}

LRESULT OnChangeClipboardChain(HWND window, WPARAM removed, LPARAM next) {
  MonitorState& s = State();
  if (reinterpret_cast<HWND>(removed) == s.next_viewer) {
    s.next_viewer = reinterpret_cast<HWND>(next) == window ? nullptr : reinterpret_cast<HWND>(next);
  } else if (s.next_viewer && s.next_viewer != window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(s.next_viewer, WM_CHANGECBCHAIN, removed, next, SMTO_ABORTIFHUNG, 2000, &answer);
  }
  return 0;
}

void OnClipboardRecheckTimer(HWND window) {
  MonitorState& s = State();
  if (s.use_listener) {
    // An empty text read is looked at once more a second later: some
    // programs announce their text before it can be read.
    KillTimer(window, timer_id::kClipboardRecheck);
    if (!s.watching || s.read_pending) return;
    s.rechecking = true;
    ReadClipboard(window, false, false);
    s.rechecking = false;
    return;
  }
  if (!s.watching) {
    KillTimer(window, timer_id::kClipboardRecheck);
    return;
  }
  TextBuffer composed;
  if (ComposeCacheText(window, composed) && ViewerChainLooksBroken(s.cache.view(), composed.view(), s.read_pending)) {
    StopClipboardWatch(window);
    StartClipboardWatch(window);
  }
  SetTimer(window, timer_id::kClipboardRecheck, 10000, nullptr);
}

void OnDelayedClipboardReadTimer(HWND window) {
  KillTimer(window, timer_id::kDelayedClipboardRead);
  State().read_pending = false;
  ReadClipboard(window, false, false);
}

void RestartViewerChain(HWND window) {
  MonitorState& s = State();
  if (!s.watching || s.use_listener) return;
  StopClipboardWatch(window);
  StartClipboardWatch(window);
}

ClipboardView CurrentClipboardView() {
  const MonitorState& s = State();
  return ClipboardView{s.cache.view(), s.files, s.picture_bitmap ? &s.picture : nullptr};
}

std::u16string CopyClipboardCacheText() {
  CacheLock lock;
  return std::u16string(State().cache.view());
}

void ClearClipboardCache() {
  MonitorState& s = State();
  SetCacheText({});
  ReleasePicture();
  s.files = false;
}
