// The resources and the integrity check of the built kirabi.exe.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/pe_checksum.h"
#include "app/pictures_win.h"
#include "app/resource_ids.h"
#include "app/self_check_win.h"

#include <imagehlp.h>

namespace {

std::wstring WinePath(const char* unix_path) {
  std::wstring out = L"Z:";
  for (const char* p = unix_path; *p; ++p) out += *p == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*p));
  return out;
}

const std::wstring kKirabi = WinePath(KIRABI_EXE);

class KirabiResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(kKirabi.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << GetLastError();
  }
  void TearDown() override { FreeLibrary(module_); }
  HMODULE module_ = nullptr;
};

struct MenuRow {
  UINT id;  // 0 = separator
  const wchar_t* text;
};

void ExpectMenu(HMENU menu, const std::vector<MenuRow>& rows) {
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), int(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    wchar_t text[128] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    ASSERT_TRUE(GetMenuItemInfoW(popup, UINT(i), TRUE, &info));
    if (rows[i].id == 0) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
    } else {
      EXPECT_EQ(info.wID, rows[i].id) << i;
      EXPECT_STREQ(text, rows[i].text) << i;
    }
  }
}

TEST_F(KirabiResources, TrayMenusHoldEveryCommandWithItsSeparators) {
  HMENU ja = LoadMenuW(module_, MAKEINTRESOURCEW(IDM_TRAY_JA));
  HMENU en = LoadMenuW(module_, MAKEINTRESOURCEW(IDM_TRAY_EN));
  ASSERT_NE(ja, nullptr);
  ASSERT_NE(en, nullptr);
  ExpectMenu(ja, {{32771, L"設定(&S)...\tDoubleClick"},
                  {32790, L"メモの編集(&M)...\tCtrl+DoubleClick"},
                  {32776, L"表示を隠す(&I)\t中ボタンClick"},
                  {0, nullptr},
                  {32774, L"クリップボードを空にする(&C)\tCtrl+中ボタンClick"},
                  {32775, L"クリップボード文字列の修飾を除去(&P)\tShift+中ボタンClick"},
                  {1020, L"アラームまでの残時間表示(&O)\tShift+右DoubleClick"},
                  {0, nullptr},
                  {32777, L"スタートアップに登録(&R)"},
                  {0, nullptr},
                  {5, L"ヘルプを開く(&H)"},
                  {32792, L"フィードバック(&F)"},
                  {32772, L"バージョン情報／開発支援金受付(&A)"},
                  {0, nullptr},
                  {32773, L"終了(X)"}});
  ExpectMenu(en, {{32771, L"&Settings...\tDoubleClick"},
                  {32790, L"&Memo...\tCtrl+DoubleClick"},
                  {32776, L"H&ide\tM-Button Click"},
                  {0, nullptr},
                  {32774, L"Empty the &Clipboard\tCtrl+M-Button Click"},
                  {32775, L"Clipboard Rich Text to &Plane Text\tShift+M-Button Click"},
                  {1020, L"C&ountdown until specified time\tShift+R-DoubleClick"},
                  {0, nullptr},
                  {32777, L"&Register to Startup folder"},
                  {0, nullptr},
                  {5, L"&Help (Japanese)"},
                  {32772, L"&About"},
                  {0, nullptr},
                  {32773, L"E&xit"}});
  DestroyMenu(ja);
  DestroyMenu(en);
}

TEST_F(KirabiResources, IconsAndDialogsExist) {
  for (int id : {IDI_APPLICATION_ICON, IDI_BUTTON_UP, IDI_BUTTON_DOWN}) {
    HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(icon, nullptr) << id;
    if (icon) DestroyIcon(icon);
  }
  for (int id : {IDD_ALREADY_RUNNING_JA, IDD_ALREADY_RUNNING_EN, IDD_OPENING_NOTICE}) {
    EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */), nullptr) << id;
  }
  // The manifest asks for common controls 6.
  HRSRC manifest = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(module_, manifest)));
  const std::string body(text, SizeofResource(module_, manifest));
  EXPECT_NE(body.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(body.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST_F(KirabiResources, PicturesDecodeOntoWhite) {
  NotificationPictures pictures = LoadNotificationPictures(module_);
  ASSERT_NE(pictures.older, nullptr);
  ASSERT_NE(pictures.newer, nullptr);
  for (HBITMAP bitmap : {pictures.older, pictures.newer}) {
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 180);
    EXPECT_EQ(info.bmHeight, 48);
    // The top rows of both pictures are transparent: composited on white.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
    EXPECT_NE(GetPixel(dc, 2, 30), RGB(255, 255, 255));  // the taskbar itself
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  DeleteNotificationPictures(pictures);
  EXPECT_EQ(pictures.older, nullptr);
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(f, nullptr));
  DWORD read = 0;
  ReadFile(f, bytes.data(), DWORD(bytes.size()), &read, nullptr);
  CloseHandle(f);
  bytes.resize(read);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return written == bytes.size();
}

TEST(SelfCheck, TheBuildWritesTheChecksumThePlatformComputes) {
  const std::vector<uint8_t> bytes = ReadFileBytes(kKirabi);
  ASSERT_GT(bytes.size(), 4096u);
  size_t offset = 0;
  ASSERT_TRUE(FindPeChecksumOffset(bytes.data(), bytes.size(), offset));
  DWORD header = 0, computed = 0;
  ASSERT_EQ(MapFileAndCheckSumW(kKirabi.c_str(), &header, &computed), DWORD(CHECKSUM_SUCCESS));
  EXPECT_EQ(ComputePeChecksum(bytes.data(), bytes.size(), offset), computed);
  EXPECT_EQ(header, computed);
  EXPECT_EQ(CheckExecutableFile(kKirabi.c_str()), SelfCheck::kMatches);
}

TEST(SelfCheck, AChangedOrUnstampedFileDoesNotMatch) {
  std::vector<uint8_t> bytes = ReadFileBytes(kKirabi);
  ASSERT_FALSE(bytes.empty());
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring copy = std::wstring(folder) + L"kirabi_selfcheck.exe";

  bytes[bytes.size() / 2] ^= 0x5A;
  ASSERT_TRUE(WriteFileBytes(copy, bytes));
  EXPECT_EQ(CheckExecutableFile(copy.c_str()), SelfCheck::kMismatch);

  bytes[bytes.size() / 2] ^= 0x5A;
  size_t offset = 0;
  ASSERT_TRUE(FindPeChecksumOffset(bytes.data(), bytes.size(), offset));
  for (int i = 0; i < 4; ++i) bytes[offset + i] = 0;
  ASSERT_TRUE(WriteFileBytes(copy, bytes));
  EXPECT_EQ(CheckExecutableFile(copy.c_str()), SelfCheck::kMismatch);

  DeleteFileW(copy.c_str());
  EXPECT_EQ(CheckExecutableFile(copy.c_str()), SelfCheck::kUnreadable);
}

}  // namespace
