#include "app/instance_win.h"

#include "app/app_texts.h"
#include "app/commands.h"
#include "app/dialogs_win.h"
#include "ui/message_box_win.h"
#include "app/resource_ids.h"

namespace {

HWND FindRunningWindow() { return FindWindowW(L"kirabi", nullptr); }

void SendInstanceCommand(uint32_t command) {
  HWND running = FindRunningWindow();
  if (!running) {
    ShowMessage(nullptr, app_text::kForwardWindowNotFound.In(AppLanguage()),
                app_text::kProductName.In(AppLanguage()), MB_OK | MB_ICONERROR);
    return;
  }
  SendMessageW(running, kInstanceCommandMessage, command, 0);
}

// Shut-down is asked for with the destroy notification itself, sent to the
// running instance's text window.
void RequestShutdown(bool silent) {
  HWND running = FindRunningWindow();
  if (!running) {
    if (!silent) {
      ShowMessage(nullptr, app_text::kForcedExitWindowNotFound.In(AppLanguage()),
                  app_text::kProductName.In(AppLanguage()), MB_OK | MB_ICONERROR);
    }
    return;
  }
  SendMessageW(running, WM_DESTROY, 0, 0);
}

}  // namespace

void HandleRunningInstance(HINSTANCE instance, Switch s, Language language, const NotificationPictures& pictures) {
  const RunningInstanceAction action = ActionWithInstanceRunning(s);
  switch (action.kind) {
    case RunningInstanceAction::kSendCommand:
      SendInstanceCommand(action.command);
      break;
    case RunningInstanceAction::kRequestShutdown:
      RequestShutdown(true);
      break;
    case RunningInstanceAction::kAlreadyRunningDialog:
      switch (ShowAlreadyRunningDialog(instance, language, pictures)) {
        case IDB_FORCE_EXIT: RequestShutdown(false); break;
        case IDB_OPEN_SETTINGS: SendInstanceCommand(32771); break;
        default: break;
      }
      break;
  }
}
