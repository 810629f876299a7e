#include "app/hide_rule.h"

bool TitleContainsAny(std::u16string_view title, std::u16string_view list) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(u',', start);
    if (comma == std::u16string_view::npos) comma = list.size();
    const std::u16string_view item = list.substr(start, comma - start);
    if (!item.empty() && title.find(item) != std::u16string_view::npos) return true;
    start = comma + 1;
  }
  return false;
}

HideReason DisplayHideReason(bool display_hidden, const HideSettings& settings, HideProbe& probe) {
  if (display_hidden) return HideReason::kHiddenFlag;
  if (probe.CursorHidden()) return HideReason::kCursorHidden;
  if (!settings.title_substrings.empty()) {
    TextBuffer title;
    probe.ForegroundTitle(title);
    if (TitleContainsAny(title.view(), settings.title_substrings)) return HideReason::kTitle;
  }
  if (settings.ibeam_hide && probe.CursorIsIBeam()) return HideReason::kIBeam;
  return HideReason::kNone;
}
