#include "display/dpi_scale.h"

#include <algorithm>
#include <limits>

#include "display/display_cycle.h"
#include "settings/settings.h"

namespace {

// The growth and margin of the rounded panel and its corners, at 96 DPI.
constexpr int32_t kRoundMargin = 8;
constexpr int32_t kCornerEllipse = 8;
// Smallest working size and picture edge the settings allow, at 96 DPI.
constexpr int32_t kMinimumEdge = 16;

int32_t Sanitised(int32_t dpi) { return dpi > 0 ? dpi : kBaseDpi; }

// Automatic (0 or negative) stays automatic; a fixed size stays at least one
// pixel and no larger than a window can be.
int32_t ScaleFixed(int32_t value, int32_t dpi) {
  const int32_t fixed = FixedWindowExtent(value);
  return fixed == 0 ? 0 : std::min(ScaleForDpiAtLeast(fixed, dpi, 1), kMaxWindowExtent);
}

}  // namespace

int32_t ScaleForDpi(int32_t value, int32_t dpi) {
  dpi = Sanitised(dpi);
  const int64_t product = static_cast<int64_t>(value) * dpi;
  const int64_t half = kBaseDpi / 2;
  const int64_t scaled = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t ScaleForDpiAtLeast(int32_t value, int32_t dpi, int32_t minimum) {
  return std::max(minimum, ScaleForDpi(value, dpi));
}

PanelMetrics ScalePanelMetrics(const Settings& s, int32_t dpi) {
  dpi = Sanitised(dpi);
  PanelMetrics m;
  m.dpi = dpi;
  m.font_height = ScaleForDpiAtLeast(s.FONTSIZE, dpi, 1);
  m.left = ScaleForDpi(s.LEFT, dpi);
  m.top = ScaleForDpi(s.TOP, dpi);
  m.gap = ScaleForDpi(std::max(0, s.GAP_BETWEEN_ITEMS), dpi);
  m.outline = ScaleForDpiAtLeast(1, dpi, 1);
  m.round_margin = ScaleForDpi(kRoundMargin, dpi);
  m.round_growth = 2 * m.round_margin;
  m.corner_ellipse = ScaleForDpi(kCornerEllipse, dpi);
  const int32_t min_edge = ScaleForDpi(kMinimumEdge, dpi);
  m.max_width = ScaleForDpiAtLeast(s.DEF_MAX_WND_WIDTH, dpi, min_edge);
  m.max_height = ScaleForDpiAtLeast(s.DEF_MAX_WND_HEIGHT, dpi, min_edge);
  m.fixed_width = ScaleFixed(s.WND_WIDTH, dpi);
  m.fixed_height = ScaleFixed(s.WND_HEIGHT, dpi);
  m.clip_image_size = ScaleForDpiAtLeast(s.DEF_MAX_CLIPIMAGESIZE, dpi, min_edge);
  return m;
}

bool DpiFollower::Update(int32_t dpi) {
  dpi_ = Sanitised(dpi);
  if (dpi_ == font_dpi_) return false;
  font_dpi_ = dpi_;
  return true;
}

bool MonitorDpiGate::Due(Point cursor, int32_t wpos) const {
  if (!checked_ || wpos != wpos_) return true;
  if (wpos >= 1) return false;
  if (!monitor_known_) return !(cursor == cursor_);
  const bool inside = cursor.x >= monitor_.left && cursor.x < monitor_.right && cursor.y >= monitor_.top &&
                      cursor.y < monitor_.bottom;
  return !inside;
}

void MonitorDpiGate::Checked(Point cursor, int32_t wpos, const Rect* monitor) {
  checked_ = true;
  wpos_ = wpos;
  cursor_ = cursor;
  monitor_known_ = monitor != nullptr;
  if (monitor != nullptr) monitor_ = *monitor;
}
