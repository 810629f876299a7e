#include "script/format.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::string_view kFlagBytes = "-+ 0#";

// Widths and precisions are read with saturation: anything this large is cut
// to the conversion limit long before it matters.
constexpr size_t kNumberCeiling = 1000000;

// A conversion from `%` to its conversion byte.
struct Conversion {
  std::string_view whole;
  std::string flags;
  bool has_width = false;
  size_t width = 0;
  bool has_precision = false;
  size_t precision = 0;
  char type = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t ReadNumber(std::string_view format, size_t& at) {
  size_t value = 0;
  while (at < format.size() && IsDigit(format[at])) {
    value = std::min(kNumberCeiling, value * 10 + static_cast<size_t>(format[at] - '0'));
    ++at;
  }
  return value;
}

// Parses the conversion that starts at `start` (a `%`). False when the
// format ends inside it.
bool ParseConversion(std::string_view format, size_t start, Conversion& out) {
  size_t at = start + 1;
  while (at < format.size() && kFlagBytes.find(format[at]) != std::string_view::npos) {
    out.flags.push_back(format[at++]);
  }
  if (at < format.size() && IsDigit(format[at])) {
    out.has_width = true;
    out.width = ReadNumber(format, at);
  }
  if (at < format.size() && format[at] == '.') {
    ++at;
    out.has_precision = true;
    out.precision = ReadNumber(format, at);
  }
  if (at >= format.size()) return false;
  out.type = format[at];
  out.whole = format.substr(start, at - start + 1);
  return true;
}

bool IsIntegerType(char type) {
  return type == 'd' || type == 'i' || type == 'u' || type == 'o' || type == 'x' || type == 'X';
}

void AppendCapped(std::string& out, std::string_view piece) {
  out.append(piece.substr(0, kFormatConversionLimit));
}

std::string BuildSpec(const Conversion& c, size_t width, bool with_width, size_t precision) {
  std::string conversion_text(1, '%');
  conversion_text.append(c.flags);
  if (with_width) conversion_text += std::to_string(width);
  if (c.has_precision) {
    conversion_text.push_back('.');
    conversion_text += std::to_string(precision);
  }
  conversion_text.push_back(c.type);
  return conversion_text;
}

int PrintInteger(char* buffer, size_t size, const std::string& conversion_text, char type, int32_t value) {
  if (type == 'd' || type == 'i') return std::snprintf(buffer, size, conversion_text.c_str(), static_cast<int>(value));
  return std::snprintf(buffer, size, conversion_text.c_str(), static_cast<unsigned>(value));
}

// "%d", "%5d", "%05d" and the like, the common memo conversions, written
// here exactly as the C library writes them. False for anything else.
bool AppendPlainDecimal(std::string& out, const Conversion& c, int32_t value) {
  constexpr size_t kPlainWidthLimit = 64;
  if ((c.type != 'd' && c.type != 'i') || c.has_precision || c.width > kPlainWidthLimit) return false;
  const bool zero_fill = c.flags == "0";
  if (!c.flags.empty() && !zero_fill) return false;
  char digits[10];
  size_t count = 0;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const size_t length = count + (value < 0 ? 1 : 0);
  const size_t pad = c.width > length ? c.width - length : 0;
  if (!zero_fill) out.append(pad, ' ');
  if (value < 0) out.push_back('-');
  if (zero_fill) out.append(pad, '0');
  while (count > 0) out.push_back(digits[--count]);
  return true;
}

// Integer conversions go to the C library. Only the first 4095 bytes are
// kept, so a huge precision or width is first reduced to the point beyond
// which the kept bytes cannot change; the library never sees it.
void AppendInteger(std::string& out, const Conversion& c, int32_t value) {
  if (AppendPlainDecimal(out, c, value)) return;
  constexpr size_t kDigitsRoom = kFormatConversionLimit + 16;
  size_t precision = c.precision;
  size_t width = c.width;
  if (c.has_precision && precision > kDigitsRoom) {
    size_t cut = precision - kDigitsRoom;
    precision -= cut;
    width = width > cut ? width - cut : 0;
  }
  char buffer[kFormatConversionLimit + 1];
  int content = PrintInteger(buffer, sizeof buffer, BuildSpec(c, 0, false, precision), c.type, value);
  if (content < 0) return;
  width = std::min(width, static_cast<size_t>(content) + kFormatConversionLimit);
  int length = PrintInteger(buffer, sizeof buffer, BuildSpec(c, width, c.has_width, precision), c.type, value);
  if (length < 0) return;
  AppendCapped(out, std::string_view(buffer, std::min(static_cast<size_t>(length), kFormatConversionLimit)));
}

// Text conversions are done here rather than by the C library, whose
// handling of the `0` flag with `s` differs between runtimes: the text ends
// at its first zero byte, the precision cuts bytes, the width pads with
// spaces (on the right with `-`).
void AppendText(std::string& out, const Conversion& c, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (c.has_precision) text = text.substr(0, c.precision);
  size_t pad = c.width > text.size() ? c.width - text.size() : 0;
  pad = std::min(pad, kFormatConversionLimit);
  std::string piece;
  bool left = c.flags.find('-') != std::string::npos;
  if (!left) piece.append(pad, ' ');
  piece.append(text.substr(0, kFormatConversionLimit));
  if (left) piece.append(pad, ' ');
  AppendCapped(out, piece);
}

}  // namespace

std::string FormatText(std::string_view format, std::span<const FormatArgument> arguments) {
  std::string out;
  size_t next = 0;
  size_t at = 0;
  while (at < format.size()) {
    char byte = format[at];
    if (byte != '%') {
      out.push_back(byte);
      ++at;
      continue;
    }
    if (at + 1 < format.size() && format[at + 1] == '%') {
      out.push_back('%');
      at += 2;
      continue;
    }
    Conversion c;
    if (!ParseConversion(format, at, c)) {
      out.append(format.substr(at));
      break;
    }
    at += c.whole.size();
    if (next < arguments.size() && IsIntegerType(c.type)) {
      AppendInteger(out, c, arguments[next++].integer);
    } else if (next < arguments.size() && c.type == 's') {
      AppendText(out, c, arguments[next++].text);
    } else {
      out.append(c.whole);
    }
  }
  return out;
}
