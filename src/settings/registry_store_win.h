#pragma once
// The registry store: the wrapper REGW (one object per access, at most one
// open key) and the settings store over it.

#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/store_messages.h"

class REGW {
 public:
  // OpenKey flags: reading opens with KEY_READ and never creates; writing
  // opens with KEY_ALL_ACCESS and creates the key when it is missing.
  static constexpr int kCreate = 1;
  static constexpr int kReadOnly = 2;

  explicit REGW(Language language) : language_(language) {}
  ~REGW();
  REGW(const REGW&) = delete;
  REGW& operator=(const REGW&) = delete;

  bool OpenKey(const wchar_t* subkey, int flags);
  bool CloseKey();
  bool is_open() const { return key_ != nullptr; }

  // Only text values that fit `capacity` characters with their terminator
  // are taken; the buffer is empty on failure.
  bool ReadStringW(const wchar_t* name, wchar_t* buffer, std::size_t capacity);
  bool ReadStringW(const wchar_t* name, std::size_t capacity, std::u16string& out);
  int32_t ReadIntegerW(const wchar_t* name, int32_t fallback);
  bool WriteStringW(const wchar_t* name, std::u16string_view text);
  bool WriteIntegerW(const wchar_t* name, int32_t value);
  bool WriteBinaryW(const wchar_t* name, const CustomColors& colors);
  // A REG_BINARY value of exactly 64 bytes.
  bool ReadBinaryW(const wchar_t* name, CustomColors& colors);

 private:
  void Warn(RegwWarning warning);
  // Type and bytes of a value; false when it is missing or larger than max_bytes.
  bool QueryValue(const wchar_t* name, std::size_t max_bytes, DWORD& type, std::vector<uint8_t>& bytes);

  HKEY key_ = nullptr;
  Language language_;
};

class RegistrySettingsStore : public SettingsStore {
 public:
  explicit RegistrySettingsStore(Language language, std::u16string subkey = std::u16string(kRegistrySubkey))
      : language_(language), subkey_(std::move(subkey)) {}

  int32_t ReadInteger(std::u16string_view key, int32_t fallback) override;
  bool ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) override;
  bool WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) override;
  bool WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) override;
  bool ReadColorTable(CustomColors& out) override;
  bool WriteColorTable(const CustomColors& colors) override;

  const std::u16string& subkey() const { return subkey_; }

 private:
  template <class WriteFn>
  bool Write(std::u16string_view key, std::u16string& errors, WriteFn write);

  Language language_;
  std::u16string subkey_;
};

// True when the key exists and can be opened for reading (it is not created).
bool RegistryKeyExists(const std::u16string& subkey);
