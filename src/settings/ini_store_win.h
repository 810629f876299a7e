#pragma once
// The INI store over the platform's profile functions, section [qz].

#include <string>

#include "settings/settings.h"
#include "settings/store_messages.h"

class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(Language language, std::u16string path = std::u16string(kIniFilePath))
      : language_(language), path_(std::move(path)) {}

  int32_t ReadInteger(std::u16string_view key, int32_t fallback) override;
  bool ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) override;
  bool WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) override;
  bool WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) override;
  bool ReadColorTable(CustomColors& out) override;
  bool WriteColorTable(const CustomColors& colors) override;

  const std::u16string& path() const { return path_; }

 private:
  bool WriteText(std::u16string_view key, const std::u16string& text, std::u16string& errors);

  Language language_;
  std::u16string path_;
};

// Creates the INI file as the six header bytes when it cannot be opened for
// reading; an existing file is never touched. True when the file exists
// afterwards.
bool EnsureIniFile(const std::u16string& path);
// True when the INI file can be opened for reading.
bool IniFileExists(const std::u16string& path);
