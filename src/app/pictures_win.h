#pragma once
// The two notification-area pictures (PNG resources 141 and 142), decoded
// once at start-up into bitmaps with their transparent parts on white.

#include <windows.h>

struct NotificationPictures {
  HBITMAP older = nullptr;  // 141, left picture
  HBITMAP newer = nullptr;  // 142, right picture
};

// Starts the image library, decodes both pictures and shuts the library
// down again. A picture that cannot be decoded stays null.
NotificationPictures LoadNotificationPictures(HINSTANCE instance);
void DeleteNotificationPictures(NotificationPictures& pictures);

// Puts both pictures into the dialog's two picture controls.
void ShowNotificationPictures(HWND dialog, const NotificationPictures& pictures);
