#include "app/dialogs_win.h"

#include "app/enlarge.h"
#include "ui/enlarge_win.h"
#include "app/resource_ids.h"
#include "ui/dialog_win.h"

namespace {

class AlreadyRunningDialog final : public Dialog {
 public:
  explicit AlreadyRunningDialog(const NotificationPictures& pictures) : pictures_(pictures) {}

 protected:
  bool OnInit() override {
    SendDlgItemMessageW(window(), IDC_WARNING_ICON, STM_SETICON, WPARAM(LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
    ShowNotificationPictures(window(), pictures_);
    MessageBeep(MB_OK);
    return true;
  }
  bool OnCommand(int id, int, HWND) override {
    switch (id) {
      case IDB_FORCE_EXIT:
      case IDB_OPEN_SETTINGS:
      case IDCANCEL:
        End(id);
        return true;
      default:
        return false;
    }
  }

 private:
  const NotificationPictures& pictures_;
};

// BIGDIALOG: the notice fills the work area, against its bottom-right corner.
HFONT EnlargeDialog(HWND dialog) {
  RECT work;
  RECT frame;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(dialog, &frame)) return nullptr;
  const PixelRect area{work.left, work.top, work.right - work.left, work.bottom - work.top};
  const int32_t width = frame.right - frame.left;
  const int32_t height = frame.bottom - frame.top;
  const double factor = EnlargementFactor(area, width, height);
  const PixelRect size = ScaleRect({0, 0, width, height}, factor);
  const PixelRect placed = PlaceAtBottomRight(area, size.width < area.width ? size.width : area.width,
                                              size.height < area.height ? size.height : area.height);
  SetWindowPos(dialog, nullptr, placed.left, placed.top, placed.width, placed.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  HFONT font = EnlargedFont(dialog, factor);
  EnlargeChildren(dialog, factor, font);
  return font;
}

// Modeless and owning itself: it deletes itself once its window is gone.
class OpeningNotice final : public Dialog {
 public:
  OpeningNotice(const NotificationPictures& pictures, bool enlarge, OpeningNoticeClosed closed)
      : pictures_(pictures), enlarge_(enlarge), closed_(closed) {}

 protected:
  bool OnInit() override {
    ShowNotificationPictures(window(), pictures_);
    if (enlarge_) font_ = EnlargeDialog(window());
    return true;
  }
  void OnDestroy() override {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
  }
  void OnFinalMessage() override { delete this; }
  bool OnCommand(int id, int, HWND) override {
    if (id != IDCANCEL && id != IDOK) return false;
    const bool never_again = IsDlgButtonChecked(window(), IDC_NO_OPENING_DIALOG) == BST_CHECKED;
    const OpeningNoticeClosed closed = closed_;
    DestroyWindow(window());  // deletes this
    if (closed) closed(never_again);
    return true;
  }

 private:
  const NotificationPictures& pictures_;
  bool enlarge_;
  OpeningNoticeClosed closed_;
  HFONT font_ = nullptr;  // the enlarged font, while the notice exists
};

}  // namespace

INT_PTR ShowAlreadyRunningDialog(HINSTANCE instance, Language language, const NotificationPictures& pictures) {
  const int id = language == Language::Japanese ? IDD_ALREADY_RUNNING_JA : IDD_ALREADY_RUNNING_EN;
  AlreadyRunningDialog dialog(pictures);
  const INT_PTR result = dialog.RunModal(instance, id, nullptr);
  return result <= 0 ? IDCANCEL : result;
}

HWND OpenOpeningNotice(HINSTANCE instance, const NotificationPictures& pictures, bool enlarge,
                       OpeningNoticeClosed closed) {
  auto* notice = new OpeningNotice(pictures, enlarge, closed);
  HWND window = notice->Create(instance, IDD_OPENING_NOTICE, nullptr);
  if (!window) delete notice;  // no window, so no final message either
  return window;
}
