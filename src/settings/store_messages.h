#pragma once
// Texts of the settings store: write-error lines, the registry wrapper's
// protective warnings and the results of the store copy commands.

#include <string>
#include <string_view>

#include "common/language.h"

// Where the settings live.
inline constexpr std::u16string_view kIniFilePath = u".\\kirabi.ini";
inline constexpr std::u16string_view kIniSection = u"qz";
inline constexpr std::u16string_view kRegistrySubkey = u"Software\\Velmoro\\kirabi\\CurrentVersion";
inline constexpr std::u16string_view kRegistryCaption = u"Registory Class";

// Appends `line` to a save's error text, after the separator when the text
// already holds a line.
void AppendErrorLine(std::u16string& errors, std::u16string_view line);

std::u16string IniWriteErrorLine(std::u16string_view ini_path, std::u16string_view key, Language language);
std::u16string RegistryWriteErrorLine(std::u16string_view subkey, std::u16string_view key, Language language);
std::u16string RegistryOpenErrorLine(std::u16string_view subkey, Language language);

enum class RegwWarning {
  AutoClose,      // destructor with a key still open
  MultipleOpen,   // OpenKey while a key is held
  ReadString,     // ReadStringW without an open key
  ReadInteger,
  WriteString,
  WriteInteger,
  WriteBinary,
  MultipleClose,  // CloseKey without an open key
};
std::u16string RegwWarningText(RegwWarning warning, Language language);

enum class StoreCopy { IniToRegistry, RegistryToIni };
enum class MessageIcon { Information, Warning, Error };

struct CopyResultMessage {
  std::u16string_view text;
  MessageIcon icon;
};
CopyResultMessage CopyResultText(StoreCopy copy, bool succeeded, Language language);
