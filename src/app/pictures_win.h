#pragma once
// The two notification-area pictures (PNG resources 141 and 142), decoded
// once, when a dialog first shows them, into bitmaps with their transparent
// parts on white. A start without that dialog never loads the image library.

#include <windows.h>

struct NotificationPictures {
  HBITMAP older = nullptr;  // 141, left picture
  HBITMAP newer = nullptr;  // 142, right picture
  bool decoded = false;     // decoding was tried (a failed picture stays null)
};

// Starts the image library, decodes both pictures and shuts the library
// down again. A picture that cannot be decoded stays null.
NotificationPictures LoadNotificationPictures(HINSTANCE instance);
// Decodes the pictures into `pictures` on the first call; later calls only
// hand them back.
const NotificationPictures& EnsureNotificationPictures(HINSTANCE instance, NotificationPictures& pictures);
void DeleteNotificationPictures(NotificationPictures& pictures);

// Puts both pictures into the dialog's two picture controls.
void ShowNotificationPictures(HWND dialog, const NotificationPictures& pictures);
