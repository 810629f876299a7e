#pragma once
// Sound playback for the alarm, the chime and the drive warning.

#include <string_view>

#include "display/alarm.h"

// Starts a WAV file asynchronously, replacing one still playing. An empty
// path plays nothing; a missing or unplayable file gives no sound and no
// message. False when nothing started.
bool PlaySoundFile(std::u16string_view path);

// Plays the alarm and then the chime of this cycle (the chime replaces the
// alarm when both are due).
void PlayAlarmSounds(const AlarmSounds& sounds);
