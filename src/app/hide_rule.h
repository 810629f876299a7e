#pragma once
// When the display tick hides the overlay. The tests run in a fixed order and
// stop at the first that holds, so the costlier queries (the foreground
// window's title, the current cursor) are only made when needed.

#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"

enum class HideReason : uint8_t { kNone, kHiddenFlag, kCursorHidden, kTitle, kIBeam };

// The platform queries the rule needs, asked lazily.
class HideProbe {
 public:
  virtual ~HideProbe() = default;
  // True only when the cursor information could be read and says hidden.
  virtual bool CursorHidden() = 0;
  // The foreground window's title, at most 519 characters; empty when none.
  virtual void ForegroundTitle(TextBuffer& title) = 0;
  virtual bool CursorIsIBeam() = 0;
};

struct HideSettings {
  std::u16string_view title_substrings;  // TITLESUBSTR
  bool ibeam_hide;                       // IBEAMHIDE
};

HideReason DisplayHideReason(bool display_hidden, const HideSettings& settings, HideProbe& probe);

// TITLESUBSTR is a comma-separated list of case-sensitive fragments; empty
// items are skipped, so an empty setting never matches.
bool TitleContainsAny(std::u16string_view title, std::u16string_view title_substrings);
