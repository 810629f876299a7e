#include "display/alarm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/utf.h"

namespace {

TimeRecord Clock(uint16_t hour, uint16_t minute, uint16_t second) {
  return TimeRecord{2026, 12, 2, 8, hour, minute, second, 0};
}

TimeRecord Later(TimeRecord t, int seconds) {
  int s = (t.hour * 3600 + t.minute * 60 + t.second + seconds) % 86400;
  t.hour = static_cast<uint16_t>(s / 3600);
  t.minute = static_cast<uint16_t>(s / 60 % 60);
  t.second = static_cast<uint16_t>(s % 60);
  return t;
}

// What one display cycle got from the machine.
struct CycleResult {
  AlarmBooking booking;
  HighlightDecision highlight;
  std::string alarm_sound;
  std::string chime_sound;
};

class AlarmTest : public ::testing::Test {
 protected:
  void SetAlarm(int32_t mode, int32_t hour, int32_t minute, int32_t second) {
    s.ALARM = mode;
    s.ALARM_HOUR = hour;
    s.ALARM_MIN = minute;
    s.ALARM_SEC = second;
  }

  CycleResult Cycle(const TimeRecord& now, int32_t forced_alarm = 0) {
    CycleResult r;
    r.booking = machine.Book(s, now, flash_exists);
    r.highlight = machine.Highlight(s, now, forced_alarm);
    const AlarmSounds sounds = machine.Sounds(s, now);
    r.alarm_sound = Utf16ToUtf8(sounds.alarm);
    r.chime_sound = Utf16ToUtf8(sounds.chime);
    if (!r.alarm_sound.empty()) played.push_back(r.alarm_sound);
    if (!r.chime_sound.empty()) played.push_back(r.chime_sound);
    return r;
  }

  // Runs cycles every second from `from` for `seconds` seconds, `per_second`
  // cycles within each second (the display redraws more often when the clock
  // shows fractions).
  void RunSeconds(TimeRecord from, int seconds, int per_second = 1) {
    for (int i = 0; i < seconds; ++i)
      for (int k = 0; k < per_second; ++k) Cycle(Later(from, i));
  }

  Settings s;
  AlarmMachine machine;
  bool flash_exists = false;
  std::vector<std::string> played;
};

TEST_F(AlarmTest, SecondsRemainingWraps) {
  struct Row {
    int32_t hour, minute, second;
    TimeRecord now;
    int32_t expected;
  } rows[] = {
      {0, 0, 30, Clock(23, 59, 50), 40},
      {12, 0, 0, Clock(11, 0, 0), 3600},
      {12, 0, 0, Clock(12, 0, 59), -59},
      {12, 0, 0, Clock(12, 1, 0), 86340},
      {0, 0, 0, Clock(0, 1, 0), 86340},
      {23, 59, 59, Clock(0, 0, 0), -1},
      {0, 0, 0, Clock(23, 59, 1), 59},
      {0, 0, 0, Clock(0, 0, 0), 0},
      {9999999, 0, 0, Clock(0, 0, 0), 54000},  // out of range: still wrapped, no overflow
      {-5, 0, 0, Clock(0, 0, 0), 68400},
  };
  for (const Row& row : rows) {
    s.ALARM_HOUR = row.hour;
    s.ALARM_MIN = row.minute;
    s.ALARM_SEC = row.second;
    EXPECT_EQ(SecondsToAlarm(s, row.now), row.expected)
        << row.hour << ":" << row.minute << ":" << row.second;
  }
}

TEST_F(AlarmTest, AlarmMinuteCountsAsZero) {
  SetAlarm(kAlarmDaily, 7, 0, 0);
  EXPECT_EQ(Cycle(Clock(6, 59, 50)).booking.remaining, 10);
  const CycleResult at10 = Cycle(Clock(7, 0, 10));
  EXPECT_EQ(at10.booking.remaining, 0) << "R = -10 shows 0:00:00";
  EXPECT_TRUE(at10.highlight.alarm);
  EXPECT_EQ(at10.highlight.clock, LineBackground::Alarm) << "even second";
  const CycleResult at11 = Cycle(Clock(7, 0, 11));
  EXPECT_EQ(at11.highlight.clock, LineBackground::None) << "odd second blinks";
  EXPECT_EQ(at11.highlight.later_lines, LineBackground::None);
  EXPECT_TRUE(at11.highlight.highlight);
  EXPECT_EQ(Cycle(Clock(7, 1, 0)).booking.remaining, 86340);
  EXPECT_FALSE(Cycle(Clock(7, 1, 0)).highlight.highlight);
}

TEST_F(AlarmTest, CountdownWorksWithAlarmOff) {
  SetAlarm(kAlarmOff, 7, 0, 0);
  const CycleResult r = Cycle(Clock(5, 29, 1));
  EXPECT_EQ(r.booking.remaining, 5459);
  EXPECT_FALSE(r.highlight.highlight);
  EXPECT_EQ(Cycle(Clock(7, 0, 20)).booking.remaining, 0);
  EXPECT_FALSE(Cycle(Clock(7, 0, 0)).highlight.alarm) << "no highlight while ALARM is 0";
}

TEST_F(AlarmTest, CountdownText) {
  struct Row {
    int32_t remaining;
    const char* expected;
  } rows[] = {{0, " 0:00:00"}, {40, " 0:00:40"}, {5399, " 1:29:59"}, {86340, "23:59:00"},
              {3600, " 1:00:00"}};
  TextBuffer out;
  for (const Row& row : rows) {
    FormatCountdown(out, row.remaining);
    EXPECT_EQ(Utf16ToUtf8(out.view()), row.expected);
  }
}

TEST_F(AlarmTest, OnceAlarmTurnsItselfOffAfter58Seconds) {
  SetAlarm(kAlarmOnce, 7, 0, 0);
  EXPECT_FALSE(Cycle(Clock(6, 59, 59)).booking.once_alarm_ended);
  EXPECT_EQ(s.ALARM, kAlarmOnce);
  Cycle(Clock(7, 0, 0));
  EXPECT_EQ(s.ALARM, kAlarmOnceRinging);
  for (int sec = 1; sec < 58; ++sec) {
    EXPECT_FALSE(Cycle(Clock(7, 0, sec)).booking.once_alarm_ended) << sec;
    EXPECT_EQ(s.ALARM, kAlarmOnceRinging) << sec;
  }
  const CycleResult end = Cycle(Clock(7, 0, 58));
  EXPECT_TRUE(end.booking.once_alarm_ended);
  EXPECT_EQ(s.ALARM, kAlarmOff);
  EXPECT_FALSE(end.highlight.alarm);
  EXPECT_FALSE(Cycle(Clock(7, 0, 59)).booking.once_alarm_ended) << "reported once";
}

TEST_F(AlarmTest, DailyAlarmStaysOn) {
  SetAlarm(kAlarmDaily, 7, 0, 0);
  RunSeconds(Clock(6, 59, 55), 120);
  EXPECT_EQ(s.ALARM, kAlarmDaily);
}

TEST_F(AlarmTest, RingingOnceAlarmEndsEvenWhenItsLastSecondsAreMissed) {
  SetAlarm(kAlarmOnce, 7, 0, 0);
  Cycle(Clock(7, 0, 0));
  Cycle(Clock(7, 0, 30));
  // The machine was busy from :31 to past the minute.
  const CycleResult r = Cycle(Clock(7, 1, 5));
  EXPECT_TRUE(r.booking.once_alarm_ended);
  EXPECT_EQ(s.ALARM, kAlarmOff);
}

TEST_F(AlarmTest, PreAlarmColourAndEarlySound) {
  SetAlarm(kAlarmDaily, 7, 0, 0);
  s.ALARM_WAV.assign(u"C:\\alarm.wav");
  s.ALARM_WAV_BSEC = 5;
  s.YOREI_COLOR = 1;
  EXPECT_FALSE(Cycle(Clock(6, 59, 54)).highlight.highlight);
  const CycleResult early = Cycle(Clock(6, 59, 55));
  EXPECT_TRUE(early.highlight.alarm);
  EXPECT_EQ(early.alarm_sound, "C:\\alarm.wav");
  EXPECT_EQ(Cycle(Clock(6, 59, 57)).highlight.clock, LineBackground::None);
  EXPECT_TRUE(Cycle(Clock(6, 59, 58)).highlight.alarm);

  s.YOREI_COLOR = 0;
  EXPECT_FALSE(Cycle(Clock(6, 59, 58)).highlight.highlight) << "without YOREI_COLOR";
}

TEST_F(AlarmTest, AlarmSoundPlaysOnceHoweverOftenTheCycleRuns) {
  struct Row {
    int32_t bsec;
    int per_second;
  } rows[] = {{0, 1}, {0, 50}, {5, 1}, {5, 50}, {59, 3}};
  for (const Row& row : rows) {
    machine = AlarmMachine();
    played.clear();
    SetAlarm(kAlarmDaily, 7, 0, 0);
    s.ALARM_WAV.assign(u"a.wav");
    s.ALARM_WAV_BSEC = row.bsec;
    RunSeconds(Clock(6, 58, 0), 240, row.per_second);
    EXPECT_EQ(played, std::vector<std::string>{"a.wav"})
        << "BSEC " << row.bsec << ", " << row.per_second << " cycles a second";
  }
}

TEST_F(AlarmTest, NoAlarmSoundWhenOffOrPathEmpty) {
  SetAlarm(kAlarmOff, 7, 0, 0);
  s.ALARM_WAV.assign(u"a.wav");
  RunSeconds(Clock(6, 59, 50), 30);
  EXPECT_TRUE(played.empty());
  SetAlarm(kAlarmDaily, 7, 0, 0);
  s.ALARM_WAV.clear();
  RunSeconds(Clock(6, 59, 50), 30);
  EXPECT_TRUE(played.empty());
}

TEST_F(AlarmTest, EarlyChimeTakesTheComingHoursSound) {
  s.JIHOU = 1;
  s.JIHOU_MULTI = 1;
  s.JIHOU_WAV_BSEC = 3;
  for (int h = 0; h < 24; ++h) s.JIHOU_WAVS[h].assign(Utf8ToUtf16("hour" + std::to_string(h)));
  EXPECT_EQ(Cycle(Clock(9, 59, 56)).chime_sound, "");
  EXPECT_EQ(Cycle(Clock(9, 59, 57)).chime_sound, "hour10");
  Cycle(Clock(23, 30, 0));
  EXPECT_EQ(Cycle(Clock(23, 59, 57)).chime_sound, "hour0");
}

TEST_F(AlarmTest, ChimeOnTheHour) {
  s.JIHOU = 1;
  s.JIHOU_WAV.assign(u"chime.wav");
  s.JIHOU_WAVS[14].assign(u"hour14.wav");
  EXPECT_EQ(Cycle(Clock(14, 0, 0)).chime_sound, "chime.wav");
  machine = AlarmMachine();
  s.JIHOU_MULTI = 1;
  EXPECT_EQ(Cycle(Clock(14, 0, 0)).chime_sound, "hour14.wav");
}

TEST_F(AlarmTest, ChimePlaysOncePerHour) {
  s.JIHOU = 1;
  s.JIHOU_WAV.assign(u"c.wav");
  for (int bsec : {0, 3, 60}) {
    machine = AlarmMachine();
    played.clear();
    s.JIHOU_WAV_BSEC = bsec;
    RunSeconds(Clock(9, 58, 0), 2 * 3600, 3);
    EXPECT_EQ(played.size(), 2u) << "BSEC " << bsec;
  }
  s.JIHOU = 0;
  played.clear();
  RunSeconds(Clock(9, 58, 0), 300);
  EXPECT_TRUE(played.empty());
}

TEST_F(AlarmTest, HourlyHighlightWithoutAlarm) {
  s.JIHOU = 1;
  SetAlarm(kAlarmOff, 0, 0, 0);
  const CycleResult top = Cycle(Clock(15, 0, 0));
  EXPECT_TRUE(top.highlight.highlight);
  EXPECT_FALSE(top.highlight.alarm);
  EXPECT_EQ(top.highlight.clock, LineBackground::Alarm);
  EXPECT_EQ(top.highlight.later_lines, LineBackground::Plain);
  EXPECT_FALSE(Cycle(Clock(15, 0, 1)).highlight.highlight);
  EXPECT_FALSE(Cycle(Clock(15, 59, 59)).highlight.highlight);
  s.JIHOU = 0;
  EXPECT_FALSE(Cycle(Clock(16, 0, 0)).highlight.highlight);
}

TEST_F(AlarmTest, ForcedAlarmBlinks) {
  const CycleResult even = Cycle(Clock(10, 20, 30), 1);
  EXPECT_TRUE(even.highlight.alarm);
  EXPECT_EQ(even.highlight.clock, LineBackground::Alarm);
  EXPECT_EQ(even.highlight.later_lines, LineBackground::Plain);
  EXPECT_EQ(Cycle(Clock(10, 20, 31), -3).highlight.clock, LineBackground::None);
  EXPECT_FALSE(Cycle(Clock(10, 20, 32), 0).highlight.highlight);
}

TEST_F(AlarmTest, FlashRequests) {
  SetAlarm(kAlarmDaily, 7, 0, 0);
  s.ALARM_FLUSH = 1;
  EXPECT_FALSE(Cycle(Clock(6, 59, 59)).booking.open_flash);
  EXPECT_TRUE(Cycle(Clock(7, 0, 0)).booking.open_flash);
  EXPECT_FALSE(Cycle(Clock(7, 0, 0)).booking.open_flash) << "same second asks once";
  EXPECT_FALSE(Cycle(Clock(7, 0, 1)).booking.open_flash);
  // The next day, at the same second, it flashes again.
  EXPECT_TRUE(Cycle(Clock(7, 0, 0)).booking.open_flash);
  flash_exists = true;
  EXPECT_FALSE(Cycle(Clock(7, 0, 1)).booking.open_flash);
  machine = AlarmMachine();
  EXPECT_FALSE(Cycle(Clock(7, 0, 0)).booking.open_flash) << "a flash window exists";
  flash_exists = false;

  s.ALARM = kAlarmOff;
  machine = AlarmMachine();
  EXPECT_FALSE(Cycle(Clock(7, 0, 0)).booking.open_flash) << "alarm off";

  s.JIHOU = 1;
  s.JIHOU_FLUSH = 1;
  EXPECT_TRUE(Cycle(Clock(8, 0, 0)).booking.open_flash);
  EXPECT_FALSE(Cycle(Clock(8, 0, 1)).booking.open_flash);
  s.JIHOU = 0;
  EXPECT_FALSE(Cycle(Clock(9, 0, 0)).booking.open_flash) << "chime off";
}

class DriveWarningTest : public ::testing::Test {
 protected:
  DriveWarningTest() { s.WATCHDRIVEFREEWAV.assign(u"low.wav"); }

  // Cycles at second `second`; true when the line is highlighted.
  bool At(int second, bool drive_short, std::string* sound = nullptr) {
    const DriveWarningDecision d =
        machine.DriveWarning(s, drive_short, Clock(12, 0, static_cast<uint16_t>(second)));
    if (sound) *sound = Utf16ToUtf8(d.sound);
    return d.highlight_line;
  }

  Settings s;
  AlarmMachine machine;
};

TEST_F(DriveWarningTest, EveryOtherSecondWhileShort) {
  std::string sound;
  EXPECT_TRUE(At(10, true, &sound));
  EXPECT_EQ(sound, "low.wav");
  EXPECT_TRUE(At(10, true, &sound)) << "colour on every cycle of the second";
  EXPECT_EQ(sound, "") << "but the sound only once";
  EXPECT_FALSE(At(11, true, &sound));
  EXPECT_TRUE(At(12, true, &sound));
  EXPECT_EQ(sound, "low.wav");
  EXPECT_FALSE(At(14, false));
}

TEST_F(DriveWarningTest, SuspensionLastsUntilTheDriveRecovers) {
  EXPECT_TRUE(At(10, true));
  machine.SuspendDriveWarning();
  EXPECT_FALSE(At(12, true));
  EXPECT_FALSE(At(14, true));
  EXPECT_TRUE(machine.drive_warning_suspended());
  EXPECT_FALSE(At(16, false));
  EXPECT_FALSE(machine.drive_warning_suspended());
  EXPECT_TRUE(At(18, true)) << "short again: warns again";
}

TEST_F(DriveWarningTest, SuspensionWithoutPreviousWarningEndsAtOnce) {
  machine.SuspendDriveWarning();
  EXPECT_TRUE(At(20, true)) << "previous result was no warning";
  EXPECT_FALSE(machine.drive_warning_suspended());
}

}  // namespace
