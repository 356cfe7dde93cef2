#include "event_list.h"

std::int64_t NextEventToken() {
  static volatile LONG64 last = 0;
  return InterlockedIncrement64(&last);
}
