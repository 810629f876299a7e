#include "clipboard/clipboard_rules.h"

#include <algorithm>

#include "settings/settings.h"

bool ClipboardWatchWanted(const Settings& s) {
  return s.CLIPBOARD != 0 || s.AUTO_PLAINER != 0 || s.AUTO_DEL_CLIP != 0 || s.MEMO_AS_SCRIPT != 0;
}

bool ClipboardReadDelayed(int32_t cbdelay) { return cbdelay >= 1 && cbdelay <= 5; }

uint32_t ClipboardReadDelayMs(int32_t cbdelay) {
  switch (cbdelay) {
    case 1: return 100;
    case 2: return 200;
    case 3: return 500;
    case 4: return 700;
    case 5: return 1000;
    default: return 625;
  }
}

std::u16string_view ClipboardPlaceholder(Language language) {
  return Pick<std::u16string_view>(language, u"<クリップボード情報取得中>", u"<Clipboard Changed>");
}

ClipboardContent ChooseClipboardContent(const ClipboardFormatsPresent& present) {
  if (present.text) return ClipboardContent::kText;
  if (present.files) return ClipboardContent::kFiles;
  if (!present.bitmap) return ClipboardContent::kNothing;
  return ClipboardContent::kBitmap;
}

std::u16string_view BoundedClipboardText(const char16_t* data, std::size_t capacity) {
  if (data == nullptr) return {};
  const char16_t* end = std::find(data, data + capacity, u'\0');
  return std::u16string_view(data, static_cast<std::size_t>(end - data));
}

bool FileListComposer::Add(std::u16string_view path, bool last) {
  path = path.substr(0, kClipboardCacheMax);
  // Room is kept for the separator and the terminator.
  if (path.size() + cache_.size() + 2 > kClipboardCacheMax) return false;
  cache_.append(path);
  if (!last) cache_.push_back(u'\n');
  return true;
}

std::u16string FilesAsText(const std::u16string* paths, std::size_t count) {
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += paths[i];
    text += u"\r\n";
  }
  return text;
}

PicturePlan PlanClipboardPicture(int32_t width, int32_t height, int32_t max_side) {
  PicturePlan plan;
  if (width <= 0 || height <= 0) return plan;
  plan.usable = true;
  max_side = std::max(max_side, 1);
  if (width > max_side || height > max_side) {
    const double factor = static_cast<double>(max_side) / static_cast<double>(std::max(width, height));
    // A long thin picture would scale to no pixels at all on its short side.
    plan.width = std::max(1, static_cast<int32_t>(width * factor));
    plan.height = std::max(1, static_cast<int32_t>(height * factor));
    plan.scaled = true;
  } else {
    plan.width = width;
    plan.height = height;
    plan.names_bitmap = true;
  }
  return plan;
}

bool ViewerChainLooksBroken(std::u16string_view cache, std::u16string_view composed, bool read_pending) {
  return !read_pending && cache != composed;
}

bool IsPlainTextFormat(uint32_t format) {
  return format == clipboard_format::kText || format == clipboard_format::kOemText ||
         format == clipboard_format::kUnicodeText || format == clipboard_format::kLocale;
}

bool HasFormattingToStrip(const uint32_t* formats, std::size_t count) {
  return std::any_of(formats, formats + count, [](uint32_t f) { return !IsPlainTextFormat(f); });
}

ReadFollowUp DecideReadFollowUp(const ReadResult& result, const Settings& settings) {
  ReadFollowUp follow;
  if (result.delay_requested || result.retry) {
    follow.start_delayed_read = true;
    follow.delay_ms = ClipboardReadDelayMs(settings.CBDELAY);
    return follow;
  }
  // Restarting on an empty clipboard would empty it again and again, each
  // time waking every other clipboard watcher for nothing.
  follow.restart_auto_clear = settings.AUTO_DEL_CLIP != 0 && result.found_content;
  return follow;
}
