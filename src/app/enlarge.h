#pragma once
// With BIGDIALOG on, a dialog is enlarged to fill the work area: every size
// and child position grows by one factor, the dialog goes against the
// bottom-right corner of the work area and its font grows with it.

#include <cstdint>

struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// The smaller of work height / dialog height and work width / dialog width;
// 1 when a size is not positive (nothing sensible to scale by).
double EnlargementFactor(const PixelRect& work_area, int32_t dialog_width, int32_t dialog_height);

// A child's position relative to its parent and its size, times the factor.
PixelRect ScaleRect(const PixelRect& rect, double factor);

// The dialog of that size placed with its bottom-right corner on the work area's.
PixelRect PlaceAtBottomRight(const PixelRect& work_area, int32_t width, int32_t height);

// The enlarged font is bold only when it actually grew.
int32_t EnlargedFontWeight(double factor);
int32_t ScaleFontMetric(int32_t value, double factor);
