#include "app/main_window_win.h"

#include <commctrl.h>
#include <imm.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/app_state_win.h"
#include "app/app_texts.h"
#include "app/commands.h"
#include "app/dialogs_win.h"
#include "app/external_text.h"
#include "app/hide_rule.h"
#include "ui/about_box_win.h"
#include "ui/help_topics.h"
#include "ui/help_win.h"
#include "ui/message_box_win.h"
#include "ui/optional_api_win.h"
#include "ui/shortcut_win.h"
#include "ui/text_file_win.h"
#include "ui/web_addresses.h"
#include "app/pictures_win.h"
#include "app/resource_ids.h"
#include "app/script_host_win.h"
#include "app/tray_action.h"
#include "app/tray_win.h"
#include "common/wide_win.h"
#include "clipboard/clipboard_commands_win.h"
#include "clipboard/clipboard_monitor_win.h"
#include "clipboard/clipboard_rules.h"
#include "display/placement.h"
#include "display/tick_cursor.h"
#include "settings/settings_sheet_win.h"
#include "settings/settings_store_win.h"

static_assert(timer_id::kFadeStep == kFadeTimerId, "the overlay's fade timer is the main window's fade step");

namespace {

// The state at this moment: a click on the icon or its balloon is input to
// the shell's window, so this thread's own key state does not see it.
bool KeyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// --- the display tick ---

// Each platform call on the tick is a round trip (to the Wine server, or a
// kernel transition on Windows), so the cursor information is read at most
// once per tick and serves the hide rules, placement and the cycle.
class WindowHideProbe final : public HideProbe {
 public:
  bool CursorHidden() override { return Read() && (info_.flags & CURSOR_SHOWING) == 0; }
  void ForegroundTitle(TextBuffer& title) override {
    title.clear();
    HWND foreground = GetForegroundWindow();
    if (foreground) {
      GetWindowTextW(foreground, Wide(title.data()), int(TextBuffer::kCapacity));
      title.sync_size();
    }
  }
  bool CursorIsIBeam() override {
    static const HCURSOR ibeam = LoadCursorW(nullptr, IDC_IBEAM);
    return Read() && info_.hCursor == ibeam;
  }
  // The position that came with the information, when it was read.
  bool Position(Point& at) const {
    if (!asked_ || !read_) return false;
    at = Point{info_.ptScreenPos.x, info_.ptScreenPos.y};
    return true;
  }

 private:
  bool Read() {
    if (!asked_) {
      asked_ = true;
      info_.cbSize = sizeof info_;
      read_ = GetCursorInfo(&info_) != 0;
    }
    return read_;
  }

  CURSORINFO info_{};
  bool asked_ = false;
  bool read_ = false;
};

bool InfoPositionTrusted(Point from_info) {
  static CursorAgreement agreement;
  if (agreement.NeedsComparison()) {
    POINT plain{};
    if (GetCursorPos(&plain)) agreement.Compare(from_info, Point{plain.x, plain.y});
  }
  return agreement.Trusted();
}

// Placement and the cycle take the tick's one cursor read for as long as the
// tick lasts.
class TickCursorScope {
 public:
  TickCursorScope(TickCursor& cursor, const WindowHideProbe& probe) : cursor_(cursor) {
    Point at;
    if (probe.Position(at) && InfoPositionTrusted(at)) cursor_.Set(at);
  }
  ~TickCursorScope() { cursor_.Clear(); }
  TickCursorScope(const TickCursorScope&) = delete;
  TickCursorScope& operator=(const TickCursorScope&) = delete;

 private:
  TickCursor& cursor_;
};

void OnDisplayTick() {
  AppState& app = App();
  ++app.display_ticks;
  DisplayRuntime& display = app.display;
  WindowHideProbe probe;
  const HideSettings hide{app.settings.TITLESUBSTR.view(), app.settings.IBEAMHIDE != 0};
  const HideReason reason = DisplayHideReason(display.state().hidden, hide, probe);
  TickCursorScope cursor(display.windows().tick_cursor(), probe);
  if (reason != HideReason::kNone) {
    display.windows().Hide();
    display.CycleWithoutDrawing();
    display.state().drawn_this_tick = false;
    app.was_hidden = true;
    return;
  }
  if (!display.windows().TextWindowVisible()) display.windows().ShowWithoutActivating();
  display.Place(false);
  display.state().drawn_this_tick = display.Cycle(nullptr, app.was_hidden || display.state().force_redraw);
  app.was_hidden = false;
  display.state().force_redraw = false;
}

void OnPaint(HWND window) {
  DisplayRuntime& display = App().display;
  if (!PaintNeedsCycle(display.state())) {
    // What is exposed is drawn already; validating costs one request where
    // a paint's start asks the window system again for every piece of it.
    ValidateRect(window, nullptr);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  display.Cycle(dc, display.state().force_redraw);
  display.state().force_redraw = false;
  EndPaint(window, &ps);
}

// --- commands ---

void HideDisplay() {
  DisplayState& state = App().display.state();
  state.hidden = true;
  state.force_redraw = true;
}

void ShowDisplay() {
  DisplayRuntime& display = App().display;
  display.state().hidden = false;
  display.state().force_redraw = true;
  ResetPlacement(display.state());
  display.windows().InvalidateBoth();
}

void ToggleHide() {
  if (App().display.state().hidden) {
    ShowDisplay();
  } else {
    HideDisplay();
  }
}

void ToggleAlarmCountdown() {
  AppState& app = App();
  app.settings.ALARM_NOKORI = app.settings.ALARM_NOKORI ? 0 : 1;
  SaveSettings(app.settings, 1);
  app.display.state().force_redraw = true;
}

void SetMenuChecks() {
  AppState& app = App();
  HMENU menu = GetSubMenu(app.menu, 0);
  CheckMenuItem(menu, command::kToggleHide, MF_BYCOMMAND | (app.display.state().hidden ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, command::kStartupShortcut,
                MF_BYCOMMAND | (StartupShortcutExists(app.shortcut_path) ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, command::kAlarmCountdown,
                MF_BYCOMMAND | (app.settings.ALARM_NOKORI ? MF_CHECKED : MF_UNCHECKED));
}

void BringSheetForward() {
  HWND sheet = App().settings_sheet;
  if (!sheet) return;
  SetForegroundWindow(sheet);
  if (IsIconic(sheet)) ShowWindow(sheet, SW_RESTORE);
}

// --- the settings sheet ---

void OnSheetOpened(HWND sheet) { App().settings_sheet = sheet; }

void OnSheetClosed() {
  AppState& app = App();
  app.settings_sheet = nullptr;
  app.dialog_open = false;
}

void RestartDisplayTimer() {
  AppState& app = App();
  SetTimer(app.windows.text, timer_id::kDisplayTick, DisplayTickPeriodMs(app.settings.INTERVAL), nullptr);
}

void RecreateDisplayFont() {
  DisplayRuntime& display = App().display;
  display.MakeFont();
  display.state().force_redraw = true;
  display.windows().InvalidateBoth();
}

void RedrawDisplay() {
  DisplayRuntime& display = App().display;
  display.state().force_redraw = true;
  display.windows().InvalidateBoth();
}

// New colours, corners or background opacity: repaint both windows and give
// the background its opacity at once.
void OnSheetColors() {
  AppState& app = App();
  ApplyOpacity(app.display.state(), app.settings, app.display.windows());
  RedrawDisplay();
}

void ForgetExternalText() {
  DisplayState& state = App().display.state();
  state.external_text.clear();
  state.external_sender = 0;
  state.force_redraw = true;
}

// Watching follows the features that need it, a strip run follows when
// AUTO_PLAINER is on, and the automatic clearing timer follows AUTO_DEL_CLIP.
void OnClipboardConsumersChanged() {
  AppState& app = App();
  ApplyClipboardSettings(app.windows.text);
  app.display.state().force_redraw = true;
}

void LockMemoText() { EnterCriticalSection(&App().memo_lock); }
void UnlockMemoText() { LeaveCriticalSection(&App().memo_lock); }

// The sheet's help topics and memo files.
void ShowSheetHelp(HWND owner, const wchar_t* topic) { ShowHelp(owner, U16View(topic)); }
int LoadMemoFile(const wchar_t* path, std::wstring& into) {
  std::u16string text;
  const int result = LoadTextFileAt(path, text);
  if (result == kLoadOk) into.assign(text.begin(), text.end());
  return result;
}
int SaveMemoFile(const wchar_t* path, const std::wstring& text) {
  return SaveTextFileUtf8At(path, U16View(text.c_str(), text.size()));
}

SheetHost MakeSheetHost() {
  AppState& app = App();
  SheetHost host;
  host.instance = app.instance;
  host.owner = app.windows.text;
  host.language = AppLanguage();
  host.settings = &app.settings;
  host.sheet_opened = &OnSheetOpened;
  host.sheet_closed = &OnSheetClosed;
  host.interval_changed = &RestartDisplayTimer;
  host.font_changed = &RecreateDisplayFont;
  host.colors_changed = &OnSheetColors;
  host.display_changed = &RedrawDisplay;
  host.external_text_off = &ForgetExternalText;
  host.clipboard_consumers_changed = &OnClipboardConsumersChanged;
  host.lock_memo = &LockMemoText;
  host.unlock_memo = &UnlockMemoText;
  host.stop_memo_script = &RequestScriptStop;
  host.show_help = &ShowSheetHelp;
  host.load_text_file = &LoadMemoFile;
  host.save_text_file_utf8 = &SaveMemoFile;
  return host;
}

// While a dialog is open, a request only brings the sheet forward on the
// requested page; the about box and the notices keep the sheet closed.
void OpenSettingsSheet(uint32_t page) {
  AppState& app = App();
  if (app.dialog_open) {
    if (app.settings_sheet) {
      BringSheetForward();
      PostMessageW(app.settings_sheet, PSM_SETCURSEL, page, 0);
    }
    return;
  }
  // A second instance waits for its sent command; the sheet is modal, so
  // let it go on before the sheet's own message loop starts.
  if (InSendMessage()) ReplyMessage(0);
  app.dialog_open = true;
  const SheetHost host = MakeSheetHost();
  OpenSettingsDialog(host, int(page));
  app.dialog_open = false;
  app.settings_sheet = nullptr;
}

// A command that may show a box counts as an open dialog while it runs.
template <class Fn>
void WhileDialogOpen(Fn run) {
  AppState& app = App();
  const bool was_open = app.dialog_open;
  app.dialog_open = true;
  run();
  app.dialog_open = was_open;
}

// The start-up shortcut prompt counts as an open dialog while it runs.
void StartupShortcutCommand(HWND window) {
  AppState& app = App();
  if (app.dialog_open) return;
  app.dialog_open = true;
  RunStartupCommand(window, AppLanguage(), app.shortcut_path, app.executable_path);
  app.dialog_open = false;
}

void OpenAboutBox() {
  AppState& app = App();
  if (app.dialog_open) return;
  AboutParameters about;
  about.language = AppLanguage();
  about.icon = IDI_APPLICATION_ICON;
  about.module = app.instance;
  about.name = app_text::kProductName.In(AppLanguage());
  about.site = web_address::kProductSite;
  about.contact = web_address::kContact;
  about.contribution = web_address::kContribution;
  about.feedback = web_address::kFeedback;
  about.description = app_text::kDescription.In(AppLanguage());
  about.window_out = &app.about_box;
  app.dialog_open = true;
  ShowAboutBox(about);
  app.dialog_open = false;
  app.about_box = nullptr;
}

// --- the tray icon ---

void TrackTrayMenu(HWND window) {
  AppState& app = App();
  if (app.dialog_open) {
    if (app.about_box) {
      DestroyWindow(app.about_box);
      app.about_box = nullptr;
      app.dialog_open = false;
    } else {
      BringSheetForward();
      Notify(nullptr, nullptr, 0);
      Notify(window, app_text::kCloseTheDialog.In(AppLanguage()).data(), 2);
    }
  }
  SetForegroundWindow(window);
  SetMenuChecks();
  POINT at{};
  GetCursorPos(&at);
  const UINT chosen = UINT(TrackPopupMenu(GetSubMenu(app.menu, 0),
                                          TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                          at.y, 0, window, nullptr));
  if (chosen != 0) RunCommand(window, chosen);
  PostMessageW(window, WM_NULL, 0, 0);
}

TrayEvent ToTrayEvent(LPARAM lparam) {
  switch (LOWORD(lparam)) {
    case WM_LBUTTONUP: return TrayEvent::kLeftUp;
    case WM_LBUTTONDBLCLK: return TrayEvent::kLeftDoubleClick;
    case WM_RBUTTONUP: return TrayEvent::kRightUp;
    case WM_RBUTTONDBLCLK: return TrayEvent::kRightDoubleClick;
    case WM_MBUTTONUP: return TrayEvent::kMiddleUp;
    case NIN_BALLOONTIMEOUT: return TrayEvent::kBalloonTimeout;
    default: return TrayEvent::kOther;
  }
}

void OnTrayCallback(HWND window, LPARAM lparam) {
  AppState& app = App();
  const TrayInput input{ToTrayEvent(lparam), app.dialog_open,    KeyDown(VK_SHIFT),
                        KeyDown(VK_CONTROL), app.script_held_back, KeyDown(VK_MBUTTON)};
  const TrayAction action = DecideTrayAction(input);
  switch (action.kind) {
    case TrayAction::kFrontSheetAndRestartViewer:
      if (app.dialog_open) BringSheetForward();
      RestartViewerChain(window);
      break;
    case TrayAction::kSelectSheetPage:
    case TrayAction::kOpenSettings:
      OpenSettingsSheet(action.value);
      break;
    case TrayAction::kMenu:
      TrackTrayMenu(window);
      break;
    case TrayAction::kCommand:
      RunCommand(window, action.value);
      break;
    case TrayAction::kSuppressHoldBackNotice:
      app.settings.NoNotifyScriptSuspend = 1;
      break;
    case TrayAction::kNothing:
      break;
  }
}

// --- messages ---

LRESULT OnCopyData(WPARAM wparam, LPARAM lparam) {
  AppState& app = App();
  const COPYDATASTRUCT* record = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (!record) return 0;
  const ExternalTextMessage message{uintptr_t(wparam), uint64_t(record->dwData), record->lpData,
                                    size_t(record->cbData)};
  if (ReceiveExternalText(app.settings.GAIBU != 0, message, app.display.state().external_text)) {
    app.display.state().external_sender = uintptr_t(wparam);
  }
  return 0;
}

void OnTimer(HWND window, WPARAM id) {
  AppState& app = App();
  switch (id) {
    case timer_id::kDisplayTick:
      OnDisplayTick();
      break;
    case timer_id::kFadeStep:
      app.display.OnFadeTimer();
      break;
    case timer_id::kScriptHoldBack:
      app.script_held_back = false;
      app.resume_noticed = false;
      KillTimer(window, timer_id::kScriptHoldBack);
      break;
    case timer_id::kClipboardRecheck:
      OnClipboardRecheckTimer(window);
      break;
    case timer_id::kDelayedClipboardRead:
      OnDelayedClipboardReadTimer(window);
      break;
    case timer_id::kAutoClearClipboard:
      OnAutoClearTimer(window);
      break;
    default:
      break;
  }
}

LRESULT OnPowerBroadcast(HWND window, WPARAM event) {
  AppState& app = App();
  switch (event) {
    case PBT_APMSUSPEND:
      RequestScriptStop();
      app.script_held_back = true;
      app.resume_noticed = false;
      break;
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMEAUTOMATIC:
      // One wake-up brings both resume events; the notice is not appended to
      // itself, only the 10 seconds start again.
      if (app.resume_noticed) {
        app.script_held_back = true;
        SetTimer(window, timer_id::kScriptHoldBack, kScriptHoldBackMs, nullptr);
      } else {
        StartScriptHoldBack(window);
        app.resume_noticed = true;
      }
      break;
    default:
      break;
  }
  return TRUE;
}

// Closing the opening notice with its box checked keeps it from coming back.
void OnOpeningNoticeClosed(bool never_again) {
  AppState& app = App();
  app.opening_notice = nullptr;
  if (never_again) {
    app.settings.NoOpeningDlg = 1;
    SaveSettings(app.settings, 1);
  }
}

void ReportClipboardFailure(HWND owner, std::u16string_view text) {
  ShowMessage(owner, text, kProductName.In(AppLanguage()), MB_OK | MB_ICONERROR);
}

void RedrawSoon() { App().display.state().force_redraw = true; }

ClipboardMonitorConfig ClipboardMonitorSetup() {
  AppState& app = App();
  ClipboardMonitorConfig config;
  config.settings = &app.settings;
  config.language = AppLanguage();
  config.lock = &app.clipboard_lock;
  if (Api().ClipboardListenerAvailable()) {
    config.add_listener = Api().AddClipboardFormatListener;
    config.remove_listener = Api().RemoveClipboardFormatListener;
  }
  config.report = ReportClipboardFailure;
  config.cache_changed = RedrawSoon;
  return config;
}

void OnCreate(HWND window) {
  AppState& app = App();
  app.windows.text = window;
  app.display.MakeFont();
  SetTrayIconHidden(app.settings.HIDEICON != 0);
  if (!app.settings.HIDEICON) {
    AddTrayIcon(window);
    app.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  }
  ImmAssociateContext(window, nullptr);
  app.menu = LoadMenuW(app.instance, MAKEINTRESOURCEW(AppLanguage() == Language::Japanese ? IDM_TRAY_JA : IDM_TRAY_EN));
  if (app.menu) SetMenuDefaultItem(GetSubMenu(app.menu, 0), 0, TRUE);
  if (app.menu && web_address::kFeedback.empty()) DeleteMenu(app.menu, command::kFeedback, MF_BYCOMMAND);
  ConfigureClipboardMonitor(ClipboardMonitorSetup());
  OnClipboardWindowCreated(window);
  SetTimer(window, timer_id::kDisplayTick, DisplayTickPeriodMs(app.settings.INTERVAL), nullptr);
  app.shortcut_path = StartupShortcutPath(AppLanguage());
  if (AppLanguage() == Language::Japanese && !app.settings.NoOpeningDlg) {
    const NotificationPictures& pictures = EnsureNotificationPictures(app.instance, app.pictures);
    app.opening_notice = OpenOpeningNotice(app.instance, pictures, app.settings.BIGDIALOG != 0, &OnOpeningNoticeClosed);
  }
  if (!app.display.state().hidden && app.settings.MEMO_AS_SCRIPT) StartScriptHoldBack(window);
}

void OnDestroy(HWND window) {
  AppState& app = App();
  if (app.shut_down) return;
  app.shut_down = true;
  RequestScriptStop();
  KillTimer(window, timer_id::kDisplayTick);
  OnClipboardWindowDestroyed(window);
  app.display.StopFading();
  app.display.ReleaseFont();
  if (!app.settings.HIDEICON) RemoveTrayIcon(window);
  if (app.menu) {
    DestroyMenu(app.menu);
    app.menu = nullptr;
  }
  SaveSettings(app.settings, 0);
  UnregisterHotkeys(window, app.settings);
  WaitForScriptThread();
  PostQuitMessage(0);
}

}  // namespace

void StartScriptHoldBack(HWND window) {
  AppState& app = App();
  app.script_held_back = true;
  if (!app.settings.NoNotifyScriptSuspend) Notify(window, app_text::kScriptHeldBack.In(AppLanguage()).data(), 1);
  SetTimer(window, timer_id::kScriptHoldBack, kScriptHoldBackMs, nullptr);
}

void RunCommand(HWND window, uint32_t id) {
  AppState& app = App();
  switch (id) {
    case command::kSettings: OpenSettingsSheet(0); break;
    case command::kMemo: OpenSettingsSheet(1); break;
    case command::kToggleHide: ToggleHide(); break;
    case command::kHide: HideDisplay(); break;
    case command::kShow: ShowDisplay(); break;
    case command::kEmptyClipboard:
      EmptyClipboardCommand(window);
      app.display.state().force_redraw = true;
      break;
    case command::kPlainText: StripFormatting(window, false); break;
    case command::kAlarmCountdown: ToggleAlarmCountdown(); break;
    case command::kSuspendDriveWarning: app.display.alarm().SuspendDriveWarning(); break;
    case command::kExit: DestroyWindow(window); break;
    case command::kStartupShortcut: StartupShortcutCommand(window); break;
    case command::kHelp: WhileDialogOpen([&] { ShowHelp(window, kTopicFile); }); break;
    case command::kDonationHelp: WhileDialogOpen([&] { ShowHelp(window, kTopicContribution); }); break;
    case command::kFeedback: WhileDialogOpen([&] { OpenFeedbackPage(window, AppLanguage()); }); break;
    case command::kAbout: OpenAboutBox(); break;
    default: break;
  }
}

// WM_DPICHANGED (not in every MinGW header set).
constexpr UINT kDpiChangedMessage = 0x02E0;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  AppState& app = App();
  switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_TIMER: OnTimer(window, wparam); return 0;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_COMMAND: RunCommand(window, LOWORD(wparam)); return 0;
    case WM_HOTKEY: RunCommand(window, uint32_t(wparam)); return 0;
    case WM_COPYDATA: return OnCopyData(wparam, lparam);
    case WM_POWERBROADCAST: return OnPowerBroadcast(window, wparam);
    case kDpiChangedMessage:
      // The panel sizes itself to its lines at the new DPI: the suggested
      // rectangle is not applied.
      app.display.MonitorsChanged();
      app.display.FollowMonitorDpi();
      return 0;
    case WM_DISPLAYCHANGE:
      app.display.MonitorsChanged();
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && app.dialog_open) BringSheetForward();
      return 0;
    case WM_CLOSE: return 0;  // only the exit command, another instance or log-off end the program
    case WM_QUERYENDSESSION:
      // The settings are saved and the program ends here; answering TRUE lets
      // the log-off go on (0 would ask the system to stop it).
      RequestScriptStop();
      DestroyWindow(window);
      return TRUE;
    case WM_DESTROY: OnDestroy(window); return 0;
    case kTrayCallbackMessage: OnTrayCallback(window, lparam); return 0;
    case kInstanceCommandMessage:
      if (IsInstanceCommand(uint32_t(wparam))) RunCommand(window, uint32_t(wparam));
      return 0;
    case kRereadClipboardMessage: return ReadClipboard(window, false, false);
    case WM_CLIPBOARDUPDATE: return ReadClipboard(window, ClipboardReadDelayed(app.settings.CBDELAY), false);
    case WM_DRAWCLIPBOARD: return ReadClipboard(window, ClipboardReadDelayed(app.settings.CBDELAY), true);
    case WM_CHANGECBCHAIN: return OnChangeClipboardChain(window, wparam, lparam);
    case kScriptNoticeMessage: ShowScriptNotice(window, lparam); return 0;
    case kScriptOutputMessage: OnScriptOutput(); return 0;
    case kDisplayTickCountMessage: return LRESULT(app.display_ticks);
    default:
      if (app.taskbar_created != 0 && message == app.taskbar_created) {
        AddTrayIcon(window);
        return 0;
      }
      return DefWindowProcW(window, message, wparam, lparam);
  }
}
