#include "ui/shortcut_win.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "ui/message_box_win.h"
#include "ui/ui_texts.h"

namespace {

template <class T>
class ComPtr {
 public:
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

int Ask(HWND owner, Language language, const TextPair& question) {
  return ShowMessage(owner, question.In(language), kProductName.In(language),
                     MB_YESNO | MB_ICONQUESTION);
}

void Report(HWND owner, Language language, const TextPair& text, const std::wstring& path, UINT icon) {
  ShowMessage(owner, FillIn(text.In(language), U16(path)), kProductName.In(language), MB_OK | icon);
}

}  // namespace

std::wstring StartupShortcutPath(Language language) {
  wchar_t folder[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  const std::u16string_view name = ui_text::kShortcutName.In(language);
  std::wstring path = folder;
  path += L'\\';
  path.append(name.begin(), name.end());
  path += L".lnk";
  return path.size() < 520 ? path : std::wstring();
}

bool StartupShortcutExists(const std::wstring& shortcut) {
  if (shortcut.empty()) return false;
  // No "insert a disk" box for a path on a removable drive.
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(shortcut.c_str(), &found);
  SetErrorMode(old_mode);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool CreateStartupShortcut(const std::wstring& target, const std::wstring& shortcut) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.out())))) {
    return false;
  }
  link->SetPath(target.c_str());
  link->SetShowCmd(SW_SHOW);
  link->SetWorkingDirectory(L"");
  link->SetIconLocation(L"", 0);
  link->SetHotkey(0);
  link->SetDescription(L"");
  link->SetArguments(L"");
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) return false;
  return SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
}

void RunStartupCommand(HWND owner, Language language, const std::wstring& shortcut, const std::wstring& target) {
  if (StartupShortcutExists(shortcut)) {
    if (Ask(owner, language, ui_text::kAskDeleteShortcut) != IDYES) return;
    if (DeleteFileW(shortcut.c_str())) {
      Report(owner, language, ui_text::kShortcutDeleted, shortcut, MB_ICONINFORMATION);
    } else {
      Report(owner, language, ui_text::kShortcutNotDeleted, shortcut, MB_ICONERROR);
    }
    return;
  }
  if (Ask(owner, language, ui_text::kAskCreateShortcut) != IDYES) return;
  if (!shortcut.empty() && CreateStartupShortcut(target, shortcut)) {
    Report(owner, language, ui_text::kShortcutCreated, shortcut, MB_ICONINFORMATION);
  } else {
    Report(owner, language, ui_text::kShortcutNotCreated, shortcut, MB_ICONERROR);
  }
}
