#include "app/enlarge.h"

#include <cmath>

namespace {

int32_t Scale(int32_t value, double factor) { return int32_t(std::lround(double(value) * factor)); }

}  // namespace

double EnlargementFactor(const PixelRect& work_area, int32_t dialog_width, int32_t dialog_height) {
  if (dialog_width <= 0 || dialog_height <= 0 || work_area.width <= 0 || work_area.height <= 0) return 1.0;
  const double by_height = double(work_area.height) / double(dialog_height);
  const double by_width = double(work_area.width) / double(dialog_width);
  return by_height < by_width ? by_height : by_width;
}

PixelRect ScaleRect(const PixelRect& rect, double factor) {
  return {Scale(rect.left, factor), Scale(rect.top, factor), Scale(rect.width, factor), Scale(rect.height, factor)};
}

PixelRect PlaceAtBottomRight(const PixelRect& work_area, int32_t width, int32_t height) {
  return {work_area.left + work_area.width - width, work_area.top + work_area.height - height, width, height};
}

int32_t EnlargedFontWeight(double factor) { return factor > 1.0 ? 600 : 400; }

int32_t ScaleFontMetric(int32_t value, double factor) { return Scale(value, factor); }
