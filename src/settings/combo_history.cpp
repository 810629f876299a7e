#include "settings/combo_history.h"

#include <algorithm>

void ComboHistory::Load(const std::vector<std::u16string>& stored) {
  entries_.clear();
  for (const std::u16string& text : stored) {
    if (text.empty() || entries_.size() == kCapacity) break;
    entries_.push_back(text);
  }
}

bool ComboHistory::Record(std::u16string_view text) {
  // An empty entry would end the list when it is read back.
  if (text.empty()) return false;
  const auto found = std::find(entries_.begin(), entries_.end(), text);
  if (found == entries_.begin() && found != entries_.end()) return false;
  if (found != entries_.end()) {
    std::rotate(entries_.begin(), found, found + 1);
    return true;
  }
  if (entries_.size() == kCapacity) entries_.pop_back();
  entries_.insert(entries_.begin(), std::u16string(text));
  return true;
}

std::u16string JoinMultiString(const std::vector<std::u16string>& entries) {
  std::u16string data;
  for (const std::u16string& text : entries) {
    data += text;
    data += u'\0';
  }
  data += u'\0';
  return data;
}

std::vector<std::u16string> SplitMultiString(std::u16string_view data) {
  std::vector<std::u16string> entries;
  std::size_t start = 0;
  while (start < data.size() && entries.size() < ComboHistory::kCapacity) {
    std::size_t end = data.find(u'\0', start);
    if (end == std::u16string_view::npos) end = data.size();
    if (end == start) break;
    entries.emplace_back(data.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}
