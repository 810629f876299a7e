#pragma once
// ComboboxQueue: an editable combo box whose drop-down list is the
// most-recent-first history of the values applied in it, kept in the active
// settings store under the queue's name (INI: a section of that name with
// keys "0", "1", ...; registry: a REG_MULTI_SZ value in the settings key).

#include <windows.h>

#include <string>

#include "settings/combo_history.h"

class ComboboxQueue {
 public:
  // The INI form (location = INI file path) or the registry form (location =
  // subkey of HKEY_CURRENT_USER). Warns when the box sorts its list, then
  // loads the history and fills the list.
  ComboboxQueue(HWND combo, bool registry, std::u16string location, std::u16string name);
  // The form and location of the active settings store.
  ComboboxQueue(HWND combo, std::u16string name);

  ComboboxQueue(const ComboboxQueue&) = delete;
  ComboboxQueue& operator=(const ComboboxQueue&) = delete;

  // Puts `text` first, saves the history and refills the list, the box
  // showing `text`. Nothing is written when it already was first. Returns
  // whether the history could be saved (store write failures are not
  // reported to the user).
  bool Record(std::u16string_view text);
  // The box's own text, recorded.
  bool RecordBoxText();

  const ComboHistory& history() const { return history_; }

 private:
  std::vector<std::u16string> LoadStored() const;
  bool Save() const;
  void Refill();

  HWND combo_;
  bool registry_;
  std::u16string location_;
  std::u16string name_;
  ComboHistory history_;
};

// The box's text (at most `capacity`-1 characters).
std::u16string WindowText16(HWND window, std::size_t capacity = 1024);
