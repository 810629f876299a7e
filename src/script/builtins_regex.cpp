// The three regular-expression built-ins. Matching is done by Boost.Regex on
// wide characters: UTF-8 arguments are widened to UTF-16 units whatever the
// width of wchar_t, so a character outside the basic plane is two units to
// '.' on every platform, as in the Windows program; positions reported to the
// script are turned back into UTF-8 byte counts. Pure ASCII arguments skip the
// widening (see ForMatching).
#include "script/builtins_regex.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/utf.h"
#include "script/builtin_args.h"
#include "script/script_run.h"

namespace {

std::wstring Widen(std::string_view text) {
  std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

// A code point above the basic plane only arises from an escape such as
// \x{1F600} in a replacement where wchar_t has 32 bits; it is written as its
// surrogate pair.
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

// UTF-8 bytes of one character as matched: an ASCII byte is one, a wide
// character its encoded length (a surrogate pair counts its four bytes on
// the high half).
int32_t Utf8Bytes(char) { return 1; }

int32_t Utf8Bytes(wchar_t w) {
  auto c = static_cast<uint32_t>(w);
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  if (c >= 0xD800 && c <= 0xDBFF) return 4;
  if (c >= 0xDC00 && c <= 0xDFFF) return 0;
  return c < 0x10000 ? 3 : 4;
}

// Walks forward through the matched text, keeping the UTF-8 byte count of
// what has been passed; match positions only grow, so the walk stays linear.
template <class Char>
class Utf8Offsets {
 public:
  explicit Utf8Offsets(const std::basic_string<Char>& text) : text_(text) {}
  int32_t At(size_t position) {
    for (; passed_ < position; ++passed_) bytes_ += Utf8Bytes(text_[passed_]);
    return bytes_;
  }

 private:
  const std::basic_string<Char>& text_;
  size_t passed_ = 0;
  int32_t bytes_ = 0;
};

// Texts as the matcher sees them. Pure ASCII arguments are matched as bytes:
// every character is then one unit in both widths, so the results are the
// same, and the library's narrow character sets are far faster. Anything
// else is widened.
template <class Char>
std::basic_string<Char> ForMatching(std::string_view text);

template <>
std::string ForMatching<char>(std::string_view text) {
  return std::string(text);
}

template <>
std::wstring ForMatching<wchar_t>(std::string_view text) {
  return Widen(text);
}

std::string FromMatching(std::string text) { return text; }
std::string FromMatching(const std::wstring& text) { return Narrow(text); }

bool AllAscii(std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) {
    for (char c : text) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
  }
  return true;
}

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

// The C library's character classes and case mapping: the same answers as the
// standard locale's "C" facets, without linking the whole locale machinery
// (a fifth of the program's size).
template <class Char>
using Regex = boost::basic_regex<Char, boost::c_regex_traits<Char>>;

template <class Char>
Regex<Char> Compile(std::string_view expression, const RegexOptions& options) {
  return Regex<Char>(ForMatching<Char>(SplitLeadingRepeat(expression)), options.syntax);
}

// The expressions a run has compiled, most recently used last, with the
// failures: a script calling the same expression in a loop compiles it once
// in each width. Long expressions are not kept.
constexpr size_t kCachedExpressions = 16;
constexpr size_t kCachedExpressionLength = 1024;

template <class Char>
struct CachedRegex {
  std::string expression;
  boost::regex_constants::syntax_option_type syntax;
  std::optional<Regex<Char>> compiled;  // none: the library refused it
};

template <class Char>
struct RegexesOfWidth {
  std::vector<CachedRegex<Char>> recent;
  std::optional<Regex<Char>> long_one;  // the last long expression, not kept
};

struct RegexCache {
  RegexesOfWidth<char> bytes;
  RegexesOfWidth<wchar_t> wide;
  RegexesOfWidth<char>& of(char*) { return bytes; }
  RegexesOfWidth<wchar_t>& of(wchar_t*) { return wide; }
};

RegexCache& CacheOf(BuiltinContext& context) {
  std::shared_ptr<void>& slot = context.run.regexCache;
  if (!slot) slot = std::make_shared<RegexCache>();
  return *static_cast<RegexCache*>(slot.get());
}

template <class Char>
std::optional<Regex<Char>> TryCompile(std::string_view expression, const RegexOptions& options) {
  try {
    return Compile<Char>(expression, options);
  } catch (const boost::regex_error&) {
    return std::nullopt;
  }
}

// The compiled expression in this width, or null when the library refuses
// it. Valid until the next look-up in the same width.
template <class Char>
const Regex<Char>* Compiled(BuiltinContext& context, std::string_view expression, const RegexOptions& options) {
  RegexesOfWidth<Char>& width = CacheOf(context).of(static_cast<Char*>(nullptr));
  if (expression.size() > kCachedExpressionLength) {
    width.long_one = TryCompile<Char>(expression, options);
    return width.long_one ? &*width.long_one : nullptr;
  }
  std::vector<CachedRegex<Char>>& entries = width.recent;
  auto found = std::find_if(entries.begin(), entries.end(), [&](const CachedRegex<Char>& entry) {
    return entry.syntax == options.syntax && entry.expression == expression;
  });
  if (found != entries.end()) {
    std::rotate(found, found + 1, entries.end());
  } else {
    if (entries.size() == kCachedExpressions) entries.erase(entries.begin());
    entries.push_back({std::string(expression), options.syntax, TryCompile<Char>(expression, options)});
  }
  return entries.back().compiled ? &*entries.back().compiled : nullptr;
}

// The byte path needs ASCII texts and an expression that compiles as bytes:
// an escape such as \x{3042} names a character only the wide form holds.
const Regex<char>* AsBytes(BuiltinContext& context, std::initializer_list<std::string_view> texts,
                           std::string_view expression, const RegexOptions& options) {
  return AllAscii(texts) ? Compiled<char>(context, expression, options) : nullptr;
}

template <class Char>
int32_t WholeMatch(std::string_view text, const Regex<Char>& re, const RegexOptions& options) {
  std::basic_string<Char> subject = ForMatching<Char>(text);
  return boost::regex_match(subject, re, options.match | boost::regex_constants::match_any) ? 1 : 0;
}

// Whether the traits' number reader could find a number at `at`: the C++
// locale reader skips white space and takes a sign before the digits, the
// Win32 one does not. Anything outside ASCII counts as possible white space.
template <class Char>
bool SkippedIntoNumber(const std::basic_string<Char>& format, size_t at) {
  auto unit = [&](size_t i) { return static_cast<uint32_t>(format[i]); };
  while (at < format.size() && (unit(at) == ' ' || (unit(at) >= '\t' && unit(at) <= '\r') || unit(at) >= 0x80)) ++at;
  if (at < format.size() && (unit(at) == '+' || unit(at) == '-')) ++at;
  return at < format.size() && IsAsciiDigit(unit(at));
}

// The replacement text as the library may safely read it. The library adds
// two to a group number in a plain int and narrows larger numbers to int, so
// "$2147483647" overflows and "$4294967297" would name group 1. A reference
// to a group the pattern does not have becomes "${K}" with K the first absent
// group: it still expands to nothing, and it ends where the original ended,
// so the text after it reads as before. A '$' that only the C++ locale reader
// would take as a number (white space or a sign before the digits) is doubled
// into a plain '$', as the Win32 reader has it.
template <class Char>
std::basic_string<Char> SafeGroupReferences(const std::basic_string<Char>& format, size_t groups) {
  const size_t size = format.size();
  auto unit = [&](size_t i) { return i < size ? static_cast<uint32_t>(format[i]) : 0u; };
  const std::string absent = "${" + std::to_string(groups + 1) + "}";
  std::basic_string<Char> out;
  out.reserve(size);
  size_t i = 0;
  while (i < size) {
    if (unit(i) == '\\') {
      // An escape takes the next character; "\c" takes the one after it too.
      size_t length = unit(i + 1) == 'c' && i + 2 < size ? 3 : 2;
      length = std::min(length, size - i);
      out.append(format, i, length);
      i += length;
      continue;
    }
    if (unit(i) != '$') {
      out.push_back(format[i++]);
      continue;
    }
    const uint32_t next = unit(i + 1);
    if (next == '$' || next == '&' || next == '`' || next == '\'') {
      out.append(format, i, 2);
      i += 2;
      continue;
    }
    if (next == '+') {
      // "$+{name}" runs to its closing brace; a plain "$+" is two characters.
      size_t end = unit(i + 2) == '{' ? format.find(static_cast<Char>('}'), i + 3) : std::basic_string<Char>::npos;
      size_t length = end == std::basic_string<Char>::npos ? 2 : end + 1 - i;
      out.append(format, i, length);
      i += length;
      continue;
    }
    const bool brace = next == '{';
    const size_t first_digit = i + 1 + (brace ? 1 : 0);
    size_t end = first_digit;
    size_t number = 0;
    for (; IsAsciiDigit(unit(end)); ++end) number = std::min(number * 10 + (unit(end) - '0'), groups + 1);
    const bool reference = end > first_digit && (!brace || unit(end) == '}');
    if (!reference) {
      if (end == first_digit && SkippedIntoNumber(format, first_digit)) out.push_back(static_cast<Char>('$'));
      out.push_back(format[i++]);
      continue;
    }
    if (brace) ++end;
    if (number <= groups) {
      out.append(format, i, end - i);
    } else {
      out.append(absent.begin(), absent.end());
    }
    i = end;
  }
  return out;
}

// A replacement made only of literal text, "$$", "$&" and group numbers
// ("$N", "${N}") is read once rather than by the library at every match.
// Anything else (escapes, any other '$' form) is left to the library's own
// reader.
struct ReplacementPiece {
  size_t start = 0;   // of the literal text in the parsed copy
  size_t length = 0;  // of the literal text
  int group = -1;     // a group to insert after the literal, or none
};

template <class Char>
bool ParsePlainReplacement(const std::basic_string<Char>& format, std::basic_string<Char>& literals,
                           std::vector<ReplacementPiece>& pieces) {
  const size_t size = format.size();
  auto unit = [&](size_t i) { return i < size ? static_cast<uint32_t>(format[i]) : 0u; };
  ReplacementPiece piece{0, 0, -1};
  auto close = [&](int group) {
    piece.length = literals.size() - piece.start;
    piece.group = group;
    pieces.push_back(piece);
    piece = ReplacementPiece{literals.size(), 0, -1};
  };
  size_t i = 0;
  while (i < size) {
    const uint32_t c = unit(i);
    if (c == '\\') return false;
    if (c != '$') {
      literals.push_back(format[i++]);
      continue;
    }
    const uint32_t next = unit(i + 1);
    if (next == '$') {
      literals.push_back(format[i]);
      i += 2;
    } else if (next == '&') {
      close(0);
      i += 2;
    } else if (IsAsciiDigit(next) || next == '{') {
      const bool brace = next == '{';
      size_t end = i + 1 + (brace ? 1 : 0);
      const size_t first = end;
      int number = 0;
      for (; IsAsciiDigit(unit(end)) && end - first < 6; ++end) number = number * 10 + int(unit(end) - '0');
      if (end == first || IsAsciiDigit(unit(end)) || (brace && unit(end) != '}')) return false;
      close(number);
      i = end + (brace ? 1 : 0);
    } else {
      return false;  // "$`", "$'", "$+", "$MATCH", "$^N", a '$' at the end
    }
  }
  close(-1);
  return true;
}

// The library's own replace loop, except that the text between matches is
// appended in one piece rather than a character at a time, and a plain
// replacement is read once.
template <class Char>
std::string ReplaceMatches(std::string_view text, const Regex<Char>& re, std::string_view format,
                           const RegexOptions& options) {
  std::basic_string<Char> subject = ForMatching<Char>(text);
  std::basic_string<Char> replacement = SafeGroupReferences(ForMatching<Char>(format), re.mark_count());
  std::basic_string<Char> literals;
  std::vector<ReplacementPiece> pieces;
  const bool plain = ParsePlainReplacement(replacement, literals, pieces);
  const int groups = static_cast<int>(re.mark_count());
  std::basic_string<Char> out;
  out.reserve(subject.size());
  auto rest = subject.cbegin();
  using Iterator =
      boost::regex_iterator<typename std::basic_string<Char>::const_iterator, Char, boost::c_regex_traits<Char>>;
  for (Iterator it(subject.cbegin(), subject.cend(), re, options.match), end; it != end; ++it) {
    out.append(it->prefix().first, it->prefix().second);
    if (plain) {
      for (const ReplacementPiece& piece : pieces) {
        out.append(literals, piece.start, piece.length);
        if (piece.group >= 0 && piece.group <= groups && (*it)[piece.group].matched) {
          out.append((*it)[piece.group].first, (*it)[piece.group].second);
        }
      }
    } else {
      it->format(std::back_inserter(out), replacement, options.match, re);
    }
    rest = (*it)[0].second;
  }
  out.append(rest, subject.cend());
  return FromMatching(std::move(out));
}

// The arrays that receive each match's start and length, when named.
struct MatchArrays {
  VariableStore* store = nullptr;
  std::string starts_name;
  std::string lengths_name;
};

template <class Char>
int32_t CountMatches(std::string_view text, const Regex<Char>& re, const RegexOptions& options,
                     const MatchArrays& arrays) {
  std::basic_string<Char> subject = ForMatching<Char>(text);
  ScriptValue* starts = nullptr;
  ScriptValue* lengths = nullptr;
  if (arrays.store) {
    starts = &arrays.store->ref(arrays.starts_name);
    ElementAt(*starts, 0) = MakeInteger(0);
    starts->text = arrays.starts_name;
    lengths = &arrays.store->ref(arrays.lengths_name);
    ElementAt(*lengths, 0) = MakeInteger(0);
    lengths->text = arrays.lengths_name;
  }
  Utf8Offsets<Char> offsets(subject);
  int32_t count = 0;
  using Iterator =
      boost::regex_iterator<typename std::basic_string<Char>::const_iterator, Char, boost::c_regex_traits<Char>>;
  for (Iterator it(subject.cbegin(), subject.cend(), re, options.match), end; it != end; ++it) {
    if (starts) {
      const auto& match = (*it)[0];
      int32_t start_bytes = offsets.At(static_cast<size_t>(match.first - subject.cbegin()));
      int32_t end_bytes = offsets.At(static_cast<size_t>(match.second - subject.cbegin()));
      ElementAt(*starts, count) = MakeInteger(start_bytes);
      ElementAt(*lengths, count) = MakeInteger(end_bytes - start_bytes);
    }
    ++count;
  }
  return count;
}

}  // namespace

// Every failure of the library (a bad expression, the complexity or stack
// limit while matching) becomes the stated result; nothing is reported.
ScriptValue BuiltinRegexMatch(BuiltinContext& context, std::span<ScriptValue> args) {
  try {
    RegexOptions options = ReadOptions(args.size() >= 3 ? &args[2] : nullptr);
    ArgText text(args[0]), expression(args[1]);
    if (const Regex<char>* re = AsBytes(context, {text.view(), expression.view()}, expression.view(), options)) {
      return MakeInteger(WholeMatch(text.view(), *re, options));
    }
    const Regex<wchar_t>* re = Compiled<wchar_t>(context, expression.view(), options);
    return MakeInteger(re ? WholeMatch(text.view(), *re, options) : -1);
  } catch (const std::exception&) {
    return MakeInteger(-1);
  }
}

ScriptValue BuiltinRegexReplace(BuiltinContext& context, std::span<ScriptValue> args) {
  try {
    RegexOptions options = ReadOptions(args.size() >= 4 ? &args[3] : nullptr);
    ArgText text(args[0]), expression(args[1]), format(args[2]);
    if (const Regex<char>* re =
            AsBytes(context, {text.view(), expression.view(), format.view()}, expression.view(), options)) {
      return MakeString(ReplaceMatches(text.view(), *re, format.view(), options));
    }
    const Regex<wchar_t>* re = Compiled<wchar_t>(context, expression.view(), options);
    return MakeString(re ? ReplaceMatches(text.view(), *re, format.view(), options) : std::string());
  } catch (const std::exception&) {
    return MakeString({});
  }
}

ScriptValue BuiltinRegexSearch(BuiltinContext& context, std::span<ScriptValue> args) {
  const ScriptValue* option_arg = nullptr;
  MatchArrays arrays;
  if (args.size() == 3 || args.size() == 5) option_arg = &args[2];
  if (args.size() >= 4) {
    if (!TakeArrayName(context, args[args.size() - 2], "Regex_Search", arrays.starts_name)) return MakeInteger(-1);
    if (!TakeArrayName(context, args[args.size() - 1], "Regex_Search", arrays.lengths_name)) return MakeInteger(-1);
    arrays.store = &context.variables();
  }
  try {
    RegexOptions options = ReadOptions(option_arg);
    ArgText text(args[0]), expression(args[1]);
    if (const Regex<char>* re = AsBytes(context, {text.view(), expression.view()}, expression.view(), options)) {
      return MakeInteger(CountMatches(text.view(), *re, options, arrays));
    }
    const Regex<wchar_t>* re = Compiled<wchar_t>(context, expression.view(), options);
    return MakeInteger(re ? CountMatches(text.view(), *re, options, arrays) : -1);
  } catch (const std::exception&) {
    return MakeInteger(-1);
  }
}

namespace {

// An escape that stands for one character or class and reads no further:
// one of `letters` or a punctuation mark. Escapes such as "\\x{..}", "\\c]"
// or "\\Q" read on and are left alone.
bool IsPlainEscape(char e, std::string_view letters) {
  if (letters.find(e) != std::string_view::npos) return true;
  // "\\<", "\\>", "\\`" and "\\'" are assertions, not characters.
  if (std::string_view("<>`'").find(e) != std::string_view::npos) return false;
  return e > ' ' && e < 0x7F && !IsAsciiLetter(e) && !IsAsciiDigit(e);
}

// One character as a set "[...]" starting at `at`: plain ASCII members,
// escaped pairs and named classes such as "[:alpha:]". Anything rarer gives
// npos, so that only sets read without doubt are copied.
size_t SetEnd(std::string_view expression, size_t at) {
  size_t i = at + 1;
  if (i < expression.size() && expression[i] == '^') ++i;
  if (i < expression.size() && expression[i] == ']') return std::string_view::npos;
  while (i < expression.size()) {
    const unsigned char c = static_cast<unsigned char>(expression[i]);
    if (c >= 0x80 || c == 0) return std::string_view::npos;
    if (c == ']') return i + 1;
    if (c == '\\') {
      if (i + 1 >= expression.size() || !IsPlainEscape(expression[i + 1], "dDwWsSnrtfvae")) return std::string_view::npos;
      i += 2;
    } else if (c == '[') {
      if (i + 1 >= expression.size() || expression[i + 1] != ':') return std::string_view::npos;
      size_t k = i + 2;
      while (k < expression.size() && IsAsciiLetter(expression[k])) ++k;
      if (k + 1 >= expression.size() || expression[k] != ':' || expression[k + 1] != ']') return std::string_view::npos;
      i = k + 2;
    } else {
      ++i;
    }
  }
  return std::string_view::npos;
}

// The end of one single-character atom at `at`: '.', a set, a class escape
// such as "\d", an escaped punctuation mark or a plain ASCII letter or digit.
size_t AtomEnd(std::string_view expression, size_t at) {
  if (at >= expression.size()) return std::string_view::npos;
  const char c = expression[at];
  if (c == '.' || IsAsciiLetter(c) || IsAsciiDigit(c)) return at + 1;
  if (c == '[') return SetEnd(expression, at);
  if (c != '\\' || at + 1 >= expression.size()) return std::string_view::npos;
  return IsPlainEscape(expression[at + 1], "dDwWsS") ? at + 2 : std::string_view::npos;
}

}  // namespace

// The library starts a search only at characters that can begin a match,
// except when the expression begins with a repeat such as "[0-9]+": then it
// tries every position. "X+" and "XX*" match the same texts in the same way
// for a single-character X (no group inside it, greedy both), and the second
// form gives the library its first character, so a leading "X+", possibly
// inside opening groups, is written so. Any other expression is kept as is.
std::string SplitLeadingRepeat(std::string_view expression) {
  size_t at = 0;
  while (at + 1 < expression.size() && expression[at] == '(' && expression[at + 1] != '?' &&
         expression[at + 1] != '*') {
    ++at;
  }
  const size_t end = AtomEnd(expression, at);
  if (end == std::string_view::npos || end >= expression.size() || expression[end] != '+') return std::string(expression);
  // "X+?", "X++" and a quantifier after the repeat are other constructs.
  if (end + 1 < expression.size() && std::string_view("?+*{").find(expression[end + 1]) != std::string_view::npos)
    return std::string(expression);
  std::string out(expression.substr(0, end));
  out.append(expression.substr(at, end - at));
  out += '*';
  out.append(expression.substr(end + 1));
  return out;
}
