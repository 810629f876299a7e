#pragma once
// The INI store over the platform's profile functions, section [qz].

#include <string>
#include <vector>

#include "settings/ini_file.h"
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
  // Writes in between are merged into the file with one rewrite.
  void BeginWrites() override;
  bool CommitWrites(std::u16string& errors) override;

  const std::u16string& path() const { return path_; }

 private:
  bool WriteText(std::u16string_view key, std::u16string text, std::u16string& errors);
  bool StoreWrites(const std::vector<IniKeyWrite>& writes, std::u16string& errors);

  Language language_;
  std::u16string path_;
  bool holding_ = false;
  std::vector<IniKeyWrite> held_;
};

// Creates the INI file as the six header bytes when it cannot be opened for
// reading. An existing file that is not UTF-16LE with its mark is converted
// to it, every line kept; the original is first copied to "<path>.bak" unless
// that copy exists already (an empty file just gets the header). True when
// the file exists afterwards.
bool EnsureIniFile(const std::u16string& path);

// Every rewrite of the INI file goes to "<path>.tmp" in the same folder,
// flushed, and then replaces the file in one step, so a crash leaves either
// the old or the new file. Tests may make the step between the two fail;
// null restores the normal path.
void SetIniReplaceCheckForTest(bool (*before_replace)());
// True when the INI file can be opened for reading.
bool IniFileExists(const std::u16string& path);
// Replaces a whole section with `writes` (the combo-box histories) in one
// atomic rewrite of the file; every other section stays as it was.
bool RewriteIniSection(const std::u16string& path, std::u16string_view section,
                       const std::vector<IniKeyWrite>& writes);
