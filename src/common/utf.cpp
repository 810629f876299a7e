#include "common/utf.h"
#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; advances i past what it consumed.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t c;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  return c;
}

}  // namespace

namespace {

// The code point at text[i], advancing i past it; a surrogate without its
// other half is U+FFFD.
char32_t DecodeUtf16(std::u16string_view text, std::size_t& i) {
  const char32_t c = text[i++];
  if (c < 0xD800 || c > 0xDFFF) return c;
  if (c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
    return 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
  }
  return kReplacement;
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

char* PutUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

// Measured first and then written in place: texts pass through here on every
// host call, clipboard read and file load, and are mostly ASCII.
std::string Utf16ToUtf8(std::u16string_view text) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < 0x80) {
      ++length, ++i;
    } else {
      length += Utf8Length(DecodeUtf16(text, i));
    }
  }
  std::string out(length, '\0');
  char* put = out.data();
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < 0x80) {
      *put++ = static_cast<char>(text[i++]);
    } else {
      put = PutUtf8(put, DecodeUtf16(text, i));
    }
  }
  return out;
}

// A UTF-16 text never has more units than its UTF-8 form has bytes (four
// bytes make a surrogate pair, anything malformed one U+FFFD per byte or
// more), so the text is written into room of that size and cut to fit.
std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  char16_t* put = out.data();
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      *put++ = byte;
      ++i;
      continue;
    }
    char32_t c = DecodeUtf8(text, i);
    if (c < 0x10000) {
      *put++ = static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      *put++ = static_cast<char16_t>(0xD800 + (c >> 10));
      *put++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  out.resize(static_cast<std::size_t>(put - out.data()));
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    // Eight ASCII bytes at a time.
    if (bytes.size() - i >= 8) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if ((word & 0x8080808080808080u) == 0) {
        i += 8;
        continue;
      }
    }
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int extra;
    uint32_t min;
    uint32_t code;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1, min = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, min = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000, code = lead & 0x07;
    } else {
      return false;
    }
    if (bytes.size() - i <= std::size_t(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += std::size_t(extra) + 1;
  }
  return true;
}

FoundMark FindByteOrderMark(std::string_view bytes) {
  if (bytes.substr(0, 2) == std::string_view("\xFF\xFE", 2)) return {ByteOrderMark::kUtf16Le, 2};
  if (bytes.substr(0, 2) == std::string_view("\xFE\xFF", 2)) return {ByteOrderMark::kUtf16Be, 2};
  if (bytes.substr(0, 3) == std::string_view("\xEF\xBB\xBF", 3)) return {ByteOrderMark::kUtf8, 3};
  return {ByteOrderMark::kNone, 0};
}

std::u16string Utf16FromBytes(std::string_view bytes, bool big_endian, bool stop_at_nul) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    const char16_t unit = big_endian ? char16_t((first << 8) | second) : char16_t(first | (second << 8));
    if (unit == 0 && stop_at_nul) break;
    text.push_back(unit);
  }
  return text;
}
