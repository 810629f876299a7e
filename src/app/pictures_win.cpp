#include "app/pictures_win.h"

#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include "app/resource_ids.h"

namespace {

HBITMAP DecodePicture(HINSTANCE instance, int id) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), L"" PICTURE_RESOURCE_TYPE);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  const DWORD size = SizeofResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
  if (!stream) return nullptr;
  HBITMAP result = nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
    // Transparent pixels are composited on opaque white.
    if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(bitmap, &result, 0xFFFFFFFF) != Gdiplus::Ok) {
      result = nullptr;
    }
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
  }
  stream->Release();
  return result;
}

}  // namespace

NotificationPictures LoadNotificationPictures(HINSTANCE instance) {
  NotificationPictures pictures;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return pictures;
  pictures.older = DecodePicture(instance, IDP_TRAY_OLD);
  pictures.newer = DecodePicture(instance, IDP_TRAY_NEW);
  Gdiplus::GdiplusShutdown(token);
  pictures.decoded = true;
  return pictures;
}

const NotificationPictures& EnsureNotificationPictures(HINSTANCE instance, NotificationPictures& pictures) {
  if (!pictures.decoded) {
    pictures = LoadNotificationPictures(instance);
    pictures.decoded = true;
  }
  return pictures;
}

void DeleteNotificationPictures(NotificationPictures& pictures) {
  if (pictures.older) DeleteObject(pictures.older);
  if (pictures.newer) DeleteObject(pictures.newer);
  pictures = {};
}

void ShowNotificationPictures(HWND dialog, const NotificationPictures& pictures) {
  if (pictures.older) {
    SendDlgItemMessageW(dialog, IDC_PICTURE_OLD, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(pictures.older));
  }
  if (pictures.newer) {
    SendDlgItemMessageW(dialog, IDC_PICTURE_NEW, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(pictures.newer));
  }
}
