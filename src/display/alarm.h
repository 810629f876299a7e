#pragma once
// Alarm, hourly chime, flash and drive-warning bookkeeping. The display
// cycle calls these once per cycle in its order (book, highlight, sounds,
// drive warning); the machine decides, the caller paints, plays and opens
// windows (alarm_win.h, flash_window_win.h).

#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"
#include "display/clock_format.h"
#include "settings/settings.h"

// ALARM values; 3 exists only at run time while a one-time alarm goes off.
enum AlarmState : int32_t {
  kAlarmOff = 0,
  kAlarmDaily = 1,
  kAlarmOnce = 2,
  kAlarmOnceRinging = 3,
};

struct AlarmBooking {
  // Seconds remaining to the alarm time, 0 for the whole alarm minute.
  int32_t remaining = 0;
  // Open the flash window (the caller checks once more that none exists).
  bool open_flash = false;
  // A one-time alarm has ended: ALARM is now 0. The caller clears the alarm
  // page's check box 1012 when it shows the indeterminate (once) state and
  // saves the settings.
  bool once_alarm_ended = false;
};

// The background a line is drawn on.
enum class LineBackground {
  Plain,  // mapped BKCOLOR
  Alarm,  // mapped ALARM_BK_COLOR
  None,   // no colour set this cycle: the drawing surface's initial white
};

struct HighlightDecision {
  LineBackground clock = LineBackground::Plain;
  LineBackground later_lines = LineBackground::Plain;
  bool highlight = false;  // the display's highlight flag for this cycle
  // An alarm, pre-alarm or forced alarm is in effect: a hidden display is
  // shown again (hidden flag cleared, menu item 32776 unchecked) and this
  // cycle ends without painting.
  bool alarm = false;
};

// Files to play this cycle, in this order (empty = nothing). A later sound
// replaces an earlier one still playing.
struct AlarmSounds {
  std::u16string_view alarm;
  std::u16string_view chime;
};

struct DriveWarningDecision {
  bool highlight_line = false;  // draw the system line on ALARM_BK_COLOR, set the highlight flag
  std::u16string_view sound;    // WATCHDRIVEFREEWAV when it is due
};

class AlarmMachine {
 public:
  // The first alarm work of each cycle: seconds remaining, state changes
  // (ALARM 2 -> 3 -> 0 is written into `settings`), flash requests.
  AlarmBooking Book(Settings& settings, const TimeRecord& now, bool flash_window_exists);

  // The clock line's background, from the last Book().
  HighlightDecision Highlight(const Settings& settings, const TimeRecord& now,
                              int32_t forced_alarm) const;

  // Alarm and chime sounds whose moment has come (each plays once).
  AlarmSounds Sounds(const Settings& settings, const TimeRecord& now);

  // The system line's drive warning, given the formatter's verdict. Called
  // only in cycles where the sampler produced or kept a system line.
  DriveWarningDecision DriveWarning(const Settings& settings, bool drive_short,
                                    const TimeRecord& now);

  // Command 1263: quiet the drive warning until the drive is no longer short.
  void SuspendDriveWarning() { warning_suspended_ = true; }
  bool drive_warning_suspended() const { return warning_suspended_; }

  int32_t remaining() const { return remaining_; }

 private:
  int32_t remaining_ = 0;
  bool alarm_sound_played_ = false;
  bool chime_played_ = false;
  // Second of the day a flash was last requested, so that cycles repeating
  // within that second do not ask again.
  int32_t last_flash_second_ = -1;
  bool previous_warning_ = false;
  bool warning_suspended_ = false;
  int32_t last_warning_sound_second_ = -1;
};

// Seconds from `now` to the alarm time of day, wrapped into -59 ... 86340
// (the alarm minute is -59 ... 0).
int32_t SecondsToAlarm(const Settings& settings, const TimeRecord& now);

// The countdown line: "%2d:%02d:%02d" of hours, minutes, seconds.
void FormatCountdown(TextBuffer& out, int32_t remaining);

// Flash window timer: ticks 1 and 3 show it, 2 and 4 hide it, 5 ends it.
enum class FlashAction { Show, Hide, Destroy };
FlashAction FlashTickAction(int tick);

inline constexpr unsigned kFlashTimerId = 602411;
inline constexpr unsigned kFlashTimerPeriod = 200;  // ms
