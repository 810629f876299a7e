#include "display/gdi_canvas_win.h"

#include <climits>

#include "common/wide_win.h"

static_assert(text_flags::kWordBreak == DT_WORDBREAK && text_flags::kSingleLine == DT_SINGLELINE &&
                  text_flags::kCalcRect == DT_CALCRECT && text_flags::kNoPrefix == DT_NOPREFIX,
              "the canvas hands its flags to DrawTextW unchanged");

namespace {

int Length(std::u16string_view text) {
  return text.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

}  // namespace

void GdiCanvas::FillRect(const Rect& area, Color color) {
  HBRUSH brush = CreateSolidBrush(color);
  if (brush == nullptr) return;
  const RECT r = ToRECT(area);
  ::FillRect(dc_, &r, brush);
  DeleteObject(brush);
}

int32_t GdiCanvas::PaintText(std::u16string_view text, const Rect& area, uint32_t flags) {
  RECT r = ToRECT(area);
  return DrawTextW(dc_, Wide(text), Length(text), &r, flags);
}

Rect GdiCanvas::MeasureText(std::u16string_view text, const Rect& area, uint32_t flags) {
  RECT r = ToRECT(area);
  DrawTextW(dc_, Wide(text), Length(text), &r, flags | DT_CALCRECT);
  return FromRECT(r);
}

Color GdiCanvas::SetTextColor(Color color) {
  const COLORREF previous = ::SetTextColor(dc_, color);
  return previous == CLR_INVALID ? 0 : previous;
}

void GdiCanvas::SetBackgroundColor(Color color) { SetBkColor(dc_, color); }

void GdiCanvas::SetBackgroundOpaque(bool opaque) { SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT); }

void GdiCanvas::SelectDisplayFont() {
  if (font_ == nullptr || previous_font_ != nullptr) return;
  previous_font_ = SelectObject(dc_, font_);
}

void GdiCanvas::RestoreFont() {
  if (previous_font_ == nullptr) return;
  SelectObject(dc_, previous_font_);
  previous_font_ = nullptr;
}

void GdiCanvas::DrawRow(int32_t y, int32_t width, Color color) {
  if (width <= 0) return;
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  if (pen == nullptr) return;
  HGDIOBJ previous = SelectObject(dc_, pen);
  MoveToEx(dc_, 0, y, nullptr);
  LineTo(dc_, width, y);
  SelectObject(dc_, previous);
  DeleteObject(pen);
}

void GdiCanvas::CopyPicture(const Picture& picture, Point to, Size size) {
  if (picture.handle == nullptr) return;
  HDC source = CreateCompatibleDC(dc_);
  if (source == nullptr) return;
  HGDIOBJ previous = SelectObject(source, static_cast<HGDIOBJ>(const_cast<void*>(picture.handle)));
  if (previous != nullptr) {
    BitBlt(dc_, to.x, to.y, size.width, size.height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
  }
  DeleteDC(source);
}
