// The Memo page: the memo text or memo script (save group 2).

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "ui/message_box_win.h"
#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "ui/help_topics.h"

#ifndef ES_EX_CONVERT_EOL_ON_PASTE
#define ES_EX_CONVERT_EOL_ON_PASTE 0x0004
#endif
#ifndef EM_SETEXTENDEDSTYLE
#define EM_SETEXTENDEDSTYLE (ECM_FIRST + 10)
#endif

namespace {

// The sample scripts: a heading in each language, then the script, which
// differs between the languages only where it shows text.
struct SampleScript {
  TextPair heading;
  TextPair script;
};

constexpr std::u16string_view kRandom = u"srand()\r\nloop{\r\n    CB.SetOutputText(rand())\r\n    Sleep(500)\r\n}";
constexpr std::u16string_view kSecond = u"CB.SetOutputText(GetCurrentSecond()*2)";
constexpr std::u16string_view kMouse =
    u"while(true) {\r\n    MoveMouse(8, -8)\r\n    MoveMouse(-8, 8)\r\n    Sleep(50000)\r\n}";
constexpr std::u16string_view kCounter =
    u"a = getenv(\"num\")\r\na = a + 1\r\nCB.ShellNotify(a)\r\nsetenv(\"num\", a)";

constexpr SampleScript kSamples[] = {
    {{u"(1) ランダムな数値を次々表示する。", u"(1) Displays random numbers."}, {kRandom, kRandom}},
    {{u"(2) 固定の文字列を表示する。", u"(2) Displays a fixed string."},
     {u"CB.SetOutputText(\"固定の文字列です\")", u"CB.SetOutputText(\"Hello, world!\")"}},
    {{u"(3) 現在の秒数を2倍した値を表示する。", u"(3) Displays the current second doubled."}, {kSecond, kSecond}},
    {{u"(4) 今年が昭和何年かを表示する。", u"(4) Displays the year in the Showa era."},
     {u"CB.SetOutputText(\"昭和\" + (GetCurrentYear()-1925) + \"年\")",
      u"CB.SetOutputText(\"Showa \" + (GetCurrentYear()-1925))"}},
    {{u"(5) 50秒ごとにマウスを少し動かす。", u"(5) Moves the mouse a little every 50 seconds."}, {kMouse, kMouse}},
    {{u"(6) 環境変数 num に数を数えて、バルーンで表示する。",
      u"(6) Counts in the environment variable num and shows it as a balloon."},
     {kCounter, kCounter}},
};

std::u16string SampleText(Language language) {
  std::u16string text;
  for (const SampleScript& sample : kSamples) {
    if (!text.empty()) text += u"\r\n\r\n";
    text += sample.heading.In(language);
    text += u"\r\n";
    text += sample.script.In(language);
  }
  if (language == Language::Japanese) text += u"\r\n\r\n他のサンプル・スクリプトの詳細は、ヘルプを参照してください。";
  return text;
}

constexpr TextPair kOpenTitle{u"ファイルを開く", u"Choose a file"};
constexpr TextPair kSaveTitle{u"ファイルへ保存(UTF-8)", u"Save to file(UTF-8)"};
constexpr TextPair kTextFilter{u"テキスト/スクリプトファイル(*.txt;*.qvs)", u"Text/Script files(*.txt;*.qvs)"};
constexpr TextPair kSaved{u"UTF-8(BOM付き)でファイルに保存しました。", u"The file has been saved in UTF-8 (with BOM)."};

// Index = the text-file loader's result code.
constexpr TextPair kLoadErrors[] = {
    {u"不明なエラーによりファイルを読み込めません。", u"Unknown error."},
    {u"ファイルを開けません。", u"Cannot open the file."},
    {u"ファイルを読み込めません。", u"Cannot read the file."},
    {u"不明なエラーによりファイルを読み込めません。", u"Unknown error."},
    {u"メモリが足りません。", u"Out of memory."},
    {u"文字コード変換の準備中にエラーになりました。", u"An error occurred while preparing for character code conversion."},
    {u"文字コード変換中にエラーになりました。", u"An error occurred during character code conversion.."},
};
constexpr TextPair kSaveErrors[] = {
    {u"不明なエラーによりファイルに書き込めません。", u"Unknown error."},
    {u"ファイルを書き込みモードで開けません。", u"Cannot open the file on write mode."},
    {u"不明なエラーによりファイルに書き込めません。", u"Unknown error."},
    {u"ファイルへ書き込めません。", u"Cannot write to the file."},
    {u"メモリが足りません。", u"Out of memory."},
};
constexpr TextPair kNoMemoryForText{u"ファイル書き込みを行うためのメモリが足りません。", u"Out of memory."};

template <std::size_t N>
const TextPair& ResultText(const TextPair (&texts)[N], int code) {
  return code > 0 && std::size_t(code) < N ? texts[code] : texts[0];
}

class MemoPage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override { return Checked(IDC_M_AS_SCRIPT) ? kTopicMemoScript : kTopicMemo; }
  void OnInitPage() override;
  void ShowScriptMode(bool script);
  bool OnControl(int id, int code) override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  std::wstring ChooseFile(bool save);
  void LoadFile(const std::wstring& path);
  void SaveFile();
  bool OnApply() override;
  void OnDestroy() override;

  HFONT script_font_ = nullptr;
  HICON load_icon_ = nullptr;
};

void MemoPage::OnInitPage() {
  HWND memo = Item(IDC_M_MEMO);
  SendMessageW(memo, EM_LIMITTEXT, 65535, 0);
  SendMessageW(memo, EM_SETEXTENDEDSTYLE, ES_EX_CONVERT_EOL_ON_PASTE, ES_EX_CONVERT_EOL_ON_PASTE);
  if (host().lock_memo) host().lock_memo();
  const std::u16string text = settings().MEMO;
  if (host().unlock_memo) host().unlock_memo();
  SetText(IDC_M_MEMO, text);
  SetText(IDC_M_SAMPLE, SampleText(language()));
  SetCheck(IDC_M_AS_SCRIPT, settings().MEMO_AS_SCRIPT);
  // The shell's open-folder picture on the load button.
  ExtractIconExW(L"shell32.dll", 4, nullptr, &load_icon_, 1);
  SendDlgItemMessageW(window(), IDC_M_LOAD, BM_SETIMAGE, IMAGE_ICON, LPARAM(load_icon_));
  ShowScriptMode(settings().MEMO_AS_SCRIPT != 0);
  DragAcceptFiles(window(), TRUE);
}

// A script is easier to read in a fixed-pitch font, beside the samples.
void MemoPage::ShowScriptMode(bool script) {
  if (script && !script_font_) {
    const bool ja = language() == Language::Japanese;
    // The heights are pixels at 96 DPI; the dialog around them grows with the DPI.
    HDC dc = GetDC(window());
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr) ReleaseDC(window(), dc);
    const int height = int(MulDiv(ja ? 12 : 14, dpi > 0 ? dpi : 96, 96) *
                           (context().factor > 1.0 ? context().factor : 1.0));
    script_font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 128, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                               ja ? L"ＭＳ ゴシック" : L"Terminal");
  }
  HFONT dialog_font = HFONT(SendMessageW(window(), WM_GETFONT, 0, 0));
  if (context().big_font) dialog_font = context().big_font;
  SendDlgItemMessageW(window(), IDC_M_MEMO, WM_SETFONT, WPARAM(script ? script_font_ : dialog_font), TRUE);
  Show(IDC_M_SAMPLE_GROUP, script);
  Show(IDC_M_SAMPLE, script);
}

bool MemoPage::OnControl(int id, int code) {
  switch (id) {
    case IDC_M_AS_SCRIPT:
      if (code == BN_CLICKED) ShowScriptMode(Checked(IDC_M_AS_SCRIPT));
      return true;
    case IDC_M_LOAD: {
      const std::wstring path = ChooseFile(false);
      if (!path.empty()) LoadFile(path);
      return true;
    }
    case IDC_M_SAVE:
      SaveFile();
      return true;
    default:
      return false;
  }
}

bool MemoPage::OnNotify(int id, NMHDR* header) {
  if (id == IDC_M_LINK && (header->code == NM_CLICK || header->code == NM_RETURN)) {
    if (host().show_help) host().show_help(window(), reinterpret_cast<const wchar_t*>(kTopicCommandLine));
    return true;
  }
  return SheetPageBase::OnNotify(id, header);
}

bool MemoPage::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  if (message == WM_DROPFILES) {
    const std::u16string file = TakeDrop(window(), HDROP(wparam)).file;
    if (!file.empty()) LoadFile(std::wstring(file.begin(), file.end()));
    result = 0;
    return true;
  }
  return SheetPageBase::OnMessage(message, wparam, lparam, result);
}

std::wstring MemoPage::ChooseFile(bool save) {
  wchar_t file[MAX_PATH] = L"";
  const std::u16string filter =
      std::u16string(kTextFilter.In(language())) + u'\0' + u"*.txt;*.qvs" + u'\0' + u'\0';
  const std::u16string title((save ? kSaveTitle : kOpenTitle).In(language()));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = window();
  ofn.lpstrFilter = Wide(filter);
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = Wide(title);
  ofn.lpstrDefExt = L"txt";
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  return chosen ? std::wstring(file) : std::wstring();
}

void MemoPage::LoadFile(const std::wstring& path) {
  std::wstring text;
  const int code = host().load_text_file ? host().load_text_file(path.c_str(), text) : -1;
  if (code != 0) {
    Message(ResultText(kLoadErrors, code).In(language()), MB_OK | MB_ICONERROR);
    return;
  }
  SetDlgItemTextW(window(), IDC_M_MEMO, text.c_str());
  Changed();
}

void MemoPage::SaveFile() {
  const std::wstring path = ChooseFile(true);
  if (path.empty()) return;
  const int length = GetWindowTextLengthW(Item(IDC_M_MEMO));
  std::wstring text;
  try {
    text.resize(std::size_t(length) + 1);
  } catch (const std::bad_alloc&) {
    Message(kNoMemoryForText.In(language()), MB_OK | MB_ICONERROR);
    return;
  }
  text.resize(GetWindowTextW(Item(IDC_M_MEMO), text.data(), length + 1));
  const int code = host().save_text_file_utf8 ? host().save_text_file_utf8(path.c_str(), text) : -1;
  if (code == 0) {
    Message(kSaved.In(language()), MB_OK | MB_ICONINFORMATION);
  } else {
    Message(ResultText(kSaveErrors, code).In(language()), MB_OK | MB_ICONERROR);
  }
}

bool MemoPage::OnApply() {
  Settings& s = settings();
  std::u16string text = Text(IDC_M_MEMO, 65536);
  if (host().lock_memo) host().lock_memo();
  s.MEMO = std::move(text);
  if (host().unlock_memo) host().unlock_memo();
  s.MEMO_AS_SCRIPT = Checked(IDC_M_AS_SCRIPT);
  // The next run of the script then uses the new text.
  if (host().stop_memo_script) host().stop_memo_script();
  SaveSettings(s, 2);
  if (host().clipboard_consumers_changed) host().clipboard_consumers_changed();
  return true;
}

void MemoPage::OnDestroy() {
  if (load_icon_) DestroyIcon(load_icon_);
  load_icon_ = nullptr;
  if (script_font_) DeleteObject(script_font_);
  script_font_ = nullptr;
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeMemoPage(SheetContext& context) { return std::make_unique<MemoPage>(context); }
