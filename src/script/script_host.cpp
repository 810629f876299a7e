#include "script/script_host.h"

bool MemoScriptPoller::Poll(int32_t second_key, ScriptThreadStarter& starter) {
  bool started = false;
  if (second_key != last_second_key_ && !running()) {
    starter.ForgetEndedThread();
    running_.store(true, std::memory_order_release);
    stop_requested_.store(false, std::memory_order_release);
    started = starter.StartThread();
    if (!started) running_.store(false, std::memory_order_release);
  }
  last_second_key_ = second_key;
  return started;
}

void MemoScriptPoller::RequestStop() {
  if (running()) stop_requested_.store(true, std::memory_order_release);
}

bool MemoScriptPoller::TakeStopRequest() { return stop_requested_.exchange(false, std::memory_order_acq_rel); }
