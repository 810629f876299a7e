#pragma once
// What the pages of the settings sheet share: the sheet-wide state, the
// page base with its control helpers, and the pages themselves.

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>

#include "common/text_pair.h"
#include "common/wide_win.h"
#include "ui/enlarge_win.h"
#include "ui/message_box_win.h"
#include "settings/settings_sheet_win.h"
#include "ui/dialog_win.h"

// The sheet-wide state while the sheet is open.
struct SheetContext {
  const SheetHost* host = nullptr;
  HWND sheet = nullptr;    // set by the first page that initialises
  double factor = 1.0;     // BIGDIALOG enlargement
  HFONT big_font = nullptr;
};

class SheetPageBase : public PropertyPage {
 public:
  explicit SheetPageBase(SheetContext& context) : context_(context) {}

 protected:
  const SheetHost& host() const { return *context_.host; }
  Settings& settings() const { return *context_.host->settings; }
  Language language() const { return context_.host->language; }
  SheetContext& context() { return context_; }

  // Shared first steps of every page (sheet placement, enlargement); the
  // page's own filling is OnInitPage, during which edits are not changes.
  bool OnInit() final;
  virtual void OnInitPage() = 0;
  virtual const char16_t* HelpTopic() const = 0;
  void OnHelp() override;
  bool OnCommand(int id, int code, HWND control) override;
  // A control's command after the change marking; return true when handled.
  virtual bool OnControl(int id, int code) { (void)id, (void)code; return false; }
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

  std::u16string Text(int id, std::size_t capacity = 1024) const;
  void SetText(int id, std::u16string_view text) const;
  bool Checked(int id) const;
  void SetCheck(int id, bool on) const;
  void SetNumber(int id, int64_t value) const;
  uint32_t Unsigned(int id) const;
  int32_t Signed(int id) const;
  void SetSpin(int spin, int low, int high) const;
  void Enable(int id, bool on) const { EnableWindow(Item(id), on); }
  void Show(int id, bool on) const { ShowWindow(Item(id), on ? SW_SHOW : SW_HIDE); }
  void LimitText(int id, int chars) const;
  int Message(const TextPair& text, const TextPair& caption, UINT type) const;
  int Message(std::u16string_view text, UINT type) const;  // product name as caption
  void SwitchPage(int page) const;
  // A tip shown over the control; the page's one tooltip window is made on
  // first use.
  void AddTooltip(int id, std::u16string_view text);

  bool loading_ = false;

 private:
  SheetContext& context_;
  HWND tooltip_ = nullptr;
};

// Opens the sound chooser over `box` (alarm, chime, per-hour, warn sound):
// the box's text is the initial file and gets the chosen path.
bool ChooseSoundFile(HWND owner, HWND box, std::u16string_view title, Language language);

// A drop on `window`: the first file (empty when none) and the cursor in
// screen coordinates. The drop is finished.
struct DroppedFile {
  std::u16string file;
  POINT at{};
};
DroppedFile TakeDrop(HWND window, HDROP drop);

std::unique_ptr<SheetPageBase> MakeGeneralPage(SheetContext& context);
std::unique_ptr<SheetPageBase> MakeMemoPage(SheetContext& context);
std::unique_ptr<SheetPageBase> MakeColorsPage(SheetContext& context);
std::unique_ptr<SheetPageBase> MakeFormatPage(SheetContext& context);
std::unique_ptr<SheetPageBase> MakeHotkeysPage(SheetContext& context);
std::unique_ptr<SheetPageBase> MakeFadePage(SheetContext& context);

// The per-hour chime sounds (Multi Sound): true when OK took the 24 boxes.
bool RunHourlySoundsDialog(SheetContext& context, HWND owner);

