#include "clipboard_put_win.h"

#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

// The clipboard may be held by the program under test for a moment.
bool OpenWithRetry() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return nullptr;
  }
  if (size) std::memcpy(p, bytes, size);
  GlobalUnlock(memory);
  return memory;
}

struct Item {
  UINT format;
  HANDLE data;
};

bool PutItems(const std::vector<Item>& items) {
  for (const Item& item : items) {
    if (!item.data) return false;
  }
  if (!OpenWithRetry()) return false;
  bool ok = EmptyClipboard() != FALSE;
  for (const Item& item : items) {
    ok = ok && SetClipboardData(item.format, item.data) != nullptr;
  }
  CloseClipboard();
  return ok;
}

HGLOBAL TextBlock(const std::wstring& text) { return BlockOf(text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// The clipboard's HTML format: a header of byte offsets, then the document.
std::string HtmlClipboardRecord(const std::wstring& text) {
  const std::string header =
      "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\n"
      "StartFragment:0000000000\r\nEndFragment:0000000000\r\n";
  const std::string before = "<html><body><!--StartFragment--><b>";
  const std::string after = "</b><!--EndFragment--></body></html>";
  std::string record = header + before + Utf8(text) + after;
  auto put = [&record](const char* key, size_t value) {
    const size_t at = record.find(key) + std::strlen(key);
    char digits[11];
    snprintf(digits, sizeof digits, "%010zu", value);
    record.replace(at, 10, digits);
  };
  put("StartHTML:", header.size());
  put("EndHTML:", record.size());
  put("StartFragment:", header.size() + before.size());
  put("EndFragment:", record.size() - after.size());
  return record;
}

HGLOBAL DropBlock(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& p : paths) {
    names += p;
    names += L'\0';
  }
  names += L'\0';
  if (paths.empty()) names += L'\0';
  std::string bytes(sizeof(DROPFILES) + names.size() * sizeof(wchar_t), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(bytes.data(), &header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, names.data(), names.size() * sizeof(wchar_t));
  return BlockOf(bytes.data(), bytes.size());
}

}  // namespace

bool PutText(const std::wstring& text) { return PutItems({{CF_UNICODETEXT, TextBlock(text)}}); }

bool PutUnterminatedText(const std::wstring& text) {
  return PutItems({{CF_UNICODETEXT, BlockOf(text.data(), text.size() * sizeof(wchar_t))}});
}

bool PutHtmlAndText(const std::wstring& text) {
  const UINT html = RegisterClipboardFormatW(L"HTML Format");
  const std::string record = HtmlClipboardRecord(text);
  return PutItems({{html, BlockOf(record.c_str(), record.size() + 1)}, {CF_UNICODETEXT, TextBlock(text)}});
}

bool PutFiles(const std::vector<std::wstring>& paths) { return PutItems({{CF_HDROP, DropBlock(paths)}}); }

bool PutEmptyFileList() { return PutItems({{CF_HDROP, DropBlock({})}}); }

bool PutBitmap(int width, int height, COLORREF color) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(color);
  RECT all{0, 0, width, height};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const bool ok = PutItems({{CF_BITMAP, bitmap}});
  if (!ok && bitmap) DeleteObject(bitmap);
  return ok;
}

bool PutZeroSizeBitmap() {
  // A device-independent picture whose header says 0 x 0; the bitmap format
  // is made from it by the system when a reader asks for one.
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 0;
  header.biHeight = 0;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  return PutItems({{CF_DIB, BlockOf(&header, sizeof header)}});
}

bool EmptyTheClipboard() { return PutItems({}); }

std::vector<UINT> ClipboardFormats() {
  std::vector<UINT> formats;
  if (!OpenWithRetry()) return formats;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  CloseClipboard();
  return formats;
}

std::vector<std::wstring> ClipboardFormatNames() {
  std::vector<std::wstring> names;
  for (UINT f : ClipboardFormats()) {
    wchar_t name[128] = L"";
    if (GetClipboardFormatNameW(f, name, 128) > 0) {
      names.push_back(name);
    } else {
      names.push_back(std::to_wstring(f));
    }
  }
  return names;
}
