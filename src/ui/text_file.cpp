#include "ui/text_file.h"

#include "common/utf.h"

namespace {

std::string_view UpToNul(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

std::u16string Utf16Units(std::string_view bytes, bool big_endian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = uint8_t(bytes[big_endian ? i + 1 : i]);
    const auto hi = uint8_t(bytes[big_endian ? i : i + 1]);
    const char16_t unit = char16_t(lo | (hi << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto c = uint8_t(bytes[i]);
    size_t more = 0;
    uint32_t min = 0, code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      more = 1, min = 0x80, code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      more = 2, min = 0x800, code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      more = 3, min = 0x10000, code = c & 0x07;
    } else {
      return false;
    }
    if (i + more >= bytes.size()) return false;  // cut short
    for (size_t k = 1; k <= more; ++k) {
      const auto t = uint8_t(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += more + 1;
  }
  return true;
}

EncodingChoice ChooseEncoding(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return {TextEncoding::kUtf16Le, 2};
  if (StartsWith(bytes, "\xFE\xFF")) return {TextEncoding::kUtf16Be, 2};
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return {TextEncoding::kUtf8, 3};
  return {IsValidUtf8(UpToNul(bytes)) ? TextEncoding::kUtf8 : TextEncoding::kAnsi, 0};
}

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out.push_back(u'\r');
    out.push_back(text[i]);
  }
  return out;
}

int DecodeTextFile(std::string_view bytes, const AnsiDecoder& ansi, std::u16string& text) {
  const EncodingChoice choice = ChooseEncoding(bytes);
  const std::string_view body = bytes.substr(choice.mark_size);
  std::u16string decoded;
  switch (choice.encoding) {
    case TextEncoding::kUtf16Le:
      // A UTF-16LE file is taken exactly as it is written.
      text = Utf16Units(body, false);
      return kLoadOk;
    case TextEncoding::kUtf16Be: decoded = Utf16Units(body, true); break;
    case TextEncoding::kUtf8: decoded = Utf8ToUtf16(UpToNul(body)); break;
    case TextEncoding::kAnsi:
      if (!ansi || !ansi(UpToNul(body), decoded)) return kLoadConversionFailed;
      break;
  }
  text = WithCrLf(decoded);
  return kLoadOk;
}

std::string EncodeUtf8WithMark(std::u16string_view text) { return "\xEF\xBB\xBF" + Utf16ToUtf8(text); }
