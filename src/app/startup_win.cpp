#include "app/startup_win.h"

#include <commctrl.h>
#include <delayimp.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "app/app_state_win.h"
#include "app/app_texts.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "app/display_host_win.h"
#include "app/instance_win.h"
#include "app/main_window_win.h"
#include "app/notice.h"
#include "ui/dark_mode_win.h"
#include "ui/help_topics.h"
#include "ui/message_box_win.h"
#include "ui/optional_api_win.h"
#include "app/resource_ids.h"
#include "app/script_host_win.h"
#include "clipboard/clipboard_monitor_win.h"
#include "app/self_check_win.h"
#include "app/tray_win.h"
#include "common/executable_path_win.h"
#include "common/wide_win.h"
#include "display/flash_window_win.h"
#include "settings/interface_language_win.h"
#include "settings/settings_store_win.h"
#include "ui/help_topics.h"

AppState& App() {
  static AppState state;
  return state;
}

namespace {

void LoadIcons(AppState& app) {
  app.icon = LoadIconW(app.instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
  app.small_icon = static_cast<HICON>(LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                  LR_SHARED));
  app.button_up =
      static_cast<HICON>(LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_BUTTON_UP), IMAGE_ICON, 16, 16, LR_SHARED));
  app.button_down =
      static_cast<HICON>(LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_BUTTON_DOWN), IMAGE_ICON, 16, 16, LR_SHARED));
}

// Lets less privileged programs send external text (and dropped files).
void AllowMessagesThroughPrivilegeFilter() {
  const auto filter = Api().ChangeWindowMessageFilter;
  if (!filter) return;  // before version 6.0 there is no filter
  filter(WM_DROPFILES, MSGFLT_ADD);
  filter(WM_COPYDATA, MSGFLT_ADD);
  filter(0x49, MSGFLT_ADD);  // the copy-global-data message
}

void SetExecutableFolderCurrent(const AppState& app) { SetCurrentDirectoryW(app.executable_folder.c_str()); }

void OpenHelpSwitches() {
  const std::u16string topic(kTopicCommandLine);
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"hh.exe", Wide(topic), L".", SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    const Language language = AppLanguage();
    ShowMessage(nullptr, app_text::kHelpOpenFailed.In(language), app_text::kProductName.In(language),
                MB_OK | MB_ICONERROR);
  }
}

// Settings hooks: the save-error balloon, hotkeys after a group-5 save, the memo lock.
void NotifySaveError(std::u16string_view text) {
  if (App().shut_down) {
    const Language language = AppLanguage();
    ShowMessage(nullptr, ExitSaveFailureText(language, text), app_text::kProductName.In(language),
                MB_OK | MB_ICONWARNING);
    return;
  }
  const std::u16string copy(text);
  Notify(nullptr, nullptr, 0);
  Notify(App().windows.text, copy.c_str(), 2);
}
void ReregisterHotkeys() {
  if (App().windows.text) RegisterHotkeys(App().windows.text, App().settings, AppLanguage());
}
void LockMemo() { EnterCriticalSection(&App().memo_lock); }
void UnlockMemo() { LeaveCriticalSection(&App().memo_lock); }

bool CreateWindows(AppState& app) {
  OverlayClassResources classes;
  classes.instance = app.instance;
  classes.text_procedure = MainWindowProc;
  classes.icon = app.icon;
  classes.small_icon = app.small_icon;
  classes.key_brush = app.key_brush;
  if (!RegisterOverlayClasses(classes)) return false;
  const std::u16string title(app_text::kProductName.In(AppLanguage()));
  if (!CreateOverlayWindows(app.instance, app.settings, std::wstring_view(Wide(title)), app.display.background_paint(),
                            nullptr, app.windows, &app.display.windows())) {
    return false;
  }
  RegisterHotkeys(app.windows.text, app.settings, AppLanguage());
  return true;
}

int RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return int(message.wParam);
    if (got == -1) return 0;
    HWND notice = App().opening_notice;
    if (notice && IsDialogMessageW(notice, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void CleanUp(AppState& app, HANDLE mutex) {
  // A script thread that outlived its 2 s may still take the locks: they
  // then stay until the process ends.
  if (CloseScriptHost()) {
    DeleteCriticalSection(&app.output_lock);
    DeleteCriticalSection(&app.memo_lock);
    DeleteCriticalSection(&app.clipboard_lock);
  }
  app.display.CloseSampler();
  if (app.key_brush) DeleteObject(app.key_brush);
  app.key_brush = nullptr;
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  ReleaseDarkMode();
  UnloadOptionalApi();
  CoUninitialize();
  DeleteNotificationPictures(app.pictures);
}

// The libraries loaded on first use come from the system folder only, never
// from the program's folder or the current one.
FARPROC WINAPI LoadDelayedFromSystemFolder(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr) return nullptr;
  std::wstring name;
  for (const char* c = info->szDll; *c != '\0'; ++c) name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(name.c_str()));
}

}  // namespace

int RunKirabi(HINSTANCE instance, const wchar_t* command_line) {
  __pfnDliNotifyHook2 = LoadDelayedFromSystemFolder;
  AppState& app = App();
  app.instance = instance;
  InitDarkMode(instance);
  AllowDarkModeForApp();
  SetAppLanguage(DetectInterfaceLanguage());
  InitTray(instance);
  app.settings = DefaultSettings(AppLanguage());
  LoadIcons(app);

  const Switch s = ParseSwitch(U16View(command_line ? command_line : L""));
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"kirabi");
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    HandleRunningInstance(instance, s, AppLanguage(), EnsureNotificationPictures(instance, app.pictures));
    CloseHandle(mutex);
    DeleteNotificationPictures(app.pictures);
    return 0;
  }
  const FirstInstanceStep step = StepWithoutInstance(s);
  auto early_exit = [&]() {
    if (mutex) {
      ReleaseMutex(mutex);
      CloseHandle(mutex);
    }
    DeleteNotificationPictures(app.pictures);
    return 0;
  };
  if (step == FirstInstanceStep::kExitAtOnce) return early_exit();
  if (s == Switch::Hide) app.display.state().hidden = true;

  AllowMessagesThroughPrivilegeFilter();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);
  InitializeCriticalSection(&app.output_lock);
  InitializeCriticalSection(&app.memo_lock);
  InitializeCriticalSection(&app.clipboard_lock);
  SetScriptClipboardReader(CopyClipboardCacheText);

  const std::u16string exe = ExecutablePath();
  app.executable_path.assign(Wide(exe.c_str()), exe.size());
  const std::u16string_view folder = ExecutableFolder(exe);
  app.executable_folder.assign(Wide(folder), folder.size());
  SetExecutableFolderCurrent(app);

  SettingsHooks hooks;
  hooks.notify_save_error = NotifySaveError;
  hooks.hotkeys_saved = ReregisterHotkeys;
  hooks.lock_memo = LockMemo;
  hooks.unlock_memo = UnlockMemo;
  SetSettingsHooks(hooks);

  const StoreMode mode = InitSettingsStore(exe, s == Switch::Ini);
  const bool copies = CopyCommandsAllowed(mode);
  bool leave = true;
  if (copies && step == FirstInstanceStep::kCopyIniToRegistry) {
    CopyIniToRegistry(app.settings);
  } else if (copies && step == FirstInstanceStep::kCopyRegistryToIni) {
    CopyRegistryToIni(app.settings);
  } else if (step == FirstInstanceStep::kOpenHelp) {
    OpenHelpSwitches();
  } else {
    leave = false;
  }
  if (leave) {
    CleanUp(app, mutex);
    return 0;
  }

  RunSelfCheck(nullptr, app.executable_path.c_str());

  app.key_brush = CreateSolidBrush(RGB(0, 255, 0));
  SetExecutableFolderCurrent(app);
  LoadSettings(app.settings);
  // The clipboard listener pair is looked up with the other optional
  // functions (Api().ClipboardListenerAvailable()).

  app.display.hooks() = MakeDisplayHooks();
  if (!CreateWindows(app)) {
    ShowMessage(nullptr, app_text::kWindowCreationFailed.In(AppLanguage()), kProductName.In(AppLanguage()),
                MB_OK | MB_ICONERROR);
    CleanUp(app, mutex);
    return 0;
  }
  if (s == Switch::Memo) SendMessageW(app.windows.text, kInstanceCommandMessage, command::kMemo, 0);

  const int code = RunMessageLoop();
  CleanUp(app, mutex);
  return code;
}
