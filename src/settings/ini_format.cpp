#include "settings/ini_format.h"

#include <algorithm>
#include <vector>

namespace {

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

char16_t HexDigit(unsigned v) { return char16_t(v < 10 ? u'0' + v : u'A' + (v - 10)); }

// The profile integer read looks at no more than this many characters.
constexpr std::size_t kProfileIntChars = 29;

bool IsProfileBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\x1a'; }

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

}  // namespace

std::u16string QuoteIniValue(std::u16string_view text) {
  if (text.empty()) return {};
  const bool blank_edge = IsProfileBlank(text.front()) || IsProfileBlank(text.back());
  const bool quoted = text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
  if (!blank_edge && !quoted) return std::u16string(text);
  std::u16string out = u"\"";
  out += text;
  out += u'"';
  return out;
}

std::u16string_view IniValueAsRead(std::u16string_view raw) {
  while (!raw.empty() && IsProfileBlank(raw.front())) raw.remove_prefix(1);
  while (!raw.empty() && IsProfileBlank(raw.back())) raw.remove_suffix(1);
  if (raw.size() >= 2 && IsQuote(raw.front()) && raw.back() == raw.front()) raw = raw.substr(1, raw.size() - 2);
  return raw;
}

std::u16string EncodeIniLineBreaks(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c == u'\r' || c == u'\n') c = u'\x0001';
  }
  return out;
}

std::u16string DecodeIniLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\x0001') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == u'\x0001') {
      out += u"\r\n";
      ++i;
    } else {
      out += u'\n';
    }
  }
  return out;
}

int32_t ParseProfileInt(std::u16string_view text, int32_t fallback) {
  if (text.empty()) return fallback;
  text = text.substr(0, std::min(text.size(), kProfileIntChars));
  std::size_t i = 0;
  while (i < text.size() && text[i] <= u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  unsigned radix = 10;
  if (i + 1 < text.size() && text[i] == u'0') {
    const char16_t p = text[i + 1];
    if (p == u'x' || p == u'X') radix = 16;
    if (p == u'o' || p == u'O') radix = 8;
    if (p == u'b' || p == u'B') radix = 2;
    if (radix != 10) i += 2;
  }
  uint32_t value = 0;  // accumulates with 32-bit wrap-around, as the platform does
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i]);
    if (d >= int(radix)) break;
    value = value * radix + uint32_t(d);
  }
  return int32_t(negative ? 0u - value : value);
}

std::u16string EncodeProfileStruct(const uint8_t* bytes, std::size_t size) {
  std::u16string out;
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    out += HexDigit(bytes[i] >> 4);
    out += HexDigit(bytes[i] & 0xF);
    sum += bytes[i];
  }
  out += HexDigit((sum >> 4) & 0xF);
  out += HexDigit(sum & 0xF);
  return out;
}

bool DecodeProfileStruct(std::u16string_view text, uint8_t* bytes, std::size_t size) {
  if (text.size() != 2 * (size + 1)) return false;
  // Decoded aside so that a damaged value leaves the caller's bytes alone.
  std::vector<uint8_t> decoded(size + 1);
  for (std::size_t i = 0; i <= size; ++i) {
    const int hi = DigitValue(text[2 * i]);
    const int lo = DigitValue(text[2 * i + 1]);
    if (hi > 15 || lo > 15) return false;
    decoded[i] = uint8_t(hi * 16 + lo);
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum += decoded[i];
  if (decoded[size] != uint8_t(sum & 0xFF)) return false;
  std::copy(decoded.begin(), decoded.end() - 1, bytes);
  return true;
}
