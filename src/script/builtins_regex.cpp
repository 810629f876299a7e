// The three regular-expression built-ins. Matching is done by Boost.Regex on
// wide characters: UTF-8 arguments are widened (UTF-16 where wchar_t has 16
// bits, code points where it has 32), and positions reported to the script
// are turned back into UTF-8 byte counts.
#include <boost/regex.hpp>

#include <string>

#include "common/utf.h"
#include "script/builtins_array.h"
#include "script/builtins_text.h"

namespace {

std::wstring Widen(std::string_view text) {
  std::u16string units = Utf8ToUtf16(text);
  std::wstring wide;
  wide.reserve(units.size());
  if constexpr (sizeof(wchar_t) == 2) {
    wide.assign(units.begin(), units.end());
  } else {
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t unit = units[i];
      bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                  units[i + 1] <= 0xDFFF;
      if (pair) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00);
      }
      wide.push_back(static_cast<wchar_t>(unit));
    }
  }
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  std::u16string units;
  units.reserve(wide.size());
  for (wchar_t w : wide) {
    auto c = static_cast<uint32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  return Utf16ToUtf8(units);
}

// UTF-8 bytes of one wide character; a surrogate pair counts its four bytes
// on the high half.
int32_t Utf8Bytes(wchar_t w) {
  auto c = static_cast<uint32_t>(w);
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  if (c >= 0xD800 && c <= 0xDBFF) return 4;
  if (c >= 0xDC00 && c <= 0xDFFF) return 0;
  return c < 0x10000 ? 3 : 4;
}

// Walks forward through a wide text, keeping the UTF-8 byte count of what
// has been passed; match positions only grow, so the walk stays linear.
class Utf8Offsets {
 public:
  explicit Utf8Offsets(const std::wstring& text) : text_(text) {}
  int32_t At(size_t position) {
    for (; passed_ < position; ++passed_) bytes_ += Utf8Bytes(text_[passed_]);
    return bytes_;
  }

 private:
  const std::wstring& text_;
  size_t passed_ = 0;
  int32_t bytes_ = 0;
};

struct RegexOptions {
  boost::regex_constants::syntax_option_type syntax = boost::regex_constants::normal;
  boost::regex_constants::match_flag_type match = boost::regex_constants::match_default;
};

RegexOptions ReadOptions(const ScriptValue* argument) {
  RegexOptions options;
  if (!argument) return options;
  std::string letters = UpperAscii(ArgText(*argument).view());
  if (letters.find('I') != std::string::npos) options.syntax |= boost::regex_constants::icase;
  if (letters.find('S') != std::string::npos) options.match |= boost::regex_constants::match_not_eol;
  if (letters.find('G') != std::string::npos) options.match |= boost::regex_constants::match_any;
  return options;
}

boost::wregex Compile(const ScriptValue& expression, const RegexOptions& options) {
  return boost::wregex(Widen(ArgText(expression).view()), options.syntax);
}

}  // namespace

// Every failure of the library (a bad expression, the complexity or stack
// limit while matching) becomes the stated result; nothing is reported.
ScriptValue BuiltinRegexMatch(BuiltinContext&, std::span<ScriptValue> args) {
  try {
    RegexOptions options = ReadOptions(args.size() >= 3 ? &args[2] : nullptr);
    boost::wregex re = Compile(args[1], options);
    std::wstring text = Widen(ArgText(args[0]).view());
    bool whole = boost::regex_match(text, re, options.match | boost::regex_constants::match_any);
    return MakeInteger(whole ? 1 : 0);
  } catch (const std::exception&) {
    return MakeInteger(-1);
  }
}

ScriptValue BuiltinRegexReplace(BuiltinContext&, std::span<ScriptValue> args) {
  try {
    RegexOptions options = ReadOptions(args.size() >= 4 ? &args[3] : nullptr);
    boost::wregex re = Compile(args[1], options);
    std::wstring text = Widen(ArgText(args[0]).view());
    std::wstring format = Widen(ArgText(args[2]).view());
    return MakeString(Narrow(boost::regex_replace(text, re, format, options.match)));
  } catch (const std::exception&) {
    return MakeString({});
  }
}

ScriptValue BuiltinRegexSearch(BuiltinContext& context, std::span<ScriptValue> args) {
  const ScriptValue* option_arg = nullptr;
  const ScriptValue* starts_arg = nullptr;
  const ScriptValue* lengths_arg = nullptr;
  if (args.size() == 3 || args.size() == 5) option_arg = &args[2];
  if (args.size() >= 4) {
    starts_arg = &args[args.size() - 2];
    lengths_arg = &args[args.size() - 1];
  }
  std::string starts_name, lengths_name;
  if (starts_arg) {
    if (!TakeArrayName(context, *starts_arg, "Regex_Search", starts_name)) return MakeInteger(-1);
    if (!TakeArrayName(context, *lengths_arg, "Regex_Search", lengths_name)) return MakeInteger(-1);
  }
  try {
    RegexOptions options = ReadOptions(option_arg);
    boost::wregex re = Compile(args[1], options);
    std::wstring text = Widen(ArgText(args[0]).view());
    VariableStore& store = context.variables();
    ScriptValue* starts = nullptr;
    ScriptValue* lengths = nullptr;
    if (starts_arg) {
      starts = &store.ref(starts_name);
      ElementAt(*starts, 0) = MakeInteger(0);
      starts->text = starts_name;
      lengths = &store.ref(lengths_name);
      ElementAt(*lengths, 0) = MakeInteger(0);
      lengths->text = lengths_name;
    }
    Utf8Offsets offsets(text);
    int32_t count = 0;
    boost::wsregex_iterator end;
    for (boost::wsregex_iterator it(text.begin(), text.end(), re, options.match); it != end; ++it) {
      const auto& match = (*it)[0];
      size_t first = static_cast<size_t>(match.first - text.begin());
      size_t last = static_cast<size_t>(match.second - text.begin());
      if (starts) {
        int32_t start_bytes = offsets.At(first);
        int32_t end_bytes = offsets.At(last);
        ElementAt(*starts, count) = MakeInteger(start_bytes);
        ElementAt(*lengths, count) = MakeInteger(end_bytes - start_bytes);
      }
      ++count;
    }
    return MakeInteger(count);
  } catch (const std::exception&) {
    return MakeInteger(-1);
  }
}
