// The General page: position, display, font, alarm, chime, clipboard and the
// other lines (save group 1).

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "settings/combo_history_win.h"
#include "ui/message_box_win.h"
#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "settings/sheet_rules.h"

namespace {

constexpr UINT_PTR kAlarmWatchTimer = 1;
constexpr TextPair kBigDialogCaption{u"設定画面強制拡大", u"設定画面強制拡大"};
constexpr TextPair kBigDialogOn{
    u"「設定画面強制拡大」はテスト中の機能です。このチェックをONにすると、次回設定画面を開いたときから、ダイアログのサイズが強制的に拡大されます。無理やり拡大をしているため、一部表示の乱れる部分があるかもしれませんが、テスト中の機能ということで、ご容赦ください。",
    u""};
constexpr TextPair kBigDialogOff{u"次回設定画面を開いたときから、元のサイズに戻ります。", u""};
constexpr TextPair kAlarmSoundTitle{u"アラームで再生するWAVファイル", u"Alarm"};
constexpr TextPair kChimeSoundTitle{u"時報で再生するWAVファイル", u"Alarm X:00"};
constexpr TextPair kChimeBrowse{u"参照(&E)...", u"Brow&se..."};
constexpr TextPair kChimeSelect{u"選択(&E)...", u"S&elect..."};
constexpr TextPair kWidthTip{u"0を指定すると、DEF_MAX_WND_WIDTH の幅まで自動で調整します。",
                             u"0: automatic, up to DEF_MAX_WND_WIDTH pixels."};
constexpr TextPair kHeightTip{u"0を指定すると、DEF_MAX_WND_HEIGHT の高さまで自動で調整します。",
                              u"0: automatic, up to DEF_MAX_WND_HEIGHT pixels."};

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lparam) {
  auto& faces = *reinterpret_cast<std::vector<std::u16string>*>(lparam);
  faces.emplace_back(reinterpret_cast<const char16_t*>(font->lfFaceName));
  return 1;
}

std::vector<std::u16string> SystemFontFaces() {
  std::vector<std::u16string> faces;
  HDC dc = GetDC(nullptr);
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &query, &CollectFace, LPARAM(&faces), 0);
  ReleaseDC(nullptr, dc);
  return FilterFontFaces(faces);
}

void AddItem(HWND box, std::u16string_view text) {
  const std::u16string copy(text);
  SendMessageW(box, CB_ADDSTRING, 0, LPARAM(Wide(copy)));
}

class GeneralPage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override;
  void OnInitPage() override;
  void FillPosition();
  void FillFont();
  void FillAlarm();
  void FillClipboard();
  void UpdateEnables();
  void SetCountdownMode(bool countdown);
  bool OnControl(int id, int code) override;
  void FilterSignedField(int id);
  void CheckFontSize();
  void BrowseChime();
  bool OnApply() override;
  void TakeAlarm();
  void TakeFlagsAndSounds();
  bool OnTimer(UINT_PTR id) override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;
  void OnDropFiles(HDROP drop);
  void OnDestroy() override;

  std::unique_ptr<ComboboxQueue> alarm_sounds_;
  std::unique_ptr<ComboboxQueue> chime_sounds_;
  bool once_alarm_shown_ = false;
};

}  // namespace

#include "ui/help_topics.h"

namespace {

const char16_t* GeneralPage::HelpTopic() const { return kTopicGeneral; }

void GeneralPage::OnInitPage() {
  FillPosition();
  FillFont();
  FillAlarm();
  FillClipboard();
  const Settings& s = settings();
  SetCheck(IDC_G_GAIBU, s.GAIBU);
  SetCheck(IDC_G_CPUMEM, s.CPUMEM);
  SetCheck(IDC_G_IMESTATE, s.IMESTATE);
  if (Item(IDC_G_BIGDIALOG)) SetCheck(IDC_G_BIGDIALOG, s.BIGDIALOG);
  DragAcceptFiles(window(), TRUE);
  SetTimer(window(), kAlarmWatchTimer, 1000, nullptr);
  UpdateEnables();
}

void GeneralPage::FillPosition() {
  const Settings& s = settings();
  SetCheck(s.WPOS == 0 ? IDC_G_POINTER : IDC_G_FIXED, true);
  const int monitors = std::max(1, GetSystemMetrics(SM_CMONITORS));
  HWND corner = Item(IDC_G_CORNER);
  for (const std::u16string& text : CornerListTexts(monitors, language())) AddItem(corner, text);
  SendMessageW(corner, CB_SETCURSEL, CornerListIndex(s.WPOS, monitors), 0);
  SendMessageW(corner, CB_SETDROPPEDWIDTH, 320, 0);
  const struct {
    int edit, spin, low, high, chars;
    int32_t value;
  } fields[] = {{IDC_G_LEFT, IDC_G_SPIN_LEFT, 0, 9999, 6, s.LEFT},
                {IDC_G_TOP, IDC_G_SPIN_TOP, 0, 9999, 6, s.TOP},
                {IDC_G_WIDTH, IDC_G_SPIN_WIDTH, 0, 9999, 4, s.WND_WIDTH},
                {IDC_G_HEIGHT, IDC_G_SPIN_HEIGHT, 0, 9999, 4, s.WND_HEIGHT},
                {IDC_G_INTERVAL, IDC_G_SPIN_INTERVAL, 20, 500, 3, s.INTERVAL},
                {IDC_G_GAP, IDC_G_SPIN_GAP, 0, 9999, 6, s.GAP_BETWEEN_ITEMS}};
  for (const auto& f : fields) {
    SetSpin(f.spin, f.low, f.high);
    LimitText(f.edit, f.chars);
    SetNumber(f.edit, f.value);
  }
  SetCheck(IDC_G_SHOW_CLOCK, s.SHOW_CLOCK);
  SetCheck(IDC_G_SHOW_LINE, s.SHOW_LINE);
  AddTooltip(IDC_G_WIDTH, kWidthTip.In(language()));
  AddTooltip(IDC_G_HEIGHT, kHeightTip.In(language()));
}

void GeneralPage::FillFont() {
  const Settings& s = settings();
  HWND faces = Item(IDC_G_FONT);
  for (const std::u16string& face : SystemFontFaces()) AddItem(faces, face);
  const std::u16string current(s.FONTNAME.view());
  LRESULT at = SendMessageW(faces, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(Wide(current)));
  if (at == CB_ERR && !current.empty()) at = SendMessageW(faces, CB_ADDSTRING, 0, LPARAM(Wide(current)));
  SendMessageW(faces, CB_SETCURSEL, at == CB_ERR ? 0 : at, 0);
  HWND style = Item(IDC_G_STYLE);
  for (std::u16string_view text : FontStyleTexts(language())) AddItem(style, text);
  SendMessageW(style, CB_SETCURSEL, (s.FONTBOLD ? 2 : 0) + (s.FONTITALIC ? 1 : 0), 0);
  HWND size = Item(IDC_G_SIZE);
  for (int n : FontSizeList()) SendMessageW(size, CB_ADDSTRING, 0, LPARAM(std::to_wstring(n).c_str()));
  SendMessageW(size, CB_LIMITTEXT, 4, 0);
  SetNumber(IDC_G_SIZE, s.FONTSIZE);
}

void GeneralPage::FillAlarm() {
  const Settings& s = settings();
  // 3 is a one-time alarm ringing right now: still the one-time alarm.
  const UINT state = s.ALARM == 1 ? BST_CHECKED : (s.ALARM == 2 || s.ALARM == 3) ? BST_INDETERMINATE : BST_UNCHECKED;
  CheckDlgButton(window(), IDC_G_ALARM, state);
  once_alarm_shown_ = state == BST_INDETERMINATE;
  const struct {
    int edit, spin, high;
    int32_t value;
  } fields[] = {{IDC_G_HOUR, IDC_G_SPIN_HOUR, 23, s.ALARM_HOUR},
                {IDC_G_MINUTE, IDC_G_SPIN_MINUTE, 59, s.ALARM_MIN},
                {IDC_G_SECOND, IDC_G_SPIN_SECOND, 59, s.ALARM_SEC},
                {IDC_G_ALARM_BSEC, IDC_G_SPIN_ALARM_BSEC, 59, s.ALARM_WAV_BSEC},
                {IDC_G_JIHOU_BSEC, IDC_G_SPIN_JIHOU_BSEC, 59, s.JIHOU_WAV_BSEC}};
  for (const auto& f : fields) {
    SetSpin(f.spin, 0, f.high);
    LimitText(f.edit, 2);
    SetNumber(f.edit, f.value);
  }
  SetCountdownMode(false);
  alarm_sounds_ = std::make_unique<ComboboxQueue>(Item(IDC_G_ALARM_WAV), u"cbq_alarm");
  alarm_sounds_->Record(s.ALARM_WAV.view());
  SetText(IDC_G_ALARM_WAV, s.ALARM_WAV.view());
  chime_sounds_ = std::make_unique<ComboboxQueue>(Item(IDC_G_JIHOU_WAV), u"cbq_jihou");
  chime_sounds_->Record(s.JIHOU_WAV.view());
  SetText(IDC_G_JIHOU_WAV, s.JIHOU_WAV.view());
  SendDlgItemMessageW(window(), IDC_G_ALARM_WAV, CB_LIMITTEXT, 519, 0);
  SendDlgItemMessageW(window(), IDC_G_JIHOU_WAV, CB_LIMITTEXT, 519, 0);
  SetCheck(IDC_G_NOKORI, s.ALARM_NOKORI);
  SetCheck(IDC_G_YOREI, s.YOREI_COLOR);
  SetCheck(IDC_G_ALARM_FLUSH, s.ALARM_FLUSH);
  SetCheck(IDC_G_JIHOU, s.JIHOU);
  SetCheck(IDC_G_JIHOU_MULTI, s.JIHOU_MULTI);
  SetCheck(IDC_G_JIHOU_FLUSH, s.JIHOU_FLUSH);
}

void GeneralPage::FillClipboard() {
  const Settings& s = settings();
  SetCheck(IDC_G_CLIPBOARD, s.CLIPBOARD);
  SetSpin(IDC_G_SPIN_CBTEXT_MAX, 0, 9999);
  LimitText(IDC_G_CBTEXT_MAX, 4);
  SetNumber(IDC_G_CBTEXT_MAX, s.CBTEXT_MAX);
  SetCheck(IDC_G_AUTO_PLAINER, s.AUTO_PLAINER);
  SetCheck(IDC_G_AUTO_DEL, s.AUTO_DEL_CLIP);
  SetSpin(IDC_G_SPIN_AUTO_DEL_SEC, 1, 9999);
  LimitText(IDC_G_AUTO_DEL_SEC, 4);
  SetNumber(IDC_G_AUTO_DEL_SEC, s.AUTO_DEL_CLIPSEC);
  HWND delay = Item(IDC_G_CBDELAY);
  for (std::u16string_view text : ClipboardDelayTexts(language())) AddItem(delay, text);
  SendMessageW(delay, CB_SETCURSEL, ClipboardDelayIndex(s.CBDELAY), 0);
}

void GeneralPage::UpdateEnables() {
  const bool pointer = Checked(IDC_G_POINTER);
  for (int id : {IDC_G_LEFT, IDC_G_TOP, IDC_G_SPIN_LEFT, IDC_G_SPIN_TOP}) Enable(id, pointer);
  Enable(IDC_G_CORNER, !pointer);
  const bool clipboard = Checked(IDC_G_CLIPBOARD);
  Enable(IDC_G_CBTEXT_MAX, clipboard);
  Enable(IDC_G_SPIN_CBTEXT_MAX, clipboard);
  const bool clear = Checked(IDC_G_AUTO_DEL);
  Enable(IDC_G_AUTO_DEL_SEC, clear);
  Enable(IDC_G_SPIN_AUTO_DEL_SEC, clear);
  Enable(IDC_G_CBDELAY, clipboard || clear || Checked(IDC_G_AUTO_PLAINER));
  const bool multi = Checked(IDC_G_JIHOU_MULTI);
  Enable(IDC_G_JIHOU_WAV, !multi);
  SetText(IDC_G_JIHOU_BROWSE, (multi ? kChimeSelect : kChimeBrowse).In(language()));
}

void GeneralPage::SetCountdownMode(bool countdown) {
  SetCheck(IDC_G_CLOCK_MODE, !countdown);
  SetCheck(IDC_G_COUNTDOWN_MODE, countdown);
  if (language() == Language::Japanese) {
    SetText(IDC_G_UNIT_HOUR, countdown ? u"時間" : u"時");
    SetText(IDC_G_UNIT_SECOND, countdown ? u"秒後" : u"秒");
  }
  Show(IDC_G_CLEAR_TIME, countdown);
}

bool GeneralPage::OnControl(int id, int code) {
  switch (id) {
    case IDC_G_LEFT:
    case IDC_G_TOP:
    case IDC_G_GAP:
      if (code == EN_CHANGE) FilterSignedField(id);
      return true;
    case IDC_G_SIZE:
      if (code == CBN_KILLFOCUS) CheckFontSize();
      return true;
    case IDC_G_POINTER:
    case IDC_G_FIXED:
    case IDC_G_CLIPBOARD:
    case IDC_G_AUTO_PLAINER:
    case IDC_G_AUTO_DEL:
    case IDC_G_JIHOU_MULTI:
      UpdateEnables();
      return true;
    case IDC_G_CLOCK_MODE:
    case IDC_G_COUNTDOWN_MODE:
      if (code == BN_CLICKED) SetCountdownMode(Checked(IDC_G_COUNTDOWN_MODE));
      return true;
    case IDC_G_CLEAR_TIME:
      for (int field : {IDC_G_HOUR, IDC_G_MINUTE, IDC_G_SECOND}) SetText(field, u"");
      return true;
    case IDC_G_ALARM_BROWSE:
      if (ChooseSoundFile(window(), Item(IDC_G_ALARM_WAV), kAlarmSoundTitle.In(language()), language())) Changed();
      return true;
    case IDC_G_JIHOU_BROWSE:
      BrowseChime();
      return true;
    default:
      return false;
  }
}

// Digits and a leading minus only; anything else empties the field.
void GeneralPage::FilterSignedField(int id) {
  if (!IsSignedDigitsText(Text(id, 32))) SetText(id, u"");
}

void GeneralPage::CheckFontSize() {
  const int32_t size = Signed(IDC_G_SIZE);
  if (!IsValidFontSize(size)) SetNumber(IDC_G_SIZE, settings().FONTSIZE);
}

void GeneralPage::BrowseChime() {
  if (Checked(IDC_G_JIHOU_MULTI)) {
    if (RunHourlySoundsDialog(context(), window())) Changed();
    return;
  }
  if (ChooseSoundFile(window(), Item(IDC_G_JIHOU_WAV), kChimeSoundTitle.In(language()), language())) Changed();
}

bool GeneralPage::OnApply() {
  GeneralChecks checks;
  checks.hour = Unsigned(IDC_G_HOUR);
  checks.minute = Unsigned(IDC_G_MINUTE);
  checks.second = Unsigned(IDC_G_SECOND);
  checks.interval = Unsigned(IDC_G_INTERVAL);
  checks.alarm_before = Unsigned(IDC_G_ALARM_BSEC);
  checks.chime_before = Unsigned(IDC_G_JIHOU_BSEC);
  checks.clear_seconds = Unsigned(IDC_G_AUTO_DEL_SEC);
  if (const TextPair* failed = FirstFailedCheck(checks)) {
    Message(*failed, kSettingsCaption, MB_OK | MB_ICONERROR);
    // The sheet stays open on this page so that the typed values are not lost.
    return false;
  }
  Settings& s = settings();
  s.WPOS = Checked(IDC_G_POINTER) ? 0 : 1 + int32_t(SendDlgItemMessageW(window(), IDC_G_CORNER, CB_GETCURSEL, 0, 0));
  s.LEFT = Signed(IDC_G_LEFT);
  s.TOP = Signed(IDC_G_TOP);
  s.INTERVAL = int32_t(checks.interval);
  if (host().interval_changed) host().interval_changed();

  s.FONTNAME.assign(Text(IDC_G_FONT, 64));
  const LRESULT style = SendDlgItemMessageW(window(), IDC_G_STYLE, CB_GETCURSEL, 0, 0);
  s.FONTBOLD = style == 2 || style == 3;
  s.FONTITALIC = style == 1 || style == 3;
  const int32_t size = Signed(IDC_G_SIZE);
  s.FONTSIZE = IsValidFontSize(size) ? size : 10;
  SetNumber(IDC_G_SIZE, s.FONTSIZE);
  if (host().font_changed) host().font_changed();

  TakeAlarm();
  TakeFlagsAndSounds();

  const uint8_t big = Item(IDC_G_BIGDIALOG) && Checked(IDC_G_BIGDIALOG) ? 1 : 0;
  if (language() == Language::Japanese && big != s.BIGDIALOG) {
    Message(big ? kBigDialogOn : kBigDialogOff, kBigDialogCaption, MB_OK | MB_ICONINFORMATION);
  }
  s.BIGDIALOG = big;
  SaveSettings(s, 1);
  if (host().clipboard_consumers_changed) host().clipboard_consumers_changed();
  return true;
}

void GeneralPage::TakeAlarm() {
  Settings& s = settings();
  const UINT state = IsDlgButtonChecked(window(), IDC_G_ALARM);
  s.ALARM = state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
  once_alarm_shown_ = s.ALARM == 2;
  TimeOfDay alarm{int(Unsigned(IDC_G_HOUR)), int(Unsigned(IDC_G_MINUTE)), int(Unsigned(IDC_G_SECOND))};
  if (Checked(IDC_G_COUNTDOWN_MODE)) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    alarm = CountdownTarget({now.wHour, now.wMinute, now.wSecond}, alarm);
    loading_ = true;
    SetNumber(IDC_G_HOUR, alarm.hour);
    SetNumber(IDC_G_MINUTE, alarm.minute);
    SetNumber(IDC_G_SECOND, alarm.second);
    SetCountdownMode(false);
    loading_ = false;
  }
  s.ALARM_HOUR = alarm.hour;
  s.ALARM_MIN = alarm.minute;
  s.ALARM_SEC = alarm.second;
}

void GeneralPage::TakeFlagsAndSounds() {
  Settings& s = settings();
  s.ALARM_WAV.assign(Text(IDC_G_ALARM_WAV, 520));
  alarm_sounds_->Record(s.ALARM_WAV.view());
  s.ALARM_WAV_BSEC = int32_t(Unsigned(IDC_G_ALARM_BSEC));
  s.JIHOU_WAV.assign(Text(IDC_G_JIHOU_WAV, 520));
  chime_sounds_->Record(s.JIHOU_WAV.view());
  s.JIHOU_WAV_BSEC = int32_t(Unsigned(IDC_G_JIHOU_BSEC));
  s.ALARM_NOKORI = Checked(IDC_G_NOKORI);
  s.YOREI_COLOR = Checked(IDC_G_YOREI);
  s.ALARM_FLUSH = Checked(IDC_G_ALARM_FLUSH);
  s.JIHOU = Checked(IDC_G_JIHOU);
  s.JIHOU_MULTI = Checked(IDC_G_JIHOU_MULTI);
  s.JIHOU_FLUSH = Checked(IDC_G_JIHOU_FLUSH);
  s.CLIPBOARD = Checked(IDC_G_CLIPBOARD);
  s.CBTEXT_MAX = int32_t(std::min<uint32_t>(Unsigned(IDC_G_CBTEXT_MAX), 9999));
  s.AUTO_PLAINER = Checked(IDC_G_AUTO_PLAINER);
  s.AUTO_DEL_CLIP = Checked(IDC_G_AUTO_DEL);
  s.AUTO_DEL_CLIPSEC = int32_t(Unsigned(IDC_G_AUTO_DEL_SEC));
  s.CBDELAY = ClipboardDelayIndex(int32_t(SendDlgItemMessageW(window(), IDC_G_CBDELAY, CB_GETCURSEL, 0, 0)));
  s.WND_WIDTH = int32_t(std::min<uint32_t>(Unsigned(IDC_G_WIDTH), 9999));
  s.WND_HEIGHT = int32_t(std::min<uint32_t>(Unsigned(IDC_G_HEIGHT), 9999));
  s.SHOW_CLOCK = Checked(IDC_G_SHOW_CLOCK);
  s.GAP_BETWEEN_ITEMS = std::max(0, Signed(IDC_G_GAP));
  s.SHOW_LINE = Checked(IDC_G_SHOW_LINE);
  const uint8_t gaibu = Checked(IDC_G_GAIBU);
  const bool lines_changed = gaibu != s.GAIBU || Checked(IDC_G_CPUMEM) != (s.CPUMEM != 0) ||
                             Checked(IDC_G_IMESTATE) != (s.IMESTATE != 0);
  if (!gaibu && s.GAIBU && host().external_text_off) host().external_text_off();
  s.GAIBU = gaibu;
  s.CPUMEM = Checked(IDC_G_CPUMEM);
  s.IMESTATE = Checked(IDC_G_IMESTATE);
  // These three belong to the colours' group; saved now so that a change
  // made here does not wait for the program's exit to reach the store.
  if (lines_changed) SaveSettings(s, 3);
}

// A one-time alarm that went off while the page is open is over: the box
// shows it.
bool GeneralPage::OnTimer(UINT_PTR id) {
  if (id != kAlarmWatchTimer) return false;
  if (once_alarm_shown_ && settings().ALARM == 0 &&
      IsDlgButtonChecked(window(), IDC_G_ALARM) == BST_INDETERMINATE) {
    CheckDlgButton(window(), IDC_G_ALARM, BST_UNCHECKED);
    once_alarm_shown_ = false;
  }
  return true;
}

bool GeneralPage::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
  if (message == WM_DROPFILES) {
    OnDropFiles(HDROP(wparam));
    result = 0;
    return true;
  }
  return SheetPageBase::OnMessage(message, wparam, lparam, result);
}

// The file goes into the sound box under the cursor.
void GeneralPage::OnDropFiles(HDROP drop) {
  const auto [file, at] = TakeDrop(window(), drop);
  if (file.empty()) return;
  for (int id : {IDC_G_ALARM_WAV, IDC_G_JIHOU_WAV}) {
    RECT box;
    if (GetWindowRect(Item(id), &box) && PtInRect(&box, at) && IsWindowEnabled(Item(id))) {
      SetText(id, file);
      Changed();
      return;
    }
  }
}

void GeneralPage::OnDestroy() {
  KillTimer(window(), kAlarmWatchTimer);
  alarm_sounds_.reset();
  chime_sounds_.reset();
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeGeneralPage(SheetContext& context) {
  return std::make_unique<GeneralPage>(context);
}
