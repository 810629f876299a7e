#include "settings/ini_store_win.h"

#include <windows.h>

#include <vector>

#include "common/wide_win.h"
#include "settings/ini_format.h"
#include "settings/store_selection.h"

namespace {

const std::u16string kSection(kIniSection);
constexpr const wchar_t* kColorTableKey = L"CUSTCOLORS";

bool (*g_before_replace)() = nullptr;

std::u16string AnsiText(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::u16string text(std::size_t(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), Wide(text.data()), n);
  return text;
}

// The file's text; a file that is empty (or missing) starts as a new one does.
std::u16string FileText(const std::string& bytes, IniEncoding encoding) {
  if (encoding == IniEncoding::Empty) return u"\r\n";
  return DecodeIniText(bytes, encoding, AnsiText);
}

// True with the bytes (none for a missing file); false when the file exists
// but cannot be read, which a save must not take for an empty file.
bool ReadWholeFile(const std::u16string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (LONGLONG(1) << 31);
  if (ok) {
    bytes.resize(std::size_t(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
  }
  CloseHandle(file);
  return ok;
}

bool WriteAndFlush(const std::u16string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  ok = ok && FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

// The whole file written beside it and swapped in, so that a crash or power
// loss never leaves a half-written settings file.
bool ReplaceWholeFile(const std::u16string& path, const std::string& bytes) {
  const std::u16string temporary = path + u".tmp";
  bool ok = WriteAndFlush(temporary, bytes);
  if (ok && g_before_replace != nullptr) ok = g_before_replace();
  ok = ok && MoveFileExW(Wide(temporary), Wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(Wide(temporary));
  return ok;
}

// The first conversion keeps the original beside the file; a later one
// never overwrites that copy.
bool KeepOriginalCopy(const std::u16string& path) {
  const std::u16string copy = path + u".bak";
  return CopyFileW(Wide(path), Wide(copy), TRUE) || GetLastError() == ERROR_FILE_EXISTS;
}

// The profile functions write a file without the UTF-16LE mark in the ANSI
// code page, which damages Japanese text for good: such a file is converted
// once, before anything is written to it.
bool ConvertToUtf16(const std::u16string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return true;  // exists, unreadable just now: left alone
  const IniEncoding encoding = DetectIniEncoding(bytes);
  if (encoding == IniEncoding::Utf16Le) return true;
  if (encoding != IniEncoding::Empty && !KeepOriginalCopy(path)) return true;
  ReplaceWholeFile(path, EncodeIniText(FileText(bytes, encoding)));
  return true;
}

std::u16string DecimalText(int32_t value) {
  wchar_t buffer[16];
  wsprintfW(buffer, L"%d", value);
  return std::u16string(U16View(buffer));
}

}  // namespace

int32_t IniSettingsStore::ReadInteger(std::u16string_view key, int32_t fallback) {
  const std::u16string name(key);
  return int32_t(GetPrivateProfileIntW(Wide(kSection), Wide(name), fallback, Wide(path_)));
}

bool IniSettingsStore::ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) {
  if (capacity == 0) return false;
  const std::u16string name(key);
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD got =
      GetPrivateProfileStringW(Wide(kSection), Wide(name), L"", buffer.data(), DWORD(capacity), Wide(path_));
  if (got == 0) return false;
  out = DecodeIniLineBreaks(U16View(buffer.data(), got));
  return true;
}

bool IniSettingsStore::WriteText(std::u16string_view key, std::u16string text, std::u16string& errors) {
  IniKeyWrite write{std::u16string(key), std::move(text)};
  if (holding_) {
    held_.push_back(std::move(write));
    return true;
  }
  return StoreWrites({std::move(write)}, errors);
}

bool IniSettingsStore::WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) {
  return WriteText(key, DecimalText(value), errors);
}

bool IniSettingsStore::WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) {
  return WriteText(key, QuoteIniValue(EncodeIniLineBreaks(text)), errors);
}

void IniSettingsStore::BeginWrites() {
  holding_ = true;
  held_.clear();
}

bool IniSettingsStore::CommitWrites(std::u16string& errors) {
  holding_ = false;
  std::vector<IniKeyWrite> writes;
  writes.swap(held_);
  return StoreWrites(writes, errors);
}

bool IniSettingsStore::StoreWrites(const std::vector<IniKeyWrite>& writes, std::u16string& errors) {
  if (writes.empty()) return true;
  std::string bytes;
  bool ok = ReadWholeFile(path_, bytes);
  if (ok) {
    const IniEncoding encoding = DetectIniEncoding(bytes);
    if (encoding != IniEncoding::Utf16Le && encoding != IniEncoding::Empty) KeepOriginalCopy(path_);
    const std::u16string text = MergeIniSection(FileText(bytes, encoding), kSection, writes);
    ok = ReplaceWholeFile(path_, EncodeIniText(text));
  }
  if (!ok) {
    for (const IniKeyWrite& w : writes) AppendErrorLine(errors, IniWriteErrorLine(path_, w.key, language_));
  }
  return ok;
}

bool IniSettingsStore::ReadColorTable(CustomColors& out) {
  uint8_t bytes[kCustomColorCount * 4];
  if (!GetPrivateProfileStructW(Wide(kSection), kColorTableKey, bytes, sizeof bytes, Wide(path_))) return false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const uint8_t* p = bytes + 4 * i;
    out[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  return true;
}

bool IniSettingsStore::WriteColorTable(const CustomColors& colors) {
  uint8_t bytes[kCustomColorCount * 4];
  for (std::size_t i = 0; i < colors.size(); ++i) {
    for (int b = 0; b < 4; ++b) bytes[4 * i + b] = uint8_t(colors[i] >> (8 * b));
  }
  std::u16string ignored;  // the colour chooser reports nothing
  return StoreWrites({IniKeyWrite{std::u16string(U16View(kColorTableKey)), EncodeProfileStruct(bytes, sizeof bytes)}}, ignored);
}

bool RewriteIniSection(const std::u16string& path, std::u16string_view section,
                       const std::vector<IniKeyWrite>& writes) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  const IniEncoding encoding = DetectIniEncoding(bytes);
  if (encoding != IniEncoding::Utf16Le && encoding != IniEncoding::Empty) KeepOriginalCopy(path);
  const std::u16string text = MergeIniSection(RemoveIniSection(FileText(bytes, encoding), section), section, writes);
  return ReplaceWholeFile(path, EncodeIniText(text));
}

bool IniFileExists(const std::u16string& path) {
  HANDLE existing = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) return false;
  CloseHandle(existing);
  return true;
}

bool EnsureIniFile(const std::u16string& path) {
  if (IniFileExists(path)) return ConvertToUtf16(path);
  // CREATE_NEW: a file that exists but cannot be read just now is not emptied.
  HANDLE created =
      CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(created, kNewIniFileBytes, sizeof kNewIniFileBytes, &written, nullptr);
  CloseHandle(created);
  return ok && written == sizeof kNewIniFileBytes;
}

void SetIniReplaceCheckForTest(bool (*before_replace)()) { g_before_replace = before_replace; }
