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
  text += errors;
  return text;
}
