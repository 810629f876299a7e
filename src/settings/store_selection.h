#pragma once
// Which store holds the settings, decided once at start-up.

#include <cstdint>
#include <string_view>

enum class StoreMode { Ini, Registry };

// An executable whose full path (longer than 7 characters) ends in "_o.exe",
// the letters in any case, keeps its settings in the INI file.
bool PathSelectsIniStore(std::u16string_view executable_path);

// INI by the executable's name or by the /O switch; otherwise the registry.
StoreMode SelectStoreMode(std::u16string_view executable_path, bool ini_switch);

// The copy commands /OR and /RO are recognised only in registry mode; in INI
// mode the program starts normally.
inline bool CopyCommandsAllowed(StoreMode mode) { return mode == StoreMode::Registry; }

// A new INI file: the UTF-16LE byte-order mark and CR LF, so that the
// profile functions keep writing it as UTF-16.
inline constexpr uint8_t kNewIniFileBytes[6] = {0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00};
