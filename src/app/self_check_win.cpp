#include "app/self_check_win.h"

#include "app/app_texts.h"
#include "app/pe_checksum.h"
#include "ui/message_box_win.h"

namespace {

// The file mapped read-only for as long as the check runs.
class MappedFile {
 public:
  explicit MappedFile(const wchar_t* path) {
    file_ = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_, &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF) return;
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) return;
    data_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (data_ != nullptr) size_ = static_cast<size_t>(size.QuadPart);
  }
  ~MappedFile() {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace

// The sum is computed here rather than through the image-help library, which
// would stay loaded (with its debugging helper) for the whole run.
SelfCheck CheckExecutableFile(const wchar_t* path) {
  const MappedFile file(path);
  size_t offset = 0;
  if (file.data() == nullptr || !FindPeChecksumOffset(file.data(), file.size(), offset)) {
    return SelfCheck::kUnreadable;
  }
  const uint8_t* field = file.data() + offset;
  const uint32_t header_sum = uint32_t(field[0]) | uint32_t(field[1]) << 8 | uint32_t(field[2]) << 16 |
                              uint32_t(field[3]) << 24;
  const uint32_t computed = ComputePeChecksum(file.data(), file.size(), offset);
  // A header sum of 0 means the build never wrote one: that is a mismatch too.
  return header_sum != 0 && header_sum == computed ? SelfCheck::kMatches : SelfCheck::kMismatch;
}

void RunSelfCheck(HWND owner, const wchar_t* executable_path) {
  if (CheckExecutableFile(executable_path) != SelfCheck::kMatches) {
    ShowMessage(owner, app_text::kSelfCheckFailed.In(AppLanguage()), app_text::kProductName.In(AppLanguage()),
                MB_OK | MB_ICONWARNING);
  }
}
