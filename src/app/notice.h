#pragma once
// The pending tray notice. Several notices can pend at once: their texts are
// joined by a separator line and the notice keeps the highest level
// (1 information, 2 warning, 3 error).

#include <cstdint>
#include <string>
#include <string_view>

#include "common/language.h"

inline constexpr std::u16string_view kNoticeSeparator = u"\r\n-----\r\n";
// A balloon shows at most this many characters of the pending text.
inline constexpr size_t kBalloonTextMax = 255;

class PendingNotice {
 public:
  void Reset();
  void Append(std::u16string_view text, int level);
  const std::u16string& text() const { return text_; }
  int level() const { return level_; }
  bool empty() const { return text_.empty(); }
  // The start of the text that fits a balloon; never ends inside a surrogate pair.
  std::u16string_view BalloonText() const;

 private:
  std::u16string text_;
  int level_ = 0;
};

// The rule of Notify(window, text, level): no window and no text resets;
// a text is appended; the notice is shown (result true) when there is a
// window and something pends. Showing does not clear the notice.
bool ApplyNotify(PendingNotice& notice, bool has_window, const char16_t* text, int level);

// The message box shown when the save at exit fails (the tray icon, and with
// it the balloon, is gone by then): what happened, then the same lines the
// balloon gives, one per failed key.
// Lines after the first kExitSaveLinesShown are counted, not listed.
inline constexpr std::size_t kExitSaveLinesShown = 10;
std::u16string ExitSaveFailureText(Language language, std::u16string_view errors);
