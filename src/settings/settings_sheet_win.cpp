#include "settings/settings_sheet_win.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/enlarge.h"
#include "ui/enlarge_win.h"
#include "ui/message_box_win.h"
#include "settings/settings_pages_win.h"
#include "settings/sheet_rules.h"
#include "ui/dark_mode_win.h"

namespace {

constexpr TextPair kSheetTitle{u"設定 - キラビ", u"Settings - Kirabi"};

struct PageEntry {
  int template_ja;
  int template_en;
  TextPair title;
  std::unique_ptr<SheetPageBase> (*make)(SheetContext&);
};

constexpr PageEntry kPages[] = {
    {102, 134, {u"全般", u"General"}, &MakeGeneralPage},
    {135, 136, {u"メモ", u"Memo"}, &MakeMemoPage},
    {137, 138, {u" 色設定 ", u"Colors"}, &MakeColorsPage},
    {139, 140, {u" 表示形式 ", u"Format"}, &MakeFormatPage},
    {146, 147, {u" ホットキー等 ", u"Hotkeys"}, &MakeHotkeysPage},
    {150, 151, {u" 移動/静止と表示/非表示 ", u"Fade in/out"}, &MakeFadePage},
};

// The context-help button of the caption: the pages have their own Help.
int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) {
    SetWindowLongPtrW(sheet, GWL_EXSTYLE, GetWindowLongPtrW(sheet, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_CONTEXTHELP));
    ApplyDarkTitleBar(sheet);
    ThemeChildren(sheet);
    ThemeDialogFrame(sheet);
    ThemeTabStrip(PropSheet_GetTabControl(sheet));
  }
  return 0;
}

PixelRect WorkArea() {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

// The sheet against the work area's bottom-right corner, inset by the dialog
// frame; with BIGDIALOG first enlarged to fill it.
void PlaceSheet(SheetContext& context, HWND page) {
  HWND sheet = context.sheet;
  RECT frame;
  if (!GetWindowRect(sheet, &frame)) return;
  const PixelRect work = WorkArea();
  int32_t width = frame.right - frame.left;
  int32_t height = frame.bottom - frame.top;
  if (context.host->settings->BIGDIALOG) {
    context.factor = EnlargementFactor(work, width, height);
    context.big_font = EnlargedFont(page, context.factor);
    const PixelRect size = ScaleRect({0, 0, width, height}, context.factor);
    width = std::min(size.width, work.width);
    height = std::min(size.height, work.height);
    const PixelRect placed = PlaceAtBottomRight(work, width, height);
    SetWindowPos(sheet, nullptr, placed.left, placed.top, placed.width, placed.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    EnlargeChildren(sheet, context.factor, context.big_font);
    return;
  }
  const int x = work.left + work.width - width - GetSystemMetrics(SM_CXDLGFRAME);
  const int y = work.top + work.height - height - GetSystemMetrics(SM_CYDLGFRAME);
  SetWindowPos(sheet, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The page templates' size in dialog units.
constexpr RECT kPageSize{0, 0, 384, 280};

// The sheet sizes itself with its own font, which can be smaller than a
// page's (the Japanese pages use a larger one): the tab area, the buttons and
// the sheet then grow so that the whole page shows.
void FitPage(HWND sheet, HWND page) {
  RECT need = kPageSize;
  MapDialogRect(page, &need);
  HWND tab = PropSheet_GetTabControl(sheet);
  RECT area;
  if (!tab || !GetWindowRect(tab, &area)) return;
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(tab, FALSE, &area);
  const int dx = std::max<int>(0, need.right - (area.right - area.left));
  const int dy = std::max<int>(0, need.bottom - (area.bottom - area.top));
  if (dx > 0 || dy > 0) {
    RECT frame;
    GetWindowRect(sheet, &frame);
    SetWindowPos(sheet, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT t;
    GetWindowRect(tab, &t);
    SetWindowPos(tab, nullptr, 0, 0, t.right - t.left + dx, t.bottom - t.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDOK, IDCANCEL, 0x3021 /* Apply */, IDHELP}) {
      HWND button = GetDlgItem(sheet, id);
      RECT b;
      if (!button || !GetWindowRect(button, &b)) continue;
      MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&b), 2);
      SetWindowPos(button, nullptr, b.left + dx, b.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    area.right += dx;
    area.bottom += dy;
  }
  SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// --- the page base ---

bool SheetPageBase::OnInit() {
  if (!context_.sheet) {
    context_.sheet = GetParent(window());
    if (context_.host->sheet_opened) context_.host->sheet_opened(context_.sheet);
    FitPage(context_.sheet, window());
    PlaceSheet(context_, window());
  } else {
    FitPage(context_.sheet, window());
  }
  if (context_.factor > 1.0 || context_.big_font) EnlargeChildren(window(), context_.factor, context_.big_font);
  loading_ = true;
  OnInitPage();
  loading_ = false;
  ThemeChildren(window());
  return true;
}

void SheetPageBase::OnHelp() {
  if (host().show_help) host().show_help(window(), reinterpret_cast<const wchar_t*>(HelpTopic()));
}

bool SheetPageBase::OnCommand(int id, int code, HWND control) {
  (void)control;
  if (!loading_) {
    switch (code) {
      case EN_CHANGE:
      case BN_CLICKED:
      case CBN_EDITCHANGE:
      case CBN_SELCHANGE:
        Changed();
        break;
      default:
        break;
    }
  }
  return OnControl(id, code);
}

bool SheetPageBase::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  (void)wparam, (void)result;
  if (message == WM_SETTINGCHANGE) {
    OnSettingChange(window(), reinterpret_cast<const wchar_t*>(lparam));
    InvalidateRect(window(), nullptr, TRUE);
  }
  return false;
}

std::u16string SheetPageBase::Text(int id, std::size_t capacity) const {
  std::vector<wchar_t> buffer(capacity, L'\0');
  const UINT length = GetDlgItemTextW(window(), id, buffer.data(), int(capacity));
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
}

void SheetPageBase::SetText(int id, std::u16string_view text) const {
  const std::u16string copy(text);
  SetDlgItemTextW(window(), id, Wide(copy));
}

bool SheetPageBase::Checked(int id) const { return IsDlgButtonChecked(window(), id) == BST_CHECKED; }
void SheetPageBase::SetCheck(int id, bool on) const { CheckDlgButton(window(), id, on ? BST_CHECKED : BST_UNCHECKED); }

void SheetPageBase::SetNumber(int id, int64_t value) const {
  SetDlgItemTextW(window(), id, std::to_wstring(value).c_str());
}

uint32_t SheetPageBase::Unsigned(int id) const { return ReadUnsignedField(Text(id, 32)); }

int32_t SheetPageBase::Signed(int id) const {
  const std::u16string text = Text(id, 32);
  if (!text.empty() && text[0] == u'-') return -int32_t(std::min<uint32_t>(ReadUnsignedField(text.substr(1)), 0x7FFFFFFF));
  return int32_t(std::min<uint32_t>(ReadUnsignedField(text), 0x7FFFFFFF));
}

void SheetPageBase::SetSpin(int spin, int low, int high) const {
  SendDlgItemMessageW(window(), spin, UDM_SETRANGE32, WPARAM(low), LPARAM(high));
}

void SheetPageBase::LimitText(int id, int chars) const { SendDlgItemMessageW(window(), id, EM_LIMITTEXT, chars, 0); }

int SheetPageBase::Message(const TextPair& text, const TextPair& caption, UINT type) const {
  return ShowMessage(window(), text.In(language()), caption.In(language()), type);
}

int SheetPageBase::Message(std::u16string_view text, UINT type) const {
  return ShowMessage(window(), text, kProductName.In(language()), type);
}

void SheetPageBase::SwitchPage(int page) const {
  if (context_.sheet) PostMessageW(context_.sheet, PSM_SETCURSEL, WPARAM(page), 0);
}

void SheetPageBase::AddTooltip(int id, std::u16string_view text) {
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr, host().instance, nullptr);
    if (!tooltip_) return;
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
    ThemeTooltip(tooltip_);
  }
  std::u16string copy(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window();
  tool.uId = UINT_PTR(Item(id));
  tool.lpszText = const_cast<wchar_t*>(Wide(copy));
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, LPARAM(&tool));
}

// --- helpers of several pages ---

bool ChooseSoundFile(HWND owner, HWND box, std::u16string_view title, Language language) {
  wchar_t file[MAX_PATH] = L"";
  GetWindowTextW(box, file, MAX_PATH);
  const std::u16string filter = std::u16string(Pick<std::u16string_view>(language, u"音声ファイル(*.wav)",
                                                                           u"Sound Files(*.wav)")) +
                                u'\0' + u"*.wav" + u'\0' + u'\0';
  const std::u16string title_text(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = Wide(filter);
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = Wide(title_text);
  ofn.lpstrDefExt = L"wav";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  BOOL chosen = GetOpenFileNameW(&ofn);
  // A box text that is no valid file name stops the chooser; start empty.
  if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
    file[0] = L'\0';
    chosen = GetOpenFileNameW(&ofn);
  }
  if (!chosen) return false;
  SetWindowTextW(box, file);
  SetFocus(box);
  return true;
}

DroppedFile TakeDrop(HWND window, HDROP drop) {
  DroppedFile dropped;
  wchar_t file[MAX_PATH] = L"";
  const UINT length = DragQueryFileW(drop, 0, file, MAX_PATH);
  dropped.file.assign(reinterpret_cast<const char16_t*>(file), length);
  DragQueryPoint(drop, &dropped.at);
  DragFinish(drop);
  ClientToScreen(window, &dropped.at);
  return dropped;
}

// --- the sheet ---

void OpenSettingsDialog(const SheetHost& host, int start_page) {
  SheetContext context;
  context.host = &host;
  const bool ja = host.language == Language::Japanese;
  std::vector<std::unique_ptr<SheetPageBase>> pages;
  std::vector<std::u16string> titles;
  std::vector<PROPSHEETPAGEW> sheet_pages;
  for (const PageEntry& entry : kPages) {
    pages.push_back(entry.make(context));
    titles.emplace_back(entry.title.In(host.language));
  }
  for (std::size_t i = 0; i < pages.size(); ++i) {
    PROPSHEETPAGEW page = pages[i]->MakePage(host.instance, ja ? kPages[i].template_ja : kPages[i].template_en,
                                             Wide(titles[i]));
    page.dwFlags |= PSP_HASHELP;
    sheet_pages.push_back(page);
  }
  const std::u16string title(kSheetTitle.In(host.language));
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP;
  header.hwndParent = nullptr;
  header.hInstance = host.instance;
  header.pszCaption = Wide(title);
  header.nPages = UINT(sheet_pages.size());
  header.nStartPage = UINT(start_page >= 0 && start_page < int(sheet_pages.size()) ? start_page : 0);
  header.ppsp = sheet_pages.data();
  header.pfnCallback = &SheetCallback;
  PropertySheetW(&header);
  if (context.big_font) DeleteObject(context.big_font);
  if (host.sheet_closed) host.sheet_closed();
}
