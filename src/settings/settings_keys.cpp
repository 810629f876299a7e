#include "settings/settings_keys.h"

#include <algorithm>

namespace {

using K = KeyKind;
using R = LoadRule;

// The key's name is the member's name.
#define KEY(name) u"" #name, &Settings::name

constexpr SettingKey kKeys[] = {
    {KEY(DEF_MAX_WND_WIDTH), K::Integer, R::AtLeast16, 1, 0},
    {KEY(DEF_MAX_WND_HEIGHT), K::Integer, R::AtLeast16, 1, 1},
    {KEY(DEF_MAX_CLIPIMAGESIZE), K::Integer, R::AtLeast16, 1, 2},
    {KEY(WPOS), K::Integer, R::Keep, 1, 3},
    {KEY(LEFT), K::Integer, R::Keep, 1, 4},
    {KEY(TOP), K::Integer, R::Keep, 1, 5},
    {KEY(INTERVAL), K::Integer, R::Keep, 1, 6},
    {KEY(HIDESTOP), K::Flag, R::FadeKeys, 6, 0},
    {KEY(FADEOUTMSEC), K::Integer, R::WithFadeKeys, 6, 1},
    {KEY(FADEOUTSEC), K::Integer, R::WithFadeKeys, 0, 0},
    {KEY(HIDEMOVE), K::Flag, R::Keep, 6, 2},
    {KEY(FADEINMSEC), K::Integer, R::Keep, 6, 3},
    {KEY(HideOut), K::Flag, R::Keep, 6, 4},
    {KEY(INSTANTLY), K::Flag, R::Keep, 6, 5},
    {KEY(TEXTCOLOR), K::Color, R::Keep, 1, 7},
    {KEY(BKCOLOR), K::Color, R::Keep, 1, 8},
    {KEY(WBKCOLOR), K::Color, R::Keep, 1, 9},
    {KEY(BG_ALPHA), K::Integer, R::Keep, 1, 10},
    {KEY(FONTNAME), K::Text, R::Keep, 1, 11, u"MS UI Gothic", u"MS Sans Serif"},
    {KEY(FONTSIZE), K::Integer, R::FontSize, 1, 12},
    {KEY(FORMAT), K::Text, R::LanguageDefault, 4, 0, u"M/d [a] H:mm:ss", u"a, d MMMM yyyy H:mm:ss"},
    {KEY(FORMATCPU), K::Text, R::LanguageDefault, 4, 1, u"CPU利用率:{c}% 空きメモリ:{mM}/{MM}MB",
     u"Processor:{c}% Available Memory:{mM}/{MM}MB"},
    {KEY(ALARM), K::Integer, R::AlarmMode, 1, 13},
    {KEY(ALARM_HOUR), K::Integer, R::Keep, 1, 14},
    {KEY(ALARM_MIN), K::Integer, R::Keep, 1, 15},
    {KEY(ALARM_SEC), K::Integer, R::Keep, 1, 16},
    {KEY(ALARM_WAV), K::Text, R::Keep, 1, 17},
    {KEY(ALARM_WAV_BSEC), K::Integer, R::Keep, 1, 18},
    {KEY(ALARM_NOKORI), K::Flag, R::Keep, 1, 19},
    {KEY(ALARM_NOKORI_COLOR), K::Color, R::Keep, 1, 20},
    {KEY(ALARM_BK_COLOR), K::Color, R::Keep, 1, 21},
    {KEY(ALARM_FLUSH), K::Flag, R::Keep, 1, 23},
    {KEY(YOREI_COLOR), K::Flag, R::Keep, 1, 24},
    {KEY(JIHOU), K::Flag, R::Keep, 1, 25},
    {KEY(JIHOU_WAV), K::Text, R::Keep, 1, 26},
    {u"JIHOU_WAV", &Settings::JIHOU_WAVS, K::HourTexts, R::Keep, 1, 27},
    {KEY(JIHOU_WAV_BSEC), K::Integer, R::Keep, 1, 28},
    {KEY(JIHOU_FLUSH), K::Flag, R::Keep, 1, 29},
    {KEY(JIHOU_MULTI), K::Flag, R::Keep, 1, 30},
    {KEY(CLIPBOARD), K::Flag, R::Keep, 1, 31},
    {KEY(CLIPBOARD_COLOR), K::Color, R::Keep, 3, 0},
    {KEY(CLIPBOARD_COLOR_F), K::Color, R::Keep, 3, 1},
    {KEY(MEMO), K::Memo, R::Keep, 2, 0},
    {KEY(MEMO_AS_SCRIPT), K::Flag, R::Keep, 2, 1},
    {KEY(MEMO_COLOR), K::Color, R::Keep, 3, 2},
    {KEY(GAIBU), K::Flag, R::Keep, 3, 3},
    {KEY(GAIBU_COLOR), K::Color, R::Keep, 3, 4},
    {KEY(CPUMEM), K::Flag, R::Keep, 3, 5},
    {KEY(CPUMEM_COLOR), K::Color, R::Keep, 3, 6},
    {KEY(IMESTATE), K::Flag, R::Keep, 3, 7},
    {KEY(IMESTATE_COLOR), K::Color, R::Keep, 3, 8},
    {KEY(KAKOMI_COLOR), K::Color, R::Keep, 3, 9},
    {KEY(INVERT_COLOR_DARKMODE), K::Flag, R::Keep, 1, 22},
    {KEY(HIDEICON), K::Flag, R::Keep, 0, 0},  // set by hand in the store, never written
    {KEY(AUTO_PLAINER), K::Flag, R::Keep, 1, 32},
    {KEY(AUTO_DEL_CLIP), K::Flag, R::Keep, 1, 33},
    {KEY(AUTO_DEL_CLIPSEC), K::Integer, R::Keep, 1, 34},
    {KEY(CBTEXT_MAX), K::Integer, R::Keep, 1, 35},
    {KEY(WND_WIDTH), K::Integer, R::Keep, 1, 36},
    {KEY(WND_HEIGHT), K::Integer, R::Keep, 1, 37},
    {KEY(ROUNDRECT), K::Flag, R::Keep, 1, 38},
    {KEY(FONTBOLD), K::Flag, R::Keep, 1, 39},
    {KEY(FONTITALIC), K::Flag, R::Keep, 1, 40},
    {KEY(CBDELAY), K::Integer, R::Keep, 1, 41},
    {KEY(NoOpeningDlg), K::Flag, R::FixedDefault, 1, 42},
    {KEY(NoNotifyScriptSuspend), K::Flag, R::FixedDefault, 1, 43},
    {KEY(SHOW_CLOCK), K::Flag, R::FixedDefault, 1, 44},
    {KEY(GAP_BETWEEN_ITEMS), K::Integer, R::FixedNotNegative, 1, 45},
    {KEY(SHOW_LINE), K::Flag, R::FixedDefault, 1, 46},
    {KEY(HOTKEY_SETTING), K::Hotkey, R::HotkeyRule, 5, 0},
    {KEY(HOTKEY_MEMO), K::Hotkey, R::HotkeyRule, 5, 1},
    {KEY(HOTKEY_HIDE), K::Hotkey, R::HotkeyRule, 5, 2},
    {KEY(HOTKEY_HIDE_P1), K::Hotkey, R::HotkeyRule, 5, 3},
    {KEY(HOTKEY_HIDE_P0), K::Hotkey, R::HotkeyRule, 5, 4},
    {KEY(HOTKEY_CLEARCLIPBOARD), K::Hotkey, R::HotkeyRule, 5, 5},
    {KEY(HOTKEY_PLAINER), K::Hotkey, R::HotkeyRule, 5, 6},
    {KEY(HOTKEY_CHECK_ALARM_NOKORI), K::Hotkey, R::HotkeyRule, 5, 7},
    {KEY(HOTKEY_SUSPEND_WARNDISKSIZE), K::Hotkey, R::HotkeyRule, 5, 8},
    {KEY(BIGDIALOG), K::Flag, R::Keep, 1, 47},
    {KEY(TITLESUBSTR), K::Text, R::Keep, 5, 9},
    {KEY(IBEAMHIDE), K::Flag, R::Keep, 5, 10},
    {KEY(WarnDiskSize), K::Flag, R::Keep, 4, 2},
    {u"WATCHDRIVEFREE_SIZE_", &Settings::WATCHDRIVEFREE_SIZE, K::DriveSizes, R::Keep, 4, 3},
    {u"WATCHDRIVEFREE_UNIT_", &Settings::WATCHDRIVEFREE_UNIT, K::DriveUnits, R::DriveUnit, 4, 4},
    {KEY(WATCHDRIVEFREEWAV), K::Text, R::Keep, 4, 5},
};

#undef KEY

// The member's type follows from the kind.
constexpr bool MemberFitsKind(const SettingKey& row) {
  switch (row.kind) {
    case K::Integer: return std::holds_alternative<int32_t Settings::*>(row.member);
    case K::Flag: return std::holds_alternative<uint8_t Settings::*>(row.member);
    case K::Color:
    case K::Hotkey: return std::holds_alternative<uint32_t Settings::*>(row.member);
    case K::Text:
      return std::holds_alternative<FontNameText Settings::*>(row.member) ||
             std::holds_alternative<SettingText Settings::*>(row.member);
    case K::Memo: return std::holds_alternative<std::u16string Settings::*>(row.member);
    case K::HourTexts: return std::holds_alternative<std::array<SettingText, kJihouHours> Settings::*>(row.member);
    case K::DriveSizes:
    case K::DriveUnits: return std::holds_alternative<std::array<int32_t, kDriveCount> Settings::*>(row.member);
  }
  return false;
}

// Every group's positions are 0, 1, 2 ... without gaps or repeats.
constexpr bool GroupPositionsAreDense() {
  for (int group = 1; group <= kSaveGroupCount; ++group) {
    int count = 0;
    for (const SettingKey& row : kKeys) count += row.group == group ? 1 : 0;
    for (int position = 0; position < count; ++position) {
      int found = 0;
      for (const SettingKey& row : kKeys) found += (row.group == group && row.position == position) ? 1 : 0;
      if (found != 1) return false;
    }
  }
  return true;
}

constexpr bool TableIsConsistent() {
  for (const SettingKey& row : kKeys) {
    if (!MemberFitsKind(row) || row.group > kSaveGroupCount) return false;
    if (row.rule == R::LanguageDefault && (row.default_ja.empty() || row.default_en.empty())) return false;
  }
  return GroupPositionsAreDense();
}
static_assert(TableIsConsistent(), "every row's member fits its kind and each group's write order is complete");

template <class T>
T Settings::*Member(const SettingKey& row) {
  return std::get<T Settings::*>(row.member);
}

// The fixed defaults: a default-constructed record.
const Settings& RecordDefaults() {
  static const Settings defaults;
  return defaults;
}

std::u16string Suffixed(std::u16string_view key, std::u16string_view suffix) {
  std::u16string k(key);
  k += suffix;
  return k;
}

std::u16string HourKey(std::u16string_view prefix, int hour) {
  std::u16string k(prefix);
  k += char16_t(u'0' + hour / 10);
  k += char16_t(u'0' + hour % 10);
  return k;
}

std::u16string DriveKey(std::u16string_view prefix, int drive) {
  std::u16string k(prefix);
  k += char16_t(u'A' + drive);
  return k;
}

const SettingKey& Row(KeyKind kind) {
  return *std::find_if(std::begin(kKeys), std::end(kKeys), [kind](const SettingKey& r) { return r.kind == kind; });
}

// ---- load ----------------------------------------------------------------

template <std::size_t N>
bool LoadText(SettingsStore& store, std::u16string_view key, FixedText<N>& field) {
  std::u16string value;
  if (!store.ReadString(key, N, value)) return false;
  field.assign(value);
  return true;
}

// FONTNAME has the shorter buffer; every other text row is SettingText.
bool LoadTextRow(Settings& s, SettingsStore& store, const SettingKey& row) {
  if (const auto* font = std::get_if<FontNameText Settings::*>(&row.member)) return LoadText(store, row.key, s.**font);
  return LoadText(store, row.key, s.*Member<SettingText>(row));
}

void LoadIntegerRow(Settings& s, SettingsStore& store, const SettingKey& row) {
  int32_t& field = s.*Member<int32_t>(row);
  const bool fixed = row.rule == R::FixedDefault || row.rule == R::FixedNotNegative;
  field = store.ReadInteger(row.key, fixed ? RecordDefaults().*Member<int32_t>(row) : field);
  switch (row.rule) {
    case R::AtLeast16: field = std::max(field, 16); break;
    case R::FontSize:
      if (field < 5 || field > 1638) field = 10;
      break;
    case R::AlarmMode:
      if (field != 0 && field != 1 && field != 2) field = 0;
      break;
    case R::FixedNotNegative: field = std::max(field, 0); break;
    default: break;
  }
}

void LoadFlagRow(Settings& s, SettingsStore& store, const SettingKey& row) {
  uint8_t& field = s.*Member<uint8_t>(row);
  const uint8_t fallback = row.rule == R::FixedDefault ? RecordDefaults().*Member<uint8_t>(row) : field;
  field = store.ReadInteger(row.key, fallback) != 0 ? 1 : 0;
}

// Each component keeps only its low 8 bits (300 loads as 44, -1 as 255).
void LoadColorRow(Settings& s, SettingsStore& store, const SettingKey& row) {
  uint32_t& field = s.*Member<uint32_t>(row);
  const int32_t r = store.ReadInteger(Suffixed(row.key, u"_R"), int32_t(ColorRed(field)));
  const int32_t g = store.ReadInteger(Suffixed(row.key, u"_G"), int32_t(ColorGreen(field)));
  const int32_t b = store.ReadInteger(Suffixed(row.key, u"_B"), int32_t(ColorBlue(field)));
  field = MakeColor(uint32_t(r), uint32_t(g), uint32_t(b));
}

// The fade keys: a stored HIDESTOP decides alone; without it, a positive
// fade-out time switches fading on, taken from the older seconds key when
// FADEOUTMSEC is absent too.
void LoadFadeKeys(Settings& s, SettingsStore& store) {
  const int32_t hidestop = store.ReadInteger(u"HIDESTOP", -1);
  s.FADEOUTMSEC = store.ReadInteger(u"FADEOUTMSEC", -1);
  if (hidestop != -1) {
    s.HIDESTOP = hidestop != 0 ? 1 : 0;
    return;
  }
  if (s.FADEOUTMSEC == -1) {
    s.FADEOUTSEC = store.ReadInteger(u"FADEOUTSEC", 1);
    // Wraps like the 32-bit product it always was, rather than overflowing.
    s.FADEOUTMSEC = int32_t(uint32_t(s.FADEOUTSEC) * 1000u);
  }
  if (s.FADEOUTMSEC > 0) s.HIDESTOP = 1;
}

// A stored unit keeps its low byte; anything past exabytes is megabytes.
int32_t LoadDriveUnit(SettingsStore& store, std::u16string_view key) {
  const int32_t unit = store.ReadInteger(key, 2) & 0xFF;
  return unit > 6 ? 2 : unit;
}

// The two drive families are read drive by drive: SIZE_A, UNIT_A, SIZE_B ...
void LoadDrives(Settings& s, SettingsStore& store) {
  const SettingKey& sizes = Row(K::DriveSizes);
  const SettingKey& units = Row(K::DriveUnits);
  auto& size = s.*Member<std::array<int32_t, kDriveCount>>(sizes);
  auto& unit = s.*Member<std::array<int32_t, kDriveCount>>(units);
  for (int d = 0; d < kDriveCount; ++d) {
    size[d] = store.ReadInteger(DriveKey(sizes.key, d), size[d]);
    unit[d] = LoadDriveUnit(store, DriveKey(units.key, d));
  }
}

void LoadMemo(Settings& s, SettingsStore& store, const SettingKey& row, const KeyTableHooks& hooks) {
  std::u16string memo;
  if (!store.ReadString(row.key, kMemoReadCapacity, memo)) return;
  if (hooks.lock_memo) hooks.lock_memo();
  s.*Member<std::u16string>(row) = std::move(memo);
  if (hooks.unlock_memo) hooks.unlock_memo();
}

void LoadRow(Settings& s, SettingsStore& store, const SettingKey& row, Language language,
             const KeyTableHooks& hooks) {
  if (row.rule == R::FadeKeys) return LoadFadeKeys(s, store);
  if (row.rule == R::WithFadeKeys) return;
  switch (row.kind) {
    case K::Integer: LoadIntegerRow(s, store, row); break;
    case K::Flag: LoadFlagRow(s, store, row); break;
    case K::Color: LoadColorRow(s, store, row); break;
    case K::Hotkey: s.*Member<uint32_t>(row) = NormalizeHotkey(uint32_t(store.ReadInteger(row.key, 0))); break;
    case K::Text:
      if (!LoadTextRow(s, store, row) && row.rule == R::LanguageDefault) {
        (s.*Member<SettingText>(row)).assign(Pick(language, row.default_ja, row.default_en));
      }
      break;
    case K::Memo: LoadMemo(s, store, row, hooks); break;
    case K::HourTexts: {
      auto& texts = s.*Member<std::array<SettingText, kJihouHours>>(row);
      for (int h = 0; h < kJihouHours; ++h) LoadText(store, HourKey(row.key, h), texts[h]);
      break;
    }
    case K::DriveSizes: LoadDrives(s, store); break;
    case K::DriveUnits: break;  // read with the sizes
  }
}

// ---- save ----------------------------------------------------------------

class GroupWriter {
 public:
  GroupWriter(SettingsStore& store, std::u16string& errors) : store_(store), errors_(errors) {}

  void Integer(std::u16string_view key, int32_t value) { ok_ &= store_.WriteInteger(key, value, errors_); }
  void Text(std::u16string_view key, std::u16string_view value) { ok_ &= store_.WriteString(key, value, errors_); }
  void Color(std::u16string_view key, uint32_t value) {
    Integer(Suffixed(key, u"_R"), int32_t(ColorRed(value)));
    Integer(Suffixed(key, u"_G"), int32_t(ColorGreen(value)));
    Integer(Suffixed(key, u"_B"), int32_t(ColorBlue(value)));
  }
  bool ok() const { return ok_; }

 private:
  SettingsStore& store_;
  std::u16string& errors_;
  bool ok_ = true;
};

std::u16string_view TextOf(const Settings& s, const SettingKey& row) {
  if (const auto* font = std::get_if<FontNameText Settings::*>(&row.member)) return (s.**font).view();
  return (s.*Member<SettingText>(row)).view();
}

// The drive families are written drive by drive, as they are read.
void SaveDrives(const Settings& s, GroupWriter& w) {
  const SettingKey& sizes = Row(K::DriveSizes);
  const SettingKey& units = Row(K::DriveUnits);
  const auto& size = s.*Member<std::array<int32_t, kDriveCount>>(sizes);
  const auto& unit = s.*Member<std::array<int32_t, kDriveCount>>(units);
  for (int d = 0; d < kDriveCount; ++d) {
    w.Integer(DriveKey(sizes.key, d), size[d]);
    w.Integer(DriveKey(units.key, d), unit[d]);
  }
}

void SaveRow(const Settings& s, const SettingKey& row, const KeyTableHooks& hooks, GroupWriter& w) {
  switch (row.kind) {
    case K::Integer: {
      const int32_t value = s.*Member<int32_t>(row);
      w.Integer(row.key, row.rule == R::AlarmMode ? StoredAlarm(value) : value);
      break;
    }
    case K::Flag: w.Integer(row.key, s.*Member<uint8_t>(row) != 0 ? 1 : 0); break;
    case K::Color: w.Color(row.key, s.*Member<uint32_t>(row)); break;
    case K::Hotkey: w.Integer(row.key, int32_t(s.*Member<uint32_t>(row))); break;
    case K::Text: w.Text(row.key, TextOf(s, row)); break;
    case K::Memo: {
      // Copied under the lock: the script thread may be reading it.
      if (hooks.lock_memo) hooks.lock_memo();
      const std::u16string memo = s.*Member<std::u16string>(row);
      if (hooks.unlock_memo) hooks.unlock_memo();
      w.Text(row.key, memo);
      break;
    }
    case K::HourTexts: {
      const auto& texts = s.*Member<std::array<SettingText, kJihouHours>>(row);
      for (int h = 0; h < kJihouHours; ++h) w.Text(HourKey(row.key, h), texts[h].view());
      break;
    }
    case K::DriveSizes: SaveDrives(s, w); break;
    case K::DriveUnits: break;  // written with the sizes
  }
}

// The group's rows in write order.
std::vector<const SettingKey*> GroupRows(int group) {
  std::vector<const SettingKey*> rows;
  for (const SettingKey& row : kKeys) {
    if (row.group == group) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(),
            [](const SettingKey* a, const SettingKey* b) { return a->position < b->position; });
  return rows;
}

}  // namespace

std::span<const SettingKey> SettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::u16string_view key) {
  for (const SettingKey& row : kKeys) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

std::vector<std::u16string> StoredKeyNames(const SettingKey& row) {
  std::vector<std::u16string> names;
  switch (row.kind) {
    case K::Color:
      for (std::u16string_view suffix : {u"_R", u"_G", u"_B"}) names.push_back(Suffixed(row.key, suffix));
      break;
    case K::HourTexts:
      for (int h = 0; h < kJihouHours; ++h) names.push_back(HourKey(row.key, h));
      break;
    case K::DriveSizes:
    case K::DriveUnits:
      for (int d = 0; d < kDriveCount; ++d) names.push_back(DriveKey(row.key, d));
      break;
    default: names.emplace_back(row.key); break;
  }
  return names;
}

std::vector<std::u16string> GroupWriteOrder(int group) {
  std::vector<std::u16string> names;
  if (group < 1 || group > kSaveGroupCount) return names;
  for (const SettingKey* row : GroupRows(group)) {
    if (row->kind == K::DriveUnits) continue;
    if (row->kind == K::DriveSizes) {
      const SettingKey& units = Row(K::DriveUnits);
      for (int d = 0; d < kDriveCount; ++d) {
        names.push_back(DriveKey(row->key, d));
        names.push_back(DriveKey(units.key, d));
      }
      continue;
    }
    for (std::u16string& name : StoredKeyNames(*row)) names.push_back(std::move(name));
  }
  return names;
}

void LoadKeyTable(Settings& s, SettingsStore& store, Language language, const KeyTableHooks& hooks) {
  for (const SettingKey& row : kKeys) LoadRow(s, store, row, language, hooks);
}

bool SaveKeyGroup(const Settings& s, SettingsStore& store, int group, const KeyTableHooks& hooks,
                  std::u16string& errors) {
  GroupWriter writer(store, errors);
  if (group < 1 || group > kSaveGroupCount) return true;
  for (const SettingKey* row : GroupRows(group)) SaveRow(s, *row, hooks, writer);
  return writer.ok();
}
