#pragma once
// A second start while an instance runs: forward the switch, open the
// already-running dialog or ask the running instance to shut down.

#include <windows.h>

#include "app/command_line.h"
#include "app/pictures_win.h"
#include "common/language.h"

void HandleRunningInstance(HINSTANCE instance, Switch s, Language language, const NotificationPictures& pictures);
