#include "app/command_line.h"

#include "app/commands.h"

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

struct SwitchName {
  std::u16string_view text;
  Switch value;
};

constexpr SwitchName kSwitches[] = {
    {u"/M", Switch::Memo},           {u"/P", Switch::ToggleHide},
    {u"/P0", Switch::Hide},          {u"/P1", Switch::Show},
    {u"/X", Switch::Exit},           {u"/O", Switch::Ini},
    {u"/OR", Switch::IniToRegistry}, {u"/RO", Switch::RegistryToIni},
    {u"/?", Switch::Help},
};

}  // namespace

Switch ParseSwitch(std::u16string_view command_line) {
  for (const SwitchName& s : kSwitches) {
    if (EqualsIgnoringCase(command_line, s.text)) return s.value;
  }
  return Switch::None;
}

RunningInstanceAction ActionWithInstanceRunning(Switch s) {
  using A = RunningInstanceAction;
  switch (s) {
    case Switch::Memo: return {A::kSendCommand, command::kMemo};
    case Switch::ToggleHide: return {A::kSendCommand, command::kToggleHide};
    case Switch::Hide: return {A::kSendCommand, command::kHide};
    case Switch::Show: return {A::kSendCommand, command::kShow};
    case Switch::Exit: return {A::kRequestShutdown, 0};
    default: return {A::kAlreadyRunningDialog, 0};
  }
}

FirstInstanceStep StepWithoutInstance(Switch s) {
  switch (s) {
    case Switch::Exit: return FirstInstanceStep::kExitAtOnce;
    case Switch::IniToRegistry: return FirstInstanceStep::kCopyIniToRegistry;
    case Switch::RegistryToIni: return FirstInstanceStep::kCopyRegistryToIni;
    case Switch::Help: return FirstInstanceStep::kOpenHelp;
    default: return FirstInstanceStep::kNormalStart;
  }
}

std::u16string_view ExecutableFolder(std::u16string_view executable_path) {
  const size_t slash = executable_path.rfind(u'\\');
  if (slash == std::u16string_view::npos) return executable_path;
  return executable_path.substr(0, slash < 5 ? slash + 1 : slash);
}
