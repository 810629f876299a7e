#include "display/alarm.h"

namespace {

constexpr int64_t kDay = 86400;
constexpr int32_t kAlarmMinuteStart = -59;

int32_t SecondOfDay(const TimeRecord& t) {
  return t.hour * 3600 + t.minute * 60 + t.second;
}

bool InAlarmMinute(int32_t r) { return r >= kAlarmMinuteStart && r <= 0; }

bool TopOfHour(const TimeRecord& t) { return t.minute == 0 && t.second == 0; }

bool ChimeDue(const Settings& s, const TimeRecord& t) {
  if (s.JIHOU_WAV_BSEC == 0) return TopOfHour(t);
  return t.minute == 59 && int32_t{t.second} == 60 - s.JIHOU_WAV_BSEC;
}

std::u16string_view ChimeFile(const Settings& s, const TimeRecord& t) {
  if (!s.JIHOU_MULTI) return s.JIHOU_WAV.view();
  // Ahead of the full hour the chime belongs to the coming hour.
  const unsigned hour = t.minute == 59 ? (t.hour + 1u) % 24 : t.hour;
  return hour < s.JIHOU_WAVS.size() ? s.JIHOU_WAVS[hour].view() : std::u16string_view();
}

}  // namespace

int32_t SecondsToAlarm(const Settings& s, const TimeRecord& now) {
  // 64-bit and a full modulo, so that stored times out of their dialog
  // ranges still land in -59 ... 86340 instead of overflowing.
  const int64_t target = int64_t{s.ALARM_HOUR} * 3600 + int64_t{s.ALARM_MIN} * 60 + s.ALARM_SEC;
  int64_t r = target - SecondOfDay(now);
  r = ((r - kAlarmMinuteStart) % kDay + kDay) % kDay + kAlarmMinuteStart;
  return static_cast<int32_t>(r);
}

AlarmBooking AlarmMachine::Book(Settings& s, const TimeRecord& now, bool flash_window_exists) {
  AlarmBooking booking;
  const int32_t second_of_day = SecondOfDay(now);
  if (last_flash_second_ != second_of_day) last_flash_second_ = -1;
  auto request_flash = [&] {
    if (flash_window_exists || last_flash_second_ == second_of_day) return;
    last_flash_second_ = second_of_day;
    booking.open_flash = true;
  };

  int32_t r = SecondsToAlarm(s, now);
  if (!InAlarmMinute(r)) {
    // The sound may start up to ALARM_WAV_BSEC seconds ahead: keep its flag
    // over that stretch, or every cycle within that second would restart it.
    if (r > s.ALARM_WAV_BSEC || r < kAlarmMinuteStart) alarm_sound_played_ = false;
    // A ringing one-time alarm whose last seconds were missed (a busy or
    // sleeping machine) still ends instead of ringing again tomorrow.
    if (s.ALARM == kAlarmOnceRinging) {
      s.ALARM = kAlarmOff;
      booking.once_alarm_ended = true;
    }
  } else {
    if (r == 0 && s.ALARM_FLUSH && s.ALARM != kAlarmOff) request_flash();
    if (s.ALARM == kAlarmOnce) s.ALARM = kAlarmOnceRinging;
    if (s.ALARM == kAlarmOnceRinging && r <= -58) {
      s.ALARM = kAlarmOff;
      booking.once_alarm_ended = true;
    }
    r = 0;
  }
  remaining_ = r;
  booking.remaining = r;

  if (s.JIHOU) {
    // Minute 59 keeps the flag too: an early chime plays within it.
    if (now.minute != 0 && now.minute != 59) chime_played_ = false;
    if (TopOfHour(now) && s.JIHOU_FLUSH) request_flash();
  }
  return booking;
}

HighlightDecision AlarmMachine::Highlight(const Settings& s, const TimeRecord& now,
                                          int32_t forced_alarm) const {
  HighlightDecision d;
  const bool alarm_on = s.ALARM != kAlarmOff;
  const bool pre_alarm =
      alarm_on && s.YOREI_COLOR && remaining_ >= 0 && remaining_ <= s.ALARM_WAV_BSEC;
  if ((alarm_on && remaining_ == 0) || forced_alarm != 0 || pre_alarm) {
    d.alarm = true;
    d.highlight = true;
    // Blink: alarm colour on even seconds, no colour at all on odd ones.
    const bool even = now.second % 2 == 0;
    d.clock = even ? LineBackground::Alarm : LineBackground::None;
    d.later_lines = even ? LineBackground::Plain : LineBackground::None;
    return d;
  }
  if (s.JIHOU && TopOfHour(now)) {
    d.highlight = true;
    d.clock = LineBackground::Alarm;
  }
  return d;
}

AlarmSounds AlarmMachine::Sounds(const Settings& s, const TimeRecord& now) {
  AlarmSounds sounds;
  if (s.ALARM != kAlarmOff && remaining_ == s.ALARM_WAV_BSEC && !alarm_sound_played_) {
    alarm_sound_played_ = true;
    sounds.alarm = s.ALARM_WAV.view();
  }
  if (s.JIHOU && !chime_played_ && ChimeDue(s, now)) {
    chime_played_ = true;
    sounds.chime = ChimeFile(s, now);
  }
  return sounds;
}

DriveWarningDecision AlarmMachine::DriveWarning(const Settings& s, bool drive_short,
                                                const TimeRecord& now) {
  DriveWarningDecision d;
  const int32_t second_of_day = SecondOfDay(now);
  if (last_warning_sound_second_ != second_of_day) last_warning_sound_second_ = -1;
  bool quiet = false;
  if (warning_suspended_) {
    if (previous_warning_ && drive_short)
      quiet = true;
    else
      warning_suspended_ = false;
  }
  if (!quiet && drive_short && now.second % 2 == 0) {
    d.highlight_line = true;
    // Once per even second, however many cycles run within it.
    if (last_warning_sound_second_ != second_of_day) {
      last_warning_sound_second_ = second_of_day;
      d.sound = s.WATCHDRIVEFREEWAV.view();
    }
  }
  previous_warning_ = drive_short;
  return d;
}

void FormatCountdown(TextBuffer& out, int32_t r) {
  out.clear();
  const int32_t hours = r / 3600;
  out.append(FormatSigned(hours, 2, false).view());
  out.append(u":");
  out.append(FormatSigned(r / 60 - hours * 60, 2, true).view());
  out.append(u":");
  out.append(FormatSigned(r % 60, 2, true).view());
}

FlashAction FlashTickAction(int tick) {
  if (tick >= 5) return FlashAction::Destroy;
  return tick % 2 == 1 ? FlashAction::Show : FlashAction::Hide;
}
