#pragma once
// The clipboard monitor's decisions, free of the platform: which clipboard
// content the read path takes, how a file list becomes the cache text, how
// long a delayed read waits, how a copied picture is sized, when the viewer
// chain looks broken and when a strip run has anything to do. The Win32
// layer (clipboard_monitor_win, clipboard_commands_win) only applies them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/fixed_text.h"
#include "common/language.h"

struct Settings;

// The cache holds at most this many characters (its buffer adds the terminator).
inline constexpr std::size_t kClipboardCacheMax = TextBuffer::kCapacity - 1;

// Standard clipboard format numbers the rules below speak about.
namespace clipboard_format {
constexpr uint32_t kText = 1;
constexpr uint32_t kBitmap = 2;
constexpr uint32_t kOemText = 7;
constexpr uint32_t kUnicodeText = 13;
constexpr uint32_t kFileDrop = 15;
constexpr uint32_t kLocale = 16;
}  // namespace clipboard_format

// Watching is wanted while a feature reads or changes the clipboard.
bool ClipboardWatchWanted(const Settings& settings);

// A change is read after a pause when CBDELAY is 1 to 5.
bool ClipboardReadDelayed(int32_t cbdelay);
// The pause before a delayed read or a retry: 1..5 map to 100, 200, 500,
// 700 and 1,000 ms; every other value (a retry with CBDELAY 0) to 625 ms.
uint32_t ClipboardReadDelayMs(int32_t cbdelay);

// Shown in the cache while a delayed read is pending.
std::u16string_view ClipboardPlaceholder(Language language);

// What the read path takes from the clipboard: text first, then a file
// list, and a bitmap only when neither is there.
enum class ClipboardContent : uint8_t { kText, kFiles, kNothing, kBitmap };
struct ClipboardFormatsPresent {
  bool text = false;
  bool files = false;
  bool bitmap = false;
};
ClipboardContent ChooseClipboardContent(const ClipboardFormatsPresent& present);

// The text of a clipboard memory block: up to its terminator, and never past
// the block (`capacity` characters) when a program left the terminator out.
std::u16string_view BoundedClipboardText(const char16_t* data, std::size_t capacity);

// Builds the cache text of a file list, one path at a time: paths are
// separated by line feeds, and the path that would push the cache past its
// limit ends the list (it and every later path are left out).
class FileListComposer {
 public:
  explicit FileListComposer(TextBuffer& cache) : cache_(cache) {}
  // False when the path does not fit: stop asking.
  bool Add(std::u16string_view path, bool last);

 private:
  TextBuffer& cache_;
};

// The paths as one text, each followed by CR LF (files become text when
// formatting is stripped by hand).
std::u16string FilesAsText(const std::u16string* paths, std::size_t count);

// The size of the program's copy of a copied picture.
struct PicturePlan {
  bool usable = false;     // false: a bitmap without pixels; no picture
  int32_t width = 0;
  int32_t height = 0;
  bool scaled = false;     // reduced to fit DEF_MAX_CLIPIMAGESIZE
  bool names_bitmap = false;  // the cache text becomes "HBITMAP"
};
PicturePlan PlanClipboardPicture(int32_t width, int32_t height, int32_t max_side);

// The cache text that marks a picture copied at its own size.
inline constexpr std::u16string_view kBitmapCacheText = u"HBITMAP";

// The viewer chain is taken as broken when the cache no longer matches
// what the clipboard holds; never while a delayed read is still due (the
// cache then holds the placeholder on purpose).
bool ViewerChainLooksBroken(std::u16string_view cache, std::u16string_view composed, bool read_pending);

// Formats that are plain text already (or its locale): a clipboard holding
// nothing else has nothing to strip.
bool IsPlainTextFormat(uint32_t format);
bool HasFormattingToStrip(const uint32_t* formats, std::size_t count);

// What the read path does once the clipboard has been looked at.
struct ReadFollowUp {
  bool start_delayed_read = false;  // with the placeholder in the cache
  uint32_t delay_ms = 0;
  bool restart_auto_clear = false;
};
struct ReadResult {
  bool delay_requested = false;
  bool retry = false;        // the clipboard could not be opened
  bool found_content = false;  // text, files or a picture was read
};
ReadFollowUp DecideReadFollowUp(const ReadResult& result, const Settings& settings);
