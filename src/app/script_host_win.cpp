#include "app/script_host_win.h"

#include <process.h>

#include <atomic>
#include <memory>
#include <new>

#include "app/app_state_win.h"
#include "app/commands.h"
#include "app/tray_win.h"
#include "common/language.h"
#include "display/clock_format_win.h"
#include "script/host_functions.h"
#include "script/script_host.h"
#include "script/win32_system_win.h"
#include "ui/message_box_win.h"

namespace {

constexpr DWORD kScriptEndWaitMs = 2000;

struct ScriptNotice {
  std::u16string text;
  int level = 0;
};

// RAII for the program's critical sections (never nested).
class Locked {
 public:
  explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
  ~Locked() { LeaveCriticalSection(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION& lock_;
};

std::u16string NoClipboardCache() { return {}; }

// The host's process-wide state: created with the program, reached by the
// script thread's callbacks through the run's user data.
struct ScriptHost final : HostServices, ScriptThreadStarter {
  MemoScriptPoller poller;
  HANDLE thread = nullptr;
  std::u16string output;     // guarded by the output lock
  bool output_set = false;   // this run has set the output (output lock)
  WinSystemSources cpu_sources;
  HostSystemLine cpu_line{cpu_sources};
  Win32ScriptSystem system;
  std::atomic<ClipboardTextReader> clipboard_reader{NoClipboardCache};
  std::atomic<bool> redraw_posted{false};  // one redraw request in the queue at most

  // --- ScriptThreadStarter ---
  void ForgetEndedThread() override {
    if (thread == nullptr) return;
    CloseHandle(thread);
    thread = nullptr;
  }
  bool StartThread() override;

  // --- HostServices, on the script thread ---
  void SetOutputText(std::u16string_view text) override {
    {
      Locked hold(App().output_lock);
      output.assign(text);
      output_set = true;
    }
    RequestRedraw();
  }
  // A run starts from an empty output. The previous text stays on the line
  // until the run sets its own, or is cleared when the run ends without
  // doing so: clearing at the start would blank the line for a moment every
  // second.
  void BeginRun() {
    Locked hold(App().output_lock);
    output_set = false;
  }
  void EndRun() {
    {
      Locked hold(App().output_lock);
      if (output_set) return;
      output.clear();
    }
    RequestRedraw();
  }
  // Without this the line would show a run's output only from the next
  // second on, one second late.
  void RequestRedraw() {
    HWND window = App().windows.text;
    if (window != nullptr && !redraw_posted.exchange(true) && !PostMessageW(window, kScriptOutputMessage, 0, 0)) {
      redraw_posted = false;
    }
  }
  TimeRecord LocalNow() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ToTimeRecord(now);
  }
  std::u16string FormatSystemLine(std::u16string_view format) override {
    POINT cursor{};
    GetCursorPos(&cursor);
    return cpu_line.Format(format, GetTickCount(), CursorPoint{cursor.x, cursor.y}, DriveWatchOf(App().settings));
  }
  void ShellNotify(std::u16string_view text, int level) override;
  void ForceAlarm(int32_t value) override { App().display.state().forced_alarm.store(value); }
  // The overlay posts the fade timer to the window's own thread.
  void Fadein() override { App().display.Fadein(); }
  void Fadeout() override { App().display.Fadeout(); }
  std::u16string ClipboardText() override {
    Locked hold(App().clipboard_lock);
    return clipboard_reader.load()();
  }
};

// Never destroyed: a script left running at exit keeps using it until the
// process ends, after static destructors have run.
ScriptHost& Host() {
  static ScriptHost* host = new ScriptHost;
  return *host;
}

ScriptHost& HostOf(void* user_data) { return *static_cast<ScriptHost*>(user_data); }

void ScriptHost::ShellNotify(std::u16string_view text, int level) {
  HWND window = App().windows.text;
  if (window == nullptr) return;
  auto* notice = new (std::nothrow) ScriptNotice{std::u16string(text), level};
  if (notice == nullptr) return;
  if (!PostMessageW(window, kScriptNoticeMessage, 0, reinterpret_cast<LPARAM>(notice))) delete notice;
}

int32_t OnHostCall(HostCall* call) {
  if (call == nullptr) return 0;
  return DispatchHostCall(*call, HostOf(call->userData), AppLanguage() == Language::Japanese);
}

// Every error of a run becomes the memo line's text.
void OnScriptError(int32_t, int32_t, const char16_t* text) {
  if (void* host = ScriptUserData()) HostOf(host).SetOutputText(text != nullptr ? text : u"");
}

int32_t OnStopCheck(int32_t) {
  void* host = ScriptUserData();
  return host != nullptr && HostOf(host).poller.TakeStopRequest() ? 1 : 0;
}

int32_t ShowScriptMessage(void* owner, const char16_t* text, const char16_t* caption, uint32_t style) {
  return ShowMessage(static_cast<HWND>(owner), std::u16string_view(text ? text : u""),
                     std::u16string_view(caption ? caption : u""), style);
}

bool CopyMemo(std::u16string& memo) {
  Locked hold(App().memo_lock);
  try {
    memo = App().settings.MEMO;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

unsigned __stdcall ScriptThread(void* argument) {
  ScriptHost& host = *static_cast<ScriptHost*>(argument);
  ScriptHostParams params;
  params.owner = App().windows.text;
  params.hostFunction = OnHostCall;
  params.errorCallback = OnScriptError;
  params.stopCheck = OnStopCheck;
  params.messageBox = ShowScriptMessage;
  params.language = AppLanguage() == Language::Japanese ? 1 : 0;
  params.system = &host.system;
  params.userData = &host;
  host.BeginRun();
  std::u16string memo;
  if (CopyMemo(memo)) qv_script(memo.c_str(), &params);
  host.EndRun();
  host.poller.RunEnded();
  return 0;
}

bool ScriptHost::StartThread() {
  const uintptr_t handle = _beginthreadex(nullptr, 0, ScriptThread, this, 0, nullptr);
  thread = reinterpret_cast<HANDLE>(handle);
  return thread != nullptr;
}

}  // namespace

void PollMemoScript(std::u16string& output) {
  ScriptHost& host = Host();
  SYSTEMTIME now;
  GetLocalTime(&now);
  // A moment for a quick run to set its output before it is copied.
  if (host.poller.Poll(SecondKey(now.wMinute, now.wSecond), host)) Sleep(1);
  Locked hold(App().output_lock);
  output = host.output;
}

void RequestScriptStop() { Host().poller.RequestStop(); }

void WaitForScriptThread() {
  ScriptHost& host = Host();
  if (host.thread == nullptr) return;
  WaitForSingleObject(host.thread, kScriptEndWaitMs);
  host.ForgetEndedThread();
}

bool CloseScriptHost() {
  ScriptHost& host = Host();
  if (host.poller.running()) return false;
  host.cpu_line.Close();
  return true;
}

void SetScriptClipboardReader(ClipboardTextReader reader) {
  Host().clipboard_reader.store(reader != nullptr ? reader : NoClipboardCache);
}

void OnScriptOutput() {
  Host().redraw_posted = false;
  App().display.state().force_redraw = true;
}

void ShowScriptNotice(HWND window, LPARAM notice) {
  std::unique_ptr<ScriptNotice> shown(reinterpret_cast<ScriptNotice*>(notice));
  if (!shown) return;
  // The script's notice replaces whatever was pending.
  Notify(nullptr, nullptr, 0);
  Notify(window, shown->text.c_str(), shown->level);
}
