#pragma once
// Argument conventions every built-in family shares: reading an argument's
// text, stepping over UTF-8 characters, and arguments that name an array.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script/builtin_table.h"

// The text of an argument without copying a string that is already there.
class ArgText {
 public:
  explicit ArgText(const ScriptValue& value);
  ArgText(const ArgText&) = delete;
  ArgText& operator=(const ArgText&) = delete;
  std::string_view view() const { return view_; }

 private:
  std::string own_;
  std::string_view view_;
};

// ASCII classes of a byte or a text unit; anything beyond ASCII is neither.
inline bool IsAsciiLetter(uint32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsAsciiDigit(uint32_t c) { return c >= '0' && c <= '9'; }

// Length of the UTF-8 character starting at `at`, by its first byte alone
// (any other byte counts as one), cut short by the end of the text.
size_t CharLengthAt(std::string_view text, size_t at);

// The array-name rule: not empty, first byte `_` or an ASCII letter, the
// rest `_`, letters or digits. `name` must already be upper-cased.
bool IsValidArrayName(std::string_view name);

// Upper-cases the argument's text into `name`. When it breaks the rule,
// reports code 115 naming `function` (as the message writes it, e.g.
// "SortArray"), stops the run and returns false.
bool TakeArrayName(BuiltinContext& context, const ScriptValue& argument,
                   std::string_view function, std::string& name);
