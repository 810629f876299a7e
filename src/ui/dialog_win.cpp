#include "ui/dialog_win.h"

#include "ui/dark_mode_win.h"

namespace {

Dialog* FromWindow(HWND window) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER)); }

}  // namespace

INT_PTR Dialog::RunModal(HINSTANCE instance, int template_id, HWND owner) {
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner, &Dialog::Proc, LPARAM(this));
}

INT_PTR Dialog::RunModal(HINSTANCE instance, const DLGTEMPLATE* in_memory, HWND owner) {
  return DialogBoxIndirectParamW(instance, in_memory, owner, &Dialog::Proc, LPARAM(this));
}

HWND Dialog::Create(HINSTANCE instance, int template_id, HWND owner) {
  return CreateDialogParamW(instance, MAKEINTRESOURCEW(template_id), owner, &Dialog::Proc, LPARAM(this));
}

HWND Dialog::Create(HINSTANCE instance, const DLGTEMPLATE* in_memory, HWND owner) {
  return CreateDialogIndirectParamW(instance, in_memory, owner, &Dialog::Proc, LPARAM(this));
}

INT_PTR CALLBACK Dialog::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Dialog* self = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lparam) : FromWindow(window);
  return Route(self, window, message, wparam, lparam);
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Dialog* self = FromWindow(window);
  if (message == WM_INITDIALOG) {
    const PROPSHEETPAGEW* page = reinterpret_cast<const PROPSHEETPAGEW*>(lparam);
    self = page ? reinterpret_cast<Dialog*>(page->lParam) : nullptr;
  }
  return Route(self, window, message, wparam, lparam);
}

INT_PTR Dialog::Route(Dialog* self, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, LONG_PTR(self));
    self->window_ = window;
  }
  const INT_PTR result = self->Dispatch(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->window_ = nullptr;
    self->OnFinalMessage();
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  INT_PTR result = 0;
  if (OnMessage(message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_INITDIALOG: {
      const bool focus = OnInit();
      ThemeDialog();
      return focus ? TRUE : FALSE;
    }
    case WM_THEMECHANGED:
      ThemeDialog();
      return FALSE;
    case WM_SETTINGCHANGE:
      // The system's colour set changed: the state, then every control.
      OnSettingChange(window_, reinterpret_cast<const wchar_t*>(lparam));
      ThemeDialog();
      return FALSE;
    case WM_COMMAND: return OnCommand(LOWORD(wparam), HIWORD(wparam), HWND(lparam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lparam);
      return header && OnNotify(int(header->idFrom), header) ? TRUE : FALSE;
    }
    case WM_TIMER: return OnTimer(UINT_PTR(wparam)) ? TRUE : FALSE;
    case WM_DESTROY: OnDestroy(); return FALSE;
    case WM_ERASEBKGND: return EraseDialogBackground(window_, HDC(wparam)) ? TRUE : FALSE;
    default:
      if (IsControlColourMessage(message)) return INT_PTR(DialogControlColour(HDC(wparam), HWND(lparam)));
      return FALSE;
  }
}

// Themes the controls (and their tooltips) after the dialog's own OnInit has
// created whatever it adds, and repaints.
void Dialog::ThemeDialog() {
  ApplyDarkTitleBar(window_);
  ThemeChildren(window_);
  ThemeDisabledControls(window_);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Dialog::OnCommand(int id, int code, HWND control) {
  (void)code, (void)control;
  if (id == IDOK || id == IDCANCEL) {
    End(id);
    return true;
  }
  return false;
}

bool Dialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  (void)message, (void)wparam, (void)lparam, (void)result;
  return false;
}

PROPSHEETPAGEW PropertyPage::MakePage(HINSTANCE instance, int template_id, const wchar_t* title) {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = title ? PSP_USETITLE : 0;
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEW(template_id);
  page.pszTitle = title;
  page.pfnDlgProc = &PropertyPage::PageProc;
  page.lParam = LPARAM(this);
  return page;
}

bool PropertyPage::OnNotify(int id, NMHDR* header) {
  (void)id;
  switch (header->code) {
    case PSN_APPLY:
      SetResult(OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
      return true;
    case PSN_SETACTIVE:
      OnSetActive();
      SetResult(0);
      return true;
    case PSN_KILLACTIVE:
      SetResult(OnKillActive() ? FALSE : TRUE);
      return true;
    case PSN_HELP:
      OnHelp();
      return true;
    default:
      return false;
  }
}
