#include "ui/enlarge_win.h"

#include <vector>

#include "app/enlarge.h"

HFONT EnlargedFont(HWND window, double factor) {
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (!base || GetObjectW(base, sizeof font, &font) == 0) return nullptr;
  font.lfHeight = ScaleFontMetric(font.lfHeight, factor);
  font.lfWidth = ScaleFontMetric(font.lfWidth, factor);
  font.lfWeight = EnlargedFontWeight(factor);
  return CreateFontIndirectW(&font);
}

void EnlargeChildren(HWND window, double factor, HFONT font) {
  // Collected first: a child moved while the list is walked must not be met twice.
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  for (HWND child : children) {
    RECT r;
    if (!GetWindowRect(child, &r)) continue;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    const PixelRect scaled = ScaleRect({r.left, r.top, r.right - r.left, r.bottom - r.top}, factor);
    SetWindowPos(child, nullptr, scaled.left, scaled.top, scaled.width, scaled.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (font) SendMessageW(child, WM_SETFONT, WPARAM(font), FALSE);
  }
}
