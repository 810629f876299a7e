#include "ui/about_box_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>
#include <vector>

#include "ui/about_text.h"
#include "ui/dark_mode_win.h"
#include "ui/dialog_win.h"
#include "ui/environment_report.h"
#include "ui/environment_report_win.h"
#include "ui/help_win.h"

namespace {

enum : int {
  kVersionText = 2002,
  kLinkBox = 2003,
  kDescription = 2004,
  kReportButton = 2005,
  kContributionLink = 2006,
  kIcon = 2007,
  kFeedbackLink = 2009,
};
constexpr UINT_PTR kLinkGuardTimer = 2008;
constexpr UINT kLinkGuardMs = 1000;
constexpr UINT_PTR kDescriptionSubclass = 0x4B41;

struct AboutTexts {
  const wchar_t* title;
  const wchar_t* font;
  WORD points;
  const wchar_t* feedback;
  const wchar_t* contribution;
  const wchar_t* report;
  const wchar_t* close;
  const wchar_t* tip_contribution;
  const wchar_t* tip_close;
  const wchar_t* tip_report;
  const wchar_t* tip_feedback;
  const wchar_t* tip_links;  // nullptr: none
  const wchar_t* report_question;
  const wchar_t* report_caption;
  const wchar_t* copied;
  const wchar_t* copy_failed;
  const wchar_t* cannot_open;
  const wchar_t* out_of_memory;
  const wchar_t* lock_failed;
  const wchar_t* empty_failed;
  const wchar_t* browser_failed;  // "%s" is the address
};

constexpr AboutTexts kJapanese{
    L"バージョン情報",
    L"MS UI Gothic",
    9,
    L"<a id=\"feedback\">フィードバック受付</a>",
    L"<a id=\"kifu\">開発支援金の受付について</a>",
    L"環境情報の表示(問合せの際にご活用下さい)(&E)",
    L"閉じる(&C)",
    L"開発支援金の受付について詳細を表示します。インターネット接続が必要です",
    L"このダイアログを閉じます",
    L"環境情報を表示します。制作元に質問を出す場合には、これで表示された情報を添付して下さい",
    L"制作元へ連絡、感想、改善要望あるいは現状維持要望などを気軽に送りたい場合に利用します。インターネット接続が必要です",
    L"ブラウザでサイトを開きます。インターネット接続が必要です",
    L"クリップボードにコピーする場合は[OK]ボタンを押して下さい。",
    L"環境情報の表示(簡易版)",
    L"クリップボードへコピーしました。",
    L"クリップボードへのコピーに失敗しました。",
    L"クリップボードを開けません。",
    L"作業用のメモリが足りません。",
    L"GlobalLock失敗。",
    L"クリップボードを空にできません。",
    L"%sを開けませんでした。\n上記のURLを直接開いて下さい。",
};

constexpr AboutTexts kEnglish{
    L"About",
    L"MS Sans Serif",
    8,
    L"<a id=\"feedback\">Feedback</a>",
    L"<a id=\"kifu\">Contribution</a>",
    L"&Environment Information",
    L"&Close",
    L"About contribution",
    L"Closes this dialog box.",
    L"Displays Information of this environment.",
    L"Opens feedback page.",
    nullptr,
    L"Please click the [OK] button to copy to clipboard.",
    L"ZNVLite",
    L"Writing data to the clipboard is complete.",
    L"Clipboard error.",
    L"Cannot open clipboard.",
    L"Out of memory.",
    L"GlobalLock error.",
    L"EmptyClipboard error.",
    L"Cannot open a browser.",
};

std::wstring W(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// --- the in-memory template ---

class TemplateWriter {
 public:
  void Dialog(const wchar_t* title, const wchar_t* font, WORD points, short cx, short cy, WORD items) {
    DLGTEMPLATE t{};
    t.style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.cdit = items;
    t.cx = cx, t.cy = cy;
    Raw(&t, sizeof t);
    Word(0), Word(0);  // no menu, the standard class
    Text(title);
    Word(points);
    Text(font);
  }
  void Item(WORD id, const wchar_t* window_class, WORD atom, const wchar_t* text, DWORD style, short x, short y,
            short cx, short cy) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x, item.y = y, item.cx = cx, item.cy = cy;
    item.id = id;
    Raw(&item, sizeof item);
    if (window_class) {
      Text(window_class);
    } else {
      Word(0xFFFF), Word(atom);
    }
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Raw(const void* data, size_t size) {
    const auto* w = static_cast<const WORD*>(data);
    words_.insert(words_.end(), w, w + size / sizeof(WORD));
  }
  void Word(WORD w) { words_.push_back(w); }
  void Text(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(WORD(*text));
    words_.push_back(0);
  }
  void Align() {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
  }
  std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

void WriteTemplate(TemplateWriter& t, const AboutTexts& x) {
  t.Dialog(x.title, x.font, x.points, 270, 200, 8);
  t.Item(kIcon, nullptr, kStaticAtom, L"", SS_ICON, 8, 8, 21, 20);
  t.Item(kVersionText, nullptr, kStaticAtom, L"", SS_LEFT | SS_NOPREFIX, 38, 8, 224, 24);
  t.Item(kLinkBox, WC_LINK, 0, L"", WS_TABSTOP, 38, 34, 224, 62);
  t.Item(kDescription, nullptr, kEditAtom, L"",
         ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 8, 100, 254, 60);
  t.Item(kFeedbackLink, WC_LINK, 0, x.feedback, WS_TABSTOP, 8, 164, 120, 10);
  t.Item(kContributionLink, WC_LINK, 0, x.contribution, WS_TABSTOP, 136, 164, 126, 10);
  t.Item(kReportButton, nullptr, kButtonAtom, x.report, BS_PUSHBUTTON | WS_TABSTOP, 8, 180, 186, 14);
  t.Item(IDCANCEL, nullptr, kButtonAtom, x.close, BS_DEFPUSHBUTTON | WS_TABSTOP, 200, 180, 62, 14);
}

// --- the version resource ---

std::u16string VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  std::wstring path = L"\\StringFileInfo\\041104b0\\";
  path += name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value || length == 0) return {};
  return reinterpret_cast<const char16_t*>(value);
}

// Empty when the module has no version resource.
std::u16string ReadVersionText(HINSTANCE module, std::u16string_view name, Language language) {
  wchar_t path[MAX_PATH] = L"";
  if (GetModuleFileNameW(module, path, MAX_PATH) == 0) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return {};
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path, 0, size, block.data())) return {};
  VersionFacts facts;
  ParseFileVersion(VersionString(block, L"FileVersion"), facts.part);
  facts.special_build = VersionString(block, L"SpecialBuild");
  facts.private_build = VersionString(block, L"PrivateBuild");
  facts.copyright = VersionString(block, L"LegalCopyright");
  return ComposeVersionText(name, facts, language);
}

// Some edit controls (Wine's among them) paint a read-only box white whatever
// brush the dialog answers. In dark mode the box is therefore drawn into a
// bitmap in the light colours (the dialog answers black on white while
// `t_description_offscreen` is set) and light and dark are swapped on the
// way to the screen: white becomes the dark background, black white text.
thread_local bool t_description_offscreen = false;

void PaintDescriptionDark(HWND edit) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(edit, &ps);
  RECT r;
  GetClientRect(edit, &r);
  const int w = r.right, h = r.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = w > 0 && h > 0 ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  HDC memory = bitmap ? CreateCompatibleDC(dc) : nullptr;
  if (!memory) {
    if (bitmap) DeleteObject(bitmap);
    EndPaint(edit, &ps);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  t_description_offscreen = true;
  DefSubclassProc(edit, WM_PAINT, WPARAM(memory), 0);
  t_description_offscreen = false;
  GdiFlush();
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t v = (px[i] >> shift) & 0xFF;
      out |= (255 - v * 199 / 255) << shift;  // 255 -> 56, 0 -> 255
    }
    px[i] = out;
  }
  BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  EndPaint(edit, &ps);
}

// Ctrl+A in the description selects all of it. `dark` points at the box's state.
LRESULT CALLBACK DescriptionProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR dark) {
  if (message == WM_CHAR && wparam == 1) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  if (message == WM_PAINT && wparam == 0 && *reinterpret_cast<const bool*>(dark)) {
    PaintDescriptionDark(edit);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, DescriptionProc, kDescriptionSubclass);
  return DefSubclassProc(edit, message, wparam, lparam);
}

std::wstring TemporaryFilePath() {
  wchar_t folder[MAX_PATH + 1] = L"";
  const DWORD n = GetTempPathW(ARRAYSIZE(folder), folder);
  if (n == 0 || n > MAX_PATH) return {};
  return std::wstring(folder) + L"ZNV32LIB_TEMP.TXT";
}

class AboutBox final : public Dialog {
 public:
  explicit AboutBox(const AboutParameters& p)
      : p_(p), x_(p.language == Language::Japanese ? kJapanese : kEnglish) {}

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  // The box keeps a dark-mode state of its own.
  void ThemeDialog() override { Theme(); }

 private:
  void AddTooltips();
  void Theme();
  HBRUSH ControlColour(HDC dc, HWND control);
  void OpenLink(const wchar_t* id);
  void ShowReport();
  void CopyReport(const std::u16string& report);
  int Say(const wchar_t* text, UINT type) {
    const std::wstring caption = W(p_.name);
    return p_.message_box(window(), text, caption.c_str(), type);
  }

  const AboutParameters& p_;
  const AboutTexts& x_;
  bool dark_ = false;
  HWND tooltip_ = nullptr;
  std::u16string version_;
  std::wstring temporary_file_;
};

bool AboutBox::OnInit() {
  if (p_.window_out) *p_.window_out = window();
  temporary_file_ = TemporaryFilePath();
  dark_ = ReadDarkMode(false);
  HICON icon = LoadIconW(p_.module, MAKEINTRESOURCEW(p_.icon));
  if (icon) SendDlgItemMessageW(window(), kIcon, STM_SETICON, WPARAM(icon), 0);
  version_ = ReadVersionText(p_.module, p_.name, p_.language);
  if (!version_.empty()) SetDlgItemTextW(window(), kVersionText, W(version_).c_str());
  const std::u16string links = ComposeLinkBoxText({p_.site, p_.contact, p_.extra}, p_.language);
  SetDlgItemTextW(window(), kLinkBox, W(links).c_str());
  SetDlgItemTextW(window(), kDescription, W(p_.description).c_str());
  SetWindowSubclass(Item(kDescription), DescriptionProc, kDescriptionSubclass, DWORD_PTR(&dark_));
  if (p_.feedback.empty()) ShowWindow(Item(kFeedbackLink), SW_HIDE);
  if (p_.contribution.empty()) ShowWindow(Item(kContributionLink), SW_HIDE);
  AddTooltips();
  SetFocus(Item(IDCANCEL));
  return false;  // the focus is set
}

void AboutBox::AddTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 300);
  const struct {
    int id;
    const wchar_t* text;
  } tips[] = {{kContributionLink, x_.tip_contribution},
              {IDCANCEL, x_.tip_close},
              {kReportButton, x_.tip_report},
              {kFeedbackLink, x_.tip_feedback},
              {kLinkBox, x_.tip_links}};
  for (const auto& tip : tips) {
    if (!tip.text) continue;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window();
    info.uId = UINT_PTR(Item(tip.id));
    info.lpszText = const_cast<wchar_t*>(tip.text);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, LPARAM(&info));
  }
}

// In this box every control but the push buttons has visual styles off in
// both modes, so that the colour answers below always apply.
BOOL CALLBACK ThemeAboutChild(HWND child, LPARAM dark) {
  wchar_t name[32] = L"";
  GetClassNameW(child, name, ARRAYSIZE(name));
  const LONG kind = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
  if (lstrcmpiW(name, L"Button") == 0 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
    SetWindowTheme(child, dark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
  } else {
    SetWindowTheme(child, L" ", L" ");
  }
  return TRUE;
}

HBRUSH AboutBox::ControlColour(HDC dc, HWND control) {
  if (t_description_offscreen && control == Item(kDescription)) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return HBRUSH(GetStockObject(WHITE_BRUSH));
  }
  return DialogControlColour(dc, control, dark_);
}

void AboutBox::Theme() {
  EnumChildWindows(window(), ThemeAboutChild, dark_);
  if (tooltip_) ThemeTooltip(tooltip_, dark_);
  ApplyDarkTitleBar(window(), dark_);
  RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

bool AboutBox::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  if (IsControlColourMessage(message)) {
    result = INT_PTR(ControlColour(HDC(wparam), HWND(lparam)));
    return true;
  }
  switch (message) {
    case WM_ERASEBKGND:
      result = EraseDialogBackground(window(), HDC(wparam), dark_) ? TRUE : FALSE;
      return true;
    case WM_SETTINGCHANGE:
      if (lparam && lstrcmpW(reinterpret_cast<const wchar_t*>(lparam), L"ImmersiveColorSet") == 0) {
        dark_ = ReadDarkMode(false);
        Theme();
      }
      return true;
    case WM_THEMECHANGED:
      Theme();
      return true;
    default:
      return false;
  }
}

bool AboutBox::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDCANCEL:
    case IDOK:
      End(id);
      return true;
    case kReportButton:
      ShowReport();
      return true;
    default:
      return false;
  }
}

bool AboutBox::OnNotify(int id, NMHDR* header) {
  if (id != kLinkBox && id != kContributionLink && id != kFeedbackLink) return false;
  if (header->code != NM_CLICK && header->code != NM_RETURN) return false;
  OpenLink(reinterpret_cast<NMLINK*>(header)->item.szID);
  return true;
}

bool AboutBox::OnTimer(UINT_PTR id) {
  if (id != kLinkGuardTimer) return false;
  KillTimer(window(), kLinkGuardTimer);
  for (int control : {kReportButton, kContributionLink, kFeedbackLink}) EnableWindow(Item(control), TRUE);
  return true;
}

void AboutBox::OnDestroy() {
  KillTimer(window(), kLinkGuardTimer);
  if (!temporary_file_.empty()) DeleteFileW(temporary_file_.c_str());
  if (p_.window_out) *p_.window_out = nullptr;
}

void AboutBox::OpenLink(const wchar_t* id) {
  // A second click while the browser starts would open a second page.
  for (int control : {kReportButton, kContributionLink, kFeedbackLink}) EnableWindow(Item(control), FALSE);
  SetTimer(window(), kLinkGuardTimer, kLinkGuardMs, nullptr);
  const std::u16string address =
      ResolveLink(reinterpret_cast<const char16_t*>(id), {p_.site, p_.contact, p_.contribution, p_.feedback});
  if (address.empty() || OpenWebPage(address)) return;
  std::wstring text = x_.browser_failed;
  const size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, W(address));
  Say(text.c_str(), MB_OK | MB_ICONERROR);
}

void AboutBox::ShowReport() {
  std::u16string report = FormatEnvironmentReport(ReadEnvironmentFacts(dark_));
  report += u"\r\n[Client]\r\n ";
  report += FirstLine(version_.empty() ? p_.name : std::u16string_view(version_));
  const std::wstring shown =
      W(report) + L"\r\n------------------------\r\n" + x_.report_question;
  const std::wstring caption = x_.report_caption;
  if (p_.message_box(window(), shown.c_str(), caption.c_str(), MB_OKCANCEL) != IDOK) return;
  CopyReport(report);
}

void AboutBox::CopyReport(const std::u16string& report) {
  if (!OpenClipboard(window())) {
    Say(x_.cannot_open, MB_OK | MB_ICONERROR);
    return;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kReportBlockBytes);
  if (!memory) {
    CloseClipboard();
    Say(x_.out_of_memory, MB_OK | MB_ICONERROR);
    return;
  }
  auto* block = static_cast<char16_t*>(GlobalLock(memory));
  if (!block) {
    GlobalFree(memory);
    CloseClipboard();
    Say(x_.lock_failed, MB_OK | MB_ICONERROR);
    return;
  }
  const std::u16string cut = CutToBlock(report);
  std::copy(cut.begin(), cut.end(), block);  // the block is zeroed: the terminator is there
  GlobalUnlock(memory);
  if (!EmptyClipboard()) {
    GlobalFree(memory);
    CloseClipboard();
    Say(x_.empty_failed, MB_OK | MB_ICONERROR);
    return;
  }
  const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  if (!set) GlobalFree(memory);  // the clipboard took it only on success
  CloseClipboard();
  Say(set ? x_.copied : x_.copy_failed, MB_OK | (set ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace

INT_PTR ShowAboutBox(const AboutParameters& parameters) {
  TemplateWriter writer;
  WriteTemplate(writer, parameters.language == Language::Japanese ? kJapanese : kEnglish);
  AboutBox box(parameters);
  return box.RunModal(parameters.module, writer.get(), parameters.owner);
}
