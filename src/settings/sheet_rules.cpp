#include "settings/sheet_rules.h"

#include <algorithm>
#include <cstdio>

namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

std::u16string Replace(std::u16string text, std::u16string_view mark, std::u16string_view with) {
  const std::size_t at = text.find(mark);
  if (at != std::u16string::npos) text.replace(at, mark.size(), with);
  return text;
}

std::u16string Number(int64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
  return Ascii(buffer);
}

constexpr TextPair kChecks[] = {
    {u"アラームの時は 0～23 で入力してください。", u"You must input 0-23 in Hour of Alarm."},
    {u"アラームの分は 0～59 で入力してください。", u"You must input 0-59 in Minute of Alarm."},
    {u"アラームの秒は 0～59 で入力してください。", u"You must input 0-59 in Second of Alarm."},
    {u"「時計がマウスを追いかける間隔」は 20～500 で入力してください。", u"You must input 20-500 in Refresh[msec]."},
    {u"アラームの「○秒前から」は 0～59 で入力してください。", u"You must input 0-59 in before ** sec."},
    {u"時報の「○秒前から」は 0～59 で入力してください。", u"You must input 0-59 in before ** sec."},
    {u"クリップボードクリアまでの秒数は 1～9999 で入力してください。",
     u"You must input 1-9999 in Empties Clipboard[sec]."},
};

constexpr TextPair kCorners[] = {
    {u"第%dモニタの作業領域の右下", u"Right Bottom Corner of Workarea on the Monitor No.%d"},
    {u"第%dモニタの作業領域の左下", u"Left Bottom Corner of Workarea on the Monitor No.%d"},
    {u"第%dモニタの作業領域の右上", u"Right Top Corner of Workarea on the Monitor No.%d"},
    {u"第%dモニタの作業領域の左上", u"Left Top Corner of Workarea on the Monitor No.%d"},
    {u"第%dモニタの画面の右下", u"Right Bottom Corner of Screen on the Monitor No.%d"},
    {u"第%dモニタの画面の左下", u"Left Bottom Corner of Screen on the Monitor No.%d"},
    {u"第%dモニタの画面の右上", u"Right Top Corner of Screen on the Monitor No.%d"},
    {u"第%dモニタの画面の左上", u"Left Top Corner of Screen on the Monitor No.%d"},
};

}  // namespace

uint32_t ReadUnsignedField(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  if (text.empty()) return 0;
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    value = value * 10 + uint64_t(c - u'0');
    if (value > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  }
  return uint32_t(value);
}

const TextPair* FirstFailedCheck(const GeneralChecks& f) {
  const bool failed[] = {f.hour > 23,
                         f.minute > 59,
                         f.second > 59,
                         f.interval < 20 || f.interval > 500,
                         f.alarm_before > 59,
                         f.chime_before > 59,
                         f.clear_seconds < 1 || f.clear_seconds > 9999};
  for (std::size_t i = 0; i < std::size(failed); ++i) {
    if (failed[i]) return &kChecks[i];
  }
  return nullptr;
}

bool IsSignedDigitsText(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') continue;
    if (c == u'-' && i == 0) continue;
    return false;
  }
  return true;
}

TimeOfDay CountdownTarget(TimeOfDay now, TimeOfDay d) {
  TimeOfDay t{now.hour + d.hour, now.minute + d.minute, now.second + d.second};
  t.minute += t.second / 60;
  t.second %= 60;
  t.hour += t.minute / 60;
  t.minute %= 60;
  t.hour %= 24;
  return t;
}

const std::vector<int>& FontSizeList() {
  static const std::vector<int> sizes = {5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 18, 20, 22, 24, 26,
                                         28, 32, 36, 40, 44, 48, 54, 60, 66, 72, 80, 88, 96};
  return sizes;
}

std::vector<std::u16string> FilterFontFaces(const std::vector<std::u16string>& faces) {
  std::vector<std::u16string> kept;
  for (const std::u16string& face : faces) {
    if (face.empty() || face.front() == u'@') continue;
    if (std::find(kept.begin(), kept.end(), face) != kept.end()) continue;
    kept.push_back(face);
  }
  return kept;
}

std::vector<std::u16string> CornerListTexts(int monitors, Language language) {
  std::vector<std::u16string> texts;
  for (int m = 1; m <= monitors; ++m) {
    for (const TextPair& corner : kCorners) {
      texts.push_back(Replace(std::u16string(corner.In(language)), u"%d", Number(m)));
    }
  }
  return texts;
}

int CornerListIndex(int32_t wpos, int monitors) {
  if (wpos < 1 || monitors < 1) return 0;
  return int64_t(wpos) - 1 < int64_t(monitors) * 8 ? int(wpos - 1) : 0;
}

std::array<std::u16string_view, 4> FontStyleTexts(Language language) {
  if (language == Language::Japanese) return {u"標準", u"斜体", u"太字", u"太字斜体"};
  return {u"Normal", u"Italic", u"Bold", u"Bold+Italic"};
}

std::array<std::u16string_view, 6> ClipboardDelayTexts(Language language) {
  if (language == Language::Japanese) {
    return {u"遅延しない", u"0.1秒遅延", u"0.2秒遅延", u"0.5秒遅延", u"0.7秒遅延", u"1.0秒遅延"};
  }
  return {u"No Delay", u"0.1 sec", u"0.2 sec", u"0.5 sec", u"0.7 sec", u"1.0 sec"};
}

std::array<std::u16string_view, 7> DriveUnitTexts() { return {u"%", u"KB", u"MB", u"GB", u"TB", u"PB", u"EB"}; }

int64_t ClampThreshold(int64_t value, int unit) {
  if (value < 0) return 0;
  if (unit == kPercentUnit) return std::min<int64_t>(value, 100);
  return std::min<int64_t>(value, 2147483647);
}

int64_t ThresholdAfterUnitChange(int64_t value, int unit) {
  if (unit == kPercentUnit && value > 100) return 0;
  return ClampThreshold(value, unit);
}

std::u16string DriveEntryText(int drive, int32_t threshold, int32_t unit, Language language) {
  const std::u16string letter(1, char16_t(u'A' + drive));
  if (threshold == 0) {
    return Replace(std::u16string(Pick<std::u16string_view>(language, u"ドライブ%c - 設定なし",
                                                             u"Drive %c - Do not monitor")),
                   u"%c", letter);
  }
  const auto units = DriveUnitTexts();
  const std::u16string_view unit_text = unit >= 0 && unit < int32_t(units.size()) ? units[unit] : u"";
  std::u16string text(Pick<std::u16string_view>(language, u"ドライブ%c - 空き容量が %d%s未満になったら警告する",
                                                 u"Drive %c - Warning when free space is less than %d%s"));
  text = Replace(std::move(text), u"%c", letter);
  text = Replace(std::move(text), u"%d", Number(threshold));
  return Replace(std::move(text), u"%s", unit_text);
}

std::u16string ColorText(uint32_t color) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "[%02X%02X%02X]", unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
                unsigned((color >> 16) & 0xFF));
  return Ascii(buffer);
}

bool HasDuplicateHotkey(const std::vector<uint32_t>& hotkeys) {
  for (std::size_t i = 0; i < hotkeys.size(); ++i) {
    if (hotkeys[i] == 0) continue;
    for (std::size_t j = i + 1; j < hotkeys.size(); ++j) {
      if (hotkeys[i] == hotkeys[j]) return true;
    }
  }
  return false;
}
