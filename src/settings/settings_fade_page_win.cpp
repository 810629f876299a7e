// The Fade in/out page: dimming when the mouse rests or moves (save group 6).

#include <windows.h>

#include <commctrl.h>

#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "ui/help_topics.h"

namespace {

class FadePage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override { return kTopicFade; }
  void OnInitPage() override;
  void UpdateEnables();
  bool OnControl(int id, int code) override;
  bool OnApply() override;
};

void FadePage::OnInitPage() {
  const Settings& s = settings();
  SetCheck(IDC_D_HIDESTOP, s.HIDESTOP);
  SetCheck(IDC_D_HIDEMOVE, s.HIDEMOVE);
  SetCheck(IDC_D_HIDEOUT, s.HideOut);
  SetCheck(IDC_D_INSTANTLY, s.INSTANTLY);
  SetSpin(IDC_D_SPIN_FADEOUT, 0, 9999);
  SetSpin(IDC_D_SPIN_FADEIN, 0, 9999);
  LimitText(IDC_D_FADEOUTMSEC, 4);
  LimitText(IDC_D_FADEINMSEC, 4);
  SetNumber(IDC_D_FADEOUTMSEC, s.FADEOUTMSEC);
  SetNumber(IDC_D_FADEINMSEC, s.FADEINMSEC);
  UpdateEnables();
}

void FadePage::UpdateEnables() {
  const bool stop = Checked(IDC_D_HIDESTOP);
  for (int id : {IDC_D_FADEOUTMSEC, IDC_D_SPIN_FADEOUT, IDC_D_FADEOUT_LABEL, IDC_D_FADEOUT_UNIT}) Enable(id, stop);
  const bool move = Checked(IDC_D_HIDEMOVE);
  for (int id : {IDC_D_FADEINMSEC, IDC_D_SPIN_FADEIN, IDC_D_FADEIN_LABEL, IDC_D_FADEIN_UNIT}) Enable(id, move);
}

bool FadePage::OnControl(int id, int code) {
  if ((id == IDC_D_HIDESTOP || id == IDC_D_HIDEMOVE) && code == BN_CLICKED) {
    UpdateEnables();
    return true;
  }
  return false;
}

bool FadePage::OnApply() {
  Settings& s = settings();
  s.HIDESTOP = Checked(IDC_D_HIDESTOP);
  s.FADEOUTMSEC = Signed(IDC_D_FADEOUTMSEC);
  s.HIDEMOVE = Checked(IDC_D_HIDEMOVE);
  s.FADEINMSEC = Signed(IDC_D_FADEINMSEC);
  s.HideOut = Checked(IDC_D_HIDEOUT);
  s.INSTANTLY = Checked(IDC_D_INSTANTLY);
  SaveSettings(s, 6);
  return true;
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeFadePage(SheetContext& context) { return std::make_unique<FadePage>(context); }
