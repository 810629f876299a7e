#include "display/display_cycle.h"

#include <algorithm>
#include <array>

#include "display/alarm.h"
#include "display/system_sampler.h"
#include "settings/settings.h"

namespace {

constexpr Color kRuleLight = MakeColor(190, 190, 190);
constexpr Color kRuleDark = MakeColor(125, 125, 125);
constexpr Color kVisibleGreen = MakeColor(1, 255, 1);
// Text received from another program keeps this many characters.
constexpr size_t kExternalTextMax = 517;

// Stands in when there is no device context: nothing drawn, every height 0.
class NullCanvas final : public Canvas {
 public:
  void FillRect(const Rect&, Color) override {}
  int32_t PaintText(std::u16string_view, const Rect&, uint32_t) override { return 0; }
  Rect MeasureText(std::u16string_view, const Rect& area, uint32_t) override { return area; }
  Color SetTextColor(Color) override { return 0; }
  void SetBackgroundColor(Color) override {}
  void SetBackgroundOpaque(bool) override {}
  void SelectDisplayFont() override {}
  void RestoreFont() override {}
  void DrawRow(int32_t, int32_t, Color) override {}
  void CopyPicture(const Picture&, Point, Size) override {}
};

// The running layout of one cycle: lines go one under another from y = 0.
class LineStack {
 public:
  LineStack(Canvas& canvas, Size area, int32_t gap, Color outline, int32_t outline_width)
      : canvas_(canvas), area_(area), gap_(gap), outline_(outline), outline_width_(outline_width) {}

  void AddText(std::u16string_view text, uint32_t flags) {
    const Rect box{0, y_, area_.width, area_.height};
    const int32_t height = DrawOutlinedText(canvas_, text, box, flags, outline_, outline_width_);
    if (height > 0) {
      const Rect measured = canvas_.MeasureText(text, box, flags | text_flags::kCalcRect);
      Widen(measured.right);
    }
    Record(y_ + height);
    y_ += height + gap_;
  }

  void AddPicture(const Picture& picture) {
    if (y_ < area_.height) {
      // Only the picture's own pixels: copying past its edges would paint
      // undefined pixels where the panel should stay transparent.
      const Size copy{std::min(area_.width, picture.width), std::min(area_.height - y_, picture.height)};
      if (copy.width > 0 && copy.height > 0) canvas_.CopyPicture(picture, Point{0, y_}, copy);
      y_ = std::min(area_.height, y_ + std::max(0, picture.height));
      Widen(picture.width);
    }
    Record(y_);
  }

  int32_t y() const { return y_; }
  int32_t widest() const { return widest_; }
  int count() const { return count_; }
  int32_t bottom(int index) const { return bottoms_[index]; }

 private:
  // Automatic widths stop at the working width (DEF_MAX_WND_WIDTH).
  void Widen(int32_t right) { widest_ = std::max(widest_, std::min(right, area_.width)); }

  void Record(int32_t bottom) {
    if (count_ < static_cast<int>(bottoms_.size())) bottoms_[count_++] = bottom;
  }

  Canvas& canvas_;
  Size area_;
  int32_t gap_;
  Color outline_;
  int32_t outline_width_;
  int32_t y_ = 0;
  int32_t widest_ = 0;
  std::array<int32_t, 7> bottoms_{};
  int count_ = 0;
};

class Cycle {
 public:
  Cycle(DisplayContext& context, Canvas& canvas, const TimeRecord& now, Point cursor)
      : c_(context),
        s_(context.settings),
        canvas_(canvas),
        now_(now),
        cursor_(cursor),
        metrics_(ScalePanelMetrics(s_, context.state.dpi)),
        invert_(s_.INVERT_COLOR_DARKMODE && context.sources.DarkMode()) {}

  // Steps up to the choice of the clock line's background. False when the
  // cycle ends there (the display is hidden).
  bool Prepare() {
    area_ = Size{metrics_.fixed_width != 0 ? metrics_.fixed_width : metrics_.max_width,
                 metrics_.fixed_height != 0 ? metrics_.fixed_height : metrics_.max_height};
    canvas_.FillRect(Rect{0, 0, area_.width, area_.height}, kKeyColor);
    BookAlarm();
    c_.state.last_second = now_.second;
    FormatDateTime(c_.state.clock_text, now_, s_.FORMAT.view());
    canvas_.SelectDisplayFont();
    canvas_.SetTextColor(Map(s_.TEXTCOLOR));
    decision_ = c_.alarm.Highlight(s_, now_, c_.state.forced_alarm.load());
    SetBackground(decision_.clock);
    c_.state.highlight = decision_.highlight;
    if (c_.state.hidden) {
      // Hiding the panel does not silence the alarm or the chime: their
      // second passes once, and a sound skipped here would never play.
      PlaySounds();
      if (decision_.alarm) c_.state.hidden = false;
      canvas_.RestoreFont();
      return false;
    }
    return true;
  }

  void StackLines(LineStack& stack) {
    if (s_.SHOW_CLOCK) {
      stack.AddText(c_.state.clock_text.view(), text_flags::kSingle);
      if (decision_.clock != decision_.later_lines) SetBackground(decision_.later_lines);
    }
    PlaySounds();
    ImeLine(stack);
    CountdownLine(stack);
    MemoLine(stack);
    ExternalLine(stack);
    SystemLine(stack);
    ClipboardLine(stack);
    canvas_.RestoreFont();
  }

  Size FinalSize(const LineStack& stack) const {
    return Size{metrics_.fixed_width != 0 ? metrics_.fixed_width : stack.widest(),
                metrics_.fixed_height != 0 ? metrics_.fixed_height : std::min(stack.y(), area_.height)};
  }

  void DrawRules(const LineStack& stack, int32_t width) {
    if (!s_.SHOW_LINE) return;
    const int32_t half_gap = metrics_.gap / 2;
    for (int i = 0; i + 1 < stack.count(); ++i) {
      canvas_.DrawRow(stack.bottom(i) + half_gap - 1, width, kRuleLight);
      canvas_.DrawRow(stack.bottom(i) + half_gap, width, kRuleDark);
    }
  }

  Color Map(Color color) const { return MapColor(color, invert_); }
  Size area() const { return area_; }
  const PanelMetrics& metrics() const { return metrics_; }

 private:
  void BookAlarm() {
    const AlarmBooking booking = c_.alarm.Book(s_, now_, c_.sources.FlashWindowExists());
    if (booking.open_flash && !c_.sources.FlashWindowExists()) c_.sources.RequestFlash();
    if (booking.once_alarm_ended) c_.sources.OnceAlarmEnded();
  }

  void SetBackground(LineBackground background) {
    switch (background) {
      case LineBackground::Plain:
        canvas_.SetBackgroundColor(Map(s_.BKCOLOR));
        break;
      case LineBackground::Alarm:
        canvas_.SetBackgroundColor(Map(s_.ALARM_BK_COLOR));
        break;
      case LineBackground::None:
        break;
    }
  }

  void PlaySounds() {
    const AlarmSounds sounds = c_.alarm.Sounds(s_, now_);
    if (!sounds.alarm.empty()) c_.sources.PlayWav(sounds.alarm);
    if (!sounds.chime.empty()) c_.sources.PlayWav(sounds.chime);
  }

  void ImeLine(LineStack& stack) {
    if (!s_.IMESTATE) return;
    const ImeReading reading = c_.sources.ReadIme();
    if (reading.kind == ImeReading::Kind::Absent) return;
    ComposeImeLine(reading, c_.language, c_.state.line_text);
    canvas_.SetTextColor(Map(s_.IMESTATE_COLOR));
    stack.AddText(c_.state.line_text.view(), text_flags::kSingle);
  }

  void CountdownLine(LineStack& stack) {
    if (!s_.ALARM_NOKORI) return;
    FormatCountdown(c_.state.line_text, c_.alarm.remaining());
    canvas_.SetTextColor(Map(s_.ALARM_NOKORI_COLOR));
    stack.AddText(c_.state.line_text.view(), text_flags::kSingle);
  }

  void MemoLine(LineStack& stack) {
    if (s_.MEMO.empty()) return;
    std::u16string_view text = s_.MEMO;
    if (s_.MEMO_AS_SCRIPT) {
      // While the script is held back the line is empty but keeps its slot.
      if (c_.sources.MemoScriptHeldBack()) {
        c_.state.memo_text.clear();
      } else {
        c_.sources.PollMemoScript(c_.state.memo_text);
      }
      text = c_.state.memo_text;
    }
    canvas_.SetTextColor(Map(s_.MEMO_COLOR));
    stack.AddText(text, text_flags::kWrapped);
  }

  void ExternalLine(LineStack& stack) {
    DisplayState& state = c_.state;
    if (!s_.GAIBU || state.external_text.empty()) return;
    if (!c_.sources.WindowExists(state.external_sender)) {
      SetExternalText(state, std::u16string_view(), 0);
      return;
    }
    canvas_.SetTextColor(Map(s_.GAIBU_COLOR));
    stack.AddText(state.external_text.view(), text_flags::kSingle);
  }

  void SystemLine(LineStack& stack) {
    if (c_.sampler == nullptr) return;
    const DriveWatch watch = DriveWatchOf(s_);
    SamplerRequest request;
    request.CPUMEM = s_.CPUMEM != 0;
    request.MEMO_AS_SCRIPT = s_.MEMO_AS_SCRIPT != 0;
    request.FORMATCPU = s_.FORMATCPU.view();
    request.watch = &watch;
    request.cursor = CursorPoint{cursor_.x, cursor_.y};
    request.tick = c_.sources.TickCount();
    if (c_.sampler->Run(request) == SamplerOutcome::NoLine || !s_.CPUMEM) return;
    const DriveWarningDecision warning = c_.alarm.DriveWarning(s_, c_.sampler->drive_warning(), now_);
    if (warning.highlight_line) {
      SetBackground(LineBackground::Alarm);
      c_.state.highlight = true;
    }
    if (!warning.sound.empty()) c_.sources.PlayWav(warning.sound);
    canvas_.SetTextColor(Map(s_.CPUMEM_COLOR));
    stack.AddText(c_.sampler->text().view(), text_flags::kWrapped);
    if (warning.highlight_line) {
      if (decision_.later_lines == LineBackground::None) {
        canvas_.SetBackgroundColor(kWhite);  // the surface's initial background
      } else {
        SetBackground(decision_.later_lines);
      }
    }
  }

  void ClipboardLine(LineStack& stack) {
    if (!s_.CLIPBOARD || !c_.sources.ClipboardWatching()) return;
    const ClipboardView cache = c_.sources.Clipboard();
    if (cache.picture != nullptr) {
      stack.AddPicture(*cache.picture);
      return;
    }
    // The panel is measured on the text it shows: measuring the whole
    // clipboard text would leave it wider than the cut line it holds.
    std::u16string_view text = cache.text;
    if (s_.CBTEXT_MAX > 0 && static_cast<size_t>(s_.CBTEXT_MAX) < text.size()) {
      text = text.substr(0, static_cast<size_t>(s_.CBTEXT_MAX));
    }
    canvas_.SetTextColor(Map(cache.files ? s_.CLIPBOARD_COLOR_F : s_.CLIPBOARD_COLOR));
    stack.AddText(text, text_flags::kWrapped);
  }

  DisplayContext& c_;
  Settings& s_;
  Canvas& canvas_;
  TimeRecord now_;
  Point cursor_;
  PanelMetrics metrics_;
  bool invert_;
  Size area_;
  HighlightDecision decision_;
};

bool FormatShowsFractions(std::u16string_view format) {
  return format.find(u'f') != std::u16string_view::npos;
}

void ResizeWhenChanged(DisplayContext& context, Size final_size, const PanelMetrics& metrics) {
  DisplayState& state = context.state;
  Settings& settings = context.settings;
  const bool round = settings.ROUNDRECT != 0;
  state.final_size = final_size;
  const Size current = context.windows.TextWindowSize();
  // The rounded panel's growth follows the DPI: a DPI change alone resizes.
  if (round == state.applied_roundrect && (!round || metrics.dpi == state.applied_dpi)) {
    if (current == final_size) return;
    // A size the system cannot make is asked for once; while the request and
    // the window stay as they were after it, a tick neither resizes nor redraws.
    if (final_size == state.requested_size && current == state.obtained_size) return;
  }
  const int32_t growth = round ? metrics.round_growth : 0;
  context.windows.ResizeWindows(final_size,
                                Size{final_size.width + growth, final_size.height + growth});
  state.requested_size = final_size;
  state.obtained_size = context.windows.TextWindowSize();
  state.last_second = kRedrawSecond;
  state.applied_roundrect = round;
  state.applied_dpi = metrics.dpi;
  if (settings.WPOS != 0) PlaceWindows(state, settings, context.windows, true);
}

}  // namespace

int32_t FixedWindowExtent(int32_t setting) {
  if (setting <= 0) return 0;
  return std::min(setting, kMaxWindowExtent);
}

bool CanSkipCycle(const Settings& settings, const DisplayState& state, const TimeRecord& now,
                  Point cursor) {
  if (now.second != state.last_second) return false;
  if (FormatShowsFractions(settings.FORMAT.view())) return false;
  if (settings.CPUMEM && cursor != state.last_cursor_seen &&
      PatternFollowsCursor(settings.FORMATCPU.view())) {
    return false;
  }
  return true;
}

bool PaintNeedsCycle(const DisplayState& state) {
  return state.force_redraw || state.last_second == kRedrawSecond || !state.drawn_this_tick;
}

bool DisplayCycle(DisplayContext& context, CanvasProvider& canvases, bool force) {
  DisplayState& state = context.state;
  const TimeRecord now = context.sources.LocalNow();
  const Point cursor = context.sources.CursorPosition();
  const bool skip = !force && CanSkipCycle(context.settings, state, now, cursor);
  state.last_cursor_seen = cursor;
  if (skip) return false;

  Canvas* obtained = state.hidden ? nullptr : canvases.Obtain();
  NullCanvas no_canvas;
  Canvas& canvas = obtained != nullptr ? *obtained : no_canvas;
  Cycle cycle(context, canvas, now, cursor);
  if (!cycle.Prepare()) {
    if (obtained != nullptr) canvases.Release();
    return true;
  }
  const Settings& settings = context.settings;
  LineStack stack(canvas, cycle.area(), cycle.metrics().gap, cycle.Map(settings.KAKOMI_COLOR),
                  cycle.metrics().outline);
  cycle.StackLines(stack);
  const Size final_size = cycle.FinalSize(stack);
  cycle.DrawRules(stack, final_size.width);
  if (obtained != nullptr) canvases.Release();

  if (state.highlight || state.forced_alarm.load() != 0) {
    ShowOpaqueForHighlight(state, context.settings, context.windows);
  }
  // Without a drawing surface every height read as 0: keep the sizes.
  if (obtained != nullptr) ResizeWhenChanged(context, final_size, cycle.metrics());
  return true;
}

Color MapColor(Color color, bool invert) {
  color &= 0x00FFFFFFu;
  if (!invert || color == kKeyColor) return color;
  const Color inverted = color ^ 0x00FFFFFFu;
  return inverted == kKeyColor ? kVisibleGreen : inverted;
}

int32_t DrawOutlinedText(Canvas& canvas, std::u16string_view text, const Rect& area, uint32_t flags,
                         Color outline, int32_t width) {
  canvas.SetBackgroundOpaque(true);
  const int32_t height = canvas.PaintText(text, area, flags);
  if (outline == kKeyColor) return height;
  canvas.SetBackgroundOpaque(false);
  const Color previous = canvas.SetTextColor(outline);
  static constexpr Point kShifts[] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  // A wider outline (high DPI) is drawn ring by ring, so it has no gaps.
  for (int32_t distance = 1; distance <= std::max(1, width); ++distance) {
    for (const Point shift : kShifts) {
      const int32_t dx = shift.x * distance;
      const int32_t dy = shift.y * distance;
      canvas.PaintText(text, Rect{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy}, flags);
    }
  }
  canvas.SetTextColor(previous);
  return canvas.PaintText(text, area, flags);
}

std::u16string_view ImeModeTag(uint32_t conversion_mode, Language language) {
  struct Tag {
    uint32_t mode;
    std::u16string_view ja;
    std::u16string_view en;
  };
  static constexpr Tag kTags[] = {
      {0, u"[A][カナ]", u"[A][KANA]"},
      {3, u"[ｱ][カナ]", u"[HAN][KANA]"},
      {8, u"「Ａ」[カナ]", u"[ZEN_A][KANA]"},
      {9, u"「あ」[カナ]", u"[ZEN_H][KANA]"},
      {11, u"「ア」[カナ]", u"[ZEN_K][KANA]"},
      {16, u"[A][Ｒ]", u"[A][R]"},
      {19, u"[ｱ][Ｒ]", u"[HAN][R]"},
      {24, u"「Ａ」[Ｒ]", u"[ZEN_A][R]"},
      {25, u"「あ」[Ｒ]", u"[ZEN_H][R]"},
      {27, u"「ア」[Ｒ]", u"[ZEN_K][R]"},
  };
  for (const Tag& tag : kTags) {
    if (tag.mode == conversion_mode) return Pick(language, tag.ja, tag.en);
  }
  return u"Unknown";
}

void ComposeImeLine(const ImeReading& reading, Language language, TextBuffer& out) {
  out.clear();
  switch (reading.kind) {
    case ImeReading::Kind::Absent:
      break;
    case ImeReading::Kind::Closed:
      out.assign(u"IME OFF");
      break;
    case ImeReading::Kind::Open:
      out.assign(u"IME ON : ");
      out.append(ImeModeTag(reading.conversion_mode, language));
      break;
  }
}

void SetExternalText(DisplayState& state, std::u16string_view text, uintptr_t sender) {
  // The whole buffer is cleared so nothing of a longer earlier text remains.
  std::fill(state.external_text.data(), state.external_text.data() + TextBuffer::kCapacity, u'\0');
  state.external_text.assign(text.substr(0, std::min(text.size(), kExternalTextMax)));
  state.external_sender = text.empty() ? 0 : sender;
}
