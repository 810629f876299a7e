#include "script/builtins_text.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "script/builtin_args.h"
#include "script/convchar.h"
#include "script/format.h"
#include "script/script_system.h"

namespace {

thread_local uint32_t random_state = 1;

}  // namespace

void SeedScriptRandom(uint32_t seed) { random_state = seed; }

int32_t NextScriptRandom() {
  random_state = random_state * 214013u + 2531011u;
  return static_cast<int32_t>((random_state >> 16) & 0x7FFF);
}

namespace {

// ---- small pieces -----------------------------------------------------------

std::string_view Text(const ArgText& a) { return a.view(); }

int32_t Int(const ScriptValue& value) { return ToInteger(value); }

ScriptValue Bool(bool b) { return MakeInteger(b ? 1 : 0); }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += CharLengthAt(text, at)) ++count;
  return count;
}

// Byte offset after skipping `count` characters (the end when fewer exist).
size_t SkipChars(std::string_view text, size_t at, size_t count) {
  while (count > 0 && at < text.size()) {
    at += CharLengthAt(text, at);
    --count;
  }
  return at;
}

// Characters that start before `offset`.
int32_t CharsBefore(std::string_view text, size_t offset) {
  int32_t count = 0;
  for (size_t at = 0; at < offset; at += CharLengthAt(text, at)) ++count;
  return count;
}

int32_t FindBytes(std::string_view s, std::string_view t) {
  size_t found = s.find(t);
  return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
}

// Compares up to the first zero byte of either text, like the C library.
std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

char PadByte(std::span<ScriptValue> args) {
  if (args.size() < 3) return ' ';
  ArgText pad(args[2]);
  return pad.view().empty() ? ' ' : pad.view()[0];
}

std::string_view TrimSet(std::span<ScriptValue> args, std::string& storage) {
  if (args.size() >= 2) storage = ArgText(args[1]).view();
  return storage.empty() ? std::string_view(" ") : std::string_view(storage);
}

std::string ReplaceAll(std::string_view s, std::string_view t, std::string_view u) {
  // An empty search text would never advance the scan: the text stays.
  if (t.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t at = 0;
  for (size_t found = s.find(t); found != std::string_view::npos; found = s.find(t, at)) {
    out.append(s, at, found - at);
    out.append(u);
    at = found + t.size();
  }
  out.append(s, at);
  return out;
}

}  // namespace

// ---- lengths, conversions, searches -----------------------------------------

ScriptValue BuiltinStrLen(BuiltinContext&, std::span<ScriptValue> args) {
  return MakeInteger(static_cast<int32_t>(ArgText(args[0]).view().size()));
}

ScriptValue BuiltinMbStrLen(BuiltinContext&, std::span<ScriptValue> args) {
  return MakeInteger(static_cast<int32_t>(CharCount(ArgText(args[0]).view())));
}

ScriptValue BuiltinToInt(BuiltinContext&, std::span<ScriptValue> args) { return MakeInteger(Int(args[0])); }

ScriptValue BuiltinToStr(BuiltinContext&, std::span<ScriptValue> args) { return MakeString(ToString(args[0])); }

ScriptValue BuiltinToStr2(BuiltinContext&, std::span<ScriptValue> args) {
  uint32_t n = static_cast<uint32_t>(Int(args[0]));
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + (n & 1)));
    n >>= 1;
  } while (n != 0);
  return MakeString(digits);
}

ScriptValue BuiltinToStr16(BuiltinContext&, std::span<ScriptValue> args) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  uint32_t n = static_cast<uint32_t>(Int(args[0])) & 0xFF;
  std::string digits;
  if (n >= 16) digits.push_back(kHex[n >> 4]);
  digits.push_back(kHex[n & 15]);
  return MakeString(digits);
}

ScriptValue BuiltinStrStr(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  return MakeInteger(FindBytes(Text(s), Text(t)));
}

ScriptValue BuiltinStrStrI(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  return MakeInteger(FindBytes(UpperAscii(Text(s)), UpperAscii(Text(t))));
}

ScriptValue BuiltinMbStrStr(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  int32_t found = FindBytes(Text(s), Text(t));
  return MakeInteger(found < 0 ? -1 : CharsBefore(Text(s), static_cast<size_t>(found)));
}

ScriptValue BuiltinMbStrStrI(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  int32_t found = FindBytes(UpperAscii(Text(s)), UpperAscii(Text(t)));
  return MakeInteger(found < 0 ? -1 : CharsBefore(Text(s), static_cast<size_t>(found)));
}

ScriptValue BuiltinStrCmp(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  int c = UpToZero(Text(s)).compare(UpToZero(Text(t)));
  return MakeInteger(c < 0 ? -1 : (c > 0 ? 1 : 0));
}

// The C runtime's case-blind compare: the difference of the first pair of
// bytes that differ once lower-cased.
ScriptValue BuiltinStrCmpI(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  std::string a = LowerAscii(UpToZero(Text(s)));
  std::string b = LowerAscii(UpToZero(Text(t)));
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i <= common; ++i) {
    int ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    int cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    if (ca != cb || ca == 0) return MakeInteger(ca - cb);
  }
  return MakeInteger(0);
}

ScriptValue BuiltinStartsWith(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  return Bool(Text(s).starts_with(Text(t)));
}

ScriptValue BuiltinEndsWith(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  return Bool(Text(s).ends_with(Text(t)));
}

// ---- cutting ----------------------------------------------------------------

ScriptValue BuiltinLeft(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t n = Int(args[1]);
  if (n < 0) return MakeString(std::string(Text(s)));
  return MakeString(std::string(Text(s).substr(0, static_cast<size_t>(n))));
}

// A negative count puts the cut beyond the end of the text; as the string
// library's range error it ends the run (reported as an unknown error).
ScriptValue BuiltinRight(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t n = Int(args[1]);
  if (n < 0) throw std::out_of_range("Right: negative count");
  size_t length = Text(s).size();
  size_t count = std::min(static_cast<size_t>(n), length);
  return MakeString(std::string(Text(s).substr(length - count)));
}

ScriptValue BuiltinMid(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t position = std::max(Int(args[1]), 1);
  int32_t count = Int(args[2]);
  size_t start = static_cast<size_t>(position) - 1;
  if (start >= Text(s).size()) return MakeString({});
  size_t take = count < 0 ? std::string_view::npos : static_cast<size_t>(count);
  return MakeString(std::string(Text(s).substr(start, take)));
}

ScriptValue BuiltinMbLeft(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t n = Int(args[1]);
  if (n <= 0) return MakeString({});
  return MakeString(std::string(Text(s).substr(0, SkipChars(Text(s), 0, static_cast<size_t>(n)))));
}

ScriptValue BuiltinMbRight(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t n = Int(args[1]);
  if (n <= 0) return MakeString({});
  size_t total = CharCount(Text(s));
  if (static_cast<size_t>(n) >= total) return MakeString(std::string(Text(s)));
  return MakeString(std::string(Text(s).substr(SkipChars(Text(s), 0, total - static_cast<size_t>(n)))));
}

ScriptValue BuiltinMbMid(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t position = std::max(Int(args[1]), 1);
  int32_t count = Int(args[2]);
  if (count <= 0) return MakeString({});
  size_t start = SkipChars(Text(s), 0, static_cast<size_t>(position) - 1);
  size_t end = SkipChars(Text(s), start, static_cast<size_t>(count));
  return MakeString(std::string(Text(s).substr(start, end - start)));
}

// ---- padding, trimming, case ------------------------------------------------

ScriptValue BuiltinPadLeft(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t width = Int(args[1]);
  std::string out;
  if (width >= 0 && static_cast<size_t>(width) > Text(s).size()) {
    out.assign(static_cast<size_t>(width) - Text(s).size(), PadByte(args));
  }
  out.append(Text(s));
  return MakeString(std::move(out));
}

ScriptValue BuiltinPadRight(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t width = Int(args[1]);
  std::string out(Text(s));
  if (width >= 0 && static_cast<size_t>(width) > Text(s).size()) {
    out.append(static_cast<size_t>(width) - Text(s).size(), PadByte(args));
  }
  return MakeString(std::move(out));
}

// A text made only of set bytes stays as it is rather than becoming empty.
ScriptValue BuiltinTrimLeft(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  std::string storage;
  size_t first = Text(s).find_first_not_of(TrimSet(args, storage));
  if (first == std::string_view::npos) return MakeString(std::string(Text(s)));
  return MakeString(std::string(Text(s).substr(first)));
}

ScriptValue BuiltinTrimRight(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  std::string storage;
  size_t last = Text(s).find_last_not_of(TrimSet(args, storage));
  if (last == std::string_view::npos) return MakeString(std::string(Text(s)));
  return MakeString(std::string(Text(s).substr(0, last + 1)));
}

ScriptValue BuiltinStrUpr(BuiltinContext&, std::span<ScriptValue> args) {
  return MakeString(UpperAscii(ArgText(args[0]).view()));
}

ScriptValue BuiltinStrLwr(BuiltinContext&, std::span<ScriptValue> args) {
  return MakeString(LowerAscii(ArgText(args[0]).view()));
}

// ---- bytes and characters ---------------------------------------------------

ScriptValue BuiltinGetAsciiCode(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  int32_t at = Int(args[1]);
  if (at < 0 || static_cast<size_t>(at) >= Text(s).size()) return MakeInteger(-1);
  return MakeInteger(static_cast<signed char>(Text(s)[static_cast<size_t>(at)]));
}

ScriptValue BuiltinChr(BuiltinContext&, std::span<ScriptValue> args) {
  char byte = static_cast<char>(static_cast<uint8_t>(Int(args[0])));
  return MakeString(byte == '\0' ? std::string() : std::string(1, byte));
}

ScriptValue BuiltinReplace(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  std::string u = args.size() >= 3 ? std::string(ArgText(args[2]).view()) : std::string();
  return MakeString(ReplaceAll(Text(s), Text(t), u));
}

ScriptValue BuiltinConvChar(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]);
  return MakeString(ConvCharUtf8(Text(s), static_cast<uint32_t>(Int(args[1]))));
}

ScriptValue BuiltinLcLite(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  std::string_view text = Text(s);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.append(Text(t));
    } else if (text[i] == '\n') {
      out.append(Text(t));
    } else {
      out.push_back(text[i]);
    }
  }
  return MakeString(std::move(out));
}

ScriptValue BuiltinInsCrLf(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  int32_t every = Int(args[2]);
  std::string_view text = Text(s);
  if (every <= 0) return MakeString(std::string(text));
  std::string out;
  int32_t in_run = 0;
  for (size_t at = 0; at < text.size();) {
    size_t length = CharLengthAt(text, at);
    out.append(text.substr(at, length));
    at += length;
    if (++in_run == every) {
      in_run = 0;
      if (at < text.size()) out.append(Text(t));
    }
  }
  return MakeString(std::move(out));
}

ScriptValue BuiltinDelCtrlC(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText s(args[0]), t(args[1]);
  std::string out;
  out.reserve(Text(s).size());
  for (char c : Text(s)) {
    unsigned char byte = static_cast<unsigned char>(c);
    bool control = (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F;
    if (control) {
      out.append(Text(t));
    } else {
      out.push_back(c);
    }
  }
  return MakeString(std::move(out));
}

ScriptValue BuiltinFormat(BuiltinContext&, std::span<ScriptValue> args) {
  ArgText format(args[0]);
  std::vector<FormatArgument> rest;
  rest.reserve(args.size() - 1);
  for (const ScriptValue& value : args.subspan(1)) rest.push_back({Int(value), ToString(value)});
  return MakeString(FormatText(Text(format), rest));
}

// ---- splitting, joining, type -----------------------------------------------

ScriptValue BuiltinSplit(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[2], "split", name)) return MakeInteger(-1);
  std::string text(ArgText(args[0]).view());
  std::string delimiter(ArgText(args[1]).view());
  ScriptValue& target = context.variables().ref(name);
  target = ScriptValue{};
  target.isArray = true;
  target.text = name;
  auto add = [&target](std::string_view piece) { target.elements.push_back(MakeString(std::string(piece))); };
  std::string_view rest = text;
  if (!delimiter.empty()) {
    for (size_t found = rest.find(delimiter); found != std::string_view::npos; found = rest.find(delimiter)) {
      add(rest.substr(0, found));
      rest.remove_prefix(found + delimiter.size());
    }
  }
  add(rest);
  return MakeInteger(static_cast<int32_t>(target.elements.size()));
}

ScriptValue BuiltinJoin(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "join", name)) return MakeString({});
  std::string delimiter = args.size() >= 2 ? std::string(ArgText(args[1]).view()) : std::string();
  VariableStore& store = context.variables();
  if (!store.contains(name)) return MakeString({});
  const ScriptValue& array = store.ref(name);
  if (!array.isArray) return MakeString({});
  std::string out;
  for (size_t i = 0; i < array.elements.size(); ++i) {
    if (i > 0) out.append(delimiter);
    out.append(ArgText(array.elements[i]).view());
  }
  return MakeString(std::move(out));
}

ScriptValue BuiltinTypeOf(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name = UpperAscii(ArgText(args[0]).view());
  if (!IsValidArrayName(name)) return MakeString("invalid");
  VariableStore& store = context.variables();
  if (!store.contains(name)) return MakeString("undefined");
  const ScriptValue& value = store.ref(name);
  if (value.isArray) return MakeString("array");
  return MakeString(value.isString ? "string" : "int");
}

// ---- integers ---------------------------------------------------------------

ScriptValue BuiltinAbs(BuiltinContext&, std::span<ScriptValue> args) {
  int32_t n = Int(args[0]);
  return MakeInteger(n < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(n)) : n);
}

ScriptValue BuiltinMax(BuiltinContext&, std::span<ScriptValue> args) {
  int32_t best = Int(args[0]);
  for (const ScriptValue& value : args.subspan(1)) best = std::max(best, Int(value));
  return MakeInteger(best);
}

ScriptValue BuiltinMin(BuiltinContext&, std::span<ScriptValue> args) {
  int32_t best = Int(args[0]);
  for (const ScriptValue& value : args.subspan(1)) best = std::min(best, Int(value));
  return MakeInteger(best);
}

ScriptValue BuiltinClamp(BuiltinContext&, std::span<ScriptValue> args) {
  int32_t v = Int(args[0]), low = Int(args[1]), high = Int(args[2]);
  if (v < low) return MakeInteger(low);
  return MakeInteger(v > high ? high : v);
}

// The root of a negative number is undefined; its truncation is the
// processor's "integer indefinite", the smallest integer.
ScriptValue BuiltinSqrt(BuiltinContext&, std::span<ScriptValue> args) {
  int32_t n = Int(args[0]);
  if (n < 0) return MakeInteger(INT32_MIN);
  return MakeInteger(static_cast<int32_t>(std::sqrt(static_cast<double>(n))));
}

ScriptValue BuiltinRand(BuiltinContext&, std::span<ScriptValue>) { return MakeInteger(NextScriptRandom()); }

ScriptValue BuiltinSrand(BuiltinContext& context, std::span<ScriptValue> args) {
  uint32_t seed = 0;
  if (!args.empty()) {
    seed = static_cast<uint32_t>(Int(args[0]));
  } else if (ScriptSystem* system = context.system()) {
    seed = system->TickCount();
  } else {
    auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    seed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
  }
  SeedScriptRandom(seed);
  return MakeInteger(static_cast<int32_t>(seed));
}
