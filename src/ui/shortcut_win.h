#pragma once
// The start-up shortcut: a link to the program in the user's Startup folder.

#include <windows.h>

#include <string>

#include "common/language.h"

// "<Startup folder>\キラビ.lnk" (Japanese) or "...\kirabi.lnk"; empty when the
// folder is unknown.
std::wstring StartupShortcutPath(Language language);
bool StartupShortcutExists(const std::wstring& shortcut);
// Needs COM initialised on the calling thread.
bool CreateStartupShortcut(const std::wstring& target, const std::wstring& shortcut);

// The tray command: offers to delete an existing shortcut or to create one
// to `target`, and reports the result. Every box goes through ShowMessage.
void RunStartupCommand(HWND owner, Language language, const std::wstring& shortcut, const std::wstring& target);
