#pragma once
// The drawing surface of the text window as the display cycle sees it.
// The GDI canvas (gdi_canvas_win.h) paints into a device context; tests use
// a fake with predictable metrics.

#include <cstdint>
#include <string_view>

// Colors are 24-bit RGB in the platform's layout: 0x00BBGGRR (the
// settings record's layout; the key colour is kKeyColor there).
using Color = uint32_t;

constexpr Color kWhite = 0x00FFFFFFu;

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Text layout flags; the values are the platform's text-drawing flags so the
// GDI canvas hands them on unchanged.
namespace text_flags {
constexpr uint32_t kWordBreak = 0x0010;
constexpr uint32_t kSingleLine = 0x0020;
constexpr uint32_t kCalcRect = 0x0400;
constexpr uint32_t kNoPrefix = 0x0800;
constexpr uint32_t kSingle = kNoPrefix | kSingleLine;
constexpr uint32_t kWrapped = kNoPrefix | kWordBreak;
}  // namespace text_flags

// A picture held by the clipboard cache; `handle` is the platform bitmap.
struct Picture {
  const void* handle = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void FillRect(const Rect& area, Color colour) = 0;
  // Draws within `area` and returns the height of the drawn text.
  virtual int32_t PaintText(std::u16string_view text, const Rect& area, uint32_t flags) = 0;
  // Lays the text out without drawing and returns the rectangle it needs.
  virtual Rect MeasureText(std::u16string_view text, const Rect& area, uint32_t flags) = 0;
  // Returns the previous text colour.
  virtual Color SetTextColor(Color colour) = 0;
  virtual void SetBackgroundColor(Color colour) = 0;
  virtual void SetBackgroundOpaque(bool opaque) = 0;
  virtual void SelectDisplayFont() = 0;
  virtual void RestoreFont() = 0;
  // A one-pixel row from x = 0 up to (not including) `width`.
  virtual void DrawRow(int32_t y, int32_t width, Color colour) = 0;
  // Copies `size` pixels from the picture's top-left to `to`.
  virtual void CopyPicture(const Picture& picture, Point to, Size size) = 0;
};
