#pragma once
// The interface language of the running program, for code that has no
// AppState at hand. (Messages go through ShowMessage, ui/message_box_win.h.)

#include "common/language.h"

void SetAppLanguage(Language language);
Language AppLanguage();
