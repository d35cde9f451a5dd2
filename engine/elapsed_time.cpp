#include "elapsed_time.h"

#include <ctime>

namespace ixo {

ClockReading ReadClock() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return ClockReading{local.tm_min, local.tm_sec};
}

int ElapsedSeconds(ClockReading start, ClockReading end) {
  const int difference = (end.minute * 60 + end.second) - (start.minute * 60 + start.second);
  return ((difference % 3600) + 3600) % 3600;
}

}  // namespace ixo
