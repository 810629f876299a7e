#pragma once
// Loading a text file of any common encoding, and saving text as UTF-8 with a
// byte-order mark (result codes in ui/text_file.h).

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/text_file.h"

// The path the memo page's file choosers fill in, read by the two below.
inline constexpr size_t kTextFilePathCapacity = 520;
wchar_t* TextFilePath();

int LoadTextFile(std::u16string& into);
int SaveTextFileUtf8(std::u16string_view text);

// The same on a given path.
int LoadTextFileAt(const wchar_t* path, std::u16string& into);
int SaveTextFileUtf8At(const wchar_t* path, std::u16string_view text);
