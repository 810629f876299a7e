#include "settings/memory_store.h"

#include "settings/ini_format.h"
#include "settings/registry_value.h"
#include "settings/store_messages.h"

namespace {

constexpr std::u16string_view kColorTableKey = u"CUSTCOLORS";

std::u16string DecimalText(int32_t value) {
  const std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}

std::vector<uint8_t> ColorTableBytes(const CustomColors& colors) {
  std::vector<uint8_t> bytes;
  for (uint32_t c : colors) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(c >> (8 * i)));
  }
  return bytes;
}

CustomColors ColorTableFromBytes(const uint8_t* bytes) {
  CustomColors colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const uint8_t* p = bytes + 4 * i;
    colors[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  return colors;
}

}  // namespace

std::u16string MemoryStore::Fold(std::u16string_view key) {
  std::u16string folded(key);
  for (char16_t& c : folded) {
    if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
  }
  return folded;
}

int32_t MemoryStore::ReadInteger(std::u16string_view key, int32_t fallback) {
  if (kind_ == Kind::Ini) {
    const auto it = ini_.find(Fold(key));
    return it == ini_.end() ? fallback : ParseProfileInt(IniValueAsRead(it->second), fallback);
  }
  const RegistryValue* v = FindRegistryValue(key);
  return v ? RegistryIntegerFromValue(v->type, v->bytes.data(), v->bytes.size(), fallback) : fallback;
}

bool MemoryStore::ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) {
  if (capacity == 0) return false;
  if (kind_ == Kind::Ini) {
    const auto it = ini_.find(Fold(key));
    if (it == ini_.end()) return false;
    std::u16string text = DecodeIniLineBreaks(IniValueAsRead(it->second).substr(0, capacity - 1));
    if (text.empty()) return false;
    out = std::move(text);
    return true;
  }
  const RegistryValue* v = FindRegistryValue(key);
  return v && RegistryStringFromValue(v->type, v->bytes.data(), v->bytes.size(), capacity, out);
}

bool MemoryStore::WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) {
  write_log_.emplace_back(key);
  if (WriteFails(key)) {
    AppendFailure(key, errors);
    return false;
  }
  if (kind_ == Kind::Ini) {
    SetIniText(key, DecimalText(value));
  } else {
    SetRegistryDword(key, value);
  }
  return true;
}

bool MemoryStore::WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) {
  write_log_.emplace_back(key);
  if (WriteFails(key)) {
    AppendFailure(key, errors);
    return false;
  }
  if (kind_ == Kind::Ini) {
    SetIniText(key, QuoteIniValue(EncodeIniLineBreaks(text)));
  } else {
    SetRegistryString(key, text);
  }
  return true;
}

bool MemoryStore::ReadColorTable(CustomColors& out) {
  uint8_t bytes[kCustomColorCount * 4];
  if (kind_ == Kind::Ini) {
    const auto text = IniText(kColorTableKey);
    if (!text || !DecodeProfileStruct(*text, bytes, sizeof bytes)) return false;
    out = ColorTableFromBytes(bytes);
    return true;
  }
  const RegistryValue* v = FindRegistryValue(kColorTableKey);
  if (!v || v->type != kRegBinary || v->bytes.size() != sizeof bytes) return false;
  out = ColorTableFromBytes(v->bytes.data());
  return true;
}

bool MemoryStore::WriteColorTable(const CustomColors& colors) {
  write_log_.emplace_back(kColorTableKey);
  if (WriteFails(kColorTableKey)) return false;
  const std::vector<uint8_t> bytes = ColorTableBytes(colors);
  if (kind_ == Kind::Ini) {
    SetIniText(kColorTableKey, EncodeProfileStruct(bytes.data(), bytes.size()));
  } else {
    SetRegistryValue(kColorTableKey, kRegBinary, bytes);
  }
  return true;
}

void MemoryStore::SetIniText(std::u16string_view key, std::u16string_view text) { ini_[Fold(key)] = text; }

std::optional<std::u16string> MemoryStore::IniText(std::u16string_view key) const {
  const auto it = ini_.find(Fold(key));
  if (it == ini_.end()) return std::nullopt;
  return it->second;
}

void MemoryStore::SetRegistryValue(std::u16string_view key, uint32_t type, std::vector<uint8_t> bytes) {
  registry_[Fold(key)] = RegistryValue{type, std::move(bytes)};
}

void MemoryStore::SetRegistryString(std::u16string_view key, std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(uint8_t(c));
    bytes.push_back(uint8_t(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  SetRegistryValue(key, kRegSz, std::move(bytes));
}

void MemoryStore::SetRegistryDword(std::u16string_view key, int32_t value) {
  const uint32_t v = uint32_t(value);
  SetRegistryValue(key, kRegDword, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

const MemoryStore::RegistryValue* MemoryStore::FindRegistryValue(std::u16string_view key) const {
  const auto it = registry_.find(Fold(key));
  return it == registry_.end() ? nullptr : &it->second;
}

void MemoryStore::Erase(std::u16string_view key) {
  ini_.erase(Fold(key));
  registry_.erase(Fold(key));
}

void MemoryStore::FailWritesOf(std::u16string_view key) { failing_keys_.insert(Fold(key)); }

bool MemoryStore::WriteFails(std::u16string_view key) const {
  return fail_all_ || failing_keys_.count(Fold(key)) != 0;
}

void MemoryStore::AppendFailure(std::u16string_view key, std::u16string& errors) const {
  if (kind_ == Kind::Ini) {
    AppendErrorLine(errors, IniWriteErrorLine(kIniFilePath, key, language_));
  } else if (fail_all_) {
    AppendErrorLine(errors, RegistryOpenErrorLine(kRegistrySubkey, language_));
  } else {
    AppendErrorLine(errors, RegistryWriteErrorLine(kRegistrySubkey, key, language_));
  }
}
