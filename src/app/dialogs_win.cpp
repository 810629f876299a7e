#include "app/dialogs_win.h"

#include "app/enlarge.h"
#include "app/resource_ids.h"

namespace {

INT_PTR CALLBACK AlreadyRunningProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      SendDlgItemMessageW(dialog, IDC_WARNING_ICON, STM_SETICON, WPARAM(LoadIconW(nullptr, IDI_EXCLAMATION)), 0);
      ShowNotificationPictures(dialog, *reinterpret_cast<const NotificationPictures*>(lparam));
      MessageBeep(MB_OK);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDB_FORCE_EXIT:
        case IDB_OPEN_SETTINGS:
        case IDCANCEL:
          EndDialog(dialog, LOWORD(wparam));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

struct OpeningNotice {
  const NotificationPictures* pictures = nullptr;
  OpeningNoticeClosed closed = nullptr;
  bool enlarge = false;
  HFONT font = nullptr;  // the enlarged font, while the notice exists
};

OpeningNotice g_notice;

struct ChildScaling {
  double factor;
  HFONT font;
};

BOOL CALLBACK ScaleChild(HWND child, LPARAM lparam) {
  const ChildScaling& scaling = *reinterpret_cast<const ChildScaling*>(lparam);
  HWND parent = GetParent(child);
  RECT r;
  if (!parent || !GetWindowRect(child, &r)) return TRUE;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const PixelRect scaled = ScaleRect({r.left, r.top, r.right - r.left, r.bottom - r.top}, scaling.factor);
  SetWindowPos(child, nullptr, scaled.left, scaled.top, scaled.width, scaled.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (scaling.font) SendMessageW(child, WM_SETFONT, WPARAM(scaling.font), FALSE);
  return TRUE;
}

HFONT EnlargedFont(HWND dialog, double factor) {
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  if (!base || GetObjectW(base, sizeof font, &font) == 0) return nullptr;
  font.lfHeight = ScaleFontMetric(font.lfHeight, factor);
  font.lfWidth = ScaleFontMetric(font.lfWidth, factor);
  font.lfWeight = EnlargedFontWeight(factor);
  return CreateFontIndirectW(&font);
}

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
  ChildScaling scaling{factor, EnlargedFont(dialog, factor)};
  EnumChildWindows(dialog, ScaleChild, reinterpret_cast<LPARAM>(&scaling));
  return scaling.font;
}

INT_PTR CALLBACK OpeningNoticeProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (g_notice.pictures) ShowNotificationPictures(dialog, *g_notice.pictures);
      if (g_notice.enlarge) g_notice.font = EnlargeDialog(dialog);
      return TRUE;
    case WM_DESTROY:
      if (g_notice.font) DeleteObject(g_notice.font);
      g_notice.font = nullptr;
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK) {
        const bool never_again = IsDlgButtonChecked(dialog, IDC_NO_OPENING_DIALOG) == BST_CHECKED;
        DestroyWindow(dialog);
        if (g_notice.closed) g_notice.closed(never_again);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowAlreadyRunningDialog(HINSTANCE instance, Language language, const NotificationPictures& pictures) {
  const int id = language == Language::Japanese ? IDD_ALREADY_RUNNING_JA : IDD_ALREADY_RUNNING_EN;
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(id), nullptr, AlreadyRunningProc,
                                         reinterpret_cast<LPARAM>(&pictures));
  return result <= 0 ? IDCANCEL : result;
}

HWND OpenOpeningNotice(HINSTANCE instance, const NotificationPictures& pictures, bool enlarge,
                       OpeningNoticeClosed closed) {
  g_notice = {&pictures, closed, enlarge, nullptr};
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_OPENING_NOTICE), nullptr, OpeningNoticeProc, 0);
}
