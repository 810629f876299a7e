// The Hotkeys page: the nine global hotkeys, the title fragments and the
// I-beam rule (save group 5, which registers the hotkeys again).

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "settings/sheet_rules.h"
#include "app/hotkeys.h"
#include "ui/dark_mode_win.h"
#include "ui/hotkey_text_win.h"
#include "ui/help_topics.h"

namespace {

struct HotkeyRow {
  int control;
  uint32_t Settings::*field;
};

constexpr HotkeyRow kRows[] = {
    {IDC_H_SETTING, &Settings::HOTKEY_SETTING},
    {IDC_H_MEMO, &Settings::HOTKEY_MEMO},
    {IDC_H_HIDE, &Settings::HOTKEY_HIDE},
    {IDC_H_HIDE_P1, &Settings::HOTKEY_HIDE_P1},
    {IDC_H_HIDE_P0, &Settings::HOTKEY_HIDE_P0},
    {IDC_H_CLEARCLIPBOARD, &Settings::HOTKEY_CLEARCLIPBOARD},
    {IDC_H_PLAINER, &Settings::HOTKEY_PLAINER},
    {IDC_H_CHECK_ALARM_NOKORI, &Settings::HOTKEY_CHECK_ALARM_NOKORI},
    {IDC_H_SUSPEND_WARNDISKSIZE, &Settings::HOTKEY_SUSPEND_WARNDISKSIZE},
};

class HotkeysPage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override { return kTopicHotkeys; }
  void OnInitPage() override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnApply() override;
  uint32_t Hotkey(int control) const { return uint32_t(SendDlgItemMessageW(window(), control, HKM_GETHOTKEY, 0, 0)) & 0xFFFF; }
};

// What a hotkey box shows when the program paints it (dark mode).
std::u16string HotkeyBoxText(uint32_t value) { return HotkeyControlText(value, AppLanguage()); }

void HotkeysPage::OnInitPage() {
  const Settings& s = settings();
  for (const HotkeyRow& row : kRows) {
    // A key alone, or with only Shift, Ctrl or Alt, would clash with typing.
    SendDlgItemMessageW(window(), row.control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendDlgItemMessageW(window(), row.control, HKM_SETHOTKEY, WPARAM(s.*row.field & 0xFFFF), 0);
    ThemeHotkeyBox(GetDlgItem(window(), row.control), HotkeyBoxText);
  }
  LimitText(IDC_H_TITLESUBSTR, 519);
  SetText(IDC_H_TITLESUBSTR, s.TITLESUBSTR.view());
  SetCheck(IDC_H_IBEAMHIDE, s.IBEAMHIDE);
}

bool HotkeysPage::OnNotify(int id, NMHDR* header) {
  if (header->code == NM_CLICK || header->code == NM_RETURN) {
    if (id == IDC_H_MEMO_LINK) {
      SwitchPage(kPageMemo);
      return true;
    }
    if (id == IDC_H_ADMIN_LINK) {
      if (host().show_help) host().show_help(window(), reinterpret_cast<const wchar_t*>(kTopicAdminRun));
      return true;
    }
  }
  return SheetPageBase::OnNotify(id, header);
}

bool HotkeysPage::OnApply() {
  std::vector<uint32_t> hotkeys;
  for (const HotkeyRow& row : kRows) hotkeys.push_back(Hotkey(row.control));
  if (HasDuplicateHotkey(hotkeys)) {
    Message(kHotkeyDuplicated, kHotkeyCaption, MB_OK | MB_ICONERROR);
    return false;
  }
  Settings& s = settings();
  for (std::size_t i = 0; i < std::size(kRows); ++i) s.*kRows[i].field = hotkeys[i];
  s.TITLESUBSTR.assign(Text(IDC_H_TITLESUBSTR, 520));
  s.IBEAMHIDE = Checked(IDC_H_IBEAMHIDE);
  SaveSettings(s, 5);
  return true;
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeHotkeysPage(SheetContext& context) {
  return std::make_unique<HotkeysPage>(context);
}
