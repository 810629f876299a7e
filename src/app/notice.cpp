#include "app/notice.h"

#include "app/app_texts.h"

void PendingNotice::Reset() {
  text_.clear();
  level_ = 0;
}

void PendingNotice::Append(std::u16string_view text, int level) {
  if (!text_.empty()) text_ += kNoticeSeparator;
  text_ += text;
  if (level > level_) level_ = level;
}

std::u16string_view PendingNotice::BalloonText() const {
  size_t n = text_.size() < kBalloonTextMax ? text_.size() : kBalloonTextMax;
  if (n < text_.size() && n > 0 && text_[n - 1] >= 0xD800 && text_[n - 1] <= 0xDBFF) --n;
  return std::u16string_view(text_).substr(0, n);
}

bool ApplyNotify(PendingNotice& notice, bool has_window, const char16_t* text, int level) {
  if (!has_window && text == nullptr) {
    notice.Reset();
    return false;
  }
  if (text != nullptr) notice.Append(text, level);
  return has_window && !notice.empty();
}

std::u16string ExitSaveFailureText(Language language, std::u16string_view errors) {
  std::u16string text(app_text::kSaveFailedAtExit.In(language));
  text += u"\r\n\r\n";
  // A whole failed save names about 180 keys: a box that tall would push its
  // button off the screen, so the rest are counted.
  std::size_t shown = 0;
  std::size_t at = 0;
  while (at <= errors.size()) {
    std::size_t end = errors.find(kNoticeSeparator, at);
    if (end == std::u16string_view::npos) end = errors.size();
    if (shown == kExitSaveLinesShown) {
      std::size_t rest = 1;
      for (std::size_t k = errors.find(kNoticeSeparator, at); k != std::u16string_view::npos;
           k = errors.find(kNoticeSeparator, k + kNoticeSeparator.size())) {
        ++rest;
      }
      text += kNoticeSeparator;
      text += language == Language::Japanese ? u"ほか " : u"and ";
      for (char16_t digit : std::to_string(rest)) text += digit;
      text += language == Language::Japanese ? u" 個のキー" : u" more keys";
      break;
    }
    if (shown > 0) text += kNoticeSeparator;
    text += errors.substr(at, end - at);
    ++shown;
    at = end + kNoticeSeparator.size();
  }
  return text;
}
