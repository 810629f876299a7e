#include "display/alarm_win.h"

#include <windows.h>
#include <mmsystem.h>

#include "common/wide_win.h"

bool PlaySoundFile(std::u16string_view path) {
  wchar_t file[TextBuffer::kCapacity];
  if (path.empty() || path.size() >= TextBuffer::kCapacity) return false;
  path.copy(U16(file), path.size());
  file[path.size()] = L'\0';
  // SND_NODEFAULT: a missing file stays silent instead of the system beep.
  return PlaySoundW(file, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void PlayAlarmSounds(const AlarmSounds& sounds) {
  PlaySoundFile(sounds.alarm);
  PlaySoundFile(sounds.chime);
}
