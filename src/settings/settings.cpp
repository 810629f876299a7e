#include "settings/settings.h"

#include <string>

namespace {

SettingsHooks g_hooks;

std::u16string KeyWithSuffix(std::u16string_view key, std::u16string_view suffix) {
  std::u16string k(key);
  k += suffix;
  return k;
}

std::u16string JihouKey(int hour) {
  std::u16string k = u"JIHOU_WAV";
  k += char16_t(u'0' + hour / 10);
  k += char16_t(u'0' + hour % 10);
  return k;
}

std::u16string DriveKey(std::u16string_view prefix, int drive) {
  std::u16string k(prefix);
  k += char16_t(u'A' + drive);
  return k;
}

// ---- load helpers ------------------------------------------------------

void LoadInteger(SettingsStore& store, std::u16string_view key, int32_t& field) {
  field = store.ReadInteger(key, field);
}

void LoadFixedInteger(SettingsStore& store, std::u16string_view key, int32_t fixed_default, int32_t& field) {
  field = store.ReadInteger(key, fixed_default);
}

void LoadFlag(SettingsStore& store, std::u16string_view key, uint8_t& field) {
  field = store.ReadInteger(key, field) != 0 ? 1 : 0;
}

void LoadFixedFlag(SettingsStore& store, std::u16string_view key, uint8_t fixed_default, uint8_t& field) {
  field = store.ReadInteger(key, fixed_default) != 0 ? 1 : 0;
}

void LoadAtLeast16(SettingsStore& store, std::u16string_view key, int32_t& field) {
  LoadInteger(store, key, field);
  if (field < 16) field = 16;
}

// Each component keeps only its low 8 bits (300 loads as 44, -1 as 255).
void LoadColor(SettingsStore& store, std::u16string_view key, uint32_t& field) {
  const int32_t r = store.ReadInteger(KeyWithSuffix(key, u"_R"), int32_t(ColorRed(field)));
  const int32_t g = store.ReadInteger(KeyWithSuffix(key, u"_G"), int32_t(ColorGreen(field)));
  const int32_t b = store.ReadInteger(KeyWithSuffix(key, u"_B"), int32_t(ColorBlue(field)));
  field = MakeColor(uint32_t(r), uint32_t(g), uint32_t(b));
}

template <std::size_t N>
bool LoadText(SettingsStore& store, std::u16string_view key, FixedText<N>& field) {
  std::u16string value;
  if (!store.ReadString(key, N, value)) return false;
  field.assign(value);
  return true;
}

void LoadHotkey(SettingsStore& store, std::u16string_view key, uint32_t& field) {
  field = NormalizeHotkey(uint32_t(store.ReadInteger(key, 0)));
}

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

void LoadDriveUnit(SettingsStore& store, int drive, int32_t& field) {
  const int32_t unit = store.ReadInteger(DriveKey(u"WATCHDRIVEFREE_UNIT_", drive), 2) & 0xFF;
  field = unit > 6 ? 2 : unit;
}

void LoadMemo(Settings& s, SettingsStore& store) {
  std::u16string memo;
  if (!store.ReadString(u"MEMO", kMemoReadCapacity, memo)) return;
  if (g_hooks.lock_memo) g_hooks.lock_memo();
  s.MEMO = std::move(memo);
  if (g_hooks.unlock_memo) g_hooks.unlock_memo();
}

// ---- save helpers ------------------------------------------------------

class GroupWriter {
 public:
  explicit GroupWriter(SettingsStore& store) : store_(store) {}

  void Integer(std::u16string_view key, int32_t value) { ok_ &= store_.WriteInteger(key, value, errors_); }
  void Flag(std::u16string_view key, uint8_t value) { Integer(key, value != 0 ? 1 : 0); }
  void Hotkey(std::u16string_view key, uint32_t value) { Integer(key, int32_t(value)); }
  void Color(std::u16string_view key, uint32_t value) {
    Integer(KeyWithSuffix(key, u"_R"), int32_t(ColorRed(value)));
    Integer(KeyWithSuffix(key, u"_G"), int32_t(ColorGreen(value)));
    Integer(KeyWithSuffix(key, u"_B"), int32_t(ColorBlue(value)));
  }
  void Text(std::u16string_view key, std::u16string_view value) {
    ok_ &= store_.WriteString(key, value, errors_);
  }

  void Begin() { store_.BeginWrites(); }
  void Commit() { ok_ &= store_.CommitWrites(errors_); }

  bool ok() const { return ok_; }
  const std::u16string& errors() const { return errors_; }

 private:
  SettingsStore& store_;
  std::u16string errors_;
  bool ok_ = true;
};

void SaveGroup1(const Settings& s, GroupWriter& w) {
  w.Integer(u"DEF_MAX_WND_WIDTH", s.DEF_MAX_WND_WIDTH);
  w.Integer(u"DEF_MAX_WND_HEIGHT", s.DEF_MAX_WND_HEIGHT);
  w.Integer(u"DEF_MAX_CLIPIMAGESIZE", s.DEF_MAX_CLIPIMAGESIZE);
  w.Integer(u"WPOS", s.WPOS);
  w.Integer(u"LEFT", s.LEFT);
  w.Integer(u"TOP", s.TOP);
  w.Integer(u"INTERVAL", s.INTERVAL);
  w.Color(u"TEXTCOLOR", s.TEXTCOLOR);
  w.Color(u"BKCOLOR", s.BKCOLOR);
  w.Color(u"WBKCOLOR", s.WBKCOLOR);
  w.Integer(u"BG_ALPHA", s.BG_ALPHA);
  w.Text(u"FONTNAME", s.FONTNAME.view());
  w.Integer(u"FONTSIZE", s.FONTSIZE);
  // 3 is the run-time state of a one-time alarm going off.
  w.Integer(u"ALARM", s.ALARM == 3 ? 0 : s.ALARM);
  w.Integer(u"ALARM_HOUR", s.ALARM_HOUR);
  w.Integer(u"ALARM_MIN", s.ALARM_MIN);
  w.Integer(u"ALARM_SEC", s.ALARM_SEC);
  w.Text(u"ALARM_WAV", s.ALARM_WAV.view());
  w.Integer(u"ALARM_WAV_BSEC", s.ALARM_WAV_BSEC);
  w.Flag(u"ALARM_NOKORI", s.ALARM_NOKORI);
  w.Color(u"ALARM_NOKORI_COLOR", s.ALARM_NOKORI_COLOR);
  w.Color(u"ALARM_BK_COLOR", s.ALARM_BK_COLOR);
  w.Flag(u"INVERT_COLOR_DARKMODE", s.INVERT_COLOR_DARKMODE);
  w.Flag(u"ALARM_FLUSH", s.ALARM_FLUSH);
  w.Flag(u"YOREI_COLOR", s.YOREI_COLOR);
  w.Flag(u"JIHOU", s.JIHOU);
  w.Text(u"JIHOU_WAV", s.JIHOU_WAV.view());
  for (int h = 0; h < kJihouHours; ++h) w.Text(JihouKey(h), s.JIHOU_WAVS[h].view());
  w.Integer(u"JIHOU_WAV_BSEC", s.JIHOU_WAV_BSEC);
  w.Flag(u"JIHOU_FLUSH", s.JIHOU_FLUSH);
  w.Flag(u"JIHOU_MULTI", s.JIHOU_MULTI);
  w.Flag(u"CLIPBOARD", s.CLIPBOARD);
  w.Flag(u"AUTO_PLAINER", s.AUTO_PLAINER);
  w.Flag(u"AUTO_DEL_CLIP", s.AUTO_DEL_CLIP);
  w.Integer(u"AUTO_DEL_CLIPSEC", s.AUTO_DEL_CLIPSEC);
  w.Integer(u"CBTEXT_MAX", s.CBTEXT_MAX);
  w.Integer(u"WND_WIDTH", s.WND_WIDTH);
  w.Integer(u"WND_HEIGHT", s.WND_HEIGHT);
  w.Flag(u"ROUNDRECT", s.ROUNDRECT);
  w.Flag(u"FONTBOLD", s.FONTBOLD);
  w.Flag(u"FONTITALIC", s.FONTITALIC);
  w.Integer(u"CBDELAY", s.CBDELAY);
  w.Flag(u"NoOpeningDlg", s.NoOpeningDlg);
  w.Flag(u"NoNotifyScriptSuspend", s.NoNotifyScriptSuspend);
  w.Flag(u"SHOW_CLOCK", s.SHOW_CLOCK);
  w.Integer(u"GAP_BETWEEN_ITEMS", s.GAP_BETWEEN_ITEMS);
  w.Flag(u"SHOW_LINE", s.SHOW_LINE);
  w.Flag(u"BIGDIALOG", s.BIGDIALOG);
}

void SaveGroup2(const Settings& s, GroupWriter& w) {
  if (g_hooks.lock_memo) g_hooks.lock_memo();
  const std::u16string memo = s.MEMO;
  if (g_hooks.unlock_memo) g_hooks.unlock_memo();
  w.Text(u"MEMO", memo);
  w.Flag(u"MEMO_AS_SCRIPT", s.MEMO_AS_SCRIPT);
}

void SaveGroup3(const Settings& s, GroupWriter& w) {
  w.Color(u"CLIPBOARD_COLOR", s.CLIPBOARD_COLOR);
  w.Color(u"CLIPBOARD_COLOR_F", s.CLIPBOARD_COLOR_F);
  w.Color(u"MEMO_COLOR", s.MEMO_COLOR);
  w.Flag(u"GAIBU", s.GAIBU);
  w.Color(u"GAIBU_COLOR", s.GAIBU_COLOR);
  w.Flag(u"CPUMEM", s.CPUMEM);
  w.Color(u"CPUMEM_COLOR", s.CPUMEM_COLOR);
  w.Flag(u"IMESTATE", s.IMESTATE);
  w.Color(u"IMESTATE_COLOR", s.IMESTATE_COLOR);
  w.Color(u"KAKOMI_COLOR", s.KAKOMI_COLOR);
}

void SaveGroup4(const Settings& s, GroupWriter& w) {
  w.Text(u"FORMAT", s.FORMAT.view());
  w.Text(u"FORMATCPU", s.FORMATCPU.view());
  w.Flag(u"WarnDiskSize", s.WarnDiskSize);
  for (int d = 0; d < kDriveCount; ++d) {
    w.Integer(DriveKey(u"WATCHDRIVEFREE_SIZE_", d), s.WATCHDRIVEFREE_SIZE[d]);
    w.Integer(DriveKey(u"WATCHDRIVEFREE_UNIT_", d), s.WATCHDRIVEFREE_UNIT[d]);
  }
  w.Text(u"WATCHDRIVEFREEWAV", s.WATCHDRIVEFREEWAV.view());
}

void SaveGroup5(const Settings& s, GroupWriter& w) {
  w.Hotkey(u"HOTKEY_SETTING", s.HOTKEY_SETTING);
  w.Hotkey(u"HOTKEY_MEMO", s.HOTKEY_MEMO);
  w.Hotkey(u"HOTKEY_HIDE", s.HOTKEY_HIDE);
  w.Hotkey(u"HOTKEY_HIDE_P1", s.HOTKEY_HIDE_P1);
  w.Hotkey(u"HOTKEY_HIDE_P0", s.HOTKEY_HIDE_P0);
  w.Hotkey(u"HOTKEY_CLEARCLIPBOARD", s.HOTKEY_CLEARCLIPBOARD);
  w.Hotkey(u"HOTKEY_PLAINER", s.HOTKEY_PLAINER);
  w.Hotkey(u"HOTKEY_CHECK_ALARM_NOKORI", s.HOTKEY_CHECK_ALARM_NOKORI);
  w.Hotkey(u"HOTKEY_SUSPEND_WARNDISKSIZE", s.HOTKEY_SUSPEND_WARNDISKSIZE);
  w.Text(u"TITLESUBSTR", s.TITLESUBSTR.view());
  w.Flag(u"IBEAMHIDE", s.IBEAMHIDE);
}

void SaveGroup6(const Settings& s, GroupWriter& w) {
  w.Flag(u"HIDESTOP", s.HIDESTOP);
  w.Integer(u"FADEOUTMSEC", s.FADEOUTMSEC);
  w.Flag(u"HIDEMOVE", s.HIDEMOVE);
  w.Integer(u"FADEINMSEC", s.FADEINMSEC);
  w.Flag(u"HideOut", s.HideOut);
  w.Flag(u"INSTANTLY", s.INSTANTLY);
}

void SaveOneGroup(const Settings& s, int group, GroupWriter& w) {
  switch (group) {
    case 1: SaveGroup1(s, w); break;
    case 2: SaveGroup2(s, w); break;
    case 3: SaveGroup3(s, w); break;
    case 4: SaveGroup4(s, w); break;
    case 5: SaveGroup5(s, w); break;
    case 6: SaveGroup6(s, w); break;
    default: break;
  }
}

void NotifySaveError(std::u16string_view text) {
  if (g_hooks.notify_save_error) {
    g_hooks.notify_save_error(text);
  } else {
    CollectedSaveErrorNotices().emplace_back(text);
  }
}

}  // namespace

std::u16string_view DefaultFontName(Language language) {
  return Pick<std::u16string_view>(language, u"MS UI Gothic", u"MS Sans Serif");
}

std::u16string_view DefaultFormat(Language language) {
  return Pick<std::u16string_view>(language, u"M/d [a] H:mm:ss", u"a, d MMMM yyyy H:mm:ss");
}

std::u16string_view DefaultFormatCpu(Language language) {
  return Pick<std::u16string_view>(language, u"CPU利用率:{c}% 空きメモリ:{mM}/{MM}MB",
                                   u"Processor:{c}% Available Memory:{mM}/{MM}MB");
}

CustomColors DefaultCustomColors() {
  const Settings s;
  return {s.TEXTCOLOR, s.WBKCOLOR, s.ALARM_NOKORI_COLOR, s.ALARM_BK_COLOR,
          s.CLIPBOARD_COLOR, s.CLIPBOARD_COLOR_F, s.MEMO_COLOR, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

Settings DefaultSettings(Language language) {
  Settings s;
  s.FONTNAME.assign(DefaultFontName(language));
  s.FORMAT.assign(DefaultFormat(language));
  s.FORMATCPU.assign(DefaultFormatCpu(language));
  s.CUSTCOLORS = DefaultCustomColors();
  return s;
}

uint32_t NormalizeHotkey(uint32_t stored) {
  if (stored == 0) return 0;
  const uint32_t modifiers = (stored >> 8) & 0xFF;
  const uint32_t key = stored & 0xFF;
  // Two or more modifiers (or the extended-key flag alone) are left as set.
  if (modifiers != 0 && modifiers != 0x01 && modifiers != 0x02 && modifiers != 0x04) return stored;
  const bool keypad = (key >= 0x60 && key <= 0x6B) || key == 0x6D || key == 0x6F;
  const bool function_key = key >= 0x70 && key <= 0x87;
  if (keypad || function_key) return stored;
  // A plain key or one with a single common modifier would steal ordinary typing.
  return key | 0x0600;
}

void LoadSettings(Settings& s, SettingsStore& store, Language language) {
  LoadAtLeast16(store, u"DEF_MAX_WND_WIDTH", s.DEF_MAX_WND_WIDTH);
  LoadAtLeast16(store, u"DEF_MAX_WND_HEIGHT", s.DEF_MAX_WND_HEIGHT);
  LoadAtLeast16(store, u"DEF_MAX_CLIPIMAGESIZE", s.DEF_MAX_CLIPIMAGESIZE);
  LoadInteger(store, u"WPOS", s.WPOS);
  LoadInteger(store, u"LEFT", s.LEFT);
  LoadInteger(store, u"TOP", s.TOP);
  LoadInteger(store, u"INTERVAL", s.INTERVAL);
  LoadFadeKeys(s, store);
  LoadFlag(store, u"HIDEMOVE", s.HIDEMOVE);
  LoadInteger(store, u"FADEINMSEC", s.FADEINMSEC);
  LoadFlag(store, u"HideOut", s.HideOut);
  LoadFlag(store, u"INSTANTLY", s.INSTANTLY);
  LoadColor(store, u"TEXTCOLOR", s.TEXTCOLOR);
  LoadColor(store, u"BKCOLOR", s.BKCOLOR);
  LoadColor(store, u"WBKCOLOR", s.WBKCOLOR);
  LoadInteger(store, u"BG_ALPHA", s.BG_ALPHA);
  LoadText(store, u"FONTNAME", s.FONTNAME);
  LoadInteger(store, u"FONTSIZE", s.FONTSIZE);
  if (s.FONTSIZE < 5 || s.FONTSIZE > 1638) s.FONTSIZE = 10;
  if (!LoadText(store, u"FORMAT", s.FORMAT)) s.FORMAT.assign(DefaultFormat(language));
  if (!LoadText(store, u"FORMATCPU", s.FORMATCPU)) s.FORMATCPU.assign(DefaultFormatCpu(language));
  LoadInteger(store, u"ALARM", s.ALARM);
  if (s.ALARM != 0 && s.ALARM != 1 && s.ALARM != 2) s.ALARM = 0;
  LoadInteger(store, u"ALARM_HOUR", s.ALARM_HOUR);
  LoadInteger(store, u"ALARM_MIN", s.ALARM_MIN);
  LoadInteger(store, u"ALARM_SEC", s.ALARM_SEC);
  LoadText(store, u"ALARM_WAV", s.ALARM_WAV);
  LoadInteger(store, u"ALARM_WAV_BSEC", s.ALARM_WAV_BSEC);
  LoadFlag(store, u"ALARM_NOKORI", s.ALARM_NOKORI);
  LoadColor(store, u"ALARM_NOKORI_COLOR", s.ALARM_NOKORI_COLOR);
  LoadColor(store, u"ALARM_BK_COLOR", s.ALARM_BK_COLOR);
  LoadFlag(store, u"ALARM_FLUSH", s.ALARM_FLUSH);
  LoadFlag(store, u"YOREI_COLOR", s.YOREI_COLOR);
  LoadFlag(store, u"JIHOU", s.JIHOU);
  LoadText(store, u"JIHOU_WAV", s.JIHOU_WAV);
  for (int h = 0; h < kJihouHours; ++h) LoadText(store, JihouKey(h), s.JIHOU_WAVS[h]);
  LoadInteger(store, u"JIHOU_WAV_BSEC", s.JIHOU_WAV_BSEC);
  LoadFlag(store, u"JIHOU_FLUSH", s.JIHOU_FLUSH);
  LoadFlag(store, u"JIHOU_MULTI", s.JIHOU_MULTI);
  LoadFlag(store, u"CLIPBOARD", s.CLIPBOARD);
  LoadColor(store, u"CLIPBOARD_COLOR", s.CLIPBOARD_COLOR);
  LoadColor(store, u"CLIPBOARD_COLOR_F", s.CLIPBOARD_COLOR_F);
  LoadMemo(s, store);
  LoadFlag(store, u"MEMO_AS_SCRIPT", s.MEMO_AS_SCRIPT);
  LoadColor(store, u"MEMO_COLOR", s.MEMO_COLOR);
  LoadFlag(store, u"GAIBU", s.GAIBU);
  LoadColor(store, u"GAIBU_COLOR", s.GAIBU_COLOR);
  LoadFlag(store, u"CPUMEM", s.CPUMEM);
  LoadColor(store, u"CPUMEM_COLOR", s.CPUMEM_COLOR);
  LoadFlag(store, u"IMESTATE", s.IMESTATE);
  LoadColor(store, u"IMESTATE_COLOR", s.IMESTATE_COLOR);
  LoadColor(store, u"KAKOMI_COLOR", s.KAKOMI_COLOR);
  LoadFlag(store, u"INVERT_COLOR_DARKMODE", s.INVERT_COLOR_DARKMODE);
  LoadFlag(store, u"HIDEICON", s.HIDEICON);
  LoadFlag(store, u"AUTO_PLAINER", s.AUTO_PLAINER);
  LoadFlag(store, u"AUTO_DEL_CLIP", s.AUTO_DEL_CLIP);
  LoadInteger(store, u"AUTO_DEL_CLIPSEC", s.AUTO_DEL_CLIPSEC);
  LoadInteger(store, u"CBTEXT_MAX", s.CBTEXT_MAX);
  LoadInteger(store, u"WND_WIDTH", s.WND_WIDTH);
  LoadInteger(store, u"WND_HEIGHT", s.WND_HEIGHT);
  LoadFlag(store, u"ROUNDRECT", s.ROUNDRECT);
  LoadFlag(store, u"FONTBOLD", s.FONTBOLD);
  LoadFlag(store, u"FONTITALIC", s.FONTITALIC);
  LoadInteger(store, u"CBDELAY", s.CBDELAY);
  LoadFixedFlag(store, u"NoOpeningDlg", 0, s.NoOpeningDlg);
  LoadFixedFlag(store, u"NoNotifyScriptSuspend", 0, s.NoNotifyScriptSuspend);
  LoadFixedFlag(store, u"SHOW_CLOCK", 1, s.SHOW_CLOCK);
  LoadFixedInteger(store, u"GAP_BETWEEN_ITEMS", 0, s.GAP_BETWEEN_ITEMS);
  if (s.GAP_BETWEEN_ITEMS < 0) s.GAP_BETWEEN_ITEMS = 0;
  LoadFixedFlag(store, u"SHOW_LINE", 0, s.SHOW_LINE);
  LoadHotkey(store, u"HOTKEY_SETTING", s.HOTKEY_SETTING);
  LoadHotkey(store, u"HOTKEY_MEMO", s.HOTKEY_MEMO);
  LoadHotkey(store, u"HOTKEY_HIDE", s.HOTKEY_HIDE);
  LoadHotkey(store, u"HOTKEY_HIDE_P1", s.HOTKEY_HIDE_P1);
  LoadHotkey(store, u"HOTKEY_HIDE_P0", s.HOTKEY_HIDE_P0);
  LoadHotkey(store, u"HOTKEY_CLEARCLIPBOARD", s.HOTKEY_CLEARCLIPBOARD);
  LoadHotkey(store, u"HOTKEY_PLAINER", s.HOTKEY_PLAINER);
  LoadHotkey(store, u"HOTKEY_CHECK_ALARM_NOKORI", s.HOTKEY_CHECK_ALARM_NOKORI);
  LoadHotkey(store, u"HOTKEY_SUSPEND_WARNDISKSIZE", s.HOTKEY_SUSPEND_WARNDISKSIZE);
  LoadFlag(store, u"BIGDIALOG", s.BIGDIALOG);
  LoadText(store, u"TITLESUBSTR", s.TITLESUBSTR);
  LoadFlag(store, u"IBEAMHIDE", s.IBEAMHIDE);
  LoadFlag(store, u"WarnDiskSize", s.WarnDiskSize);
  for (int d = 0; d < kDriveCount; ++d) {
    LoadInteger(store, DriveKey(u"WATCHDRIVEFREE_SIZE_", d), s.WATCHDRIVEFREE_SIZE[d]);
    LoadDriveUnit(store, d, s.WATCHDRIVEFREE_UNIT[d]);
  }
  LoadText(store, u"WATCHDRIVEFREEWAV", s.WATCHDRIVEFREEWAV);
}

bool SaveSettings(const Settings& s, SettingsStore& store, int group) {
  if (group < 0 || group > 6) return false;
  GroupWriter writer(store);
  const int first = group == 0 ? 1 : group;
  const int last = group == 0 ? 6 : group;
  // One store step for the call: all groups at once for 0.
  writer.Begin();
  for (int g = first; g <= last; ++g) SaveOneGroup(s, g, writer);
  writer.Commit();
  if (!writer.errors().empty()) NotifySaveError(writer.errors());
  if (first <= 5 && last >= 5 && g_hooks.hotkeys_saved) g_hooks.hotkeys_saved();
  // A write can fail without an error line only in a faulty store; still a failure.
  return writer.ok() && writer.errors().empty();
}

void LoadCustomColors(Settings& s, SettingsStore& store) {
  CustomColors colors{};
  if (store.ReadColorTable(colors)) s.CUSTCOLORS = colors;
}

bool SaveCustomColors(const Settings& s, SettingsStore& store) { return store.WriteColorTable(s.CUSTCOLORS); }

void SetSettingsHooks(const SettingsHooks& hooks) { g_hooks = hooks; }

std::vector<std::u16string>& CollectedSaveErrorNotices() {
  static std::vector<std::u16string> notices;
  return notices;
}
