#pragma once
// The display's Canvas over a GDI device context: the text window's own, a
// paint's, or a memory bitmap's.

#include <windows.h>

#include "display/canvas.h"

class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, HFONT font) : dc_(dc), font_(font) {}
  ~GdiCanvas() override { RestoreFont(); }
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void FillRect(const Rect& area, Color color) override;
  int32_t PaintText(std::u16string_view text, const Rect& area, uint32_t flags) override;
  Rect MeasureText(std::u16string_view text, const Rect& area, uint32_t flags) override;
  Color SetTextColor(Color color) override;
  void SetBackgroundColor(Color color) override;
  void SetBackgroundOpaque(bool opaque) override;
  void SelectDisplayFont() override;
  void RestoreFont() override;
  void DrawRow(int32_t y, int32_t width, Color color) override;
  void CopyPicture(const Picture& picture, Point to, Size size) override;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_font_ = nullptr;
};

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }
