#pragma once
// The about box: icon, version, web links, description and the environment
// report for questions. Built from an in-memory template; modal.

#include <windows.h>

#include <string_view>

#include "common/language.h"
#include "ui/message_box_win.h"

struct AboutParameters {
  Language language = Language::Japanese;
  int icon = 0;               // icon resource in `module`
  HINSTANCE module = nullptr;  // holds the icon and the version resource
  HWND owner = nullptr;
  std::u16string_view name;
  std::u16string_view site;          // product web page ("" : none)
  std::u16string_view contact;       // web page or e-mail address
  std::u16string_view contribution;  // "" hides the contribution link
  std::u16string_view description;
  std::u16string_view feedback;  // "" hides the feedback link
  std::u16string_view extra;     // appended to the link box
  MessageBoxFn message_box = ShowMessage;
  HWND* window_out = nullptr;  // holds the box's window while it is open
};

// Returns when the box closes: the dialog result (-1 when it could not open).
INT_PTR ShowAboutBox(const AboutParameters& parameters);
