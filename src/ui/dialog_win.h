#pragma once
// The one dialog base. A dialog procedure hands each message to small named
// handlers; the object travels in the init parameter (the page's lParam for
// a property page) and is kept in the window's DWLP_USER slot, so no dialog
// keeps its state in a global.
//
//   class AlarmPage final : public PropertyPage {
//     bool OnInit() override { ... }
//     bool OnCommand(int id, int code, HWND control) override { ... }
//     bool OnApply() override { ... }
//   };
//
// Every dialog erases its background and answers its controls' colour
// queries through the dark-mode theming by default.

#include <windows.h>

#include <prsht.h>

class Dialog {
 public:
  virtual ~Dialog() = default;

  // Modal from a resource template or an in-memory one; returns EndDialog's value
  // (-1 when the dialog could not be created).
  INT_PTR RunModal(HINSTANCE instance, int template_id, HWND owner);
  INT_PTR RunModal(HINSTANCE instance, const DLGTEMPLATE* in_memory, HWND owner);
  // Modeless; the object must outlive the window (OnDestroy is the last call).
  HWND Create(HINSTANCE instance, int template_id, HWND owner);
  HWND Create(HINSTANCE instance, const DLGTEMPLATE* in_memory, HWND owner);

  HWND window() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  void End(INT_PTR result) { EndDialog(window_, result); }

  // The dialog procedure of every Dialog: the object arrives as the init parameter.
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // Return true when the message is handled. OnInit's return is WM_INITDIALOG's
  // (true lets the system set the focus).
  virtual bool OnInit() { return true; }
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnNotify(int id, NMHDR* header) { (void)id, (void)header; return false; }
  virtual bool OnTimer(UINT_PTR id) { (void)id; return false; }
  virtual void OnDestroy() {}
  // The very last call, after the window is gone: a modeless dialog that
  // owns itself may delete itself here.
  virtual void OnFinalMessage() {}
  // Everything else; `result` is what the procedure returns when handled.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result);

  // Themes every control for the current dark-mode state; the base does it
  // after OnInit and on theme and colour-set changes. A dialog with rules of
  // its own overrides it.
  virtual void ThemeDialog();

  // Sets the value a handled message returns to its sender (DWLP_MSGRESULT).
  void SetResult(LONG_PTR value) { SetWindowLongPtrW(window_, DWLP_MSGRESULT, value); }

 private:
  friend class PropertyPage;
  static INT_PTR Route(Dialog* self, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
};

// A page of a property sheet. Fill a PROPSHEETPAGEW with MakePage and hand it
// to the sheet; the sheet's notifications reach OnSetActive, OnKillActive
// and OnApply.
class PropertyPage : public Dialog {
 public:
  PROPSHEETPAGEW MakePage(HINSTANCE instance, int template_id, const wchar_t* title = nullptr);
  // The page procedure: the object arrives in PROPSHEETPAGE::lParam.
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // PSN_APPLY: return false to keep the sheet open (PSNRET_INVALID_NOCHANGEPAGE).
  virtual bool OnApply() { return true; }
  virtual void OnSetActive() {}
  // PSN_KILLACTIVE: return false to keep this page shown.
  virtual bool OnKillActive() { return true; }
  virtual void OnHelp() {}
  void Changed() { PropSheet_Changed(GetParent(window()), window()); }

  bool OnNotify(int id, NMHDR* header) override;
};
