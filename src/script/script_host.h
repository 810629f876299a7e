#pragma once
// When the program runs its memo script: at most one script thread at a
// time, started by the display cycle's poll at the first poll of each new
// wall-clock second; a run longer than a second is never overlapped, the
// next one starts at the first new second after it ended. The flags are
// atomics because the script thread clears `running` and takes the stop
// request while the user-interface thread sets them.

#include <atomic>
#include <cstdint>

// Starts the script thread; the platform's thread creation, or a fake.
class ScriptThreadStarter {
 public:
  virtual ~ScriptThreadStarter() = default;
  // Forgets (closes) the handle of a thread that has ended, if one is held.
  virtual void ForgetEndedThread() = 0;
  // Creates the thread; false when that failed.
  virtual bool StartThread() = 0;
};

// minute × 60 + second of the local time: the key that changes every second.
inline int32_t SecondKey(int32_t minute, int32_t second) { return minute * 60 + second; }

class MemoScriptPoller {
 public:
  // One poll of the display cycle. Returns true when a run was started.
  bool Poll(int32_t second_key, ScriptThreadStarter& starter);

  // Asks a running script to stop at its next statement.
  void RequestStop();
  // The stop check of the run: true (once) when a stop was asked for.
  bool TakeStopRequest();
  // Called by the script thread as its last action.
  void RunEnded() { running_.store(false, std::memory_order_release); }
  bool running() const { return running_.load(std::memory_order_acquire); }

 private:
  std::atomic<bool> running_{false};
  std::atomic<bool> stop_requested_{false};
  int32_t last_second_key_ = -1;
};
