#pragma once
// The most-recent-first history of an editable combo box (sound files,
// formats): at most 16 texts, compared exactly, kept in the settings store
// under the history's own name. This is the order; the combo box and the
// stores are in combo_history_win.h.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ComboHistory {
 public:
  static constexpr std::size_t kCapacity = 16;

  // Loaded entries in stored order; the list ends at the first empty one and
  // keeps at most kCapacity.
  void Load(const std::vector<std::u16string>& stored);

  // Puts `text` first. Returns false when nothing changed (it was already
  // first, or it is empty, which would end the stored list), so the caller
  // writes nothing.
  bool Record(std::u16string_view text);

  const std::vector<std::u16string>& entries() const { return entries_; }

 private:
  std::vector<std::u16string> entries_;
};

// The registry form: each entry with its terminator, then one more
// terminator (REG_MULTI_SZ). Parsing stops at the first empty string and
// takes at most kCapacity entries; a missing final terminator ends the last.
std::u16string JoinMultiString(const std::vector<std::u16string>& entries);
std::vector<std::u16string> SplitMultiString(std::u16string_view data);
