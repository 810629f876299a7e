#pragma once
// The INI file as a whole: which encoding an existing file is in, its text
// as UTF-16, and one save group merged into its section. The profile
// functions keep Japanese text only in a UTF-16LE file with its mark, so the
// store converts any other file once and always writes that form.

#include "common/utf.h"
#include <string>
#include <string_view>
#include <vector>

enum class IniEncoding {
  Empty,    // no bytes at all
  Utf16Le,  // with its mark: the form the store keeps
  Utf16Be,  // with its mark
  Utf8,     // with its mark, or valid UTF-8 without one
  Ansi,     // anything else: the system's ANSI code page
};

IniEncoding DetectIniEncoding(std::string_view bytes);


// The file's text without its mark. ANSI bytes go through `ansi`, which the
// platform layer supplies; every other form is decoded here.
using IniAnsiDecoder = std::u16string (*)(std::string_view bytes);
std::u16string DecodeIniText(std::string_view bytes, IniEncoding encoding, IniAnsiDecoder ansi);

// UTF-16LE bytes with the mark in front.
std::string EncodeIniText(std::u16string_view text);

struct IniKeyWrite {
  std::u16string key;
  std::u16string value;  // as it stands after "KEY="
};

// The file text with `writes` applied to `section`, in order, as the profile
// functions would one by one: a key already there (first match, names
// compared without regard to ASCII case) gets its new value in place, a new
// key goes after the section's last line that is not blank, a missing
// section is added at the end. Every other line, section and key is kept
// as it was, line breaks included.
std::u16string MergeIniSection(std::u16string_view text, std::u16string_view section,
                               const std::vector<IniKeyWrite>& writes);

// The file text without any section of that name (its header and every line
// up to the next section); everything else stays as it was. A section
// written anew after this goes to the end, as the profile functions put it.
std::u16string RemoveIniSection(std::u16string_view text, std::u16string_view section);
