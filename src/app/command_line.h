#pragma once
// The start-up switches. The whole command line is compared with each switch
// without regard to case; anything else (an empty line, a switch followed by
// more text) is a normal start.

#include <cstdint>
#include <string_view>

enum class Switch : uint8_t {
  None,
  Memo,           // /M
  ToggleHide,     // /P
  Hide,           // /P0
  Show,           // /P1
  Exit,           // /X
  Ini,            // /O
  IniToRegistry,  // /OR
  RegistryToIni,  // /RO
  Help,           // /?
};

Switch ParseSwitch(std::u16string_view command_line);

// What a second start does when an instance is already running.
struct RunningInstanceAction {
  enum Kind : uint8_t { kSendCommand, kAlreadyRunningDialog, kRequestShutdown };
  Kind kind;
  uint32_t command;  // for kSendCommand
};

RunningInstanceAction ActionWithInstanceRunning(Switch s);

// What the first (only) instance does with its switch before settings load.
enum class FirstInstanceStep : uint8_t {
  kNormalStart,
  kExitAtOnce,     // /X with nothing running
  kCopyIniToRegistry,
  kCopyRegistryToIni,
  kOpenHelp,
};

FirstInstanceStep StepWithoutInstance(Switch s);

// The folder start-up makes current: the executable path cut at its last
// backslash. The backslash stays only within the first five characters, so
// a drive root ("C:\") keeps it and "C:\Tools" does not get one.
std::u16string_view ExecutableFolder(std::u16string_view executable_path);
