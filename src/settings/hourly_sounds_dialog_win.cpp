// The per-hour chime sounds (Multi Sound): 24 boxes, OK takes them.

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/enlarge.h"
#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"

namespace {

class HourlySoundsDialog final : public Dialog {
 public:
  HourlySoundsDialog(SheetContext& context) : context_(context) {}

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  void OnDropFiles(HDROP drop);

  SheetContext& context_;
};

bool HourlySoundsDialog::OnInit() {
  Settings& s = *context_.host->settings;
  for (int h = 0; h < kJihouHours; ++h) {
    SendDlgItemMessageW(window(), IDC_HS_EDIT + h, EM_LIMITTEXT, 519, 0);
    const std::u16string text(s.JIHOU_WAVS[h].view());
    SetDlgItemTextW(window(), IDC_HS_EDIT + h, Wide(text));
  }
  if (context_.factor > 1.0) {
    RECT frame;
    RECT work;
    if (GetWindowRect(window(), &frame) && SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      const PixelRect area{work.left, work.top, work.right - work.left, work.bottom - work.top};
      const PixelRect size = ScaleRect({0, 0, frame.right - frame.left, frame.bottom - frame.top}, context_.factor);
      const PixelRect placed = PlaceAtBottomRight(area, std::min(size.width, area.width),
                                                  std::min(size.height, area.height));
      SetWindowPos(window(), nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER);
      EnlargeChildren(window(), context_.factor, context_.big_font);
    }
  }
  DragAcceptFiles(window(), TRUE);
  return true;
}

bool HourlySoundsDialog::OnCommand(int id, int code, HWND control) {
  if (id >= IDC_HS_BROWSE && id < IDC_HS_BROWSE + kJihouHours) {
    const int hour = id - IDC_HS_BROWSE;
    const Language language = context_.host->language;
    std::wstring title = language == Language::Japanese
                             ? std::to_wstring(hour) + L"時の時報で再生するサウンドファイル"
                             : L"Sound file to be played with a time signal of " + std::to_wstring(hour) + L":00";
    const std::u16string title16(title.begin(), title.end());
    ChooseSoundFile(window(), GetDlgItem(window(), IDC_HS_EDIT + hour), title16, language);
    return true;
  }
  if (id == IDOK) {
    Settings& s = *context_.host->settings;
    for (int h = 0; h < kJihouHours; ++h) {
      wchar_t text[520] = L"";
      GetDlgItemTextW(window(), IDC_HS_EDIT + h, text, 520);
      s.JIHOU_WAVS[h].assign(reinterpret_cast<const char16_t*>(text));
    }
  }
  return Dialog::OnCommand(id, code, control);
}

bool HourlySoundsDialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  (void)lparam;
  if (message != WM_DROPFILES) return false;
  OnDropFiles(HDROP(wparam));
  result = 0;
  return true;
}

// The file goes into the first row whose bottom edge is at or below the
// cursor.
void HourlySoundsDialog::OnDropFiles(HDROP drop) {
  const auto [file, at] = TakeDrop(window(), drop);
  if (file.empty()) return;
  int chosen = -1;
  for (int h = 0; h < kJihouHours; ++h) {
    RECT box;
    if (!GetWindowRect(GetDlgItem(window(), IDC_HS_EDIT + h), &box)) continue;
    // Two columns: a row counts only in the column under the cursor.
    if (at.x < box.left - 60 || at.x > box.right + 40) continue;
    if (box.bottom >= at.y) {
      chosen = h;
      break;
    }
  }
  if (chosen >= 0) SetDlgItemTextW(window(), IDC_HS_EDIT + chosen, Wide(file));
}

}  // namespace

bool RunHourlySoundsDialog(SheetContext& context, HWND owner) {
  HourlySoundsDialog dialog(context);
  const int id = context.host->language == Language::Japanese ? IDD_HOURLY_SOUNDS_JA : IDD_HOURLY_SOUNDS_EN;
  return dialog.RunModal(context.host->instance, id, owner) == IDOK;
}
