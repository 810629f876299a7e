#include "ui/text_file_win.h"

#include <new>

namespace {

wchar_t g_path[kTextFilePathCapacity] = L"";

// Larger files are not memo texts; refusing them keeps a mistaken choice
// from exhausting memory.
constexpr LONGLONG kLargestTextFile = 64LL * 1024 * 1024;

class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() {
    if (ok()) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  void Close() {
    if (ok()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

bool AnsiToUtf16(std::string_view bytes, std::u16string& out) {
  out.clear();
  if (bytes.empty()) return true;
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return false;
  out.resize(size_t(n));
  return MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t*>(out.data()),
                             n) == n;
}

int ReadAll(const wchar_t* path, std::string& bytes) {
  File file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return kLoadCannotOpen;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return kLoadCannotRead;
  if (size.QuadPart > kLargestTextFile) return kLoadOutOfMemory;
  try {
    bytes.assign(size_t(size.QuadPart), '\0');
  } catch (const std::bad_alloc&) {
    return kLoadOutOfMemory;
  }
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return kLoadCannotRead;
  }
  return kLoadOk;
}

}  // namespace

wchar_t* TextFilePath() { return g_path; }

int LoadTextFileAt(const wchar_t* path, std::u16string& into) {
  std::string bytes;
  const int read = ReadAll(path, bytes);
  if (read != kLoadOk) return read;
  return DecodeTextFile(bytes, AnsiToUtf16, into);
}

// The text goes to a file beside the target first and replaces it only once
// it is written completely: a failed write never leaves the old memo file
// cut short.
int SaveTextFileUtf8At(const wchar_t* path, std::u16string_view text) {
  std::string bytes;
  try {
    bytes = EncodeUtf8WithMark(text);
  } catch (const std::bad_alloc&) {
    return kSaveOutOfMemory;
  }
  const std::wstring target(path);
  const std::wstring temporary = target + L".saving";
  File file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.ok()) return kSaveCannotCreate;
  DWORD written = 0;
  const bool ok = WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(file.get());
  file.Close();
  if (!ok) {
    DeleteFileW(temporary.c_str());
    return kSaveWriteFailed;
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return kSaveCannotCreate;
  }
  return kSaveOk;
}

int LoadTextFile(std::u16string& into) { return LoadTextFileAt(g_path, into); }
int SaveTextFileUtf8(std::u16string_view text) { return SaveTextFileUtf8At(g_path, text); }
