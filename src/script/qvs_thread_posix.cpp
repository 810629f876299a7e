#include "script/console_system.h"

#include <pthread.h>

namespace {

struct ThreadBody {
  void (*body)(void*);
  void* argument;
};

void* StartBody(void* data) {
  auto* start = static_cast<ThreadBody*>(data);
  start->body(start->argument);
  return nullptr;
}

}  // namespace

bool RunOnThreadWithStack(std::size_t stack_bytes, void (*body)(void*), void* argument) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  ThreadBody start{body, argument};
  pthread_t thread;
  const bool started = pthread_attr_setstacksize(&attributes, stack_bytes) == 0 &&
                       pthread_create(&thread, &attributes, StartBody, &start) == 0;
  pthread_attr_destroy(&attributes);
  return started && pthread_join(thread, nullptr) == 0;
}
