#pragma once
// A settings store held in memory that reads and writes like one of the real
// stores: the INI kind keeps the text after "KEY=" as the profile functions
// would, the registry kind keeps typed values. Key names compare without
// regard to case, as in both real stores. Writes can be made to fail.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/settings.h"

class MemoryStore : public SettingsStore {
 public:
  enum class Kind { Ini, Registry };

  struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> bytes;
  };

  MemoryStore(Kind kind, Language language) : kind_(kind), language_(language) {}

  int32_t ReadInteger(std::u16string_view key, int32_t fallback) override;
  bool ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) override;
  bool WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) override;
  bool WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) override;
  bool ReadColorTable(CustomColors& out) override;
  bool WriteColorTable(const CustomColors& colors) override;

  // INI kind: the raw text of a key.
  void SetIniText(std::u16string_view key, std::u16string_view text);
  std::optional<std::u16string> IniText(std::u16string_view key) const;
  // Registry kind: a raw value.
  void SetRegistryValue(std::u16string_view key, uint32_t type, std::vector<uint8_t> bytes);
  void SetRegistryString(std::u16string_view key, std::u16string_view text);
  void SetRegistryDword(std::u16string_view key, int32_t value);
  const RegistryValue* FindRegistryValue(std::u16string_view key) const;

  void Erase(std::u16string_view key);
  std::size_t size() const { return kind_ == Kind::Ini ? ini_.size() : registry_.size(); }

  // Every write fails (a locked INI file / a registry key that cannot be opened).
  void FailAllWrites(bool fail) { fail_all_ = fail; }
  // Only writes of this key fail.
  void FailWritesOf(std::u16string_view key);

  // Keys in the order they were written, successful or not.
  const std::vector<std::u16string>& write_log() const { return write_log_; }
  void ClearWriteLog() { write_log_.clear(); }

 private:
  static std::u16string Fold(std::u16string_view key);
  bool WriteFails(std::u16string_view key) const;
  void AppendFailure(std::u16string_view key, std::u16string& errors) const;

  Kind kind_;
  Language language_;
  std::map<std::u16string, std::u16string> ini_;
  std::map<std::u16string, RegistryValue> registry_;
  std::set<std::u16string> failing_keys_;
  bool fail_all_ = false;
  std::vector<std::u16string> write_log_;
};
