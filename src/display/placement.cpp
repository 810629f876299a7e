#include "display/placement.h"

#include <algorithm>

#include "settings/settings.h"

namespace {

uint32_t TicksFor(int32_t msec, int32_t interval) {
  // INTERVAL is never 0 through the dialog, but a hand-edited store can say
  // so; one tick per millisecond is the closest sound reading.
  const uint32_t period = interval > 0 ? static_cast<uint32_t>(interval) : 1u;
  return static_cast<uint32_t>(msec) / period;
}

bool CanFadeIn(const DisplayState& state) {
  return state.direction.load() != FadeDirection::In && state.opacity.load() < kOpaque;
}

bool CanFadeOut(const DisplayState& state) {
  return state.direction.load() != FadeDirection::Out && state.opacity.load() > kFaint;
}

bool Highlighted(const DisplayState& state) {
  return state.highlight || state.forced_alarm.load() != 0;
}

void ApplyRestRules(DisplayState& state, const Settings& settings, OverlayWindows& windows) {
  const uint32_t n_in = TicksFor(settings.FADEINMSEC, settings.INTERVAL);
  const uint32_t n_out = TicksFor(settings.FADEOUTMSEC, settings.INTERVAL);
  const uint32_t c = state.rest_counter.load();
  if (settings.HIDESTOP && settings.HIDEMOVE) {
    if (c > n_out && c > n_in) {
      state.rest_counter = kRestDone;
      return;
    }
    if (c == n_in && CanFadeIn(state)) StartFade(state, FadeDirection::In, windows);
    if (c == n_out && CanFadeOut(state)) StartFade(state, FadeDirection::Out, windows);
    state.rest_counter = c + 1;
  } else if (settings.HIDESTOP) {
    if (c >= n_out) {
      state.rest_counter = kRestDone;
      if (CanFadeOut(state)) StartFade(state, FadeDirection::Out, windows);
    } else {
      state.rest_counter = c + 1;
    }
  } else if (settings.HIDEMOVE) {
    if (c >= n_in) {
      state.rest_counter = kRestDone;
      if (CanFadeIn(state)) StartFade(state, FadeDirection::In, windows);
    } else {
      state.rest_counter = c + 1;
    }
  }
}

void ReactToMovement(DisplayState& state, const Settings& settings, OverlayWindows& windows) {
  if (settings.HIDEMOVE && !Highlighted(state)) {
    state.opacity = settings.HideOut ? 0 : kFaint;
    ApplyOpacity(state, settings, windows);
  } else if (CanFadeIn(state)) {
    StartFade(state, FadeDirection::In, windows);
  }
}

// The text sits in the middle of the larger rounded panel.
int32_t RoundMargin(const Settings& settings, int32_t dpi) {
  return settings.ROUNDRECT ? ScalePanelMetrics(settings, dpi).round_margin : 0;
}

void FollowCursor(const Settings& settings, int32_t dpi, OverlayWindows& windows, Point cursor) {
  const PanelMetrics metrics = ScalePanelMetrics(settings, dpi);
  const Point text{OffsetCoordinate(cursor.x, metrics.left), OffsetCoordinate(cursor.y, metrics.top)};
  const int32_t margin = RoundMargin(settings, dpi);
  windows.MoveWindows(text, Point{text.x - margin, text.y - margin});
}

void PinToCorner(Settings& settings, OverlayWindows& windows) {
  if ((settings.WPOS - 1) / 8 >= windows.MonitorCount()) settings.WPOS = 1;
  MonitorInfo monitor;
  if (!windows.GetMonitor((settings.WPOS - 1) / 8, monitor)) return;
  const Point at = CornerPosition(monitor, (settings.WPOS - 1) % 8, windows.TextWindowSize());
  const int32_t margin = RoundMargin(settings, monitor.dpi);
  windows.MoveWindows(Point{at.x - margin, at.y - margin},
                      Point{at.x - 2 * margin, at.y - 2 * margin});
}

}  // namespace

int32_t OffsetCoordinate(int32_t cursor, int32_t offset) {
  // A hand-edited LEFT or TOP can be any 32-bit number: the sum is taken in
  // 64 bits and held where a window can stand, so that the rounded panel's
  // margin below it cannot overflow either.
  const int64_t sum = int64_t(cursor) + int64_t(offset);
  return int32_t(std::clamp<int64_t>(sum, kVirtualScreenMin, kVirtualScreenMax));
}

Color BackgroundKey(Color panel_colour) {
  return panel_colour == kKeyColor ? kWhite : kKeyColor;
}

int32_t BackgroundAlpha(int32_t opacity, int32_t bg_alpha) {
  return std::clamp(opacity, 0, kOpaque) * std::clamp(bg_alpha, 0, kOpaque) / kOpaque;
}

Point CornerPosition(const MonitorInfo& monitor, int32_t corner, Size size) {
  const Rect& r = corner < 4 ? monitor.work : monitor.monitor;
  const bool right = corner % 2 == 0;
  const bool bottom = corner % 4 < 2;
  return Point{right ? r.right - size.width : r.left, bottom ? r.bottom - size.height : r.top};
}

int32_t PanelDpi(const Settings& settings, OverlayWindows& windows) {
  if (settings.WPOS >= 1) {
    MonitorInfo monitor;
    // A WPOS past the last monitor is placed on the first (PinToCorner).
    const int32_t index = (settings.WPOS - 1) / 8 < windows.MonitorCount() ? (settings.WPOS - 1) / 8 : 0;
    if (windows.GetMonitor(index, monitor)) return monitor.dpi > 0 ? monitor.dpi : kBaseDpi;
  }
  const int32_t dpi = windows.MonitorDpiAt(windows.CursorPosition());
  return dpi > 0 ? dpi : kBaseDpi;
}

void PlaceWindows(DisplayState& state, Settings& settings, OverlayWindows& windows, bool force) {
  const Point cursor = windows.CursorPosition();
  if (cursor == state.last_cursor && settings.WPOS == state.last_wpos && !force) {
    ApplyRestRules(state, settings, windows);
    return;
  }
  ReactToMovement(state, settings, windows);
  state.rest_counter = 0;
  state.last_cursor = cursor;
  state.last_wpos = settings.WPOS;
  // Values below 0 are never offered by the dialog; they follow the cursor.
  if (settings.WPOS <= 0) {
    FollowCursor(settings, state.dpi, windows, cursor);
  } else {
    PinToCorner(settings, windows);
  }
}

void ResetPlacement(DisplayState& state) {
  state.last_cursor = Point{0, 0};
  state.last_wpos = 0;
}

void StartFade(DisplayState& state, FadeDirection direction, OverlayWindows& windows) {
  state.direction = direction;
  windows.StartFadeTimer();
}

void ApplyOpacity(const DisplayState& state, const Settings& settings, OverlayWindows& windows) {
  const int32_t opacity = std::clamp(state.opacity.load(), 0, kOpaque);
  windows.SetOpacity(opacity, BackgroundAlpha(opacity, settings.BG_ALPHA),
                     BackgroundKey(settings.WBKCOLOR));
}

void FadeStep(DisplayState& state, const Settings& settings, OverlayWindows& windows) {
  const FadeDirection direction = state.direction.load();
  const int32_t opacity = state.opacity.load();
  if (direction == FadeDirection::In || (direction == FadeDirection::Out && Highlighted(state))) {
    if (opacity >= kOpaque) {
      state.direction = FadeDirection::None;
      windows.StopFadeTimer();
      return;
    }
    state.opacity = settings.INSTANTLY ? kOpaque : std::min(kOpaque, opacity + kFadeStep);
  } else if (direction == FadeDirection::Out) {
    const int32_t target = settings.HideOut ? 0 : kFaint;
    if (opacity <= target) {
      state.direction = FadeDirection::None;
      windows.StopFadeTimer();
      return;
    }
    const bool room_for_step = opacity >= target + kFadeStep;
    state.opacity = (settings.INSTANTLY || !room_for_step) ? target : opacity - kFadeStep;
  } else {
    windows.StopFadeTimer();
    return;
  }
  ApplyOpacity(state, settings, windows);
}

void ShowOpaqueForHighlight(DisplayState& state, const Settings& settings, OverlayWindows& windows) {
  state.opacity = kOpaque;
  ApplyOpacity(state, settings, windows);
  FadeDirection out = FadeDirection::Out;
  state.direction.compare_exchange_strong(out, FadeDirection::In);
}

bool Fadein(DisplayState& state, OverlayWindows& windows) {
  const bool start = CanFadeIn(state);
  if (start) StartFade(state, FadeDirection::In, windows);
  state.rest_counter = 0;
  return start;
}

bool Fadeout(DisplayState& state, OverlayWindows& windows) {
  const bool start = CanFadeOut(state);
  if (start) StartFade(state, FadeDirection::Out, windows);
  state.rest_counter = 0;
  return start;
}
