#include "ui/hotkey_text_win.h"

#include <windows.h>

#include "app/hotkeys.h"
#include "common/wide_win.h"

std::u16string HotkeyControlText(uint32_t value, Language language) {
  wchar_t name[64] = L"";
  const UINT key = value & 0xFF;
  if (key != 0) {
    const LONG scan = LONG(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    GetKeyNameTextW(scan, name, ARRAYSIZE(name));
  }
  return HotkeyText(value, U16View(name), language);
}
