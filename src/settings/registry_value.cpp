#include "settings/registry_value.h"

#include <climits>
#include <string_view>

namespace {

std::u16string TextOfValue(const uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const char16_t c = char16_t(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

// The integer read takes the value into a zeroed buffer one byte longer than
// the value, so a last odd byte is a character whose high byte is zero.
std::u16string NumberTextOfValue(const uint8_t* data, std::size_t size) {
  std::u16string text = TextOfValue(data, size);
  if (size % 2 == 1 && text.size() == size / 2 && data[size - 1] != 0) text += char16_t(data[size - 1]);
  return text;
}

bool ParseWholeDecimal(std::u16string_view text, int32_t& value) {
  if (text.empty()) return false;
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == u'+' || text[0] == u'-') {
    negative = text[0] == u'-';
    i = 1;
  }
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    if (magnitude <= int64_t(INT32_MAX) + 1) magnitude = magnitude * 10 + (text[i] - u'0');
  }
  int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > INT32_MAX) signed_value = INT32_MAX;
  if (signed_value < INT32_MIN) signed_value = INT32_MIN;
  value = int32_t(signed_value);
  return true;
}

uint8_t ByteAt(const uint8_t* data, std::size_t size, std::size_t i) { return i < size ? data[i] : 0; }

}  // namespace

bool IsRegistryTextType(uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

int32_t RegistryIntegerFromValue(uint32_t type, const uint8_t* data, std::size_t size, int32_t fallback) {
  if (IsRegistryTextType(type)) {
    int32_t value = 0;
    return ParseWholeDecimal(NumberTextOfValue(data, size), value) ? value : fallback;
  }
  const uint32_t b0 = ByteAt(data, size, 0), b1 = ByteAt(data, size, 1);
  const uint32_t b2 = ByteAt(data, size, 2), b3 = ByteAt(data, size, 3);
  if (type == kRegDword || type == kRegBinary || type == kRegQword) {
    return int32_t(b0 | (b1 << 8) | (b2 << 16) | (b3 << 24));
  }
  if (type == kRegDwordBigEndian) return int32_t((b0 << 24) | (b1 << 16) | (b2 << 8) | b3);
  return fallback;
}

bool RegistryStringFromValue(uint32_t type, const uint8_t* data, std::size_t size, std::size_t capacity,
                             std::u16string& out) {
  if (!IsRegistryTextType(type) || capacity == 0) return false;
  // The read buffer holds twice the capacity in bytes; a larger value does not fit.
  if (size > 2 * capacity) return false;
  std::u16string text = TextOfValue(data, size);
  if (text.size() >= capacity) return false;
  out = std::move(text);
  return true;
}

std::u16string::size_type RegistryStringByteSize(std::u16string_view text) { return (text.size() + 1) * 2; }
