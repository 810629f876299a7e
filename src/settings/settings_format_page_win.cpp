// The Format page: the clock and system-information formats with their
// histories, and the drive free-space warning (save group 4).

#include <windows.h>

#include <commctrl.h>

#include <array>

#include "settings/combo_history_win.h"
#include "settings/settings_pages_win.h"
#include "settings/settings_sheet_ids.h"
#include "settings/settings_store_win.h"
#include "settings/sheet_rules.h"
#include "ui/help_topics.h"

namespace {

constexpr TextPair kFormatCaption{u"表示形式", u"Format"};
constexpr TextPair kClockDefaultQuestion{u"時計の表示形式をデフォルトに戻してもよろしいですか?",
                                         u"Are you sure you want to return to default format?"};
constexpr TextPair kCpuDefaultQuestion{u"CPU利用率等の表示形式をデフォルトに戻してもよろしいですか?",
                                       u"Are you sure you want to return to default format?"};
constexpr TextPair kClockSample{
    u"例1) M/d [a] H:mm:ss を指定 … 11/ 8 [Sat] 12:19:05\r\n例2) a, d MMMM yyyy H:mm:ss を指定 … Sat, 8 November 2008 12:19:05",
    u"Ex.1) M/d [a] H:mm:ss --> 11/ 8 [Sat] 12:19:05\r\nEx.2) a, d MMMM yyyy H:mm:ss --> Sat, 8 November 2008 12:19:05"};
constexpr TextPair kCpuSample{
    u"例1) CPU:{c}% 空メモリ:{mM}/{MM}MB を指定 … CPU: 1% 空メモリ:1008/4008MB\r\n例2) Processor:{c}% Available Memory:{mM}/{MM}MB を指定 … Processor: 1% Available Memory:1008/4008MB\r\n例3) ドライブC:{dCM}/{DCM}MB, ドライブD:{dDM}/{DDM}MB を指定 … ドライブC:35764/227006MB, ドライブD:315100/524287MB",
    u"Ex.1) CPU:{c}% FreeMem:{mM}/{MM}MB --> CPU: 1% FreeMem:108/4008MB\r\nEx.2) Processor:{c}% Available Memory:{mM}/{MM}MB --> Processor: 1% Available Memory:1008/4008MB\r\nEx.3) Drive C:{dCM}/{DCM}MB, Drive D:{dDM}/{DDM}MB --> Drive C:35764/227006MB, Drive D:315100/524287MB"};
constexpr TextPair kClockOffWarning{
    u"時計の表示形式を変更しましたが、現在、時計の表示はOFFになっています。時計を表示するには、[全般]タブの「時計を表示する」をONにしてください。",
    u"The clock display format has been changed, but the clock display is currently turned off. To display the clock, turn on 'Show Clock' on the [General] tab."};
constexpr TextPair kCpuOffWarning{
    u"CPU利用率と空きメモリ等の表示形式を変更しましたが、現在、この表示はOFFになっています。表示するには、[全般]タブの「CPU利用率と空きメモリ等を表示する」をONにしてください。",
    u"The display format of Processor/Memory availability has been changed, but this display is currently OFF. To display, turn on 'Processor/Memory availability' on the [General] tab."};
constexpr TextPair kWarnSoundTitle{u"ドライブ空き容量警告で再生するWAVファイル", u"Warn Sound"};

class FormatPage final : public SheetPageBase {
 public:
  using SheetPageBase::SheetPageBase;

 private:
  const char16_t* HelpTopic() const override {
    return language() == Language::Japanese ? kTopicFormatJa : kTopicFormatEn;
  }
  void OnInitPage() override;
  void FillDrives();
  void ShowDrive();
  void RewriteDriveEntry(int drive);
  int CurrentDrive() const;
  int CurrentUnit() const;
  void OnThresholdTyped();
  void OnUnitChosen();
  void UpdateEnables();
  void AskDefault(int box, const TextPair& question, std::u16string_view value);
  bool OnControl(int id, int code) override;
  bool OnNotify(int id, NMHDR* header) override;
  bool OnApply() override;
  void OnDestroy() override;

  std::unique_ptr<ComboboxQueue> formats_;
  std::unique_ptr<ComboboxQueue> cpu_formats_;
  std::unique_ptr<ComboboxQueue> warn_sounds_;
  std::array<int32_t, kDriveCount> sizes_{};
  std::array<int32_t, kDriveCount> units_{};
};

void FormatPage::OnInitPage() {
  const Settings& s = settings();
  formats_ = std::make_unique<ComboboxQueue>(Item(IDC_F_FORMAT), u"cbq_format");
  formats_->Record(s.FORMAT.view());
  SetText(IDC_F_FORMAT, s.FORMAT.view());
  cpu_formats_ = std::make_unique<ComboboxQueue>(Item(IDC_F_FORMATCPU), u"cbq_cpu");
  cpu_formats_->Record(s.FORMATCPU.view());
  SetText(IDC_F_FORMATCPU, s.FORMATCPU.view());
  warn_sounds_ = std::make_unique<ComboboxQueue>(Item(IDC_F_WARN_WAV), u"cbq_warnsound");
  warn_sounds_->Record(s.WATCHDRIVEFREEWAV.view());
  SetText(IDC_F_WARN_WAV, s.WATCHDRIVEFREEWAV.view());
  for (int id : {IDC_F_FORMAT, IDC_F_FORMATCPU, IDC_F_WARN_WAV}) SendDlgItemMessageW(window(), id, CB_LIMITTEXT, 519, 0);
  SetText(IDC_F_FORMAT_SAMPLE, kClockSample.In(language()));
  SetText(IDC_F_FORMATCPU_SAMPLE, kCpuSample.In(language()));
  SetCheck(IDC_F_WARN, s.WarnDiskSize);
  sizes_ = s.WATCHDRIVEFREE_SIZE;
  units_ = s.WATCHDRIVEFREE_UNIT;
  FillDrives();
  UpdateEnables();
}

void FormatPage::FillDrives() {
  HWND units = Item(IDC_F_UNIT);
  for (std::u16string_view text : DriveUnitTexts()) {
    const std::u16string copy(text);
    SendMessageW(units, CB_ADDSTRING, 0, LPARAM(Wide(copy)));
  }
  HWND drives = Item(IDC_F_DRIVE);
  for (int d = 0; d < kDriveCount; ++d) {
    const std::u16string text = DriveEntryText(d, sizes_[d], units_[d], language());
    SendMessageW(drives, CB_ADDSTRING, 0, LPARAM(Wide(text)));
  }
  SendMessageW(drives, CB_SETCURSEL, 2, 0);  // drive C
  LimitText(IDC_F_THRESHOLD, 10);
  ShowDrive();
}

int FormatPage::CurrentDrive() const {
  const LRESULT d = SendDlgItemMessageW(window(), IDC_F_DRIVE, CB_GETCURSEL, 0, 0);
  return d >= 0 && d < kDriveCount ? int(d) : 2;
}

int FormatPage::CurrentUnit() const {
  const LRESULT u = SendDlgItemMessageW(window(), IDC_F_UNIT, CB_GETCURSEL, 0, 0);
  return u >= 0 && u <= 6 ? int(u) : 2;
}

void FormatPage::ShowDrive() {
  const int d = CurrentDrive();
  const bool was_loading = loading_;
  loading_ = true;
  const int unit = units_[d] >= 0 && units_[d] <= 6 ? units_[d] : 2;
  SendDlgItemMessageW(window(), IDC_F_UNIT, CB_SETCURSEL, unit, 0);
  SetSpin(IDC_F_SPIN_THRESHOLD, 0, unit == kPercentUnit ? 100 : 2147483647);
  SetNumber(IDC_F_THRESHOLD, sizes_[d]);
  loading_ = was_loading;
}

void FormatPage::RewriteDriveEntry(int drive) {
  HWND drives = Item(IDC_F_DRIVE);
  const std::u16string text = DriveEntryText(drive, sizes_[drive], units_[drive], language());
  SendMessageW(drives, CB_DELETESTRING, drive, 0);
  SendMessageW(drives, CB_INSERTSTRING, drive, LPARAM(Wide(text)));
  SendMessageW(drives, CB_SETCURSEL, drive, 0);
}

void FormatPage::OnThresholdTyped() {
  const int d = CurrentDrive();
  const int64_t typed = ReadUnsignedField(Text(IDC_F_THRESHOLD, 16));
  const int64_t value = ClampThreshold(typed, CurrentUnit());
  if (value != typed) SetNumber(IDC_F_THRESHOLD, value);  // comes back here once with the cut value
  sizes_[d] = int32_t(value);
  RewriteDriveEntry(d);
}

void FormatPage::OnUnitChosen() {
  const int d = CurrentDrive();
  units_[d] = CurrentUnit();
  sizes_[d] = int32_t(ThresholdAfterUnitChange(sizes_[d], units_[d]));
  ShowDrive();
  RewriteDriveEntry(d);
}

void FormatPage::UpdateEnables() {
  const bool on = Checked(IDC_F_WARN);
  for (int id : {IDC_F_DRIVE, IDC_F_THRESHOLD, IDC_F_SPIN_THRESHOLD, IDC_F_UNIT, IDC_F_WARN_WAV, IDC_F_WARN_BROWSE}) {
    Enable(id, on);
  }
}

void FormatPage::AskDefault(int box, const TextPair& question, std::u16string_view value) {
  if (Message(question, kFormatCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  SetText(box, value);
  Changed();
}

bool FormatPage::OnControl(int id, int code) {
  switch (id) {
    case IDC_F_FORMAT_DEFAULT:
      AskDefault(IDC_F_FORMAT, kClockDefaultQuestion, DefaultFormat(language()));
      return true;
    case IDC_F_FORMATCPU_DEFAULT:
      AskDefault(IDC_F_FORMATCPU, kCpuDefaultQuestion, DefaultFormatCpu(language()));
      return true;
    case IDC_F_WARN:
      UpdateEnables();
      return true;
    case IDC_F_DRIVE:
      if (code == CBN_SELCHANGE) ShowDrive();
      return true;
    case IDC_F_THRESHOLD:
      if (code == EN_CHANGE && !loading_) OnThresholdTyped();
      return true;
    case IDC_F_UNIT:
      if (code == CBN_SELCHANGE && !loading_) OnUnitChosen();
      return true;
    case IDC_F_WARN_BROWSE:
      if (ChooseSoundFile(window(), Item(IDC_F_WARN_WAV), kWarnSoundTitle.In(language()), language())) Changed();
      return true;
    default:
      return false;
  }
}

bool FormatPage::OnNotify(int id, NMHDR* header) {
  if (header->code == NM_CLICK || header->code == NM_RETURN) {
    if (id == IDC_F_HELP_LINK) {
      const char16_t* topic = language() == Language::Japanese ? kTopicFormatFieldJa : kTopicFormatEn;
      if (host().show_help) host().show_help(window(), reinterpret_cast<const wchar_t*>(topic));
      return true;
    }
    if (id == IDC_F_HOTKEY_LINK) {
      SwitchPage(kPageHotkeys);
      return true;
    }
  }
  return SheetPageBase::OnNotify(id, header);
}

bool FormatPage::OnApply() {
  Settings& s = settings();
  const std::u16string format = Text(IDC_F_FORMAT, 520);
  if (!s.SHOW_CLOCK && format != s.FORMAT.view()) {
    Message(kClockOffWarning, kFormatCaption, MB_OK | MB_ICONWARNING);
  }
  s.FORMAT.assign(format);
  const std::u16string cpu = Text(IDC_F_FORMATCPU, 520);
  if (!s.CPUMEM && cpu != s.FORMATCPU.view()) Message(kCpuOffWarning, kFormatCaption, MB_OK | MB_ICONWARNING);
  s.FORMATCPU.assign(cpu);
  s.WarnDiskSize = Checked(IDC_F_WARN);
  s.WATCHDRIVEFREE_SIZE = sizes_;
  s.WATCHDRIVEFREE_UNIT = units_;
  s.WATCHDRIVEFREEWAV.assign(Text(IDC_F_WARN_WAV, 520));
  formats_->Record(format);
  cpu_formats_->Record(cpu);
  warn_sounds_->Record(s.WATCHDRIVEFREEWAV.view());
  SaveSettings(s, 4);
  if (host().display_changed) host().display_changed();
  return true;
}

void FormatPage::OnDestroy() {
  formats_.reset();
  cpu_formats_.reset();
  warn_sounds_.reset();
}

}  // namespace

std::unique_ptr<SheetPageBase> MakeFormatPage(SheetContext& context) {
  return std::make_unique<FormatPage>(context);
}
