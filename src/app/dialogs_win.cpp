#include "app/dialogs_win.h"

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
};

OpeningNotice g_notice;

INT_PTR CALLBACK OpeningNoticeProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (g_notice.pictures) ShowNotificationPictures(dialog, *g_notice.pictures);
      return TRUE;
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

HWND OpenOpeningNotice(HINSTANCE instance, const NotificationPictures& pictures, OpeningNoticeClosed closed) {
  g_notice = {&pictures, closed};
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_OPENING_NOTICE), nullptr, OpeningNoticeProc, 0);
}
