// The Colors page: twelve colours, dark-mode inversion, the background's
// opacity and rounded corners.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>

#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "settings/sheet_rules.h"
#include "ui/help_topics.h"

namespace {

constexpr int kRows = 12;

// Row order of the page.
constexpr uint32_t Settings::*kColorFields[kRows] = {
    &Settings::TEXTCOLOR,       &Settings::BKCOLOR,         &Settings::ALARM_BK_COLOR, &Settings::ALARM_NOKORI_COLOR,
    &Settings::CLIPBOARD_COLOR, &Settings::CLIPBOARD_COLOR_F, &Settings::MEMO_COLOR,   &Settings::GAIBU_COLOR,
    &Settings::CPUMEM_COLOR,    &Settings::IMESTATE_COLOR,  &Settings::KAKOMI_COLOR,   &Settings::WBKCOLOR};

class ColorsPage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override { return kTopicColors; }
  void OnInitPage() override;
  void ShowColor(int row);
  void ShowAlpha();
  bool OnControl(int id, int code) override;
  void ChooseRowColor(int row);
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  bool OnApply() override;
  void OnDestroy() override;

  std::array<uint32_t, kRows> colors_{};
  std::array<HBRUSH, kRows> brushes_{};
};

void ColorsPage::OnInitPage() {
  const Settings& s = settings();
  for (int row = 0; row < kRows; ++row) {
    colors_[row] = s.*kColorFields[row];
    ShowColor(row);
  }
  SetCheck(IDC_C_INVERT, s.INVERT_COLOR_DARKMODE);
  SetCheck(IDC_C_ROUNDRECT, s.ROUNDRECT);
  SendDlgItemMessageW(window(), IDC_C_ALPHA, TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
  SendDlgItemMessageW(window(), IDC_C_ALPHA, TBM_SETPAGESIZE, 0, 16);
  SendDlgItemMessageW(window(), IDC_C_ALPHA, TBM_SETPOS, TRUE, std::clamp(s.BG_ALPHA, 0, 255));
  ShowAlpha();
}

void ColorsPage::ShowColor(int row) {
  if (brushes_[row]) DeleteObject(brushes_[row]);
  brushes_[row] = CreateSolidBrush(colors_[row]);
  SetText(IDC_C_TEXT + row, ColorText(colors_[row]));
  InvalidateRect(Item(IDC_C_SWATCH + row), nullptr, TRUE);
}

void ColorsPage::ShowAlpha() {
  SetNumber(IDC_C_ALPHA_VALUE, SendDlgItemMessageW(window(), IDC_C_ALPHA, TBM_GETPOS, 0, 0));
}

bool ColorsPage::OnControl(int id, int code) {
  if (id >= IDC_C_CHANGE && id < IDC_C_CHANGE + kRows && code == BN_CLICKED) {
    ChooseRowColor(id - IDC_C_CHANGE);
    return true;
  }
  return false;
}

// The custom colours are the store's: read before and written after each
// accepted choice, so that two programs' sessions share them.
void ColorsPage::ChooseRowColor(int row) {
  Settings& s = settings();
  LoadCustomColors(s, ActiveSettingsStore());
  COLORREF custom[kCustomColorCount];
  for (int i = 0; i < kCustomColorCount; ++i) custom[i] = s.CUSTCOLORS[i];
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = window();
  choose.rgbResult = colors_[row];
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&choose)) return;
  for (int i = 0; i < kCustomColorCount; ++i) s.CUSTCOLORS[i] = custom[i];
  SaveCustomColors(s, ActiveSettingsStore());
  colors_[row] = choose.rgbResult & 0xFFFFFF;
  ShowColor(row);
  Changed();
}

bool ColorsPage::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(HWND(lparam));
      if (id >= IDC_C_SWATCH && id < IDC_C_SWATCH + kRows && brushes_[id - IDC_C_SWATCH]) {
        result = INT_PTR(brushes_[id - IDC_C_SWATCH]);
        return true;
      }
      return false;
    }
    case WM_HSCROLL:
      if (HWND(lparam) == Item(IDC_C_ALPHA)) {
        ShowAlpha();
        Changed();
        result = 0;
        return true;
      }
      return false;
    default:
      return SheetPageBase::OnMessage(message, wparam, lparam, result);
  }
}

bool ColorsPage::OnApply() {
  Settings& s = settings();
  for (int row = 0; row < kRows; ++row) s.*kColorFields[row] = colors_[row];
  s.BG_ALPHA = int32_t(SendDlgItemMessageW(window(), IDC_C_ALPHA, TBM_GETPOS, 0, 0));
  s.ROUNDRECT = Checked(IDC_C_ROUNDRECT);
  s.INVERT_COLOR_DARKMODE = Checked(IDC_C_INVERT);
  SaveSettings(s, 3);
  // Text, background, alarm colours, opacity, inversion and corners are
  // kept with the general settings; saved now rather than at exit.
  SaveSettings(s, 1);
  if (host().colors_changed) host().colors_changed();
  return true;
}

void ColorsPage::OnDestroy() {
  for (HBRUSH& brush : brushes_) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeColorsPage(SheetContext& context) {
  return std::make_unique<ColorsPage>(context);
}
