#pragma once
// The settings record: one field per settings key, named as the key. The
// member initialisers are the fixed defaults; settings_keys.h lists each
// field's key, load rule and save group, and is what load and save read.
//
// Field kinds:
//   integer  int32_t
//   flag     uint8_t, 0 or 1 (any non-zero stored number loads as 1)
//   colour   uint32_t in COLORREF layout (red bits 0-7, green 8-15, blue
//            16-23); stored as the three keys X_R, X_G, X_B
//   hotkey   uint32_t: low byte the virtual-key code, second byte the
//            hotkey-control modifiers (Shift 0x01, Ctrl 0x02, Alt 0x04,
//            extended 0x08); 0 = none
//   string   FixedText<capacity> (terminator included)
// Arrays stand for numbered key families:
//   JIHOU_WAVS[h]            key "JIHOU_WAV%02d" (hour 0-23)
//   WATCHDRIVEFREE_SIZE[d]   key "WATCHDRIVEFREE_SIZE_%c", d 0 = drive A
//   WATCHDRIVEFREE_UNIT[d]   key "WATCHDRIVEFREE_UNIT_%c"
//
// Seams for the rest of the program (set once by the application shell;
// see SettingsHooks below):
//   notify_save_error  the tray balloon (warning) for a failed save. Until
//                      set, texts are collected (CollectedSaveErrorNotices).
//   hotkeys_saved      re-registers the global hotkeys after group 5 was
//                      saved (whether or not the writes succeeded).
//   lock_memo/unlock_memo  the memo lock, held while MEMO is copied for a
//                      save or replaced by a load.
// The store's own messages go through the program's message box (ui/message_box_win.h).
//
// Related headers: memory_store.h (an in-memory store for tests),
// settings_copy.h (/OR, /RO over any two stores), store_selection.h,
// interface_language.h; on Windows settings_store_win.h holds the
// process-wide store, ini_store_win.h and registry_store_win.h (REGW) the
// real stores.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/fixed_text.h"
#include "common/language.h"

constexpr uint32_t MakeColor(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr uint32_t ColorRed(uint32_t c) { return c & 0xFF; }
constexpr uint32_t ColorGreen(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint32_t ColorBlue(uint32_t c) { return (c >> 16) & 0xFF; }

// Pure green: the transparency key of the overlay windows. A colour setting
// equal to it means "none".
constexpr uint32_t kKeyColor = MakeColor(0, 255, 0);

constexpr int kDriveCount = 26;
constexpr int kJihouHours = 24;
constexpr int kCustomColorCount = 16;
// MEMO is read through a buffer of this many characters.
constexpr std::size_t kMemoReadCapacity = 65536;

using FontNameText = FixedText<64>;
using SettingText = FixedText<520>;
using CustomColors = std::array<uint32_t, kCustomColorCount>;

constexpr std::array<int32_t, kDriveCount> DefaultDriveUnits() {
  std::array<int32_t, kDriveCount> units{};
  for (int32_t& u : units) u = 2;  // MB
  return units;
}

// Default-constructed, the record holds every default except the three
// language-dependent texts (empty) and CUSTCOLORS (zero); DefaultSettings
// fills those.
struct Settings {
  int32_t DEF_MAX_WND_WIDTH = 500;
  int32_t DEF_MAX_WND_HEIGHT = 1000;
  int32_t DEF_MAX_CLIPIMAGESIZE = 320;
  int32_t WPOS = 0;
  int32_t LEFT = 0;
  int32_t TOP = 20;
  int32_t INTERVAL = 20;
  uint8_t HIDESTOP = 0;       // before the first load; an empty store then gives 1 (fade-key rule)
  int32_t FADEOUTMSEC = 1000;
  int32_t FADEOUTSEC = 1;     // older form in seconds; only read, folded into FADEOUTMSEC
  uint8_t HIDEMOVE = 0;
  int32_t FADEINMSEC = 1000;
  uint8_t HideOut = 0;
  uint8_t INSTANTLY = 0;
  uint32_t TEXTCOLOR = MakeColor(0, 0, 0);
  uint32_t BKCOLOR = MakeColor(0, 255, 0);
  uint32_t WBKCOLOR = MakeColor(200, 200, 200);
  int32_t BG_ALPHA = 0;
  FontNameText FONTNAME;      // language default, see DefaultSettings
  int32_t FONTSIZE = 10;
  SettingText FORMAT;         // language default
  SettingText FORMATCPU;      // language default
  int32_t ALARM = 0;          // 0 off, 1 daily, 2 once; 3 at run time while a one-time alarm goes off
  int32_t ALARM_HOUR = 0;
  int32_t ALARM_MIN = 0;
  int32_t ALARM_SEC = 0;
  SettingText ALARM_WAV;
  int32_t ALARM_WAV_BSEC = 0;
  uint8_t ALARM_NOKORI = 0;
  uint32_t ALARM_NOKORI_COLOR = MakeColor(102, 0, 0);
  uint32_t ALARM_BK_COLOR = MakeColor(255, 0, 0);
  uint8_t ALARM_FLUSH = 0;
  uint8_t YOREI_COLOR = 0;
  uint8_t JIHOU = 0;
  SettingText JIHOU_WAV;
  std::array<SettingText, kJihouHours> JIHOU_WAVS;  // JIHOU_WAV00 ... JIHOU_WAV23
  int32_t JIHOU_WAV_BSEC = 0;
  uint8_t JIHOU_FLUSH = 0;
  uint8_t JIHOU_MULTI = 0;
  uint8_t CLIPBOARD = 1;
  uint32_t CLIPBOARD_COLOR = MakeColor(0, 0, 255);
  uint32_t CLIPBOARD_COLOR_F = MakeColor(128, 0, 128);
  std::u16string MEMO;        // guarded by the memo lock while the script thread may read it
  uint8_t MEMO_AS_SCRIPT = 0;
  uint32_t MEMO_COLOR = MakeColor(0, 102, 0);
  uint8_t GAIBU = 1;
  uint32_t GAIBU_COLOR = MakeColor(255, 0, 255);
  uint8_t CPUMEM = 0;
  uint32_t CPUMEM_COLOR = MakeColor(170, 0, 170);
  uint8_t IMESTATE = 0;
  uint32_t IMESTATE_COLOR = MakeColor(184, 85, 71);
  uint32_t KAKOMI_COLOR = MakeColor(0, 255, 0);
  uint8_t INVERT_COLOR_DARKMODE = 1;
  uint8_t HIDEICON = 0;       // never written; set by hand in the store
  uint8_t AUTO_PLAINER = 0;
  uint8_t AUTO_DEL_CLIP = 0;
  int32_t AUTO_DEL_CLIPSEC = 120;
  int32_t CBTEXT_MAX = 0;
  int32_t WND_WIDTH = 0;
  int32_t WND_HEIGHT = 0;
  uint8_t ROUNDRECT = 0;
  uint8_t FONTBOLD = 0;
  uint8_t FONTITALIC = 0;
  int32_t CBDELAY = 0;
  uint8_t NoOpeningDlg = 0;
  uint8_t NoNotifyScriptSuspend = 0;
  uint8_t SHOW_CLOCK = 1;
  int32_t GAP_BETWEEN_ITEMS = 0;
  uint8_t SHOW_LINE = 0;
  uint32_t HOTKEY_SETTING = 0;
  uint32_t HOTKEY_MEMO = 0;
  uint32_t HOTKEY_HIDE = 0;
  uint32_t HOTKEY_HIDE_P1 = 0;
  uint32_t HOTKEY_HIDE_P0 = 0;
  uint32_t HOTKEY_CLEARCLIPBOARD = 0;
  uint32_t HOTKEY_PLAINER = 0;
  uint32_t HOTKEY_CHECK_ALARM_NOKORI = 0;
  uint32_t HOTKEY_SUSPEND_WARNDISKSIZE = 0;
  uint8_t BIGDIALOG = 0;
  SettingText TITLESUBSTR;
  uint8_t IBEAMHIDE = 0;
  uint8_t WarnDiskSize = 0;
  std::array<int32_t, kDriveCount> WATCHDRIVEFREE_SIZE{};   // 0 = drive not watched
  std::array<int32_t, kDriveCount> WATCHDRIVEFREE_UNIT = DefaultDriveUnits();  // 0 %, 1 KB ... 6 EB
  SettingText WATCHDRIVEFREEWAV;
  // Custom-colour slots of the colour chooser; not read by LoadSettings.
  CustomColors CUSTCOLORS{};
};

// The record with every default of the key table in the given interface
// language (FONTNAME, FORMAT and FORMATCPU depend on it), CUSTCOLORS included.
Settings DefaultSettings(Language language);

// The language-dependent defaults on their own.
std::u16string_view DefaultFontName(Language language);
std::u16string_view DefaultFormat(Language language);
std::u16string_view DefaultFormatCpu(Language language);
CustomColors DefaultCustomColors();

// One settings store (INI file or registry). Each call is self-contained:
// open, one value, close.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored number, or `fallback` when absent or unreadable.
  virtual int32_t ReadInteger(std::u16string_view key, int32_t fallback) = 0;
  // True when a value was read into `out` (at most capacity-1 characters).
  // INI: an empty value counts as absent, a longer one is cut, line breaks
  // are decoded. Registry: an empty string is a value, a longer one fails.
  virtual bool ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) = 0;
  // Writes return success; a failure appends its line to `errors`
  // (AppendErrorLine).
  virtual bool WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) = 0;
  virtual bool WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) = 0;
  virtual bool ReadColorTable(CustomColors& out) = 0;
  virtual bool WriteColorTable(const CustomColors& colors) = 0;
};

// Reads every key in the key table's order and applies the load rules. Absent keys
// keep the value `settings` held (fixed-default keys get the table default;
// FORMAT and FORMATCPU the language default). Never fails.
void LoadSettings(Settings& settings, SettingsStore& store, Language language);

// Writes save group 1-6, or all of them in order for 0. True when every write
// succeeded; otherwise the collected error text goes to the save-error
// balloon. An unknown group writes nothing and returns false.
bool SaveSettings(const Settings& settings, SettingsStore& store, int group);

// CUSTCOLORS for the colour chooser, which reads it each time it opens and
// writes it after every accepted choice. Loading keeps the slots held when
// the store has no (or a damaged) table.
void LoadCustomColors(Settings& settings, SettingsStore& store);
bool SaveCustomColors(const Settings& settings, SettingsStore& store);

// The hotkey rule applied on load.
uint32_t NormalizeHotkey(uint32_t stored);

struct SettingsHooks {
  void (*notify_save_error)(std::u16string_view text) = nullptr;  // warning balloon
  void (*hotkeys_saved)() = nullptr;
  void (*lock_memo)() = nullptr;
  void (*unlock_memo)() = nullptr;
};
// Replaces the hooks; members left null fall back to the defaults
// (collect balloon texts, do nothing).
void SetSettingsHooks(const SettingsHooks& hooks);
// Balloon texts collected while no balloon hook is set (tests read them).
std::vector<std::u16string>& CollectedSaveErrorNotices();
